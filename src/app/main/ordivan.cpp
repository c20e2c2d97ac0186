// Entry point of the interactive program: the main window with its windows, then the splash road or the named project.
#include "app/Startup.h"
#include "app/forms/MainProgram.h"
#include "base/DataDir.h"
#include "model/ProjectCommands.h"
#include "ui/qt/QtServices.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QMenuBar>
#include <QScreen>
#include <clocale>
#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    // --help and --version answer on a terminal without a display; a write that fails is a failure.
    if (const auto answer = app::forms::programAnswer(std::vector<std::string>(argv + 1, argv + argc))) {
        std::cout << *answer;
        return std::cout.flush() ? 0 : 1;
    }
    QApplication application(argc, argv);
    // QApplication takes the user's locale for everything; numbers in files and on the sheets keep the point.
    std::setlocale(LC_NUMERIC, "C");
    // The names the user's settings (recent projects, last folder) are kept under.
    QApplication::setOrganizationName(QStringLiteral("ORDIVAN"));
    QApplication::setApplicationName(QStringLiteral("ORDIVAN"));
    app::forms::identifyToDesktop();
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

        ui::qt::QtServices services(screen.dpi);
        services.setErrorTitle(QStringLiteral("ORDIVAN"));
        // Building the program loads the catalogue; the folder is found from the executable, so a start
        // by the file association or from another folder finds it too.
        const std::string dataDir = base::findDataDir(base::kCatalogFolder);
        app::forms::MainProgram program(screen, dataDir, services, &services);
        program.frm.show();
        program.frm.syncFromState();
        // The arguments joined by blanks name one project (a path with blanks arrives in pieces).
        const std::string path = argc > 1 ? model::joinArguments(argc, argv) : std::string();
        program.start(path, QString::fromStdString(dataDir + "/zoltstart.bmp"));
        return application.exec();
    } catch (const std::exception& e) {
        // A failure while the windows are created ends the program after the general error box.
        ui::qt::QtServices fallback;
        fallback.showError(e.what());
        return 1;
    }
}
