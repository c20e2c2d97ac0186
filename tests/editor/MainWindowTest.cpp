// Tests of the main window's commands: targets, measurement, numeric entry, reference height, result prompts, new plan, backgrounds, grid.
#include "EditorHarness.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

using testing::Harness;
using testing::messageTexts;

TEST(EditTargets, SwitchingSetsCaptionPaletteAndFirstToolWhateverWasUsedBefore) {
    Harness h;
    EXPECT_EQ(h.state.window.editTarget, 'R');
    EXPECT_EQ(h.state.window.toolCode, 'L');
    h.editor->imgBoxClick();
    h.click(10, 10);
    h.editor->imgKiguClick();
    EXPECT_EQ(h.editor->dragState(), 'N');
    EXPECT_TRUE(h.view("imgKigu1").visible);
    EXPECT_FALSE(h.view("imgLine").visible);
    EXPECT_EQ(h.state.window.undoCaption, "１つ戻す(器具)");
    EXPECT_EQ(h.state.window.toolCode, '1');
    h.editor->imgEdgeClick();
    h.editor->imgRoomClick();
    EXPECT_EQ(h.registration, "hidden");
    EXPECT_EQ(h.state.window.toolCode, 'L');
    EXPECT_EQ(h.view("imgBox").picture, Picture::Off);  // the old tool's button goes off on re-entry
    EXPECT_EQ(h.view("imgLine").picture, Picture::On);
    EXPECT_EQ(h.state.window.snapMode, 'F');
    EXPECT_EQ(h.state.doc.plan.lines.count(), 0);  // the rectangle in progress was dropped

    h.editor->imgHasiraClick();
    h.editor->imgEntyuuClick();
    h.setScale(10);
    h.editor->imgHasira3Click();
    h.editor->imgKiguClick();
    h.editor->imgHasiraClick();
    EXPECT_EQ(h.state.window.editTarget, 'S');  // always square pillars and tool '1' again
    EXPECT_EQ(h.state.window.toolCode, '1');
    EXPECT_EQ(h.cursor(), 7);
    EXPECT_EQ(h.state.window.undoCaption, "１つ戻す(柱)");
    EXPECT_EQ(h.view("imgHasira3").picture, Picture::Off);
}

TEST(ScaleMeasurement, SetsTheScaleFromAMeasuredLineAndRestoresToolAndSnap) {
    Harness h;
    h.click(100, 100);
    h.click(300, 100);
    h.rightClick(0, 0);
    h.editor->imgLClick();
    h.editor->S1Click();
    EXPECT_EQ(h.state.window.toolCode, 'M');
    EXPECT_EQ(h.state.window.snapMode, 'E');
    EXPECT_EQ(h.cursor(), 4);
    h.lengthAnswers.push_back({true, 5000, 0});
    h.click(101, 101);
    h.click(298, 99);  // both snap to the wall's ends, 200 pixels apart
    ASSERT_EQ(h.lengthRequests.size(), 1u);
    EXPECT_EQ(h.lengthRequests[0].kind, 'M');
    EXPECT_EQ(h.lengthRequests[0].tool, 'M');
    EXPECT_FLOAT_EQ(h.state.doc.plan.mmPerPixel, 25.0f);
    EXPECT_EQ(h.state.doc.plan.scaleDenominator, 95);
    EXPECT_EQ(h.state.window.scaleLabel, "縮尺：1/95");
    EXPECT_EQ(h.state.doc.plan.lines.count(), 1);  // the plan itself is unchanged
    EXPECT_EQ(h.state.doc.plan.lines[1].x2, 300);
    EXPECT_EQ(h.state.window.toolCode, '+');
    EXPECT_EQ(h.state.window.snapMode, '+');
    h.editor->imgLineClick();
    EXPECT_EQ(h.state.window.snapMode, 'F');  // the snap mode '+' remembered is still the one before

    // A right click while measuring goes back and opens no menu; a cancelled dialog sets nothing.
    h.editor->imgGridClick();  // hidden without a grid: refused
    EXPECT_EQ(h.state.window.snapMode, 'F');
    h.editor->S1Click();
    h.rightClick(5, 5);
    EXPECT_EQ(h.contextMenus, 0);
    EXPECT_EQ(h.state.window.toolCode, 'L');
    EXPECT_EQ(h.state.window.snapMode, 'F');
    h.editor->S1Click();
    h.click(100, 100);
    h.click(300, 100);
    EXPECT_FLOAT_EQ(h.state.doc.plan.mmPerPixel, 25.0f);
    EXPECT_EQ(h.state.window.toolCode, 'L');
}

TEST(NumericPointEntry, EndsTheOperationAtTheTypedOffsetWithYUpwards) {
    Harness h;
    h.editor->btnSuutiClick();
    EXPECT_EQ(messageTexts(h.services), (std::vector<std::string>{kNeedScale}));
    h.setScale(10.0f);
    h.click(100, 100);
    h.lengthAnswers.push_back({true, 3000, 0});
    h.editor->btnSuutiClick();
    ASSERT_EQ(h.lengthRequests.size(), 1u);
    EXPECT_EQ(h.lengthRequests[0].kind, 'L');
    EXPECT_TRUE(h.lengthRequests[0].atFixedPlace);
    ASSERT_EQ(h.state.doc.plan.lines.count(), 1);
    EXPECT_EQ(h.state.doc.plan.lines[1].x2, 400);
    EXPECT_EQ(h.state.doc.plan.lines[1].y2, 100);
    h.lengthAnswers.push_back({true, 0, 500});
    h.editor->btnSuutiClick();
    EXPECT_EQ(h.state.doc.plan.lines[2].y2, 50);
    h.lengthAnswers.push_back({true, 0, 0});
    h.editor->btnSuutiClick();
    h.lengthAnswers.push_back({true, 2000000000, 0});  // far off any surface: refused
    h.editor->btnSuutiClick();
    EXPECT_EQ(h.state.doc.plan.lines.count(), 2);
}

TEST(ReferenceHeightChange, TheThreeAnswersMoveOrKeepTheRaisedFixtures) {
    struct Case {
        int answer;
        int expected;
    };
    for (const Case c : {Case{1, 0}, Case{2, 500}, Case{3, 1000}, Case{0, 500}}) {
        Harness h;
        h.readyFixtures(1);
        h.click(10, 10);
        h.click(20, 20);
        h.state.doc.plan.kigu[1].heightOffset = 500;
        h.state.doc.resultValid = true;
        h.newTenDaka = 2500;
        h.heightAnswer = c.answer;
        const int redraws = h.painter.wallsDrawn;
        h.editor->btnHenkouClick();
        EXPECT_EQ(h.state.doc.plan.kigu[1].heightOffset, c.expected) << c.answer;
        EXPECT_EQ(h.state.doc.plan.kigu[2].heightOffset, 0);
        EXPECT_EQ(h.painter.wallsDrawn, redraws + 1);
        EXPECT_FALSE(h.state.doc.resultValid);
    }
    Harness h;
    h.readyFixtures(1);
    h.click(10, 10);
    h.state.doc.plan.kigu[1].heightOffset = 500;
    h.heightAnswer = 3;
    h.newTenDaka = 2500;
    h.editor->btnHenkouClick();
    h.newTenDaka = 2000;
    h.editor->btnHenkouClick();
    EXPECT_EQ(h.preselectedHeightAnswer, 3);  // the previous answer is offered again
    h.newTenDaka = 2000;
    h.heightAnswer = 1;
    h.state.doc.resultValid = true;
    h.editor->btnHenkouClick();  // unchanged height: no question, and the result stands
    EXPECT_EQ(h.state.doc.plan.kigu[1].heightOffset, 1500);
    EXPECT_TRUE(h.state.doc.resultValid);
}

TEST(ResultCommands, RecalculationPromptAndRefusals) {
    Harness h;
    h.confirmCalc = false;
    h.editor->mnuRedBunpuClick();
    EXPECT_EQ(messageTexts(h.services), (std::vector<std::string>{kNoFixtures}));
    EXPECT_EQ(h.services.messages[0].title, "");
    EXPECT_EQ(h.services.messages[0].icon, ui::Icon::Stop);
    EXPECT_EQ(h.state.doc.displayKind, 'B');
    h.editor->imgCalcClick();
    EXPECT_EQ(h.calcDialogs, 0);
    h.editor->mnuCalcRunClick();  // the menu skips the fixture check
    EXPECT_EQ(h.calcDialogs, 1);

    h.readyFixtures(1);
    h.click(100, 100);
    h.editor->imgCalcClick();
    EXPECT_EQ(h.calcRuns, 0);
    h.confirmCalc = true;
    h.editor->imgCalcClick();
    EXPECT_EQ(h.calcRuns, 1);
    EXPECT_TRUE(h.state.doc.resultValid);

    // A shown result blocks clicks until the plan is drawn again without it.
    h.click(200, 200);
    EXPECT_EQ(h.state.doc.plan.kigu.count(), 1);
    h.editor->mnuRedrawClick();
    h.editor->mnuRedBunpuClick();  // valid: redisplay without asking
    EXPECT_EQ(h.redisplays, (std::vector<char>{'B'}));
    h.click(200, 200);
    EXPECT_EQ(h.state.doc.plan.kigu.count(), 2);

    const auto before = h.services.messages.size();
    h.services.answers.push_back(ui::Answer::Cancel);
    h.editor->mnuRedTempClick();
    ASSERT_EQ(h.services.messages.size(), before + 1);
    EXPECT_EQ(h.services.messages.back().text, "データが変更されています。\n再計算します。");
    EXPECT_EQ(h.services.messages.back().title, "再計算");
    EXPECT_EQ(h.services.messages.back().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(h.calcRuns, 1);
    EXPECT_EQ(h.state.doc.displayKind, 'C');
    h.editor->mnuRedBunpuClick();  // OK this time
    EXPECT_EQ(h.calcRuns, 2);

    h.redrawChoice = false;
    h.editor->mnuRedLineClick();  // the redraw dialog closed without a choice
    EXPECT_EQ(h.redisplays.size(), 1u);

    h.editor->mnuTempClick();
    EXPECT_EQ(h.state.window.scaleTypeLabel, "色温度分布");
    h.editor->mnuScaleONClick();
    h.editor->mnuLineClick();
    EXPECT_EQ(h.state.doc.displayKind, 'T');
    EXPECT_EQ(h.state.window.scaleTypeLabel, "照度分布 Scale: 設定値");

    h.state.doc.selectedType = -1;
    h.editor->mnuHaikouClick();
    EXPECT_EQ(h.services.messages.back().text, "器具を選択してください");
    h.state.doc.selectedType = 1;
    h.editor->mnuHaikouClick();
    EXPECT_EQ(h.curveSlot, 1);
}

TEST(PointIlluminance, ShowsTheTruncatedGridValueWhileTheResultIsValid) {
    Harness h;
    h.state.grid.lux[h.state.grid.index(40, 30)] = 123.9f;
    h.move(40, 30);
    EXPECT_EQ(h.state.window.pointLuxLabel, "");
    h.state.doc.resultValid = true;
    h.move(40, 30);
    EXPECT_EQ(h.state.window.pointLuxLabel, "(123 Lx)");
    h.move(-5, 30000);  // outside the grid
    EXPECT_EQ(h.state.window.pointLuxLabel, "(0 Lx)");
}

TEST(NewPlan, ClearsThePlanAndSetsTheChosenScaleWithItsGrid) {
    Harness h(true, 400, 300);
    h.readyFixtures(2);
    h.click(50, 50);
    h.newPlan = NewPlanChoice{true, NewPlanBackground::Grid, 50, false, ""};
    h.editor->New1Click();
    EXPECT_EQ(h.state.doc.plan.kigu.count(), 0);
    EXPECT_EQ(h.touroku[2].placedCount, 0);
    EXPECT_FALSE(h.touroku[2].isRegistered());
    EXPECT_EQ(h.registration, "hidden");
    EXPECT_FLOAT_EQ(h.state.doc.plan.mmPerPixel, 12.5f);  // 1 m = 80 pixels at 1/50 on 96 dpi
    EXPECT_EQ(h.state.window.scaleLabel, "縮尺：1/50 (47)");
    EXPECT_EQ(h.state.gridPitch, 8);
    EXPECT_TRUE(h.state.doc.gridShown);
    EXPECT_FALSE(h.state.window.menus.scaleSet);
    EXPECT_TRUE(h.state.window.menus.deleteGrid);
    // Finest lines every 8 pixels, 500 mm and 1 m lines darker, the red 1 m bar 80 pixels long.
    EXPECT_EQ(h.pixel(4, 101), ui::colors::white);
    EXPECT_EQ(h.pixel(8, 101), (ui::Color{204, 204, 204}));
    EXPECT_EQ(h.pixel(40, 101), (ui::Color{170, 170, 170}));
    EXPECT_EQ(h.pixel(160, 101), (ui::Color{136, 136, 136}));
    EXPECT_EQ(h.pixel(30, 45), ui::colors::red);
    EXPECT_EQ(h.pixel(79, 45), ui::colors::red);
    EXPECT_NE(h.pixel(84, 45), ui::colors::red);
    EXPECT_EQ(h.pixel(80, 44), ui::colors::red);

    h.editor->mnuDelGridClick();
    EXPECT_TRUE(h.state.window.menus.scaleSet);  // the scale can be measured again
    EXPECT_FALSE(h.state.window.gridSnapVisible);
    EXPECT_EQ(h.pixel(8, 101), ui::colors::white);

    h.newPlan = NewPlanChoice{true, NewPlanBackground::Grid, 50, true, "1/5"};
    h.editor->New1Click();
    EXPECT_EQ(h.services.errors, (std::vector<std::string>{"'1/5' は数値ではありません"}));
    EXPECT_FALSE(h.state.doc.plan.hasScale());
    EXPECT_EQ(h.state.window.scaleLabel, "縮尺未設定");

    h.newPlan = NewPlanChoice{true, NewPlanBackground::White, 50, false, ""};
    h.editor->New1Click();
    EXPECT_EQ(h.state.doc.backgroundKind, 'N');
    h.newPlan = NewPlanChoice{};  // cancelled: nothing changes
    h.setScale(5.0f);
    h.editor->New1Click();
    EXPECT_TRUE(h.state.doc.plan.hasScale());
}

TEST(ScaleGrid, FamiliesAndBarFollowTheScaleAndZeroPitchesDrawNothing) {
    auto greysAt = [](int denominator) {
        Harness h;
        h.state.doc.plan.scaleDenominator = denominator;
        h.state.doc.plan.mmPerPixel = 10;
        h.state.doc.gridShown = true;
        h.recording->ops.clear();
        h.editor->drawGrid();
        std::vector<std::string> pens;
        for (const auto& op : h.recording->opsStartingWith("pen "))
            if (pens.empty() || pens.back() != op) pens.push_back(op);
        return std::make_pair(pens, h.recording->opsStartingWith("text "));
    };
    auto [p100, t100] = greysAt(100);
    EXPECT_EQ(p100.front(), "pen (204,204,204) w1");
    EXPECT_EQ(p100[2], "pen (136,136,136) w1");
    EXPECT_EQ(p100[3], "pen (255,0,0) w1");
    ASSERT_EQ(t100.size(), 1u);
    EXPECT_NE(t100[0].find("5m"), std::string::npos);
    auto [p200, t200] = greysAt(200);
    EXPECT_EQ(p200.front(), "pen (221,221,221) w1");
    EXPECT_EQ(p200[3], "pen (136,136,136) w1");
    // At 1/5000 a 500 mm pitch is under a pixel: no lines, and no endless loop.
    Harness h;
    h.state.doc.plan.scaleDenominator = 5000;
    h.recording->ops.clear();
    h.editor->drawGrid();
    EXPECT_TRUE(h.recording->opsStartingWith("line ").size() <= 3u);  // the bar alone
}

TEST(BitmapBackground, FittingFollowsTheSizeMode) {
    Harness h(false, 1000, 800);
    h.services.fileAnswers.push_back(std::string("plan.bmp"));
    h.editor->mnuLoadBMPClick();
    EXPECT_EQ(h.services.openRequests.back().filter, "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp");
    EXPECT_EQ(h.state.doc.backgroundKind, 'B');
    EXPECT_FLOAT_EQ(h.state.bmpFactor, 0.5f);
    EXPECT_EQ(h.recording->opsStartingWith("stretch ").back(), "stretch 0,0-2000,1000 to 0,0-1000,500");
    EXPECT_TRUE(h.state.window.menus.printBmpBackground);
    EXPECT_TRUE(h.state.window.menus.deleteBackground);
    EXPECT_FALSE(h.state.window.menus.dxfMenu);

    h.services.answers.push_back(ui::Answer::Ok);
    h.editor->mnuBmpSorceClick();
    EXPECT_EQ(h.services.messages.back().text, "画面を変更しますか");
    EXPECT_EQ(h.recording->opsStartingWith("stretch ").back(), "stretch 0,0-2000,1000 to 0,0-2000,1000");
    h.services.answers.push_back(ui::Answer::Cancel);
    h.editor->mnuBmpScreenClick();
    EXPECT_EQ(h.state.doc.bitmapSizeMode, 1);
    EXPECT_EQ(h.enlargements, 0);  // cancelled: not refitted
    h.editor->mnuRedrawClick();  // as last fitted
    EXPECT_EQ(h.recording->opsStartingWith("stretch ").back(), "stretch 0,0-2000,1000 to 0,0-2000,1000");

    h.editor->mnuDelHaikeiClick();
    EXPECT_FALSE(h.state.doc.backgroundShown);
    EXPECT_FALSE(h.state.window.menus.deleteBackground);
    const auto stretches = h.recording->opsStartingWith("stretch ").size();
    h.editor->mnuRedrawClick();
    EXPECT_EQ(h.recording->opsStartingWith("stretch ").size(), stretches);
    h.editor->mnuPrintBMPClick();
    EXPECT_EQ(h.recording->opsStartingWith("stretch ").size(), stretches + 1);

    // A cancelled dialog and a failing reader change nothing.
    h.editor->mnuLoadBMPClick();
    EXPECT_EQ(h.state.doc.backgroundKind, 'B');
}

TEST(DxfBackground, LoadingFitsDrawsAndEnablesTheDxfMenus) {
    Harness h;
    h.state.doc.gridShown = true;
    h.editor->mnuLoadDXFClick();  // cancelled: the flags have already changed
    EXPECT_FALSE(h.state.doc.gridShown);
    EXPECT_TRUE(h.state.doc.backgroundShown);
    EXPECT_EQ(h.state.doc.backgroundKind, 'N');

    h.services.fileAnswers.push_back(std::string("room.dxf"));
    h.editor->mnuLoadDXFClick();
    EXPECT_EQ(h.services.openRequests.back().filter, "DXFﾌｧｲﾙ (*.DXF) | *.DXF");
    EXPECT_EQ(h.services.progressLog.front(), "show DXFﾌｧｲﾙの読み込み|DXFﾌｧｲﾙを読み込み中|0");
    EXPECT_EQ(h.dxf.calls, (std::vector<std::string>{"load room.dxf", "fit", "draw"}));
    EXPECT_EQ(h.state.doc.backgroundKind, 'D');
    EXPECT_TRUE(h.state.window.menus.dxfMenu);
    EXPECT_TRUE(h.state.window.menus.printDxfBackground);
    EXPECT_FALSE(h.state.window.menus.printBmpBackground);

    h.editor->mnuKakudaiClick();
    EXPECT_EQ(h.cursor(), 1);
    EXPECT_FALSE(h.view("imgFree").enabled);
    h.drag(10, 20, 110, 220);
    EXPECT_EQ(h.dxf.calls[3], "zoom 10,20-110,220");
    EXPECT_EQ(h.dxf.calls.back(), "draw");
    h.editor->mnuModosuClick();
    EXPECT_EQ(h.dxf.calls[5], "reset");
    h.editor->imgLineClick();
    EXPECT_TRUE(h.view("imgFree").enabled);  // leaving the zoom tool gives the snap buttons back
    EXPECT_EQ(h.cursor(), 0);

    h.dxf.loadResult = false;
    h.services.fileAnswers.push_back(std::string("broken.dxf"));
    h.state.doc.backgroundKind = 'N';
    h.editor->mnuLoadDXFClick();
    EXPECT_EQ(h.state.doc.backgroundKind, 'N');
}

TEST(Redraw, TheResultOverlayDrawsFixturesOnlyWhenAskedAndClearsNothing) {
    Harness h;
    h.recording->ops.clear();
    h.editor->redraw(-1);
    EXPECT_TRUE(h.recording->opsStartingWith("rect 0,0").empty());
    EXPECT_EQ(h.painter.fixturesDrawn, 0);
    h.editor->mnuKiguShowClick();
    h.editor->redraw(-1);
    EXPECT_EQ(h.painter.fixturesDrawn, 1);
    h.state.window.resultShown = true;
    h.editor->redraw(0);
    EXPECT_FALSE(h.state.window.resultShown);
    EXPECT_EQ(h.recording->opsStartingWith("rect 0,0").back(), "rect 0,0-800,600");
}

TEST(WindowResize, TheFirstResizeIsIgnoredAndLaterOnesSwitchScrollingByThePlanExtent) {
    Harness h;
    h.state.doc.extent.Xe = -1;
    EXPECT_TRUE(h.editor->windowResized(10, 10, true));  // still initialising: nothing changes
    EXPECT_EQ(h.state.doc.extent.Xe, -1);
    h.state.doc.extent.Xe = 0;
    EXPECT_FALSE(h.editor->windowResized(10, 10, false));
    EXPECT_EQ(h.state.doc.extent.Xe, 1);
    h.click(100, 100);
    h.click(1200, 100);
    EXPECT_TRUE(h.editor->windowResized(800, 500, false));
    EXPECT_EQ(h.state.doc.extent.Xe, 1208);
    EXPECT_TRUE(h.editor->windowResized(800, 500, true));
    EXPECT_FALSE(h.editor->windowResized(1600, 500, true));
    EXPECT_FALSE(h.editor->windowResized(1208, 500, false));  // exactly as wide: no scrolling needed
    EXPECT_TRUE(h.editor->windowResized(1208, 500, true));    // ...but not narrow enough to switch it off
}

} // namespace
} // namespace editor
