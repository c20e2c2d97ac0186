// What the illuminance range dialog "照度レンジ" checks and stores when its OK is pressed.
#pragma once
#include "model/Document.h"

#include <array>
#include <cstdint>
#include <string>

namespace view {

inline constexpr const char* kLevelOrderWrong = "数値の順序が正しくありません";
inline constexpr const char* kLevelBelowOne = "１以上値を設定して下さい";
inline constexpr const char* kRangeErrorTitle = "設定エラー";
inline constexpr const char* kScaleTypeUser = "照度分布 Scale: 設定値";
inline constexpr const char* kScaleTypeAuto = "照度分布 Scale: 自動";

// The verdict on six typed levels (index 1..6, level 1 the lowest class).
struct RangeVerdict {
    std::string message;  // empty when accepted
    int focus = 0;        // the level edit to focus on refusal (1..6)
};

// Reads the six texts (throws base::ConversionError on the first that is not an integer).
std::array<std::int32_t, 7> readLevels(const std::array<std::string, 7>& texts);
RangeVerdict checkLevels(const std::array<std::int32_t, 7>& levels);

// Accepted levels become the class limits and the user levels (the ones every later choice of levels
// in set-value mode reads), and the range mode turns to set values.
void applyUserLevels(model::Document& doc, model::WindowShown& shown, const std::array<std::int32_t, 7>& levels);

// The scale-type label for a display kind and range mode.
std::string scaleTypeLabel(char displayKind, bool rangeMode);

} // namespace view
