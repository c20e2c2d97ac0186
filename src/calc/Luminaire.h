// The luminaire model: a type's illuminance table for one mounting height, and the line-of-sight tests.
#pragma once
#include "catalog/FixtureType.h"
#include "model/Plan.h"

#include <cstdint>
#include <vector>

namespace calc {

inline constexpr int kTableSize = 801;  // offsets 0..800 grid steps
inline constexpr int kMaxReach = 800;

// What shapes a type table besides the type itself.
struct TableSettings {
    float mmPerPixel = -1;
    std::int32_t scaleDenominator = -1;
    std::int32_t calcStep = 3;
    bool maintenanceOn = true;
    std::int32_t maintenanceClass = 1;
    // The largest offset, in grid steps, between a fixture and a grid point the table will be asked for;
    // the table is built no larger than that needs (a small plan gets a small table, the same entries).
    std::int32_t maxOffset = kMaxReach;
};

// typeLux[a][b]: lux at a grid steps along the luminaire's length and b across it, for a and b below
// `size` (at most kTableSize); every entry the table holds is the one the full table would hold.
struct TypeTable {
    std::int32_t size = 0;
    std::vector<float> lux;
    std::vector<float> sum;
    std::int32_t reach = 0;     // typeReach
    std::int32_t colorTemp = 0;  // of the type, for the colour accumulator
    // A luminaire at or below the plane, or a plan without a scale: it lights nothing.
    bool dark = false;
    // Point sources of a long luminaire (for inspection and tests).
    std::int32_t nAlong = 0, sAlong = 0, nAcross = 0, sAcross = 0;
    // For each offset d below `size`: the largest offset along the other axis with a nonzero entry, -1 if none;
    // [0] for luminaires along x (lux[dx][dy]), [1] for those placed vertically (lux[dy][dx]).
    std::vector<std::int32_t> extent[2];
    // The table turned by a quarter, turned[b][a] = lux[a][b] for a, b up to the reach: a row of grid
    // points of a luminaire along x reads consecutive entries.
    std::vector<float> turned;

    std::size_t index(int a, int b) const { return static_cast<std::size_t>(a) * static_cast<std::size_t>(size) + static_cast<std::size_t>(b); }
    float at(int a, int b) const { return lux[index(a, b)]; }
    float& at(int a, int b) { return lux[index(a, b)]; }
};

// Truncation toward zero that never overflows: saturates at the int32 range, NaN gives 0.
std::int32_t truncInt(double v);

// The point-source division of a luminous length (or width) in mm: n sources each side of the centre, s steps apart.
struct SourceSplit {
    std::int32_t n = 0, s = 0;
};
SourceSplit splitSources(std::int32_t sizeMm, float mmPerPixel, std::int32_t threshold);

// The maintenance multiplier f of a type under the settings.
float maintenanceMultiplier(const catalog::BunpuHinban& type, const TableSettings& settings);

// Illuminance of one point source of the type at table entry (a, b): E = I(γ, C)·cos γ / (d² + H²),
// with d the horizontal distance in mm, H the mounting height in mm and I scaled by kou, tosu and f.
float pointSourceLux(const catalog::BunpuHinban& type, int a, int b, float mmPerPixel, float H, float f, double sources);

// Builds the type table for mounting height h (mm). `threads` > 1 shares the evaluation among threads;
// the table is the same whatever the thread count.
void prepareFixtureType(TypeTable& table, const catalog::BunpuHinban& type, std::int32_t h, const TableSettings& settings,
                        int threads = 1);

// Recomputes what the pass derives from the entries: the per-offset extents of the nonzero entries and
// the turned table (prepareFixtureType calls it).
void deriveTableLookups(TypeTable& table);

// Line of sight P = (col, row) to F = (fx, fy) against wall A-B, in 32-bit floats.
bool segmentsCross(std::int32_t col, std::int32_t row, std::int32_t fx, std::int32_t fy, std::int64_t x1, std::int64_t y1,
                   std::int64_t x2, std::int64_t y2);
// Line of sight against a cylindrical pillar of centre (cx, cy) and radius r.
bool circleBlocks(std::int32_t col, std::int32_t row, std::int32_t fx, std::int32_t fy, double cx, double cy, double r);
// Line of sight against an arc wall (bounding box corners 3 and 4, start point 1, end point 2).
bool arcBlocks(std::int32_t col, std::int32_t row, std::int32_t fx, std::int32_t fy, const model::LineRecord& arc);

// The line of sight from a grid point to a luminaire, worked out once for every obstacle it is tested against.
struct Sight {
    std::int32_t col = 0, row = 0, fx = 0, fy = 0;
    bool vertical = false;
    float C = 0, R = 0, FX = 0, FY = 0, mS = 0, kS = 0;  // single precision, for straight walls
    double u = 0, k = 0, w = 0;                          // double precision, for circles and arcs
};
Sight makeSight(std::int32_t col, std::int32_t row, std::int32_t fx, std::int32_t fy);
// Adds the double-precision line parameters the circle and arc tests need.
void prepareCircleTests(Sight& sight);

// A straight wall (or a pillar diagonal) in the form the crossing test uses.
struct WallLine {
    bool vertical = false, horizontal = false;
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, mW = 0, kW = 0;
};
WallLine makeWallLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);
// The same answer as segmentsCross, from the prepared forms.
bool crosses(const Sight& sight, const WallLine& wall);
bool circleBlocks(const Sight& sight, double cx, double cy, double r);

// An arc wall with its circle and the angles of its end points.
struct ArcShape {
    double cx = 0, cy = 0, r = 0;
    float aStart = 0, aEnd = 0;
    // The box of the arc itself (end points and the extreme points it passes), for culling.
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};
ArcShape makeArcShape(const model::LineRecord& arc);
// Fills the box of the arc's span (makeArcShape leaves it empty).
void computeArcSpanBox(ArcShape& arc);
bool arcBlocks(const Sight& sight, const ArcShape& arc);
// Whether a crossing point (px, py) of the arc's circle lies strictly inside the arc's span of angles.
bool insideArcSpan(const ArcShape& arc, double px, double py);

// Centre and radius of the circle an arc wall is taken on.
struct ArcCircle {
    double cx = 0, cy = 0, r = 0;
};
ArcCircle arcCircle(const model::LineRecord& arc);
// The angle of a point about a centre as the arc test measures it (counter-clockwise on screen).
float arcAngle(double px, double py, double cx, double cy);

} // namespace calc
