// Result presentation: the display steps of a calculation and the legends it shows.
#include "view/ResultDisplay.h"

#include "view/IlluminanceCsv.h"
#include "view/PlanRender.h"
#include "view/ResultMaps.h"

namespace view {

ResultDisplay::ResultDisplay(model::Document& doc, calc::IlluminanceGrid& grid, calc::ResultStats& stats,
                             calc::CalcSettings& settings, calc::ContourSet& contours, ui::Surface& surface,
                             ui::Services& services)
    : doc_(doc), grid_(grid), stats_(stats), settings_(settings), contours_(contours), surface_(surface),
      services_(services) {
    mainWindow = headlessGeometry(doc.screenWidth, doc.screenHeight);
    legend_.framed = doc.legendFramed;
    tempScale_.framed = doc.legendFramed;
    if (doc.tables.ctColourFilled) prepareTemperatureScale();
}

void ResultDisplay::notifyLegend() {
    if (hooks.legendChanged) hooks.legendChanged(legend_);
}

void ResultDisplay::notifyScale() {
    if (hooks.temperatureScaleChanged) hooks.temperatureScaleChanged(tempScale_);
}

void ResultDisplay::hideLegend() {
    legend_.visible = false;
    notifyLegend();
}

void ResultDisplay::hideLegends() {
    hideLegend();
    tempScale_.visible = false;
    notifyScale();
}

void ResultDisplay::showLegend(LegendKind kind) {
    legend_.kind = kind;
    legend_.position = legendPlacement(mainWindow);
    legend_.framed = doc_.legendFramed;
    const ui::Size size = legendSize(kind);
    legend_.picture = services_.createSurface(size.width, size.height);
    if (legend_.picture) paintLegend(*legend_.picture, kind, doc_.tables);
    legend_.visible = true;
    notifyLegend();
}

void ResultDisplay::prepareTemperatureScale() {
    tempScale_.picture = services_.createSurface(kTemperatureScaleSize.width, kTemperatureScaleSize.height);
    if (tempScale_.picture) drawTemperatureScale(*tempScale_.picture, doc_.tables);
    notifyScale();
}

void ResultDisplay::clearSurface() {
    if (hooks.clearDrawingSurface) {
        hooks.clearDrawingSurface();
    } else {
        clearDrawingSurface(surface_, doc_);
    }
}

void ResultDisplay::drawPlanInBlack() {
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    drawFixtures(surface_, doc_, 0, 0, 1.0, legend_.visible);
}

void ResultDisplay::clearAndDrawWalls(int penWidth) {
    clearSurface();
    ui::Pen p = surface_.pen();
    p.width = penWidth;
    p.style = ui::PenStyle::Solid;
    surface_.setPen(p);
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    p = surface_.pen();
    p.width = 1;
    surface_.setPen(p);
}

bool ResultDisplay::paintColourMap() {
    const int height = surface_.height();
    services_.progressShow("色の設定", "計算結果を表示中", doc_.displayDetail ? height : height / 2);
    clearSurface();
    tempScale_.visible = false;
    notifyScale();
    drawPlanInBlack();
    resetLitExtent(stats_);
    if (!paintClassPixels(surface_, doc_.tables, grid_, stats_, doc_.displayDetail, services_)) {
        redisplayPlan();
        services_.progressHide();
        return false;
    }
    services_.progressHide();
    showLegend(LegendKind::ColourClasses);
    doc_.menus.print = true;
    doc_.resultShown = true;
    return true;
}

bool ResultDisplay::paintColourTemperature() {
    services_.progressShow("色温度の設定", "計算結果を表示中", surface_.height() + 1);
    services_.processEvents();
    clearSurface();
    if (hooks.hideRangeDialog) hooks.hideRangeDialog();
    drawPlanInBlack();
    resetLitExtent(stats_);
    if (!paintTemperaturePixels(surface_, doc_.tables, grid_, stats_, services_)) {
        redisplayPlan();
        services_.progressHide();
        return false;
    }
    services_.progressHide();
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    if (settings_.showFixturesOnResult) drawFixtures(surface_, doc_, 0, 0, 1.0, legend_.visible);
    showLegend(LegendKind::ColourTemperature);
    doc_.menus.print = true;
    doc_.resultShown = true;
    return true;
}

void ResultDisplay::showContours() {
    if (hooks.buildContours) hooks.buildContours();
    clearSurface();
    drawContours(surface_, doc_, contours_, 0, 0, 1.0, hooks.buildContours);
    ui::Pen p = surface_.pen();
    p.width = 2;
    surface_.setPen(p);
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    p = surface_.pen();
    p.width = 1;
    surface_.setPen(p);
    doc_.resultShown = true;
    showLegend(LegendKind::ContourLevels);
}

bool ResultDisplay::redisplayColourMap() {
    if (hooks.chooseLevels) hooks.chooseLevels();
    doc_.displayKind = 'B';
    const bool done = paintColourMap();
    if (done && settings_.showFixturesOnResult) drawFixturesOnResult();
    return done;
}

bool ResultDisplay::redisplayColourTemperature() {
    doc_.displayKind = 'C';
    return paintColourTemperature();
}

void ResultDisplay::redisplayContours(bool overlay) {
    if (hooks.chooseLevels) hooks.chooseLevels();
    doc_.displayKind = 'T';
    if (!overlay) clearSurface();
    drawContours(surface_, doc_, contours_, 0, 0, 1.0, hooks.buildContours);
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    if (settings_.showFixturesOnResult) drawFixturesOnResult();
    doc_.resultShown = true;
    if (!overlay || !legend_.visible || legend_.kind != LegendKind::ContourLevels) showLegend(LegendKind::ContourLevels);
}

void ResultDisplay::showResult(char displayKind) {
    switch (displayKind) {
    case 'B': paintColourMap(); break;
    case 'C': paintColourTemperature(); break;
    case 'T': showContours(); break;
    default: break;
    }
}

void ResultDisplay::drawFixturesOnResult() { drawFixtures(surface_, doc_, 0, 0, 1.0, legend_.visible); }

void ResultDisplay::redisplayPlan() {
    if (hooks.redisplayPlan) {
        hooks.redisplayPlan();
        return;
    }
    clearSurface();
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    drawFixtures(surface_, doc_, 0, 0, 1.0, legend_.visible);
}

void ResultDisplay::hideRegistrationWindow() {
    if (hooks.hideRegistrationWindow) hooks.hideRegistrationWindow();
}

bool writeIlluminanceCsv(const calc::CalcContext& ctx, const std::string& path) {
    return writeIlluminanceCsv(ctx.grid, ctx.stats, path, ctx.services);
}

} // namespace view
