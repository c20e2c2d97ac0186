// The platform services of the interactive program: Qt message boxes, file dialogs, progress, clipboard, file type.
#pragma once
#include "ui/Services.h"
#include "ui/qt/ProgressWindow.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class QWidget;

namespace ui::qt {

// Button texts of the system's message boxes.
inline constexpr const char* kButtonOk = "OK";
inline constexpr const char* kButtonCancel = "ｷｬﾝｾﾙ";
inline constexpr const char* kButtonYes = "はい(&Y)";
inline constexpr const char* kButtonNo = "いいえ(&N)";

class QtServices : public Services {
public:
    explicit QtServices(int dpi = 96);
    ~QtServices() override;
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    // The window message boxes and file dialogs belong to (the main window once it exists).
    void setDialogParent(QWidget* parent) { parent_ = parent; }
    void setProgressWindow(ProgressWindow* window) { progress_ = window; }
    // Title of the general error box (the program's name).
    void setErrorTitle(const QString& title) { errorTitle_ = title; }
    // Where the user-level file type goes: data home (mime/, applications/) and config home (mimeapps.list);
    // and the system's data folders, where an installed package keeps its desktop entry.
    void setAssociationHomes(const QString& dataHome, const QString& configHome, const QStringList& systemData = {});
    void setExecutablePath(const QString& path) { executable_ = path; }

    Answer messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) override;
    void showError(const std::string& text) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    void progressShow(const std::string& caption, const std::string& text, int maximum) override;
    void progressShowStyled(const std::string& caption, const std::string& text, int maximum, bool barVisible,
                            bool cancelVisible) override;
    void progressSet(int position) override;
    void progressHide() override;
    bool processEvents() override;
    std::unique_ptr<Surface> createSurface(int width, int height) override;
    bool copyToClipboard(const Surface& picture) override;
    bool saveBitmap(const Surface& picture, const std::string& path) override;
    std::string today() override;
    AssociationResult associateProjectFiles() override;
    // The A4 PDF job of the sheets, written whole when finished.
    std::unique_ptr<PrintJob> startPdfJob(const std::string& path, bool landscape, int dpi) override;

    // Keeps the folder of the file last chosen as where the file dialogs start, if that file was used
    // (each dialog and the end of the program do it; a test may ask at any time).
    void rememberUsedFolder();

private:
    // A file a dialog chose, waiting to be written or read: its folder is remembered only then.
    struct PendingFile {
        QString path;
        bool save = false;
        QDateTime modifiedBefore;  // null when there was no such file
    };
    void expectUse(const std::string& path, bool save);
    QWidget* owner() const;
    PendingFile pending_;
    QWidget* parent_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    int dpi_;
    QString errorTitle_ = QStringLiteral("ORDIVAN");
    QString dataHome_;
    QString configHome_;
    QStringList systemData_;
    QString executable_;
};

// The Qt name filter list for a filter written as "説明|*.OLE" pairs.
QStringList qtNameFilters(const std::string& filter);

// Exec= value of a desktop entry for a program path: quoted, with the reserved characters escaped.
QString desktopExecFor(const QString& program);

// mimeapps.list text with `mimeType` defaulting to `desktopFile` and every other line kept.
QString withDefaultApplication(const QString& mimeapps, const QString& mimeType, const QString& desktopFile);

} // namespace ui::qt
