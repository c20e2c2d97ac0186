// Editing what is drawn in the real main window: the selection tool, its moves, copies, turns, mirrors and
// deletions with their undo and redo, and an architect's DXF layers made into walls, checked in saved files.
#include "app/forms/RealProgram.h"
#include "catalog/forms/TfrmKigu.h"
#include "editor/forms/TfrmLen.h"
#include "editor/forms/TfrmSelectionEdits.h"
#include "io/forms/TfrmDxfWalls.h"
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using testsupport::Program;

void mouse(Program& prog, QEvent::Type type, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QPointF at(x, y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::LeftButton;
    QMouseEvent e(type, at, prog.p->frm.Image1->mapToGlobal(at), button, held, mods);
    QApplication::sendEvent(prog.p->frm.Image1, &e);
}

void clickAt(Program& prog, int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    mouse(prog, QEvent::MouseButtonPress, x, y, mods);
    mouse(prog, QEvent::MouseButtonRelease, x, y, mods);
}

void dragFromTo(Program& prog, int x0, int y0, int x1, int y1, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    mouse(prog, QEvent::MouseButtonPress, x0, y0, mods);
    mouse(prog, QEvent::MouseMove, (x0 + x1) / 2, (y0 + y1) / 2, mods);
    mouse(prog, QEvent::MouseMove, x1, y1, mods);
    mouse(prog, QEvent::MouseButtonRelease, x1, y1, mods);
}

void trigger(Program& prog, const char* name) {
    QAction* a = prog.p->frm.action(name);
    ASSERT_NE(a, nullptr) << name;
    ASSERT_TRUE(a->isEnabled()) << name;
    a->trigger();
}

QString shown(Program& prog, const char* label) { return prog.p->frm.findChild<QLabel*>(QString::fromLatin1(label))->text(); }

// The records of one section of a saved project, one a line, as the file has them.
std::vector<std::string> section(const std::string& file, const std::string& name) {
    std::vector<std::string> out;
    std::istringstream in(file);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (inside && line == "END") break;
        if (inside) out.push_back(line);
        if (line == name) inside = true;
    }
    return out;
}

std::string saveAs(Program& prog, const QTemporaryDir& dir, const char* name) {
    const std::string path = dir.path().toStdString() + "/" + name;
    prog.services.fileAnswers.push_back(path);
    prog.p->frm.action("SaveAs1")->trigger();
    return testsupport::slurp(path);
}

TEST(SelectionEdits, FixturesArePickedMovedCopiedTurnedAndDeletedEachAsOneUndoStep) {
    Program prog;
    QTemporaryDir dir;
    prog.openSample();  // 10 mm a pixel; slot 1 has 12 fixtures, slot 19 two bars
    prog.click("imgKigu");
    prog.click("imgSelect");
    auto& kigu = prog.doc().plan.kigu;
    auto& touroku = prog.p->touroku;

    // A click on a mark, Shift+click adds another; the status bar counts them.
    clickAt(prog, 250, 233);
    clickAt(prog, 551, 235, Qt::ShiftModifier);
    EXPECT_EQ(shown(prog, "labSelection"), QStringLiteral("選択: 2 個"));

    // A drag moves both; the read-out gives the displacement in mm while it goes on.
    mouse(prog, QEvent::MouseButtonPress, 250, 233);
    mouse(prog, QEvent::MouseMove, 280, 243);
    EXPECT_EQ(shown(prog, "labPointerMm"), QStringLiteral("dx: 300 mm  dy: 100 mm"));
    EXPECT_EQ(kigu[1].x, 250) << "nothing moves before the button is let go";
    prog.shoot(QStringLiteral("main_selection_moved"));
    mouse(prog, QEvent::MouseButtonRelease, 280, 243);
    EXPECT_EQ((std::array{kigu[1].x, kigu[1].y, kigu[1].anchorX, kigu[1].anchorY}), (std::array{280, 243, 280, 243}));
    EXPECT_EQ((std::array{kigu[4].x, kigu[4].y}), (std::array{580, 243}));
    EXPECT_FALSE(prog.doc().resultValid);

    // Undo takes the move back in one step, redo does it again.
    EXPECT_EQ(prog.p->frm.action("mnuUndo")->text(), QStringLiteral("１つ戻す(編集)"));
    trigger(prog, "mnuUndo");
    EXPECT_EQ((std::array{kigu[1].x, kigu[4].x, kigu[4].y}), (std::array{250, 550, 233}));
    trigger(prog, "mnuRedo");
    EXPECT_EQ((std::array{kigu[1].x, kigu[4].x, kigu[4].y}), (std::array{280, 580, 243}));

    // A window dragged to the right takes the four marks wholly inside it; "複写..." copies them 2 m down.
    dragFromTo(prog, 820, 200, 1180, 530);
    EXPECT_EQ(shown(prog, "labSelection"), QStringLiteral("選択: 4 個"));
    testsupport::whenModal([](QWidget* w) {
        auto* d = qobject_cast<editor::forms::TfrmOffset*>(w);
        ASSERT_NE(d, nullptr);
        d->txtDx->setText(QStringLiteral("0"));
        d->txtDy->setText(QStringLiteral("2000"));
        d->btnOK->click();
    });
    trigger(prog, "mnuCopySel");
    ASSERT_EQ(kigu.count(), 18);
    EXPECT_EQ(touroku[1].placedCount, 16) << "the slot counts its copies";
    EXPECT_EQ((std::array{kigu[15].x, kigu[15].y, kigu[18].x, kigu[18].y}), (std::array{850, 433, 1150, 700}));

    // Delete takes the copies (the selection) away, undo brings them back with their count.
    prog.p->frm.action("mnuDeleteTool")->trigger();
    EXPECT_EQ(kigu.count(), 14);
    EXPECT_EQ(touroku[1].placedCount, 12);
    trigger(prog, "mnuUndo");
    EXPECT_EQ(kigu.count(), 18);
    EXPECT_EQ(touroku[1].placedCount, 16);
    trigger(prog, "mnuUndo");
    EXPECT_EQ(kigu.count(), 14) << "and the copy before it";

    // Ctrl+drag copies the bar under the pointer.
    dragFromTo(prog, 1000, 700, 1000, 650, Qt::ControlModifier);
    ASSERT_EQ(kigu.count(), 15);
    EXPECT_EQ((std::array{kigu[15].typeIndex, kigu[15].x, kigu[15].y, kigu[15].heightOffset}), (std::array{19, 1000, 650, -200}));
    EXPECT_EQ(touroku[19].placedCount, 3);

    // A quarter turn about the selection's centre: positions turn and each bar's rotation switches.
    clickAt(prog, 400, 500);
    clickAt(prog, 1000, 700, Qt::ShiftModifier);
    QString note;
    testsupport::whenModal([&note](QWidget* w) {
        auto* d = qobject_cast<editor::forms::TfrmRotate*>(w);
        ASSERT_NE(d, nullptr);
        note = d->labNote->text();
        d->txtAngle->setText(QStringLiteral("90"));
        d->btnOK->click();
    });
    trigger(prog, "mnuRotateSel");
    EXPECT_TRUE(note.contains(QStringLiteral("位置だけ"))) << "the dialog says what other angles keep";
    EXPECT_EQ((std::array{kigu[13].x, kigu[13].y, kigu[13].rotation}), (std::array{600, 900, 0}));
    EXPECT_EQ((std::array{kigu[14].x, kigu[14].y, kigu[14].rotation}), (std::array{800, 300, 90}));

    // The properties box of one fixture: a bar's rotation is refused for a round downlight, then the height applies.
    clickAt(prog, 250, 500);
    std::vector<std::string> refusals;
    testsupport::whenModal([&prog, &refusals](QWidget* w) {
        auto* d = qobject_cast<editor::forms::TfrmProperties*>(w);
        ASSERT_NE(d, nullptr);
        ASSERT_EQ(d->edits.size(), 5u);
        EXPECT_EQ(d->edits[1]->text(), QStringLiteral("2500")) << "x in mm";
        d->edits[1]->setText(QStringLiteral("2600"));
        d->edits[3]->setText(QStringLiteral("2500"));
        d->edits[4]->setText(QStringLiteral("90"));
        d->btnOK->click();
        refusals.push_back(prog.services.messages.empty() ? "" : prog.services.messages.back().text);
        d->edits[4]->setText(QStringLiteral("0"));
        d->btnOK->click();
    });
    trigger(prog, "mnuPropertiesSel");
    EXPECT_EQ(refusals, std::vector<std::string>{"回転は 0 か 90 (直管器具のみ) で入力して下さい"});
    EXPECT_EQ((std::array{kigu[2].x, kigu[2].y, kigu[2].heightOffset, kigu[2].rotation}), (std::array{260, 500, -500, 0}));

    // "均等配置...": a 2 x 2 grid centred in the rectangle drawn next, half a spacing from its edges.
    prog.p->engine.frmKigu->imgMouseDown(1, false);
    trigger(prog, "mnuEvenLayout");
    bool centredOffered = false;
    testsupport::whenModal([&centredOffered](QWidget* w) {
        auto* len = qobject_cast<editor::forms::TfrmLen*>(w);
        ASSERT_NE(len, nullptr);
        centredOffered = len->chkCentre->isChecked();
        len->txtX->setText(QStringLiteral("2"));
        len->txtY->setText(QStringLiteral("2"));
        len->btnOK->click();
    });
    prog.press(120, 120);
    prog.press(320, 320);
    EXPECT_TRUE(centredOffered);
    ASSERT_EQ(kigu.count(), 19);
    EXPECT_EQ((std::array{kigu[16].x, kigu[16].y, kigu[19].x, kigu[19].y}), (std::array{170, 170, 270, 270}));
    prog.click("imgSelect");

    // Escape clears the selection; the saved file carries exactly the edited records.
    QTest::keyClick(&prog.p->frm, Qt::Key_Escape);
    EXPECT_EQ(shown(prog, "labSelection"), QString());
    const auto records = section(saveAs(prog, dir, "edited.OLE"), "KIGU");
    ASSERT_EQ(records.size(), 19u);
    EXPECT_EQ(records[1], "1,260,500,-500,260,500,0,0");
    EXPECT_EQ(records[0], "1,280,243,0,280,243,0,0");
    EXPECT_EQ(records[3], "1,580,243,0,580,243,0,0");
    EXPECT_EQ(records[12], "19,600,900,0,600,900,0,0");
    EXPECT_EQ(records[13], "19,800,300,-200,800,300,0,90");
    EXPECT_EQ(records[14], "19,1000,650,-200,1000,650,0,0");

    // Once the last bars are deleted and their slot freed, undoing the deletion cannot bring back fixtures
    // of a type the plan no longer has: freeing the slot changed the project, which ends the history of
    // selection edits, and undo takes back the last fixture placed as it does after any other change.
    prog.click("imgSelect");
    clickAt(prog, 600, 900);
    clickAt(prog, 800, 300, Qt::ShiftModifier);
    clickAt(prog, 1000, 650, Qt::ShiftModifier);
    prog.p->frm.action("mnuDeleteTool")->trigger();
    ASSERT_EQ(kigu.count(), 16);
    ASSERT_EQ(touroku[19].placedCount, 0);
    auto* registration = prog.p->engine.frmKigu;
    registration->refresh(3);  // slots 19 to 24
    registration->imgMouseDown(1, true);
    registration->popup->close();
    registration->mnuCancelClick();
    ASSERT_FALSE(touroku[19].isRegistered());
    trigger(prog, "mnuUndo");
    EXPECT_EQ(kigu.count(), 15);
    for (int i = 1; i <= kigu.count(); ++i) EXPECT_NE(kigu[i].typeIndex, 19);
}

TEST(SelectionEdits, WallsAreNudgedMirroredCopiedAndUndoneBesideTheUndoOfTheLastWall) {
    Program prog;
    QTemporaryDir dir;
    prog.openSample();
    prog.click("imgSelect");
    auto& lines = prog.doc().plan.lines;
    // The window's keys reach it as the active window's shortcuts.
    QApplication::setActiveWindow(&prog.p->frm);

    // Ctrl+A takes every wall, Escape lets them go.
    QTest::keyClick(&prog.p->frm, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(shown(prog, "labSelection"), QStringLiteral("選択: 6 個"));
    QTest::keyClick(&prog.p->frm, Qt::Key_Escape);
    EXPECT_EQ(shown(prog, "labSelection"), QString());

    // The arc is caught on its curve (its top, far from both ends); arrows nudge it one and, with Shift, ten pixels.
    clickAt(prog, 900, 3);
    ASSERT_EQ(prog.window().selection, (std::vector<editor::ItemRef>{{editor::ItemKind::Wall, 6}}));
    QTest::keyClick(&prog.p->frm, Qt::Key_Right);
    QTest::keyClick(&prog.p->frm, Qt::Key_Down, Qt::ShiftModifier);
    auto arc = [&] { return std::array{lines[6].x1, lines[6].y1, lines[6].x2, lines[6].y2, lines[6].x3, lines[6].y3, lines[6].x4, lines[6].y4}; };
    EXPECT_EQ(arc(), (std::array{1001, 110, 801, 110, 801, 10, 1001, 210}));
    // Mirrored about its own middle line, the bay opens downwards: the ends swap so it still runs counter-clockwise.
    trigger(prog, "mnuMirrorUD");
    EXPECT_EQ(arc(), (std::array{801, 10, 1001, 10, 801, -90, 1001, 110}));

    // A crossing window (dragged to the left) takes what it touches: the inner wall only.
    dragFromTo(prog, 720, 300, 680, 320);
    ASSERT_EQ(prog.window().selection, (std::vector<editor::ItemRef>{{editor::ItemKind::Wall, 5}}));
    dragFromTo(prog, 700, 300, 800, 300, Qt::ControlModifier);
    ASSERT_EQ(lines.count(), 7);
    EXPECT_EQ((std::array{lines[7].x1, lines[7].y1, lines[7].x2, lines[7].y2}), (std::array{800, 100, 800, 500}));

    // A wall drawn after it is undone by the rule of "１つ戻す(部屋)"; the next undo takes back the copy, then the
    // mirror and the nudges, each alone.
    prog.click("imgLine");
    prog.press(200, 850);
    prog.press(300, 850);
    QTest::keyClick(&prog.p->frm, Qt::Key_Escape);
    ASSERT_EQ(lines.count(), 8);
    EXPECT_EQ(prog.p->frm.action("mnuUndo")->text(), QStringLiteral("１つ戻す(部屋)"));
    trigger(prog, "mnuUndo");
    EXPECT_EQ(lines.count(), 7);
    EXPECT_EQ(prog.p->frm.action("mnuUndo")->text(), QStringLiteral("１つ戻す(編集)"));
    trigger(prog, "mnuUndo");
    EXPECT_EQ(lines.count(), 6);
    for (int i = 0; i < 3; ++i) trigger(prog, "mnuUndo");
    EXPECT_EQ(arc(), (std::array{1000, 100, 800, 100, 800, 0, 1000, 200}));
    EXPECT_EQ(prog.p->frm.action("mnuUndo")->text(), QStringLiteral("１つ戻す(部屋)"));
    for (int i = 0; i < 3; ++i) trigger(prog, "mnuRedo");
    EXPECT_EQ(arc(), (std::array{801, 10, 1001, 10, 801, -90, 1001, 110}));

    const auto records = section(saveAs(prog, dir, "walls.OLE"), "LINE");
    EXPECT_EQ(records, (std::vector<std::string>{"L,100,100,1300,100,0,0,0,0", "L,1300,100,1300,900,0,0,0,0",
                                                 "L,1300,900,100,900,0,0,0,0", "L,100,900,100,100,0,0,0,0",
                                                 "L,700,100,700,500,0,0,0,0", "A,801,10,1001,10,801,-90,1001,110"}));

    // "回転..." about a point clicked next: the inner wall turns a quarter about its lower end.
    prog.click("imgSelect");
    clickAt(prog, 700, 300);
    testsupport::whenModal([](QWidget* w) {
        auto* d = qobject_cast<editor::forms::TfrmRotate*>(w);
        ASSERT_NE(d, nullptr);
        d->txtAngle->setText(QStringLiteral("90"));
        d->rbtnPoint->setChecked(true);
        d->btnOK->click();
    });
    trigger(prog, "mnuRotateSel");
    EXPECT_EQ(shown(prog, "labBikou"), QStringLiteral("回転の中心をクリックして下さい"));
    clickAt(prog, 700, 500);
    EXPECT_EQ((std::array{lines[5].x1, lines[5].y1, lines[5].x2, lines[5].y2}), (std::array{300, 500, 700, 500}));
    EXPECT_EQ(shown(prog, "labBikou"), QString());
}

// An architect's plan written by ezdxf: walls on one layer (a closed polyline, an old-style polyline, an arc,
// a polyline whose bulge makes a half circle, a repeated line, a line of no length, a line ending a hair from
// a corner), furniture on another.
const char* kPlanScript = R"PY(
import sys, ezdxf
doc = ezdxf.new("R2010")
msp = doc.modelspace()
w = {"layer": "WALLS"}
msp.add_lwpolyline([(0, 0), (10000, 0), (10000, 6000), (0, 6000)], close=True, dxfattribs=w)
msp.add_line((0, 0), (10000, 0), dxfattribs=w)
msp.add_line((5000, 3000), (5000, 3000), dxfattribs=w)
msp.add_line((10000.3, 6000), (12000, 6000), dxfattribs=w)
msp.add_arc((5000, 6000), 1000, 0, 180, dxfattribs=w)
msp.add_polyline2d([(2000, 0), (2000, 2000), (4000, 2000)], dxfattribs=w)
msp.add_lwpolyline([(6000, 3000, 1), (8000, 3000, 0)], format="xyb", dxfattribs=w)
f = {"layer": "FURNITURE"}
msp.add_lwpolyline([(6000, 1000), (8000, 1000), (8000, 2000), (6000, 2000)], close=True, dxfattribs=f)
msp.add_line((6500, 1000), (6500, 2000), dxfattribs=f)
msp.add_circle((7000, 4000), 300, dxfattribs=f)
doc.saveas(sys.argv[1])
)PY";

struct WallCounts {
    int lines = 0, arcs = 0;
};
WallCounts countWalls(const std::vector<std::string>& records) {
    WallCounts c;
    for (const auto& r : records) (r[0] == 'A' ? c.arcs : c.lines)++;
    return c;
}

TEST(SelectionEdits, AnArchitectsDxfLayersBecomeWallsInTheWindowAndThroughTheCommandLine) {
    QTemporaryDir dir;
    const std::string out = dir.path().toStdString();
    {
        std::ofstream script(out + "/plan.py");
        script << kPlanScript;
    }
    ASSERT_EQ(std::system(("/usr/bin/python3 " + testsupport::shellQuote(out + "/plan.py") + " " + testsupport::shellQuote(out + "/plan.dxf")).c_str()), 0)
        << "python3-ezdxf writes the drawing";

    Program prog;
    prog.services.fileAnswers.push_back(out + "/plan.dxf");
    prog.p->frm.action("mnuLoadDXF")->trigger();
    ASSERT_EQ(prog.doc().backgroundKind, 'D');
    QStringList listed;
    testsupport::whenModal([&listed, &prog](QWidget* w) {
        auto* d = qobject_cast<io::forms::TfrmDxfWalls*>(w);
        ASSERT_NE(d, nullptr);
        for (int i = 0; i < d->lstLayers->count(); ++i) listed << d->lstLayers->item(i)->text();
        d->lstLayers->item(0)->setCheckState(Qt::Checked);
        prog.shootScreen(QStringLiteral("dxf_layer_dialog"));
        d->btnOK->click();
    });
    trigger(prog, "mnuDxfWalls");
    // Four sides, the repeat and the point, one extension, the arc, two polyline pieces, the bulge; furniture: 4 + 1.
    EXPECT_EQ(listed, (QStringList{QStringLiteral("WALLS  (11)"), QStringLiteral("FURNITURE  (5)")}));
    auto& lines = prog.doc().plan.lines;
    ASSERT_EQ(lines.count(), 9) << "no repeat, no point, no furniture";
    int arcs = 0;
    for (int i = 1; i <= lines.count(); ++i) arcs += lines[i].isArc() ? 1 : 0;
    EXPECT_EQ(arcs, 2);
    // The positive bulge runs counter-clockwise from the left end through the bottom, as the plan's arcs run.
    const model::LineRecord& bay = lines[9];
    ASSERT_TRUE(bay.isArc());
    EXPECT_LT(bay.x1, bay.x2);
    EXPECT_EQ(bay.y1, bay.y2);
    EXPECT_NEAR((bay.y3 + bay.y4) / 2.0, bay.y1, 1.0) << "a half circle about the chord's middle";
    // The extension starts exactly at the rectangle's corner (the hair is less than a pixel).
    EXPECT_EQ((std::array{lines[5].x1, lines[5].y1}), (std::array{lines[3].x1, lines[3].y1}));
    EXPECT_EQ(shown(prog, "labSelection"), QStringLiteral("選択: 9 個")) << "the new walls stay selected";
    // The old-style polyline runs up from (x1, y1), then right to (x2, y2).
    const std::array piece{lines[7].x1, lines[7].y1, lines[8].x2, lines[8].y2};
    trigger(prog, "mnuUndo");
    EXPECT_EQ(lines.count(), 0) << "one undo step";

    // Within a rectangle dragged after the dialog: only the old-style polyline's two pieces lie inside it.
    testsupport::whenModal([](QWidget* w) {
        auto* d = qobject_cast<io::forms::TfrmDxfWalls*>(w);
        ASSERT_NE(d, nullptr);
        d->lstLayers->item(0)->setCheckState(Qt::Checked);
        d->chkWindow->setChecked(true);
        d->btnOK->click();
    });
    trigger(prog, "mnuDxfWalls");
    EXPECT_EQ(lines.count(), 0) << "nothing before the rectangle";
    dragFromTo(prog, piece[0] - 3, piece[3] - 3, piece[2] + 3, piece[1] + 3);
    ASSERT_EQ(lines.count(), 2);
    EXPECT_EQ((std::array{lines[1].x1, lines[1].y1, lines[2].x2, lines[2].y2}), piece);

    // The same conversion from the command line with the drawing's units taken as cm: the bottom side is 100 m.
    const auto cli = testsupport::runCli({"walls-from-dxf", testsupport::binaryDir() + "/samples/empty.OLE", out + "/plan.dxf",
                                          "--layers", "WALLS", "--scale", "10", out + "/walls.OLE"});
    ASSERT_EQ(cli.status, 0) << cli.err;
    const std::string saved = testsupport::slurp(out + "/walls.OLE");
    const auto records = section(saved, "LINE");
    const WallCounts counts = countWalls(records);
    EXPECT_EQ(counts.lines, 7);
    EXPECT_EQ(counts.arcs, 2);
    // The project's second line is its scale, which the fit has set.
    const double mmPerPixel = std::stod(saved.substr(saved.find('\n') + 1));
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_EQ(std::sscanf(records.at(0).c_str(), "L,%d,%d,%d,%d", &x1, &y1, &x2, &y2), 4);
    EXPECT_NEAR(std::hypot(x2 - x1, y2 - y1) * mmPerPixel, 100000.0, mmPerPixel) << records.at(0);

    // A drawing of before 2007 names its layers in Shift-JIS; the user names them as they read.
    {
        std::ofstream script(out + "/old.py");
        script << "import sys, ezdxf\ndoc = ezdxf.new('R2000')\ndoc.header['$DWGCODEPAGE'] = 'ANSI_932'\n"
                  "doc.modelspace().add_line((0, 0), (5000, 0), dxfattribs={'layer': '\u58c1'})\ndoc.saveas(sys.argv[1], encoding='cp932')\n";
    }
    ASSERT_EQ(std::system(("/usr/bin/python3 " + testsupport::shellQuote(out + "/old.py") + " " + testsupport::shellQuote(out + "/old.dxf")).c_str()), 0);
    ASSERT_NE(testsupport::slurp(out + "/old.dxf").find("\x95\xc7"), std::string::npos) << "the layer is written in Shift-JIS";
    const auto old = testsupport::runCli({"walls-from-dxf", testsupport::binaryDir() + "/samples/empty.OLE", out + "/old.dxf",
                                          "--layers", "壁", out + "/old.OLE"});
    ASSERT_EQ(old.status, 0) << old.err;
    EXPECT_EQ(section(testsupport::slurp(out + "/old.OLE"), "LINE").size(), 1u);

    const auto refused = testsupport::runCli({"walls-from-dxf", testsupport::binaryDir() + "/samples/empty.OLE",
                                              out + "/plan.dxf", "--layers", "DOORS", out + "/none.OLE"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_FALSE(std::filesystem::exists(out + "/none.OLE"));
}

} // namespace
