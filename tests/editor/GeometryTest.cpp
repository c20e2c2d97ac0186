// Tests of the editor's plain geometry: snapping, the arc through three clicks, crossing tests and array positions.
#include "editor/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace editor {
namespace {

model::LineRecord line(int x1, int y1, int x2, int y2) {
    model::LineRecord r;
    r.x1 = x1, r.y1 = y1, r.x2 = x2, r.y2 = y2;
    model::normaliseLine(r);
    return r;
}

TEST(EndPointSnapping, TakesPointsStrictlyWithinTenPixelsAndKeepsTheEarliestOfEqualDistances) {
    model::LineArray lines;
    lines.add(line(100, 100, 300, 100));
    lines.add(line(110, 100, 400, 400));  // its start is as far from (105, 100) as the first wall's start

    std::int64_t best = 100;
    auto p = nearestWallEnd(lines, 91, 100, best);
    ASSERT_TRUE(p);
    EXPECT_EQ(*p, (ui::Point{100, 100}));  // 9 pixels left of an end point
    EXPECT_EQ(best, 81);

    best = 100;
    EXPECT_FALSE(nearestWallEnd(lines, 90, 100, best));   // exactly 10 pixels away: ignored
    best = 100;
    EXPECT_EQ(nearestWallEnd(lines, 293, 107, best), (ui::Point{300, 100}));  // d² = 98: within
    best = 100;
    EXPECT_FALSE(nearestWallEnd(lines, 292, 108, best));  // d² = 128: a diagonal 11 pixels away

    best = 100;
    p = nearestWallEnd(lines, 105, 100, best);
    ASSERT_TRUE(p);
    EXPECT_EQ(*p, (ui::Point{100, 100}));  // a tie: the earlier segment wins
}

TEST(GridAndOrthogonalSnapping, FollowTheWorkedPositions) {
    EXPECT_EQ(snapToGrid(29, 31, 20), (ui::Point{20, 40}));
    EXPECT_EQ(snapToGrid(30, 10, 20), (ui::Point{40, 20}));  // halves go up
    EXPECT_EQ(snapToGrid(29, 31, 0), (ui::Point{29, 31}));  // no pitch: free

    EXPECT_EQ(orthogonalPoint({100, 100}, 150, 130), (ui::Point{150, 100}));
    EXPECT_EQ(orthogonalPoint({100, 100}, 120, 190), (ui::Point{100, 190}));
    EXPECT_EQ(orthogonalPoint({100, 100}, 130, 130), (ui::Point{130, 100}));  // a tie is horizontal
}

// Screen-anticlockwise angle of a point about a centre (y grows downwards).
double screenAngle(double cx, double cy, double x, double y) { return std::atan2(-(y - cy), x - cx); }

bool sweepContains(double from, double to, double a) {
    const double two = 2 * M_PI;
    auto norm = [&](double v) { return std::fmod(std::fmod(v, two) + two, two); };
    return norm(a - from) < norm(to - from);
}

TEST(ArcThroughThreePoints, PassesThroughAllThreeClicksInTheStoredDirection) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(0, 600);
    int checked = 0;
    for (int n = 0; n < 4000; ++n) {
        const ui::Point a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)}, p{coord(rng), coord(rng)};
        auto g = arcThroughThreePoints(a, b, p);
        if (!g) continue;
        const double cx = (g->square.left + g->square.right) / 2.0, cy = (g->square.top + g->square.bottom) / 2.0;
        const double r = (g->square.right - g->square.left) / 2.0;
        if (r > 3000) continue;  // truncation of a huge circle is not what this checks
        auto dist = [&](ui::Point q) { return std::hypot(q.x - cx, q.y - cy); };
        const double tol = 2.0 + r * 1e-4;
        ASSERT_NEAR(dist(a), r, tol) << a.x << "," << a.y << " " << b.x << "," << b.y << " " << p.x << "," << p.y;
        ASSERT_NEAR(dist(b), r, tol);
        ASSERT_NEAR(dist(p), r, tol);
        // Stored start and end: flag 1 runs from B to A, flag 0 from A to B; P must lie on the way.
        const ui::Point from = g->flag == 1 ? b : a, to = g->flag == 1 ? a : b;
        const double aFrom = screenAngle(cx, cy, from.x, from.y), aTo = screenAngle(cx, cy, to.x, to.y);
        const double aP = screenAngle(cx, cy, p.x, p.y);
        const double margin = 3.0 / std::max(r, 1.0);  // P right next to an end point may fall either side
        if (std::fabs(std::remainder(aP - aFrom, 2 * M_PI)) < margin || std::fabs(std::remainder(aP - aTo, 2 * M_PI)) < margin)
            continue;
        ASSERT_TRUE(sweepContains(aFrom, aTo, aP)) << a.x << "," << a.y << " " << b.x << "," << b.y << " " << p.x << "," << p.y;
        ++checked;
    }
    EXPECT_GT(checked, 2000);
}

TEST(ArcThroughThreePoints, RefusesLinesLevelThirdPointsAndHugeCircles) {
    EXPECT_FALSE(arcThroughThreePoints({0, 0}, {100, 100}, {50, 50}));    // on the chord's line
    EXPECT_FALSE(arcThroughThreePoints({0, 0}, {100, 50}, {60, 30}));     // less than a pixel off the line
    EXPECT_FALSE(arcThroughThreePoints({0, 100}, {100, 0}, {200, 100}));  // P level with A on a slanted chord
    EXPECT_FALSE(arcThroughThreePoints({0, 0}, {20000, 1}, {10000, 3}));  // an enormous circle
    auto semicircle = arcThroughThreePoints({0, 100}, {200, 100}, {100, 200});
    ASSERT_TRUE(semicircle);
    EXPECT_EQ(semicircle->square, (ui::Rect{0, 0, 200, 200}));
    EXPECT_EQ(semicircle->flag, 0);  // below a left-to-right chord: A to B anticlockwise on screen
    auto upper = arcThroughThreePoints({0, 100}, {200, 100}, {100, 0});
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->flag, 1);
    auto vertical = arcThroughThreePoints({100, 0}, {100, 200}, {200, 100});
    ASSERT_TRUE(vertical);
    EXPECT_EQ(vertical->square, (ui::Rect{0, 0, 200, 200}));
    EXPECT_EQ(vertical->flag, 1);  // downwards chord, P to the right
}

TEST(DeleteRectangle, CatchesByEndPointOrByCrossingADiagonal) {
    const ui::Point c0{100, 100}, c1{200, 200};
    EXPECT_TRUE(segmentCaught(line(150, 150, 500, 500), c0, c1));  // one end inside
    EXPECT_TRUE(segmentCaught(line(200, 200, 500, 500), c0, c1));  // on the bound
    EXPECT_TRUE(segmentCaught(line(0, 150, 800, 150), c0, c1));    // passes straight through
    EXPECT_TRUE(segmentCaught(line(150, 0, 150, 800), c0, c1));    // vertical through
    EXPECT_FALSE(segmentCaught(line(0, 50, 800, 50), c0, c1));     // above
    EXPECT_FALSE(segmentCaught(line(300, 0, 300, 800), c0, c1));   // right of it

    model::LineRecord arc;  // upper half of the circle of radius 100 about (150, 150)... drawn from (250,150) to (50,150)
    arc.kind = 'A';
    arc.x3 = 50, arc.y3 = 50, arc.x4 = 250, arc.y4 = 250;
    arc.x1 = 250, arc.y1 = 150, arc.x2 = 50, arc.y2 = 150;
    EXPECT_TRUE(segmentCaught(arc, {120, 40}, {180, 80}));     // crosses near its top
    EXPECT_FALSE(segmentCaught(arc, {120, 220}, {180, 260}));  // the missing lower half
}

TEST(ArrayPositions, ByCountFollowTheWorkedExamples) {
    auto xs = [](const ArrayPlan& p) {
        std::vector<int> v;
        for (auto q : p.positions) v.push_back(q.x);
        return v;
    };
    EXPECT_EQ(xs(arrayPositions('K', '2', {100, 100}, {200, 100}, 5, 0, -1)), (std::vector<int>{100, 125, 150, 175, 200}));
    EXPECT_EQ(xs(arrayPositions('K', '2', {100, 100}, {200, 100}, 4, 0, -1)), (std::vector<int>{100, 133, 166, 199}));
    EXPECT_EQ(arrayPositions('K', '2', {100, 100}, {200, 100}, 1, 0, -1).positions, (std::vector<ui::Point>{{100, 100}}));
    EXPECT_TRUE(arrayPositions('K', '2', {100, 100}, {200, 100}, 0, 0, -1).positions.empty());
    EXPECT_TRUE(arrayPositions('K', '2', {100, 100}, {200, 100}, -3, 0, -1).positions.empty());
    EXPECT_EQ(arrayPositions('K', '3', {0, 0}, {200, 100}, 3, 2, -1).positions,
              (std::vector<ui::Point>{{0, 0}, {0, 100}, {100, 0}, {100, 100}, {200, 0}, {200, 100}}));
    EXPECT_TRUE(arrayPositions('K', '3', {0, 0}, {200, 100}, 3, 0, -1).positions.empty());
}

TEST(ArrayPositions, ByPitchFollowTheWorkedExamplesAndRefuseDegenerateOrHugeArrays) {
    auto line = arrayPositions('P', '2', {10, 20}, {360, 20}, 1000, 0, 10.0f);
    EXPECT_EQ(line.positions, (std::vector<ui::Point>{{10, 20}, {110, 20}, {210, 20}, {310, 20}, {410, 20}}));
    // Diagonal: steps are truncated separately in x and y.
    auto diag = arrayPositions('P', '2', {0, 0}, {300, 400}, 1000, 0, 10.0f);
    ASSERT_EQ(diag.positions.size(), 6u);
    EXPECT_EQ(diag.positions[1], (ui::Point{60, 80}));
    // Both clicks on one point: no direction, nothing placed (and no division by zero).
    EXPECT_TRUE(arrayPositions('P', '2', {50, 50}, {50, 50}, 1000, 0, 10.0f).positions.empty());
    auto grid = arrayPositions('P', '3', {0, 0}, {250, 100}, 1000, 500, 10.0f);
    // nx = trunc(2.5 + 0.5) = 3, ny = trunc(2 + 0.5) = 2: 4 × 3 in column order.
    ASSERT_EQ(grid.positions.size(), 12u);
    EXPECT_EQ(grid.positions[0], (ui::Point{0, 0}));
    EXPECT_EQ(grid.positions[1], (ui::Point{0, 50}));
    EXPECT_EQ(grid.positions[3], (ui::Point{100, 0}));
    EXPECT_EQ(grid.positions[11], (ui::Point{300, 100}));
    EXPECT_TRUE(arrayPositions('P', '3', {300, 300}, {0, 0}, 1000, 1000, 10.0f).positions.empty());  // dragged up-left
    EXPECT_TRUE(arrayPositions('P', '3', {0, 0}, {100, 100}, 0, 1000, 10.0f).positions.empty());
    // A 1 mm pitch over a long drag would place a hundred thousand items: refused, nothing built.
    auto huge = arrayPositions('P', '2', {0, 0}, {2000, 0}, 1, 0, 50.0f);
    EXPECT_TRUE(huge.tooMany);
    EXPECT_TRUE(huge.positions.empty());
    EXPECT_TRUE(arrayPositions('K', '3', {0, 0}, {100, 100}, 50000, 50000, -1).tooMany);
}

} // namespace
} // namespace editor
