// The result presentation the calculation hands over to: colour map, colour temperature, contour lines, legends.
#pragma once
#include "calc/CalcContext.h"
#include "view/Legends.h"

#include <functional>
#include <string>

namespace view {

class ResultDisplay : public calc::CalcDisplay {
public:
    ResultDisplay(model::Document& doc, calc::IlluminanceGrid& grid, calc::ResultStats& stats,
                  calc::CalcSettings& settings, calc::ContourSet& contours, ui::Surface& surface,
                  ui::Services& services);

    // What the main window connects; every hook may stay empty.
    struct Hooks {
        // The editor's own wipe of the drawing surface (default: view::clearDrawingSurface).
        std::function<void()> clearDrawingSurface;
        // The editor's redraw with the background (default: wipe, walls, pillars and fixtures).
        std::function<void()> redisplayPlan;
        std::function<void()> hideRegistrationWindow;
        std::function<void()> hideRangeDialog;
        // Traces the contour set again for the current levels.
        std::function<void()> buildContours;
        // Chooses the six levels again (automatic or the user's) before an existing result is redisplayed.
        std::function<void()> chooseLevels;
        // The floating legend window or the scale window changed (shown, hidden, repainted, moved).
        std::function<void(const LegendWindow&)> legendChanged;
        std::function<void(const TemperatureScaleWindow&)> temperatureScaleChanged;
    } hooks;

    // Where the main window stands; the legend is placed beside it whenever it is shown.
    MainWindowGeometry mainWindow;

    // calc::CalcDisplay
    void hideLegends() override;
    void clearAndDrawWalls(int penWidth) override;
    void showResult(char displayKind) override;
    void drawFixturesOnResult() override;
    void redisplayPlan() override;
    void hideRegistrationWindow() override;

    // The three displays; each returns false when the user cancelled it.
    bool paintColourMap();
    bool paintColourTemperature();
    // Contour lines: traced again when stale, drawn at scale 1, walls with a pen of width 2 over them.
    void showContours();

    // The redisplay commands with a valid result: the levels are chosen again, then the display is
    // repainted from the existing grid. The contour display either draws over the current picture
    // ("重ねて表示") or starts from a wiped surface and repaints its legend ("書き直し").
    bool redisplayColourMap();
    bool redisplayColourTemperature();
    void redisplayContours(bool overlay);

    void clearSurface();
    // Shows the legend window with the picture for this kind, placed beside the main window.
    void showLegend(LegendKind kind);
    void hideLegend();
    // Draws the colour-temperature scale picture (once, when the catalogue colours are known).
    void prepareTemperatureScale();

    const LegendWindow& legend() const { return legend_; }
    LegendWindow& legend() { return legend_; }
    const TemperatureScaleWindow& temperatureScale() const { return tempScale_; }
    TemperatureScaleWindow& temperatureScale() { return tempScale_; }

    model::Document& document() { return doc_; }
    ui::Surface& surface() { return surface_; }

private:
    void drawPlanInBlack();
    void notifyLegend();
    void notifyScale();

    model::Document& doc_;
    calc::IlluminanceGrid& grid_;
    calc::ResultStats& stats_;
    calc::CalcSettings& settings_;
    calc::ContourSet& contours_;
    ui::Surface& surface_;
    ui::Services& services_;
    LegendWindow legend_;
    TemperatureScaleWindow tempScale_;
};

// The illuminance CSV of the context's result; a failure shows the system's write error.
bool writeIlluminanceCsv(const calc::CalcContext& ctx, const std::string& path);

} // namespace view
