// The plan edits several tools and undo share: adding walls as they are drawn, and erasing items from the plan surface.
#pragma once
#include "editor/Geometry.h"
#include "editor/Tool.h"

namespace editor {

// A wall line drawn in black and stored normalised; the plan is marked changed.
void addWallLine(const ToolContext& ctx, ui::Point a, ui::Point b);
// The arc of a chord (chord start a, chord end b) through its square, stored in the orientation of `g`.
void addWallArc(const ToolContext& ctx, ui::Point a, ui::Point b, const ArcGeometry& g);
// Draws a segment again in white (a line as a line, an arc as an arc).
void eraseSegment(const ToolContext& ctx, const model::LineRecord& s);
// Draws a fixture's symbol and its height label again in white.
void eraseFixture(const ToolContext& ctx, const model::KiguRecord& k);
// Draws a pillar's outline again in white at its own half size.
void eraseHasira(const ToolContext& ctx, const model::HasiraRecord& h);
// A slot's count never goes below zero, whatever the plan and the table went through.
void decrementPlaced(catalog::TourokuTable& touroku, int slot);

} // namespace editor
