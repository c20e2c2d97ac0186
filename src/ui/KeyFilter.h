// The key filter of the integer edits: which typed characters an edit for whole numbers lets through.
#pragma once

namespace ui {

// A key that types no text of its own (Tab, Escape, Enter, Backspace, Delete and the other control
// codes) moves, confirms or cancels: the number edits' filters let every such key through to the window.
constexpr bool isControlKey(char32_t c) { return c < 0x20 || c == 0x7F; }

// Digits, backspace, Enter, '-' and the characters 0x25 to 0x28 ('%', '&', ''', '(') pass; everything
// else, the decimal point included, is dropped. The four odd characters share their codes with the
// arrow keys, which is why the integer edits always let them through.
constexpr bool integerEditAccepts(char32_t c) {
    return (c >= U'0' && c <= U'9') || c == 8 || c == 13 || c == U'-' || (c >= 0x25 && c <= 0x28);
}

} // namespace ui
