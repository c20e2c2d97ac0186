// Builds the interactive program: catalogue, surface, main window, editor, result display and project commands.
#include "app/forms/MainProgram.h"

#include "editor/WindowView.h"

#include <QMenuBar>

namespace app::forms {

MainProgram::MainProgram(const ScreenInfo& screen, const std::string& dataDir, ui::Services& services_,
                         ui::qt::QtServices* qtServices)
    : services(services_), zolt(dataDir, services_),
      // The surface is as wide as the screen less 5 and as high as the client area less 30.
      documentReady((initialiseDocument(state.doc, screen, screen.width - 5, screen.height - 25 - 30), true)),
      surface(state.doc.surfaceWidth, state.doc.surfaceHeight, screen.dpi),
      frm(MainContext{state.doc, touroku, state.settings, surface, services_, zolt.catalogue().lightColors(), qtServices}),
      engine(frm, state, zolt, dataDir), project(state.doc, touroku, services_, projectHooks()) {
    model::Document& doc = state.doc;
    const int clientHeight = frm.height() - frm.menuBar()->sizeHint().height();
    doc.surfaceHeight = clientHeight - 30;
    surface.resize(doc.surfaceWidth, doc.surfaceHeight);
    engine.editor().clearDrawingSurface();
    // The product dialog opens from the registration window, which floats on top: it must float above it.
    zolt.setWindowFlag(Qt::WindowStaysOnTopHint, true);

    bindMainCommands(frm, project, hooks);
    engine.bind(hooks);
}

model::ProjectHooks MainProgram::projectHooks() {
    model::ProjectHooks h;
    h.clearPlan = [this] {
        if (hooks.clearPlan) hooks.clearPlan();
    };
    h.refreshRegistration = [this] {
        if (hooks.refreshRegistration) hooks.refreshRegistration();
    };
    h.redrawPlan = [this] {
        if (hooks.redisplayPlan) hooks.redisplayPlan();
    };
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

void MainProgram::start(const std::string& commandLinePath, const QString& splashPicture) {
    startUp(frm, project, hooks, commandLinePath, splashPicture, [this] { fillColours(); });
}

} // namespace app::forms
