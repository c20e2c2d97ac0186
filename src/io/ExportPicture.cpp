// Building the export picture of the plan view and the copy and save commands on it.
#include "io/ExportPicture.h"

namespace io {

ui::Point legendOriginOnPlan(const LegendWindowGeometry& g) {
    return ui::Point{g.legendLeft - g.mainLeft - 4,
                     g.legendTop + g.mainClientHeight - g.mainTop - g.mainOuterHeight - g.panelUpHeight};
}

ui::Point defaultLegendOrigin(int planWidth) {
    // The legend window opens 150 + 50 pixels in from the main window's right edge and 100 pixels below
    // its top; the caption, menu and tool panel above the plan take up about 90 of those.
    return ui::Point{planWidth - 150 - 50, 10};
}

std::unique_ptr<ui::Surface> buildExportPicture(const ui::Surface& plan, const LegendStamp& legend, ui::Services& services) {
    std::unique_ptr<ui::Surface> picture = services.createSurface(plan.width(), plan.height());
    if (!picture) return nullptr;
    picture->drawSurface(0, 0, plan);
    if (legend.visible && legend.draw) legend.draw(*picture, legend.topLeft);
    return picture;
}

bool pmnuCopyClick(const ui::Surface& plan, const LegendStamp& legend, ui::Services& services) {
    const auto picture = buildExportPicture(plan, legend, services);
    return picture && services.copyToClipboard(*picture);
}

bool pmnuSaveClick(model::Document& doc, const ui::Surface& plan, const LegendStamp& legend, ui::Services& services) {
    ui::FileDialogRequest request;
    request.filter = kBitmapSaveFilter;
    request.defaultExtension = kBitmapDefaultExtension;
    request.initialName = doc.bitmapSaveFileName;
    const auto name = services.saveFileDialog(request);
    if (!name || name->empty()) return false;
    doc.bitmapSaveFileName = *name;
    return savePlanPicture(*name, plan, legend, services);
}

bool savePlanPicture(const std::string& path, const ui::Surface& plan, const LegendStamp& legend, ui::Services& services) {
    const auto picture = buildExportPicture(plan, legend, services);
    if (picture && services.saveBitmap(*picture, path)) return true;
    services.messageBox("ファイルが作成出来ません。\n" + path, "エラー", ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

} // namespace io
