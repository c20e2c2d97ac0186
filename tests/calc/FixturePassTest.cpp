// The fast fixture pass against the straightforward reference, bit for bit, and its shadows and progress.
#include "support/TestPaths.h"
#include "calc/FixturePass.h"
#include "calc/ReferenceEngine.h"
#include "calc/Scenes.h"
#include "model/ProjectFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

namespace calc {
namespace {

using testing::Scene;

TableSettings settingsFor(const model::Plan& plan, int step) {
    TableSettings s;
    s.mmPerPixel = plan.mmPerPixel;
    s.scaleDenominator = plan.scaleDenominator;
    s.calcStep = step;
    return s;
}

// An empty plan on a drawing surface of width × height pixels at the given scale.
Scene planOn(int width, int height, float mmPerPixel, std::int32_t scaleDenominator) {
    Scene sc;
    sc.width = width;
    sc.height = height;
    sc.plan.mmPerPixel = mmPerPixel;
    sc.plan.scaleDenominator = scaleDenominator;
    return sc;
}

IlluminanceGrid freshGrid(int w, int h) {
    IlluminanceGrid g;
    g.allocate(w, h);
    g.reset();
    return g;
}

// Counts the points where two grids differ in their bits.
int differingPoints(const IlluminanceGrid& a, const IlluminanceGrid& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.lux.size(); ++i) {
        if (std::memcmp(&a.lux[i], &b.lux[i], sizeof(float)) != 0 || std::memcmp(&a.ctSum[i], &b.ctSum[i], sizeof(float)) != 0) ++n;
    }
    return n;
}

void expectSameAsReference(const model::Plan& plan, const catalog::TourokuTable& touroku, int tenDaka, int w, int h, int step,
                           std::initializer_list<int> threadCounts, const std::string& what) {
    IlluminanceGrid ref = freshGrid(w, h);
    reference::fixturePass(plan, touroku, tenDaka, settingsFor(plan, step), ref);
    // The loop the processor chooses, then the point-by-point one; the walls of every luminaire in a fan of
    // directions however few they are, with the first thread count.
    for (bool fan : {false, true}) {
        forceWallFan(fan);
        for (bool portable : {false, true}) {
            forcePortablePass(portable);
            for (int threads : threadCounts) {
                IlluminanceGrid fast = freshGrid(w, h);
                ASSERT_EQ(runFixturePass(plan, touroku, tenDaka, settingsFor(plan, step), fast, threads, nullptr), PassResult::Completed);
                EXPECT_EQ(differingPoints(ref, fast), 0) << what << " step " << step << " threads " << threads
                                                         << (portable ? " point by point" : " vector units") << (fan ? " fan" : "");
                if (fan) break;
            }
        }
    }
    forceWallFan(false);
    forcePortablePass(false);
}

TEST(FastPass, RandomPlansGiveTheReferenceGridBitForBitForEveryStepAndThreadCount) {
    for (unsigned seed = 1; seed <= 42; ++seed) {
        Scene sc = testing::randomScene(seed);
        for (int step : {1 + static_cast<int>(seed % 7), 1 + static_cast<int>((seed * 3 + 2) % 7)}) {
            expectSameAsReference(sc.plan, sc.touroku, sc.tenDaka, sc.width, sc.height, step, {1, 2, 3},
                                  "seed " + std::to_string(seed));
        }
    }
}

// Curved obstacles are where the two loops part ways most: crossings are worked out four at a time in
// double precision and the angle only near the arc. Arcs of every radius and span crowd the luminaires
// here, with round pillars on the luminaire's own row and column.
TEST(FastPass, CrowdedArcsAndRoundPillarsGiveTheReferenceGrid) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        std::mt19937 rng(seed);
        auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        Scene sc = planOn(203, 150, 30, 100);
        sc.touroku[1] = testing::cosineType(600, 1.0, 3000);
        for (int i = 0; i < 3; ++i) {
            const int fx = uni(20, 180), fy = uni(20, 130);
            sc.plan.kigu.add(model::KiguRecord{fx, fy, 0, 1, 0, fx, fy, 0});
            sc.plan.hasira.add(model::HasiraRecord{model::kCylindricalPillar, fx, fy + uni(3, 30), uni(0, 6), 0});
            sc.plan.hasira.add(model::HasiraRecord{model::kCylindricalPillar, fx + uni(-40, 40), fy, uni(0, 6), 0});
        }
        for (int i = 0; i < 25; ++i) {
            model::LineRecord a;
            a.kind = 'A';
            const int r = uni(0, 1) ? uni(1, 20) : uni(20, 250), cx = uni(-50, 250), cy = uni(-50, 200);
            a.x3 = cx - r, a.y3 = cy - r, a.x4 = cx + r, a.y4 = cy + r;
            const double a0 = uni(0, 359) * M_PI / 180.0, a1 = uni(0, 359) * M_PI / 180.0;
            a.x1 = cx + static_cast<int>(r * std::cos(a0)), a.y1 = cy - static_cast<int>(r * std::sin(a0));
            a.x2 = cx + static_cast<int>(r * std::cos(a1)), a.y2 = cy - static_cast<int>(r * std::sin(a1));
            sc.plan.lines.add(a);
        }
        model::normaliseAllLines(sc.plan);
        for (int step : {1, 2})
            expectSameAsReference(sc.plan, sc.touroku, sc.tenDaka, sc.width, sc.height, step, {1, 2}, "seed " + std::to_string(seed));
    }
}

// A plan whose walls spread far beyond one luminaire's reach, so that the wall index, not a scan of every
// wall, decides which walls each luminaire tests, and so many that they go into each luminaire's fan of
// directions: a field of partitions of every direction and of no length, some crossing the surface's edge,
// long walls far outside and across, and luminaires on and just off the surface.
TEST(FastPass, ManyWallsCulledThroughTheIndexGiveTheReferenceGrid) {
    std::mt19937 rng(26);
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Scene sc = planOn(240, 180, 40, 400);
    sc.touroku[1] = testing::cosineType(500, 6.0, 800);
    sc.touroku[2] = testing::linearType(1200, 1500);
    for (int i = 0; i < 400; ++i) {
        model::LineRecord l;
        l.x1 = uni(-10, sc.width + 10);
        l.y1 = uni(-10, sc.height + 10);
        l.x2 = l.x1 + uni(-12, 12);
        l.y2 = l.y1 + (i % 3 == 0 ? 0 : uni(-12, 12));
        model::normaliseLine(l);
        sc.plan.lines.add(l);
    }
    // Long walls far outside, and long slanting ones across the surface whose boxes take in every luminaire.
    for (const auto& [x1, y1, x2, y2] : std::vector<std::array<int, 4>>{
             {-3000, -3000, 3000, -3000}, {-3000, 3000, 3000, 3000}, {-3000, -2000, 3000, 2100}, {250, -40, -20, 200}, {5, 170, 230, 171}}) {
        model::LineRecord l;
        l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
        model::normaliseLine(l);
        sc.plan.lines.add(l);
    }
    for (const auto& [x, y, type] : std::vector<std::array<int, 3>>{{60, 50, 1}, {180, 130, 2}, {120, 90, 1}, {-4, 70, 1}, {150, 183, 2}}) {
        sc.plan.kigu.add(model::KiguRecord{x, y, 0, type, type == 2 ? 90 : 0, x, y, 0});
    }
    for (int step : {2, 3}) expectSameAsReference(sc.plan, sc.touroku, sc.tenDaka, sc.width, sc.height, step, {1, 2}, "wall field");
}

// A lattice of partitions as dense as offices get, turning a quarter from one to the next, so that each
// luminaire's fan stops at the walls that hide the rest: luminaires amid the lattice, at the surface's
// edges and beyond them, where their sight lines cross the lattice outside the surface before they reach it.
TEST(FastPass, DenseLatticeHidingTheFarWallsGivesTheReferenceGrid) {
    Scene sc = planOn(260, 200, 50, 500);
    sc.touroku[1] = testing::cosineType(500, 1.0, 3000);
    for (int y = -30; y < sc.height + 30; y += 12) {
        for (int x = -30; x < sc.width + 30; x += 12) {
            model::LineRecord l;
            const bool across = (x + y) / 12 % 2 == 0;
            l.x1 = x, l.y1 = y, l.x2 = x + (across ? 8 : 1), l.y2 = y + (across ? 1 : 8);
            model::normaliseLine(l);
            sc.plan.lines.add(l);
        }
    }
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{130, 100}, {6, 6}, {259, 150}, {-25, 90}, {140, -20}, {275, 215}}) {
        sc.plan.kigu.add(model::KiguRecord{x, y, 0, 1, 0, x, y, 0});
    }
    model::normaliseAllLines(sc.plan);
    for (int step : {1, 3}) expectSameAsReference(sc.plan, sc.touroku, sc.tenDaka, sc.width, sc.height, step, {2}, "lattice");
}

// Far from the plan's origin, near-vertical sight lines crossing long, gently sloping walls: the crossing
// test rounds some crossings out of a wall's one pixel of rise, so points the plan's geometry puts behind a
// wall are lit all the same. The fan must ask every wall for them and give the grid the reference gives.
TEST(FastPass, PointsTheCrossingTestLetsPastAHidingWallGiveTheReferenceGrid) {
    Scene sc = planOn(4200, 900, 10, 100);
    sc.touroku[1] = testing::cosineType(500, 1.0, 3000);
    for (int x = 3900; x < 4150; x += 7) sc.plan.kigu.add(model::KiguRecord{x, 5, 0, 1, 0, x, 5, 0});
    for (int i = 0; i < 3; ++i) {
        model::LineRecord l;
        l.x1 = 2000 + 300 * i, l.y1 = 700 + 60 * i, l.x2 = 4199, l.y2 = l.y1 + 1;
        model::normaliseLine(l);
        sc.plan.lines.add(l);
    }
    const std::uint64_t before = fanPointsTestingEveryWall();
    expectSameAsReference(sc.plan, sc.touroku, sc.tenDaka, sc.width, sc.height, 1, {2}, "sloping walls");
    EXPECT_GT(fanPointsTestingEveryWall(), before) << "no point was let past a hiding wall: the case is not tested";
}

TEST(FastPass, SampleProjectsGiveTheReferenceGridWithOneAndTwoThreads) {
    const std::filesystem::path samples = std::filesystem::path(testsupport::sourceDir()) / "data" / "samples";
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        if (entry.path().extension() != ".OLE") continue;
        model::ProjectContent content;
        ASSERT_EQ(model::parseProject(entry.path().string(), content), model::ParseError::None) << entry.path();
        model::Document doc;
        catalog::TourokuTable touroku;
        model::applyProject(entry.path().string(), content, doc, touroku);
        model::normaliseAllLines(doc.plan);
        expectSameAsReference(doc.plan, touroku, doc.tenDaka, doc.surfaceWidth, doc.surfaceHeight, 3, {1, 2},
                              entry.path().filename().string());
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

// One fixture in the middle of an otherwise empty plan, and one obstacle.
struct Shadow {
    Scene sc;
    IlluminanceGrid grid;
    explicit Shadow(int w = 200, int h = 120) : sc(planOn(w, h, 25, 100)) {
        sc.touroku[1] = testing::cosineType(500, 1.0, 3000);
        model::KiguRecord k;
        k.typeIndex = 1;
        k.x = 60;
        k.y = 60;
        sc.plan.kigu.add(k);
    }
    void run() {
        model::normaliseAllLines(sc.plan);
        grid = freshGrid(sc.width, sc.height);
        ASSERT_EQ(runFixturePass(sc.plan, sc.touroku, sc.tenDaka, settingsFor(sc.plan, 1), grid, 2, nullptr), PassResult::Completed);
    }
    bool lit(int col, int row) const { return grid.lux[grid.index(col, row)] > 0.01f; }
};

TEST(FastPass, WallsAndPillarsCastShadowsAwayFromTheLuminaire) {
    {
        Shadow s;  // vertical wall at x = 100 over the whole height
        model::LineRecord l;
        l.x1 = l.x2 = 100;
        l.y1 = 0;
        l.y2 = 120;
        s.sc.plan.lines.add(l);
        s.run();
        EXPECT_TRUE(s.lit(99, 60));
        EXPECT_FALSE(s.lit(100, 60));  // on the wall line
        EXPECT_FALSE(s.lit(101, 60));
        EXPECT_FALSE(s.lit(150, 10));
        EXPECT_TRUE(s.lit(20, 110));
    }
    {
        Shadow s;  // round pillar east of the luminaire
        model::HasiraRecord p{model::kCylindricalPillar, 100, 60, 8, 0};
        s.sc.plan.hasira.add(p);
        s.run();
        EXPECT_FALSE(s.lit(150, 60));
        EXPECT_FALSE(s.lit(150, 68));
        EXPECT_TRUE(s.lit(150, 90));
        EXPECT_TRUE(s.lit(80, 60));  // between luminaire and pillar
    }
    {
        Shadow s;  // square pillar south of the luminaire
        model::HasiraRecord p{model::kSquarePillar, 60, 90, 6, 0};
        s.sc.plan.hasira.add(p);
        s.run();
        EXPECT_FALSE(s.lit(60, 110));
        EXPECT_TRUE(s.lit(100, 110));
        EXPECT_TRUE(s.lit(60, 80));
    }
    {
        Shadow s;  // the upper half of a circle of radius 30 round the luminaire
        model::LineRecord a;
        a.kind = 'A';
        a.x3 = 30, a.y3 = 30, a.x4 = 90, a.y4 = 90;
        a.x1 = 90, a.y1 = 60, a.x2 = 30, a.y2 = 60;
        s.sc.plan.lines.add(a);
        s.run();
        EXPECT_FALSE(s.lit(60, 10));
        EXPECT_FALSE(s.lit(110, 20));
        EXPECT_TRUE(s.lit(60, 110));
        EXPECT_TRUE(s.lit(60, 40));  // inside the arc
    }
}

TEST(FastPass, VerticalLinearLuminaireIsTheHorizontalPatternTurnedByNinetyDegrees) {
    Shadow flat(161, 161), turned(161, 161);
    for (Shadow* s : {&flat, &turned}) {
        s->sc.touroku[20] = testing::linearType(1500);
        s->sc.plan.kigu[1] = model::KiguRecord{80, 80, 0, 20, s == &turned ? 90 : 0, 80, 80, 0};
        s->run();
    }
    for (int r = 0; r <= 160; r += 7) {
        for (int c = 0; c <= 160; c += 5) ASSERT_EQ(flat.grid.luxAt(c, r), turned.grid.luxAt(r, c)) << c << "," << r;
    }
    EXPECT_NE(flat.grid.luxAt(130, 80), flat.grid.luxAt(80, 130));  // not round: the turn is visible
}

TEST(FastPass, TypeTableIsRebuiltWheneverTheHeightOffsetChangesInIndexOrder) {
    Scene sc;
    sc.touroku[2] = testing::cosineType(400, 1.0);
    sc.touroku[5] = testing::cosineType(400, 1.0, 0);  // kou 0: skipped though placed
    const int offsets[] = {500, 0, -200, 500, 500};
    for (int o : offsets) sc.plan.kigu.add(model::KiguRecord{10, 10, o, 2, 0, 10, 10, 0});
    sc.plan.kigu.add(model::KiguRecord{10, 10, 0, 5, 0, 10, 10, 0});
    const auto groups = fixtureGroups(sc.plan, sc.touroku, 3000);
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(groups[0].height, 3000);
    EXPECT_EQ(groups[0].fixtures, std::vector<int>{2});
    EXPECT_EQ(groups[1].height, 3500);
    EXPECT_EQ(groups[1].fixtures, std::vector<int>{1});
    EXPECT_EQ(groups[2].height, 2800);
    EXPECT_EQ(groups[3].height, 3500);
    EXPECT_EQ(groups[3].fixtures, (std::vector<int>{4, 5}));
    EXPECT_TRUE(groups[1].ownHeight && !groups[0].ownHeight);
}

struct CountingProgress : PassProgress {
    int steps = 0;
    int cancelAt = 0;
    bool step() override { return ++steps == cancelAt; }
};

TEST(FastPass, ProgressStepsOncePerFixtureAndStopsAtCancel) {
    Scene sc = testing::randomScene(7);
    int calculated = 0;
    for (const auto& g : fixtureGroups(sc.plan, sc.touroku, sc.tenDaka)) calculated += static_cast<int>(g.fixtures.size());
    IlluminanceGrid grid = freshGrid(sc.width, sc.height);
    CountingProgress all;
    EXPECT_EQ(runFixturePass(sc.plan, sc.touroku, sc.tenDaka, settingsFor(sc.plan, 2), grid, 2, &all), PassResult::Completed);
    EXPECT_EQ(all.steps, calculated);
    CountingProgress cancel;
    cancel.cancelAt = 1;
    EXPECT_EQ(runFixturePass(sc.plan, sc.touroku, sc.tenDaka, settingsFor(sc.plan, 2), grid, 2, &cancel), PassResult::Cancelled);
    EXPECT_EQ(cancel.steps, 1);
}

TEST(FastPass, HostilePlansStayInsideTheArrays) {
    Scene sc = planOn(50, 40, 10, 2000000000);
    sc.touroku[1] = testing::cosineType(400, 1.0, 2000000000, 2000000000, 2000000000);
    sc.touroku[1].sizeX = 2000000000;
    sc.touroku[1].sizeY = 2000000000;
    sc.touroku[2] = testing::linearType(2000000000);
    for (auto [x, y] : {std::pair{-2000000000, 5}, {2000000000, -2000000000}, {25, 20}, {-5, -5}, {60, 45}}) {
        sc.plan.kigu.add(model::KiguRecord{x, y, 0, 1, 0, x, y, 0});
        sc.plan.kigu.add(model::KiguRecord{x, y, -2000000000, 2, 90, x, y, 0});
        sc.plan.kigu.add(model::KiguRecord{x, y, 2000000000, 2, 90, x, y, 0});
    }
    sc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 2000000000, -2000000000, 2000000000, 0});
    sc.plan.hasira.add(model::HasiraRecord{model::kCylindricalPillar, -2000000000, 20, 2000000000, 0});
    model::LineRecord arc;
    arc.kind = 'A';
    arc.x3 = -2000000000;
    arc.x4 = 2000000000;
    sc.plan.lines.add(arc);
    model::LineRecord wall;
    wall.x1 = -2000000000;
    wall.x2 = 2000000000;
    wall.y1 = wall.y2 = 10;
    sc.plan.lines.add(wall);
    model::normaliseAllLines(sc.plan);
    for (int step = 1; step <= 7; step += 3) {
        IlluminanceGrid grid = freshGrid(sc.width, sc.height), fanned = freshGrid(sc.width, sc.height);
        EXPECT_EQ(runFixturePass(sc.plan, sc.touroku, 3000, settingsFor(sc.plan, step), grid, 2, nullptr), PassResult::Completed);
        forceWallFan(true);
        EXPECT_EQ(runFixturePass(sc.plan, sc.touroku, 3000, settingsFor(sc.plan, step), fanned, 2, nullptr), PassResult::Completed);
        forceWallFan(false);
        EXPECT_EQ(differingPoints(grid, fanned), 0) << "step " << step;
    }
}

} // namespace
} // namespace calc

