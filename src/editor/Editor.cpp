// The plan editor's commands: targets and tools, mouse dispatch with snapping and the rubber band, the wall tools.
#include "editor/Editor.h"

#include "editor/Dialogs.h"

#include "base/Text.h"
#include "editor/Geometry.h"
#include "model/Document.h"

#include <cmath>

namespace editor {

namespace {
constexpr ui::Color kRubberGreen{0, 128, 0};

int cursorForTool(char target, char tool) {
    if (tool == 'D' || tool == 'd') return cursors::kDelete;
    if (tool == 'Z') return cursors::kZoom;
    if (tool == 'M') return cursors::kLength;
    if (target == 'C') return cursors::kMaru;
    if (target == 'S') return cursors::kSikaku;
    return cursors::kDefault;
}
} // namespace

std::string toolButtonName(char editTarget, char toolCode) {
    if (editTarget == 'R') {
        switch (toolCode) {
        case 'L': return "imgLine";
        case '+': return "imgL";
        case 'S': return "imgBox";
        case 'A': return "imgArc";
        case 'D': return "imgDelLine";
        default: return "";
        }
    }
    if (editTarget == 'K') {
        switch (toolCode) {
        case '1': return "imgKigu1";
        case '2': return "imgKigu2";
        case '3': return "imgKigu3";
        case 'd': return "imgDelKigu";
        case 'H': return "imgTakasa";
        default: return "";
        }
    }
    switch (toolCode) {
    case '1': return "imgHasira1";
    case '2': return "imgHasira2";
    case '3': return "imgHasira3";
    case 'd': return "imgHasiraDel";
    default: return "";
    }
}

Editor::Editor(MainState& state, catalog::TourokuTable& touroku, ui::Surface& surface, ui::Services& services,
               PlanPainter& painter, EditorHooks hooks, DxfBackground* dxf)
    : state_(state), touroku_(touroku), surface_(surface), services_(services), painter_(painter), hooks_(std::move(hooks)), dxf_(dxf) {}

void Editor::initialise() {
    state_.grid.allocate(surface_.width(), surface_.height());
    state_.doc.scaleLabel = model::scaleLabelFor(state_.doc, false);
    state_.doc.gridSnapVisible = false;
    state_.doc.pointLuxLabel.clear();
    clearDrawingSurface();
    setTarget('R');
    updateScaleTypeLabel();
    state_.doc.extent.Xe = 0;
    state_.doc.extent.Ye = 0;
}

void Editor::stop(const std::string& text, const std::string& title) {
    services_.messageBox(text, title, ui::Icon::Stop, ui::Buttons::Ok);
}

void Editor::pictureSet(const std::string& name, bool on) {
    if (!name.empty()) state_.pictureOn[name] = on;
}

void Editor::setSnapMode(char mode) {
    auto& doc = state_.doc;
    doc.snapMode = mode;
    state_.snapButtonsEnabled = mode != '+' && mode != 'Z';
    pictureSet("imgFree", mode == 'F');
    pictureSet("imgEdge", mode == 'E');
    pictureSet("imgGrid", mode == 'G');
}

// ---------------------------------------------------------------- targets

void Editor::setTarget(char target) {
    auto& doc = state_.doc;
    state_.cursor = cursors::kDefault;
    eraseRubberBand();
    state_.dragState = 'N';

    switch (doc.editTarget) {
    case 'R': state_.lastToolWalls = doc.toolCode; break;
    case 'K': state_.lastToolFixtures = doc.toolCode; break;
    default: state_.lastToolPillars = doc.toolCode; break;
    }

    char first = '1';
    char lastTool = state_.lastToolPillars;
    if (target == 'R') {
        doc.undoCaption = "１つ戻す(部屋)";
        state_.palette = PaletteGroup::Walls;
        first = 'L';
        lastTool = state_.lastToolWalls;
    } else if (target == 'K') {
        doc.undoCaption = "１つ戻す(器具)";
        state_.palette = PaletteGroup::Fixtures;
        lastTool = state_.lastToolFixtures;
    } else {
        doc.undoCaption = "１つ戻す(柱)";
        state_.palette = PaletteGroup::Pillars;
        target = 'S';
    }
    state_.arrayChoiceVisible = false;
    pictureSet("imgRoom", target == 'R');
    pictureSet("imgKigu", target == 'K');
    pictureSet("imgHasira", target == 'S');

    pictureSet(toolButtonName(target, lastTool), false);
    doc.editTarget = target;
    doc.toolCode = first;
    pictureSet(toolButtonName(target, first), true);
    setSnapMode('F');
    if (target == 'S') {
        state_.cursor = cursors::kSikaku;
        pictureSet("imgKakutyuu", true);
        pictureSet("imgEntyuu", false);
        state_.labHasira = "□";
    }
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
    if (!isPillarTarget()) return;
    state_.doc.editTarget = 'C';
    pictureSet("imgEntyuu", true);
    pictureSet("imgKakutyuu", false);
    state_.labHasira = "φ";
    // While deleting, the delete cursor stays and the pillar cursor comes back when the tool is left.
    (state_.doc.toolCode == 'd' ? state_.cursorBeforeDelete : state_.cursor) = cursors::kMaru;
}

void Editor::imgKakutyuuClick() {
    if (!isPillarTarget()) return;
    state_.doc.editTarget = 'S';
    pictureSet("imgKakutyuu", true);
    pictureSet("imgEntyuu", false);
    state_.labHasira = "□";
    (state_.doc.toolCode == 'd' ? state_.cursorBeforeDelete : state_.cursor) = cursors::kSikaku;
}

void Editor::imgFLyokoClick() {
    state_.doc.flVertical = false;
    pictureSet("imgFLyoko", true);
    pictureSet("imgFLtate", false);
}

void Editor::imgFLtateClick() {
    state_.doc.flVertical = true;
    pictureSet("imgFLtate", true);
    pictureSet("imgFLyoko", false);
}

// ---------------------------------------------------------------- tools

void Editor::selectWallTool(char code) {
    auto& doc = state_.doc;
    if (doc.toolCode == 'M' && code != 'M') finishMeasurement();
    if (code == doc.toolCode) return;
    const char old = doc.toolCode;
    pictureSet(toolButtonName(doc.editTarget, old), false);
    // The zoom tool disables the snap buttons too, so it gives the snap mode back like '+' and 'D'.
    if (old == '+' || old == 'D' || old == 'Z') setSnapMode(doc.rememberedSnapMode);
    if (old == 'D' || old == 'M' || old == 'Z') state_.cursor = cursors::kDefault;
    eraseRubberBand();
    if (old == 'D') {
        ui::Pen pen = surface_.pen();
        pen.style = ui::PenStyle::Solid;
        surface_.setPen(pen);
    }
    switch (code) {
    case '+':
        doc.rememberedSnapMode = doc.snapMode;
        setSnapMode('+');
        break;
    case 'A': state_.arcPhase = 1; break;
    case 'D':
        state_.cursor = cursors::kDelete;
        doc.rememberedSnapMode = doc.snapMode;
        state_.dragState = 'N';
        setSnapMode('Z');
        break;
    case 'M': state_.cursor = cursors::kLength; break;
    case 'Z':
        state_.cursor = cursors::kZoom;
        doc.rememberedSnapMode = doc.snapMode;
        setSnapMode('Z');
        break;
    default: break;
    }
    doc.toolCode = code;
    pictureSet(toolButtonName(doc.editTarget, code), true);
    if (state_.dragState != 'N') state_.dragState = code == 'A' ? 'L' : code;
}

void Editor::selectSnap(char mode) {
    if (!state_.snapButtonsEnabled) return;
    if (mode == 'G' && !state_.doc.gridSnapVisible) return;
    setSnapMode(mode);
}

void Editor::imgCutMouseDown() { pictureSet("imgCut", true); }

void Editor::imgCutMouseUp(bool insideButton) {
    if (insideButton) {
        eraseRubberBand();
        state_.dragState = 'N';
    }
    pictureSet("imgCut", false);
}

void Editor::selectPlacementTool(char code) {
    auto& doc = state_.doc;
    if (doc.editTarget == 'R') return;  // the fixture and pillar palettes are hidden with walls
    if ((code == '2' || code == '3') && !doc.plan.hasScale()) {
        stop(kNeedScale);
        return;
    }
    if ((code == '2' || code == '3') && doc.editTarget == 'K' && !catalog::isValidSlot(doc.selectedType)) {
        stop(kNeedType);
        return;
    }
    if (doc.toolCode == 'M') finishMeasurement();
    eraseRubberBand();
    if (code != doc.toolCode) {
        const char old = doc.toolCode;
        pictureSet(toolButtonName(doc.editTarget, old), false);
        if (old == 'H' || old == 'd') setSnapMode(doc.rememberedSnapMode);
        if (old == 'd') state_.cursor = state_.cursorBeforeDelete;
        if (code == 'H' || code == 'd') {
            doc.rememberedSnapMode = doc.snapMode;
            setSnapMode('Z');
        }
        if (code == 'd') {
            state_.cursorBeforeDelete = state_.cursor;
            state_.cursor = cursors::kDelete;
        }
        doc.toolCode = code;
        pictureSet(toolButtonName(doc.editTarget, code), true);
    }
    state_.arrayChoiceVisible = code == '2' || code == '3';
    state_.dragState = 'N';
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

void Editor::setSelectedType(int slot) { state_.doc.selectedType = slot; }

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
    case RubberBand::Shape::Rect:
        surface_.rectangle(band.from.x, band.from.y, band.to.x, band.to.y);
        break;
    case RubberBand::Shape::Arc:
        surface_.arc(band.square.left, band.square.top, band.square.right, band.square.bottom, band.arcFrom.x, band.arcFrom.y,
                     band.arcTo.x, band.arcTo.y);
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
    auto& band = state_.rubber;
    xorShape(band);
    band.shape = RubberBand::Shape::None;
    if (band.markerShown) {
        xorMarker(band.marker);
        band.markerShown = false;
    }
}

void Editor::drawRubberTo(ui::Point p) {
    RubberBand& band = state_.rubber;
    band.shape = RubberBand::Shape::None;
    switch (state_.dragState) {
    case '+':
    case '2':
    case 'L':
    case 'M':
        band.shape = RubberBand::Shape::Line;
        band.from = state_.startPoint;
        band.to = p;
        break;
    case '3':
    case 'D':
    case 'H':
    case 'S':
    case 'Z':
    case 'd':
        band.shape = RubberBand::Shape::Rect;
        band.from = state_.startPoint;
        band.to = p;
        break;
    case 'A': {
        auto& arc = state_.arc;
        auto g = arcThroughThreePoints(arc.chordStart, arc.chordEnd, p);
        if (!g) break;  // no preview; the last successful one is kept for the third click
        arc.havePreview = true;
        arc.square = g->square;
        arc.flag = g->flag;
        band.shape = RubberBand::Shape::Arc;
        band.square = g->square;
        band.arcFrom = g->flag == 1 ? arc.chordEnd : arc.chordStart;
        band.arcTo = g->flag == 1 ? arc.chordStart : arc.chordEnd;
        break;
    }
    default: break;
    }
    xorShape(band);
}

// ---------------------------------------------------------------- mouse

std::optional<ui::Point> Editor::snap(int x, int y) {
    const auto& doc = state_.doc;
    switch (doc.snapMode) {
    case 'G': return snapToGrid(x, y, state_.gridPitch);
    case '+':
        if (state_.dragState == 'N') return ui::Point{x, y};
        return orthogonalPoint(state_.startPoint, x, y);
    case 'E': {
        std::int64_t best = 100;  // strictly within 10 pixels
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
    auto& doc = state_.doc;
    if (e.button == ui::MouseButton::Right) {
        bool menu = state_.dragState == 'N';
        if (!doc.resultShown) {
            eraseRubberBand();
            state_.dragState = 'N';
            if (doc.toolCode == 'M') {
                finishMeasurement();
                menu = false;
            }
        }
        if (menu) call(hooks_.showContextMenu);
        return;
    }
    if (e.button != ui::MouseButton::Left || doc.resultShown) return;
    auto snapped = snap(e.position.x, e.position.y);
    if (!snapped) return;
    state_.snapPoint = *snapped;
    const ui::Point p = *snapped;

    if (doc.toolCode == '1' && doc.editTarget != 'R') {
        eraseRubberBand();
        placeSingle(p);
        return;
    }
    if (state_.dragState == 'N') {
        eraseRubberBand();
        state_.startPoint = p;
        state_.lastPoint = p;
        if (doc.toolCode == 'A') {
            state_.dragState = 'L';
            state_.arcPhase = 1;
        } else {
            state_.dragState = doc.toolCode;
        }
        state_.rubber.markerShown = true;
        state_.rubber.marker = p;
        xorMarker(p);
        return;
    }
    handleSnappedPoint(p);
}

void Editor::handleSnappedPoint(ui::Point p) {
    eraseRubberBand();
    if (state_.dragState == 'L' && state_.doc.toolCode == 'A' && state_.arcPhase == 1) {
        state_.arc = ArcInProgress{};
        state_.arc.chordStart = state_.startPoint;
        state_.arc.chordEnd = p;
        state_.dragState = 'A';
        state_.arcPhase = 2;
        state_.lastPoint = p;
    } else {
        completeOperation(p);
        state_.labXmm.clear();
        state_.labYmm.clear();
        state_.labLmm.clear();
    }
    if (state_.dragState != 'N') {
        state_.rubber.markerShown = true;
        state_.rubber.marker = p;
        xorMarker(p);
    }
}

void Editor::mouseMove(const ui::MouseEvent& e) {
    auto& doc = state_.doc;
    const ui::Point p = e.position;
    if (state_.dragState == 'N') {
        eraseRubberBand();
        bool hint = false;
        for (int i = 1; i <= doc.plan.kigu.count() && !hint; ++i) {
            const auto& k = doc.plan.kigu[i];
            if (k.heightOffset != 0 && std::abs(static_cast<long long>(p.x) - k.x) < 5 &&
                std::abs(static_cast<long long>(p.y) - k.y) < 5) {
                state_.hintText = "h=" + std::to_string(static_cast<long long>(k.heightOffset) + doc.tenDaka) + "mm";
                hint = true;
            }
        }
        state_.hintVisible = hint;
        if (hint) return;
    } else {
        eraseRubberBand();
        drawRubberTo(p);
        state_.lastPoint = p;
    }
    if (doc.resultValid) {
        const double v = std::trunc(static_cast<double>(state_.grid.luxAt(p.x, p.y)));
        const long long lux = std::fabs(v) < 9e18 ? static_cast<long long>(v) : 0;
        doc.pointLuxLabel = "(" + std::to_string(lux) + " Lx)";
    }
}

void Editor::completeOperation(ui::Point p) {
    auto& doc = state_.doc;
    const ui::Point s = state_.startPoint;
    switch (state_.dragState) {
    case 'L':
    case '+':
        addWallLine(s, p);
        state_.startPoint = p;
        state_.lastPoint = p;
        break;
    case 'S': {
        state_.dragState = 'N';
        surface_.setPen(ui::Pen{});
        surface_.moveTo(s.x, s.y);
        surface_.lineTo(p.x, s.y);
        surface_.lineTo(p.x, p.y);
        surface_.lineTo(s.x, p.y);
        surface_.lineTo(s.x, s.y);
        const ui::Point corners[5] = {s, {p.x, s.y}, p, {s.x, p.y}, s};
        for (int i = 0; i < 4; ++i) {
            model::LineRecord r;
            r.kind = 'L';
            r.x1 = corners[i].x;
            r.y1 = corners[i].y;
            r.x2 = corners[i + 1].x;
            r.y2 = corners[i + 1].y;
            model::normaliseLine(r);
            doc.plan.lines.add(r);
        }
        model::markPlanChanged(doc);
        break;
    }
    case 'A': {
        auto g = arcThroughThreePoints(state_.arc.chordStart, state_.arc.chordEnd, p);
        if (g) {
            state_.arc.havePreview = true;
            state_.arc.square = g->square;
            state_.arc.flag = g->flag;
        }
        // A third click where no circle fits takes the last preview the user saw; with none, it waits.
        if (!state_.arc.havePreview) return;
        addWallArc(ArcGeometry{state_.arc.square, state_.arc.flag});
        state_.startPoint = state_.arc.chordEnd;
        state_.lastPoint = p;
        state_.dragState = 'L';
        state_.arcPhase = 1;
        break;
    }
    case 'D':
        state_.dragState = 'N';
        deleteSegmentsIn(s, p);
        break;
    case 'M':
        state_.dragState = 'N';
        measureScale(s, p);
        break;
    case 'Z':
        state_.dragState = 'N';
        if (dxf_ != nullptr) {
            dxf_->zoom(s.x, s.y, p.x, p.y);
            redraw(4);
        }
        break;
    case '2':
    case '3':
        state_.dragState = 'N';
        placeArray(s, p);
        break;
    case 'd':
        state_.dragState = 'N';
        if (doc.editTarget == 'K')
            deleteFixturesIn(s, p);
        else
            deletePillarsIn(s, p);
        break;
    case 'H':
        state_.dragState = 'N';
        changeHeightsIn(s, p);
        break;
    default: state_.dragState = 'N'; break;
    }
}

// ---------------------------------------------------------------- walls

void Editor::addWallLine(ui::Point a, ui::Point b) {
    surface_.setPen(ui::Pen{});
    surface_.moveTo(a.x, a.y);
    surface_.lineTo(b.x, b.y);
    model::LineRecord r;
    r.kind = 'L';
    r.x1 = a.x;
    r.y1 = a.y;
    r.x2 = b.x;
    r.y2 = b.y;
    r.x4 = 0;
    model::normaliseLine(r);
    state_.doc.plan.lines.add(r);
    model::markPlanChanged(state_.doc);
}

void Editor::addWallArc(const ArcGeometry& g) {
    const ui::Point a = state_.arc.chordStart, b = state_.arc.chordEnd;
    model::LineRecord r;
    r.kind = 'A';
    r.x3 = g.square.left;
    r.y3 = g.square.top;
    r.x4 = g.square.right;
    r.y4 = g.square.bottom;
    const ui::Point first = g.flag == 1 ? b : a;
    const ui::Point second = g.flag == 1 ? a : b;
    r.x1 = first.x;
    r.y1 = first.y;
    r.x2 = second.x;
    r.y2 = second.y;
    surface_.setPen(ui::Pen{});
    surface_.setBrush(ui::Brush{ui::colors::white, true});
    surface_.arc(r.x3, r.y3, r.x4, r.y4, r.x1, r.y1, r.x2, r.y2);
    state_.doc.plan.lines.add(r);
    model::markPlanChanged(state_.doc);
}

void Editor::eraseSegment(const model::LineRecord& s) {
    surface_.setPen(ui::Pen{ui::colors::white, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    surface_.setBrush(ui::Brush{ui::colors::white, true});
    if (s.isArc()) {
        surface_.arc(s.x3, s.y3, s.x4, s.y4, s.x1, s.y1, s.x2, s.y2);
    } else {
        surface_.moveTo(s.x1, s.y1);
        surface_.lineTo(s.x2, s.y2);
    }
    surface_.setPen(ui::Pen{});
}

void Editor::deleteSegmentsIn(ui::Point c0, ui::Point c1) {
    if (c0.x == c1.x) return;
    auto& lines = state_.doc.plan.lines;
    std::vector<int> caught;
    for (int i = 1; i <= lines.count(); ++i) {
        if (segmentCaught(lines[i], c0, c1)) caught.push_back(i);
    }
    for (int i : caught) eraseSegment(lines[i]);
    for (auto it = caught.rbegin(); it != caught.rend(); ++it) lines.removeAt(*it);
    if (!caught.empty()) model::markPlanChanged(state_.doc);
}

// ---------------------------------------------------------------- scale and numbers

void Editor::S1Click() {
    auto& doc = state_.doc;
    if (!state_.menuScaleSet || doc.toolCode == 'M') return;
    eraseRubberBand();
    state_.dragState = 'N';
    state_.toolBeforeMeasure = doc.toolCode;
    state_.snapBeforeMeasure = doc.snapMode;
    state_.rememberedBeforeMeasure = doc.rememberedSnapMode;
    pictureSet(toolButtonName(doc.editTarget, doc.toolCode), false);
    doc.rememberedSnapMode = doc.snapMode;
    doc.toolCode = 'M';
    state_.cursor = cursors::kLength;
    setSnapMode('E');
}

void Editor::finishMeasurement() {
    auto& doc = state_.doc;
    eraseRubberBand();
    state_.dragState = 'N';
    doc.toolCode = state_.toolBeforeMeasure;
    doc.rememberedSnapMode = state_.rememberedBeforeMeasure;
    setSnapMode(state_.snapBeforeMeasure);
    state_.cursor = cursorForTool(doc.editTarget, doc.toolCode);
    pictureSet(toolButtonName(doc.editTarget, doc.toolCode), true);
}

void Editor::measureScale(ui::Point a, ui::Point b) {
    auto& doc = state_.doc;
    LengthAnswer answer;
    if (hooks_.askLength) answer = hooks_.askLength(LengthRequest{'M', 'M', b, false});
    if (answer.confirmed) {
        const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
        const double length = std::sqrt(dx * dx + dy * dy);
        // A measured line of no length, or a real length of none, gives no scale at all.
        if (length > 0 && answer.firstValue > 0) {
            const float mm = static_cast<float>(answer.firstValue / length);
            doc.plan.mmPerPixel = mm;
            doc.plan.scaleDenominator = static_cast<std::int32_t>(std::trunc(mm / doc.screenMmPerPixel + 0.5f));
            doc.scaleLabel = model::scaleLabelFor(doc, false);
            model::markPlanChanged(doc);
        }
    }
    finishMeasurement();
}

void Editor::btnSuutiClick() {
    auto& doc = state_.doc;
    if (!doc.plan.hasScale()) {
        stop(kNeedScale);
        return;
    }
    LengthAnswer answer;
    if (hooks_.askLength) answer = hooks_.askLength(LengthRequest{'L', doc.toolCode, {600, 40}, true});
    const int dxMm = answer.confirmed ? answer.firstValue : 0;
    const int dyMm = answer.confirmed ? answer.secondValue : 0;
    if (dxMm == 0 && dyMm == 0) return;
    if (state_.dragState == 'N') return;  // nothing in progress to complete
    const double x = state_.startPoint.x + std::trunc(dxMm / static_cast<double>(doc.plan.mmPerPixel));
    const double y = state_.startPoint.y - std::trunc(dyMm / static_cast<double>(doc.plan.mmPerPixel));
    // A typed offset far beyond any drawing surface would overflow the plan's coordinates.
    constexpr double kLimit = 1000000.0;
    if (std::fabs(x) > kLimit || std::fabs(y) > kLimit) return;
    const ui::Point p{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    state_.snapPoint = p;
    handleSnappedPoint(p);
}

void Editor::btnHenkouClick() {
    auto& doc = state_.doc;
    eraseRubberBand();
    const std::int32_t before = doc.tenDaka;
    call(hooks_.showTenDakaDialog);
    // Cancelled, or the height it already had: the plan and its result stay as they are.
    if (doc.tenDaka == before) return;
    bool anyOwnHeight = false;
    doc.plan.kigu.forEach([&](const model::KiguRecord& k) { anyOwnHeight = anyOwnHeight || k.heightOffset != 0; });
    if (anyOwnHeight) {
        const int answer = hooks_.askTenDakaChange ? hooks_.askTenDakaChange(state_.heightChangeChoice) : 0;
        if (answer >= 1 && answer <= 3) state_.heightChangeChoice = answer;
        if (answer == 1) {
            doc.plan.kigu.forEach([](model::KiguRecord& k) { k.heightOffset = 0; });
        } else if (answer == 3) {
            const std::int32_t shift = before - doc.tenDaka;
            doc.plan.kigu.forEach([&](model::KiguRecord& k) {
                if (k.heightOffset != 0) k.heightOffset += shift;
            });
        }
        redisplayPlan();
    }
    model::markPlanChanged(doc);
}

void Editor::windowResized(int clientWidth, int clientHeight, int panelsHeight) {
    auto& doc = state_.doc;
    if (doc.extent.Xe < 0) return;
    if (doc.extent.Xe == 0) {
        doc.extent.Xe = 1;
        return;
    }
    doc.extent = model::computeExtent(doc.plan, doc.screenWidth, doc.screenHeight);
    const int h = clientHeight - panelsHeight;
    if (state_.scrollAuto) {
        if (doc.extent.Xe < clientWidth && doc.extent.Ye < h) state_.scrollAuto = false;
    } else if (doc.extent.Xe > clientWidth || doc.extent.Ye > h) {
        state_.scrollAuto = true;
    }
}

// ---------------------------------------------------------------- calculation and result display

void Editor::runCalculationCommand(bool checkFixtures) {
    auto& doc = state_.doc;
    pictureSet("imgCalc", true);
    if (checkFixtures && doc.plan.kigu.empty()) {
        stop(kNoFixtures);
    } else {
        eraseRubberBand();
        state_.dragState = 'N';
        state_.settings.calcConfirmed = false;
        call(hooks_.showCalcStartDialog);
        if (state_.settings.calcConfirmed) call(hooks_.runCalculation);
    }
    pictureSet("imgCalc", false);
}

void Editor::imgCalcClick() { runCalculationCommand(true); }
void Editor::mnuCalcRunClick() { runCalculationCommand(false); }

void Editor::redisplayResultAs(char kind) {
    auto& doc = state_.doc;
    doc.displayKind = kind;
    if (kind == 'T' && hooks_.askRedrawChoice && !hooks_.askRedrawChoice()) return;
    eraseRubberBand();
    state_.dragState = 'N';
    const bool haveFixtures = !doc.plan.kigu.empty();
    if (!doc.resultValid && haveFixtures) {
        if (services_.messageBox(kRecalculate, "再計算", ui::Icon::Stop, ui::Buttons::OkCancel) == ui::Answer::Ok)
            call(hooks_.runCalculation);
    } else if (haveFixtures) {
        if (hooks_.redisplayResult) hooks_.redisplayResult(kind);
    } else {
        stop(kNoFixtures);
    }
}

void Editor::updateScaleTypeLabel() {
    const auto& doc = state_.doc;
    if (doc.displayKind == 'C')
        state_.labScaleType = "色温度分布";
    else
        state_.labScaleType = doc.rangeMode ? "照度分布 Scale: 設定値" : "照度分布 Scale: 自動";
}

void Editor::chooseNextResult(char kind) {
    state_.doc.displayKind = kind;
    updateScaleTypeLabel();
}

// The status panel names the levels in force as soon as the choice changes (the range dialog may
// have written the document's label since the editor last set its own).
void Editor::mnuScaleONClick() {
    state_.doc.rangeMode = true;
    updateScaleTypeLabel();
    state_.doc.scaleTypeLabel = state_.labScaleType;
}
void Editor::mnuScaleOFFClick() {
    state_.doc.rangeMode = false;
    updateScaleTypeLabel();
    state_.doc.scaleTypeLabel = state_.labScaleType;
}

void Editor::mnuHaikouClick() {
    if (state_.doc.selectedType > 0) {
        if (hooks_.showCurveWindow) hooks_.showCurveWindow(state_.doc.selectedType);
    } else {
        stop(kNeedTypeCurve);
    }
}

void Editor::button3Click() {
    call(hooks_.closeSecondColourScale);
    redisplayPlan();
}

// ---------------------------------------------------------------- new plan

void Editor::New1Click() {
    if (!hooks_.askNewPlan) return;
    auto choice = hooks_.askNewPlan();
    if (!choice || !choice->confirmed) return;
    applyNewPlan(*choice, true);
}

void Editor::clearPlan() {
    auto& doc = state_.doc;
    eraseRubberBand();
    state_.dragState = 'N';
    model::clearPlan(doc, touroku_);
    state_.grid.zero();
    doc.scaleLabel = model::scaleLabelFor(doc, false);
    call(hooks_.hideRegistration);
    call(hooks_.refreshRegistrationSlots);
}

void Editor::applyNewPlan(const NewPlanChoice& choice, bool clearFirst) {
    auto& doc = state_.doc;
    eraseRubberBand();
    state_.dragState = 'N';
    if (clearFirst) clearPlan();
    int denominator = choice.denominator;
    try {
        denominator = chosenDenominator(choice);
    } catch (const base::ConversionError& e) {
        services_.showError(e.what());
        return;
    }
    switch (choice.background) {
    case NewPlanBackground::White:
        clearDrawingSurface();
        doc.backgroundKind = 'N';
        break;
    case NewPlanBackground::Dxf: loadDxfBackground(false); break;
    case NewPlanBackground::Bitmap: loadBitmapBackground(false); break;
    case NewPlanBackground::Grid:
        model::setScaleFromDenominator(doc, denominator);
        if (doc.plan.hasScale()) redraw(0);
        break;
    }
}

} // namespace editor
