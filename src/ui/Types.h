// Small value types shared by the drawing surface and the services: colours, points, sizes, events.
#pragma once
#include <cstdint>

namespace ui {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    constexpr bool operator==(const Color&) const = default;
    // A Windows colour value as the catalogue stores it: low byte red, then green, then blue.
    static constexpr Color fromColorRef(std::uint32_t v) {
        return Color{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
                     static_cast<std::uint8_t>((v >> 16) & 0xFF)};
    }
    constexpr std::uint32_t toColorRef() const { return r | (g << 8) | (static_cast<std::uint32_t>(b) << 16); }
};

namespace colors {
inline constexpr Color black{0, 0, 0};
inline constexpr Color white{255, 255, 255};
inline constexpr Color red{255, 0, 0};
inline constexpr Color blue{0, 0, 255};
inline constexpr Color green{0, 128, 0};
inline constexpr Color lightBlue{0, 255, 255};
} // namespace colors

struct Point {
    std::int32_t x = 0, y = 0;
    constexpr bool operator==(const Point&) const = default;
};

struct Size {
    std::int32_t width = 0, height = 0;
    constexpr bool operator==(const Size&) const = default;
};

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    constexpr bool operator==(const Rect&) const = default;
    constexpr std::int32_t width() const { return right - left; }
    constexpr std::int32_t height() const { return bottom - top; }
};

enum class MouseButton { Left, Right, Middle };

// A mouse event on the plan drawing surface, in plan pixels.
struct MouseEvent {
    Point position;
    MouseButton button = MouseButton::Left;
    bool shift = false;
    bool ctrl = false;
};

// A key typed into an edit; `character` is the typed character (UTF-8), empty for keys without one.
struct KeyEvent {
    int key = 0;          // platform-independent key code: the character's code point, or one of the constants below
    bool shift = false;
    bool ctrl = false;
    static constexpr int kBackspace = 8;
    static constexpr int kEnter = 13;
    static constexpr int kEscape = 27;
    static constexpr int kDelete = 127;
};

} // namespace ui
