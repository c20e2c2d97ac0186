// Plan rendering: walls, pillars, fixture symbols, height labels and text placement.
#include "view/PlanRender.h"

#include "base/Text.h"

#include <cmath>

namespace view {
namespace {

constexpr double kIntLimit = 1.0e9;

int clampToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v > kIntLimit) v = kIntLimit;
    if (v < -kIntLimit) v = -kIntLimit;
    return static_cast<int>(v);  // truncation toward zero
}

void setPenColour(ui::Surface& surface, const ui::Color& colour) {
    ui::Pen p = surface.pen();
    p.color = colour;
    p.mode = ui::PenMode::Copy;
    surface.setPen(p);
}

void setBrushColour(ui::Surface& surface, const ui::Color& colour) { surface.setBrush(ui::Brush{colour, false}); }

ui::Color tableColour(const model::Document& doc, int index) {
    if (index < 1 || index > 7) return ui::colors::white;
    return doc.tables.symbolColour[static_cast<std::size_t>(index)];
}

// Pillar drawing sizes come from the plan file; kept within a range where x ± d cannot overflow.
int boundedHalfSize(int d) {
    constexpr int kLimit = 100000000;
    return d > kLimit ? kLimit : (d < -kLimit ? -kLimit : d);
}

void drawShape(ui::Surface& s, int shape, int x, int y, int d, int rotation) {
    switch (shape) {
    case 1:
    case 50:
        s.ellipse(x - d, y - d, x + d, y + d);
        break;
    case 2: {
        s.ellipse(x - d, y - d, x + d, y + d);
        s.setBrush(ui::Brush{s.brush().color, true});
        const int h = d / 2;
        s.ellipse(x - h, y - h, x + h, y + h);
        break;
    }
    case 3: {
        const int m = static_cast<int>(3.6 * d) / 2;
        s.ellipse(x - m, y - m, x + m, y + m);
        s.moveTo(x, y - m);
        s.lineTo(x, y + m);
        s.moveTo(x - m, y);
        s.lineTo(x + m, y);
        break;
    }
    case 4: {
        const int m = static_cast<int>(1.6 * d) / 2;
        if (rotation == 90) {
            s.rectangle(x - m, y - 4 * d, x + m, y + 4 * d);
        } else {
            s.rectangle(x - 4 * d, y - m, x + 4 * d, y + m);
        }
        break;
    }
    case 5: {
        const int m = static_cast<int>(3.6 * d) / 2;
        s.rectangle(x - m, y - m, x + m, y + m);
        break;
    }
    case 6: {
        const double c30 = std::cos(M_PI / 6.0);
        const double s30 = std::sin(M_PI / 6.0);
        s.polygon({ui::Point{x, y - d}, ui::Point{clampToInt(x + d * c30), clampToInt(y + d * s30)},
                   ui::Point{clampToInt(x - d * c30), clampToInt(y + d * s30)}});
        break;
    }
    case 51:
        s.rectangle(x - d, y - d, x + d, y + d);
        break;
    default:
        break;
    }
}

} // namespace

int toSurface(double offset, double scale, double coordinate) { return clampToInt(offset + scale * coordinate); }

int fixtureHalfSize(const model::Document& doc, const ui::Surface& surface) {
    int d = doc.plan.scaleDenominator > 49 ? 5 : 6;
    if (surface.isPrinter()) d *= 2;
    return d;
}

void drawSymbol(ui::Surface& surface, const model::Document& doc, ui::Services* services, int x, int y, int code,
                char mode, int rotation, int pillarHalfSize) {
    if (code < 1) return;
    int d = 0;
    int shape = 0;
    int colour = 0;
    if (code <= 36) {
        d = fixtureHalfSize(doc, surface);
        shape = symbolShapeOf(code);
        colour = symbolColourOf(code);
    } else {
        if (doc.plan.mmPerPixel < 0) {
            if (services) services->messageBox(kNoScaleMessage, "", ui::Icon::Stop, ui::Buttons::Ok);
            return;
        }
        d = boundedHalfSize(pillarHalfSize);
        colour = 7;
        shape = code;
    }
    // Symbols sit near plan points; keep the centre where x ± 8d stays inside the int range.
    constexpr int kCentreLimit = 1000000000;
    if (x > kCentreLimit || x < -kCentreLimit || y > kCentreLimit || y < -kCentreLimit) return;
    if (mode == kModeErase) {
        setBrushColour(surface, ui::colors::white);
        setPenColour(surface, ui::colors::white);
    } else {
        setBrushColour(surface, tableColour(doc, colour));
        setPenColour(surface, ui::colors::black);
    }
    drawShape(surface, shape, x, y, d, rotation);
    surface.setBrush(ui::Brush{surface.brush().color, true});
}

void drawWalls(ui::Surface& surface, const model::Document& doc, ui::Services& services, double offsetX,
               double offsetY, double scale) {
    setPenColour(surface, ui::colors::black);
    auto tx = [&](std::int32_t v) { return toSurface(offsetX, scale, v); };
    auto ty = [&](std::int32_t v) { return toSurface(offsetY, scale, v); };
    doc.plan.lines.forEach([&](const model::LineRecord& l) {
        const int kind = l.kind & 0xFF;
        if (kind == 'L') {
            surface.moveTo(tx(l.x1), ty(l.y1));
            surface.lineTo(tx(l.x2), ty(l.y2));
        } else if (kind == 'A') {
            surface.arc(tx(l.x3), ty(l.y3), tx(l.x4), ty(l.y4), tx(l.x1), ty(l.y1), tx(l.x2), ty(l.y2));
        }
    });
    // Without a scale no pillar can be drawn; one refusal for the whole plan is enough.
    bool refused = false;
    const ui::Pen before = surface.pen();
    doc.plan.hasira.forEach([&](const model::HasiraRecord& h) {
        if (refused) return;
        if (doc.plan.mmPerPixel < 0) {
            refused = true;
        }
        drawSymbol(surface, doc, &services, tx(h.x), ty(h.y), h.pillarKind, kModePillar, 0, h.halfSize);
    });
    ui::Pen after = surface.pen();
    after.color = ui::colors::black;
    after.width = before.width;
    surface.setPen(after);
}

void drawFixtures(ui::Surface& surface, const model::Document& doc, double offsetX, double offsetY, double scale,
                  bool colourLegendVisible) {

    const bool whiteLabels = colourLegendVisible && doc.displayKind == 'B';
    doc.plan.kigu.forEach([&](const model::KiguRecord& k) {
        if (k.typeIndex < 1 || k.typeIndex > 36) return;  // no type: nothing to show
        drawSymbol(surface, doc, nullptr, toSurface(offsetX, scale, k.x), toSurface(offsetY, scale, k.y), k.typeIndex,
                   kModeFixture, k.rotation);
        if (k.heightOffset == 0) return;
        ui::Font f = surface.font();
        f.sizePt = 8;
        f.color = whiteLabels ? ui::colors::white : (k.heightOffset > 0 ? ui::colors::blue : ui::colors::red);
        surface.setFont(f);
        surface.setTextBackground(ui::colors::white, false);
        const long long height = static_cast<long long>(doc.tenDaka) + k.heightOffset;
        const double ly = k.heightOffset > 0 ? static_cast<double>(k.y) - 8 : static_cast<double>(k.y) + 2;
        surface.textOut(toSurface(offsetX, scale, static_cast<double>(k.x) + 5), toSurface(offsetY, scale, ly),
                        base::formatInt(height));
        f.color = ui::colors::black;
        surface.setFont(f);
    });
}

ui::Point textCorner(int x, int y, int code, ui::Size e) {
    const int w = e.width, h = e.height;
    switch (code) {
    case 1: return {x + 3, y - h - 3};
    case 2: return {x - w / 2, y - h - 3};
    case 3: return {x - w - 3, y - h - 3};
    case 4: return {x + 3, y - h / 2};
    case 5: return {x - w / 2, y - h / 2};
    case 6: return {x - w - 3, y - h / 2};
    case 7: return {x + 3, y + 3};
    case 8: return {x - w / 2, y + 3};
    case 9: return {x - w - 3, y + 3};
    default: return {x, y};
    }
}

void placeText(ui::Surface& surface, const model::TextState& state, int x, int y, int code, int size,
               const std::string& text, bool boxed) {
    ui::Font f = surface.font();
    f.sizePt = clampToInt(size * state.textFactor);
    surface.setFont(f);
    const ui::Size extent = surface.textExtent(text);
    ui::Point c = textCorner(x, y, code, extent);
    c.x += state.textOffset.x;
    c.y += state.textOffset.y;
    if (boxed) {
        const ui::Brush brushBefore = surface.brush();
        setPenColour(surface, ui::colors::white);
        setBrushColour(surface, ui::colors::white);
        surface.rectangle(c.x, c.y, c.x + extent.width, c.y + extent.height);
        setPenColour(surface, ui::colors::black);
        surface.setBrush(brushBefore);
    }
    surface.setTextBackground(ui::colors::white, boxed);
    surface.textOut(c.x, c.y, text);
}

void clearDrawingSurface(ui::Surface& surface, model::WindowShown& shown) {
    const ui::Pen before = surface.pen();
    surface.setPen(ui::Pen{ui::Color{238, 238, 238}, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    surface.setBrush(ui::Brush{ui::colors::white, false});
    surface.rectangle(0, 0, surface.width(), surface.height());
    surface.setBrush(ui::Brush{ui::colors::white, true});
    ui::Pen p = before;
    p.color = ui::colors::black;
    p.mode = ui::PenMode::Copy;
    surface.setPen(p);
    model::surfaceWiped(shown);
}

void drawTaskArea(ui::Surface& surface, const model::AreaRecord& area, const std::string& label) {
    constexpr ui::Color kAreaBlue{0, 0, 160};
    const ui::Pen before = surface.pen();
    surface.setPen(ui::Pen{kAreaBlue, 2});
    surface.setBrush(ui::Brush{ui::colors::white, true});
    surface.rectangle(area.x1, area.y1, area.x2 + 1, area.y2 + 1);
    ui::Font font = surface.font();
    font.sizePt = 9;
    font.color = kAreaBlue;
    surface.setFont(font);
    surface.setTextBackground(ui::colors::white, true);
    surface.textOut(area.x1 + 3, area.y1 + 3, label);
    surface.setPen(before);
}

} // namespace view
