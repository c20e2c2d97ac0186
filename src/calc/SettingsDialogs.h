// What the calculation settings dialogs do to the settings and the plan: start dialog, reference height, precision, maintenance, reflections.
#pragma once
#include "calc/IlluminanceGrid.h"
#include "calc/Reflections.h"
#include "model/Document.h"

#include <array>
#include <cstdint>
#include <string>

namespace calc {

// The environment radio group of the start dialog: "良い", "普通", "劣る" or "考慮しない".
enum class Environment { Good = 0, Normal = 1, Poor = 2, NotConsidered = 3 };

// What the start dialog shows when it opens.
struct CalcStartView {
    Environment environment = Environment::Normal;
    std::int32_t step = 3;
};
CalcStartView calcStartViewOf(const CalcSettings& settings);

// The user's choice when a run button is pressed.
struct CalcStartChoice {
    bool fixturePlot = false;  // "する"
    Environment environment = Environment::Normal;
    std::int32_t step = 3;     // track bar position 1..7
    char displayKind = 'B';    // "照度分布（色)" 'B', "照度分布(線)" 'T', "色温度分布" 'C'
};

// The run: display kind and fixture plot taken over, maintenance and step stored, the result made
// stale when maintenance or step differ from what was in force, calcConfirmed set.
void applyCalcStart(model::Document& doc, model::WindowShown& shown, CalcSettings& settings, const CalcStartChoice& choice);
// "ｷｬﾝｾﾙ": no run.
inline void cancelCalcStart(CalcSettings& settings) { settings.calcConfirmed = false; }

// A change of settings that only makes the result stale: no save prompt follows from it.
void invalidateResult(model::Document& doc, model::WindowShown& shown);

// The reference height dialog "計算高さの変更".
inline constexpr const char* kTenDakaNotPositive = model::kTenDakaNotPositive;
inline constexpr const char* kTenDakaNotMm = model::kTenDakaNotMm;
inline constexpr const char* kSettingErrorTitle = "設定エラー";

// The refusal for a typed height, or empty when it is accepted.
std::string tenDakaRefusal(std::int32_t height);
// OK with text `typed`: converts it (throws base::ConversionError), checks it; when accepted, sets
// tenDaka and the label and returns true. On refusal returns false and fills `refusal`.
bool acceptTenDaka(model::Document& doc, const std::string& typed, std::string& refusal);

// The follow-up question "基準計算高さが変更されました": needed when a fixture has its own height.
bool anyFixtureWithOwnHeight(const model::Plan& plan);

// The three answers: 1 "すべてを基準計算高さにそろえる", 2 "更新前との差をそのままに同時に変更", 3 "変更しない".
void applyTenDakaChange(model::Plan& plan, int answer, std::int32_t tenDakaBefore, std::int32_t tenDaka);

// The precision dialog: every movement of the bar takes effect at once.
void setCalcStep(model::Document& doc, model::WindowShown& shown, CalcSettings& settings, std::int32_t position);

// The maintenance dialog's OK.
void applyMaintenance(CalcSettings& settings, bool considered, std::int32_t environmentClass);

// The inter-reflection dialog "相互反射の設定": heights in whole mm, reflectances in whole percent
// (70 for 0.70), which the integer edits of the program take as they are typed.
inline constexpr const char* kRoomInputTitle = "入力エラー";
inline constexpr const char* kMsgRoomHeight = "天井高は 0 から 100000 までの整数 (mm) で入力して下さい";
inline constexpr const char* kMsgWorkPlane = "作業面高さは 0 以上で天井高より低い整数 (mm) で入力して下さい";
inline constexpr const char* kMsgReflectance = "反射率は 0 から 95 までの整数 (%) で入力して下さい";

// The dialog's fields as texts: an empty room height (or 0) is the highest luminaire's mounting height.
struct RoomTexts {
    bool on = false;
    std::string roomHeight, workPlane, ceiling, walls, floor;
};
RoomTexts roomTextsOf(const model::RoomRecord& room);

// The common reflectance sets of offices and halls, ceiling / walls / floor in percent.
struct ReflectancePreset {
    int ceiling, walls, floor;
};
inline constexpr std::array<ReflectancePreset, 4> kReflectancePresets{{{70, 50, 20}, {80, 50, 30}, {50, 30, 10}, {30, 30, 10}}};
// The preset the three typed percentages make, -1 when they make none.
int presetIndexOf(const std::string& ceiling, const std::string& walls, const std::string& floor);

// The field a refusal sends the user back to (None: accepted) and the refusal.
struct RoomVerdict {
    model::RoomFault field = model::RoomFault::None;
    std::string refusal;
};

// OK: checks the texts; when accepted stores the room (set by the user from now on, so the project
// carries it) and, when it differs from what the plan had, marks the plan changed (the result goes stale).
RoomVerdict applyRoomTexts(model::Document& doc, model::WindowShown& shown, const RoomTexts& texts);

// "天井70%・壁50%・床20%": reflectances 0..1 as whole percent.
std::string reflectancePercents(double ceiling, double walls, double floor);
// The notes' sentence on the reflected light, wherever a result with it is handed on (the printed sheet, the
// DXF drawing): its lead, the reflectances and heights it was calculated with, and its close. The last two
// continue the sentence; each place indents them its own way.
std::array<std::string, 3> reflectionNoteParts(const RoomGeometry& room);
// The start dialog's line: "相互反射：計算する（天井70%・壁50%・床20%）" or "相互反射：計算しない".
std::string reflectionSummary(const model::RoomRecord& room);

} // namespace calc
