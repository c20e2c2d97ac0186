// Qt implementation of the services of the interactive program.
#include "ui/qt/QtServices.h"

#include "base/TextFile.h"
#include "ui/FileFilter.h"
#include "ui/qt/FormKit.h"
#include "ui/qt/PrinterSurface.h"
#include "ui/qt/QtSurface.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

namespace ui::qt {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Stop: return QMessageBox::Critical;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Where the file dialogs start: the folder the last one ended in, kept in the user's settings.
const QString kLastFolderKey = QStringLiteral("lastFolder");

// The kernel's folders hold files that block whoever reads them (/proc/kmsg) and never hold a plan:
// no dialog starts in one, and none is remembered.
bool isSystemFolder(const QString& folder) {
    const QFileInfo info(folder);
    // A link elsewhere that leads into one (~/k -> /proc) is one too.
    for (const QString& path : {QDir::cleanPath(info.absoluteFilePath()), info.canonicalFilePath()}) {
        for (const QString& root : {QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev")}) {
            if (path == root || path.startsWith(root + '/')) return true;
        }
    }
    return false;
}

// Names the files by their names alone: the usual provider reads a file's first bytes to learn its
// type, and a device or kernel file shown in the list would hold the dialog for ever.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override {
        if (info.isDir()) return QFileIconProvider::icon(QFileIconProvider::Folder);
        return QFileIconProvider::icon(QFileIconProvider::File);
    }
    QString type(const QFileInfo& info) const override {
        if (info.isDir()) return QStringLiteral("Folder");
        return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).comment();
    }
};

void startIn(QFileDialog& dialog, const std::string& initialName) {
    static NameOnlyIconProvider names;
    dialog.setIconProvider(&names);
    QString initial = q(initialName);
    if (initial.contains('/') && isSystemFolder(QFileInfo(initial).absolutePath())) initial = QFileInfo(initial).fileName();
    const QString last = QSettings().value(kLastFolderKey).toString();
    // A name with its own folder (the current project's path) starts there instead.
    if (!initial.contains('/') && !last.isEmpty() && QFileInfo(last).isDir() && !isSystemFolder(last)) {
        dialog.setDirectory(last);
    } else if (!initial.contains('/') && isSystemFolder(dialog.directory().absolutePath())) {
        dialog.setDirectory(QDir::homePath());
    }
    if (!initial.isEmpty()) dialog.selectFile(initial);
}

std::optional<std::string> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().first();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

QDateTime modifiedAt(const QFileInfo& file) { return file.exists() ? file.lastModified() : QDateTime(); }

bool writeText(const QString& path, const QByteArray& bytes) {
    return base::writeWholeFile(QFile::encodeName(path).toStdString(), bytes.toStdString());
}

} // namespace

QtServices::QtServices(int dpi) : dpi_(dpi) {
    dataHome_ = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    configHome_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    systemData_ = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    systemData_.removeAll(dataHome_);
}

QtServices::~QtServices() { rememberUsedFolder(); }

void QtServices::expectUse(const std::string& path, bool save) {
    const QFileInfo file(q(path));
    pending_ = PendingFile{file.absoluteFilePath(), save, modifiedAt(file)};
}

// The folder of the file the last dialog chose becomes the next dialogs' start once that file was used:
// written anew since the dialog closed (a save), or there to read (an open). A save that failed — a
// kernel folder, a full disk, a folder without the right to write — leaves the folder known before.
void QtServices::rememberUsedFolder() {
    if (pending_.path.isEmpty()) return;
    const QFileInfo file(pending_.path);
    const bool used = file.isFile() && (pending_.save ? modifiedAt(file) != pending_.modifiedBefore : file.isReadable());
    if (used && !isSystemFolder(file.absolutePath())) QSettings().setValue(kLastFolderKey, file.absolutePath());
    pending_ = {};
}

void QtServices::setAssociationHomes(const QString& dataHome, const QString& configHome, const QStringList& systemData) {
    dataHome_ = dataHome;
    configHome_ = configHome;
    systemData_ = systemData;
}

// Boxes and dialogs belong to the dialog in front (an always-on-top dialog would otherwise cover them).
QWidget* QtServices::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return parent_;
}

Answer QtServices::messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) {
    QMessageBox box(qtIcon(icon), q(title), q(text), QMessageBox::NoButton, owner());
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (buttons) {
    case Buttons::Ok: ok = box.addButton(QString::fromUtf8(kButtonOk), QMessageBox::AcceptRole); break;
    case Buttons::OkCancel:
        ok = box.addButton(QString::fromUtf8(kButtonOk), QMessageBox::AcceptRole);
        cancel = box.addButton(QString::fromUtf8(kButtonCancel), QMessageBox::RejectRole);
        break;
    case Buttons::YesNo:
        yes = box.addButton(QString::fromUtf8(kButtonYes), QMessageBox::YesRole);
        no = box.addButton(QString::fromUtf8(kButtonNo), QMessageBox::NoRole);
        break;
    case Buttons::YesNoCancel:
        yes = box.addButton(QString::fromUtf8(kButtonYes), QMessageBox::YesRole);
        no = box.addButton(QString::fromUtf8(kButtonNo), QMessageBox::NoRole);
        cancel = box.addButton(QString::fromUtf8(kButtonCancel), QMessageBox::RejectRole);
        break;
    }
    box.setDefaultButton(ok ? ok : yes);
    // Closing the box by its frame answers like the cancel button, or OK / No when there is none.
    box.setEscapeButton(cancel ? cancel : (no ? no : ok));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == ok && ok) return Answer::Ok;
    if (clicked == yes && yes) return Answer::Yes;
    if (clicked == no && no) return Answer::No;
    if (clicked == cancel && cancel) return Answer::Cancel;
    if (cancel) return Answer::Cancel;
    if (no) return Answer::No;
    return Answer::Ok;
}

void QtServices::showError(const std::string& text) {
    messageBox(text, errorTitle_.toStdString(), Icon::Stop, Buttons::Ok);
}

QStringList qtNameFilters(const std::string& filter) {
    QStringList out;
    for (const auto& e : parseFilter(filter)) {
        QStringList patterns;
        for (const auto& p : e.patterns) patterns << q(p);
        // Qt takes the patterns from the parentheses at the end; the dialogs hide that part, so the
        // user reads the description alone, which already names its patterns.
        out << q(e.description).trimmed() + QStringLiteral(" (") + patterns.join(' ') + QStringLiteral(")");
    }
    return out;
}

std::optional<std::string> QtServices::openFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(owner(), q(request.title));
    // Qt's own dialog everywhere: the filters keep their Japanese descriptions and behave the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(qtNameFilters(request.filter));
    rememberUsedFolder();
    startIn(dialog, request.initialName);
    const auto chosen = chosenFile(dialog);
    if (chosen) expectUse(*chosen, false);
    return chosen;
}

std::optional<std::string> QtServices::saveFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(owner(), q(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(qtNameFilters(request.filter));
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(q(request.defaultExtension));
    rememberUsedFolder();
    startIn(dialog, request.initialName);
    const auto chosen = chosenFile(dialog);
    if (!chosen) return std::nullopt;
    std::string path = withDefaultExtension(*chosen, request.defaultExtension);
    expectUse(path, true);
    return path;
}

std::unique_ptr<PrintJob> QtServices::startPdfJob(const std::string& path, bool landscape, int dpi) {
    return openPdfJob(path, landscape, dpi);
}

void QtServices::progressShow(const std::string& caption, const std::string& text, int maximum) {
    progressShowStyled(caption, text, maximum, true, true);
}

void QtServices::progressShowStyled(const std::string& caption, const std::string& text, int maximum, bool barVisible,
                                    bool cancelVisible) {
    if (progress_) progress_->showProgress(caption, text, maximum, barVisible, cancelVisible);
}

void QtServices::progressSet(int position) {
    if (progress_) progress_->setPosition(position);
}

void QtServices::progressHide() {
    if (progress_) progress_->hideProgress();
}

bool QtServices::processEvents() {
    QCoreApplication::processEvents();
    return progress_ && progress_->cancelRequested();
}

std::unique_ptr<Surface> QtServices::createSurface(int width, int height) {
    return std::make_unique<ImageSurface>(width, height, dpi_);
}

bool QtServices::copyToClipboard(const Surface& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setImage(toQImage(picture));
    return true;
}

bool QtServices::saveBitmap(const Surface& picture, const std::string& path) {
    return savePicture(picture, path, "BMP");
}

std::string QtServices::today() { return todayShortForm(); }

QString desktopExecFor(const QString& program) {
    QString escaped;
    for (const QChar c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') escaped += '\\';
        escaped += c;
    }
    // The desktop entry format doubles every backslash once more when it reads the string value.
    escaped.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return QStringLiteral("\"") + escaped + QStringLiteral("\" %f");
}

QString withDefaultApplication(const QString& mimeapps, const QString& mimeType, const QString& desktopFile) {
    QStringList lines = mimeapps.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    const QString entry = mimeType + '=' + desktopFile;
    QStringList out;
    bool inDefaults = false;
    bool written = false;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith('[')) {
            if (inDefaults && !written) {
                out << entry;
                written = true;
            }
            inDefaults = t == QStringLiteral("[Default Applications]");
        } else if (inDefaults && t.startsWith(mimeType + '=')) {
            continue;  // our old choice; replaced below
        }
        out << line;
    }
    if (inDefaults && !written) {
        out << entry;
        written = true;
    }
    if (!written) out << QStringLiteral("[Default Applications]") << entry;
    return out.join('\n') + '\n';
}

AssociationResult QtServices::associateProjectFiles() {
    static const QString kMime = QStringLiteral("application/x-ordivan-project");
    static const QString kEntry = QStringLiteral("ordivan.desktop");
    const QString program = executable_.isEmpty() ? QCoreApplication::applicationFilePath() : executable_;
    // An installed package brings the file type and the menu entry: a user entry of the same name would
    // hide the packaged one (and outlive an update or a removal), so only the default is set then.
    bool packaged = false;
    for (const QString& dir : systemData_) packaged = packaged || QFileInfo::exists(dir + QStringLiteral("/applications/") + kEntry);
    const QString mimeDir = dataHome_ + QStringLiteral("/mime/packages");
    const QString mimeFile = mimeDir + QStringLiteral("/x-ordivan-project.xml");
    const QString listPath = configHome_ + QStringLiteral("/mimeapps.list");
    const bool existed = packaged ? QFileInfo::exists(listPath) : QFileInfo::exists(mimeFile);

    if (!packaged) {
        const QByteArray mimeXml =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"application/x-ordivan-project\">\n"
            "    <comment>ORDIVAN project</comment>\n"
            "    <generic-icon name=\"x-office-document\"/>\n"
            "    <glob pattern=\"*.OLE\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n";
        if (!QDir().mkpath(mimeDir) || !writeText(mimeFile, mimeXml)) return AssociationResult::CannotCreateKey;

        const QString appDir = dataHome_ + QStringLiteral("/applications");
        // The entry has the installed entry's name, so it stands in for it (one launcher, this program's
        // path) and keeps its icon and Japanese name.
        const QString desktop =
            QStringLiteral("[Desktop Entry]\nType=Application\nName=ORDIVAN\nName[ja]=ORDIVAN 照明計画\nExec=") +
            desktopExecFor(program) + QStringLiteral("\nIcon=ordivan\nMimeType=application/x-ordivan-project;\nTerminal=false\n");
        if (!QDir().mkpath(appDir) || !writeText(appDir + QStringLiteral("/") + kEntry, desktop.toUtf8()))
            return AssociationResult::CannotSetValue;
    }

    // The user's own list is rewritten whole with our line in it: one too long to read whole is left alone.
    std::string oldBytes;
    if (base::readWholeFile(QFile::encodeName(listPath).toStdString(), 1 << 20, oldBytes) == base::WholeRead::TooLarge)
        return AssociationResult::CannotSetValue;
    const QString oldList = QString::fromStdString(oldBytes);
    if (!QDir().mkpath(configHome_) ||
        !writeText(listPath, withDefaultApplication(oldList, kMime, kEntry).toUtf8()))
        return AssociationResult::CannotSetValue;

    // The desktop's caches pick the new type up; without the tools the files alone still take effect later.
    const QString update = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (!packaged && !update.isEmpty()) {
        QProcess p;
        p.start(update, {dataHome_ + QStringLiteral("/mime")});
        p.waitForFinished(10000);
    }
    return existed ? AssociationResult::Changed : AssociationResult::Created;
}

} // namespace ui::qt
