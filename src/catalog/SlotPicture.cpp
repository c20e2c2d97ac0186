// Slot pictures drawn through the drawing surface, so the window needs no picture resources.
#include "catalog/SlotPicture.h"

namespace catalog {

void drawSlotPicture(ui::Surface& s, int slot, SlotPicture state, const std::array<ui::Color, 8>& symbolColour) {
    if (!isValidSlot(slot)) return;
    const int tab = (slot - 1) / 6;
    const int position = (slot - 1) % 6 + 1;
    const int n = kSlotPictureSize;
    const ui::Color ground = state == SlotPicture::Free      ? ui::Color{200, 200, 200}
                             : state == SlotPicture::Current ? ui::Color{255, 255, 225}
                                                             : ui::Color{255, 255, 255};
    s.fillRect(ui::Rect{0, 0, n, n}, ground);
    if (state == SlotPicture::Current) {
        s.setPen(ui::Pen{ui::colors::red, 2});
        s.setBrush(ui::Brush{ground, true});
        s.rectangle(1, 1, n - 1, n - 1);
    }
    const ui::Color fill = symbolColour[static_cast<std::size_t>(position)];
    s.setPen(ui::Pen{state == SlotPicture::Free ? ui::Color{128, 128, 128} : ui::colors::black, 1});
    s.setBrush(state == SlotPicture::Free ? ui::Brush{ground, true} : ui::Brush{fill, false});
    switch (tab) {
    case 0:  // DL1: a round downlight
        s.ellipse(8, 8, 24, 24);
        break;
    case 1:  // DL2: a downlight with its rim
        s.ellipse(6, 6, 26, 26);
        s.setBrush(ui::Brush{ground, true});
        s.ellipse(11, 11, 21, 21);
        break;
    case 2:  // CL: a square ceiling light
        s.rectangle(8, 8, 24, 24);
        break;
    case 3:  // FL1: a linear luminaire
        s.rectangle(3, 12, 29, 20);
        break;
    case 4:  // FL2: a linear luminaire with two lamps
        s.rectangle(3, 10, 29, 22);
        s.moveTo(3, 16);
        s.lineTo(29, 16);
        break;
    default:  // SP: a spot
        s.polygon({ui::Point{16, 5}, ui::Point{27, 26}, ui::Point{5, 26}});
        break;
    }
    // The position number tells the slots of one tab apart even for a reader who cannot tell colours.
    ui::Font font;
    font.sizePt = 7;
    font.color = state == SlotPicture::Free ? ui::Color{128, 128, 128} : ui::colors::black;
    s.setFont(font);
    s.setTextBackground(ground, false);
    s.textOut(1, 0, std::to_string(position));
}

} // namespace catalog
