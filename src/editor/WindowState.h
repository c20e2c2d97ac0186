// The main window's one state: what it shows beside the plan (menus, title, labels, toggles, zoom, pointer read-out) and the editing that is no part of the plan.
#pragma once
#include "editor/Selection.h"
#include "model/WindowShown.h"

#include <cstdint>
#include <string>

namespace editor {

// The layers below the editor change the part they own through model::WindowShown; the main window
// reads this one instance after every command.
struct WindowState : model::WindowShown {
    char editTarget = 'R';    // 'R' walls, 'K' fixtures, 'C' / 'S' pillars
    char toolCode = 'L';      // the tool inside the target (WallTools.h, PlacementTools.h)
    char snapMode = 'F';      // 'F' free, 'E' end points, 'G' grid; '+' and 'Z' while a tool cannot snap
    char rememberedSnapMode = 'F';  // given back when a tool that cannot snap is left
    std::string undoCaption = "１つ戻す(部屋)";
    // What a redo would bring back ("やり直し(器具)"); empty when nothing was undone. The redo is offered
    // only while the plan's revision is still redoRevision, so any edit after the undo closes it.
    std::string redoCaption;
    std::uint64_t redoRevision = 0;
    std::string surfaceHint;  // the drawing surface's hint ("h=3200mm"); empty = hidden
    // Screen pixels per plan pixel in the plan view (0.25 to 8). The plan itself stays at 1:1; what the
    // pointer has to come near (an end point to snap to, a fixture's height hint) is near on the screen.
    double zoom = 1.0;
    // The status panel's read-out under the pointer: its position in mm, and the length and angle of the
    // segment being drawn ("X: 1234 mm  Y: 567 mm  長さ: 2400 mm  角度: 90.0°"); empty without a scale.
    std::string pointerReadout;

    // The items the selection tool picked, valid while the plan's revision is still selectionRevision (any
    // other edit ends it); while a selection is dragged the view shows it shifted by dragOffset.
    std::vector<ItemRef> selection;
    std::uint64_t selectionRevision = 0;
    ui::Point dragOffset;
    // While the plan's revision is this one, "１つ戻す" takes back the latest edit of a selection.
    std::uint64_t editUndoRevision = ~std::uint64_t{0};
    // "均等配置...": the grid tool's dialog starts with "中央に配置" checked until another tool is taken.
    bool centreGridPreset = false;
};

// The selection as it stands: empty once an edit of another tool has changed the plan.
inline const std::vector<ItemRef>& liveSelection(std::uint64_t planRevision, const WindowState& window) {
    static const std::vector<ItemRef> none;
    return window.selectionRevision == planRevision ? window.selection : none;
}

} // namespace editor
