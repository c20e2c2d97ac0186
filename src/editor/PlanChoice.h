// The background and scale choice shared by the start dialog and the new-plan dialog.
#pragma once
#include <cstdint>
#include <string>

namespace editor {

// "白紙で表示", "ＤＸＦファイルの読み込み", "ＢＭＰファイルの読み込み", "グリッドの表示".
enum class Background { White, Dxf, Bmp, Grid };

struct PlanChoice {
    Background background = Background::White;
    std::int32_t denominator = 50;  // 30, 50, 100, 200, or the typed value with "設定値"
    bool typedScale = false;         // "設定値"
    std::string typedDenominator;    // txtSyuku
};

// The denominator the dialog hands on: the typed one with "設定値" (throws base::ConversionError).
std::int32_t chosenDenominator(const PlanChoice& choice);

} // namespace editor
