// The main window's everyday conveniences through the real window: redo, the keys of the commands, the
// title's unsaved mark, the recent projects, the print previews and the PDF output of the sheet.
#include "app/forms/RealProgram.h"
#include "catalog/forms/TfrmKigu.h"
#include "print/forms/TfrmCD.h"
#include "ui/qt/PrinterSurface.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QWindow>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cstdlib>

namespace {

using calc::forms::TfrmCalcStart;
using testsupport::Program;
using testsupport::previewPages;

QAction* item(Program& prog, const char* name) {
    QAction* a = prog.p->frm.action(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
}

std::vector<int> coordinates(const model::LineRecord& l) { return {l.x1, l.y1, l.x2, l.y2}; }


// The title as the desktop shows it, the unsaved mark in place of "[*]".
QString title(Program& prog) { return prog.p->frm.windowHandle()->title(); }

// The desktop ties the window to the installed entry (its name and file types) by the entry's name;
// a window started before the icon is installed still shows the program's icon at every size.
TEST(WindowConveniences, TheWindowNamesTheInstalledDesktopEntryAndCarriesTheProgramsIcon) {
    app::forms::identifyToDesktop();
    Program prog;
    const QString entry = QStringLiteral("%1/data/install/%2.desktop")
                              .arg(QString::fromStdString(testsupport::sourceDir()), QGuiApplication::desktopFileName());
    EXPECT_TRUE(QFile::exists(entry)) << entry.toStdString();
    const QIcon icon = prog.p->frm.windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 48, 256}) EXPECT_EQ(icon.pixmap(size, size).width(), size) << size;
}

TEST(WindowConveniences, RedoBringsBackWhatUndoRemovedUntilANewEdit) {
    Program prog;
    QAction* undo = item(prog, "mnuUndo");
    QAction* redo = item(prog, "mnuRedo");
    prog.press(100, 100);
    prog.press(300, 100);
    prog.press(300, 250);
    item(prog, "mnuCancelOp")->trigger();
    ASSERT_EQ(prog.doc().plan.lines.count(), 2);
    const auto last = coordinates(prog.doc().plan.lines[2]);
    EXPECT_FALSE(redo->isEnabled()) << "nothing undone yet";

    undo->trigger();
    ASSERT_EQ(prog.doc().plan.lines.count(), 1);
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(redo->text(), QStringLiteral("やり直し(部屋)"));
    redo->trigger();
    ASSERT_EQ(prog.doc().plan.lines.count(), 2);
    EXPECT_EQ(coordinates(prog.doc().plan.lines[2]), last);
    EXPECT_FALSE(redo->isEnabled()) << "the one undone wall is back";
    EXPECT_EQ(redo->text(), QStringLiteral("やり直し"));

    // A wall drawn after an undo ends the redo history: redo then changes nothing.
    undo->trigger();
    prog.press(500, 500);
    prog.press(600, 500);
    ASSERT_EQ(prog.doc().plan.lines.count(), 2);
    EXPECT_FALSE(redo->isEnabled());
    redo->trigger();
    EXPECT_EQ(prog.doc().plan.lines.count(), 2);

    // Task areas come back the same way, with their names and requirements.
    prog.p->frm.run([&] { prog.p->project.openPath(testsupport::binaryDir() + "/samples/task_areas.OLE"); });
    prog.click("imgArea");
    ASSERT_EQ(prog.doc().plan.areas.size(), 2u);
    const model::AreaRecord area = prog.doc().plan.areas.back();
    undo->trigger();
    ASSERT_EQ(prog.doc().plan.areas.size(), 1u);
    EXPECT_EQ(redo->text(), QStringLiteral("やり直し(作業領域)"));
    redo->trigger();
    ASSERT_EQ(prog.doc().plan.areas.size(), 2u);
    EXPECT_EQ(prog.doc().plan.areas.back().name, area.name);
    EXPECT_EQ(prog.doc().plan.areas.back().requiredLux, area.requiredLux);
}

TEST(WindowConveniences, ARedoAfterACalculationPutsTheFixtureBackAndMakesTheResultStale) {
    Program prog;
    prog.openSample();
    prog.click("imgKigu");
    const int fixtures = prog.doc().plan.kigu.count();
    ASSERT_GT(fixtures, 1);
    const model::KiguRecord last = prog.doc().plan.kigu[fixtures];
    const int placed = prog.p->touroku[last.typeIndex].placedCount;

    item(prog, "mnuUndo")->trigger();
    ASSERT_EQ(prog.doc().plan.kigu.count(), fixtures - 1);
    EXPECT_EQ(prog.p->touroku[last.typeIndex].placedCount, placed - 1);
    prog.calculate(&TfrmCalcStart::btnBunpu);
    ASSERT_TRUE(prog.doc().resultValid);
    EXPECT_TRUE(prog.menuEnabled("mnuRedo")) << "a calculation is no edit of the plan";

    item(prog, "mnuRedo")->trigger();
    ASSERT_EQ(prog.doc().plan.kigu.count(), fixtures);
    EXPECT_EQ(prog.doc().plan.kigu[fixtures].x, last.x);
    EXPECT_EQ(prog.doc().plan.kigu[fixtures].y, last.y);
    EXPECT_EQ(prog.p->touroku[last.typeIndex].placedCount, placed);
    EXPECT_FALSE(prog.doc().resultValid);
    EXPECT_FALSE(prog.menuEnabled("Print1")) << "the result was for the plan without the fixture";
    EXPECT_FALSE(prog.p->state.window.resultShown) << "the plan is drawn again with the fixture";
}

TEST(WindowConveniences, TheCommandsCarryTheirKeysAndTheKeysWork) {
    Program prog;
    const std::map<const char*, QList<QKeySequence>> keys = {
        {"New1", {QKeySequence(QStringLiteral("Ctrl+N"))}},
        {"Open1", {QKeySequence(QStringLiteral("Ctrl+O"))}},
        {"Save1", {QKeySequence(QStringLiteral("Ctrl+S"))}},
        {"SaveAs1", {QKeySequence(QStringLiteral("Ctrl+Shift+S"))}},
        {"Print1", {QKeySequence(QStringLiteral("Ctrl+P"))}},
        {"mnuUndo", {QKeySequence(QStringLiteral("Ctrl+Z"))}},
        {"mnuRedo", {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}},
        {"mnuCalcRun", {QKeySequence(QStringLiteral("F5"))}},
        {"mnuCancelOp", {QKeySequence(QStringLiteral("Esc"))}},
        {"mnuDeleteTool", {QKeySequence(QStringLiteral("Del"))}},
    };
    for (const auto& [name, expected] : keys) EXPECT_EQ(item(prog, name)->shortcuts(), expected) << name;

    prog.p->frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&prog.p->frm));
    prog.press(100, 100);
    prog.press(300, 100);
    QTest::keyClick(&prog.p->frm, Qt::Key_Escape);
    ASSERT_EQ(prog.doc().plan.lines.count(), 1);
    QTest::keyClick(&prog.p->frm, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(prog.doc().plan.lines.count(), 0) << "Ctrl+Z";
    QTest::keyClick(&prog.p->frm, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(prog.doc().plan.lines.count(), 1) << "Ctrl+Shift+Z";

    // Delete takes the delete tool of the target: segments for walls, fixtures for fixtures.
    QTest::keyClick(&prog.p->frm, Qt::Key_Delete);
    EXPECT_EQ(prog.p->state.window.toolCode, 'D');
    prog.click("imgKigu");
    prog.p->frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&prog.p->frm));
    QTest::keyClick(&prog.p->frm, Qt::Key_Delete);
    EXPECT_EQ(prog.p->state.window.editTarget, 'K');
    EXPECT_EQ(prog.p->state.window.toolCode, 'd');
}

TEST(WindowConveniences, TheTitleNamesTheProjectAndMarksUnsavedChanges) {
    Program prog;
    EXPECT_EQ(title(prog), QStringLiteral("ORDIVAN Ver 2.0  - 無題  (ZOLT LIGHTING CORP.)")) << "an empty plan has nothing to save";
    prog.openSample();
    EXPECT_EQ(title(prog), QStringLiteral("ORDIVAN Ver 2.0  - room_sample.OLE  (ZOLT LIGHTING CORP.)"));
    prog.press(100, 100);
    prog.press(300, 100);
    EXPECT_EQ(title(prog), QStringLiteral("ORDIVAN Ver 2.0  - *room_sample.OLE  (ZOLT LIGHTING CORP.)"));

    QTemporaryDir dir;
    prog.services.fileAnswers.push_back(dir.filePath(QStringLiteral("saved.OLE")).toStdString());
    item(prog, "SaveAs1")->trigger();
    EXPECT_EQ(title(prog), QStringLiteral("ORDIVAN Ver 2.0  - saved.OLE  (ZOLT LIGHTING CORP.)"));
    item(prog, "mnuUndo")->trigger();
    EXPECT_EQ(title(prog), QStringLiteral("ORDIVAN Ver 2.0  - *saved.OLE  (ZOLT LIGHTING CORP.)"));
    item(prog, "Save1")->trigger();
    EXPECT_EQ(title(prog), QStringLiteral("ORDIVAN Ver 2.0  - saved.OLE  (ZOLT LIGHTING CORP.)"));
}

TEST(WindowConveniences, TheRecentListKeepsTheLatestEightAndDropsAProjectThatHasGone) {
    QSettings().remove(QStringLiteral("recentProjects"));
    Program prog;
    QMenu* recent = prog.p->frm.findChild<QMenu*>(QStringLiteral("mnuRecent"));
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->menuAction()->isEnabled()) << "nothing opened yet";
    auto listed = [recent] {
        QStringList paths;
        for (QAction* a : recent->actions())
            if (a->isVisible()) paths << a->data().toString();
        return paths;
    };

    QTemporaryDir dir;
    const QString sample = QString::fromStdString(testsupport::binaryDir() + "/samples/room_sample.OLE");
    QStringList files;
    for (int i = 0; i < 10; ++i) {
        files << dir.filePath(QStringLiteral("p%1.OLE").arg(i));
        ASSERT_TRUE(QFile::copy(sample, files.back()));
    }
    auto open = [&prog](const QString& path) {
        prog.services.fileAnswers.push_back(path.toStdString());
        prog.p->frm.action("Open1")->trigger();
    };
    open(files[0]);
    open(files[1]);
    EXPECT_EQ(listed(), (QStringList{files[1], files[0]}));
    EXPECT_TRUE(recent->menuAction()->isEnabled());
    open(files[0]);
    EXPECT_EQ(listed(), (QStringList{files[0], files[1]})) << "a project is listed once, at the top";
    for (int i = 2; i < 10; ++i) open(files[i]);
    const QStringList latest{files[9], files[8], files[7], files[6], files[5], files[4], files[3], files[2]};
    EXPECT_EQ(listed(), latest);
    EXPECT_EQ(QSettings().value(QStringLiteral("recentProjects")).toStringList(), latest) << "kept for the next run";

    // Opening from the list; a project that has gone is reported as unreadable and leaves the list.
    recent->actions()[3]->trigger();
    EXPECT_EQ(prog.doc().currentFileName, files[6].toStdString());
    EXPECT_EQ(listed().first(), files[6]);
    ASSERT_TRUE(QFile::remove(files[8]));
    prog.services.messages.clear();
    for (QAction* a : recent->actions())
        if (a->data().toString() == files[8]) a->trigger();
    EXPECT_EQ(prog.services.allTexts(), std::vector<std::string>{ui::aboutFile("ファイルが読み込めません", files[8].toStdString())});
    EXPECT_FALSE(listed().contains(files[8]));
    EXPECT_EQ(listed().size(), 7);
    EXPECT_EQ(prog.doc().currentFileName, files[6].toStdString()) << "the open plan stays";
}

TEST(WindowConveniences, ThePreviewsShowTheSheetsAndThePdfOutputWritesTheSheet) {
    Program prog;
    prog.openSample();
    prog.click("imgKigu");
    prog.p->engine.frmKigu->imgMouseDown(1, false);  // the first type, whose curve is shown
    ASSERT_EQ(prog.doc().selectedType, 1);
    prog.calculate(&TfrmCalcStart::btnBunpu);
    ASSERT_TRUE(prog.menuEnabled("mnuPreview"));
    EXPECT_GE(previewPages([&] { item(prog, "mnuPreview")->trigger(); }), 1) << "the distribution sheet";
    EXPECT_GE(previewPages([&] { item(prog, "mnuListPreview")->trigger(); }), 1) << "the product list";
    item(prog, "mnuHaikou")->trigger();
    print::forms::TfrmCD* curve = prog.p->engine.frmCD;
    ASSERT_TRUE(curve->isVisible());
    EXPECT_GE(previewPages([curve] { curve->btnPreview->click(); }), 1) << "the curve sheet";

    QTemporaryDir dir;
    const std::string pdf = dir.filePath(QStringLiteral("sheet.pdf")).toStdString();
    prog.services.pdfJobFactory = ui::qt::openPdfJob;
    prog.services.fileAnswers.push_back(pdf);
    item(prog, "mnuPdf")->trigger();
    ASSERT_EQ(prog.services.saveRequests.size(), 1u);
    EXPECT_EQ(prog.services.saveRequests[0].defaultExtension, "pdf");
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 '" + pdf + "' '" + pdf + ".txt'").c_str()), 0);
    QFile text(QString::fromStdString(pdf + ".txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QString sheet = QString::fromUtf8(text.readAll());
    EXPECT_TRUE(sheet.contains(QStringLiteral("照度分布図"))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("DL-1000"))) << sheet.toStdString();

    // A plan with task areas: the preview and the PDF carry the area table on a second page.
    prog.p->frm.run([&] { prog.p->project.openPath(testsupport::binaryDir() + "/samples/task_areas.OLE"); });
    prog.calculate(&TfrmCalcStart::btnBunpu);
    ASSERT_TRUE(prog.doc().resultValid);
    EXPECT_EQ(previewPages([&] { item(prog, "mnuPreview")->trigger(); }), 2);
    const std::string areasPdf = dir.filePath(QStringLiteral("areas.pdf")).toStdString();
    prog.services.fileAnswers.push_back(areasPdf);
    item(prog, "mnuPdf")->trigger();
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 -f 2 -l 2 '" + areasPdf + "' '" + areasPdf + ".txt'").c_str()), 0);
    QFile areas(QString::fromStdString(areasPdf + ".txt"));
    ASSERT_TRUE(areas.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(areas.readAll()).contains(QStringLiteral("窓際デスク")));

    // A file that cannot be written is reported, not passed over.
    prog.services.messages.clear();
    const std::string unwritable = dir.filePath(QStringLiteral("no/such/folder/sheet.pdf")).toStdString();
    prog.services.fileAnswers.push_back(unwritable);
    item(prog, "mnuPdf")->trigger();
    EXPECT_EQ(prog.services.allTexts(), std::vector<std::string>{ui::aboutFile("ファイルに書き込みできません", unwritable)});
}

} // namespace
