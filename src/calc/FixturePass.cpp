// The fast fixture pass: rows shared among threads, work culled where its answer is already known.
#include "calc/FixturePass.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

namespace calc {
namespace {

enum class Kind : std::uint8_t { Wall, Arc, Square, Cylinder };

// An obstacle that may block some lines of sight of the current row, from column lo to hi.
struct Active {
    Kind kind;
    int index;
    std::int64_t lo, hi;
};

// Columns (of the current row) whose line of sight to the fixture at fx can overlap an obstacle spanning
// [lo, hi] in x: a sight line covers the columns between the grid point and the fixture.
template <class T>
bool columnWindow(T lo, T hi, std::int64_t fx, std::int64_t colLo, std::int64_t colHi, std::int64_t& outLo,
                  std::int64_t& outHi) {
    outLo = colLo;
    outHi = colHi;
    if (lo > fx) {
        outLo = std::max<std::int64_t>(colLo, static_cast<std::int64_t>(std::ceil(static_cast<double>(lo))));
    } else if (hi < fx) {
        outHi = std::min<std::int64_t>(colHi, static_cast<std::int64_t>(std::floor(static_cast<double>(hi))));
    }
    return outLo <= outHi;
}

// How far a computed crossing point can stray from the circle it lies on: the tests work in double
// precision on plan coordinates, so two pixels cover rounding and the truncation of the point.
double circleMargin(double cx, double cy, double r) { return 2.0 + 1e-6 * (std::abs(cx) + std::abs(cy) + std::abs(r)); }
// An arc blocks only at points whose single-precision angle lies inside its span; such a point is within
// a pixel of the true arc (a point within a pixel of the vertical through the centre counts as straight
// above or below it), and the span's box was widened by a milliradian.
double arcMargin(const ArcShape& a) { return circleMargin(a.cx, a.cy, a.r) + 1.0 + 2e-3 * std::abs(a.r); }

bool testActive(const Active& a, const Obstacles& obs, const Sight& sight) {
    switch (a.kind) {
    case Kind::Wall:
        return crosses(sight, obs.walls[static_cast<std::size_t>(a.index)].line);
    case Kind::Arc:
        return arcBlocks(sight, obs.walls[static_cast<std::size_t>(a.index)].shape);
    case Kind::Square: {
        const auto& p = obs.pillars[static_cast<std::size_t>(a.index)];
        return crosses(sight, p.diagonal[0]) || crosses(sight, p.diagonal[1]);
    }
    case Kind::Cylinder: {
        const auto& p = obs.pillars[static_cast<std::size_t>(a.index)];
        return circleBlocks(sight, static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.m));
    }
    }
    return false;
}

} // namespace

int resolveThreads(int threads) {
    if (threads > 0) return std::min(threads, 256);
    const unsigned hw = std::thread::hardware_concurrency();
    return hw == 0 ? 1 : static_cast<int>(std::min(hw, 256u));
}

std::vector<FixtureGroup> fixtureGroups(const model::Plan& plan, const catalog::TourokuTable& touroku, std::int32_t tenDaka) {
    std::vector<FixtureGroup> groups;
    const int count = plan.kigu.count();
    auto heightOf = [tenDaka](std::int64_t offset) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(tenDaka + offset, std::numeric_limits<std::int32_t>::min(),
                                                                  std::numeric_limits<std::int32_t>::max()));
    };
    for (int t = 1; t <= catalog::kSlotCount; ++t) {
        if (touroku[t].kou <= 0) continue;
        FixtureGroup first{t, tenDaka, false, {}};
        for (int j = 1; j <= count; ++j) {
            const auto& k = plan.kigu[j];
            if (k.typeIndex == t && k.heightOffset == 0) first.fixtures.push_back(j);
        }
        if (!first.fixtures.empty()) groups.push_back(std::move(first));
        std::int32_t lastOffset = 0;
        for (int j = 1; j <= count; ++j) {
            const auto& k = plan.kigu[j];
            if (k.typeIndex != t || k.heightOffset == 0) continue;
            if (k.heightOffset != lastOffset || groups.empty() || !groups.back().ownHeight || groups.back().typeIndex != t) {
                groups.push_back(FixtureGroup{t, heightOf(k.heightOffset), true, {}});
            }
            lastOffset = k.heightOffset;
            groups.back().fixtures.push_back(j);
        }
    }
    return groups;
}

Obstacles collectObstacles(const model::Plan& plan) {
    Obstacles o;
    plan.lines.forEach([&](const model::LineRecord& l) {
        Obstacles::Wall w{l.x1, l.y1, l.x2, l.y2, l.minX, l.minY, l.maxX, l.maxY, l.isArc(), {}, {}};
        if (w.arc) {
            w.shape = makeArcShape(l);
            computeArcSpanBox(w.shape);
        }
        else w.line = makeWallLine(l.x1, l.y1, l.x2, l.y2);
        o.walls.push_back(w);
    });
    plan.hasira.forEach([&](const model::HasiraRecord& h) {
        Obstacles::Pillar p{h.pillarKind == model::kSquarePillar, h.x, h.y, h.halfSize, {}};
        const std::int64_t x = h.x, y = h.y, m = h.halfSize;
        p.diagonal[0] = makeWallLine(x - m, y - m, x + m, y + m);
        p.diagonal[1] = makeWallLine(x - m, y + m, x + m, y - m);
        o.pillars.push_back(p);
    });
    return o;
}

void addFixtureRows(IlluminanceGrid& grid, const TypeTable& table, const model::KiguRecord& k, const Obstacles& obs, int step,
                    int phase, int stride) {
    if (table.dark) return;
    const int s = std::clamp(step, 1, 7);
    const std::int64_t R = table.reach;
    const std::int64_t fx = k.x, fy = k.y;
    const std::int64_t W = grid.gridWidth, H = grid.gridHeight;
    const std::int64_t xLo = std::max<std::int64_t>(0, fx - R), yLo = std::max<std::int64_t>(0, fy - R);
    const std::int64_t xHi = std::min<std::int64_t>(W, fx + R), yHi = std::min<std::int64_t>(H, fy + R);
    const int rot = k.rotation == 0 ? 0 : 1;
    const auto& extent = table.extent[rot];

    // Rows this thread computes.
    std::int64_t rowFirst = std::max<std::int64_t>(0, fy - R);
    rowFirst = (rowFirst + s - 1) / s * s;
    const std::int64_t rowLast = std::min<std::int64_t>(H - 1, fy + R);
    if (rowFirst > rowLast) return;

    // Whole-fixture culling: the window of the fixture's reach.
    std::vector<int> walls, arcs, squares, cylinders;
    for (int i = 0; i < static_cast<int>(obs.walls.size()); ++i) {
        const auto& w = obs.walls[static_cast<std::size_t>(i)];
        if (w.arc) {
            const auto& a = w.shape;
            const double m = arcMargin(a);
            // Sight lines stay within fx ± R and fy ± R.
            if (a.maxX + m < fx - R || a.minX - m > fx + R || a.maxY + m < fy - R || a.minY - m > fy + R) continue;
            arcs.push_back(i);
            continue;
        }
        if ((w.minX < xLo && w.maxX < xLo) || (w.minX > xHi && w.maxX > xHi) || (w.minY < yLo && w.maxY < yLo) ||
            (w.minY > yHi && w.maxY > yHi))
            continue;
        walls.push_back(i);
    }
    for (int i = 0; i < static_cast<int>(obs.pillars.size()); ++i) {
        const auto& p = obs.pillars[static_cast<std::size_t>(i)];
        if (p.square) {
            const std::int64_t a = p.x - p.m, b = p.x + p.m, c = p.y - p.m, d = p.y + p.m;
            if ((a < xLo && b < xLo) || (a > xHi && b > xHi) || (c < yLo && d < yLo) || (c > yHi && d > yHi)) continue;
            squares.push_back(i);
        } else {
            const double cx = static_cast<double>(p.x), cy = static_cast<double>(p.y), r = std::abs(static_cast<double>(p.m));
            const double m = circleMargin(cx, cy, r);
            if (cx + r + m < fx - R || cx - r - m > fx + R || cy + r + m < fy - R || cy - r - m > fy + R) continue;
            cylinders.push_back(i);
        }
    }

    std::vector<Active> active;
    active.reserve(walls.size() + arcs.size() + squares.size() + cylinders.size());
    float* lux = grid.lux.data();
    float* ct = grid.ctSum.data();
    const std::int32_t colorTemp = table.colorTemp;
    const std::int32_t ifx = static_cast<std::int32_t>(fx), ify = static_cast<std::int32_t>(fy);

    for (std::int64_t row = rowFirst; row <= rowLast; row += s) {
        if ((row / s) % stride != phase) continue;
        const std::int64_t dy = std::abs(fy - row);
        std::int64_t ext = extent[static_cast<std::size_t>(dy)];
        if (ext < 0) continue;
        ext = std::min(ext, R);
        std::int64_t colLo = std::max<std::int64_t>(0, fx - ext);
        colLo = (colLo + s - 1) / s * s;
        const std::int64_t colHi = std::min<std::int64_t>(W - 1, fx + ext);
        if (colLo > colHi) continue;
        const std::int64_t bandLo = std::min(row, fy), bandHi = std::max(row, fy);

        // Row culling, then the columns each remaining obstacle can matter for.
        active.clear();
        std::int64_t lo, hi;
        for (int i : walls) {
            const auto& w = obs.walls[static_cast<std::size_t>(i)];
            const bool aside = row < fy ? ((w.minY < row && w.maxY < row) || (w.minY > fy && w.maxY > fy))
                                        : ((w.minY > row && w.maxY > row) || (w.minY < fy && w.maxY < fy));
            if (aside) continue;
            if (columnWindow(std::min(w.x1, w.x2), std::max(w.x1, w.x2), fx, colLo, colHi, lo, hi))
                active.push_back({Kind::Wall, i, lo, hi});
        }
        for (int i : squares) {
            const auto& p = obs.pillars[static_cast<std::size_t>(i)];
            const std::int64_t a = p.y - p.m, b = p.y + p.m;
            const bool aside = row < fy ? ((a < row && b < row) || (a > fy && b > fy)) : ((a > row && b > row) || (a < fy && b < fy));
            if (aside) continue;
            if (columnWindow(std::min(p.x - p.m, p.x + p.m), std::max(p.x - p.m, p.x + p.m), fx, colLo, colHi, lo, hi))
                active.push_back({Kind::Square, i, lo, hi});
        }
        for (int i : arcs) {
            const auto& a = obs.walls[static_cast<std::size_t>(i)].shape;
            const double m = arcMargin(a);
            if (a.maxY + m < bandLo || a.minY - m > bandHi) continue;
            if (columnWindow(a.minX - m, a.maxX + m, fx, colLo, colHi, lo, hi)) active.push_back({Kind::Arc, i, lo, hi});
        }
        for (int i : cylinders) {
            const auto& p = obs.pillars[static_cast<std::size_t>(i)];
            const double cx = static_cast<double>(p.x), cy = static_cast<double>(p.y), r = std::abs(static_cast<double>(p.m));
            const double m = circleMargin(cx, cy, r);
            if (cy + r + m < bandLo || cy - r - m > bandHi) continue;
            if (columnWindow(cx - r - m, cx + r + m, fx, colLo, colHi, lo, hi)) active.push_back({Kind::Cylinder, i, lo, hi});
        }

        const std::size_t base = static_cast<std::size_t>(row) * static_cast<std::size_t>(W);
        const std::int32_t irow = static_cast<std::int32_t>(row);
        const Active* last = nullptr;  // whatever blocked the previous point most likely blocks this one
        for (std::int64_t col = colLo; col <= colHi; col += s) {
            const std::int64_t dx = std::abs(fx - col);
            const float v = rot == 0 ? table.at(static_cast<int>(dx), static_cast<int>(dy)) : table.at(static_cast<int>(dy), static_cast<int>(dx));
            // Adding zero changes neither sum.
            if (v == 0.0f) continue;
            const std::int32_t icol = static_cast<std::int32_t>(col);
            bool blocked = false;
            bool prepared = false, circlePrepared = false;
            Sight sight;
            auto test = [&](const Active& a) {
                if (!prepared) {
                    sight = makeSight(icol, irow, ifx, ify);
                    prepared = true;
                }
                if (!circlePrepared && (a.kind == Kind::Arc || a.kind == Kind::Cylinder)) {
                    prepareCircleTests(sight);
                    circlePrepared = true;
                }
                return testActive(a, obs, sight);
            };
            if (last && col >= last->lo && col <= last->hi && test(*last)) blocked = true;
            if (!blocked) {
                for (const Active& a : active) {
                    if (col < a.lo || col > a.hi || &a == last) continue;
                    if (test(a)) {
                        blocked = true;
                        last = &a;
                        break;
                    }
                }
            }
            if (blocked) continue;
            const std::size_t idx = base + static_cast<std::size_t>(col);
            lux[idx] += v;
            ct[idx] += colourWeight(v, colorTemp);
        }
    }
}

PassResult runFixturePass(const model::Plan& plan, const catalog::TourokuTable& touroku, std::int32_t tenDaka,
                          const TableSettings& settings, IlluminanceGrid& grid, int threads, PassProgress* progress) {
    const int n = resolveThreads(threads);
    const Obstacles obstacles = collectObstacles(plan);
    const std::vector<FixtureGroup> groups = fixtureGroups(plan, touroku, tenDaka);
    TypeTable table;
    auto step = [progress] { return progress != nullptr && progress->step(); };
    for (const FixtureGroup& g : groups) {
        if (g.ownHeight && step()) return PassResult::Cancelled;
        prepareFixtureType(table, touroku[g.typeIndex], g.height, settings, n);
        std::atomic<bool> stop{false};
        bool cancelled = false;
        std::vector<std::thread> workers;
        for (int t = 1; t < n; ++t) {
            workers.emplace_back([&, t] {
                for (int j : g.fixtures) {
                    if (stop.load(std::memory_order_relaxed)) break;
                    addFixtureRows(grid, table, plan.kigu[j], obstacles, settings.calcStep, t, n);
                }
            });
        }
        for (std::size_t i = 0; i < g.fixtures.size(); ++i) {
            if (g.ownHeight && i > 0 && step()) {
                cancelled = true;
                break;
            }
            addFixtureRows(grid, table, plan.kigu[g.fixtures[i]], obstacles, settings.calcStep, 0, n);
            if (!g.ownHeight && step()) {
                cancelled = true;
                break;
            }
        }
        if (cancelled) stop = true;
        for (auto& w : workers) w.join();
        if (cancelled) return PassResult::Cancelled;
    }
    return PassResult::Completed;
}

} // namespace calc
