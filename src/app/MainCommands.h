// One entry per command of the main window (menus, palette, status panel, drawing surface), bound to the editor's work.
#pragma once
#include "ui/Types.h"

#include <functional>

namespace app {

// An unbound entry does nothing. Every entry runs inside the main window's handler boundary: a failed
// number conversion is shown by the general error box, then the window mirrors the state again.
struct MainCommands {
    using Command = std::function<void()>;

    // File menu.
    Command New1Click, Open1Click, Save1Click, SaveAs1Click, mnuDxfSaveClick, mnuCsvClick, mnuLoadBMPClick,
        mnuLoadDXFClick, mnuListOutClick, mnuListShowClick, Print1Click, Exit1Click;
    // Edit menu.
    Command mnuRedrawClick, mnuUndoClick, S1Click, mnuKakudaiClick, mnuModosuClick, mnuHaikouClick, mnuLampJClick,
        mnuLampAClick;
    // Display menu: backgrounds, size modes, result redisplay, fixture plot, display precision.
    Command mnuPrintBMPClick, mnuPrintDXFClick, mnuPrintGridClick, mnuDelHaikeiClick, mnuDelGridClick,
        mnuBmpScreenClick, mnuBmpFormClick, mnuBmpSorceClick, mnuDxfScreenClick, mnuDxfFormClick, mnuRedBunpuClick,
        mnuRedLineClick, mnuRedTempClick, mnuKiguShowClick, mnuKiguDelClick, mnuPrint1Click, mnuPrint3Click;
    // Calculation menu and button.
    Command mnuCalcRunClick, imgCalcClick, mnuBunpuClick, mnuTempClick, mnuLineClick, mnuScaleSetClick,
        mnuScaleONClick, mnuScaleOFFClick, mnuOutPutClick, mnuSeidoClick, mnuHosyurituClick;
    // Options and help.
    Command mnuLegendMergeClick, mnuTempMergeClick, mnuwin32fileClick, About1Click;
    // Palette.
    std::function<void(char target)> selectTarget;     // imgRoom 'R', imgKigu 'K', imgHasira 'S'
    std::function<void(char tool)> selectTool;         // the tool codes of the current target
    std::function<void(char snap)> selectSnap;         // imgFree 'F', imgEdge 'E', imgGrid 'G'
    std::function<void(char kind)> selectPillarKind;   // imgEntyuu 'C', imgKakutyuu 'S'
    std::function<void(bool vertical)> selectFl;       // imgFLyoko false, imgFLtate true
    std::function<void(char arrayInput)> selectArrayInput;  // rbtnKosuu 'K', rbtnPitch 'P'
    Command hasiraSizeChanged;                         // txtHasira edited (the text is in the document)
    // Status panel.
    Command btnHenkouClick, btnSuutiClick, Button3Click, btnRedClick;
    // Drawing surface, in plan pixels. mouseDown answers whether a right click opens the context menu.
    std::function<bool(const ui::MouseEvent&)> mouseDown;
    std::function<void(const ui::MouseEvent&)> mouseMove;
    Command pmnuCopyClick, pmnuSaveClick;
    // Window: the close query (true = may close) and a resize of the window.
    std::function<bool()> closeQuery;
    Command resized;
};

} // namespace app
