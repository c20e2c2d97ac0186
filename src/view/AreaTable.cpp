// The task-area table's texts, shared by the table window and the printed sheet.
#include "view/AreaTable.h"

#include "base/Text.h"

namespace view {

const AreaTableRow& areaTableHeadings() {
    static const AreaTableRow headings{"作業領域", "平均照度(Lx)", "最小照度(Lx)", "最大照度(Lx)", "均斉度",
                                       "最小/最大", "必要照度(Lx)", "必要均斉度", "合否"};
    return headings;
}

std::string areaMark(const calc::AreaFigures& f) {
    // An area that asks for nothing has nothing to pass.
    if (f.area.requiredLux <= 0 && !(f.area.requiredUniformity > 0)) return "－";
    return f.pass ? "○ 合格" : "× 不合格";
}

AreaTableRow areaTableRow(const calc::AreaFigures& f) {
    auto lux = [](double v) { return base::formatInt(static_cast<long long>(v)); };
    return AreaTableRow{f.area.name,
                        lux(f.averageLux),
                        lux(f.minLux),
                        lux(f.maxLux),
                        base::formatFixed(f.uniformity, 2),
                        base::formatFixed(f.minToMax, 2),
                        base::formatInt(f.area.requiredLux),
                        base::formatFixed(f.area.requiredUniformity, 2),
                        areaMark(f)};
}

std::array<std::string, 2> areaReflectionCells(const calc::AreaFigures& f) {
    auto lux = [](double v) { return base::formatInt(static_cast<long long>(v)); };
    return {lux(f.averageLux - f.indirectAverageLux), lux(f.indirectAverageLux)};
}

std::string areaPowerCell(const std::optional<double>& v) { return v ? base::formatFixed(*v, 2) : std::string("-"); }

std::string roomFiguresLine(const calc::RoomFigures& room) {
    const calc::AreaFigures& f = room.figures;
    if (f.points == 0) return {};
    auto lux = [](double v) { return base::formatInt(static_cast<long long>(v)) + " Lx"; };
    return "室の床：床面積 " + base::formatFixed(room.floorArea, 2) + " m²  平均 " + lux(f.averageLux) + "  最小 " +
           lux(f.minLux) + "  最大 " + lux(f.maxLux) + "  均斉度 " + base::formatFixed(f.uniformity, 2);
}

std::string areaTableStepNote(int calcStep) {
    if (calcStep <= 1) return {};
    return "■計算間隔 " + base::formatInt(calcStep) + " の計算点だけで集計しています (補間値は含みません)。";
}

} // namespace view
