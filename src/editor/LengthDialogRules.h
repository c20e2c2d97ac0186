// The length dialog's rules: how (input kind, tool) set its texts, and what its OK accepts.
#pragma once
#include <cstdint>
#include <string>

namespace editor {

// How the dialog looks for one use.
struct LengthDialogLayout {
    std::string caption;
    std::string labX;
    std::string labY;
    bool unitXVisible = false;  // labmmx "mm"
    bool unitYVisible = false;  // labmmy
    bool secondRow = false;     // labY, txtY, labmmy
    bool clearEdits = true;     // every kind but 'H' empties both edits when configured
    bool captionSet = false;    // false: the caption of the previous use stays
};

// Input kind 'K' count, 'P' pitch, 'H' fixture height, 'M' scale measurement, 'L' numeric point entry;
// tool '2' line array, '3' grid array, 'H' height change, 'M' measurement. `previous` is the layout of
// the last use, whose texts stay where this use sets none.
LengthDialogLayout configureLengthDialog(char inputKind, char tool, const LengthDialogLayout& previous);

inline constexpr const char* kValueMissing = "値を入力してください";
inline constexpr const char* kValueMissingTitle = "エラー";

struct LengthDialogResult {
    bool accepted = false;
    std::string refusal;  // kValueMissing when an edit is empty
    int focus = 0;        // 1 txtX, 2 txtY on refusal
    std::int32_t firstValue = 0;
    std::int32_t secondValue = 0;
};

// OK: the numeric point entry takes an empty edit as "0"; the other kinds refuse empty edits.
// A text that is not an integer throws base::ConversionError.
LengthDialogResult acceptLengthDialog(char inputKind, bool secondRowVisible, const std::string& textX, const std::string& textY);

} // namespace editor
