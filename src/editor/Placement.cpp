// Fixture and pillar placement, deletion and height change, and undo per edit target.
#include "base/Text.h"
#include "editor/Editor.h"
#include "editor/Geometry.h"
#include "model/Document.h"

#include <cmath>

namespace editor {

namespace {
// A slot's count never goes below zero, whatever the plan and the table went through.
void decrementPlaced(catalog::TourokuTable& touroku, int slot) {
    if (catalog::isValidSlot(slot) && touroku[slot].placedCount > 0) touroku.changePlacedCount(slot, -1);
}
} // namespace

void Editor::placeSingle(ui::Point p) {
    if (!state_.doc.plan.hasScale()) {
        stop(kNeedScale);
        return;
    }
    if (state_.doc.editTarget == 'K') {
        addKigu(p);
        return;
    }
    if (auto size = hasiraSize()) addHasira(p, *size);
}

bool Editor::addKigu(ui::Point p) {
    auto& doc = state_.doc;
    const int slot = doc.selectedType;
    if (!catalog::isValidSlot(slot) || touroku_[slot].hinban.empty()) return false;  // no fixture of a freed type
    const int index = model::addFixture(doc, touroku_, p.x, p.y, slot);
    const auto& k = doc.plan.kigu[index];
    painter_.drawSymbol(surface_, k.x, k.y, slot, 'P', k.rotation, 0);
    call(hooks_.refreshRegistrationCounts);
    return true;
}

std::optional<int> Editor::hasiraSize() {
    int size = 0;
    try {
        size = base::toInt(state_.doc.hasiraSizeText);
    } catch (const base::ConversionError& e) {
        services_.showError(e.what());
        return std::nullopt;
    }
    if (size <= 0) return std::nullopt;  // a pillar of no size is no pillar
    return size;
}

bool Editor::addHasira(ui::Point p, int size) {
    auto& doc = state_.doc;
    if (!doc.plan.hasScale()) {
        stop(kNeedScale);
        return false;
    }
    model::HasiraRecord h;
    h.pillarKind = doc.editTarget == 'C' ? model::kCylindricalPillar : model::kSquarePillar;
    h.x = p.x;
    h.y = p.y;
    h.halfSize = static_cast<std::int32_t>(std::trunc(size / static_cast<double>(doc.plan.mmPerPixel) * 0.5));
    doc.plan.hasira.add(h);
    model::markPlanChanged(doc);
    doc.plan.lastPillarHalfSize = h.halfSize;
    painter_.drawSymbol(surface_, h.x, h.y, h.pillarKind, 'p', 0, h.halfSize);
    return true;
}

void Editor::placeArray(ui::Point p0, ui::Point p1) {
    auto& doc = state_.doc;
    const char tool = doc.toolCode;
    LengthAnswer answer;
    if (hooks_.askLength) answer = hooks_.askLength(LengthRequest{doc.arrayInput, tool, p1, false});
    if (!answer.confirmed) return;
    if (doc.arrayInput == 'P' && !doc.plan.hasScale()) {
        stop(kNeedScale);
        return;
    }
    const ArrayPlan plan = arrayPositions(doc.arrayInput, tool, p0, p1, answer.firstValue, answer.secondValue, doc.plan.mmPerPixel);
    if (plan.tooMany) {
        stop(kTooMany, "エラー");
        return;
    }
    if (plan.positions.empty()) return;
    if (doc.editTarget == 'K') {
        for (const auto& p : plan.positions) {
            if (!addKigu(p)) break;
        }
        return;
    }
    const auto size = hasiraSize();
    if (!size) return;
    for (const auto& p : plan.positions) {
        if (!addHasira(p, *size)) break;
    }
}

void Editor::eraseFixture(const model::KiguRecord& k) {
    painter_.drawSymbol(surface_, k.x, k.y, k.typeIndex, 'D', k.rotation, 0);
    if (k.heightOffset != 0) {
        // Written where the plan rendering writes it, so that the white text covers every pixel.
        const int y = k.heightOffset > 0 ? k.y - 8 : k.y + 2;
        const ui::Font before = surface_.font();
        ui::Font white = before;
        white.sizePt = 8;
        white.color = ui::colors::white;
        surface_.setFont(white);
        surface_.setTextBackground(ui::colors::white, false);
        surface_.textOut(k.x + 5, y, std::to_string(static_cast<long long>(state_.doc.tenDaka) + k.heightOffset));
        surface_.setFont(before);
    }
}

void Editor::deleteFixturesIn(ui::Point c0, ui::Point c1) {
    auto& kigu = state_.doc.plan.kigu;
    std::vector<int> marked;
    for (int i = 1; i <= kigu.count(); ++i) {
        const auto& k = kigu[i];
        if (!insideRect(k.x, k.y, c0, c1)) continue;
        eraseFixture(k);
        decrementPlaced(touroku_, k.typeIndex);
        marked.push_back(i);
    }
    call(hooks_.refreshRegistrationCounts);
    for (auto it = marked.rbegin(); it != marked.rend(); ++it) kigu.removeAt(*it);
    if (!marked.empty()) model::markPlanChanged(state_.doc);
}

void Editor::deletePillarsIn(ui::Point c0, ui::Point c1) {
    auto& doc = state_.doc;
    auto& hasira = doc.plan.hasira;
    std::vector<int> marked;
    for (int i = 1; i <= hasira.count(); ++i) {
        const auto& h = hasira[i];
        if (!insideRect(h.x, h.y, c0, c1)) continue;
        doc.plan.lastPillarHalfSize = h.halfSize;
        painter_.drawSymbol(surface_, h.x, h.y, h.pillarKind, 'D', 0, h.halfSize);
        marked.push_back(i);
    }
    for (auto it = marked.rbegin(); it != marked.rend(); ++it) hasira.removeAt(*it);
    if (!marked.empty()) model::markPlanChanged(doc);
}

void Editor::changeHeightsIn(ui::Point c0, ui::Point c1) {
    auto& doc = state_.doc;
    std::vector<int> inside;
    for (int i = 1; i <= doc.plan.kigu.count(); ++i) {
        const auto& k = doc.plan.kigu[i];
        if (insideRect(k.x, k.y, c0, c1)) inside.push_back(i);
    }
    if (inside.empty()) return;
    LengthAnswer answer;
    if (hooks_.askLength) answer = hooks_.askLength(LengthRequest{'H', 'H', c1, false});
    if (!answer.confirmed) return;
    const int h = answer.firstValue;
    for (int i : inside) {
        doc.plan.kigu[i].heightOffset = h == doc.tenDaka ? 0 : h - doc.tenDaka;
        model::markPlanChanged(doc);
    }
    redisplayPlan();
}

void Editor::removeFixturesOfType(int slot) {
    auto& doc = state_.doc;
    auto& kigu = doc.plan.kigu;
    bool removed = false;
    for (int i = kigu.count(); i >= 1; --i) {
        if (kigu[i].typeIndex != slot) continue;
        kigu.removeAt(i);
        decrementPlaced(touroku_, slot);
        removed = true;
    }
    if (removed) model::markPlanChanged(doc);
    redisplayPlan();
}

void Editor::mnuUndoClick() {
    auto& doc = state_.doc;
    eraseRubberBand();
    switch (doc.editTarget) {
    case 'R': {
        auto& lines = doc.plan.lines;
        if (lines.empty()) return;
        eraseSegment(lines[lines.count()]);
        lines.removeLast();
        break;
    }
    case 'K': {
        auto& kigu = doc.plan.kigu;
        if (kigu.empty()) return;
        const model::KiguRecord k = kigu[kigu.count()];
        eraseFixture(k);
        decrementPlaced(touroku_, k.typeIndex);
        call(hooks_.refreshRegistrationCounts);
        kigu.removeLast();
        break;
    }
    default: {
        auto& hasira = doc.plan.hasira;
        if (hasira.empty()) return;
        const model::HasiraRecord h = hasira[hasira.count()];
        painter_.drawSymbol(surface_, h.x, h.y, h.pillarKind, 'D', 0, h.halfSize);
        hasira.removeLast();
        break;
    }
    }
    // The plan is no longer the one the result was calculated for.
    model::markPlanChanged(doc);
}

} // namespace editor
