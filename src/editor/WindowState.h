// The main window's one state: what it shows beside the plan (menus, title, labels, toggles) and the editing that is no part of the plan.
#pragma once
#include "model/WindowShown.h"

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
    std::string surfaceHint;  // the drawing surface's hint ("h=3200mm"); empty = hidden
};

} // namespace editor
