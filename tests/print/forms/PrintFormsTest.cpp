// The curve window and the print dialog as widgets: menus, zoom, save and copy, the margin edits with their
// key filter, and printing through QPrinter into PDF files read back with pdftotext.
#include "print/PrintTestSupport.h"
#include "print/forms/TfrmCD.h"
#include "print/forms/TfrmPrint.h"
#include "ui/qt/PrinterSurface.h"
#include "ui/qt/QtSurface.h"
#include "ui/testing/FakeServices.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <filesystem>
#include <clocale>
#include <cmath>
#include <gtest/gtest.h>

using namespace print;
using namespace print::forms;

namespace {

void ensureApp() {
    static int argc = 1;
    static char name[] = "test_print_forms";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        auto* a = new QApplication(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        return a;
    }();
    (void)app;
}

std::unique_ptr<ui::Surface> qtPicture(int w, int h) { return std::make_unique<ui::qt::ImageSurface>(w, h); }

void type(QLineEdit* edit, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(edit, &press);
}

} // namespace

TEST(TfrmCD, MenusChangeLayoutAndZoomAndTheExportPictureIsSavedAndCopied) {
    ensureApp();
    ui::testing::FakeServices services;
    services.surfaceFactory = qtPicture;
    TfrmCD form(services, "ORDIVAN Ver 2.0");
    auto t = printtest::makeType(2, [](int p, int g) { return g <= 90 ? 300.0 * std::pow(std::cos(g * M_PI / 180), p + 1) : 0.0; });
    t.tosu = 2;
    form.fill(t);
    EXPECT_EQ(form.labLamp->text(), QStringLiteral("LED-W x2"));
    EXPECT_EQ(form.view().curveMode(), 1);
    EXPECT_EQ(form.view().scaleMax(), 400);
    const QImage before = form.picCD->pixmap().toImage();

    form.N2->trigger();
    EXPECT_EQ(form.view().scaleMax(), 300);
    EXPECT_NE(form.picCD->pixmap().toImage(), before) << "redrawn at the new scale";
    form.N3->trigger();
    EXPECT_EQ(form.view().scaleMax(), 400);
    form.C41->trigger();
    EXPECT_EQ(form.view().curveMode(), 3);
    EXPECT_TRUE(form.view().modePicked());
    form.fill(printtest::makeType(1, [](int, int g) { return g > 90 ? 100.0 : 0.0; }));
    EXPECT_EQ(form.view().curveMode(), 3) << "the picked layout stays for the next type";
    EXPECT_EQ(form.labLamp->text(), QStringLiteral("LED-W"));

    const std::string dir = printtest::scratchDir("tfrmcd");
    services.fileAnswers = {dir + "/curve.bmp", std::nullopt, dir + "/curve2.bmp"};
    form.save1->trigger();
    ASSERT_EQ(services.savedBitmaps.size(), 1u);
    ASSERT_EQ(services.saveRequests.size(), 1u);
    EXPECT_EQ(services.saveRequests[0].defaultExtension, "bmp");
    EXPECT_EQ(services.saveRequests[0].filter, "ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp) |*.bmp");
    EXPECT_EQ(services.saveRequests[0].initialName, "");
    form.save1->trigger();  // cancelled
    EXPECT_EQ(services.savedBitmaps.size(), 1u);
    form.save1->trigger();
    EXPECT_EQ(services.saveRequests[2].initialName, dir + "/curve.bmp") << "starts with the last saved name";
    form.Copy1->trigger();
    EXPECT_EQ(services.clipboardCopies, 1);

    if (const char* shots = std::getenv("ORDIVAN_SCREENSHOTS")) form.grab().save(QString::fromUtf8(shots) + "/tfrmcd.png");

    // The export picture carries the lamp name at its top left, on a white box.
    auto picture = form.exportPicture();
    EXPECT_EQ(picture->width(), 250);
    EXPECT_EQ(picture->height(), 272);
    bool dark = false;
    for (int y = 0; y < 14 && !dark; ++y)
        for (int x = 0; x < 40 && !dark; ++x) dark = picture->pixel(x, y) == ui::colors::black;
    EXPECT_TRUE(dark);
}

TEST(TfrmCD, PrintsTheSheetThroughAPrinterIntoAPdfFile) {
    ensureApp();
    ui::testing::FakeServices services;
    services.surfaceFactory = qtPicture;
    TfrmCD form(services, "ORDIVAN Ver 2.0");
    form.fill(printtest::makeType(3, [](int p, int g) { return g <= 90 ? 500.0 + p : 0.0; }, "SHEET-3P"));
    const std::string pdf = printtest::scratchDir("tfrmcd_print") + "/curve.pdf";
    // The chosen file is a link: the sheet replaces the file it names, and the link stays.
    std::filesystem::remove(pdf);
    std::filesystem::create_symlink("sheet.pdf", pdf);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    ASSERT_TRUE(form.printOn(printer));
    EXPECT_TRUE(std::filesystem::is_symlink(pdf));
    EXPECT_EQ(printer.outputFileName().toStdString(), pdf);
    const auto words = printtest::pdfWords(pdf);
    for (const char* text : {"配光曲線", "SHEET-3P", "1/2照度角", "502.00", "2026年12月7日", "ORDIVAN"})
        EXPECT_NE(printtest::findWord(words, text), nullptr) << text;
    EXPECT_TRUE(printtest::renderPdf(pdf, pdf + "_page"));
}

TEST(TfrmPrint, MarginEditsFilterKeysClampOnLeavingAndReportNonNumbers) {
    ensureApp();
    ui::testing::FakeServices services;
    TfrmPrint form(services);
    form.FormShow();
    EXPECT_EQ(form.txtDate->text(), QStringLiteral("2026年12月7日"));
    const int h5 = form.rules().H5(), w5 = form.rules().W5();
    ASSERT_GT(h5, 10);
    EXPECT_EQ(form.labUp->text().toStdString(), "(5～" + std::to_string(h5 - 5) + ")");
    EXPECT_EQ(form.labRight->text().toStdString(), "(5～" + std::to_string(w5 - 5) + ")");

    form.txtUp->clear();
    for (QChar c : QStringLiteral("6.0a0")) type(form.txtUp, c);
    EXPECT_EQ(form.txtUp->text(), QStringLiteral("600")) << "the point and letters are swallowed";
    form.txtUpExit();
    EXPECT_EQ(form.txtUp->text().toInt(), h5 - 5);
    EXPECT_EQ(form.margins().top, h5 - 5);
    EXPECT_EQ(form.labDown->text(), QStringLiteral("(5～5)"));

    if (const char* shots = std::getenv("ORDIVAN_SCREENSHOTS")) form.grab().save(QString::fromUtf8(shots) + "/tfrmprint.png");

    form.txtLeft->setText(QStringLiteral("abc"));
    form.txtLeftExit();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "'abc' は数値ではありません");
    EXPECT_EQ(services.messages[0].title, "入力エラー");
    EXPECT_EQ(form.txtLeft->text(), QStringLiteral("5")) << "the stored margin comes back";
    EXPECT_EQ(form.margins().left, 5);
}

TEST(TfrmPrint, PrintsTheSheetWithTheDialogsObjectNameDateAndMargins) {
    ensureApp();
    ui::testing::FakeServices services;
    services.surfaceFactory = qtPicture;
    model::Document doc;
    doc.displayKind = 'B';
    doc.tables.luxLevel = {0, 10, 20, 50, 100, 200, 400};
    catalog::TourokuTable touroku;
    auto t = printtest::makeType(1, [](int, int) { return 100.0; }, "PRINTED-1");
    t.placedCount = 4;
    touroku[1] = t;
    calc::ResultStats stats;
    stats.maxLux = 640;
    stats.averageLux = 320;
    calc::CalcSettings settings;
    ui::qt::ImageSurface plan(1915, 900);
    PrintSource source{&doc, &touroku, &stats, &settings, &plan, SheetPainters{}};

    TfrmPrint form(services);
    form.setSource(source);
    form.FormShow();
    form.txtBukkenmei->setText(QStringLiteral("中央公民館"));
    form.txtDate->setText(QStringLiteral("令和8年12月8日"));
    form.txtLeft->setText(QStringLiteral("15"));
    const std::string dir = printtest::scratchDir("tfrmprint");
    form.printer().setOutputFormat(QPrinter::PdfFormat);
    services.fileAnswers = {dir + "/sheet.pdf"};  // a PDF job names its file
    form.printer().setPageOrientation(QPageLayout::Portrait);
    ASSERT_TRUE(form.btnPrintClick());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "用紙を横方向に設定します。");
    EXPECT_EQ(doc.projectName, "中央公民館");

    double w = 0, h = 0;
    ASSERT_TRUE(printtest::pdfPageSize(dir + "/sheet.pdf", w, h));
    EXPECT_GT(w, h) << "landscape";
    const auto words = printtest::pdfWords(dir + "/sheet.pdf");
    for (const char* text : {"照度分布図", "物件名：中央公民館", "令和8年12月8日", "PRINTED-1", "640Lx", "400Lx"})
        EXPECT_NE(printtest::findWord(words, text), nullptr) << text;
    // The left margin of 15 mm moves the title: the page's printable area starts at the paper's margin.
    const printtest::PdfWord* title = printtest::findWord(words, "照度分布図");
    ASSERT_NE(title, nullptr);
    EXPECT_GT(title->xMin, (15 + 4) * 72 / 25.4);
    EXPECT_TRUE(printtest::renderPdf(dir + "/sheet.pdf", dir + "/sheet"));
}

TEST(TfrmPrint, WithoutAPrinterTheSheetGoesToAPdfFileTheUserNames) {
    ensureApp();
    if (ui::qt::printerAvailable()) GTEST_SKIP() << "this machine has a printer";
    ui::testing::FakeServices services;
    const std::string dir = printtest::scratchDir("tfrmprint_noprinter");
    services.fileAnswers = {dir + "/table.pdf"};
    TfrmPrint form(services);
    catalog::TourokuTable touroku;
    auto t = printtest::makeType(1, [](int, int) { return 100.0; }, "LISTED-7");
    t.placedCount = 7;
    touroku[7] = t;
    ASSERT_TRUE(form.printFixtureTable(touroku, FixtureTableStyle{}));
    ASSERT_EQ(services.saveRequests.size(), 1u);
    EXPECT_EQ(services.saveRequests[0].defaultExtension, "pdf");
    const auto words = printtest::pdfWords(dir + "/table.pdf");
    EXPECT_NE(printtest::findWord(words, "LISTED-7"), nullptr);
    EXPECT_NE(printtest::findWord(words, "記号"), nullptr);
}
