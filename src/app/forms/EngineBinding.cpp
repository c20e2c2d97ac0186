// Binds the main window to the editor, the calculation, the result display and the windows of registration, interchange and printing.
#include "app/forms/EngineBinding.h"

#include "editor/WindowView.h"
#include "calc/Calculation.h"
#include "calc/forms/TfrmCalcStart.h"
#include "calc/forms/TfrmHansya.h"
#include "calc/forms/TfrmHeightDialogs.h"
#include "calc/forms/TfrmRedraw.h"
#include "catalog/ProductList.h"
#include "catalog/forms/TZOLTData.h"
#include "catalog/forms/TfrmKigu.h"
#include "catalog/forms/TfrmList.h"
#include "editor/Dialogs.h"
#include "editor/forms/TfrmLen.h"
#include "editor/forms/TfrmSinki.h"
#include "editor/forms/TfrmSelectionEdits.h"
#include "editor/forms/TfrmTaskArea.h"
#include "io/DxfSaveCommand.h"
#include "io/DxfWalls.h"
#include "io/forms/TfrmDXFOutType.h"
#include "io/forms/TfrmDxfWalls.h"
#include "calc/AreaFigures.h"
#include "calc/PowerFigures.h"
#include "model/TaskPresets.h"
#include "print/ReportSheets.h"
#include "print/ViewPainters.h"
#include "view/AreaTable.h"
#include "print/forms/TfrmCD.h"
#include "print/forms/TfrmPrint.h"
#include "ui/qt/FormKit.h"
#include "ui/qt/PrinterSurface.h"
#include "ui/qt/PictureFile.h"
#include "view/IlluminanceCsv.h"
#include "view/PlanRender.h"
#include "view/ResultMaps.h"
#include "view/forms/TfrmAreaTable.h"
#include "view/forms/TfrmPower.h"
#include "view/forms/TfrmColorScale2.h"
#include "view/forms/TfrmLxScale.h"
#include "calc/forms/TfrmSeido.h"
#include "app/forms/StartupWindows.h"
#include "view/forms/TfrmTempScale.h"

#include <QCursor>
#include <QPageSize>
#include <QPrinter>
#include <QFileInfo>
#include <algorithm>
#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QScrollArea>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>

namespace app::forms {

namespace {

constexpr const char* kNoDxfDrawing = "DXFﾌｧｲﾙを読み込んで下さい。";
constexpr const char* kNoWallsMade = "選んだ画層には壁にできる線がありません。";

enum class Corner { TopLeft, TopRight, Centre };

QMargins frameMargins(const QWidget& window) {
    const QRect client = window.geometry(), frame = window.frameGeometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

// Puts a window in a corner (8 pixels in) or the centre of `area`, entirely inside it where it fits;
// a window larger than the area keeps its top left corner inside it.
void placeWithin(QWidget& window, const QRect& area, Corner corner) {
    window.ensurePolished();
    if (QLayout* layout = window.layout()) layout->activate();
    if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
    // The client area is what gets placed, inside the frame the window system draws round it. That frame
    // is unknown until the window was first shown; until then it is taken to be the main window's, so the
    // first opening and every later one end in the same place.
    const QRect client = window.geometry();
    QMargins border = frameMargins(window);
    if (border.isNull() && window.parentWidget()) border = frameMargins(*window.parentWidget()->window());
    QRect room = area.marginsRemoved(border);
    // A window bigger than the plan area (a small screen, a tall title bar) first gives up what its layout
    // can spare; what is still too much reaches up over the palette and menu, never down over the status
    // panel or off the screen.
    QSize size = client.size();
    if (size.height() > room.height() || size.width() > room.width()) {
        size = size.boundedTo(room.size()).expandedTo(window.minimumSizeHint()).expandedTo(window.minimumSize());
        const QScreen* screen = QGuiApplication::screenAt(area.center());
        const QRect desk = screen ? screen->availableGeometry().marginsRemoved(border) : room;
        if (size.height() > room.height()) room.setTop(std::max(desk.top(), room.bottom() + 1 - size.height()));
        if (size.width() > room.width()) room.setLeft(std::max(desk.left(), room.right() + 1 - size.width()));
    }
    QPoint wanted = room.topLeft() + QPoint(8, 8);
    if (corner == Corner::TopRight) wanted.setX(room.right() + 1 - size.width() - 8);
    if (corner == Corner::Centre) wanted = room.center() - QPoint(size.width() / 2, size.height() / 2);
    const int x = std::max(room.left(), std::min(wanted.x(), room.right() + 1 - size.width()));
    const int y = std::max(room.top(), std::min(wanted.y(), room.bottom() + 1 - size.height()));
    window.setGeometry(x, y, size.width(), size.height());
}

} // namespace

MainEngine::MainEngine(TfrmMain& frm, editor::MainState& state, catalog::forms::TZOLTData& zolt, std::string dataDir)
    : frm_(frm), state_(state), zolt_(zolt), dataDir_(std::move(dataDir)),
      painter_(state.doc, frm.context().services, &legendShown_),
      dxfBackground_(dxf_, state.doc, state.window, frm.context().services, frm.context().surface),
      display_(state.doc, state.window, state.grid, state.stats, state.settings, state.contours, frm.context().surface,
               frm.context().services) {
    MainContext& ctx = frm.context();
    frmKigu = new catalog::forms::TfrmKigu(ctx.touroku, state.doc, state.window, ctx.services, zolt, &frm);
    frmList = new catalog::forms::TfrmList(ctx.touroku, ctx.services, &frm);
    frmDXFOutType = new io::forms::TfrmDXFOutType(&frm);
    frmDxfWalls = new io::forms::TfrmDxfWalls(&frm);
    frmPrint = new print::forms::TfrmPrint(ctx.services, &frm);
    frmCD = new print::forms::TfrmCD(ctx.services, state.doc.productTitle, &frm);
    frmTaskArea = new editor::forms::TfrmTaskArea(ctx.services, dataDir_, &frm);
    frmOffset = new editor::forms::TfrmOffset(ctx.services, &frm);
    frmRotate = new editor::forms::TfrmRotate(ctx.services, &frm);
    frmProperties = new editor::forms::TfrmProperties(ctx.services, &frm);
    frmAreaTable = new view::forms::TfrmAreaTable(&frm);
    frmPower = new view::forms::TfrmPower(&frm);
    frmKigu->host().powerEdited = [this] {
        if (frmPower->isVisible()) fillPower();
    };

    display_.hooks.clearDrawingSurface = [this] { editor_->clearDrawingSurface(); };
    display_.hooks.redisplayPlan = [this] { editor_->redisplayPlan(); };
    display_.hooks.hideRegistrationWindow = [this] { frmKigu->hide(); };
    display_.hooks.legendChanged = [this](const view::LegendWindow& legend) { legendChanged(legend); };
    display_.hooks.temperatureScaleChanged = [this](const view::TemperatureScaleWindow& scale) {
        if (scale.picture) frm_.frmTempScale->setPicture(*scale.picture);
    };

    editor_ = std::make_unique<editor::Editor>(state, ctx.touroku, ctx.surface,
                                               ctx.services, painter_, editorHooks(), &dxfBackground_);
}

MainEngine::~MainEngine() = default;

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
    // Where the legend stands over the plan, in plan pixels at any zoom.
    stamp.topLeft = frm_.Image1->planPointAt(frm_.Image1->mapFromGlobal(window->mapToGlobal(QPoint(0, 0))));
    stamp.draw = [window](ui::Surface& picture, ui::Point topLeft) {
        picture.drawSurface(topLeft.x, topLeft.y, window->surface());
    };
    return stamp;
}

void MainEngine::showCurve(int slot) {
    frmCD->fill(frm_.context().touroku[slot]);
    if (!frmCD->isVisible()) placeWithin(*frmCD, frm_.planAreaOnScreen(), Corner::TopLeft);
    frmCD->show();
    frmCD->raise();
}

void MainEngine::fillPower() {
    const calc::RoomFigures& room = state_.stats.room;
    const bool measured = state_.doc.resultValid && room.figures.points > 0;
    frmPower->fill(calc::powerFiguresOf(state_.doc.plan, frm_.context().touroku),
                   measured ? std::optional<double>(room.floorArea) : std::nullopt,
                   measured ? view::roomFiguresLine(room) : std::string());
}

void MainEngine::runCalculation() {
    // The legend floats beside the window where it stands now.
    const QRect outer = frm_.frameGeometry();
    display_.mainWindow.left = outer.left();
    display_.mainWindow.top = outer.top();
    display_.mainWindow.width = outer.width();
    display_.mainWindow.outerHeight = outer.height();
    const bool done = view::calculateAndPresent(display_, frm_.context().touroku) == calc::CalcOutcome::Done;
    if (frmPower->isVisible()) fillPower();
    if (!done || state_.stats.areas.empty()) {
        frmAreaTable->hide();
        return;
    }
    // W/m² as the summary gives it: a column only when some placed type has a rated power.
    std::vector<std::optional<double>> areaWatts;
    if (calc::powerFiguresOf(state_.doc.plan, frm_.context().touroku).given)
        for (const calc::AreaFigures& a : state_.stats.areas)
            areaWatts.push_back(calc::areaWattsPerSquareMetre(state_.doc.plan, frm_.context().touroku, a.area));
    frmAreaTable->fill(state_.stats, display_.indirect().on, areaWatts);
    if (!frmAreaTable->isVisible()) placeWithin(*frmAreaTable, frm_.planAreaOnScreen(), Corner::TopLeft);
    frmAreaTable->show();
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
    h.askLength = [this, f](const editor::LengthRequest& r) {
        editor::forms::TfrmLen* len = f->frmLen;
        len->firstValue = 0;
        len->secondValue = 0;
        len->configure(r.kind, r.tool);
        len->showScale(state_.doc.plan.mmPerPixel);
        // The pillars' line and grid share the fixtures' dialog; its title names the pillar tool.
        const char target = state_.window.editTarget;
        if ((target == 'C' || target == 'S') && (r.tool == '2' || r.tool == '3'))
            len->setWindowTitle(r.tool == '2' ? QStringLiteral("直線配置") : QStringLiteral("格子配置"));
        len->presetCentre(r.centredPreset);
        if (r.atFixedPlace) {
            len->move(600, 40);
        } else {
            // Beside the click, flipped where it would leave the screen.
            len->adjustSize();
            const QRect screen = f->screen()->geometry();
            const QPoint click = f->Image1->mapToGlobal(f->Image1->widgetPointOf(r.click)) - screen.topLeft();
            const QSize size = len->frameGeometry().size();  // the frame is what must stay on the screen
            const ui::Point at = editor::lengthDialogPosition(ui::Point{click.x(), click.y()},
                                                              ui::Size{size.width(), size.height()},
                                                              ui::Size{screen.width(), screen.height()});
            len->move(screen.topLeft() + QPoint(at.x, at.y));
        }
        editor::LengthAnswer a;
        a.confirmed = len->execute();
        a.firstValue = len->firstValue;
        a.secondValue = len->secondValue;
        a.centred = len->centred;
        return a;
    };
    h.askNewPlan = [f]() -> std::optional<editor::NewPlanChoice> {
        if (!f->frmSinki->execute()) return std::nullopt;
        return f->frmSinki->choice();
    };
    h.showCalcStartDialog = [this, f] {
        // Centred on the plan every time, so that it never wanders from one opening to the next.
        placeWithin(*f->frmCalcStart, f->planAreaOnScreen(), Corner::Centre);
        state_.settings.calcConfirmed = f->frmCalcStart->execute();
    };
    h.runCalculation = [this] { runCalculation(); };
    h.askTaskArea = [this](const model::AreaRecord& area) { return frmTaskArea->execute(area); };
    h.askOffset = [this](bool copy) { return frmOffset->execute(copy); };
    h.askRotation = [this] { return frmRotate->execute(); };
    h.askProperties = [this](const editor::PropertySheet& sheet, const editor::PropertyCheck& check) {
        return frmProperties->execute(sheet, check);
    };
    h.redisplayResult = [this](char kind) { showResult(kind, redrawChoice_); };
    h.askRedrawChoice = [this, f] {
        redrawChoice_ = f->frmRedraw->execute();
        return redrawChoice_ != calc::forms::TfrmRedraw::None;
    };
    h.showTenDakaDialog = [f] { f->frmtendakaSet->execute(); };
    h.askTenDakaChange = [f](int) { return f->frmTendakaChange->execute(); };
    h.showRegistration = [this] {
        frmKigu->refresh(0);
        // At the top right of the plan, clear of the palette and the status panel.
        if (!frmKigu->isVisible()) placeWithin(*frmKigu, frm_.planAreaOnScreen(), Corner::TopRight);
        frmKigu->show();
        frmKigu->raise();
    };
    h.hideRegistration = [this] { frmKigu->hide(); };
    h.refreshRegistrationCounts = [this] { frmKigu->updateCounts(); };
    h.refreshRegistrationSlots = [this] { frmKigu->reset(); };
    // Back to the plan: the result's windows go, the task-area table with them (its figures are the result's).
    h.closeLegendWindows = [this] {
        display_.hideLegends();
        frmAreaTable->hide();
    };
    h.closeSecondColourScale = [f] { f->frmColorScale2->hide(); };
    h.showContextMenu = [f] { f->PopupMenu1->popup(QCursor::pos()); };
    h.showCurveWindow = [this](int slot) { showCurve(slot); };
    h.enlargeWindowToScreen = [this, f] {
        model::Document& doc = state_.doc;
        f->fillScreen();
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

void MainEngine::setFramed(QWidget* w, bool framed) {
    const bool visible = w->isVisible();
    w->setWindowFlag(Qt::FramelessWindowHint, !framed);
    if (visible) w->show();
}

void MainEngine::newPlanFromStart(editor::NewPlanBackground background, std::int32_t denominator) {
    editor::NewPlanChoice choice;
    choice.confirmed = true;
    choice.denominator = denominator;
    choice.background = background;
    editor_->applyNewPlan(choice, false);
}

void MainEngine::calculateCommand(void (editor::Editor::*command)()) {
    // The registration window edits the fixture table the calculation reads, so it waits for the run too.
    // Both come back however the run ends, a failure included.
    struct RunScope {
        TfrmMain& frm;
        QWidget& registration;
        bool registrationEnabled = registration.isEnabled();
        RunScope(TfrmMain& f, QWidget& r) : frm(f), registration(r) {
            frm.setCalcPressed(true);
            registration.setEnabled(false);
        }
        ~RunScope() {
            registration.setEnabled(registrationEnabled);
            frm.setCalcPressed(false);
        }
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;
    } scope(frm_, *frmKigu);
    ((*editor_).*command)();
}

void MainEngine::bind(model::ProjectCommands& project) {
    editor::Editor& e = *editor_;
    MainCommands& c = frm_.commands;
    // One line per command of the window; each rule is the editor's or the named window's.
    const std::pair<const char*, void (editor::Editor::*)()> editorCommands[] = {
        {"mnuLoadBMP", &editor::Editor::mnuLoadBMPClick},
        {"mnuLoadDXF", &editor::Editor::mnuLoadDXFClick}, {"mnuRedraw", &editor::Editor::mnuRedrawClick},
        {"mnuUndo", &editor::Editor::mnuUndoClick},       {"S1", &editor::Editor::S1Click},
        {"mnuRedo", &editor::Editor::mnuRedoClick},       {"mnuDeleteTool", &editor::Editor::selectDeleteTool},
        {"mnuCancelOp", &editor::Editor::escapeKey},
        {"mnuKakudai", &editor::Editor::mnuKakudaiClick}, {"mnuModosu", &editor::Editor::mnuModosuClick},
        {"mnuHaikou", &editor::Editor::mnuHaikouClick},   {"mnuPrintBMP", &editor::Editor::mnuPrintBMPClick},
        {"mnuPrintDXF", &editor::Editor::mnuPrintDXFClick}, {"mnuPrintGrid", &editor::Editor::mnuPrintGridClick},
        {"mnuDelHaikei", &editor::Editor::mnuDelHaikeiClick}, {"mnuDelGrid", &editor::Editor::mnuDelGridClick},
        {"mnuBmpScreen", &editor::Editor::mnuBmpScreenClick}, {"mnuBmpForm", &editor::Editor::mnuBmpFormClick},
        {"mnuBmpSorce", &editor::Editor::mnuBmpSorceClick}, {"mnuDxfScreen", &editor::Editor::mnuDxfScreenClick},
        {"mnuDxfForm", &editor::Editor::mnuDxfFormClick}, {"mnuRedBunpu", &editor::Editor::mnuRedBunpuClick},
        {"mnuRedLine", &editor::Editor::mnuRedLineClick}, {"mnuRedTemp", &editor::Editor::mnuRedTempClick},
        {"mnuKiguShow", &editor::Editor::mnuKiguShowClick}, {"mnuKiguDel", &editor::Editor::mnuKiguDelClick},
        {"mnuBunpu", &editor::Editor::mnuBunpuClick},     {"mnuTemp", &editor::Editor::mnuTempClick},
        {"mnuLine", &editor::Editor::mnuLineClick},       {"mnuScaleON", &editor::Editor::mnuScaleONClick},
        {"mnuScaleOFF", &editor::Editor::mnuScaleOFFClick}, {"btnSuuti", &editor::Editor::btnSuutiClick},
        {"btnHenkou", &editor::Editor::btnHenkouClick},   {"Button3", &editor::Editor::button3Click},
        {"btnRed", &editor::Editor::btnRedClick},         {"imgRoom", &editor::Editor::imgRoomClick},
        {"imgKigu", &editor::Editor::imgKiguClick},       {"imgHasira", &editor::Editor::imgHasiraClick},
        {"imgLine", &editor::Editor::imgLineClick},       {"imgL", &editor::Editor::imgLClick},
        {"imgBox", &editor::Editor::imgBoxClick},         {"imgArc", &editor::Editor::imgArcClick},
        {"imgDelLine", &editor::Editor::imgDelLineClick}, {"imgCut", &editor::Editor::imgCutClick},
        {"imgArea", &editor::Editor::imgAreaClick},       {"imgDelArea", &editor::Editor::imgDelAreaClick},
        {"imgKigu1", &editor::Editor::imgKigu1Click},     {"imgKigu2", &editor::Editor::imgKigu2Click},
        {"imgKigu3", &editor::Editor::imgKigu3Click},     {"imgDelKigu", &editor::Editor::imgDelKiguClick},
        {"imgTakasa", &editor::Editor::imgTakasaClick},   {"imgFLyoko", &editor::Editor::imgFLyokoClick},
        {"imgFLtate", &editor::Editor::imgFLtateClick},   {"imgEntyuu", &editor::Editor::imgEntyuuClick},
        {"imgKakutyuu", &editor::Editor::imgKakutyuuClick}, {"imgHasira1", &editor::Editor::imgHasira1Click},
        {"imgHasira2", &editor::Editor::imgHasira2Click}, {"imgHasira3", &editor::Editor::imgHasira3Click},
        {"imgHasiraDel", &editor::Editor::imgHasiraDelClick}, {"imgFree", &editor::Editor::imgFreeClick},
        {"imgEdge", &editor::Editor::imgEdgeClick},       {"imgGrid", &editor::Editor::imgGridClick},
        {"imgSelect", &editor::Editor::imgSelectClick},   {"mnuSelectAll", &editor::Editor::mnuSelectAllClick},
        {"mnuMoveSel", &editor::Editor::mnuMoveSelClick}, {"mnuCopySel", &editor::Editor::mnuCopySelClick},
        {"mnuRotateSel", &editor::Editor::mnuRotateSelClick}, {"mnuMirrorLR", &editor::Editor::mnuMirrorLRClick},
        {"mnuMirrorUD", &editor::Editor::mnuMirrorUDClick}, {"mnuEvenLayout", &editor::Editor::mnuEvenLayoutClick}, {"mnuPropertiesSel", &editor::Editor::mnuPropertiesSelClick},
    };
    for (const auto& entry : editorCommands) {
        const auto command = entry.second;  // a plain copy: lambdas may not capture structured bindings everywhere
        c.bind(entry.first, [&e, command] { (e.*command)(); });
    }
    // A changed plan is offered for saving before a new one replaces it, as on closing.
    c.bind("New1", [&e, &project] {
        if (project.closeQuery()) e.New1Click();
    });
    bindWindowCommands(project);
    bindOutputCommands();
    c.mouseDown = [&e](const ui::MouseEvent& m) { e.mouseDown(m); };
    c.mouseMove = [&e](const ui::MouseEvent& m) { e.mouseMove(m); };
    c.mouseUp = [&e](const ui::MouseEvent& m) { e.mouseUp(m); };
    c.nudge = [&e](int dx, int dy) { e.nudgeSelection(dx, dy); };
    c.escapeKey = [&e] { e.escapeKey(); };
    c.closeQuery = [&project] { return project.closeQuery(); };
    c.resized = [this, &e] { frm_.setAutoScroll(e.windowResized(frm_.width(), frm_.planAreaHeight(), frm_.autoScroll())); };

    // The registration window: its choices reach the plan.
    TfrmMain* f = &frm_;
    frmKigu->host().showCurve = [this, f](int slot) {
        if (frmCD->isVisible()) frmCD->fill(f->context().touroku[slot]);
    };
    frmKigu->host().fixturesDeleted = [f, &e] { f->run([&e] { e.redisplayPlan(); }); };
    frmKigu->host().planChanged = [f] { f->syncFromState(); };
    // Closed, the registration window leaves the edit target as it was: the fixtures stay in hand.
    frmKigu->onClose = [f] { f->syncFromState(); };

    e.initialise();
}

void MainEngine::bindWindowCommands(model::ProjectCommands& project) {
    TfrmMain* f = &frm_;
    model::Document& doc = state_.doc;
    editor::WindowState& window = state_.window;
    editor::Editor& e = *editor_;
    MainCommands& c = frm_.commands;

    c.bind("Open1", [&project] { project.openFromMenu(); });
    c.openRecent = [this, f, &project](const std::string& path) {
        if (!project.closeQuery()) return;
        // A project that has gone from its place leaves the list once the reader has said so.
        if (!project.openPath(path) && !QFileInfo::exists(QString::fromStdString(path))) {
            recent_.remove(QString::fromStdString(path));
            f->showRecentFiles(recent_.paths());
        }
    };
    f->showRecentFiles(recent_.paths());
    c.bind("Save1", [&project] { project.save(); });
    c.bind("SaveAs1", [&project] { project.saveAs(); });
    c.bind("mnuwin32file", [&project] { project.registerFileType(); });
    c.bind("Exit1", [f] { f->close(); });
    c.bind("imgCalc", [this] { calculateCommand(&editor::Editor::imgCalcClick); });
    c.bind("mnuCalcRun", [this] { calculateCommand(&editor::Editor::mnuCalcRunClick); });
    c.bind("mnuLampJ", [this, &e] {
        e.mnuLampJClick();
        frmKigu->setLampNameMode('J');
    });
    c.bind("mnuLampA", [this, &e] {
        e.mnuLampAClick();
        frmKigu->setLampNameMode('A');
    });
    c.bind("mnuPrint1", [&window] { window.displayDetail = true; });
    c.bind("mnuPrint3", [&window] { window.displayDetail = false; });
    auto arrayInput = [this, f, &doc](bool accepted) {
        // The length dialog shows the choice's labels from now on; a refused pitch leaves "個数入力" checked.
        if (accepted) f->frmLen->configure(doc.arrayInput, state_.window.toolCode);
    };
    c.bind("rbtnKosuu", [&e, arrayInput] {
        e.rbtnKosuuClick();
        arrayInput(true);
    });
    c.bind("rbtnPitch", [&e, arrayInput] { arrayInput(e.rbtnPitchClick()); });

    c.bind("mnuScaleSet", [f, &window, &e] {
        f->frmLxScale->onLevelsChanged = [f, &e] {
            e.redisplayPlan();
            f->frmColorScale2->hide();
        };
        f->frmLxScale->execute();
        setFramed(f->frmLxScale, window.legendFramed);
        f->frmTempScale->setMerged(!window.legendFramed);
    });
    c.bind("mnuSeido", [f] { f->frmSeido->exec(); });
    c.bind("mnuHosyuritu", [f] { f->frmHosyuritu->execute(); });
    c.bind("mnuHansya", [this, f, &doc] {
        const model::RoomRecord before = doc.plan.room;
        if (f->frmHansya->execute()) editor_->roomEdited(before);
    });
    c.bind("mnuLegendMerge", [f, &window] {
        window.legendFramed = !window.legendFramed;
        setFramed(f->frmLxScale, window.legendFramed);
        f->frmTempScale->setMerged(!window.legendFramed);
    });
    c.bind("mnuTempMerge", [f, &window] {
        window.tempScaleMerged = !window.tempScaleMerged;
        f->frmTempScale->setMerged(window.tempScaleMerged);
    });
    c.bind("About1", [f, &doc] { f->frmVersion->execute(doc.productTitle); });
    c.bind("mnuDxfWalls", [this] { mnuDxfWallsClick(); });

}

void MainEngine::mnuDxfWallsClick() {
    ui::Services& services = frm_.context().services;
    const io::DxfLayerDrawing& drawing = dxf_.layers();
    if (state_.doc.backgroundKind != 'D' || !dxf_.loaded() || !drawing.readable) {
        services.messageBox(kNoDxfDrawing, "", ui::Icon::Stop, ui::Buttons::Ok);
        return;
    }
    if (!state_.doc.plan.hasScale()) {
        services.messageBox(editor::kNeedScale, "", ui::Icon::Stop, ui::Buttons::Ok);
        return;
    }
    const auto choice = frmDxfWalls->execute(io::layerCounts(drawing));
    if (!choice) return;
    auto make = [this, layers = choice->layers](std::optional<ui::Rect> window) {
        const auto walls = io::wallsFromDxf(dxf_.layers(), dxf_, layers, state_.doc.plan.lines, window);
        if (walls.empty()) {
            frm_.context().services.messageBox(kNoWallsMade, "", ui::Icon::Information, ui::Buttons::Ok);
            return;
        }
        editor_->addWalls(walls);
    };
    if (choice->withinWindow) {
        editor_->askWindow([make](ui::Rect r) { make(r); });
    } else {
        make(std::nullopt);
    }
}

print::forms::PrintSource MainEngine::printSource() {
    model::Document& doc = state_.doc;
    print::forms::PrintSource source;
    source.doc = &doc;
    source.touroku = &frm_.context().touroku;
    source.stats = &state_.stats;
    source.settings = &state_.settings;
    source.planImage = &frm_.context().surface;
    source.indirect = &display_.indirect();
    source.painters = print::viewSheetPainters(doc, state_.contours, frm_.context().services,
                                               display_.temperatureScale().picture.get());
    return source;
}

bool MainEngine::reportResultReady() {
    if (!state_.doc.resultValid) calculateCommand(&editor::Editor::mnuCalcRunClick);
    return state_.doc.resultValid;
}

print::ReportContent MainEngine::reportContent(const print::ReportPictures& pictures) {
    ui::Services& services = frm_.context().services;
    print::ReportContent content;
    content.doc = &state_.doc;
    content.touroku = &frm_.context().touroku;
    content.stats = &state_.stats;
    content.settings = state_.settings;
    content.indirect = &display_.indirect();
    content.presets = model::installedTaskPresets(dataDir_);
    content.pictures = pictures.view();
    content.painters = print::viewSheetPainters(state_.doc, state_.contours, services, nullptr);
    // The object name and the date the print dialog holds, as every printed sheet takes them.
    content.objectName = ui::qt::ss(frmPrint->txtBukkenmei->text());
    const std::string date = ui::qt::ss(frmPrint->txtDate->text());
    content.date = date.empty() ? services.today() : date;
    return content;
}

bool MainEngine::mnuReportClick() {
    ui::Services& services = frm_.context().services;
    if (!reportResultReady()) return false;
    ui::FileDialogRequest request;
    request.filter = print::forms::kPdfFilter;
    request.defaultExtension = "pdf";
    const auto path = services.saveFileDialog(request);
    if (!path || path->empty()) return false;
    display_.ensureContours();
    const print::ReportPictures pictures = print::reportPictures(state_.doc, frm_.context().touroku, state_.grid, state_.stats, services);
    if (!print::printReportPdf(*path, reportContent(pictures), services)) {
        services.messageBox(print::forms::kMsgCannotWritePdf, "エラー", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    return true;
}

void MainEngine::mnuReportPreviewClick() {
    if (!reportResultReady()) return;
    display_.ensureContours();
    const print::ReportPictures pictures =
        print::reportPictures(state_.doc, frm_.context().touroku, state_.grid, state_.stats, frm_.context().services);
    const print::ReportContent content = reportContent(pictures);
    // The report's own A4 portrait page, whatever the distribution sheet's printer is set to.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    ui::qt::showPrintPreview(printer, &frm_, [&content](ui::PrintJob& job) { print::drawReportPages(job, content); });
}

void MainEngine::projectFileUsed(const std::string& path) {
    recent_.add(QString::fromStdString(path));
    frm_.showRecentFiles(recent_.paths());
}

void MainEngine::bindOutputCommands() {
    TfrmMain* f = &frm_;
    model::Document& doc = state_.doc;
    ui::Services& services = frm_.context().services;
    MainCommands& c = frm_.commands;
    c.bind("mnuDxfSave", [this, &doc, &services] {
        io::DxfExportInput input{doc, state_.contours, state_.stats, [this] { display_.rebuildContours(); }};
        if (display_.indirect().on) input.reflections = display_.indirect().room;
        io::mnuDxfSaveClick(*frmDXFOutType, input, io::dxfTemplatesIn(dataDir_), services);
    });
    c.bind("mnuCsv", [this, f, &services] {
        catalog::saveProductListCsv(f->context().touroku, state_.doc.lampNameMode,
                                    ui::qt::ss(frmPrint->txtBukkenmei->text()), services);
    });
    c.bind("mnuOutPut", [this, &services] { view::saveIlluminanceCsvCommand(state_.grid, state_.stats, services); });
    c.bind("mnuOutPutXy", [this, &services] {
        view::saveIlluminanceCsvXyCommand(state_.grid, state_.stats, state_.doc.plan.mmPerPixel, services);
    });
    c.bind("mnuListShow", [this, &doc] { frmList->showList(doc.lampNameMode); });
    c.bind("mnuPowerTable", [this] {
        fillPower();
        frmPower->show();
        frmPower->raise();
    });
    frmList->objectName = [this] { return ui::qt::ss(frmPrint->txtBukkenmei->text()); };
    frmList->onWrittenBack = [this] { frmKigu->refresh(frmKigu->registration().tab()); };
    auto tableStyle = [&doc] { return print::FixtureTableStyle{doc.lampNameMode, doc.tables.symbolColour}; };
    auto printTable = [this, f, tableStyle] { frmPrint->printFixtureTable(f->context().touroku, tableStyle()); };
    frmList->onPrint = printTable;
    c.bind("mnuListOut", printTable);
    c.bind("Print1", [this] { frmPrint->Print1Click(printSource()); });
    c.bind("mnuPreview", [this] { frmPrint->previewSheet(printSource()); });
    c.bind("mnuPdf", [this] { frmPrint->saveSheetPdf(printSource()); });
    c.bind("mnuReport", [this] { mnuReportClick(); });
    c.bind("mnuReportPreview", [this] { mnuReportPreviewClick(); });
    c.bind("mnuListPreview", [this, f, tableStyle] { frmPrint->previewFixtureTable(f->context().touroku, tableStyle()); });

    // The plan picture's context menu.
    c.bind("pmnuCopy", [this, f, &services] { io::pmnuCopyClick(f->context().surface, legendStamp(), services); });
    c.bind("pmnuSave", [this, f, &doc, &services] { io::pmnuSaveClick(doc, f->context().surface, legendStamp(), services); });
}

} // namespace app::forms
