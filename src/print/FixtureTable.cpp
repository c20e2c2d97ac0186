// The fixture table of the printed sheets: its rows, fonts, cuts and symbols.
#include "print/FixtureTable.h"

#include "base/Cp932.h"
#include "catalog/ProductList.h"
#include "base/Text.h"

#include <algorithm>
#include <cmath>

namespace print {

FixtureTableLayout fixtureTableLayout(const PageGeometry& page, const MarginDots& margins, int listed) {
    FixtureTableLayout l;
    l.n = std::max(1, listed);
    const float usable = page.dY > 0 ? static_cast<float>((page.PH - margins.MT - margins.MB) / page.dY) : 0.0f;
    l.rh = std::min(7.0f, (usable - 21.0f) / static_cast<float>(l.n));
    l.f1 = truncDots(0.75 * l.rh * 0.0393701 * 72 * 2 / 3);
    l.f2 = truncDots((2.0 / 3.0) * l.rh * 0.0393701 * 72 * 2 / 3);
    l.hinbanBytes = 0.75 * l.rh > 4 ? 10 : 12;
    l.s = truncDots(0.2 * l.rh * page.dX);
    return l;
}

std::pair<std::string, std::string> splitLampName(const std::string& name) { return base::splitCp932(name, 16); }

void drawTableSymbol(ui::Surface& page, int slot, int cx, int cy, int s, const std::array<ui::Color, 8>& symbolColour) {
    if (!catalog::isValidSlot(slot)) return;
    const int shape = (slot - 1) / 6 + 1;
    page.setPen(ui::Pen{ui::colors::black});
    page.setBrush(ui::Brush{symbolColour[static_cast<std::size_t>((slot - 1) % 6 + 1)]});
    const double c30 = std::cos(M_PI / 6), s30 = 0.5;
    switch (shape) {
    case 1:
    case 2:
    case 3:
        page.ellipse(cx - s, cy - s, cx + s, cy + s);
        page.setBrush(ui::Brush{ui::colors::white, true});
        if (shape == 2) page.ellipse(cx - s / 2, cy - s / 2, cx + s / 2, cy + s / 2);
        if (shape == 3) {
            page.moveTo(cx - s, cy);
            page.lineTo(cx + s, cy);
            page.moveTo(cx, cy - s);
            page.lineTo(cx, cy + s);
        }
        break;
    case 4: page.rectangle(cx - 2 * s, truncDots(cy - 0.6 * s), cx + 2 * s, truncDots(cy + 0.6 * s)); break;
    case 5: page.rectangle(truncDots(cx - 1.5 * s), truncDots(cy - 1.5 * s), truncDots(cx + 1.5 * s), truncDots(cy + 1.5 * s)); break;
    default:
        page.polygon({{cx, cy - s}, {truncDots(cx + c30 * s), truncDots(cy + s30 * s)}, {truncDots(cx - c30 * s), truncDots(cy + s30 * s)}});
        break;
    }
    page.setBrush(ui::Brush{ui::colors::white, true});
}

void drawFixtureTable(ui::Surface& page, const PageGeometry& g, const MarginDots& m, int R,
                      const catalog::TourokuTable& touroku, const FixtureTableStyle& style, const PlaceTextFn& placeText) {
    auto x = [&](double mmLeftOfR) { return truncDots(R - mmLeftOfR * g.dX); };
    auto y = [&](double mmBelowMT) { return truncDots(m.MT + mmBelowMT * g.dY); };
    auto line = [&](int x1, int y1, int x2, int y2) {
        page.moveTo(x1, y1);
        page.lineTo(x2, y2);
    };
    page.setPen(ui::Pen{ui::colors::black});
    page.setBrush(ui::Brush{ui::colors::white, true});
    ui::Font font = page.font();
    font.color = ui::colors::black;
    page.setFont(font);

    page.rectangle(x(78), y(5), x(2), y(10));
    for (double d : {71.0, 51.0, 22.0, 9.0}) line(x(d), y(5), x(d), y(10));
    const std::array<std::pair<double, const char*>, 5> headers = {
        {{78, "記号"}, {68, "品　番"}, {43, "ランプ名"}, {20, "全光束"}, {9, "数量"}}};
    for (const auto& [at, text] : headers) placeText(page, x(at), y(7.5), 4, 9, text, false);

    const std::vector<int> slots = catalog::listedSlots(touroku);
    const FixtureTableLayout l = fixtureTableLayout(g, m, static_cast<int>(slots.size()));
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const int t = slots[i];
        const auto& type = touroku[t];
        const float r = static_cast<float>(i);
        const int top = y(9 + r * l.rh), bottom = y(10 + (r + 1) * l.rh);
        page.setPen(ui::Pen{ui::colors::black});
        for (double d : {78.0, 71.0, 51.0, 22.0, 9.0, 2.0}) line(x(d), top, x(d), bottom);
        line(x(78), bottom, x(2), bottom);
        const int line1 = y(10.5 + r * l.rh + 0.2 * l.rh);
        const int line2 = y(10.5 + r * l.rh + 0.6 * l.rh);

        int size = l.f1;
        placeText(page, x(70), line1, 4, size, base::truncateCp932(type.hinban, l.hinbanBytes), false);
        placeText(page, x(70), line2, 4, size, type.option, false);
        if (!type.option.empty()) size = l.f2;

        const std::string& lamp = style.lampNameMode == 'J' ? type.lampName : type.lampNameA;
        font = page.font();
        font.sizePt = std::max(1, size);
        page.setFont(font);
        if (page.textExtent(lamp).width > truncDots(27 * g.dX)) {
            // Two lines in the small font; the cut falls before a double-byte character, never inside it.
            auto [head, rest] = splitLampName(lamp);
            placeText(page, x(50), line1, 4, l.f2, head, false);
            // A rest too long for the column is cut at a character, so that it never runs over the flux.
            font.sizePt = std::max(1, l.f2);
            page.setFont(font);
            const int room = truncDots(28 * g.dX) - 3;
            for (std::size_t bytes = base::cp932ByteLength(rest); bytes > 0 && page.textExtent(rest).width > room; --bytes)
                rest = base::truncateCp932(rest, bytes - 1);
            if (!rest.empty()) placeText(page, x(50), line2, 4, l.f2, rest, false);
        } else {
            placeText(page, x(50), line1, 4, l.f1, lamp, false);
        }
        const long long flux = static_cast<long long>(type.kou) * type.tosu;
        placeText(page, x(10), line1, 6, l.f1, base::formatInt(flux), false);
        placeText(page, x(3), line1, 6, l.f1, base::formatInt(type.placedCount), false);

        drawTableSymbol(page, t, x(74.5), y(11.5 + r * l.rh + 0.2 * l.rh), l.s, style.symbolColour);
    }
    page.setPen(ui::Pen{ui::colors::black});
    page.setBrush(ui::Brush{ui::colors::white, true});
}

} // namespace print
