// The calculation's display steps as the editor answers them, and the calculation context built from the main window's state.
#pragma once
#include "calc/CalcContext.h"
#include "editor/Editor.h"

#include <functional>

namespace editor {

// What the calculation driver asks of the window, answered by the editor where it is the editor's:
// clearing and redrawing the plan surface, hiding the windows. Showing the result itself is the result
// presentation's, handed in as `showResult`.
class EditorCalcDisplay : public calc::CalcDisplay {
public:
    EditorCalcDisplay(Editor& editor, ui::Surface& surface, PlanPainter& painter, EditorHooks hooks,
                      std::function<void(char displayKind)> showResult)
        : editor_(editor), surface_(surface), painter_(painter), hooks_(std::move(hooks)), showResult_(std::move(showResult)) {}

    void hideLegends() override {
        if (hooks_.closeLegendWindows) hooks_.closeLegendWindows();
    }
    void clearAndDrawWalls(int penWidth) override;
    void showResult(char displayKind) override {
        if (showResult_) showResult_(displayKind);
    }
    void drawFixturesOnResult() override { painter_.drawFixtures(surface_); }
    void redisplayPlan() override { editor_.redisplayPlan(); }
    void hideRegistrationWindow() override {
        if (hooks_.hideRegistration) hooks_.hideRegistration();
    }

private:
    Editor& editor_;
    ui::Surface& surface_;
    PlanPainter& painter_;
    EditorHooks hooks_;
    std::function<void(char)> showResult_;
};

// One calculation's context over the main window's state.
inline calc::CalcContext makeCalcContext(MainState& state, catalog::TourokuTable& touroku, ui::Surface& surface,
                                         ui::Services& services, calc::CalcDisplay& display, int threads = 0) {
    return calc::CalcContext{state.doc,      touroku,  state.grid, state.stats, state.settings, state.contours,
                             surface,        services, display,    threads};
}

} // namespace editor
