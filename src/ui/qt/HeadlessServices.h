// Services for the headless engine: messages go to the error stream, pictures are Qt images, no dialogs.
#pragma once
#include "ui/Services.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace ui::qt {

class HeadlessServices : public Services {
public:
    explicit HeadlessServices(std::ostream& messages, int dpi = 96);

    Answer messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) override;
    void showError(const std::string& text) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    void progressShow(const std::string& caption, const std::string& text, int maximum) override;
    void progressSet(int position) override;
    void progressHide() override;
    bool processEvents() override { return false; }
    std::unique_ptr<Surface> createSurface(int width, int height) override;
    bool copyToClipboard(const Surface& picture) override;
    bool saveBitmap(const Surface& picture, const std::string& path) override;
    bool savePng(const Surface& picture, const std::string& path) override;
    std::string today() override;
    AssociationResult associateProjectFiles() override;
    std::unique_ptr<PrintJob> startPdfJob(const std::string& path, bool landscape, int dpi) override;

    // Stop-icon messages and error boxes shown so far (the refusals the command reports).
    int refusals() const { return refusals_; }

private:
    std::ostream& out_;
    int dpi_;
    int refusals_ = 0;
};

} // namespace ui::qt
