// The legend pictures of the result displays and the state of the floating windows that show them.
#pragma once
#include "model/Document.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <memory>

namespace view {

// Which legend the one floating legend window shows.
enum class LegendKind { ColourClasses, ContourLevels, ColourTemperature };

// Picture sizes of the legend window for each display, in pixels.
ui::Size legendSize(LegendKind kind);

// The colour map's legend (150 × 130): a swatch and the lower bound "N Lx～" of each class, lowest on top.
void paintColourLegend(ui::Surface& surface, const model::DisplayTables& tables);
// The contour lines' legend (80 × 100): "■ N Lx" for each level.
void paintContourLegend(ui::Surface& surface, const model::DisplayTables& tables);
// The colour-temperature map's legend (170 × 40): the colour bar from 2000 K with 3000K, 5000K, 7000K.
void paintTemperatureLegend(ui::Surface& surface, const model::DisplayTables& tables);
// Dispatches on the kind.
void paintLegend(ui::Surface& surface, LegendKind kind, const model::DisplayTables& tables);

// The colour-temperature scale picture (167 × 41) that the printed colour-temperature map copies.
inline constexpr ui::Size kTemperatureScaleSize{167, 41};
void drawTemperatureScale(ui::Surface& surface, const model::DisplayTables& tables);

// Where the main window stands on the screen; the legend floats relative to it.
struct MainWindowGeometry {
    int left = 0;
    int top = 0;
    int width = 1910;
    int outerHeight = 1055;
    int clientHeight = 1009;   // outer height less caption, menu bar and frame
    int panelUpHeight = 40;    // the tool palette above the plan
};

// The main window of the headless engine: the geometry the program starts with on that screen.
MainWindowGeometry headlessGeometry(int screenWidth, int screenHeight);

// The floating legend window (borderless, on top, draggable): what it shows and where.
struct LegendWindow {
    bool visible = false;
    bool framed = true;  // dialog border; cleared when the legend is merged into the picture
    LegendKind kind = LegendKind::ColourClasses;
    ui::Point position;  // top-left corner on the screen
    std::unique_ptr<ui::Surface> picture;
};

// Screen position of the legend window: 200 pixels in from the main window's right edge, 100 down.
ui::Point legendPlacement(const MainWindowGeometry& main);

// Where the legend lands on a copy of the plan drawing surface: under the point where it floats on
// the screen, less the main window's frame, caption, menu and the tool palette above the plan.
ui::Point legendStampPosition(const LegendWindow& legend, const MainWindowGeometry& main);

// The colour-temperature scale window; never shown by the system, only hidden and re-bordered.
struct TemperatureScaleWindow {
    bool visible = false;
    bool merged = false;  // tempScaleMerged: set by its own toggle
    bool framed = true;   // dialog border; its own toggle and the range window's toggle both set it
    std::unique_ptr<ui::Surface> picture;
};


} // namespace view
