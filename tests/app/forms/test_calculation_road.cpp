// The road of one calculation through the real program: sample project, registration window, fixtures placed
// with the mouse on the plan, the start dialog, the colour map, legend, texts and menus, then the recalculation question.
#include "app/forms/RealProgram.h"
#include "calc/forms/TfrmCalcStart.h"
#include "calc/forms/TfrmRedraw.h"
#include "editor/forms/TfrmLen.h"
#include "catalog/forms/TfrmKigu.h"
#include "io/forms/TfrmDXFOutType.h"
#include "model/ProjectFile.h"
#include "print/forms/TfrmCD.h"
#include "print/forms/TfrmPrint.h"
#include "support/QtApp.h"
#include "ui/testing/FakeServices.h"
#include "view/forms/TfrmColorScale2.h"
#include "editor/WindowView.h"
#include "view/forms/TfrmLxScale.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <algorithm>
#include <set>

namespace {

using editor::Picture;
using testsupport::binaryDir;
using testsupport::Program;

TEST(CalculationRoad, SampleProjectToColourMapAndBackToTheRecalculationQuestion) {
    Program prog;
    const std::string sample = binaryDir() + "/samples/room_sample.OLE";
    prog.p->frm.run([&] { prog.p->project.openPath(sample); });
    ASSERT_GT(prog.doc().plan.lines.count(), 0) << "the sample has walls";
    const int fixturesBefore = prog.doc().plan.kigu.count();

    // The plan is drawn: walls in black inside the surface.
    const QRect room = prog.wallBox();
    ASSERT_TRUE(room.isValid());
    EXPECT_GT(room.width(), 50);
    EXPECT_GT(room.height(), 50);
    EXPECT_FALSE(prog.menuEnabled("Print1")) << "nothing to print before a calculation";

    // The fixture target shows the registration window; its first row is the sample's registered type.
    prog.click("imgKigu");
    catalog::forms::TfrmKigu* kigu = prog.p->engine.frmKigu;
    EXPECT_TRUE(kigu->isVisible());
    EXPECT_EQ(prog.p->state.window.editTarget, 'K');
    kigu->imgMouseDown(1, false);
    ASSERT_EQ(prog.doc().selectedType, 1);
    prog.shoot(QStringLiteral("frmKigu"), kigu);

    // Four fixtures by single clicks, a quarter in from each wall.
    prog.click("imgKigu1");
    const int qx = room.width() / 4, qy = room.height() / 4;
    for (QPoint at : {room.topLeft() + QPoint(qx, qy), room.topLeft() + QPoint(3 * qx, qy),
                      room.topLeft() + QPoint(qx, 3 * qy), room.topLeft() + QPoint(3 * qx, 3 * qy)}) {
        prog.press(at.x(), at.y());
    }
    ASSERT_EQ(prog.doc().plan.kigu.count(), fixturesBefore + 4);
    const model::KiguRecord& last = prog.doc().plan.kigu[prog.doc().plan.kigu.count()];
    EXPECT_EQ(last.typeIndex, 1);

    // "計算の実行" through the start dialog's colour-map button.
    testsupport::whenModal([](QWidget* w) {
        auto* start = qobject_cast<calc::forms::TfrmCalcStart*>(w);
        ASSERT_NE(start, nullptr) << "the calculation start dialog comes first";
        start->btnBunpu->click();
    });
    prog.p->frm.action("mnuCalcRun")->trigger();

    const model::Document& doc = prog.doc();
    ASSERT_TRUE(doc.resultValid);
    EXPECT_TRUE(prog.window().resultShown);
    EXPECT_EQ(doc.displayKind, 'B');
    const calc::ResultStats& stats = prog.p->state.stats;
    EXPECT_GT(stats.maxLux, 0);
    EXPECT_GT(stats.averageLux, 0);
    EXPECT_LE(stats.averageLux, stats.maxLux);

    // The colour map: the brightest classes appear, and no class pixel lies outside the lit extent.
    std::set<int> classesSeen;
    int mapPixels = 0;
    for (int k = 0; k < 6; ++k) {
        const int n = prog.countPixels(doc.tables.classColour[static_cast<std::size_t>(k)]);
        if (n > 0) classesSeen.insert(k);
        mapPixels += n;
    }
    EXPECT_GE(classesSeen.size(), 2u) << "a map of several illuminance classes";

    // The legend window floats with the colour legend painted in it.
    view::forms::TfrmColorScale2* legend = prog.p->frm.frmColorScale2;
    EXPECT_TRUE(legend->isVisible());
    EXPECT_EQ(legend->surface().width(), 150);
    EXPECT_EQ(legend->surface().height(), 130);
    int legendColoured = 0;
    for (int y = 0; y < 130; ++y)
        for (int x = 0; x < 150; ++x)
            if (legend->surface().pixel(x, y) == doc.tables.classColour[5]) ++legendColoured;
    EXPECT_GT(legendColoured, 20) << "the swatch of the top class";

    // The texts: the maximum in the status panel, the average written on the plan.
    EXPECT_EQ(prog.p->frm.labMax->text().toStdString(), "最大照度 : " + std::to_string(stats.maxLux) + " Lx");
    int averageInk = 0;
    for (int y = 6; y < 24; ++y)
        for (int x = 12; x < 140; ++x)
            if (prog.surface().pixel(x, y) == ui::colors::black) ++averageInk;
    EXPECT_GT(averageInk, 10) << "平均照度 text at the top left";

    prog.shoot(QStringLiteral("main_colour_map"));

    // Menus after the calculation.
    EXPECT_TRUE(prog.menuEnabled("Print1"));
    EXPECT_TRUE(prog.menuEnabled("mnuRedBunpu"));
    EXPECT_TRUE(prog.menuEnabled("mnuOutPut"));

    // The map stays until "分布図消去" brings the plan back; then one more fixture makes the result stale
    // and the redisplay of the map asks to recalculate.
    prog.press(room.center().x(), room.center().y());
    EXPECT_TRUE(prog.doc().resultValid) << "no edits on the shown result";
    prog.p->frm.btnRed->click();
    EXPECT_FALSE(prog.window().resultShown);
    EXPECT_FALSE(legend->isVisible());
    int leftOver = 0;
    for (const ui::Color& c : doc.tables.classColour) leftOver += prog.countPixels(c);
    EXPECT_LT(leftOver * 50, mapPixels) << "the plan without the map (fixture symbols may share a colour)";
    prog.click("imgKigu");
    prog.click("imgKigu1");
    prog.press(room.center().x(), room.center().y());
    EXPECT_FALSE(prog.doc().resultValid);
    EXPECT_FALSE(prog.menuEnabled("mnuRedBunpu")) << "no stale map to redisplay";
    ASSERT_TRUE(prog.menuEnabled("mnuRedLine"));

    // The contour redisplay asks how to draw, then whether to recalculate: first cancelled, then accepted.
    auto rewrite = [] {
        testsupport::whenModal([](QWidget* w) {
            auto* redraw = qobject_cast<calc::forms::TfrmRedraw*>(w);
            ASSERT_NE(redraw, nullptr);
            redraw->btnKakinaosi->click();
        });
    };
    prog.services.messages.clear();
    prog.services.answers.push_back(ui::Answer::Cancel);
    rewrite();
    prog.p->frm.action("mnuRedLine")->trigger();
    ASSERT_EQ(prog.services.messages.size(), 1u);
    EXPECT_EQ(prog.services.messages.back().text, "データが変更されています。\n再計算します。");
    EXPECT_EQ(prog.services.messages.back().title, "再計算");
    EXPECT_FALSE(prog.doc().resultValid) << "cancelled: no calculation ran";

    prog.services.answers.push_back(ui::Answer::Ok);
    rewrite();
    prog.p->frm.action("mnuRedLine")->trigger();
    EXPECT_TRUE(prog.doc().resultValid);
    EXPECT_EQ(prog.doc().displayKind, 'T');
    EXPECT_EQ(prog.p->state.stats.maxLux >= stats.maxLux, true) << "five fixtures light at least as much as four";
    EXPECT_TRUE(legend->isVisible());
    EXPECT_EQ(legend->surface().width(), 80) << "the contour legend";
    EXPECT_EQ(legend->surface().height(), 100);
    prog.shoot(QStringLiteral("main_contours"));

    // The next result's kind is shown in the status panel.
    prog.p->frm.action("mnuTemp")->trigger();
    EXPECT_EQ(prog.p->frm.labScaleType->text(), QStringLiteral("色温度分布"));
    prog.p->frm.action("mnuBunpu")->trigger();
    EXPECT_EQ(prog.p->frm.labScaleType->text(), QStringLiteral("照度分布 Scale: 自動"));

    // Levels of the user's own through the range dialog; the status panel keeps saying so.
    testsupport::whenModal([](QWidget* w) {
        auto* range = qobject_cast<view::forms::TfrmLxScale*>(w);
        ASSERT_NE(range, nullptr);
        const char* levels[7] = {"", "10", "50", "100", "150", "200", "300"};
        for (int i = 1; i <= 6; ++i) range->txtLx[static_cast<std::size_t>(i)]->setText(QString::fromLatin1(levels[i]));
        range->btnOK->click();
    });
    prog.p->frm.action("mnuScaleSet")->trigger();
    EXPECT_TRUE(prog.doc().rangeMode);
    EXPECT_EQ(prog.doc().tables.luxLevel[6], 300);
    EXPECT_EQ(prog.p->frm.labScaleType->text(), QStringLiteral("照度分布 Scale: 設定値"));

    // The colour-temperature map of the same result, from the display menu.
    ASSERT_TRUE(prog.menuEnabled("mnuRedTemp"));
    prog.p->frm.action("mnuRedTemp")->trigger();
    EXPECT_EQ(prog.doc().displayKind, 'C');
    EXPECT_EQ(legend->surface().width(), 170) << "the colour-temperature legend";
    EXPECT_EQ(legend->surface().height(), 40);
    prog.shoot(QStringLiteral("main_colour_temperature"));
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream text;
    text << f.rdbuf();
    return text.str();
}

// After a calculation every output of the file menu and the plan's context menu writes its file, and a
// saved project opens again with the same plan.
TEST(CalculationRoad, TheOutputsOfAResultAndTheProjectRoundTrip) {
    Program prog;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string out = dir.path().toStdString();
    prog.p->frm.run([&] { prog.p->project.openPath(binaryDir() + "/samples/room_sample.OLE"); });
    const int fixtures = prog.doc().plan.kigu.count();
    const int walls = prog.doc().plan.lines.count();
    ASSERT_GT(fixtures, 0);

    testsupport::whenModal([](QWidget* w) {
        auto* start = qobject_cast<calc::forms::TfrmCalcStart*>(w);
        ASSERT_NE(start, nullptr);
        start->btnBunpu->click();
    });
    prog.click("imgCalc");
    ASSERT_TRUE(prog.doc().resultValid);
    ASSERT_TRUE(prog.menuEnabled("mnuDxfSave"));

    // DXF: the output-type dialog, then the save dialog.
    testsupport::whenModal([](QWidget* w) {
        auto* type = qobject_cast<io::forms::TfrmDXFOutType*>(w);
        ASSERT_NE(type, nullptr);
        type->btnColorOut->click();
    });
    prog.services.fileAnswers.push_back(out + "/result.DXF");
    prog.p->frm.action("mnuDxfSave")->trigger();
    const std::string dxf = readFile(out + "/result.DXF");
    EXPECT_NE(dxf.find("ENTITIES"), std::string::npos);
    EXPECT_NE(dxf.find("EOF"), std::string::npos);

    // The illuminance values: one row per grid row and more than a header.
    prog.services.fileAnswers.push_back(out + "/lux.csv");
    prog.p->frm.action("mnuOutPut")->trigger();
    const std::string csv = readFile(out + "/lux.csv");
    EXPECT_GT(std::count(csv.begin(), csv.end(), '\n'), 10);

    // The product list names the sample's registered product.
    prog.services.fileAnswers.push_back(out + "/list.csv");
    prog.p->frm.action("mnuCsv")->trigger();
    EXPECT_NE(readFile(out + "/list.csv").find("DL-1000"), std::string::npos);

    // The plan picture through the context menu.
    prog.services.fileAnswers.push_back(out + "/plan.BMP");
    prog.p->frm.action("pmnuSave")->trigger();
    ASSERT_EQ(prog.services.savedBitmaps.size(), 1u);
    EXPECT_EQ(prog.services.savedBitmaps[0], out + "/plan.BMP");

    // The distribution sheet printed to a PDF file (no printer here): read back by an independent reader.
    prog.services.fileAnswers.push_back(out + "/sheet.pdf");
    testsupport::whenModal([](QWidget* w) {
        auto* print = qobject_cast<print::forms::TfrmPrint*>(w);
        ASSERT_NE(print, nullptr);
        print->txtBukkenmei->setText(QStringLiteral("見本の事務所"));
        print->btnPrint->click();
    });
    prog.p->frm.action("Print1")->trigger();
    const std::string pdf = out + "/sheet.pdf";
    ASSERT_FALSE(readFile(pdf).empty());
    if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
        ASSERT_EQ(std::system(("pdftotext -enc UTF-8 '" + pdf + "' '" + out + "/sheet.txt'").c_str()), 0);
        const std::string text = readFile(out + "/sheet.txt");
        EXPECT_NE(text.find("見本の事務所"), std::string::npos) << text;
        EXPECT_NE(text.find("DL-1000"), std::string::npos) << text;
    }

    // Save under a new name, then open it again from the menu: the same plan.
    prog.services.fileAnswers.push_back(out + "/copy.OLE");
    prog.p->frm.action("SaveAs1")->trigger();
    ASSERT_FALSE(readFile(out + "/copy.OLE").empty());
    prog.services.fileAnswers.push_back(out + "/copy.OLE");
    prog.p->frm.action("Open1")->trigger();
    EXPECT_EQ(prog.doc().plan.kigu.count(), fixtures);
    EXPECT_EQ(prog.doc().plan.lines.count(), walls);
    EXPECT_FALSE(prog.window().resultShown) << "a project opens as a plan";
    EXPECT_TRUE(prog.wallBox().isValid()) << "the reopened plan is drawn";
}

// The editor's backgrounds come from real files through the bitmap reader and the DXF reader, and the
// curve window shows the selected type.
TEST(CalculationRoad, BackgroundsFromFilesAndTheCurveWindow) {
    Program prog;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string out = dir.path().toStdString();

    // A plain green bitmap fills the plan behind the (empty) drawing.
    QImage green(120, 80, QImage::Format_RGB32);
    green.fill(QColor(0, 160, 0));
    ASSERT_TRUE(green.save(QString::fromStdString(out + "/back.bmp"), "BMP"));
    prog.services.fileAnswers.push_back(out + "/back.bmp");
    prog.p->frm.action("mnuLoadBMP")->trigger();
    EXPECT_EQ(prog.doc().backgroundKind, 'B');
    EXPECT_GT(prog.countPixels(ui::Color{0, 160, 0}), 1000);

    // "スクリーン全面": the window takes the screen and the plan surface its whole client area.
    prog.p->frm.action("mnuBmpScreen")->trigger();
    EXPECT_EQ(prog.p->frm.frameGeometry().topLeft(), prog.p->frm.screen()->availableGeometry().topLeft());
    EXPECT_EQ(prog.surface().width(), prog.p->frm.ScrollBox1->viewport()->width());
    EXPECT_EQ(prog.surface().height(), prog.p->frm.ScrollBox1->viewport()->height());
    EXPECT_EQ(prog.doc().surfaceHeight, prog.surface().height());
    EXPECT_GT(prog.countPixels(ui::Color{0, 160, 0}), 1000);

    // A file that is no picture is refused with a message; the plan goes on with the bitmap it had.
    std::ofstream(out + "/broken.bmp") << "not a picture";
    prog.services.fileAnswers.push_back(out + "/broken.bmp");
    prog.services.errors.clear();
    prog.p->frm.action("mnuLoadBMP")->trigger();
    EXPECT_EQ(prog.services.errors.size(), 1u);
    EXPECT_EQ(prog.doc().backgroundKind, 'B');

    // A DXF drawing of two lines is fitted into the plan and drawn in light blue.
    std::ofstream(out + "/plan.dxf") << "0\nSECTION\n2\nENTITIES\n"
                                        "0\nLINE\n8\n0\n10\n0.0\n20\n0.0\n11\n10000.0\n21\n0.0\n"
                                        "0\nLINE\n8\n0\n10\n0.0\n20\n0.0\n11\n0.0\n21\n6000.0\n"
                                        "0\nENDSEC\n0\nEOF\n";
    prog.services.fileAnswers.push_back(out + "/plan.dxf");
    prog.p->frm.action("mnuLoadDXF")->trigger();
    EXPECT_EQ(prog.doc().backgroundKind, 'D');
    EXPECT_TRUE(prog.p->engine.dxf().loaded());
    EXPECT_GT(prog.countPixels(ui::Color{136, 136, 255}), 50);
    EXPECT_TRUE(prog.doc().plan.hasScale()) << "fitting the drawing sets the plan's scale";

    // The curve window of the sample's registered type.
    prog.p->frm.run([&] { prog.p->project.openPath(binaryDir() + "/samples/room_sample.OLE"); });
    prog.click("imgKigu");
    prog.p->engine.frmKigu->imgMouseDown(1, false);
    prog.p->frm.action("mnuHaikou")->trigger();
    print::forms::TfrmCD* curve = prog.p->engine.frmCD;
    EXPECT_TRUE(curve->isVisible());
    int ink = 0;
    const ui::qt::ImageSurface& picture = curve->picture();
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2)
            if (picture.pixel(x, y) != ui::colors::white) ++ink;
    EXPECT_GT(ink, 100) << "the distribution curve is drawn";
}

// A grid of fixtures: two corners clicked on the plan, the counts typed into the length dialog.
TEST(CalculationRoad, AGridOfFixturesThroughTheLengthDialog) {
    Program prog;
    prog.p->frm.run([&] { prog.p->project.openPath(binaryDir() + "/samples/room_sample.OLE"); });
    const int before = prog.doc().plan.kigu.count();
    const QRect room = prog.wallBox();
    prog.click("imgKigu");
    prog.p->engine.frmKigu->imgMouseDown(1, false);
    prog.click("imgKigu3");
    ASSERT_EQ(prog.p->state.window.toolCode, '3');

    QString caption;
    testsupport::whenModal([&caption](QWidget* w) {
        auto* len = qobject_cast<editor::forms::TfrmLen*>(w);
        ASSERT_NE(len, nullptr);
        caption = len->windowTitle();
        EXPECT_TRUE(len->secondRowVisible());
        len->txtX->setText(QStringLiteral("3"));
        len->txtY->setText(QStringLiteral("2"));
        len->btnOK->click();
    });
    prog.press(room.left() + room.width() / 5, room.top() + room.height() / 5);
    prog.press(room.left() + 4 * room.width() / 5, room.top() + 4 * room.height() / 5);
    EXPECT_EQ(caption, QStringLiteral("格子配灯"));
    ASSERT_EQ(prog.doc().plan.kigu.count(), before + 6);
    // The six lie within the rectangle of the two clicks.
    for (int i = before + 1; i <= before + 6; ++i) {
        const model::KiguRecord& k = prog.doc().plan.kigu[i];
        EXPECT_GE(k.x, room.left() + room.width() / 5 - 1);
        EXPECT_LE(k.x, room.left() + 4 * room.width() / 5 + 1);
        EXPECT_EQ(k.typeIndex, 1);
    }
}

// The palette through the editor: groups per edit target, the pictures of the chosen tool and snap, the
// undo caption, the pillar size box.
TEST(MainWindowPalette, ButtonsCarryTheirHintsAndSwitchGroupsPicturesAndTheUndoCaption) {
    Program prog;
    app::forms::TfrmMain* frm = &prog.p->frm;
    const std::pair<const char*, const char*> hints[] = {
        {"imgRoom", "部屋形状の入力"}, {"imgKigu", "器具の登録と配灯"}, {"imgHasira", "柱の入力"}, {"imgEntyuu", "円柱を配置"},
        {"imgKakutyuu", "角柱を配置"}, {"imgFLyoko", "FL横置き"}, {"imgFLtate", "FL縦置き"}, {"imgCalc", "照度分布の計算"},
        {"imgLine", "直線"}, {"imgL", "垂直、水平線"}, {"imgBox", "四角"}, {"imgArc", "円弧"}, {"imgDelLine", "線分の消去"},
        {"imgKigu1", "単体入力"}, {"imgKigu2", "直線配灯"}, {"imgKigu3", "格子配灯"}, {"imgDelKigu", "器具の消去"},
        {"imgTakasa", "器具高さの変更"}, {"imgHasira1", "単体配置"}, {"imgHasira2", "直線配置"}, {"imgHasira3", "格子配置"},
        {"imgHasiraDel", "柱の消去"},
    };
    for (const auto& [name, hint] : hints) {
        auto* b = frm->button(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(hint)) << name;
    }
    EXPECT_TRUE(frm->button("imgLine")->isVisible());
    EXPECT_EQ(frm->button("imgLine")->picture(), Picture::On);
    EXPECT_FALSE(frm->button("imgKigu1")->isVisible());

    frm->button("imgKigu")->click();
    EXPECT_FALSE(frm->button("imgLine")->isVisible());
    EXPECT_TRUE(frm->button("imgKigu1")->isVisible());
    EXPECT_EQ(frm->button("imgKigu1")->picture(), Picture::On);
    EXPECT_EQ(frm->button("imgKigu")->picture(), Picture::On);
    EXPECT_EQ(frm->action("mnuUndo")->text(), QStringLiteral("１つ戻す(器具)"));
    EXPECT_FALSE(frm->rbtnPitch->isVisible());

    frm->button("imgDelKigu")->click();
    EXPECT_EQ(prog.p->state.window.snapMode, 'Z');
    EXPECT_FALSE(frm->button("imgFree")->isEnabled());
    EXPECT_EQ(frm->button("imgFree")->picture(), Picture::No);

    frm->button("imgHasira")->click();
    EXPECT_TRUE(frm->txtHasira->isVisible());
    EXPECT_EQ(frm->txtHasira->text(), QStringLiteral("800"));
    EXPECT_EQ(frm->labHasira->text(), QStringLiteral("□"));
    frm->button("imgEntyuu")->click();
    EXPECT_EQ(frm->labHasira->text(), QStringLiteral("φ"));
    EXPECT_EQ(frm->action("mnuUndo")->text(), QStringLiteral("１つ戻す(柱)"));
}

// While the calculation's progress window lets events through, whatever the user does there (open, the
// range dialog, draw, close) waits: the plan the run reads stays as it was and the result is whole.
TEST(CalculationRoad, NothingTheUserDoesDuringARunChangesWhatItReads) {
    Program prog;
    prog.openSample();
    const int walls = prog.doc().plan.lines.count();
    const int fixtures = prog.doc().plan.kigu.count();
    ASSERT_GT(fixtures, 0);
    int pumps = 0;
    bool registrationOpenToEdits = true;
    prog.services.onProcessEvents = [&] {
        if (++pumps != 2) return;
        registrationOpenToEdits = prog.p->engine.frmKigu->isEnabled();
        prog.services.fileAnswers.push_back(binaryDir() + "/samples/room_sample.OLE");
        prog.p->frm.action("Open1")->trigger();
        // A range dialog that opened anyway is closed again, so that the run can end and be judged.
        bool rangeDialogOpened = false;
        QTimer::singleShot(0, &prog.p->frm, [&rangeDialogOpened] {
            if (auto* range = qobject_cast<view::forms::TfrmLxScale*>(QApplication::activeModalWidget())) {
                rangeDialogOpened = true;
                range->btnCancel->click();
            }
        });
        prog.p->frm.action("mnuScaleSet")->trigger();
        EXPECT_FALSE(rangeDialogOpened) << "the range dialog waits for the run";
        prog.press(40, 40);
        prog.press(400, 40);
        prog.p->frm.close();
    };
    prog.calculate(&calc::forms::TfrmCalcStart::btnBunpu);
    prog.services.onProcessEvents = nullptr;
    ASSERT_GE(pumps, 2) << "the run let events through";
    EXPECT_EQ(prog.doc().plan.lines.count(), walls);
    EXPECT_EQ(prog.doc().plan.kigu.count(), fixtures);
    EXPECT_EQ(prog.services.fileAnswers.size(), 1u) << "開く never asked for a file";
    EXPECT_TRUE(prog.p->frm.isVisible()) << "the window stayed open";
    EXPECT_TRUE(prog.doc().resultValid);
    EXPECT_FALSE(registrationOpenToEdits) << "the fixture table waits for the run too";
    EXPECT_TRUE(prog.p->engine.frmKigu->isEnabled());

    // After the run the window takes commands again.
    prog.p->frm.action("mnuUndo")->trigger();
    EXPECT_EQ(prog.doc().plan.lines.count(), walls - 1);
}

// A plan whose result would mean nothing (here fixtures of a slot with no registered type, as a project from
// elsewhere can hold) is refused by the calculation command itself: the system's message once, no run, and
// the plan and its picture as they were.
TEST(CalculationRoad, APlanWithFixturesOfAnUnregisteredSlotIsRefusedOnceAndKept) {
    Program prog;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::ifstream in(binaryDir() + "/samples/room_sample.OLE", std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string firstFixture = "KIGU\r\n1,";
    const auto at = bytes.find(firstFixture);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, firstFixture.size(), "KIGU\r\n2,");
    const std::string path = dir.path().toStdString() + "/elsewhere.OLE";
    std::ofstream(path, std::ios::binary) << bytes;
    prog.p->frm.run([&] { prog.p->project.openPath(path); });
    ASSERT_GT(prog.doc().plan.kigu.count(), 0);
    const std::string planBefore = model::projectBytes(prog.doc(), prog.p->touroku);
    const QRect wallsBefore = prog.wallBox();
    prog.services.messages.clear();
    prog.services.progressLog.clear();

    prog.calculate(&calc::forms::TfrmCalcStart::btnBunpu);
    ASSERT_EQ(prog.services.messages.size(), 1u);
    EXPECT_EQ(prog.services.messages[0].text, "品番が登録されていません");
    EXPECT_TRUE(prog.services.progressLog.empty()) << "nothing was calculated";
    EXPECT_FALSE(prog.doc().resultValid);
    EXPECT_EQ(model::projectBytes(prog.doc(), prog.p->touroku), planBefore);
    EXPECT_EQ(prog.wallBox(), wallsBefore);
}

} // namespace
