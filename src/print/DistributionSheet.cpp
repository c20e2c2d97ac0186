// The distribution map sheet: region, plan area, legend, statistics, table, notes and footer.
#include "print/DistributionSheet.h"

#include "base/Text.h"
#include "calc/SettingsDialogs.h"
#include "print/PdfPrint.h"
#include "view/AreaTable.h"
#include "view/ResultPresenter.h"

#include <algorithm>
#include <cmath>

namespace print {

const std::array<SheetNote, 5> kSheetNotes = {{
    {37, "■空間内における家具等の影響は含まれておりません。"},
    {32, "■この照度分布図は、逐点法により照度を算出しているため、"},
    {27, "　空間内における、天井・壁・床等の各部反射率は、"},
    {22, "　考慮されておりません。"},
    {17, "■現場状況により、実際の照度とは異なる場合があります。"},
}};

std::array<SheetNote, 5> sheetNotes(const SheetContent& c) {
    if (!c.reflections) return kSheetNotes;
    const std::array<std::string, 3> note = calc::reflectionNoteParts(*c.reflections);
    return {{kSheetNotes[0], {32, note[0]}, {27, "　" + note[1]}, {22, "　" + note[2]}, kSheetNotes[4]}};
}

std::string sheetTitle(char displayKind) { return displayKind == 'C' ? "色温度分布図" : "照度分布図"; }

PrintRegion printRegion(const model::Extent& e, const calc::ResultStats& s) {
    PrintRegion r;
    r.x1 = std::min(e.Xs, s.litMinCol);
    r.x2 = std::max(e.Xe, s.litMaxCol);
    r.y1 = std::min(e.Ys, s.litMinRow);
    r.y2 = std::max(e.Ye, s.litMaxRow);
    return r;
}

std::unique_ptr<ui::Surface> copyRegion(const ui::Surface& planImage, const PrintRegion& region, ui::Services& services) {
    const int w = std::max(1, region.width()), h = std::max(1, region.height());
    auto picture = services.createSurface(w, h);
    if (!picture) return nullptr;
    picture->stretchSurface(ui::Rect{0, 0, w, h}, planImage, ui::Rect{region.x1, region.y1, region.x1 + w, region.y1 + h});
    // The window's own reading of the average and maximum is not part of the plan: the sheet prints its
    // figures under the frame.
    const ui::Rect box = view::kFiguresTextBox;
    const ui::Rect inPicture{std::max(0, box.left - region.x1), std::max(0, box.top - region.y1),
                             std::min(w, box.right - region.x1), std::min(h, box.bottom - region.y1)};
    if (inPicture.left < inPicture.right && inPicture.top < inPicture.bottom) picture->fillRect(inPicture, ui::colors::white);
    return picture;
}

PlanArea planArea(const PageGeometry& g, const MarginDots& m, const PrintRegion& region) {
    PlanArea a;
    a.aw = truncDots(g.PW - m.MR - m.ML - 78 * g.dX);
    a.ah = truncDots(g.PH - m.MT - m.MB - 45 * g.dY);
    const int w = std::max(1, region.width()), h = std::max(1, region.height());
    float k = static_cast<float>(0.95 * a.aw / w);
    const float kh = static_cast<float>(0.95 * a.ah / h);
    if (kh < k) k = kh;
    a.k = k * 0.8f;
    a.m = truncDots(a.k + 0.5f);
    // The whole plan stays inside the frame drawn round it (95 % of the area's width, from 5 mm below its
    // top to 97.5 % of its height, the plan centred): rounded up, the scale must still fit there.
    const double frameW = 0.95 * a.aw, frameH = 2 * std::min(a.ah / 2.0 - 5 * g.dY, 0.475 * a.ah);
    const double fits = std::min(frameW / w, frameH / h);
    if (a.m > fits) a.m = static_cast<int>(std::floor(fits));
    // A plan larger than the area at one dot per pixel would vanish at scale 0; it keeps its fraction.
    a.scale = a.m >= 1 ? a.m : std::clamp(static_cast<double>(a.k), 0.0, std::max(0.0, fits));
    a.ox = m.ML + truncDots((a.aw - a.scale * w) / 2);
    a.oy = m.MT + truncDots((a.ah - a.scale * h) / 2);
    return a;
}

SheetContent sheetContentOf(const model::Document& doc, const catalog::TourokuTable& touroku,
                            const calc::ResultStats& stats, const calc::CalcSettings& settings,
                            const calc::IndirectFigures* indirect) {
    SheetContent c;
    if (indirect && indirect->on) c.reflections = indirect->room;
    c.displayKind = doc.displayKind;
    c.showFixturesOnResult = settings.showFixturesOnResult;
    c.luxLevel = doc.tables.luxLevel;
    c.classColour = doc.tables.classColour;
    c.symbolColour = doc.tables.symbolColour;
    c.maxLux = stats.maxLux;
    c.averageLux = stats.averageLux;
    c.tenDaka = doc.tenDaka;
    c.productTitle = doc.productTitle;
    c.touroku = &touroku;
    c.lampNameMode = doc.lampNameMode;
    c.region = printRegion(model::computeExtent(doc.plan, doc.screenWidth, doc.screenHeight), stats);
    c.objectName = doc.projectName;
    c.areas = stats.areas;
    c.calcStep = stats.calcStep;
    return c;
}

namespace {

// Black text on no box and the frame inside the margins: how every page of the sheet begins.
void drawSheetFrame(ui::Surface& page, const PageGeometry& g, const MarginDots& m) {
    page.setTextBackground(ui::colors::white, false);
    ui::Font font = page.font();
    font.color = ui::colors::black;
    page.setFont(font);
    page.setPen(ui::Pen{ui::colors::black});
    page.setBrush(ui::Brush{ui::colors::white, true});
    page.rectangle(m.ML, m.MT, g.PW - m.MR, g.PH - m.MB);
}

} // namespace

void drawDistributionSheet(ui::Surface& page, const SheetContent& c, const SheetPainters& painters) {
    const PageGeometry g = PageGeometry::of(page);
    const MarginDots m = MarginDots::of(c.margins, g);
    const PlaceTextFn& text = painters.placeText;
    auto mmX = [&](double mm) { return mm * g.dX; };
    auto mmY = [&](double mm) { return mm * g.dY; };
    auto line = [&](int x1, int y1, int x2, int y2) {
        page.moveTo(x1, y1);
        page.lineTo(x2, y2);
    };
    drawSheetFrame(page, g, m);

    // Footer band.
    const int yF = truncDots(g.PH - m.MB - mmY(10));
    line(m.ML, yF, g.PW - m.MR, yF);
    for (double at : {45.0, 200.0}) {
        const int xv = truncDots(m.ML + mmX(at));
        line(xv, yF, xv, g.PH - m.MB);
    }

    if (c.touroku) {
        FixtureTableStyle style{c.lampNameMode, c.symbolColour};
        drawFixtureTable(page, g, m, g.PW - m.MR, *c.touroku, style, text);
    }

    // Plan with the result display.
    const PlanArea a = planArea(g, m, c.region);
    page.setPen(ui::Pen{ui::colors::black});
    page.setBrush(ui::Brush{ui::colors::white, true});
    page.rectangle(truncDots(m.ML + 0.025 * a.aw), truncDots(m.MT + mmY(5)), truncDots(m.ML + 0.975 * a.aw),
                   truncDots(m.MT + 0.975 * a.ah));
    if (c.displayKind == 'T') {
        const double offX = a.ox - a.scale * c.region.x1, offY = a.oy - a.scale * c.region.y1;
        if (painters.drawContours) painters.drawContours(page, offX, offY, a.scale);
        page.setPen(ui::Pen{ui::colors::black});
        if (painters.drawWalls) painters.drawWalls(page, offX, offY, a.scale);
        if (c.showFixturesOnResult && painters.drawFixtures) painters.drawFixtures(page, offX, offY, a.scale);
    } else if (c.picbmp) {
        const int w = c.picbmp->width(), h = c.picbmp->height();
        page.stretchSurface(ui::Rect{a.ox, a.oy, a.ox + truncDots(a.scale * w), a.oy + truncDots(a.scale * h)}, *c.picbmp,
                            ui::Rect{0, 0, w, h});
    }

    // Legend under the plan, at its right.
    const double x0 = m.ML + 0.975 * a.aw - mmX(40);
    const int yL = m.MT + a.ah;
    if (c.displayKind == 'B') {
        for (int i = 0; i < 6; ++i) {
            const int top = truncDots(yL + mmY(5 * i));
            const ui::Color colour = c.classColour[static_cast<std::size_t>(5 - i)];
            page.setPen(ui::Pen{ui::colors::black});
            page.setBrush(ui::Brush{colour});
            page.rectangle(truncDots(x0), top, truncDots(x0 + mmX(12)), truncDots(yL + mmY(5 * i) + mmY(4)));
            text(page, truncDots(x0 + mmX(35)), truncDots(yL + mmY(5 * i) + mmY(2.5)), 6, 9,
                 base::formatInt(c.luxLevel[static_cast<std::size_t>(6 - i)]) + "Lx～", false);
        }
        page.setBrush(ui::Brush{ui::colors::white, true});
    } else if (c.displayKind == 'C' && painters.drawColorTempScale) {
        painters.drawColorTempScale(page, ui::Rect{truncDots(x0), yL, truncDots(x0 + mmX(40)), truncDots(yL + mmY(10))});
    }

    // Statistics on the plan frame's lower edge.
    const int yS = truncDots(m.MT + 0.975 * a.ah);
    text(page, truncDots(m.ML + 0.95 * a.aw), yS, 3, 9,
         "最大照度 : " + base::formatInt(c.maxLux) + "Lx  " + " (平均照度 : " + base::formatInt(c.averageLux) + "Lx )  ", false);
    text(page, truncDots(m.ML + 0.05 * a.aw), yS, 1, 9, "基準天高 : " + base::formatInt(c.tenDaka) + "mm", false);

    // Footer texts and notes.
    const double bottom = g.PH - m.MB;
    text(page, truncDots(m.ML + mmX(4)), truncDots(bottom - mmY(5)), 4, 15, sheetTitle(c.displayKind), false);
    text(page, truncDots(m.ML + mmX(50)), truncDots(bottom - mmY(5)), 4, 13, "物件名：" + c.objectName, false);
    text(page, truncDots(m.ML + mmX(203)), truncDots(bottom - mmY(7)), 4, 9, "DATE : " + c.date, false);
    text(page, truncDots(m.ML + mmX(203)), truncDots(bottom - mmY(3)), 4, 7, "ZOLT LIGHTING CORP. " + c.productTitle, false);
    for (const SheetNote& note : sheetNotes(c))
        text(page, truncDots(m.ML + mmX(4)), truncDots(bottom - mmY(note.mmAboveBottom)), 4, 9, note.text, false);
}

void drawAreaTablePages(ui::PrintJob& job, const SheetContent& c, const SheetPainters& painters) {
    const PlaceTextFn& text = painters.placeText;
    std::size_t next = 0;
    do {
        if (next > 0 && !job.newPage()) return;
        ui::Surface& page = job.page();
        const PageGeometry g = PageGeometry::of(page);
        const MarginDots m = MarginDots::of(c.margins, g);
        auto x = [&](double mm) { return truncDots(m.ML + mm * g.dX); };
        auto y = [&](double mm) { return truncDots(m.MT + mm * g.dY); };
        drawSheetFrame(page, g, m);
        text(page, x(6), y(8), 4, 15, view::kAreaTableTitle, false);
        text(page, x(6), truncDots(g.PH - m.MB - 5 * g.dY), 4, 13, "物件名：" + c.objectName, false);
        text(page, truncDots(g.PW - m.MR - 6 * g.dX), truncDots(g.PH - m.MB - 5 * g.dY), 6, 9, "DATE : " + c.date, false);

        // Columns: left edge of the name, then the right edges of the figures, in mm from the margin.
        static const std::array<double, view::kAreaTableColumns> columnMm{6, 95, 120, 145, 165, 187, 212, 237, 260};
        auto row = [&](double rowY, const view::AreaTableRow& cells) {
            for (std::size_t i = 0; i < cells.size(); ++i) text(page, x(columnMm[i]), y(rowY), i == 0 ? 4 : 6, 9, cells[i], false);
        };
        const double rowMm = 7;
        double rowY = 22;
        row(rowY, view::areaTableHeadings());
        page.moveTo(x(4), y(rowY + rowMm / 2));
        page.lineTo(x(262), y(rowY + rowMm / 2));
        const double lastRow = (g.PH - m.MB - m.MT) / g.dY - 22;
        // At least one row a page, whatever the margins leave, so that the table always comes to an end.
        const std::size_t first = next;
        for (rowY += rowMm; next < c.areas.size() && (rowY <= lastRow || next == first); rowY += rowMm, ++next)
            row(rowY, view::areaTableRow(c.areas[next]));
        if (next == c.areas.size() && c.calcStep > 1) text(page, x(6), y(rowY + rowMm / 2), 4, 9, view::areaTableStepNote(c.calcStep), false);
    } while (next < c.areas.size());
}

void drawDistributionSheetPages(ui::PrintJob& job, const SheetContent& c, const SheetPainters& painters) {
    drawDistributionSheet(job.page(), c, painters);
    if (c.areas.empty() || !job.newPage()) return;
    drawAreaTablePages(job, c, painters);
}

void drawFixtureTableAlone(ui::Surface& page, const Margins& margins, const catalog::TourokuTable& touroku,
                           const FixtureTableStyle& style, const PlaceTextFn& placeText) {
    const PageGeometry g = PageGeometry::of(page);
    const MarginDots m = MarginDots::of(margins, g);
    page.setTextBackground(ui::colors::white, false);
    drawFixtureTable(page, g, m, truncDots(m.ML + 78 * g.dX), touroku, style, placeText);
}

bool askForLandscape(bool landscape, ui::Services& services) {
    if (landscape) return false;
    services.messageBox(kMsgLandscape, "", ui::Icon::Information, ui::Buttons::Ok);
    return true;
}

bool printDistributionMapPdf(const std::string& path, const model::Document& doc, const catalog::TourokuTable& touroku,
                             const calc::ResultStats& stats, const calc::CalcSettings& settings,
                             const ui::Surface& planImage, const SheetPainters& painters, const std::string& objectName,
                             const std::string& date, ui::Services& services, const Margins& margins,
                             const calc::IndirectFigures* indirect) {
    SheetContent content = sheetContentOf(doc, touroku, stats, settings, indirect);
    content.objectName = objectName;
    content.date = date;
    content.margins = margins;
    std::unique_ptr<ui::Surface> picbmp;
    if (content.displayKind != 'T') {
        picbmp = copyRegion(planImage, content.region, services);
        content.picbmp = picbmp.get();
    }
    auto job = services.startPdfJob(path, true, kPdfDpi);
    if (!job) return false;
    drawDistributionSheetPages(*job, content, painters);
    return job->finish();
}

bool printFixtureTablePdf(const std::string& path, const catalog::TourokuTable& touroku, const FixtureTableStyle& style,
                          const Margins& margins, bool landscape, ui::Services& services) {
    auto job = services.startPdfJob(path, landscape, kPdfDpi);
    if (!job) return false;
    drawFixtureTableAlone(job->page(), margins, touroku, style);
    return job->finish();
}

} // namespace print
