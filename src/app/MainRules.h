// The main window's own rules around the result: calculate, redisplay with the recalculation question, result kind, reference height.
#pragma once
#include "model/Document.h"
#include "ui/Services.h"

#include <functional>

namespace app {

inline constexpr const char* kNoFixtures = "器具が配置されていません。";
inline constexpr const char* kRecalcQuestion = "データが変更されています。\n再計算します。";
inline constexpr const char* kRecalcTitle = "再計算";
inline constexpr const char* kSetScale = "縮尺を設定して下さい。(編集->縮尺の設定)";
inline constexpr const char* kNoScaleForPitch = "縮尺が設定されていません。\n縮尺設定";
inline constexpr const char* kChooseFixtureCurve = "器具を選択してください";

// The calculation button refuses an empty plan (the menu item does not ask).
bool calcButtonAllowed(const model::Document& doc, ui::Services& services);

enum class RedisplayStep { Recalculate, Redisplay, Nothing };
// "照度分布(色)の表示" / "照度分布(線)の表示" / "色温度分布の表示": the kind becomes the display kind;
// a stale result with fixtures asks to recalculate, a valid one is redisplayed, an empty plan refuses.
RedisplayStep redisplayStepFor(model::Document& doc, ui::Services& services, char kind);

// "照度分布" / "色温度分布" / "等高線分布": the kind of the next result and the scale-type label.
void chooseResultKind(model::Document& doc, char kind);
// "設定値" / "自動" of the range selection.
void chooseRangeMode(model::Document& doc, bool userLevels);

// True when a scale is set; otherwise shows "縮尺を設定して下さい。(編集->縮尺の設定)".
bool requireScale(const model::Document& doc, ui::Services& services);
// rbtnKosuu / rbtnPitch: the pitch needs a scale. True when the choice was taken.
bool chooseArrayInput(model::Document& doc, ui::Services& services, char arrayInput);

// The "変更" button beside the reference height, with the two dialogs as steps.
struct HeightChangeSteps {
    std::function<bool()> askHeight;      // the height dialog; true when a height was accepted
    std::function<int()> askFixtures;     // the follow-up question: 0 cancelled, else answer 1..3
    std::function<void()> redisplayPlan;
};
void changeReferenceHeight(model::Document& doc, const HeightChangeSteps& steps);


inline constexpr const char* kChangeScreen = "画面を変更しますか";
// The size modes of the backgrounds ('B' bitmap: 1 screen, 2 form, 3 own size; 'D' DXF: 1 screen, 2 form).
// The mode and its check mark change at once; when that background is the one shown, the user is asked
// "画面を変更しますか" and true means: redraw it refitted.
bool chooseBackgroundSize(model::Document& doc, ui::Services& services, char background, int mode);

enum class ScrollChange { None, Off, On };
// A resize of the main window. While Xe is negative nothing happens; the first resize after start-up
// (Xe 0) only sets Xe to 1. Later ones recompute the plan extent and switch automatic scrolling off when
// the plan fits into the client width and the height between the panels, on when it does not.
ScrollChange windowResized(model::Document& doc, bool autoScroll, int clientWidth, int freeHeight);

} // namespace app
