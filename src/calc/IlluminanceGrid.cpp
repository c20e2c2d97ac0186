// Illuminance grid allocation and resets.
#include "calc/IlluminanceGrid.h"

#include <algorithm>

namespace calc {

void IlluminanceGrid::allocate(std::int32_t surfaceWidth, std::int32_t surfaceHeight) {
    gridWidth = std::max<std::int32_t>(1, surfaceWidth + 1);
    gridHeight = std::max<std::int32_t>(1, surfaceHeight + 1);
    const std::size_t n = static_cast<std::size_t>(gridWidth + 1) * static_cast<std::size_t>(gridHeight + 1);
    lux.assign(n, 0.0f);
    ctSum.assign(n, 0.0f);
}

void IlluminanceGrid::reset() {
    std::fill(lux.begin(), lux.end(), 0.01f);
    std::fill(ctSum.begin(), ctSum.end(), 0.0f);
}

void IlluminanceGrid::zero() {
    std::fill(lux.begin(), lux.end(), 0.0f);
    std::fill(ctSum.begin(), ctSum.end(), 0.0f);
}

} // namespace calc
