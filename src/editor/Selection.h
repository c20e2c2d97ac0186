// The items picked for editing (walls, fixtures, pillars, task areas), how the pointer picks them, and the edits made on them.
#pragma once
#include "model/Plan.h"
#include "ui/Types.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

namespace editor {

enum class ItemKind { Wall, Fixture, Pillar, Area };

// One item of the plan by its kind and its 1-based place in its collection (task areas counted from 1 too).
struct ItemRef {
    ItemKind kind = ItemKind::Wall;
    int index = 0;
    auto operator<=>(const ItemRef&) const = default;
};

// The kinds an edit target works on: walls and task areas among the walls, fixtures, pillars.
std::vector<ItemKind> kindsOfTarget(char editTarget);

// The item under the pointer: a wall by its distance to the segment or arc within `reach`, a fixture by its
// mark, a pillar by its outline, a task area by its border (or, with nothing nearer, its inside).
std::optional<ItemRef> pickItem(const model::Plan& plan, char editTarget, ui::Point p, double reach);

// A window from `from` to `to`: dragged to the right it takes what lies wholly inside it, dragged to the
// left (crossing) what it touches.
std::vector<ItemRef> itemsInWindow(const model::Plan& plan, char editTarget, ui::Point from, ui::Point to);

// Every item of the target, in the plan's order.
std::vector<ItemRef> allItems(const model::Plan& plan, char editTarget);

// The plan's items and its room: what an edit of a selection or of the room changes and its undo gives back.
struct PlanItems {
    std::vector<model::LineRecord> lines;
    std::vector<model::KiguRecord> kigu;
    std::vector<model::HasiraRecord> hasira;
    std::vector<model::AreaRecord> areas;
    model::RoomRecord room;
    bool operator==(const PlanItems& other) const;
};
PlanItems itemsOf(const model::Plan& plan);
void putItems(model::Plan& plan, const PlanItems& items);

// One edit of a selection as one undo step: the items before and after, and the selection after.
struct EditCycle {
    PlanItems before, after;
    std::vector<ItemRef> selectionBefore, selectionAfter;
};

// The middle of the box round the selected items (where rotation and mirroring turn them about).
ui::Point selectionCentre(const model::Plan& plan, const std::vector<ItemRef>& selection);

// The edits; each changes the records in place (a copy appends the copies in the plan's order and returns
// them as the new selection) and normalises the lines it moved.
void moveItems(model::Plan& plan, const std::vector<ItemRef>& selection, int dx, int dy);
std::vector<ItemRef> copyItems(model::Plan& plan, const std::vector<ItemRef>& selection, int dx, int dy);
void deleteItems(model::Plan& plan, const std::vector<ItemRef>& selection);
// Counter-clockwise on the screen by `degrees` about `centre`. On quarter turns a linear fixture's rotation
// switches between 0 and 90, square pillars and task areas turn with their corners; other angles turn
// positions only (a fixture's mark, a pillar and a task area keep their shape and direction).
void rotateItems(model::Plan& plan, const std::vector<ItemRef>& selection, double degrees, ui::Point centre);
// About the vertical line x = centre.x (leftRight) or the horizontal line y = centre.y.
void mirrorItems(model::Plan& plan, const std::vector<ItemRef>& selection, bool leftRight, ui::Point centre);

// A selection outline for the view: closed or open polylines in plan pixels, shifted by `offset`.
struct Outline {
    std::vector<ui::Point> points;
    bool closed = false;
};
std::vector<Outline> selectionOutlines(const model::Plan& plan, const std::vector<ItemRef>& selection, ui::Point offset);

// Millimetres typed for a displacement as whole plan pixels, rounded half away from zero; nothing when the
// result would leave the plan's coordinates.
std::optional<int> mmToPixels(double mm, float mmPerPixel);

} // namespace editor
