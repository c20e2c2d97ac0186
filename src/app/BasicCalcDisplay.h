// A minimal result display for the headless calculation: walls and pillars in black, nothing else.
#pragma once
#include "calc/CalcContext.h"
#include "model/Document.h"
#include "ui/Surface.h"

namespace app {

// Stands in for the plan rendering and result display of the window: it draws the walls and pillars in
// black (what the interpolation reads back) and the fixtures as small circles; results are not painted.
class BasicCalcDisplay : public calc::CalcDisplay {
public:
    BasicCalcDisplay(model::Document& doc, ui::Surface& surface) : doc_(doc), surface_(surface) {}

    void hideLegends() override {}
    void clearAndDrawWalls(int penWidth) override;
    void showResult(char displayKind) override;
    void drawFixturesOnResult() override;
    void redisplayPlan() override;
    void hideRegistrationWindow() override {}

private:
    model::Document& doc_;
    ui::Surface& surface_;
};

} // namespace app
