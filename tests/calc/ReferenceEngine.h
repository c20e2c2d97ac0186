// The straightforward fixture pass, one thread, every grid point, each test in the order the model words it: the oracle of the fast engine.
#pragma once
#include "calc/FixturePass.h"
#include "calc/IlluminanceGrid.h"
#include "calc/Luminaire.h"
#include "catalog/FixtureType.h"
#include "model/Plan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace calc::reference {

struct Table {
    std::vector<float> typeLux = std::vector<float>(801 * 801, 0.0f);
    std::vector<float> typeSum = std::vector<float>(801 * 801, 0.0f);
    int typeReach = 0;
    bool dark = false;
    int colorTemp = 0;
    float& lux(int a, int b) { return typeLux[static_cast<std::size_t>(a) * 801 + static_cast<std::size_t>(b)]; }
    float& sum(int a, int b) { return typeSum[static_cast<std::size_t>(a) * 801 + static_cast<std::size_t>(b)]; }
};

inline void prepareFixtureType(Table& t, const catalog::BunpuHinban& type, int h, const TableSettings& st) {
    std::fill(t.typeLux.begin(), t.typeLux.end(), 0.0f);
    std::fill(t.typeSum.begin(), t.typeSum.end(), 0.0f);
    t.colorTemp = type.colorTemp;
    t.dark = h <= 0 || !(st.mmPerPixel > 0);
    if (t.dark) {
        t.typeReach = 0;
        return;
    }
    const int s = st.calcStep;
    const float H = static_cast<float>(h);
    const int threshold = splitThreshold(st.scaleDenominator);
    const SourceSplit along = splitSources(type.sizeX, st.mmPerPixel, threshold);
    const SourceSplit across = splitSources(type.sizeY, st.mmPerPixel, threshold);
    const float f = maintenanceMultiplier(type, st);
    const double sources = (2.0 * along.n + 1.0) * (2.0 * across.n + 1.0);
    t.typeReach = 800;
    for (int b = 0; b < t.typeReach; b += s) {
        for (int a = 0; a < t.typeReach; a += s) {
            t.lux(a, b) = pointSourceLux(type, a, b, st.mmPerPixel, H, f, sources);
            if (t.lux(a, b) < 0.1) break;
        }
        if (t.lux(0, b) < 0.05) {
            t.typeReach = b + 1;
            break;
        }
    }
    t.typeReach = t.typeReach + across.s * across.n;
    if (t.typeReach > 800) t.typeReach = 800;
    if (s > 1) {
        for (int a = 0; a <= 800 - s; a += s) {
            for (int i = 1; i < s; ++i) t.lux(a + i, 0) = t.lux(a, 0) + (t.lux(a + s, 0) - t.lux(a, 0)) / static_cast<float>(s) * static_cast<float>(i);
        }
        for (int c = s; c <= 800 - s; c += s) {
            for (int a = 0; a <= 800 - s; a += s) {
                for (int i = 1; i < s; ++i) t.lux(a + i, c) = t.lux(a, c) + (t.lux(a + s, c) - t.lux(a, c)) / static_cast<float>(s) * static_cast<float>(i);
            }
            for (int a = 0; a <= 800; ++a) {
                for (int j = 1; j < s; ++j)
                    t.lux(a, c - s + j) = t.lux(a, c - s) + (t.lux(a, c) - t.lux(a, c - s)) / static_cast<float>(s) * static_cast<float>(j);
            }
        }
    }
    if (along.n == 0 && across.n == 0) return;
    const int R = t.typeReach;
    for (int a = 0; a <= R; ++a) {
        for (int b = 0; b <= R; ++b) {
            float acc = 0.0f;
            for (int k = -along.n; k <= along.n; ++k) {
                const int ia = std::abs(a - k * along.s);
                if (across.n > 0) {
                    for (int l = -across.n; l <= across.n; ++l) {
                        const int ib = std::abs(b - l * across.s);
                        if (ia <= R && ib <= R) acc += t.lux(ia, ib);
                    }
                } else if (ia <= R) {
                    acc += t.lux(ia, b);
                }
            }
            t.sum(a, b) = acc;
        }
    }
    for (int a = 0; a <= R; ++a) {
        for (int b = 0; b <= R; ++b) t.lux(a, b) = t.sum(a, b);
    }
}

inline void addFixture(IlluminanceGrid& grid, Table& t, const model::Plan& plan, int j, int s) {
    if (t.dark) return;
    const model::KiguRecord& k = plan.kigu[j];
    const long long fx = k.x, fy = k.y, R = t.typeReach;
    const long long xLo = std::max(0LL, fx - R), yLo = std::max(0LL, fy - R);
    const long long xHi = std::min<long long>(grid.gridWidth, fx + R), yHi = std::min<long long>(grid.gridHeight, fy + R);
    const int nWalls = plan.lines.count(), nPillars = plan.hasira.count();
    std::vector<char> wallOk(static_cast<std::size_t>(nWalls + 1)), pillarOk(static_cast<std::size_t>(nPillars + 1));
    for (int i = 1; i <= nWalls; ++i) {
        const auto& w = plan.lines[i];
        wallOk[static_cast<std::size_t>(i)] = !((w.minX < xLo && w.maxX < xLo) || (w.minX > xHi && w.maxX > xHi) ||
                                                (w.minY < yLo && w.maxY < yLo) || (w.minY > yHi && w.maxY > yHi));
    }
    for (int i = 1; i <= nPillars; ++i) {
        const auto& p = plan.hasira[i];
        const long long m = p.halfSize;
        pillarOk[static_cast<std::size_t>(i)] = !((p.x - m < xLo && p.x + m < xLo) || (p.x - m > xHi && p.x + m > xHi) ||
                                                  (p.y - m < yLo && p.y + m < yLo) || (p.y - m > yHi && p.y + m > yHi));
    }
    std::vector<char> wallRow(wallOk.size()), pillarRow(pillarOk.size());
    for (long long row = 0; row < grid.gridHeight; row += s) {
        const long long dy = std::llabs(fy - row);
        if (dy > R) continue;
        for (int i = 1; i <= nWalls; ++i) {
            const auto& w = plan.lines[i];
            const bool aside = row < fy ? ((w.minY < row && w.maxY < row) || (w.minY > fy && w.maxY > fy))
                                        : ((w.minY > row && w.maxY > row) || (w.minY < fy && w.maxY < fy));
            wallRow[static_cast<std::size_t>(i)] = wallOk[static_cast<std::size_t>(i)] && !aside;
        }
        for (int i = 1; i <= nPillars; ++i) {
            const auto& p = plan.hasira[i];
            const long long a = static_cast<long long>(p.y) - p.halfSize, b = static_cast<long long>(p.y) + p.halfSize;
            const bool aside = row < fy ? ((a < row && b < row) || (a > fy && b > fy)) : ((a > row && b > row) || (a < fy && b < fy));
            pillarRow[static_cast<std::size_t>(i)] = pillarOk[static_cast<std::size_t>(i)] && !aside;
        }
        for (long long col = 0; col < grid.gridWidth; col += s) {
            const long long dx = std::llabs(fx - col);
            if (dx > R) continue;
            const int c = static_cast<int>(col), r = static_cast<int>(row);
            bool blocked = false;
            for (int i = 1; i <= nWalls && !blocked; ++i) {
                const auto& w = plan.lines[i];
                if (w.isArc()) blocked = arcBlocks(c, r, k.x, k.y, w);
                else if (wallRow[static_cast<std::size_t>(i)]) blocked = segmentsCross(c, r, k.x, k.y, w.x1, w.y1, w.x2, w.y2);
            }
            for (int i = 1; i <= nPillars && !blocked; ++i) {
                const auto& p = plan.hasira[i];
                const long long m = p.halfSize;
                if (p.pillarKind == model::kSquarePillar) {
                    if (pillarRow[static_cast<std::size_t>(i)]) {
                        blocked = segmentsCross(c, r, k.x, k.y, p.x - m, p.y - m, p.x + m, p.y + m) ||
                                  segmentsCross(c, r, k.x, k.y, p.x - m, p.y + m, p.x + m, p.y - m);
                    }
                } else if (p.pillarKind == model::kCylindricalPillar) {
                    blocked = circleBlocks(c, r, k.x, k.y, p.x, p.y, static_cast<double>(p.halfSize));
                }
            }
            if (blocked) continue;
            const float v = k.rotation == 0 ? t.lux(static_cast<int>(dx), static_cast<int>(dy)) : t.lux(static_cast<int>(dy), static_cast<int>(dx));
            grid.lux[grid.index(c, r)] += v;
            grid.ctSum[grid.index(c, r)] += colourWeight(v, t.colorTemp);
        }
    }
}

// Step 6 of the driver, without progress: every type with kou > 0, first pass, then second pass.
inline void fixturePass(const model::Plan& plan, const catalog::TourokuTable& touroku, int tenDaka, const TableSettings& st,
                        IlluminanceGrid& grid) {
    Table table;
    for (int t = 1; t <= 36; ++t) {
        if (touroku[t].kou <= 0) continue;
        prepareFixtureType(table, touroku[t], tenDaka, st);
        for (int j = 1; j <= plan.kigu.count(); ++j) {
            if (plan.kigu[j].typeIndex == t && plan.kigu[j].heightOffset == 0) addFixture(grid, table, plan, j, st.calcStep);
        }
        int lastOffset = 0;
        for (int j = 1; j <= plan.kigu.count(); ++j) {
            const auto& k = plan.kigu[j];
            if (k.typeIndex != t || k.heightOffset == 0) continue;
            if (k.heightOffset != lastOffset) prepareFixtureType(table, touroku[t], static_cast<int>(std::clamp<long long>(static_cast<long long>(tenDaka) + k.heightOffset, INT32_MIN, INT32_MAX)), st);
            lastOffset = k.heightOffset;
            addFixture(grid, table, plan, j, st.calcStep);
        }
    }
}

} // namespace calc::reference
