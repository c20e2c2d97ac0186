// Text placement by code on any sheet surface: the plan view's placement routine at the sheet's own sizes.
#include "print/SheetText.h"

#include "view/PlanRender.h"

#include <algorithm>

namespace print {

void placeSheetText(ui::Surface& surface, int x, int y, int code, int sizePt, const std::string& text, bool boxed) {
    // The sheets give their sizes in points already: no text factor, no offset of the plan view.
    static const model::TextState sheetState{};
    view::placeText(surface, sheetState, x, y, code, std::max(sizePt, 1), text, boxed);
}

} // namespace print
