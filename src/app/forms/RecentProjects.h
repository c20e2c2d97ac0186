// The projects opened or saved lately, the latest first, kept in the user's settings between runs.
#pragma once
#include <QStringList>

namespace app::forms {

class RecentProjects {
public:
    static constexpr int kMaxCount = 8;

    QStringList paths() const;
    // Puts the project at the top (once), the ninth falls off.
    void add(const QString& path);
    void remove(const QString& path);
};

} // namespace app::forms
