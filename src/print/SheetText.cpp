// Text placement by code on any sheet surface.
#include "print/SheetText.h"

namespace print {

ui::Point placedCorner(int x, int y, int code, int w, int h) {
    constexpr int gap = 3;
    switch (code) {
    case 1: return {x + gap, y - h - gap};
    case 2: return {x - w / 2, y - h - gap};
    case 3: return {x - w - gap, y - h - gap};
    case 4: return {x + gap, y - h / 2};
    case 5: return {x - w / 2, y - h / 2};
    case 6: return {x - w - gap, y - h / 2};
    case 7: return {x + gap, y + gap};
    case 8: return {x - w / 2, y + gap};
    case 9: return {x - w - gap, y + gap};
    default: return {x, y};
    }
}

void placeSheetText(ui::Surface& surface, int x, int y, int code, int sizePt, const std::string& text, bool boxed) {
    ui::Font font = surface.font();
    font.sizePt = sizePt < 1 ? 1 : sizePt;
    surface.setFont(font);
    const ui::Size extent = surface.textExtent(text);
    const ui::Point corner = placedCorner(x, y, code, extent.width, extent.height);
    if (boxed) {
        const ui::Pen pen = surface.pen();
        const ui::Brush brush = surface.brush();
        surface.setPen(ui::Pen{ui::colors::white});
        surface.setBrush(ui::Brush{ui::colors::white});
        surface.rectangle(corner.x, corner.y, corner.x + extent.width, corner.y + extent.height);
        surface.setBrush(brush);
        surface.setPen(ui::Pen{ui::colors::black, pen.width, pen.style, pen.mode});
    }
    // The box (when asked for) is already white; the text itself never hides the drawing under it.
    surface.setTextBackground(ui::colors::white, false);
    surface.textOut(corner.x, corner.y, text);
}

} // namespace print
