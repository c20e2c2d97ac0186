// Painting a result onto the drawing surface: illuminance classes, colour temperature and contour lines.
#pragma once
#include "calc/ContourSet.h"
#include "calc/IlluminanceGrid.h"
#include "model/Document.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <array>
#include <cstdint>
#include <functional>

namespace view {

using LuxLevels = std::array<std::int32_t, 7>;  // [1..6]

// A grid value as a whole number of lux, truncated toward zero; NaN reads as 0 and huge values saturate.
std::int32_t truncLux(float v);

// The class 0..5 of a truncated value: class k when level[k+1] ≤ v < level[k+2], class 5 when
// v ≥ level[6]. With levels out of order the last test that holds wins; when none holds the
// previous point's class stays.
int chooseClass(std::int32_t v, const LuxLevels& level, int previousClass);

// Widens the lit extent to take in (col, row).
void widenLitExtent(calc::ResultStats& stats, int col, int row);
void resetLitExtent(calc::ResultStats& stats);

// The class colours over the whole surface (detailed: every pixel from level 1 up, with a progress
// step and a cancel check per row) or over every second row and column from (1, 1) (simple: above
// level 1 only, no cancel). Returns false when the user cancelled.
bool paintClassPixels(ui::Surface& surface, const model::DisplayTables& tables, const calc::IlluminanceGrid& grid,
                      calc::ResultStats& stats, bool detailed, ui::Services& services);

// The colour of each point above level 1 lit warmer than 2400 K, from the ctColour of its 100 K step
// (7400 K at most). Rows and columns run to the surface size inclusive. Returns false when cancelled.
bool paintTemperaturePixels(ui::Surface& surface, const model::DisplayTables& tables,
                            const calc::IlluminanceGrid& grid, calc::ResultStats& stats, ui::Services& services);

// Whether the contour set was traced for other levels than the current ones.
bool contoursStale(const calc::ContourSet& contours, const LuxLevels& level);

// The contour lines with their values written along them every 50 drawn points. `rebuild` is asked
// for first when the set is stale (it may be empty).
void drawContours(ui::Surface& surface, const model::Document& doc, const calc::ContourSet& contours, double offsetX,
                  double offsetY, double scale, const std::function<void()>& rebuild = {});

} // namespace view
