// Start-up defaults of the main window.
#include "app/Startup.h"

#include "base/Text.h"

namespace app {

void initialiseDocument(model::Document& doc, model::WindowShown& shown, const ScreenInfo& screen, int surfaceWidth,
                        int surfaceHeight) {
    doc = model::Document{};
    shown = model::WindowShown{};  // every menu closed but the curve, no labels: the window's start
    doc.lampNameMode = 'A';
    doc.extent = {0, -1, 0, 0};
    doc.screenWidth = screen.width;
    doc.screenHeight = screen.height;
    shown.windowTitle = model::windowTitleFor(doc, "");
    doc.surfaceWidth = surfaceWidth;
    doc.surfaceHeight = surfaceHeight;

    doc.backgroundKind = 'N';
    doc.arrayInput = 'K';
    doc.displayKind = 'B';
    doc.resultValid = false;
    doc.dataChanged = true;
    doc.flVertical = false;
    doc.bitmapSizeMode = 2;
    doc.dxfSizeMode = 2;
    doc.gridShown = false;
    doc.backgroundShown = false;

    auto& t = doc.tables;
    t.symbolColour = {ui::Color{0, 0, 0},     ui::Color{255, 255, 0}, ui::Color{255, 150, 0}, ui::Color{255, 0, 0},
                      ui::Color{100, 255, 0}, ui::Color{80, 80, 255}, ui::Color{40, 130, 100}, ui::Color{255, 255, 255}};
    t.classColour = {ui::Color{52, 96, 226},  ui::Color{43, 154, 165}, ui::Color{45, 217, 57},
                     ui::Color{255, 255, 0}, ui::Color{221, 133, 74}, ui::Color{255, 0, 0}};
    const std::uint8_t greys[6] = {85, 102, 136, 170, 204, 238};
    for (int i = 0; i < 6; ++i) t.greys[static_cast<std::size_t>(i)] = ui::Color{greys[i], greys[i], greys[i]};
    t.levelLadder = {5,     10,     20,     50,     100,     200,     400,     600,     800,
                     1000,  1200,   1500,   2000,   2500,    3000,    5000,    10000,   20000,
                     50000, 100000, 200000, 500000, 1000000, 2000000, 5000000, 10000000};
    t.luxLevel = {0, 10, 20, 50, 100, 200, 400};
    doc.extent.Xe = 0;
    doc.extent.Ye = 0;

    model::markPlanChanged(doc, shown);
    doc.plan.mmPerPixel = -1;
    doc.plan.scaleDenominator = -1;
    doc.selectedType = -1;
    doc.currentFileName.clear();
    doc.bitmapSaveFileName.clear();

    doc.tenDakaLabel = "3000";
    doc.tenDaka = base::toInt(doc.tenDakaLabel);

    doc.screenMmPerPixel = 25.39f / static_cast<float>(screen.dpi > 0 ? screen.dpi : 96);
    shown.scaleLabel = model::scaleLabelFor(doc, false);
}

void fillCtColour(model::DisplayTables& tables, const catalog::LightColorTable& colours) {
    for (int i = 0; i < 60; ++i) {
        tables.ctColour[static_cast<std::size_t>(20 + i)] = ui::Color::fromColorRef(colours.colorRef[static_cast<std::size_t>(i)]);
    }
    tables.ctColourFilled = true;
}

} // namespace app
