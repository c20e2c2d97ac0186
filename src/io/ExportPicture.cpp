// Building the export picture of the plan view and the copy and save commands on it.
#include "io/ExportPicture.h"

namespace io {

LegendStamp legendStampOf(const view::LegendWindow& legend, const view::MainWindowGeometry& main) {
    LegendStamp stamp;
    stamp.visible = legend.visible && legend.picture != nullptr;
    stamp.topLeft = view::legendStampPosition(legend, main);
    const ui::Surface* picture = legend.picture.get();
    if (picture) stamp.draw = [picture](ui::Surface& onto, ui::Point at) { onto.drawSurface(at.x, at.y, *picture); };
    return stamp;
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

bool savePlanPicture(const std::string& path, const ui::Surface& plan, const LegendStamp& legend, ui::Services& services,
                     PictureFormat format) {
    const auto picture = buildExportPicture(plan, legend, services);
    const bool written = picture && (format == PictureFormat::Png ? services.savePng(*picture, path)
                                                                   : services.saveBitmap(*picture, path));
    if (written) return true;
    services.messageBox(ui::aboutFile("ファイルが作成出来ません。", path), "エラー", ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

} // namespace io
