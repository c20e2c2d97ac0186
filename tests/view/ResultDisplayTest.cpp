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

// Everything a calculation leaves for the display, on a surface of w × h.
struct Scene {
    model::Document doc;
    catalog::TourokuTable touroku;
    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    calc::ContourSet contours;

    Scene(int w, int h) {
        doc.tables = viewtest::startupTables();
        doc.plan.scaleDenominator = 100;
        doc.plan.mmPerPixel = 20.0f;
        grid.allocate(w, h);
        grid.reset();
    }
    float& lux(int col, int row) { return grid.lux[grid.index(col, row)]; }
};

// A scene drawn on a recording surface with scripted services.
struct Recorded : Scene {
    RecordingSurface surface{60, 40};
    FakeServices services;
    view::ResultDisplay display{doc, grid, stats, settings, contours, surface, services};
    Recorded() : Scene(60, 40) {}
};

ui::Color colourAt(const QImage& img, int x, int y) {
    const QRgb v = img.pixel(x, y);
    return ui::Color{static_cast<std::uint8_t>(qRed(v)), static_cast<std::uint8_t>(qGreen(v)), static_cast<std::uint8_t>(qBlue(v))};
}

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

TEST(PlanPicture, SavedPictureShowsWallsClassesTextsAndTheStampedLegend) {
    Scene sc(420, 300);
    addWall(sc.doc, 20, 40, 400, 40);
    addWall(sc.doc, 400, 40, 400, 280);
    addWall(sc.doc, 400, 280, 20, 280);
    addWall(sc.doc, 20, 280, 20, 40);
    addWall(sc.doc, 200, 160, 200, 280);
    model::LineRecord arc;  // a quarter circle from the east radial to the north one around (300, 160)
    arc.kind = 'A';
    arc.x1 = 340, arc.y1 = 160, arc.x2 = 300, arc.y2 = 120, arc.x3 = 260, arc.y3 = 120, arc.x4 = 340, arc.y4 = 200;
    sc.doc.plan.lines.add(arc);
    sc.doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 120, 200, 8, 0});
    sc.doc.plan.hasira.add(model::HasiraRecord{model::kCylindricalPillar, 320, 240, 8, 0});
    const std::vector<model::KiguRecord> kigu = {
        {110, 100, 0, 1, 0, 0, 0, 0}, {310, 100, 500, 8, 0, 0, 0, 0}, {110, 220, -300, 20, 90, 0, 0, 0}, {330, 230, 0, 31, 0, 0, 0, 0}};
    for (const auto& k : kigu) sc.doc.plan.kigu.add(k);
    // A believable result: E = K·h / d³ around each fixture, a bare point source over the work plane.
    for (int row = 0; row < sc.grid.gridHeight; ++row) {
        for (int col = 0; col < sc.grid.gridWidth; ++col) {
            double e = 0.01;
            for (const auto& k : kigu) {
                const double d = std::sqrt((col - k.x) * (col - k.x) + (row - k.y) * (row - k.y) + 120.0 * 120.0);
                e += 1.5e6 * 120.0 / (d * d * d);
            }
            sc.lux(col, row) = static_cast<float>(e);
        }
    }
    sc.settings.showFixturesOnResult = true;

    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    ui::qt::ImageSurface surface(420, 300);
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    display.mainWindow.width = 420 + 5;  // the legend lands 204 pixels in from the right: x = 221

    // What the calculation does after the fixture pass; the interpolation clears square pillars and
    // the grid under the walls it reads back.
    display.hideLegends();
    display.clearAndDrawWalls(1);
    for (int y = 192; y < 208; ++y)
        for (int x = 112; x < 128; ++x) sc.lux(x, y) = 0.0f;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (surface.pixel(x, y) == ui::colors::black) sc.lux(x, y) = 0.0f;
    display.showResult('B');
    display.drawFixturesOnResult();
    view::placeText(surface, sc.doc.textState, 10, 5, 7, 10, "平均照度：123 Lx", false);
    view::placeText(surface, sc.doc.textState, 10, 20, 7, 10, "最高照度：456 Lx", false);

    calc::CalcContext ctx{sc.doc, sc.touroku, sc.grid, sc.stats, sc.settings, sc.contours, surface, services, display};
    const fs::path png = fs::temp_directory_path() / "ordivan_view_plan.png";
    const fs::path bmp = fs::temp_directory_path() / "ordivan_view_plan.bmp";
    ASSERT_TRUE(view::savePlanPicture(ctx, png.string(), view::PictureFormat::Png));
    ASSERT_TRUE(view::savePlanPicture(ctx, bmp.string(), view::PictureFormat::Bmp));
    const QImage read(QString::fromStdString(png.string()));
    ASSERT_EQ(read.size(), QSize(420, 300));
    EXPECT_EQ(QImage(QString::fromStdString(bmp.string()), "BMP").convertToFormat(QImage::Format_RGB32),
              read.convertToFormat(QImage::Format_RGB32));

    // Away from symbols, every pixel has the class of its grid value.
    int checked = 0;
    for (int y = 45; y < 275; y += 7) {
        for (int x = 25; x < 200; x += 7) {
            bool nearSymbol = false;
            for (const auto& k : kigu) nearSymbol |= std::abs(x - k.x) < 45 && std::abs(y - k.y) < 45;
            if (nearSymbol) continue;
            const std::int32_t v = static_cast<std::int32_t>(sc.lux(x, y));
            int cls = -1;
            for (int k = 0; k < 6; ++k) cls = v >= sc.doc.tables.luxLevel[static_cast<std::size_t>(k + 1)] ? k : cls;
            EXPECT_EQ(colourAt(read, x, y), cls < 0 ? ui::colors::white : sc.doc.tables.classColour[static_cast<std::size_t>(cls)])
                << x << "," << y << " " << v;
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
    EXPECT_EQ(colourAt(read, 100, 40), ui::colors::black) << "wall pixels stay black under a lit area";
    const ui::Point legendAt = view::legendStampPosition(display.legend(), display.mainWindow);
    EXPECT_EQ(legendAt, (ui::Point{221, 14}));
    EXPECT_EQ(colourAt(read, legendAt.x + 27, legendAt.y + 17), sc.doc.tables.classColour[0]) << "the legend's first swatch";
    int dark = 0;  // the average and maximum texts
    for (int y = 8; y < 36; ++y)
        for (int x = 13; x < 120; ++x) dark += colourAt(read, x, y) == ui::colors::black;
    EXPECT_GT(dark, 30);
    EXPECT_TRUE(messages.str().empty());
}

TEST(PlanPicture, WithoutLegendThePictureIsTheSurfaceAndFailuresAreReported) {
    Scene sc(50, 30);
    ui::qt::ImageSurface surface(50, 30);
    surface.setPixel(7, 7, ui::colors::red);
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    auto picture = view::buildPlanPicture(surface, display.legend(), display.mainWindow, services);
    EXPECT_EQ(ui::qt::toQImage(*picture), ui::qt::toQImage(surface));
    calc::CalcContext ctx{sc.doc, sc.touroku, sc.grid, sc.stats, sc.settings, sc.contours, surface, services, display};
    EXPECT_FALSE(view::savePlanPicture(ctx, "/nonexistent-dir/x.png", view::PictureFormat::Png));
    EXPECT_EQ(messages.str(), "ファイルに書き込みできません\n");
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
