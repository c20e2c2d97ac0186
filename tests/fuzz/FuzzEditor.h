// Shared by the fuzz targets that drive the plan editor: the editor on a surface of the target's choosing, with
// everything it works on, and a painter that draws nothing (the editor's own drawing stays).
#pragma once
#include "editor/Editor.h"
#include "ui/testing/FakeServices.h"

#include <memory>

namespace fuzzing {

class NullPainter : public editor::PlanPainter {
public:
    void drawWalls(ui::Surface&) override {}
    void drawFixtures(ui::Surface&) override {}
    void drawSymbol(ui::Surface&, int, int, int, char, int, int) override {}
};

struct EditorRig {
    editor::MainState state;
    catalog::TourokuTable touroku;
    ui::testing::FakeServices services;
    NullPainter painter;
    editor::EditorHooks hooks;  // set before start()
    std::unique_ptr<editor::Editor> editor;

    editor::Editor& start(ui::Surface& surface) {
        editor = std::make_unique<editor::Editor>(state, touroku, surface, services, painter, hooks);
        editor->initialise();
        return *editor;
    }
};

} // namespace fuzzing
