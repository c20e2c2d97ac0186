// The calculation driver and the steps after the fixture pass: interpolation, levels, statistics and contours.
#pragma once
#include "calc/CalcContext.h"
#include "calc/ContourSet.h"
#include "calc/FixturePass.h"
#include "calc/IlluminanceGrid.h"

#include <cstdint>
#include <string>

namespace calc {

inline constexpr const char* kCaptionLux = "照度の計算";
inline constexpr const char* kTextLux = "照度を計算中";
inline constexpr const char* kCaptionColorTemp = "色温度の計算";
inline constexpr const char* kTextColorTemp = "色温度を計算中";
inline constexpr const char* kCaptionInterpolate = "照度の補間";
inline constexpr const char* kTextInterpolate = "照度を補間中";
inline constexpr const char* kCaptionContours = "照度分布";
inline constexpr const char* kTextContours = "等高線データを作成中";
inline constexpr const char* kBikouAfterResult = "図面入力に戻るには \"再表示\"";

enum class CalcOutcome { Shown, Cancelled };

// The table settings a calculation uses: the plan's scale and the calculation settings.
TableSettings tableSettingsOf(const model::Document& doc, const CalcSettings& settings);

// One complete calculation (or only the redisplay when the result is still valid).
// The reference height is read from doc.tenDakaLabel; a text that is not an integer throws
// base::ConversionError after the progress window is hidden again.
CalcOutcome runCalculation(CalcContext& ctx);

// The six illuminance levels: the user's when rangeMode is set, otherwise consecutive ladder values
// whose top is the largest ladder value below maxLux (never below 200).
void chooseLevels(model::Document& doc, std::int32_t maxLux);

// Completes the grid after the fixture pass: maximum, square pillars, levels, kelvin, the skipped points.
// `surface` holds the walls and pillars in black on white.
void interpolateGrid(CalcContext& ctx);

// The bounding box of the points brighter than the lowest level, over the drawing surface.
void computeLitExtent(const IlluminanceGrid& grid, std::int32_t surfaceWidth, std::int32_t surfaceHeight,
                      std::int32_t lowestLevel, ResultStats& stats);

// Mean of the points above 0.2 lx, truncated; 0 when no point is lit.
std::int32_t averageLux(const IlluminanceGrid& grid);

// The iso-lines of the levels over the lattice of the drawing surface (every piece once).
ContourSet buildContours(const IlluminanceGrid& grid, const std::vector<float>& levels, std::int32_t surfaceWidth,
                         std::int32_t surfaceHeight);
// With the progress window, from the current levels; marks the result valid and enables the DXF save.
void rebuildContours(CalcContext& ctx);

} // namespace calc
