// What the main window shows of the editing that is no part of the plan: edit target, tool, snap mode, undo caption, hint.
#pragma once
#include <string>

namespace editor {

struct WindowState {
    char editTarget = 'R';    // 'R' walls, 'K' fixtures, 'C' / 'S' pillars
    char toolCode = 'L';      // the tool inside the target (WallTools.h, PlacementTools.h)
    char snapMode = 'F';      // 'F' free, 'E' end points, 'G' grid; '+' and 'Z' while a tool cannot snap
    char rememberedSnapMode = 'F';  // given back when a tool that cannot snap is left
    std::string undoCaption = "１つ戻す(部屋)";
    std::string surfaceHint;  // the drawing surface's hint ("h=3200mm"); empty = hidden
};

} // namespace editor
