// The wall tools' clicks: what each adds to or removes from the plan's segments, and the scale measurement.
#include "editor/WallTools.h"

#include "editor/Editor.h"
#include "editor/PlanEdits.h"
#include "model/Document.h"

#include <cmath>
#include <vector>

namespace editor {

ToolOutcome ChainedLineTool::press(ui::Point p) {
    if (!startPoint()) {
        chainStart_ = p;
        pieces_ = 0;
        return TwoClickTool::press(p);
    }
    if (chainStart_ && pieces_ >= 2) {
        const std::int64_t dx = static_cast<std::int64_t>(p.x) - chainStart_->x, dy = static_cast<std::int64_t>(p.y) - chainStart_->y;
        if (dx * dx + dy * dy < endPointReachSquared(ctx_.state.window.zoom)) {
            const ui::Point first = *chainStart_;
            TwoClickTool::press(first);  // the closing line, ending where the room began
            cancel();
            return ToolOutcome::Kept;
        }
    }
    return TwoClickTool::press(p);
}

ToolOutcome ChainedLineTool::complete(ui::Point start, ui::Point end) {
    addWallLine(ctx_, start, end);
    ++pieces_;
    anchorAt(end);
    return ToolOutcome::Kept;
}

char ArcTool::dragState() const {
    switch (phase_) {
    case Phase::ChordStarted: return 'L';
    case Phase::ChordFixed: return 'A';
    default: return 'N';
    }
}

std::optional<ui::Point> ArcTool::startPoint() const {
    if (phase_ == Phase::Idle) return std::nullopt;
    return chordStart_;
}

void ArcTool::anchorAt(ui::Point start) {
    chordStart_ = start;
    phase_ = Phase::ChordStarted;
}

void ArcTool::rememberPreview(ui::Point p) {
    if (auto g = arcThroughThreePoints(chordStart_, chordEnd_, p)) preview_ = g;
}

ToolOutcome ArcTool::press(ui::Point p) {
    switch (phase_) {
    case Phase::Idle: anchorAt(p); break;
    case Phase::ChordStarted:
        chordEnd_ = p;
        preview_.reset();
        phase_ = Phase::ChordFixed;
        break;
    case Phase::ChordFixed:
        rememberPreview(p);
        // A third click where no circle fits takes the last preview the user saw; with none, it waits.
        if (!preview_) break;
        addWallArc(ctx_, chordStart_, chordEnd_, *preview_);
        anchorAt(chordEnd_);
        break;
    }
    return ToolOutcome::Kept;
}

RubberBand ArcTool::bandTo(ui::Point pointer) {
    RubberBand band;
    if (phase_ == Phase::ChordStarted) {
        band.shape = RubberBand::Shape::Line;
        band.from = chordStart_;
        band.to = pointer;
    } else if (phase_ == Phase::ChordFixed) {
        auto g = arcThroughThreePoints(chordStart_, chordEnd_, pointer);
        if (!g) return band;  // no preview; the last successful one is kept for the third click
        preview_ = g;
        band.shape = RubberBand::Shape::Arc;
        band.square = g->square;
        band.arcFrom = g->flag == 1 ? chordEnd_ : chordStart_;
        band.arcTo = g->flag == 1 ? chordStart_ : chordEnd_;
    }
    return band;
}

ToolOutcome RectangleTool::complete(ui::Point s, ui::Point p) {
    ui::Surface& surface = ctx_.surface;
    surface.setPen(ui::Pen{});
    surface.moveTo(s.x, s.y);
    surface.lineTo(p.x, s.y);
    surface.lineTo(p.x, p.y);
    surface.lineTo(s.x, p.y);
    surface.lineTo(s.x, s.y);
    const ui::Point corners[5] = {s, {p.x, s.y}, p, {s.x, p.y}, s};
    model::Document& doc = ctx_.doc();
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
    model::markPlanChanged(doc, ctx_.state.window);
    return ToolOutcome::Kept;
}

ToolOutcome DeleteSegmentsTool::complete(ui::Point c0, ui::Point c1) {
    if (c0.x == c1.x) return ToolOutcome::Kept;
    auto& lines = ctx_.doc().plan.lines;
    std::vector<int> caught;
    for (int i = 1; i <= lines.count(); ++i) {
        if (segmentCaught(lines[i], c0, c1)) caught.push_back(i);
    }
    for (int i : caught) eraseSegment(ctx_, lines[i]);
    for (auto it = caught.rbegin(); it != caught.rend(); ++it) lines.removeAt(*it);
    if (!caught.empty()) model::markPlanChanged(ctx_.doc(), ctx_.state.window);
    return ToolOutcome::Kept;
}

ToolOutcome MeasureScaleTool::complete(ui::Point a, ui::Point b) {
    model::Document& doc = ctx_.doc();
    const LengthAnswer answer = ctx_.askLength(LengthRequest{'M', 'M', b, false});
    if (!answer.confirmed) return ToolOutcome::GiveBackPreviousTool;
    const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    // A measured line of no length, or a real length of none, gives no scale at all.
    if (length > 0 && answer.firstValue > 0) {
        const float mm = static_cast<float>(answer.firstValue / length);
        doc.plan.mmPerPixel = mm;
        doc.plan.scaleDenominator = static_cast<std::int32_t>(std::trunc(mm / doc.screenMmPerPixel + 0.5f));
        ctx_.state.window.scaleLabel = model::scaleLabelFor(doc, false);
        model::markPlanChanged(doc, ctx_.state.window);
    }
    return ToolOutcome::GiveBackPreviousTool;
}

ToolOutcome DxfZoomTool::complete(ui::Point s, ui::Point p) {
    if (ctx_.dxf == nullptr) return ToolOutcome::Kept;
    ctx_.dxf->zoom(s.x, s.y, p.x, p.y);
    ctx_.editor.redraw(4);
    return ToolOutcome::Kept;
}

} // namespace editor
