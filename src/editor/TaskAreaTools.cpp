// The task-area tools' clicks: what each adds to or removes from the plan's areas.
#include "editor/TaskAreaTools.h"

#include "editor/Editor.h"
#include "editor/Geometry.h"
#include "model/Document.h"
#include "view/PlanRender.h"

#include <vector>

namespace editor {

ToolOutcome TaskAreaTool::complete(ui::Point s, ui::Point p) {
    // A rectangle without width or height holds no floor to check.
    if (s.x == p.x || s.y == p.y) return ToolOutcome::Kept;
    model::Document& doc = ctx_.doc();
    model::AreaRecord area{"作業領域" + std::to_string(doc.plan.areas.size() + 1), s.x, s.y, p.x, p.y, 0, 0.0f};
    model::normaliseArea(area);
    if (ctx_.hooks.askTaskArea) {
        const std::optional<model::AreaRecord> given = ctx_.hooks.askTaskArea(area);
        if (!given) return ToolOutcome::Kept;
        area.name = given->name;
        area.requiredLux = given->requiredLux;
        area.requiredUniformity = given->requiredUniformity;
        area.preset = given->preset;
    }
    doc.plan.areas.push_back(area);
    model::markPlanChanged(doc, ctx_.state.window);
    view::drawTaskArea(ctx_.surface, area, area.name);
    return ToolOutcome::Kept;
}

ToolOutcome DeleteTaskAreasTool::complete(ui::Point c0, ui::Point c1) {
    model::Document& doc = ctx_.doc();
    std::vector<model::AreaRecord> kept;
    for (const model::AreaRecord& a : doc.plan.areas) {
        const int cx = static_cast<int>((static_cast<long long>(a.x1) + a.x2) / 2);
        const int cy = static_cast<int>((static_cast<long long>(a.y1) + a.y2) / 2);
        if (!insideRect(cx, cy, c0, c1)) kept.push_back(a);
    }
    if (kept.size() == doc.plan.areas.size()) return ToolOutcome::Kept;
    doc.plan.areas = std::move(kept);
    model::markPlanChanged(doc, ctx_.state.window);
    ctx_.editor.redisplayPlan();
    return ToolOutcome::Kept;
}

void drawTaskAreas(ui::Surface& surface, const model::Plan& plan) {
    for (const model::AreaRecord& a : plan.areas) view::drawTaskArea(surface, a, a.name);
}

} // namespace editor
