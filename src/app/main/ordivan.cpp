// Entry point of the interactive program: start-up state, then the main window on the plan.
#include "app/Startup.h"
#include "model/ProjectCommands.h"
#include "ui/qt/QtSurface.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <clocale>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QRect screenRect = QGuiApplication::primaryScreen()->geometry();
    app::ScreenInfo screen{screenRect.width(), screenRect.height(),
                           static_cast<int>(QGuiApplication::primaryScreen()->logicalDotsPerInch())};
    model::Document doc;
    catalog::TourokuTable touroku;
    app::initialiseDocument(doc, screen, screen.width - 5, screen.height - 25 - 90);

    QMainWindow window;
    window.setWindowTitle(QString::fromStdString(doc.windowTitle));
    auto* scroll = new QScrollArea(&window);
    auto* plan = new QLabel(scroll);
    ui::qt::ImageSurface surface(doc.surfaceWidth, doc.surfaceHeight, screen.dpi);
    plan->setPixmap(QPixmap::fromImage(*surface.image()));
    scroll->setWidget(plan);
    window.setCentralWidget(scroll);
    window.resize(screen.width - 10, screen.height - 25);
    window.show();
    return application.exec();
}
