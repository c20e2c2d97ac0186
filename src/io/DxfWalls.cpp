// DXF layers to walls: the mapping onto plan pixels, joining near end points, dropping repeats and points.
#include "io/DxfWalls.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <set>
#include <unordered_map>
#include <utility>

namespace io {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Plan coordinates a converted wall may have: far beyond any drawing surface.
constexpr double kLimit = 100000000.0;

std::optional<std::int32_t> pixel(double v) {
    if (!std::isfinite(v) || std::fabs(v) > kLimit) return std::nullopt;
    return static_cast<std::int32_t>(std::floor(v + 0.5));
}

std::int64_t keyOf(std::int64_t x, std::int64_t y) { return (x << 32) ^ (y & 0xFFFFFFFF); }

// End points already placed; a new one within one pixel in both directions takes the place of the first
// such one. Looked up by pixel, so a drawing of many segments costs no more than reading it.
class EndPoints {
public:
    ui::Point join(ui::Point p) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const auto it = known_.find(keyOf(std::int64_t{p.x} + dx, std::int64_t{p.y} + dy));
                if (it != known_.end()) return it->second;
            }
        known_.emplace(keyOf(p.x, p.y), p);
        return p;
    }

private:
    std::unordered_map<std::int64_t, ui::Point> known_;
};

// A wall as a key that a line drawn either way round shares.
std::array<std::int32_t, 9> wallKey(const model::LineRecord& l) {
    if (l.isArc()) return {'A', l.x1, l.y1, l.x2, l.y2, l.x3, l.y3, l.x4, l.y4};
    const bool swap = std::pair{l.x1, l.y1} > std::pair{l.x2, l.y2};
    return swap ? std::array<std::int32_t, 9>{'L', l.x2, l.y2, l.x1, l.y1, 0, 0, 0, 0}
                : std::array<std::int32_t, 9>{'L', l.x1, l.y1, l.x2, l.y2, 0, 0, 0, 0};
}

bool inside(const std::optional<ui::Rect>& w, ui::Point p) {
    if (!w) return true;
    return p.x >= std::min(w->left, w->right) && p.x <= std::max(w->left, w->right) && p.y >= std::min(w->top, w->bottom) &&
           p.y <= std::max(w->top, w->bottom);
}

} // namespace

std::vector<DxfLayerCount> layerCounts(const DxfLayerDrawing& drawing) {
    std::vector<DxfLayerCount> out;
    for (const DxfLayerSegment& s : drawing.segments) {
        auto it = std::find_if(out.begin(), out.end(), [&](const DxfLayerCount& c) { return c.name == s.layer; });
        if (it == out.end()) {
            out.push_back({s.layer, 1});
        } else {
            ++it->segments;
        }
    }
    return out;
}

std::vector<model::LineRecord> wallsFromDxf(const DxfLayerDrawing& drawing, const TfrmDXF& mapping,
                                            const std::vector<std::string>& layers, const model::LineArray& existing,
                                            const std::optional<ui::Rect>& window) {
    std::vector<model::LineRecord> made;
    EndPoints ends;
    existing.forEach([&](const model::LineRecord& l) {
        ends.join({l.x1, l.y1});
        ends.join({l.x2, l.y2});
    });
    auto at = [&](double x, double y) -> std::optional<ui::Point> {
        const auto px = pixel(mapping.planX(static_cast<float>(x))), py = pixel(mapping.planY(static_cast<float>(y)));
        if (!px || !py) return std::nullopt;
        return ui::Point{*px, *py};
    };
    std::set<std::array<std::int32_t, 9>> walls;
    existing.forEach([&](const model::LineRecord& l) { walls.insert(wallKey(l)); });
    const double unitsPerPixel = mapping.scale();
    for (const DxfLayerSegment& s : drawing.segments) {
        if (std::find(layers.begin(), layers.end(), s.layer) == layers.end()) continue;
        model::LineRecord r;
        if (!s.arc) {
            auto a = at(s.x1, s.y1), b = at(s.x2, s.y2);
            if (!a || !b || !inside(window, *a) || !inside(window, *b)) continue;
            const ui::Point p = ends.join(*a), q = ends.join(*b);
            if (p == q) continue;  // no length on the plan
            r.kind = 'L';
            r.x1 = p.x, r.y1 = p.y, r.x2 = q.x, r.y2 = q.y;
        } else {
            const double t1 = double(s.a1) * kPi / 180.0, t2 = double(s.a2) * kPi / 180.0;
            auto a = at(double(s.cx) + s.r * std::cos(t1), double(s.cy) + s.r * std::sin(t1));
            auto b = at(double(s.cx) + s.r * std::cos(t2), double(s.cy) + s.r * std::sin(t2));
            const auto centreX = mapping.planX(s.cx), centreY = mapping.planY(s.cy);
            const double radius = double(s.r) / unitsPerPixel;
            if (!a || !b || !(radius >= 1.0) || !inside(window, *a) || !inside(window, *b)) continue;
            const ui::Point p = ends.join(*a), q = ends.join(*b);
            // Ends that meet on the plan leave either nothing or the whole circle: only an arc of more than
            // half a turn is kept as the circle it almost is.
            double sweep = std::fmod(double(s.a2) - s.a1, 360.0);
            if (sweep <= 0) sweep += 360.0;
            if (p == q && sweep < 180.0) continue;
            // The drawing's arcs run counter-clockwise with y upwards, which the plan shows counter-clockwise too.
            const auto left = pixel(centreX - radius), top = pixel(centreY - radius), size = pixel(2 * radius);
            if (!left || !top || !size) continue;
            r.kind = 'A';
            r.x1 = p.x, r.y1 = p.y, r.x2 = q.x, r.y2 = q.y;
            r.x3 = *left, r.y3 = *top, r.x4 = *left + *size, r.y4 = *top + *size;
        }
        // Lines are stored normalised as the line tool stores them; arcs as the arc tool does.
        if (!r.isArc()) model::normaliseLine(r);
        if (!walls.insert(wallKey(r)).second) continue;  // the plan has it already
        made.push_back(r);
    }
    return made;
}

} // namespace io
