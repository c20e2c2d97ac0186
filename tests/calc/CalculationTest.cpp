// The calculation driver's protocol, the interpolation across and along walls, levels and result statistics.
#include "base/Text.h"
#include "calc/Calculation.h"
#include "calc/Scenes.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace calc {
namespace {

using ui::testing::FakeServices;
using ui::testing::RecordingSurface;

void setLadder(model::Document& doc) {
    doc.tables.levelLadder = {5,     10,     20,     50,     100,     200,     400,     600,     800,
                              1000,  1200,   1500,   2000,   2500,    3000,    5000,    10000,   20000,
                              50000, 100000, 200000, 500000, 1000000, 2000000, 5000000, 10000000};
    doc.tables.luxLevel = {0, 10, 20, 50, 100, 200, 400};
}

std::vector<int> levelsOf(const model::Document& doc) { return {doc.tables.luxLevel.begin() + 1, doc.tables.luxLevel.end()}; }

TEST(Levels, AutomaticLevelsAreSixLadderValuesBelowTheMaximum) {
    model::Document doc;
    setLadder(doc);
    chooseLevels(doc, 350);
    EXPECT_EQ(levelsOf(doc), (std::vector<int>{5, 10, 20, 50, 100, 200}));
    chooseLevels(doc, 750);
    EXPECT_EQ(levelsOf(doc), (std::vector<int>{20, 50, 100, 200, 400, 600}));
    chooseLevels(doc, 800);
    EXPECT_EQ(levelsOf(doc), (std::vector<int>{20, 50, 100, 200, 400, 600}));
    chooseLevels(doc, 801);
    EXPECT_EQ(levelsOf(doc), (std::vector<int>{50, 100, 200, 400, 600, 800}));
    chooseLevels(doc, 0);
    EXPECT_EQ(levelsOf(doc), (std::vector<int>{5, 10, 20, 50, 100, 200}));
    chooseLevels(doc, 2147483647);
    EXPECT_EQ(levelsOf(doc), (std::vector<int>{200000, 500000, 1000000, 2000000, 5000000, 10000000}));
    doc.rangeMode = true;
    doc.tables.userLevel = {0, 1, 2, 3, 4, 5, 6};
    chooseLevels(doc, 801);
    EXPECT_EQ(levelsOf(doc), (std::vector<int>{1, 2, 3, 4, 5, 6}));
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

// A display that records the steps and draws one vertical wall as black pixels.
struct FakeDisplay : CalcDisplay {
    std::vector<std::string> calls;
    ui::Surface* surface = nullptr;
    int wallX = -1;
    void hideLegends() override { calls.push_back("hideLegends"); }
    void clearAndDrawWalls(int penWidth) override {
        calls.push_back("walls " + std::to_string(penWidth));
        if (wallX >= 0) {
            for (int y = 0; y < surface->height(); ++y) surface->setPixel(wallX, y, ui::colors::black);
        }
    }
    void showResult(char kind) override { calls.push_back(std::string("show ") + kind); }
    void drawFixturesOnResult() override { calls.push_back("fixtures"); }
    void redisplayPlan() override { calls.push_back("redisplay"); }
    void hideRegistrationWindow() override { calls.push_back("hideRegistration"); }
};

struct CalcRun {
    model::Document doc;
    catalog::TourokuTable touroku;
    IlluminanceGrid grid;
    ResultStats stats;
    CalcSettings settings;
    ContourSet contours;
    RecordingSurface surface{120, 80};
    FakeServices services;
    FakeDisplay display;
    CalcContext ctx{doc, touroku, grid, stats, settings, contours, surface, services, display, 2};

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
        display.surface = &surface;
    }
    float lux(int c, int r) const { return grid.lux[grid.index(c, r)]; }
};

TEST(Driver, FullRunShowsProgressFillsTheGridAndWritesTheResultTexts) {
    CalcRun run;
    run.settings.calcStep = 1;
    run.display.wallX = 60;
    ASSERT_EQ(runCalculation(run.ctx), CalcOutcome::Shown);
    const auto& log = run.services.progressLog;
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(log[0], "show 照度の計算|照度を計算中|3");
    EXPECT_EQ(log[1], "set 0");
    EXPECT_EQ(log[2], "set 1");
    EXPECT_EQ(log[4], "set 3");
    EXPECT_EQ(log[5], "hide");
    EXPECT_EQ(log[6], "show 照度の補間|照度を補間中|8");
    EXPECT_EQ(log.back(), "hide");
    EXPECT_EQ(run.display.calls, (std::vector<std::string>{"hideLegends", "walls 1", "show B", "hideRegistration"}));
    // The wall pixels drawn before the interpolation are read back as 0 lx.
    EXPECT_EQ(run.lux(60, 40), 0.0f);
    EXPECT_GT(run.lux(59, 40), 1.0f);
    EXPECT_TRUE(run.doc.resultValid);
    EXPECT_TRUE(run.doc.menus.csvOutput && run.doc.menus.dxfSaveResult && run.doc.menus.print);
    EXPECT_TRUE(run.doc.menus.redisplayLux && run.doc.menus.redisplayColorTemp);
    EXPECT_FALSE(run.doc.menus.gridPrint);
    EXPECT_EQ(run.doc.bikouLabel, "図面入力に戻るには \"再表示\"");
    EXPECT_EQ(run.doc.maxLuxLabel, "最大照度 : " + base::formatInt(run.stats.maxLux) + " Lx");
    EXPECT_GT(run.stats.maxLux, 100);
    EXPECT_GT(run.stats.averageLux, 0);
    EXPECT_LE(run.stats.litMinCol, 30);
    const auto texts = run.surface.opsStartingWith("text ");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "text 13,8 平均照度：" + base::formatInt(run.stats.averageLux) + " Lx");
    EXPECT_EQ(texts[1], "text 13,23 最高照度：" + base::formatInt(run.stats.maxLux) + " Lx");
    // Kelvin weighted by illuminance: nearer the 3000 K luminaire, nearer 3000 K.
    const float west = run.grid.ctSum[run.grid.index(2, 40)];
    const float east = run.grid.ctSum[run.grid.index(118, 40)];
    EXPECT_GT(west, 3000.0f);
    EXPECT_LT(west, east);
    EXPECT_LT(east, 5000.0f);
}

TEST(Driver, ColourTemperatureCaptionsFixturePlotAndRedisplayOfAValidResult) {
    CalcRun run;
    run.doc.displayKind = 'C';
    run.settings.showFixturesOnResult = true;
    run.touroku[2].colorTemp = 3000;
    ASSERT_EQ(runCalculation(run.ctx), CalcOutcome::Shown);
    EXPECT_NEAR(run.grid.ctSum[run.grid.index(2, 40)], 3000.0f, 0.5f);  // every lamp 3000 K
    EXPECT_NEAR(run.grid.ctSum[run.grid.index(100, 77)], 3000.0f, 0.5f);
    EXPECT_EQ(run.services.progressLog.front(), "show 色温度の計算|色温度を計算中|3");
    EXPECT_EQ(run.display.calls, (std::vector<std::string>{"hideLegends", "walls 1", "show C", "fixtures", "hideRegistration"}));
    // With the result valid, only the display is redone.
    const std::vector<float> before = run.grid.lux;
    run.services.progressLog.clear();
    run.display.calls.clear();
    run.doc.displayKind = 'T';
    ASSERT_EQ(runCalculation(run.ctx), CalcOutcome::Shown);
    EXPECT_EQ(run.grid.lux, before);
    EXPECT_EQ(run.services.progressLog.front(), "show 照度分布|等高線データを作成中|0");
    EXPECT_EQ(run.display.calls, (std::vector<std::string>{"hideLegends", "show T", "fixtures", "hideRegistration"}));
    EXPECT_EQ(run.contours.levels.size(), 6u);
}

TEST(Driver, CancelAfterTheFirstFixtureLeavesTheResultInvalidAndTheMenusAlone) {
    CalcRun run;
    run.services.cancelOnProcessEventsCall = 2;  // the first is the pump right after showing the window
    ASSERT_EQ(runCalculation(run.ctx), CalcOutcome::Cancelled);
    EXPECT_FALSE(run.doc.resultValid);
    EXPECT_FALSE(run.doc.menus.csvOutput || run.doc.menus.print || run.doc.menus.dxfSaveResult);
    EXPECT_EQ(run.display.calls, (std::vector<std::string>{"hideLegends", "redisplay"}));
    EXPECT_EQ(run.services.progressLog.back(), "hide");
    EXPECT_TRUE(run.surface.opsStartingWith("text").empty());
}

TEST(Driver, HeightLabelThatIsNotANumberAbortsWithTheConversionError) {
    CalcRun run;
    run.doc.tenDakaLabel = "3O00";
    EXPECT_THROW(runCalculation(run.ctx), base::ConversionError);
    EXPECT_EQ(run.services.progressLog.back(), "hide");
    EXPECT_FALSE(run.doc.resultValid);
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
        run.surface.resize(31, 31);
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
    EXPECT_EQ(p.run.doc.tables.luxLevel[6], 200);
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
    for (int r = 0; r < 30; ++r) {
        for (int c = 0; c < 30; ++c) {
            if (r >= 27 && c % 3 != 0) continue;
            EXPECT_NEAR(run.lux(c, r), static_cast<float>(100 + c + r), 1e-3) << c << "," << r;
        }
    }
}

TEST(Interpolation, WallPixelSplitsASegmentAndEachSideContinuesItsNeighbour) {
    Plane p(3);
    p.run.surface.setPixel(6, 11, ui::colors::black);  // two rows below computed row 9
    interpolateGrid(p.run.ctx);
    EXPECT_FLOAT_EQ(p.lux(6, 10), 116.0f);  // slope of the segment above
    EXPECT_EQ(p.lux(6, 11), 0.0f);
    EXPECT_EQ(p.run.grid.ctSum[p.run.grid.index(6, 11)], 0.0f);
    EXPECT_FLOAT_EQ(p.lux(6, 12), 118.0f);
    // Near the extent border there is no wall search: interpolated straight through.
    Plane q(3);
    q.run.surface.setPixel(0, 5, ui::colors::black);
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
    for (int r = 0; r <= 30; ++r) p.run.surface.setPixel(3, r, ui::colors::black);
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
    for (int r = 0; r <= 30; ++r) q.run.surface.setPixel(3, r, ui::colors::black);
    q.run.doc.extent = {2, 30, 0, 30};
    interpolateGrid(q.run.ctx);
    EXPECT_FLOAT_EQ(q.lux(1, 10), 0.01f);
    EXPECT_FLOAT_EQ(q.lux(2, 10), 0.01f);
}

TEST(Interpolation, AtStepOneEveryBlackPixelInsideTheExtentBecomesZero) {
    Plane p(1);
    p.run.surface.setPixel(8, 9, ui::colors::black);
    p.run.surface.setPixel(29, 29, ui::colors::black);
    p.run.doc.extent = {0, 20, 0, 20};
    interpolateGrid(p.run.ctx);
    EXPECT_EQ(p.lux(8, 9), 0.0f);
    EXPECT_EQ(p.lux(29, 29), 158.0f);  // outside the extent
    EXPECT_EQ(p.lux(8, 10), 118.0f);
}

} // namespace
} // namespace calc
