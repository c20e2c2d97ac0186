// Plain geometry of the plan editor: end-point search, the arc through three clicks, delete-rectangle test, array positions.
#pragma once
#include "model/Plan.h"
#include "ui/Types.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace editor {

// The nearest wall end point with a squared distance strictly below `bestSquared`, scanning
// (x1, y1) then (x2, y2) of every segment in index order; a later equal distance never wins.
// Lowers bestSquared when one is found.
std::optional<ui::Point> nearestWallEnd(const model::LineArray& lines, int x, int y, std::int64_t& bestSquared);

// Grid snapping: the nearest multiple of the pitch in each axis (halves go away from zero).
ui::Point snapToGrid(int x, int y, int pitch);

// The orthogonal tool's choice from the start point: vertical when the pointer is further away in y,
// horizontal otherwise (ties are horizontal).
ui::Point orthogonalPoint(ui::Point start, int x, int y);

// The circle through the chord start A, the chord end B and a third point P, as the arc tool stores it.
struct ArcGeometry {
    ui::Rect square;   // left, top, right, bottom of the full circle's bounding square
    int flag = 0;      // 1: drawn counter-clockwise from B to A; 0: from A to B
};
// nullopt when no arc can be drawn: the points lie on one line, P has (nearly) A's height on a
// slanted or horizontal chord, or the circle is too large for the drawing primitive.
std::optional<ArcGeometry> arcThroughThreePoints(ui::Point a, ui::Point b, ui::Point p);

// Whether a segment is caught by a delete rectangle: an end point inside it (bounds included), or
// a crossing of either diagonal by the calculation's segmentsCross / arcBlocks.
bool segmentCaught(const model::LineRecord& segment, ui::Point c0, ui::Point c1);

// The squared reach, in plan pixels, within which a click catches an end point: 10 screen pixels at the zoom.
std::int64_t endPointReachSquared(double zoom);

// Positions of an array placement, in placing order. `input` 'K' by count or 'P' by pitch, `tool`
// '2' line or '3' grid, t and u the dialog's values, mmPerPixel the scale.
struct ArrayPlan {
    std::vector<ui::Point> positions;
    bool tooMany = false;   // refused: more than kMaxArrayItems
    bool zero = false;      // refused: a count or pitch of 0 (or less) places nothing
    bool tooDense = false;  // refused: more fixtures than the line has pixels to keep them apart
};
inline constexpr std::int64_t kMaxArrayItems = 10000;
ArrayPlan arrayPositions(char input, char tool, ui::Point p0, ui::Point p1, int t, int u, float mmPerPixel);

// A grid centred in the rectangle p0-p1, half a spacing from its edges: by count ('K') t columns and u rows
// dividing it evenly; by pitch ('P', mm) as many as fit the nearest whole number of times, at least one.
ArrayPlan centredGridPositions(char input, ui::Point p0, ui::Point p1, int t, int u, float mmPerPixel);

// Inclusive containment in the rectangle spanned by two corners in any order.
bool insideRect(int x, int y, ui::Point c0, ui::Point c1);

// The two tools of task areas: 'T' draws one, 't' deletes.
inline bool isTaskAreaTool(char toolCode) { return toolCode == 'T' || toolCode == 't'; }

} // namespace editor
