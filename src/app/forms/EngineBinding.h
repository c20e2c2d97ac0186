// The main window bound to the editor and to every subsystem's window: calculation, result display, registration, interchange, printing.
#pragma once
#include "app/EditorSeams.h"
#include "app/forms/RecentProjects.h"
#include "app/forms/TfrmMain.h"
#include "model/ProjectCommands.h"
#include "editor/Editor.h"
#include "editor/MainState.h"
#include "io/DxfReader.h"
#include "io/ExportPicture.h"
#include "print/ReportSheets.h"
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
class TfrmDxfWalls;
}  // namespace io::forms
namespace editor::forms {
class TfrmTaskArea;
class TfrmOffset;
class TfrmRotate;
class TfrmProperties;
}  // namespace editor::forms
namespace view::forms {
class TfrmAreaTable;
class TfrmPower;
}
namespace print::forms {
class TfrmPrint;
class TfrmCD;
struct PrintSource;
}  // namespace print::forms

namespace app::forms {

// Owns the editor over the main window's state, the result presentation and the windows of the other
// subsystems; `bind` hands every menu entry, palette button and mouse event of the window to them, once.
// The window's context must point at state.doc, state.settings and the plan surface.
class MainEngine {
public:
    MainEngine(TfrmMain& frm, editor::MainState& state, catalog::forms::TZOLTData& zolt, std::string dataDir);
    ~MainEngine();
    MainEngine(const MainEngine&) = delete;
    MainEngine& operator=(const MainEngine&) = delete;

    // Binds every command the window declares to its one owner, then sets the editor's start state.
    void bind(model::ProjectCommands& project);

    // The start dialog's "新規作成": the plan is still empty.
    void newPlanFromStart(editor::NewPlanBackground background, std::int32_t denominator);

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
    // A project was read from or written to `path`: it heads "最近使ったファイル".
    void projectFileUsed(const std::string& path);

    catalog::forms::TfrmKigu* frmKigu;
    catalog::forms::TfrmList* frmList;
    io::forms::TfrmDXFOutType* frmDXFOutType;
    io::forms::TfrmDxfWalls* frmDxfWalls;  // the layers "DXFから壁を作成..." makes walls of
    print::forms::TfrmPrint* frmPrint;
    print::forms::TfrmCD* frmCD;
    editor::forms::TfrmTaskArea* frmTaskArea;
    editor::forms::TfrmOffset* frmOffset;  // "移動..." and "複写..."
    editor::forms::TfrmRotate* frmRotate;  // "回転..."
    editor::forms::TfrmProperties* frmProperties;  // "プロパティ..."
    view::forms::TfrmAreaTable* frmAreaTable;  // shown after a calculation of a plan with task areas
    view::forms::TfrmPower* frmPower;          // 器具・電力, refilled while it is shown
    // Fills the power window from the plan and, when the result is valid, its floor.
    void fillPower();

private:
    // The commands whose owners are the windows: project files, dialogs, options.
    void bindWindowCommands(model::ProjectCommands& project);
    // Exports, lists, printing and the plan picture's context menu.
    void bindOutputCommands();
    // "設計レポート(PDF)...": the current result when it is up to date, else a calculation first (through
    // the start dialog); then the file name, then the report. False when nothing was written.
    bool mnuReportClick();
    // "設計レポートの印刷プレビュー": the same pages in the preview window, after the same calculation.
    void mnuReportPreviewClick();
    // "DXFから壁を作成...": the chosen layers of the background drawing become walls, one undo step.
    void mnuDxfWallsClick();
    // The result is up to date, or is made so through the calculation command; false when it is not.
    bool reportResultReady();
    // What the report prints from: the window's state now, with the pictures given.
    print::ReportContent reportContent(const print::ReportPictures& pictures);
    // What the sheet prints from: the window's state now.
    print::forms::PrintSource printSource();
    // The calculation button shows its pressed picture while the command runs.
    void calculateCommand(void (editor::Editor::*command)());
    static void setFramed(QWidget* w, bool framed);
    editor::EditorHooks editorHooks();
    void legendChanged(const view::LegendWindow& legend);

    TfrmMain& frm_;
    editor::MainState& state_;
    catalog::forms::TZOLTData& zolt_;
    std::string dataDir_;
    bool legendShown_ = false;
    int redrawChoice_ = 0;
    RecentProjects recent_;
    ViewPlanPainter painter_;
    io::TfrmDXF dxf_;
    ReaderDxfBackground dxfBackground_;
    view::ResultPresenter display_;
    std::unique_ptr<editor::Editor> editor_;
};

} // namespace app::forms
