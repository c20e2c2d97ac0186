// The wall tools: chained and orthogonal lines, rectangles, three-point arcs, segment deletion, scale measurement, DXF zoom.
#pragma once
#include "editor/Geometry.h"
#include "editor/Tool.h"

namespace editor {

// 'L' and '+': every further click adds a line from the last one; the chain lasts until it is cancelled.
// The orthogonal forcing of '+' is the snapping's, so both codes share this class.
class ChainedLineTool : public TwoClickTool {
public:
    ChainedLineTool(ToolContext& context, char code) : TwoClickTool(context, code, RubberBand::Shape::Line) {}
    // A click within the end-point reach of the chain's first point closes the room exactly there, in
    // every snap mode, and ends the chain.
    ToolOutcome press(ui::Point p) override;
    void cancel() override {
        chainStart_.reset();
        TwoClickTool::cancel();
    }

protected:
    // The line ends where the next one starts.
    ToolOutcome complete(ui::Point start, ui::Point end) override;

private:
    std::optional<ui::Point> chainStart_;
    int pieces_ = 0;  // lines of the chain so far
};

// 'A': chord start, chord end, then the point the arc passes through; the chord end starts the next arc.
class ArcTool : public Tool {
public:
    using Tool::Tool;
    ToolOutcome press(ui::Point p) override;
    RubberBand bandTo(ui::Point pointer) override;
    void cancel() override { phase_ = Phase::Idle; }
    // The chord is shown as a line ('L') until it is fixed, then the arc ('A').
    char dragState() const override;
    std::optional<ui::Point> startPoint() const override;

private:
    enum class Phase { Idle, ChordStarted, ChordFixed };
    void anchorAt(ui::Point start);
    void rememberPreview(ui::Point p);
    Phase phase_ = Phase::Idle;
    ui::Point chordStart_, chordEnd_;
    std::optional<ArcGeometry> preview_;  // the last arc that could be computed since the chord was fixed
};

// 'S': the four sides of the rectangle between the two clicks, in drawing order.
class RectangleTool : public TwoClickTool {
public:
    explicit RectangleTool(ToolContext& context) : TwoClickTool(context, 'S', RubberBand::Shape::Rect) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;
};

// 'D': every segment caught by the rectangle goes, the others keep their order.
class DeleteSegmentsTool : public TwoClickTool {
public:
    explicit DeleteSegmentsTool(ToolContext& context) : TwoClickTool(context, 'D', RubberBand::Shape::Rect) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;
};

// 'M': a line of known real length sets the scale; the tool used before comes back afterwards.
class MeasureScaleTool : public TwoClickTool {
public:
    explicit MeasureScaleTool(ToolContext& context) : TwoClickTool(context, 'M', RubberBand::Shape::Line) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;
};

// 'Z': zooms the DXF background to the rectangle.
class DxfZoomTool : public TwoClickTool {
public:
    explicit DxfZoomTool(ToolContext& context) : TwoClickTool(context, 'Z', RubberBand::Shape::Rect) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;
};

} // namespace editor
