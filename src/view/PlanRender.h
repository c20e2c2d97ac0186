// Drawing the plan's walls, pillars, fixture symbols and placed texts onto any surface at an offset and scale.
#pragma once
#include "model/Document.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <string>

namespace view {

// How a symbol is drawn: a fixture, a pillar, or erased (white pen and white brush).
inline constexpr char kModeFixture = 'P';
inline constexpr char kModePillar = 'p';
inline constexpr char kModeErase = 'D';

inline constexpr const char* kNoScaleMessage = "縮尺を設定して下さい。(編集->縮尺の設定)";

// Plan pixel to surface pixel: trunc(offset + scale × coordinate), held inside the int range so a
// hostile plan can never make the conversion undefined.
int toSurface(double offset, double scale, double coordinate);

// The symbol shape 1..6 and colour index 1..6 of a fixture type slot 1..36.
inline int symbolShapeOf(int slot) { return (slot - 1) / 6 + 1; }
inline int symbolColourOf(int slot) { return (slot - 1) % 6 + 1; }

// Half size of a fixture symbol: 5 at 1/50 and coarser, else 6; twice that on a printer page.
int fixtureHalfSize(const model::Document& doc, const ui::Surface& surface);

// One symbol centred on the surface point (x, y). code: type slot 1..36 or pillar kind 50 / 51;
// pillarHalfSize is the pillar's size in surface pixels; rotation 90 stands bars upright.
// A pillar without a scale is refused with the system's message through `services` (when given).
void drawSymbol(ui::Surface& surface, const model::Document& doc, ui::Services* services, int x, int y, int code,
                char mode, int rotation, int pillarHalfSize = 0);

// A task area's outline in dark blue with its label at its top-left corner inside, at offset (0, 0)
// and scale 1. Never part of the walls: the light passes it.
void drawTaskArea(ui::Surface& surface, const model::AreaRecord& area, const std::string& label);

// Walls (lines and arcs) and pillars; the pen keeps its width, becomes black and copies.
void drawWalls(ui::Surface& surface, const model::Document& doc, ui::Services& services, double offsetX,
               double offsetY, double scale);

// Every placed fixture's symbol, and its height label when it hangs at its own height. The labels
// turn white while the colour legend is shown over a colour map, so they read on the classes.
void drawFixtures(ui::Surface& surface, const model::Document& doc, double offsetX, double offsetY, double scale,
                  bool colourLegendVisible);

// One text: font size trunc(size × textFactor), the corner chosen by `code` (0..9, a keypad layout
// around (x, y) with a 3-pixel gap), shifted by textOffset, optionally on a white box.
void placeText(ui::Surface& surface, const model::TextState& state, int x, int y, int code, int size,
               const std::string& text, bool boxed);

// The top-left corner placeText writes at, before the text offset.
ui::Point textCorner(int x, int y, int code, ui::Size extent);

// The drawing surface wiped for a new picture: white with a light grey outline; the result display,
// the print menu and the grid and background removal are off, grid display and the scale setting are
// on again, and the remark line is emptied.
void clearDrawingSurface(ui::Surface& surface, model::WindowShown& shown);

} // namespace view
