// Adding walls as they are drawn and erasing walls, fixtures and pillars by drawing them again in white.
#include "editor/PlanEdits.h"

#include "model/Document.h"

namespace editor {

void addWallLine(const ToolContext& ctx, ui::Point a, ui::Point b) {
    ctx.surface.setPen(ui::Pen{});
    ctx.surface.moveTo(a.x, a.y);
    ctx.surface.lineTo(b.x, b.y);
    model::LineRecord r;
    r.kind = 'L';
    r.x1 = a.x;
    r.y1 = a.y;
    r.x2 = b.x;
    r.y2 = b.y;
    r.x4 = 0;
    model::normaliseLine(r);
    ctx.doc().plan.lines.add(r);
    model::markPlanChanged(ctx.doc(), ctx.state.window);
}

void addWallArc(const ToolContext& ctx, ui::Point a, ui::Point b, const ArcGeometry& g) {
    model::LineRecord r;
    r.kind = 'A';
    r.x3 = g.square.left;
    r.y3 = g.square.top;
    r.x4 = g.square.right;
    r.y4 = g.square.bottom;
    const ui::Point first = g.flag == 1 ? b : a;
    const ui::Point second = g.flag == 1 ? a : b;
    r.x1 = first.x;
    r.y1 = first.y;
    r.x2 = second.x;
    r.y2 = second.y;
    ctx.surface.setPen(ui::Pen{});
    ctx.surface.setBrush(ui::Brush{ui::colors::white, true});
    ctx.surface.arc(r.x3, r.y3, r.x4, r.y4, r.x1, r.y1, r.x2, r.y2);
    ctx.doc().plan.lines.add(r);
    model::markPlanChanged(ctx.doc(), ctx.state.window);
}

void eraseSegment(const ToolContext& ctx, const model::LineRecord& s) {
    ui::Surface& surface = ctx.surface;
    surface.setPen(ui::Pen{ui::colors::white, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    surface.setBrush(ui::Brush{ui::colors::white, true});
    if (s.isArc()) {
        surface.arc(s.x3, s.y3, s.x4, s.y4, s.x1, s.y1, s.x2, s.y2);
    } else {
        surface.moveTo(s.x1, s.y1);
        surface.lineTo(s.x2, s.y2);
    }
    surface.setPen(ui::Pen{});
}

void eraseFixture(const ToolContext& ctx, const model::KiguRecord& k) {
    ui::Surface& surface = ctx.surface;
    ctx.painter.drawSymbol(surface, k.x, k.y, k.typeIndex, 'D', k.rotation, 0);
    if (k.heightOffset == 0) return;
    // Written where the plan rendering writes it, so that the white text covers every pixel.
    const int y = k.heightOffset > 0 ? k.y - 8 : k.y + 2;
    const ui::Font before = surface.font();
    ui::Font white = before;
    white.sizePt = 8;
    white.color = ui::colors::white;
    surface.setFont(white);
    surface.setTextBackground(ui::colors::white, false);
    surface.textOut(k.x + 5, y, std::to_string(static_cast<long long>(ctx.doc().tenDaka) + k.heightOffset));
    surface.setFont(before);
}

void eraseHasira(const ToolContext& ctx, const model::HasiraRecord& h) {
    ctx.painter.drawSymbol(ctx.surface, h.x, h.y, h.pillarKind, 'D', 0, h.halfSize);
}

void decrementPlaced(catalog::TourokuTable& touroku, int slot) {
    if (catalog::isValidSlot(slot) && touroku[slot].placedCount > 0) touroku.changePlacedCount(slot, -1);
}

} // namespace editor
