// "設計レポート(PDF)..." in the real program: greyed without luminaires, calculating through the start dialog when the result is stale, then the file and the same pages in the preview; and the task-area table's power column and floor line.
#include "app/forms/RealProgram.h"
#include "calc/PowerFigures.h"
#include "calc/forms/TfrmCalcStart.h"
#include "ui/qt/PrinterSurface.h"
#include "view/forms/TfrmAreaTable.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

using testsupport::Program;
using testsupport::previewPages;


TEST(ReportWindow, TheMenuItemCalculatesThenWritesTheReportAndTheAreaTableShowsPowerAndFloor) {
    Program prog;
    EXPECT_FALSE(prog.menuEnabled("mnuReport")) << "nothing placed, nothing to report";
    prog.p->frm.run([&] { prog.p->project.openPath(testsupport::binaryDir() + "/samples/report_office.OLE"); });
    ASSERT_FALSE(prog.doc().resultValid);
    ASSERT_TRUE(prog.menuEnabled("mnuReport"));

    QTemporaryDir dir;
    const std::string pdf = dir.filePath(QStringLiteral("report.pdf")).toStdString();
    prog.services.pdfJobFactory = ui::qt::openPdfJob;
    prog.services.fileAnswers.push_back(pdf);
    testsupport::whenModal([](QWidget* w) {
        auto* start = qobject_cast<calc::forms::TfrmCalcStart*>(w);
        ASSERT_NE(start, nullptr) << "a stale result is calculated first, through the start dialog";
        start->btnBunpu->click();
    });
    prog.p->frm.action("mnuReport")->trigger();
    ASSERT_TRUE(prog.doc().resultValid);
    ASSERT_EQ(prog.services.saveRequests.size(), 1u);
    EXPECT_EQ(prog.services.saveRequests[0].defaultExtension, "pdf");
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));

    if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
        ASSERT_EQ(std::system(("pdftotext -layout -enc UTF-8 '" + pdf + "' '" + pdf + ".txt'").c_str()), 0);
        QFile text(QString::fromStdString(pdf + ".txt"));
        ASSERT_TRUE(text.open(QIODevice::ReadOnly));
        const QString report = QString::fromUtf8(text.readAll());
        // The preview draws the same pages from the same, now current, result.
        EXPECT_EQ(previewPages([&] { prog.p->frm.action("mnuReportPreview")->trigger(); }), report.count(QChar('\f')));
        for (const char* part : {"照明設計レポート", "作業領域の照度", "器具・電力", "窓際デスク", "FL-4000", "天井70%・壁50%・床20%"})
            EXPECT_TRUE(report.contains(QString::fromUtf8(part))) << part;
    }

    // The table shown after the calculation: W/m² last, from the luminaires inside each area, and the floor.
    view::forms::TfrmAreaTable* table = prog.p->engine.frmAreaTable;
    ASSERT_TRUE(table->isVisible());
    const QTableWidget* g = table->grdArea;
    const int last = g->columnCount() - 1;
    EXPECT_EQ(g->horizontalHeaderItem(last)->text(), QStringLiteral("W/m²"));
    ASSERT_EQ(g->rowCount(), 3);
    for (int r = 0; r < g->rowCount(); ++r) {
        const auto expected = calc::areaWattsPerSquareMetre(prog.doc().plan, prog.p->touroku,
                                                            prog.p->state.stats.areas[static_cast<std::size_t>(r)].area);
        ASSERT_TRUE(expected.has_value()) << r;
        EXPECT_EQ(g->item(r, last)->text(), QString::number(*expected, 'f', 2)) << r;
    }
    const calc::RoomFigures& room = prog.p->state.stats.room;
    ASSERT_GT(room.figures.points, 0);
    EXPECT_TRUE(table->labRoom->isVisible());
    EXPECT_TRUE(table->labRoom->text().contains(QString::number(room.floorArea, 'f', 2) + QStringLiteral(" m²")))
        << table->labRoom->text().toStdString();

    // A file that cannot be written is said so.
    prog.services.messages.clear();
    prog.services.fileAnswers.push_back(dir.filePath(QStringLiteral("no/such/folder/report.pdf")).toStdString());
    prog.p->frm.action("mnuReport")->trigger();
    EXPECT_EQ(prog.services.allTexts(), std::vector<std::string>{"ファイルに書き込みできません"});
}

} // namespace
