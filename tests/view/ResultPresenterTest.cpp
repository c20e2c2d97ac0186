// Tests of the result presenter: the calculation command from plan to picture, the three result displays, legends, cancel and pictures.
#include "view/ResultPresenter.h"

#include "ViewTestSupport.h"
#include "base/Text.h"
#include "calc/Scenes.h"
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
    view::ResultPresenter display{doc, shown, grid, stats, settings, contours, surface, services};
    Recorded() : Scene(60, 40) {}
};

// Off-screen pictures on the platform's own image, so that wall masks have the screen's pixels.
std::unique_ptr<ui::Surface> imageSurface(int w, int h) { return std::make_unique<ui::qt::ImageSurface>(w, h); }

// A room of 120 × 80 with three luminaires and a wall down x = 60, ready for the calculation command.
struct Room : Scene {
    RecordingSurface surface{120, 80};
    FakeServices services;
    view::ResultPresenter presenter{doc, shown, grid, stats, settings, contours, surface, services};
    int registrationHidden = 0, planRedisplayed = 0;
    Room() : Scene(120, 80) {
        services.surfaceFactory = imageSurface;
        doc.tables.levelLadder = {5,     10,     20,     50,     100,     200,     400,     600,     800,
                                  1000,  1200,   1500,   2000,   2500,    3000,    5000,    10000,   20000,
                                  50000, 100000, 200000, 500000, 1000000, 2000000, 5000000, 10000000};
        doc.surfaceWidth = 120;
        doc.surfaceHeight = 80;
        doc.extent = {0, 120, 0, 80};
        doc.plan.mmPerPixel = 25;
        touroku[1] = calc::testing::cosineType(500, 1.0, 3000);
        doc.plan.kigu.add(model::KiguRecord{30, 40, 0, 1, 0, 30, 40, 0});
        doc.plan.kigu.add(model::KiguRecord{90, 40, 0, 1, 0, 90, 40, 0});
        addWall(doc, 60, 0, 60, 79);
        settings.calcStep = 3;
        presenter.hooks.hideRegistrationWindow = [this] { ++registrationHidden; };
        presenter.hooks.redisplayPlan = [this] { ++planRedisplayed; };
    }
    calc::CalcOutcome run() { return view::calculateAndPresent(presenter, touroku, 2); }
};

std::vector<float> levelsOf(const model::Document& doc) {
    std::vector<float> levels;
    for (int i = 1; i <= 6; ++i) levels.push_back(static_cast<float>(doc.tables.luxLevel[static_cast<std::size_t>(i)]));
    return levels;
}


} // namespace

TEST(CalculationCommand, CalculatesThenShowsTheMapWithItsTextsMenusAndLabels) {
    Room r;
    ASSERT_EQ(r.run(), calc::CalcOutcome::Done);
    // Under the wall the painter drew the grid is dark; beside it, lit.
    EXPECT_EQ(r.lux(60, 40), 0.0f);
    EXPECT_GT(r.lux(58, 40), 1.0f);
    EXPECT_GT(r.stats.maxLux, 100);
    EXPECT_EQ(r.stats.averageLux, calc::averageLux(r.grid));
    const auto& log = r.services.progressLog;
    EXPECT_EQ(log.front(), "show 照度の計算|照度を計算中|2");
    EXPECT_NE(std::find(log.begin(), log.end(), "show 色の設定|計算結果を表示中|80"), log.end());
    EXPECT_EQ(log.back(), "hide");
    EXPECT_TRUE(r.doc.resultValid && r.shown.resultShown);
    EXPECT_TRUE(r.shown.menus.csvOutput && r.shown.menus.dxfSaveResult && r.shown.menus.print);
    EXPECT_TRUE(r.shown.menus.redisplayLux && r.shown.menus.redisplayColorTemp);
    EXPECT_FALSE(r.shown.menus.gridPrint);
    EXPECT_EQ(r.shown.bikouLabel, "図面入力に戻るには \"再表示\"");
    EXPECT_EQ(r.shown.maxLuxLabel, "最大照度 : " + base::formatInt(r.stats.maxLux) + " Lx");
    EXPECT_EQ(r.doc.tables.luxLevel, calc::chooseLevels(r.doc, r.stats.maxLux));
    EXPECT_EQ(r.presenter.legend().kind, view::LegendKind::ColourClasses);
    EXPECT_TRUE(r.presenter.legend().visible);
    EXPECT_EQ(r.registrationHidden, 1);
    EXPECT_EQ(r.surface.opsStartingWith("text "),
              (std::vector<std::string>{"text 13,8 平均照度：" + base::formatInt(r.stats.averageLux) + " Lx",
                                        "text 13,23 最高照度：" + base::formatInt(r.stats.maxLux) + " Lx"}));
}

TEST(CalculationCommand, AValidResultIsOnlyShownAgainAndContoursFollowTheNewestGrid) {
    Room r;
    r.doc.displayKind = 'T';
    ASSERT_EQ(r.run(), calc::CalcOutcome::Done);
    EXPECT_EQ(r.contours.levels, levelsOf(r.doc));
    const std::vector<float> first = r.grid.lux;
    r.services.progressLog.clear();
    ASSERT_EQ(r.run(), calc::CalcOutcome::Done);
    EXPECT_EQ(r.grid.lux, first);
    EXPECT_EQ(r.services.progressLog.front(), "show 照度分布|等高線データを作成中|0") << "traced, not calculated";
    EXPECT_EQ(r.presenter.legend().kind, view::LegendKind::ContourLevels);

    // A new calculation with the same levels shown as a map: the contour set of the old grid must not
    // come back when the contours are shown or saved afterwards.
    const auto oldContours = r.contours.points;
    r.doc.plan.kigu.clear();
    r.doc.plan.kigu.add(model::KiguRecord{20, 20, 0, 1, 0, 20, 20, 0});
    r.doc.plan.kigu.add(model::KiguRecord{100, 60, 0, 1, 0, 100, 60, 0});
    r.doc.resultValid = false;
    r.doc.displayKind = 'B';
    ASSERT_EQ(r.run(), calc::CalcOutcome::Done);
    r.presenter.redisplayContours(false);
    const calc::ContourSet fresh = calc::buildContours(r.grid, levelsOf(r.doc), r.grid.gridWidth - 1, r.grid.gridHeight - 1);
    EXPECT_EQ(r.contours.points, fresh.points);
    EXPECT_NE(r.contours.points, oldContours);
}

TEST(CalculationCommand, CancelLeavesTheResultInvalidTheMenusAloneAndThePlanRedisplayed) {
    Room r;
    r.services.cancelOnProcessEventsCall = 2;  // the first is the pump right after showing the window
    EXPECT_EQ(r.run(), calc::CalcOutcome::Cancelled);
    EXPECT_FALSE(r.doc.resultValid || r.shown.resultShown);
    EXPECT_FALSE(r.shown.menus.csvOutput || r.shown.menus.print || r.shown.menus.dxfSaveResult);
    EXPECT_EQ(r.planRedisplayed, 1);
    EXPECT_EQ(r.registrationHidden, 0);
    EXPECT_EQ(r.services.progressLog.back(), "hide");
    EXPECT_TRUE(r.surface.opsStartingWith("text").empty());

    // Without a picture for the wall mask there is no calculation to trust: refused, not guessed.
    Room n;
    n.services.surfaceFactory = [](int, int) { return std::unique_ptr<ui::Surface>(); };
    EXPECT_EQ(n.run(), calc::CalcOutcome::Cancelled);
    EXPECT_EQ(n.services.errors, std::vector<std::string>{"描画面を作成できません (120×80)"});
    EXPECT_FALSE(n.doc.resultValid || n.shown.menus.print);
    EXPECT_TRUE(n.services.progressLog.empty());
}

TEST(ResultPresenter, ColourMapShowsItsLegendOrOnCancelThePlanAgain) {
    Recorded r;
    addWall(r.doc, 0, 20, 59, 20);
    for (int col = 0; col < 30; ++col) r.lux(col, 5) = 150.0f;
    std::vector<bool> legendStates;
    r.display.hooks.legendChanged = [&](const view::LegendWindow& l) { legendStates.push_back(l.visible); };
    ASSERT_TRUE(r.display.paintColourMap());
    EXPECT_EQ(r.services.progressLog.front(), "show 色の設定|計算結果を表示中|40");
    EXPECT_EQ(r.services.progressLog.back(), "hide");
    EXPECT_EQ(r.surface.pixel(10, 5), r.doc.tables.classColour[3]);
    EXPECT_EQ(r.surface.pixel(40, 5), ui::colors::white);
    EXPECT_EQ(r.surface.opsStartingWith("line"), (std::vector<std::string>{"line 0,20-59,20"}));
    EXPECT_EQ(r.display.legend().kind, view::LegendKind::ColourClasses);
    EXPECT_EQ(r.display.legend().picture->width(), 150);
    EXPECT_EQ(legendStates, std::vector<bool>{true});
    EXPECT_FALSE(r.display.temperatureScale().visible);
    EXPECT_TRUE(r.shown.resultShown && r.shown.menus.print);
    EXPECT_EQ(r.stats.litMaxCol, 29);

    Recorded c;
    c.services.cancelOnProcessEventsCall = 3;
    int redisplays = 0;
    c.display.hooks.redisplayPlan = [&] { ++redisplays; };
    EXPECT_FALSE(c.display.paintColourMap());
    EXPECT_EQ(redisplays, 1);
    EXPECT_EQ(c.services.progressLog.back(), "hide");
    EXPECT_FALSE(c.display.legend().visible || c.shown.resultShown || c.shown.menus.print);
}

TEST(ResultPresenter, ContourDisplayDrawsWallsBoldOverTheLinesAndShowsItsLegend) {
    Recorded r;
    addWall(r.doc, 5, 5, 50, 5);
    // A set traced for the current levels is drawn as it is.
    r.contours.levels = {10, 20, 50, 100, 200, 400};
    r.contours.points.assign(6, {});
    r.contours.points[2] = {calc::kLineStart, {1, 30}, {20, 30}, calc::kLineEnd};
    r.display.showContours();
    EXPECT_TRUE(r.services.progressLog.empty()) << "not traced again";
    const auto& ops = r.surface.ops;
    const auto contour = std::find(ops.begin(), ops.end(), "line 1,30-20,30");
    const auto boldPen = std::find(ops.begin(), ops.end(), "pen (0,0,0) w2");
    const auto wall = std::find(ops.begin(), ops.end(), "line 5,5-50,5");
    EXPECT_TRUE(contour < boldPen && boldPen < wall && wall != ops.end());
    EXPECT_EQ(r.surface.pen().width, 1);
    EXPECT_EQ(r.display.legend().kind, view::LegendKind::ContourLevels);
    EXPECT_EQ(r.display.legend().picture->width(), 80);
    EXPECT_TRUE(r.shown.resultShown);
}

TEST(ResultPresenter, ColourTemperatureRedrawsTickedFixturesAndShowsTheBarLegend) {
    Recorded r;
    r.settings.showFixturesOnResult = true;
    r.doc.plan.kigu.add(model::KiguRecord{30, 30, 0, 1, 0, 0, 0, 0});
    r.lux(3, 3) = 100.0f;
    r.grid.ctSum[r.grid.index(3, 3)] = 5000.0f;
    int rangeHidden = 0;
    r.display.hooks.hideRangeDialog = [&] { ++rangeHidden; };
    ASSERT_TRUE(r.display.paintColourTemperature());
    EXPECT_EQ(r.services.progressLog.front(), "show 色温度の設定|計算結果を表示中|41");
    EXPECT_EQ(r.surface.pixel(3, 3), r.doc.tables.ctColour[50]);
    EXPECT_EQ(r.surface.opsStartingWith("ellipse").size(), 2u) << "once under the map, once over it";
    EXPECT_EQ(r.display.legend().kind, view::LegendKind::ColourTemperature);
    EXPECT_EQ(r.display.legend().picture->width(), 170);
    EXPECT_EQ(rangeHidden, 1);
}

TEST(ResultPresenter, HidingTheLegendsHidesTheScaleWindowToo) {
    Recorded r;
    ASSERT_TRUE(r.display.temperatureScale().picture) << "the scale picture is ready once the colours are";
    r.display.showLegend(view::LegendKind::ColourClasses);
    r.display.temperatureScale().visible = true;
    r.display.hideLegends();
    EXPECT_FALSE(r.display.legend().visible || r.display.temperatureScale().visible);
}

TEST(WallMask, WallsArcsAndPillarsOfThePlanPainterAreTheMasksWallsAndTheScreenIsUntouched) {
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
    surface.setPen(ui::Pen{ui::colors::red, 3, ui::PenStyle::Dot, ui::PenMode::Xor});
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    view::ResultPresenter display(sc.doc, sc.shown, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    const calc::WallMask mask = display.wallMask().value();
    ASSERT_EQ(mask.width, 100);
    ASSERT_EQ(mask.height, 100);
    EXPECT_TRUE(mask.black(50, 90));
    EXPECT_FALSE(mask.black(50, 89));
    EXPECT_FALSE(mask.black(50, 91)) << "one pixel wide whatever the screen's pen";
    EXPECT_TRUE(mask.black(50, 30));  // the arc's top
    EXPECT_FALSE(mask.black(50, 69));  // the open bottom
    EXPECT_FALSE(mask.black(50, 70));
    EXPECT_TRUE(mask.black(10, 15));  // the pillar's outline
    EXPECT_FALSE(mask.black(15, 15));
    EXPECT_FALSE(mask.black(2, 2));
    EXPECT_FALSE(mask.black(-1, 90) || mask.black(100, 90));
    EXPECT_EQ(surface.pixel(50, 90), ui::colors::red) << "drawn off-screen";
    // The mask is the screen's picture of the walls: the same pixels the wiped plan shows.
    surface.setPen(ui::Pen{});
    sc.shown.resultShown = true;
    display.redisplayPlan();
    EXPECT_FALSE(sc.shown.resultShown);
    int differing = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) differing += mask.black(x, y) != (surface.pixel(x, y) == ui::colors::black);
    EXPECT_EQ(differing, 0);
}

TEST(ResultPresenter, RedisplayChoosesLevelsAgainAndContoursDrawOverOrAfresh) {
    Recorded r;
    r.lux(4, 4) = 30.0f;
    r.doc.tables.levelLadder = {5, 10, 20, 50, 100, 200, 400, 600, 800, 1000, 1200, 1500, 2000,
                                2500, 3000, 5000, 10000, 20000, 50000, 100000, 200000, 500000, 1000000, 2000000, 5000000, 10000000};
    r.stats.maxLux = 350;  // automatic levels 5 … 200
    r.contours.levels = {10, 20, 50, 100, 200, 400};
    r.contours.points.assign(6, {});
    ASSERT_TRUE(r.display.redisplayColourMap());
    EXPECT_EQ(r.doc.tables.luxLevel, (calc::LuxLevels{0, 5, 10, 20, 50, 100, 200}));
    EXPECT_EQ(r.surface.pixel(4, 4), r.doc.tables.classColour[2]) << "30 lx is class 2 under the new levels";
    r.surface.ops.clear();
    r.services.progressLog.clear();
    r.display.redisplayContours(true);
    EXPECT_EQ(r.contours.levels, (std::vector<float>{5, 10, 20, 50, 100, 200})) << "the set traced for other levels is traced again";
    EXPECT_EQ(r.services.progressLog.front(), "show 照度分布|等高線データを作成中|0");
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
    view::ResultPresenter display(sc.doc, sc.shown, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    display.mainWindow.width = 1000;  // the legend stays off this small plan
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
    display.showContours();
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
