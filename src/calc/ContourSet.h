// Contour lines of the illuminance levels as point sequences with line markers.
#pragma once
#include <vector>

namespace calc {

struct ContourPoint {
    float x = 0, y = 0;
    bool operator==(const ContourPoint&) const = default;
};

// Each traced line is (-1, 0), its points in order, then (-2, 0).
inline constexpr ContourPoint kLineStart{-1.0f, 0.0f};
inline constexpr ContourPoint kLineEnd{-2.0f, 0.0f};

struct ContourSet {
    static constexpr int kMaxLevels = 64;
    std::vector<float> levels;                      // ascending levels; no terminator stored
    std::vector<std::vector<ContourPoint>> points;  // one sequence per level

    // The point sequence of a level (exact comparison), or nullptr when the level is not in the set.
    const std::vector<ContourPoint>* sequenceOf(float level) const {
        for (std::size_t i = 0; i < levels.size() && i < points.size(); ++i) {
            if (levels[i] == level) return &points[i];
        }
        return nullptr;
    }
    void clear() {
        levels.clear();
        points.clear();
    }
};

} // namespace calc
