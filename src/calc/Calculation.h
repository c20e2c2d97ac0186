// The calculation: fixture pass with progress and cancel, interpolation, levels, statistics and contours, returned as one result.
#pragma once
#include "calc/ContourSet.h"
#include "calc/FixturePass.h"
#include "calc/IlluminanceGrid.h"
#include "calc/Reflections.h"
#include "catalog/FixtureType.h"
#include "model/Document.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace calc {

inline constexpr const char* kCaptionLux = "照度の計算";
inline constexpr const char* kTextLux = "照度を計算中";
inline constexpr const char* kCaptionColorTemp = "色温度の計算";
inline constexpr const char* kTextColorTemp = "色温度を計算中";
inline constexpr const char* kCaptionInterpolate = "照度の補間";
inline constexpr const char* kTextInterpolate = "照度を補間中";

// The six illuminance levels, [1..6] ascending.
using LuxLevels = std::array<std::int32_t, 7>;

// Overflow: the illuminance is past what the figures can carry (no result).
enum class CalcOutcome { Done, Cancelled, Overflow };
inline constexpr const char* kMsgLuxOverflow = "照度が大きすぎて計算結果を表せません。";

// The progress window a calculation drives; the window side answers it with its own progress window.
class CalcProgress {
public:
    virtual ~CalcProgress() = default;
    virtual void progressShow(const std::string& caption, const std::string& text, int maximum) = 0;
    // The same window with its bar or its cancel button hidden (the interpolation offers no cancel).
    virtual void progressShowStyled(const std::string& caption, const std::string& text, int maximum, bool barVisible,
                                    bool cancelVisible) {
        progressShow(caption, text, maximum);
    }
    virtual void progressSet(int position) = 0;
    // Lets the window breathe; true when the user pressed cancel.
    virtual bool processEvents() = 0;
    virtual void progressHide() = 0;
};

// Which pixels of the drawing surface lie under a wall or a pillar: the plan drawn in black on white.
struct WallMask {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint8_t> wall;  // row × width + col, 1 under a wall

    void allocate(std::int32_t w, std::int32_t h) {
        width = w;
        height = h;
        wall.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    }
    // Outside the surface nothing is a wall.
    bool black(std::int64_t x, std::int64_t y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return false;
        return wall[static_cast<std::size_t>(y * width + x)] != 0;
    }
};

// What one calculation reads. The plan's wall bounding boxes are brought up to date (the pass needs them).
struct CalcInput {
    model::Document& doc;  // plan, extent, drawing surface size, level tables, reference height
    const catalog::TourokuTable& touroku;
    const CalcSettings& settings;
    const WallMask& walls;
    CalcProgress& progress;
    // The text the reference height is read from when a type is calculated (the window's height label).
    const std::string& heightText;
    int threads = 0;  // 0 = every core
};

struct CalcResult {
    CalcOutcome outcome = CalcOutcome::Cancelled;
    IlluminanceGrid grid;  // lux and, above 0.05 lx, kelvin
    ResultStats stats;     // maximum, average and lit extent
    LuxLevels levels{};
    IndirectFigures indirect;  // with the plan's room on: what the reflections added
};

// One complete calculation. A height text that is not an integer throws base::ConversionError after
// the progress window is hidden again.
CalcResult calculate(const CalcInput& input);

// The table settings a calculation uses: the plan's scale and the calculation settings.
TableSettings tableSettingsOf(const model::Document& doc, const CalcSettings& settings);

// The six illuminance levels: the user's when rangeMode is set, otherwise consecutive ladder values
// whose top is the largest ladder value below maxLux (never below 200).
LuxLevels chooseLevels(const model::Document& doc, std::int32_t maxLux);

// What the steps after the fixture pass read and write.
struct CalcContext {
    const model::Document& doc;  // extent, pillars, level tables
    const CalcSettings& settings;
    const WallMask& walls;
    CalcProgress& progress;
    IlluminanceGrid& grid;
    ResultStats& stats;
    LuxLevels& levels;
};

// Completes the grid after the fixture pass: maximum, square pillars, levels, kelvin, the skipped points.
void interpolateGrid(CalcContext& ctx);

// The bounding box of the points brighter than the lowest level, over the drawing surface.
void computeLitExtent(const IlluminanceGrid& grid, std::int32_t surfaceWidth, std::int32_t surfaceHeight,
                      std::int32_t lowestLevel, ResultStats& stats);

// Mean of the points above 0.2 lx, truncated; 0 when no point is lit.
std::int32_t averageLux(const IlluminanceGrid& grid);

// The iso-lines of the levels over the lattice of the drawing surface (every piece once).
ContourSet buildContours(const IlluminanceGrid& grid, const std::vector<float>& levels, std::int32_t surfaceWidth,
                         std::int32_t surfaceHeight);

} // namespace calc
