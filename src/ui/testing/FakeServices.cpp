// Scripted services for headless tests.
#include "ui/testing/FakeServices.h"

#include "ui/testing/RecordingSurface.h"

namespace ui::testing {

Answer FakeServices::messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes : Answer::Ok;
}

void FakeServices::showError(const std::string& text) { errors.push_back(text); }

std::optional<std::string> FakeServices::openFileDialog(const FileDialogRequest& request) {
    openRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

std::optional<std::string> FakeServices::saveFileDialog(const FileDialogRequest& request) {
    saveRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

void FakeServices::progressShow(const std::string& caption, const std::string& text, int maximum) {
    progressLog.push_back("show " + caption + "|" + text + "|" + std::to_string(maximum));
}

void FakeServices::progressSet(int position) { progressLog.push_back("set " + std::to_string(position)); }

void FakeServices::progressHide() { progressLog.push_back("hide"); }

bool FakeServices::processEvents() {
    ++processEventsCalls;
    if (onProcessEvents) onProcessEvents();
    return cancelOnProcessEventsCall > 0 && processEventsCalls >= cancelOnProcessEventsCall;
}

std::unique_ptr<Surface> FakeServices::createSurface(int width, int height) {
    if (surfaceFactory) return surfaceFactory(width, height);
    return std::make_unique<RecordingSurface>(width, height);
}

bool FakeServices::copyToClipboard(const Surface&) {
    ++clipboardCopies;
    return true;
}

bool FakeServices::saveBitmap(const Surface&, const std::string& path) {
    savedBitmaps.push_back(path);
    return !picturesFail;
}

bool FakeServices::savePng(const Surface&, const std::string& path) {
    savedPngs.push_back(path);
    return !picturesFail;
}

std::vector<std::string> FakeServices::allTexts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    for (const auto& e : errors) out.push_back(e);
    return out;
}

} // namespace ui::testing
