// The drawing surface every picture of the system is drawn on: the plan image, off-screen pictures, printer pages.
#pragma once
#include "ui/Types.h"

#include <string>
#include <vector>

namespace ui {

enum class PenStyle { Solid, Dot, Dash };
// Copy paints the pen colour; Xor inverts with the pen colour so that drawing twice erases (the rubber band).
enum class PenMode { Copy, Xor };
// How flood fill finds its region: up to a border colour, or over every pixel of the seed's colour.
enum class FillKind { ToBorder, SameColour };

struct Pen {
    Color color = colors::black;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    bool operator==(const Pen&) const = default;
};

struct Brush {
    Color color = colors::white;
    bool clear = false;  // no fill
    bool operator==(const Brush&) const = default;
};

struct Font {
    int sizePt = 9;
    Color color = colors::black;
    bool bold = false;
    std::string face;  // empty = the surface's default face
    bool operator==(const Font&) const = default;
};

// Coordinates are device pixels (printer dots on a printer page); rectangles exclude their right and
// bottom edge, as the platform's drawing primitives always did.
class Surface {
public:
    virtual ~Surface() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    virtual bool isPrinter() const = 0;

    virtual void setPen(const Pen& pen) = 0;
    virtual Pen pen() const = 0;
    virtual void setBrush(const Brush& brush) = 0;
    virtual Brush brush() const = 0;
    virtual void setFont(const Font& font) = 0;
    virtual Font font() const = 0;
    // Texts are drawn on an opaque box of this colour, or transparently when cleared.
    virtual void setTextBackground(const Color& color, bool opaque) = 0;

    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    virtual Point penPosition() const = 0;
    // Outline with the pen, inside with the brush.
    virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
    // Fills with the brush colour, no outline.
    virtual void fillRect(const Rect& r, const Color& color) = 0;
    virtual void ellipse(int x1, int y1, int x2, int y2) = 0;
    // Counter-clockwise (on screen, y downwards) arc of the ellipse in the box, from the radial
    // through (x3, y3) to the radial through (x4, y4).
    virtual void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void polygon(const std::vector<Point>& points) = 0;
    virtual void polyline(const std::vector<Point>& points) = 0;
    virtual void floodFill(int x, int y, const Color& color, FillKind kind) = 0;

    virtual Size textExtent(const std::string& utf8) = 0;
    virtual void textOut(int x, int y, const std::string& utf8) = 0;

    virtual Color pixel(int x, int y) const = 0;
    virtual void setPixel(int x, int y, const Color& color) = 0;

    // Copies the whole source picture with its top-left corner at (x, y).
    virtual void drawSurface(int x, int y, const Surface& source) = 0;
    // Stretches the part `from` of the source onto the rectangle `to`.
    virtual void stretchSurface(const Rect& to, const Surface& source, const Rect& from) = 0;
    // Changes the size; the content is kept where it fits and the rest is white.
    virtual void resize(int width, int height) = 0;
};

} // namespace ui
