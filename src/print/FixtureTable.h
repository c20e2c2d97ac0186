// The printed table of the fixture types in use: product number, lamp, flux, count and the type's symbol.
#pragma once
#include "catalog/FixtureType.h"
#include "print/PageGeometry.h"
#include "print/SheetText.h"
#include "ui/Surface.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace print {

struct FixtureTableLayout {
    int n = 1;                 // rows, at least one
    float rh = 7;              // row height in mm
    int f1 = 0, f2 = 0;        // main and small font sizes in points
    std::size_t hinbanBytes = 10;
    int s = 0;                 // symbol size in dots
};
FixtureTableLayout fixtureTableLayout(const PageGeometry& page, const MarginDots& margins, int listed);

// The lamp name split for two lines: after 16 CP932 bytes, never inside a double-byte character.
std::pair<std::string, std::string> splitLampName(const std::string& name);

// What the table draws besides the types.
struct FixtureTableStyle {
    char lampNameMode = 'A';                   // 'J' Japanese lamp names, otherwise alphanumeric
    std::array<ui::Color, 8> symbolColour{};   // [1..6]
};

// Draws the table with its right edge line at R (dots); it spans R − 78 mm to R − 2 mm.
void drawFixtureTable(ui::Surface& page, const PageGeometry& geometry, const MarginDots& margins, int R,
                      const catalog::TourokuTable& touroku, const FixtureTableStyle& style, const PlaceTextFn& placeText);

// One type's symbol, filled in its colour and outlined in black, of size s around (cx, cy).
void drawTableSymbol(ui::Surface& page, int slot, int cx, int cy, int s, const std::array<ui::Color, 8>& symbolColour);

} // namespace print
