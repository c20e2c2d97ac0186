// The picture of the plan view for the clipboard and bitmap files: the drawing surface with the legend stamped where it floats.
#pragma once
#include "model/Document.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <functional>
#include <memory>
#include <string>

namespace io {

// Where the floating legend window and the main window stand on the screen, in screen pixels.
struct LegendWindowGeometry {
    int legendLeft = 0, legendTop = 0;
    int mainLeft = 0, mainTop = 0;
    int mainClientHeight = 0, mainOuterHeight = 0;
    int panelUpHeight = 0;  // the tool panel above the plan
};

// The legend's top-left corner on the plan picture: its screen position less the main window's frame,
// caption, menu and the tool panel above the plan.
ui::Point legendOriginOnPlan(const LegendWindowGeometry& g);

// Where the legend stands on the plan when no window shows it (the headless engine): the place the
// legend window takes when it is shown, 200 pixels in from the right edge, near the top.
ui::Point defaultLegendOrigin(int planWidth);

// The legend as the picture needs it: whether it is shown, where, and how to paint it (the result
// presentation's legend picture); parts outside the picture are clipped by the surface.
struct LegendStamp {
    bool visible = false;
    ui::Point topLeft;
    std::function<void(ui::Surface& picture, ui::Point topLeft)> draw;
};

// picbmp: a copy of the plan surface, same size and content, with the legend stamped when it is visible.
std::unique_ptr<ui::Surface> buildExportPicture(const ui::Surface& plan, const LegendStamp& legend, ui::Services& services);

inline constexpr const char* kBitmapSaveFilter = "BMPﾌｧｲﾙ(*.BMP) |*.BMP";
inline constexpr const char* kBitmapDefaultExtension = "BMP";

// pmnuCopyClick: the export picture onto the clipboard.
bool pmnuCopyClick(const ui::Surface& plan, const LegendStamp& legend, ui::Services& services);

// pmnuSaveClick: the save dialog with the remembered name; on confirmation the name is remembered and
// the export picture written as a Windows bitmap. A failed write is reported, never passed as success.
bool pmnuSaveClick(model::Document& doc, const ui::Surface& plan, const LegendStamp& legend, ui::Services& services);

// The command line's --bmp / --png: the export picture written to a file (the services choose the format).
bool savePlanPicture(const std::string& path, const ui::Surface& plan, const LegendStamp& legend, ui::Services& services);

} // namespace io
