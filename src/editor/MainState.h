// The main window's whole state as one plain struct: the document, the result grid and the backgrounds' own state.
#pragma once
#include "calc/ContourSet.h"
#include "calc/IlluminanceGrid.h"
#include "editor/WindowState.h"
#include "model/Document.h"
#include "ui/Surface.h"

#include <memory>

namespace editor {

struct MainState {
    model::Document doc;
    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    calc::ContourSet contours;
    WindowState window;

    int heightChangeChoice = 1; // the answer of the last calculation-height change question

    // Backgrounds and grid.
    int gridPitch = 0;          // finest grid pitch in pixels, for grid snapping
    float bmpFactor = 1.0f;
    std::unique_ptr<ui::Surface> bitmap;  // the loaded background bitmap at its own size
};

} // namespace editor
