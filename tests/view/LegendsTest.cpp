// Tests of the legend pictures, the colour-temperature scale and the legend windows' placement.
#include "view/Legends.h"

#include "ViewTestSupport.h"
#include "ui/qt/QtSurface.h"
#include "ui/testing/RecordingSurface.h"

#include <gtest/gtest.h>

using ui::testing::RecordingSurface;

namespace {
model::DisplayTables tables() { return viewtest::startupTables(); }
} // namespace

TEST(ColourLegend, SwatchesTopDownFromTheLowestClassWithTheirLowerBounds) {
    const auto t = tables();
    ui::qt::ImageSurface picture(150, 130);
    view::paintColourLegend(picture, t);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(picture.pixel(27, 20 * i - 3), t.classColour[static_cast<std::size_t>(i - 1)]) << i;
        EXPECT_EQ(picture.pixel(10, 20 * i - 3), ui::colors::black) << "outlined";
    }
    EXPECT_EQ(picture.pixel(0, 60), (ui::Color{170, 170, 170})) << "grey border";
    EXPECT_EQ(picture.pixel(148, 60), (ui::Color{170, 170, 170}));
    EXPECT_EQ(picture.pixel(100, 125), ui::colors::white);

    RecordingSurface rec(150, 130);
    view::paintColourLegend(rec, t);
    EXPECT_EQ(rec.opsStartingWith("text "),
              (std::vector<std::string>{"text 58,13 10 Lx～", "text 58,33 20 Lx～", "text 58,53 50 Lx～",
                                        "text 58,73 100 Lx～", "text 58,93 200 Lx～", "text 58,113 400 Lx～"}));
    EXPECT_EQ(rec.opsStartingWith("rect")[0], "rect 0,0-149,129");
    EXPECT_EQ(rec.opsStartingWith("rect")[1], "rect 10,10-45,25");
    EXPECT_EQ(rec.font().sizePt, 8);
}

TEST(TemperatureScale, StripsAreTheHundredKelvinSteps) {
    const auto t = tables();
    ui::qt::ImageSurface picture(view::kTemperatureScaleSize.width, view::kTemperatureScaleSize.height);
    view::drawTemperatureScale(picture, t);
    EXPECT_EQ(picture.pixel(31, 30), t.ctColour[30]) << "strip 10 is 3000 K";
    EXPECT_EQ(picture.pixel(91, 30), t.ctColour[50]) << "strip 30 is 5000 K";
    EXPECT_EQ(picture.pixel(151, 30), t.ctColour[70]) << "strip 50 is 7000 K";
    EXPECT_EQ(picture.pixel(1, 30), t.ctColour[20]);
    EXPECT_EQ(picture.pixel(0, 30), ui::colors::black) << "frame";
    EXPECT_EQ(picture.pixel(166, 30), ui::colors::black);
    EXPECT_EQ(picture.pixel(120, 11), ui::colors::black) << "tick mark";
    EXPECT_EQ(picture.pixel(121, 11), ui::colors::white);

    RecordingSurface rec(167, 41);
    view::drawTemperatureScale(rec, t);
    EXPECT_EQ(rec.opsStartingWith("fill").size(), 1u + 56u);
    EXPECT_EQ(rec.opsStartingWith("fill").back(), "fill 165,15-168,40 " + ui::testing::describe(t.ctColour[75]));
    // "3000K" at 8 pt measures 26 × 10: centred over x = 30, 3 pixels above the bar.
    EXPECT_EQ(rec.opsStartingWith("text "), (std::vector<std::string>{"text 17,2 3000K", "text 77,2 5000K", "text 137,2 7000K"}));
}

TEST(ContourAndTemperatureLegends, LevelsWithSquareMarksAndABarOf55Strips) {
    const auto t = tables();
    RecordingSurface contour(80, 100);
    view::paintContourLegend(contour, t);
    const auto texts = contour.opsStartingWith("text ");
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], "text 13,8 ■ 10 Lx");
    EXPECT_EQ(texts[5], "text 13,83 ■ 400 Lx");
    EXPECT_EQ(contour.opsStartingWith("rect")[0], "rect 0,0-80,100");

    RecordingSurface rec(170, 40);
    view::paintTemperatureLegend(rec, t);
    EXPECT_EQ(rec.opsStartingWith("fill").size(), 1u + 55u);
    EXPECT_EQ(rec.opsStartingWith("rect")[0], "rect 0,0-167,40");
    EXPECT_EQ(rec.opsStartingWith("text ").back(), "text 134,2 7000K");
    ui::qt::ImageSurface picture(170, 40);
    view::paintTemperatureLegend(picture, t);
    EXPECT_EQ(picture.pixel(31, 30), t.ctColour[30]);
    EXPECT_EQ(picture.pixel(80, 39), ui::colors::black) << "frame bottom";
}

TEST(LegendWindow, FloatsBesideTheMainWindowAndStampsOverThePlan) {
    view::MainWindowGeometry main;
    main.left = 30;
    main.top = 20;
    main.width = 1000;
    main.outerHeight = 700;
    main.clientHeight = 650;
    main.panelUpHeight = 40;
    view::LegendWindow legend;
    legend.position = view::legendPlacement(main);
    EXPECT_EQ(legend.position, (ui::Point{830, 120}));
    EXPECT_EQ(view::legendStampPosition(legend, main), (ui::Point{796, 10}));

    const auto headless = view::headlessGeometry(1920, 1080);
    legend.position = view::legendPlacement(headless);
    const ui::Point at = view::legendStampPosition(legend, headless);
    EXPECT_EQ(at.x, 1920 - 10 - 204);
    EXPECT_GE(at.y, 0) << "the legend lies on the plan";
    EXPECT_LE(at.x + 150, 1915);
}
