// Headless services on Qt Gui.
#include "ui/qt/HeadlessServices.h"

#include "ui/qt/FormKit.h"
#include "ui/qt/PrinterSurface.h"
#include "ui/qt/QtSurface.h"

#include <QDate>
#include <ostream>

namespace ui::qt {

HeadlessServices::HeadlessServices(std::ostream& messages, int dpi) : out_(messages), dpi_(dpi) {}

Answer HeadlessServices::messageBox(const std::string& text, const std::string&, Icon icon, Buttons buttons) {
    out_ << text << '\n';
    if (icon == Icon::Stop || icon == Icon::Warning) ++refusals_;
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::No : Answer::Ok;
}

void HeadlessServices::showError(const std::string& text) {
    out_ << text << '\n';
    ++refusals_;
}

std::optional<std::string> HeadlessServices::openFileDialog(const FileDialogRequest&) { return std::nullopt; }
std::optional<std::string> HeadlessServices::saveFileDialog(const FileDialogRequest&) { return std::nullopt; }
void HeadlessServices::progressShow(const std::string&, const std::string&, int) {}
void HeadlessServices::progressSet(int) {}
void HeadlessServices::progressHide() {}

std::unique_ptr<Surface> HeadlessServices::createSurface(int width, int height) {
    return std::make_unique<ImageSurface>(width, height, dpi_);
}

bool HeadlessServices::copyToClipboard(const Surface&) { return false; }

bool HeadlessServices::saveBitmap(const Surface& picture, const std::string& path) {
    return savePicture(picture, path, "BMP");
}

bool HeadlessServices::savePng(const Surface& picture, const std::string& path) {
    return savePicture(picture, path, "PNG");
}

std::string HeadlessServices::today() { return todayShortForm(); }

AssociationResult HeadlessServices::associateProjectFiles() { return AssociationResult::CannotCreateKey; }

std::unique_ptr<PrintJob> HeadlessServices::startPdfJob(const std::string& path, bool landscape, int dpi) {
    return openPdfJob(path, landscape, dpi);
}

} // namespace ui::qt
