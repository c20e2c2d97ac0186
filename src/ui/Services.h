// What the core asks of the platform besides drawing: message boxes, file dialogs, progress, clipboard, files.
#pragma once
#include "ui/PrintJob.h"
#include "ui/Surface.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {

enum class Icon { None, Stop, Warning, Information, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// A file dialog request. `filter` is written the platform's way, "説明|*.OLE" pairs joined by '|'.
struct FileDialogRequest {
    std::string filter;
    std::string defaultExtension;
    std::string initialName;
    std::string title;
};

// A message about one file names it on a line of its own below the words, so the user knows which of
// the files the refusal is about (the command line moves the name to the front of its line).
inline std::string aboutFile(const std::string& message, const std::string& path) { return message + "\n" + path; }

// The registration of the project file type with the desktop; answers with the outcome only.
enum class AssociationResult { Changed, Created, CannotCreateKey, CannotSetValue };

class Services {
public:
    virtual ~Services() = default;

    virtual Answer messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) = 0;
    // The application's general error box (conversion errors and other failures of an action).
    virtual void showError(const std::string& text) = 0;

    virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;

    // The shared progress window: caption, text, maximum; showing it clears the cancel flag.
    virtual void progressShow(const std::string& caption, const std::string& text, int maximum) = 0;
    // The same window with its bar or its cancel button hidden (interpolation and contour building
    // offer no cancel). Platforms without that distinction show it as progressShow does.
    virtual void progressShowStyled(const std::string& caption, const std::string& text, int maximum, bool barVisible,
                                    bool cancelVisible) {
        progressShow(caption, text, maximum);
    }
    virtual void progressSet(int position) = 0;
    virtual void progressHide() = 0;
    // Lets the user interface handle pending events; true when the user asked to cancel.
    virtual bool processEvents() = 0;

    // A new white off-screen picture of the given size.
    virtual std::unique_ptr<Surface> createSurface(int width, int height) = 0;
    virtual bool copyToClipboard(const Surface& picture) = 0;
    virtual bool saveBitmap(const Surface& picture, const std::string& path) = 0;
    // The same picture as a PNG file (the headless engine's output); false where the platform has none.
    virtual bool savePng(const Surface& picture, const std::string& path) { return false; }

    // Today's date as the sheets print it.
    virtual std::string today() = 0;
    // Associates the project file type with this program.
    virtual AssociationResult associateProjectFiles() = 0;

    // A print job writing a PDF file (A4, the whole sheet printable) at the given resolution, or
    // nullptr where the platform cannot write one.
    virtual std::unique_ptr<PrintJob> startPdfJob(const std::string& path, bool landscape, int dpi) {
        (void)path;
        (void)landscape;
        (void)dpi;
        return nullptr;
    }
};

} // namespace ui
