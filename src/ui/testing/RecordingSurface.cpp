// Recording surface: turns drawing calls into comparable text.
#include "ui/testing/RecordingSurface.h"

namespace ui::testing {
namespace {
std::string pt(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
} // namespace

std::string describe(const Color& c) {
    return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

RecordingSurface::RecordingSurface(int width, int height, int dpi, bool printer)
    : width_(width), height_(height), dpi_(dpi), printer_(printer) {}

std::vector<std::string> RecordingSurface::opsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& op : ops) {
        if (op.rfind(prefix, 0) == 0) out.push_back(op);
    }
    return out;
}

void RecordingSurface::setPen(const Pen& pen) {
    pen_ = pen;
    ops.push_back("pen " + describe(pen.color) + " w" + std::to_string(pen.width) +
                  (pen.style == PenStyle::Solid ? "" : pen.style == PenStyle::Dot ? " dot" : " dash") +
                  (pen.mode == PenMode::Xor ? " xor" : ""));
}

void RecordingSurface::setBrush(const Brush& brush) {
    brush_ = brush;
    ops.push_back(brush.clear ? "brush clear" : "brush " + describe(brush.color));
}

void RecordingSurface::setFont(const Font& font) {
    font_ = font;
    ops.push_back("font " + std::to_string(font.sizePt) + " " + describe(font.color) + (font.bold ? " bold" : ""));
}

void RecordingSurface::setTextBackground(const Color& color, bool opaque) {
    ops.push_back(opaque ? "textbg " + describe(color) : "textbg clear");
}

void RecordingSurface::moveTo(int x, int y) {
    position_ = {x, y};
    ops.push_back("move " + pt(x, y));
}

void RecordingSurface::lineTo(int x, int y) {
    ops.push_back("line " + pt(position_.x, position_.y) + "-" + pt(x, y));
    position_ = {x, y};
}

void RecordingSurface::rectangle(int x1, int y1, int x2, int y2) { ops.push_back("rect " + pt(x1, y1) + "-" + pt(x2, y2)); }

void RecordingSurface::fillRect(const Rect& r, const Color& color) {
    ops.push_back("fill " + pt(r.left, r.top) + "-" + pt(r.right, r.bottom) + " " + describe(color));
}

void RecordingSurface::ellipse(int x1, int y1, int x2, int y2) { ops.push_back("ellipse " + pt(x1, y1) + "-" + pt(x2, y2)); }

void RecordingSurface::arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    ops.push_back("arc " + pt(x1, y1) + "-" + pt(x2, y2) + " " + pt(x3, y3) + " " + pt(x4, y4));
}

void RecordingSurface::polygon(const std::vector<Point>& points) {
    std::string s = "polygon";
    for (const auto& p : points) s += " " + pt(p.x, p.y);
    ops.push_back(s);
}

void RecordingSurface::polyline(const std::vector<Point>& points) {
    std::string s = "polyline";
    for (const auto& p : points) s += " " + pt(p.x, p.y);
    ops.push_back(s);
    if (!points.empty()) position_ = points.back();
}

void RecordingSurface::floodFill(int x, int y, const Color& color, FillKind kind) {
    ops.push_back("flood " + pt(x, y) + " " + describe(color) + (kind == FillKind::ToBorder ? " border" : " surface"));
}

Size RecordingSurface::textExtent(const std::string& utf8) {
    int size = font_.sizePt > 0 ? font_.sizePt : 9;
    return Size{static_cast<int>(utf8.size()) * 6 * size / 9, 12 * size / 9};
}

void RecordingSurface::textOut(int x, int y, const std::string& utf8) { ops.push_back("text " + pt(x, y) + " " + utf8); }

Color RecordingSurface::pixel(int x, int y) const {
    auto it = pixels_.find({x, y});
    return it == pixels_.end() ? colors::white : it->second;
}

void RecordingSurface::setPixel(int x, int y, const Color& color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[{x, y}] = color;
}

void RecordingSurface::drawSurface(int x, int y, const Surface& source) {
    ops.push_back("draw " + pt(x, y) + " " + std::to_string(source.width()) + "x" + std::to_string(source.height()));
}

void RecordingSurface::stretchSurface(const Rect& to, const Surface& source, const Rect& from) {
    ops.push_back("stretch " + pt(from.left, from.top) + "-" + pt(from.right, from.bottom) + " to " + pt(to.left, to.top) +
                  "-" + pt(to.right, to.bottom));
}

void RecordingSurface::resize(int width, int height) {
    width_ = width;
    height_ = height;
    ops.push_back("resize " + pt(width, height));
}

} // namespace ui::testing
