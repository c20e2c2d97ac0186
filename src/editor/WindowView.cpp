// The main window's picture of its state, free of any window, so that every enabling rule is tested headless.
#include "editor/WindowView.h"

#include "ui/Surface.h"

namespace editor {
namespace {

bool isPillars(char target) { return target == 'C' || target == 'S'; }

ButtonView tool(bool visible, bool on) { return ButtonView{visible, true, on ? Picture::On : Picture::Off}; }

} // namespace

std::map<std::string, ButtonView> paletteViewOf(const model::Document& doc, const WindowState& window, bool calcPressed) {
    std::map<std::string, ButtonView> v;
    const char t = window.editTarget;
    const char c = window.toolCode;
    const bool walls = t == 'R';
    const bool fixtures = t == 'K';
    const bool pillars = isPillars(t);

    v["imgRoom"] = tool(true, walls);
    v["imgKigu"] = tool(true, fixtures);
    v["imgHasira"] = tool(true, pillars);
    v["imgSelect"] = tool(true, c == 'V');

    v["imgLine"] = tool(walls, walls && c == 'L');
    v["imgL"] = tool(walls, walls && c == '+');
    v["imgBox"] = tool(walls, walls && c == 'S');
    v["imgArc"] = tool(walls, walls && c == 'A');
    v["imgDelLine"] = tool(walls, walls && c == 'D');
    v["imgCut"] = tool(walls, false);  // shows ON only while it is held
    v["imgArea"] = tool(walls, walls && c == 'T');
    v["imgDelArea"] = tool(walls, walls && c == 't');

    v["imgKigu1"] = tool(fixtures, fixtures && c == '1');
    v["imgKigu2"] = tool(fixtures, fixtures && c == '2');
    v["imgKigu3"] = tool(fixtures, fixtures && c == '3');
    v["imgDelKigu"] = tool(fixtures, fixtures && c == 'd');
    v["imgTakasa"] = tool(fixtures, fixtures && c == 'H');
    v["imgFLyoko"] = tool(fixtures, !doc.flVertical);
    v["imgFLtate"] = tool(fixtures, doc.flVertical);

    v["imgEntyuu"] = tool(pillars, t == 'C');
    v["imgKakutyuu"] = tool(pillars, t == 'S');
    v["imgHasira1"] = tool(pillars, pillars && c == '1');
    v["imgHasira2"] = tool(pillars, pillars && c == '2');
    v["imgHasira3"] = tool(pillars, pillars && c == '3');
    v["imgHasiraDel"] = tool(pillars, pillars && c == 'd');
    v["txtHasira"] = tool(pillars, false);
    v["labHasira"] = tool(pillars, false);
    v["labHasiraMm"] = tool(pillars, false);

    // The array input choice belongs to the line and grid arrays; walls never show it.
    const bool arrays = !walls && (c == '2' || c == '3');
    v["rbtnKosuu"] = ButtonView{arrays, true, doc.arrayInput == 'K' ? Picture::On : Picture::Off};
    v["rbtnPitch"] = ButtonView{arrays, true, doc.arrayInput == 'P' ? Picture::On : Picture::Off};

    // While a tool that cannot snap is active the three snap buttons show their NO pictures.
    const char s = window.snapMode;
    const bool snapOff = s == '+' || s == 'Z';
    auto snap = [&](bool visible, char mode) {
        return snapOff ? ButtonView{visible, false, Picture::No} : ButtonView{visible, true, s == mode ? Picture::On : Picture::Off};
    };
    v["imgFree"] = snap(true, 'F');
    v["imgEdge"] = snap(true, 'E');
    v["imgGrid"] = snap(window.gridSnapVisible, 'G');

    v["imgCalc"] = tool(true, calcPressed);
    return v;
}

int cursorNumberFor(const WindowState& window) {
    const char c = window.toolCode;
    // The measuring tool and the DXF zoom are offered over every target and show their cursors over each.
    if (c == 'M') return 4;
    if (c == 'Z') return 1;
    switch (window.editTarget) {
    case 'R':
        if (c == 'D' || c == 't') return 3;
        return 0;
    case 'K': return c == 'd' ? 3 : 0;
    case 'C': return c == 'd' ? 3 : 6;
    case 'S': return c == 'd' ? 3 : 7;
    default: return 0;
    }
}

std::string pillarSizeLabel(const WindowState& window) { return window.editTarget == 'C' ? "φ" : "□"; }

std::string selectionCountText(const model::Document& doc, const WindowState& window) {
    const std::size_t n = liveSelection(doc.planRevision, window).size();
    return n == 0 ? std::string() : "選択: " + std::to_string(n) + " 個";
}

std::map<std::string, MenuView> menuViewOf(const model::Document& doc, const WindowState& window,
                                          const calc::CalcSettings& settings) {
    const auto& m = window.menus;
    std::map<std::string, MenuView> v;
    auto enabled = [&](const char* name, bool on) { v[name].enabled = on; };
    auto checked = [&](const char* name, bool on) { v[name].checked = on; };
    auto hidden = [&](const char* name) { v[name].visible = false; };

    for (const char* always : {"New1", "Open1", "SaveAs1", "mnuCsv", "mnuLoadBMP", "mnuLoadDXF", "mnuListOut", "Exit1",
                               "mnuRedraw", "mnuUndo", "mnuLampJ", "mnuLampA", "mnuPrintDXF", "mnuRedLine",
                               "mnuBmpScreen", "mnuBmpForm", "mnuBmpSorce", "mnuDxfScreen", "mnuDxfForm", "mnuBunpu",
                               "mnuTemp", "mnuLine", "mnuCalcRun", "mnuScaleSet", "mnuScaleON", "mnuScaleOFF",
                               "mnuKiguShow", "mnuKiguDel", "About1", "mnuwin32file", "mnuKakudai", "mnuModosu",
                               "mnuListPreview", "mnuCancelOp", "mnuDeleteTool", "mnuPowerTable"}) {
        v[always];
    }
    enabled("Save1", m.save1);
    enabled("mnuDxfSave", m.dxfSaveResult);
    enabled("Print1", m.print);
    enabled("mnuPreview", m.print);
    enabled("mnuPdf", m.print);
    // The report calculates when the result is not up to date: it needs luminaires, not a shown result.
    enabled("mnuReport", !doc.plan.kigu.empty());
    enabled("mnuReportPreview", !doc.plan.kigu.empty());
    enabled("S1", m.scaleSet);
    enabled("mnuDXF", m.dxfMenu);
    enabled("mnuHaikou", m.curve);
    enabled("mnuPrintBMP", m.printBmpBackground);
    enabled("mnuPrintDXF", m.printDxfBackground);
    enabled("mnuPrintGrid", m.gridPrint);
    enabled("mnuDelHaikei", m.deleteBackground);
    enabled("mnuDelGrid", m.deleteGrid);
    enabled("mnuRedBunpu", m.redisplayLux);
    enabled("mnuRedTemp", m.redisplayColorTemp);
    enabled("mnuOutPut", m.csvOutput);
    enabled("mnuDxfWalls", doc.backgroundKind == 'D' && !window.resultShown);
    enabled("mnuOutPutXy", m.csvOutput);

    checked("mnuLampJ", doc.lampNameMode == 'J');
    checked("mnuLampA", doc.lampNameMode != 'J');
    checked("mnuBunpu", doc.displayKind == 'B');
    checked("mnuTemp", doc.displayKind == 'C');
    checked("mnuLine", doc.displayKind == 'T');
    checked("mnuScaleON", doc.rangeMode);
    checked("mnuScaleOFF", !doc.rangeMode);
    checked("mnuKiguShow", settings.showFixturesOnResult);
    checked("mnuKiguDel", !settings.showFixturesOnResult);
    checked("mnuPrint1", window.displayDetail);
    checked("mnuPrint3", !window.displayDetail);
    checked("mnuBmpScreen", doc.bitmapSizeMode == 1);
    checked("mnuBmpForm", doc.bitmapSizeMode == 2);
    checked("mnuBmpSorce", doc.bitmapSizeMode == 3);
    checked("mnuDxfScreen", doc.dxfSizeMode == 1);
    checked("mnuDxfForm", doc.dxfSizeMode == 2);

    v["mnuUndo"].caption = window.editUndoRevision == doc.planRevision ? kUndoEditCaption : window.undoCaption;
    // The edits of a selection need one; the properties a single item.
    const std::size_t selected = window.resultShown ? 0 : liveSelection(doc.planRevision, window).size();
    for (const char* name : {"mnuMoveSel", "mnuCopySel", "mnuRotateSel", "mnuMirrorLR", "mnuMirrorUD"}) enabled(name, selected > 0);
    enabled("mnuPropertiesSel", selected == 1);
    for (const char* name : {"actNudgeLeft", "actNudgeRight", "actNudgeUp", "actNudgeDown", "actNudgeLeft10",
                             "actNudgeRight10", "actNudgeUp10", "actNudgeDown10"})
        enabled(name, selected > 0);
    const bool redoOpen = !window.redoCaption.empty() && window.redoRevision == doc.planRevision;
    v["mnuRedo"].caption = redoOpen ? window.redoCaption : kRedoCaption;
    enabled("mnuRedo", redoOpen);
    v["mnuLegendMerge"].caption = window.legendFramed ? kLegendMergeOn : kLegendMergeOff;
    v["mnuTempMerge"].caption = window.tempScaleMerged ? kTempMergeOff : kTempMergeOn;

    // Items the window carries but does not offer.
    for (const char* name : {"mnuHyoujiSeido", "mnuPrint1", "mnuPrint3", "mnuSeido", "mnuHosyuritu", "mnuLegendMerge",
                             "mnuTempMerge", "mnuListShow", "mnuKiguPlot"}) {
        hidden(name);
    }
    return v;
}


} // namespace editor
