// Where the windows open on the screen the program runs on: the main window with its status panel, and the
// registration, curve and calculation start windows over the plan, the same place at every opening.
// ctest runs this again on a 1366 x 768 and a 1920 x 1080 screen (the offscreen platform's screen file).
#include "app/forms/RealProgram.h"
#include "catalog/forms/TfrmKigu.h"
#include "print/forms/TfrmCD.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

using testsupport::Program;

std::string text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

TEST(WindowPlacement, EveryWindowOpensOnTheScreenClearOfTheStatusPanelWhereItOpenedBefore) {
    testsupport::qtApp();
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect desk = screen->availableGeometry();
    if (desk.width() < 1024 || desk.height() < 720) GTEST_SKIP() << "a screen smaller than the program needs";
    Program prog(app::ScreenInfo{screen->geometry().width(), screen->geometry().height(), 96});
    app::forms::TfrmMain& frm = prog.p->frm;
    QApplication::processEvents();

    // The main window fills the screen less the strip for the task bar, its status panel on the screen.
    EXPECT_TRUE(desk.contains(frm.frameGeometry())) << text(frm.frameGeometry()) << " on " << text(desk);
    QWidget* status = frm.labMax->parentWidget();
    const QRect statusPanel(status->mapToGlobal(QPoint(0, 0)), status->size());
    EXPECT_TRUE(desk.contains(statusPanel)) << text(statusPanel);
    prog.openSample();

    // Each window, opened twice with a close between, whole on the screen, clear of the status panel.
    auto opensInPlace = [&](const char* what, QWidget* window, const std::function<void()>& open) {
        open();
        EXPECT_TRUE(window->isVisible()) << what;
        QApplication::processEvents();
        const QRect first = window->frameGeometry();
        EXPECT_TRUE(desk.contains(first)) << what << " at " << text(first);
        EXPECT_FALSE(first.intersects(statusPanel)) << what << " at " << text(first);
        window->close();
        QApplication::processEvents();
        open();
        QApplication::processEvents();
        EXPECT_EQ(window->frameGeometry(), first) << what << " moved between openings";
        return first;
    };
    catalog::forms::TfrmKigu* kigu = prog.p->engine.frmKigu;
    // The registration window at the plan's top right corner, the curve window at its top left.
    const QRect plan = frm.planAreaOnScreen();
    const QRect registration = opensInPlace("the registration window", kigu, [&] { prog.click("imgKigu"); });
    EXPECT_LE(plan.right() - registration.right(), 16) << text(registration) << " in " << text(plan);
    EXPECT_LE(registration.top() - plan.top(), 16) << text(registration) << " in " << text(plan);
    prog.shootScreen(QStringLiteral("screen_%1x%2_registration").arg(desk.width()).arg(desk.height()));
    kigu->imgMouseDown(1, false);
    const QRect curve = opensInPlace("the curve window", prog.p->engine.frmCD, [&] { frm.action("mnuHaikou")->trigger(); });
    EXPECT_LE(curve.left() - plan.left(), 16) << text(curve) << " in " << text(plan);
    EXPECT_LE(curve.top() - plan.top(), 16) << text(curve) << " in " << text(plan);

    // The calculation start dialog, closed unanswered, opens where it opened before.
    QList<QRect> starts;
    for (int i = 0; i < 3; ++i) {
        testsupport::whenModal([&starts](QWidget* w) {
            starts << w->frameGeometry();
            w->close();
        });
        frm.action("mnuCalcRun")->trigger();
    }
    ASSERT_EQ(starts.size(), 3);
    EXPECT_TRUE(desk.contains(starts[0])) << text(starts[0]);
    EXPECT_FALSE(starts[0].intersects(statusPanel));
    EXPECT_EQ(starts[1], starts[0]);
    EXPECT_EQ(starts[2], starts[0]);
}

// The title bar with the file name and the unsaved mark lies on the screen: the client area starts below
// the top of the free area by the room a title bar takes, and reaches no further than its bottom.
TEST(WindowPlacement, TheMainWindowLeavesItsTitleBarOnTheScreen) {
    testsupport::qtApp();
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect desk = screen->availableGeometry();
    if (desk.width() < 1024 || desk.height() < 720) GTEST_SKIP() << "a screen smaller than the program needs";
    Program prog(app::ScreenInfo{screen->geometry().width(), screen->geometry().height(), 96});
    QApplication::processEvents();
    const QRect client = prog.p->frm.geometry();
    EXPECT_GE(client.top() - desk.top(), 16) << text(client) << " on " << text(desk);
    EXPECT_LE(client.bottom(), desk.bottom()) << text(client) << " on " << text(desk);
}

} // namespace
