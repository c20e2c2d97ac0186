// Class colour map, colour-temperature map and contour lines painted onto the drawing surface.
#include "view/ResultMaps.h"

#include "base/Text.h"
#include "view/PlanRender.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace view {

std::int32_t truncLux(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483520.0f) return 2147483647;
    if (v <= -2147483520.0f) return -2147483647 - 1;
    return static_cast<std::int32_t>(v);
}

int chooseClass(std::int32_t v, const LuxLevels& level, int previousClass) {
    int cls = previousClass;
    for (int k = 0; k < 5; ++k) {
        if (level[static_cast<std::size_t>(k + 1)] <= v && v < level[static_cast<std::size_t>(k + 2)]) cls = k;
    }
    if (v >= level[6]) cls = 5;
    return cls;
}

void widenLitExtent(calc::ResultStats& s, int col, int row) {
    if (col < s.litMinCol) s.litMinCol = col;
    if (col > s.litMaxCol) s.litMaxCol = col;
    if (row < s.litMinRow) s.litMinRow = row;
    if (row > s.litMaxRow) s.litMaxRow = row;
}

void resetLitExtent(calc::ResultStats& s) {
    s.litMinCol = 10000;
    s.litMaxCol = 0;
    s.litMinRow = 10000;
    s.litMaxRow = 0;
}

bool paintClassPixels(ui::Surface& surface, const model::DisplayTables& tables, const calc::IlluminanceGrid& grid,
                      calc::ResultStats& stats, bool detailed, ui::Services& services) {
    const LuxLevels& level = tables.luxLevel;
    const int width = surface.width();
    const int height = surface.height();
    int cls = 0;
    auto paint = [&](int col, int row) {
        cls = chooseClass(truncLux(grid.luxAt(col, row)), level, cls);
        surface.setPixel(col, row, tables.classColour[static_cast<std::size_t>(cls)]);
    };
    if (detailed) {
        for (int row = 0; row < height; ++row) {
            services.progressSet(row + 1);
            if (services.processEvents()) return false;
            for (int col = 0; col < width; ++col) {
                if (truncLux(grid.luxAt(col, row)) >= level[1]) {
                    widenLitExtent(stats, col, row);
                    paint(col, row);
                }
            }
        }
    } else {
        // The quick look: every second row and column, and only what lies strictly above level 1.
        for (int row = 1; row <= height - 1; row += 2) {
            for (int col = 1; col <= width - 1; ++col) {
                if (truncLux(grid.luxAt(col, row)) > level[1]) {
                    widenLitExtent(stats, col, row);
                    paint(col, row);
                }
            }
        }
    }
    return true;
}

bool paintTemperaturePixels(ui::Surface& surface, const model::DisplayTables& tables,
                            const calc::IlluminanceGrid& grid, calc::ResultStats& stats, ui::Services& services) {
    const int width = surface.width();
    const int height = surface.height();
    for (int row = 0; row <= height; ++row) {
        services.progressSet(row + 1);
        if (services.processEvents()) return false;
        for (int col = 0; col <= width; ++col) {
            if (!grid.isValid(col, row)) continue;
            std::int32_t t = truncLux(grid.ctSum[grid.index(col, row)]);
            const std::int32_t e = truncLux(grid.lux[grid.index(col, row)]);
            if (t > 7400) t = 7400;
            if (t <= 2400 || e <= tables.luxLevel[1]) continue;
            widenLitExtent(stats, col, row);
            surface.setPixel(col, row, tables.ctColour[static_cast<std::size_t>(t / 100)]);
        }
    }
    return true;
}

bool contoursStale(const calc::ContourSet& contours, const LuxLevels& level) {
    if (contours.levels.size() < 6) return true;
    for (int i = 0; i < 6; ++i) {
        if (contours.levels[static_cast<std::size_t>(i)] != static_cast<float>(level[static_cast<std::size_t>(i + 1)])) {
            return true;
        }
    }
    return false;
}

void drawContours(ui::Surface& surface, const model::Document& doc, const calc::ContourSet& contours, double offsetX,
                  double offsetY, double scale, const std::function<void()>& rebuild) {
    if (rebuild && contoursStale(contours, doc.tables.luxLevel)) rebuild();
    surface.setPen(ui::Pen{ui::colors::black, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    ui::Font f = surface.font();
    f.color = ui::colors::black;
    surface.setFont(f);

    // Points closer than about 1.7 surface pixels to the last drawn one are skipped: a smoother line
    // and fewer label positions.
    const double minStep2 = 3.0 * scale * scale;
    calc::ContourPoint lastRead{0.0f, 0.0f};  // the last real point, carried into the next line's start
    ui::Point lastDrawn;
    bool lineStart = true;
    std::vector<ui::Point> remembered;
    auto toPoint = [&](const calc::ContourPoint& p) {
        return ui::Point{toSurface(offsetX, scale, p.x), toSurface(offsetY, scale, p.y)};
    };
    const std::size_t n = std::min(contours.levels.size(), contours.points.size());
    for (std::size_t i = 0; i < n && i < static_cast<std::size_t>(calc::ContourSet::kMaxLevels); ++i) {
        const float value = contours.levels[i];
        // The list ends at its first negative level; a level below its own position ends it too.
        if (value < 0 || static_cast<float>(i) > value) break;
        const std::string label = base::formatInt(truncLux(value));
        remembered.clear();
        for (const calc::ContourPoint& p : contours.points[i]) {
            if (p.x == calc::kLineStart.x) {
                // The previous line reaches its final point before the pen jumps.
                if (lastRead.x > 0) {
                    const ui::Point q = toPoint(lastRead);
                    surface.lineTo(q.x, q.y);
                }
                lineStart = true;
                continue;
            }
            if (p.x == calc::kLineEnd.x) continue;
            const ui::Point q = toPoint(p);
            lastRead = p;
            if (lineStart) {
                surface.moveTo(q.x, q.y);
                lastDrawn = q;
                lineStart = false;
                continue;
            }
            const double dx = static_cast<double>(q.x) - lastDrawn.x;
            const double dy = static_cast<double>(q.y) - lastDrawn.y;
            if (dx * dx + dy * dy <= minStep2) continue;
            surface.lineTo(q.x, q.y);
            lastDrawn = q;
            remembered.push_back(q);
            if (remembered.size() == 50) {
                placeText(surface, doc.textState, remembered[25].x, remembered[25].y, 5, 9, label, false);
                surface.moveTo(q.x, q.y);
                remembered.clear();
            }
        }
    }
}

} // namespace view
