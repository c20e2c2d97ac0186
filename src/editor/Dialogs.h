// The rules of the editor's small dialogs without their widgets: the length dialog, the new-plan dialog, the numeric key filter.
//
// A window (TfrmLen, TfrmSinki) keeps one of these models, copies its texts and visibilities to its
// controls after every call, and forwards its edits' texts and button presses to it.
#pragma once
#include "editor/Seams.h"
#include "ui/Services.h"
#include "ui/Types.h"

#include <cstdint>
#include <optional>
#include <string>

namespace editor {

// The integer edits (txtHasira, the new-plan denominator, the length dialog) let through only digits,
// backspace, Enter, the codes 0x25 to 0x28 and '-'; '.' and everything else is dropped.
bool numericKeyAccepted(const ui::KeyEvent& key);

// Where the length dialog opens for a click at `click` (screen pixels): 10 right of and 25 below it,
// flipped to the left or above when it would leave the screen.
ui::Point lengthDialogPosition(ui::Point click, ui::Size dialog, ui::Size screen);

// TfrmLen: one or two integer values for counts, pitches, heights, real lengths and point offsets.
class LengthDialogModel {
public:
    enum class Focus { X, Y };

    // Sets labels, caption and rows for an input kind ('K' count, 'P' pitch, 'H' fixture height,
    // 'M' scale measurement, 'L' numeric point entry) and a tool ('2', '3', 'H', 'M', or any other).
    void configure(char kind, char tool);
    // The dialog is being shown: not confirmed, both edits empty, focus on txtX.
    void show();
    // OK: true when the dialog closes confirmed. Refusals show "値を入力してください" and keep it open;
    // a value that is not a number throws base::ConversionError (the dialog stays open).
    bool ok(ui::Services& services);
    // Enter in txtX: moves to txtY when the second row is shown, otherwise OK. Returns true when closed.
    bool enterInX(ui::Services& services);
    bool enterInY(ui::Services& services) { return ok(services); }
    void cancel() { confirmed_ = false; }

    LengthAnswer answer() const { return {confirmed_, firstValue_, secondValue_}; }

    std::string txtX, txtY;
    const std::string& caption() const { return caption_; }
    const std::string& labX() const { return labX_; }
    const std::string& labY() const { return labY_; }
    bool unitXVisible() const { return unitX_; }
    bool unitYVisible() const { return unitY_; }
    bool secondRowVisible() const { return secondRow_; }
    Focus focus() const { return focus_; }
    char kind() const { return kind_; }

private:
    char kind_ = 'K';
    std::string caption_, labX_, labY_;
    bool unitX_ = true, unitY_ = true, secondRow_ = false;
    Focus focus_ = Focus::X;
    bool confirmed_ = false;
    int firstValue_ = 0, secondValue_ = 0;
};

// The denominator a new-plan choice hands on: the typed one with "設定値" (throws base::ConversionError).
std::int32_t chosenDenominator(const NewPlanChoice& choice);

// TfrmSinki ("新規作成") and the new-plan part of the start dialog: which controls are enabled.
class NewPlanDialogModel {
public:
    // On show: "白紙で表示" chosen, the scale controls disabled.
    void show();
    void chooseBackground(NewPlanBackground b);
    // 30, 50, 100 or 200; 0 for "設定値" (the typed denominator).
    void chooseScale(int denominator);

    bool scaleControlsEnabled() const { return background_ == NewPlanBackground::Grid; }
    bool denominatorEditEnabled() const { return scaleControlsEnabled() && custom_; }
    // The choice as OK hands it on.
    NewPlanChoice choice(const std::string& denominatorText) const;

private:
    NewPlanBackground background_ = NewPlanBackground::White;
    int denominator_ = 50;  // 50 when the dialog is created
    bool custom_ = false;
};

// The task-area dialog's OK: the name and the two requirements typed for `area`. A refusal shows its
// reason with the title "入力エラー" and gives nothing (the dialog stays open).
inline constexpr const char* kMsgAreaName = "作業領域の名前を入力して下さい";
inline constexpr const char* kMsgAreaLux = "必要照度は 0 以上の整数 (Lx) で入力して下さい";
inline constexpr const char* kMsgAreaUniformity = "均斉度は 0 から 1 までの数で入力して下さい";
std::optional<model::AreaRecord> taskAreaFromTexts(const model::AreaRecord& area, const std::string& name,
                                                   const std::string& luxText, const std::string& uniformityText,
                                                   ui::Services& services);

} // namespace editor
