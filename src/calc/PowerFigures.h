// Installed power of a plan: luminaires per registered type with their rated watts and lumens, and the totals.
#pragma once
#include "calc/IlluminanceGrid.h"
#include "catalog/FixtureType.h"
#include "model/Plan.h"

#include <optional>
#include <string>
#include <vector>

namespace calc {

// One registered type that the plan places at least once.
struct PowerSlot {
    int slot = 0;
    std::string hinban;
    std::int64_t count = 0;  // luminaires of the type in the plan
    double watts = 0;        // rated power of one luminaire, 0 when none was given
    double lumens = 0;       // lamp flux of one luminaire: lumens per lamp × lamps
};

struct PowerFigures {
    std::vector<PowerSlot> types;  // in slot order
    bool given = false;            // some placed type has a rated power: without one there is nothing to total
    double totalWatts = 0;
    // Lumens per watt over the types that have a power; nullopt when none has.
    std::optional<double> lumensPerWatt;
};

PowerFigures powerFiguresOf(const model::Plan& plan, const catalog::TourokuTable& touroku);

// Watts per square metre of floor: nullopt when there is no floor or no power to spread over it.
std::optional<double> wattsPerSquareMetre(double watts, double squareMetres);

// The rated watts of the luminaires placed inside a task area's rectangle (a luminaire counts where its
// centre stands), over the rectangle's floor area.
std::optional<double> areaWattsPerSquareMetre(const model::Plan& plan, const catalog::TourokuTable& touroku,
                                              const model::AreaRecord& area);

} // namespace calc
