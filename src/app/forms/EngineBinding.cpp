// Binds the main window to the editor, the calculation, the result display and the windows of registration, interchange and printing.
#include "app/forms/EngineBinding.h"

#include "app/MainView.h"
#include "calc/Calculation.h"
#include "calc/forms/TfrmCalcStart.h"
#include "calc/forms/TfrmHeightDialogs.h"
#include "calc/forms/TfrmRedraw.h"
#include "catalog/ProductList.h"
#include "catalog/forms/TZOLTData.h"
#include "catalog/forms/TfrmKigu.h"
#include "catalog/forms/TfrmList.h"
#include "editor/CalcBridge.h"
#include "editor/forms/TfrmLen.h"
#include "editor/forms/TfrmSinki.h"
#include "io/DxfSaveCommand.h"
#include "io/forms/TfrmDXFOutType.h"
#include "print/ViewPainters.h"
#include "print/forms/TfrmCD.h"
#include "print/forms/TfrmPrint.h"
#include "ui/qt/FormKit.h"
#include "ui/qt/PictureFile.h"
#include "view/IlluminanceCsv.h"
#include "view/PlanRender.h"
#include "view/ResultMaps.h"
#include "view/forms/TfrmColorScale2.h"
#include "view/forms/TfrmTempScale.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLayout>
#include <QScrollArea>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>

namespace app::forms {

MainEngine::MainEngine(TfrmMain& frm, editor::MainState& state, catalog::forms::TZOLTData& zolt, std::string dataDir)
    : frm_(frm), state_(state), zolt_(zolt), dataDir_(std::move(dataDir)),
      painter_(state.doc, frm.context().services, &legendShown_),
      dxfBackground_(dxf_, state.doc, frm.context().services, frm.context().surface),
      display_(state.doc, state.grid, state.stats, state.settings, state.contours, frm.context().surface,
               frm.context().services) {
    MainContext& ctx = frm.context();
    frmKigu = new catalog::forms::TfrmKigu(ctx.touroku, state.doc, ctx.services, zolt, &frm);
    frmList = new catalog::forms::TfrmList(ctx.touroku, ctx.services, &frm);
    frmDXFOutType = new io::forms::TfrmDXFOutType(&frm);
    frmPrint = new print::forms::TfrmPrint(ctx.services, &frm);
    frmCD = new print::forms::TfrmCD(ctx.services, state.doc.productTitle, &frm);

    display_.hooks.clearDrawingSurface = [this] { editor_->clearDrawingSurface(); };
    display_.hooks.redisplayPlan = [this] { editor_->redisplayPlan(); };
    display_.hooks.hideRegistrationWindow = [this] { frmKigu->hide(); };
    display_.hooks.buildContours = [this] {
        calc::CalcContext c = calcContext();
        calc::rebuildContours(c);
    };
    display_.hooks.chooseLevels = [this] { calc::chooseLevels(state_.doc, state_.stats.maxLux); };
    display_.hooks.legendChanged = [this](const view::LegendWindow& legend) { legendChanged(legend); };
    display_.hooks.temperatureScaleChanged = [this](const view::TemperatureScaleWindow& scale) {
        if (scale.picture) frm_.frmTempScale->setPicture(*scale.picture);
    };

    editor_ = std::make_unique<editor::Editor>(state, ctx.touroku, ctx.surface,
                                               ctx.services, painter_, editorHooks(), &dxfBackground_);
}

MainEngine::~MainEngine() = default;

calc::CalcContext MainEngine::calcContext() {
    MainContext& ctx = frm_.context();
    return editor::makeCalcContext(state_, ctx.touroku, ctx.surface, ctx.services, display_);
}

void MainEngine::legendChanged(const view::LegendWindow& legend) {
    view::forms::TfrmColorScale2* window = frm_.frmColorScale2;
    legendShown_ = legend.visible && legend.picture != nullptr;
    if (!legendShown_) {
        window->hide();
        return;
    }
    window->resizeLegend(legend.picture->width(), legend.picture->height());
    window->surface().drawSurface(0, 0, *legend.picture);
    window->showLegend(frm_);
}

io::LegendStamp MainEngine::legendStamp() const {
    io::LegendStamp stamp;
    view::forms::TfrmColorScale2* window = frm_.frmColorScale2;
    stamp.visible = window->isVisible();
    const QPoint at = frm_.Image1->mapFromGlobal(window->mapToGlobal(QPoint(0, 0)));
    stamp.topLeft = ui::Point{at.x(), at.y()};
    stamp.draw = [window](ui::Surface& picture, ui::Point topLeft) {
        picture.drawSurface(topLeft.x, topLeft.y, window->surface());
    };
    return stamp;
}

void MainEngine::showCurve(int slot) {
    frmCD->fill(frm_.context().touroku[slot]);
    frmCD->show();
    frmCD->raise();
}

void MainEngine::runCalculation() {
    // The legend floats beside the window where it stands now.
    const QRect outer = frm_.frameGeometry();
    display_.mainWindow.left = outer.left();
    display_.mainWindow.top = outer.top();
    display_.mainWindow.width = outer.width();
    display_.mainWindow.outerHeight = outer.height();
    calc::CalcContext c = calcContext();
    calc::runCalculation(c);
}

void MainEngine::showResult(char kind, int redrawChoice) {
    switch (kind) {
    case 'B': display_.redisplayColourMap(); break;
    case 'C': display_.redisplayColourTemperature(); break;
    case 'T': display_.redisplayContours(redrawChoice == calc::forms::TfrmRedraw::Overlay); break;
    default: break;
    }
}

editor::EditorHooks MainEngine::editorHooks() {
    editor::EditorHooks h;
    TfrmMain* f = &frm_;
    h.askLength = [f](const editor::LengthRequest& r) {
        editor::forms::TfrmLen* len = f->frmLen;
        len->firstValue = 0;
        len->secondValue = 0;
        len->configure(r.kind, r.tool);
        if (r.atFixedPlace) {
            len->move(600, 40);
        } else {
            len->move(f->Image1->mapToGlobal(QPoint(r.click.x, r.click.y)) + QPoint(10, 10));
        }
        editor::LengthAnswer a;
        a.confirmed = len->execute();
        a.firstValue = len->firstValue;
        a.secondValue = len->secondValue;
        return a;
    };
    h.showCalcStartDialog = [this, f] { state_.settings.calcConfirmed = f->frmCalcStart->execute(); };
    h.runCalculation = [this] { runCalculation(); };
    h.redisplayResult = [this](char kind) { showResult(kind, redrawChoice_); };
    h.askRedrawChoice = [this, f] {
        redrawChoice_ = f->frmRedraw->execute();
        return redrawChoice_ != calc::forms::TfrmRedraw::None;
    };
    h.showTenDakaDialog = [f] { f->frmtendakaSet->execute(); };
    h.askTenDakaChange = [f](int) { return f->frmTendakaChange->execute(); };
    h.showRegistration = [this] {
        frmKigu->refresh(0);
        frmKigu->show();
        frmKigu->raise();
    };
    h.hideRegistration = [this] { frmKigu->hide(); };
    h.refreshRegistrationCounts = [this] { frmKigu->updateCounts(); };
    h.refreshRegistrationSlots = [this] { frmKigu->reset(); };
    h.closeLegendWindows = [this] { display_.hideLegends(); };
    h.closeSecondColourScale = [f] { f->frmColorScale2->hide(); };
    h.showContextMenu = [f] { f->PopupMenu1->popup(QCursor::pos()); };
    h.showCurveWindow = [this](int slot) { showCurve(slot); };
    h.enlargeWindowToScreen = [this, f] {
        model::Document& doc = state_.doc;
        f->setGeometry(0, 0, doc.screenWidth - 5, doc.screenHeight - 25);
        // The plan surface then fills the scroll box's client area.
        if (QLayout* layout = f->centralWidget()->layout()) layout->activate();
        const QSize client = f->ScrollBox1->viewport()->size();
        if (client.width() > 0 && client.height() > 0) {
            doc.surfaceWidth = client.width();
            doc.surfaceHeight = client.height();
            f->context().surface.resize(client.width(), client.height());
            f->Image1->fitToSurface();
        }
    };
    h.loadBitmap = [](const std::string& path) -> std::unique_ptr<ui::Surface> { return ui::qt::loadBackgroundBitmap(path); };
    return h;
}

void MainEngine::mirrorState() {
    model::Document& doc = state_.doc;
    // The editor's labels win only when the editor changed them: the range dialog writes the document's.
    if (state_.labScaleType != mirroredScaleType_) {
        mirroredScaleType_ = state_.labScaleType;
        doc.scaleTypeLabel = state_.labScaleType;
    }
    doc.menus.scaleSet = state_.menuScaleSet;
    doc.surfaceHint = state_.hintVisible ? state_.hintText : std::string();
}

void MainEngine::bind(EngineHooks& hooks) {
    TfrmMain* f = &frm_;
    MainContext& ctx = frm_.context();
    model::Document& doc = state_.doc;
    ui::Services& services = ctx.services;
    editor::Editor& e = *editor_;
    MainCommands& c = frm_.commands;
    frm_.beforeSync = [this] { mirrorState(); };

    hooks.runCalculation = [this] { runCalculation(); };
    hooks.showResult = [this](char kind, int choice) { showResult(kind, choice); };
    hooks.redisplayPlan = [&e] { e.redisplayPlan(); };
    hooks.clearPlan = [this, &e] {
        display_.hideLegends();
        e.clearPlan();
        e.clearDrawingSurface();
    };
    hooks.planBackground = [&e](editor::NewPlanBackground b, std::int32_t denominator) {
        editor::NewPlanChoice choice;
        choice.confirmed = true;
        choice.denominator = denominator;
        choice.background = b;
        e.applyNewPlan(choice, false);
    };
    hooks.numericPointEntry = {};
    hooks.showCurve = [this](int slot) { showCurve(slot); };
    hooks.showGrid = [&e] { e.mnuPrintGridClick(); };
    hooks.refreshRegistration = [this] { frmKigu->reset(); };
    hooks.refitBackground = [&e](char background) { e.redraw(background == 'D' ? 5 : 2); };

    // Palette.
    c.selectTarget = [&e](char t) {
        if (t == 'R') e.imgRoomClick();
        else if (t == 'K') e.imgKiguClick();
        else e.imgHasiraClick();
    };
    c.selectTool = [&e, &doc](char tool) {
        if (doc.editTarget == 'R') e.selectWallTool(tool);
        else e.selectPlacementTool(tool);
    };
    c.selectSnap = [&e](char s) { e.selectSnap(s); };
    c.selectPillarKind = [&e](char k) {
        if (k == 'C') e.imgEntyuuClick();
        else e.imgKakutyuuClick();
    };
    c.selectFl = [&e](bool vertical) {
        if (vertical) e.imgFLtateClick();
        else e.imgFLyokoClick();
    };
    c.selectArrayInput = [f, &e, &doc](char kind) {
        if (kind == 'K') e.rbtnKosuuClick();
        else e.rbtnPitchClick();
        f->frmLen->configure(doc.arrayInput, doc.toolCode);
    };
    c.hasiraSizeChanged = {};
    c.mouseDown = [&e](const ui::MouseEvent& m) {
        e.mouseDown(m);
        return false;  // the editor opens the context menu itself
    };
    c.mouseMove = [&e](const ui::MouseEvent& m) { e.mouseMove(m); };

    // File menu: backgrounds, exports, lists and printing.
    c.mnuLoadBMPClick = [&e] { e.mnuLoadBMPClick(); };
    c.mnuLoadDXFClick = [&e] { e.mnuLoadDXFClick(); };
    c.mnuDxfSaveClick = [this, &doc, &services] {
        io::DxfExportInput input{doc, state_.contours, state_.stats, [this] {
                                     calc::CalcContext cc = calcContext();
                                     calc::rebuildContours(cc);
                                 }};
        io::mnuDxfSaveClick(*frmDXFOutType, input, io::dxfTemplatesIn(dataDir_), services);
    };
    c.mnuCsvClick = [this, f, &services] {
        catalog::saveProductListCsv(f->context().touroku, state_.doc.lampNameMode,
                                    ui::qt::ss(frmPrint->txtBukkenmei->text()), services);
    };
    c.mnuOutPutClick = [this, &services] { view::saveIlluminanceCsvCommand(state_.grid, state_.stats, services); };
    c.mnuListShowClick = [this, &doc] { frmList->showList(doc.lampNameMode); };
    frmList->objectName = [this] { return ui::qt::ss(frmPrint->txtBukkenmei->text()); };
    frmList->onWrittenBack = [this] { frmKigu->reset(); };
    auto printTable = [this, f, &doc] {
        frmPrint->printFixtureTable(f->context().touroku, print::FixtureTableStyle{doc.lampNameMode, doc.tables.symbolColour});
    };
    frmList->onPrint = printTable;
    c.mnuListOutClick = printTable;
    c.Print1Click = [this, f, &doc, &services] {
        print::forms::PrintSource source;
        source.doc = &doc;
        source.touroku = &f->context().touroku;
        source.stats = &state_.stats;
        source.settings = &state_.settings;
        source.planImage = &f->context().surface;
        source.painters = print::viewSheetPainters(doc, state_.contours, services, display_.temperatureScale().picture.get());
        frmPrint->Print1Click(source);
    };

    // Edit menu.
    c.mnuRedrawClick = [&e] { e.mnuRedrawClick(); };
    c.btnRedClick = [&e] { e.btnRedClick(); };
    c.mnuUndoClick = [&e] { e.mnuUndoClick(); };
    c.S1Click = [&e] { e.S1Click(); };
    c.mnuKakudaiClick = [&e] { e.mnuKakudaiClick(); };
    c.mnuModosuClick = [&e] { e.mnuModosuClick(); };
    c.mnuHaikouClick = [&e] { e.mnuHaikouClick(); };
    c.mnuLampJClick = [this, &e] {
        e.mnuLampJClick();
        frmKigu->setLampNameMode('J');
    };
    c.mnuLampAClick = [this, &e] {
        e.mnuLampAClick();
        frmKigu->setLampNameMode('A');
    };

    // Display menu.
    c.mnuPrintBMPClick = [&e] { e.mnuPrintBMPClick(); };
    c.mnuPrintDXFClick = [&e] { e.mnuPrintDXFClick(); };
    c.mnuPrintGridClick = [&e] { e.mnuPrintGridClick(); };
    c.mnuDelHaikeiClick = [&e] { e.mnuDelHaikeiClick(); };
    c.mnuDelGridClick = [&e] { e.mnuDelGridClick(); };
    c.mnuBmpScreenClick = [&e] { e.mnuBmpScreenClick(); };
    c.mnuBmpFormClick = [&e] { e.mnuBmpFormClick(); };
    c.mnuBmpSorceClick = [&e] { e.mnuBmpSorceClick(); };
    c.mnuDxfScreenClick = [&e] { e.mnuDxfScreenClick(); };
    c.mnuDxfFormClick = [&e] { e.mnuDxfFormClick(); };
    c.mnuRedBunpuClick = [&e] { e.mnuRedBunpuClick(); };
    c.mnuRedLineClick = [&e] { e.mnuRedLineClick(); };
    c.mnuRedTempClick = [&e] { e.mnuRedTempClick(); };
    c.mnuKiguShowClick = [&e] { e.mnuKiguShowClick(); };
    c.mnuKiguDelClick = [&e] { e.mnuKiguDelClick(); };

    // Calculation.
    c.imgCalcClick = [&e] { e.imgCalcClick(); };
    c.mnuCalcRunClick = [&e] { e.mnuCalcRunClick(); };
    c.mnuBunpuClick = [&e] { e.mnuBunpuClick(); };
    c.mnuTempClick = [&e] { e.mnuTempClick(); };
    c.mnuLineClick = [&e] { e.mnuLineClick(); };
    c.mnuScaleONClick = [&e] { e.mnuScaleONClick(); };
    c.mnuScaleOFFClick = [&e] { e.mnuScaleOFFClick(); };

    // Status panel.
    c.btnSuutiClick = [&e] { e.btnSuutiClick(); };
    c.btnHenkouClick = [&e] { e.btnHenkouClick(); };
    c.Button3Click = [&e] { e.button3Click(); };

    // The plan picture's context menu.
    c.pmnuCopyClick = [this, f, &services] { io::pmnuCopyClick(f->context().surface, legendStamp(), services); };
    c.pmnuSaveClick = [this, f, &doc, &services] {
        io::pmnuSaveClick(doc, f->context().surface, legendStamp(), services);
    };

    // The registration window: its choices reach the plan.
    frmKigu->host().showCurve = [this, f](int slot) {
        if (frmCD->isVisible()) frmCD->fill(f->context().touroku[slot]);
    };
    frmKigu->host().fixturesDeleted = [f, &e] { f->run([&e] { e.redisplayPlan(); }); };
    frmKigu->onClose = [f, &e] { f->run([&e] { e.imgRoomClick(); }); };

    e.initialise();
}

} // namespace app::forms
