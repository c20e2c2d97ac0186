// Task-area figures: the points of a rectangle that carry a calculated illuminance, and what they say.
#include "calc/AreaFigures.h"

#include "base/Text.h"

#include <algorithm>
#include <limits>

namespace calc {

std::string luxFigure(double lux) { return base::formatFixed(lux, 2); }
std::string ratioFigure(double ratio) { return base::formatFixed(ratio, 3); }

namespace {

// Inside a round pillar's circle or a square pillar's square, edge included: no floor to light there.
bool insidePillar(const model::HasiraRecord& h, std::int64_t col, std::int64_t row) {
    const std::int64_t dx = col - h.x, dy = row - h.y, r = h.halfSize;
    if (h.pillarKind == model::kSquarePillar) return dx >= -r && dx <= r && dy >= -r && dy <= r;
    return dx * dx + dy * dy <= r * r;
}

} // namespace

namespace {

// Every point counts.
struct AnyPoint {
    bool operator()(std::int64_t, std::int64_t) const { return true; }
};

// Calls f(index, value) for every point of the area that carries a calculated illuminance (and that keep
// takes).
template <class F, class Keep = AnyPoint>
void forEachCountedPoint(const IlluminanceGrid& grid, const WallMask& walls, const model::HasiraArray& pillars,
                         const model::AreaRecord& area, int calcStep, F&& f, Keep keep = {}) {
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
            if (walls.black(col, row) || !keep(col, row)) continue;
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

template <class Keep = AnyPoint>
AreaFigures figuresKept(const IlluminanceGrid& grid, const WallMask& walls, const model::HasiraArray& pillars,
                        const model::AreaRecord& area, int calcStep, Keep keep = {}) {
    AreaFigures f;
    f.area = area;
    double sum = 0;
    double lo = std::numeric_limits<double>::max(), hi = 0;
    forEachCountedPoint(grid, walls, pillars, area, calcStep, [&](std::size_t, double v) {
        sum += v;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        ++f.points;
    }, keep);
    if (f.points == 0) return f;
    f.averageLux = sum / static_cast<double>(f.points);
    f.minLux = lo;
    f.maxLux = hi;
    f.uniformity = f.averageLux > 0 ? lo / f.averageLux : 0;
    f.minToMax = hi > 0 ? lo / hi : 0;
    f.pass = f.averageLux >= area.requiredLux && f.uniformity >= area.requiredUniformity;
    return f;
}

// The room's floor as the walls bound it: for each row the span from its first to its last wall pixel,
// for each column the same; a point inside both spans (and not under a wall) is floor. An open side of a
// plan lets the floor reach only as far as walls stand on both sides of a point, across and along.
class FloorSpans {
public:
    explicit FloorSpans(const WallMask& walls)
        : rowFirst_(static_cast<std::size_t>(std::max(walls.height, 0)), INT32_MAX), rowLast_(rowFirst_.size(), -1),
          colFirst_(static_cast<std::size_t>(std::max(walls.width, 0)), INT32_MAX), colLast_(colFirst_.size(), -1) {
        for (std::int32_t y = 0; y < walls.height; ++y) {
            for (std::int32_t x = 0; x < walls.width; ++x) {
                if (!walls.black(x, y)) continue;
                auto& rf = rowFirst_[static_cast<std::size_t>(y)];
                auto& rl = rowLast_[static_cast<std::size_t>(y)];
                auto& cf = colFirst_[static_cast<std::size_t>(x)];
                auto& cl = colLast_[static_cast<std::size_t>(x)];
                rf = std::min(rf, x);
                rl = std::max(rl, x);
                cf = std::min(cf, y);
                cl = std::max(cl, y);
            }
        }
    }
    bool operator()(std::int64_t col, std::int64_t row) const {
        if (row < 0 || col < 0 || row >= static_cast<std::int64_t>(rowFirst_.size()) ||
            col >= static_cast<std::int64_t>(colFirst_.size()))
            return false;
        const auto r = static_cast<std::size_t>(row), c = static_cast<std::size_t>(col);
        return col > rowFirst_[r] && col < rowLast_[r] && row > colFirst_[c] && row < colLast_[c];
    }

private:
    std::vector<std::int32_t> rowFirst_, rowLast_, colFirst_, colLast_;
};

// The floor's pixels (1): those the luminaires' light can walk to from where they stand without crossing a
// wall, inside the walls' spans, outside pillars. A pocket the walls close off from every luminaire is
// no part of the room; neither is the open land beyond an open side.
std::vector<std::uint8_t> floorPixels(const model::Plan& plan, const WallMask& walls) {
    const FloorSpans inside(walls);
    const std::int64_t w = walls.width, h = walls.height;
    std::vector<std::uint8_t> floor(static_cast<std::size_t>(w * h), 0);
    std::vector<std::int64_t> todo;
    auto reach = [&](std::int64_t col, std::int64_t row) {
        if (col < 0 || row < 0 || col >= w || row >= h) return;
        std::uint8_t& f = floor[static_cast<std::size_t>(row * w + col)];
        if (f != 0 || walls.black(col, row) || !inside(col, row)) return;
        f = 1;
        todo.push_back(row * w + col);
    };
    plan.kigu.forEach([&](const model::KiguRecord& k) { reach(k.x, k.y); });
    while (!todo.empty()) {
        const std::int64_t at = todo.back();
        todo.pop_back();
        const std::int64_t col = at % w, row = at / w;
        reach(col + 1, row);
        reach(col - 1, row);
        reach(col, row + 1);
        reach(col, row - 1);
    }
    // A straight wall is drawn up to its end but not onto it; the end pixel still lies on the wall, where
    // no light from either side arrives, and would stand as an unlit point of the floor.
    plan.lines.forEach([&](const model::LineRecord& l) {
        if (l.isArc()) return;
        for (const auto& [col, row] : {std::pair{l.x1, l.y1}, std::pair{l.x2, l.y2}}) {
            if (col >= 0 && row >= 0 && col < w && row < h) floor[static_cast<std::size_t>(std::int64_t{row} * w + col)] = 0;
        }
    });
    plan.hasira.forEach([&](const model::HasiraRecord& p) {
        const std::int64_t r = std::max<std::int64_t>(p.halfSize, 0);
        for (std::int64_t row = std::max<std::int64_t>(p.y - r, 0); row <= std::min<std::int64_t>(std::int64_t{p.y} + r, h - 1); ++row) {
            for (std::int64_t col = std::max<std::int64_t>(p.x - r, 0); col <= std::min<std::int64_t>(std::int64_t{p.x} + r, w - 1); ++col) {
                if (insidePillar(p, col, row)) floor[static_cast<std::size_t>(row * w + col)] = 0;
            }
        }
    });
    return floor;
}

} // namespace

AreaFigures figuresOver(const IlluminanceGrid& grid, const WallMask& walls, const model::HasiraArray& pillars,
                        const model::AreaRecord& area, int calcStep) {
    return figuresKept(grid, walls, pillars, area, calcStep);
}

RoomFigures roomFiguresOf(const model::Plan& plan, const IlluminanceGrid& grid, const WallMask& walls, int calcStep) {
    RoomFigures room;
    if (walls.width <= 0 || walls.height <= 0) return room;
    const std::vector<std::uint8_t> floor = floorPixels(plan, walls);
    const std::int64_t w = walls.width, h = walls.height;
    model::AreaRecord whole;
    whole.x2 = walls.width - 1;
    whole.y2 = walls.height - 1;
    room.figures = figuresKept(grid, walls, plan.hasira, whole, calcStep, [&floor, w, h](std::int64_t col, std::int64_t row) {
        return col < w && row < h && floor[static_cast<std::size_t>(row * w + col)] != 0;
    });
    if (room.figures.points == 0) return room;
    // The floor's area counts every pixel, the figures only the calculated points: a pixel stands for a
    // square of mm per pixel on each side.
    const auto pixels = std::count(floor.begin(), floor.end(), std::uint8_t{1});
    const double mm = plan.mmPerPixel;
    room.floorArea = static_cast<double>(pixels) * mm * mm / 1.0e6;
    return room;
}

void computeAreaFigures(const model::Plan& plan, const IlluminanceGrid& grid, const WallMask& walls, int calcStep,
                        ResultStats& stats) {
    stats.calcStep = std::clamp(calcStep, 1, 7);
    stats.areas.clear();
    for (const model::AreaRecord& a : plan.areas) stats.areas.push_back(figuresOver(grid, walls, plan.hasira, a, calcStep));
    stats.room = roomFiguresOf(plan, grid, walls, calcStep);
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
