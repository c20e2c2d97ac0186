// Drawing of the colour-temperature scale picture.
#include "view/TempScalePicture.h"

namespace view {

void drawTempScalePicture(ui::Surface& picture, const catalog::LightColorTable& colours) {
    if (picture.width() != kTempScaleWidth) picture.resize(kTempScaleWidth, picture.height());
    const int b = picture.height() - 1;
    for (int i = 0; i < 56; ++i) {
        const auto ref = colours.colourOf(2000 + 100 * i);
        const ui::Color c = ref ? ui::Color::fromColorRef(*ref) : ui::colors::white;
        picture.fillRect(ui::Rect{3 * i, 15, 3 * i + 3, b}, c);
    }
    picture.setPen(ui::Pen{ui::colors::black, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    picture.moveTo(0, 15);
    picture.lineTo(0, b);
    picture.lineTo(166, b);
    picture.lineTo(166, 15);
    picture.lineTo(0, 15);
    for (int x = 0; x <= 150; x += 30) {
        picture.moveTo(x, 10);
        picture.lineTo(x, 15);
    }
    ui::Font font;
    font.sizePt = 8;
    picture.setFont(font);
    picture.setTextBackground(ui::colors::white, true);
    const char* labels[3] = {"3000K", "5000K", "7000K"};
    for (int i = 0; i < 3; ++i) {
        const ui::Size e = picture.textExtent(labels[i]);
        picture.textOut(30 + 60 * i - e.width / 2, 15 - e.height, labels[i]);
    }
}

} // namespace view
