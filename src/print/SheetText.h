// Text placement on the sheets: the placement routine as a replaceable function, and our own rendering of it.
#pragma once
#include "ui/Surface.h"

#include <functional>
#include <string>

namespace print {

// Writes one text at (x, y) by placement code (0..9) in `sizePt` points, on a white box when `boxed`.
// The sheets take it as a parameter so that the plan view's routine can be plugged in unchanged.
using PlaceTextFn = std::function<void(ui::Surface& surface, int x, int y, int code, int sizePt,
                                       const std::string& text, bool boxed)>;

// Our placement: the text's top-left corner by code, with a gap of 3 device dots:
// 1 right above, 2 centred above, 3 left above, 4 right, 5 centred, 6 left, 7 right below, 8 centred
// below, 9 left below, anything else at (x, y). The font keeps its face and colour.
void placeSheetText(ui::Surface& surface, int x, int y, int code, int sizePt, const std::string& text, bool boxed);

// The top-left corner the placement gives a text of the extent (w, h).
ui::Point placedCorner(int x, int y, int code, int w, int h);

} // namespace print
