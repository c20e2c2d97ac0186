// Shared set-up of the result presentation tests: the start-up colour and level tables, walls.
#pragma once
#include "calc/ContourSet.h"
#include "calc/IlluminanceGrid.h"
#include "catalog/FixtureType.h"
#include "model/Document.h"

namespace viewtest {

inline model::DisplayTables startupTables() {
    model::DisplayTables t;
    t.symbolColour = {ui::Color{0, 0, 0},     ui::Color{255, 255, 0}, ui::Color{255, 150, 0}, ui::Color{255, 0, 0},
                      ui::Color{100, 255, 0}, ui::Color{80, 80, 255}, ui::Color{40, 130, 100}, ui::Color{255, 255, 255}};
    t.classColour = {ui::Color{52, 96, 226},  ui::Color{43, 154, 165}, ui::Color{45, 217, 57},
                     ui::Color{255, 255, 0}, ui::Color{221, 133, 74}, ui::Color{255, 0, 0}};
    t.luxLevel = {0, 10, 20, 50, 100, 200, 400};
    // A warm-to-cool ramp standing in for the catalogue's light colours; every entry distinct.
    for (int k = 20; k < 80; ++k) {
        t.ctColour[static_cast<std::size_t>(k)] =
            ui::Color{255, static_cast<std::uint8_t>(140 + (k - 20) * 115 / 59), static_cast<std::uint8_t>(60 + (k - 20) * 3)};
    }
    t.ctColourFilled = true;
    return t;
}

inline void addWall(model::Document& doc, int x1, int y1, int x2, int y2) {
    model::LineRecord l;
    l.kind = 'L';
    l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
    doc.plan.lines.add(l);
}

// Everything a calculation leaves for the display, on a surface of w × h.
struct ResultScene {
    model::Document doc;
    model::WindowShown shown;
    catalog::TourokuTable touroku;
    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    calc::ContourSet contours;

    ResultScene(int w, int h) {
        doc.tables = startupTables();
        doc.plan.scaleDenominator = 100;
        doc.plan.mmPerPixel = 20.0f;
        grid.allocate(w, h);
        grid.reset();
    }
    float& lux(int col, int row) { return grid.lux[grid.index(col, row)]; }
};

} // namespace viewtest
