// The designer's report laid out as blocks that flow over A4 pages, then drawn page by page with "n / N".
#include "print/ReportSheets.h"

#include "base/Text.h"
#include "calc/AreaFigures.h"
#include "calc/PowerFigures.h"
#include "calc/SettingsDialogs.h"
#include "print/CurveSheet.h"
#include "print/PdfPrint.h"
#include "view/AreaTable.h"
#include "view/Legends.h"
#include "view/ResultMaps.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace print {

ReportPictures reportPictures(const model::Document& doc, const catalog::TourokuTable& touroku,
                              const calc::IlluminanceGrid& grid, const calc::ResultStats& stats, ui::Services& services) {
    ReportPictures p;
    // The curve as the curve window draws it: the diagram clears a wide margin round itself, which on a
    // page would wipe the schedule's neighbouring cells, so it is drawn apart and copied in.
    for (const calc::PowerSlot& s : calc::powerFiguresOf(doc.plan, touroku).types) {
        auto picture = services.createSurface(CurveView::kPictureWidth, CurveView::kPictureHeight);
        if (!picture) continue;
        CurveView view;
        view.fill(touroku[s.slot]);
        view.drawPicture(*picture, placeSheetText);
        p.curves[static_cast<std::size_t>(s.slot)] = std::move(picture);
    }
    auto legend = [&](view::LegendKind kind) {
        const ui::Size size = view::legendSize(kind);
        auto picture = services.createSurface(size.width, size.height);
        if (picture) view::paintLegend(*picture, kind, doc.tables);
        return picture;
    };
    p.colourLegend = legend(view::LegendKind::ColourClasses);
    p.contourLegend = legend(view::LegendKind::ContourLevels);
    auto map = services.createSurface(std::max(1, doc.surfaceWidth), std::max(1, doc.surfaceHeight));
    if (!map) return p;
    map->fillRect(ui::Rect{0, 0, map->width(), map->height()}, ui::colors::white);
    // The painting widens a lit extent as it goes: a copy, so the result's own figures stay as they are.
    calc::ResultStats scratch = stats;
    if (view::paintClassPixels(*map, doc.tables, grid, scratch, true, services)) p.colourMap = std::move(map);
    return p;
}

ReportContent::Pictures ReportPictures::view() const {
    ReportContent::Pictures v{colourMap.get(), colourLegend.get(), contourLegend.get(), {}};
    for (std::size_t s = 0; s < curves.size(); ++s) v.curves[s] = curves[s].get();
    return v;
}

std::string requirementSource(const model::AreaRecord& area, const std::vector<model::TaskPreset>& presets) {
    if (area.preset.empty()) return kReportHandTyped;
    const auto p = model::findTaskPreset(presets, area.preset);
    if (!p) return area.preset;
    std::string text = p->name + (p->source.empty() ? std::string() : "（" + p->source + "）");
    // The glare limit and the colour rendering are what the task asks for; the calculation gives neither.
    if (p->ugrLimit > 0) text += "  UGR_L " + base::formatInt(p->ugrLimit);
    if (p->ra > 0) text += "  Ra " + base::formatInt(p->ra);
    return text;
}

namespace {

// An area asks for something when the table marks it with a pass or a fail.
bool requiresSomething(const calc::AreaFigures& f) { return view::areaMark(f) != "－"; }

} // namespace

std::string reportVerdict(const std::vector<calc::AreaFigures>& areas) {
    std::string failing;
    int judged = 0;
    for (const calc::AreaFigures& f : areas) {
        if (!requiresSomething(f)) continue;
        ++judged;
        if (!f.pass) failing += (failing.empty() ? "" : "、") + f.area.name;
    }
    if (judged == 0) return "要件のある作業領域はありません。";
    if (failing.empty()) return "すべての作業領域（" + base::formatInt(judged) + " 件）が要件を満たしています。";
    return "要件を満たさない作業領域：" + failing;
}

namespace {

constexpr double kMarginMm = 15;
constexpr double kFooterMm = 10;

// One page being drawn: millimetres from the body's top-left corner to dots, and the text placement.
struct Frame {
    ui::Surface& page;
    PageGeometry g;
    double widthMm = 0, heightMm = 0;  // the body, inside the margins and above the footer
    const PlaceTextFn& placeText;

    int x(double mm) const { return truncDots((kMarginMm + mm) * g.dX); }
    int y(double mm) const { return truncDots((kMarginMm + mm) * g.dY); }
    void text(double xMm, double yMm, int code, int sizePt, const std::string& s, bool bold = false) const {
        ui::Font f = page.font();
        f.bold = bold;
        f.color = ui::colors::black;
        page.setFont(f);
        placeText(page, x(xMm), y(yMm), code, sizePt, s, false);
        if (bold) {
            f.bold = false;
            page.setFont(f);
        }
    }
    void line(double x1, double y1, double x2, double y2) const {
        page.setPen(ui::Pen{ui::colors::black});
        page.moveTo(x(x1), y(y1));
        page.lineTo(x(x2), y(y2));
    }
};

// A part of a page: its height, whether it starts a page of its own, and its drawing at a top in mm.
struct Block {
    double heightMm = 0;
    bool newPage = false;
    std::function<void(const Frame&, double top)> draw;
};

// Columns of a table: the left edge (code 4) or the right edge (code 6) of each cell, in mm.
struct Column {
    double mm;
    int code;
};

Block heading(const std::string& title, bool newPage = false) {
    return {12, newPage, [title](const Frame& f, double top) {
                f.text(0, top + 5, 4, 13, title, true);
                f.line(0, top + 9, f.widthMm, top + 9);
            }};
}

Block textLine(const std::string& s, int sizePt = 10, double height = 7) {
    return {height, false, [s, sizePt](const Frame& f, double top) { f.text(2, top + 3.5, 4, sizePt, s); }};
}

Block tableRow(std::vector<Column> columns, std::vector<std::string> cells, int sizePt, bool bold = false, double height = 6.5) {
    return {height, false, [columns = std::move(columns), cells = std::move(cells), sizePt, bold](const Frame& f, double top) {
                for (std::size_t i = 0; i < cells.size() && i < columns.size(); ++i)
                    f.text(columns[i].mm, top + 3.2, columns[i].code, sizePt, cells[i], bold);
            }};
}

Block rule() {
    return {2, false, [](const Frame& f, double top) { f.line(0, top + 1, f.widthMm, top + 1); }};
}

std::string orNone(const std::optional<double>& v, int decimals) {
    return v && std::isfinite(*v) ? base::formatFixed(*v, decimals) : std::string("－");
}

std::string mmText(double mm) { return base::formatInt(static_cast<long long>(std::trunc(mm + 0.5))) + " mm"; }

// The environment of the maintenance factor as the start dialog names it.
std::string maintenanceClassName(const calc::CalcSettings& s) {
    static const std::array<const char*, 3> names = {"良い", "普通", "劣る"};
    return names[static_cast<std::size_t>(std::clamp(s.maintenanceClass, 0, 2))];
}

std::string maintenanceText(const calc::CalcSettings& s) {
    if (!s.maintenanceOn) return "考慮しない";
    return maintenanceClassName(s) + "（器具ごとの保守率を光束に掛けています）";
}

bool reflectionsOn(const ReportContent& c) { return c.indirect && c.indirect->on; }

std::string reflectionText(const ReportContent& c) {
    if (!reflectionsOn(c)) return "計算しない（直接照度のみ）";
    const calc::RoomGeometry& r = c.indirect->room;
    return "計算する（" + calc::reflectancePercents(r.ceiling, r.walls, r.floor) + "、天井高 " + mmText(r.roomHeight) +
           "、作業面高さ " + mmText(r.workPlaneHeight) + "）";
}

std::vector<Block> coverBlocks(const ReportContent& c) {
    const model::Document& doc = *c.doc;
    const calc::ResultStats& st = *c.stats;
    std::vector<Block> b;
    b.push_back({28, true, [](const Frame& f, double top) { f.text(f.widthMm / 2, top + 12, 5, 22, kReportHeadings[0], true); }});
    const std::string name = c.objectName.empty() ? doc.projectName : c.objectName;
    b.push_back(textLine("物件名：" + name, 12, 9));
    b.push_back(textLine("日付：" + c.date, 12, 12));
    b.push_back(heading(kReportHeadings[1]));
    b.push_back(textLine("基準天高（計算面から器具まで）：" + mmText(doc.tenDaka)));
    b.push_back(textLine("計算間隔：" + base::formatInt(st.calcStep)));
    b.push_back(textLine("保守率：" + maintenanceText(c.settings)));
    b.push_back(textLine("相互反射：" + reflectionText(c)));
    b.push_back(textLine("器具：" + base::formatInt(doc.plan.kigu.count()) + " 台", 10, 12));
    b.push_back(heading(kReportHeadings[2]));
    b.push_back(textLine(reportVerdict(st.areas), 11, 9));
    const calc::AreaFigures& room = st.room.figures;
    if (room.points > 0)
        b.push_back(textLine("室の床：平均照度 " + calc::luxFigure(room.averageLux) + " lx、均斉度 " +
                             calc::ratioFigure(room.uniformity)));
    const calc::PowerFigures power = calc::powerFiguresOf(doc.plan, *c.touroku);
    if (power.given) {
        const double floor = room.points > 0 ? st.room.floorArea : 0;
        b.push_back(textLine("設備電力：" + base::formatFixed(power.totalWatts, 2) + " W、" +
                             orNone(calc::wattsPerSquareMetre(power.totalWatts, floor), 2) + " W/m²"));
    }
    return b;
}

// A page of the plan with the result over it: the colour map or the contour lines, walls and luminaires
// on top, the legend picture at the bottom right.
Block planPage(const ReportContent& c, bool contours, double bodyMm) {
    return {bodyMm, true, [&c, contours](const Frame& f, double top) {
                f.text(0, top + 5, 4, 13, kReportHeadings[contours ? 4 : 3], true);
                f.line(0, top + 9, f.widthMm, top + 9);
                const model::Document& doc = *c.doc;
                const PrintRegion region = printRegion(model::computeExtent(doc.plan, doc.screenWidth, doc.screenHeight), *c.stats);
                const double legendMm = 45;
                const int left = f.x(0), topDots = f.y(top + 12);
                const int aw = f.x(f.widthMm) - left, ah = f.y(top + f.heightMm - legendMm) - topDots;
                const int w = std::max(1, region.width()), h = std::max(1, region.height());
                const double scale = std::min(static_cast<double>(aw) / w, static_cast<double>(ah) / h);
                const int ox = left + truncDots((aw - scale * w) / 2), oy = topDots + truncDots((ah - scale * h) / 2);
                const double offX = ox - scale * region.x1, offY = oy - scale * region.y1;
                ui::Surface& page = f.page;
                page.setPen(ui::Pen{ui::colors::black});
                page.setBrush(ui::Brush{ui::colors::white, true});
                page.rectangle(left, topDots, left + aw, topDots + ah);
                if (contours) {
                    if (c.painters.drawContours) c.painters.drawContours(page, offX, offY, scale);
                } else if (c.pictures.colourMap) {
                    page.stretchSurface(ui::Rect{ox, oy, ox + truncDots(scale * w), oy + truncDots(scale * h)}, *c.pictures.colourMap,
                                        ui::Rect{region.x1, region.y1, region.x1 + w, region.y1 + h});
                }
                page.setPen(ui::Pen{ui::colors::black});
                if (c.painters.drawWalls) c.painters.drawWalls(page, offX, offY, scale);
                if (c.painters.drawFixtures) c.painters.drawFixtures(page, offX, offY, scale);
                const ui::Surface* legend = contours ? c.pictures.contourLegend : c.pictures.colourLegend;
                if (legend && legend->width() > 0) {
                    const int lh = f.y(top + f.heightMm - 3) - f.y(top + f.heightMm - legendMm + 5);
                    const int lw = lh * legend->width() / std::max(1, legend->height());
                    const int lx = f.x(f.widthMm) - lw, ly = f.y(top + f.heightMm - legendMm + 5);
                    page.stretchSurface(ui::Rect{lx, ly, lx + lw, ly + lh}, *legend, ui::Rect{0, 0, legend->width(), legend->height()});
                }
                f.text(0, top + f.heightMm - legendMm + 9, 4, 10,
                       "最大照度 " + base::formatInt(c.stats->maxLux) + " lx、平均照度 " + base::formatInt(c.stats->averageLux) + " lx");
                f.text(0, top + f.heightMm - legendMm + 16, 4, 10, "基準天高 " + mmText(doc.tenDaka));
            }};
}

std::vector<Block> areaBlocks(const ReportContent& c) {
    const model::Document& doc = *c.doc;
    std::vector<Block> b;
    b.push_back(heading(kReportHeadings[5], true));
    if (c.stats->areas.empty()) {
        b.push_back(textLine("作業領域は設定されていません。"));
        return b;
    }
    const std::vector<Column> cols = {{0, 4},   {66, 6},  {82, 6},  {98, 6},  {111, 6}, {126, 6},
                                      {140, 6}, {152, 6}, {167, 6}, {180, 6}};
    b.push_back(tableRow(cols, {"作業領域", "Eavg(lx)", "Emin(lx)", "Emax(lx)", "U0", "Emin/Emax", "必要照度", "必要U0", "判定", "W/m²"},
                         8, true));
    b.push_back(rule());
    for (const calc::AreaFigures& a : c.stats->areas) {
        const std::vector<std::string> cells = {
            a.area.name, calc::luxFigure(a.averageLux), calc::luxFigure(a.minLux), calc::luxFigure(a.maxLux),
            calc::ratioFigure(a.uniformity), calc::ratioFigure(a.minToMax), base::formatInt(a.area.requiredLux),
            base::formatFixed(a.area.requiredUniformity, 2), view::areaMark(a),
            orNone(calc::areaWattsPerSquareMetre(doc.plan, *c.touroku, a.area), 2)};
        const std::string source = "要件：" + requirementSource(a.area, c.presets);
        b.push_back({11, false, [cols, cells, source](const Frame& f, double top) {
                         for (std::size_t i = 0; i < cells.size(); ++i) f.text(cols[i].mm, top + 3.2, cols[i].code, 8, cells[i]);
                         f.text(4, top + 7.8, 4, 7, source);
                     }});
    }
    b.push_back(rule());
    const std::string note = view::areaTableStepNote(c.stats->calcStep);
    if (!note.empty()) b.push_back(textLine(note, 8));
    return b;
}

std::vector<Block> roomBlocks(const ReportContent& c) {
    std::vector<Block> b;
    b.push_back(heading(kReportHeadings[6]));
    const calc::RoomFigures& room = c.stats->room;
    if (room.figures.points == 0) {
        b.push_back(textLine("壁で囲まれた床がないため、室の照度は求めていません。"));
    } else {
        const std::vector<Column> cols = {{0, 4}, {60, 6}, {86, 6}, {112, 6}, {138, 6}, {160, 6}};
        b.push_back(tableRow(cols, {"床", "床面積(m²)", "Eavg(lx)", "Emin(lx)", "Emax(lx)", "U0"}, 8, true));
        b.push_back(tableRow(cols,
                             {"室の床", base::formatFixed(room.floorArea, 3), calc::luxFigure(room.figures.averageLux),
                              calc::luxFigure(room.figures.minLux), calc::luxFigure(room.figures.maxLux),
                              calc::ratioFigure(room.figures.uniformity)},
                             8));
    }
    if (!reflectionsOn(c)) {
        b.push_back(textLine("壁・天井の照度は相互反射を計算したときに示します。", 9));
        return b;
    }
    b.push_back({4, false, [](const Frame&, double) {}});
    const std::vector<Column> cols = {{0, 4}, {50, 6}, {68, 6}, {100, 6}, {118, 6}, {160, 6}, {180, 6}};
    b.push_back(tableRow(cols, {"面", "平均(lx)", "U0", "最低(一般)", "判定", "最低(事務所等)", "判定"}, 8, true));
    static const std::array<std::pair<const char*, const char*>, 2> names = {{{"walls", "壁"}, {"ceiling", "天井"}}};
    auto mark = [](bool pass) { return std::string(pass ? "○ 適合" : "× 不足"); };
    for (const calc::SurfaceRequirement& q : calc::kSurfaceRequirements) {
        for (const calc::SurfaceFigures& s : c.indirect->surfaces) {
            if (s.kind != q.kind) continue;
            const calc::SurfaceCheck k = calc::checkSurface(s, q);
            std::string name = q.kind;
            for (const auto& [kind, ja] : names)
                if (name == kind) name = ja;
            const std::string least = base::formatFixed(q.uniformity, 2);
            b.push_back(tableRow(cols,
                                 {name, calc::luxFigure(k.averageLux), calc::ratioFigure(k.uniformity),
                                  base::formatFixed(q.lux, 0) + " lx・U0 " + least, mark(k.pass),
                                  base::formatFixed(q.luxOffices, 0) + " lx・U0 " + least, mark(k.passOffices)},
                                 8));
        }
    }
    b.push_back(textLine("最低値：EN 12464-1（事務所等は事務所・教室・病院の値）", 7));
    return b;
}

std::vector<Block> scheduleBlocks(const ReportContent& c) {
    const model::Document& doc = *c.doc;
    const catalog::TourokuTable& touroku = *c.touroku;
    const calc::PowerFigures power = calc::powerFiguresOf(doc.plan, touroku);
    std::vector<Block> b;
    b.push_back(heading(kReportHeadings[7], true));
    // The curve takes the last 30 mm of each row.
    const std::vector<Column> cols = {{0, 4}, {8, 4}, {40, 4}, {88, 6}, {102, 6}, {115, 6}, {131, 6}, {145, 6}};
    b.push_back(tableRow(cols, {"No.", "品番", "ランプ", "台数", "lm/台", "W/台", "合計W", "lm/W"}, 8, true));
    b.push_back(rule());
    std::int64_t count = 0;
    for (const calc::PowerSlot& s : power.types) {
        count += s.count;
        const bool given = s.watts > 0;
        const catalog::BunpuHinban& type = touroku[s.slot];
        const std::string& lamp = doc.lampNameMode == 'J' ? type.lampName : type.lampNameA;
        const std::vector<std::string> cells = {
            base::formatInt(s.slot), s.hinban, lamp, base::formatInt(s.count), base::formatFixed(s.lumens, 0),
            given ? base::formatFixed(s.watts, 2) : "－", given ? base::formatFixed(s.watts * static_cast<double>(s.count), 2) : "－",
            given ? base::formatFixed(s.lumens / s.watts, 1) : "－"};
        const ui::Surface* curve = c.pictures.curves[static_cast<std::size_t>(s.slot)];
        b.push_back({34, false, [cols, cells, curve](const Frame& f, double top) {
                         // The lamp name may be long: it gets the column's width in a smaller font.
                         for (std::size_t i = 0; i < cells.size(); ++i)
                             f.text(cols[i].mm, top + 4, cols[i].code, i == 2 ? 6 : 8, cells[i]);
                         if (curve && curve->width() > 0) {
                             const int left = f.x(f.widthMm - 28), w = f.x(28) - f.x(0);
                             const int h = w * curve->height() / curve->width();
                             f.page.stretchSurface(ui::Rect{left, f.y(top + 1), left + w, f.y(top + 1) + h}, *curve,
                                                   ui::Rect{0, 0, curve->width(), curve->height()});
                         }
                         f.line(0, top + 33, f.widthMm - 30, top + 33);
                     }});
    }
    b.push_back(tableRow(cols,
                         {"合計", "", "", base::formatInt(count), "", "", base::formatFixed(power.totalWatts, 2),
                          orNone(power.lumensPerWatt, 1)},
                         8, true, 8));
    const calc::RoomFigures& room = c.stats->room;
    const double floor = room.figures.points > 0 ? room.floorArea : 0;
    b.push_back(textLine("床面積あたり：" + orNone(calc::wattsPerSquareMetre(power.totalWatts, floor), 2) + " W/m²（床面積 " +
                         (floor > 0 ? base::formatFixed(floor, 3) + " m²" : std::string("－")) + "）", 9));
    if (!power.given) b.push_back(textLine("定格電力の登録された器具がないため、電力は集計していません。", 9));
    return b;
}

std::vector<Block> noteBlocks(const ReportContent& c) {
    std::vector<Block> b;
    b.push_back(heading(kReportNotesHeading));
    b.push_back(textLine("■照度は器具の配光から逐点法で求めた作業面の照度です。壁と柱は光を遮ります。", 9));
    if (reflectionsOn(c)) {
        const calc::RoomGeometry& r = c.indirect->room;
        b.push_back(textLine("■天井・壁・床の相互反射を含みます（反射率 " + calc::reflectancePercents(r.ceiling, r.walls, r.floor) + "、", 9));
        b.push_back(textLine("　天井高 " + mmText(r.roomHeight) + "、作業面高さ " + mmText(r.workPlaneHeight) + "）。", 9));
    } else {
        b.push_back(textLine("■直接照度のみです。天井・壁・床等の反射は含みません。", 9));
    }
    b.push_back(textLine(c.settings.maintenanceOn ? "■保守率を掛けた照度です（環境：" + maintenanceClassName(c.settings) + "、器具ごとの保守率）。"
                                                  : std::string("■保守率は考慮していません（初期照度）。"),
                         9));
    b.push_back(textLine("■昼光は含みません。家具等の影響は含みません。", 9));
    b.push_back(textLine("■グレアは計算していません。UGR_L と Ra は作業の種類が求める値で、計算値ではありません。", 9));
    b.push_back(textLine("■現場状況により、実際の照度とは異なる場合があります。", 9));
    return b;
}

void drawFooter(const Frame& f, const ReportContent& c, int n, int total) {
    const double y = f.heightMm + kFooterMm / 2;
    f.line(0, f.heightMm + 1, f.widthMm, f.heightMm + 1);
    f.text(0, y, 4, 8, "物件名：" + (c.objectName.empty() ? c.doc->projectName : c.objectName));
    f.text(f.widthMm / 2, y, 5, 9, base::formatInt(n) + " / " + base::formatInt(total));
    f.text(f.widthMm, y, 6, 8, "DATE : " + c.date);
}

} // namespace

void drawReportPages(ui::PrintJob& job, const ReportContent& c) {
    if (!c.doc || !c.touroku || !c.stats) return;
    const PageGeometry g0 = PageGeometry::of(job.page());
    const double bodyW = g0.PW / g0.dX - 2 * kMarginMm, bodyH = g0.PH / g0.dY - 2 * kMarginMm - kFooterMm;

    std::vector<Block> blocks = coverBlocks(c);
    blocks.push_back(planPage(c, false, bodyH));
    blocks.push_back(planPage(c, true, bodyH));
    for (auto part : {areaBlocks(c), roomBlocks(c), scheduleBlocks(c), noteBlocks(c)})
        for (Block& block : part) blocks.push_back(std::move(block));

    // Pages first, so that every page knows how many there are.
    std::vector<std::vector<std::pair<double, const Block*>>> pages(1);
    double y = 0;
    for (const Block& block : blocks) {
        const bool full = y + block.heightMm > bodyH;
        if (!pages.back().empty() && (block.newPage || full)) {
            pages.emplace_back();
            y = 0;
        }
        pages.back().emplace_back(y, &block);
        y += block.heightMm;
    }

    for (std::size_t n = 0; n < pages.size(); ++n) {
        if (n > 0 && !job.newPage()) return;
        ui::Surface& page = job.page();
        const PageGeometry g = PageGeometry::of(page);
        page.setTextBackground(ui::colors::white, false);
        page.setPen(ui::Pen{ui::colors::black});
        page.setBrush(ui::Brush{ui::colors::white, true});
        const Frame frame{page, g, bodyW, bodyH, c.painters.placeText};
        for (const auto& [top, block] : pages[n]) block->draw(frame, top);
        drawFooter(frame, c, static_cast<int>(n + 1), static_cast<int>(pages.size()));
    }
}

bool printReportPdf(const std::string& path, const ReportContent& content, ui::Services& services) {
    auto job = services.startPdfJob(path, false, kPdfDpi);
    if (!job) return false;
    drawReportPages(*job, content);
    return job->finish();
}

} // namespace print
