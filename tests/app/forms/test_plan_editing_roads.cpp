// Roads a user takes while drawing and opening plans in the real main window: ending a wall chain, a
// palette that stays put, and the background a newly opened plan is drawn on.
#include "app/forms/RealProgram.h"
#include "catalog/forms/TfrmKigu.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QRadioButton>

namespace {

using testsupport::Program;

// The colour of the floor picture, found nowhere in a plan drawn on white.
constexpr ui::Color kFloorColour{123, 45, 67};

int wallCount(Program& prog) { return prog.doc().plan.lines.count(); }

void pressEscape(Program& prog) {
    QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&prog.p->frm, &e);
}

TEST(PlanEditingRoads, AChainEndsWithItsTool) {
    Program prog;
    prog.press(100, 100);
    prog.press(200, 100);
    ASSERT_EQ(wallCount(prog), 1);
    // A new tool starts at its own first click, not at the end of the old chain.
    prog.click("imgL");
    prog.press(200, 300);
    EXPECT_EQ(wallCount(prog), 1) << "the first click of the new tool only anchors it";
    prog.press(300, 300);
    EXPECT_EQ(wallCount(prog), 2);
}

TEST(PlanEditingRoads, EscapeDropsTheLineOrArcBeingDrawn) {
    Program prog;
    prog.press(100, 100);
    prog.press(200, 100);
    ASSERT_EQ(wallCount(prog), 1);
    pressEscape(prog);
    prog.press(200, 300);
    EXPECT_EQ(wallCount(prog), 1) << "Escape ended the chain";

    // An arc whose chord is fixed: after Escape the next click begins a new chord.
    prog.click("imgArc");
    prog.press(100, 500);
    prog.press(200, 500);
    pressEscape(prog);
    prog.press(150, 450);
    EXPECT_EQ(wallCount(prog), 1) << "no arc after Escape";
}

TEST(PlanEditingRoads, ThePaletteStaysPutWhenTheLineOrGridToolShowsItsInputChoice) {
    Program prog;
    prog.openSample();
    prog.click("imgKigu");
    prog.p->engine.frmKigu->imgMouseDown(1, false);
    ASSERT_EQ(prog.doc().selectedType, 1);
    QApplication::processEvents();
    auto at = [&](const char* name) { return prog.p->frm.button(name)->mapTo(&prog.p->frm, QPoint(0, 0)); };
    const QPoint snap = at("imgGrid");
    for (const char* tool : {"imgKigu2", "imgKigu3"}) {
        prog.click(tool);
        ASSERT_TRUE(prog.p->frm.rbtnPitch->isVisible()) << tool;
        QApplication::processEvents();
        EXPECT_EQ(at("imgGrid"), snap) << tool;
    }
}

TEST(PlanEditingRoads, TheRegistrationAndStartWindowsOpenOverThePlanWhereTheyOpenedBefore) {
    Program prog;
    prog.openSample();
    prog.click("imgKigu");
    QWidget* kigu = prog.p->engine.frmKigu;
    ASSERT_TRUE(kigu->isVisible());
    const QRect area = prog.p->frm.planAreaOnScreen();
    EXPECT_TRUE(area.contains(kigu->frameGeometry())) << "clear of the palette and the status panel, on the screen";

    QList<QRect> starts;
    for (int i = 0; i < 2; ++i) {
        testsupport::whenModal([&starts](QWidget* w) {
            starts << w->frameGeometry();
            w->close();
        });
        prog.p->frm.action("mnuCalcRun")->trigger();
    }
    ASSERT_EQ(starts.size(), 2);
    EXPECT_EQ(starts[0], starts[1]) << "the start dialog opens where it opened before";
    EXPECT_TRUE(area.contains(starts[0]));
}

TEST(PlanEditingRoads, AnOpenedPlanIsDrawnWithoutTheBackgroundOfThePlanBefore) {
    Program prog;
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("floor.bmp"));
    QImage floor(300, 200, QImage::Format_RGB32);
    floor.fill(QColor(123, 45, 67));
    ASSERT_TRUE(floor.save(picture));
    prog.services.fileAnswers.push_back(picture.toStdString());
    prog.p->frm.action("mnuLoadBMP")->trigger();
    ASSERT_GT(prog.countPixels(kFloorColour), 1000) << "the bitmap background is shown";

    prog.services.fileAnswers.push_back(testsupport::binaryDir() + "/samples/room_sample.OLE");
    prog.p->frm.action("Open1")->trigger();
    ASSERT_GT(prog.doc().plan.lines.count(), 0) << "the sample was opened";
    EXPECT_EQ(prog.countPixels(kFloorColour), 0) << "no trace of the old background";
    EXPECT_FALSE(prog.menuEnabled("mnuDelHaikei")) << "no background left to delete";
}

} // namespace
