// The recent project list in QSettings under the names the program set at start-up.
#include "app/forms/RecentProjects.h"

#include <QFileInfo>
#include <QSettings>

namespace app::forms {

namespace {
const QString kKey = QStringLiteral("recentProjects");
}

QStringList RecentProjects::paths() const {
    QStringList list = QSettings().value(kKey).toStringList();
    // The settings file is the user's to edit: empty lines and extra entries are left out.
    list.removeAll(QString());
    return list.mid(0, kMaxCount);
}

void RecentProjects::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    QSettings().setValue(kKey, list.mid(0, kMaxCount));
}

void RecentProjects::remove(const QString& path) {
    QStringList list = paths();
    list.removeAll(QFileInfo(path).absoluteFilePath());
    QSettings().setValue(kKey, list);
}

} // namespace app::forms
