// Tests of the display steps a calculation hands over: the three result displays, legends, cancel and pictures.
#include "view/ResultDisplay.h"

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

namespace {

void defaultTables(model::Document& doc) {
    auto& t = doc.tables;
    t.symbolColour = {ui::Color{0, 0, 0},     ui::Color{255, 255, 0}, ui::Color{255, 150, 0}, ui::Color{255, 0, 0},
                      ui::Color{100, 255, 0}, ui::Color{80, 80, 255}, ui::Color{40, 130, 100}, ui::Color{255, 255, 255}};
    t.classColour = {ui::Color{52, 96, 226},  ui::Color{43, 154, 165}, ui::Color{45, 217, 57},
                     ui::Color{255, 255, 0}, ui::Color{221, 133, 74}, ui::Color{255, 0, 0}};
    t.luxLevel = {0, 10, 20, 50, 100, 200, 400};
    // A warm-to-cool ramp standing in for the catalogue's light colours.
    for (int k = 20; k < 80; ++k) {
        const int f = (k - 20) * 255 / 59;
        t.ctColour[static_cast<std::size_t>(k)] = ui::Color{255, static_cast<std::uint8_t>(140 + f * 115 / 255),
                                                            static_cast<std::uint8_t>(60 + f * 195 / 255)};
    }
    t.ctColourFilled = true;
}

void addWall(model::Document& doc, int x1, int y1, int x2, int y2) {
    model::LineRecord l;
    l.kind = 'L';
    l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
    doc.plan.lines.add(l);
}

// Everything a calculation leaves for the display, for a surface of w × h.
struct Scene {
    model::Document doc;
    catalog::TourokuTable touroku;
    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    calc::ContourSet contours;

    Scene(int w, int h) {
        defaultTables(doc);
        doc.plan.scaleDenominator = 100;
        doc.plan.mmPerPixel = 20.0f;
        doc.surfaceWidth = w;
        doc.surfaceHeight = h;
        grid.allocate(w, h);
        grid.reset();
    }
};

} // namespace

TEST(ResultDisplay, ColourMapShowsItsLegendAndMarksTheResultShown) {
    Scene sc(60, 40);
    addWall(sc.doc, 0, 20, 59, 20);
    for (int col = 0; col < 30; ++col) sc.grid.lux[sc.grid.index(col, 5)] = 150.0f;
    RecordingSurface surface(60, 40);
    FakeServices services;
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    std::vector<bool> legendStates;
    display.hooks.legendChanged = [&](const view::LegendWindow& l) { legendStates.push_back(l.visible); };
    display.showResult('B');

    EXPECT_EQ(services.progressLog.front(), "show 色の設定|計算結果を表示中|40");
    EXPECT_EQ(services.progressLog.back(), "hide");
    EXPECT_EQ(surface.pixel(10, 5), sc.doc.tables.classColour[3]);
    EXPECT_EQ(surface.pixel(40, 5), ui::colors::white);
    EXPECT_EQ(surface.opsStartingWith("line"), (std::vector<std::string>{"line 0,20-59,20"}));
    EXPECT_TRUE(display.legend().visible);
    EXPECT_EQ(display.legend().kind, view::LegendKind::ColourClasses);
    ASSERT_TRUE(display.legend().picture);
    EXPECT_EQ(display.legend().picture->width(), 150);
    EXPECT_FALSE(display.temperatureScale().visible);
    EXPECT_TRUE(sc.doc.resultShown);
    EXPECT_TRUE(sc.doc.menus.print);
    EXPECT_EQ(legendStates, std::vector<bool>{true});
    EXPECT_EQ(sc.stats.litMinCol, 0);
    EXPECT_EQ(sc.stats.litMaxCol, 29);
}

TEST(ResultDisplay, CancelledColourMapRedisplaysThePlanWithoutLegend) {
    Scene sc(60, 40);
    RecordingSurface surface(60, 40);
    FakeServices services;
    services.cancelOnProcessEventsCall = 3;
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    int redisplays = 0;
    display.hooks.redisplayPlan = [&] { ++redisplays; };
    EXPECT_FALSE(display.paintColourMap());
    EXPECT_EQ(redisplays, 1);
    EXPECT_EQ(services.progressLog.back(), "hide");
    EXPECT_FALSE(display.legend().visible);
    EXPECT_FALSE(sc.doc.resultShown);
    EXPECT_FALSE(sc.doc.menus.print);
}

TEST(ResultDisplay, ContourDisplayRebuildsDrawsWallsBoldAndShowsItsLegend) {
    Scene sc(60, 40);
    addWall(sc.doc, 5, 5, 50, 5);
    RecordingSurface surface(60, 40);
    FakeServices services;
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    int builds = 0;
    display.hooks.buildContours = [&] {
        ++builds;
        sc.contours.levels = {10, 20, 50, 100, 200, 400};
        sc.contours.points.assign(6, {});
        sc.contours.points[2] = {calc::kLineStart, {1, 30}, {20, 30}, calc::kLineEnd};
    };
    display.showResult('T');
    EXPECT_EQ(builds, 1) << "built once; the fresh set is not stale";
    const auto& ops = surface.ops;
    const auto contour = std::find(ops.begin(), ops.end(), "line 1,30-20,30");
    const auto wall = std::find(ops.begin(), ops.end(), "line 5,5-50,5");
    ASSERT_NE(contour, ops.end());
    ASSERT_NE(wall, ops.end());
    EXPECT_LT(contour, wall) << "walls are drawn over the lines";
    const auto boldPen = std::find(ops.begin(), ops.end(), "pen (0,0,0) w2");
    EXPECT_LT(boldPen, wall);
    EXPECT_EQ(surface.pen().width, 1);
    EXPECT_EQ(display.legend().kind, view::LegendKind::ContourLevels);
    EXPECT_EQ(display.legend().picture->width(), 80);
    EXPECT_TRUE(sc.doc.resultShown);
}

TEST(ResultDisplay, ColourTemperatureDrawsFixturesOnlyWhenAskedAndShowsTheBarLegend) {
    for (bool withFixtures : {false, true}) {
        Scene sc(60, 40);
        sc.settings.showFixturesOnResult = withFixtures;
        sc.doc.plan.kigu.add(model::KiguRecord{30, 30, 0, 1, 0, 0, 0, 0});
        sc.grid.lux[sc.grid.index(3, 3)] = 100.0f;
        sc.grid.ctSum[sc.grid.index(3, 3)] = 5000.0f;
        RecordingSurface surface(60, 40);
        FakeServices services;
        view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
        int rangeHidden = 0;
        display.hooks.hideRangeDialog = [&] { ++rangeHidden; };
        display.showResult('C');
        EXPECT_EQ(services.progressLog.front(), "show 色温度の設定|計算結果を表示中|41");
        EXPECT_EQ(surface.pixel(3, 3), sc.doc.tables.ctColour[50]);
        EXPECT_EQ(surface.opsStartingWith("ellipse").size(), withFixtures ? 2u : 1u);
        EXPECT_EQ(display.legend().kind, view::LegendKind::ColourTemperature);
        EXPECT_EQ(display.legend().picture->width(), 170);
        EXPECT_EQ(rangeHidden, 1);
    }
}

TEST(ResultDisplay, CalculationStepsHideLegendsAndRedrawWalls) {
    Scene sc(60, 40);
    addWall(sc.doc, 1, 2, 3, 4);
    RecordingSurface surface(60, 40);
    FakeServices services;
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    ASSERT_TRUE(display.temperatureScale().picture) << "the scale picture is ready once the colours are";
    display.showLegend(view::LegendKind::ColourClasses);
    display.hideLegends();
    EXPECT_FALSE(display.legend().visible);
    EXPECT_FALSE(display.temperatureScale().visible);

    surface.ops.clear();
    sc.doc.resultShown = true;
    display.clearAndDrawWalls(2);
    EXPECT_EQ(surface.opsStartingWith("rect")[0], "rect 0,0-60,40");
    EXPECT_EQ(surface.opsStartingWith("line"), (std::vector<std::string>{"line 1,2-3,4"}));
    EXPECT_EQ(surface.opsStartingWith("pen")[2], "pen (0,0,0) w2");
    EXPECT_EQ(surface.pen().width, 1);
    EXPECT_FALSE(sc.doc.resultShown);

    int hidden = 0;
    display.hooks.hideRegistrationWindow = [&] { ++hidden; };
    display.hideRegistrationWindow();
    EXPECT_EQ(hidden, 1);
}

namespace {

// A believable result: E = kou·h / d³ around each fixture (a bare point source on the work plane),
// walls cleared to 0 like the interpolation does.
void litByPointSources(Scene& sc, const std::vector<ui::Point>& fixtures, double h) {
    for (int row = 0; row < sc.grid.gridHeight; ++row) {
        for (int col = 0; col < sc.grid.gridWidth; ++col) {
            double e = 0.01;
            for (const auto& f : fixtures) {
                const double dx = col - f.x, dy = row - f.y;
                const double d = std::sqrt(dx * dx + dy * dy + h * h);
                e += 1.5e6 * h / (d * d * d);
            }
            sc.grid.lux[sc.grid.index(col, row)] = static_cast<float>(e);
            sc.grid.ctSum[sc.grid.index(col, row)] = static_cast<float>(3000 + 10 * col);
        }
    }
}

} // namespace

TEST(PlanPicture, SavedPictureShowsWallsClassesTextsAndTheStampedLegend) {
    Scene sc(420, 300);
    addWall(sc.doc, 20, 40, 400, 40);
    addWall(sc.doc, 400, 40, 400, 280);
    addWall(sc.doc, 400, 280, 20, 280);
    addWall(sc.doc, 20, 280, 20, 40);
    addWall(sc.doc, 200, 160, 200, 280);
    model::LineRecord arc;
    arc.kind = 'A';
    // A quarter circle from the east radial to the north one around (300, 160).
    arc.x1 = 340, arc.y1 = 160, arc.x2 = 300, arc.y2 = 120, arc.x3 = 260, arc.y3 = 120, arc.x4 = 340, arc.y4 = 200;
    sc.doc.plan.lines.add(arc);
    sc.doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 120, 200, 8, 0});
    sc.doc.plan.hasira.add(model::HasiraRecord{model::kCylindricalPillar, 320, 240, 8, 0});
    const std::vector<ui::Point> spots = {{110, 100}, {310, 100}, {110, 220}, {330, 230}};
    sc.doc.plan.kigu.add(model::KiguRecord{110, 100, 0, 1, 0, 0, 0, 0});
    sc.doc.plan.kigu.add(model::KiguRecord{310, 100, 500, 8, 0, 0, 0, 0});
    sc.doc.plan.kigu.add(model::KiguRecord{110, 220, -300, 20, 90, 0, 0, 0});
    sc.doc.plan.kigu.add(model::KiguRecord{330, 230, 0, 31, 0, 0, 0, 0});
    litByPointSources(sc, spots, 120.0);
    sc.settings.showFixturesOnResult = true;

    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    ui::qt::ImageSurface surface(420, 300);
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    display.mainWindow.width = 420 + 5;  // the legend lands 204 pixels in from the right: x = 221
    display.mainWindow.clientHeight = display.mainWindow.outerHeight - 46;
    display.mainWindow.panelUpHeight = 40;

    // What the calculation does after the fixture pass.
    display.hideLegends();
    display.clearAndDrawWalls(1);
    // The interpolation clears square pillars, reads the walls back and clears the grid under them.
    for (int y = 192; y < 208; ++y)
        for (int x = 112; x < 128; ++x) sc.grid.lux[sc.grid.index(x, y)] = 0.0f;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (surface.pixel(x, y) == ui::colors::black) sc.grid.lux[sc.grid.index(x, y)] = 0.0f;
    display.showResult('B');
    display.drawFixturesOnResult();
    view::placeText(surface, sc.doc.textState, 10, 5, 7, 10, "平均照度：123 Lx", false);
    view::placeText(surface, sc.doc.textState, 10, 20, 7, 10, "最高照度：456 Lx", false);

    calc::CalcContext ctx{sc.doc, sc.touroku, sc.grid, sc.stats, sc.settings, sc.contours, surface, services, display};
    const fs::path dir = fs::temp_directory_path();
    const fs::path png = dir / "ordivan_view_plan.png";
    const fs::path bmp = dir / "ordivan_view_plan.bmp";
    ASSERT_TRUE(view::savePlanPicture(ctx, png.string(), view::PictureFormat::Png));
    ASSERT_TRUE(view::savePlanPicture(ctx, bmp.string(), view::PictureFormat::Bmp));

    QImage read(QString::fromStdString(png.string()));
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.width(), 420);
    EXPECT_EQ(read.height(), 300);
    QImage readBmp(QString::fromStdString(bmp.string()), "BMP");
    ASSERT_FALSE(readBmp.isNull());
    EXPECT_EQ(readBmp.convertToFormat(QImage::Format_RGB32), read.convertToFormat(QImage::Format_RGB32));

    auto at = [&](int x, int y) {
        const QRgb v = read.pixel(x, y);
        return ui::Color{static_cast<std::uint8_t>(qRed(v)), static_cast<std::uint8_t>(qGreen(v)),
                         static_cast<std::uint8_t>(qBlue(v))};
    };
    // Every coloured pixel away from symbols, texts and the legend has the class of its grid value.
    int checked = 0;
    for (int y = 45; y < 275; y += 7) {
        for (int x = 25; x < 200; x += 7) {
            const std::int32_t v = static_cast<std::int32_t>(sc.grid.lux[sc.grid.index(x, y)]);
            bool nearSymbol = false;
            for (const auto& s : spots) nearSymbol |= std::abs(x - s.x) < 45 && std::abs(y - s.y) < 45;
            if (nearSymbol) continue;
            if (v < 10) {
                EXPECT_EQ(at(x, y), ui::colors::white) << x << "," << y;
                continue;
            }
            int cls = 0;
            for (int k = 0; k < 6; ++k) {
                if (v >= sc.doc.tables.luxLevel[static_cast<std::size_t>(k + 1)]) cls = k;
            }
            EXPECT_EQ(at(x, y), sc.doc.tables.classColour[static_cast<std::size_t>(cls)]) << x << "," << y << " " << v;
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
    EXPECT_EQ(at(100, 40), ui::colors::black) << "wall pixels stay black under a lit area";
    const ui::Point legendAt = view::legendStampPosition(display.legend(), display.mainWindow);
    EXPECT_EQ(legendAt, (ui::Point{221, 14}));
    EXPECT_EQ(at(legendAt.x + 27, legendAt.y + 17), sc.doc.tables.classColour[0]) << "first swatch of the legend";
    EXPECT_EQ(at(legendAt.x, legendAt.y + 60), (ui::Color{170, 170, 170}));
    // Some dark text pixels in the corner where the average is written.
    int dark = 0;
    for (int y = 8; y < 36; ++y)
        for (int x = 13; x < 120; ++x) dark += at(x, y) == ui::colors::black;
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
    ASSERT_TRUE(picture);
    EXPECT_EQ(ui::qt::toQImage(*picture), ui::qt::toQImage(surface));

    calc::CalcContext ctx{sc.doc, sc.touroku, sc.grid, sc.stats, sc.settings, sc.contours, surface, services, display};
    EXPECT_FALSE(view::savePlanPicture(ctx, "/nonexistent-dir/x.png", view::PictureFormat::Png));
    EXPECT_EQ(messages.str(), "ファイルに書き込みできません\n");
    EXPECT_EQ(services.refusals(), 1);
}

TEST(PlanPicture, ContourLinesLieOnTheirLevelsRadiiAroundAPointSource) {
    // One point source at (150, 100), mounting height h: E(r) = K·h / (r² + h²)^1.5, so level L lies
    // on the circle r_L = sqrt((K·h / L)^(2/3) − h²).
    const double K = 1.5e6, h = 60.0;
    auto radius = [&](double level) { return std::sqrt(std::pow(K * h / level, 2.0 / 3.0) - h * h); };
    Scene sc(300, 200);
    addWall(sc.doc, 10, 190, 290, 190);
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    ui::qt::ImageSurface surface(300, 200);
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    display.mainWindow.width = 1000;  // legend off to the right of this small plan
    display.hooks.buildContours = [&] {
        sc.contours.levels.clear();
        sc.contours.points.clear();
        for (int i = 1; i <= 6; ++i) {
            const double level = sc.doc.tables.luxLevel[static_cast<std::size_t>(i)];
            sc.contours.levels.push_back(static_cast<float>(level));
            std::vector<calc::ContourPoint> line{calc::kLineStart};
            const double r = level > K / (h * h) ? 0 : radius(level);
            for (int k = 0; k <= 720 && r > 0; ++k) {
                const double a = k * M_PI / 360.0;
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
            for (int dx = -1; dx <= 1; ++dx) {
                const int px = static_cast<int>(x) + dx, py = static_cast<int>(y) + dy;
                if (px >= 0 && py >= 0 && px < img.width() && py < img.height() && qRed(img.pixel(px, py)) < 60) return true;
            }
        return false;
    };
    int circlesChecked = 0;
    for (int i = 1; i <= 6; ++i) {
        const double r = radius(sc.doc.tables.luxLevel[static_cast<std::size_t>(i)]);
        if (!(r > 5 && r < 85)) continue;  // circles that fit inside the plan
        int onLine = 0, between = 0, samples = 0;
        for (int k = 0; k < 90; ++k) {
            const double a = k * 2 * M_PI / 90;
            onLine += blackNear(150 + r * std::cos(a), 100 + r * std::sin(a));
            between += blackNear(150 + (r - 4) * std::cos(a), 100 + (r - 4) * std::sin(a));
            ++samples;
        }
        EXPECT_GE(onLine, samples * 9 / 10) << "level " << i;
        EXPECT_LE(between, samples / 5) << "only labels stand beside the line, level " << i;
        ++circlesChecked;
    }
    EXPECT_GE(circlesChecked, 3);
    int wallRows = 0;
    for (int y = 187; y <= 193; ++y) wallRows += qRed(img.pixel(150, y)) < 60;
    EXPECT_EQ(wallRows, 2) << "walls drawn two pixels wide";
    EXPECT_TRUE(sc.doc.resultShown);
}

TEST(PlanPicture, ColourTemperaturePictureFollowsTheWeightedMean) {
    Scene sc(300, 200);
    addWall(sc.doc, 150, 0, 150, 200);
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    ui::qt::ImageSurface surface(300, 200);
    // A warm lamp at the left, a cool one at the right: T = (E1·3000 + E2·6500) / (E1 + E2).
    for (int row = 0; row < sc.grid.gridHeight; ++row) {
        for (int col = 0; col < sc.grid.gridWidth; ++col) {
            auto e = [&](int fx) {
                const double d2 = (col - fx) * (col - fx) + (row - 100) * (row - 100) + 3600.0;
                return 1.5e6 * 60 / (d2 * std::sqrt(d2));
            };
            const double e1 = e(70), e2 = e(230);
            sc.grid.lux[sc.grid.index(col, row)] = static_cast<float>(e1 + e2);
            sc.grid.ctSum[sc.grid.index(col, row)] = static_cast<float>((e1 * 3000 + e2 * 6500) / (e1 + e2));
        }
    }
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    display.mainWindow.width = 1000;
    display.showResult('C');
    const QImage& img = *surface.image();
    img.save(QString::fromStdString((fs::temp_directory_path() / "ordivan_view_colourtemp.png").string()));
    int checked = 0;
    for (int y = 5; y < 200; y += 9) {
        for (int x = 5; x < 300; x += 9) {
            if (std::abs(x - 150) < 3) continue;
            const float lux = sc.grid.lux[sc.grid.index(x, y)];
            const int t = static_cast<int>(sc.grid.ctSum[sc.grid.index(x, y)]);
            const QRgb v = img.pixel(x, y);
            const ui::Color got{static_cast<std::uint8_t>(qRed(v)), static_cast<std::uint8_t>(qGreen(v)),
                                static_cast<std::uint8_t>(qBlue(v))};
            const ui::Color want = static_cast<int>(lux) > 10 ? sc.doc.tables.ctColour[static_cast<std::size_t>(std::min(t, 7400) / 100)]
                                                              : ui::colors::white;
            EXPECT_EQ(got, want) << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 500);
    EXPECT_EQ(display.legend().kind, view::LegendKind::ColourTemperature);
}

TEST(Redisplay, LevelsAreChosenAgainAndContoursDrawOverOrAfresh) {
    Scene sc(60, 40);
    sc.grid.lux[sc.grid.index(4, 4)] = 30.0f;
    RecordingSurface surface(60, 40);
    FakeServices services;
    view::ResultDisplay display(sc.doc, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    int chosen = 0, builds = 0;
    display.hooks.chooseLevels = [&] {
        ++chosen;
        sc.doc.tables.luxLevel = {0, 5, 10, 20, 50, 100, 200};
    };
    display.hooks.buildContours = [&] {
        ++builds;
        sc.contours.levels.assign(sc.doc.tables.luxLevel.begin() + 1, sc.doc.tables.luxLevel.end());
        sc.contours.points.assign(6, {});
    };
    sc.doc.displayKind = 'C';
    ASSERT_TRUE(display.redisplayColourMap());
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(sc.doc.displayKind, 'B');
    EXPECT_EQ(surface.pixel(4, 4), sc.doc.tables.classColour[2]) << "30 lx is class 2 under the new levels";

    surface.ops.clear();
    display.redisplayContours(true);
    EXPECT_EQ(builds, 1) << "the set traced for other levels is traced again";
    EXPECT_TRUE(surface.opsStartingWith("rect 0,0-60,40").empty()) << "drawn over the current picture";
    EXPECT_EQ(display.legend().kind, view::LegendKind::ContourLevels);
    surface.ops.clear();
    display.redisplayContours(false);
    EXPECT_EQ(surface.opsStartingWith("rect 0,0-60,40").size(), 1u);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(sc.doc.displayKind, 'T');
}
