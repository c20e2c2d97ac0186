// The result presenter: the calculation command, the three result displays, their texts, legends, menus and labels.
#include "view/ResultPresenter.h"

#include "base/Text.h"
#include "calc/SettingsDialogs.h"
#include "catalog/Registration.h"
#include "view/PlanRender.h"
#include "view/ResultMaps.h"

namespace view {

ResultPresenter::ResultPresenter(model::Document& doc, model::WindowShown& shown, calc::IlluminanceGrid& grid, calc::ResultStats& stats,
                                 calc::CalcSettings& settings, calc::ContourSet& contours, ui::Surface& surface,
                                 ui::Services& services)
    : doc_(doc), shown_(shown), grid_(grid), stats_(stats), settings_(settings), contours_(contours), surface_(surface),
      services_(services) {
    mainWindow = headlessGeometry(doc.screenWidth, doc.screenHeight);
    legend_.framed = shown.legendFramed;
    tempScale_.framed = shown.legendFramed;
    if (doc.tables.ctColourFilled) prepareTemperatureScale();
}

void ResultPresenter::notifyLegend() {
    if (hooks.legendChanged) hooks.legendChanged(legend_);
}

void ResultPresenter::notifyScale() {
    if (hooks.temperatureScaleChanged) hooks.temperatureScaleChanged(tempScale_);
}

void ResultPresenter::hideLegend() {
    legend_.visible = false;
    notifyLegend();
}

void ResultPresenter::hideLegends() {
    hideLegend();
    tempScale_.visible = false;
    notifyScale();
}

void ResultPresenter::showLegend(LegendKind kind) {
    legend_.kind = kind;
    legend_.position = legendPlacement(mainWindow);
    legend_.framed = shown_.legendFramed;
    const ui::Size size = legendSize(kind);
    legend_.picture = services_.createSurface(size.width, size.height);
    if (legend_.picture) paintLegend(*legend_.picture, kind, doc_.tables);
    legend_.visible = true;
    notifyLegend();
}

void ResultPresenter::prepareTemperatureScale() {
    tempScale_.picture = services_.createSurface(kTemperatureScaleSize.width, kTemperatureScaleSize.height);
    if (tempScale_.picture) drawTemperatureScale(*tempScale_.picture, doc_.tables);
    notifyScale();
}

void ResultPresenter::clearSurface() {
    if (hooks.clearDrawingSurface) {
        hooks.clearDrawingSurface();
    } else {
        clearDrawingSurface(surface_, shown_);
    }
}

void ResultPresenter::drawPlanInBlack() {
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    drawFixtures(surface_, doc_, 0, 0, 1.0, legend_.visible);
}

std::optional<calc::WallMask> ResultPresenter::wallMask() {
    calc::WallMask mask;
    const std::unique_ptr<ui::Surface> picture = services_.createSurface(surface_.width(), surface_.height());
    if (!picture) return std::nullopt;
    mask.allocate(surface_.width(), surface_.height());
    picture->fillRect(ui::Rect{0, 0, mask.width, mask.height}, ui::colors::white);
    picture->setPen(ui::Pen{});
    drawWalls(*picture, doc_, services_, 0, 0, 1.0);
    std::size_t i = 0;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x, ++i) mask.wall[i] = picture->pixel(x, y) == ui::colors::black;
    }
    return mask;
}

void ResultPresenter::accept(calc::CalcResult&& result) {
    grid_ = std::move(result.grid);
    stats_ = result.stats;
    doc_.tables.luxLevel = result.levels;
    contours_.clear();
    indirect_ = std::move(result.indirect);
    applyResultState(doc_, shown_, ResultStep::Calculated, stats_);
    shown_.reflectionLabel = reflectionLabelOf(indirect_);
}

std::string reflectionLabelOf(const calc::IndirectFigures& r) {
    if (!r.on) return {};
    auto lux = [](double v) { return base::formatInt(static_cast<long long>(v)) + " Lx"; };
    return "平均照度 : " + lux(r.directAverageLux + r.indirectAverageLux) + "（直接 " + lux(r.directAverageLux) + "＋相互反射 " +
           lux(r.indirectAverageLux) + "）";
}

void ResultPresenter::writeAverageAndMaximum() {
    ui::Font font = surface_.font();
    font.sizePt = 10;
    font.color = ui::colors::black;
    surface_.setFont(font);
    surface_.setTextBackground(ui::colors::white, true);
    const int x = kFiguresTextBox.left + 3, y = kFiguresTextBox.top + 3;
    surface_.textOut(x, y, "平均照度：" + base::formatInt(stats_.averageLux) + " Lx");
    surface_.textOut(x, y + 15, "最高照度：" + base::formatInt(stats_.maxLux) + " Lx");
}

void ResultPresenter::drawTaskAreas() {
    for (const calc::AreaFigures& f : stats_.areas) drawTaskArea(surface_, f.area, f.area.name + (f.pass ? " ○" : " ×"));
}

void ResultPresenter::present() {
    ui::Pen pen = surface_.pen();
    pen.style = ui::PenStyle::Solid;
    surface_.setPen(pen);
    hideLegends();
    if (doc_.displayKind == 'T') rebuildContours();
    showResult(doc_.displayKind);
    if (settings_.showFixturesOnResult) drawFixturesOnResult();
    drawTaskAreas();
    applyResultState(doc_, shown_, ResultStep::Presented, stats_);
    if (hooks.hideRegistrationWindow) hooks.hideRegistrationWindow();
    writeAverageAndMaximum();
}

void ResultPresenter::rebuildContours() {
    // Tracing cannot be interrupted: the window only says what is happening.
    services_.progressShowStyled(kCaptionContours, kTextContours, 0, false, false);
    services_.processEvents();
    std::vector<float> levels;
    for (int i = 1; i <= 6; ++i) levels.push_back(static_cast<float>(doc_.tables.luxLevel[static_cast<std::size_t>(i)]));
    contours_ = calc::buildContours(grid_, levels, grid_.gridWidth - 1, grid_.gridHeight - 1);
    services_.progressHide();
    applyResultState(doc_, shown_, ResultStep::ContoursTraced, stats_);
}

void ResultPresenter::ensureContours() {
    if (contoursStale(contours_, doc_.tables.luxLevel)) rebuildContours();
}

void ResultPresenter::chooseLevelsAgain() { doc_.tables.luxLevel = calc::chooseLevels(doc_, stats_.maxLux); }

bool ResultPresenter::paintColourMap() {
    const int height = surface_.height();
    services_.progressShow("色の設定", "計算結果を表示中", shown_.displayDetail ? height : height / 2);
    clearSurface();
    tempScale_.visible = false;
    notifyScale();
    drawPlanInBlack();
    resetLitExtent(stats_);
    if (!paintClassPixels(surface_, doc_.tables, grid_, stats_, shown_.displayDetail, services_)) {
        redisplayPlan();
        services_.progressHide();
        return false;
    }
    services_.progressHide();
    showLegend(LegendKind::ColourClasses);
    applyResultState(doc_, shown_, ResultStep::MapShown, stats_);
    return true;
}

bool ResultPresenter::paintColourTemperature() {
    services_.progressShowStyled("色温度の設定", "計算結果を表示中", surface_.height() + 1, false, true);
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
    applyResultState(doc_, shown_, ResultStep::MapShown, stats_);
    return true;
}

void ResultPresenter::showContours() {
    ensureContours();
    clearSurface();
    drawContours(surface_, doc_, contours_, 0, 0, 1.0);
    ui::Pen p = surface_.pen();
    p.width = 2;
    surface_.setPen(p);
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    p = surface_.pen();
    p.width = 1;
    surface_.setPen(p);
    applyResultState(doc_, shown_, ResultStep::ContoursShown, stats_);
    showLegend(LegendKind::ContourLevels);
}

bool ResultPresenter::redisplayColourMap() {
    chooseLevelsAgain();
    doc_.displayKind = 'B';
    const bool done = paintColourMap();
    if (done && settings_.showFixturesOnResult) drawFixturesOnResult();
    if (done) drawTaskAreas();
    return done;
}

bool ResultPresenter::redisplayColourTemperature() {
    doc_.displayKind = 'C';
    const bool done = paintColourTemperature();
    if (done) drawTaskAreas();
    return done;
}

void ResultPresenter::redisplayContours(bool overlay) {
    chooseLevelsAgain();
    doc_.displayKind = 'T';
    if (!overlay) clearSurface();
    ensureContours();
    drawContours(surface_, doc_, contours_, 0, 0, 1.0);
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    if (settings_.showFixturesOnResult) drawFixturesOnResult();
    drawTaskAreas();
    applyResultState(doc_, shown_, ResultStep::ContoursShown, stats_);
    if (!overlay || !legend_.visible || legend_.kind != LegendKind::ContourLevels) showLegend(LegendKind::ContourLevels);
}

void ResultPresenter::showResult(char displayKind) {
    switch (displayKind) {
    case 'B': paintColourMap(); break;
    case 'C': paintColourTemperature(); break;
    case 'T': showContours(); break;
    default: break;
    }
}

void ResultPresenter::drawFixturesOnResult() { drawFixtures(surface_, doc_, 0, 0, 1.0, legend_.visible); }

void ResultPresenter::redisplayPlan() {
    if (hooks.redisplayPlan) {
        hooks.redisplayPlan();
        return;
    }
    clearSurface();
    drawWalls(surface_, doc_, services_, 0, 0, 1.0);
    drawFixtures(surface_, doc_, 0, 0, 1.0, legend_.visible);
}

void applyResultState(model::Document& doc, model::WindowShown& shown, ResultStep step, const calc::ResultStats& stats) {
    switch (step) {
    case ResultStep::Calculated:
        shown.menus.csvOutput = true;
        doc.resultValid = true;
        shown.menus.dxfSaveResult = true;
        shown.maxLuxLabel = "最大照度 : " + base::formatInt(stats.maxLux) + " Lx";
        break;
    case ResultStep::ContoursTraced:
        doc.resultValid = true;
        shown.menus.dxfSaveResult = true;
        break;
    case ResultStep::MapShown:
        shown.menus.print = true;
        shown.resultShown = true;
        break;
    case ResultStep::ContoursShown:
        shown.resultShown = true;
        break;
    case ResultStep::Presented:
        shown.menus.print = true;
        shown.menus.redisplayLux = true;
        shown.menus.redisplayColorTemp = true;
        shown.menus.gridPrint = false;
        shown.bikouLabel = kBikouAfterResult;
        break;
    }
}

namespace {

// A plan whose result would mean nothing is refused before anything is calculated, with the message the
// program gives for the same want elsewhere: no scale, a reference height at or below the work plane,
// fixtures of a slot with no type registered. True when refused (the message shown).
bool refuseUncalculablePlan(const model::Document& doc, const catalog::TourokuTable& touroku, ui::Services& services) {
    const char* text = nullptr;
    const char* title = "";
    bool unregistered = false;
    doc.plan.kigu.forEach([&](const model::KiguRecord& k) { unregistered = unregistered || !touroku[k.typeIndex].isRegistered(); });
    if (!(doc.plan.mmPerPixel > 0)) {
        text = kNoScaleMessage;
    } else if (doc.tenDaka <= 0) {
        text = calc::kTenDakaNotPositive;
        title = calc::kSettingErrorTitle;
    } else if (unregistered) {
        text = catalog::kMsgNotRegistered;
    }
    // A room the reflections cannot be worked out in: a luminaire above its ceiling or below its floor.
    const std::string room = text == nullptr ? calc::roomRefusal(doc, touroku, doc.tenDaka) : std::string();
    if (!room.empty()) {
        text = room.c_str();
        title = calc::kSettingErrorTitle;
    }
    if (text == nullptr) return false;
    services.messageBox(text, title, ui::Icon::Stop, ui::Buttons::Ok);
    return true;
}

} // namespace

calc::CalcOutcome calculateAndPresent(ResultPresenter& presenter, const catalog::TourokuTable& touroku, int threads) {
    model::Document& doc = presenter.document();
    if (!doc.resultValid) {
        if (refuseUncalculablePlan(doc, touroku, presenter.services())) return calc::CalcOutcome::Cancelled;
        presenter.hideLegends();
        const std::optional<calc::WallMask> walls = presenter.wallMask();
        if (!walls) {
            presenter.services().showError("描画面を作成できません (" + base::formatInt(doc.surfaceWidth) + "×" +
                                           base::formatInt(doc.surfaceHeight) + ")");
            presenter.redisplayPlan();
            return calc::CalcOutcome::Cancelled;
        }
        ServicesCalcProgress progress(presenter.services());
        calc::CalcResult result;
        try {
            result = calc::calculate(calc::CalcInput{doc, touroku, presenter.settings(), *walls, progress, doc.tenDakaLabel, threads});
        } catch (...) {
            // A run that the machine stopped (no memory, no threads) ends as a cancelled one: the progress
            // window goes and the plan is shown as it was. The message is the window's error box.
            presenter.services().progressHide();
            presenter.redisplayPlan();
            throw;
        }
        if (result.outcome != calc::CalcOutcome::Done) {
            if (result.outcome == calc::CalcOutcome::Overflow)
                presenter.services().messageBox(calc::kMsgLuxOverflow, "", ui::Icon::Stop, ui::Buttons::Ok);
            presenter.redisplayPlan();
            return calc::CalcOutcome::Cancelled;
        }
        presenter.accept(std::move(result));
    }
    presenter.present();
    return calc::CalcOutcome::Done;
}

} // namespace view
