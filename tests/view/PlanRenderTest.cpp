// Tests of plan rendering: symbol shapes and colours, scaling, pillars, height labels and text placement.
#include "view/PlanRender.h"

#include "ViewTestSupport.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <gtest/gtest.h>

using ui::testing::FakeServices;
using ui::testing::RecordingSurface;

namespace {

model::Document documentAtScale(int denominator) {
    model::Document doc;
    doc.tables = viewtest::startupTables();
    doc.plan.scaleDenominator = denominator;
    doc.plan.mmPerPixel = denominator > 0 ? 10.0f : -1.0f;
    return doc;
}

// The shape primitives drawn, and the brush in force when the first one was drawn.
struct Drawn {
    std::vector<std::string> shapes;
    std::string firstFill;
};

Drawn symbol(const model::Document& doc, int code, int rotation = 0, char mode = view::kModeFixture,
             bool printer = false) {
    RecordingSurface s(4000, 3000, 96, printer);
    view::drawSymbol(s, doc, nullptr, 100, 100, code, mode, rotation);
    Drawn d;
    std::string brush;
    for (const auto& op : s.ops) {
        if (op.rfind("brush ", 0) == 0) brush = op;
        if (op.rfind("ellipse", 0) == 0 || op.rfind("rect", 0) == 0 || op.rfind("polygon", 0) == 0 ||
            op.rfind("line", 0) == 0) {
            if (d.shapes.empty()) d.firstFill = brush;
            d.shapes.push_back(op);
        }
    }
    EXPECT_EQ(s.ops.back(), "brush clear") << "the brush is left empty after code " << code;
    return d;
}

} // namespace

TEST(DrawSymbol, EverySlotGetsItsGroupShapeAndPositionColour) {
    const model::Document doc = documentAtScale(100);
    const std::string firstOp[6] = {"ellipse", "ellipse", "ellipse", "rect", "rect", "polygon"};
    for (int slot = 1; slot <= 36; ++slot) {
        const Drawn d = symbol(doc, slot);
        ASSERT_FALSE(d.shapes.empty()) << slot;
        EXPECT_EQ(d.shapes[0].rfind(firstOp[(slot - 1) / 6], 0), 0u) << slot;
        EXPECT_EQ(d.firstFill, "brush " + ui::testing::describe(doc.tables.symbolColour[static_cast<std::size_t>((slot - 1) % 6 + 1)]))
            << slot;
    }
    EXPECT_EQ(symbol(doc, 31).firstFill, "brush (255,255,0)") << "slot 31 is a yellow triangle";
    EXPECT_EQ(symbol(doc, 36).firstFill, "brush (40,130,100)") << "slot 36 a teal one";
    EXPECT_EQ(symbol(doc, 3, 0, view::kModeErase).firstFill, "brush (255,255,255)");
}

TEST(DrawSymbol, ShapesFollowTheHalfSizeOfScaleAndPrinter) {
    // d = 5 at 1/50: inner circle ±2, crossed circle and square m = trunc(3.6 × 5) / 2 = 9.
    const model::Document doc = documentAtScale(50);
    using V = std::vector<std::string>;
    EXPECT_EQ(symbol(doc, 7).shapes, (V{"ellipse 95,95-105,105", "ellipse 98,98-102,102"}));
    EXPECT_EQ(symbol(doc, 13).shapes, (V{"ellipse 91,91-109,109", "line 100,91-100,109", "line 91,100-109,100"}));
    EXPECT_EQ(symbol(doc, 25).shapes, (V{"rect 91,91-109,109"}));
    EXPECT_EQ(symbol(doc, 31).shapes, (V{"polygon 100,95 104,102 95,102"})) << "d·cos 30° and y + 2.5 truncate";
    // Slot 20 upright at 1/50 is 40 long and 8 wide; on paper 80 by 16; rotation is for bars only.
    EXPECT_EQ(symbol(doc, 20, 90).shapes, (V{"rect 96,80-104,120"}));
    EXPECT_EQ(symbol(doc, 20, 0).shapes, (V{"rect 80,96-120,104"}));
    EXPECT_EQ(symbol(doc, 20, 90, view::kModeFixture, true).shapes, (V{"rect 92,60-108,140"}));
    EXPECT_EQ(symbol(doc, 1, 90).shapes, (V{"ellipse 95,95-105,105"}));
    EXPECT_EQ(symbol(documentAtScale(30), 1).shapes, (V{"ellipse 94,94-106,106"})) << "d = 6 finer than 1/50";
    EXPECT_EQ(symbol(documentAtScale(-1), 1).shapes, (V{"ellipse 94,94-106,106"})) << "no scale yet";
}

TEST(DrawWalls, TransformsLinesArcsAndPillarCentresButNotPillarSizes) {
    model::Document doc = documentAtScale(100);
    viewtest::addWall(doc, 10, 20, 30, 21);
    model::LineRecord arc;
    arc.kind = 'A';
    arc.x1 = 1, arc.y1 = 2, arc.x2 = 3, arc.y2 = 4, arc.x3 = 5, arc.y3 = 6, arc.x4 = 7, arc.y4 = 8;
    doc.plan.lines.add(arc);
    model::LineRecord other;
    other.kind = 'X';
    doc.plan.lines.add(other);
    doc.plan.hasira.add(model::HasiraRecord{model::kCylindricalPillar, 100, 50, 6, 0});
    doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 0, 0, 7, 0});

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
    EXPECT_EQ(s.opsStartingWith("rect"), (std::vector<std::string>{"rect -7,3-7,17"}));
    EXPECT_TRUE(services.messages.empty());
}

TEST(DrawWalls, PillarsWithoutScaleAreRefusedOnceAndNotDrawn) {
    model::Document doc = documentAtScale(-1);
    for (int i = 0; i < 5; ++i) doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 10 * i, 10, 4, 0});
    FakeServices services;
    RecordingSurface s;
    view::drawWalls(s, doc, services, 0, 0, 1.0);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "縮尺を設定して下さい。(編集->縮尺の設定)");
    EXPECT_EQ(services.messages[0].icon, ui::Icon::Stop);
    EXPECT_TRUE(s.opsStartingWith("rect").empty());
}

TEST(DrawWalls, HostileCoordinatesNeitherCrashNorWrap) {
    model::Document doc = documentAtScale(100);
    viewtest::addWall(doc, 2147483647, -2147483647, 0, 0);
    doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 2147483647, 2147483647, 2147483647, 0});
    doc.plan.kigu.add(model::KiguRecord{2147483647, -2147483647, 2147483647, 20, 90, 0, 0, 0});
    doc.plan.kigu.add(model::KiguRecord{5, 5, 0, 99, 0, 0, 0, 0});  // no such slot
    FakeServices services;
    RecordingSurface s;
    view::drawWalls(s, doc, services, 0, 0, 1000.0);
    view::drawFixtures(s, doc, 0, 0, 1000.0, false);
    EXPECT_EQ(s.opsStartingWith("line"), (std::vector<std::string>{"line 1000000000,-1000000000-0,0"}));
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
    EXPECT_EQ(s.opsStartingWith("font"),
              (std::vector<std::string>{"font 8 (255,0,0)", "font 8 (0,0,0)", "font 8 (0,0,255)", "font 8 (0,0,0)"}));

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

TEST(PlaceText, CodesFactorOffsetAndTheWhiteBox) {
    const ui::Size e{25, 13};
    EXPECT_EQ(view::textCorner(100, 50, 5, e), (ui::Point{88, 44})) << "centred, halves truncated";
    EXPECT_EQ(view::textCorner(100, 50, 7, e), (ui::Point{103, 53})) << "3 right and 3 below";
    EXPECT_EQ(view::textCorner(100, 50, 3, e), (ui::Point{72, 34}));
    EXPECT_EQ(view::textCorner(100, 50, 42, e), (ui::Point{100, 50})) << "unknown codes act as 0";

    RecordingSurface s;
    model::TextState state;
    view::placeText(s, state, 10, 20, 0, 8, "ab", false);
    EXPECT_EQ(s.font().sizePt, 8);
    state.textFactor = 1.5;
    state.textOffset = {100, -5};
    s.setBrush(ui::Brush{ui::colors::red, false});
    s.ops.clear();
    view::placeText(s, state, 10, 20, 7, 8, "ab", true);
    // 12 pt: "ab" measures 16 × 16 on the recording surface.
    const std::vector<std::string> expected = {"font 12 (0,0,0)",      "pen (255,255,255) w1", "brush (255,255,255)",
                                               "rect 113,18-129,34",   "pen (0,0,0) w1",       "brush (255,0,0)",
                                               "textbg (255,255,255)", "text 113,18 ab"};
    EXPECT_EQ(s.ops, expected);
}
