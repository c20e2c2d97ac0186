// Plain geometry of the plan editor, in the number types and operation order the stored plans depend on.
#include "editor/Geometry.h"

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

bool segmentsCross(ui::Point p, ui::Point f, ui::Point a, ui::Point b) {
    const float col = static_cast<float>(p.x), row = static_cast<float>(p.y);
    const float fx = static_cast<float>(f.x), fy = static_cast<float>(f.y);
    const float x1 = static_cast<float>(a.x), y1 = static_cast<float>(a.y);
    const float x2 = static_cast<float>(b.x), y2 = static_cast<float>(b.y);
    const bool wallVertical = x1 == x2;
    const bool sightVertical = col == fx;
    if (wallVertical && sightVertical) return false;
    float mW = 0, kW = 0, mS = 0, kS = 0;
    if (!wallVertical) {
        mW = (y1 - y2) / (x1 - x2);
        kW = y1 - mW * x1;
    }
    if (!sightVertical) {
        mS = (row - fy) / (col - fx);
        kS = row - mS * col;
    }
    if (!wallVertical && !sightVertical && mS == mW) return false;
    float X, Y;
    if (sightVertical) {
        X = col;
        Y = mW * X + kW;
    } else if (wallVertical) {
        X = x1;
        Y = mS * X + kS;
    } else {
        X = (kW - kS) / (mS - mW);
        Y = mS * X + kS;
    }
    auto onSegment = [&](float sx1, float sy1, float sx2, float sy2) {
        if (X < std::min(sx1, sx2) || X > std::max(sx1, sx2)) return false;
        if (sy1 == sy2) return true;
        return Y >= std::min(sy1, sy2) && Y <= std::max(sy1, sy2);
    };
    return onSegment(col, row, fx, fy) && onSegment(x1, y1, x2, y2);
}

namespace {

float angleAbout(float cx, float cy, float px, float py) {
    if (std::trunc(px - cx) != 0.0f) {
        const float g = std::atan((cy - py) / (px - cx));
        return px >= cx ? g : g + static_cast<float>(M_PI);
    }
    return py < cy ? 1.5707964f : -1.5707964f;
}

} // namespace

bool arcCrosses(ui::Point p, ui::Point f, const model::LineRecord& arc) {
    const float cx = static_cast<float>(arc.x3 + arc.x4) * 0.5f;
    const float cy = static_cast<float>(arc.y3 + arc.y4) * 0.5f;
    const float r = std::fabs(std::trunc(static_cast<float>(arc.x3) - static_cast<float>(arc.x4))) * 0.5f;
    const float col = static_cast<float>(p.x), row = static_cast<float>(p.y);
    const float fx = static_cast<float>(f.x), fy = static_cast<float>(f.y);

    float pts[2][2];
    if (col == fx) {
        const float q = r * r - (col - cx) * (col - cx);
        if (q < 0) return false;
        pts[0][0] = col, pts[0][1] = cy + std::sqrt(q);
        pts[1][0] = col, pts[1][1] = cy - std::sqrt(q);
    } else {
        const float u = (row - fy) / (col - fx);
        const float k = row - u * col;
        const float v = 2 * u * (k - cy) - 2 * cx;
        const float w = u * u + 1;
        const float q = v * v - 4 * w * ((k - cy) * (k - cy) + cx * cx - r * r);
        if (q < 0) return false;
        const float X1 = (-v - std::sqrt(q)) / (2 * w);
        const float X2 = (std::sqrt(q) - v) / (2 * w);
        pts[0][0] = X2, pts[0][1] = k + u * X2;
        pts[1][0] = X1, pts[1][1] = k + u * X1;
    }
    const float aStart = angleAbout(cx, cy, static_cast<float>(arc.x1), static_cast<float>(arc.y1));
    float aEnd = angleAbout(cx, cy, static_cast<float>(arc.x2), static_cast<float>(arc.y2));
    const float twoPi = 2.0f * static_cast<float>(M_PI);
    if (aEnd < aStart) aEnd += twoPi;
    const float loX = std::min(col, fx), hiX = std::max(col, fx), loY = std::min(row, fy), hiY = std::max(row, fy);
    for (const auto& pt : pts) {
        const float tx = std::trunc(pt[0]), ty = std::trunc(pt[1]);
        if (tx < loX || tx > hiX || ty < loY || ty > hiY) continue;
        float a = angleAbout(cx, cy, pt[0], pt[1]);
        if (a < aStart) a += twoPi;
        if (aStart < a && a < aEnd) return true;
    }
    return false;
}

bool insideRect(int x, int y, ui::Point c0, ui::Point c1) {
    return x >= std::min(c0.x, c1.x) && x <= std::max(c0.x, c1.x) && y >= std::min(c0.y, c1.y) && y <= std::max(c0.y, c1.y);
}

bool segmentCaught(const model::LineRecord& s, ui::Point c0, ui::Point c1) {
    if (insideRect(s.x1, s.y1, c0, c1) || insideRect(s.x2, s.y2, c0, c1)) return true;
    const ui::Point d1a = c0, d1b = c1;
    const ui::Point d2a{c0.x, c1.y}, d2b{c1.x, c0.y};
    if (s.isArc()) return arcCrosses(d1a, d1b, s) || arcCrosses(d2a, d2b, s);
    const ui::Point a{s.x1, s.y1}, b{s.x2, s.y2};
    return segmentsCross(d1a, d1b, a, b) || segmentsCross(d2a, d2b, a, b);
}

ArrayPlan arrayPositions(char input, char tool, ui::Point p0, ui::Point p1, int t, int u, float mmPerPixel) {
    ArrayPlan plan;
    const std::int64_t dx = static_cast<std::int64_t>(p1.x) - p0.x;
    const std::int64_t dy = static_cast<std::int64_t>(p1.y) - p0.y;
    auto at = [&](std::int64_t x, std::int64_t y) {
        plan.positions.push_back(ui::Point{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
    };
    if (input == 'K') {
        if (t <= 0) return plan;
        const std::int64_t stepX = t > 1 ? dx / (t - 1) : dx;
        if (tool == '2') {
            if (t > kMaxArrayItems) return plan.tooMany = true, plan;
            const std::int64_t stepY = t > 1 ? dy / (t - 1) : dy;
            for (std::int64_t i = 0; i < t; ++i) at(p0.x + i * stepX, p0.y + i * stepY);
        } else {
            if (u <= 0) return plan;
            if (static_cast<std::int64_t>(t) * u > kMaxArrayItems) return plan.tooMany = true, plan;
            const std::int64_t stepY = u > 1 ? dy / (u - 1) : dy;
            for (std::int64_t i = 0; i < t; ++i)
                for (std::int64_t j = 0; j < u; ++j) at(p0.x + i * stepX, p0.y + j * stepY);
        }
        return plan;
    }
    // By pitch: t and u are millimetres.
    const double s = mmPerPixel;
    if (!(s > 0) || t <= 0) return plan;
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
    if (u <= 0) return plan;
    const double nx = std::trunc(static_cast<double>(dx) * s / t + 0.5);
    const double ny = std::trunc(static_cast<double>(dy) * s / u + 0.5);
    if (nx < 0 || ny < 0) return plan;
    if ((nx + 1) * (ny + 1) > static_cast<double>(kMaxArrayItems)) return plan.tooMany = true, plan;
    for (std::int64_t i = 0; i <= static_cast<std::int64_t>(nx); ++i)
        for (std::int64_t j = 0; j <= static_cast<std::int64_t>(ny); ++j)
            at(static_cast<std::int64_t>(std::trunc(p0.x + i * t / s)), static_cast<std::int64_t>(std::trunc(p0.y + j * u / s)));
    return plan;
}

} // namespace editor
