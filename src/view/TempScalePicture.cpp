// The colour-temperature scale window's picture: the result display's scale drawn from the catalogue's light colours.
#include "view/TempScalePicture.h"

#include "view/Legends.h"

namespace view {

void drawTempScalePicture(ui::Surface& picture, const catalog::LightColorTable& colours) {
    if (picture.width() != kTempScaleWidth) picture.resize(kTempScaleWidth, picture.height());
    // The scale reads the display table's slots 20.. (2000 K upwards), as the colour-temperature map does.
    model::DisplayTables tables;
    for (int i = 0; i < catalog::LightColorTable::kEntries && 20 + i < static_cast<int>(tables.ctColour.size()); ++i) {
        const auto ref = colours.colourOf(2000 + 100 * i);
        tables.ctColour[static_cast<std::size_t>(20 + i)] = ref ? ui::Color::fromColorRef(*ref) : ui::colors::white;
    }
    drawTemperatureScale(picture, tables);
}

} // namespace view
