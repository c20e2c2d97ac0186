// Services for tests: records every message box, dialog and progress call and answers from a script.
#pragma once
#include "ui/Services.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace ui::testing {

struct RecordedMessage {
    std::string text;
    std::string title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

class FakeServices : public Services {
public:
    // Scripted answers, taken in order; when empty, message boxes answer Ok (or Yes) and dialogs are cancelled.
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> fileAnswers;
    // processEvents answers true (cancel) on the call with this number (1-based); 0 = never.
    int cancelOnProcessEventsCall = 0;
    // Stands for the events the window delivers while a long step pumps them (clicks, menu choices).
    std::function<void()> onProcessEvents;

    std::vector<RecordedMessage> messages;
    std::vector<std::string> errors;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<std::string> progressLog;
    int processEventsCalls = 0;
    int clipboardCopies = 0;
    std::vector<std::string> savedBitmaps;
    bool picturesFail = false;  // saveBitmap and savePng answer as a full disk would
    std::vector<std::string> savedPngs;
    std::string todayText = "2026年12月7日";
    AssociationResult associationResult = AssociationResult::Created;
    // Makes the pictures createSurface returns; by default recording surfaces.
    std::function<std::unique_ptr<Surface>(int, int)> surfaceFactory;
    // Makes the PDF jobs startPdfJob returns; by default there are none.
    std::function<std::unique_ptr<PrintJob>(const std::string&, bool, int)> pdfJobFactory;

    Answer messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) override;
    void showError(const std::string& text) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    void progressShow(const std::string& caption, const std::string& text, int maximum) override;
    void progressSet(int position) override;
    void progressHide() override;
    bool processEvents() override;
    std::unique_ptr<Surface> createSurface(int width, int height) override;
    bool copyToClipboard(const Surface& picture) override;
    bool saveBitmap(const Surface& picture, const std::string& path) override;
    bool savePng(const Surface& picture, const std::string& path) override;
    std::string today() override { return todayText; }
    AssociationResult associateProjectFiles() override { return associationResult; }
    std::unique_ptr<PrintJob> startPdfJob(const std::string& path, bool landscape, int dpi) override {
        return pdfJobFactory ? pdfJobFactory(path, landscape, dpi) : nullptr;
    }

    // The texts of all message boxes and error boxes, in order.
    std::vector<std::string> allTexts() const;
};

} // namespace ui::testing
