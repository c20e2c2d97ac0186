// Binding the distribution sheet's painters to the plan view's drawing routines.
#include "print/ViewPainters.h"

#include "view/PlanRender.h"
#include "view/ResultMaps.h"

namespace print {

SheetPainters viewSheetPainters(const model::Document& doc, const calc::ContourSet& contours, ui::Services& services,
                                const ui::Surface* temperatureScale) {
    SheetPainters p;
    p.drawContours = [&doc, &contours](ui::Surface& page, double ox, double oy, double scale) {
        view::drawContours(page, doc, contours, ox, oy, scale);
    };
    p.drawWalls = [&doc, &services](ui::Surface& page, double ox, double oy, double scale) {
        view::drawWalls(page, doc, services, ox, oy, scale);
    };
    // No legend floats over a printed page, so the height labels keep their normal colour.
    p.drawFixtures = [&doc](ui::Surface& page, double ox, double oy, double scale) {
        view::drawFixtures(page, doc, ox, oy, scale, false);
    };
    if (temperatureScale) {
        p.drawColorTempScale = [temperatureScale](ui::Surface& page, const ui::Rect& to) {
            page.stretchSurface(to, *temperatureScale, ui::Rect{0, 0, temperatureScale->width(), temperatureScale->height()});
        };
    }
    p.placeText = placeSheetText;
    return p;
}

} // namespace print
