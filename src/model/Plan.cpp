// Plan geometry rules: normalisation, extent, rescale and the scale grid from a denominator.
#include "model/Plan.h"

#include "base/Cp932.h"

#include <algorithm>
#include <cmath>

namespace model {

std::int32_t LineRecord::x(int i) const {
    switch (i) {
    case 1: return x1;
    case 2: return x2;
    case 3: return x3;
    case 4: return x4;
    default: throw std::out_of_range("line point index");
    }
}

std::int32_t LineRecord::y(int i) const {
    switch (i) {
    case 1: return y1;
    case 2: return y2;
    case 3: return y3;
    case 4: return y4;
    default: throw std::out_of_range("line point index");
    }
}

void LineRecord::setX(int i, std::int32_t v) {
    switch (i) {
    case 1: x1 = v; break;
    case 2: x2 = v; break;
    case 3: x3 = v; break;
    case 4: x4 = v; break;
    default: throw std::out_of_range("line point index");
    }
}

void LineRecord::setY(int i, std::int32_t v) {
    switch (i) {
    case 1: y1 = v; break;
    case 2: y2 = v; break;
    case 3: y3 = v; break;
    case 4: y4 = v; break;
    default: throw std::out_of_range("line point index");
    }
}

void normaliseLine(LineRecord& l) {
    l.minX = std::min(l.x1, l.x2);
    l.maxX = std::max(l.x1, l.x2);
    l.minY = std::min(l.y1, l.y2);
    l.maxY = std::max(l.y1, l.y2);
}

void normaliseArea(AreaRecord& a) {
    if (a.x1 > a.x2) std::swap(a.x1, a.x2);
    if (a.y1 > a.y2) std::swap(a.y1, a.y2);
}

AreaFault areaFault(const AreaRecord& a) {
    if (a.name.empty() || a.name.find_first_of("\r\n") != std::string::npos || !base::isValidUtf8(a.name) ||
        base::cp932ByteLength(a.name) > kMaxAreaNameBytes || !base::cp932Holds(a.name))
        return AreaFault::Name;
    if (a.requiredLux < 0 || a.requiredLux > kMaxRequiredLux) return AreaFault::Lux;
    if (!(a.requiredUniformity >= 0 && a.requiredUniformity <= 1)) return AreaFault::Uniformity;
    return AreaFault::None;
}

RoomFault roomFault(const RoomRecord& r) {
    if (r.roomHeight < 0 || r.roomHeight > kMaxRoomHeightMm) return RoomFault::RoomHeight;
    if (r.workPlaneHeight < 0 || r.workPlaneHeight > kMaxRoomHeightMm) return RoomFault::WorkPlane;
    if (r.roomHeight > 0 && r.workPlaneHeight >= r.roomHeight) return RoomFault::WorkPlane;
    auto outside = [](float rho) { return !(rho >= 0 && rho <= kMaxReflectance); };
    if (outside(r.ceiling)) return RoomFault::Ceiling;
    if (outside(r.walls)) return RoomFault::Walls;
    if (outside(r.floor)) return RoomFault::Floor;
    return RoomFault::None;
}

void normaliseAllLines(Plan& plan) { plan.lines.forEach([](LineRecord& l) { normaliseLine(l); }); }

namespace {

// Whether the counter-clockwise (on screen) arc from angle a0 to a1 passes the direction `dir`;
// angles in degrees measured counter-clockwise as seen on the screen.
bool arcPasses(double a0, double a1, double dir) {
    auto norm = [](double a) {
        a = std::fmod(a, 360.0);
        return a < 0 ? a + 360.0 : a;
    };
    double span = norm(a1 - a0);
    if (span == 0) span = 360.0;
    return norm(dir - a0) <= span;
}

} // namespace

Extent computeExtent(const Plan& plan, int screenWidth, int screenHeight) {
    Extent e{10000, 1, 10000, 1};
    auto widen = [&](std::int64_t x, std::int64_t y) {
        // An arc's circle may reach past the 32-bit coordinates its points are stored in.
        x = std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX);
        y = std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX);
        e.Xs = static_cast<std::int32_t>(std::min<std::int64_t>(e.Xs, x));
        e.Xe = static_cast<std::int32_t>(std::max<std::int64_t>(e.Xe, x));
        e.Ys = static_cast<std::int32_t>(std::min<std::int64_t>(e.Ys, y));
        e.Ye = static_cast<std::int32_t>(std::max<std::int64_t>(e.Ye, y));
    };
    plan.lines.forEach([&](const LineRecord& l) {
        widen(l.x1, l.y1);
        widen(l.x2, l.y2);
        if (!l.isArc()) return;
        const double cx = (static_cast<double>(l.x3) + l.x4) / 2.0;
        const double cy = (static_cast<double>(l.y3) + l.y4) / 2.0;
        const double r = std::abs(static_cast<double>(l.x4) - l.x3) / 2.0;
        const double a0 = std::atan2(-(l.y1 - cy), l.x1 - cx) * 180.0 / M_PI;
        const double a1 = std::atan2(-(l.y2 - cy), l.x2 - cx) * 180.0 / M_PI;
        // East, north, west and south points of the circle, where the arc passes them.
        if (arcPasses(a0, a1, 0)) widen(static_cast<std::int64_t>(cx + r), static_cast<std::int64_t>(cy));
        if (arcPasses(a0, a1, 90)) widen(static_cast<std::int64_t>(cx), static_cast<std::int64_t>(cy - r));
        if (arcPasses(a0, a1, 180)) widen(static_cast<std::int64_t>(cx - r), static_cast<std::int64_t>(cy));
        if (arcPasses(a0, a1, 270)) widen(static_cast<std::int64_t>(cx), static_cast<std::int64_t>(cy + r));
    });
    plan.kigu.forEach([&](const KiguRecord& k) { widen(k.x, k.y); });
    plan.hasira.forEach([&](const HasiraRecord& h) {
        widen(static_cast<std::int64_t>(h.x) - h.halfSize, static_cast<std::int64_t>(h.y) - h.halfSize);
        widen(static_cast<std::int64_t>(h.x) + h.halfSize, static_cast<std::int64_t>(h.y) + h.halfSize);
    });
    for (const AreaRecord& a : plan.areas) {
        widen(a.x1, a.y1);
        widen(a.x2, a.y2);
    }
    if (e.Xs > 5) e.Xs -= 5;
    if (e.Ys > 5) e.Ys -= 5;
    e.Xe = static_cast<std::int32_t>(std::min<std::int64_t>(static_cast<std::int64_t>(e.Xe) + 8, INT32_MAX));
    e.Ye = static_cast<std::int32_t>(std::min<std::int64_t>(static_cast<std::int64_t>(e.Ye) + 8, INT32_MAX));
    if (e.Xs >= e.Xe) {
        e.Xs = 0;
        e.Xe = screenWidth;
    }
    if (e.Ys >= e.Ye) {
        e.Ys = 0;
        e.Ye = screenHeight;
    }
    return e;
}

bool rescalePlan(Plan& plan, float newMmPerPixel) {
    const float old = plan.mmPerPixel;
    if (!(old > 0) || !(newMmPerPixel > 0) || newMmPerPixel == old) return false;
    auto scale = [&](std::int32_t v) {
        double r = std::trunc(static_cast<double>(v) * old / newMmPerPixel + 0.5);
        return static_cast<std::int32_t>(std::clamp(r, -2147483648.0, 2147483647.0));
    };
    plan.lines.forEach([&](LineRecord& l) {
        for (int i = 1; i <= 4; ++i) {
            l.setX(i, scale(l.x(i)));
            l.setY(i, scale(l.y(i)));
        }
        normaliseLine(l);
    });
    plan.hasira.forEach([&](HasiraRecord& h) {
        h.x = scale(h.x);
        h.y = scale(h.y);
        h.halfSize = scale(h.halfSize);
    });
    for (AreaRecord& a : plan.areas) {
        a.x1 = scale(a.x1);
        a.y1 = scale(a.y1);
        a.x2 = scale(a.x2);
        a.y2 = scale(a.y2);
    }
    plan.kigu.forEach([&](KiguRecord& k) {
        k.x = scale(k.x);
        k.y = scale(k.y);
        k.anchorX = k.x;
        k.anchorY = k.y;
    });
    plan.mmPerPixel = newMmPerPixel;
    return true;
}

ScaleFromDenominator scaleFromDenominator(std::int32_t n, float s) {
    ScaleFromDenominator r;
    if (n < 1 || !(s > 0)) {
        r.mmPerPixel = -1.0f;
        return r;
    }
    const float nf = static_cast<float>(n);
    if (n >= 200) {
        r.unitPixels = static_cast<std::int32_t>(500.0f / nf / s);
        const std::int32_t c = r.unitPixels;
        r.pitches = {c, 2 * c, 10 * c, 20 * c};
        r.pitchMm = {500, 1000, 5000, 10000};
        r.pixelsPerMetre = 2 * c;
    } else if (n <= 90) {
        r.unitPixels = static_cast<std::int32_t>(100.0f / nf / s + 0.5f);
        const std::int32_t c = r.unitPixels;
        r.pitches = {c, 2 * c, 5 * c, 10 * c, 50 * c};
        r.pitchMm = {100, 200, 500, 1000, 5000};
        r.pixelsPerMetre = 10 * c;
    } else {
        r.unitPixels = static_cast<std::int32_t>(200.0f / nf / s + 0.5f);
        const std::int32_t c = r.unitPixels;
        r.pitches = {c, 5 * c, 25 * c, 50 * c};
        r.pitchMm = {200, 1000, 5000, 10000};
        r.pixelsPerMetre = 5 * c;
    }
    r.mmPerPixel = r.pixelsPerMetre > 0 ? 1000.0f / static_cast<float>(r.pixelsPerMetre) : -1.0f;
    return r;
}

std::int32_t rotationFor(std::int32_t typeIndex, bool flVertical) {
    return (flVertical && typeIndex >= 19 && typeIndex <= 24) ? 90 : 0;
}

} // namespace model
