// Picking plan items under the pointer or in a window, and moving, copying, turning, mirroring and deleting them.
#include "editor/Selection.h"

#include "editor/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace editor {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Fixtures are caught on their mark, whatever the zoom: the symbol reaches about 6 plan pixels out.
constexpr double kMarkReach = 7.0;
// Coordinates an edit may produce: far beyond any drawing surface, well inside the plan's 32-bit slots.
constexpr double kCoordinateLimit = 1000000000.0;

std::int32_t rounded(double v) {
    return static_cast<std::int32_t>(std::clamp(std::floor(v + 0.5), -kCoordinateLimit, kCoordinateLimit));
}

std::int32_t shifted(std::int32_t v, int d) { return rounded(static_cast<double>(v) + d); }

bool isWallKind(char target) { return target == 'R'; }

// The circle of an arc record and its sweep, counter-clockwise on the screen (y downwards).
struct ArcShape {
    double cx = 0, cy = 0, r = 0;
    double start = 0, sweep = 0;  // radians, screen counter-clockwise from the rightward direction
};

double screenAngle(double cx, double cy, double x, double y) { return std::atan2(-(y - cy), x - cx); }

ArcShape arcShapeOf(const model::LineRecord& l) {
    ArcShape a;
    a.cx = (static_cast<double>(l.x3) + l.x4) / 2.0;
    a.cy = (static_cast<double>(l.y3) + l.y4) / 2.0;
    a.r = std::fabs(static_cast<double>(l.x4) - l.x3) / 2.0;
    a.start = screenAngle(a.cx, a.cy, l.x1, l.y1);
    const double end = screenAngle(a.cx, a.cy, l.x2, l.y2);
    a.sweep = end - a.start;
    while (a.sweep <= 0) a.sweep += 2 * kPi;  // equal ends: the whole circle
    return a;
}

std::vector<ui::Point> arcPoints(const model::LineRecord& l) {
    const ArcShape a = arcShapeOf(l);
    constexpr int kSteps = 32;
    std::vector<ui::Point> points;
    points.push_back({l.x1, l.y1});
    for (int i = 1; i < kSteps; ++i) {
        const double t = a.start + a.sweep * i / kSteps;
        points.push_back({rounded(a.cx + a.r * std::cos(t)), rounded(a.cy - a.r * std::sin(t))});
    }
    points.push_back({l.x2, l.y2});
    return points;
}

double distanceToSegment(ui::Point p, double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - x1) * dx + (p.y - y1) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (x1 + t * dx), p.y - (y1 + t * dy));
}

double distanceToWall(const model::LineRecord& l, ui::Point p) {
    if (!l.isArc()) return distanceToSegment(p, l.x1, l.y1, l.x2, l.y2);
    const ArcShape a = arcShapeOf(l);
    double along = screenAngle(a.cx, a.cy, p.x, p.y) - a.start;
    while (along < 0) along += 2 * kPi;
    if (along <= a.sweep) return std::fabs(std::hypot(p.x - a.cx, p.y - a.cy) - a.r);
    return std::min(std::hypot(p.x - l.x1, p.y - l.y1), std::hypot(p.x - l.x2, p.y - l.y2));
}

double distanceToAreaBorder(const model::AreaRecord& a, ui::Point p) {
    const double d[] = {distanceToSegment(p, a.x1, a.y1, a.x2, a.y1), distanceToSegment(p, a.x2, a.y1, a.x2, a.y2),
                        distanceToSegment(p, a.x2, a.y2, a.x1, a.y2), distanceToSegment(p, a.x1, a.y2, a.x1, a.y1)};
    return *std::min_element(std::begin(d), std::end(d));
}

struct Box {
    std::int64_t left, top, right, bottom;
    bool inside(const Box& outer) const {
        return left >= outer.left && right <= outer.right && top >= outer.top && bottom <= outer.bottom;
    }
    bool touches(const Box& other) const {
        return left <= other.right && right >= other.left && top <= other.bottom && bottom >= other.top;
    }
};

Box boxOf(ui::Point a, ui::Point b) {
    return Box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Box boxOfPoints(const std::vector<ui::Point>& points) {
    Box b{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const auto& p : points) {
        b.left = std::min<std::int64_t>(b.left, p.x);
        b.right = std::max<std::int64_t>(b.right, p.x);
        b.top = std::min<std::int64_t>(b.top, p.y);
        b.bottom = std::max<std::int64_t>(b.bottom, p.y);
    }
    return b;
}

Box wallBox(const model::LineRecord& l) {
    return l.isArc() ? boxOfPoints(arcPoints(l)) : boxOf({l.x1, l.y1}, {l.x2, l.y2});
}
Box pillarBox(const model::HasiraRecord& h) {
    const std::int64_t s = h.halfSize;
    return Box{h.x - s, h.y - s, h.x + s, h.y + s};
}
Box areaBox(const model::AreaRecord& a) { return boxOf({a.x1, a.y1}, {a.x2, a.y2}); }

Box itemBox(const model::Plan& plan, const ItemRef& r) {
    switch (r.kind) {
    case ItemKind::Wall: return wallBox(plan.lines[r.index]);
    case ItemKind::Fixture: {
        const auto& k = plan.kigu[r.index];
        return Box{k.x, k.y, k.x, k.y};
    }
    case ItemKind::Pillar: return pillarBox(plan.hasira[r.index]);
    case ItemKind::Area: return areaBox(plan.areas.at(static_cast<std::size_t>(r.index - 1)));
    }
    return Box{0, 0, 0, 0};
}

// A point moved by a transform of the plane, rounded to whole plan pixels.
template <class F>
void mapPoint(std::int32_t& x, std::int32_t& y, const F& f) {
    const auto [nx, ny] = f(static_cast<double>(x), static_cast<double>(y));
    x = rounded(nx);
    y = rounded(ny);
}

// Applies a transform to every selected item. `turnsShapes`: squares, areas and bars follow the transform
// (quarter turns, mirrors, moves); otherwise only their positions move. `swapArcEnds` for mirrors, which
// reverse an arc's direction.
template <class F>
void transformItems(model::Plan& plan, const std::vector<ItemRef>& selection, const F& f, bool turnsShapes,
                    bool swapArcEnds, bool toggleBars) {
    for (const ItemRef& r : selection) {
        switch (r.kind) {
        case ItemKind::Wall: {
            auto& l = plan.lines[r.index];
            if (l.isArc()) {
                const double half = (static_cast<double>(l.x4) - l.x3) / 2.0;
                const auto [cx, cy] = f((static_cast<double>(l.x3) + l.x4) / 2.0, (static_cast<double>(l.y3) + l.y4) / 2.0);
                mapPoint(l.x1, l.y1, f);
                mapPoint(l.x2, l.y2, f);
                if (swapArcEnds) {
                    std::swap(l.x1, l.x2);
                    std::swap(l.y1, l.y2);
                }
                const std::int32_t left = rounded(cx - half), top = rounded(cy - half);
                const std::int32_t size = l.x4 - l.x3;
                l.x3 = left;
                l.y3 = top;
                l.x4 = rounded(static_cast<double>(left) + size);
                l.y4 = rounded(static_cast<double>(top) + size);
            } else {
                mapPoint(l.x1, l.y1, f);
                mapPoint(l.x2, l.y2, f);
            }
            model::normaliseLine(l);
            break;
        }
        case ItemKind::Fixture: {
            auto& k = plan.kigu[r.index];
            mapPoint(k.x, k.y, f);
            k.anchorX = k.x;  // as when it is placed there
            k.anchorY = k.y;
            if (toggleBars && model::rotationFor(k.typeIndex, true) == 90) k.rotation = k.rotation == 90 ? 0 : 90;
            break;
        }
        case ItemKind::Pillar: {
            auto& h = plan.hasira[r.index];
            mapPoint(h.x, h.y, f);
            break;
        }
        case ItemKind::Area: {
            auto& a = plan.areas.at(static_cast<std::size_t>(r.index - 1));
            if (turnsShapes) {
                mapPoint(a.x1, a.y1, f);
                mapPoint(a.x2, a.y2, f);
                model::normaliseArea(a);
            } else {
                const double cx = (static_cast<double>(a.x1) + a.x2) / 2.0, cy = (static_cast<double>(a.y1) + a.y2) / 2.0;
                const auto [nx, ny] = f(cx, cy);
                const std::int32_t dx = rounded(nx - cx), dy = rounded(ny - cy);
                a.x1 = shifted(a.x1, dx);
                a.x2 = shifted(a.x2, dx);
                a.y1 = shifted(a.y1, dy);
                a.y2 = shifted(a.y2, dy);
            }
            break;
        }
        }
    }
}

std::vector<ItemRef> sortedByKindThenIndex(std::vector<ItemRef> s) {
    std::sort(s.begin(), s.end());
    s.erase(std::unique(s.begin(), s.end()), s.end());
    return s;
}

} // namespace

std::vector<ItemKind> kindsOfTarget(char editTarget) {
    if (isWallKind(editTarget)) return {ItemKind::Wall, ItemKind::Area};
    if (editTarget == 'K') return {ItemKind::Fixture};
    return {ItemKind::Pillar};
}

std::vector<ItemRef> allItems(const model::Plan& plan, char editTarget) {
    std::vector<ItemRef> out;
    for (ItemKind kind : kindsOfTarget(editTarget)) {
        const int n = kind == ItemKind::Wall      ? plan.lines.count()
                      : kind == ItemKind::Fixture ? plan.kigu.count()
                      : kind == ItemKind::Pillar  ? plan.hasira.count()
                                                  : static_cast<int>(plan.areas.size());
        for (int i = 1; i <= n; ++i) out.push_back({kind, i});
    }
    return out;
}

std::optional<ItemRef> pickItem(const model::Plan& plan, char editTarget, ui::Point p, double reach) {
    std::optional<ItemRef> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    auto consider = [&](ItemRef r, double d, double within) {
        if (d <= within && d < bestDistance) {
            bestDistance = d;
            best = r;
        }
    };
    if (isWallKind(editTarget)) {
        for (int i = 1; i <= plan.lines.count(); ++i) consider({ItemKind::Wall, i}, distanceToWall(plan.lines[i], p), reach);
        for (std::size_t i = 0; i < plan.areas.size(); ++i)
            consider({ItemKind::Area, static_cast<int>(i + 1)}, distanceToAreaBorder(plan.areas[i], p), reach);
        if (best) return best;
        // Inside an area, away from every border: the smallest area there.
        std::int64_t smallest = std::numeric_limits<std::int64_t>::max();
        for (std::size_t i = 0; i < plan.areas.size(); ++i) {
            const Box b = areaBox(plan.areas[i]);
            const std::int64_t size = (b.right - b.left) * (b.bottom - b.top);
            if (p.x >= b.left && p.x <= b.right && p.y >= b.top && p.y <= b.bottom && size < smallest) {
                smallest = size;
                best = ItemRef{ItemKind::Area, static_cast<int>(i + 1)};
            }
        }
        return best;
    }
    if (editTarget == 'K') {
        for (int i = 1; i <= plan.kigu.count(); ++i) {
            const auto& k = plan.kigu[i];
            const double d = std::max(std::fabs(static_cast<double>(p.x) - k.x), std::fabs(static_cast<double>(p.y) - k.y));
            consider({ItemKind::Fixture, i}, d, std::max(kMarkReach, reach));
        }
        return best;
    }
    for (int i = 1; i <= plan.hasira.count(); ++i) {
        const auto& h = plan.hasira[i];
        const double dx = static_cast<double>(p.x) - h.x, dy = static_cast<double>(p.y) - h.y;
        const double d = h.pillarKind == model::kCylindricalPillar ? std::hypot(dx, dy) : std::max(std::fabs(dx), std::fabs(dy));
        consider({ItemKind::Pillar, i}, std::max(0.0, d - h.halfSize), reach);
    }
    return best;
}

std::vector<ItemRef> itemsInWindow(const model::Plan& plan, char editTarget, ui::Point from, ui::Point to) {
    const bool crossing = to.x < from.x;
    const Box window = boxOf(from, to);
    std::vector<ItemRef> out;
    for (const ItemRef& r : allItems(plan, editTarget)) {
        bool taken = false;
        if (!crossing) {
            taken = itemBox(plan, r).inside(window);
        } else if (r.kind == ItemKind::Wall) {
            taken = segmentCaught(plan.lines[r.index], from, to);
        } else {
            taken = itemBox(plan, r).touches(window);
        }
        if (taken) out.push_back(r);
    }
    return out;
}

bool PlanItems::operator==(const PlanItems& o) const {
    auto sameLines = [](const model::LineRecord& a, const model::LineRecord& b) {
        return a.kind == b.kind && a.x1 == b.x1 && a.x2 == b.x2 && a.x3 == b.x3 && a.x4 == b.x4 && a.y1 == b.y1 &&
               a.y2 == b.y2 && a.y3 == b.y3 && a.y4 == b.y4 && a.reserved9 == b.reserved9 && a.reserved10 == b.reserved10 &&
               a.reserved11 == b.reserved11 && a.minX == b.minX && a.minY == b.minY && a.maxX == b.maxX &&
               a.maxY == b.maxY && a.reserved16 == b.reserved16;
    };
    auto sameKigu = [](const model::KiguRecord& a, const model::KiguRecord& b) {
        return a.x == b.x && a.y == b.y && a.heightOffset == b.heightOffset && a.typeIndex == b.typeIndex &&
               a.rotation == b.rotation && a.anchorX == b.anchorX && a.anchorY == b.anchorY && a.reserved == b.reserved;
    };
    auto sameHasira = [](const model::HasiraRecord& a, const model::HasiraRecord& b) {
        return a.pillarKind == b.pillarKind && a.x == b.x && a.y == b.y && a.halfSize == b.halfSize && a.reserved == b.reserved;
    };
    auto sameArea = [](const model::AreaRecord& a, const model::AreaRecord& b) {
        return a.name == b.name && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 &&
               a.requiredLux == b.requiredLux && a.requiredUniformity == b.requiredUniformity;
    };
    return std::equal(lines.begin(), lines.end(), o.lines.begin(), o.lines.end(), sameLines) &&
           std::equal(kigu.begin(), kigu.end(), o.kigu.begin(), o.kigu.end(), sameKigu) &&
           std::equal(hasira.begin(), hasira.end(), o.hasira.begin(), o.hasira.end(), sameHasira) &&
           std::equal(areas.begin(), areas.end(), o.areas.begin(), o.areas.end(), sameArea) && room == o.room;
}

PlanItems itemsOf(const model::Plan& plan) {
    PlanItems items;
    plan.lines.forEach([&](const model::LineRecord& l) { items.lines.push_back(l); });
    plan.kigu.forEach([&](const model::KiguRecord& k) { items.kigu.push_back(k); });
    plan.hasira.forEach([&](const model::HasiraRecord& h) { items.hasira.push_back(h); });
    items.areas = plan.areas;
    items.room = plan.room;
    return items;
}

void putItems(model::Plan& plan, const PlanItems& items) {
    plan.lines.clear();
    plan.kigu.clear();
    plan.hasira.clear();
    for (const auto& l : items.lines) plan.lines.add(l);
    for (const auto& k : items.kigu) plan.kigu.add(k);
    for (const auto& h : items.hasira) plan.hasira.add(h);
    plan.areas = items.areas;
    plan.room = items.room;
}

ui::Point selectionCentre(const model::Plan& plan, const std::vector<ItemRef>& selection) {
    if (selection.empty()) return {};
    Box all = itemBox(plan, selection.front());
    for (const ItemRef& r : selection) {
        const Box b = itemBox(plan, r);
        all = Box{std::min(all.left, b.left), std::min(all.top, b.top), std::max(all.right, b.right), std::max(all.bottom, b.bottom)};
    }
    return {static_cast<std::int32_t>((all.left + all.right) / 2), static_cast<std::int32_t>((all.top + all.bottom) / 2)};
}

void moveItems(model::Plan& plan, const std::vector<ItemRef>& selection, int dx, int dy) {
    auto f = [dx, dy](double x, double y) { return std::pair{x + dx, y + dy}; };
    transformItems(plan, selection, f, true, false, false);
}

std::vector<ItemRef> copyItems(model::Plan& plan, const std::vector<ItemRef>& selection, int dx, int dy) {
    std::vector<ItemRef> copies;
    for (const ItemRef& r : sortedByKindThenIndex(selection)) {
        switch (r.kind) {
        case ItemKind::Wall: copies.push_back({r.kind, plan.lines.add(plan.lines[r.index])}); break;
        case ItemKind::Fixture: copies.push_back({r.kind, plan.kigu.add(plan.kigu[r.index])}); break;
        case ItemKind::Pillar: copies.push_back({r.kind, plan.hasira.add(plan.hasira[r.index])}); break;
        case ItemKind::Area:
            plan.areas.push_back(plan.areas.at(static_cast<std::size_t>(r.index - 1)));
            copies.push_back({r.kind, static_cast<int>(plan.areas.size())});
            break;
        }
    }
    moveItems(plan, copies, dx, dy);
    return copies;
}

void deleteItems(model::Plan& plan, const std::vector<ItemRef>& selection) {
    const auto sorted = sortedByKindThenIndex(selection);
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
        switch (it->kind) {
        case ItemKind::Wall: plan.lines.removeAt(it->index); break;
        case ItemKind::Fixture: plan.kigu.removeAt(it->index); break;
        case ItemKind::Pillar: plan.hasira.removeAt(it->index); break;
        case ItemKind::Area: plan.areas.erase(plan.areas.begin() + (it->index - 1)); break;
        }
    }
}

void rotateItems(model::Plan& plan, const std::vector<ItemRef>& selection, double degrees, ui::Point centre) {
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0) turn += 360.0;
    const double cx = centre.x, cy = centre.y;
    const bool quarter = std::fabs(turn - 90) < 1e-9 || std::fabs(turn - 270) < 1e-9;
    const bool half = std::fabs(turn - 180) < 1e-9;
    if (quarter || half) {
        // Whole quarter turns map whole pixels onto whole pixels exactly.
        const int q = static_cast<int>(std::lround(turn / 90.0));
        auto f = [q, cx, cy](double x, double y) {
            double dx = x - cx, dy = y - cy;
            for (int i = 0; i < q; ++i) {
                const double t = dx;
                dx = dy;
                dy = -t;
            }
            return std::pair{cx + dx, cy + dy};
        };
        transformItems(plan, selection, f, true, false, quarter);
        return;
    }
    if (turn < 1e-9 || turn > 360.0 - 1e-9) return;
    const double c = std::cos(turn * kPi / 180.0), s = std::sin(turn * kPi / 180.0);
    auto f = [c, s, cx, cy](double x, double y) {
        const double dx = x - cx, dy = y - cy;
        return std::pair{cx + dx * c + dy * s, cy - dx * s + dy * c};
    };
    transformItems(plan, selection, f, false, false, false);
}

void mirrorItems(model::Plan& plan, const std::vector<ItemRef>& selection, bool leftRight, ui::Point centre) {
    const double cx = centre.x, cy = centre.y;
    auto f = [leftRight, cx, cy](double x, double y) {
        return leftRight ? std::pair{2 * cx - x, y} : std::pair{x, 2 * cy - y};
    };
    transformItems(plan, selection, f, true, true, false);
}

std::vector<Outline> selectionOutlines(const model::Plan& plan, const std::vector<ItemRef>& selection, ui::Point offset) {
    std::vector<Outline> out;
    auto rect = [&](std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
        auto pt = [](std::int64_t x, std::int64_t y) { return ui::Point{rounded(static_cast<double>(x)), rounded(static_cast<double>(y))}; };
        out.push_back(Outline{{pt(l, t), pt(r, t), pt(r, b), pt(l, b)}, true});
    };
    for (const ItemRef& r : selection) {
        switch (r.kind) {
        case ItemKind::Wall: {
            const auto& l = plan.lines[r.index];
            out.push_back(Outline{l.isArc() ? arcPoints(l) : std::vector<ui::Point>{{l.x1, l.y1}, {l.x2, l.y2}}, false});
            break;
        }
        case ItemKind::Fixture: {
            const auto& k = plan.kigu[r.index];
            const int m = static_cast<int>(kMarkReach) + 1;
            rect(static_cast<std::int64_t>(k.x) - m, static_cast<std::int64_t>(k.y) - m, static_cast<std::int64_t>(k.x) + m,
                 static_cast<std::int64_t>(k.y) + m);
            break;
        }
        case ItemKind::Pillar: {
            const auto& h = plan.hasira[r.index];
            const Box b = pillarBox(h);
            if (h.pillarKind == model::kCylindricalPillar) {
                Outline circle{{}, true};
                for (int i = 0; i < 32; ++i) {
                    const double t = 2 * kPi * i / 32;
                    circle.points.push_back({rounded(h.x + (h.halfSize + 2) * std::cos(t)), rounded(h.y + (h.halfSize + 2) * std::sin(t))});
                }
                out.push_back(circle);
            } else {
                rect(b.left - 2, b.top - 2, b.right + 2, b.bottom + 2);
            }
            break;
        }
        case ItemKind::Area: {
            const Box b = areaBox(plan.areas.at(static_cast<std::size_t>(r.index - 1)));
            rect(b.left, b.top, b.right, b.bottom);
            break;
        }
        }
    }
    for (auto& o : out)
        for (auto& p : o.points) p = ui::Point{shifted(p.x, offset.x), shifted(p.y, offset.y)};
    return out;
}

std::optional<int> mmToPixels(double mm, float mmPerPixel) {
    if (!(mmPerPixel > 0) || !std::isfinite(mm)) return std::nullopt;
    const double v = mm / static_cast<double>(mmPerPixel);
    if (std::fabs(v) > 1000000.0) return std::nullopt;
    return static_cast<int>(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5));
}

} // namespace editor
