// The fast fixture pass: rows shared among threads, eight points at a time on the vector units where the processor has them, work culled where its answer is already known.
#include "calc/FixturePass.h"
#include "calc/Threads.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

#if defined(__x86_64__) && defined(__GNUC__)
#define ORDIVAN_HAVE_AVX2_PASS 1
#include <immintrin.h>
#else
#define ORDIVAN_HAVE_AVX2_PASS 0
#endif

namespace calc {
namespace {

enum class Kind : std::uint8_t { Wall, Arc, Square, Cylinder };

std::atomic<bool> wallScanForced{false};
// From how many straight walls round a fixture's reach (as the cells count them, a wall once per cell) they
// are sorted into a fan: below it the row culling's list is short and the vector loop tests it eight points
// at a time for less than the fan costs to build (the many-walls benchmark with short-reach luminaires).
constexpr int kWallFanFrom = 512;
std::atomic<int> wallFanFrom{kWallFanFrom};

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

// The straight walls round one fixture sorted by direction and distance, for a fixture whose reach takes in
// many walls. A wall cuts a sight line only where the crossing point the single-precision test works out lies
// in the wall's box and, within a rounding far below `margin`, on the sight line between the point and the
// fixture: so a wall can stop the light only to points whose sight line passes through its box widened by
// `margin`. That box is seen from the fixture under a span of directions and no nearer than a distance; each
// of kBins wedges round the fixture lists the walls whose span reaches into it, nearest first, and a point
// tests only the walls of its own wedge that are no farther than itself.
//
// The walls are taken ring by ring outward from the fixture, and a wall that spans a whole sector (a
// sixteenth of a wedge) hides everything behind it in that sector: once every sector is hidden (or leaves the
// fixture's reach) nearer than the rings taken, the walls beyond are never looked at, and a cell of walls
// lying wholly behind the hiding walls of its wedges is passed over, so the fixture costs about what it sees,
// not what lies in its reach. A point behind its sector's hiding wall tests that wall alone; should the
// crossing test, rounding at the wall's very end, let that point through, the point tests every wall in the
// fixture's reach.
//
// A point in the dark behind a dense field of walls tests the one that shaded its neighbour and is done; a lit
// one tests the few walls its sight line passes near. The walls a point may test are the row culling's, the
// answer every test gives is the crossing test's, so the grid is the same bit for bit.
class WallFan {
public:
    static constexpr int kBins = 256;
    struct Entry {
        double nearSq;  // the square of a distance no farther than the nearest point of the widened box
        int wall;
    };
    // The fixture's reach on the surface, where the row culling looks for walls.
    struct Window {
        std::int64_t xLo, yLo, xHi, yHi;
    };

    // Walls of no length are not taken: such a wall has no direction and the crossing test takes it for its
    // whole column between the row and the fixture, so it stays with the row culling.
    void build(const Obstacles& obs, std::int64_t fx, std::int64_t fy, const Window& window, double margin);
    // The wedge of the point dx, dy from the fixture (any wedge for the fixture's own point: the walls whose
    // widened box takes in the fixture lie in all of them).
    static int wedge(double dx, double dy) { return sector(dx, dy) / kSectorsPerWedge; }
    // Walls hide the points behind them sector by sector, sixteen to a wedge: far out a short wall spans no
    // whole wedge, but the sectors of a dense field are each spanned by one of its walls.
    static constexpr int kSectorsPerWedge = 16, kSectors = kBins * kSectorsPerWedge;
    static int sector(double dx, double dy) {
        if (dx == 0 && dy == 0) return 0;
        return std::min(kSectors - 1, static_cast<int>(pseudoAngle(dx, dy) * (kSectors / 4.0)));
    }
    const Entry* begin(int w) const { return lists_[static_cast<std::size_t>(w)].data(); }
    const Entry* end(int w) const { return begin(w) + lists_[static_cast<std::size_t>(w)].size(); }
    // Beyond this squared distance every point of the sector lies behind hidingWall(s) in the plan's geometry
    // (infinite where no wall hides the sector).
    double hiddenBeyondSq(int s) const { return hiddenSq_[static_cast<std::size_t>(s)]; }
    int hidingWall(int s) const { return hiding_[static_cast<std::size_t>(s)]; }
    // Every wall in the fixture's reach, found the first time a point asks.
    const std::vector<int>& everyWall();
    // How many points have asked every wall (for the benchmark: the rounding case should stay rare).
    static std::atomic<std::uint64_t> everyWallAsked;

private:
    // The wedges a box (relative to the fixture, widened by the margin) lies in, and how near it comes.
    struct Span {
        double near;  // whole pixels, rounded down and one taken off
        std::int32_t first, count;  // wedges first .. first + count - 1, round the circle
    };
    Span spanOf(double minX, double minY, double maxX, double maxY) const;
    // Whether the box lies behind the hiding walls of every wedge it spans.
    bool hiddenThroughout(const Span& sp) const;
    void take(int wall);
    const Obstacles* obs_ = nullptr;
    std::int64_t fx_ = 0, fy_ = 0;
    Window window_{};
    double margin_ = 0;
    std::array<std::vector<Entry>, kBins> lists_;
    std::array<double, kSectors> hidden_{}, hiddenSq_{};
    std::array<int, kSectors> hiding_{};
    // Per wedge: the farthest its sectors are hidden from, and how far the window reaches into it.
    std::array<double, kBins> wedgeHidden_{}, need_{};
    std::vector<std::uint32_t> taken_;
    std::uint32_t stamp_ = 0;
    std::vector<int> every_;
    bool everyKnown_ = false;
};

std::atomic<std::uint64_t> WallFan::everyWallAsked{0};

// Whether a straight wall is one the row culling keeps for the sight lines of a row: its rows meet the band
// [bandLo, bandHi] between the row and the fixture.
inline bool wallInBand(const Obstacles::Wall& w, std::int64_t bandLo, std::int64_t bandHi) {
    return !((w.minY < bandLo && w.maxY < bandLo) || (w.minY > bandHi && w.maxY > bandHi));
}
// Whether column col lies in the window of columns the row culling gives a straight wall.
inline bool wallWindowHolds(const Obstacles::Wall& w, std::int64_t fx, std::int64_t col) {
    if (w.minX > fx) return col >= w.minX;
    if (w.maxX < fx) return col <= w.maxX;
    return true;
}

// One row of grid points of one fixture: where its points are, the type table entries of the row's offset
// and the obstacles that may shade some of them.
struct RowRun {
    float* lux;  // the row's point at column 0
    float* ct;
    const float* entries;  // entries[dx]: the table value dx columns away from the fixture
    const std::vector<Active>& active;
    const Obstacles& obs;
    std::int32_t colLo, colHi;
    int step;
    std::int32_t row, fx, fy;
    std::int32_t colorTemp;
    // The straight walls by direction when the fixture reaches many (they are then not in `active`), and
    // the wall that shaded a point of the fixture last, tried first.
    WallFan* fan;
    int* fanLast;
};

// Whether a straight wall of the fan shades the point at column col, as the row culling and the crossing
// test decide it.
bool fanWallBlocks(const RowRun& r, int wall, const Sight& sight, std::int64_t bandLo, std::int64_t bandHi) {
    const auto& w = r.obs.walls[static_cast<std::size_t>(wall)];
    return wallInBand(w, bandLo, bandHi) && wallWindowHolds(w, r.fx, sight.col) && crosses(sight, w.line);
}

// Whether the fan's walls shade the point at column col: the wall that shaded the last point first, then the
// wall hiding the point's sector if the point lies behind it (every wall in reach should the crossing test
// let it through), otherwise the walls of its wedge no farther than the point.
bool fanBlocks(const RowRun& r, std::int32_t col, Sight& sight, bool& prepared) {
    if (!prepared) {
        sight = makeSight(col, r.row, r.fx, r.fy);
        prepared = true;
    }
    const std::int64_t bandLo = std::min(r.row, r.fy), bandHi = std::max(r.row, r.fy);
    int& last = *r.fanLast;
    if (last >= 0 && fanWallBlocks(r, last, sight, bandLo, bandHi)) return true;
    const double dx = static_cast<double>(col) - r.fx, dy = static_cast<double>(r.row) - r.fy, distSq = dx * dx + dy * dy;
    const int sector = WallFan::sector(dx, dy), wedge = sector / WallFan::kSectorsPerWedge;
    auto shadedBy = [&](int wall) {
        if (wall == last || !fanWallBlocks(r, wall, sight, bandLo, bandHi)) return false;
        last = wall;
        return true;
    };
    if (distSq > r.fan->hiddenBeyondSq(sector)) {
        if (shadedBy(r.fan->hidingWall(sector))) return true;
        WallFan::everyWallAsked.fetch_add(1, std::memory_order_relaxed);
        for (const int wall : r.fan->everyWall()) {
            if (shadedBy(wall)) return true;
        }
        return false;
    }
    for (const WallFan::Entry* e = r.fan->begin(wedge); e != r.fan->end(wedge) && e->nearSq <= distSq; ++e) {
        if (shadedBy(e->wall)) return true;
    }
    return false;
}

void addRowPortable(const RowRun& r) {
    const Active* last = nullptr;  // whatever blocked the previous point most likely blocks this one
    for (std::int32_t col = r.colLo; col <= r.colHi; col += r.step) {
        const float v = r.entries[std::abs(static_cast<std::int64_t>(r.fx) - col)];
        // Adding zero changes neither sum.
        if (v == 0.0f) continue;
        bool blocked = false;
        bool prepared = false, circlePrepared = false;
        Sight sight;
        auto test = [&](const Active& a) {
            if (!prepared) {
                sight = makeSight(col, r.row, r.fx, r.fy);
                prepared = true;
            }
            if (!circlePrepared && (a.kind == Kind::Arc || a.kind == Kind::Cylinder)) {
                prepareCircleTests(sight);
                circlePrepared = true;
            }
            return testActive(a, r.obs, sight);
        };
        if (last && col >= last->lo && col <= last->hi && test(*last)) blocked = true;
        if (!blocked && r.fan != nullptr && fanBlocks(r, col, sight, prepared)) blocked = true;
        if (!blocked) {
            for (const Active& a : r.active) {
                if (col < a.lo || col > a.hi || &a == last) continue;
                if (test(a)) {
                    blocked = true;
                    last = &a;
                    break;
                }
            }
        }
        if (blocked) continue;
        r.lux[col] += v;
        r.ct[col] += colourWeight(v, r.colorTemp);
    }
}

#if ORDIVAN_HAVE_AVX2_PASS
#define ORDIVAN_AVX2 __attribute__((target("avx2")))

// The sight lines from eight points of a row to the fixture, in the single precision of makeSight.
struct SightLanes {
    __m256 C, mS, kS;  // column, slope and intercept of each line
    __m256 lo, hi;     // the line's extent in x
    __m256 vertical;   // all ones where the point lies straight above or below the fixture
    float yLo, yHi;    // the line's extent in y, the same for the whole row
    bool horizontal;   // the row of the fixture itself
};

// All ones where lo <= v <= hi (never for NaN).
ORDIVAN_AVX2 inline __m256 within(__m256 v, __m256 lo, __m256 hi) {
    return _mm256_and_ps(_mm256_cmp_ps(v, lo, _CMP_GE_OQ), _mm256_cmp_ps(v, hi, _CMP_LE_OQ));
}

// crosses() for eight sight lines at once: every lane takes the same operations in the same order, so
// each answer is the one crosses() gives for its point.
ORDIVAN_AVX2 inline __m256 crossesLanes(const SightLanes& s, const WallLine& w) {
    const __m256 ones = _mm256_castsi256_ps(_mm256_set1_epi32(-1));
    __m256 X, Y, ok;
    if (w.vertical) {
        // Parallel to a vertical sight line: no crossing.
        X = _mm256_set1_ps(w.X1);
        Y = _mm256_add_ps(_mm256_mul_ps(s.mS, X), s.kS);
        ok = _mm256_andnot_ps(s.vertical, ones);
    } else {
        const __m256 mW = _mm256_set1_ps(w.mW), kW = _mm256_set1_ps(w.kW);
        const __m256 Xg = _mm256_div_ps(_mm256_sub_ps(kW, s.kS), _mm256_sub_ps(s.mS, mW));
        const __m256 Yg = _mm256_add_ps(_mm256_mul_ps(s.mS, Xg), s.kS);
        const __m256 Yv = _mm256_add_ps(_mm256_mul_ps(mW, s.C), kW);
        X = _mm256_blendv_ps(Xg, s.C, s.vertical);
        Y = _mm256_blendv_ps(Yg, Yv, s.vertical);
        // Equal slopes never cross (NaN slopes compare unequal, as in the scalar test).
        ok = _mm256_or_ps(s.vertical, _mm256_cmp_ps(s.mS, mW, _CMP_NEQ_UQ));
    }
    ok = _mm256_and_ps(ok, within(X, _mm256_set1_ps(std::min(w.X1, w.X2)), _mm256_set1_ps(std::max(w.X1, w.X2))));
    if (!w.horizontal) ok = _mm256_and_ps(ok, within(Y, _mm256_set1_ps(std::min(w.Y1, w.Y2)), _mm256_set1_ps(std::max(w.Y1, w.Y2))));
    ok = _mm256_and_ps(ok, within(X, s.lo, s.hi));
    if (!s.horizontal) ok = _mm256_and_ps(ok, within(Y, _mm256_set1_ps(s.yLo), _mm256_set1_ps(s.yHi)));
    return ok;
}

// The lanes whose column lies in the obstacle's window of columns, as bits.
ORDIVAN_AVX2 inline int windowLanes(const Active& a, __m256i cols) {
    const __m256i before = _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(a.lo)), cols);
    const __m256i upTo = _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(a.hi) + 1), cols);
    return _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_andnot_si256(before, upTo)));
}

ORDIVAN_AVX2 inline __m256d withinPd(__m256d v, __m256d lo, __m256d hi) {
    return _mm256_and_pd(_mm256_cmp_pd(v, lo, _CMP_GE_OQ), _mm256_cmp_pd(v, hi, _CMP_LE_OQ));
}

// The double-precision sight lines of four points, as prepareCircleTests works them out.
struct CircleLanes {
    __m256d col, u, k, w;
    __m256d vertical;  // all ones where the point lies straight above or below the fixture
    __m256d xLo, xHi, yLo, yHi;  // the sight line's box
};

ORDIVAN_AVX2 inline CircleLanes circleLanes(__m128i cols, std::int32_t row, std::int32_t fx, std::int32_t fy) {
    CircleLanes c;
    const __m128i fxs = _mm_set1_epi32(fx);
    c.col = _mm256_cvtepi32_pd(cols);
    c.u = _mm256_div_pd(_mm256_set1_pd(static_cast<double>(row - fy)), _mm256_cvtepi32_pd(_mm_sub_epi32(cols, fxs)));
    c.k = _mm256_sub_pd(_mm256_set1_pd(static_cast<double>(row)), _mm256_mul_pd(c.u, c.col));
    c.w = _mm256_add_pd(_mm256_mul_pd(c.u, c.u), _mm256_set1_pd(1.0));
    c.vertical = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(_mm_cmpeq_epi32(cols, fxs)));
    c.xLo = _mm256_cvtepi32_pd(_mm_min_epi32(cols, fxs));
    c.xHi = _mm256_cvtepi32_pd(_mm_max_epi32(cols, fxs));
    c.yLo = _mm256_set1_pd(static_cast<double>(std::min(row, fy)));
    c.yHi = _mm256_set1_pd(static_cast<double>(std::max(row, fy)));
    return c;
}

// circleCrossings() for four sight lines: the same operations in the same order in every lane. Returns all
// ones where the line meets the circle.
ORDIVAN_AVX2 inline __m256d circleLanesCross(const CircleLanes& s, double cx, double cy, double r, __m256d px[2], __m256d py[2]) {
    const __m256d CX = _mm256_set1_pd(cx), CY = _mm256_set1_pd(cy), two = _mm256_set1_pd(2.0), zero = _mm256_setzero_pd();
    const __m256d rr = _mm256_set1_pd(r * r);
    const __m256d kc = _mm256_sub_pd(s.k, CY);
    const __m256d v = _mm256_sub_pd(_mm256_mul_pd(_mm256_mul_pd(two, s.u), kc), _mm256_set1_pd(2 * cx));
    const __m256d rest = _mm256_sub_pd(_mm256_add_pd(_mm256_mul_pd(kc, kc), _mm256_set1_pd(cx * cx)), rr);
    const __m256d q = _mm256_sub_pd(_mm256_mul_pd(v, v), _mm256_mul_pd(_mm256_mul_pd(_mm256_set1_pd(4.0), s.w), rest));
    const __m256d sq = _mm256_sqrt_pd(q);
    const __m256d w2 = _mm256_mul_pd(two, s.w);
    const __m256d minusV = _mm256_xor_pd(v, _mm256_set1_pd(-0.0));
    const __m256d x0 = _mm256_div_pd(_mm256_sub_pd(sq, v), w2);
    const __m256d x1 = _mm256_div_pd(_mm256_sub_pd(minusV, sq), w2);
    // Straight above or below the fixture.
    const __m256d dxc = _mm256_sub_pd(s.col, CX);
    const __m256d qv = _mm256_sub_pd(rr, _mm256_mul_pd(dxc, dxc));
    const __m256d sqv = _mm256_sqrt_pd(qv);
    px[0] = _mm256_blendv_pd(x0, s.col, s.vertical);
    px[1] = _mm256_blendv_pd(x1, s.col, s.vertical);
    py[0] = _mm256_blendv_pd(_mm256_add_pd(s.k, _mm256_mul_pd(s.u, x0)), _mm256_add_pd(CY, sqv), s.vertical);
    py[1] = _mm256_blendv_pd(_mm256_add_pd(s.k, _mm256_mul_pd(s.u, x1)), _mm256_sub_pd(CY, sqv), s.vertical);
    return _mm256_blendv_pd(_mm256_cmp_pd(q, zero, _CMP_GE_OQ), _mm256_cmp_pd(qv, zero, _CMP_GE_OQ), s.vertical);
}

// inBox() for four crossing points: the truncated point inside the sight line's box.
ORDIVAN_AVX2 inline __m256d inBoxLanes(const CircleLanes& s, __m256d px, __m256d py) {
    const __m256d tx = _mm256_round_pd(px, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    const __m256d ty = _mm256_round_pd(py, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    return _mm256_and_pd(withinPd(tx, s.xLo, s.xHi), withinPd(ty, s.yLo, s.yHi));
}

// The lanes (as bits, among those in live) whose sight line a straight wall or a square pillar cuts,
// within the obstacle's window of columns.
ORDIVAN_AVX2 inline int straightLanes(const Active& a, const Obstacles& obs, const SightLanes& s, __m256i cols, int live,
                                      std::int32_t c0, std::int32_t cLast) {
    __m256 hit;
    if (a.kind == Kind::Wall) {
        hit = crossesLanes(s, obs.walls[static_cast<std::size_t>(a.index)].line);
    } else {
        const auto& p = obs.pillars[static_cast<std::size_t>(a.index)];
        hit = _mm256_or_ps(crossesLanes(s, p.diagonal[0]), crossesLanes(s, p.diagonal[1]));
    }
    int mask = _mm256_movemask_ps(hit) & live;
    if (a.lo > c0 || a.hi < cLast) mask &= windowLanes(a, cols);
    return mask;
}

// A helper of the vector pass that must melt into its caller: a call per eight points would cost more than
// the work it does.
#define ORDIVAN_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

// The lanes (among those in live) that straight walls and square pillars shade, the obstacle that shaded
// the previous eight tried first; notes whether an arc or a round pillar lies in the window of columns.
ORDIVAN_AVX2_INLINE int straightBlocked(const RowRun& r, const SightLanes& s, __m256i cols, int live, std::int32_t c0,
                                        std::int32_t cLast, const Active*& last, bool& curved) {
    int blocked = 0;
    // Whatever shaded points of the previous eight most likely shades these too.
    const Active* first = last != nullptr && last->hi >= c0 && last->lo <= cLast ? last : nullptr;
    if (first != nullptr) blocked = straightLanes(*first, r.obs, s, cols, live, c0, cLast);
    if ((live & ~blocked) != 0) {
        for (const Active& a : r.active) {
            if (a.hi < c0 || a.lo > cLast || &a == first) continue;
            if (a.kind == Kind::Arc || a.kind == Kind::Cylinder) {
                curved = true;
                continue;
            }
            const int mask = straightLanes(a, r.obs, s, cols, live, c0, cLast);
            if (mask == 0) continue;
            blocked |= mask;
            last = &a;
            if ((live & ~blocked) == 0) break;
        }
    }
    return blocked;
}

// The lanes of four (among openHalf) whose sight line a round pillar cuts inside the line's box.
ORDIVAN_AVX2_INLINE int cylinderLanes(const CircleLanes& c, double x, double y, double radius, int openHalf) {
    __m256d px[2], py[2];
    const __m256d hit = circleLanesCross(c, x, y, radius, px, py);
    const __m256d inside = _mm256_or_pd(inBoxLanes(c, px[0], py[0]), inBoxLanes(c, px[1], py[1]));
    return _mm256_movemask_pd(_mm256_and_pd(hit, inside)) & openHalf;
}

// The lanes of four (among openHalf) whose sight line crosses an arc wall inside its span.
ORDIVAN_AVX2_INLINE int arcLanes(const CircleLanes& c, const ArcShape& arc, int openHalf) {
    int shaded = 0;
    __m256d px[2], py[2];
    const __m256d hit = circleLanesCross(c, arc.cx, arc.cy, arc.r, px, py);
    // Only a crossing near the arc's own box can lie inside its span: the angle is worked out for those alone.
    const double m = arcMargin(arc);
    const __m256d spanLoX = _mm256_set1_pd(arc.minX - m), spanHiX = _mm256_set1_pd(arc.maxX + m);
    const __m256d spanLoY = _mm256_set1_pd(arc.minY - m), spanHiY = _mm256_set1_pd(arc.maxY + m);
    for (int i = 0; i < 2 && openHalf != 0; ++i) {
        const __m256d near = _mm256_and_pd(withinPd(px[i], spanLoX, spanHiX), withinPd(py[i], spanLoY, spanHiY));
        const int candidates = _mm256_movemask_pd(_mm256_and_pd(_mm256_and_pd(hit, near), inBoxLanes(c, px[i], py[i]))) & openHalf;
        if (candidates == 0) continue;
        alignas(32) double xs[4], ys[4];
        _mm256_store_pd(xs, px[i]);
        _mm256_store_pd(ys, py[i]);
        for (int l = 0; l < 4; ++l) {
            if ((candidates >> l & 1) != 0 && insideArcSpan(arc, xs[l], ys[l])) {
                shaded |= 1 << l;
                openHalf &= ~(1 << l);
            }
        }
    }
    return shaded;
}

// The lanes of eight whose column lies in a straight wall's window of columns, as bits.
ORDIVAN_AVX2_INLINE int wallWindowLanes(const Obstacles::Wall& w, std::int32_t fx, __m256i cols) {
    auto clamped = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                                   std::numeric_limits<std::int32_t>::max()));
    };
    if (w.minX > fx) return ~_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(_mm256_set1_epi32(clamped(w.minX)), cols))) & 255;
    if (w.maxX < fx) return ~_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(cols, _mm256_set1_epi32(clamped(w.maxX))))) & 255;
    return 255;
}

// The lanes (among open) a straight wall of the fan shades, as the row culling and the crossing test decide.
ORDIVAN_AVX2_INLINE int fanWallLanes(const RowRun& r, int wall, const SightLanes& s, __m256i cols, int open, std::int64_t bandLo,
                                     std::int64_t bandHi) {
    const auto& w = r.obs.walls[static_cast<std::size_t>(wall)];
    if (!wallInBand(w, bandLo, bandHi)) return 0;
    const int mask = _mm256_movemask_ps(crossesLanes(s, w.line)) & open;
    return mask == 0 ? 0 : mask & wallWindowLanes(w, r.fx, cols);
}

// Tries a wall of the fan on the open lanes, taking those it shades out of them; true when it shades lane i.
ORDIVAN_AVX2_INLINE bool fanShades(const RowRun& r, const SightLanes& s, __m256i cols, int wall, int i, std::int64_t bandLo,
                                   std::int64_t bandHi, int& open, int& blocked, int& lastWall) {
    if (wall == lastWall) return false;  // tried on every lane still open
    const int m = fanWallLanes(r, wall, s, cols, open, bandLo, bandHi);
    if (m == 0) return false;
    blocked |= m;
    open &= ~m;
    lastWall = wall;
    return (m >> i & 1) != 0;
}

// Adds to blocked the lanes still lit that the fan's walls shade. The wall that shaded last is tried on all
// of them; then each lane still open in turn: behind its sector's hiding wall it tries that wall (and every
// wall in reach should the crossing test let it through), otherwise it walks its wedge until shaded or no
// wall is left nearer than the point. Every wall a lane tries is tried on all lanes still open, and a lane
// found lit leaves the walls it tried tried for the later lanes of its wedge too.
ORDIVAN_AVX2_INLINE int fanBlockedLanes(const RowRun& r, const SightLanes& s, __m256i cols, int live, int blocked, std::int32_t c0) {
    const std::int64_t bandLo = std::min(r.row, r.fy), bandHi = std::max(r.row, r.fy);
    int open = live & ~blocked;
    int& lastWall = *r.fanLast;
    if (lastWall >= 0) {
        const int m = fanWallLanes(r, lastWall, s, cols, open, bandLo, bandHi);
        blocked |= m;
        open &= ~m;
    }
    const double dy = static_cast<double>(r.row) - r.fy;
    int litWedge = -1;
    const WallFan::Entry* litEnd = nullptr;
    double litDistSq = -1;
    while (open != 0) {
        const int i = __builtin_ctz(static_cast<unsigned>(open));
        const double dx = static_cast<double>(c0 + i * r.step) - r.fx, distSq = dx * dx + dy * dy;
        const int sector = WallFan::sector(dx, dy), wedge = sector / WallFan::kSectorsPerWedge;
        if (distSq > r.fan->hiddenBeyondSq(sector)) {
            if (!fanShades(r, s, cols, r.fan->hidingWall(sector), i, bandLo, bandHi, open, blocked, lastWall) && (open >> i & 1) != 0) {
                WallFan::everyWallAsked.fetch_add(1, std::memory_order_relaxed);
                for (const int wall : r.fan->everyWall()) {
                    if (fanShades(r, s, cols, wall, i, bandLo, bandHi, open, blocked, lastWall)) break;
                }
            }
            open &= ~(1 << i);
            continue;
        }
        const WallFan::Entry* e = r.fan->begin(wedge);
        const WallFan::Entry* const end = r.fan->end(wedge);
        if (wedge == litWedge) {
            if (distSq <= litDistSq) {
                open &= ~(1 << i);
                continue;
            }
            e = litEnd;
        }
        bool shaded = false;
        for (; e != end && e->nearSq <= distSq; ++e) {
            if (fanShades(r, s, cols, e->wall, i, bandLo, bandHi, open, blocked, lastWall)) {
                shaded = true;
                break;
            }
        }
        if (!shaded) {
            litWedge = wedge;
            litEnd = e;
            litDistSq = distSq;
        }
        open &= ~(1 << i);
    }
    return blocked;
}

// Adds to blocked the lanes still lit that arcs and round pillars shade, four sight lines at a time in
// double precision.
ORDIVAN_AVX2_INLINE int curvedBlocked(const RowRun& r, __m256i cols, int live, int blocked, std::int32_t c0, std::int32_t cLast) {
    const CircleLanes half[2] = {circleLanes(_mm256_castsi256_si128(cols), r.row, r.fx, r.fy),
                                 circleLanes(_mm256_extracti128_si256(cols, 1), r.row, r.fx, r.fy)};
    for (const Active& a : r.active) {
        if ((a.kind != Kind::Arc && a.kind != Kind::Cylinder) || a.hi < c0 || a.lo > cLast) continue;
        const int open = live & ~blocked & windowLanes(a, cols);
        for (int h = 0; h < 2 && open != 0; ++h) {
            const int openHalf = open >> (4 * h) & 15;
            if (openHalf == 0) continue;
            int shaded;
            if (a.kind == Kind::Cylinder) {
                const auto& p = r.obs.pillars[static_cast<std::size_t>(a.index)];
                shaded = cylinderLanes(half[h], static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.m), openHalf);
            } else {
                shaded = arcLanes(half[h], r.obs.walls[static_cast<std::size_t>(a.index)].shape, openHalf);
            }
            blocked |= shaded << (4 * h);
        }
        if ((live & ~blocked) == 0) break;
    }
    return blocked;
}

// The sums of the lit points, each advanced by its own single addition.
ORDIVAN_AVX2_INLINE void addLitLanes(const RowRun& r, std::int32_t c0, int lit, __m256 v, __m256 weight) {
    if (r.step == 1) {
        const __m256i laneBit = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
        const __m256i litLanes = _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(lit), laneBit), laneBit);
        float* lux = r.lux + c0;
        float* ct = r.ct + c0;
        _mm256_maskstore_ps(lux, litLanes, _mm256_add_ps(_mm256_maskload_ps(lux, litLanes), v));
        _mm256_maskstore_ps(ct, litLanes, _mm256_add_ps(_mm256_maskload_ps(ct, litLanes), weight));
        return;
    }
    alignas(32) float vs[8], ws[8];
    _mm256_store_ps(vs, v);
    _mm256_store_ps(ws, weight);
    for (int i = 0; i < 8; ++i) {
        if ((lit >> i & 1) == 0) continue;
        const std::int32_t col = c0 + i * r.step;
        r.lux[col] += vs[i];
        r.ct[col] += ws[i];
    }
}

// The row eight computed points at a time: table entries gathered by column offset, straight walls and
// square pillars tested for all eight sight lines at once, arcs and round pillars point by point for the
// points still lit, then the sums of the lit points each advanced by its own single addition.
ORDIVAN_AVX2 void addRowAvx2(const RowRun& r) {
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i laneOffset = _mm256_mullo_epi32(lane, _mm256_set1_epi32(r.step));
    const __m256i fxLanes = _mm256_set1_epi32(r.fx);
    const __m256i pastEnd = _mm256_set1_epi32(r.colHi + 1);
    const float rowF = static_cast<float>(r.row), fxF = static_cast<float>(r.fx), fyF = static_cast<float>(r.fy);
    const __m256 R = _mm256_set1_ps(rowF), FX = _mm256_set1_ps(fxF), rise = _mm256_set1_ps(rowF - fyF);
    const __m256 zero = _mm256_setzero_ps(), milli = _mm256_set1_ps(0.001f);
    const __m256 kelvin = _mm256_set1_ps(static_cast<float>(r.colorTemp));
    SightLanes s;
    s.yLo = std::min(rowF, fyF);
    s.yHi = std::max(rowF, fyF);
    s.horizontal = r.row == r.fy;
    const std::int32_t chunk = 8 * r.step;
    const Active* last = nullptr;
    for (std::int32_t c0 = r.colLo; c0 <= r.colHi; c0 += chunk) {
        const __m256i cols = _mm256_add_epi32(_mm256_set1_epi32(c0), laneOffset);
        const __m256i valid = _mm256_cmpgt_epi32(pastEnd, cols);
        const __m256i dx = _mm256_abs_epi32(_mm256_sub_epi32(fxLanes, cols));
        const __m256 v = _mm256_mask_i32gather_ps(zero, r.entries, dx, _mm256_castsi256_ps(valid), 4);
        // Adding zero changes neither sum.
        const int live = _mm256_movemask_ps(_mm256_and_ps(_mm256_castsi256_ps(valid), _mm256_cmp_ps(v, zero, _CMP_NEQ_UQ)));
        if (live == 0) continue;
        s.C = _mm256_cvtepi32_ps(cols);
        s.vertical = _mm256_castsi256_ps(_mm256_cmpeq_epi32(cols, fxLanes));
        s.mS = _mm256_div_ps(rise, _mm256_sub_ps(s.C, FX));
        s.kS = _mm256_sub_ps(R, _mm256_mul_ps(s.mS, s.C));
        s.lo = _mm256_min_ps(s.C, FX);
        s.hi = _mm256_max_ps(s.C, FX);
        const std::int32_t cLast = std::min(r.colHi, c0 + chunk - r.step);
        bool curved = false;
        int blocked = straightBlocked(r, s, cols, live, c0, cLast, last, curved);
        if (r.fan != nullptr && (live & ~blocked) != 0) blocked = fanBlockedLanes(r, s, cols, live, blocked, c0);
        if (curved && (live & ~blocked) != 0) blocked = curvedBlocked(r, cols, live, blocked, c0, cLast);
        const int lit = live & ~blocked;
        if (lit == 0) continue;
        addLitLanes(r, c0, lit, v, _mm256_mul_ps(_mm256_mul_ps(v, milli), kelvin));
    }
}
#endif

} // namespace

namespace {
std::atomic<bool> portableForced{false};
} // namespace

PassKernel activePassKernel() {
#if ORDIVAN_HAVE_AVX2_PASS
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && !portableForced.load(std::memory_order_relaxed)) return PassKernel::Avx2;
#endif
    return PassKernel::Portable;
}

void forcePortablePass(bool portable) { portableForced.store(portable, std::memory_order_relaxed); }

void forceWallScan(bool scan) { wallScanForced.store(scan, std::memory_order_relaxed); }

std::uint64_t fanPointsTestingEveryWall() { return WallFan::everyWallAsked.load(std::memory_order_relaxed); }

void forceWallFan(bool fan) { wallFanFrom.store(fan ? 1 : kWallFanFrom, std::memory_order_relaxed); }

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
    std::vector<ObstacleIndex::Segment> segments, dots;
    for (int i = 0; i < static_cast<int>(o.walls.size()); ++i) {
        const auto& w = o.walls[static_cast<std::size_t>(i)];
        if (w.arc) {
            o.arcs.push_back(i);
            continue;
        }
        o.straight.push_back(i);
        segments.push_back({static_cast<double>(w.x1), static_cast<double>(w.y1), static_cast<double>(w.x2), static_cast<double>(w.y2)});
        if (w.x1 == w.x2 && w.y1 == w.y2) {
            o.dots.push_back(i);
            dots.push_back(segments.back());
        }
    }
    o.straightIndex = ObstacleIndex(std::move(segments));
    o.dotIndex = ObstacleIndex(std::move(dots));
    o.straightArea = o.straightIndex.boundingArea();
    plan.hasira.forEach([&](const model::HasiraRecord& h) {
        Obstacles::Pillar p{h.pillarKind == model::kSquarePillar, h.x, h.y, h.halfSize, {}};
        const std::int64_t x = h.x, y = h.y, m = h.halfSize;
        p.diagonal[0] = makeWallLine(x - m, y - m, x + m, y + m);
        p.diagonal[1] = makeWallLine(x - m, y + m, x + m, y - m);
        o.pillars.push_back(p);
    });
    return o;
}

namespace {

// The obstacles that can shade some point within one fixture's reach, by kind.
struct ObstaclesInReach {
    std::vector<int> walls, arcs, squares, cylinders;
};

// Whole-fixture culling: the window of the fixture's reach.
// The straight walls: whether the box of one meets the window.
[[gnu::always_inline]] inline bool straightWallInReach(const Obstacles::Wall& w, std::int64_t xLo, std::int64_t yLo,
                                                       std::int64_t xHi, std::int64_t yHi) {
    return !((w.minX < xLo && w.maxX < xLo) || (w.minX > xHi && w.maxX > xHi) || (w.minY < yLo && w.maxY < yLo) ||
             (w.minY > yHi && w.maxY > yHi));
}

// The arcs: sight lines stay within fx ± R and fy ± R.
[[gnu::always_inline]] inline bool arcInReach(const ArcShape& a, std::int64_t fx, std::int64_t fy, std::int64_t R) {
    const double m = arcMargin(a);
    return !(a.maxX + m < fx - R || a.minX - m > fx + R || a.maxY + m < fy - R || a.minY - m > fy + R);
}

// A straight wall cuts a sight line only where the two cross, and every sight line of a fixture runs inside
// the box round the fixture and its window: the index gives the walls that meet that box (a few pixels
// wider, far beyond the rounding of the crossing test), in the plan's order, and the window decides among
// them as for every wall. A box over a good part of the walls' own is quicker scanned wall by wall.
constexpr double kReachMargin = 4;
constexpr double kIndexedShare = 1.0 / 16;

// The straight walls of an index (segment k of it is obs.walls[ids[k]]) that meet the fixture's window,
// found over the box round the fixture and its window.
void indexedWallsInReach(const Obstacles& obs, const ObstacleIndex& index, const std::vector<int>& ids, std::int64_t fx, std::int64_t fy,
                         std::int64_t xLo, std::int64_t yLo, std::int64_t xHi, std::int64_t yHi, std::vector<int>& out) {
    thread_local std::vector<std::uint32_t> near;
    index.segmentsMeeting(static_cast<double>(std::min(xLo, fx)) - kReachMargin, static_cast<double>(std::min(yLo, fy)) - kReachMargin,
                          static_cast<double>(std::max(xHi, fx)) + kReachMargin, static_cast<double>(std::max(yHi, fy)) + kReachMargin, near);
    for (const std::uint32_t k : near) {
        const int i = ids[k];
        if (straightWallInReach(obs.walls[static_cast<std::size_t>(i)], xLo, yLo, xHi, yHi)) out.push_back(i);
    }
}

// With `fanned` the fan takes the straight walls of some length, and only those of no length are looked for here.
[[gnu::always_inline]] inline ObstaclesInReach obstaclesInReach(const Obstacles& obs, std::int64_t fx, std::int64_t fy,
                                                                std::int64_t R, std::int64_t xLo, std::int64_t yLo,
                                                                std::int64_t xHi, std::int64_t yHi, bool fanned) {
    ObstaclesInReach in;
    const double boxWidth = static_cast<double>(std::max(xHi, fx) - std::min(xLo, fx)) + 2 * kReachMargin;
    const double boxHeight = static_cast<double>(std::max(yHi, fy) - std::min(yLo, fy)) + 2 * kReachMargin;
    if (!fanned && (wallScanForced.load(std::memory_order_relaxed) || boxWidth * boxHeight > kIndexedShare * obs.straightArea)) {
        for (int i = 0; i < static_cast<int>(obs.walls.size()); ++i) {
            const auto& w = obs.walls[static_cast<std::size_t>(i)];
            if (w.arc ? arcInReach(w.shape, fx, fy, R) : straightWallInReach(w, xLo, yLo, xHi, yHi))
                (w.arc ? in.arcs : in.walls).push_back(i);
        }
    } else {
        if (fanned) indexedWallsInReach(obs, obs.dotIndex, obs.dots, fx, fy, xLo, yLo, xHi, yHi, in.walls);
        else indexedWallsInReach(obs, obs.straightIndex, obs.straight, fx, fy, xLo, yLo, xHi, yHi, in.walls);
        for (const int i : obs.arcs) {
            if (arcInReach(obs.walls[static_cast<std::size_t>(i)].shape, fx, fy, R)) in.arcs.push_back(i);
        }
    }
    for (int i = 0; i < static_cast<int>(obs.pillars.size()); ++i) {
        const auto& p = obs.pillars[static_cast<std::size_t>(i)];
        if (p.square) {
            const std::int64_t a = p.x - p.m, b = p.x + p.m, c = p.y - p.m, d = p.y + p.m;
            if ((a < xLo && b < xLo) || (a > xHi && b > xHi) || (c < yLo && d < yLo) || (c > yHi && d > yHi)) continue;
            in.squares.push_back(i);
        } else {
            const double cx = static_cast<double>(p.x), cy = static_cast<double>(p.y), r = std::abs(static_cast<double>(p.m));
            const double m = circleMargin(cx, cy, r);
            if (cx + r + m < fx - R || cx - r - m > fx + R || cy + r + m < fy - R || cy - r - m > fy + R) continue;
            in.cylinders.push_back(i);
        }
    }
    return in;
}

// How far a wall's box is widened for sight lines whose coordinates stay within `coordinates` of the plan's
// origin: the crossing test rounds its crossing point by far less than this.
double fanMargin(std::int64_t coordinates) { return 1 + (static_cast<double>(coordinates) + 1) / 65536; }

} // namespace

void indexWallBoxes(Obstacles& o, std::int64_t width, std::int64_t height) {
    Obstacles::WallBoxes& b = o.boxes;
    b = {};
    // A fixture's window lies on the surface: a wall whose box misses the surface is in no fixture's reach.
    std::vector<int> walls;
    for (const int i : o.straight) {
        const auto& w = o.walls[static_cast<std::size_t>(i)];
        if ((w.x1 == w.x2 && w.y1 == w.y2) || w.maxX < 0 || w.minX > width || w.maxY < 0 || w.minY > height) continue;
        walls.push_back(i);
    }
    b.walls = walls.size();
    if (walls.empty() || width < 0 || height < 0) return;
    // A sight line runs from a point of the surface to a fixture within reach of it: the cells cover the
    // surface and a reach round it, and the fan's margin more (a wall is listed in the cells its box
    // overlaps there).
    b.origin = -(kMaxReach + 8 + 2 * static_cast<std::int64_t>(std::ceil(fanMargin(std::max(width, height) + kMaxReach))));
    const std::int64_t spanX = width - 2 * b.origin, spanY = height - 2 * b.origin;
    // Cells of a side holding a few walls each where the walls are.
    const double side = 2 * std::sqrt((static_cast<double>(width) + 1) * (static_cast<double>(height) + 1) / static_cast<double>(walls.size()));
    b.cell = std::max<std::int64_t>(8, static_cast<std::int64_t>(side));
    b.nx = static_cast<std::int32_t>(spanX / b.cell + 1);
    b.ny = static_cast<std::int32_t>(spanY / b.cell + 1);
    constexpr std::int64_t kWideCells = 64;
    auto cellsOf = [&](const Obstacles::Wall& w, std::int64_t& c0, std::int64_t& c1, std::int64_t& r0, std::int64_t& r1) {
        c0 = (std::clamp<std::int64_t>(w.minX, b.origin, width - b.origin) - b.origin) / b.cell;
        c1 = (std::clamp<std::int64_t>(w.maxX, b.origin, width - b.origin) - b.origin) / b.cell;
        r0 = (std::clamp<std::int64_t>(w.minY, b.origin, height - b.origin) - b.origin) / b.cell;
        r1 = (std::clamp<std::int64_t>(w.maxY, b.origin, height - b.origin) - b.origin) / b.cell;
        return (c1 - c0 + 1) * (r1 - r0 + 1) <= kWideCells;
    };
    const std::size_t cells = static_cast<std::size_t>(b.nx) * static_cast<std::size_t>(b.ny);
    b.start.assign(cells + 1, 0);
    std::int64_t c0, c1, r0, r1;
    for (const int i : walls) {
        if (!cellsOf(o.walls[static_cast<std::size_t>(i)], c0, c1, r0, r1)) {
            b.wide.push_back(i);
            continue;
        }
        for (std::int64_t r = r0; r <= r1; ++r)
            for (std::int64_t c = c0; c <= c1; ++c) ++b.start[static_cast<std::size_t>(r * b.nx + c) + 1];
    }
    for (std::size_t c = 0; c < cells; ++c) b.start[c + 1] += b.start[c];
    b.items.resize(b.start[cells]);
    std::vector<std::uint32_t> fill(b.start.begin(), b.start.end() - 1);
    for (const int i : walls) {
        if (!cellsOf(o.walls[static_cast<std::size_t>(i)], c0, c1, r0, r1)) continue;
        for (std::int64_t r = r0; r <= r1; ++r)
            for (std::int64_t c = c0; c <= c1; ++c) b.items[fill[static_cast<std::size_t>(r * b.nx + c)]++] = static_cast<std::uint32_t>(i);
    }
    const std::size_t stride = static_cast<std::size_t>(b.nx) + 1;
    b.counts.assign(stride * (static_cast<std::size_t>(b.ny) + 1), 0);
    for (std::size_t r = 0; r < static_cast<std::size_t>(b.ny); ++r) {
        for (std::size_t c = 0; c < static_cast<std::size_t>(b.nx); ++c) {
            const std::size_t cell = r * static_cast<std::size_t>(b.nx) + c;
            b.counts[(r + 1) * stride + c + 1] =
                b.counts[r * stride + c + 1] + b.counts[(r + 1) * stride + c] - b.counts[r * stride + c] + (b.start[cell + 1] - b.start[cell]);
        }
    }
}

namespace {

// About how many walls of some length lie round a fixture's window: the cells' lists over it and the wide walls.
std::size_t wallsNear(const Obstacles::WallBoxes& b, std::int64_t xLo, std::int64_t yLo, std::int64_t xHi, std::int64_t yHi) {
    if (b.nx == 0 || xLo > xHi || yLo > yHi) return b.wide.size();
    auto cellOf = [&](std::int64_t v, std::int32_t n) { return static_cast<std::size_t>(std::clamp<std::int64_t>((v - b.origin) / b.cell, 0, n - 1)); };
    const std::size_t c0 = cellOf(xLo, b.nx), c1 = cellOf(xHi, b.nx) + 1, r0 = cellOf(yLo, b.ny), r1 = cellOf(yHi, b.ny) + 1;
    const std::size_t stride = static_cast<std::size_t>(b.nx) + 1;
    return b.counts[r1 * stride + c1] - b.counts[r0 * stride + c1] - b.counts[r1 * stride + c0] + b.counts[r0 * stride + c0] + b.wide.size();
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

WallFan::Span WallFan::spanOf(double minX, double minY, double maxX, double maxY) const {
    const double x0 = minX - margin_, x1 = maxX + margin_, y0 = minY - margin_, y1 = maxY + margin_;
    const double gapX = std::max({x0, 0.0, -x1}), gapY = std::max({y0, 0.0, -y1});
    Span sp{0, 0, kBins};
    if (gapX == 0 && gapY == 0) return sp;
    sp.near = std::max(0.0, std::floor(std::sqrt(gapX * gapX + gapY * gapY)) - 1);
    // The box lies to one side of the fixture, under less than half a turn; the two corners that bound its
    // span are the ones the fixture sees at the box's outline (counter-clockwise from the first to the second).
    const int sx = x0 > 0 ? 1 : x1 < 0 ? -1 : 0, sy = y0 > 0 ? 1 : y1 < 0 ? -1 : 0;
    double fxA, fyA, fxB, fyB;
    if (sx > 0) {
        fxA = sy > 0 ? x1 : x0, fyA = y0;
        fxB = sy < 0 ? x1 : x0, fyB = y1;
    } else if (sx < 0) {
        fxA = sy < 0 ? x0 : x1, fyA = y1;
        fxB = sy > 0 ? x0 : x1, fyB = y0;
    } else if (sy > 0) {
        fxA = x1, fyA = y0;
        fxB = x0, fyB = y0;
    } else {
        fxA = x0, fyA = y1;
        fxB = x1, fyB = y1;
    }
    const double a = pseudoAngle(fxA, fyA);
    double b = pseudoAngle(fxB, fyB);
    if (b < a) b += 4;
    // Far more than the rounding of the measures.
    const double firstWedge = std::floor((a - 1e-9) * (kBins / 4.0)), lastWedge = std::floor((b + 1e-9) * (kBins / 4.0));
    sp.count = static_cast<std::int32_t>(std::min<double>(kBins, lastWedge - firstWedge + 1));
    sp.first = static_cast<std::int32_t>(((static_cast<std::int64_t>(firstWedge) % kBins) + kBins) % kBins);
    return sp;
}

bool WallFan::hiddenThroughout(const Span& sp) const {
    for (std::int32_t k = 0, b = sp.first; k < sp.count; ++k, b = b + 1 == kBins ? 0 : b + 1) {
        if (sp.near <= wedgeHidden_[static_cast<std::size_t>(b)]) return false;
    }
    return true;
}

void WallFan::take(int wall) {
    const auto& w = obs_->walls[static_cast<std::size_t>(wall)];
    if (!straightWallInReach(w, window_.xLo, window_.yLo, window_.xHi, window_.yHi)) return;
    const double px = static_cast<double>(fx_), py = static_cast<double>(fy_);
    const Span sp = spanOf(static_cast<double>(w.minX) - px, static_cast<double>(w.minY) - py, static_cast<double>(w.maxX) - px,
                           static_cast<double>(w.maxY) - py);
    const Entry entry{sp.near * sp.near, wall};
    bool seen = false;
    for (std::int32_t k = 0, b = sp.first; k < sp.count; ++k, b = b + 1 == kBins ? 0 : b + 1) {
        // Wholly behind the wall hiding this wedge: no point the wedge's list serves can need it.
        if (sp.near > wedgeHidden_[static_cast<std::size_t>(b)]) continue;
        lists_[static_cast<std::size_t>(b)].push_back(entry);
        seen = true;
    }
    // A wall hidden in every wedge it spans hides nothing nearer.
    if (!seen) return;

    // The sectors the wall spans whole, a pixel in from either end, are hidden past its far end.
    const double ax = static_cast<double>(w.x1) - px, ay = static_cast<double>(w.y1) - py;
    const double ex = static_cast<double>(w.x2 - w.x1), ey = static_cast<double>(w.y2 - w.y1);
    const double len = std::sqrt(ex * ex + ey * ey);
    const double side = ex * -ay - ey * -ax;
    if (len <= 3 || std::abs(side) <= 1e-9 * len * (std::abs(ax) + std::abs(ay) + len)) return;
    const double inX = ex / len, inY = ey / len;
    const double bx = ax + ex - inX, by = ay + ey - inY;
    double a0 = pseudoAngle(ax + inX, ay + inY);
    const double a1 = pseudoAngle(bx, by);
    double span = a1 - a0;
    if (span > 2) span -= 4;
    if (span < -2) span += 4;
    if (span < 0) {
        a0 = a1;
        span = -span;
    }
    constexpr double kSectorAngle = 4.0 / kSectors;
    const std::int64_t k0 = static_cast<std::int64_t>(std::ceil((a0 + 1e-9) / kSectorAngle));
    const std::int64_t k1 = static_cast<std::int64_t>(std::floor((a0 + span - 1e-9) / kSectorAngle)) - 1;
    // Along the directions of a run of sectors the wall's line lies farthest at one end of the run: one
    // distance for the sectors of each wedge.
    for (std::int64_t k = k0; k <= k1;) {
        const std::int64_t last = std::min(k1, (floorDiv(k, kSectorsPerWedge) + 1) * kSectorsPerWedge - 1);
        const double behind = std::max(distanceAlong(static_cast<double>(k) * kSectorAngle, ax, ay, ex, ey),
                                       distanceAlong(static_cast<double>(last + 1) * kSectorAngle, ax, ay, ex, ey)) *
                                  (1 + 1e-9) +
                              1;
        const std::size_t first = static_cast<std::size_t>(((k % kSectors) + kSectors) % kSectors);
        const std::size_t wedgeFirst = first / kSectorsPerWedge * kSectorsPerWedge;
        bool lowered = false;
        for (std::size_t sector = first; sector <= first + static_cast<std::size_t>(last - k); ++sector) {
            if (!(behind < hidden_[sector])) continue;
            hidden_[sector] = behind;
            hiding_[sector] = wall;
            lowered = true;
        }
        // The wedge is hidden from as far as its least hidden sector.
        if (lowered) {
            wedgeHidden_[wedgeFirst / kSectorsPerWedge] = *std::max_element(
                hidden_.begin() + static_cast<std::ptrdiff_t>(wedgeFirst), hidden_.begin() + static_cast<std::ptrdiff_t>(wedgeFirst + kSectorsPerWedge));
        }
        k = last + 1;
    }
}

void WallFan::build(const Obstacles& obs, std::int64_t fx, std::int64_t fy, const Window& window, double margin) {
    obs_ = &obs;
    fx_ = fx;
    fy_ = fy;
    window_ = window;
    margin_ = margin;
    everyKnown_ = false;
    for (auto& l : lists_) l.clear();
    hidden_.fill(std::numeric_limits<double>::infinity());
    wedgeHidden_.fill(std::numeric_limits<double>::infinity());
    hiding_.fill(-1);
    const Obstacles::WallBoxes& boxes = obs.boxes;
    if (taken_.size() < obs.walls.size()) taken_.resize(obs.walls.size(), 0);
    if (++stamp_ == 0) {
        std::fill(taken_.begin(), taken_.end(), 0);
        stamp_ = 1;
    }
    auto takeOnce = [&](int wall) {
        if (taken_[static_cast<std::size_t>(wall)] == stamp_) return;
        taken_[static_cast<std::size_t>(wall)] = stamp_;
        take(wall);
    };

    // How far into each wedge the window reaches (past it the wedge needs nothing), worked out for the wedges
    // the stop asks about, once each.
    const double px = static_cast<double>(fx), py = static_cast<double>(fy);
    const double wx0 = static_cast<double>(window.xLo) - px, wx1 = static_cast<double>(window.xHi) - px;
    const double wy0 = static_cast<double>(window.yLo) - py, wy1 = static_cast<double>(window.yHi) - py;
    auto exitAlong = [&](double a) {
        double ux, uy;
        directionOf(a, ux, uy);
        double t0 = 0, t1 = std::numeric_limits<double>::infinity();
        for (const auto& [u, lo, hi] : {std::tuple{ux, wx0, wx1}, std::tuple{uy, wy0, wy1}}) {
            if (u == 0) {
                if (lo > 0 || hi < 0) return 0.0;
                continue;
            }
            const double ta = lo / u, tb = hi / u;
            t0 = std::max(t0, std::min(ta, tb));
            t1 = std::min(t1, std::max(ta, tb));
        }
        return t1 < t0 ? 0.0 : t1 * std::sqrt(ux * ux + uy * uy);
    };
    need_.fill(-1);
    std::array<double, 4> cornerDistance{};
    std::array<int, 4> cornerWedge{};
    {
        int k = 0;
        for (const auto& [cx, cy] : {std::pair{wx0, wy0}, std::pair{wx1, wy0}, std::pair{wx0, wy1}, std::pair{wx1, wy1}}) {
            cornerWedge[static_cast<std::size_t>(k)] = wedge(cx, cy);
            cornerDistance[static_cast<std::size_t>(k++)] = std::sqrt(cx * cx + cy * cy);
        }
    }
    auto needOf = [&](int b) {
        double& n = need_[static_cast<std::size_t>(b)];
        if (n < 0) {
            constexpr double kWedge = 4.0 / kBins;
            n = std::max(exitAlong(b * kWedge), exitAlong((b + 1) * kWedge));
            // A corner of the window inside the wedge (or by rounding next to it) is its farthest point there.
            for (std::size_t k = 0; k < 4; ++k) {
                const int d = std::abs(cornerWedge[k] - b);
                if (d <= 1 || d == kBins - 1) n = std::max(n, cornerDistance[k]);
            }
            n = n * (1 + 1e-9) + 1;
        }
        return n;
    };

    for (const int wall : boxes.wide) takeOnce(wall);
    if (boxes.nx > 0) {
        const std::int64_t cell = boxes.cell, cfx = floorDiv(fx - boxes.origin, cell), cfy = floorDiv(fy - boxes.origin, cell);
        int settled = 0;
        for (std::int64_t k = 0;; ++k) {
            // The cells k away from the fixture's own, on the surface.
            for (std::int64_t r = std::max<std::int64_t>(cfy - k, 0); r <= std::min<std::int64_t>(cfy + k, boxes.ny - 1); ++r) {
                const bool edgeRow = r == cfy - k || r == cfy + k;
                for (std::int64_t c = std::max<std::int64_t>(cfx - k, 0); c <= std::min<std::int64_t>(cfx + k, boxes.nx - 1);
                     c = edgeRow || c == cfx + k ? c + 1 : std::max(c + 1, cfx + k)) {
                    const std::size_t at = static_cast<std::size_t>(r * boxes.nx + c);
                    if (boxes.start[at] == boxes.start[at + 1]) continue;
                    // A cell wholly behind hiding walls holds nothing the fixture sees: every wall listed in
                    // it lies partly in it, and whatever part lies elsewhere is judged from another cell.
                    const double cx0 = static_cast<double>(c * cell + boxes.origin) - px, cy0 = static_cast<double>(r * cell + boxes.origin) - py;
                    if (hiddenThroughout(spanOf(cx0, cy0, cx0 + static_cast<double>(cell), cy0 + static_cast<double>(cell)))) continue;
                    for (std::uint32_t q = boxes.start[at]; q < boxes.start[at + 1]; ++q) takeOnce(static_cast<int>(boxes.items[q]));
                }
            }
            const double sx0 = static_cast<double>((cfx - k) * cell + boxes.origin), sx1 = static_cast<double>((cfx + k + 1) * cell + boxes.origin);
            const double sy0 = static_cast<double>((cfy - k) * cell + boxes.origin), sy1 = static_cast<double>((cfy + k + 1) * cell + boxes.origin);
            if (sx0 <= static_cast<double>(window.xLo) && sx1 > static_cast<double>(window.xHi) && sy0 <= static_cast<double>(window.yLo) &&
                sy1 > static_cast<double>(window.yHi))
                break;
            // Every wall whose box comes nearer than this has been taken: its widened box could come a
            // margin nearer still.
            const double complete = std::min({px - sx0, sx1 - px, py - sy0, sy1 - py}) - 1.5 * margin - 2;
            // Sectors once hidden or left nearer than the rings stay so as the rings grow: the check
            // goes on from the first sector that was not.
            while (settled < kSectors && (hidden_[static_cast<std::size_t>(settled)] <= complete || needOf(settled / kSectorsPerWedge) <= complete))
                ++settled;
            if (settled == kSectors) break;
        }
    }
    for (std::size_t k = 0; k < static_cast<std::size_t>(kSectors); ++k) hiddenSq_[k] = hidden_[k] * hidden_[k];
    for (int b = 0; b < kBins; ++b) {
        // Nearest first; the rings brought them nearly in that order already.
        auto& l = lists_[static_cast<std::size_t>(b)];
        for (std::size_t i = 1; i < l.size(); ++i) {
            const Entry e = l[i];
            std::size_t j = i;
            for (; j > 0 && l[j - 1].nearSq > e.nearSq; --j) l[j] = l[j - 1];
            l[j] = e;
        }
    }
}

const std::vector<int>& WallFan::everyWall() {
    if (!everyKnown_) {
        every_.clear();
        indexedWallsInReach(*obs_, obs_->straightIndex, obs_->straight, fx_, fy_, window_.xLo, window_.yLo, window_.xHi, window_.yHi, every_);
        everyKnown_ = true;
    }
    return every_;
}

// Row culling, then the columns [colLo, colHi] of the row each remaining obstacle can matter for.
[[gnu::always_inline]] inline void activeOnRow(const ObstaclesInReach& in, const Obstacles& obs, std::int64_t row,
                                               std::int64_t fx, std::int64_t fy, std::int64_t colLo, std::int64_t colHi,
                                               std::vector<Active>& active) {
    const std::int64_t bandLo = std::min(row, fy), bandHi = std::max(row, fy);
    active.clear();
    std::int64_t lo, hi;
    for (int i : in.walls) {
        const auto& w = obs.walls[static_cast<std::size_t>(i)];
        if (!wallInBand(w, bandLo, bandHi)) continue;
        if (columnWindow(std::min(w.x1, w.x2), std::max(w.x1, w.x2), fx, colLo, colHi, lo, hi))
            active.push_back({Kind::Wall, i, lo, hi});
    }
    for (int i : in.squares) {
        const auto& p = obs.pillars[static_cast<std::size_t>(i)];
        const std::int64_t a = p.y - p.m, b = p.y + p.m;
        const bool aside = row < fy ? ((a < row && b < row) || (a > fy && b > fy)) : ((a > row && b > row) || (a < fy && b < fy));
        if (aside) continue;
        if (columnWindow(std::min(p.x - p.m, p.x + p.m), std::max(p.x - p.m, p.x + p.m), fx, colLo, colHi, lo, hi))
            active.push_back({Kind::Square, i, lo, hi});
    }
    for (int i : in.arcs) {
        const auto& a = obs.walls[static_cast<std::size_t>(i)].shape;
        const double m = arcMargin(a);
        if (a.maxY + m < bandLo || a.minY - m > bandHi) continue;
        if (columnWindow(a.minX - m, a.maxX + m, fx, colLo, colHi, lo, hi)) active.push_back({Kind::Arc, i, lo, hi});
    }
    for (int i : in.cylinders) {
        const auto& p = obs.pillars[static_cast<std::size_t>(i)];
        const double cx = static_cast<double>(p.x), cy = static_cast<double>(p.y), r = std::abs(static_cast<double>(p.m));
        const double m = circleMargin(cx, cy, r);
        if (cy + r + m < bandLo || cy - r - m > bandHi) continue;
        if (columnWindow(cx - r - m, cx + r + m, fx, colLo, colHi, lo, hi)) active.push_back({Kind::Cylinder, i, lo, hi});
    }
}

} // namespace

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
    // Offsets past the table's end are none the plan asked it for: nothing there to add.
    const std::int64_t held = table.size;

    // A window off the surface holds no point.
    if (xLo > xHi || yLo > yHi) return;
    // Rows this thread computes.
    std::int64_t rowFirst = std::max<std::int64_t>(0, fy - R);
    rowFirst = (rowFirst + s - 1) / s * s;
    const std::int64_t rowLast = std::min<std::int64_t>(H - 1, fy + R);
    if (rowFirst > rowLast) return;

    // With many straight walls in reach, a row's sight lines would each be tested against every wall between
    // the row and the fixture: they go into the fan instead, and each point tests the few near its own line.
    const bool fanned = !wallScanForced.load(std::memory_order_relaxed) &&
                        wallsNear(obs.boxes, xLo, yLo, xHi, yHi) >= static_cast<std::size_t>(wallFanFrom.load(std::memory_order_relaxed));
    const ObstaclesInReach inReach = obstaclesInReach(obs, fx, fy, R, xLo, yLo, xHi, yHi, fanned);
    thread_local WallFan fan;
    int fanLast = -1;
    WallFan* wallFan = nullptr;
    if (fanned) {
        fan.build(obs, fx, fy, WallFan::Window{xLo, yLo, xHi, yHi}, fanMargin(std::max({std::abs(fx), std::abs(fy), W, H})));
        wallFan = &fan;
    }
    std::vector<Active> active;
    active.reserve(inReach.walls.size() + inReach.arcs.size() + inReach.squares.size() + inReach.cylinders.size());
    float* lux = grid.lux.data();
    float* ct = grid.ctSum.data();
    const std::int32_t colorTemp = table.colorTemp;
    [[maybe_unused]] const bool vectorUnits = activePassKernel() == PassKernel::Avx2;
    const std::int32_t ifx = static_cast<std::int32_t>(fx), ify = static_cast<std::int32_t>(fy);

    for (std::int64_t row = rowFirst; row <= rowLast; row += s) {
        if ((row / s) % stride != phase) continue;
        const std::int64_t dy = std::abs(fy - row);
        if (dy >= held) continue;
        std::int64_t ext = extent[static_cast<std::size_t>(dy)];
        if (ext < 0) continue;
        ext = std::min({ext, R, held - 1});
        std::int64_t colLo = std::max<std::int64_t>(0, fx - ext);
        colLo = (colLo + s - 1) / s * s;
        const std::int64_t colHi = std::min<std::int64_t>(W - 1, fx + ext);
        if (colLo > colHi) continue;
        activeOnRow(inReach, obs, row, fx, fy, colLo, colHi, active);

        const std::size_t base = static_cast<std::size_t>(row) * static_cast<std::size_t>(W);
        const RowRun run{lux + base,
                         ct + base,
                         rot == 0 ? table.turned.data() + static_cast<std::size_t>(dy) * static_cast<std::size_t>(held)
                                  : table.lux.data() + static_cast<std::size_t>(dy) * static_cast<std::size_t>(held),
                         active,
                         obs,
                         static_cast<std::int32_t>(colLo),
                         static_cast<std::int32_t>(colHi),
                         s,
                         static_cast<std::int32_t>(row),
                         ifx,
                         ify,
                         colorTemp,
                         wallFan,
                         &fanLast};
#if ORDIVAN_HAVE_AVX2_PASS
        if (vectorUnits) {
            addRowAvx2(run);
            continue;
        }
#endif
        addRowPortable(run);
    }
}

namespace {

// The largest distance along either axis, in grid steps, from one of the fixtures to a grid point: no
// type table entry beyond it is ever read for them.
std::int32_t farthestGridOffset(const model::Plan& plan, const std::vector<int>& fixtures, const IlluminanceGrid& grid) {
    const std::int64_t lastCol = std::max(grid.gridWidth - 1, 0), lastRow = std::max(grid.gridHeight - 1, 0);
    std::int64_t farthest = 0;
    for (int j : fixtures) {
        const std::int64_t x = plan.kigu[j].x, y = plan.kigu[j].y;
        farthest = std::max({farthest, std::abs(x), std::abs(x - lastCol), std::abs(y), std::abs(y - lastRow)});
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(farthest, kMaxReach));
}

} // namespace

PassResult runFixturePass(const model::Plan& plan, const catalog::TourokuTable& touroku, std::int32_t tenDaka,
                          const TableSettings& settings, IlluminanceGrid& grid, int threads, PassProgress* progress) {
    const int n = resolveThreads(threads);
    Obstacles obstacles = collectObstacles(plan);
    indexWallBoxes(obstacles, grid.gridWidth, grid.gridHeight);
    const std::vector<FixtureGroup> groups = fixtureGroups(plan, touroku, tenDaka);
    TypeTable table;
    auto step = [progress] { return progress != nullptr && progress->step(); };
    for (const FixtureGroup& g : groups) {
        if (g.ownHeight && step()) return PassResult::Cancelled;
        TableSettings groupSettings = settings;
        groupSettings.maxOffset = std::min(settings.maxOffset, farthestGridOffset(plan, g.fixtures, grid));
        prepareFixtureType(table, touroku[g.typeIndex], g.height, groupSettings, n);
        std::atomic<bool> stop{false};
        bool cancelled = false;
        // Each grid row belongs to one thread and takes the fixtures in their order, so the sums are
        // the same however many threads the system lets us start.
        runOnThreads(n, [&](int t, int threadCount) {
            if (t > 0) {
                for (int j : g.fixtures) {
                    if (stop.load(std::memory_order_relaxed)) break;
                    addFixtureRows(grid, table, plan.kigu[j], obstacles, settings.calcStep, t, threadCount);
                }
                return;
            }
            for (std::size_t i = 0; i < g.fixtures.size(); ++i) {
                if (g.ownHeight && i > 0 && step()) {
                    cancelled = true;
                    break;
                }
                addFixtureRows(grid, table, plan.kigu[g.fixtures[i]], obstacles, settings.calcStep, 0, threadCount);
                if (!g.ownHeight && step()) {
                    cancelled = true;
                    break;
                }
            }
            if (cancelled) stop = true;
        });
        if (cancelled) return PassResult::Cancelled;
    }
    return PassResult::Completed;
}

} // namespace calc
