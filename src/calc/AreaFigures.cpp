// Task-area figures: the points of a rectangle that carry a calculated illuminance, and what they say.
#include "calc/AreaFigures.h"

#include <algorithm>
#include <limits>

namespace calc {

namespace {

// Inside a round pillar's circle or a square pillar's square, edge included: no floor to light there.
bool insidePillar(const model::HasiraRecord& h, std::int64_t col, std::int64_t row) {
    const std::int64_t dx = col - h.x, dy = row - h.y, r = h.halfSize;
    if (h.pillarKind == model::kSquarePillar) return dx >= -r && dx <= r && dy >= -r && dy <= r;
    return dx * dx + dy * dy <= r * r;
}

} // namespace

namespace {

// Calls f(col, row, value) for every point of the area that carries a calculated illuminance.
template <class F>
void forEachCountedPoint(const IlluminanceGrid& grid, const WallMask& walls, const model::HasiraArray& pillars,
                         const model::AreaRecord& area, int calcStep, F&& f) {
    const std::int64_t s = std::clamp(calcStep, 1, 7);
    // The first lattice column and row at or after the corner, clipped to the grid.
    auto firstOnLattice = [s](std::int64_t v) { return v <= 0 ? 0 : (v + s - 1) / s * s; };
    const std::int64_t colLast = std::min<std::int64_t>(area.x2, std::int64_t{grid.gridWidth} - 1);
    const std::int64_t rowLast = std::min<std::int64_t>(area.y2, std::int64_t{grid.gridHeight} - 1);
    // Only the pillars that reach into the area are tested point by point.
    std::vector<model::HasiraRecord> near;
    pillars.forEach([&](const model::HasiraRecord& h) {
        const std::int64_t r = h.halfSize;
        if (h.x + r >= area.x1 && h.x - r <= area.x2 && h.y + r >= area.y1 && h.y - r <= area.y2) near.push_back(h);
    });
    for (std::int64_t row = firstOnLattice(area.y1); row <= rowLast; row += s) {
        for (std::int64_t col = firstOnLattice(area.x1); col <= colLast; col += s) {
            if (walls.black(col, row)) continue;
            if (std::any_of(near.begin(), near.end(), [&](const model::HasiraRecord& h) { return insidePillar(h, col, row); }))
                continue;
            const std::size_t i = grid.index(static_cast<std::int32_t>(col), static_cast<std::int32_t>(row));
            const double v = grid.lux[i];
            if (v == 0) continue;
            f(i, v);
        }
    }
}

// The reflected share of an area's average: over the same points, the total less the direct light.
double indirectAverageOver(const IlluminanceGrid& total, const IlluminanceGrid& direct, const WallMask& walls,
                           const model::HasiraArray& pillars, const model::AreaRecord& area, int calcStep) {
    double sum = 0;
    std::int64_t points = 0;
    forEachCountedPoint(total, walls, pillars, area, calcStep, [&](std::size_t i, double v) {
        sum += v - direct.lux[i];
        ++points;
    });
    return points > 0 ? sum / static_cast<double>(points) : 0;
}

} // namespace

AreaFigures figuresOver(const IlluminanceGrid& grid, const WallMask& walls, const model::HasiraArray& pillars,
                        const model::AreaRecord& area, int calcStep) {
    AreaFigures f;
    f.area = area;
    double sum = 0;
    double lo = std::numeric_limits<double>::max(), hi = 0;
    forEachCountedPoint(grid, walls, pillars, area, calcStep, [&](std::size_t, double v) {
        sum += v;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        ++f.points;
    });
    if (f.points == 0) return f;
    f.averageLux = sum / static_cast<double>(f.points);
    f.minLux = lo;
    f.maxLux = hi;
    f.uniformity = f.averageLux > 0 ? lo / f.averageLux : 0;
    f.minToMax = hi > 0 ? lo / hi : 0;
    f.pass = f.averageLux >= area.requiredLux && f.uniformity >= area.requiredUniformity;
    return f;
}

void computeAreaFigures(const model::Plan& plan, const IlluminanceGrid& grid, const WallMask& walls, int calcStep,
                        ResultStats& stats) {
    stats.calcStep = std::clamp(calcStep, 1, 7);
    stats.areas.clear();
    for (const model::AreaRecord& a : plan.areas) stats.areas.push_back(figuresOver(grid, walls, plan.hasira, a, calcStep));
    model::AreaRecord lit;
    if (stats.litMinCol <= stats.litMaxCol && stats.litMinRow <= stats.litMaxRow) {
        lit.x1 = stats.litMinCol;
        lit.x2 = stats.litMaxCol;
        lit.y1 = stats.litMinRow;
        lit.y2 = stats.litMaxRow;
        stats.lit = figuresOver(grid, walls, plan.hasira, lit, calcStep);
    } else {
        stats.lit = AreaFigures{};
    }
}

} // namespace calc

namespace calc {

void computeIndirectAreaShares(const model::Plan& plan, const IlluminanceGrid& total, const IlluminanceGrid& direct,
                               const WallMask& walls, int calcStep, ResultStats& stats) {
    for (AreaFigures& f : stats.areas) f.indirectAverageLux = indirectAverageOver(total, direct, walls, plan.hasira, f.area, calcStep);
}

} // namespace calc
