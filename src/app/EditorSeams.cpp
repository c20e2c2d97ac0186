// The editor's plan painter and DXF background over the view's rendering and the interchange reader.
#include "app/EditorSeams.h"

#include "view/PlanRender.h"

namespace app {

void ViewPlanPainter::drawWalls(ui::Surface& surface) { view::drawWalls(surface, doc_, services_, 0, 0, 1.0); }

void ViewPlanPainter::drawFixtures(ui::Surface& surface) {
    view::drawFixtures(surface, doc_, 0, 0, 1.0, legendVisible_ != nullptr && *legendVisible_);
}

void ViewPlanPainter::drawSymbol(ui::Surface& surface, int x, int y, int code, char mode, int rotation,
                                 int pillarHalfSize) {
    view::drawSymbol(surface, doc_, &services_, x, y, code, mode, rotation, pillarHalfSize);
}

bool ReaderDxfBackground::load(const std::string& path) { return dxf_.LoadDxf(path, services_); }

void ReaderDxfBackground::showScale() { shown_.scaleLabel = model::denominatorLabel(doc_.plan.scaleDenominator); }

void ReaderDxfBackground::fitToView() {
    dxf_.FitDxfToView(doc_, surface_.width(), surface_.height());
    showScale();
}

void ReaderDxfBackground::draw(ui::Surface& surface) { dxf_.DrawDxf(surface); }

void ReaderDxfBackground::zoom(int x1, int y1, int x2, int y2) {
    if (dxf_.ZoomDxf(doc_, x1, y1, x2, y2, surface_.width(), surface_.height())) showScale();
}

void ReaderDxfBackground::resetView() {
    dxf_.ResetDxfView(doc_, surface_.width(), surface_.height());
    showScale();
}

float ReaderDxfBackground::nearestEndPoint(float best, int px, int py, ui::Point& found) {
    const double nearest = dxf_.NearestDxfEndPoint(best, px, py);
    if (nearest < best) {
        found = dxf_.snapResult();
        return static_cast<float>(nearest);
    }
    return best;
}

} // namespace app
