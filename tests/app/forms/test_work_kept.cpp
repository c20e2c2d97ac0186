// Work the user must never lose, through the real windows: saving, the changed mark, the keys of the
// number fields, the floating windows and the main window's place on the screen.
#include "app/forms/RealProgram.h"
#include "app/forms/StartupWindows.h"
#include "base/Text.h"
#include "catalog/forms/TfrmKigu.h"
#include "editor/Editor.h"
#include "editor/forms/PlanChoiceBox.h"
#include "editor/forms/TfrmLen.h"
#include "editor/forms/TfrmSinki.h"
#include "editor/forms/TfrmTaskArea.h"
#include "model/ProjectCommands.h"
#include "model/ProjectFile.h"
#include "view/AreaTable.h"
#include "view/IlluminanceCsv.h"
#include "ui/qt/Cursors.h"
#include "print/CurveSheet.h"
#include "print/forms/TfrmCD.h"
#include "view/forms/TfrmAreaTable.h"
#include "view/forms/TfrmTempScale.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest/QTest>

namespace {

using testsupport::Program;

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool asksToSave(Program& prog) {
    prog.services.answers.push_back(ui::Answer::Cancel);
    const std::size_t before = prog.services.messages.size();
    const bool mayClose = prog.p->project.closeQuery();
    const bool asked = prog.services.messages.size() > before && prog.services.messages.back().text == model::kAskSave;
    if (!asked) prog.services.answers.clear();
    return asked && !mayClose;
}

TEST(WorkKept, CtrlSSavesAPlanSavedOnceUnderANameAndEveryTypeEditIsOfferedForSaving) {
    Program prog;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.OLE"));
    prog.press(100, 100);
    prog.press(300, 100);
    prog.services.fileAnswers.push_back(path.toStdString());
    prog.p->frm.action("SaveAs1")->trigger();
    const QByteArray first = fileBytes(path);
    ASSERT_FALSE(first.isEmpty());

    prog.press(300, 300);  // a second wall, then Ctrl+S
    ASSERT_TRUE(prog.p->frm.windowHandle()->title().contains('*'));
    prog.p->frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&prog.p->frm));
    QTest::keyClick(&prog.p->frm, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(fileBytes(path) != first) << "Ctrl+S wrote the plan";
    EXPECT_FALSE(prog.p->frm.windowHandle()->title().contains('*')) << prog.p->frm.windowHandle()->title().toStdString();
    EXPECT_TRUE(prog.services.saveRequests.size() == 1) << "no second file dialog";
    EXPECT_FALSE(asksToSave(prog));

    // A flux typed in the registration window is part of the file: the mark shows and closing asks.
    prog.openSample();
    ASSERT_FALSE(asksToSave(prog));
    prog.click("imgKigu");
    catalog::forms::TfrmKigu* kigu = prog.p->engine.frmKigu;
    QLineEdit* kou = kigu->rows[0].Kou;
    ASSERT_FALSE(kou->isReadOnly()) << "slot 1 of the sample is registered";
    kou->setCursorPosition(kou->text().size());
    QTest::keyClick(kou, Qt::Key_0);
    EXPECT_TRUE(prog.p->frm.windowHandle()->title().contains('*'));
    EXPECT_TRUE(asksToSave(prog));

    // So is a type registered into a free slot, and a slot's registration cancelled.
    prog.openSample();
    int free = 6;
    while (free > 0 && !kigu->rows[static_cast<std::size_t>(free - 1)].Kou->isReadOnly()) --free;
    ASSERT_GT(free, 0) << "a free slot on the first tab";
    ASSERT_TRUE(kigu->registration().importPhotometryFile(
        testsupport::sourceDir() + "/tests/data/corpus_photometry_ies/batwing.ies", free));
    EXPECT_TRUE(asksToSave(prog)) << "a registration";
}

// Escape cancels and Tab moves on in every number field; only typed characters are filtered.
TEST(WorkKept, TabAndEscapePassThroughTheNumberFields) {
    Program prog;
    prog.openSample();
    prog.click("imgArea");
    bool escaped = false;
    QString lux;
    testsupport::whenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<editor::forms::TfrmTaskArea*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->txtLux->setFocus();
        dialog->txtLux->selectAll();
        QTest::keyClicks(dialog->txtLux, QStringLiteral("500"));
        QTest::keyClick(dialog->txtLux, Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0.6"));
        lux = dialog->txtLux->text();
        const QString u0 = dialog->txtU0->text();
        EXPECT_TRUE(u0.endsWith(QStringLiteral("0.6"))) << u0.toStdString();
        QTest::keyClick(dialog->txtLux, Qt::Key_Escape);
        escaped = !dialog->isVisible();
        if (!escaped) dialog->btnCancel->click();
    });
    prog.press(200, 180);
    prog.press(600, 450);
    EXPECT_EQ(lux, QStringLiteral("500")) << "Tab left the lux field";
    EXPECT_TRUE(escaped) << "Escape closed the dialog";
    EXPECT_TRUE(prog.doc().plan.areas.empty()) << "and added nothing";

    // The flux boxes of the registration window let Tab move on too.
    prog.click("imgKigu");
    QLineEdit* kou = prog.p->engine.frmKigu->rows[0].Kou;
    kou->setFocus();
    const QString before = kou->text();
    QTest::keyClick(kou, Qt::Key_Tab);
    EXPECT_EQ(kou->text(), before);
}

// The floating windows belong to the main window and stay below the dialogs it opens (the Save As and
// print dialogs, the previews); none offers a minimise that would take the program down with it.
TEST(WorkKept, TheFloatingWindowsBelongToTheMainWindowAndNeverStandOverItsDialogs) {
    Program prog;
    app::forms::TfrmMain& frm = prog.p->frm;
    const std::pair<const char*, QWidget*> windows[] = {
        {"legend", frm.frmColorScale2}, {"colour-temperature scale", frm.frmTempScale},
        {"registration", prog.p->engine.frmKigu}, {"task-area table", prog.p->engine.frmAreaTable},
        {"curve", prog.p->engine.frmCD},
    };
    for (const auto& [name, w] : windows) {
        EXPECT_EQ(w->window()->parentWidget(), &frm) << name;
        EXPECT_EQ(w->windowType(), Qt::Tool) << name;
        EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << name;
        EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowMinimizeButtonHint)) << name;
    }
}

// A line of fixtures is refused, with the reason, when its count is 0 or more than the line has pixels to
// keep the fixtures apart; a count that fits is placed.
TEST(WorkKept, ALinePlacementRefusesACountOfZeroOrMoreThanTheLineCanSpread) {
    Program prog;
    prog.openSample();
    const int before = prog.doc().plan.kigu.count();
    prog.click("imgKigu");
    prog.p->engine.frmKigu->imgMouseDown(1, false);
    prog.click("imgKigu2");
    auto placeLine = [&](const char* count) {
        testsupport::whenModal([count](QWidget* w) {
            auto* len = qobject_cast<editor::forms::TfrmLen*>(w);
            ASSERT_NE(len, nullptr);
            len->txtX->setText(QString::fromLatin1(count));
            len->btnOK->click();
        });
        prog.press(300, 300);
        prog.press(780, 300);  // 480 pixels
        return prog.services.messages.empty() ? std::string() : prog.services.messages.back().text;
    };
    EXPECT_EQ(placeLine("5000"), editor::kTooDense);
    EXPECT_EQ(prog.doc().plan.kigu.count(), before);
    prog.services.messages.clear();
    EXPECT_EQ(placeLine("0"), editor::kZeroCount);
    EXPECT_EQ(prog.doc().plan.kigu.count(), before);
    prog.services.messages.clear();
    EXPECT_EQ(placeLine("481"), "") << "481 fixtures one pixel apart";
    EXPECT_EQ(prog.doc().plan.kigu.count(), before + 481);
}

// A room closes exactly on its first point when the last click falls within the end-point reach, whatever
// the snap mode: no gap for the light to leak through. Farther away the chain goes on.
TEST(WorkKept, ARoomClosesExactlyOnItsFirstPointInEverySnapMode) {
    Program prog;
    ASSERT_EQ(prog.p->state.window.snapMode, 'F') << "free snapping, the default";
    prog.press(100, 100);
    prog.press(400, 100);
    prog.press(400, 300);
    prog.press(102, 98);  // 2-3 pixels off the first point
    ASSERT_EQ(prog.doc().plan.lines.count(), 3);
    const model::LineRecord& last = prog.doc().plan.lines[3];
    EXPECT_EQ((std::array<int, 4>{last.x1, last.y1, last.x2, last.y2}), (std::array<int, 4>{400, 300, 100, 100}));
    prog.press(600, 600);  // a new chain starts: no line from the closed room
    EXPECT_EQ(prog.doc().plan.lines.count(), 3);
    prog.press(900, 600);
    prog.press(650, 610);  // 50 pixels off: an ordinary line
    EXPECT_EQ(prog.doc().plan.lines.count(), 5);
}

// Escape on the start dialog ends the program as キャンセル does.
TEST(WorkKept, EscapeOnTheStartDialogQuitsAsItsCancelDoes) {
    Program prog;
    app::forms::TfrmStart2 start(prog.services, &prog.p->frm);
    int cancelled = 0;
    start.onCancel = [&cancelled] { ++cancelled; };
    testsupport::whenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    start.exec();
    EXPECT_EQ(cancelled, 1);
}

// Texts the user did not edit keep the file's own bytes through opening and saving: an NEC-selected
// character (ED 40, which CP932 writes as FA 5C), an unassigned code and a lone lead byte at a line's end.
TEST(WorkKept, OpeningAndSavingKeepsTheFilesOwnBytesOfUneditedTexts) {
    QByteArray bytes = fileBytes(QString::fromStdString(testsupport::binaryDir() + "/samples/room_sample.OLE"));
    ASSERT_FALSE(bytes.isEmpty());
    QList<QByteArray> lines = bytes.split('\n');
    ASSERT_GT(lines.size(), 6);
    lines[3] = QByteArray("\xED\x40\x85\x40 name \x81\r");  // the project name
    ASSERT_EQ(lines[6], QByteArray("DL-1000\r"));
    lines[6] = QByteArray("DL-\xED\x40\r");  // slot 1's product number
    bytes = lines.join('\n');
    QTemporaryDir dir;
    const QString odd = dir.filePath(QStringLiteral("odd.OLE"));
    {
        QFile f(odd);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    Program prog;
    prog.p->frm.run([&] { prog.p->project.openPath(odd.toStdString()); });
    ASSERT_GT(prog.doc().plan.lines.count(), 0) << "the file was opened";
    const QString saved = dir.filePath(QStringLiteral("saved.OLE"));
    prog.services.fileAnswers.push_back(saved.toStdString());
    prog.p->frm.action("SaveAs1")->trigger();
    EXPECT_TRUE(fileBytes(saved) == bytes) << "the file's bytes came back changed";

    // An edited text is written as CP932 spells it.
    prog.doc().projectName = "新しい名前";
    prog.p->frm.action("Save1")->trigger();
    EXPECT_TRUE(fileBytes(saved).split('\n')[3] == QByteArray("\x90\x56\x82\xb5\x82\xa2\x96\xbc\x91\x4f\r"));
}

// A new plan on a grid rescales the plan; a DXF background of the old scale goes, so that neither the
// redisplay nor the end-point snapping uses the old scale.
TEST(WorkKept, ANewPlanOnAGridLeavesNoDxfBackgroundOfTheOldScale) {
    Program prog;
    QTemporaryDir dir;
    const std::string dxf = dir.filePath(QStringLiteral("plan.dxf")).toStdString();
    {
        QFile f(QString::fromStdString(dxf));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0.0\n20\n0.0\n11\n10000.0\n21\n0.0\n"
                "0\nLINE\n8\n0\n10\n0.0\n20\n0.0\n11\n0.0\n21\n6000.0\n0\nENDSEC\n0\nEOF\n");
    }
    prog.services.fileAnswers.push_back(dxf);
    prog.p->frm.action("mnuLoadDXF")->trigger();
    ASSERT_EQ(prog.doc().backgroundKind, 'D');
    testsupport::whenModal([](QWidget* w) {
        auto* sinki = qobject_cast<editor::forms::TfrmSinki*>(w);
        ASSERT_NE(sinki, nullptr);
        sinki->choiceBox->rbtnGrid->setChecked(true);
        sinki->btnOK->click();
    });
    prog.p->frm.action("New1")->trigger();
    EXPECT_NE(prog.doc().backgroundKind, 'D');
    EXPECT_EQ(prog.countPixels(ui::Color{136, 136, 255}), 0) << "the old drawing is not shown";
}

// The measuring tool shows its cursor whatever the target it is called over.
TEST(WorkKept, TheMeasuringToolShowsItsCursorOverEveryTarget) {
    Program prog;
    prog.openSample();
    const QImage measuring = ui::qt::programCursor(4).pixmap().toImage();
    ASSERT_FALSE(measuring.isNull());
    for (const char* target : {"imgRoom", "imgKigu", "imgHasira"}) {
        prog.click(target);
        prog.p->frm.action("S1")->trigger();
        ASSERT_EQ(prog.p->state.window.toolCode, 'M') << target;
        EXPECT_TRUE(prog.p->frm.Image1->cursor().pixmap().toImage() == measuring) << target;
        prog.p->frm.action("mnuCancelOp")->trigger();
    }
}

// The small faults of daily use: a name the file cannot hold is refused as it is typed, an area that
// requires nothing is not marked as passed, the pillars' line dialog has its own title, the illuminance
// CSV gets its extension.
TEST(WorkKept, TheSmallFaultsOfDailyUse) {
    Program prog;
    prog.openSample();
    prog.click("imgArea");
    QString typed;
    testsupport::whenModal([&typed](QWidget* w) {
        auto* dialog = qobject_cast<editor::forms::TfrmTaskArea*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->txtName->clear();
        dialog->txtName->setFocus();
        for (const QString& typedChar : {QString::fromUtf8("机"), QString::fromUtf8("\u2603"), QStringLiteral("A")}) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typedChar);
            QApplication::sendEvent(dialog->txtName, &key);
        }
        typed = dialog->txtName->text();
        dialog->btnCancel->click();
    });
    prog.press(200, 180);
    prog.press(600, 450);
    EXPECT_EQ(typed, QString::fromUtf8("机A")) << "the snowman has no CP932 code";

    calc::AreaFigures figures;
    figures.area.requiredLux = 0;
    figures.area.requiredUniformity = 0;
    figures.pass = true;
    EXPECT_EQ(view::areaTableRow(figures).back(), "－");
    figures.area.requiredLux = 300;
    EXPECT_EQ(view::areaTableRow(figures).back(), "○ 合格");

    prog.click("imgHasira");
    prog.click("imgHasira2");
    QString title;
    testsupport::whenModal([&title](QWidget* w) {
        title = w->windowTitle();
        qobject_cast<QDialog*>(w)->reject();
    });
    prog.press(300, 300);
    prog.press(700, 300);
    EXPECT_EQ(title, QStringLiteral("直線配置"));

    // Closing the registration window keeps the fixtures as the edit target.
    prog.click("imgKigu");
    prog.p->engine.frmKigu->close();
    EXPECT_EQ(prog.p->state.window.editTarget, 'K');

    // Escape takes the segment being drawn and its length and angle from the read-out.
    prog.click("imgRoom");
    prog.press(100, 100);
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 100), prog.p->frm.Image1->mapToGlobal(QPointF(300, 100)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(prog.p->frm.Image1, &move);
    ASSERT_NE(prog.p->frm.labPointerMm->text().indexOf(QStringLiteral("長さ")), -1);
    prog.p->frm.action("mnuCancelOp")->trigger();
    EXPECT_EQ(prog.p->frm.labPointerMm->text().indexOf(QStringLiteral("長さ")), -1) << prog.p->frm.labPointerMm->text().toStdString();

    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    view::saveIlluminanceCsvCommand(grid, stats, prog.services);
    ASSERT_FALSE(prog.services.saveRequests.empty());
    EXPECT_EQ(prog.services.saveRequests.back().defaultExtension, "csv");
}

} // namespace

namespace {

using calc::forms::TfrmCalcStart;

// Every message about a file names the file: which plan was not written, which one was no plan, which
// picture could not be made.
TEST(WorkKept, AMessageAboutAFileNamesTheFile) {
    Program prog;
    prog.openSample();
    QTemporaryDir dir;
    const std::string unwritable = dir.filePath(QStringLiteral("no/such/folder/plan.OLE")).toStdString();
    prog.services.fileAnswers.push_back(unwritable);
    prog.p->frm.action("SaveAs1")->trigger();
    EXPECT_EQ(prog.services.allTexts(), std::vector<std::string>{ui::aboutFile(model::kMsgCannotWrite, unwritable)});

    const QString notPlan = dir.filePath(QStringLiteral("notes.OLE"));
    {
        QFile f(notPlan);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("meeting at ten\r\n");
    }
    prog.services.messages.clear();
    prog.services.answers.push_back(ui::Answer::No);  // the plan's changes are not saved
    prog.services.fileAnswers.push_back(notPlan.toStdString());
    prog.p->frm.action("Open1")->trigger();
    EXPECT_EQ(prog.services.messages.back().text, ui::aboutFile(model::kMsgMalformed, notPlan.toStdString()));

    // The curve's picture that could not be written is reported too, no longer passed over in silence.
    prog.services.messages.clear();
    prog.click("imgKigu");
    prog.p->engine.frmKigu->imgMouseDown(1, false);
    prog.p->frm.action("mnuHaikou")->trigger();
    prog.services.picturesFail = true;
    const std::string bmp = dir.filePath(QStringLiteral("curve.bmp")).toStdString();
    prog.services.fileAnswers.push_back(bmp);
    prog.p->engine.frmCD->save1Click();
    EXPECT_EQ(prog.services.allTexts(), std::vector<std::string>{ui::aboutFile("ファイルが作成出来ません。", bmp)});
}

// The printed curve is seen in the print preview, reduced to the screen: its pen is as wide on paper as
// on the screen, not two dots of the printer.
TEST(WorkKept, TheCurveIsSeenInThePrintPreview) {
    Program prog;
    prog.openSample();
    prog.click("imgKigu");
    prog.p->engine.frmKigu->imgMouseDown(1, false);
    prog.p->frm.action("mnuHaikou")->trigger();
    int curvePixels = -1;
    testsupport::whenModal([&](QWidget* w) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
        ASSERT_NE(preview, nullptr);
        auto* view = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(view, nullptr);
        preview->resize(900, 700);
        view->fitInView();
        const QImage shown = view->grab().toImage();
        const QColor curve(print::kPrimaryCurve.r, print::kPrimaryCurve.g, print::kPrimaryCurve.b);
        curvePixels = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                if (std::abs(c.red() - curve.red()) + std::abs(c.green() - curve.green()) + std::abs(c.blue() - curve.blue()) < 90)
                    ++curvePixels;
            }
        preview->reject();
    });
    prog.p->engine.frmCD->btnPreview->click();
    EXPECT_GT(curvePixels, 200) << "the curve's red line";
}

// The registration window keeps its size however often it is shown again and whatever its rows hold: a
// type registered into an empty slot does not widen it off the screen's edge.
TEST(WorkKept, TheRegistrationWindowKeepsItsSize) {
    Program prog;
    catalog::forms::TfrmKigu* kigu = prog.p->engine.frmKigu;
    prog.click("imgKigu");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(kigu));
    const QRect first = kigu->geometry();
    prog.services.fileAnswers.push_back(testsupport::sourceDir() + "/tests/data/corpus_photometry_ies/batwing.ies");
    kigu->btnPhotometry->click();
    ASSERT_FALSE(kigu->rows[0].Kou->isReadOnly()) << "slot 1 registered";
    QApplication::processEvents();
    EXPECT_EQ(kigu->geometry(), first) << "registered";
    for (int shown = 0; shown < 4; ++shown) {
        kigu->close();
        prog.click("imgRoom");
        prog.click("imgKigu");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(kigu));
    }
    EXPECT_EQ(kigu->geometry(), first) << "shown again";
}

// The scale dialog shows the plan's mmPerPixel beside the real length; the next one shows the new scale.
TEST(WorkKept, TheScaleDialogShowsThePlansMmPerPixel) {
    Program prog;
    prog.openSample();
    QStringList shown;
    const auto measure = [&](const char* realLength) {
        testsupport::whenModal([&shown, realLength](QWidget* w) {
            auto* len = qobject_cast<editor::forms::TfrmLen*>(w);
            ASSERT_NE(len, nullptr);
            shown << (len->Edit5->isVisible() ? len->labEdit5->text() + ' ' + len->Edit5->text() : QString());
            len->txtX->setText(QString::fromLatin1(realLength));
            len->btnOK->click();
        });
        prog.p->frm.action("S1")->trigger();
        prog.press(100, 100);  // the ends of the first wall: the measurement snaps to end points
        prog.press(1300, 100);
    };
    measure("24000");
    measure("12000");
    EXPECT_EQ(shown, (QStringList{QStringLiteral("mmPerPixel 10.00"), QStringLiteral("mmPerPixel 20.00")}));
    EXPECT_FLOAT_EQ(prog.doc().plan.mmPerPixel, 10.0f) << "12000 mm over 1200 pixels";
}

// Memory that runs out in the middle of a calculation is said to have run out; the plan stays as it was,
// the progress window goes and the next calculation runs.
TEST(WorkKept, ACalculationOutOfMemoryShowsTheMessageAndKeepsThePlan) {
    Program prog;
    prog.openSample();
    const int walls = prog.doc().plan.lines.count(), fixtures = prog.doc().plan.kigu.count();
    prog.services.onProcessEvents = [&prog] {
        if (prog.services.processEventsCalls == 3) throw std::bad_alloc();
    };
    prog.calculate(&TfrmCalcStart::btnBunpu);
    prog.services.onProcessEvents = nullptr;
    EXPECT_EQ(prog.services.allTexts(), std::vector<std::string>{base::kMsgNoMemory});
    ASSERT_FALSE(prog.services.progressLog.empty());
    EXPECT_EQ(prog.services.progressLog.back(), "hide") << "the progress window went";
    EXPECT_FALSE(prog.doc().resultValid);
    EXPECT_EQ(prog.doc().plan.lines.count(), walls);
    EXPECT_EQ(prog.doc().plan.kigu.count(), fixtures);
    EXPECT_FALSE(prog.p->frm.windowHandle()->title().contains('*')) << "nothing of the plan changed";

    prog.calculate(&TfrmCalcStart::btnBunpu);
    EXPECT_TRUE(prog.doc().resultValid) << "the next run";
}

// A project the reader refuses (a wall from one end of the coordinates to the other) is not opened as a
// blank plan: the reader's message names it and the plan open before stays as it was.
TEST(WorkKept, AHostileProjectRefusedOnOpenLeavesTheOpenPlan) {
    Program prog;
    prog.openSample();
    QByteArray bytes = fileBytes(QString::fromStdString(testsupport::binaryDir() + "/samples/room_sample.OLE"));
    ASSERT_TRUE(bytes.contains("L,100,100,1300,100,0,0,0,0"));
    bytes.replace("L,100,100,1300,100,0,0,0,0", "L,-2147483648,100,2147483647,100,0,0,0,0");
    QTemporaryDir dir;
    const QString hostile = dir.filePath(QStringLiteral("hostile.OLE"));
    {
        QFile f(hostile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const std::string before = prog.doc().currentFileName;
    const QString title = prog.p->frm.windowHandle()->title();
    const QRect walls = prog.wallBox();
    prog.services.fileAnswers.push_back(hostile.toStdString());
    prog.p->frm.action("Open1")->trigger();
    const std::vector<std::string> texts = prog.services.allTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("描画面が大きすぎます", 0), 0u) << texts[0];
    EXPECT_NE(texts[0].find(hostile.toStdString()), std::string::npos) << texts[0];
    EXPECT_EQ(prog.doc().currentFileName, before);
    EXPECT_EQ(prog.doc().plan.lines[1].x1, 100);
    EXPECT_EQ(prog.p->frm.windowHandle()->title(), title);
    EXPECT_EQ(prog.wallBox(), walls) << "the plan is still drawn";
}

} // namespace
