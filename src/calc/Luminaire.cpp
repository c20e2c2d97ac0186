// The luminaire model: type tables by the point-by-point method, point-source splitting and the obstruction tests.
#include "calc/Luminaire.h"

#include "calc/IlluminanceGrid.h"
#include "calc/Threads.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

namespace calc {
namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;
constexpr float kHalfPi = 1.5707964f;

// Runs body(i) for i in [0, n) on up to `threads` threads, each taking every threads-th index.
template <class F>
void parallelFor(int n, int threads, F&& body) {
    threads = std::max(1, std::min(threads, n));
    if (threads == 1) {
        for (int i = 0; i < n; ++i) body(i);
        return;
    }
    runOnThreads(threads, [&](int t, int count) {
        for (int i = t; i < n; i += count) body(i);
    });
}

bool inBox(double px, double py, std::int32_t col, std::int32_t row, std::int32_t fx, std::int32_t fy) {
    const double tx = std::trunc(px), ty = std::trunc(py);
    return tx >= std::min(col, fx) && tx <= std::max(col, fx) && ty >= std::min(row, fy) && ty <= std::max(row, fy);
}

// Crossing points of the sight line with a circle; false when the line misses it. p[0] is the larger root
// (or the lower point on a vertical line), p[1] the other.
//
// Worked in double precision: in single precision q is the difference of two numbers near 1e17 for a steep
// line of sight, and the pillar would block lines that pass a hundred pixels away from it.
bool circleCrossings(const Sight& s, double cx, double cy, double r, double px[2], double py[2]) {
    if (s.vertical) {
        const double dxc = s.col - cx;
        const double q = r * r - dxc * dxc;
        if (!(q >= 0)) return false;
        const double sq = std::sqrt(q);
        px[0] = px[1] = s.col;
        py[0] = cy + sq;
        py[1] = cy - sq;
        return true;
    }
    const double v = 2 * s.u * (s.k - cy) - 2 * cx;
    const double q = v * v - 4 * s.w * ((s.k - cy) * (s.k - cy) + cx * cx - r * r);
    if (!(q >= 0)) return false;
    const double sq = std::sqrt(q);
    px[0] = (sq - v) / (2 * s.w);
    px[1] = (-v - sq) / (2 * s.w);
    py[0] = s.k + s.u * px[0];
    py[1] = s.k + s.u * px[1];
    return true;
}

} // namespace

std::int32_t truncInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

SourceSplit splitSources(std::int32_t sizeMm, float mmPerPixel, std::int32_t threshold) {
    if (sizeMm < threshold) return {};
    SourceSplit split;
    split.s = truncInt(static_cast<double>(sizeMm) / mmPerPixel * 0.1111111111111111);
    split.n = 4;
    if (split.s < 6) {
        split.s = 6;
        split.n = truncInt(static_cast<double>(sizeMm) / mmPerPixel * 0.5) / 6;
    }
    return split;
}

float maintenanceMultiplier(const catalog::BunpuHinban& type, const TableSettings& settings) {
    float f = 1.0f;
    if (settings.maintenanceOn) {
        const int cls = settings.maintenanceClass >= 0 && settings.maintenanceClass <= 2 ? settings.maintenanceClass : 1;
        f = type.maintFactor[static_cast<std::size_t>(cls)] * type.lampFactor;
    }
    return f;
}

float pointSourceLux(const catalog::BunpuHinban& type, int a, int b, float mmPerPixel, float H, float f, double sources) {
    const float d = static_cast<float>(std::sqrt(static_cast<double>(a * a + b * b)) * mmPerPixel);
    const float gamma = static_cast<float>(std::atan(static_cast<double>(d) / H));
    const float w = a == 0 ? 90.0f : static_cast<float>(std::atan(static_cast<double>(b) / a) * 180.0 / M_PI);
    const float c = 90.0f - w;
    const float intensity = static_cast<float>(catalog::intensityAt(type, gamma * 180.0 / M_PI, c) * f);
    const double e = std::cos(static_cast<double>(gamma)) * (static_cast<double>(type.kou) * intensity * type.tosu) /
                     (static_cast<double>(d) * d + static_cast<double>(H) * H) * 1000.0 / sources;
    return static_cast<float>(e);
}

void deriveTableLookups(TypeTable& t) {
    const int n = t.size;
    for (auto& e : t.extent) e.assign(static_cast<std::size_t>(n), -1);
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            if (t.at(a, b) != 0.0f) {
                // Along x: lux[dx][dy], so for offset dy = b the extent grows to dx = a.
                t.extent[0][static_cast<std::size_t>(b)] = std::max(t.extent[0][static_cast<std::size_t>(b)], a);
                t.extent[1][static_cast<std::size_t>(a)] = std::max(t.extent[1][static_cast<std::size_t>(a)], b);
            }
        }
    }
    t.turned.assign(t.lux.size(), 0.0f);
    const int R = std::clamp(t.reach, 0, n - 1);
    for (int a = 0; a <= R; ++a) {
        for (int b = 0; b <= R; ++b) t.turned[t.index(b, a)] = t.at(a, b);
    }
}

namespace {

// Entries for offsets 0..size-1 on both axes, all 0; the sums only where several sources add up.
void clearTable(TypeTable& t, int size, bool withSums) {
    t.size = size;
    const std::size_t n = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    t.lux.assign(n, 0.0f);
    t.sum.assign(withSums ? n : 0, 0.0f);
}

// One point source's illuminance at every s-th offset, the rows of the across axis in parallel, each row
// stopped where the light fades. Returns the across offset where the light first fades, -1 when it never does.
int computeSteppedEntries(TypeTable& t, const catalog::BunpuHinban& type, int s, int size, float mmpp, float H, float f,
                          double sources, int threads) {
    // The across axis decides where the table ends, so find it first; the rows up to it are independent.
    int bStop = -1;
    for (int b = 0; b < kMaxReach; b += s) {
        if (pointSourceLux(type, 0, b, mmpp, H, f, sources) < 0.05) {
            bStop = b;
            break;
        }
    }
    const int lastB = std::min(bStop < 0 ? kMaxReach - 1 : bStop, size - 1);
    const int rows = lastB / s + 1;
    parallelFor(rows, threads, [&](int i) {
        const int b = i * s;
        for (int a = 0; a < std::min(kMaxReach, size); a += s) {
            const float e = pointSourceLux(type, a, b, mmpp, H, f, sources);
            t.at(a, b) = e;
            if (e < 0.1) break;
        }
    });
    return bStop;
}

// The entries between the computed ones, straight between their neighbours on each axis.
void interpolateBetweenSteps(TypeTable& t, int s, int size, int last) {
    const float fs = static_cast<float>(s);
    auto fillAlong = [&](int b) {
        for (int a = 0; a <= last - s; a += s) {
            const float v0 = t.at(a, b), v1 = t.at(a + s, b);
            for (int i = 1; i < s; ++i) t.at(a + i, b) = v0 + (v1 - v0) / fs * static_cast<float>(i);
        }
    };
    fillAlong(0);
    for (int c = s; c <= std::min(kMaxReach - s, size - 1); c += s) {
        fillAlong(c);
        for (int a = 0; a < size; ++a) {
            const float v0 = t.at(a, c - s), v1 = t.at(a, c);
            for (int j = 1; j < s; ++j) t.at(a, c - s + j) = v0 + (v1 - v0) / fs * static_cast<float>(j);
        }
    }
}

// A long luminaire as the sum of its point sources: each entry becomes the sum of the single source's
// entries at the offsets of every source that lies within the reach.
void sumSources(TypeTable& t, const SourceSplit& along, const SourceSplit& across, int threads) {
    const int R = t.reach;
    // Only the sources whose offset keeps the index within the reach count; the others are skipped
    // without walking the whole (possibly huge) source range.
    auto range = [R](int x, const SourceSplit& sp, int& lo, int& hi) {
        if (sp.n == 0) {
            lo = hi = 0;
            return;
        }
        const auto ceilDiv = [](std::int64_t p, std::int64_t q) { return p >= 0 ? (p + q - 1) / q : -((-p) / q); };
        const auto floorDiv = [](std::int64_t p, std::int64_t q) { return p >= 0 ? p / q : -((-p + q - 1) / q); };
        lo = static_cast<int>(std::max<std::int64_t>(-sp.n, ceilDiv(x - R, sp.s)));
        hi = static_cast<int>(std::min<std::int64_t>(sp.n, floorDiv(x + R, sp.s)));
    };
    parallelFor(R + 1, threads, [&](int a) {
        int kLo, kHi;
        range(a, along, kLo, kHi);
        for (int b = 0; b <= R; ++b) {
            float acc = 0.0f;
            int lLo, lHi;
            range(b, across, lLo, lHi);
            for (int k = kLo; k <= kHi; ++k) {
                const int ia = std::abs(a - k * along.s);
                if (ia > R) continue;
                if (across.n > 0) {
                    for (int l = lLo; l <= lHi; ++l) {
                        const int ib = std::abs(b - l * across.s);
                        if (ib > R) continue;
                        acc += t.at(ia, ib);
                    }
                } else {
                    acc += t.at(ia, b);
                }
            }
            t.sum[t.index(a, b)] = acc;
        }
    });
    for (int a = 0; a <= R; ++a) {
        for (int b = 0; b <= R; ++b) t.at(a, b) = t.sum[t.index(a, b)];
    }
}

} // namespace

void prepareFixtureType(TypeTable& t, const catalog::BunpuHinban& type, std::int32_t h, const TableSettings& settings,
                        int threads) {
    t.colorTemp = type.colorTemp;
    t.dark = false;
    t.nAlong = t.sAlong = t.nAcross = t.sAcross = 0;
    const int s = std::clamp(settings.calcStep, 1, 7);
    // A luminaire at or below the plane, or distances without a scale, light nothing (and never look
    // up the intensity table beyond 90°).
    if (h <= 0 || !(settings.mmPerPixel > 0) || !std::isfinite(settings.mmPerPixel)) {
        t.dark = true;
        t.reach = 0;
        clearTable(t, 1, false);
        deriveTableLookups(t);
        return;
    }
    const float H = static_cast<float>(h);
    const float mmpp = settings.mmPerPixel;
    const std::int32_t threshold = splitThreshold(settings.scaleDenominator);
    const SourceSplit along = splitSources(type.sizeX, mmpp, threshold);
    const SourceSplit across = splitSources(type.sizeY, mmpp, threshold);
    t.nAlong = along.n;
    t.sAlong = along.s;
    t.nAcross = across.n;
    t.sAcross = across.s;
    const float f = maintenanceMultiplier(type, settings);
    const double sources = (2.0 * along.n + 1.0) * (2.0 * across.n + 1.0);
    // An entry between computed ones is interpolated from the next computed one, up to a step further
    // out; the sources of a long luminaire gather entries from as far as the reach, so they need it all.
    const bool severalSources = along.n > 0 || across.n > 0;
    const int size = severalSources ? kTableSize : std::min(kTableSize, std::clamp(settings.maxOffset, 0, kMaxReach) + 1 + s);
    clearTable(t, size, severalSources);
    const int last = std::min(kMaxReach, size - 1);  // the largest offset both computed and held

    const int bStop = computeSteppedEntries(t, type, s, size, mmpp, H, f, sources, threads);
    std::int64_t reach = bStop < 0 ? kMaxReach : bStop + 1;
    reach += static_cast<std::int64_t>(across.s) * across.n;
    t.reach = static_cast<std::int32_t>(std::clamp<std::int64_t>(reach, 0, kMaxReach));

    if (s > 1) interpolateBetweenSteps(t, s, size, last);
    if (severalSources) sumSources(t, along, across, threads);
    deriveTableLookups(t);
}

Sight makeSight(std::int32_t col, std::int32_t row, std::int32_t fx, std::int32_t fy) {
    Sight s;
    s.col = col;
    s.row = row;
    s.fx = fx;
    s.fy = fy;
    s.vertical = col == fx;
    s.C = static_cast<float>(col);
    s.R = static_cast<float>(row);
    s.FX = static_cast<float>(fx);
    s.FY = static_cast<float>(fy);
    if (!s.vertical) {
        s.mS = (s.R - s.FY) / (s.C - s.FX);
        s.kS = s.R - s.mS * s.C;
    }
    return s;
}

void prepareCircleTests(Sight& s) {
    if (s.vertical) return;
    s.u = static_cast<double>(s.row - s.fy) / static_cast<double>(s.col - s.fx);
    s.k = s.row - s.u * s.col;
    s.w = s.u * s.u + 1;
}

WallLine makeWallLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    WallLine w;
    w.vertical = x1 == x2;
    w.horizontal = y1 == y2;
    w.X1 = static_cast<float>(x1);
    w.Y1 = static_cast<float>(y1);
    w.X2 = static_cast<float>(x2);
    w.Y2 = static_cast<float>(y2);
    if (!w.vertical) {
        w.mW = (w.Y1 - w.Y2) / (w.X1 - w.X2);
        w.kW = w.Y1 - w.mW * w.X1;
    }
    return w;
}

bool crosses(const Sight& s, const WallLine& w) {
    if (w.vertical && s.vertical) return false;
    if (!w.vertical && !s.vertical && s.mS == w.mW) return false;
    float X, Y;
    if (s.vertical) {
        X = s.C;
        Y = w.mW * X + w.kW;
    } else if (w.vertical) {
        X = w.X1;
        Y = s.mS * X + s.kS;
    } else {
        X = (w.kW - s.kS) / (s.mS - w.mW);
        Y = s.mS * X + s.kS;
    }
    auto onSegment = [X, Y](float ax, float ay, float bx, float by, bool horizontal) {
        if (!(X >= std::min(ax, bx) && X <= std::max(ax, bx))) return false;
        if (horizontal) return true;
        return Y >= std::min(ay, by) && Y <= std::max(ay, by);
    };
    return onSegment(w.X1, w.Y1, w.X2, w.Y2, w.horizontal) && onSegment(s.C, s.R, s.FX, s.FY, s.row == s.fy);
}

bool segmentsCross(std::int32_t col, std::int32_t row, std::int32_t fx, std::int32_t fy, std::int64_t x1, std::int64_t y1,
                   std::int64_t x2, std::int64_t y2) {
    return crosses(makeSight(col, row, fx, fy), makeWallLine(x1, y1, x2, y2));
}

bool circleBlocks(const Sight& s, double cx, double cy, double r) {
    double px[2], py[2];
    if (!circleCrossings(s, cx, cy, r, px, py)) return false;
    return inBox(px[0], py[0], s.col, s.row, s.fx, s.fy) || inBox(px[1], py[1], s.col, s.row, s.fx, s.fy);
}

bool circleBlocks(std::int32_t col, std::int32_t row, std::int32_t fx, std::int32_t fy, double cx, double cy, double r) {
    Sight s = makeSight(col, row, fx, fy);
    prepareCircleTests(s);
    return circleBlocks(s, cx, cy, r);
}

ArcCircle arcCircle(const model::LineRecord& arc) {
    ArcCircle c;
    c.cx = (static_cast<double>(arc.x3) + arc.x4) * 0.5;
    c.cy = (static_cast<double>(arc.y3) + arc.y4) * 0.5;
    c.r = std::abs(static_cast<double>(static_cast<std::int64_t>(arc.x3) - arc.x4)) * 0.5;
    return c;
}

float arcAngle(double px, double py, double cx, double cy) {
    if (std::trunc(px - cx) != 0) {
        const float g = static_cast<float>(std::atan((cy - py) / (px - cx)));
        return px >= cx ? g : g + kPi;
    }
    return py < cy ? kHalfPi : -kHalfPi;
}

ArcShape makeArcShape(const model::LineRecord& arc) {
    ArcShape a;
    const ArcCircle c = arcCircle(arc);
    a.cx = c.cx;
    a.cy = c.cy;
    a.r = c.r;
    a.aStart = arcAngle(arc.x1, arc.y1, c.cx, c.cy);
    a.aEnd = arcAngle(arc.x2, arc.y2, c.cx, c.cy);
    if (a.aEnd < a.aStart) a.aEnd = a.aEnd + kTwoPi;
    return a;
}

void computeArcSpanBox(ArcShape& a) {
    const ArcCircle c{a.cx, a.cy, a.r};
    // A blocking point lies on the circle at an angle strictly inside (aStart, aEnd); its box is that of
    // the two end points and of every axis point of the circle inside the span. Angles near the ends are
    // taken in generously, so the box holds whatever the single-precision angles decide.
    auto pointAt = [&](double ang, double& x, double& y) {
        x = c.cx + c.r * std::cos(ang);
        y = c.cy - c.r * std::sin(ang);
    };
    double x, y;
    pointAt(a.aStart, x, y);
    a.minX = a.maxX = x;
    a.minY = a.maxY = y;
    auto widen = [&](double px, double py) {
        a.minX = std::min(a.minX, px);
        a.maxX = std::max(a.maxX, px);
        a.minY = std::min(a.minY, py);
        a.maxY = std::max(a.maxY, py);
    };
    pointAt(a.aEnd, x, y);
    widen(x, y);
    for (int quarter = -4; quarter <= 8; ++quarter) {
        const double ang = quarter * M_PI / 2;
        if (ang > static_cast<double>(a.aStart) - 1e-3 && ang < static_cast<double>(a.aEnd) + 1e-3) {
            pointAt(ang, x, y);
            widen(x, y);
        }
    }
}

bool arcBlocks(const Sight& s, const ArcShape& arc) {
    double px[2], py[2];
    if (!circleCrossings(s, arc.cx, arc.cy, arc.r, px, py)) return false;
    for (int i = 0; i < 2; ++i) {
        if (inBox(px[i], py[i], s.col, s.row, s.fx, s.fy) && insideArcSpan(arc, px[i], py[i])) return true;
    }
    return false;
}

bool insideArcSpan(const ArcShape& arc, double px, double py) {
    float a = arcAngle(px, py, arc.cx, arc.cy);
    if (a < arc.aStart) a = a + kTwoPi;
    return arc.aStart < a && a < arc.aEnd;
}

bool arcBlocks(std::int32_t col, std::int32_t row, std::int32_t fx, std::int32_t fy, const model::LineRecord& arc) {
    Sight s = makeSight(col, row, fx, fy);
    prepareCircleTests(s);
    return arcBlocks(s, makeArcShape(arc));
}

} // namespace calc
