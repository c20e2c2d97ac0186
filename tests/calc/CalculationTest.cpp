// The calculation's progress protocol and result, the interpolation across and along walls, levels and result statistics.
#include "base/Text.h"
#include "calc/Calculation.h"
#include "calc/Scenes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace calc {
namespace {

void setLadder(model::Document& doc) {
    doc.tables.levelLadder = {5,     10,     20,     50,     100,     200,     400,     600,     800,
                              1000,  1200,   1500,   2000,   2500,    3000,    5000,    10000,   20000,
                              50000, 100000, 200000, 500000, 1000000, 2000000, 5000000, 10000000};
    doc.tables.luxLevel = {0, 10, 20, 50, 100, 200, 400};
}

std::vector<int> levelsOf(const LuxLevels& levels) { return {levels.begin() + 1, levels.end()}; }

TEST(Levels, AutomaticLevelsAreSixLadderValuesBelowTheMaximum) {
    model::Document doc;
    setLadder(doc);
    EXPECT_EQ(levelsOf(chooseLevels(doc, 350)), (std::vector<int>{5, 10, 20, 50, 100, 200}));
    EXPECT_EQ(levelsOf(chooseLevels(doc, 750)), (std::vector<int>{20, 50, 100, 200, 400, 600}));
    EXPECT_EQ(levelsOf(chooseLevels(doc, 800)), (std::vector<int>{20, 50, 100, 200, 400, 600}));
    EXPECT_EQ(levelsOf(chooseLevels(doc, 801)), (std::vector<int>{50, 100, 200, 400, 600, 800}));
    EXPECT_EQ(levelsOf(chooseLevels(doc, 0)), (std::vector<int>{5, 10, 20, 50, 100, 200}));
    EXPECT_EQ(levelsOf(chooseLevels(doc, 2147483647)), (std::vector<int>{200000, 500000, 1000000, 2000000, 5000000, 10000000}));
    doc.rangeMode = true;
    doc.tables.userLevel = {0, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(levelsOf(chooseLevels(doc, 801)), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(levelsOf(doc.tables.luxLevel), (std::vector<int>{10, 20, 50, 100, 200, 400})) << "the document is only read";
}

TEST(Statistics, AverageOfLitPointsAndLitExtentAboveTheLowestLevel) {
    IlluminanceGrid g;
    g.allocate(20, 10);
    g.reset();
    EXPECT_EQ(averageLux(g), 0);  // nothing above 0.2 lx: no division by zero
    g.lux[g.index(3, 4)] = 10.7f;  // truncates to the level: not lit
    g.lux[g.index(5, 6)] = 11.0f;
    g.lux[g.index(20, 2)] = 300.0f;  // last column of the surface counts
    g.lux[g.index(7, 10)] = 900.0f;  // last grid row is outside the surface
    EXPECT_EQ(averageLux(g), static_cast<int>((10.7f * 0.01f + 11.0f * 0.01f + 300.0f * 0.01f + 900.0f * 0.01f) / 4 * 100));
    ResultStats st;
    computeLitExtent(g, 20, 10, 10, st);
    EXPECT_EQ(st.litMinCol, 5);
    EXPECT_EQ(st.litMaxCol, 20);
    EXPECT_EQ(st.litMinRow, 2);
    EXPECT_EQ(st.litMaxRow, 6);
}

// The progress window as a log, in the platform's words; cancels on the n-th pump when asked.
struct LoggedProgress : CalcProgress {
    std::vector<std::string> log;
    int cancelOnCall = 0, calls = 0;
    void progressShow(const std::string& caption, const std::string& text, int maximum) override {
        log.push_back("show " + caption + "|" + text + "|" + std::to_string(maximum));
    }
    void progressSet(int position) override { log.push_back("set " + std::to_string(position)); }
    bool processEvents() override { return cancelOnCall > 0 && ++calls >= cancelOnCall; }
    void progressHide() override { log.push_back("hide"); }
};

struct CalcRun {
    model::Document doc;
    catalog::TourokuTable touroku;
    CalcSettings settings;
    WallMask walls;
    LoggedProgress progress;
    IlluminanceGrid grid;
    ResultStats stats;
    LuxLevels levels{};
    CalcContext ctx{doc, settings, walls, progress, grid, stats, levels};

    CalcRun() {
        setLadder(doc);
        doc.surfaceWidth = 120;
        doc.surfaceHeight = 80;
        doc.extent = {0, 120, 0, 80};
        doc.plan.mmPerPixel = 25;
        doc.plan.scaleDenominator = 100;
        touroku[1] = testing::cosineType(500, 1.0, 3000);
        touroku[2] = testing::cosineType(300, 2.0, 2000, 1, 5000);
        doc.plan.kigu.add(model::KiguRecord{30, 40, 0, 1, 0, 30, 40, 0});
        doc.plan.kigu.add(model::KiguRecord{90, 40, 0, 2, 0, 90, 40, 0});
        doc.plan.kigu.add(model::KiguRecord{60, 20, 400, 1, 0, 60, 20, 0});
        walls.allocate(120, 80);
    }
    void wallAt(int x, int y) { walls.wall[static_cast<std::size_t>(y * walls.width + x)] = 1; }
    CalcResult calculate() { return calc::calculate(CalcInput{doc, touroku, settings, walls, progress, doc.tenDakaLabel, 2}); }
    float lux(int c, int r) const { return grid.lux[grid.index(c, r)]; }
};

TEST(Calculate, FullRunDrivesTheProgressWindowAndReturnsGridStatisticsAndLevels) {
    CalcRun run;
    run.settings.calcStep = 1;
    for (int y = 0; y < 80; ++y) run.wallAt(60, y);
    const model::Document before = run.doc;
    const CalcResult r = run.calculate();
    ASSERT_EQ(r.outcome, CalcOutcome::Done);
    const auto& log = run.progress.log;
    ASSERT_GE(log.size(), 7u);
    EXPECT_EQ(log[0], "show 照度の計算|照度を計算中|3");
    EXPECT_EQ(log[1], "set 0");
    EXPECT_EQ(log[2], "set 1");
    EXPECT_EQ(log[4], "set 3");
    EXPECT_EQ(log[5], "hide");
    EXPECT_EQ(log[6], "show 照度の補間|照度を補間中|8");
    EXPECT_EQ(log.back(), "hide");
    auto lux = [&](int c, int r2) { return r.grid.lux[r.grid.index(c, r2)]; };
    // The pixels under the mask's wall are 0 lx, their neighbours lit.
    EXPECT_EQ(lux(60, 40), 0.0f);
    EXPECT_GT(lux(59, 40), 1.0f);
    EXPECT_EQ(r.grid.gridWidth, 121);
    EXPECT_GT(r.stats.maxLux, 100);
    EXPECT_EQ(r.stats.averageLux, averageLux(r.grid));
    EXPECT_GT(r.stats.averageLux, 0);
    EXPECT_LE(r.stats.litMinCol, 30);
    EXPECT_EQ(r.levels, chooseLevels(run.doc, r.stats.maxLux));
    // Kelvin weighted by illuminance: nearer the 3000 K luminaire, nearer 3000 K.
    const float west = r.grid.ctSum[r.grid.index(2, 40)];
    const float east = r.grid.ctSum[r.grid.index(118, 40)];
    EXPECT_GT(west, 3000.0f);
    EXPECT_LT(west, east);
    EXPECT_LT(east, 5000.0f);
    // Showing the result is the presenter's: the calculation is not given the window, and no flag or level changes here.
    EXPECT_FALSE(run.doc.resultValid);
    EXPECT_EQ(run.doc.tables.luxLevel, before.tables.luxLevel);
}

TEST(Calculate, ColourTemperatureHasItsOwnCaptionAndKelvinEverywhere) {
    CalcRun run;
    run.doc.displayKind = 'C';
    run.touroku[2].colorTemp = 3000;
    const CalcResult r = run.calculate();
    ASSERT_EQ(r.outcome, CalcOutcome::Done);
    EXPECT_NEAR(r.grid.ctSum[r.grid.index(2, 40)], 3000.0f, 0.5f);  // every lamp 3000 K
    EXPECT_NEAR(r.grid.ctSum[r.grid.index(100, 77)], 3000.0f, 0.5f);
    EXPECT_EQ(run.progress.log.front(), "show 色温度の計算|色温度を計算中|3");
}

TEST(Calculate, CancelAfterTheFirstFixtureEndsWithTheProgressWindowHidden) {
    CalcRun run;
    run.progress.cancelOnCall = 2;  // the first is the pump right after showing the window
    EXPECT_EQ(run.calculate().outcome, CalcOutcome::Cancelled);
    EXPECT_EQ(run.progress.log.back(), "hide");
    EXPECT_EQ(std::count(run.progress.log.begin(), run.progress.log.end(), "show 照度の補間|照度を補間中|8"), 0)
        << "no interpolation after a cancel";
}

TEST(Calculate, HeightLabelThatIsNotANumberAbortsWithTheConversionError) {
    CalcRun run;
    run.doc.tenDakaLabel = "3O00";
    EXPECT_THROW(run.calculate(), base::ConversionError);
    EXPECT_EQ(run.progress.log.back(), "hide");
}

// A grid whose computed points hold a plane lux = 100 + col + row and colour sums for 4000 K (the
// luminaires added all but the grid's starting 0.01 lx).
struct Plane {
    CalcRun run;
    explicit Plane(int step) {
        run.settings.calcStep = step;
        run.grid.allocate(30, 30);
        run.grid.reset();
        for (int r = 0; r <= 30; r += step) {
            for (int c = 0; c <= 30; c += step) {
                run.grid.lux[run.grid.index(c, r)] = static_cast<float>(100 + c + r);
                run.grid.ctSum[run.grid.index(c, r)] = (static_cast<float>(100 + c + r) - 0.01f) * 4.0f;
            }
        }
        run.doc.extent = {0, 30, 0, 30};
        run.doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 25, 25, 2, 0});
        run.walls.allocate(31, 31);
    }
    float lux(int c, int r) const { return run.lux(c, r); }
};

TEST(Interpolation, FillsSkippedPointsAlongStraightLinesAndConvertsColourSumsToKelvin) {
    Plane p(3);
    interpolateGrid(p.run.ctx);
    EXPECT_EQ(p.run.stats.maxLux, 160);  // taken before the square pillar clears 23..26 × 23..26
    EXPECT_EQ(p.lux(24, 24), 0.0f);  // computed points inside the pillar stay cleared
    EXPECT_EQ(p.run.grid.ctSum[p.run.grid.index(24, 24)], 0.0f);
    EXPECT_FLOAT_EQ(p.lux(4, 7), 111.0f);
    EXPECT_FLOAT_EQ(p.lux(10, 2), 112.0f);
    EXPECT_FLOAT_EQ(p.run.grid.ctSum[p.run.grid.index(4, 7)], 4000.0f);
    EXPECT_EQ(p.run.levels[6], 200);
}

TEST(Interpolation, LengthThatIsAMultipleOfTheStepLeavesNoUnfilledStripe) {
    CalcRun run;
    run.settings.calcStep = 3;
    run.grid.allocate(29, 29);  // 30 grid points each way
    run.grid.reset();
    for (int r = 0; r < 30; r += 3) {
        for (int c = 0; c < 30; c += 3) run.grid.lux[run.grid.index(c, r)] = static_cast<float>(100 + c + r);
    }
    run.doc.extent = {0, 29, 0, 29};
    interpolateGrid(run.ctx);
    // Every point of the plane, except the last rows between computed columns, which no pass reaches.
    // Past the last computed point (27) the rising slope is not carried on beyond the computed values.
    for (int r = 0; r < 30; ++r) {
        for (int c = 0; c < 30; ++c) {
            if (r >= 27 && c % 3 != 0) continue;
            EXPECT_NEAR(run.lux(c, r), static_cast<float>(100 + std::min(c, 27) + std::min(r, 27)), 1e-3) << c << "," << r;
        }
    }
}

TEST(Interpolation, WallPixelSplitsASegmentAndEachSideContinuesItsNeighbour) {
    Plane p(3);
    p.run.wallAt(6, 11);  // two rows below computed row 9
    interpolateGrid(p.run.ctx);
    EXPECT_FLOAT_EQ(p.lux(6, 10), 116.0f);  // slope of the segment above
    EXPECT_EQ(p.lux(6, 11), 0.0f);
    EXPECT_EQ(p.run.grid.ctSum[p.run.grid.index(6, 11)], 0.0f);
    EXPECT_FLOAT_EQ(p.lux(6, 12), 118.0f);
    // Near the extent border there is no wall search: interpolated straight through.
    Plane q(3);
    q.run.wallAt(0, 5);
    interpolateGrid(q.run.ctx);
    EXPECT_FLOAT_EQ(q.lux(0, 5), 105.0f);
}

TEST(Interpolation, NearTheBorderNoLightCrossesAWallToAnUnlitPoint) {
    // A wall at x = 3 along the left border: column 0 beyond it is unlit, column 7 lit. Without a wall
    // search there, the straight fill used to paint the points beyond the wall with a fraction of the light.
    Plane p(7);
    for (int r = 0; r <= 30; r += 7) {
        p.run.grid.lux[p.run.grid.index(0, r)] = 0.01f;
        p.run.grid.ctSum[p.run.grid.index(0, r)] = 0.0f;
    }
    for (int r = 0; r <= 30; ++r) p.run.wallAt(3, r);
    p.run.doc.extent = {1, 30, 0, 30};
    interpolateGrid(p.run.ctx);
    for (int r = 0; r < 24; ++r) {  // the rows the horizontal pass reaches
        EXPECT_FLOAT_EQ(p.lux(1, r), 0.01f) << r;
        EXPECT_FLOAT_EQ(p.lux(2, r), 0.01f) << r;
        EXPECT_EQ(p.lux(3, r), 0.0f) << r;
        EXPECT_EQ(p.run.grid.ctSum[p.run.grid.index(2, r)], 0.0f) << r;
        // The lit side keeps the straight fill from the unlit end.
        const float lit = p.lux(7, r);
        EXPECT_FLOAT_EQ(p.lux(5, r), 0.01f + (lit - 0.01f) / 7 * 5) << r;
    }
    // A lit point on the wall line itself does not carry its light beyond the wall either.
    Plane q(3);
    for (int r = 0; r <= 30; r += 3) q.run.grid.lux[q.run.grid.index(0, r)] = 0.01f;
    for (int r = 0; r <= 30; ++r) q.run.wallAt(3, r);
    q.run.doc.extent = {2, 30, 0, 30};
    interpolateGrid(q.run.ctx);
    EXPECT_FLOAT_EQ(q.lux(1, 10), 0.01f);
    EXPECT_FLOAT_EQ(q.lux(2, 10), 0.01f);
}

TEST(Interpolation, AtStepOneEveryBlackPixelInsideTheExtentBecomesZero) {
    Plane p(1);
    p.run.wallAt(8, 9);
    p.run.wallAt(29, 29);
    p.run.doc.extent = {0, 20, 0, 20};
    interpolateGrid(p.run.ctx);
    EXPECT_EQ(p.lux(8, 9), 0.0f);
    EXPECT_EQ(p.lux(29, 29), 158.0f);  // outside the extent
    EXPECT_EQ(p.lux(8, 10), 118.0f);
}

} // namespace
} // namespace calc
