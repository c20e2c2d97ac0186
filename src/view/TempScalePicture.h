// The colour-temperature scale picture (167 × 41): the light colours of 2000 K upwards with the 3000K/5000K/7000K marks.
#pragma once
#include "catalog/FixtureType.h"
#include "ui/Surface.h"

namespace view {

inline constexpr int kTempScaleWidth = 167;
inline constexpr int kTempScaleHeight = 41;

// Draws the scale onto a picture of kTempScaleWidth × kTempScaleHeight; the colour table must be loaded.
void drawTempScalePicture(ui::Surface& picture, const catalog::LightColorTable& colours);

} // namespace view
