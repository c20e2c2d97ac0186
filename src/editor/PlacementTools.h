// The fixture and pillar tools: single and array placement, deletion with a rectangle, the fixtures' height change.
#pragma once
#include "editor/Tool.h"

namespace editor {

// What the placement tools place: fixtures of the selected type, or pillars of the chosen kind and size.
class ItemPlacer {
public:
    virtual ~ItemPlacer() = default;
    // Before the first item of a placement; false (after any message) when nothing may be placed.
    virtual bool prepare() = 0;
    // Adds and draws one item; false when the placement has to stop.
    virtual bool place(ui::Point p) = 0;
};

class FixturePlacer : public ItemPlacer {
public:
    explicit FixturePlacer(ToolContext& context) : ctx_(context) {}
    bool prepare() override { return true; }
    bool place(ui::Point p) override;

private:
    ToolContext& ctx_;
};

class PillarPlacer : public ItemPlacer {
public:
    explicit PillarPlacer(ToolContext& context) : ctx_(context) {}
    // Reads txtHasira: a text that is no number is reported, a size of 0 or less places nothing.
    bool prepare() override;
    bool place(ui::Point p) override;

private:
    ToolContext& ctx_;
    int sizeMm_ = 0;
};

// '1': every click places one item where it was snapped.
class SinglePlacementTool : public ClickTool {
public:
    SinglePlacementTool(ToolContext& context, ItemPlacer& placer) : ClickTool(context), placer_(placer) {}
    ToolOutcome press(ui::Point p) override;

private:
    ItemPlacer& placer_;
};

// '2' and '3': items along the dragged line or over the dragged rectangle, by count or by pitch.
class ArrayPlacementTool : public TwoClickTool {
public:
    ArrayPlacementTool(ToolContext& context, ItemPlacer& placer, char code)
        : TwoClickTool(context, code, code == '2' ? RubberBand::Shape::Line : RubberBand::Shape::Rect), placer_(placer),
          code_(code) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;

private:
    ItemPlacer& placer_;
    char code_;
};

// 'd' on fixtures: the fixtures inside the rectangle go, with their slots' counts.
class DeleteFixturesTool : public TwoClickTool {
public:
    explicit DeleteFixturesTool(ToolContext& context) : TwoClickTool(context, 'd', RubberBand::Shape::Rect) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;
};

// 'd' on pillars: the pillars whose centres lie inside the rectangle go.
class DeletePillarsTool : public TwoClickTool {
public:
    explicit DeletePillarsTool(ToolContext& context) : TwoClickTool(context, 'd', RubberBand::Shape::Rect) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;
};

// 'H': one new mounting height for every fixture inside the rectangle.
class HeightChangeTool : public TwoClickTool {
public:
    explicit HeightChangeTool(ToolContext& context) : TwoClickTool(context, 'H', RubberBand::Shape::Rect) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;
};

} // namespace editor
