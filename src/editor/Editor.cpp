// The plan editor's dispatch: edit targets, the tool table, snapping, the rubber band and the mouse on the plan.
#include "editor/Editor.h"

#include "base/Text.h"
#include "editor/TaskAreaTools.h"
#include "editor/WallTools.h"
#include "model/Document.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace editor {

namespace {
constexpr ui::Color kRubberGreen{0, 128, 0};

// A code no tool stands for: clicks and moves do nothing.
class NoTool : public ClickTool {
public:
    using ClickTool::ClickTool;
    ToolOutcome press(ui::Point) override { return ToolOutcome::Kept; }
};

std::string roundedMm(double mm) { return base::formatInt(static_cast<long long>(std::trunc(mm + 0.5))) + " mm"; }

// The pointer in mm from the plan's origin (top left, y downwards, as the plan's coordinates run), and the
// segment being drawn: its length, and its angle counter-clockwise from the rightward direction as the
// user sees it on the screen (0.0 to 359.9).
std::string readoutFor(float mmPerPixel, ui::Point pointer, const RubberBand& band) {
    if (!(mmPerPixel > 0)) return {};
    const double s = mmPerPixel;
    std::string text = "X: " + roundedMm(pointer.x * s) + "  Y: " + roundedMm(pointer.y * s);
    if (band.shape != RubberBand::Shape::Line) return text;
    const double dx = static_cast<double>(band.to.x) - band.from.x;
    const double dy = static_cast<double>(band.to.y) - band.from.y;
    double angle = std::atan2(-dy, dx) * 180.0 / 3.14159265358979323846;
    if (angle < 0) angle += 360.0;
    angle = std::trunc(angle * 10.0 + 0.5) / 10.0;
    if (angle >= 360.0) angle -= 360.0;
    return text + "  長さ: " + roundedMm(std::hypot(dx, dy) * s) + "  角度: " + base::formatFixed(angle, 1) + "°";
}
} // namespace

Editor::Editor(MainState& state, catalog::TourokuTable& touroku, ui::Surface& surface, ui::Services& services,
               PlanPainter& painter, EditorHooks hooks, DxfBackground* dxf)
    : state_(state), touroku_(touroku), surface_(surface), services_(services), painter_(painter), hooks_(std::move(hooks)),
      dxf_(dxf), context_{state_, touroku_, surface_, services_, painter_, hooks_, dxf_, *this}, fixturePlacer_(context_),
      pillarPlacer_(context_) {
    auto add = [this](char code, ToolGroup group, std::unique_ptr<Tool> tool) {
        tools_.push_back(ToolSlot{code, group, std::move(tool)});
    };
    ToolContext& c = context_;
    // The stored tool codes: walls first; the measurement and the DXF zoom work in every target.
    add('L', ToolGroup::Any, std::make_unique<ChainedLineTool>(c, 'L'));
    add('+', ToolGroup::Any, std::make_unique<ChainedLineTool>(c, '+'));
    add('S', ToolGroup::Any, std::make_unique<RectangleTool>(c));
    add('A', ToolGroup::Any, std::make_unique<ArcTool>(c));
    add('D', ToolGroup::Any, std::make_unique<DeleteSegmentsTool>(c));
    add('M', ToolGroup::Any, std::make_unique<MeasureScaleTool>(c));
    add('Z', ToolGroup::Any, std::make_unique<DxfZoomTool>(c));
    add('T', ToolGroup::Any, std::make_unique<TaskAreaTool>(c));
    add('t', ToolGroup::Any, std::make_unique<DeleteTaskAreasTool>(c));
    // The selection tool in every target: its presses, drags and releases are the editor's own.
    add('V', ToolGroup::Any, std::make_unique<NoTool>(c));
    add('1', ToolGroup::Fixtures, std::make_unique<SinglePlacementTool>(c, fixturePlacer_));
    add('2', ToolGroup::Fixtures, std::make_unique<ArrayPlacementTool>(c, fixturePlacer_, '2'));
    add('3', ToolGroup::Fixtures, std::make_unique<ArrayPlacementTool>(c, fixturePlacer_, '3'));
    add('d', ToolGroup::Fixtures, std::make_unique<DeleteFixturesTool>(c));
    add('H', ToolGroup::Fixtures, std::make_unique<HeightChangeTool>(c));
    add('1', ToolGroup::Pillars, std::make_unique<SinglePlacementTool>(c, pillarPlacer_));
    add('2', ToolGroup::Pillars, std::make_unique<ArrayPlacementTool>(c, pillarPlacer_, '2'));
    add('3', ToolGroup::Pillars, std::make_unique<ArrayPlacementTool>(c, pillarPlacer_, '3'));
    add('d', ToolGroup::Pillars, std::make_unique<DeletePillarsTool>(c));
    noTool_ = std::make_unique<NoTool>(c);
}

Editor::~Editor() = default;

Tool& Editor::tool() const {
    const char target = state_.window.editTarget;
    const ToolGroup group = target == 'K' ? ToolGroup::Fixtures : target == 'R' ? ToolGroup::Any : ToolGroup::Pillars;
    for (const auto& slot : tools_) {
        if (slot.code == state_.window.toolCode && (slot.group == group || slot.group == ToolGroup::Any)) return *slot.tool;
    }
    return *noTool_;
}

void Editor::initialise() {
    state_.grid.allocate(surface_.width(), surface_.height());
    state_.window.scaleLabel = model::scaleLabelFor(state_.doc, false);
    state_.window.gridSnapVisible = false;
    state_.window.pointLuxLabel.clear();
    clearDrawingSurface();
    setTarget('R');
    updateScaleTypeLabel();
    state_.doc.extent.Xe = 0;
    state_.doc.extent.Ye = 0;
}

void Editor::stop(const std::string& text, const std::string& title) { context_.stop(text, title); }

void Editor::setSnapMode(char mode) { state_.window.snapMode = mode; }

void Editor::cancelOperation() {
    // The segment being drawn goes, and its length and angle with it: the read-out keeps the pointer.
    if (band_.shape == RubberBand::Shape::Line)
        state_.window.pointerReadout = readoutFor(state_.doc.plan.mmPerPixel, band_.to, RubberBand{});
    eraseRubberBand();
    tool().cancel();
}

void Editor::switchTool(char code) {
    cancelOperation();
    clearSelection();
    state_.window.centreGridPreset = false;
    state_.window.toolCode = code;
    updateUndoCaption();
}

void Editor::updateUndoCaption() {
    // Among the walls, undo takes back what the current tool makes: task areas with their two tools.
    if (state_.window.editTarget != 'R') return;
    state_.window.undoCaption = isTaskAreaTool(state_.window.toolCode) ? "１つ戻す(作業領域)" : "１つ戻す(部屋)";
}

// ---------------------------------------------------------------- targets

void Editor::setTarget(char target) {
    cancelOperation();
    clearSelection();
    if (target == 'R') {
        state_.window.undoCaption = "１つ戻す(部屋)";
    } else if (target == 'K') {
        state_.window.undoCaption = "１つ戻す(器具)";
    } else {
        state_.window.undoCaption = "１つ戻す(柱)";
        target = 'S';
    }
    state_.window.editTarget = target;
    state_.window.toolCode = target == 'R' ? 'L' : '1';
    setSnapMode('F');
}

void Editor::imgRoomClick() {
    call(hooks_.hideRegistration);
    setTarget('R');
}

void Editor::imgKiguClick() {
    setTarget('K');
    call(hooks_.showRegistration);
}

void Editor::imgHasiraClick() {
    call(hooks_.hideRegistration);
    setTarget('S');
}

void Editor::imgEntyuuClick() {
    if (isPillarTarget()) state_.window.editTarget = 'C';
}

void Editor::imgKakutyuuClick() {
    if (isPillarTarget()) state_.window.editTarget = 'S';
}

void Editor::imgFLyokoClick() { state_.doc.flVertical = false; }
void Editor::imgFLtateClick() { state_.doc.flVertical = true; }

// ---------------------------------------------------------------- tools

void Editor::selectWallTool(char code) {
    if (state_.window.toolCode == 'M' && code != 'M') finishMeasurement();
    if (code == state_.window.toolCode) return;
    const char old = state_.window.toolCode;
    // The zoom tool disables the snap buttons too, so it gives the snap mode back like '+' and 'D'.
    if (old == '+' || old == 'D' || old == 'Z') setSnapMode(state_.window.rememberedSnapMode);
    eraseRubberBand();
    if (old == 'D') {
        ui::Pen pen = surface_.pen();
        pen.style = ui::PenStyle::Solid;
        surface_.setPen(pen);
    }
    if (code == '+' || code == 'D' || code == 'Z') {
        state_.window.rememberedSnapMode = state_.window.snapMode;
        setSnapMode(code == '+' ? '+' : 'Z');
    }
    // A chain ends with its tool, as with "線分のカット": the new tool starts at its own first click.
    switchTool(code);
}

void Editor::selectSnap(char mode) {
    const char now = state_.window.snapMode;
    if (now == '+' || now == 'Z') return;  // the snap buttons are disabled
    if (mode == 'G' && !state_.window.gridSnapVisible) return;
    setSnapMode(mode);
}

void Editor::imgCutClick() { cancelOperation(); }

void Editor::selectPlacementTool(char code) {
    auto& doc = state_.doc;
    if (state_.window.editTarget == 'R') return;  // the fixture and pillar palettes are hidden with walls
    if ((code == '2' || code == '3') && !doc.plan.hasScale()) {
        stop(kNeedScale);
        return;
    }
    if ((code == '2' || code == '3') && state_.window.editTarget == 'K' && !catalog::isValidSlot(doc.selectedType)) {
        stop(kNeedType);
        return;
    }
    if (state_.window.toolCode == 'M') finishMeasurement();
    cancelOperation();
    if (code == state_.window.toolCode) return;
    const char old = state_.window.toolCode;
    if (old == 'H' || old == 'd') setSnapMode(state_.window.rememberedSnapMode);
    if (code == 'H' || code == 'd') {
        state_.window.rememberedSnapMode = state_.window.snapMode;
        setSnapMode('Z');
    }
    switchTool(code);
}

void Editor::rbtnKosuuClick() { state_.doc.arrayInput = 'K'; }

bool Editor::rbtnPitchClick() {
    if (!state_.doc.plan.hasScale()) {
        stop(kPitchNeedsScale, "エラー");
        return false;
    }
    state_.doc.arrayInput = 'P';
    return true;
}

// ---------------------------------------------------------------- rubber band

void Editor::xorShape(const RubberBand& band) {
    if (band.shape == RubberBand::Shape::None) return;
    surface_.setPen(ui::Pen{kRubberGreen, 1, ui::PenStyle::Solid, ui::PenMode::Xor});
    surface_.setBrush(ui::Brush{ui::colors::white, true});
    switch (band.shape) {
    case RubberBand::Shape::Line:
        surface_.moveTo(band.from.x, band.from.y);
        surface_.lineTo(band.to.x, band.to.y);
        break;
    case RubberBand::Shape::Rect: surface_.rectangle(band.from.x, band.from.y, band.to.x, band.to.y); break;
    case RubberBand::Shape::Arc:
        surface_.arc(band.square.left, band.square.top, band.square.right, band.square.bottom, band.arcFrom.x,
                     band.arcFrom.y, band.arcTo.x, band.arcTo.y);
        break;
    default: break;
    }
    surface_.setPen(ui::Pen{});
}

void Editor::xorMarker(ui::Point p) {
    surface_.setPen(ui::Pen{kRubberGreen, 1, ui::PenStyle::Solid, ui::PenMode::Xor});
    surface_.setBrush(ui::Brush{ui::colors::white, true});
    surface_.rectangle(p.x - 2, p.y - 2, p.x + 3, p.y + 3);
    surface_.setPen(ui::Pen{});
}

void Editor::eraseRubberBand() {
    xorShape(band_);
    band_ = RubberBand{};
    if (marker_) {
        xorMarker(*marker_);
        marker_.reset();
    }
}

// ---------------------------------------------------------------- mouse

std::optional<ui::Point> Editor::snap(int x, int y) {
    const auto& doc = state_.doc;
    switch (state_.window.snapMode) {
    case 'G': return snapToGrid(x, y, state_.gridPitch);
    case '+': {
        const auto start = tool().startPoint();
        return start ? orthogonalPoint(*start, x, y) : ui::Point{x, y};
    }
    case 'E': {
        std::int64_t best = endPointReachSquared(state_.window.zoom);
        auto p = nearestWallEnd(doc.plan.lines, x, y, best);
        if (doc.backgroundKind == 'D' && dxf_ != nullptr) {
            ui::Point found;
            const float start = static_cast<float>(best);
            if (dxf_->nearestEndPoint(start, x, y, found) < start) p = found;
        }
        return p;
    }
    default: return ui::Point{x, y};
    }
}

void Editor::mouseDown(const ui::MouseEvent& e) {
    if (e.button == ui::MouseButton::Right) {
        // A right click ends what is being drawn like Escape; ending a measurement takes the place of the menu.
        const bool menu = !tool().inProgress() && (state_.window.resultShown || state_.window.toolCode != 'M');
        escapeKey();
        if (menu) call(hooks_.showContextMenu);
        return;
    }
    if (e.button != ui::MouseButton::Left || state_.window.resultShown) return;
    if (state_.window.toolCode == 'V') {
        selectionPress(e, snap(e.position.x, e.position.y).value_or(e.position));
        return;
    }
    if (auto snapped = snap(e.position.x, e.position.y)) handleSnappedPoint(*snapped);
    // What was being measured has ended or begins again here: the next move shows the new segment.
    state_.window.pointerReadout = readoutFor(state_.doc.plan.mmPerPixel, e.position, RubberBand{});
}

void Editor::escapeKey() {
    if (state_.window.resultShown) return;  // the result covers the plan; nothing is being drawn
    cancelOperation();
    if (state_.window.toolCode == 'V') clearSelection();
    if (state_.window.toolCode == 'M') finishMeasurement();
}

void Editor::handleSnappedPoint(ui::Point p) {
    eraseRubberBand();
    Tool& current = tool();
    if (current.press(p) == ToolOutcome::GiveBackPreviousTool) finishMeasurement();
    if (tool().inProgress()) {
        marker_ = p;
        xorMarker(p);
    }
}

void Editor::mouseMove(const ui::MouseEvent& e) {
    auto& doc = state_.doc;
    const ui::Point p = e.position;
    eraseRubberBand();
    if (drag_.mode != SelectDrag::Mode::None) {
        selectionDragTo(e);
    } else if (!tool().inProgress()) {
        state_.window.pointerReadout = readoutFor(doc.plan.mmPerPixel, p, RubberBand{});
        state_.window.surfaceHint.clear();
        // Within 5 screen pixels in both directions, at any zoom.
        const double zoom = state_.window.zoom;
        auto withinReach = [zoom](long long a, long long b) { return static_cast<double>(std::llabs(a - b)) * zoom < 5.0; };
        for (int i = 1; i <= doc.plan.kigu.count(); ++i) {
            const auto& k = doc.plan.kigu[i];
            if (k.heightOffset != 0 && withinReach(p.x, k.x) && withinReach(p.y, k.y)) {
                state_.window.surfaceHint = "h=" + std::to_string(static_cast<long long>(k.heightOffset) + doc.tenDaka) + "mm";
                return;
            }
        }
    } else {
        band_ = tool().bandTo(p);
        xorShape(band_);
        state_.window.pointerReadout = readoutFor(doc.plan.mmPerPixel, p, band_);
    }
    if (doc.resultValid) {
        const double v = std::trunc(static_cast<double>(state_.grid.luxAt(p.x, p.y)));
        const long long lux = std::fabs(v) < 9e18 ? static_cast<long long>(v) : 0;
        state_.window.pointLuxLabel = "(" + std::to_string(lux) + " Lx)";
    }
}

// ---------------------------------------------------------------- scale and numbers

void Editor::S1Click() {
    if (!state_.window.menus.scaleSet || state_.window.toolCode == 'M') return;
    cancelOperation();
    beforeMeasure_ = {state_.window.toolCode, state_.window.snapMode, state_.window.rememberedSnapMode};
    state_.window.rememberedSnapMode = state_.window.snapMode;
    switchTool('M');
    setSnapMode('E');
}

void Editor::finishMeasurement() {
    cancelOperation();
    state_.window.toolCode = beforeMeasure_.tool;
    updateUndoCaption();
    state_.window.rememberedSnapMode = beforeMeasure_.remembered;
    setSnapMode(beforeMeasure_.snap);
}

void Editor::btnSuutiClick() {
    auto& doc = state_.doc;
    if (!doc.plan.hasScale()) {
        stop(kNeedScale);
        return;
    }
    LengthAnswer answer = context_.askLength(LengthRequest{'L', state_.window.toolCode, {600, 40}, true});
    const int dxMm = answer.confirmed ? answer.firstValue : 0;
    const int dyMm = answer.confirmed ? answer.secondValue : 0;
    if (dxMm == 0 && dyMm == 0) return;
    const auto start = tool().startPoint();
    if (!start) return;  // nothing in progress to complete
    const double x = start->x + std::trunc(dxMm / static_cast<double>(doc.plan.mmPerPixel));
    const double y = start->y - std::trunc(dyMm / static_cast<double>(doc.plan.mmPerPixel));
    // A typed offset far beyond any drawing surface would overflow the plan's coordinates.
    constexpr double kLimit = 1000000.0;
    if (std::fabs(x) > kLimit || std::fabs(y) > kLimit) return;
    handleSnappedPoint(ui::Point{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
}

} // namespace editor
