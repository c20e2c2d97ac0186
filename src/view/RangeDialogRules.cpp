// Rules of the illuminance range dialog, free of any window.
#include "view/RangeDialogRules.h"

#include "base/Text.h"

namespace view {

std::array<std::int32_t, 7> readLevels(const std::array<std::string, 7>& texts) {
    std::array<std::int32_t, 7> levels{};
    for (int i = 1; i <= 6; ++i) levels[static_cast<std::size_t>(i)] = base::toInt(texts[static_cast<std::size_t>(i)]);
    return levels;
}

RangeVerdict checkLevels(const std::array<std::int32_t, 7>& levels) {
    for (int i = 1; i <= 5; ++i) {
        if (levels[static_cast<std::size_t>(i)] >= levels[static_cast<std::size_t>(i + 1)]) return {kLevelOrderWrong, i + 1};
    }
    if (levels[1] <= 0) return {kLevelBelowOne, 1};
    return {};
}

void applyUserLevels(model::Document& doc, model::WindowShown& shown, const std::array<std::int32_t, 7>& levels) {
    for (int i = 1; i <= 6; ++i) {
        doc.tables.luxLevel[static_cast<std::size_t>(i)] = levels[static_cast<std::size_t>(i)];
        doc.tables.userLevel[static_cast<std::size_t>(i)] = levels[static_cast<std::size_t>(i)];
    }
    doc.rangeMode = true;
    shown.scaleTypeLabel = kScaleTypeUser;
}

std::string scaleTypeLabel(char displayKind, bool rangeMode) {
    if (displayKind == 'C') return "色温度分布";
    return rangeMode ? kScaleTypeUser : kScaleTypeAuto;
}

} // namespace view
