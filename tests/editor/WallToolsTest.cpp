// Tests of the wall tools driven by clicks: chains, orthogonal lines, rectangles, arcs, the cut, deletion, snapping, rubber band.
#include "EditorHarness.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

using testing::Harness;

std::vector<std::string> walls(const MainState& s) {
    std::vector<std::string> out;
    s.doc.plan.lines.forEach([&](const model::LineRecord& l) {
        out.push_back(std::string(1, static_cast<char>(l.kind)) + " " + std::to_string(l.x1) + "," + std::to_string(l.y1) + "-" +
                      std::to_string(l.x2) + "," + std::to_string(l.y2));
    });
    return out;
}

TEST(LineTool, ChainsUntilARightClickAndThenStartsAfresh) {
    Harness h;
    h.state.doc.resultValid = true;
    h.click(100, 100);
    h.click(200, 100);
    h.click(200, 200);
    EXPECT_EQ(walls(h.state), (std::vector<std::string>{"L 100,100-200,100", "L 200,100-200,200"}));
    EXPECT_FALSE(h.state.doc.resultValid);  // an edit makes the result stale
    EXPECT_EQ(h.state.doc.plan.lines[1].maxX, 200);  // normalised when stored

    h.rightClick(250, 250);
    EXPECT_EQ(h.editor->dragState(), 'N');
    EXPECT_EQ(h.contextMenus, 0);  // an operation was in progress
    h.click(300, 300);
    h.click(400, 300);
    EXPECT_EQ(walls(h.state).back(), "L 300,300-400,300");
    EXPECT_EQ(h.state.doc.plan.lines.count(), 3);

    h.editor->imgCutClick();
    EXPECT_EQ(h.editor->dragState(), 'N');
    EXPECT_EQ(h.state.window.toolCode, 'L');  // the cut ends the chain, not the tool
    h.rightClick(0, 0);
    EXPECT_EQ(h.contextMenus, 1);  // nothing in progress: the copy/save menu
}

TEST(OrthogonalTool, ForcesEachClickToTheStartPointsRowOrColumn) {
    Harness h;
    h.editor->imgLClick();
    EXPECT_EQ(h.state.window.snapMode, '+');
    EXPECT_FALSE(h.view("imgFree").enabled);
    h.click(100, 100);
    h.click(150, 130);
    h.click(120, 190);  // from (150, 100): |dx| 30 < |dy| 90, vertical
    EXPECT_EQ(walls(h.state), (std::vector<std::string>{"L 100,100-150,100", "L 150,100-150,190"}));
    h.rightClick(0, 0);
    h.click(100, 100);
    h.click(120, 190);
    EXPECT_EQ(walls(h.state).back(), "L 100,100-100,190");
    h.editor->imgLineClick();
    EXPECT_EQ(h.state.window.snapMode, 'F');  // leaving '+' gives the snap mode back
    EXPECT_TRUE(h.view("imgFree").enabled);
}

TEST(RectangleTool, StoresFourSidesInDrawingOrderAndEnds) {
    Harness h;
    h.editor->imgBoxClick();
    h.click(10, 20);
    h.move(60, 80);
    h.click(110, 220);
    EXPECT_EQ(walls(h.state), (std::vector<std::string>{"L 10,20-110,20", "L 110,20-110,220", "L 110,220-10,220", "L 10,220-10,20"}));
    EXPECT_EQ(h.editor->dragState(), 'N');
    // Drawn black just before storing, in the same order.
    auto lines = h.recording->opsStartingWith("line ");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4], "line 10,20-110,20");
    EXPECT_EQ(lines.back(), "line 10,220-10,20");
}

TEST(ArcTool, ThirdClickAddsTheArcAndChainsFromTheChordEnd) {
    Harness h;
    h.editor->imgArcClick();
    h.click(0, 100);
    EXPECT_EQ(h.editor->dragState(), 'L');
    h.click(200, 100);
    EXPECT_EQ(h.editor->dragState(), 'A');
    h.move(100, 200);
    h.click(100, 200);
    ASSERT_EQ(h.state.doc.plan.lines.count(), 1);
    const auto& a = h.state.doc.plan.lines[1];
    EXPECT_TRUE(a.isArc());
    EXPECT_EQ((ui::Rect{a.x3, a.y3, a.x4, a.y4}), (ui::Rect{0, 0, 200, 200}));
    EXPECT_EQ((ui::Point{a.x1, a.y1}), (ui::Point{0, 100}));  // flag 0: A to B
    EXPECT_EQ((ui::Point{a.x2, a.y2}), (ui::Point{200, 100}));
    EXPECT_EQ(h.start(), (ui::Point{200, 100}));
    EXPECT_EQ(h.editor->dragState(), 'L');
    EXPECT_EQ(h.editor->dragState(), 'L');  // the next arc starts with its chord
    // The chain goes on: the next two clicks make an arc starting at the old chord end.
    h.click(400, 100);
    h.click(300, 0);
    ASSERT_EQ(h.state.doc.plan.lines.count(), 2);
    const auto& b = h.state.doc.plan.lines[2];
    EXPECT_EQ((ui::Rect{b.x3, b.y3, b.x4, b.y4}), (ui::Rect{200, 0, 400, 200}));
    EXPECT_EQ((ui::Point{b.x1, b.y1}), (ui::Point{400, 100}));  // flag 1: B to A
    EXPECT_EQ((ui::Point{b.x2, b.y2}), (ui::Point{200, 100}));
}

TEST(ArcTool, AFailedPreviewKeepsTheLastGoodSquareAndWithoutOneTheClickWaits) {
    Harness h;
    h.editor->imgArcClick();
    h.click(0, 100);
    h.click(200, 100);
    h.click(100, 100);  // on the chord: no circle, and no preview seen yet
    EXPECT_EQ(h.state.doc.plan.lines.count(), 0);
    EXPECT_EQ(h.editor->dragState(), 'A');
    h.move(100, 200);  // a good preview
    h.click(50, 100);  // on the chord: the previewed square is taken
    ASSERT_EQ(h.state.doc.plan.lines.count(), 1);
    EXPECT_EQ(h.state.doc.plan.lines[1].x4, 200);
    EXPECT_EQ(h.state.doc.plan.lines[1].y4, 200);
}

TEST(DeleteTool, RemovesCaughtSegmentsKeepingTheOthersInOrder) {
    Harness h;
    h.click(100, 100);
    h.click(300, 100);
    h.rightClick(0, 0);
    h.click(100, 200);
    h.click(300, 200);
    h.rightClick(0, 0);
    h.click(100, 300);
    h.click(300, 300);
    h.rightClick(0, 0);
    h.state.doc.resultValid = true;
    h.editor->imgDelLineClick();
    EXPECT_EQ(h.cursor(), 3);
    EXPECT_EQ(h.state.window.snapMode, 'Z');
    // A small box in the middle of the second wall: no end point inside, but the wall crosses a diagonal.
    h.drag(190, 190, 210, 210);
    EXPECT_EQ(walls(h.state), (std::vector<std::string>{"L 100,100-300,100", "L 100,300-300,300"}));
    EXPECT_FALSE(h.state.doc.resultValid);
    // The deleted wall was drawn again in white.
    std::string penAtErase;
    for (const auto& op : h.recording->ops) {
        if (op.rfind("pen ", 0) == 0) penAtErase = op;
        if (op == "line 100,200-300,200") break;
    }
    EXPECT_EQ(penAtErase, "pen (0,0,0) w1");  // drawn black when added...
    std::string lastPen;
    for (const auto& op : h.recording->ops) {
        if (op.rfind("pen ", 0) == 0) lastPen = op;
        if (op == "line 100,200-300,200") penAtErase = lastPen;
    }
    EXPECT_EQ(penAtErase, "pen (255,255,255) w1");  // ...and drawn again in white when deleted

    // Zero width deletes nothing.
    h.drag(200, 50, 200, 350);
    EXPECT_EQ(h.state.doc.plan.lines.count(), 2);
    h.editor->imgLineClick();
    EXPECT_EQ(h.cursor(), 0);
    EXPECT_EQ(h.state.window.snapMode, 'F');
}

TEST(SnapModes, EndPointsRejectFarClicksAndGridRoundsToThePitch) {
    Harness h;
    h.click(100, 100);
    h.click(200, 100);
    h.rightClick(0, 0);
    h.editor->imgEdgeClick();
    h.click(150, 150);  // far from every end: ignored
    EXPECT_EQ(h.editor->dragState(), 'N');
    h.click(209, 100);  // 9 pixels right of an end point
    EXPECT_EQ(h.start(), (ui::Point{200, 100}));
    h.click(110, 100);  // 10 pixels: ignored, the line is not finished
    EXPECT_EQ(h.state.doc.plan.lines.count(), 1);
    h.click(104, 97);
    EXPECT_EQ(walls(h.state).back(), "L 200,100-100,100");

    // A DXF vertex closer than any wall end wins while the DXF background is shown.
    h.rightClick(0, 0);
    h.state.doc.backgroundKind = 'D';
    h.dxf.ends = {{300, 300}, {103, 101}};
    h.click(104, 101);
    EXPECT_EQ(h.start(), (ui::Point{103, 101}));
    h.click(305, 305);  // no wall end near, the DXF end alone accepts it
    EXPECT_EQ(walls(h.state).back(), "L 103,101-300,300");

    h.rightClick(0, 0);
    h.state.gridPitch = 20;
    h.state.window.gridSnapVisible = true;
    h.editor->imgGridClick();
    EXPECT_EQ(h.state.window.snapMode, 'G');
    h.click(29, 31);
    EXPECT_EQ(h.start(), (ui::Point{20, 40}));
}

TEST(ToolChange, EndsTheOperationInProgress) {
    Harness h;
    h.click(10, 10);
    h.editor->imgBoxClick();
    EXPECT_EQ(h.editor->dragState(), 'N');
    h.click(50, 60);
    EXPECT_EQ(h.state.doc.plan.lines.count(), 0);  // the rectangle's first corner, not the line's end
    h.editor->imgArcClick();
    EXPECT_EQ(h.editor->dragState(), 'N');
}

TEST(RubberBand, IsGreenXorAndLeavesThePictureAsItWas) {
    Harness h(true, 400, 300);
    h.click(50, 50);
    for (int x = 60; x < 300; x += 17) h.move(x, 150);
    h.move(150, 150);
    EXPECT_EQ(h.pixel(100, 100), (ui::Color{255 ^ 0, 255 ^ 128, 255 ^ 0}));  // green XOR white, on the band line
    h.rightClick(0, 0);
    for (int y = 3; y < 297; y += 3) {
        for (int x = 3; x < 397; x += 3) ASSERT_EQ(h.pixel(x, y), ui::colors::white) << x << "," << y;
    }

    // Over a black wall the band inverts and restores it.
    h.click(20, 200);
    h.click(380, 200);
    h.rightClick(0, 0);
    h.editor->imgBoxClick();
    h.click(100, 150);
    h.move(200, 250);
    h.move(210, 260);
    h.rightClick(0, 0);
    EXPECT_EQ(h.pixel(150, 200), ui::colors::black);
    EXPECT_EQ(h.pixel(100, 180), ui::colors::white);
}

} // namespace
} // namespace editor
