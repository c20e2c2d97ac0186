// The plan view in the real main window: zoom about the pointer, panning, clicks and snapping at a zoom,
// "全体表示", and the status panel's read-out in mm while a wall is drawn.
#include "app/forms/RealProgram.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

using testsupport::Program;

struct View {
    Program& prog;
    app::forms::PlanView* box() { return prog.p->frm.ScrollBox1; }
    app::forms::PlanImage* image() { return prog.p->frm.Image1; }
    QPoint scroll() { return QPoint(box()->horizontalScrollBar()->value(), box()->verticalScrollBar()->value()); }
    // A point of the visible plan area as a point of the image under it.
    QPointF onImage(QPointF inView) { return image()->mapFrom(box()->viewport(), inView); }
    // The plan point (in plan pixels, not rounded) under a point of the visible area.
    QPointF planUnder(QPointF inView) { return onImage(inView) / box()->zoom(); }

    void mouse(QEvent::Type type, QPointF inView, Qt::MouseButton button, Qt::MouseButtons held) {
        const QPointF at = onImage(inView);
        QMouseEvent e(type, at, image()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(image(), &e);
    }
    void click(QPointF inView) { mouse(QEvent::MouseButtonPress, inView, Qt::LeftButton, Qt::LeftButton); }
    void move(QPointF inView) { mouse(QEvent::MouseMove, inView, Qt::NoButton, Qt::NoButton); }
    void middleDrag(QPointF from, QPointF to) {
        mouse(QEvent::MouseButtonPress, from, Qt::MiddleButton, Qt::MiddleButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::MiddleButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::MiddleButton, Qt::NoButton);
    }
    // The wheel over the plan; it reaches the view through the image, as the pointer's wheel does.
    void wheel(QPointF inView, int notches, Qt::KeyboardModifiers modifiers) {
        const QPointF at = onImage(inView);
        QWheelEvent e(at, image()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(image(), &e);
    }
};

const model::LineRecord& wall(Program& prog, int i) { return prog.doc().plan.lines[i]; }

TEST(PlanView, ClicksAtTwiceTheSizeAfterAPanStoreThePlanPixelsUnderThePointerAndSnapWithinTenScreenPixels) {
    Program prog;
    View v{prog};
    v.wheel(QPointF(400, 300), 2, Qt::ControlModifier);  // 100 % -> 150 % -> 200 %
    ASSERT_DOUBLE_EQ(v.box()->zoom(), 2.0);
    EXPECT_DOUBLE_EQ(prog.p->state.window.zoom, 2.0) << "the editor measures the pointer's reach at this zoom";
    EXPECT_EQ(v.scroll(), QPoint(400, 300)) << "the plan point (400, 300) stayed under the pointer";
    v.middleDrag(QPointF(600, 400), QPointF(500, 350));
    ASSERT_EQ(v.scroll(), QPoint(500, 350)) << "the plan followed the middle button";

    // On the image the two clicks are at (801, 551) and (1111, 551): plan pixels (400, 275) and (555, 275).
    v.click(QPointF(301, 201));
    v.click(QPointF(611, 201));
    ASSERT_EQ(prog.doc().plan.lines.count(), 1);
    EXPECT_EQ(wall(prog, 1).x1, 400);
    EXPECT_EQ(wall(prog, 1).y1, 275);
    EXPECT_EQ(wall(prog, 1).x2, 555);
    EXPECT_EQ(wall(prog, 1).y2, 275);

    // End-point snapping reaches 10 screen pixels, which are 5 plan pixels here.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&prog.p->frm, &escape);
    prog.click("imgEdge");
    // (555, 275) covers image columns 1110 and 1111, (400, 275) columns 800 and 801.
    v.click(QPointF(618, 201));  // column 1118: plan 559, 4 plan pixels off: caught
    v.click(QPointF(312, 201));  // column 812: plan 406, 6 off, which 1:1 would catch
    EXPECT_EQ(prog.doc().plan.lines.count(), 1) << "too far on the screen";
    v.click(QPointF(308, 201));  // column 808: plan 404: caught
    ASSERT_EQ(prog.doc().plan.lines.count(), 2);
    EXPECT_EQ(wall(prog, 2).x1, 555);
    EXPECT_EQ(wall(prog, 2).x2, 400);
    EXPECT_EQ(wall(prog, 2).y2, 275);
}

TEST(PlanView, CtrlWheelZoomsAboutThePointerWithinItsLimitsAndFitShowsTheWholePlan) {
    Program prog;
    View v{prog};
    const QPointF pointer(523, 317);
    for (const auto& [notches, zoom] : {std::pair{1, 1.5}, {1, 2.0}, {20, 8.0}, {-3, 3.0}, {-40, 0.25}}) {
        const QPointF before = v.planUnder(pointer);
        v.wheel(pointer, notches, Qt::ControlModifier);
        ASSERT_DOUBLE_EQ(v.box()->zoom(), zoom) << notches;
        const QPointF under = v.planUnder(pointer);
        if (v.image()->width() > v.box()->viewport()->width()) {  // a smaller image cannot move under the pointer
            EXPECT_LE(std::abs(under.x() - before.x()) * zoom, 1.0) << "within a screen pixel at " << zoom;
            EXPECT_LE(std::abs(under.y() - before.y()) * zoom, 1.0) << "within a screen pixel at " << zoom;
        }
    }
    // Without Ctrl the wheel pans.
    v.box()->zoomAbout(2.0, QPointF(0, 0));
    const QPoint scrolled = v.scroll();
    v.wheel(pointer, -1, Qt::NoModifier);
    EXPECT_EQ(v.scroll(), scrolled + QPoint(0, 60)) << "one notch down moves the plan up";
    EXPECT_DOUBLE_EQ(v.box()->zoom(), 2.0);

    prog.p->frm.action("mnuZoomFit")->trigger();
    const QSize view = v.box()->viewport()->size();
    EXPECT_EQ(v.scroll(), QPoint(0, 0));
    EXPECT_LE(v.image()->width(), view.width());
    EXPECT_LE(v.image()->height(), view.height());
    EXPECT_TRUE(v.image()->width() >= view.width() - 1 || v.image()->height() >= view.height() - 1) << "and no smaller";
    const double fitted = v.box()->zoom();
    EXPECT_DOUBLE_EQ(prog.p->state.window.zoom, fitted);
    prog.p->frm.action("mnuZoomIn")->trigger();
    EXPECT_GT(v.box()->zoom(), fitted);
    EXPECT_DOUBLE_EQ(prog.p->state.window.zoom, v.box()->zoom());
}

TEST(PlanView, TheStatusPanelReadsThePointerAndTheWallBeingDrawnInMillimetres) {
    Program prog;
    prog.openSample();
    ASSERT_FLOAT_EQ(prog.doc().plan.mmPerPixel, 10.0f) << "the sample's scale";
    View v{prog};
    v.box()->zoomAbout(2.0, QPointF(0, 0));
    ASSERT_EQ(v.scroll(), QPoint(0, 0));
    QLabel* readout = prog.p->frm.labPointerMm;

    v.move(QPointF(661, 321));  // plan pixel (330, 160)
    EXPECT_EQ(readout->text(), QStringLiteral("X: 3300 mm  Y: 1600 mm"));

    v.click(QPointF(600, 400));  // the wall starts at (300, 200), inside the room
    v.move(QPointF(661, 321));   // 30 right, 40 up
    EXPECT_EQ(readout->text(), QStringLiteral("X: 3300 mm  Y: 1600 mm  長さ: 500 mm  角度: 53.1°"));
    v.move(QPointF(600, 600));   // straight down to (300, 300)
    EXPECT_EQ(readout->text(), QStringLiteral("X: 3000 mm  Y: 3000 mm  長さ: 1000 mm  角度: 270.0°"));

    // The rubber band is drawn into the plan at 1:1 and shown at twice the size: the XOR green over
    // white shows on the screen halfway down the band, two screen pixels wide.
    const QImage shown = v.image()->grab(QRect(598, 500, 6, 1)).toImage();
    const QColor band(255, 127, 255);
    EXPECT_NE(shown.pixelColor(1, 0), band);
    EXPECT_EQ(shown.pixelColor(2, 0), band);
    EXPECT_EQ(shown.pixelColor(3, 0), band);
    EXPECT_NE(shown.pixelColor(4, 0), band);

    v.click(QPointF(600, 600));
    EXPECT_EQ(readout->text(), QStringLiteral("X: 3000 mm  Y: 3000 mm")) << "the wall is stored; nothing is measured yet";
}

// The picture of a magnified plan for the documentation (kept with ORDIVAN_SCREENSHOT_DIR set): the
// sample at 200 % about its inner wall, a round pillar and a fixture set lower, with a wall being drawn.
TEST(WindowPictures, AMagnifiedPlanShowsEveryPlanPixelAsABlock) {
    Program prog;
    prog.openSample();
    View v{prog};
    v.box()->zoomAbout(2.0, QPointF(0, 0));
    v.box()->panBy(-QPoint(2 * 560, 2 * 440));
    ASSERT_EQ(v.scroll(), QPoint(1120, 880));
    // The sample's inner wall runs down x = 700 to y = 500: two screen columns wide at 200 %.
    const QImage wall = v.image()->grab(QRect(1394, 900, 12, 1)).toImage();
    for (int x = 0; x < wall.width(); ++x)
        EXPECT_EQ(wall.pixelColor(x, 0) == QColor(Qt::black), x == 6 || x == 7) << x;

    prog.click("imgEdge");
    v.click(QPointF(2 * 700 + 3, 2 * 500 + 3) - QPointF(v.scroll()));  // on the inner wall's end
    v.move(QPointF(2 * 1000, 2 * 600) - QPointF(v.scroll()));
    EXPECT_EQ(prog.p->frm.labPointerMm->text(), QStringLiteral("X: 10000 mm  Y: 6000 mm  長さ: 3162 mm  角度: 341.6°"));
    prog.shoot(QStringLiteral("main_zoomed_plan"));
}

} // namespace
