// Offscreen tests of the real windows: the main window's menus and palette, the calculation road through the start
// dialog, the range, height and length dialogs, the start-up dialogs and the legend windows.
#include "editor/WindowView.h"
#include "app/Startup.h"
#include "app/forms/MainProgram.h"
#include "app/forms/StartupWindows.h"
#include "app/forms/TfrmMain.h"
#include "calc/forms/TfrmCalcING.h"
#include "calc/forms/TfrmCalcStart.h"
#include "calc/forms/TfrmHansya.h"
#include "calc/forms/TfrmHeightDialogs.h"
#include "calc/forms/TfrmRedraw.h"
#include "calc/forms/TfrmSeido.h"
#include "editor/forms/TfrmSinki.h"
#include "editor/forms/PlanChoiceBox.h"
#include "editor/forms/TfrmLen.h"
#include "model/ProjectCommands.h"
#include "support/QtApp.h"
#include "support/RunCli.h"
#include "ui/testing/FakeServices.h"
#include "view/Legends.h"
#include "view/forms/TfrmColorScale2.h"
#include "view/forms/TfrmLxScale.h"
#include "view/forms/TfrmTempScale.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <cstdlib>
#include <optional>

namespace {

using editor::Picture;

// The real program on a fresh plan with recording services: every command bound as the program binds it.
struct MainFixture {
    ui::testing::FakeServices services;
    std::unique_ptr<app::forms::MainProgram> program;
    app::forms::TfrmMain* frm;
    model::Document& doc;
    editor::WindowState& window;
    calc::CalcSettings& settings;

    MainFixture()
        : program((testsupport::qtApp(),
                   std::make_unique<app::forms::MainProgram>(app::ScreenInfo{800, 600, 96}, testsupport::binaryDir() + "/zolt_data", services))),
          frm(&program->frm), doc(program->state.doc), window(program->state.window), settings(program->state.settings) {
        frm->syncFromState();
    }
    QAction* item(const char* name) const {
        QAction* a = frm->action(name);
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    void openSample() { frm->run([&] { program->project.openPath(testsupport::binaryDir() + "/samples/room_sample.OLE"); }); }
    void press(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF at(x, y);
        QMouseEvent e(QEvent::MouseButtonPress, at, frm->Image1->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(frm->Image1, &e);
    }
    void placeFixture() { doc.plan.kigu.add(model::KiguRecord{100, 100, 0, 1, 0, 100, 100, 0}); }
};

QString menuTitles(const QMenuBar* bar) {
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text();
    return titles.join('|');
}

TEST(MainWindow, CarriesEveryMenuItemWithItsCaptionAndHidesTheHiddenOnes) {
    MainFixture f;
    EXPECT_EQ(f.frm->windowTitle(), QStringLiteral("ORDIVAN Ver 2.0  - [*]無題  (ZOLT LIGHTING CORP.)"));
    EXPECT_EQ(menuTitles(f.frm->menuBar()),
              QStringLiteral("ファイル(&F)|編集(&E)|表示(&V)|計算(&C)|オプション(&O)|ヘルプ(&H)"));
    const std::pair<const char*, const char*> captions[] = {
        {"New1", "新規作成(&N)"}, {"Open1", "開く(&O)"}, {"Save1", "上書き保存(&S)"}, {"SaveAs1", "名前をつけて保存(&A)"},
        {"mnuDxfSave", "DXFﾌｧｲﾙで保存(&H)"}, {"mnuCsv", "品番リストをcsvファイルで保存"}, {"mnuLoadBMP", "BMPの読み込み(&B)"},
        {"mnuLoadDXF", "DXFﾌｧｲﾙの読み込み(&D)"}, {"mnuListOut", "品番リストの印刷(&L)"}, {"Print1", "印刷(&P)"},
        {"Exit1", "終了(&X)"}, {"mnuRedraw", "再表示"}, {"mnuUndo", "１つ戻す(部屋)"}, {"S1", "縮尺の設定(&S)"},
        {"mnuKakudai", "一部分を拡大"}, {"mnuModosu", "元に戻す"}, {"mnuHaikou", "配光曲線の表示"}, {"mnuLampJ", "日本語表示"},
        {"mnuLampA", "半角英数表示"}, {"mnuPrintBMP", "BMP再表示"}, {"mnuPrintDXF", "DXF再表示"}, {"mnuPrintGrid", "グリッド表示"},
        {"mnuDelHaikei", "背景を消す"}, {"mnuDelGrid", "グリッドを消す"}, {"mnuRedBunpu", "照度分布(色)の表示"},
        {"mnuRedLine", "照度分布(線)の表示"}, {"mnuRedTemp", "色温度分布の表示"}, {"mnuBmpScreen", "スクリーン全面"},
        {"mnuBmpForm", "フォーム全面"}, {"mnuBmpSorce", "原寸"}, {"mnuBunpu", "照度分布"}, {"mnuTemp", "色温度分布"},
        {"mnuLine", "等高線分布"}, {"mnuCalcRun", "計算の実行"}, {"mnuScaleSet", "照度レンジを設定する"},
        {"mnuScaleON", "設定値"}, {"mnuScaleOFF", "自動"}, {"mnuOutPut", "照度値をcsvファイルに保存"},
        {"About1", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."}, {"mnuwin32file", "ﾌｧｲﾙの関連づけ"}, {"mnuDXF", "DXF"}, {"pmnuCopy", "ｺﾋﾟｰ(&C)"},
        {"pmnuSave", "ﾌｧｲﾙに保存(&S)"}, {"mnuKiguShow", "表示"}, {"mnuKiguDel", "非表示"}, {"mnuRedo", "やり直し"},
        {"mnuDeleteTool", "消去"}, {"mnuCancelOp", "操作の中止"}, {"mnuPreview", "印刷プレビュー"}, {"mnuPdf", "PDF に出力"},
        {"mnuListPreview", "品番リストの印刷プレビュー"}, {"mnuRecent", "最近使ったファイル"},
    };
    for (const auto& [name, caption] : captions) {
        QAction* a = f.item(name);
        if (a) {
            EXPECT_EQ(a->text(), QString::fromUtf8(caption)) << name;
        }
    }
    for (const char* hidden : {"mnuSeido", "mnuHosyuritu", "mnuLegendMerge", "mnuTempMerge", "mnuListShow", "mnuHyoujiSeido"}) {
        EXPECT_FALSE(f.item(hidden)->isVisible()) << hidden;
    }
    for (const char* off : {"Save1", "mnuDxfSave", "Print1", "mnuOutPut", "mnuRedBunpu", "mnuRedTemp", "mnuDXF", "mnuDelGrid",
                            "mnuRedo", "mnuPreview", "mnuPdf"}) {
        EXPECT_FALSE(f.item(off)->isEnabled()) << off;
    }
    EXPECT_TRUE(f.item("mnuLampA")->isChecked());
    EXPECT_TRUE(f.item("mnuBunpu")->isChecked());
    EXPECT_EQ(f.frm->labScale->text(), QStringLiteral("縮尺未設定"));
    EXPECT_EQ(f.frm->labTendaka->text(), QStringLiteral("3000"));
    EXPECT_EQ(f.frm->labKijun->text(), QStringLiteral("基準"));
    EXPECT_EQ(f.frm->btnHenkou->text(), QStringLiteral("変更"));
    EXPECT_EQ(f.frm->btnSuuti->text(), QStringLiteral("数値入力"));
    EXPECT_EQ(f.frm->Button3->text(), QStringLiteral("再表示"));
}

TEST(MainWindow, TheCalculationRoadGoesThroughTheStartDialogWithTheButtonPressed) {
    MainFixture f;
    f.frm->show();
    // No fixture: the button refuses, the menu item asks the start dialog anyway.
    f.frm->button("imgCalc")->click();
    ASSERT_EQ(f.services.messages.size(), 1u);
    EXPECT_EQ(f.services.messages[0].text, "器具が配置されていません。");
    EXPECT_EQ(f.frm->button("imgCalc")->picture(), Picture::Off);

    f.openSample();
    Picture pressedDuringDialog = Picture::Off;
    QString dialogTitle;
    testsupport::whenModal([&](QWidget* w) {
        auto* start = qobject_cast<calc::forms::TfrmCalcStart*>(w);
        ASSERT_NE(start, nullptr);
        dialogTitle = start->windowTitle();
        pressedDuringDialog = f.frm->button("imgCalc")->picture();
        start->rbtnNone->setChecked(true);
        start->rbtnPlotOn->setChecked(true);
        start->TrackBar1->setValue(5);
        start->btnLine->click();
    });
    f.frm->button("imgCalc")->click();
    EXPECT_EQ(dialogTitle, QStringLiteral("照度計算"));
    EXPECT_EQ(pressedDuringDialog, Picture::On);
    EXPECT_EQ(f.frm->button("imgCalc")->picture(), Picture::Off);
    EXPECT_TRUE(f.doc.resultValid);
    EXPECT_EQ(f.doc.displayKind, 'T');
    EXPECT_EQ(f.settings.calcStep, 5);
    EXPECT_TRUE(f.item("mnuLine")->isChecked());
    EXPECT_FALSE(f.item("mnuBunpu")->isChecked());
    EXPECT_TRUE(f.item("mnuKiguShow")->isChecked());

    // Cancelling the start dialog runs nothing.
    model::markPlanChanged(f.doc, f.window);
    testsupport::whenModal([](QWidget* w) { qobject_cast<calc::forms::TfrmCalcStart*>(w)->btnCancel->click(); });
    f.item("mnuCalcRun")->trigger();
    EXPECT_FALSE(f.doc.resultValid);
    EXPECT_FALSE(f.settings.calcConfirmed);
}

TEST(MainWindow, RedisplayOfAStaleResultAsksToRecalculateAndTheContourRedisplayFirstAsksHowToDraw) {
    MainFixture f;
    f.frm->show();
    f.openSample();
    EXPECT_FALSE(f.item("mnuRedBunpu")->isEnabled());
    EXPECT_FALSE(f.item("mnuRedTemp")->isEnabled());
    // Closing the redraw dialog without a choice stops the command before any question.
    testsupport::whenModal([](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("再描写"));
        qobject_cast<QDialog*>(w)->reject();
    });
    f.item("mnuRedLine")->trigger();
    EXPECT_TRUE(f.services.messages.empty());
    EXPECT_EQ(f.doc.displayKind, 'T');

    testsupport::whenModal([](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("btnKakinaosi"))->click(); });
    f.services.answers = {ui::Answer::Cancel};
    f.item("mnuRedLine")->trigger();
    ASSERT_EQ(f.services.messages.size(), 1u);
    EXPECT_EQ(f.services.messages[0].text, "データが変更されています。\n再計算します。");
    EXPECT_EQ(f.services.messages[0].title, "再計算");
    EXPECT_FALSE(f.doc.resultValid);
    EXPECT_FALSE(f.window.resultShown);
}

TEST(MainWindow, TheRangeDialogRefusesBadLevelsStaysOpenAndStoresGoodOnes) {
    MainFixture f;
    f.frm->show();
    bool stayedOpen = false;
    testsupport::whenModal([&](QWidget* w) {
        auto* d = qobject_cast<view::forms::TfrmLxScale*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("照度レンジ"));
        EXPECT_EQ(d->txtLx[1]->text(), QStringLiteral("10"));
        EXPECT_EQ(d->txtLx[6]->text(), QStringLiteral("400"));
        EXPECT_FALSE(d->txtColor[1]->isEnabled());
        const QStringList typed = {"100", "200", "200", "400", "500", "600"};
        for (int i = 1; i <= 6; ++i) d->txtLx[static_cast<std::size_t>(i)]->setText(typed[i - 1]);
        d->btnOK->click();
        stayedOpen = d->isVisible();
        d->txtLx[1]->setText(QStringLiteral("1O0"));
        d->btnOK->click();
        d->txtLx[1]->setText(QStringLiteral("100"));
        d->txtLx[3]->setText(QStringLiteral("300"));
        d->btnOK->click();
    });
    f.item("mnuScaleSet")->trigger();
    EXPECT_TRUE(stayedOpen);
    ASSERT_GE(f.services.messages.size(), 1u);
    EXPECT_EQ(f.services.messages[0].text, "数値の順序が正しくありません");
    EXPECT_EQ(f.services.messages[0].title, "設定エラー");
    ASSERT_EQ(f.services.errors.size(), 1u);
    EXPECT_EQ(f.services.errors[0], "'1O0' は数値ではありません");
    EXPECT_EQ(f.doc.tables.luxLevel[3], 300);
    EXPECT_TRUE(f.item("mnuScaleON")->isChecked());
    EXPECT_EQ(f.frm->labScaleType->text(), QStringLiteral("照度分布 Scale: 設定値"));
}

// The labels and menus of a result live in the one window state: a calculation opens them, the next
// edit closes them, and the window shows exactly that state after each command.
TEST(MainWindow, AnEditAfterACalculationClosesTheResultMenusAndEmptiesTheResultLabels) {
    MainFixture f;
    f.frm->show();
    f.openSample();
    EXPECT_EQ(f.frm->windowTitle(), QStringLiteral("ORDIVAN Ver 2.0  - [*]room_sample.OLE  (ZOLT LIGHTING CORP.)"));
    EXPECT_TRUE(f.item("Save1")->isEnabled());
    testsupport::whenModal([](QWidget* w) { qobject_cast<calc::forms::TfrmCalcStart*>(w)->btnBunpu->click(); });
    f.item("mnuCalcRun")->trigger();
    ASSERT_TRUE(f.doc.resultValid);
    EXPECT_TRUE(f.frm->labMax->text().startsWith(QStringLiteral("最大照度 : ")));
    EXPECT_EQ(f.frm->labMax->text(), QString::fromStdString(f.window.maxLuxLabel));
    EXPECT_EQ(f.frm->labBikou->text(), QStringLiteral("図面入力に戻るには \"再表示\""));
    for (const char* on : {"mnuRedBunpu", "mnuRedTemp", "mnuOutPut", "mnuDxfSave", "Print1"}) {
        EXPECT_TRUE(f.item(on)->isEnabled()) << on;
    }
    EXPECT_FALSE(f.item("mnuPrintGrid")->isEnabled());

    f.item("mnuUndo")->trigger();
    EXPECT_FALSE(f.doc.resultValid);
    EXPECT_TRUE(f.frm->labMax->text().isEmpty());
    for (const char* off : {"mnuRedBunpu", "mnuRedTemp", "mnuOutPut", "mnuDxfSave"}) {
        EXPECT_FALSE(f.item(off)->isEnabled()) << off;
    }
    EXPECT_TRUE(f.item("mnuPrintGrid")->isEnabled());
}

TEST(MainWindow, TheHeightButtonRefusesBadHeightsThenAsksAboutFixturesWithTheirOwnHeight) {
    MainFixture f;
    f.frm->show();
    f.program->touroku.registerSlot(1, catalog::HaikouMdb{});
    model::addFixture(f.doc, f.window, f.program->touroku, 50, 50, 1);
    f.doc.plan.kigu[1].heightOffset = 500;
    testsupport::whenModal([&](QWidget* w) {
        auto* d = qobject_cast<calc::forms::TfrmtendakaSet*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->labNow->text(), QStringLiteral("3000 →"));
        d->txtTendaka->setText(QStringLiteral("50"));
        d->btnOK->click();
        EXPECT_TRUE(d->isVisible());
        d->txtTendaka->setText(QStringLiteral("2500"));
        testsupport::whenModal([](QWidget* q) {
            auto* c = qobject_cast<calc::forms::TfrmTendakaChange*>(q);
            ASSERT_NE(c, nullptr);
            c->rbtnHenkouSinai->setChecked(true);
            c->btnOK->click();
        });
        d->btnOK->click();
    });
    f.frm->btnHenkou->click();
    ASSERT_EQ(f.services.messages.size(), 1u);
    EXPECT_EQ(f.services.messages[0].text, "計算天高は mm で入力して下さい");
    EXPECT_EQ(f.doc.tenDaka, 2500);
    EXPECT_EQ(f.frm->labTendaka->text(), QStringLiteral("2500"));
    EXPECT_EQ(f.doc.plan.kigu[1].heightOffset, 1000);
}

TEST(MainWindow, NumericPointEntryNeedsAScaleAndAConversionErrorLeavesTheProgramGoingOn) {
    MainFixture f;
    f.frm->show();
    f.frm->btnSuuti->click();
    ASSERT_EQ(f.services.messages.size(), 1u);
    EXPECT_EQ(f.services.messages[0].text, "縮尺を設定して下さい。(編集->縮尺の設定)");

    f.doc.plan.mmPerPixel = 10;
    f.press(100, 200);  // a wall chain starts here
    QPoint at;
    testsupport::whenModal([&](QWidget* w) {
        auto* len = qobject_cast<editor::forms::TfrmLen*>(w);
        ASSERT_NE(len, nullptr);
        at = len->pos();
        EXPECT_EQ(len->windowTitle(), QStringLiteral("数値入力"));
        EXPECT_EQ(len->labX->text(), QStringLiteral("Ｘ(mm)"));
        EXPECT_TRUE(len->txtY->isVisible());
        len->txtX->setText(QStringLiteral("-"));
        len->btnOK->click();  // the conversion error box; the dialog stays
        EXPECT_TRUE(len->isVisible());
        len->txtX->setText(QStringLiteral("3000"));
        len->txtY->setText(QStringLiteral("500"));
        len->btnOK->click();
    });
    f.frm->btnSuuti->click();
    ASSERT_EQ(f.services.errors.size(), 1u);
    EXPECT_EQ(f.services.errors[0], "'-' は数値ではありません");
    EXPECT_EQ(at, QPoint(600, 40));
    // 3000 mm right and 500 mm up at 10 mm per pixel.
    ASSERT_EQ(f.doc.plan.lines.count(), 1);
    EXPECT_EQ((ui::Point{f.doc.plan.lines[1].x2, f.doc.plan.lines[1].y2}), (ui::Point{400, 150}));
}

TEST(MainWindow, MouseEventsReachTheEditorInPlanPixelsAndARightClickPopsTheMenuOnlyWithNothingInProgress) {
    MainFixture f;
    f.frm->show();
    f.press(37, 42);
    EXPECT_EQ(f.program->engine.editor().startPoint(), (std::optional<ui::Point>{ui::Point{37, 42}}));
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 60), f.frm->Image1->mapToGlobal(QPointF(50, 60)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.frm->Image1, &move);
    // The rubber band follows in green XOR over the white plan.
    int banded = 0;
    for (int x = 40; x <= 47; ++x) banded += f.program->surface.pixel(x, 51) == ui::Color{255, 127, 255} ? 1 : 0;
    EXPECT_GE(banded, 1);
    f.press(5, 6, Qt::RightButton);  // cancels the line
    EXPECT_EQ(f.program->engine.editor().dragState(), 'N');
    EXPECT_FALSE(f.frm->PopupMenu1->isVisible());
    f.press(5, 6, Qt::RightButton);
    EXPECT_TRUE(f.frm->PopupMenu1->isVisible());
    f.frm->PopupMenu1->hide();
    EXPECT_EQ(f.doc.plan.lines.count(), 0);
}

TEST(MainWindow, TheProgressWindowShowsItsTextsAndItsCancelHidesTheRedButton) {
    MainFixture f;
    f.frm->show();
    auto* p = f.frm->frmCalcING;
    p->showProgress("照度の補間", "照度を補間中", 90, true, false);
    EXPECT_EQ(p->windowTitle(), QStringLiteral("照度の補間"));
    EXPECT_EQ(p->labMessage->text(), QStringLiteral("照度を補間中"));
    EXPECT_FALSE(p->btnCancel->isVisible());
    p->showProgress("照度の計算", "照度を計算中", 3, true, true);
    EXPECT_TRUE(p->btnCancel->isVisible());
    EXPECT_FALSE(p->cancelRequested());
    p->btnCancel->click();
    EXPECT_TRUE(p->cancelRequested());
    EXPECT_FALSE(f.frm->btnRed->isVisible());
    p->showProgress("照度の計算", "照度を計算中", 3, true, true);  // showing again clears the request
    EXPECT_FALSE(p->cancelRequested());
    p->hideProgress();
}

TEST(StartDialogs, TheStartDialogShowsTheNoticeFirstThenMakesTheChosenPlan) {
    testsupport::qtApp();
    ui::testing::FakeServices services;
    app::forms::TfrmStart2 start(services);
    EXPECT_EQ(start.windowTitle(), QStringLiteral("照度分布の作成"));
    EXPECT_TRUE(start.rbtnNew->isChecked());
    EXPECT_TRUE(start.choiceBox->rbtnWhite->isChecked());
    EXPECT_FALSE(start.choiceBox->rbtn50->isEnabled());

    std::vector<std::string> steps;
    start.showNotice = [&] { steps.push_back("notice"); };
    start.onNewPlan = [&](editor::NewPlanBackground b, std::int32_t d) {
        steps.push_back(b == editor::NewPlanBackground::Grid ? "grid " + std::to_string(d) : "other");
    };
    start.choiceBox->rbtnGrid->setChecked(true);
    EXPECT_TRUE(start.choiceBox->rbtn50->isEnabled());
    EXPECT_FALSE(start.choiceBox->txtSyuku->isEnabled());
    start.btnOKClick();
    EXPECT_EQ(steps, (std::vector<std::string>{"notice", "grid 50"}));

    start.choiceBox->rbtnSettei->setChecked(true);
    EXPECT_TRUE(start.choiceBox->txtSyuku->isEnabled());
    start.choiceBox->txtSyuku->setText(QStringLiteral("1/75"));  // the start dialog's field has no key filter
    start.btnOKClick();
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_EQ(services.errors[0], "'1/75' は数値ではありません");
    EXPECT_EQ(steps.size(), 3u);  // the notice again, no plan

    app::forms::TfmTyuui notice;
    EXPECT_EQ(notice.windowTitle(), QStringLiteral("ORDIVANご利用に際しての注意事項"));
    EXPECT_EQ(notice.btnClose->text(), QStringLiteral("閉じる"));
    const auto labels = notice.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 9);
    EXPECT_EQ(labels.front()->text(), QStringLiteral("ご利用上の注意事項"));
    EXPECT_EQ(labels.back()->text(), QStringLiteral("弊社では、いっさいの責任を負いかねますのでご了承下さい。"));

    app::forms::TfrmStart1 splash(QStringLiteral("/nonexistent/zoltstart.bmp"));
    EXPECT_EQ(splash.labCaption->text(), QStringLiteral("ZOLT ORDIVAN Ver 1.72"));
    EXPECT_EQ(splash.Timer1.interval(), 2000);
    EXPECT_TRUE(splash.Timer1.isSingleShot());
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(StartDialogs, TheNewPlanDialogFiltersItsDenominatorAndClearsBeforeTheBackground) {
    MainFixture f;
    f.openSample();
    ASSERT_FALSE(f.doc.plan.isEmpty());
    testsupport::whenModal([](QWidget* w) {
        auto* box = w->findChild<editor::forms::PlanChoiceBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("新規作成"));
        box->rbtnGrid->setChecked(true);
        box->rbtnSettei->setChecked(true);
        box->txtSyuku->setFocus();
        for (const QString& t : {QStringLiteral("7"), QStringLiteral("."), QStringLiteral("5")}) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, t);
            QApplication::sendEvent(box->txtSyuku, &key);
        }
        EXPECT_EQ(box->txtSyuku->text(), QStringLiteral("75"));
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    f.item("New1")->trigger();
    EXPECT_TRUE(f.doc.plan.isEmpty());
    EXPECT_EQ(f.doc.plan.scaleDenominator, 75);
    EXPECT_TRUE(f.doc.gridShown);
    EXPECT_EQ(f.doc.currentFileName, "");
}

// Opening another file or starting a new plan throws the current plan away like closing does.
TEST(StartDialogs, NewAndOpenOfferToSaveUnsavedChangesFirst) {
    MainFixture f;
    f.placeFixture();
    f.doc.dataChanged = true;
    bool dialogShown = false;
    // Should a dialog open after "Cancel" after all, it is closed so the test fails instead of hanging.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            dialogShown = true;
            w->close();
        }
    });
    guard.start(5000);
    f.services.answers = {ui::Answer::Cancel, ui::Answer::Cancel};
    f.item("New1")->trigger();
    f.item("Open1")->trigger();
    guard.stop();
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(f.services.openRequests.empty());
    ASSERT_EQ(f.services.messages.size(), 2u);
    for (const auto& m : f.services.messages) {
        EXPECT_EQ(m.text, "データを保存しますか？");
        EXPECT_EQ(m.buttons, ui::Buttons::YesNoCancel);
    }
    EXPECT_EQ(f.doc.plan.kigu.count(), 1);
}

TEST(LegendWindows, TheFloatingLegendIsBorderlessAboveTheMainWindowAndPlacedBesideIt) {
    MainFixture f;
    f.frm->setGeometry(0, 0, 1000, 700);
    auto* legend = f.frm->frmColorScale2;
    EXPECT_TRUE(legend->windowFlags().testFlag(Qt::FramelessWindowHint));
    // A tool window of the main window: above it, never above the dialogs it opens.
    EXPECT_EQ(legend->windowType(), Qt::Tool);
    EXPECT_FALSE(legend->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(legend->size(), QSize(150, 130));
    legend->placeBeside(*f.frm);
    EXPECT_EQ(legend->pos().x(), f.frm->frameGeometry().left() + f.frm->frameGeometry().width() - 200);
    EXPECT_EQ(legend->pos().y(), f.frm->frameGeometry().top() + 100);
    legend->resizeLegend(80, 100);
    EXPECT_EQ(legend->surface().width(), 80);
    EXPECT_EQ(legend->surface().pixel(40, 50), ui::colors::white);
}

TEST(LegendWindows, TheColourTemperatureScaleShowsTheLightColoursUnderItsMarks) {
    testsupport::qtApp();
    catalog::LightColorTable colours;
    for (int i = 0; i < catalog::LightColorTable::kEntries; ++i) colours.colorRef[static_cast<std::size_t>(i)] = 0x010203u * static_cast<std::uint32_t>(i + 1);
    colours.loaded = catalog::LightColorTable::kEntries;
    // The result display draws the scale from the colours the start-up filled in; the window shows it.
    model::DisplayTables tables;
    app::fillCtColour(tables, colours);
    ui::qt::ImageSurface drawn(view::kTemperatureScaleSize.width, view::kTemperatureScaleSize.height);
    view::drawTemperatureScale(drawn, tables);
    view::forms::TfrmTempScale scale;
    scale.setPicture(drawn);
    EXPECT_EQ(scale.windowTitle(), QStringLiteral("色温度スケール"));
    EXPECT_EQ(scale.size(), QSize(174, 52));
    const auto& pic = scale.picture();
    ASSERT_EQ(pic.width(), 167);
    ASSERT_EQ(pic.height(), 41);
    // Strip 10 is 3000 K, strip 30 is 5000 K, strip 50 is 7000 K (inside the frame, below the labels).
    for (int strip : {10, 30, 50}) {
        const auto expected = ui::Color::fromColorRef(*colours.colourOf(2000 + 100 * strip));
        EXPECT_EQ(pic.pixel(3 * strip + 1, 25), expected) << strip;
    }
    EXPECT_EQ(pic.pixel(0, 25), ui::colors::black);   // the frame
    EXPECT_EQ(pic.pixel(60, 12), ui::colors::black);  // a tick without a label
}

} // namespace

namespace {

// Share of pixels in a picture that are neither white nor the window background: text and drawings.
double inkShare(const QImage& img) {
    const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
    const QRgb bg = rgb.pixel(rgb.width() - 2, rgb.height() - 2);
    qint64 ink = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            if (p != bg && qGray(p) < 128) ++ink;
        }
    return static_cast<double>(ink) / (rgb.width() * rgb.height());
}

// Grabs a window; with ORDIVAN_SCREENSHOT_DIR set the picture is kept there for people to look at.
QImage grabWindow(QWidget* w, const QString& name) {
    w->adjustSize();
    const QImage img = w->grab().toImage();
    const QString dir = qEnvironmentVariable("ORDIVAN_SCREENSHOT_DIR");
    if (!dir.isEmpty()) img.save(dir + '/' + name + QStringLiteral(".png"));
    return img;
}

TEST(WindowPictures, EveryWindowDrawsItsTextsAndControls) {
    MainFixture f;
    f.frm->resize(1000, 400);
    f.frm->show();
    f.frm->frmCalcStart->FormShow();
    f.frm->frmLxScale->FormShow();
    f.frm->frmHansya->FormShow();
    f.frm->frmLen->configure('K', '3');
    app::forms::TfrmStart2 start(f.services);
    app::forms::TfmTyuui notice;
    f.frm->frmVersion->Label1->setText(QStringLiteral("ORDIVAN Ver 2.0"));
    const std::pair<QWidget*, const char*> windows[] = {
        {f.frm, "frmMain"},        {f.frm->frmCalcStart, "frmCalcStart"}, {f.frm->frmLxScale, "frmLxScale"},
        {f.frm->frmtendakaSet, "frmtendakaSet"}, {f.frm->frmTendakaChange, "frmTendakaChange"},
        {f.frm->frmLen, "frmLen"},       {f.frm->frmSinki, "frmSinki"},         {&start, "frmStart2"},
        {&notice, "fmTyuui"},            {f.frm->frmRedraw, "frmRedraw"},       {f.frm->frmSeido, "frmSeido"},
        {f.frm->frmHosyuritu, "frmHosyuritu"}, {f.frm->frmVersion, "frmVersion"}, {f.frm->frmCalcING, "frmCalcING"},
        {f.frm->frmHansya, "frmHansya"},
    };
    for (const auto& [w, name] : windows) {
        const QImage img = grabWindow(w, QString::fromLatin1(name));
        EXPECT_GT(img.width(), 40) << name;
        EXPECT_GT(inkShare(img), 0.001) << name;  // a window whose texts failed to draw is blank
    }
    // The menus as they drop down.
    for (QAction* top : f.frm->menuBar()->actions()) {
        QMenu* menu = top->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_GT(inkShare(grabWindow(menu, QStringLiteral("menu_") + menu->objectName())), 0.001);
    }
    // The palettes of the other two edit targets (the editor's palette commands are not bound here).
    f.doc.selectedType = 1;
    f.program->state.window.editTarget = 'K';
    f.program->state.window.toolCode = '2';
    f.frm->syncFromState();
    grabWindow(f.frm, QStringLiteral("frmMain_kigu"));
    f.program->state.window.editTarget = 'S';
    f.program->state.window.toolCode = 'd';
    f.program->state.window.snapMode = 'Z';
    f.frm->syncFromState();
    EXPECT_GT(inkShare(grabWindow(f.frm, QStringLiteral("frmMain_hasira"))), 0.001);
}

} // namespace

namespace {

void typeKey(QWidget* w, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

TEST(DialogKeys, RangeEditsMoveWithTheArrowsAndEnterGoesToOk) {
    MainFixture f;
    auto* d = f.frm->frmLxScale;
    d->FormShow();
    d->show();
    QApplication::setActiveWindow(d);
    d->txtLx[3]->setFocus();
    typeKey(d->txtLx[3], Qt::Key_Up);
    EXPECT_TRUE(d->txtLx[4]->hasFocus());
    typeKey(d->txtLx[4], Qt::Key_Down);
    typeKey(d->txtLx[3], Qt::Key_Down);
    EXPECT_TRUE(d->txtLx[2]->hasFocus());
    typeKey(d->txtLx[6], Qt::Key_Up);  // the top edit has nowhere higher to go
    typeKey(d->txtLx[2], Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_TRUE(d->btnOK->hasFocus());
    EXPECT_TRUE(d->isVisible());  // Enter only moves the focus
    d->hide();
}

TEST(DialogKeys, EnterInTheLengthDialogMovesToTheSecondRowOrConfirms) {
    testsupport::qtApp();
    ui::testing::FakeServices services;
    QWidget owner;  // the dialog belongs to a window, as the main window's does
    auto* len = new editor::forms::TfrmLen(services, &owner);
    len->configure('K', '3');
    testsupport::whenModal([&](QWidget* w) {
        QApplication::setActiveWindow(w);  // focus moves only inside the active window
        len->txtX->setText(QStringLiteral("4"));
        typeKey(len->txtX, Qt::Key_Return, QStringLiteral("\r"));
        EXPECT_TRUE(len->txtY->hasFocus());
        len->txtY->setText(QStringLiteral("3"));
        typeKey(len->txtY, Qt::Key_Return, QStringLiteral("\r"));
    });
    EXPECT_TRUE(len->execute());
    EXPECT_EQ(len->firstValue, 4);
    EXPECT_EQ(len->secondValue, 3);

    len->configure('P', '2');
    testsupport::whenModal([&](QWidget* w) {
        QApplication::setActiveWindow(w);  // focus moves only inside the active window
        EXPECT_FALSE(len->txtY->isVisible());
        EXPECT_TRUE(len->labmmx->isVisible());
        len->txtX->setText(QStringLiteral("1800"));
        typeKey(len->txtX, Qt::Key_Return, QStringLiteral("\r"));
    });
    EXPECT_TRUE(len->execute());
    EXPECT_EQ(len->firstValue, 1800);

    // A refused OK, then ｷｬﾝｾﾙ: nothing is confirmed.
    len->configure('K', '3');
    testsupport::whenModal([&](QWidget* w) {
        QApplication::setActiveWindow(w);  // focus moves only inside the active window
        len->txtX->setText(QStringLiteral("4"));
        len->btnOK->click();
        EXPECT_TRUE(len->txtY->hasFocus());
        len->btnCancel->click();
    });
    EXPECT_FALSE(len->execute());
    EXPECT_EQ(services.messages.back().text, "値を入力してください");
    EXPECT_EQ(services.messages.back().title, "エラー");
}

TEST(LegendWindows, TheFloatingLegendFollowsADragOfItsSurface) {
    MainFixture f;
    auto* legend = f.frm->frmColorScale2;
    legend->move(300, 200);
    legend->show();
    const QPoint start = legend->frameGeometry().topLeft();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(start + QPoint(10, 10)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(legend, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 40), QPointF(start + QPoint(50, 40)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(legend, &move);
    EXPECT_EQ(legend->frameGeometry().topLeft(), start + QPoint(40, 30));
    legend->hide();
}

TEST(QtServicesWithTheProgressWindow, CancelIsReportedByTheNextEventPumpAndShowingAgainClearsIt) {
    testsupport::qtApp();
    ui::qt::QtServices services;
    calc::forms::TfrmCalcING window;
    services.setProgressWindow(&window);
    services.progressShow("照度の計算", "照度を計算中", 2);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(services.processEvents());
    window.btnCancel->click();
    EXPECT_TRUE(services.processEvents());
    services.progressShowStyled("照度分布", "等高線データを作成中", 0, false, false);
    EXPECT_FALSE(window.ProgressBar1->isVisible());
    EXPECT_FALSE(window.btnCancel->isVisible());
    EXPECT_FALSE(services.processEvents());
    services.progressHide();
    EXPECT_FALSE(window.isVisible());
    services.setProgressWindow(nullptr);
}

} // namespace

namespace {

TEST(EventBoundary, AFailingCommandIsShownByTheGeneralErrorBoxAndTheWindowGoesOn) {
    // A bare window: its commands declared, none bound yet.
    testsupport::qtApp();
    model::Document doc;
    editor::WindowState window;
    catalog::TourokuTable touroku;
    calc::CalcSettings settings;
    catalog::LightColorTable colours;
    ui::testing::FakeServices services;
    ui::qt::ImageSurface surface{200, 100};
    app::forms::TfrmMain frm(app::forms::MainContext{doc, window, touroku, settings, surface, services, colours, nullptr});
    frm.commands.bind("mnuUndo", [] { throw std::out_of_range("plan record index out of range"); });
    frm.commands.bind("mnuLampJ", [&doc] { doc.lampNameMode = 'J'; });
    frm.action("mnuUndo")->trigger();
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_EQ(services.errors[0], "plan record index out of range");
    // The next command still runs and the window still shows the document.
    frm.action("mnuLampJ")->trigger();
    EXPECT_TRUE(frm.action("mnuLampJ")->isChecked());
    EXPECT_FALSE(frm.action("mnuLampA")->isChecked());
}

} // namespace

#include "app/forms/StartupWindows.h"

namespace {

TEST(StartUpRoad, AProjectOnTheCommandLineOpensAtOnceWithTheColoursFilledAndNoSplash) {
    MainFixture f;
    const std::string path = testsupport::sourceDir() + "/data/samples/room_sample.OLE";
    f.program->start(path, QString());
    EXPECT_TRUE(f.doc.tables.ctColourFilled);
    EXPECT_FALSE(f.doc.plan.isEmpty());
    EXPECT_EQ(f.frm->windowTitle(), QStringLiteral("ORDIVAN Ver 2.0  - [*]room_sample.OLE  (ZOLT LIGHTING CORP.)"));
    EXPECT_TRUE(f.item("Save1")->isEnabled());
    EXPECT_TRUE(f.frm->findChildren<app::forms::TfrmStart1*>().isEmpty());
}

TEST(StartUpRoad, WithoutAProjectTheSplashShowsForTwoSecondsBeforeTheStartDialog) {
    MainFixture f;
    f.program->start("", QStringLiteral("/nonexistent.bmp"));
    const auto splashes = f.frm->findChildren<app::forms::TfrmStart1*>();
    ASSERT_EQ(splashes.size(), 1);
    EXPECT_TRUE(splashes[0]->isVisible());
    EXPECT_TRUE(splashes[0]->Timer1.isActive());
    EXPECT_FALSE(f.doc.tables.ctColourFilled);
    // When the timer fires: colours, then the start dialog; its ｷｬﾝｾﾙ ends the program.
    bool startShown = false;
    testsupport::whenModal([&](QWidget* w) {
        startShown = qobject_cast<app::forms::TfrmStart2*>(w) != nullptr;
        qobject_cast<app::forms::TfrmStart2*>(w)->btnCancel->click();
    });
    splashes[0]->Timer1Timer();
    EXPECT_TRUE(f.doc.tables.ctColourFilled);
    EXPECT_TRUE(startShown);
    EXPECT_FALSE(splashes[0]->isVisible());
}

} // namespace

namespace {

TEST(CommandTable, EveryMenuItemPaletteControlAndButtonIsBoundExactlyOnce) {
    MainFixture f;
    EXPECT_EQ(f.frm->commands.unbound(), std::vector<std::string>{});
    EXPECT_THROW(f.frm->commands.bind("mnuUndo", [] {}), std::logic_error);   // a second owner is refused
    EXPECT_THROW(f.frm->commands.bind("mnuNothing", [] {}), std::logic_error);  // and so is a name the window lacks
}

void sendButton(QWidget* w, QEvent::Type type, QPoint at) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST(MainWindowPalette, TheCutButtonEndsTheWallChainWhenReleasedOverItAndShowsOnWhileHeld) {
    MainFixture f;
    f.frm->show();
    app::forms::PictureButton* cut = f.frm->button("imgCut");
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->toolTip(), QStringLiteral("線分のカット"));
    EXPECT_TRUE(cut->isVisible());
    f.press(10, 10);
    f.press(100, 10);
    ASSERT_EQ(f.doc.plan.lines.count(), 1);

    // Released away from the button: nothing happens, the chain goes on.
    sendButton(cut, QEvent::MouseButtonPress, QPoint(5, 5));
    EXPECT_EQ(cut->picture(), Picture::On);
    sendButton(cut, QEvent::MouseButtonRelease, QPoint(-20, 5));
    EXPECT_EQ(cut->picture(), Picture::Off);
    EXPECT_EQ(f.program->engine.editor().dragState(), 'L');

    sendButton(cut, QEvent::MouseButtonPress, QPoint(5, 5));
    sendButton(cut, QEvent::MouseButtonRelease, QPoint(6, 6));
    EXPECT_EQ(cut->picture(), Picture::Off);
    EXPECT_EQ(f.program->engine.editor().dragState(), 'N');
    EXPECT_EQ(f.program->state.window.toolCode, 'L');  // the tool stays
    f.press(100, 100);                // starts a new chain: no wall from (100, 10)
    EXPECT_EQ(f.doc.plan.lines.count(), 1);

    f.frm->button("imgKigu")->click();
    EXPECT_FALSE(cut->isVisible());  // a wall tool only
}

TEST(MainWindowPalette, TheCountDialogOpensBelowRightOfTheSecondClickAndFlipsAtTheScreenEdges) {
    MainFixture f;
    f.frm->show();
    f.doc.plan.mmPerPixel = 10;
    f.program->touroku.registerSlot(1, catalog::HaikouMdb{});
    f.frm->button("imgKigu")->click();
    f.doc.selectedType = 1;  // what the registration window does
    f.frm->button("imgKigu2")->click();
    ASSERT_EQ(f.program->state.window.toolCode, '2');

    auto dialogAfterDrag = [&](QPoint from, QPoint to) {
        QRect shown;
        testsupport::whenModal([&](QWidget* w) {
            auto* len = qobject_cast<editor::forms::TfrmLen*>(w);
            ASSERT_NE(len, nullptr);
            shown = len->frameGeometry();
            len->btnCancel->click();
        });
        f.press(from.x(), from.y());
        f.press(to.x(), to.y());
        return shown;
    };
    const QRect screen = f.frm->screen()->geometry();
    const QPoint near(120, 80);
    const QPoint nearGlobal = f.frm->Image1->mapToGlobal(near);
    QRect d = dialogAfterDrag(QPoint(20, 80), near);
    EXPECT_EQ(d.topLeft(), nearGlobal + QPoint(10, 25));

    // A second click close to the screen's right and bottom edges: left of and above the click.
    const QPoint origin = f.frm->Image1->mapToGlobal(QPoint(0, 0));
    const QPoint far(screen.right() - origin.x() - 5, screen.bottom() - origin.y() - 5);
    const QPoint farGlobal = f.frm->Image1->mapToGlobal(far);
    d = dialogAfterDrag(QPoint(20, 80), far);
    ASSERT_GT(d.width(), 20);
    EXPECT_EQ(d.right() + 1, farGlobal.x() - 10);
    EXPECT_EQ(d.bottom() + 1, farGlobal.y() - 25);
    EXPECT_EQ(f.doc.plan.kigu.count(), 0);  // both dialogs were cancelled
}

} // namespace

namespace {

TEST(MainWindow, AResizeSwitchesScrollingByWhetherThePlanFitsBetweenThePanels) {
    MainFixture f;
    f.frm->show();
    f.frm->resize(700, 500);  // the first resize after start-up only arms the rule
    f.openSample();
    const model::Extent plan = model::computeExtent(f.doc.plan, f.doc.screenWidth, f.doc.screenHeight);
    f.frm->resize(plan.Xe + 50, plan.Ye + 400);
    QApplication::processEvents();
    EXPECT_FALSE(f.frm->autoScroll());
    f.frm->resize(plan.Xe / 2, plan.Ye + 400);
    QApplication::processEvents();
    EXPECT_TRUE(f.frm->autoScroll());
}

} // namespace
