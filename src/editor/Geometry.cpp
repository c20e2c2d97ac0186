// Plain geometry of the plan editor, in the number types and operation order the stored plans depend on.
#include "editor/Geometry.h"

#include "calc/Luminaire.h"

#include <algorithm>
#include <cmath>

namespace editor {

std::optional<ui::Point> nearestWallEnd(const model::LineArray& lines, int x, int y, std::int64_t& bestSquared) {
    std::optional<ui::Point> found;
    auto consider = [&](std::int32_t px, std::int32_t py) {
        const std::int64_t dx = static_cast<std::int64_t>(x) - px;
        const std::int64_t dy = static_cast<std::int64_t>(y) - py;
        const std::int64_t d2 = dx * dx + dy * dy;
        if (d2 < bestSquared) {
            bestSquared = d2;
            found = ui::Point{px, py};
        }
    };
    lines.forEach([&](const model::LineRecord& l) {
        consider(l.x1, l.y1);
        consider(l.x2, l.y2);
    });
    return found;
}

ui::Point snapToGrid(int x, int y, int pitch) {
    if (pitch <= 0) return {x, y};
    const double p = pitch;
    const auto sx = static_cast<std::int32_t>(std::trunc(x / p + 0.5));
    const auto sy = static_cast<std::int32_t>(std::trunc(y / p + 0.5));
    return {pitch * sx, pitch * sy};
}

ui::Point orthogonalPoint(ui::Point start, int x, int y) {
    if (std::abs(static_cast<long long>(start.x) - x) < std::abs(static_cast<long long>(start.y) - y)) return {start.x, y};
    return {x, start.y};
}

std::optional<ArcGeometry> arcThroughThreePoints(ui::Point a, ui::Point b, ui::Point p) {
    const float ax = static_cast<float>(a.x), ay = static_cast<float>(a.y);
    const float bx = static_cast<float>(b.x), by = static_cast<float>(b.y);
    const float px = static_cast<float>(p.x), py = static_cast<float>(p.y);
    const bool verticalChord = ax == bx;

    float m = 0, c = 0;
    if (!verticalChord) {
        m = (ay - by) / (ax - bx);
        c = ay - m * ax;
        if (std::trunc(m * px + c - py) == 0.0f) return std::nullopt;  // on the chord's line
    } else if (a == b) {
        return std::nullopt;
    }

    float cx = 0, cy = 0;
    if (verticalChord) {
        cy = (ay + by) / 2.0f;
        if (ay == py) {
            cx = (ax + px) / 2.0f;
        } else {
            if (std::trunc(ax - px) == 0.0f) return std::nullopt;
            const float k = -(ax - px) / (ay - py);
            const float n = (ay + py) / 2.0f - (ax + px) * k / 2.0f;
            cx = (cy - n) / k;
        }
        if (by == py) cx = (bx + px) / 2.0f;
    } else {
        if (std::trunc(ay - py) == 0.0f) return std::nullopt;
        const float k = -(ax - px) / (ay - py);
        const float n = (ay + py) / 2.0f - (ax + px) * k / 2.0f;
        if (ay != by) {
            const float k2 = -(ax - bx) / (ay - by);
            const float n2 = (ay + by) / 2.0f - (ax + bx) * k2 / 2.0f;
            if (k == k2) return std::nullopt;  // parallel bisectors: no circle
            cx = (n2 - n) / (k - k2);
            cy = n + k * cx;
        } else {
            cx = (ax + bx) / 2.0f;
            cy = n + k * cx;
        }
    }

    const float r = std::sqrt((ax - cx) * (ax - cx) + (ay - cy) * (ay - cy));
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r)) return std::nullopt;
    // The primitive takes 16-bit coordinates; a circle this large is also far beyond any room.
    const double left = std::trunc(cx - r), top = std::trunc(cy - r), right = std::trunc(cx + r), bottom = std::trunc(cy + r);
    if (left + right + top + bottom > 32767.0 || left < -32768.0 || top < -32768.0) return std::nullopt;

    ArcGeometry g;
    g.square = ui::Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(right),
                        static_cast<std::int32_t>(bottom)};
    if (!verticalChord) {
        const bool below = py > c + m * px;  // screen y grows downwards
        g.flag = ((bx < ax && below) || (bx >= ax && !below)) ? 1 : 0;
    } else if (by < ay) {
        g.flag = ax < px ? 0 : 1;
    } else {
        g.flag = ax < px ? 1 : 0;
    }
    return g;
}

bool insideRect(int x, int y, ui::Point c0, ui::Point c1) {
    return x >= std::min(c0.x, c1.x) && x <= std::max(c0.x, c1.x) && y >= std::min(c0.y, c1.y) && y <= std::max(c0.y, c1.y);
}

bool segmentCaught(const model::LineRecord& s, ui::Point c0, ui::Point c1) {
    if (insideRect(s.x1, s.y1, c0, c1) || insideRect(s.x2, s.y2, c0, c1)) return true;
    const ui::Point d1a = c0, d1b = c1;
    const ui::Point d2a{c0.x, c1.y}, d2b{c1.x, c0.y};
    // The calculation's own obstruction tests, with the diagonals standing in for the line of sight.
    auto crosses = [&s](ui::Point p, ui::Point f) {
        return s.isArc() ? calc::arcBlocks(p.x, p.y, f.x, f.y, s) : calc::segmentsCross(p.x, p.y, f.x, f.y, s.x1, s.y1, s.x2, s.y2);
    };
    return crosses(d1a, d1b) || crosses(d2a, d2b);
}

// End points are caught strictly within 10 screen pixels, however far the view is zoomed: in plan pixels
// the squared reach is 100 / zoom², and a whole squared distance lies below it exactly when it lies below
// its ceiling.
std::int64_t endPointReachSquared(double zoom) {
    if (!(zoom > 0)) return 100;
    return static_cast<std::int64_t>(std::ceil(100.0 / (zoom * zoom)));
}

ArrayPlan arrayPositions(char input, char tool, ui::Point p0, ui::Point p1, int t, int u, float mmPerPixel) {
    ArrayPlan plan;
    const std::int64_t dx = static_cast<std::int64_t>(p1.x) - p0.x;
    const std::int64_t dy = static_cast<std::int64_t>(p1.y) - p0.y;
    auto at = [&](std::int64_t x, std::int64_t y) {
        plan.positions.push_back(ui::Point{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
    };
    // n fixtures spread over `span` pixels stand at least one pixel apart only while n - 1 <= span.
    auto tooDense = [](std::int64_t n, std::int64_t span) { return n > 1 && n - 1 > (span < 0 ? -span : span); };
    if (input == 'K') {
        if (t <= 0 || (tool != '2' && u <= 0)) return plan.zero = true, plan;
        const std::int64_t stepX = t > 1 ? dx / (t - 1) : dx;
        if (tool == '2') {
            if (t > kMaxArrayItems) return plan.tooMany = true, plan;
            if (tooDense(t, std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy))) return plan.tooDense = true, plan;
            const std::int64_t stepY = t > 1 ? dy / (t - 1) : dy;
            for (std::int64_t i = 0; i < t; ++i) at(p0.x + i * stepX, p0.y + i * stepY);
        } else {
            if (static_cast<std::int64_t>(t) * u > kMaxArrayItems) return plan.tooMany = true, plan;
            if (tooDense(t, dx) || tooDense(u, dy)) return plan.tooDense = true, plan;
            const std::int64_t stepY = u > 1 ? dy / (u - 1) : dy;
            for (std::int64_t i = 0; i < t; ++i)
                for (std::int64_t j = 0; j < u; ++j) at(p0.x + i * stepX, p0.y + j * stepY);
        }
        return plan;
    }
    // By pitch: t and u are millimetres.
    const double s = mmPerPixel;
    if (!(s > 0)) return plan;
    if (t <= 0 || (tool != '2' && u <= 0)) return plan.zero = true, plan;
    if (tool == '2') {
        const double L = std::sqrt(static_cast<double>(dx * dx + dy * dy));
        if (L == 0) return plan;  // both clicks on one point: no direction to step in
        const auto stepX = static_cast<std::int64_t>(std::trunc(t / s * static_cast<double>(dx) / L));
        const auto stepY = static_cast<std::int64_t>(std::trunc(t / s * static_cast<double>(dy) / L));
        const double n = std::trunc(L * s / t + 0.5);
        if (n + 1 > static_cast<double>(kMaxArrayItems)) return plan.tooMany = true, plan;
        for (std::int64_t i = 0; i <= static_cast<std::int64_t>(n); ++i) at(p0.x + i * stepX, p0.y + i * stepY);
        return plan;
    }
    const double nx = std::trunc(static_cast<double>(dx) * s / t + 0.5);
    const double ny = std::trunc(static_cast<double>(dy) * s / u + 0.5);
    if (nx < 0 || ny < 0) return plan;
    if ((nx + 1) * (ny + 1) > static_cast<double>(kMaxArrayItems)) return plan.tooMany = true, plan;
    for (std::int64_t i = 0; i <= static_cast<std::int64_t>(nx); ++i)
        for (std::int64_t j = 0; j <= static_cast<std::int64_t>(ny); ++j)
            at(static_cast<std::int64_t>(std::trunc(p0.x + i * t / s)), static_cast<std::int64_t>(std::trunc(p0.y + j * u / s)));
    return plan;
}

ArrayPlan centredGridPositions(char input, ui::Point p0, ui::Point p1, int t, int u, float mmPerPixel) {
    ArrayPlan plan;
    if (t <= 0 || u <= 0) return plan;
    const double left = std::min(p0.x, p1.x), top = std::min(p0.y, p1.y);
    const double width = std::abs(static_cast<double>(p1.x) - p0.x), height = std::abs(static_cast<double>(p1.y) - p0.y);
    double nx = t, ny = u, px = 0, py = 0;
    if (input == 'K') {
        px = width / t;
        py = height / u;
    } else {
        if (!(mmPerPixel > 0)) return plan;
        px = t / static_cast<double>(mmPerPixel);
        py = u / static_cast<double>(mmPerPixel);
        nx = std::max(1.0, std::trunc(width / px + 0.5));
        ny = std::max(1.0, std::trunc(height / py + 0.5));
    }
    if (nx * ny > static_cast<double>(kMaxArrayItems)) return plan.tooMany = true, plan;
    auto pixel = [](double v) { return static_cast<std::int32_t>(std::floor(v + 0.5)); };
    for (int i = 0; i < static_cast<int>(nx); ++i)
        for (int j = 0; j < static_cast<int>(ny); ++j)
            plan.positions.push_back(ui::Point{pixel(left + width / 2 + (i - (nx - 1) / 2) * px),
                                               pixel(top + height / 2 + (j - (ny - 1) / 2) * py)});
    return plan;
}

} // namespace editor
