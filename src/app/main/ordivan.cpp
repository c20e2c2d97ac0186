// Entry point of the interactive program: the main window with its windows, then the splash road or the named project.
#include "app/MainView.h"
#include "app/Startup.h"
#include "app/forms/MainBindings.h"
#include "app/forms/TfrmMain.h"
#include "model/ProjectCommands.h"
#include "ui/qt/QtServices.h"
#include "ui/qt/QtSurface.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QMenuBar>
#include <QScreen>
#include <clocale>
#include <exception>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // QApplication takes the user's locale for everything; numbers in files and on the sheets keep the point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("ORDIVAN"));
    // The platform's own dialogs (files, printer) speak Japanese like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    try {
        QScreen* primary = QGuiApplication::primaryScreen();
        const QRect screenRect = primary->geometry();
        const app::ScreenInfo screen{screenRect.width(), screenRect.height(),
                                     static_cast<int>(primary->logicalDotsPerInch())};

        model::Document doc;
        catalog::TourokuTable touroku;
        calc::CalcSettings settings;
        catalog::LightColorTable lightColours;
        ui::qt::QtServices services(screen.dpi);
        services.setErrorTitle(QStringLiteral("ORDIVAN"));

        // The surface is as wide as the screen less 5 and as high as the client area less 30.
        const int surfaceWidth = screen.width - 5;
        app::initialiseDocument(doc, screen, surfaceWidth, screen.height - 25 - 30);
        ui::qt::ImageSurface surface(doc.surfaceWidth, doc.surfaceHeight, screen.dpi);

        app::forms::TfrmMain frm(app::forms::MainContext{doc, touroku, settings, surface, services, lightColours, &services});
        const int clientHeight = frm.height() - frm.menuBar()->sizeHint().height();
        doc.surfaceHeight = clientHeight - 30;
        surface.resize(doc.surfaceWidth, doc.surfaceHeight);
        app::clearDrawingSurface(doc, surface);

        app::forms::EngineHooks hooks;
        model::ProjectHooks projectHooks;
        projectHooks.clearPlan = [&hooks] {
            if (hooks.clearPlan) hooks.clearPlan();
        };
        projectHooks.refreshRegistration = [&hooks] {
            if (hooks.refreshRegistration) hooks.refreshRegistration();
        };
        projectHooks.redrawPlan = [&hooks] {
            if (hooks.redisplayPlan) hooks.redisplayPlan();
        };
        projectHooks.surfaceResized = [&surface, &doc, &frm] {
            surface.resize(doc.surfaceWidth, doc.surfaceHeight);
            frm.setAutoScroll(true);
        };
        model::ProjectCommands project(doc, touroku, services, projectHooks);
        app::forms::bindMainCommands(frm, project, hooks);
        app::forms::bindPaletteStateOnly(frm);
        frm.show();
        frm.syncFromState();

        auto fillColours = [&doc, &lightColours] {
            if (lightColours.loaded > 0) app::fillCtColour(doc.tables, lightColours);
        };
        // The arguments joined by blanks name one project (a path with blanks arrives in pieces).
        const std::string path = argc > 1 ? model::joinArguments(argc, argv) : std::string();
        app::forms::startUp(frm, project, hooks, path, QStringLiteral("zolt_data/zoltstart.bmp"), fillColours);
        return application.exec();
    } catch (const std::exception& e) {
        // A failure while the windows are created ends the program after the general error box.
        ui::qt::QtServices fallback;
        fallback.showError(e.what());
        return 1;
    }
}
