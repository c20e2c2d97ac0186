// Task areas in the real main window: drawn with the palette tool and named in its dialog, undone and
// deleted like other items, outlined on the plan, and tabled with pass or fail after a calculation.
#include "app/forms/RealProgram.h"
#include "calc/forms/TfrmCalcStart.h"
#include "editor/forms/TfrmTaskArea.h"
#include "view/forms/TfrmAreaTable.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {

using testsupport::Program;

// Answers the task-area dialog with the given texts; a refused answer leaves it open for the next one.
void answerTaskArea(std::vector<std::array<const char*, 3>> answers, std::vector<std::string>* refusals, Program* prog) {
    testsupport::whenModal([answers, refusals, prog](QWidget* w) {
        auto* dialog = qobject_cast<editor::forms::TfrmTaskArea*>(w);
        ASSERT_NE(dialog, nullptr) << "the task-area dialog";
        for (const auto& a : answers) {
            const std::size_t before = prog->services.messages.size();
            dialog->txtName->setText(QString::fromUtf8(a[0]));
            dialog->txtLux->setText(QString::fromUtf8(a[1]));
            dialog->txtU0->setText(QString::fromUtf8(a[2]));
            dialog->btnOK->click();
            if (prog->services.messages.size() > before) refusals->push_back(prog->services.messages.back().text);
        }
        if (dialog->isVisible()) dialog->btnCancel->click();
    });
}

TEST(TaskAreaWindow, AnAreaIsDrawnNamedUndoneDeletedAndTabledAfterACalculation) {
    Program prog;
    prog.openSample();  // 10 mm a pixel
    prog.click("imgArea");
    EXPECT_EQ(prog.p->frm.action("mnuUndo")->text(), QStringLiteral("１つ戻す(作業領域)"));

    // A uniformity past 1 is refused and the dialog stays open for the corrected one.
    std::vector<std::string> refusals;
    answerTaskArea({{"机A", "150", "1.5"}, {"机A", "150", "0.5"}}, &refusals, &prog);
    prog.press(600, 450);
    prog.press(200, 180);
    ASSERT_EQ(refusals, std::vector<std::string>{"均斉度は 0 から 1 までの数で入力して下さい"});
    ASSERT_EQ(prog.doc().plan.areas.size(), 1u);
    const model::AreaRecord desk = prog.doc().plan.areas[0];
    EXPECT_EQ(desk.name, "机A");
    EXPECT_EQ((std::array<int, 4>{desk.x1, desk.y1, desk.x2, desk.y2}), (std::array<int, 4>{200, 180, 600, 450}));
    EXPECT_EQ(desk.requiredLux, 150);
    EXPECT_FLOAT_EQ(desk.requiredUniformity, 0.5f);
    EXPECT_EQ(prog.surface().pixel(400, 450), (ui::Color{0, 0, 160})) << "the outline is on the plan";

    // Cancelled: nothing is added. Undo takes back the last area, the walls stay.
    answerTaskArea({}, &refusals, &prog);
    prog.press(800, 600);
    prog.press(1200, 850);
    EXPECT_EQ(prog.doc().plan.areas.size(), 1u);
    answerTaskArea({{"窓際デスク", "300", "0.6"}}, &refusals, &prog);
    prog.press(760, 560);
    prog.press(1250, 860);
    ASSERT_EQ(prog.doc().plan.areas.size(), 2u);
    const int walls = prog.doc().plan.lines.count();
    prog.p->frm.action("mnuUndo")->trigger();
    ASSERT_EQ(prog.doc().plan.areas.size(), 1u);
    EXPECT_EQ(prog.doc().plan.areas[0].name, "机A");
    EXPECT_EQ(prog.doc().plan.lines.count(), walls);
    prog.click("imgLine");
    EXPECT_EQ(prog.p->frm.action("mnuUndo")->text(), QStringLiteral("１つ戻す(部屋)"));
    prog.click("imgArea");

    // After the calculation the table shows the area with its mark and says only calculated points count.
    prog.calculate(&calc::forms::TfrmCalcStart::btnBunpu);
    view::forms::TfrmAreaTable* table = prog.p->engine.frmAreaTable;
    ASSERT_TRUE(table->isVisible());
    ASSERT_EQ(table->grdArea->rowCount(), 1);
    EXPECT_EQ(table->grdArea->item(0, 0)->text(), QStringLiteral("机A"));
    ASSERT_EQ(prog.p->state.stats.areas.size(), 1u);
    const calc::AreaFigures& f = prog.p->state.stats.areas[0];
    EXPECT_EQ(table->grdArea->item(0, 1)->text().toLongLong(), static_cast<long long>(f.averageLux));
    EXPECT_EQ(table->grdArea->item(0, 8)->text(), f.pass ? QStringLiteral("○ 合格") : QStringLiteral("× 不合格"));
    EXPECT_TRUE(f.averageLux > 100 && f.points > 0);
    EXPECT_TRUE(table->labNote->isVisible());
    EXPECT_TRUE(table->labNote->text().contains(QStringLiteral("計算間隔 3")));
    prog.shoot(QStringLiteral("task_area_table"), table);
    prog.shoot(QStringLiteral("main_task_areas"));

    // The delete tool takes the areas whose centres it catches.
    prog.p->frm.action("mnuRedraw")->trigger();
    EXPECT_FALSE(table->isVisible()) << "back at the plan the table of the last result goes";
    prog.click("imgDelArea");
    prog.press(300, 250);
    prog.press(500, 400);
    EXPECT_TRUE(prog.doc().plan.areas.empty());
}

} // namespace
