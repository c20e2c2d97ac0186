// What the editor needs from its neighbours: plan rendering, the DXF background, the dialogs and windows.
#pragma once
#include "model/Plan.h"
#include "ui/Surface.h"
#include "ui/Types.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace editor {

struct MainState;

// The plan rendering the editor draws with (walls, pillars and fixture symbols).
class PlanPainter {
public:
    virtual ~PlanPainter() = default;
    // Walls, arcs and pillars in black at offset (0, 0), scale 1.
    virtual void drawWalls(ui::Surface& surface) = 0;
    // Every placed fixture's symbol and height label at offset (0, 0), scale 1.
    virtual void drawFixtures(ui::Surface& surface) = 0;
    // One symbol: code 1..36 a fixture type slot, 50/51 a pillar kind; mode 'P' fixture, 'p' pillar,
    // 'D' erase in white; rotation 0 or 90 (bars only); pillarHalfSize for pillar codes.
    virtual void drawSymbol(ui::Surface& surface, int x, int y, int code, char mode, int rotation, int pillarHalfSize) = 0;
};

// The DXF drawing held as a background.
class DxfBackground {
public:
    virtual ~DxfBackground() = default;
    // Reads the file into a new drawing; false (after the reader's own message) when it cannot.
    virtual bool load(const std::string& path) = 0;
    // Fits the drawing into the plan surface; sets the plan's scale.
    virtual void fitToView() = 0;
    virtual void draw(ui::Surface& surface) = 0;
    // Zooms to a rectangle in plan pixels, then fits.
    virtual void zoom(int x1, int y1, int x2, int y2) = 0;
    // Back to the whole drawing, then fits.
    virtual void resetView() = 0;
    // Nearest end point strictly closer than `best` (squared plan pixels); returns the new best and
    // sets `found` to its plan position when one was closer.
    virtual float nearestEndPoint(float best, int px, int py, ui::Point& found) = 0;
};

// The length dialog as the editor asks it: input kind 'K', 'P', 'H', 'M' or 'L' and the tool.
struct LengthRequest {
    char kind = 'K';
    char tool = '2';
    ui::Point click;          // plan pixel of the click it belongs to
    bool atFixedPlace = false;  // numeric point entry: shown at (600, 40) on the screen
    bool centredPreset = false;  // the grid's "中央に配置" check starts checked ("均等配置...")
};
struct LengthAnswer {
    bool confirmed = false;
    int firstValue = 0;
    int secondValue = 0;
    bool centred = false;  // a grid: centred in its rectangle, half a spacing from the edges
};

// The new-plan and start dialogs' choice.
enum class NewPlanBackground { White, Dxf, Bitmap, Grid };
struct NewPlanChoice {
    bool confirmed = false;
    NewPlanBackground background = NewPlanBackground::White;
    int denominator = 50;        // one of the fixed scales
    bool customScale = false;    // "設定値": the denominator is typed
    std::string denominatorText; // txtSyuku
};

// The move and copy dialog's answer: a displacement in mm, x to the right and y downwards as the pointer's
// read-out counts them.
struct OffsetAnswer {
    double dxMm = 0, dyMm = 0;
};
// The rotation dialog's answer: degrees counter-clockwise on the screen, about the selection's centre or a
// point clicked next.
struct RotationAnswer {
    double degrees = 0;
    bool aboutClickedPoint = false;
};

// The properties box of one item: its fields as texts, in the order the box shows them.
struct PropertyField {
    std::string label;
    std::string text;
};
struct PropertySheet {
    std::string title;
    std::vector<PropertyField> fields;
};
// Tells whether typed texts (in the sheet's order) pass; after a refusal's message the box stays open.
using PropertyCheck = std::function<bool(const std::vector<std::string>& texts)>;

// The windows and dialogs around the editor; every hook may be left empty (headless use does nothing).
struct EditorHooks {
    std::function<LengthAnswer(const LengthRequest&)> askLength;
    std::function<std::optional<NewPlanChoice>()> askNewPlan;
    // Calculation start dialog: leaves its answer in settings.calcConfirmed.
    std::function<void()> showCalcStartDialog;
    std::function<void()> runCalculation;
    // Redisplays the existing result in displayKind's form.
    std::function<void(char displayKind)> redisplayResult;
    // The "再描写" dialog: true when a choice was made.
    std::function<bool()> askRedrawChoice;
    // The calculation-height setting dialog; may change doc.tenDaka and doc.tenDakaLabel.
    std::function<void()> showTenDakaDialog;
    // The calculation-height change question: 1, 2 or 3, 0 when cancelled.
    std::function<int(int preselected)> askTenDakaChange;
    std::function<void()> showRegistration;
    std::function<void()> hideRegistration;
    std::function<void()> refreshRegistrationCounts;
    std::function<void()> refreshRegistrationSlots;
    std::function<void()> closeLegendWindows;
    std::function<void()> closeSecondColourScale;
    std::function<void()> showContextMenu;
    std::function<void(int slot)> showCurveWindow;
    // The window becomes screen width - 5 by screen height - 25 at (0, 0) and the plan surface fills
    // its client area.
    std::function<void()> enlargeWindowToScreen;
    // The name and requirements of a task area just drawn, proposed in `area`; nothing when cancelled.
    std::function<std::optional<model::AreaRecord>(const model::AreaRecord& area)> askTaskArea;
    // "移動..." (copy false) and "複写..." (copy true); nothing when cancelled.
    std::function<std::optional<OffsetAnswer>(bool copy)> askOffset;
    // "回転..."; nothing when cancelled.
    std::function<std::optional<RotationAnswer>()> askRotation;
    // The properties box; the texts it was closed with once `check` passed them, nothing when cancelled.
    std::function<std::optional<std::vector<std::string>>(const PropertySheet& sheet, const PropertyCheck& check)> askProperties;
    // Reads a bitmap file at its own size; throws std::exception with the reader's message.
    std::function<std::unique_ptr<ui::Surface>(const std::string& path)> loadBitmap;
};

} // namespace editor
