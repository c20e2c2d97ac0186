// Shared by the fuzz targets that draw with Qt or build windows: one offscreen application for the whole run.
#pragma once
#include <QApplication>

namespace fuzzing {

inline void startQt() {
    static int argc = 1;
    static char name[] = "ordivan-fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        return new QApplication(argc, argv);
    }();
    (void)app;
}

} // namespace fuzzing
