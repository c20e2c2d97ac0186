// The headless stand-in display: white fill, walls, arcs and pillars in black.
#include "app/BasicCalcDisplay.h"

namespace app {

void BasicCalcDisplay::clearAndDrawWalls(int penWidth) {
    surface_.fillRect(ui::Rect{0, 0, surface_.width(), surface_.height()}, ui::colors::white);
    surface_.setPen(ui::Pen{ui::colors::black, penWidth, ui::PenStyle::Solid, ui::PenMode::Copy});
    surface_.setBrush(ui::Brush{ui::colors::white, true});
    doc_.plan.lines.forEach([&](const model::LineRecord& l) {
        if (l.isArc()) {
            surface_.arc(l.x3, l.y3, l.x4, l.y4, l.x1, l.y1, l.x2, l.y2);
        } else {
            surface_.moveTo(l.x1, l.y1);
            surface_.lineTo(l.x2, l.y2);
        }
    });
    doc_.plan.hasira.forEach([&](const model::HasiraRecord& h) {
        const int x1 = h.x - h.halfSize, y1 = h.y - h.halfSize, x2 = h.x + h.halfSize, y2 = h.y + h.halfSize;
        if (h.pillarKind == model::kSquarePillar) surface_.rectangle(x1, y1, x2, y2);
        else surface_.ellipse(x1, y1, x2, y2);
    });
}

void BasicCalcDisplay::showResult(char) { doc_.resultShown = true; }

void BasicCalcDisplay::drawFixturesOnResult() {
    surface_.setPen(ui::Pen{ui::colors::black, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    surface_.setBrush(ui::Brush{ui::colors::white, true});
    doc_.plan.kigu.forEach([&](const model::KiguRecord& k) { surface_.ellipse(k.x - 3, k.y - 3, k.x + 4, k.y + 4); });
}

void BasicCalcDisplay::redisplayPlan() {
    clearAndDrawWalls(1);
    doc_.resultShown = false;
}

} // namespace app
