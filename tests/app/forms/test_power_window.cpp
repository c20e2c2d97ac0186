// The 器具・電力 window in the real program: a power typed in the registration window totals over the
// placed luminaires, and over the floor once a calculation measured it.
#include "app/forms/RealProgram.h"
#include "calc/forms/TfrmCalcStart.h"
#include "catalog/forms/TfrmKigu.h"
#include "view/forms/TfrmPower.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

namespace {

using testsupport::Program;

TEST(PowerWindow, ATypedPowerTotalsOverTheLuminairesAndTheMeasuredFloor) {
    Program prog;
    prog.openSample();
    catalog::forms::TfrmKigu* kigu = prog.p->engine.frmKigu;
    kigu->refresh(0);
    QLineEdit* watt = kigu->rows[0].txtWatt;
    watt->setText(QStringLiteral("12.5"));
    QTest::keyClick(watt, Qt::Key_Return);
    ASSERT_FLOAT_EQ(prog.p->touroku[1].watts, 12.5f);

    view::forms::TfrmPower* power = prog.p->engine.frmPower;
    prog.p->frm.action("mnuPowerTable")->trigger();
    ASSERT_TRUE(power->isVisible());
    const QTableWidget* g = power->grdPower;
    ASSERT_GE(g->rowCount(), 1);
    const int placed = prog.p->touroku[1].placedCount;
    ASSERT_GT(placed, 0);
    EXPECT_EQ(g->item(0, 1)->text(), QStringLiteral("DL-1000"));
    EXPECT_EQ(g->item(0, 2)->text().toInt(), placed);
    EXPECT_EQ(g->item(0, 5)->text().toDouble(), 12.5 * placed);
    // No result yet: no floor to spread the watts over.
    EXPECT_TRUE(power->labTotal->text().contains(QStringLiteral("- W/m²"))) << power->labTotal->text().toStdString();

    // Another power while the window is shown refills it; the calculation gives the floor.
    watt->setText(QStringLiteral("10"));
    QTest::keyClick(watt, Qt::Key_Return);
    EXPECT_EQ(g->item(0, 5)->text().toDouble(), 10.0 * placed);
    prog.calculate(&calc::forms::TfrmCalcStart::btnBunpu);
    const double floorArea = prog.p->state.stats.room.floorArea;
    ASSERT_GT(floorArea, 1.0);
    double total = 0;
    for (int r = 0; r < g->rowCount(); ++r) total += g->item(r, 5)->text() == QStringLiteral("-") ? 0 : g->item(r, 5)->text().toDouble();
    const QString perArea = QString::number(total / floorArea, 'f', 2) + QStringLiteral(" W/m²");
    EXPECT_TRUE(power->labTotal->text().contains(perArea)) << power->labTotal->text().toStdString() << " " << perArea.toStdString();
}

} // namespace
