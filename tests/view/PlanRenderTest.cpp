// Tests of plan rendering: symbol shapes and colours, scaling, pillars, height labels and text placement.
#include "view/PlanRender.h"

#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <gtest/gtest.h>

using ui::testing::describe;
using ui::testing::FakeServices;
using ui::testing::RecordingSurface;

namespace {

model::Document documentAtScale(int denominator) {
    model::Document doc;
    doc.tables.symbolColour = {ui::Color{0, 0, 0},     ui::Color{255, 255, 0}, ui::Color{255, 150, 0}, ui::Color{255, 0, 0},
                               ui::Color{100, 255, 0}, ui::Color{80, 80, 255}, ui::Color{40, 130, 100}, ui::Color{255, 255, 255}};
    doc.plan.scaleDenominator = denominator;
    doc.plan.mmPerPixel = denominator > 0 ? 10.0f : -1.0f;
    return doc;
}

// The brush colour in force when the first shape primitive was drawn.
std::string fillOfFirstShape(const RecordingSurface& s) {
    std::string brush;
    for (const auto& op : s.ops) {
        if (op.rfind("brush ", 0) == 0) brush = op;
        if (op.rfind("ellipse", 0) == 0 || op.rfind("rect", 0) == 0 || op.rfind("polygon", 0) == 0) return brush;
    }
    return "";
}

std::vector<std::string> shapes(const RecordingSurface& s) {
    std::vector<std::string> out;
    for (const auto& op : s.ops) {
        if (op.rfind("ellipse", 0) == 0 || op.rfind("rect", 0) == 0 || op.rfind("polygon", 0) == 0 ||
            op.rfind("line", 0) == 0)
            out.push_back(op);
    }
    return out;
}

} // namespace

TEST(DrawSymbol, EverySlotGetsItsGroupShapeAndPositionColour) {
    const model::Document doc = documentAtScale(100);
    const std::vector<std::string> firstOp = {"ellipse", "ellipse", "ellipse", "rect", "rect", "polygon"};
    for (int slot = 1; slot <= 36; ++slot) {
        RecordingSurface s;
        view::drawSymbol(s, doc, nullptr, 100, 100, slot, view::kModeFixture, 0);
        const int group = (slot - 1) / 6;
        const int position = (slot - 1) % 6 + 1;
        ASSERT_FALSE(shapes(s).empty()) << slot;
        EXPECT_EQ(shapes(s)[0].substr(0, firstOp[static_cast<std::size_t>(group)].size()), firstOp[static_cast<std::size_t>(group)])
            << slot;
        EXPECT_EQ(fillOfFirstShape(s), "brush " + describe(doc.tables.symbolColour[static_cast<std::size_t>(position)])) << slot;
        EXPECT_EQ(s.ops.back(), "brush clear") << "the brush is left empty after slot " << slot;
    }
}

TEST(DrawSymbol, ShapesFollowTheHalfSizeAtScreenScales) {
    // d = 5 at 1/50: circle ±5, inner circle ±2, crossed circle and square m = trunc(18) / 2 = 9.
    const model::Document doc = documentAtScale(50);
    RecordingSurface s;
    view::drawSymbol(s, doc, nullptr, 100, 100, 7, view::kModeFixture, 0);
    EXPECT_EQ(shapes(s), (std::vector<std::string>{"ellipse 95,95-105,105", "ellipse 98,98-102,102"}));
    EXPECT_EQ(s.opsStartingWith("brush").at(1), "brush clear") << "the inner circle is not filled";

    RecordingSurface cross;
    view::drawSymbol(cross, doc, nullptr, 100, 100, 13, view::kModeFixture, 0);
    EXPECT_EQ(shapes(cross), (std::vector<std::string>{"ellipse 91,91-109,109", "line 100,91-100,109", "line 91,100-109,100"}));

    RecordingSurface square;
    view::drawSymbol(square, doc, nullptr, 100, 100, 25, view::kModeFixture, 0);
    EXPECT_EQ(shapes(square), (std::vector<std::string>{"rect 91,91-109,109"}));

    // Triangle: (x, y - d), then ±d·cos 30° truncated, y + d·sin 30° = 102.5 truncated.
    RecordingSurface tri;
    view::drawSymbol(tri, doc, nullptr, 100, 100, 31, view::kModeFixture, 0);
    EXPECT_EQ(shapes(tri), (std::vector<std::string>{"polygon 100,95 104,102 95,102"}));
    EXPECT_EQ(fillOfFirstShape(tri), "brush (255,255,0)") << "slot 31 is a yellow triangle";
    RecordingSurface teal;
    view::drawSymbol(teal, doc, nullptr, 100, 100, 36, view::kModeFixture, 0);
    EXPECT_EQ(fillOfFirstShape(teal), "brush (40,130,100)") << "slot 36 is a teal triangle";
}

TEST(DrawSymbol, FixtureHalfSizeDependsOnScaleAndPrinter) {
    RecordingSurface screen;
    RecordingSurface printer(800, 600, 600, true);
    EXPECT_EQ(view::fixtureHalfSize(documentAtScale(30), screen), 6);
    EXPECT_EQ(view::fixtureHalfSize(documentAtScale(49), screen), 6);
    EXPECT_EQ(view::fixtureHalfSize(documentAtScale(50), screen), 5);
    EXPECT_EQ(view::fixtureHalfSize(documentAtScale(200), screen), 5);
    EXPECT_EQ(view::fixtureHalfSize(documentAtScale(50), printer), 10);
    EXPECT_EQ(view::fixtureHalfSize(documentAtScale(-1), screen), 6) << "no scale yet";
}

TEST(DrawSymbol, LinearSlotStandsUprightOnlyWhenRotated) {
    const model::Document doc = documentAtScale(50);
    RecordingSurface upright;
    view::drawSymbol(upright, doc, nullptr, 200, 100, 20, view::kModeFixture, 90);
    EXPECT_EQ(shapes(upright), (std::vector<std::string>{"rect 196,80-204,120"})) << "40 long, 8 wide";
    RecordingSurface lying;
    view::drawSymbol(lying, doc, nullptr, 200, 100, 20, view::kModeFixture, 0);
    EXPECT_EQ(shapes(lying), (std::vector<std::string>{"rect 180,96-220,104"}));
    RecordingSurface printer(4000, 3000, 600, true);
    view::drawSymbol(printer, doc, nullptr, 200, 100, 20, view::kModeFixture, 90);
    EXPECT_EQ(shapes(printer), (std::vector<std::string>{"rect 192,60-208,140"})) << "80 by 16 on paper";
    RecordingSurface circle;
    view::drawSymbol(circle, doc, nullptr, 200, 100, 1, view::kModeFixture, 90);
    EXPECT_EQ(shapes(circle), (std::vector<std::string>{"ellipse 195,95-205,105"})) << "rotation is for bars only";
}

TEST(DrawSymbol, EraseModePaintsWhiteWithWhitePen) {
    const model::Document doc = documentAtScale(50);
    RecordingSurface s;
    view::drawSymbol(s, doc, nullptr, 50, 50, 3, view::kModeErase, 0);
    EXPECT_EQ(fillOfFirstShape(s), "brush (255,255,255)");
    EXPECT_EQ(s.opsStartingWith("pen").back(), "pen (255,255,255) w1");
}

TEST(DrawSymbol, PillarsNeedAScaleAndUseTheirOwnSize) {
    FakeServices services;
    model::Document noScale = documentAtScale(-1);
    RecordingSurface s;
    view::drawSymbol(s, noScale, &services, 50, 50, model::kSquarePillar, view::kModePillar, 0, 7);
    EXPECT_TRUE(shapes(s).empty());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "縮尺を設定して下さい。(編集->縮尺の設定)");
    EXPECT_EQ(services.messages[0].icon, ui::Icon::Stop);

    const model::Document doc = documentAtScale(100);
    RecordingSurface cyl;
    view::drawSymbol(cyl, doc, &services, 50, 50, model::kCylindricalPillar, view::kModePillar, 0, 7);
    EXPECT_EQ(shapes(cyl), (std::vector<std::string>{"ellipse 43,43-57,57"}));
    EXPECT_EQ(fillOfFirstShape(cyl), "brush (255,255,255)");
    RecordingSurface sq;
    view::drawSymbol(sq, doc, &services, 50, 50, model::kSquarePillar, view::kModePillar, 0, 7);
    EXPECT_EQ(shapes(sq), (std::vector<std::string>{"rect 43,43-57,57"}));
}

TEST(DrawWalls, TransformsLinesArcsAndPillarCentresButNotPillarSizes) {
    model::Document doc = documentAtScale(100);
    model::LineRecord line;
    line.kind = 'L';
    line.x1 = 10, line.y1 = 20, line.x2 = 30, line.y2 = 21;
    doc.plan.lines.add(line);
    model::LineRecord arc;
    arc.kind = 'A';
    arc.x1 = 1, arc.y1 = 2, arc.x2 = 3, arc.y2 = 4, arc.x3 = 5, arc.y3 = 6, arc.x4 = 7, arc.y4 = 8;
    doc.plan.lines.add(arc);
    model::LineRecord other;
    other.kind = 'X';
    doc.plan.lines.add(other);
    doc.plan.hasira.add(model::HasiraRecord{model::kCylindricalPillar, 100, 50, 6, 0});

    FakeServices services;
    RecordingSurface s(4000, 3000);
    s.setPen(ui::Pen{ui::colors::red, 3});
    s.ops.clear();
    // scale 4 with offset (0.5, 10.3): 0.5 + 4 × 10 = 40.5 → 40; 10.3 + 4 × 21 = 94.3 → 94.
    view::drawWalls(s, doc, services, 0.5, 10.3, 4.0);
    EXPECT_EQ(s.ops[0], "pen (0,0,0) w3") << "walls are black and keep the pen width";
    EXPECT_EQ(s.opsStartingWith("line"), (std::vector<std::string>{"line 40,90-120,94"}));
    EXPECT_EQ(s.opsStartingWith("arc"), (std::vector<std::string>{"arc 20,34-28,42 4,18 12,26"}));
    EXPECT_EQ(s.opsStartingWith("ellipse"), (std::vector<std::string>{"ellipse 394,204-406,216"}))
        << "the pillar keeps its screen half size while its centre moves with the scale";
    EXPECT_TRUE(services.messages.empty());
}

TEST(DrawWalls, ManyPillarsWithoutScaleAreRefusedOnce) {
    model::Document doc = documentAtScale(-1);
    for (int i = 0; i < 5; ++i) doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 10 * i, 10, 4, 0});
    FakeServices services;
    RecordingSurface s;
    view::drawWalls(s, doc, services, 0, 0, 1.0);
    EXPECT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(s.opsStartingWith("rect").empty());
}

TEST(DrawWalls, HostileCoordinatesNeitherCrashNorWrap) {
    model::Document doc = documentAtScale(100);
    model::LineRecord line;
    line.x1 = 2147483647, line.y1 = -2147483647, line.x2 = 0, line.y2 = 0;
    doc.plan.lines.add(line);
    doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 2147483647, 2147483647, 2147483647, 0});
    doc.plan.kigu.add(model::KiguRecord{2147483647, -2147483647, 2147483647, 20, 90, 0, 0, 0});
    doc.plan.kigu.add(model::KiguRecord{5, 5, 0, 99, 0, 0, 0, 0});  // no such slot
    FakeServices services;
    RecordingSurface s;
    view::drawWalls(s, doc, services, 0, 0, 1000.0);
    view::drawFixtures(s, doc, 0, 0, 1000.0, false);
    const auto lines = s.opsStartingWith("line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "line 1000000000,-1000000000-0,0");
}

TEST(DrawFixtures, HeightLabelsShowTheMountingHeightBesideTheSymbol) {
    model::Document doc = documentAtScale(100);
    doc.tenDaka = 3000;
    doc.plan.kigu.add(model::KiguRecord{100, 200, -300, 1, 0, 0, 0, 0});
    doc.plan.kigu.add(model::KiguRecord{300, 200, 450, 2, 0, 0, 0, 0});
    doc.plan.kigu.add(model::KiguRecord{500, 200, 0, 3, 0, 0, 0, 0});
    RecordingSurface s;
    view::drawFixtures(s, doc, 0, 0, 1.0, false);
    EXPECT_EQ(s.opsStartingWith("text "), (std::vector<std::string>{"text 105,202 2700", "text 305,192 3450"}));
    const auto fonts = s.opsStartingWith("font");
    EXPECT_EQ(fonts, (std::vector<std::string>{"font 8 (255,0,0)", "font 8 (0,0,0)", "font 8 (0,0,255)", "font 8 (0,0,0)"}));

    // Over a colour map with its legend the labels are white; other displays keep their colours.
    doc.displayKind = 'B';
    RecordingSurface onMap;
    view::drawFixtures(onMap, doc, 0, 0, 1.0, true);
    EXPECT_EQ(onMap.opsStartingWith("font")[0], "font 8 (255,255,255)");
    doc.displayKind = 'T';
    RecordingSurface onLines;
    view::drawFixtures(onLines, doc, 0, 0, 1.0, true);
    EXPECT_EQ(onLines.opsStartingWith("font")[0], "font 8 (255,0,0)");

    // At print scale the label's corner is the transformed point (x + 5, y + 2).
    RecordingSurface print(4000, 3000, 600, true);
    view::drawFixtures(print, doc, 10, 20, 2.5, false);
    EXPECT_EQ(print.opsStartingWith("text ")[0], "text 272,525 2700");
}

TEST(PlaceText, CodesPlaceTheCornerAroundThePoint) {
    // RecordingSurface: "abcd" at 9 pt measures 24 × 12.
    const ui::Size e{24, 12};
    EXPECT_EQ(view::textCorner(100, 50, 0, e), (ui::Point{100, 50}));
    EXPECT_EQ(view::textCorner(100, 50, 1, e), (ui::Point{103, 35}));
    EXPECT_EQ(view::textCorner(100, 50, 2, e), (ui::Point{88, 35}));
    EXPECT_EQ(view::textCorner(100, 50, 3, e), (ui::Point{73, 35}));
    EXPECT_EQ(view::textCorner(100, 50, 4, e), (ui::Point{103, 44}));
    EXPECT_EQ(view::textCorner(100, 50, 5, e), (ui::Point{88, 44})) << "centred on the point";
    EXPECT_EQ(view::textCorner(100, 50, 6, e), (ui::Point{73, 44}));
    EXPECT_EQ(view::textCorner(100, 50, 7, e), (ui::Point{103, 53})) << "3 right and 3 below";
    EXPECT_EQ(view::textCorner(100, 50, 8, e), (ui::Point{88, 53}));
    EXPECT_EQ(view::textCorner(100, 50, 9, e), (ui::Point{73, 53}));
    EXPECT_EQ(view::textCorner(100, 50, 42, e), (ui::Point{100, 50}));
    EXPECT_EQ(view::textCorner(100, 50, 5, ui::Size{25, 13}), (ui::Point{88, 44})) << "halves truncate";
}

TEST(PlaceText, FactorScalesTheFontAndOffsetShiftsTheText) {
    RecordingSurface s;
    model::TextState state;
    view::placeText(s, state, 10, 20, 0, 8, "ab", false);
    EXPECT_EQ(s.font().sizePt, 8);
    state.textFactor = 1.5;
    state.textOffset = {100, -5};
    s.ops.clear();
    view::placeText(s, state, 10, 20, 7, 8, "ab", false);
    EXPECT_EQ(s.font().sizePt, 12);
    EXPECT_EQ(s.opsStartingWith("text "), (std::vector<std::string>{"text 113,18 ab"}));
    EXPECT_TRUE(s.opsStartingWith("rect").empty());
}

TEST(PlaceText, BoxedTextSitsOnAWhiteBoxOfItsOwnSize) {
    RecordingSurface s;
    s.setBrush(ui::Brush{ui::colors::red, false});
    s.ops.clear();
    view::placeText(s, model::TextState{}, 40, 40, 5, 9, "12345", true);
    // 30 × 12 centred on (40, 40).
    const std::vector<std::string> expected = {"font 9 (0,0,0)",     "pen (255,255,255) w1", "brush (255,255,255)",
                                               "rect 25,34-55,46",   "pen (0,0,0) w1",       "brush (255,0,0)",
                                               "textbg (255,255,255)", "text 25,34 12345"};
    EXPECT_EQ(s.ops, expected);
}

TEST(ClearDrawingSurface, WipesWhiteAndClosesTheResult) {
    model::Document doc;
    doc.resultShown = true;
    doc.menus.print = true;
    doc.menus.gridPrint = false;
    doc.bikouLabel = "note";
    RecordingSurface s(300, 200);
    view::clearDrawingSurface(s, doc);
    EXPECT_EQ(s.opsStartingWith("rect"), (std::vector<std::string>{"rect 0,0-300,200"}));
    EXPECT_EQ(s.ops[0], "pen (238,238,238) w1");
    EXPECT_FALSE(doc.resultShown);
    EXPECT_FALSE(doc.menus.print);
    EXPECT_TRUE(doc.menus.gridPrint);
    EXPECT_TRUE(doc.bikouLabel.empty());
    EXPECT_EQ(s.pen().color, ui::colors::black);
}
