// Tests of the display steps a calculation hands over: the three result displays, legends, cancel and pictures.
#include "view/ResultDisplay.h"

#include "ViewTestSupport.h"
#include "view/PlanRender.h"
#include "ui/qt/HeadlessServices.h"
#include "ui/qt/QtSurface.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;
using ui::testing::FakeServices;
using ui::testing::RecordingSurface;
using viewtest::addWall;

namespace {

using Scene = viewtest::ResultScene;

// A scene drawn on a recording surface with scripted services.
struct Recorded : Scene {
    RecordingSurface surface{60, 40};
    FakeServices services;
    view::ResultDisplay display{doc, grid, stats, settings, contours, surface, services};
    Recorded() : Scene(60, 40) {}
};


} // namespace

TEST(ResultDisplay, ColourMapShowsItsLegendOrOnCancelThePlanAgain) {
    Recorded r;
    addWall(r.doc, 0, 20, 59, 20);
    for (int col = 0; col < 30; ++col) r.lux(col, 5) = 150.0f;
    std::vector<bool> legendStates;
    r.display.hooks.legendChanged = [&](const view::LegendWindow& l) { legendStates.push_back(l.visible); };
    r.display.showResult('B');
    EXPECT_EQ(r.services.progressLog.front(), "show 色の設定|計算結果を表示中|40");
    EXPECT_EQ(r.services.progressLog.back(), "hide");
    EXPECT_EQ(r.surface.pixel(10, 5), r.doc.tables.classColour[3]);
    EXPECT_EQ(r.surface.pixel(40, 5), ui::colors::white);
    EXPECT_EQ(r.surface.opsStartingWith("line"), (std::vector<std::string>{"line 0,20-59,20"}));
    EXPECT_EQ(r.display.legend().kind, view::LegendKind::ColourClasses);
    EXPECT_EQ(r.display.legend().picture->width(), 150);
    EXPECT_EQ(legendStates, std::vector<bool>{true});
    EXPECT_FALSE(r.display.temperatureScale().visible);
    EXPECT_TRUE(r.doc.resultShown && r.doc.menus.print);
    EXPECT_EQ(r.stats.litMaxCol, 29);

    Recorded c;
    c.services.cancelOnProcessEventsCall = 3;
    int redisplays = 0;
    c.display.hooks.redisplayPlan = [&] { ++redisplays; };
    EXPECT_FALSE(c.display.paintColourMap());
    EXPECT_EQ(redisplays, 1);
    EXPECT_EQ(c.services.progressLog.back(), "hide");
    EXPECT_FALSE(c.display.legend().visible || c.doc.resultShown || c.doc.menus.print);
}

TEST(ResultDisplay, ContourDisplayRebuildsDrawsWallsBoldOverTheLinesAndShowsItsLegend) {
    Recorded r;
    addWall(r.doc, 5, 5, 50, 5);
    int builds = 0;
    r.display.hooks.buildContours = [&] {
        ++builds;
        r.contours.levels = {10, 20, 50, 100, 200, 400};
        r.contours.points.assign(6, {});
        r.contours.points[2] = {calc::kLineStart, {1, 30}, {20, 30}, calc::kLineEnd};
    };
    r.display.showResult('T');
    EXPECT_EQ(builds, 1) << "built once; the fresh set is not stale";
    const auto& ops = r.surface.ops;
    const auto contour = std::find(ops.begin(), ops.end(), "line 1,30-20,30");
    const auto boldPen = std::find(ops.begin(), ops.end(), "pen (0,0,0) w2");
    const auto wall = std::find(ops.begin(), ops.end(), "line 5,5-50,5");
    EXPECT_TRUE(contour < boldPen && boldPen < wall && wall != ops.end());
    EXPECT_EQ(r.surface.pen().width, 1);
    EXPECT_EQ(r.display.legend().kind, view::LegendKind::ContourLevels);
    EXPECT_EQ(r.display.legend().picture->width(), 80);
    EXPECT_TRUE(r.doc.resultShown);
}

TEST(ResultDisplay, ColourTemperatureRedrawsTickedFixturesAndShowsTheBarLegend) {
    Recorded r;
    r.settings.showFixturesOnResult = true;
    r.doc.plan.kigu.add(model::KiguRecord{30, 30, 0, 1, 0, 0, 0, 0});
    r.lux(3, 3) = 100.0f;
    r.grid.ctSum[r.grid.index(3, 3)] = 5000.0f;
    int rangeHidden = 0;
    r.display.hooks.hideRangeDialog = [&] { ++rangeHidden; };
    r.display.showResult('C');
    EXPECT_EQ(r.services.progressLog.front(), "show 色温度の設定|計算結果を表示中|41");
    EXPECT_EQ(r.surface.pixel(3, 3), r.doc.tables.ctColour[50]);
    EXPECT_EQ(r.surface.opsStartingWith("ellipse").size(), 2u) << "once under the map, once over it";
    EXPECT_EQ(r.display.legend().kind, view::LegendKind::ColourTemperature);
    EXPECT_EQ(r.display.legend().picture->width(), 170);
    EXPECT_EQ(rangeHidden, 1);
}

TEST(ResultDisplay, CalculationStepsHideLegendsAndRedrawWalls) {
    Recorded r;
    addWall(r.doc, 1, 2, 3, 4);
    ASSERT_TRUE(r.display.temperatureScale().picture) << "the scale picture is ready once the colours are";
    r.display.showLegend(view::LegendKind::ColourClasses);
    r.display.hideLegends();
    EXPECT_FALSE(r.display.legend().visible || r.display.temperatureScale().visible);
    r.surface.ops.clear();
    r.doc.resultShown = true;
    r.display.clearAndDrawWalls(2);
    EXPECT_EQ(r.surface.opsStartingWith("rect")[0], "rect 0,0-60,40");
    EXPECT_EQ(r.surface.opsStartingWith("pen")[2], "pen (0,0,0) w2");
    EXPECT_EQ(r.surface.opsStartingWith("line"), (std::vector<std::string>{"line 1,2-3,4"}));
    EXPECT_EQ(r.surface.pen().width, 1);
    EXPECT_FALSE(r.doc.resultShown);
}

TEST(ResultDisplay, WallsArcsAndPillarsAreBlackOnTheWipedSurfaceTheInterpolationReadsBack) {
    Scene sc(100, 100);
    addWall(sc.doc, 10, 90, 90, 90);
    model::LineRecord arc;  // upper half of the circle of radius 20 about (50, 50), counter-clockwise from east
    arc.kind = 'A';
    arc.x1 = 70, arc.y1 = 50, arc.x2 = 30, arc.y2 = 50;
    arc.x3 = 30, arc.y3 = 30, arc.x4 = 70, arc.y4 = 70;
    sc.doc.plan.lines.add(arc);
    sc.doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 15, 15, 5, 0});
    ui::qt::ImageSurface surface(100, 100);
    surface.fillRect(ui::Rect{0, 0, 100, 100}, ui::colors::red);
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    display.clearAndDrawWalls(1);
    EXPECT_EQ(surface.pixel(50, 90), ui::colors::black);
    EXPECT_EQ(surface.pixel(50, 89), ui::colors::white);
    EXPECT_EQ(surface.pixel(50, 30), ui::colors::black);  // the arc's top
    EXPECT_EQ(surface.pixel(50, 69), ui::colors::white);  // the open bottom
    EXPECT_EQ(surface.pixel(50, 70), ui::colors::white);
    EXPECT_EQ(surface.pixel(10, 15), ui::colors::black);  // the pillar's outline
    EXPECT_EQ(surface.pixel(15, 15), ui::colors::white);
    EXPECT_EQ(surface.pixel(2, 2), ui::colors::white);
    display.showResult('B');
    EXPECT_TRUE(sc.doc.resultShown);
    display.redisplayPlan();
    EXPECT_FALSE(sc.doc.resultShown);
    EXPECT_EQ(surface.pixel(50, 30), ui::colors::black) << "the plan is drawn again";
}

TEST(ResultDisplay, RedisplayChoosesLevelsAgainAndContoursDrawOverOrAfresh) {
    Recorded r;
    r.lux(4, 4) = 30.0f;
    int chosen = 0, builds = 0;
    r.display.hooks.chooseLevels = [&] {
        ++chosen;
        r.doc.tables.luxLevel = {0, 5, 10, 20, 50, 100, 200};
    };
    r.display.hooks.buildContours = [&] {
        ++builds;
        r.contours.levels.assign(r.doc.tables.luxLevel.begin() + 1, r.doc.tables.luxLevel.end());
        r.contours.points.assign(6, {});
    };
    ASSERT_TRUE(r.display.redisplayColourMap());
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(r.surface.pixel(4, 4), r.doc.tables.classColour[2]) << "30 lx is class 2 under the new levels";
    r.surface.ops.clear();
    r.display.redisplayContours(true);
    EXPECT_EQ(builds, 1) << "the set traced for other levels is traced again";
    EXPECT_TRUE(r.surface.opsStartingWith("rect 0,0-60,40").empty()) << "drawn over the current picture";
    r.surface.ops.clear();
    r.display.redisplayContours(false);
    EXPECT_EQ(r.surface.opsStartingWith("rect 0,0-60,40").size(), 1u);
    EXPECT_EQ(r.doc.displayKind, 'T');
}

TEST(PlanPicture, ContourLinesLieOnTheirLevelsRadiiAroundAPointSource) {
    // One point source at (150, 100): E(r) = K·h / (r² + h²)^1.5, so level L lies on r_L = sqrt((K·h / L)^(2/3) − h²).
    const double K = 1.5e6, h = 60.0;
    auto radius = [&](double level) { return std::sqrt(std::pow(K * h / level, 2.0 / 3.0) - h * h); };
    Scene sc(300, 200);
    addWall(sc.doc, 10, 190, 290, 190);
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    ui::qt::ImageSurface surface(300, 200);
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    display.mainWindow.width = 1000;  // the legend stays off this small plan
    display.hooks.buildContours = [&] {
        sc.contours.clear();
        for (int i = 1; i <= 6; ++i) {
            const double level = sc.doc.tables.luxLevel[static_cast<std::size_t>(i)];
            sc.contours.levels.push_back(static_cast<float>(level));
            std::vector<calc::ContourPoint> line{calc::kLineStart};
            for (int k = 0; k <= 720 && level < K / (h * h); ++k) {
                const double a = k * M_PI / 360.0, r = radius(level);
                line.push_back({static_cast<float>(150 + r * std::cos(a)), static_cast<float>(100 + r * std::sin(a))});
            }
            line.push_back(calc::kLineEnd);
            sc.contours.points.push_back(line);
        }
    };
    display.showResult('T');
    const QImage& img = *surface.image();
    img.save(QString::fromStdString((fs::temp_directory_path() / "ordivan_view_contours.png").string()));
    auto blackNear = [&](double x, double y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (qRed(img.pixel(static_cast<int>(x) + dx, static_cast<int>(y) + dy)) < 60) return true;
        return false;
    };
    int circles = 0;
    for (int i = 1; i <= 6; ++i) {
        const double r = radius(sc.doc.tables.luxLevel[static_cast<std::size_t>(i)]);
        if (!(r > 5 && r < 85)) continue;  // the circles that fit inside the plan
        int onLine = 0, beside = 0;
        for (int k = 0; k < 90; ++k) {
            const double a = k * 2 * M_PI / 90;
            onLine += blackNear(150 + r * std::cos(a), 100 + r * std::sin(a));
            beside += blackNear(150 + (r - 4) * std::cos(a), 100 + (r - 4) * std::sin(a));
        }
        EXPECT_GE(onLine, 81) << "level " << i;
        EXPECT_LE(beside, 18) << "only labels stand beside the line, level " << i;
        ++circles;
    }
    EXPECT_GE(circles, 3);
    int wallRows = 0;
    for (int y = 187; y <= 193; ++y) wallRows += qRed(img.pixel(150, y)) < 60;
    EXPECT_EQ(wallRows, 2) << "walls drawn two pixels wide";
}
