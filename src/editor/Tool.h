// The editing tools' common interface: what a palette tool does with snapped clicks and which rubber band it wants.
#pragma once
#include "catalog/FixtureType.h"
#include "editor/MainState.h"
#include "editor/Seams.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <optional>
#include <string>

namespace editor {

class Editor;

// What the XOR rubber band currently shows on the plan surface, so that it can be drawn again to erase it.
struct RubberBand {
    enum class Shape { None, Line, Rect, Arc };
    Shape shape = Shape::None;
    ui::Point from, to;        // line ends or rectangle corners
    ui::Rect square;           // arc: bounding square
    ui::Point arcFrom, arcTo;  // arc: start and end radials, counter-clockwise
};

// Everything a tool works on: the plan, the fixture table, the plan surface and the editor's neighbours.
struct ToolContext {
    MainState& state;
    catalog::TourokuTable& touroku;
    ui::Surface& surface;
    ui::Services& services;
    PlanPainter& painter;
    const EditorHooks& hooks;
    DxfBackground* dxf;
    Editor& editor;  // redraws the plan after tools that change more than they can draw

    model::Document& doc() const { return state.doc; }
    // A refusal: the stop box with an OK button.
    void stop(const std::string& text, const std::string& title = "") const;
    LengthAnswer askLength(const LengthRequest& request) const;
};

// What a click left behind for the editor.
enum class ToolOutcome { Kept, GiveBackPreviousTool };

// One palette tool. A tool holds its own operation in progress; the editor draws the rubber band it asks
// for and the snap marker, and snaps the clicks before they reach it.
class Tool {
public:
    explicit Tool(ToolContext& context) : ctx_(context) {}
    virtual ~Tool() = default;
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;

    // A snapped left click on the plan.
    virtual ToolOutcome press(ui::Point p) = 0;
    // The rubber band from the operation in progress to the pointer; Shape::None when there is none.
    virtual RubberBand bandTo(ui::Point pointer) = 0;
    // Drops the operation in progress (right click, tool or target change, "線分のカット").
    virtual void cancel() = 0;
    // 'N' when nothing is in progress; otherwise the code of the operation whose rubber band is shown.
    virtual char dragState() const = 0;
    // The first point of the operation in progress (orthogonal snapping and numeric entry measure from it).
    virtual std::optional<ui::Point> startPoint() const = 0;

    bool inProgress() const { return dragState() != 'N'; }

protected:
    ToolContext& ctx_;
};

// The tools of one click each ('1'): nothing is ever in progress.
class ClickTool : public Tool {
public:
    using Tool::Tool;
    RubberBand bandTo(ui::Point) override { return {}; }
    void cancel() override {}
    char dragState() const override { return 'N'; }
    std::optional<ui::Point> startPoint() const override { return std::nullopt; }
};

// The tools that work from a first click: a line or rectangle band from it, the work done at the next
// click (a chain of lines anchors again where that work ended).
class TwoClickTool : public Tool {
public:
    TwoClickTool(ToolContext& context, char code, RubberBand::Shape band) : Tool(context), code_(code), band_(band) {}
    ToolOutcome press(ui::Point p) override;
    RubberBand bandTo(ui::Point pointer) override;
    void cancel() override { progress_ = Progress::Idle; }
    char dragState() const override { return progress_ == Progress::Idle ? 'N' : code_; }
    std::optional<ui::Point> startPoint() const override;

protected:
    // Starts the operation at its first point (the first click, or where a chain's last piece ended).
    void anchorAt(ui::Point start);
    // The second click: the operation ends whatever it does.
    virtual ToolOutcome complete(ui::Point start, ui::Point end) = 0;

private:
    enum class Progress { Idle, FirstClickMade };
    char code_;
    RubberBand::Shape band_;
    Progress progress_ = Progress::Idle;
    ui::Point start_;
};

} // namespace editor
