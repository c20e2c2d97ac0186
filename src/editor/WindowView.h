// The main window's picture of the edit state: which palette buttons show and which picture each shows, the cursor, the menus.
#pragma once
#include "calc/IlluminanceGrid.h"
#include "editor/WindowState.h"
#include "model/Document.h"

#include <map>
#include <string>

namespace ui {
class Surface;
}

namespace editor {

enum class Picture { Off, On, No };

struct ButtonView {
    bool visible = true;
    bool enabled = true;
    Picture picture = Picture::Off;
};

// Every palette control by its name (imgLine, imgKigu1, imgFree, rbtnPitch, txtHasira, ...).
std::map<std::string, ButtonView> paletteViewOf(const model::Document& doc, const WindowState& window, bool calcPressed);

// The cursor number of the drawing surface (0 = the default arrow).
int cursorNumberFor(const WindowState& window);

// The status bar's count of selected items ("選択: 3 個"); empty without a selection.
std::string selectionCountText(const model::Document& doc, const WindowState& window);

// "φ" for round pillars, "□" for square ones.
std::string pillarSizeLabel(const WindowState& window);

struct MenuView {
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    std::string caption;  // empty = the caption the item was created with
};

// Every menu item by its name (Save1, mnuDxfSave, mnuLampJ, ...).
std::map<std::string, MenuView> menuViewOf(const model::Document& doc, const WindowState& window,
                                          const calc::CalcSettings& settings);

// The undo item while it takes back the latest edit of a selection.
inline constexpr const char* kUndoEditCaption = "１つ戻す(編集)";
// The redo item while there is nothing to redo.
inline constexpr const char* kRedoCaption = "やり直し";
// The captions of the two border toggles of the options menu.
inline constexpr const char* kLegendMergeOn = "照度レンジウィンドゥを背景に合成する";
inline constexpr const char* kLegendMergeOff = "照度レンジウィンドゥを元に戻す";
inline constexpr const char* kTempMergeOn = "色温度目盛りを背景に合わす";
inline constexpr const char* kTempMergeOff = "色温度目盛りを元に戻す";


} // namespace editor
