// What the main window shows beside the plan: menu enabling, title, labels, the pillar size box and display toggles.
#pragma once
#include <string>

namespace model {

// Which menu items are enabled.
struct MenuStates {
    bool save1 = false;                // 上書き保存(&S)
    bool printBmpBackground = false;
    bool printDxfBackground = false;
    bool deleteBackground = false;
    bool deleteGrid = false;
    bool dxfMenu = false;
    bool curve = true;                 // the light distribution curve
    bool redisplayLux = false;         // 照度分布(色)の表示
    bool redisplayColorTemp = false;   // 色温度分布の表示
    bool dxfSaveResult = false;        // DXFﾌｧｲﾙで保存(&H)
    bool csvOutput = false;            // 照度値をcsvファイルに保存
    bool gridPrint = true;             // グリッド表示
    bool print = false;                // 印刷(&P)
    bool scaleSet = true;              // 縮尺の設定(&S): closed while the grid is drawn
};

// Declared here, below every layer that changes what the window shows (opening a project, a result,
// a DXF fit); its one instance is the editor's window state (editor::WindowState), which the main
// window reads after every command. The project (Document) holds none of it.
struct WindowShown {
    MenuStates menus;
    std::string windowTitle;
    std::string scaleLabel;
    std::string maxLuxLabel;
    std::string pointLuxLabel;
    std::string bikouLabel;
    // After a result with reflected light: its average split into the direct and the reflected part.
    std::string reflectionLabel;
    std::string scaleTypeLabel = "照度分布 Scale: 自動";  // labScaleType
    std::string hasiraSizeText = "800";  // txtHasira
    bool gridSnapVisible = false;
    bool resultShown = false;     // a result map covers the drawing surface; clicks do nothing
    bool displayDetail = true;    // every pixel of the colour map (clear: every second row)
    bool legendFramed = true;
    bool tempScaleMerged = false; // the colour-temperature scale window without its border
};

// The window's half of a plan edit: the result menus close and the illuminance labels empty.
void closeResultMenus(WindowShown& shown);

// The drawing surface was wiped: no result covers it, printing and the grid and background deletions
// close, the grid print and scale setting open, the note empties.
void surfaceWiped(WindowShown& shown);

} // namespace model
