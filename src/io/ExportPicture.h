// The picture of the plan view for the clipboard and bitmap files: the drawing surface with the legend stamped where it floats.
#pragma once
#include "model/Document.h"
#include "view/Legends.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <functional>
#include <memory>
#include <string>

namespace io {

// The legend as the picture needs it: whether it is shown, where, and how to paint it (the result
// presentation's legend picture); parts outside the picture are clipped by the surface.
struct LegendStamp {
    bool visible = false;
    ui::Point topLeft;
    std::function<void(ui::Surface& picture, ui::Point topLeft)> draw;
};

// The result presentation's floating legend as a stamp: its picture, where it lands on the plan
// (view::legendStampPosition), visible while the window is shown. The stamp refers to the window's
// picture, so it is used while the window lives.
LegendStamp legendStampOf(const view::LegendWindow& legend, const view::MainWindowGeometry& main);

// picbmp: a copy of the plan surface, same size and content, with the legend stamped when it is visible.
std::unique_ptr<ui::Surface> buildExportPicture(const ui::Surface& plan, const LegendStamp& legend, ui::Services& services);

inline constexpr const char* kBitmapSaveFilter = "BMPﾌｧｲﾙ(*.BMP) |*.BMP";
inline constexpr const char* kBitmapDefaultExtension = "BMP";

// pmnuCopyClick: the export picture onto the clipboard.
bool pmnuCopyClick(const ui::Surface& plan, const LegendStamp& legend, ui::Services& services);

// pmnuSaveClick: the save dialog with the remembered name; on confirmation the name is remembered and
// the export picture written as a Windows bitmap. A failed write is reported, never passed as success.
bool pmnuSaveClick(model::Document& doc, const ui::Surface& plan, const LegendStamp& legend, ui::Services& services);

enum class PictureFormat { Bmp, Png };

// The export picture written to a file (the bitmap save, and the command line's --bmp / --png). A failed
// write shows "ファイルが作成出来ません。" with the path and returns false.
bool savePlanPicture(const std::string& path, const ui::Surface& plan, const LegendStamp& legend, ui::Services& services,
                     PictureFormat format = PictureFormat::Bmp);

} // namespace io
