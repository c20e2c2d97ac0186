// The whole interactive program assembled: edit state, catalogue, plan surface, main window, editor and project commands.
#pragma once
#include "app/Startup.h"
#include "app/forms/EngineBinding.h"
#include "app/forms/TfrmMain.h"
#include "catalog/forms/TZOLTData.h"
#include "editor/MainState.h"
#include "model/ProjectCommands.h"
#include "ui/qt/QtServices.h"
#include "ui/qt/QtSurface.h"

#include <optional>
#include <string>
#include <vector>

namespace app::forms {

// Everything one running program holds, in the order it has to be built: the state first, the
// catalogue (its dialog loads it), the surface, the window, the editor and its windows, the bindings.
struct MainProgram {
    // `qtServices`, when given, is `services` itself: its dialogs and progress window then belong to the main window.
    MainProgram(const ScreenInfo& screen, const std::string& dataDir, ui::Services& services,
                ui::qt::QtServices* qtServices = nullptr);

    // The colour-temperature colours from the catalogue and the scale picture drawn from them.
    void fillColours();
    // The start-up road: the named project (blanks joined) at once, or the splash road.
    void start(const std::string& commandLinePath, const QString& splashPicture);

    editor::MainState state;
    catalog::TourokuTable touroku;
    ui::Services& services;
    catalog::forms::TZOLTData zolt;
    bool documentReady;  // the document's start values stand before the surface takes its size from them
    ui::qt::ImageSurface surface;
    TfrmMain frm;
    MainEngine engine;
    model::ProjectCommands project;

private:
    model::ProjectHooks projectHooks();
    // Splash 2 s, then the notice and the start dialog; the colours are filled when the splash closes.
    void startWithSplash(const QString& splashPicture);
};

// What `ordivan --help` and `ordivan --version` print on the standard output, without a window. Only
// these two single words answer: every other list of arguments names a project (joined by blanks).
std::optional<std::string> programAnswer(const std::vector<std::string>& args);

// Tells the desktop which installed entry the windows belong to (its name, icon and file types) and
// gives every window the program's icon: the theme's when the icon is installed, else the built-in one.
void identifyToDesktop();

} // namespace app::forms
