// Installed power: counts the plan's luminaires per type and totals their rated watts and lamp lumens.
#include "calc/PowerFigures.h"

#include <cmath>

namespace calc {

PowerFigures powerFiguresOf(const model::Plan& plan, const catalog::TourokuTable& touroku) {
    std::array<std::int64_t, catalog::kSlotCount + 1> counts{};
    plan.kigu.forEach([&](const model::KiguRecord& k) {
        if (catalog::isValidSlot(k.typeIndex)) ++counts[static_cast<std::size_t>(k.typeIndex)];
    });
    PowerFigures p;
    double litLumens = 0;
    for (int s = 1; s <= catalog::kSlotCount; ++s) {
        const catalog::BunpuHinban& t = touroku[s];
        const std::int64_t count = counts[static_cast<std::size_t>(s)];
        if (!t.isRegistered() || count == 0) continue;
        PowerSlot row{s, t.hinban, count, t.watts > 0 ? static_cast<double>(t.watts) : 0.0,
                      static_cast<double>(t.kou) * static_cast<double>(t.tosu)};
        if (row.watts > 0) {
            p.given = true;
            p.totalWatts += row.watts * static_cast<double>(count);
            litLumens += row.lumens * static_cast<double>(count);
        }
        p.types.push_back(std::move(row));
    }
    if (p.totalWatts > 0) p.lumensPerWatt = litLumens / p.totalWatts;
    return p;
}

std::optional<double> wattsPerSquareMetre(double watts, double squareMetres) {
    if (!(watts > 0) || !(squareMetres > 0)) return std::nullopt;
    const double v = watts / squareMetres;
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

std::optional<double> areaWattsPerSquareMetre(const model::Plan& plan, const catalog::TourokuTable& touroku,
                                              const model::AreaRecord& area) {
    double watts = 0;
    plan.kigu.forEach([&](const model::KiguRecord& k) {
        if (!catalog::isValidSlot(k.typeIndex) || !touroku[k.typeIndex].isRegistered()) return;
        if (k.x < area.x1 || k.x > area.x2 || k.y < area.y1 || k.y > area.y2) return;
        watts += touroku[k.typeIndex].watts;
    });
    const double mm = plan.mmPerPixel;
    const double squareMetres = static_cast<double>(std::int64_t{area.x2} - area.x1) *
                                static_cast<double>(std::int64_t{area.y2} - area.y1) * mm * mm / 1.0e6;
    return wattsPerSquareMetre(watts, squareMetres);
}

} // namespace calc
