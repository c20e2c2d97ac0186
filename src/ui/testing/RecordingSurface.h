// A drawing surface for tests that records every primitive as a line of text and keeps set pixels.
#pragma once
#include "ui/Surface.h"

#include <map>
#include <string>
#include <vector>

namespace ui::testing {

class RecordingSurface : public Surface {
public:
    RecordingSurface(int width = 800, int height = 600, int dpi = 96, bool printer = false);

    // Every call in order, e.g. "line 10,20-30,40", "rect 0,0-5,5", "text 3,4 平均照度：12 Lx".
    std::vector<std::string> ops;
    // Ops whose text starts with the prefix.
    std::vector<std::string> opsStartingWith(const std::string& prefix) const;

    int width() const override { return width_; }
    int height() const override { return height_; }
    int dpiX() const override { return dpi_; }
    int dpiY() const override { return dpi_; }
    bool isPrinter() const override { return printer_; }

    void setPen(const Pen& pen) override;
    Pen pen() const override { return pen_; }
    void setBrush(const Brush& brush) override;
    Brush brush() const override { return brush_; }
    void setFont(const Font& font) override;
    Font font() const override { return font_; }
    void setTextBackground(const Color& color, bool opaque) override;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    Point penPosition() const override { return position_; }
    void rectangle(int x1, int y1, int x2, int y2) override;
    void fillRect(const Rect& r, const Color& color) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void polygon(const std::vector<Point>& points) override;
    void polyline(const std::vector<Point>& points) override;
    void floodFill(int x, int y, const Color& color, FillKind kind) override;

    // Texts measure 6 pixels a byte of UTF-8 per 9 points and 12 pixels high per 9 points.
    Size textExtent(const std::string& utf8) override;
    void textOut(int x, int y, const std::string& utf8) override;

    Color pixel(int x, int y) const override;
    void setPixel(int x, int y, const Color& color) override;

    void drawSurface(int x, int y, const Surface& source) override;
    void stretchSurface(const Rect& to, const Surface& source, const Rect& from) override;
    void resize(int width, int height) override;

private:
    int width_, height_, dpi_;
    bool printer_;
    Pen pen_;
    Brush brush_;
    Font font_;
    Point position_;
    std::map<std::pair<int, int>, Color> pixels_;
};

std::string describe(const Color& c);

} // namespace ui::testing
