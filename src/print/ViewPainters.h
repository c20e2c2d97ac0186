// The distribution sheet's drawings bound to the plan view's own routines (walls, fixtures, contour lines, scale).
#pragma once
#include "calc/ContourSet.h"
#include "model/Document.h"
#include "print/DistributionSheet.h"
#include "ui/Services.h"
#include "ui/Surface.h"

namespace print {

// The painters the window and the headless engine hand to the sheet: view::drawContours, drawWalls and
// drawFixtures at the sheet's offset and scale, the colour-temperature scale picture stretched into its
// rectangle (nothing when there is none), and the plan view's text placement. Everything given is
// referred to, not copied: the painters are used while they live.
SheetPainters viewSheetPainters(const model::Document& doc, const calc::ContourSet& contours, ui::Services& services,
                                const ui::Surface* temperatureScale);

} // namespace print
