// The task-area tools: a rectangle that becomes a named area with its requirements, and their deletion.
#pragma once
#include "editor/Tool.h"

namespace editor {

// 'T': the rectangle between two clicks becomes a task area once its name and requirements are given.
class TaskAreaTool : public TwoClickTool {
public:
    explicit TaskAreaTool(ToolContext& context) : TwoClickTool(context, 'T', RubberBand::Shape::Rect) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;
};

// 't': the task areas whose centres lie inside the rectangle go, the others keep their order.
class DeleteTaskAreasTool : public TwoClickTool {
public:
    explicit DeleteTaskAreasTool(ToolContext& context) : TwoClickTool(context, 't', RubberBand::Shape::Rect) {}

protected:
    ToolOutcome complete(ui::Point start, ui::Point end) override;
};

// Every task area of the plan drawn over it with its name.
void drawTaskAreas(ui::Surface& surface, const model::Plan& plan);

} // namespace editor
