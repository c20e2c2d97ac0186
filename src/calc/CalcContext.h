// Everything one calculation reads and writes, and the display steps the calculation hands to the result presentation.
#pragma once
#include "calc/ContourSet.h"
#include "calc/IlluminanceGrid.h"
#include "catalog/FixtureType.h"
#include "model/Document.h"
#include "ui/Services.h"
#include "ui/Surface.h"

namespace calc {

// The drawing the calculation asks of the result presentation (implemented above this layer).
class CalcDisplay {
public:
    virtual ~CalcDisplay() = default;
    // Hides the floating legend window and the colour-temperature scale window.
    virtual void hideLegends() = 0;
    // White fill, then walls and pillars in black at offset (0, 0), scale 1, with this pen width.
    virtual void clearAndDrawWalls(int penWidth) = 0;
    // Shows the valid result the way displayKind says ('B' colour map, 'C' colour temperature,
    // 'T' contour lines with their legend).
    virtual void showResult(char displayKind) = 0;
    // Draws the fixtures over the result.
    virtual void drawFixturesOnResult() = 0;
    // Shows the plan again with its background (after a cancel).
    virtual void redisplayPlan() = 0;
    // Hides the fixture registration window if it is shown.
    virtual void hideRegistrationWindow() = 0;
};

struct CalcContext {
    model::Document& doc;
    catalog::TourokuTable& touroku;
    IlluminanceGrid& grid;
    ResultStats& stats;
    CalcSettings& settings;
    ContourSet& contours;
    ui::Surface& surface;  // the plan drawing surface
    ui::Services& services;
    CalcDisplay& display;
    int threads = 0;       // 0 = every core
};

} // namespace calc
