// The fixture pass: every placed fixture's type table added into the grid, with the obstruction tests, on several threads.
#pragma once
#include "calc/IlluminanceGrid.h"
#include "calc/Luminaire.h"
#include "calc/ObstacleIndex.h"
#include "catalog/FixtureType.h"
#include "model/Plan.h"

#include <cstdint>
#include <vector>

namespace calc {

// The colour accumulator's share of a contribution v of a lamp of colorTemp kelvin.
inline float colourWeight(float v, std::int32_t colorTemp) { return v * 0.001f * static_cast<float>(colorTemp); }

// Progress of the pass, one step per fixture, on the calling thread.
class PassProgress {
public:
    virtual ~PassProgress() = default;
    // Advances the bar by one and lets the user interface breathe; true when the user cancelled.
    virtual bool step() = 0;
};

// One run of a type table over fixtures: which type, at which mounting height, which fixtures in order.
struct FixtureGroup {
    int typeIndex = 0;
    std::int32_t height = 0;
    bool ownHeight = false;  // second pass: the progress step comes before each fixture
    std::vector<int> fixtures;
};

// The groups of a calculation in the order the table is rebuilt: per type slot with kou > 0, first the
// fixtures at the reference height, then those with their own height, a new table whenever the offset changes.
std::vector<FixtureGroup> fixtureGroups(const model::Plan& plan, const catalog::TourokuTable& touroku, std::int32_t tenDaka);

// The walls and pillars of a plan in the form the line-of-sight tests use.
struct Obstacles {
    struct Wall {
        std::int64_t x1, y1, x2, y2;
        std::int64_t minX, minY, maxX, maxY;  // the segment's bounding-box slots
        bool arc;
        WallLine line;   // straight walls
        ArcShape shape;  // arcs
    };
    struct Pillar {
        bool square;
        std::int64_t x, y, m;
        WallLine diagonal[2];  // square pillars
    };
    std::vector<Wall> walls;
    std::vector<Pillar> pillars;
    // The straight walls in an index over the plan, so that a fixture finds the walls near it without
    // looking at every wall of the plan: segment i of the index is walls[straight[i]]. Arcs are scanned.
    ObstacleIndex straightIndex;
    std::vector<int> straight, arcs;
    // The straight walls of no length, in an index of their own (segment i is walls[dots[i]]).
    std::vector<int> dots;
    ObstacleIndex dotIndex;
    double straightArea = 0;  // of the box round the straight walls, in square pixels
    // The straight walls of some length by the cells of the surface their boxes overlap, so that a fixture
    // can take its walls ring by ring outward and stop where nearer walls hide the rest; a wall whose box
    // spans many cells is listed apart and taken by every fixture. `counts` sums the cells' lists from the
    // surface's corner, for the number of walls round a fixture at a glance.
    struct WallBoxes {
        std::int64_t origin = 0, cell = 1;  // cell (c, r) covers origin + [c, c + 1) × cell along x, likewise along y
        std::int32_t nx = 0, ny = 0;
        std::vector<std::uint32_t> start, items;
        std::vector<int> wide;
        std::vector<std::uint32_t> counts;  // (nx + 1) × (ny + 1)
        std::size_t walls = 0;              // how many walls the cells and `wide` hold
    } boxes;
};
// The plan's walls must have been normalised (bounding-box slots current).
Obstacles collectObstacles(const model::Plan& plan);
// Fills obstacles.boxes for a surface of width × height points.
void indexWallBoxes(Obstacles& obstacles, std::int64_t width, std::int64_t height);

// Adds the table around fixture k on the computed rows whose index (row / step) ≡ phase (mod stride).
void addFixtureRows(IlluminanceGrid& grid, const TypeTable& table, const model::KiguRecord& k, const Obstacles& obstacles,
                    int step, int phase, int stride);

enum class PassResult { Completed, Cancelled };

// The whole fixture pass into a reset grid. threads: 0 = every core. The grid comes out the same for every
// thread count: each point receives its contributions in fixture order.
PassResult runFixturePass(const model::Plan& plan, const catalog::TourokuTable& touroku, std::int32_t tenDaka,
                          const TableSettings& settings, IlluminanceGrid& grid, int threads, PassProgress* progress);

// The inner loop of the pass: eight points at a time on the vector units when the processor has them,
// otherwise point by point. Both give the same grid bit for bit.
enum class PassKernel { Portable, Avx2 };
PassKernel activePassKernel();
// Keeps the pass on the point-by-point loop whatever the processor (to compare the two); false lets the
// processor decide again.
void forcePortablePass(bool portable);

// Culls the walls fixture by fixture by looking at every wall of the plan and tests each row against the walls
// between it and the fixture, as the pass did before the index and the fan (to compare them); false gives
// the index and the fan back. The grid is the same either way.
void forceWallScan(bool scan);
// Sorts the straight walls of every fixture into directions however few they are (to try the fan on small
// plans); false gives the usual threshold back. The grid is the same either way.
void forceWallFan(bool fan);
// How many points, since the program started, lay behind the wall hiding their wedge of a fixture's fan but
// were let through by its crossing test, and so tested every wall in the fixture's reach (the benchmark
// watches that this stays rare).
std::uint64_t fanPointsTestingEveryWall();

// The thread count a request stands for.
int resolveThreads(int threads);

} // namespace calc
