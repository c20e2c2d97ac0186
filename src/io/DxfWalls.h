// Turning the lines and arcs of chosen DXF layers into walls of the plan, through the background's own mapping.
#pragma once
#include "io/DxfReader.h"
#include "model/Plan.h"

#include <optional>
#include <string>
#include <vector>

namespace io {

// A layer of the drawing and how many of its entities' segments can become walls.
struct DxfLayerCount {
    std::string name;
    int segments = 0;
};
// In the order the layers first appear in the file.
std::vector<DxfLayerCount> layerCounts(const DxfLayerDrawing& drawing);

// The walls the segments of `layers` make, in plan pixels as `mapping` draws the background: end points
// within one pixel of an earlier end point (of the plan's walls or of a wall made before) are joined to it,
// and segments of no length and segments the plan (or this conversion) already has are dropped. With
// `window` (plan pixels) only segments whose end points both lie inside it are taken.
std::vector<model::LineRecord> wallsFromDxf(const DxfLayerDrawing& drawing, const TfrmDXF& mapping,
                                            const std::vector<std::string>& layers, const model::LineArray& existing,
                                            const std::optional<ui::Rect>& window = std::nullopt);

} // namespace io
