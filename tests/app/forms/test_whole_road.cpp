// The whole road a new user drives, in one go, with mouse clicks, keys and menus on the real windows:
// a blank plan, a room, its scale, a pillar, a registered type placed singly, in a line and in a grid, the
// calculation and its displays, then save, reopen, the printed sheet and the exports.
#include "app/forms/RealProgram.h"
#include "calc/forms/TfrmCalcStart.h"
#include "calc/forms/TfrmRedraw.h"
#include "catalog/forms/TZOLTData.h"
#include "catalog/forms/TfrmKigu.h"
#include "editor/forms/TfrmLen.h"
#include "editor/forms/PlanChoiceBox.h"
#include "io/forms/TfrmDXFOutType.h"
#include "print/forms/TfrmPrint.h"
#include "ui/qt/PrinterSurface.h"
#include "view/forms/TfrmColorScale2.h"
#include "view/forms/TfrmLxScale.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

using calc::forms::TfrmCalcStart;
using testsupport::Program;

QByteArray fileText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(WholeRoad, FromABlankPlanToThePrintedSheetAndTheExports) {
    Program prog;
    app::forms::TfrmMain& frm = prog.p->frm;
    QWidget* plan = frm.Image1;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto clickPlan = [&](int x, int y) { QTest::mouseClick(plan, Qt::LeftButton, Qt::NoModifier, QPoint(x, y)); };
    auto clickPalette = [&](const char* name) {
        QWidget* b = frm.button(name);
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(b->width() / 2, b->height() / 2));
    };
    // The length dialog answered from the keyboard: the first value, Enter, the second, Enter.
    auto typeIntoLengthDialog = [](QStringList values) {
        testsupport::whenModal([values](QWidget* w) {
            auto* len = qobject_cast<editor::forms::TfrmLen*>(w);
            ASSERT_NE(len, nullptr) << "the length dialog";
            QTest::keyClicks(len->txtX, values.value(0));
            QTest::keyClick(len->txtX, Qt::Key_Return);
            if (values.size() > 1) {
                QTest::keyClicks(len->txtY, values[1]);
                QTest::keyClick(len->txtY, Qt::Key_Return);
            }
        });
    };

    // 新規作成 on white paper: an empty plan, nothing drawn.
    testsupport::whenModal([](QWidget* w) {
        auto* box = w->findChild<editor::forms::PlanChoiceBox*>();
        ASSERT_NE(box, nullptr) << "the new-plan dialog";
        EXPECT_TRUE(box->rbtnWhite->isChecked());
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    });
    frm.action("New1")->trigger();
    EXPECT_FALSE(prog.wallBox().isValid()) << "a blank plan";

    // A 400 x 300 pixel room with the rectangle tool: its walls are drawn black.
    clickPalette("imgBox");
    clickPlan(100, 100);
    clickPlan(500, 400);
    EXPECT_EQ(prog.wallBox(), QRect(QPoint(100, 100), QPoint(500, 400))) << "the walls as drawn";

    // The scale: the top wall measured end to end as 10 m (25 mm a pixel, 1/95 on a 96 dpi screen). The
    // measurement snaps to wall ends, which is why the room is drawn first.
    frm.action("S1")->trigger();
    clickPlan(103, 98);
    typeIntoLengthDialog({QStringLiteral("10000")});
    clickPlan(498, 101);
    EXPECT_EQ(frm.labScale->text(), QStringLiteral("縮尺：1/95"));

    // A square pillar of 800 mm (32 pixels) in the top left corner of the room.
    clickPalette("imgHasira");
    clickPalette("imgKakutyuu");
    clickPalette("imgHasira1");
    clickPlan(140, 140);
    int pillarInk = 0;
    for (int y = 120; y <= 160; ++y)
        for (int x = 120; x <= 160; ++x)
            if (prog.surface().pixel(x, y) == ui::colors::black) ++pillarInk;
    EXPECT_GE(pillarInk, 4 * 28) << "the pillar's outline";

    // A product registered in the first slot through the selection dialog, typed and confirmed by keys.
    clickPalette("imgKigu");
    catalog::forms::TfrmKigu* kigu = prog.p->engine.frmKigu;
    ASSERT_TRUE(kigu->isVisible());
    const catalog::forms::TfrmKigu::Row& row = kigu->rows[0];
    testsupport::whenModal([](QWidget* w) {
        auto* select = qobject_cast<catalog::forms::TZOLTData*>(w);
        ASSERT_NE(select, nullptr) << "the selection dialog";
        QTest::keyClicks(select->txtHinban, QStringLiteral("DL-1"));
        QTest::keyClick(select->txtHinban, Qt::Key_Return);
        EXPECT_GT(select->listHinban->count(), 1);
        ASSERT_TRUE(select->cmdOK->isEnabled());
        QTest::mouseClick(select->cmdOK, Qt::LeftButton);
    });
    QTest::mouseClick(row.Lt, Qt::LeftButton);
    EXPECT_EQ(row.Hin->text(), QStringLiteral("DL-1000"));
    QTest::mouseClick(row.img, Qt::LeftButton);

    // One fixture by a click, four in a line (count 4), four in a grid (2 x 2); the window counts nine.
    clickPalette("imgKigu1");
    clickPlan(300, 200);
    clickPalette("imgKigu2");
    clickPlan(150, 340);
    typeIntoLengthDialog({QStringLiteral("4")});
    clickPlan(450, 340);
    clickPalette("imgKigu3");
    clickPlan(360, 130);
    typeIntoLengthDialog({QStringLiteral("2"), QStringLiteral("2")});
    clickPlan(460, 280);
    EXPECT_EQ(row.labKosuu->text(), QStringLiteral("9"));

    // The colour map from the palette's calculate button through the start dialog.
    testsupport::whenModal([](QWidget* w) {
        auto* start = qobject_cast<TfrmCalcStart*>(w);
        ASSERT_NE(start, nullptr) << "the calculation start dialog";
        QTest::mouseClick(start->btnBunpu, Qt::LeftButton);
    });
    clickPalette("imgCalc");
    ASSERT_TRUE(frm.labMax->text().startsWith(QStringLiteral("最大照度 : ")));
    const int maxLux = frm.labMax->text().section(QLatin1Char(' '), 2, 2).toInt();
    EXPECT_GT(maxLux, 0) << frm.labMax->text().toStdString();
    EXPECT_TRUE(frm.frmColorScale2->isVisible()) << "the legend beside the map";

    // The user's own levels, typed from the top class down; the map then shows several of their classes.
    testsupport::whenModal([](QWidget* w) {
        auto* range = qobject_cast<view::forms::TfrmLxScale*>(w);
        ASSERT_NE(range, nullptr) << "the range dialog";
        const char* topDown[] = {"50", "45", "40", "30", "20", "10"};
        for (int i = 6; i >= 1; --i) {
            QLineEdit* edit = range->txtLx[static_cast<std::size_t>(i)];
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromLatin1(topDown[6 - i]));
        }
        QTest::mouseClick(range->btnOK, Qt::LeftButton);
    });
    frm.action("mnuScaleSet")->trigger();
    EXPECT_EQ(frm.labScaleType->text(), QStringLiteral("照度分布 Scale: 設定値"));
    frm.action("mnuRedBunpu")->trigger();
    std::set<int> classes;
    for (int k = 0; k < 6; ++k)
        if (prog.countPixels(prog.doc().tables.classColour[static_cast<std::size_t>(k)]) > 100) classes.insert(k);
    EXPECT_GE(classes.size(), 3u) << "a map in the typed classes, not one solid colour";

    // Contour lines drawn afresh: the contour legend, and the lines in black across the room.
    testsupport::whenModal([](QWidget* w) {
        auto* redraw = qobject_cast<calc::forms::TfrmRedraw*>(w);
        ASSERT_NE(redraw, nullptr);
        QTest::mouseClick(redraw->btnKakinaosi, Qt::LeftButton);
    });
    frm.action("mnuRedLine")->trigger();
    EXPECT_EQ(frm.frmColorScale2->surface().width(), 80) << "the contour legend";
    int lineInk = 0;
    for (int y = 170; y < 396; ++y)
        for (int x = 170; x < 496; ++x)
            if (prog.surface().pixel(x, y) == ui::colors::black) ++lineInk;
    EXPECT_GT(lineInk, 300) << "contour lines inside the walls";

    // Colour temperature: the room is lit in the registered lamp's own light colour.
    frm.action("mnuRedTemp")->trigger();
    EXPECT_EQ(frm.frmColorScale2->surface().width(), 170) << "the colour-temperature legend";
    const int kelvin = static_cast<int>(prog.p->touroku[1].colorTemp);
    ASSERT_GE(kelvin, 2000);
    EXPECT_GT(prog.countPixels(prog.doc().tables.ctColour[static_cast<std::size_t>(kelvin / 100)]), 5000)
        << kelvin << " K";

    // Saved under a name, then the plan is reopened from that file: the room, its scale and its fixtures.
    const QString project = dir.filePath(QStringLiteral("road.OLE"));
    prog.services.fileAnswers = {project.toStdString()};
    frm.action("SaveAs1")->trigger();
    ASSERT_TRUE(fileText(project).contains("TOUROKU\r\n1\r\nDL-1000")) << "the project with its registered type";
    testsupport::whenModal([](QWidget* w) {
        auto* box = w->findChild<editor::forms::PlanChoiceBox*>();
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    });
    frm.action("New1")->trigger();
    ASSERT_FALSE(prog.wallBox().isValid());
    prog.services.fileAnswers = {project.toStdString()};
    frm.action("Open1")->trigger();
    EXPECT_EQ(prog.wallBox(), QRect(QPoint(100, 100), QPoint(500, 400)));
    EXPECT_EQ(frm.labScale->text(), QStringLiteral("縮尺：1/95"));
    clickPalette("imgKigu");
    EXPECT_EQ(row.Hin->text(), QStringLiteral("DL-1000"));
    EXPECT_EQ(row.labKosuu->text(), QStringLiteral("9"));

    // Calculated again and printed: without a printer the sheet goes to the PDF file the user names.
    testsupport::whenModal([](QWidget* w) { QTest::mouseClick(qobject_cast<TfrmCalcStart*>(w)->btnBunpu, Qt::LeftButton); });
    clickPalette("imgCalc");
    EXPECT_EQ(frm.labMax->text().section(QLatin1Char(' '), 2, 2).toInt(), maxLux) << "the same plan, the same light";
    if (!ui::qt::printerAvailable()) {
        const QString sheet = dir.filePath(QStringLiteral("sheet.pdf"));
        prog.services.fileAnswers = {sheet.toStdString()};
        testsupport::whenModal([](QWidget* w) {
            auto* print = qobject_cast<print::forms::TfrmPrint*>(w);
            ASSERT_NE(print, nullptr) << "the print dialog";
            print->txtBukkenmei->insert(QStringLiteral("試しの部屋"));  // typed through an input method
            QTest::mouseClick(print->btnPrint, Qt::LeftButton);
        });
        frm.action("Print1")->trigger();
        ASSERT_TRUE(fileText(sheet).startsWith("%PDF")) << "the sheet as a PDF file";
        if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
            const QString text = sheet + QStringLiteral(".txt");
            ASSERT_EQ(std::system(("pdftotext -enc UTF-8 '" + sheet + "' '" + text + "'").toLocal8Bit().constData()), 0);
            const QString words = QString::fromUtf8(fileText(text));
            EXPECT_TRUE(words.contains(QStringLiteral("試しの部屋"))) << words.toStdString();
            EXPECT_TRUE(words.contains(QStringLiteral("DL-1000"))) << words.toStdString();
        }
    }

    // The exports of the result: a DXF drawing with the four walls, and the illuminance values as CSV.
    const QString drawing = dir.filePath(QStringLiteral("road.DXF"));
    prog.services.fileAnswers = {drawing.toStdString()};
    testsupport::whenModal([](QWidget* w) {
        auto* type = qobject_cast<io::forms::TfrmDXFOutType*>(w);
        ASSERT_NE(type, nullptr) << "the DXF output type dialog";
        QTest::mouseClick(type->btnColorOut, Qt::LeftButton);
    });
    frm.action("mnuDxfSave")->trigger();
    const QByteArray dxf = fileText(drawing);
    EXPECT_GE(dxf.count("\nLINE\r\n") + dxf.count("\nLINE\n"), 4) << "the walls";
    EXPECT_TRUE(dxf.contains("EOF"));

    const QString values = dir.filePath(QStringLiteral("road.csv"));
    prog.services.fileAnswers = {values.toStdString()};
    frm.action("mnuOutPut")->trigger();
    // One row per 250 mm of the 7.5 m room, one value per 250 mm of its 10 m, none above the maximum.
    const QList<QByteArray> rows = fileText(values).trimmed().split('\n');
    EXPECT_EQ(rows.size(), 30);
    double brightest = 0;
    for (const QByteArray& r : rows) {
        const QList<QByteArray> cells = r.trimmed().split(',');
        EXPECT_EQ(cells.size(), 41);
        for (const QByteArray& c : cells) brightest = std::max(brightest, c.toDouble());
    }
    EXPECT_LE(brightest, maxLux + 1);
    EXPECT_GT(brightest, maxLux / 2);

    // With coordinates: the same values from the top row down, each with its place in mm.
    const QString placed = dir.filePath(QStringLiteral("road_xy.csv"));
    prog.services.fileAnswers = {placed.toStdString()};
    ASSERT_TRUE(prog.menuEnabled("mnuOutPutXy"));
    frm.action("mnuOutPutXy")->trigger();
    const QList<QByteArray> lines = fileText(placed).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1 + 30 * 40);
    EXPECT_EQ(lines[0].trimmed(), QByteArray("x_mm,y_mm,lux"));
    const double mm = prog.doc().plan.mmPerPixel;
    const calc::ResultStats& st = prog.p->state.stats;
    for (int i = 0; i < 30 * 40; ++i) {
        const QList<QByteArray> cells = lines[1 + i].trimmed().split(',');
        ASSERT_EQ(cells.size(), 3);
        const int r = i / 40, c = i % 40;
        // The described table's rows run upwards: its last row is the top one.
        const QList<QByteArray> described = rows[29 - r].trimmed().split(',');
        EXPECT_DOUBLE_EQ(cells[2].toDouble(), described[c].toDouble()) << i;
        EXPECT_NEAR(cells[0].toDouble(), (st.litMinCol + 10 * c) * mm, 0.06) << i;
        if (c == 0 && r == 29) {
            EXPECT_NEAR(cells[1].toDouble(), (st.litMaxRow - 1) * mm, 0.06);
        }
    }
}

} // namespace
