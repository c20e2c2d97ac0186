// Shared by the fuzz targets that drive the plan editor: a painter that draws nothing, the editor's own drawing stays.
#pragma once
#include "editor/Editor.h"

namespace fuzzing {

class NullPainter : public editor::PlanPainter {
public:
    void drawWalls(ui::Surface&) override {}
    void drawFixtures(ui::Surface&) override {}
    void drawSymbol(ui::Surface&, int, int, int, char, int, int) override {}
};

} // namespace fuzzing
