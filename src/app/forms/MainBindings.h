// Binds the main window's commands: file flows, dialogs, display choices and the result questions.
#pragma once
#include "app/forms/TfrmMain.h"
#include "editor/Dialogs.h"
#include "model/ProjectCommands.h"

#include <functional>

namespace app::forms {

// The steps the bound commands need from the editor, the calculation and the result display.
// Each may stay empty; the defaults noted here are what bindMainCommands installs when it is.
struct EngineHooks {
    std::function<void()> runCalculation;                  // the calculation driver
    std::function<void(char kind, int redrawChoice)> showResult;  // redisplay a valid result (redrawChoice: TfrmRedraw)
    std::function<void()> redisplayPlan;                   // default: clearDrawingSurface
    std::function<void()> clearPlan;                       // default: model::clearPlan and clearDrawingSurface
    std::function<void(editor::NewPlanBackground, std::int32_t)> planBackground;  // default: white clears, grid sets the scale
    std::function<void(std::int32_t xMm, std::int32_t yMm)> numericPointEntry;  // complete the operation by offset
    std::function<void(int slot)> showCurve;               // the distribution curve window
    std::function<void()> showGrid;                        // grid display with a scale set
    std::function<void()> refreshRegistration;             // the registration window's slot list
    std::function<void(char background)> refitBackground;  // redraw with the bitmap ('B') or DXF ('D') refitted
};

// Installs the commands this window carries out itself or through the hooks; entries of the editor's
// tools (palette, mouse, undo, backgrounds, exports, printing) are left for their owners.
void bindMainCommands(TfrmMain& frm, model::ProjectCommands& project, EngineHooks& hooks);

// The start-up road without a project named on the command line: splash 2 s, then the notice and the
// start dialog; `fillColours` runs when the splash closes (the colour-temperature colours).
void startWithSplash(TfrmMain& frm, model::ProjectCommands& project, EngineHooks& hooks, const QString& splashPicture,
                     std::function<void()> fillColours);

// The start-up road: with a project named on the command line (the arguments joined by blanks) the
// colours are filled and the project opens at once; without one the splash road starts.
void startUp(TfrmMain& frm, model::ProjectCommands& project, EngineHooks& hooks, const std::string& commandLinePath,
             const QString& splashPicture, std::function<void()> fillColours);

} // namespace app::forms
