// Tests of the window's reading of the edit state: palette groups and pictures, cursors, menus' enabling and checks.
#include "editor/WindowView.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

std::vector<std::string> visibleOf(const std::map<std::string, ButtonView>& v, std::initializer_list<const char*> names) {
    std::vector<std::string> out;
    for (const char* n : names) {
        if (v.at(n).visible) out.push_back(n);
    }
    return out;
}

TEST(Palette, EachEditTargetShowsItsOwnToolsWithTheActiveOneOn) {
    model::Document doc;
    WindowState window;
    const std::initializer_list<const char*> tools = {"imgLine", "imgL", "imgBox", "imgArc", "imgDelLine", "imgCut", "imgKigu1", "imgKigu2",
                                                      "imgKigu3", "imgDelKigu", "imgTakasa", "imgFLyoko", "imgFLtate",
                                                      "imgEntyuu", "imgKakutyuu", "imgHasira1", "imgHasira2", "imgHasira3",
                                                      "imgHasiraDel", "txtHasira", "rbtnPitch", "rbtnKosuu"};
    auto v = paletteViewOf(doc, window, false);
    EXPECT_EQ(visibleOf(v, tools), (std::vector<std::string>{"imgLine", "imgL", "imgBox", "imgArc", "imgDelLine", "imgCut"}));
    EXPECT_EQ(v["imgLine"].picture, Picture::On);
    EXPECT_EQ(v["imgBox"].picture, Picture::Off);
    EXPECT_EQ(v["imgRoom"].picture, Picture::On);

    window.editTarget = 'K';
    window.toolCode = '3';
    v = paletteViewOf(doc, window, false);
    EXPECT_EQ(visibleOf(v, tools), (std::vector<std::string>{"imgKigu1", "imgKigu2", "imgKigu3", "imgDelKigu", "imgTakasa",
                                                             "imgFLyoko", "imgFLtate", "rbtnPitch", "rbtnKosuu"}));
    EXPECT_EQ(v["imgKigu3"].picture, Picture::On);
    EXPECT_EQ(v["imgFLyoko"].picture, Picture::On);
    EXPECT_EQ(v["imgKigu"].picture, Picture::On);
    EXPECT_EQ(v["imgRoom"].picture, Picture::Off);

    window.toolCode = '1';
    EXPECT_FALSE(paletteViewOf(doc, window, false)["rbtnPitch"].visible);

    window.editTarget = 'C';
    window.toolCode = 'd';
    v = paletteViewOf(doc, window, false);
    EXPECT_EQ(visibleOf(v, tools), (std::vector<std::string>{"imgEntyuu", "imgKakutyuu", "imgHasira1", "imgHasira2",
                                                             "imgHasira3", "imgHasiraDel", "txtHasira"}));
    EXPECT_EQ(v["imgEntyuu"].picture, Picture::On);
    EXPECT_EQ(v["imgKakutyuu"].picture, Picture::Off);
    EXPECT_EQ(v["imgHasira"].picture, Picture::On);
    EXPECT_EQ(pillarSizeLabel(window), "φ");
    window.editTarget = 'S';
    EXPECT_EQ(pillarSizeLabel(window), "□");
}

TEST(Palette, SnapButtonsShowTheirNoPicturesWhileSnappingIsOffAndTheGridButtonOnlyWithAGrid) {
    model::Document doc;
    WindowState window;
    auto v = paletteViewOf(doc, window, false);
    EXPECT_EQ(v["imgFree"].picture, Picture::On);
    EXPECT_TRUE(v["imgFree"].enabled);
    EXPECT_FALSE(v["imgGrid"].visible);
    for (char off : {'+', 'Z'}) {
        window.snapMode = off;
        v = paletteViewOf(doc, window, false);
        for (const char* n : {"imgFree", "imgEdge", "imgGrid"}) {
            EXPECT_EQ(v[n].picture, Picture::No) << n;
            EXPECT_FALSE(v[n].enabled) << n;
        }
    }
    window.snapMode = 'G';
    window.gridSnapVisible = true;
    v = paletteViewOf(doc, window, true);
    EXPECT_TRUE(v["imgGrid"].visible);
    EXPECT_EQ(v["imgGrid"].picture, Picture::On);
    EXPECT_EQ(v["imgFree"].picture, Picture::Off);
    EXPECT_EQ(v["imgCalc"].picture, Picture::On);
}

TEST(Cursors, FollowTheToolTable) {
    model::Document doc;
    WindowState window;
    const std::pair<std::pair<char, char>, int> table[] = {
        {{'R', 'L'}, 0}, {{'R', 'D'}, 3}, {{'R', 'M'}, 4}, {{'R', 'Z'}, 1}, {{'K', '1'}, 0},
        {{'K', 'd'}, 3}, {{'K', 'H'}, 0}, {{'C', '1'}, 6}, {{'S', '3'}, 7}, {{'S', 'd'}, 3},
    };
    for (const auto& [state, cursor] : table) {
        window.editTarget = state.first;
        window.toolCode = state.second;
        EXPECT_EQ(cursorNumberFor(window), cursor) << state.first << state.second;
    }
}

TEST(Menus, StartUpEnablingAndHiddenItems) {
    const model::Document doc;
    const WindowState window;
    calc::CalcSettings settings;
    auto m = menuViewOf(doc, window, settings);
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
    model::Document doc;
    WindowState window;
    calc::CalcSettings settings;
    doc.resultValid = true;
    window.menus.csvOutput = window.menus.dxfSaveResult = window.menus.print = true;
    window.menus.redisplayLux = window.menus.redisplayColorTemp = true;
    window.menus.gridPrint = false;
    auto m = menuViewOf(doc, window, settings);
    for (const char* on : {"mnuOutPut", "mnuDxfSave", "Print1", "mnuRedBunpu", "mnuRedTemp"}) EXPECT_TRUE(m[on].enabled) << on;
    EXPECT_FALSE(m["mnuPrintGrid"].enabled);

    model::markPlanChanged(doc, window);
    m = menuViewOf(doc, window, settings);
    for (const char* off : {"mnuOutPut", "mnuDxfSave", "mnuRedBunpu", "mnuRedTemp"}) EXPECT_FALSE(m[off].enabled) << off;
    EXPECT_TRUE(m["mnuPrintGrid"].enabled);
}

} // namespace
} // namespace editor
