// The calculation: fixture pass with progress and cancel, interpolation, levels, lit extent and average.
#include "calc/Calculation.h"
#include "calc/AreaFigures.h"

#include "base/Text.h"
#include "model/Plan.h"

#include <algorithm>
#include <cmath>

namespace calc {
namespace {

// The progress window advanced once per fixture; its cancel button is polled through the event pump.
class FixtureProgress : public PassProgress {
public:
    explicit FixtureProgress(CalcProgress& progress) : progress_(progress) {}
    bool step() override {
        progress_.progressSet(++position_);
        return progress_.processEvents();
    }

private:
    CalcProgress& progress_;
    int position_ = 0;
};

// The walls and pillars the plan painter drew in black.
using WallPixels = WallMask;

// A point at or below this many lux received no light (the grid's starting value, or a cleared point).
constexpr float kUnlitLux = 0.01f;

// One line of grid values (a column or a row) seen through its stride, for the interpolation passes.
struct Line {
    float* base;
    std::int64_t stride;
    float& operator[](std::int64_t i) const { return base[i * stride]; }
};

// The straight fill of the segment [r, r + s] between its two computed ends.
void fillStraight(const Line& v, std::int64_t r, int s) {
    const float fs = static_cast<float>(s);
    const float a = v[r], b = v[r + s];
    for (int k = 1; k < s; ++k) v[r + k] = a + (b - a) / fs * static_cast<float>(k);
}

// A straight fill of [r, r + s] that did not look for walls (near the plan's border, where the slopes
// of the neighbouring segments are not at hand) must not carry light over a wall to an end that no
// luminaire reached. The lit end may lie on the wall itself (a point on a wall line can take light by
// rounding). Between the unlit end and the wall pixel farthest from it the points keep the unlit
// value and the wall pixels become 0, as a found wall does; points on the lit side keep the straight fill.
template <class WallAt>
void darkBeyondWall(const Line& lux, const Line& ct, std::int64_t r, int s, const WallAt& wall) {
    const bool darkStart = lux[r] <= kUnlitLux, darkEnd = lux[r + s] <= kUnlitLux;
    if (darkStart == darkEnd) return;
    int first = -1, last = -1;
    for (int k = darkStart ? 1 : 0; k <= (darkStart ? s : s - 1); ++k) {
        if (!wall(r + k)) continue;
        if (first < 0) first = k;
        last = k;
    }
    if (first < 0) return;
    const std::int64_t dark = darkStart ? r : r + s;
    const int from = darkStart ? 1 : std::max(first, 1), to = darkStart ? std::min(last, s - 1) : s - 1;
    for (int k = from; k <= to; ++k) {
        const bool onWall = wall(r + k);
        lux[r + k] = onWall ? 0.0f : lux[dark];
        ct[r + k] = onWall ? 0.0f : ct[dark];
    }
}

// A value carried on past the computed points p and q stays between them: a slope continued beyond
// the last computed point (near a wall, at the plan's border) would otherwise overshoot, up to an
// average above the maximum or light below zero.
float between(float value, float p, float q) { return std::clamp(value, std::min(p, q), std::max(p, q)); }

// The end piece after the last whole segment from r0: the line through r0 and r0 + s carried to the end.
// When it would need a point past the last one (the length is a multiple of the step), the slope of the
// segment before r0 carries on instead. Either way no point leaves the range of the two computed
// values the line goes through.
void fillEndPiece(const Line& v, std::int64_t r0, std::int64_t length, int s) {
    const float fs = static_cast<float>(s);
    float a = v[r0], b, other;
    if (r0 + s < length) {
        b = v[r0 + s];
        other = b;
    } else if (r0 >= s) {
        other = v[r0 - s];
        b = a + (a - other);
    } else {
        b = a;
        other = a;
    }
    for (std::int64_t r = r0 + 1; r < length; ++r) v[r] = between(a + (b - a) / fs * static_cast<float>(r - r0), a, other);
}

// A segment with a wall pixel at r + kStar: the wall becomes 0 and each side carries on the slope of the
// segment beyond it, so that no light is interpolated across the wall (lux never below 0), and no
// point leaves the range of the segment's two computed ends.
void fillAroundWall(const Line& lux, const Line& ct, std::int64_t r, int s, int kStar) {
    const float fs = static_cast<float>(s);
    lux[r + kStar] = 0.0f;
    ct[r + kStar] = 0.0f;
    const Line both[2] = {lux, ct};
    for (int n = 0; n < 2; ++n) {
        const Line& v = both[n];
        const bool isLux = n == 0;
        for (int k = 1; k < kStar; ++k) {
            v[r + k] = between(v[r] + static_cast<float>(k) * (v[r] - v[r - s]) / fs, v[r], v[r + s]);
            if (isLux && v[r + k] < 0) v[r + k] = 0.0f;
        }
        for (int k = kStar + 1; k < s; ++k) {
            v[r + k] = between(v[r + s] - static_cast<float>(s - k) * (v[r + 2 * s] - v[r + s]) / fs, v[r], v[r + s]);
            if (isLux && v[r + k] < 0) v[r + k] = 0.0f;
        }
    }
}

// Fills the skipped points of one line of computed values, in lux and in the colour sums alike: the
// first segment, the end piece, then the middle segments, which do not interpolate across a wall pixel.
// `length` is the number of values in the line's direction; `wall(i)` says whether position i lies under
// a wall, `searchable(p)` whether the segment starting at p may look for one (the extent condition).
template <class WallAt, class Searchable>
void fillLine(Line lux, Line ct, std::int64_t length, int s, WallAt wall, Searchable searchable) {
    if (s < length) {
        fillStraight(lux, 0, s);
        fillStraight(ct, 0, s);
        darkBeyondWall(lux, ct, 0, s, wall);
    }
    const std::int64_t r0 = (length / s - 1) * s;
    if (r0 >= 0) {
        fillEndPiece(lux, r0, length, s);
        fillEndPiece(ct, r0, length, s);
    }
    std::int64_t r = s;
    for (; r < length - 2 * s; r += s) {
        int kStar = -1;
        if (searchable(r)) {
            for (int k = 0; k <= s; ++k) {
                if (wall(r + k)) kStar = k;
            }
        }
        if (kStar >= 0) {
            fillAroundWall(lux, ct, r, s, kStar);
            continue;
        }
        fillStraight(lux, r, s);
        fillStraight(ct, r, s);
        darkBeyondWall(lux, ct, r, s, wall);
    }
    // When the length is a multiple of the step, one segment lies between the last middle segment and
    // the end piece; left alone it would stay at its reset value, a stripe along the edge of the map.
    for (; r + s <= r0; r += s) {
        fillStraight(lux, r, s);
        fillStraight(ct, r, s);
        darkBeyondWall(lux, ct, r, s, wall);
    }
}

// The value every grid point starts a calculation with (IlluminanceGrid::reset): no luminaire added it.
constexpr float kStartLux = 0.01f;

// The illuminance-weighted mean lamp colour temperature of a point, from its total illuminance and its
// colour sum (lux × 0.001 × kelvin per contribution). Only the light the luminaires added is weighed, so a
// point lit only by 3000 K lamps is 3000 K, not a shade below that falls into the 2900 K class. The sums
// are single-precision: a mean within their rounding noise of a whole kelvin is that whole kelvin.
float meanColourTemperature(float lux, float ctSum) {
    const float kelvin = 1000.0f / (lux - kStartLux) * ctSum;
    const float whole = std::round(kelvin);
    return std::abs(kelvin - whole) <= std::abs(whole) * 1e-5f ? whole : kelvin;
}

// A progress window that shows nothing: the second interpolation, of the direct light alone, runs unseen.
class SilentProgress : public CalcProgress {
public:
    void progressShow(const std::string&, const std::string&, int) override {}
    void progressSet(int) override {}
    bool processEvents() override { return false; }
    void progressHide() override {}
};

// The direct and the reflected averages over the points the result's average is taken over (above 0.2 lx),
// the direct part read from the direct grid interpolated in the same way.
void splitAverages(const IlluminanceGrid& total, const IlluminanceGrid& direct, IndirectFigures& fig) {
    double sumDirect = 0, sumReflected = 0;
    std::int64_t count = 0;
    for (std::size_t i = 0; i < total.lux.size(); ++i) {
        const float v = total.lux[i];
        if (!(v > 0.2)) continue;
        sumDirect += direct.lux[i];
        sumReflected += static_cast<double>(v) - direct.lux[i];
        ++count;
    }
    if (count == 0) return;
    fig.directAverageLux = sumDirect / static_cast<double>(count);
    fig.indirectAverageLux = sumReflected / static_cast<double>(count);
}

// Whether every calculated point's illuminance is a whole number of lux the results can carry (the
// maximum and the average are 32-bit integers); past that the figures would be saturated nonsense.
bool figuresRepresentable(const IlluminanceGrid& g, int step) {
    const std::int64_t s = std::clamp(step, 1, 7), W = g.gridWidth, H = g.gridHeight;
    for (std::int64_t row = 0; row < H; row += s) {
        for (std::int64_t col = 0; col < W; col += s) {
            if (!(g.lux[static_cast<std::size_t>(row * W + col)] < 2147483648.0f)) return false;
        }
    }
    return true;
}

bool anyTypeCalculated(const catalog::TourokuTable& touroku) {
    for (int t = 1; t <= catalog::kSlotCount; ++t) {
        if (touroku[t].kou > 0) return true;
    }
    return false;
}

} // namespace

TableSettings tableSettingsOf(const model::Document& doc, const CalcSettings& settings) {
    TableSettings t;
    t.mmPerPixel = doc.plan.mmPerPixel;
    t.scaleDenominator = doc.plan.scaleDenominator;
    t.calcStep = settings.calcStep;
    t.maintenanceOn = settings.maintenanceOn;
    t.maintenanceClass = settings.maintenanceClass;
    return t;
}

LuxLevels chooseLevels(const model::Document& doc, std::int32_t maxLux) {
    LuxLevels levels = doc.tables.luxLevel;
    if (doc.rangeMode) {
        for (int i = 1; i <= 6; ++i) levels[static_cast<std::size_t>(i)] = doc.tables.userLevel[static_cast<std::size_t>(i)];
        return levels;
    }
    const auto& ladder = doc.tables.levelLadder;
    int i = 6;
    while (i <= 25 && ladder[static_cast<std::size_t>(i)] < maxLux) ++i;
    const int k = i - 1;
    for (int n = 6; n >= 1; --n) levels[static_cast<std::size_t>(n)] = ladder[static_cast<std::size_t>(k - (6 - n))];
    return levels;
}

void interpolateGrid(CalcContext& ctx) {
    IlluminanceGrid& g = ctx.grid;
    CalcProgress& sv = ctx.progress;
    const int s = std::clamp(ctx.settings.calcStep, 1, 7);
    const std::int64_t W = g.gridWidth, H = g.gridHeight;
    sv.progressShowStyled(kCaptionInterpolate, kTextInterpolate, static_cast<int>(H / 10), true, false);
    sv.processEvents();

    float maximum = 0.0f;
    for (std::int64_t row = 0; row < H; row += s) {
        for (std::int64_t col = 0; col < W; col += s) maximum = std::max(maximum, g.lux[static_cast<std::size_t>(row * W + col)]);
    }
    ctx.stats.maxLux = truncInt(maximum);

    ctx.doc.plan.hasira.forEach([&](const model::HasiraRecord& p) {
        if (p.pillarKind != model::kSquarePillar) return;
        const std::int64_t x0 = std::max<std::int64_t>(0, static_cast<std::int64_t>(p.x) - p.halfSize);
        const std::int64_t x1 = std::min<std::int64_t>(W, static_cast<std::int64_t>(p.x) + p.halfSize);
        const std::int64_t y0 = std::max<std::int64_t>(0, static_cast<std::int64_t>(p.y) - p.halfSize);
        const std::int64_t y1 = std::min<std::int64_t>(H, static_cast<std::int64_t>(p.y) + p.halfSize);
        for (std::int64_t row = y0; row < y1; ++row) {
            for (std::int64_t col = x0; col < x1; ++col) {
                g.lux[static_cast<std::size_t>(row * W + col)] = 0.0f;
                g.ctSum[static_cast<std::size_t>(row * W + col)] = 0.0f;
            }
        }
    });

    ctx.levels = chooseLevels(ctx.doc, ctx.stats.maxLux);

    for (std::int64_t row = 0; row < H; row += s) {
        for (std::int64_t col = 0; col < W; col += s) {
            const std::size_t i = static_cast<std::size_t>(row * W + col);
            float& lux = g.lux[i];
            if (lux > 0.05) g.ctSum[i] = meanColourTemperature(lux, g.ctSum[i]);
            if (lux > 0 && lux <= 0.01) lux = 0.01f;
        }
    }

    const WallPixels& pixels = ctx.walls;
    const model::Extent e = ctx.doc.extent;
    if (s == 1) {
        sv.progressShowStyled(kCaptionInterpolate, kTextInterpolate,
                              static_cast<int>((static_cast<std::int64_t>(e.Xe) - e.Xs) / 10), true, false);
        for (std::int64_t col = std::max<std::int64_t>(0, e.Xs); col <= e.Xe && col < W; ++col) {
            if ((col - e.Xs) % 10 == 0) {
                sv.progressSet(static_cast<int>((col - e.Xs) / 10));
                sv.processEvents();
            }
            for (std::int64_t row = std::max<std::int64_t>(0, e.Ys); row <= e.Ye && row < H; ++row) {
                if (pixels.black(col, row)) g.lux[static_cast<std::size_t>(row * W + col)] = 0.0f;
            }
        }
        return;
    }

    // Vertical pass along every computed column (the last one too, so that the horizontal pass has
    // both ends of its final segments).
    for (std::int64_t c = 0; c < W; c += s) {
        auto wall = [&](std::int64_t r) { return pixels.black(c, r); };
        auto searchable = [&](std::int64_t r) { return r - s >= e.Ys && r + s <= e.Ye && c - s >= e.Xs && c + s <= e.Xe; };
        Line lux{g.lux.data() + c, W}, ct{g.ctSum.data() + c, W};
        fillLine(lux, ct, H, s, wall, searchable);
    }
    // Horizontal pass along every row that the vertical pass completed.
    for (std::int64_t r = 0; r < H - s; ++r) {
        if (r % 10 == 0) {
            sv.progressSet(static_cast<int>(r / 10));
            sv.processEvents();
        }
        auto wall = [&](std::int64_t c) { return pixels.black(c, r); };
        auto searchable = [&](std::int64_t c) { return c - s >= e.Xs && c + s <= e.Xe && r - s >= e.Ys && r + s <= e.Ye; };
        Line lux{g.lux.data() + r * W, 1}, ct{g.ctSum.data() + r * W, 1};
        fillLine(lux, ct, W, s, wall, searchable);
    }
}

void computeLitExtent(const IlluminanceGrid& grid, std::int32_t surfaceWidth, std::int32_t surfaceHeight,
                      std::int32_t lowestLevel, ResultStats& stats) {
    stats.litMinCol = 10000;
    stats.litMaxCol = 0;
    stats.litMinRow = 10000;
    stats.litMaxRow = 0;
    for (std::int32_t row = 0; row < surfaceHeight && row < grid.gridHeight; ++row) {
        for (std::int32_t col = 0; col <= surfaceWidth && col < grid.gridWidth; ++col) {
            if (truncInt(grid.lux[grid.index(col, row)]) <= lowestLevel) continue;
            stats.litMinCol = std::min(stats.litMinCol, col);
            stats.litMaxCol = std::max(stats.litMaxCol, col);
            stats.litMinRow = std::min(stats.litMinRow, row);
            stats.litMaxRow = std::max(stats.litMaxRow, row);
        }
    }
}

std::int32_t averageLux(const IlluminanceGrid& grid) {
    // Summed and counted in double and 64 bits: a float sum over millions of points loses the small
    // values added late (the mean came out some per cent low), and a float count stops at 2^24.
    double sum = 0.0;
    std::int64_t count = 0;
    for (std::int32_t row = 0; row < grid.gridHeight; ++row) {
        for (std::int32_t col = 0; col < grid.gridWidth; ++col) {
            const float v = grid.lux[grid.index(col, row)];
            if (v > 0.2) {
                sum += v;
                ++count;
            }
        }
    }
    if (count == 0) return 0;
    return truncInt(sum / static_cast<double>(count));
}

CalcResult calculate(const CalcInput& in) {
    model::Document& doc = in.doc;
    CalcProgress& sv = in.progress;
    CalcResult result;
    result.levels = doc.tables.luxLevel;
    IlluminanceGrid& grid = result.grid;
    grid.allocate(doc.surfaceWidth, doc.surfaceHeight);
    grid.reset();
    model::normaliseAllLines(doc.plan);
    const bool colourTemperature = doc.displayKind == 'C';
    sv.progressShow(colourTemperature ? kCaptionColorTemp : kCaptionLux, colourTemperature ? kTextColorTemp : kTextLux,
                    doc.plan.kigu.count());
    sv.progressSet(0);
    sv.processEvents();
    std::int32_t tenDaka = doc.tenDaka;
    if (anyTypeCalculated(in.touroku)) {
        try {
            tenDaka = base::toInt(in.heightText);
        } catch (...) {
            sv.progressHide();
            throw;
        }
    }
    FixtureProgress progress(sv);
    const PassResult pass =
        runFixturePass(doc.plan, in.touroku, tenDaka, tableSettingsOf(doc, in.settings), grid, in.threads, &progress);
    sv.progressHide();
    if (pass == PassResult::Cancelled) return result;
    // The reflections add onto the calculated points before the interpolation fills the others; the direct
    // grid is kept aside to tell the two parts apart in the averages.
    IlluminanceGrid direct;
    if (doc.plan.room.on) {
        direct = grid;
        const RoomPassResult room = runRoomPass(doc, in.touroku, tenDaka, in.settings, grid, in.threads, &sv, result.indirect);
        sv.progressHide();
        if (room == RoomPassResult::Cancelled) return result;
    }
    if (!figuresRepresentable(grid, in.settings.calcStep)) {
        result.outcome = CalcOutcome::Overflow;
        return result;
    }
    CalcContext ctx{doc, in.settings, in.walls, sv, grid, result.stats, result.levels};
    interpolateGrid(ctx);
    sv.progressHide();
    computeLitExtent(grid, grid.gridWidth - 1, grid.gridHeight - 1, result.levels[1], result.stats);
    result.stats.averageLux = averageLux(grid);
    computeAreaFigures(doc.plan, grid, in.walls, in.settings.calcStep, result.stats);
    if (result.indirect.on) {
        SilentProgress silent;
        ResultStats directStats;
        LuxLevels directLevels = result.levels;
        CalcContext directCtx{doc, in.settings, in.walls, silent, direct, directStats, directLevels};
        interpolateGrid(directCtx);
        splitAverages(grid, direct, result.indirect);
        computeIndirectAreaShares(doc.plan, grid, direct, in.walls, in.settings.calcStep, result.stats);
    }
    result.outcome = CalcOutcome::Done;
    return result;
}

} // namespace calc
