// The colour-temperature scale picture (167 × 41): the light colours of 2000 K upwards with the 3000K/5000K/7000K marks.
#pragma once
#include "catalog/FixtureType.h"
#include "ui/Surface.h"
#include "view/Legends.h"

namespace view {

inline constexpr int kTempScaleWidth = kTemperatureScaleSize.width;
inline constexpr int kTempScaleHeight = kTemperatureScaleSize.height;

// Draws the scale (view::drawTemperatureScale) onto a picture of kTempScaleWidth × kTempScaleHeight from
// the catalogue's light colours; the colour table must be loaded.
void drawTempScalePicture(ui::Surface& picture, const catalog::LightColorTable& colours);

} // namespace view
