// Placing fixtures and pillars singly or in arrays, deleting them with a rectangle, and changing fixture heights.
#include "editor/PlacementTools.h"

#include "base/Text.h"
#include "editor/Editor.h"
#include "editor/Geometry.h"
#include "editor/PlanEdits.h"
#include "model/Document.h"

#include <cmath>
#include <vector>

namespace editor {

bool FixturePlacer::place(ui::Point p) {
    model::Document& doc = ctx_.doc();
    const int slot = doc.selectedType;
    if (!catalog::isValidSlot(slot) || ctx_.touroku[slot].hinban.empty()) return false;  // no fixture of a freed type
    const int index = model::addFixture(doc, ctx_.state.window, ctx_.touroku, p.x, p.y, slot);
    const auto& k = doc.plan.kigu[index];
    ctx_.painter.drawSymbol(ctx_.surface, k.x, k.y, slot, 'P', k.rotation, 0);
    if (ctx_.hooks.refreshRegistrationCounts) ctx_.hooks.refreshRegistrationCounts();
    return true;
}

bool PillarPlacer::prepare() {
    try {
        sizeMm_ = base::toInt(ctx_.state.window.hasiraSizeText);
    } catch (const base::ConversionError& e) {
        ctx_.services.showError(e.what());
        return false;
    }
    return sizeMm_ > 0;  // a pillar of no size is no pillar
}

bool PillarPlacer::place(ui::Point p) {
    model::Document& doc = ctx_.doc();
    if (!doc.plan.hasScale()) {
        ctx_.stop(kNeedScale);
        return false;
    }
    model::HasiraRecord h;
    h.pillarKind = ctx_.state.window.editTarget == 'C' ? model::kCylindricalPillar : model::kSquarePillar;
    h.x = p.x;
    h.y = p.y;
    h.halfSize = static_cast<std::int32_t>(std::trunc(sizeMm_ / static_cast<double>(doc.plan.mmPerPixel) * 0.5));
    doc.plan.hasira.add(h);
    model::markPlanChanged(doc, ctx_.state.window);
    doc.plan.lastPillarHalfSize = h.halfSize;
    ctx_.painter.drawSymbol(ctx_.surface, h.x, h.y, h.pillarKind, 'p', 0, h.halfSize);
    return true;
}

ToolOutcome SinglePlacementTool::press(ui::Point p) {
    if (!ctx_.doc().plan.hasScale()) {
        ctx_.stop(kNeedScale);
    } else if (placer_.prepare()) {
        placer_.place(p);
    }
    return ToolOutcome::Kept;
}

ToolOutcome ArrayPlacementTool::complete(ui::Point p0, ui::Point p1) {
    model::Document& doc = ctx_.doc();
    const LengthAnswer answer =
        ctx_.askLength(LengthRequest{doc.arrayInput, code_, p1, false, code_ == '3' && ctx_.state.window.centreGridPreset});
    if (!answer.confirmed) return ToolOutcome::Kept;
    if (doc.arrayInput == 'P' && !doc.plan.hasScale()) {
        ctx_.stop(kNeedScale);
        return ToolOutcome::Kept;
    }
    const ArrayPlan plan = answer.centred && code_ == '3'
                               ? centredGridPositions(doc.arrayInput, p0, p1, answer.firstValue, answer.secondValue, doc.plan.mmPerPixel)
                               : arrayPositions(doc.arrayInput, code_, p0, p1, answer.firstValue, answer.secondValue, doc.plan.mmPerPixel);
    if (plan.tooMany || plan.zero || plan.tooDense) {
        ctx_.stop(plan.tooMany ? kTooMany : plan.zero ? kZeroCount : kTooDense, "エラー");
        return ToolOutcome::Kept;
    }
    if (plan.positions.empty() || !placer_.prepare()) return ToolOutcome::Kept;
    for (const auto& p : plan.positions) {
        if (!placer_.place(p)) break;
    }
    return ToolOutcome::Kept;
}

ToolOutcome DeleteFixturesTool::complete(ui::Point c0, ui::Point c1) {
    auto& kigu = ctx_.doc().plan.kigu;
    std::vector<int> marked;
    for (int i = 1; i <= kigu.count(); ++i) {
        const auto& k = kigu[i];
        if (!insideRect(k.x, k.y, c0, c1)) continue;
        eraseFixture(ctx_, k);
        decrementPlaced(ctx_.touroku, k.typeIndex);
        marked.push_back(i);
    }
    if (ctx_.hooks.refreshRegistrationCounts) ctx_.hooks.refreshRegistrationCounts();
    for (auto it = marked.rbegin(); it != marked.rend(); ++it) kigu.removeAt(*it);
    if (!marked.empty()) model::markPlanChanged(ctx_.doc(), ctx_.state.window);
    return ToolOutcome::Kept;
}

ToolOutcome DeletePillarsTool::complete(ui::Point c0, ui::Point c1) {
    model::Document& doc = ctx_.doc();
    auto& hasira = doc.plan.hasira;
    std::vector<int> marked;
    for (int i = 1; i <= hasira.count(); ++i) {
        const auto& h = hasira[i];
        if (!insideRect(h.x, h.y, c0, c1)) continue;
        doc.plan.lastPillarHalfSize = h.halfSize;
        eraseHasira(ctx_, h);
        marked.push_back(i);
    }
    for (auto it = marked.rbegin(); it != marked.rend(); ++it) hasira.removeAt(*it);
    if (!marked.empty()) model::markPlanChanged(doc, ctx_.state.window);
    return ToolOutcome::Kept;
}

ToolOutcome HeightChangeTool::complete(ui::Point c0, ui::Point c1) {
    model::Document& doc = ctx_.doc();
    std::vector<int> inside;
    for (int i = 1; i <= doc.plan.kigu.count(); ++i) {
        const auto& k = doc.plan.kigu[i];
        if (insideRect(k.x, k.y, c0, c1)) inside.push_back(i);
    }
    if (inside.empty()) return ToolOutcome::Kept;
    const LengthAnswer answer = ctx_.askLength(LengthRequest{'H', 'H', c1, false});
    if (!answer.confirmed) return ToolOutcome::Kept;
    const int h = answer.firstValue;
    for (int i : inside) {
        doc.plan.kigu[i].heightOffset = h == doc.tenDaka ? 0 : h - doc.tenDaka;
        model::markPlanChanged(doc, ctx_.state.window);
    }
    ctx_.editor.redisplayPlan();
    return ToolOutcome::Kept;
}

} // namespace editor
