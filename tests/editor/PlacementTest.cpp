// Tests of fixture and pillar placement, deletion, height change, slot removal and undo, driven as a user would.
#include "EditorHarness.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

using testing::Harness;
using testing::messageTexts;

TEST(SinglePlacement, NeedsAScaleAndASelectedTypeAndKeepsTheSlotCount) {
    Harness h;
    h.registerSlot(5);
    h.editor->imgKiguClick();
    EXPECT_EQ(h.registration, "shown");
    h.state.doc.selectedType = 5;
    h.click(100, 100);
    EXPECT_EQ(messageTexts(h.services), (std::vector<std::string>{kNeedScale}));
    EXPECT_EQ(h.state.doc.plan.kigu.count(), 0);

    h.setScale(10.0f);
    h.click(100, 100);
    h.click(150, 120);
    EXPECT_EQ(h.fixturePositions(), (std::vector<ui::Point>{{100, 100}, {150, 120}}));
    EXPECT_EQ(h.touroku[5].placedCount, 2);
    EXPECT_EQ(h.painter.symbols.back(), "P 5 150,120 r0");
    EXPECT_EQ(h.countRefreshes, 2);
    const auto& k = h.state.doc.plan.kigu[2];
    EXPECT_EQ(k.anchorX, 150);
    EXPECT_EQ(k.heightOffset, 0);

    h.state.doc.selectedType = -1;
    h.click(200, 200);  // no type: nothing, silently
    EXPECT_EQ(h.state.doc.plan.kigu.count(), 2);
    EXPECT_EQ(h.services.messages.size(), 1u);
}

TEST(SinglePlacement, LinearSlotsPlacedVerticallyTurnNinetyDegrees) {
    Harness h;
    h.readyFixtures(20);
    h.editor->imgFLtateClick();
    h.click(100, 100);
    h.registerSlot(25);
    h.state.doc.selectedType = 25;
    h.click(200, 100);
    EXPECT_EQ(h.state.doc.plan.kigu[1].rotation, 90);
    EXPECT_EQ(h.state.doc.plan.kigu[2].rotation, 0);
    EXPECT_EQ(h.painter.symbols[0], "P 20 100,100 r90");
}

TEST(ArrayTools, RefuseWithoutScaleOrTypeAndLeaveTheToolAsItWas) {
    Harness h;
    h.editor->imgKiguClick();
    h.editor->imgKigu2Click();
    h.setScale(10.0f);
    h.editor->imgKigu3Click();
    EXPECT_EQ(messageTexts(h.services), (std::vector<std::string>{kNeedScale, kNeedType}));
    EXPECT_EQ(h.state.window.toolCode, '1');
    EXPECT_FALSE(h.view("rbtnPitch").visible);
    h.registerSlot(1);
    h.state.doc.selectedType = 1;
    h.editor->imgKigu3Click();
    EXPECT_EQ(h.state.window.toolCode, '3');
    EXPECT_TRUE(h.view("rbtnPitch").visible);
    EXPECT_EQ(h.view("imgKigu3").picture, Picture::On);
    EXPECT_EQ(h.view("imgKigu1").picture, Picture::Off);
}

TEST(ArrayTools, PlaceLinesAndGridsByCountAndByPitchInOrder) {
    Harness h;
    h.readyFixtures(3);
    h.editor->imgKigu2Click();
    h.lengthAnswers.push_back({true, 5, 0});
    h.drag(100, 100, 200, 100);
    ASSERT_EQ(h.lengthRequests.size(), 1u);
    EXPECT_EQ(h.lengthRequests[0].kind, 'K');
    EXPECT_EQ(h.lengthRequests[0].tool, '2');
    EXPECT_EQ(h.lengthRequests[0].click, (ui::Point{200, 100}));
    EXPECT_EQ(h.fixturePositions(), (std::vector<ui::Point>{{100, 100}, {125, 100}, {150, 100}, {175, 100}, {200, 100}}));
    EXPECT_EQ(h.touroku[3].placedCount, 5);

    h.editor->imgKigu3Click();
    h.lengthAnswers.push_back({true, 3, 2});
    h.drag(0, 0, 200, 100);
    const auto afterGrid = h.fixturePositions();
    std::vector<ui::Point> grid(afterGrid.begin() + 5, afterGrid.end());
    EXPECT_EQ(grid, (std::vector<ui::Point>{{0, 0}, {0, 100}, {100, 0}, {100, 100}, {200, 0}, {200, 100}}));

    ASSERT_TRUE(h.editor->rbtnPitchClick());
    h.editor->imgKigu2Click();
    h.lengthAnswers.push_back({true, 1000, 0});
    h.drag(10, 300, 360, 300);  // 3500 mm at 10 mm a pixel
    EXPECT_EQ(h.lengthRequests.back().kind, 'P');
    const auto afterPitch = h.fixturePositions();
    std::vector<ui::Point> pitched(afterPitch.begin() + 11, afterPitch.end());
    EXPECT_EQ(pitched, (std::vector<ui::Point>{{10, 300}, {110, 300}, {210, 300}, {310, 300}, {410, 300}}));
    EXPECT_EQ(h.touroku[3].placedCount, 16);
    EXPECT_EQ(h.editor->dragState(), 'N');

    // Cancelled, zero, coincident and enormous arrays place nothing.
    const int before = h.state.doc.plan.kigu.count();
    h.lengthAnswers.push_back({false, 1000, 0});
    h.drag(0, 0, 100, 0);
    h.click(50, 50);
    h.lengthAnswers.push_back({true, 1000, 0});
    h.click(50, 50);
    h.lengthAnswers.push_back({true, 0, 0});
    h.drag(0, 0, 100, 0);
    h.editor->imgKigu3Click();
    h.lengthAnswers.push_back({true, 10, 10});
    h.drag(0, 0, 200, 200);  // a 10 mm grid over 2 m by 2 m: 201 × 201 fixtures
    EXPECT_EQ(h.state.doc.plan.kigu.count(), before);
    EXPECT_EQ(h.services.messages.back().text, kTooMany);
}

TEST(PitchChoice, NeedsAScale) {
    Harness h;
    h.editor->imgKiguClick();
    EXPECT_FALSE(h.editor->rbtnPitchClick());
    EXPECT_EQ(h.services.messages.back().text, kPitchNeedsScale);
    EXPECT_EQ(h.services.messages.back().title, "エラー");
    EXPECT_EQ(h.state.doc.arrayInput, 'K');
}

TEST(FixtureDeletion, ErasesSymbolsAndLabelsAndCompactsInOrder) {
    Harness h;
    h.readyFixtures(3);
    h.click(100, 100);
    h.click(200, 100);
    h.click(300, 100);
    h.state.doc.plan.kigu[2].heightOffset = 200;
    h.editor->imgDelKiguClick();
    EXPECT_EQ(h.cursor(), 3);
    EXPECT_EQ(h.state.window.snapMode, 'Z');
    h.drag(150, 50, 250, 150);
    EXPECT_EQ(h.fixturePositions(), (std::vector<ui::Point>{{100, 100}, {300, 100}}));
    EXPECT_EQ(h.touroku[3].placedCount, 2);
    EXPECT_EQ(h.painter.symbols.back(), "D 3 200,100 r0");
    EXPECT_EQ(h.recording->opsStartingWith("text ").back(), "text 205,92 3200");  // the height label in white

    // Undo after a deletion takes the highest remaining index; deleted ones stay deleted.
    h.editor->mnuUndoClick();
    EXPECT_EQ(h.fixturePositions(), (std::vector<ui::Point>{{100, 100}}));
    EXPECT_EQ(h.touroku[3].placedCount, 1);
    h.editor->mnuUndoClick();
    EXPECT_EQ(h.touroku[3].placedCount, 0);
    h.editor->mnuUndoClick();  // empty: nothing, never below zero
    EXPECT_EQ(h.touroku[3].placedCount, 0);

    h.editor->imgKigu1Click();
    EXPECT_EQ(h.cursor(), 0);
    EXPECT_EQ(h.state.window.snapMode, 'F');
}

TEST(HeightChange, SetsOffsetsRelativeToTheReferenceHeight) {
    Harness h;
    h.readyFixtures(1);
    h.click(100, 100);
    h.click(200, 100);
    h.click(400, 400);
    h.editor->imgTakasaClick();
    h.drag(300, 300, 350, 350);  // no fixture inside: no question
    EXPECT_TRUE(h.lengthRequests.empty());
    h.lengthAnswers.push_back({true, 3500, 0});
    h.drag(50, 50, 250, 150);
    ASSERT_EQ(h.lengthRequests.size(), 1u);
    EXPECT_EQ(h.lengthRequests[0].kind, 'H');
    EXPECT_EQ(h.state.doc.plan.kigu[1].heightOffset, 500);
    EXPECT_EQ(h.state.doc.plan.kigu[2].heightOffset, 500);
    EXPECT_EQ(h.state.doc.plan.kigu[3].heightOffset, 0);
    h.lengthAnswers.push_back({true, 3000, 0});
    h.drag(150, 50, 250, 150);
    EXPECT_EQ(h.state.doc.plan.kigu[2].heightOffset, 0);

    // The hint shows the absolute height near a raised fixture: within 4 pixels yes, 5 no.
    h.editor->imgKigu1Click();
    h.move(96, 96);
        EXPECT_EQ(h.state.window.surfaceHint, "h=3500mm");
    h.move(95, 96);
    EXPECT_EQ(h.state.window.surfaceHint, "");
}

TEST(Pillars, SizeKindAndArraysFollowTheSizeEntry) {
    Harness h;
    h.editor->imgHasiraClick();
    EXPECT_EQ(h.state.window.editTarget, 'S');
    EXPECT_EQ(h.cursor(), 7);
    EXPECT_EQ(editor::pillarSizeLabel(h.state.window), "□");
    h.click(10, 10);
    EXPECT_EQ(messageTexts(h.services), (std::vector<std::string>{kNeedScale}));
    h.setScale(10.0f);
    h.editor->imgEntyuuClick();
    EXPECT_EQ(editor::pillarSizeLabel(h.state.window), "φ");
    EXPECT_EQ(h.cursor(), 6);
    h.click(300, 200);
    h.state.window.hasiraSizeText = "805";
    h.editor->imgKakutyuuClick();
    h.click(100, 100);
    ASSERT_EQ(h.state.doc.plan.hasira.count(), 2);
    const auto& c = h.state.doc.plan.hasira[1];
    EXPECT_EQ(c.pillarKind, 50);
    EXPECT_EQ((ui::Point{c.x, c.y}), (ui::Point{300, 200}));
    EXPECT_EQ(c.halfSize, 40);
    EXPECT_EQ(h.state.doc.plan.hasira[2].pillarKind, 51);
    EXPECT_EQ(h.state.doc.plan.hasira[2].halfSize, 40);  // trunc(40.25)
    EXPECT_EQ(h.state.doc.plan.lastPillarHalfSize, 40);
    EXPECT_EQ(h.painter.symbols.back(), "p 51 100,100 h40");

    h.state.window.hasiraSizeText = "8x0";
    h.click(400, 400);
    EXPECT_EQ(h.services.errors, (std::vector<std::string>{"'8x0' は数値ではありません"}));
    EXPECT_EQ(h.state.doc.plan.hasira.count(), 2);
    h.state.window.hasiraSizeText = "600";

    h.editor->imgHasira2Click();
    h.lengthAnswers.push_back({true, 3, 0});
    h.drag(0, 500, 100, 500);
    ASSERT_EQ(h.state.doc.plan.hasira.count(), 5);
    EXPECT_EQ(h.state.doc.plan.hasira[4].x, 50);
    EXPECT_EQ(h.state.doc.plan.hasira[5].halfSize, 30);
    EXPECT_EQ(h.touroku.registeredCount(), 0);  // the selected fixture type plays no part

    // Deletion by centre: a rectangle over part of a pillar but not its centre keeps it.
    h.editor->imgHasiraDelClick();
    EXPECT_EQ(h.cursor(), 3);
    h.drag(310, 150, 400, 250);
    EXPECT_EQ(h.state.doc.plan.hasira.count(), 5);
    h.drag(290, 190, 310, 210);
    EXPECT_EQ(h.state.doc.plan.hasira.count(), 4);
    EXPECT_EQ(h.painter.symbols.back(), "D 50 300,200 h40");
    h.editor->imgHasira1Click();
    EXPECT_EQ(h.cursor(), 7);  // the pillar cursor comes back
    EXPECT_EQ(h.state.window.snapMode, 'F');
}

TEST(Undo, TakesTheLastItemOfTheCurrentTargetOnly) {
    Harness h;
    h.click(0, 0);
    h.click(100, 0);
    h.click(100, 100);
    h.click(0, 100);
    h.rightClick(0, 0);
    h.readyFixtures(5);
    h.click(50, 50);
    h.state.doc.resultValid = true;
    h.state.doc.dataChanged = false;
    h.editor->mnuUndoClick();
    EXPECT_EQ(h.state.doc.plan.lines.count(), 3);  // fixtures target: walls untouched
    EXPECT_EQ(h.state.doc.plan.kigu.count(), 0);
    EXPECT_EQ(h.touroku[5].placedCount, 0);
    EXPECT_FALSE(h.state.doc.resultValid);  // a result of the old plan is stale
    EXPECT_TRUE(h.state.doc.dataChanged);

    h.editor->imgRoomClick();
    EXPECT_EQ(h.state.window.undoCaption, "１つ戻す(部屋)");
    h.editor->mnuUndoClick();
    h.editor->mnuUndoClick();
    EXPECT_EQ(h.state.doc.plan.lines.count(), 1);
    EXPECT_EQ(h.state.doc.plan.lines[1].x2, 100);  // the chain goes back last line first
    EXPECT_EQ(h.recording->opsStartingWith("line ").back(), "line 100,0-100,100");
}

} // namespace
} // namespace editor
