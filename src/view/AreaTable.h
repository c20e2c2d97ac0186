// The task-area table as the window and the printed sheet show it: headings, one row of texts per area, the step note.
#pragma once
#include "calc/IlluminanceGrid.h"

#include <array>
#include <optional>
#include <string>

namespace view {

inline constexpr const char* kAreaTableTitle = "作業領域の照度";

inline constexpr std::size_t kAreaTableColumns = 9;
using AreaTableRow = std::array<std::string, kAreaTableColumns>;

// 作業領域, 平均照度, 最小照度, 最大照度, 均斉度, 最小/最大, 必要照度, 必要均斉度, 合否.
const AreaTableRow& areaTableHeadings();

// One area: its name, the illuminances truncated to whole lux like every lux figure of the program,
// the ratios to two decimals, what it requires and its mark ("○ 合格" or "× 不合格", "－" for an area that requires nothing).
AreaTableRow areaTableRow(const calc::AreaFigures& figures);
// The pass or fail mark of one area: "○ 合格", "× 不合格", or "－" when the area requires nothing.
std::string areaMark(const calc::AreaFigures& figures);

// With reflected light the window puts after the average its direct and its reflected part.
inline constexpr std::array<const char*, 2> kAreaReflectionHeadings{"直接(Lx)", "相互反射(Lx)"};
std::array<std::string, 2> areaReflectionCells(const calc::AreaFigures& figures);

// The last column of the window: the rated watts of the luminaires inside each area over its floor.
inline constexpr const char* kAreaPowerHeading = "W/m²";
// "7.42", or "-" for an area without a luminaire of known power.
std::string areaPowerCell(const std::optional<double>& wattsPerSquareMetre);

// The room's floor after a calculation: "室の床：床面積 86.40 m²  平均 512 Lx  最小 120 Lx  最大 700 Lx
// 均斉度 0.23", the illuminances truncated like the table's; empty when the plan has no floor to measure.
std::string roomFiguresLine(const calc::RoomFigures& room);

// Said under the table when the figures come from the calculated lattice alone (a step above 1);
// empty at step 1.
std::string areaTableStepNote(int calcStep);

} // namespace view
