// The illuminance grid (lux and colour-temperature sums per plan pixel), result statistics and calculation settings.
#pragma once
#include "model/Plan.h"

#include <cstdint>
#include <vector>

namespace calc {

// One value per plan pixel of the drawing surface plus one; a spare row and column beyond the valid points.
struct IlluminanceGrid {
    std::int32_t gridWidth = 0;   // surface width + 1
    std::int32_t gridHeight = 0;  // surface height + 1
    std::vector<float> lux;
    std::vector<float> ctSum;

    // Sizes the grid for a drawing surface; the old values have no meaning afterwards.
    void allocate(std::int32_t surfaceWidth, std::int32_t surfaceHeight);
    // Start of a calculation: 0.01 lx and no colour everywhere.
    void reset();
    // Clearing the plan: zero everywhere.
    void zero();

    bool isValid(std::int32_t col, std::int32_t row) const {
        return col >= 0 && row >= 0 && col < gridWidth && row < gridHeight;
    }
    std::size_t index(std::int32_t col, std::int32_t row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(gridWidth) + static_cast<std::size_t>(col);
    }
    // The value at a valid point; 0 outside the grid.
    float luxAt(std::int32_t col, std::int32_t row) const { return isValid(col, row) ? lux[index(col, row)] : 0.0f; }
};

// The illuminance over a rectangle of the floor: the points inside it that are not under a wall or a
// pillar, and at a calculation step above 1 only the points the luminaires were calculated for.
struct AreaFigures {
    model::AreaRecord area;  // the area as it was when the figures were taken
    std::int64_t points = 0; // 0: nothing to measure, every figure 0 and the area fails
    double averageLux = 0, minLux = 0, maxLux = 0;
    double indirectAverageLux = 0;  // the reflected part of averageLux (0 with reflections off)
    double uniformity = 0;   // Emin / Eavg
    double minToMax = 0;     // Emin / Emax
    bool pass = false;       // Eavg and U0 reach what the area requires
};

// The illuminance over the room's floor: the points a luminaire's position reaches without crossing a
// wall that have a wall on either side along their row and along their column, outside pillars and walls.
// A plan without walls has no room.
struct RoomFigures {
    AreaFigures figures;     // figures.points 0: no room to measure
    double floorArea = 0;    // m², every plan pixel of the floor
};

struct ResultStats {
    std::int32_t maxLux = 0;
    std::int32_t averageLux = 0;
    std::int32_t litMinCol = 10000, litMaxCol = 0, litMinRow = 10000, litMaxRow = 0;
    AreaFigures lit;                 // over the lit extent: its minimum and uniformity
    std::vector<AreaFigures> areas;  // one per task area of the plan, in the plan's order
    RoomFigures room;
    std::int32_t calcStep = 1;       // the step the figures were taken at
};

struct CalcSettings {
    std::int32_t calcStep = 3;          // 1..7
    bool maintenanceOn = true;
    std::int32_t maintenanceClass = 1;  // 0 good, 1 normal, 2 poor
    bool showFixturesOnResult = false;
    bool calcConfirmed = false;
};

// Luminous length or width from which a type is modelled as several point sources, in mm.
inline std::int32_t splitThreshold(std::int32_t scaleDenominator) {
    const std::int64_t t = 6LL * scaleDenominator;
    return t > 400 ? static_cast<std::int32_t>(t) : 400;
}

} // namespace calc
