// Page measurement and the margin rules of the print dialog.
#include "print/PageGeometry.h"

#include "base/Text.h"

#include <cmath>

namespace print {

int truncDots(double v) {
    if (!std::isfinite(v)) return 0;
    if (v > 2e9) return 2000000000;
    if (v < -2e9) return -2000000000;
    return static_cast<int>(v);
}

PageGeometry PageGeometry::of(int width, int height, int dpiX, int dpiY) {
    PageGeometry g;
    g.PW = width;
    g.PH = height;
    g.dX = dpiX * 0.0393701;
    g.dY = dpiY * 0.0393701;
    return g;
}

PageGeometry PageGeometry::of(const ui::Surface& page) { return of(page.width(), page.height(), page.dpiX(), page.dpiY()); }

int PageGeometry::W5() const { return dX > 0 ? truncDots((PW / 5) / dX) : 0; }
int PageGeometry::H5() const { return dY > 0 ? truncDots((PH / 5) / dY) : 0; }

MarginDots MarginDots::of(const Margins& m, const PageGeometry& g) {
    MarginDots d;
    d.ML = truncDots(m.left * g.dX + 0.5);
    d.MR = truncDots(m.right * g.dX + 0.5);
    d.MT = truncDots(m.top * g.dY + 0.5);
    d.MB = truncDots(m.bottom * g.dY + 0.5);
    return d;
}

namespace {
int& marginOf(Margins& m, MarginSide side) {
    switch (side) {
    case MarginSide::Up: return m.top;
    case MarginSide::Down: return m.bottom;
    case MarginSide::Left: return m.left;
    default: return m.right;
    }
}
MarginSide opposite(MarginSide side) {
    switch (side) {
    case MarginSide::Up: return MarginSide::Down;
    case MarginSide::Down: return MarginSide::Up;
    case MarginSide::Left: return MarginSide::Right;
    default: return MarginSide::Left;
    }
}
bool vertical(MarginSide side) { return side == MarginSide::Up || side == MarginSide::Down; }
} // namespace

void MarginRules::measure(const PageGeometry& page, const Margins& margins) {
    w5_ = page.W5();
    h5_ = page.H5();
    // Each side may take what its opposite leaves of the fifth, so that the two never exceed it.
    largest_[static_cast<std::size_t>(MarginSide::Up)] = h5_ - margins.bottom;
    largest_[static_cast<std::size_t>(MarginSide::Down)] = h5_ - margins.top;
    largest_[static_cast<std::size_t>(MarginSide::Left)] = w5_ - margins.right;
    largest_[static_cast<std::size_t>(MarginSide::Right)] = w5_ - margins.left;
}

int MarginRules::leave(MarginSide side, const std::string& text, Margins& margins) {
    int v = base::toInt(text);
    if (v < kMinimum) v = kMinimum;
    if (v > largestAllowed(side)) v = largestAllowed(side);
    marginOf(margins, side) = v;
    largest_[static_cast<std::size_t>(opposite(side))] = (vertical(side) ? h5_ : w5_) - v;
    return v;
}

std::string MarginRules::label(MarginSide side) const { return "(5～" + base::formatInt(largestAllowed(side)) + ")"; }

bool marginKeyPasses(int key) {
    if (key >= '0' && key <= '9') return true;
    switch (key) {
    case 8: case 13: case '-': case '%': case '&': case '\'': case '(': return true;
    default: return false;
    }
}

} // namespace print
