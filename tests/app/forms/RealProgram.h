// The real program driven by the window tests: the main window with its editor, catalogue and dialogs on a
// 1280 x 800 screen unless told another, with recording services whose pictures are real images.
#pragma once
#include "app/forms/MainProgram.h"
#include "calc/forms/TfrmCalcStart.h"
#include "support/QtApp.h"
#include "support/TestPaths.h"
#include "view/forms/TfrmColorScale2.h"
#include "ui/testing/FakeServices.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace testsupport {

struct Program {
    ui::testing::FakeServices services;
    std::unique_ptr<app::forms::MainProgram> p;

    explicit Program(app::ScreenInfo screen = {1280, 800, 96}) {
        testsupport::qtApp();
        services.surfaceFactory = [](int w, int h) { return std::make_unique<ui::qt::ImageSurface>(w, h); };
        p = std::make_unique<app::forms::MainProgram>(screen, binaryDir() + "/zolt_data", services);
        p->fillColours();
        p->frm.show();
        p->frm.syncFromState();
    }
    model::Document& doc() { return p->state.doc; }
    editor::WindowState& window() { return p->state.window; }
    void openSample() {
        p->frm.run([&] { p->project.openPath(binaryDir() + "/samples/room_sample.OLE"); });
    }
    // "計算の実行" through the start dialog, with the result kind its button chooses.
    void calculate(QPushButton* calc::forms::TfrmCalcStart::*kindButton) {
        testsupport::whenModal([kindButton](QWidget* w) {
            auto* start = qobject_cast<calc::forms::TfrmCalcStart*>(w);
            ASSERT_NE(start, nullptr) << "the calculation start dialog";
            (start->*kindButton)->click();
        });
        p->frm.action("mnuCalcRun")->trigger();
    }
    ui::qt::ImageSurface& surface() { return p->surface; }

    void click(const char* button) {
        app::forms::PictureButton* b = p->frm.button(button);
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    void press(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF at(x, y);
        QMouseEvent e(QEvent::MouseButtonPress, at, p->frm.Image1->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(p->frm.Image1, &e);
    }
    // The bounding box of the black wall pixels on the plan.
    QRect wallBox() {
        QRect box;
        for (int y = 0; y < surface().height(); y += 2)
            for (int x = 0; x < surface().width(); x += 2)
                if (surface().pixel(x, y) == ui::colors::black) box |= QRect(x, y, 1, 1);
        return box;
    }
    // Every pixel of a colour: a line one pixel wide may lie on any row or column.
    int countPixels(const ui::Color& c) {
        int n = 0;
        for (int y = 0; y < surface().height(); ++y)
            for (int x = 0; x < surface().width(); ++x)
                if (surface().pixel(x, y) == c) ++n;
        return n;
    }
    // With ORDIVAN_SCREENSHOT_DIR set, the main window as the user sees it (the floating legend laid over
    // it where it stands) is kept there as <name>.png for the documentation.
    void shoot(const QString& name, QWidget* window = nullptr) {
        const QString dir = qEnvironmentVariable("ORDIVAN_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QWidget* w = window ? window : &p->frm;
        QImage img = w->grab().toImage();
        QWidget* legend = p->frm.frmColorScale2;
        if (!window && legend->isVisible()) {
            QPainter painter(&img);
            painter.drawImage(legend->geometry().topLeft() - p->frm.geometry().topLeft(), legend->grab().toImage());
        }
        img.save(dir + '/' + name + QStringLiteral(".png"));
    }
    // The same for the whole screen: the main window and every window open over it where they stand.
    void shootScreen(const QString& name) {
        const QString dir = qEnvironmentVariable("ORDIVAN_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QImage img(p->frm.screen()->geometry().size(), QImage::Format_RGB32);
        img.fill(QColor(0, 90, 110));
        QPainter painter(&img);
        painter.drawImage(p->frm.geometry().topLeft(), p->frm.grab().toImage());
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != &p->frm && w->isVisible() && !(w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip))
                painter.drawImage(w->geometry().topLeft(), w->grab().toImage());
        }
        img.save(dir + '/' + name + QStringLiteral(".png"));
    }
    bool menuEnabled(const char* name) {
        QAction* a = p->frm.action(name);
        EXPECT_NE(a, nullptr) << name;
        return a && a->isEnabled();
    }
};

// The pages the preview window shows for a command, the window closed again without printing.
inline int previewPages(const std::function<void()>& command) {
    int pages = -1;
    whenModal([&pages](QWidget* w) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
        ASSERT_NE(preview, nullptr) << "the preview window";
        auto* view = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(view, nullptr);
        pages = view->pageCount();
        preview->reject();
    });
    command();
    return pages;
}

} // namespace testsupport
