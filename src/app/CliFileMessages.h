// The command line's messages have one layout, "ordivan-cli: PATH: <the system's message>" (no PATH
// when no file is in work).
#pragma once
#include "ui/Services.h"

#include <algorithm>
#include <csignal>
#include <memory>
#include <ostream>
#include <string>

namespace app {

// Set from the command line's interrupt handler (Ctrl+C, async-signal-safe): the calculation stops at
// its next step and no output is put in place; the old files stay as they were.
inline volatile std::sig_atomic_t interruptFlag = 0;
inline void requestInterrupt() { interruptFlag = 1; }
inline bool interruptRequested() { return interruptFlag != 0; }

// Passes everything on to the command line's services; each message is preceded by the program's name
// and, while a file is in work, by "PATH: ". The windows show the bare messages; on a terminal or in a
// script's log the reader needs to know which program and which of several files refused.
class FileMessages : public ui::Services {
public:
    explicit FileMessages(ui::Services& inner) : inner_(inner) {}

    // The file the next messages are about; empty for none.
    void setSubject(const std::string& path) { subject_ = path; }
    const std::string& subject() const { return subject_; }

    ui::Answer messageBox(const std::string& text, const std::string& title, ui::Icon icon, ui::Buttons buttons) override {
        return inner_.messageBox(named(text), title, icon, buttons);
    }
    void showError(const std::string& text) override { inner_.showError(named(text)); }
    std::optional<std::string> openFileDialog(const ui::FileDialogRequest& r) override { return inner_.openFileDialog(r); }
    std::optional<std::string> saveFileDialog(const ui::FileDialogRequest& r) override { return inner_.saveFileDialog(r); }
    void progressShow(const std::string& caption, const std::string& text, int maximum) override {
        inner_.progressShow(caption, text, maximum);
        startProgress(caption, maximum);
    }
    void progressShowStyled(const std::string& caption, const std::string& text, int maximum, bool bar, bool cancel) override {
        inner_.progressShowStyled(caption, text, maximum, bar, cancel);
        startProgress(caption, maximum);
    }
    void progressSet(int position) override {
        inner_.progressSet(position);
        if (!progressLine_ || progressMaximum_ <= 0) return;
        const int percent = static_cast<int>(std::clamp<long long>(100LL * position / progressMaximum_, 0, 100));
        if (percent == progressPercent_) return;
        progressPercent_ = percent;
        *progressLine_ << '\r' << progressCaption_ << ' ' << percent << '%' << std::flush;
    }
    void progressHide() override {
        inner_.progressHide();
        if (progressLine_ && progressPercent_ >= 0) *progressLine_ << '\n' << std::flush;
        progressPercent_ = -1;
    }
    // An interrupt (Ctrl+C) asks the running calculation to stop, as the window's cancel button does.
    bool processEvents() override { return inner_.processEvents() || interruptRequested(); }

    // The progress the window shows in its bar, as one line rewritten in place on `line`; null for none.
    void showProgressOn(std::ostream* line) { progressLine_ = line; }
    std::unique_ptr<ui::Surface> createSurface(int width, int height) override { return inner_.createSurface(width, height); }
    bool copyToClipboard(const ui::Surface& picture) override { return inner_.copyToClipboard(picture); }
    bool saveBitmap(const ui::Surface& picture, const std::string& path) override { return inner_.saveBitmap(picture, path); }
    bool savePng(const ui::Surface& picture, const std::string& path) override { return inner_.savePng(picture, path); }
    std::string today() override { return inner_.today(); }
    ui::AssociationResult associateProjectFiles() override { return inner_.associateProjectFiles(); }
    std::unique_ptr<ui::PrintJob> startPdfJob(const std::string& path, bool landscape, int dpi) override {
        return inner_.startPdfJob(path, landscape, dpi);
    }

private:
    void startProgress(const std::string& caption, int maximum) {
        if (progressLine_ && progressPercent_ >= 0) *progressLine_ << '\n';
        progressCaption_ = caption;
        progressMaximum_ = maximum;
        progressPercent_ = -1;
    }
    // "ordivan-cli: PATH: text". A window's message that names the file itself (in its last line, or
    // before its own words) has the name taken out, so the name stands where a script expects it.
    std::string named(std::string text) const {
        if (subject_.empty()) return "ordivan-cli: " + text;
        const std::size_t at = text.rfind(subject_);
        if (at != std::string::npos) {
            std::size_t from = at, to = at + subject_.size();
            if (from > 0 && text[from - 1] == '\n') --from;
            else if (to < text.size() && (text[to] == ' ' || text[to] == ':')) ++to;
            text.erase(from, to - from);
        }
        return "ordivan-cli: " + subject_ + ": " + text;
    }

    ui::Services& inner_;
    std::string subject_;
    std::ostream* progressLine_ = nullptr;
    std::string progressCaption_;
    int progressMaximum_ = 0;
    int progressPercent_ = -1;  // the figure on the line now; -1 while no line is shown
};

// Names `path` in the messages until the end of the scope, then the file named before (nothing
// without naming services).
class MessagesAbout {
public:
    MessagesAbout(FileMessages* messages, const std::string& path)
        : messages_(messages), before_(messages ? messages->subject() : std::string()) {
        if (messages_) messages_->setSubject(path);
    }
    ~MessagesAbout() {
        if (messages_) messages_->setSubject(before_);
    }
    MessagesAbout(const MessagesAbout&) = delete;
    MessagesAbout& operator=(const MessagesAbout&) = delete;

private:
    FileMessages* messages_;
    std::string before_;
};

} // namespace app
