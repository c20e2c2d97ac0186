// Inter-reflections: the light that ceiling, walls, pillars and floor give back onto the work plane (radiosity).
#pragma once
#include "calc/IlluminanceGrid.h"
#include "catalog/FixtureType.h"
#include "model/Document.h"

#include <cstdint>
#include <string>
#include <vector>

namespace calc {

class CalcProgress;

// The room as the calculation uses it: heights in mm above the floor, reflectances 0..0.95.
struct RoomGeometry {
    double roomHeight = 0;       // floor to ceiling
    double workPlaneHeight = 0;  // floor to work plane
    double ceiling = 0, walls = 0, floor = 0;
};

// Area-weighted figures of one kind of surface: "ceiling", "floor", "walls" or "pillars".
struct SurfaceFigures {
    std::string kind;
    double area = 0;         // m², every element of that kind in the model
    double directLux = 0;    // area-weighted average of the direct illuminance on those elements
    double indirectLux = 0;  // area-weighted average of the reflected illuminance on those elements
};

// What the reflection solve reports beside the grid.
struct IndirectFigures {
    bool on = false;  // false: the result is the direct light alone and nothing below has meaning
    RoomGeometry room;
    double luminaireFlux = 0;  // lm leaving all luminaires into the room, after the maintenance factor
    std::vector<SurfaceFigures> surfaces;  // ceiling, floor, walls, then pillars when the plan has any
    double directAverageLux = 0;    // over the points the result's average is taken over
    double indirectAverageLux = 0;
    std::int64_t elements = 0;
    int iterations = 0;
    double residual = 0;  // the largest relative change of an element's exitance in the last iteration
};

// The room the plan stands for: the user's heights, or the defaults (work plane 800 mm, ceiling at the
// highest luminaire's mounting height).
RoomGeometry roomGeometryOf(const model::Document& doc, std::int32_t tenDaka);

// Empty when the room can be calculated; otherwise the message naming the first luminaire above the
// ceiling or below the floor.
std::string roomRefusal(const model::Document& doc, const catalog::TourokuTable& touroku, std::int32_t tenDaka);

} // namespace calc
