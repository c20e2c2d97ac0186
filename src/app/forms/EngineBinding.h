// The main window bound to the editor and to every subsystem's window: calculation, result display, registration, interchange, printing.
#pragma once
#include "app/EditorSeams.h"
#include "app/forms/MainBindings.h"
#include "editor/Editor.h"
#include "editor/MainState.h"
#include "io/DxfReader.h"
#include "io/ExportPicture.h"
#include "view/ResultPresenter.h"

#include <memory>
#include <string>

namespace catalog::forms {
class TZOLTData;
class TfrmKigu;
class TfrmList;
}  // namespace catalog::forms
namespace io::forms {
class TfrmDXFOutType;
}
namespace print::forms {
class TfrmPrint;
class TfrmCD;
}  // namespace print::forms

namespace app::forms {

// Owns the editor over the main window's state, the result presentation and the windows of the other
// subsystems; `bind` hands every menu entry, palette button and mouse event of the window to them.
// The window's context must point at state.doc, state.settings and the plan surface.
class MainEngine {
public:
    MainEngine(TfrmMain& frm, editor::MainState& state, catalog::forms::TZOLTData& zolt, std::string dataDir);
    ~MainEngine();
    MainEngine(const MainEngine&) = delete;
    MainEngine& operator=(const MainEngine&) = delete;

    // Call after bindMainCommands: replaces the state-only palette and fills every hook.
    void bind(EngineHooks& hooks);

    editor::Editor& editor() { return *editor_; }
    view::ResultPresenter& display() { return display_; }
    io::TfrmDXF& dxf() { return dxf_; }

    // One calculation (or the redisplay of a still valid result) with the calculation's progress window.
    void runCalculation();
    // Redisplays the valid result: 'B' colour map, 'C' colour temperature, 'T' contour lines
    // (redrawChoice: the contour question's answer, Overlay draws over the current picture).
    void showResult(char kind, int redrawChoice);
    // The distribution curve window of a registered slot.
    void showCurve(int slot);
    // The plan picture for the clipboard and bitmap files: the legend where it floats over the plan.
    io::LegendStamp legendStamp() const;

    catalog::forms::TfrmKigu* frmKigu;
    catalog::forms::TfrmList* frmList;
    io::forms::TfrmDXFOutType* frmDXFOutType;
    print::forms::TfrmPrint* frmPrint;
    print::forms::TfrmCD* frmCD;

private:
    editor::EditorHooks editorHooks();
    void legendChanged(const view::LegendWindow& legend);
    void mirrorState();

    TfrmMain& frm_;
    editor::MainState& state_;
    catalog::forms::TZOLTData& zolt_;
    std::string dataDir_;
    bool legendShown_ = false;
    int redrawChoice_ = 0;
    std::string mirroredScaleType_;  // the editor's scale-type label as last copied into the document
    ViewPlanPainter painter_;
    io::TfrmDXF dxf_;
    ReaderDxfBackground dxfBackground_;
    view::ResultPresenter display_;
    std::unique_ptr<editor::Editor> editor_;
};

} // namespace app::forms
