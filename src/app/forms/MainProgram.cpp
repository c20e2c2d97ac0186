// Builds the interactive program: catalogue, surface, main window, editor, result display and project commands.
#include "app/forms/MainProgram.h"

#include "app/forms/StartupWindows.h"
#include "base/Version.h"
#include "catalog/forms/TfrmKigu.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>

#include <QMenuBar>

namespace app::forms {

MainProgram::MainProgram(const ScreenInfo& screen, const std::string& dataDir, ui::Services& services_,
                         ui::qt::QtServices* qtServices)
    : services(services_), zolt(dataDir, services_),
      // The surface is as wide as the screen less 5 and as high as the client area less 30.
      documentReady((initialiseDocument(state.doc, state.window, screen, screen.width - 5, screen.height - 25 - 30), true)),
      surface(state.doc.surfaceWidth, state.doc.surfaceHeight, screen.dpi),
      frm(MainContext{state.doc, state.window, touroku, state.settings, surface, services_, zolt.catalogue().lightColors(), qtServices}),
      engine(frm, state, zolt, dataDir), project(state.doc, state.window, touroku, services_, projectHooks()) {
    model::Document& doc = state.doc;
    const int clientHeight = frm.height() - frm.menuBar()->sizeHint().height();
    doc.surfaceHeight = clientHeight - 30;
    surface.resize(doc.surfaceWidth, doc.surfaceHeight);
    engine.editor().clearDrawingSurface();
    // The product dialog opens from the registration window, which floats on top: it must float above it.
    zolt.setWindowFlag(Qt::WindowStaysOnTopHint, true);

    engine.bind(project);
}

model::ProjectHooks MainProgram::projectHooks() {
    model::ProjectHooks h;
    h.clearPlan = [this] { engine.editor().clearPlan(); };
    h.refreshRegistration = [this] { engine.frmKigu->reset(); };
    // The background belonged to the plan that was open before: an opened plan is drawn on white (or its grid).
    h.redrawPlan = [this] { engine.editor().mnuDelHaikeiClick(); };
    h.fileUsed = [this](const std::string& path) { engine.projectFileUsed(path); };
    h.surfaceResized = [this] {
        surface.resize(state.doc.surfaceWidth, state.doc.surfaceHeight);
        frm.setAutoScroll(true);
    };
    return h;
}

void MainProgram::fillColours() {
    const catalog::LightColorTable& colours = zolt.catalogue().lightColors();
    if (colours.loaded <= 0) return;
    fillCtColour(state.doc.tables, colours);
    engine.display().prepareTemperatureScale();
}

void MainProgram::startWithSplash(const QString& splashPicture) {
    auto* splash = new TfrmStart1(splashPicture, &frm);
    auto* start = new TfrmStart2(frm.context().services, &frm);
    TfrmMain* f = &frm;
    start->showNotice = [f] { f->fmTyuui->exec(); };
    start->onNewPlan = [this](editor::NewPlanBackground b, std::int32_t d) {
        frm.run([&] { engine.newPlanFromStart(b, d); });
    };
    start->onLoad = [this] { frm.run([this] { project.openFromStartDialog(); }); };
    start->onCancel = [f] { QTimer::singleShot(0, f, [f] { f->close(); }); };
    splash->onTimer = [this, f, start] {
        fillColours();
        start->adjustSize();
        start->move(f->screen()->geometry().center() - QPoint(start->width() / 2, start->height() / 2));
        start->exec();
    };
    splash->show();
    splash->Timer1.start();
}

void MainProgram::start(const std::string& commandLinePath, const QString& splashPicture) {
    if (commandLinePath.empty()) {
        startWithSplash(splashPicture);
        return;
    }
    // Without the splash the colour-temperature colours are filled here, or a project opened from the
    // command line would show its colour-temperature map without colours.
    fillColours();
    frm.run([&] { project.openPath(commandLinePath); });
}

std::optional<std::string> programAnswer(const std::vector<std::string>& args) {
    if (args.size() != 1) return std::nullopt;
    if (args[0] == "--version") return std::string("ordivan (ORDIVAN) ") + base::programVersion() + "\n";
    if (args[0] != "--help") return std::nullopt;
    return "usage: ordivan [PROJECT.OLE]\n"
           "       ordivan --help | --version\n"
           "\n"
           "Opens the lighting-plan window, with the project when one is named. The words after the program\n"
           "name are joined by blanks into one path, so a path with blanks needs no quotes.\n"
           "ordivan-cli runs the same engine without a display; see ordivan(1) and ordivan-cli(1).\n";
}

void identifyToDesktop() {
    QGuiApplication::setDesktopFileName(QStringLiteral("ordivan"));
    QIcon builtIn;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/icons/%1x%1/apps/ordivan.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("ordivan"), builtIn));
}

} // namespace app::forms
