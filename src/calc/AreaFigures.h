// Task-area figures of a finished calculation: average, minimum, maximum and uniformity over a rectangle.
#pragma once
#include "calc/Calculation.h"

#include <string>

namespace calc {

// The figures as the summary and the report write them, so that both show the same digits: lux to
// two decimals, ratios (uniformity, minimum to maximum) to three.
std::string luxFigure(double lux);
std::string ratioFigure(double ratio);

// The figures over one rectangle of plan pixels (corners included). At a step above 1 only the lattice
// points (column and row multiples of the step) count, so that no figure rests on interpolated values.
// A point counts unless the wall mask marks it, it lies inside a pillar, or the calculation cleared it (0 lx).
AreaFigures figuresOver(const IlluminanceGrid& grid, const WallMask& walls, const model::HasiraArray& pillars,
                        const model::AreaRecord& area, int calcStep);

// The figures over the room's floor (see RoomFigures) and its area.
RoomFigures roomFiguresOf(const model::Plan& plan, const IlluminanceGrid& grid, const WallMask& walls, int calcStep);

// The figures of every task area of the plan and of the lit extent, into the statistics.
void computeAreaFigures(const model::Plan& plan, const IlluminanceGrid& grid, const WallMask& walls, int calcStep,
                        ResultStats& stats);

// With the reflections on: the reflected part of each task area's average, taken over the same points as
// the average, as the finished grid less the direct grid.
void computeIndirectAreaShares(const model::Plan& plan, const IlluminanceGrid& total, const IlluminanceGrid& direct,
                               const WallMask& walls, int calcStep, ResultStats& stats);

} // namespace calc
