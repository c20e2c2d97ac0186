// Tests of how the main window mirrors its state (palette groups and pictures, cursors, menus) and of its result rules.
#include "app/MainRules.h"
#include "app/MainView.h"
#include "app/Startup.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <gtest/gtest.h>

namespace {

using app::Picture;

model::Document startDoc() {
    model::Document doc;
    app::initialiseDocument(doc, app::ScreenInfo{1920, 1080, 96}, 1915, 900);
    return doc;
}

std::vector<std::string> visibleOf(const std::map<std::string, app::ButtonView>& v, std::initializer_list<const char*> names) {
    std::vector<std::string> out;
    for (const char* n : names) {
        if (v.at(n).visible) out.push_back(n);
    }
    return out;
}

TEST(Palette, EachEditTargetShowsItsOwnToolsWithTheActiveOneOn) {
    auto doc = startDoc();
    const std::initializer_list<const char*> tools = {"imgLine", "imgL", "imgBox", "imgArc", "imgDelLine", "imgKigu1", "imgKigu2",
                                                      "imgKigu3", "imgDelKigu", "imgTakasa", "imgFLyoko", "imgFLtate",
                                                      "imgEntyuu", "imgKakutyuu", "imgHasira1", "imgHasira2", "imgHasira3",
                                                      "imgHasiraDel", "txtHasira", "rbtnPitch", "rbtnKosuu"};
    auto v = app::paletteViewOf(doc, false);
    EXPECT_EQ(visibleOf(v, tools), (std::vector<std::string>{"imgLine", "imgL", "imgBox", "imgArc", "imgDelLine"}));
    EXPECT_EQ(v["imgLine"].picture, Picture::On);
    EXPECT_EQ(v["imgBox"].picture, Picture::Off);
    EXPECT_EQ(v["imgRoom"].picture, Picture::On);

    doc.editTarget = 'K';
    doc.toolCode = '3';
    v = app::paletteViewOf(doc, false);
    EXPECT_EQ(visibleOf(v, tools), (std::vector<std::string>{"imgKigu1", "imgKigu2", "imgKigu3", "imgDelKigu", "imgTakasa",
                                                             "imgFLyoko", "imgFLtate", "rbtnPitch", "rbtnKosuu"}));
    EXPECT_EQ(v["imgKigu3"].picture, Picture::On);
    EXPECT_EQ(v["imgFLyoko"].picture, Picture::On);
    EXPECT_EQ(v["imgKigu"].picture, Picture::On);
    EXPECT_EQ(v["imgRoom"].picture, Picture::Off);

    doc.toolCode = '1';
    EXPECT_FALSE(app::paletteViewOf(doc, false)["rbtnPitch"].visible);

    doc.editTarget = 'C';
    doc.toolCode = 'd';
    v = app::paletteViewOf(doc, false);
    EXPECT_EQ(visibleOf(v, tools), (std::vector<std::string>{"imgEntyuu", "imgKakutyuu", "imgHasira1", "imgHasira2",
                                                             "imgHasira3", "imgHasiraDel", "txtHasira"}));
    EXPECT_EQ(v["imgEntyuu"].picture, Picture::On);
    EXPECT_EQ(v["imgKakutyuu"].picture, Picture::Off);
    EXPECT_EQ(v["imgHasira"].picture, Picture::On);
    EXPECT_EQ(app::pillarSizeLabel(doc), "φ");
    doc.editTarget = 'S';
    EXPECT_EQ(app::pillarSizeLabel(doc), "□");
}

TEST(Palette, SnapButtonsShowTheirNoPicturesWhileSnappingIsOffAndTheGridButtonOnlyWithAGrid) {
    auto doc = startDoc();
    auto v = app::paletteViewOf(doc, false);
    EXPECT_EQ(v["imgFree"].picture, Picture::On);
    EXPECT_TRUE(v["imgFree"].enabled);
    EXPECT_FALSE(v["imgGrid"].visible);
    for (char off : {'+', 'Z'}) {
        doc.snapMode = off;
        v = app::paletteViewOf(doc, false);
        for (const char* n : {"imgFree", "imgEdge", "imgGrid"}) {
            EXPECT_EQ(v[n].picture, Picture::No) << n;
            EXPECT_FALSE(v[n].enabled) << n;
        }
    }
    doc.snapMode = 'G';
    doc.gridSnapVisible = true;
    v = app::paletteViewOf(doc, true);
    EXPECT_TRUE(v["imgGrid"].visible);
    EXPECT_EQ(v["imgGrid"].picture, Picture::On);
    EXPECT_EQ(v["imgFree"].picture, Picture::Off);
    EXPECT_EQ(v["imgCalc"].picture, Picture::On);
}

TEST(Cursors, FollowTheToolTable) {
    auto doc = startDoc();
    const std::pair<std::pair<char, char>, int> table[] = {
        {{'R', 'L'}, 0}, {{'R', 'D'}, 3}, {{'R', 'M'}, 4}, {{'R', 'Z'}, 1}, {{'K', '1'}, 0},
        {{'K', 'd'}, 3}, {{'K', 'H'}, 0}, {{'C', '1'}, 6}, {{'S', '3'}, 7}, {{'S', 'd'}, 3},
    };
    for (const auto& [state, cursor] : table) {
        doc.editTarget = state.first;
        doc.toolCode = state.second;
        EXPECT_EQ(app::cursorNumberFor(doc), cursor) << state.first << state.second;
    }
}

TEST(Menus, StartUpEnablingAndHiddenItems) {
    const auto doc = startDoc();
    calc::CalcSettings settings;
    auto m = app::menuViewOf(doc, settings);
    for (const char* off : {"Save1", "mnuDxfSave", "Print1", "mnuDXF", "mnuPrintBMP", "mnuPrintDXF", "mnuDelHaikei",
                            "mnuDelGrid", "mnuRedBunpu", "mnuRedTemp", "mnuOutPut"}) {
        EXPECT_FALSE(m[off].enabled) << off;
    }
    for (const char* on : {"New1", "Open1", "SaveAs1", "mnuHaikou", "S1", "mnuPrintGrid", "mnuCalcRun", "mnuRedLine"}) {
        EXPECT_TRUE(m[on].enabled) << on;
    }
    for (const char* hidden : {"mnuHyoujiSeido", "mnuSeido", "mnuHosyuritu", "mnuLegendMerge", "mnuTempMerge", "mnuListShow"}) {
        EXPECT_FALSE(m[hidden].visible) << hidden;
    }
    EXPECT_TRUE(m["mnuLampA"].checked);
    EXPECT_FALSE(m["mnuLampJ"].checked);
    EXPECT_TRUE(m["mnuBunpu"].checked);
    EXPECT_TRUE(m["mnuScaleOFF"].checked);
    EXPECT_TRUE(m["mnuKiguDel"].checked);
    EXPECT_TRUE(m["mnuBmpForm"].checked);
    EXPECT_TRUE(m["mnuDxfForm"].checked);
    EXPECT_EQ(m["mnuUndo"].caption, "１つ戻す(部屋)");
    EXPECT_EQ(m["mnuLegendMerge"].caption, "照度レンジウィンドゥを背景に合成する");
    EXPECT_EQ(m["mnuTempMerge"].caption, "色温度目盛りを背景に合わす");
}

TEST(Menus, AValidResultOpensTheResultMenusAndAnEditClosesThemAgain) {
    auto doc = startDoc();
    calc::CalcSettings settings;
    doc.resultValid = true;
    doc.menus.csvOutput = doc.menus.dxfSaveResult = doc.menus.print = true;
    doc.menus.redisplayLux = doc.menus.redisplayColorTemp = true;
    doc.menus.gridPrint = false;
    auto m = app::menuViewOf(doc, settings);
    for (const char* on : {"mnuOutPut", "mnuDxfSave", "Print1", "mnuRedBunpu", "mnuRedTemp"}) EXPECT_TRUE(m[on].enabled) << on;
    EXPECT_FALSE(m["mnuPrintGrid"].enabled);

    model::markPlanChanged(doc);
    m = app::menuViewOf(doc, settings);
    for (const char* off : {"mnuOutPut", "mnuDxfSave", "mnuRedBunpu", "mnuRedTemp"}) EXPECT_FALSE(m[off].enabled) << off;
    EXPECT_TRUE(m["mnuPrintGrid"].enabled);
}

TEST(ResultCommands, TheButtonRefusesAnEmptyPlanAndRedisplayAsksOnlyForAStaleResult) {
    ui::testing::FakeServices services;
    auto doc = startDoc();
    EXPECT_FALSE(app::calcButtonAllowed(doc, services));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "器具が配置されていません。");
    EXPECT_EQ(services.messages[0].title, "");
    EXPECT_EQ(services.messages[0].icon, ui::Icon::Stop);

    EXPECT_EQ(app::redisplayStepFor(doc, services, 'C'), app::RedisplayStep::Nothing);
    EXPECT_EQ(services.messages.back().text, "器具が配置されていません。");
    EXPECT_EQ(doc.displayKind, 'C');

    doc.plan.kigu.add(model::KiguRecord{});
    EXPECT_TRUE(app::calcButtonAllowed(doc, services));
    services.answers = {ui::Answer::Ok};
    EXPECT_EQ(app::redisplayStepFor(doc, services, 'B'), app::RedisplayStep::Recalculate);
    EXPECT_EQ(services.messages.back().text, "データが変更されています。\n再計算します。");
    EXPECT_EQ(services.messages.back().title, "再計算");
    EXPECT_EQ(services.messages.back().buttons, ui::Buttons::OkCancel);
    services.answers = {ui::Answer::Cancel};
    EXPECT_EQ(app::redisplayStepFor(doc, services, 'B'), app::RedisplayStep::Nothing);

    const auto asked = services.messages.size();
    doc.resultValid = true;
    EXPECT_EQ(app::redisplayStepFor(doc, services, 'T'), app::RedisplayStep::Redisplay);
    EXPECT_EQ(services.messages.size(), asked);
    EXPECT_EQ(doc.displayKind, 'T');
}

TEST(ResultCommands, KindAndRangeChoicesSetTheScaleTypeLabel) {
    auto doc = startDoc();
    app::chooseRangeMode(doc, true);
    app::chooseResultKind(doc, 'T');
    EXPECT_EQ(doc.scaleTypeLabel, "照度分布 Scale: 設定値");
    app::chooseResultKind(doc, 'C');
    EXPECT_EQ(doc.scaleTypeLabel, "色温度分布");
    app::chooseRangeMode(doc, false);
    app::chooseResultKind(doc, 'B');
    EXPECT_EQ(doc.scaleTypeLabel, "照度分布 Scale: 自動");
    EXPECT_EQ(doc.displayKind, 'B');
}

TEST(ArrayInput, PitchNeedsAScaleCountDoesNot) {
    ui::testing::FakeServices services;
    auto doc = startDoc();
    EXPECT_FALSE(app::chooseArrayInput(doc, services, 'P'));
    EXPECT_EQ(doc.arrayInput, 'K');
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "縮尺が設定されていません。\n縮尺設定");
    EXPECT_EQ(services.messages[0].title, "エラー");
    EXPECT_FALSE(app::requireScale(doc, services));
    EXPECT_EQ(services.messages.back().text, "縮尺を設定して下さい。(編集->縮尺の設定)");

    doc.plan.mmPerPixel = 10;
    EXPECT_TRUE(app::chooseArrayInput(doc, services, 'P'));
    EXPECT_EQ(doc.arrayInput, 'P');
    EXPECT_TRUE(app::chooseArrayInput(doc, services, 'K'));
    EXPECT_EQ(doc.arrayInput, 'K');
}

TEST(ReferenceHeightCommand, AsksAboutOwnHeightsOnlyWhenTheHeightChangedAndSuchFixturesExist) {
    auto doc = startDoc();
    model::KiguRecord raised;
    raised.heightOffset = 500;
    doc.plan.kigu.add(raised);
    doc.dataChanged = false;

    int questions = 0, redraws = 0;
    app::HeightChangeSteps steps;
    steps.askHeight = [&] { return true; };  // the dialog closed without a new value
    steps.askFixtures = [&] { ++questions; return 3; };
    steps.redisplayPlan = [&] { ++redraws; };
    app::changeReferenceHeight(doc, steps);
    EXPECT_EQ(questions, 0);
    EXPECT_FALSE(doc.dataChanged) << "no new height, no change";

    steps.askHeight = [&] {
        doc.tenDaka = 2500;
        return true;
    };
    app::changeReferenceHeight(doc, steps);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(doc.plan.kigu[1].heightOffset, 1000);

    // Cancelling the question changes no fixture, yet the plan is redrawn.
    steps.askHeight = [&] {
        doc.tenDaka = 2000;
        return true;
    };
    steps.askFixtures = [&] { ++questions; return 0; };
    app::changeReferenceHeight(doc, steps);
    EXPECT_EQ(doc.plan.kigu[1].heightOffset, 1000);
    EXPECT_EQ(redraws, 2);
}

} // namespace

namespace {

TEST(WindowResize, TheFirstResizeAfterStartUpIsIgnoredAndLaterOnesFollowThePlanExtent) {
    model::Document doc;
    doc.extent = {0, -1, 0, 0};
    EXPECT_EQ(app::windowResized(doc, false, 100, 100), app::ScrollChange::None);  // still initialising
    EXPECT_EQ(doc.extent.Xe, -1);
    doc.extent.Xe = 0;
    doc.extent.Ye = 0;
    EXPECT_EQ(app::windowResized(doc, false, 100, 100), app::ScrollChange::None);
    EXPECT_EQ(doc.extent.Xe, 1);

    doc.screenWidth = 1920;
    doc.screenHeight = 1080;
    model::LineRecord wall;
    wall.x1 = 10;
    wall.y1 = 10;
    wall.x2 = 600;
    wall.y2 = 400;
    doc.plan.lines.add(wall);
    EXPECT_EQ(app::windowResized(doc, false, 500, 800), app::ScrollChange::On);
    EXPECT_GE(doc.extent.Xe, 600);
    EXPECT_EQ(app::windowResized(doc, true, 500, 800), app::ScrollChange::None);
    EXPECT_EQ(app::windowResized(doc, true, 1000, 800), app::ScrollChange::Off);
    EXPECT_EQ(app::windowResized(doc, false, 1000, 800), app::ScrollChange::None);
}

} // namespace

namespace {

TEST(BackgroundSize, TheModeChangesAtOnceAndOnlyTheShownBackgroundAsksToRedraw) {
    ui::testing::FakeServices services;
    model::Document doc;
    doc.backgroundKind = 'N';
    EXPECT_FALSE(app::chooseBackgroundSize(doc, services, 'B', 3));
    EXPECT_EQ(doc.bitmapSizeMode, 3);
    EXPECT_TRUE(services.messages.empty());

    doc.backgroundKind = 'D';
    EXPECT_FALSE(app::chooseBackgroundSize(doc, services, 'B', 1));  // the bitmap is not what is shown
    services.answers = {ui::Answer::Ok};
    EXPECT_TRUE(app::chooseBackgroundSize(doc, services, 'D', 1));
    EXPECT_EQ(doc.dxfSizeMode, 1);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "画面を変更しますか");
    EXPECT_EQ(services.messages[0].title, "");
    EXPECT_EQ(services.messages[0].buttons, ui::Buttons::OkCancel);
    services.answers = {ui::Answer::Cancel};
    EXPECT_FALSE(app::chooseBackgroundSize(doc, services, 'D', 2));
    EXPECT_EQ(doc.dxfSizeMode, 2);  // the check mark moved even though nothing is redrawn

    const auto menus = app::menuViewOf(doc, calc::CalcSettings{});
    EXPECT_TRUE(menus.at("mnuDxfForm").checked);
    EXPECT_FALSE(menus.at("mnuDxfScreen").checked);
    EXPECT_TRUE(menus.at("mnuBmpScreen").checked);
}

} // namespace
