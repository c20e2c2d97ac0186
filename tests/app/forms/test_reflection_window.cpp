// Inter-reflections in the real main window: the settings dialog from the options menu, what its OK and its
// Escape leave in the plan, the start dialog's line, and the split averages of a result with reflections.
#include "app/forms/RealProgram.h"
#include "calc/SettingsDialogs.h"
#include "calc/forms/TfrmCalcStart.h"
#include "calc/forms/TfrmHansya.h"
#include "view/forms/TfrmAreaTable.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

namespace {

using testsupport::Program;

// Opens "相互反射の設定..." and hands the dialog to `act` while it is shown.
void withRoomDialog(Program& prog, std::function<void(calc::forms::TfrmHansya*)> act) {
    testsupport::whenModal([act](QWidget* w) {
        auto* dialog = qobject_cast<calc::forms::TfrmHansya*>(w);
        ASSERT_NE(dialog, nullptr) << "the inter-reflection dialog";
        QApplication::setActiveWindow(dialog);
        act(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    prog.p->frm.action("mnuHansya")->trigger();
}

TEST(ReflectionWindow, TheDialogStoresTheTypedRoomAsAChangeAndEscapeOrARefusalLeavesThePlanAlone) {
    Program prog;
    prog.openSample();
    ASSERT_FALSE(prog.p->frm.isWindowModified());
    EXPECT_EQ(prog.p->frm.action("mnuHansya")->text(), QStringLiteral("相互反射の設定..."));

    // The defaults as the plan has them; Tab walks from the check box to the first height; Escape cancels.
    withRoomDialog(prog, [](calc::forms::TfrmHansya* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("相互反射の設定"));
        EXPECT_FALSE(d->cboxHansya->isChecked());
        EXPECT_EQ(d->txtRoomHeight->text(), QString());
        EXPECT_EQ(d->txtWorkPlane->text(), QStringLiteral("800"));
        EXPECT_EQ((QStringList{d->txtCeiling->text(), d->txtWalls->text(), d->txtFloor->text()}),
                  (QStringList{"70", "50", "20"}));
        EXPECT_EQ(d->cmbPreset->currentText(), QStringLiteral("70/50/20"));
        d->cboxHansya->setFocus();
        QTest::keyClick(d->cboxHansya, Qt::Key_Space);
        QTest::keyClick(d->cboxHansya, Qt::Key_Tab);
        EXPECT_TRUE(d->txtRoomHeight->hasFocus());
        d->cboxHansya->setFocus();
        QTest::keyClick(d->cboxHansya, Qt::Key_Escape);
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_FALSE(prog.doc().plan.room.stored || prog.doc().plan.room.on);
    EXPECT_FALSE(prog.p->frm.isWindowModified());

    // A work plane at the ceiling is refused and the dialog stays; a preset fills the three reflectances.
    std::vector<std::string> refusals;
    withRoomDialog(prog, [&prog, &refusals](calc::forms::TfrmHansya* d) {
        d->cboxHansya->setChecked(true);
        d->txtRoomHeight->setText(QStringLiteral("2700"));
        d->txtWorkPlane->setText(QStringLiteral("2700"));
        d->btnOK->click();
        ASSERT_TRUE(d->isVisible());
        EXPECT_TRUE(d->txtWorkPlane->hasFocus());
        d->txtWorkPlane->setText(QStringLiteral("750"));
        d->txtFloor->setText(QStringLiteral("96"));
        d->btnOK->click();
        ASSERT_TRUE(d->isVisible());
        for (const auto& m : prog.services.messages) refusals.push_back(m.title + " " + m.text);
        EXPECT_FALSE(prog.doc().plan.room.stored) << "nothing is kept from a refused OK";
        d->cmbPreset->setCurrentIndex(1);
        emit d->cmbPreset->activated(1);
        EXPECT_EQ((QStringList{d->txtCeiling->text(), d->txtWalls->text(), d->txtFloor->text()}),
                  (QStringList{"80", "50", "30"}));
        d->btnOK->click();
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(refusals, (std::vector<std::string>{std::string("入力エラー ") + calc::kMsgWorkPlane,
                                                  std::string("入力エラー ") + calc::kMsgReflectance}));
    const model::RoomRecord& r = prog.doc().plan.room;
    EXPECT_TRUE(r.stored && r.on);
    EXPECT_EQ((std::array<int, 2>{r.roomHeight, r.workPlaneHeight}), (std::array<int, 2>{2700, 750}));
    EXPECT_EQ((std::array<float, 3>{r.ceiling, r.walls, r.floor}), (std::array<float, 3>{0.8f, 0.5f, 0.3f}));
    EXPECT_TRUE(prog.p->frm.isWindowModified()) << "the title's *";
    EXPECT_FALSE(prog.doc().resultValid);

    // Shown again, the dialog holds what was stored.
    withRoomDialog(prog, [](calc::forms::TfrmHansya* d) {
        EXPECT_TRUE(d->cboxHansya->isChecked());
        EXPECT_EQ(d->txtRoomHeight->text(), QStringLiteral("2700"));
        EXPECT_EQ(d->cmbPreset->currentText(), QStringLiteral("80/50/30"));
    });
}

// OK with reflections on and the three reflectances typed.
void setRoom(Program& prog, const char* ceiling, const char* walls, const char* floor) {
    withRoomDialog(prog, [&](calc::forms::TfrmHansya* d) {
        d->cboxHansya->setChecked(true);
        d->txtCeiling->setText(QString::fromLatin1(ceiling));
        d->txtWalls->setText(QString::fromLatin1(walls));
        d->txtFloor->setText(QString::fromLatin1(floor));
        d->btnOK->click();
        EXPECT_FALSE(d->isVisible());
    });
}

TEST(ReflectionWindow, EachRoomSettingIsOneUndoStepAndOneRedoStepAndLeavesTheWallsAlone) {
    Program prog;
    prog.openSample();
    const int walls = prog.doc().plan.lines.count();
    auto ceiling = [&prog] { return prog.doc().plan.room.ceiling; };
    auto step = [&prog](const char* item) {
        QAction* a = prog.p->frm.action(item);
        ASSERT_TRUE(a->isEnabled()) << item;
        a->trigger();
    };
    setRoom(prog, "80", "50", "30");
    setRoom(prog, "30", "30", "10");
    ASSERT_FLOAT_EQ(ceiling(), 0.3f);
    EXPECT_EQ(prog.p->frm.action("mnuUndo")->text(), QStringLiteral("１つ戻す(編集)"));

    step("mnuUndo");
    EXPECT_FLOAT_EQ(ceiling(), 0.8f);
    EXPECT_TRUE(prog.doc().plan.room.on);
    step("mnuUndo");
    EXPECT_TRUE(prog.doc().plan.room == model::RoomRecord{}) << "back to a plan that never set its room";
    EXPECT_EQ(prog.doc().plan.lines.count(), walls) << "undoing the room takes no wall with it";

    step("mnuRedo");
    EXPECT_FLOAT_EQ(ceiling(), 0.8f);
    EXPECT_TRUE(prog.doc().plan.room.stored);
    step("mnuRedo");
    EXPECT_FLOAT_EQ(ceiling(), 0.3f);
    EXPECT_FALSE(prog.p->frm.action("mnuRedo")->isEnabled());

    // OK on what the plan already has is no step: undo takes back the 30/30/10 setting.
    setRoom(prog, "30", "30", "10");
    step("mnuUndo");
    EXPECT_FLOAT_EQ(ceiling(), 0.8f);
    EXPECT_EQ(prog.doc().plan.lines.count(), walls);
}

// "計算の実行" through the start dialog; the dialog's reflection line is kept in `line`.
void calculateReadingTheLine(Program& prog, QString* line) {
    testsupport::whenModal([line](QWidget* w) {
        auto* start = qobject_cast<calc::forms::TfrmCalcStart*>(w);
        ASSERT_NE(start, nullptr);
        *line = start->labHansya->text();
        start->btnBunpu->click();
    });
    prog.p->frm.action("mnuCalcRun")->trigger();
}

TEST(ReflectionWindow, OnlyAResultWithReflectionsSplitsTheAverageInTheStatusPanelAndTheAreaTable) {
    Program prog;
    prog.p->frm.run([&] { prog.p->project.openPath(testsupport::binaryDir() + "/samples/task_areas.OLE"); });
    QString line;
    calculateReadingTheLine(prog, &line);
    EXPECT_EQ(line, QStringLiteral("相互反射：計算しない"));
    ASSERT_TRUE(prog.doc().resultValid);
    EXPECT_FALSE(prog.p->frm.labHansya->isVisible());
    QTableWidget* table = prog.p->engine.frmAreaTable->grdArea;
    ASSERT_GT(table->rowCount(), 0);
    EXPECT_EQ(table->columnCount(), 9);
    const long long directOnly = table->item(0, 1)->text().toLongLong();

    withRoomDialog(prog, [](calc::forms::TfrmHansya* d) {
        d->cboxHansya->setChecked(true);
        d->btnOK->click();
    });
    calculateReadingTheLine(prog, &line);
    EXPECT_EQ(line, QStringLiteral("相互反射：計算する（天井70%・壁50%・床20%）"));
    ASSERT_TRUE(prog.doc().resultValid);
    EXPECT_TRUE(prog.p->frm.labHansya->isVisible());
    EXPECT_TRUE(prog.p->frm.labHansya->text().startsWith(QStringLiteral("平均照度 : "))) << prog.p->frm.labHansya->text().toStdString();
    EXPECT_TRUE(prog.p->frm.labHansya->text().contains(QStringLiteral("＋相互反射 ")));
    ASSERT_EQ(table->columnCount(), 11);
    EXPECT_EQ(table->horizontalHeaderItem(2)->text(), QStringLiteral("直接(Lx)"));
    EXPECT_EQ(table->horizontalHeaderItem(3)->text(), QStringLiteral("相互反射(Lx)"));
    EXPECT_EQ(table->horizontalHeaderItem(10)->text(), QStringLiteral("合否"));
    const long long total = table->item(0, 1)->text().toLongLong(), direct = table->item(0, 2)->text().toLongLong(),
                    reflected = table->item(0, 3)->text().toLongLong();
    EXPECT_NEAR(static_cast<double>(direct), static_cast<double>(directOnly), 1.0) << "the direct part is the run without";
    EXPECT_GT(reflected, 0);
    EXPECT_NEAR(static_cast<double>(direct + reflected), static_cast<double>(total), 1.0);
}

} // namespace
