// The calculation's request to clear the plan surface and draw the walls the interpolation reads back.
#include "editor/CalcBridge.h"

namespace editor {

void EditorCalcDisplay::clearAndDrawWalls(int penWidth) {
    editor_.clearDrawingSurface();
    ui::Pen pen;
    pen.width = penWidth;
    surface_.setPen(pen);
    painter_.drawWalls(surface_);
    surface_.setPen(ui::Pen{});
}

} // namespace editor
