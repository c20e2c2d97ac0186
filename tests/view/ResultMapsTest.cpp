// Tests of the colour map, the colour-temperature map and the contour drawing, read back pixel by pixel.
#include "view/ResultMaps.h"

#include "ViewTestSupport.h"
#include "ui/qt/QtSurface.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <gtest/gtest.h>

using ui::testing::FakeServices;
using ui::testing::RecordingSurface;

namespace {

model::DisplayTables tables() { return viewtest::startupTables(); }

calc::IlluminanceGrid gridFor(int w, int h, float value) {
    calc::IlluminanceGrid g;
    g.allocate(w, h);
    std::fill(g.lux.begin(), g.lux.end(), value);
    return g;
}

void set(calc::IlluminanceGrid& g, int col, int row, float lux, float ct = 0) {
    g.lux[g.index(col, row)] = lux;
    g.ctSum[g.index(col, row)] = ct;
}

} // namespace

TEST(ChooseClass, BoundsBelongToTheClassAboveAndDisorderedLevelsFallThrough) {
    const view::LuxLevels l = {0, 10, 20, 50, 100, 200, 400};
    EXPECT_EQ(view::chooseClass(10, l, 3), 0);
    EXPECT_EQ(view::chooseClass(19, l, 3), 0);
    EXPECT_EQ(view::chooseClass(20, l, 3), 1);
    EXPECT_EQ(view::chooseClass(200, l, 0), 4);
    EXPECT_EQ(view::chooseClass(400, l, 0), 5);
    EXPECT_EQ(view::chooseClass(9, l, 4), 4) << "below every class the previous class stays";
    // Six zero levels ("設定値" before any were typed): everything from 0 up is class 5.
    EXPECT_EQ(view::chooseClass(0, view::LuxLevels{}, 0), 5);
    // Classes: 0 never (100 ≤ v < 50), 1 for 50..79, 2 never, 3 for 60..89, 4 for 90..999.
    const view::LuxLevels odd = {0, 100, 50, 80, 60, 90, 1000};
    EXPECT_EQ(view::chooseClass(70, odd, 5), 3) << "classes 1 and 3 both hold; the later test wins";
    EXPECT_EQ(view::chooseClass(40, odd, 2), 2) << "no test holds";
}

TEST(TruncLux, TruncatesTowardZeroAndSaturates) {
    EXPECT_EQ(view::truncLux(19.99f), 19);
    EXPECT_EQ(view::truncLux(-0.7f), 0);
    EXPECT_EQ(view::truncLux(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(view::truncLux(1e20f), 2147483647);
    EXPECT_EQ(view::truncLux(-1e20f), -2147483647 - 1);
}

TEST(ColourMap, DetailedPaintsEachPointInTheClassItsValueLiesIn) {
    const auto t = tables();
    auto g = gridFor(40, 30, 0.01f);
    const float values[6] = {10.0f, 35.5f, 50.0f, 150.0f, 399.99f, 5000.0f};
    for (int k = 0; k < 6; ++k) set(g, 5 + k, 7, values[k]);
    set(g, 20, 8, 9.99f);   // just below level 1
    set(g, 21, 8, 10.0f);   // exactly level 1: painted in the detailed display
    set(g, 39, 29, 500.0f); // the last pixel of the surface
    ui::qt::ImageSurface s(40, 30);
    FakeServices services;
    calc::ResultStats stats;
    view::resetLitExtent(stats);
    ASSERT_TRUE(view::paintClassPixels(s, t, g, stats, true, services));
    for (int k = 0; k < 6; ++k) EXPECT_EQ(s.pixel(5 + k, 7), t.classColour[static_cast<std::size_t>(k)]) << k;
    EXPECT_EQ(s.pixel(20, 8), ui::colors::white);
    EXPECT_EQ(s.pixel(21, 8), t.classColour[0]);
    EXPECT_EQ(s.pixel(39, 29), t.classColour[5]);
    EXPECT_EQ(s.pixel(0, 0), ui::colors::white);
    EXPECT_EQ(stats.litMinCol, 5);
    EXPECT_EQ(stats.litMaxCol, 39);
    EXPECT_EQ(stats.litMinRow, 7);
    EXPECT_EQ(stats.litMaxRow, 29);
    EXPECT_EQ(services.processEventsCalls, 30) << "one cancel check per row";
}

TEST(ColourMap, SimpleDisplayTakesOddRowsAndOnlyValuesAboveLevelOne) {
    const auto t = tables();
    auto g = gridFor(20, 10, 0.01f);
    set(g, 3, 3, 10.0f);  // exactly level 1: left white here
    set(g, 4, 3, 11.0f);
    set(g, 4, 4, 300.0f); // an even row is never visited
    set(g, 0, 5, 300.0f); // neither is column 0
    ui::qt::ImageSurface s(20, 10);
    FakeServices services;
    calc::ResultStats stats;
    view::resetLitExtent(stats);
    ASSERT_TRUE(view::paintClassPixels(s, t, g, stats, false, services));
    EXPECT_EQ(s.pixel(3, 3), ui::colors::white);
    EXPECT_EQ(s.pixel(4, 3), t.classColour[0]);
    EXPECT_EQ(s.pixel(4, 4), ui::colors::white);
    EXPECT_EQ(s.pixel(0, 5), ui::colors::white);
    EXPECT_EQ(services.processEventsCalls, 0);
    EXPECT_EQ(stats.litMinRow, 3);
    EXPECT_EQ(stats.litMaxRow, 3);
}

TEST(ColourMap, CancelStopsAtTheRowItIsAskedOn) {
    const auto t = tables();
    auto g = gridFor(10, 10, 100.0f);
    ui::qt::ImageSurface s(10, 10);
    FakeServices services;
    services.cancelOnProcessEventsCall = 4;
    calc::ResultStats stats;
    view::resetLitExtent(stats);
    EXPECT_FALSE(view::paintClassPixels(s, t, g, stats, true, services));
    EXPECT_EQ(s.pixel(5, 2), t.classColour[3]);
    EXPECT_EQ(s.pixel(5, 3), ui::colors::white);
}

TEST(ColourTemperatureMap, PaintsTheColourOfTheWeightedTemperature) {
    const auto t = tables();
    auto g = gridFor(30, 20, 0.01f);
    set(g, 1, 1, 100.0f, 3000.0f);   // one 3000 K lamp
    set(g, 2, 1, 100.0f, 4000.0f);   // 3000 K and 5000 K equally
    set(g, 3, 1, 100.0f, 9100.0f);   // above 7400 K: shown as 7400 K
    set(g, 4, 1, 100.0f, 2400.9f);   // 2400 K and below: not painted
    set(g, 5, 1, 10.9f, 3000.0f);    // exactly level 1 after truncation: not painted
    set(g, 6, 1, 11.0f, 3099.0f);
    set(g, 30, 20, 50.0f, 5000.0f);  // beyond the surface: no pixel, but the extent takes it in
    ui::qt::ImageSurface s(30, 20);
    FakeServices services;
    calc::ResultStats stats;
    view::resetLitExtent(stats);
    ASSERT_TRUE(view::paintTemperaturePixels(s, t, g, stats, services));
    EXPECT_EQ(s.pixel(1, 1), t.ctColour[30]);
    EXPECT_EQ(s.pixel(2, 1), t.ctColour[40]);
    EXPECT_EQ(s.pixel(3, 1), t.ctColour[74]);
    EXPECT_EQ(s.pixel(4, 1), ui::colors::white);
    EXPECT_EQ(s.pixel(5, 1), ui::colors::white);
    EXPECT_EQ(s.pixel(6, 1), t.ctColour[30]);
    EXPECT_EQ(stats.litMinCol, 1);
    EXPECT_EQ(stats.litMaxCol, 30);
    EXPECT_EQ(stats.litMaxRow, 20);
    EXPECT_EQ(services.processEventsCalls, 21) << "rows 0 to the surface height inclusive";
}

namespace {

calc::ContourSet contourSet(std::vector<float> levels) {
    calc::ContourSet c;
    c.levels = levels;
    c.points.resize(levels.size());
    return c;
}

model::Document contourDocument() {
    model::Document doc;
    doc.tables = tables();
    return doc;
}

} // namespace

TEST(DrawContours, ThinsClosePointsAndLabelsEveryFiftiethDrawnPoint) {
    model::Document doc = contourDocument();
    auto c = contourSet({10, 20, 50, 100, 200, 400});
    // One line of 121 points 2 apart along y = 100: the first is moved to, the other 120 are drawn.
    c.points[0].push_back(calc::kLineStart);
    for (int i = 0; i <= 120; ++i) c.points[0].push_back({static_cast<float>(10 + 2 * i), 100.0f});
    c.points[0].push_back(calc::kLineEnd);
    // A second line whose points lie 1 pixel apart: every second one is too close to draw.
    c.points[1].push_back(calc::kLineStart);
    for (int i = 0; i <= 4; ++i) c.points[1].push_back({static_cast<float>(10 + i), 300.0f});
    c.points[1].push_back(calc::kLineEnd);
    RecordingSurface s(1000, 1000);
    view::drawContours(s, doc, c, 0, 0, 1.0);
    EXPECT_EQ(s.opsStartingWith("line").size(), 120u + 1u + 2u) << "120 steps, the first line's ending, two steps";
    // Labels on drawn points 26 and 76 of the first line: x = 10 + 2 × 26 and 10 + 2 × 76; "10" at
    // 9 pt measures 12 × 12 and is centred.
    EXPECT_EQ(s.opsStartingWith("text "), (std::vector<std::string>{"text 56,94 10", "text 156,94 10"}));
    const auto lines = s.opsStartingWith("line");
    EXPECT_EQ(lines[120], "line 250,100-250,100") << "the previous line reaches its last point before the jump";
    EXPECT_EQ(lines[121], "line 10,300-12,300");
    EXPECT_EQ(lines[122], "line 12,300-14,300");
}

TEST(DrawContours, ScalesPointsAndTheThinningDistance) {
    model::Document doc = contourDocument();
    auto c = contourSet({10, 20, 50, 100, 200, 400});
    c.points[0] = {calc::kLineStart, {10, 10}, {11, 10}, {12, 10}, {12.5f, 10}, calc::kLineEnd};
    RecordingSurface s(1000, 1000);
    // At scale 4 the step of 1 plan pixel is 4 surface pixels: 16 > 3 × 16 fails, 2 pixels (8) passes.
    view::drawContours(s, doc, c, 5, 7, 4.0);
    EXPECT_EQ(s.opsStartingWith("move")[0], "move 45,47");
    EXPECT_EQ(s.opsStartingWith("line"), (std::vector<std::string>{"line 45,47-53,47"}));
}

TEST(DrawContours, LevelListEndsAtANegativeValueOrALevelBelowItsPosition) {
    model::Document doc = contourDocument();
    auto drawnLevels = [&](std::vector<float> levels) {
        auto c = contourSet(levels);
        for (std::size_t i = 0; i < levels.size(); ++i) {
            c.points[i] = {calc::kLineStart, {1, 10.0f * static_cast<float>(i + 1)}, {9, 10.0f * static_cast<float>(i + 1)},
                           calc::kLineEnd};
        }
        RecordingSurface s(100, 100);
        view::drawContours(s, doc, c, 0, 0, 1.0);
        return s.opsStartingWith("move").size();
    };
    EXPECT_EQ(drawnLevels({0, 20, 50, 100, 200, 400}), 6u) << "0 in the first position is drawn";
    EXPECT_EQ(drawnLevels({10, 0, 50, 100, 200, 400}), 1u) << "0 in the second position ends the list";
    EXPECT_EQ(drawnLevels({10, 20, -1, 100}), 2u);
}

TEST(DrawContours, StaleSetIsRebuiltBeforeDrawing) {
    model::Document doc = contourDocument();
    auto c = contourSet({10, 20, 50, 100, 200, 300});
    int rebuilt = 0;
    RecordingSurface s;
    view::drawContours(s, doc, c, 0, 0, 1.0, [&] {
        ++rebuilt;
        c.levels = {10, 20, 50, 100, 200, 400};
    });
    EXPECT_EQ(rebuilt, 1);
    view::drawContours(s, doc, c, 0, 0, 1.0, [&] { ++rebuilt; });
    EXPECT_EQ(rebuilt, 1) << "a set for the current levels is drawn as it is";
}
