// The registration window's 108 slot pictures: six shapes (one per tab) in six colours, three states each.
#pragma once
#include "catalog/Registration.h"
#include "ui/Surface.h"

#include <array>

namespace catalog {

inline constexpr int kSlotPictureSize = 32;

// Draws the picture of a slot (1..36) in its state on a 32 × 32 surface. The tab gives the shape
// (round, ring, square, long bar, crossed bar, spot), the position the fill colour, taken from the
// plan symbols' colours [1..6]. Free: outline only on grey; registered: filled; current: filled on
// a light ground inside a red frame.
void drawSlotPicture(ui::Surface& s, int slot, SlotPicture state, const std::array<ui::Color, 8>& symbolColour);

} // namespace catalog
