// One QApplication for the Qt tests (offscreen), and a helper that answers the next modal window.
#pragma once
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace testsupport {

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "ordivan-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        // An offscreen platform given with options (a screen configuration) is kept as it is.
        if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        auto* a = new QApplication(argc, argv);
        // The program keeps recent projects and the last folder in the user's settings: the tests keep
        // theirs in a folder of their own that goes with the process, never in the real user's.
        QStandardPaths::setTestModeEnabled(true);
        static QTemporaryDir settingsHome;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsHome.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome.path());
        QCoreApplication::setOrganizationName(QStringLiteral("ORDIVAN-test"));
        QCoreApplication::setApplicationName(QStringLiteral("ORDIVAN-test"));
        return a;
    }();
    return *app;
}

// Calls `act` with the modal window as soon as one is shown (polled every 10 ms, up to 60 s on a busy
// machine). If none appears, whatever modal window there is gets closed, so a test fails instead of hanging.
inline void whenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act, tries] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        } else if (++*tries > 6000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window appeared";
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->isModal() && top->isVisible()) top->close();
            }
        }
    });
    timer->start(10);
}

} // namespace testsupport
