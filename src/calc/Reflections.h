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
    // The room's own surface is what the light reaches, directly or by reflection: the outer faces of
    // the walls and a pocket closed off from every luminaire are in the model but lit by nothing, and
    // would drag the least illuminance to 0 and the average down. (Without any reflection every element
    // counts, since a shadowed face is then as dark as a sealed one.)
    double litArea = 0;      // m² of the elements the light reaches
    double litLux = 0;       // area-weighted average illuminance (direct and reflected) over them
    double minLux = 0;       // the least illuminance (direct and reflected) on any one of them
    // minLux over litLux; 0 when the surface has no light
    double uniformity() const { return litLux > 0 ? minLux / litLux : 0; }
};

// The least average illuminance and uniformity walls and ceiling should have so a room does not look dark
// (EN 12464-1): in general, and the higher averages for offices, classrooms and hospitals.
struct SurfaceRequirement {
    const char* kind;
    double lux, luxOffices, uniformity;
};
inline constexpr SurfaceRequirement kSurfaceRequirements[] = {{"walls", 50, 75, 0.10}, {"ceiling", 30, 50, 0.10}};

// One surface held against its requirement: the average it receives (direct and reflected), its
// uniformity, and whether both reach the general minimum and the offices' one.
struct SurfaceCheck {
    double averageLux = 0, uniformity = 0;
    bool pass = false, passOffices = false;
};
SurfaceCheck checkSurface(const SurfaceFigures& figures, const SurfaceRequirement& requirement);

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
    // Seconds spent in each step: meshing, direct light onto the elements, form factors, the solve, the
    // gather onto the work plane.
    double meshSeconds = 0, directSeconds = 0, formFactorSeconds = 0, solveSeconds = 0, gatherSeconds = 0;
};

// The progress window while the reflections are worked out.
inline constexpr const char* kCaptionReflections = "相互反射の計算";
inline constexpr const char* kTextReflections = "相互反射を計算中";

// One element of the room's mesh and what the solve found on it, for inspection.
struct ElementFigures {
    std::string kind;             // as SurfaceFigures::kind
    double x = 0, y = 0, z = 0;   // centre in mm (plan x and y as the plan runs, z above the floor)
    double nx = 0, ny = 0, nz = 0;  // unit normal into the room
    double area = 0;              // m²
    double directLux = 0, indirectLux = 0;
};

// The room the plan stands for: the user's heights, or the defaults (work plane 800 mm, ceiling at the
// highest luminaire's mounting height).
// This form takes every placed fixture into account; the one with the registration table only those the
// calculation lights (the calculation itself uses that one).
RoomGeometry roomGeometryOf(const model::Document& doc, std::int32_t tenDaka);
RoomGeometry roomGeometryOf(const model::Document& doc, const catalog::TourokuTable& touroku, std::int32_t tenDaka);

// Empty when the room can be calculated; otherwise the message naming the first luminaire above the
// ceiling or below the floor.
// Also refuses a work plane at or above the ceiling and a plan with more walls and pillars than the solve
// can hold in memory.
std::string roomRefusal(const model::Document& doc, const catalog::TourokuTable& touroku, std::int32_t tenDaka);

enum class RoomPassResult { Completed, Cancelled };

// The reflections of one calculation, after the fixture pass: meshes the room, solves it, and adds the
// reflected illuminance (and its colour share) into the grid's calculated points, those whose column and
// row are multiples of the step. Fills every figure but the two averages, which need the finished grid.
// The progress window, when given, is driven from the calling thread only. threads: 0 = every core; the
// result is the same for every thread count. elements, when given, receives the mesh with its figures.
RoomPassResult runRoomPass(const model::Document& doc, const catalog::TourokuTable& touroku, std::int32_t tenDaka,
                           const CalcSettings& settings, IlluminanceGrid& grid, int threads, CalcProgress* progress,
                           IndirectFigures& figures, std::vector<ElementFigures>* elements = nullptr);

} // namespace calc
