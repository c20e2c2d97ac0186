// Legend pictures of the colour map, contour lines and colour temperature, and the legend windows' state.
#include "view/Legends.h"

#include "base/Text.h"
#include "view/PlanRender.h"

namespace view {
namespace {

constexpr ui::Color kBorderGrey{170, 170, 170};

// Legend pictures are painted for the screen: the print layout's text offset never applies to them.
const model::TextState kScreenText{};

void whiteWithBorder(ui::Surface& s, int right, int bottom) {
    s.fillRect(ui::Rect{0, 0, s.width(), s.height()}, ui::colors::white);
    s.setPen(ui::Pen{kBorderGrey, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    s.setBrush(ui::Brush{ui::colors::white, false});
    s.rectangle(0, 0, right, bottom);
}

void blackFont(ui::Surface& s) {
    ui::Font f = s.font();
    f.color = ui::colors::black;
    s.setFont(f);
}

ui::Color ctColourAt(const model::DisplayTables& t, int index) {
    return index >= 0 && index < static_cast<int>(t.ctColour.size()) ? t.ctColour[static_cast<std::size_t>(index)]
                                                                    : ui::colors::white;
}

// The bar of 100 K strips from 2000 K, its frame from x 0 to 166 and its tick marks every 30 pixels.
void colourBar(ui::Surface& s, const model::DisplayTables& t, int strips, int bottom) {
    for (int i = 0; i < strips; ++i) {
        s.fillRect(ui::Rect{3 * i, 15, 3 * i + 3, bottom}, ctColourAt(t, 20 + i));
    }
    s.setPen(ui::Pen{ui::colors::black, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    s.moveTo(0, 15);
    s.lineTo(0, bottom);
    s.lineTo(166, bottom);
    s.lineTo(166, 15);
    s.lineTo(0, 15);
    for (int x = 0; x <= 150; x += 30) {
        s.moveTo(x, 10);
        s.lineTo(x, 15);
    }
}

void kelvinLabels(ui::Surface& s, const int (&xs)[3]) {
    static const char* const labels[3] = {"3000K", "5000K", "7000K"};
    blackFont(s);
    for (int i = 0; i < 3; ++i) placeText(s, kScreenText, xs[i], 15, 2, 8, labels[i], true);
}

} // namespace

ui::Size legendSize(LegendKind kind) {
    switch (kind) {
    case LegendKind::ContourLevels: return {80, 100};
    case LegendKind::ColourTemperature: return {170, 40};
    case LegendKind::ColourClasses:
    default: return {150, 130};
    }
}

void paintColourLegend(ui::Surface& s, const model::DisplayTables& t) {
    whiteWithBorder(s, 149, 129);
    s.setPen(ui::Pen{ui::colors::black, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    for (int i = 1; i <= 6; ++i) {
        s.setBrush(ui::Brush{t.classColour[static_cast<std::size_t>(i - 1)], false});
        s.rectangle(10, 20 * i - 10, 45, 20 * i + 5);
    }
    s.setBrush(ui::Brush{ui::colors::white, true});
    blackFont(s);
    for (int i = 1; i <= 6; ++i) {
        placeText(s, kScreenText, 58, 20 * i - 7, 0, 8, base::formatInt(t.luxLevel[static_cast<std::size_t>(i)]) + " Lx～",
                  true);
    }
}

void paintContourLegend(ui::Surface& s, const model::DisplayTables& t) {
    whiteWithBorder(s, 80, 100);
    blackFont(s);
    for (int i = 1; i <= 6; ++i) {
        placeText(s, kScreenText, 13, 15 * i - 7, 0, 8, "■ " + base::formatInt(t.luxLevel[static_cast<std::size_t>(i)]) + " Lx",
                  true);
    }
}

void paintTemperatureLegend(ui::Surface& s, const model::DisplayTables& t) {
    whiteWithBorder(s, 167, 40);
    colourBar(s, t, 55, 39);
    kelvinLabels(s, {30, 90, 147});
}

void paintLegend(ui::Surface& s, LegendKind kind, const model::DisplayTables& t) {
    switch (kind) {
    case LegendKind::ContourLevels: paintContourLegend(s, t); break;
    case LegendKind::ColourTemperature: paintTemperatureLegend(s, t); break;
    case LegendKind::ColourClasses: paintColourLegend(s, t); break;
    }
}

void drawTemperatureScale(ui::Surface& s, const model::DisplayTables& t) {
    s.fillRect(ui::Rect{0, 0, s.width(), s.height()}, ui::colors::white);
    const int b = s.height() - 1;
    colourBar(s, t, 56, b);
    kelvinLabels(s, {30, 90, 150});
}

MainWindowGeometry headlessGeometry(int screenWidth, int screenHeight) {
    MainWindowGeometry g;
    g.left = 0;
    g.top = 0;
    g.width = screenWidth - 10;
    g.outerHeight = screenHeight - 25;
    g.clientHeight = g.outerHeight - 46;  // caption, menu bar and frame of a plain window
    g.panelUpHeight = 40;
    return g;
}

ui::Point legendPlacement(const MainWindowGeometry& main) { return {main.left + main.width - 150 - 50, main.top + 100}; }

ui::Point legendStampPosition(const LegendWindow& legend, const MainWindowGeometry& main) {
    return {legend.position.x - main.left - 4,
            legend.position.y + main.clientHeight - main.top - main.outerHeight - main.panelUpHeight};
}

} // namespace view
