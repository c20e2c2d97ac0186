// Text placement on the sheets: the placement routine as a replaceable function, and the plan view's routine at sheet sizes.
#pragma once
#include "ui/Surface.h"

#include <functional>
#include <string>

namespace print {

// Writes one text at (x, y) by placement code (0..9) in `sizePt` points, on a white box when `boxed`.
// The sheets take it as a parameter so that the plan view's routine can be plugged in unchanged.
using PlaceTextFn = std::function<void(ui::Surface& surface, int x, int y, int code, int sizePt,
                                       const std::string& text, bool boxed)>;

// The plan view's placement (view::placeText: the text's top-left corner by code 1..9 around (x, y)
// with a gap of 3 dots, anything else at (x, y)) at the sheet's own point sizes, never below 1 pt.
void placeSheetText(ui::Surface& surface, int x, int y, int code, int sizePt, const std::string& text, bool boxed);

} // namespace print
