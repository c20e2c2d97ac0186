// The distribution map sheet printed to PDF in each display kind and read back: texts by pdftotext -bbox
// at their places on the landscape page, the picture by pdftoppm.
#include "PrintTestSupport.h"
#include "print/DistributionSheet.h"
#include "model/ProjectFile.h"
#include "print/PdfPrint.h"
#include "ui/testing/FakeServices.h"
#include "ui/qt/HeadlessServices.h"
#include "ui/qt/QtSurface.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

using namespace print;
using printtest::PdfWord;

namespace {

constexpr double kPt = 72.0 / kPdfDpi;  // PDF points per printer dot

struct Scene {
    model::Document doc;
    catalog::TourokuTable touroku;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    ui::qt::ImageSurface planImage{1915, 900};
};

// A room of 800 × 450 plan pixels with two fixture types placed; the "result" is painted into the plan
// image as a solid colour over the lit extent, so that the printed picture can be recognised.
void buildScene(Scene& s, char kind) {
    s.doc.displayKind = kind;
    s.doc.tables.luxLevel = {0, 100, 200, 300, 500, 750, 1000};
    s.doc.tables.classColour = {ui::Color{52, 96, 226}, ui::Color{43, 154, 165}, ui::Color{45, 217, 57},
                                ui::Color{200, 220, 40}, ui::Color{240, 150, 30}, ui::Color{230, 40, 40}};
    s.doc.tables.symbolColour = {ui::Color{0, 0, 0},     ui::Color{255, 255, 0}, ui::Color{255, 150, 0}, ui::Color{255, 0, 0},
                                 ui::Color{100, 255, 0}, ui::Color{80, 80, 255}, ui::Color{40, 130, 100}, ui::Color{255, 255, 255}};
    s.doc.tenDaka = 2800;
    for (auto [x1, y1, x2, y2] : {std::array<int, 4>{200, 150, 1000, 150}, {1000, 150, 1000, 600}, {1000, 600, 200, 600},
                                  {200, 600, 200, 150}}) {
        model::LineRecord l;
        l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
        model::normaliseLine(l);
        s.doc.plan.lines.add(l);
    }
    catalog::BunpuHinban a;
    a.hinban = "DLX-1200W-WIDE";
    a.lampName = "ＬＥＤ白色";
    a.lampNameA = "LED-1200";
    a.kou = 1200;
    a.tosu = 1;
    a.placedCount = 6;
    s.touroku[2] = a;
    a.hinban = "FLX-40";
    a.lampNameA = "FHF32EX-N-H";
    a.kou = 3200;
    a.tosu = 2;
    a.placedCount = 3;
    s.touroku[20] = a;
    s.stats.maxLux = 812;
    s.stats.averageLux = 455;
    s.stats.litMinCol = 210;
    s.stats.litMaxCol = 990;
    s.stats.litMinRow = 160;
    s.stats.litMaxRow = 590;
    s.planImage.fillRect(ui::Rect{210, 160, 990, 590}, ui::Color{45, 217, 57});
}

// The page as the PDF job measures it.
PageGeometry pdfPage(ui::Services& services, const std::string& dir, bool landscape) {
    auto job = services.startPdfJob(dir + "/probe.pdf", landscape, kPdfDpi);
    EXPECT_TRUE(job->page().isPrinter());
    EXPECT_EQ(job->page().dpiX(), kPdfDpi);
    const PageGeometry g = PageGeometry::of(job->page());
    // The whole A4 sheet is the printable page.
    EXPECT_NEAR((landscape ? g.PW : g.PH) / g.dX, 297, 0.5);
    EXPECT_NEAR((landscape ? g.PH : g.PW) / g.dY, 210, 0.5);
    job->finish();
    return g;
}

struct Calls {
    std::vector<std::string> log;
};

SheetPainters fakePainters(Calls& calls) {
    SheetPainters p;
    auto record = [&calls](const char* name) {
        return [&calls, name](ui::Surface& page, double ox, double oy, double scale) {
            std::ostringstream o;
            o << name << ' ' << ox << ' ' << oy << ' ' << scale;
            calls.log.push_back(o.str());
            // One closed line as the view would draw the room's walls, in red so that the picture shows it.
            page.setPen(ui::Pen{ui::Color{255, 0, 0}, 3});
            page.moveTo(static_cast<int>(ox + scale * 200), static_cast<int>(oy + scale * 150));
            page.lineTo(static_cast<int>(ox + scale * 1000), static_cast<int>(oy + scale * 600));
        };
    };
    p.drawContours = record("contours");
    p.drawWalls = record("walls");
    p.drawFixtures = record("fixtures");
    p.drawColorTempScale = [&calls](ui::Surface& page, const ui::Rect& r) {
        calls.log.push_back("ctscale");
        page.fillRect(r, ui::Color{255, 160, 60});
    };
    return p;
}

// Expects a word at the text's place: left edge x (dots), vertical centre y (dots), within tolerance (points).
void expectLeftCentred(const std::vector<PdfWord>& words, const std::string& text, int x, int y, double tol = 2.5) {
    const PdfWord* w = printtest::findWord(words, text);
    ASSERT_NE(w, nullptr) << text;
    EXPECT_NEAR(w->xMin, x * kPt, tol) << text;
    EXPECT_NEAR((w->yMin + w->yMax) / 2, y * kPt, tol) << text;
}

} // namespace

TEST(DistributionSheetPdf, PrintsEachDisplayKindOnALandscapePageWithItsTextsInPlace) {
    printtest::ensureGuiApp();
    const std::string dir = printtest::scratchDir("distribution_pdf");
    for (char kind : {'B', 'T', 'C'}) {
        SCOPED_TRACE(kind);
        Scene scene;
        buildScene(scene, kind);
        scene.settings.showFixturesOnResult = kind == 'T';
        std::ostringstream messages;
        ui::qt::HeadlessServices services(messages);
        Calls calls;
        const std::string pdf = dir + "/sheet_" + kind + ".pdf";
        const Margins margins{8, 6, 10, 7};
        ASSERT_TRUE(printDistributionMapPdf(pdf, scene.doc, scene.touroku, scene.stats, scene.settings, scene.planImage,
                                            fakePainters(calls), "駅前ビル３階", "2026/12/08", services, margins));

        double w = 0, h = 0;
        ASSERT_TRUE(printtest::pdfPageSize(pdf, w, h));
        EXPECT_NEAR(w, 841.9, 1);
        EXPECT_NEAR(h, 595.3, 1);

        // The page in dots as the sheet measured it.
        const PageGeometry g = pdfPage(services, dir, true);
        const MarginDots m = MarginDots::of(margins, g);
        const int bottom = g.PH - m.MB;
        const auto words = printtest::pdfWords(pdf);
        const std::string title = kind == 'C' ? "色温度分布図" : "照度分布図";
        expectLeftCentred(words, title, truncDots(m.ML + 4 * g.dX) + 3, truncDots(bottom - 5 * g.dY), 3.5);
        EXPECT_EQ(printtest::findWord(words, kind == 'C' ? "照度分布図" : "色温度分布図") != nullptr, false);
        expectLeftCentred(words, "物件名：駅前ビル３階", truncDots(m.ML + 50 * g.dX) + 3, truncDots(bottom - 5 * g.dY), 3);
        expectLeftCentred(words, "DATE", truncDots(m.ML + 203 * g.dX) + 3, truncDots(bottom - 7 * g.dY));
        expectLeftCentred(words, "2026/12/08", truncDots(m.ML + 203 * g.dX) + 3 + 0, truncDots(bottom - 7 * g.dY), 40);
        expectLeftCentred(words, "ZOLT", truncDots(m.ML + 203 * g.dX) + 3, truncDots(bottom - 3 * g.dY));
        EXPECT_NE(printtest::findWord(words, "Ver"), nullptr);
        for (const SheetNote& note : kSheetNotes) {
            // pdftotext reads the leading ideographic space as a word break.
            std::string first = note.text;
            if (first.rfind("　", 0) == 0) first = first.substr(3);
            expectLeftCentred(words, first, truncDots(m.ML + 4 * g.dX) + 3, truncDots(bottom - note.mmAboveBottom * g.dY), 14);
            const PdfWord* wd = printtest::findWord(words, first);
            ASSERT_NE(wd, nullptr);
            EXPECT_NEAR((wd->yMin + wd->yMax) / 2, truncDots(bottom - note.mmAboveBottom * g.dY) * kPt, 2.5) << first;
        }

        // Statistics on the plan frame's lower edge: the maximum ends left of 95 %, the height starts at 5 %.
        const PlanArea a = planArea(g, m, printRegion(model::computeExtent(scene.doc.plan, 1920, 1080), scene.stats));
        const int yS = truncDots(m.MT + 0.975 * a.ah);
        const PdfWord* maxWord = printtest::findWord(words, "最大照度");
        ASSERT_NE(maxWord, nullptr);
        EXPECT_NEAR(maxWord->yMax, (yS - 3) * kPt, 3);
        const PdfWord* closing = nullptr;
        for (const auto& wd : words)
            if (wd.text == ")" && std::abs(wd.yMax - maxWord->yMax) < 1) closing = &wd;
        ASSERT_NE(closing, nullptr);
        EXPECT_LT(closing->xMax, (truncDots(m.ML + 0.95 * a.aw) - 3) * kPt + 0.5);
        EXPECT_GT(closing->xMax, (truncDots(m.ML + 0.95 * a.aw) - 3) * kPt - 15) << "only the two trailing blanks after it";
        EXPECT_NE(printtest::findWord(words, "812Lx"), nullptr);
        EXPECT_NE(printtest::findWord(words, "455Lx"), nullptr);
        const PdfWord* height = printtest::findWord(words, "基準天高");
        ASSERT_NE(height, nullptr);
        EXPECT_NEAR(height->xMin, (truncDots(m.ML + 0.05 * a.aw) + 3) * kPt, 2);
        EXPECT_NE(printtest::findWord(words, "2800mm"), nullptr);

        // The fixture table at the right margin: header and rows with cut product numbers and the flux.
        const int R = g.PW - m.MR;
        expectLeftCentred(words, "記号", truncDots(R - 78 * g.dX) + 3, truncDots(m.MT + 7.5 * g.dY));
        expectLeftCentred(words, "ランプ名", truncDots(R - 43 * g.dX) + 3, truncDots(m.MT + 7.5 * g.dY));
        expectLeftCentred(words, "DLX-1200W-", truncDots(R - 70 * g.dX) + 3, truncDots(m.MT + (10.5 + 1.4) * g.dY));
        EXPECT_EQ(printtest::findWord(words, "DLX-1200W-WIDE"), nullptr) << "cut to 10 bytes";
        expectLeftCentred(words, "FLX-40", truncDots(R - 70 * g.dX) + 3, truncDots(m.MT + (10.5 + 7 + 1.4) * g.dY));
        const PdfWord* flux = printtest::findWord(words, "6400");
        ASSERT_NE(flux, nullptr);
        EXPECT_NEAR(flux->xMax, (truncDots(R - 10 * g.dX) - 3) * kPt, 1.5) << "right-aligned";

        // The legend of the colour map only.
        // The wave dash may come back as U+301C: the font draws both with one glyph.
        const PdfWord* level = printtest::findWord(words, "750Lx");
        EXPECT_EQ(level != nullptr, kind == 'B');
        if (level) {
            const double x0 = m.ML + 0.975 * a.aw - 40 * g.dX;
            EXPECT_NEAR(level->xMax, (truncDots(x0 + 35 * g.dX) - 3) * kPt, 1.5);
            // 750 is the fifth level: the second row from the top.
            EXPECT_NEAR((level->yMin + level->yMax) / 2, truncDots(m.MT + a.ah + 5 * g.dY + 2.5 * g.dY) * kPt, 2.5);
        }

        // The painters: contours, walls and fixtures for 'T' at the region's offset; the scale picture for 'C'.
        if (kind == 'T') {
            const PrintRegion r = printRegion(model::computeExtent(scene.doc.plan, 1920, 1080), scene.stats);
            std::ostringstream expected;
            expected << (a.ox - a.m * r.x1) << ' ' << (a.oy - a.m * r.y1) << ' ' << a.m;
            ASSERT_EQ(calls.log.size(), 3u);
            EXPECT_EQ(calls.log[0], "contours " + expected.str());
            EXPECT_EQ(calls.log[1], "walls " + expected.str());
            EXPECT_EQ(calls.log[2], "fixtures " + expected.str());
        } else {
            EXPECT_EQ(calls.log, kind == 'C' ? std::vector<std::string>{"ctscale"} : std::vector<std::string>{});
        }

        // Rendered: the colour picture fills the plan's middle for the colour displays.
        const std::string png = dir + "/sheet_" + kind;
        ASSERT_TRUE(printtest::renderPdf(pdf, png, 72));
        QImage page(QString::fromStdString(png + ".png"));
        ASSERT_FALSE(page.isNull());
        EXPECT_GT(page.width(), page.height());
        const PrintRegion r = printRegion(model::computeExtent(scene.doc.plan, 1920, 1080), scene.stats);
        const int midX = static_cast<int>((a.ox + a.m * (600 - r.x1)) * kPt);
        const int midY = static_cast<int>((a.oy + a.m * (250 - r.y1)) * kPt);
        const QColor c = page.pixelColor(midX, midY);
        if (kind == 'T') EXPECT_EQ(c, QColor(Qt::white));
        else EXPECT_EQ(c, QColor(45, 217, 57));
    }
}

TEST(DistributionSheetPdf, WithReflectedLightTheNotesNameTheRoomClearOfTheLegendAndWithoutItStayAsTheyWere) {
    printtest::ensureGuiApp();
    const std::string dir = printtest::scratchDir("distribution_reflections");
    Scene scene;
    buildScene(scene, 'B');
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    Calls calls;
    const Margins margins{8, 6, 10, 7};
    calc::IndirectFigures off;  // a result of direct light alone carries its figures switched off
    off.room.roomHeight = 2650;
    calc::IndirectFigures on = off;
    on.on = true;
    on.room = calc::RoomGeometry{2650.4, 750, 0.8f, 0.5f, 0.3f};
    ASSERT_TRUE(printDistributionMapPdf(dir + "/off.pdf", scene.doc, scene.touroku, scene.stats, scene.settings, scene.planImage,
                                        fakePainters(calls), "", "", services, margins, &off));
    ASSERT_TRUE(printDistributionMapPdf(dir + "/on.pdf", scene.doc, scene.touroku, scene.stats, scene.settings, scene.planImage,
                                        fakePainters(calls), "", "", services, margins, &on));
    const auto offWords = printtest::pdfWords(dir + "/off.pdf");
    const auto onWords = printtest::pdfWords(dir + "/on.pdf");
    EXPECT_NE(printtest::findWord(offWords, "考慮されておりません。"), nullptr);
    EXPECT_EQ(printtest::findWord(offWords, "相互反射を計算しています。"), nullptr);
    EXPECT_EQ(printtest::findWord(onWords, "考慮されておりません。"), nullptr);
    EXPECT_EQ(printtest::findWord(onWords, "■この照度分布図は、逐点法により照度を算出しているため、"), nullptr);

    const PageGeometry g = pdfPage(services, dir, true);
    const MarginDots m = MarginDots::of(margins, g);
    const int bottom = g.PH - m.MB;
    const PdfWord* room = printtest::findWord(onWords, "反射率：天井80%・壁50%・床30%、天井高2650mm・作業面高さ750mmで");
    ASSERT_NE(room, nullptr);
    EXPECT_NEAR((room->yMin + room->yMax) / 2, truncDots(bottom - 27 * g.dY) * kPt, 2.5);
    // The longest note ends before the legend, which stands under the plan at its right.
    const PlanArea a = planArea(g, m, printRegion(model::computeExtent(scene.doc.plan, 1920, 1080), scene.stats));
    EXPECT_LT(room->xMax, (m.ML + 0.975 * a.aw - 40 * g.dX) * kPt);
    const PdfWord* closing = printtest::findWord(onWords, "相互反射を計算しています。");
    ASSERT_NE(closing, nullptr);
    EXPECT_NEAR((closing->yMin + closing->yMax) / 2, truncDots(bottom - 22 * g.dY) * kPt, 2.5);
}

TEST(DistributionSheetPdf, PrintsTheFixtureTableAloneAtTheLeftMargin) {
    printtest::ensureGuiApp();
    const std::string dir = printtest::scratchDir("table_pdf");
    Scene scene;
    buildScene(scene, 'B');
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    const std::string pdf = dir + "/table.pdf";
    ASSERT_TRUE(printFixtureTablePdf(pdf, scene.touroku, FixtureTableStyle{'A', scene.doc.tables.symbolColour}, Margins{5, 5, 12, 5},
                                     false, services));
    const auto words = printtest::pdfWords(pdf);
    const PageGeometry g = pdfPage(services, dir, false);
    const MarginDots m = MarginDots::of(Margins{5, 5, 12, 5}, g);
    expectLeftCentred(words, "記号", m.ML + 3, truncDots(m.MT + 7.5 * g.dY));
    const int R = truncDots(m.ML + 78 * g.dX);
    expectLeftCentred(words, "FLX-40", truncDots(R - 70 * g.dX) + 3, truncDots(m.MT + (10.5 + 7 + 1.4) * g.dY));
    EXPECT_NE(printtest::findWord(words, "FHF32EX-N-H"), nullptr);
    EXPECT_EQ(printtest::findWord(words, "照度分布図"), nullptr);
    EXPECT_TRUE(printtest::renderPdf(pdf, dir + "/table"));

    // A file that cannot be written is reported as a failure, not as printed.
    EXPECT_FALSE(printFixtureTablePdf(dir + "/missing/dir/table.pdf", scene.touroku, FixtureTableStyle{}, Margins{}, false, services));
}

TEST(ListPrintCli, PrintsOnlyThePlacedTypesOfAProject) {
    const std::string dir = printtest::scratchDir("list_print_cli");
    model::Document doc;
    catalog::TourokuTable touroku;
    catalog::BunpuHinban t;
    t.planeCount = 1;
    t.kou = 2000;
    t.tosu = 1;
    t.hinban = "SLOT3-ONLY";
    t.lampNameA = "LED-A";
    t.lampName = "ＬＥＤ電球形";
    touroku[3] = t;
    t.hinban = "SLOT20-FL";
    touroku[20] = t;
    model::KiguRecord k;
    k.x = 100;
    k.y = 100;
    k.typeIndex = 20;
    doc.plan.kigu.add(k);
    k.x = 200;
    doc.plan.kigu.add(k);
    ui::testing::FakeServices services;
    const std::string project = dir + "/list.OLE";
    ASSERT_TRUE(model::writeProject(project, doc, touroku, services));

    std::string out;
    ASSERT_EQ(printtest::runCli({"list-print", project, "--pdf", dir + "/list.pdf", "--mode", "J", "--margins", "5,5,20,5"}, &out), 0)
        << out;
    const auto words = printtest::pdfWords(dir + "/list.pdf");
    EXPECT_NE(printtest::findWord(words, "SLOT20-FL"), nullptr);
    EXPECT_EQ(printtest::findWord(words, "SLOT3-ONLY"), nullptr);
    EXPECT_NE(printtest::findWord(words, "ＬＥＤ電球形"), nullptr);
    const PdfWord* head = printtest::findWord(words, "記号");
    ASSERT_NE(head, nullptr);
    EXPECT_NEAR(head->xMin, (truncDots(20 * kPdfDpi * 0.0393701 + 0.5) + 3) * kPt, 1.5) << "the table starts at the left margin";
    const PdfWord* count = printtest::findWord(words, "2");
    EXPECT_NE(count, nullptr);
    EXPECT_TRUE(printtest::renderPdf(dir + "/list.pdf", dir + "/list"));

    EXPECT_EQ(printtest::runCli({"list-print", project, "--pdf", dir + "/x.pdf", "--margins", "5,5,x,5"}, &out), 2);
    EXPECT_EQ(printtest::runCli({"list-print", project}, &out), 2);
}
