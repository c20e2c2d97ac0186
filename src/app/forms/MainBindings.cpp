// The main window's command bindings: every handler is widget plumbing around the Qt-free rules.
#include "app/forms/MainBindings.h"

#include "app/MainRules.h"
#include "app/forms/StartupWindows.h"
#include "calc/forms/TfrmCalcStart.h"
#include "calc/forms/TfrmHeightDialogs.h"
#include "calc/forms/TfrmRedraw.h"
#include "calc/forms/TfrmSeido.h"
#include "editor/forms/TfrmLen.h"
#include "editor/forms/TfrmSinki.h"
#include "view/PlanRender.h"
#include "view/forms/TfrmColorScale2.h"
#include "view/forms/TfrmLxScale.h"
#include "view/forms/TfrmTempScale.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

namespace app::forms {
namespace {

void setFramed(QWidget* w, bool framed) {
    const bool visible = w->isVisible();
    w->setWindowFlag(Qt::FramelessWindowHint, !framed);
    if (visible) w->show();
}

} // namespace

void bindMainCommands(TfrmMain& frm, model::ProjectCommands& project, EngineHooks& hooks) {
    MainContext& ctx = frm.context();
    model::Document& doc = ctx.doc;
    ui::Services& services = ctx.services;
    MainCommands& c = frm.commands;

    if (!hooks.redisplayPlan) hooks.redisplayPlan = [&ctx] { view::clearDrawingSurface(ctx.surface, ctx.doc); };
    if (!hooks.clearPlan) {
        hooks.clearPlan = [&ctx] {
            model::clearPlan(ctx.doc, ctx.touroku);
            view::clearDrawingSurface(ctx.surface, ctx.doc);
        };
    }
    if (!hooks.planBackground) {
        hooks.planBackground = [&ctx](editor::NewPlanBackground b, std::int32_t denominator) {
            if (b == editor::NewPlanBackground::Grid) {
                model::setScaleFromDenominator(ctx.doc, denominator);
            } else if (b == editor::NewPlanBackground::White) {
                view::clearDrawingSurface(ctx.surface, ctx.doc);
                ctx.doc.backgroundKind = 'N';
            }
        };
    }
    EngineHooks* h = &hooks;
    TfrmMain* f = &frm;

    // File menu.
    c.New1Click = [f, h, &project] {
        if (!project.closeQuery()) return;
        f->frmSinki->onClearPlan = [h] {
            if (h->clearPlan) h->clearPlan();
            if (h->refreshRegistration) h->refreshRegistration();
        };
        f->frmSinki->onBackground = [h](editor::NewPlanBackground b, std::int32_t d) { h->planBackground(b, d); };
        f->frmSinki->execute();
    };
    c.Open1Click = [&project] { project.openFromMenu(); };
    c.Save1Click = [&project] { project.save(); };
    c.SaveAs1Click = [&project] { project.saveAs(); };
    c.mnuwin32fileClick = [&project] { project.registerFileType(); };
    c.closeQuery = [&project] { return project.closeQuery(); };
    c.Exit1Click = [f] { f->close(); };

    // Edit menu.
    c.mnuRedrawClick = [h] { h->redisplayPlan(); };
    c.btnRedClick = [h] { h->redisplayPlan(); };
    c.mnuLampJClick = [&doc] { doc.lampNameMode = 'J'; };
    c.mnuLampAClick = [&doc] { doc.lampNameMode = 'A'; };
    c.mnuHaikouClick = [&doc, &services, h] {
        if (doc.selectedType > 0) {
            if (h->showCurve) h->showCurve(doc.selectedType);
        } else {
            services.messageBox(kChooseFixtureCurve, "", ui::Icon::Stop, ui::Buttons::Ok);
        }
    };
    c.mnuPrintGridClick = [&doc, &services, h] {
        if (requireScale(doc, services) && h->showGrid) h->showGrid();
    };

    // Display menu.
    c.mnuKiguShowClick = [&ctx] { ctx.settings.showFixturesOnResult = true; };
    c.mnuKiguDelClick = [&ctx] { ctx.settings.showFixturesOnResult = false; };
    c.mnuPrint1Click = [&doc] { doc.displayDetail = true; };
    c.mnuPrint3Click = [&doc] { doc.displayDetail = false; };
    auto redisplay = [f, h, &doc, &services](char kind) {
        int choice = 0;
        if (kind == 'T') {
            choice = f->frmRedraw->execute();
            if (choice == calc::forms::TfrmRedraw::None) return;
        }
        switch (redisplayStepFor(doc, services, kind)) {
        case RedisplayStep::Recalculate:
            if (h->runCalculation) h->runCalculation();
            break;
        case RedisplayStep::Redisplay:
            if (h->showResult) h->showResult(kind, choice);
            break;
        case RedisplayStep::Nothing: break;
        }
    };
    c.mnuRedBunpuClick = [redisplay] { redisplay('B'); };
    c.mnuRedLineClick = [redisplay] { redisplay('T'); };
    c.mnuRedTempClick = [redisplay] { redisplay('C'); };
    auto sizeMode = [f, h](char background, int mode) {
        MainContext& ctx = f->context();
        if (background == 'D' && mode == 1) {
            // The DXF drawing over the whole screen: the window grows first.
            f->setGeometry(0, 0, ctx.doc.screenWidth - 5, ctx.doc.screenHeight - 25);
        }
        if (chooseBackgroundSize(ctx.doc, ctx.services, background, mode) && h->refitBackground) h->refitBackground(background);
    };
    c.mnuBmpScreenClick = [sizeMode] { sizeMode('B', 1); };
    c.mnuBmpFormClick = [sizeMode] { sizeMode('B', 2); };
    c.mnuBmpSorceClick = [sizeMode] { sizeMode('B', 3); };
    c.mnuDxfScreenClick = [sizeMode] { sizeMode('D', 1); };
    c.mnuDxfFormClick = [sizeMode] { sizeMode('D', 2); };
    c.Button3Click = [f, h] {
        f->frmColorScale2->hide();
        h->redisplayPlan();
    };

    // Calculation.
    auto calculate = [f, h](bool fromButton) {
        MainContext& ctx = f->context();
        f->setCalcPressed(true);
        if (!fromButton || calcButtonAllowed(ctx.doc, ctx.services)) {
            if (f->frmCalcStart->execute() && h->runCalculation) h->runCalculation();
        }
        f->setCalcPressed(false);
    };
    c.imgCalcClick = [calculate] { calculate(true); };
    c.mnuCalcRunClick = [calculate] { calculate(false); };
    c.mnuBunpuClick = [&doc] { chooseResultKind(doc, 'B'); };
    c.mnuTempClick = [&doc] { chooseResultKind(doc, 'C'); };
    c.mnuLineClick = [&doc] { chooseResultKind(doc, 'T'); };
    c.mnuScaleONClick = [&doc] { chooseRangeMode(doc, true); };
    c.mnuScaleOFFClick = [&doc] { chooseRangeMode(doc, false); };
    c.mnuScaleSetClick = [f, h, &doc] {
        f->frmLxScale->onLevelsChanged = [f, h] {
            h->redisplayPlan();
            f->frmColorScale2->hide();
        };
        f->frmLxScale->execute();
        setFramed(f->frmLxScale, doc.legendFramed);
        f->frmTempScale->setMerged(!doc.legendFramed);
    };
    c.mnuSeidoClick = [f] { f->frmSeido->exec(); };
    c.mnuHosyurituClick = [f] { f->frmHosyuritu->execute(); };
    c.btnHenkouClick = [f, h] {
        HeightChangeSteps steps;
        steps.askHeight = [f] { return f->frmtendakaSet->execute(); };
        steps.askFixtures = [f] { return f->frmTendakaChange->execute(); };
        steps.redisplayPlan = [h] { h->redisplayPlan(); };
        changeReferenceHeight(f->context().doc, steps);
    };

    // Options and help.
    c.mnuLegendMergeClick = [f, &doc] {
        doc.legendFramed = !doc.legendFramed;
        setFramed(f->frmLxScale, doc.legendFramed);
        f->frmTempScale->setMerged(!doc.legendFramed);
    };
    c.mnuTempMergeClick = [f, &doc] {
        doc.tempScaleMerged = !doc.tempScaleMerged;
        f->frmTempScale->setMerged(doc.tempScaleMerged);
    };
    c.About1Click = [f, &doc] { f->frmVersion->execute(doc.productTitle); };

    c.resized = [f] {
        MainContext& ctx = f->context();
        const int clientWidth = f->width();
        switch (windowResized(ctx.doc, f->autoScroll(), clientWidth, f->planAreaHeight())) {
        case ScrollChange::On: f->setAutoScroll(true); break;
        case ScrollChange::Off: f->setAutoScroll(false); break;
        case ScrollChange::None: break;
        }
    };

    // Numbers typed instead of clicked.
    c.btnSuutiClick = [f, h, &doc, &services] {
        if (!requireScale(doc, services)) return;
        editor::forms::TfrmLen* len = f->frmLen;
        len->firstValue = 0;
        len->secondValue = 0;
        len->configure('L', doc.toolCode);
        len->move(600, 40);
        len->execute();
        if ((len->firstValue != 0 || len->secondValue != 0) && h->numericPointEntry) {
            h->numericPointEntry(len->firstValue, len->secondValue);
        }
    };
    c.selectArrayInput = [f, &doc, &services](char kind) {
        if (chooseArrayInput(doc, services, kind)) f->frmLen->configure(doc.arrayInput, doc.toolCode);
    };
}

void startWithSplash(TfrmMain& frm, model::ProjectCommands& project, EngineHooks& hooks, const QString& splashPicture,
                     std::function<void()> fillColours) {
    auto* splash = new TfrmStart1(splashPicture, &frm);
    auto* start = new TfrmStart2(frm.context().services, &frm);
    TfrmMain* f = &frm;
    EngineHooks* h = &hooks;
    start->showNotice = [f] { f->fmTyuui->exec(); };
    start->onNewPlan = [f, h](editor::NewPlanBackground b, std::int32_t d) {
        h->planBackground(b, d);
        f->syncFromState();
    };
    start->onLoad = [f, &project] {
        project.openFromStartDialog();
        f->syncFromState();
    };
    start->onCancel = [f] { QTimer::singleShot(0, f, [f] { f->close(); }); };
    splash->onTimer = [f, start, fillColours] {
        if (fillColours) fillColours();
        start->adjustSize();
        start->move(f->screen()->geometry().center() - QPoint(start->width() / 2, start->height() / 2));
        start->exec();
    };
    splash->show();
    splash->Timer1.start();
}

void startUp(TfrmMain& frm, model::ProjectCommands& project, EngineHooks& hooks, const std::string& commandLinePath,
             const QString& splashPicture, std::function<void()> fillColours) {
    if (commandLinePath.empty()) {
        startWithSplash(frm, project, hooks, splashPicture, std::move(fillColours));
        return;
    }
    // Without the splash the colour-temperature colours are filled here, or a project opened from the
    // command line would show its colour-temperature map without colours.
    if (fillColours) fillColours();
    frm.run([&] { project.openPath(commandLinePath); });
}

} // namespace app::forms
