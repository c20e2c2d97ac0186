// The result presenter: a calculation's result shown as colour map, colour temperature or contour lines, with its texts, legends, menus and labels.
#pragma once
#include "calc/Calculation.h"
#include "view/Legends.h"

#include <functional>
#include <optional>
#include <string>

namespace view {

inline constexpr const char* kCaptionContours = "照度分布";
inline constexpr const char* kTextContours = "等高線データを作成中";
inline constexpr const char* kBikouAfterResult = "図面入力に戻るには \"再表示\"";

// The moments at which a result changes the window's menus and labels.
enum class ResultStep {
    Calculated,      // a new grid: the CSV and DXF saves open, the maximum is labelled
    ContoursTraced,  // a contour set for the current levels: the DXF save opens
    MapShown,        // a colour map covers the surface: it can be printed
    ContoursShown,   // contour lines cover the surface
    Presented,       // the result of the calculation command is on the screen
};

// Every menu flag and label a result sets, in one place.
void applyResultState(model::Document& doc, model::WindowShown& shown, ResultStep step, const calc::ResultStats& stats);

// The calculation's progress window and cancel button, answered by the platform's progress window.
class ServicesCalcProgress : public calc::CalcProgress {
public:
    explicit ServicesCalcProgress(ui::Services& services) : services_(services) {}
    void progressShow(const std::string& caption, const std::string& text, int maximum) override {
        services_.progressShow(caption, text, maximum);
    }
    void progressShowStyled(const std::string& caption, const std::string& text, int maximum, bool barVisible,
                            bool cancelVisible) override {
        services_.progressShowStyled(caption, text, maximum, barVisible, cancelVisible);
    }
    void progressSet(int position) override { services_.progressSet(position); }
    bool processEvents() override { return services_.processEvents(); }
    void progressHide() override { services_.progressHide(); }

private:
    ui::Services& services_;
};

// Holds the current result (grid, statistics, contour set) and shows it on the plan drawing surface.
// Where the window writes the average and the maximum over the plan (white boxes at the top left): a
// reading for the screen, which the printed sheets leave out of the plan they copy.
inline constexpr ui::Rect kFiguresTextBox{10, 5, 260, 42};

class ResultPresenter {
public:
    ResultPresenter(model::Document& doc, model::WindowShown& shown, calc::IlluminanceGrid& grid, calc::ResultStats& stats,
                    calc::CalcSettings& settings, calc::ContourSet& contours, ui::Surface& surface,
                    ui::Services& services);

    // What the main window connects; every hook may stay empty.
    struct Hooks {
        // The editor's own wipe of the drawing surface (default: view::clearDrawingSurface).
        std::function<void()> clearDrawingSurface;
        // The editor's redraw with the background (default: wipe, walls, pillars and fixtures).
        std::function<void()> redisplayPlan;
        std::function<void()> hideRegistrationWindow;
        std::function<void()> hideRangeDialog;
        // The floating legend window or the scale window changed (shown, hidden, repainted, moved).
        std::function<void(const LegendWindow&)> legendChanged;
        std::function<void(const TemperatureScaleWindow&)> temperatureScaleChanged;
    } hooks;

    // Where the main window stands; the legend is placed beside it whenever it is shown.
    MainWindowGeometry mainWindow;

    // The walls and pillars in black on white, drawn off-screen the size of the drawing surface with
    // the pixel rules of the screen: what the interpolation treats as a wall. Nothing when the platform
    // cannot make the picture.
    std::optional<calc::WallMask> wallMask();
    // A finished calculation becomes the current result: its grid, statistics and levels are kept and
    // a contour set traced from an earlier grid is dropped.
    void accept(calc::CalcResult&& result);
    // Shows the current result the way displayKind says, with the fixtures when asked, the average and
    // maximum written in the top-left corner, and the menus and labels of a shown result.
    void present();

    // Traces the contour lines of the current levels with the progress window.
    void rebuildContours();
    // Traces them only when the set belongs to other levels.
    void ensureContours();

    // The three displays; each returns false when the user cancelled it.
    bool paintColourMap();
    bool paintColourTemperature();
    // Contour lines: traced again when stale, drawn at scale 1, walls with a pen of width 2 over them.
    void showContours();

    // The redisplay commands with a valid result: the levels are chosen again, then the display is
    // repainted from the existing grid. The contour display either draws over the current picture
    // ("重ねて表示") or starts from a wiped surface and repaints its legend ("書き直し").
    bool redisplayColourMap();
    bool redisplayColourTemperature();
    void redisplayContours(bool overlay);

    // The plan again with its background (after a cancel).
    void redisplayPlan();
    // Shows the legend window with the picture for this kind, placed beside the main window.
    void showLegend(LegendKind kind);
    // Hides the legend window and the colour-temperature scale window.
    void hideLegends();
    // Draws the colour-temperature scale picture (once, when the catalogue colours are known).
    void prepareTemperatureScale();

    const LegendWindow& legend() const { return legend_; }
    LegendWindow& legend() { return legend_; }
    // What the last calculation reported of reflected light (off when it calculated the direct light alone).
    const calc::IndirectFigures& indirect() const { return indirect_; }
    const TemperatureScaleWindow& temperatureScale() const { return tempScale_; }
    TemperatureScaleWindow& temperatureScale() { return tempScale_; }

    model::Document& document() { return doc_; }
    const calc::CalcSettings& settings() const { return settings_; }
    ui::Services& services() { return services_; }

private:
    void showResult(char displayKind);
    void clearSurface();
    void hideLegend();
    void chooseLevelsAgain();
    void drawPlanInBlack();
    void drawFixturesOnResult();
    // Each task area's outline with its name and pass (○) or fail (×) mark.
    void drawTaskAreas();
    void writeAverageAndMaximum();
    void notifyLegend();
    void notifyScale();

    model::Document& doc_;
    model::WindowShown& shown_;  // the editor's window state: menus, labels and display toggles
    calc::IlluminanceGrid& grid_;
    calc::ResultStats& stats_;
    calc::CalcSettings& settings_;
    calc::ContourSet& contours_;
    ui::Surface& surface_;
    ui::Services& services_;
    LegendWindow legend_;
    TemperatureScaleWindow tempScale_;
    calc::IndirectFigures indirect_;
};

// The status panel's line after a result with reflected light: "平均照度 : 513 Lx（直接 410 Lx＋相互反射 103 Lx）",
// each figure truncated to whole lux; empty for a result of direct light alone.
std::string reflectionLabelOf(const calc::IndirectFigures& indirect);

// The calculation command of the window and of the command line: a new calculation unless the result
// is still valid, then its presentation. Cancelled leaves the result invalid and the plan redisplayed;
// so does a wall mask the platform cannot draw, with the system's error. A plan without a scale, with a
// reference height at or below the plane or with fixtures of an unregistered slot is refused with the
// system's message (Cancelled), the plan and what the window shows left as they were.
// A height label that is not an integer throws base::ConversionError.
calc::CalcOutcome calculateAndPresent(ResultPresenter& presenter, const catalog::TourokuTable& touroku, int threads = 0);

} // namespace view
