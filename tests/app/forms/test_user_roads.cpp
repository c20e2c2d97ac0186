// Roads a user takes through the real windows after a result: the range dialog, the result texts and
// labels, the progress window's controls, the reference-height dialog, the product list and the file menu.
#include "app/forms/RealProgram.h"
#include "calc/forms/TfrmCalcING.h"
#include "calc/SettingsDialogs.h"
#include "calc/forms/TfrmHeightDialogs.h"
#include "catalog/forms/TfrmKigu.h"
#include "catalog/forms/TfrmList.h"
#include "editor/forms/PlanChoiceBox.h"
#include "editor/forms/TfrmSinki.h"
#include "print/DistributionSheet.h"
#include "print/forms/TfrmPrint.h"
#include "ui/qt/PrinterSurface.h"
#include "view/forms/TfrmColorScale2.h"
#include "view/forms/TfrmLxScale.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QTabBar>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <cstdlib>
#include <map>
#include <set>

namespace {

using calc::forms::TfrmCalcStart;
using testsupport::Program;

// Black pixels of the average and maximum texts in the top-left corner of the plan.
int cornerTextInk(Program& prog) {
    int ink = 0;
    for (int y = 6; y < 40; ++y)
        for (int x = 12; x < 140; ++x)
            if (prog.surface().pixel(x, y) == ui::colors::black) ++ink;
    return ink;
}

// Types the six levels (lowest first) into the range dialog and presses OK; returns what the dialog
// showed when it opened, lowest first.
QStringList rangeDialog(Program& prog, const QStringList& typed) {
    QStringList shown;
    testsupport::whenModal([&](QWidget* w) {
        auto* range = qobject_cast<view::forms::TfrmLxScale*>(w);
        ASSERT_NE(range, nullptr);
        for (int i = 1; i <= 6; ++i) shown << range->txtLx[static_cast<std::size_t>(i)]->text();
        if (typed.isEmpty()) {
            range->btnCancel->click();
            return;
        }
        for (int i = 1; i <= 6; ++i) range->txtLx[static_cast<std::size_t>(i)]->setText(typed[i - 1]);
        range->btnOK->click();
    });
    prog.p->frm.action("mnuScaleSet")->trigger();
    return shown;
}

std::set<int> classesOnPlan(Program& prog) {
    std::set<int> seen;
    for (int k = 0; k < 6; ++k)
        if (prog.countPixels(prog.doc().tables.classColour[static_cast<std::size_t>(k)]) > 200) seen.insert(k);
    return seen;
}

TEST(UserRoads, TypedIlluminanceLevelsStayTheLevelsOfTheMapAfterRedisplayAndRecalculation) {
    Program prog;
    prog.openSample();
    prog.calculate(&TfrmCalcStart::btnBunpu);
    ASSERT_TRUE(prog.doc().resultValid);

    const QStringList typed{"50", "100", "150", "200", "250", "300"};
    rangeDialog(prog, typed);
    const calc::LuxLevels expected{0, 50, 100, 150, 200, 250, 300};

    prog.p->frm.action("mnuRedBunpu")->trigger();
    EXPECT_EQ(prog.doc().tables.luxLevel, expected) << "the redisplayed map uses the typed levels";
    EXPECT_GE(classesOnPlan(prog).size(), 3u) << "a map of several classes, not one solid colour";
    prog.shoot(QStringLiteral("main_colour_map_ranged"));
    EXPECT_EQ(rangeDialog(prog, {}), typed) << "reopened, the dialog shows what was typed";

    // One more fixture, then a new calculation: still the typed levels.
    const QRect room = prog.wallBox();
    prog.p->frm.btnRed->click();
    prog.click("imgKigu");
    prog.p->engine.frmKigu->imgMouseDown(1, false);
    prog.click("imgKigu1");
    prog.press(room.center().x(), room.center().y());
    ASSERT_FALSE(prog.doc().resultValid);
    prog.calculate(&TfrmCalcStart::btnBunpu);
    EXPECT_EQ(prog.doc().tables.luxLevel, expected);
    EXPECT_GE(classesOnPlan(prog).size(), 3u);
    EXPECT_EQ(rangeDialog(prog, {}), typed);

    // The printed sheet's legend lists the typed levels (no printer here: the sheet goes to a PDF file).
    if (ui::qt::printerAvailable() || std::system("command -v pdftotext >/dev/null 2>&1") != 0) return;
    QTemporaryDir dir;
    const std::string pdf = dir.path().toStdString() + "/sheet.pdf";
    prog.services.fileAnswers = {pdf};
    testsupport::whenModal([](QWidget* w) { qobject_cast<print::forms::TfrmPrint*>(w)->btnPrint->click(); });
    prog.p->frm.action("Print1")->trigger();
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 '" + pdf + "' '" + pdf + ".txt'").c_str()), 0);
    QFile text(QString::fromStdString(pdf + ".txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QString sheet = QString::fromUtf8(text.readAll());
    for (const QString& level : typed) EXPECT_TRUE(sheet.contains(level + QStringLiteral("Lx"))) << level.toStdString();
}

TEST(UserRoads, ContourResultCarriesItsTextsAndTheScaleLabelFollowsTheRangeChoice) {
    Program prog;
    prog.openSample();
    // Before any result only the contour redisplay is offered: it asks to calculate.
    EXPECT_FALSE(prog.menuEnabled("mnuRedBunpu"));
    EXPECT_FALSE(prog.menuEnabled("mnuRedTemp"));
    EXPECT_TRUE(prog.menuEnabled("mnuRedLine"));

    prog.calculate(&TfrmCalcStart::btnLine);
    ASSERT_TRUE(prog.doc().resultValid);
    EXPECT_EQ(prog.doc().displayKind, 'T');
    EXPECT_GT(cornerTextInk(prog), 40) << "平均照度 and 最高照度 written over the contour lines";
    EXPECT_TRUE(prog.menuEnabled("mnuRedBunpu"));
    EXPECT_TRUE(prog.menuEnabled("mnuRedTemp"));

    rangeDialog(prog, {"50", "100", "150", "200", "250", "300"});
    EXPECT_EQ(prog.p->frm.labScaleType->text(), QStringLiteral("照度分布 Scale: 設定値"));
    prog.p->frm.action("mnuScaleOFF")->trigger();
    EXPECT_EQ(prog.p->frm.labScaleType->text(), QStringLiteral("照度分布 Scale: 自動"));
    prog.p->frm.action("mnuScaleON")->trigger();
    EXPECT_EQ(prog.p->frm.labScaleType->text(), QStringLiteral("照度分布 Scale: 設定値"));
}

// The platform services of the real program, noting which controls the progress window shows for each
// caption and pressing its ｷｬﾝｾﾙ at the first chance under a chosen caption.
struct WatchedServices : ui::qt::QtServices {
    calc::forms::TfrmCalcING* window = nullptr;
    std::map<std::string, std::string> controls;  // caption -> "bar cancel" / "bar" / "cancel" / ""
    std::string caption;
    std::string cancelUnder;
    void progressShowStyled(const std::string& c, const std::string& text, int maximum, bool bar, bool cancel) override {
        ui::qt::QtServices::progressShowStyled(c, text, maximum, bar, cancel);
        caption = c;
        std::string shown;
        if (window->ProgressBar1->isVisible()) shown += "bar";
        if (window->btnCancel->isVisible()) shown += shown.empty() ? "cancel" : " cancel";
        controls[c] = shown;
    }
    bool processEvents() override {
        if (!cancelUnder.empty() && caption == cancelUnder && window->isVisible() && window->btnCancel->isVisible()) {
            cancelUnder.clear();
            window->btnCancel->click();
        }
        return ui::qt::QtServices::processEvents();
    }
};

TEST(UserRoads, TheProgressWindowShowsTheControlsOfEachStepAndEveryShownCancelStopsIt) {
    testsupport::qtApp();
    WatchedServices services;
    app::forms::MainProgram p(app::ScreenInfo{1280, 800, 96}, testsupport::binaryDir() + "/zolt_data", services, &services);
    services.window = p.frm.frmCalcING;
    p.fillColours();
    p.frm.show();
    p.frm.syncFromState();
    p.frm.run([&] { p.project.openPath(testsupport::binaryDir() + "/samples/room_sample.OLE"); });
    const model::Document& doc = p.state.doc;
    auto calculate = [&](QPushButton* TfrmCalcStart::*kind) {
        testsupport::whenModal([kind](QWidget* w) { (qobject_cast<TfrmCalcStart*>(w)->*kind)->click(); });
        p.frm.action("mnuCalcRun")->trigger();
    };

    // Cancel during the fixture pass: no result.
    services.cancelUnder = "照度の計算";
    calculate(&TfrmCalcStart::btnBunpu);
    EXPECT_TRUE(services.cancelUnder.empty()) << "ｷｬﾝｾﾙ was offered";
    EXPECT_FALSE(doc.resultValid);

    calculate(&TfrmCalcStart::btnLine);
    ASSERT_TRUE(doc.resultValid);
    EXPECT_EQ(services.controls["照度の計算"], "bar cancel");
    EXPECT_EQ(services.controls["照度の補間"], "bar") << "interpolation cannot be cancelled";
    EXPECT_EQ(services.controls["照度分布"], "") << "contour tracing shows only its text";

    // The colour-temperature map offers ｷｬﾝｾﾙ without a bar; pressed, the plan comes back.
    services.cancelUnder = "色温度の設定";
    p.frm.action("mnuRedTemp")->trigger();
    EXPECT_EQ(services.controls["色温度の設定"], "cancel");
    EXPECT_TRUE(services.cancelUnder.empty());
    EXPECT_FALSE(p.state.window.resultShown) << "cancelled: the plan without the map";
    EXPECT_FALSE(p.frm.frmColorScale2->isVisible());

    // The colour map offers both; its ｷｬﾝｾﾙ stops the painting too.
    services.cancelUnder = "色の設定";
    p.frm.action("mnuRedBunpu")->trigger();
    EXPECT_EQ(services.controls["色の設定"], "bar cancel");
    EXPECT_TRUE(services.cancelUnder.empty());
    EXPECT_FALSE(p.state.window.resultShown);
    EXPECT_TRUE(doc.resultValid) << "a cancelled display keeps the result";
    EXPECT_FALSE(p.frm.frmCalcING->isVisible());
}

TEST(UserRoads, OnlyANewReferenceHeightChangesThePlanAndDropsTheResult) {
    Program prog;
    prog.openSample();
    prog.calculate(&TfrmCalcStart::btnBunpu);
    ASSERT_TRUE(prog.doc().resultValid);
    ASSERT_FALSE(prog.doc().dataChanged);
    const QString before = prog.p->frm.labTendaka->text();
    auto heightDialog = [&](const QString& typed) {
        const bool asksAboutOwnHeights = typed != before && !typed.isEmpty() && calc::anyFixtureWithOwnHeight(prog.doc().plan);
        testsupport::whenModal([typed, asksAboutOwnHeights](QWidget* w) {
            auto* d = qobject_cast<calc::forms::TfrmtendakaSet*>(w);
            ASSERT_NE(d, nullptr);
            if (typed.isEmpty()) {
                d->btnCancel->click();
                return;
            }
            d->txtTendaka->setText(typed);
            if (asksAboutOwnHeights) {
                testsupport::whenModal([](QWidget* q) { qobject_cast<calc::forms::TfrmTendakaChange*>(q)->btnOK->click(); });
            }
            d->btnOK->click();
        });
        prog.p->frm.btnHenkou->click();
    };
    for (const QString& typed : {QString(), before}) {
        heightDialog(typed);
        EXPECT_FALSE(prog.doc().dataChanged) << typed.toStdString();
        EXPECT_TRUE(prog.doc().resultValid) << typed.toStdString();
        EXPECT_TRUE(prog.menuEnabled("mnuDxfSave")) << typed.toStdString();
        EXPECT_TRUE(prog.menuEnabled("mnuOutPut")) << typed.toStdString();
    }
    heightDialog(QString::number(before.toInt() - 500));
    EXPECT_TRUE(prog.doc().dataChanged);
    EXPECT_FALSE(prog.doc().resultValid);
    EXPECT_FALSE(prog.menuEnabled("mnuDxfSave"));
    EXPECT_FALSE(prog.menuEnabled("mnuOutPut"));
}

// The registration window and the plan editor agree on the type placed: the chosen slot is placed, a
// product-list OK keeps the tab and the choice, a cancelled or freed slot leaves nothing to place.
TEST(UserRoads, TheRegistrationWindowChoosesTheTypeThePlanEditorPlaces) {
    Program prog;
    prog.openSample();
    const QRect room = prog.wallBox();
    prog.click("imgKigu");
    catalog::forms::TfrmKigu* kigu = prog.p->engine.frmKigu;
    kigu->imgMouseDown(1, false);
    ASSERT_EQ(prog.doc().selectedType, 1);
    prog.click("imgKigu1");
    const int before = prog.doc().plan.kigu.count();
    prog.press(room.center().x(), room.center().y());
    ASSERT_EQ(prog.doc().plan.kigu.count(), before + 1);
    EXPECT_EQ(prog.doc().plan.kigu[before + 1].typeIndex, 1);

    // OK in the product list refreshes the tab shown and keeps the chosen slot.
    kigu->tabs->setCurrentIndex(2);
    catalog::forms::TfrmList* list = prog.p->engine.frmList;
    prog.p->frm.action("mnuListShow")->trigger();
    ASSERT_TRUE(list->isVisible());
    list->btnOK->click();
    EXPECT_EQ(kigu->tabs->currentIndex(), 2);
    EXPECT_EQ(kigu->registration().currentSlot(), 1);
    EXPECT_EQ(prog.doc().selectedType, 1);
    list->hide();

    // Cancelling the current slot (keeping its fixtures) leaves no type to place.
    kigu->tabs->setCurrentIndex(0);
    kigu->imgMouseDown(1, true);
    prog.services.answers.push_back(ui::Answer::No);
    kigu->mnuCancelClick();
    EXPECT_EQ(prog.doc().selectedType, -1);
    const int afterCancel = prog.doc().plan.kigu.count();
    prog.press(room.center().x() + 40, room.center().y());
    EXPECT_EQ(prog.doc().plan.kigu.count(), afterCancel);
}

TEST(UserRoads, ANewPlanLeavesNoFreedTypeToPlace) {
    Program prog;
    prog.openSample();
    prog.click("imgKigu");
    prog.p->engine.frmKigu->imgMouseDown(1, false);
    ASSERT_EQ(prog.doc().selectedType, 1);
    testsupport::whenModal([](QWidget* w) {
        auto* box = w->findChild<editor::forms::PlanChoiceBox*>();
        ASSERT_NE(box, nullptr);
        box->rbtnGrid->setChecked(true);
        box->rbtn50->setChecked(true);
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    prog.p->frm.action("New1")->trigger();
    ASSERT_TRUE(prog.doc().plan.hasScale());
    ASSERT_EQ(prog.doc().plan.kigu.count(), 0);
    EXPECT_EQ(prog.doc().selectedType, -1);
    prog.click("imgKigu");
    prog.click("imgKigu1");
    prog.press(300, 300);
    EXPECT_EQ(prog.doc().plan.kigu.count(), 0) << "no fixture of a freed slot";
}

TEST(UserRoads, TheProjectFileDialogsNameTheirFilterOnce) {
    testsupport::qtApp();
    ui::qt::QtServices services;
    app::forms::MainProgram p(app::ScreenInfo{1280, 800, 96}, testsupport::binaryDir() + "/zolt_data", services, &services);
    p.frm.show();
    const std::pair<const char*, QString> items[] = {{"Open1", QStringLiteral("ORDIVANﾌｧｲﾙ(*.OLE)")},
                                                     {"SaveAs1", QStringLiteral("ORDIVANﾌｧｲﾙ (*.OLE)")}};
    for (const auto& [item, filter] : items) {
        QStringList shown;
        testsupport::whenModal([&shown](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
            dialog->reject();
        });
        p.frm.action(item)->trigger();
        EXPECT_EQ(shown, QStringList{filter}) << item;
    }
}

TEST(UserRoads, WithoutAPrinterEveryPrintGoesToAPdfFileTheUserNames) {
    if (ui::qt::printerAvailable()) GTEST_SKIP() << "this machine has a printer";
    Program prog;
    prog.openSample();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string first = dir.path().toStdString() + "/list.pdf";
    const std::string second = dir.path().toStdString() + "/list2.pdf";

    prog.services.fileAnswers = {first};
    prog.p->frm.action("mnuListOut")->trigger();
    ASSERT_EQ(prog.services.saveRequests.size(), 1u);
    ASSERT_TRUE(QFile::exists(QString::fromStdString(first)));
    QFile::remove(QString::fromStdString(first));

    // The next list print asks again, offering the last name; the earlier file is not written unasked.
    prog.services.fileAnswers = {second};
    prog.p->frm.action("mnuListOut")->trigger();
    ASSERT_EQ(prog.services.saveRequests.size(), 2u);
    EXPECT_EQ(prog.services.saveRequests[1].initialName, first);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(second)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(first)));

    // 印刷 opens its dialog without the no-printer message and writes the sheet where the user says.
    prog.calculate(&TfrmCalcStart::btnBunpu);
    const std::string sheet = dir.path().toStdString() + "/sheet.pdf";
    prog.services.fileAnswers = {sheet};
    prog.services.messages.clear();
    testsupport::whenModal([](QWidget* w) {
        auto* print = qobject_cast<print::forms::TfrmPrint*>(w);
        ASSERT_NE(print, nullptr);
        print->btnPrint->click();
    });
    prog.p->frm.action("Print1")->trigger();
    for (const auto& m : prog.services.messages) EXPECT_NE(m.text, print::kMsgNoPrinter);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(sheet)));
}

} // namespace
