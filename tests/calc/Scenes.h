// Fixture types with analytic distributions and seeded random plans for the calculation tests.
#pragma once
#include "catalog/FixtureType.h"
#include "model/Plan.h"

#include <cmath>
#include <random>

namespace calc::testing {

// I(γ) = peak · cos^n γ up to 90°, nothing above; the same in both planes when planeCount is 1.
inline catalog::BunpuHinban cosineType(float peak, double n, int kou = 1000, int tosu = 1, int colorTemp = 3000) {
    catalog::BunpuHinban t;
    t.hinban = "T";
    t.kou = kou;
    t.tosu = tosu;
    t.colorTemp = colorTemp;
    t.planeCount = 1;
    t.maintFactor = {0.9f, 0.8f, 0.7f};
    t.lampFactor = 1.0f;
    for (int g = 0; g <= 180; ++g) {
        const double c = std::cos(g * M_PI / 180.0);
        t.intensity[0][static_cast<std::size_t>(g)] = g <= 90 ? static_cast<float>(peak * std::pow(std::max(0.0, c), n)) : 0.0f;
    }
    t.intensity[1] = t.intensity[0];
    t.intensity[2] = t.intensity[0];
    return t;
}

// A linear luminaire: plane 0 (across) a batwing, plane 1 (along) a narrower cosine.
inline catalog::BunpuHinban linearType(int sizeX, int kou = 3000, int colorTemp = 5000) {
    catalog::BunpuHinban t = cosineType(300, 1.0, kou, 1, colorTemp);
    t.planeCount = 2;
    t.sizeX = sizeX;
    t.sizeY = 80;
    for (int g = 0; g <= 180; ++g) {
        const double r = g * M_PI / 180.0;
        const double bat = g <= 90 ? 250.0 * std::cos(r) * (1.0 + 0.8 * std::sin(r) * std::sin(r)) : 0.0;
        const double along = g <= 90 ? 280.0 * std::pow(std::cos(r), 1.5) : 0.0;
        t.intensity[0][static_cast<std::size_t>(g)] = static_cast<float>(bat);
        t.intensity[1][static_cast<std::size_t>(g)] = static_cast<float>(along);
    }
    return t;
}

struct Scene {
    model::Plan plan;
    catalog::TourokuTable touroku;
    int width = 0, height = 0;  // drawing surface
    int tenDaka = 2400;
};

// A random plan on a small surface: straight walls of every direction, arcs, both pillar kinds, compact and
// long types, rotated fixtures, height offsets (some at or below the plane) and fixtures off the surface.
inline Scene randomScene(unsigned seed, int width = 260, int height = 180) {
    std::mt19937 rng(seed);
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Scene sc;
    sc.width = width;
    sc.height = height;
    sc.plan.mmPerPixel = 20.0f + static_cast<float>(uni(0, 20));
    sc.plan.scaleDenominator = 100;
    sc.touroku[1] = cosineType(400, 1.0 + uni(0, 4), 1000 + uni(0, 3000), uni(1, 2), 2700 + 100 * uni(0, 10));
    sc.touroku[2] = cosineType(900, 8.0, 2000, 1, 6500);
    sc.touroku[3] = linearType(1200 + 40 * uni(0, 10));
    sc.touroku[4] = cosineType(300, 2.0, 0, 1, 4000);  // kou 0: never calculated
    sc.touroku[20] = linearType(600, 2500, 4200);
    const int walls = uni(2, 12);
    for (int i = 0; i < walls; ++i) {
        model::LineRecord l;
        const int kind = uni(0, 4);
        l.x1 = uni(-20, width + 20);
        l.y1 = uni(-20, height + 20);
        if (kind == 0) {  // horizontal
            l.x2 = uni(-20, width + 20);
            l.y2 = l.y1;
        } else if (kind == 1) {  // vertical
            l.x2 = l.x1;
            l.y2 = uni(-20, height + 20);
        } else if (kind == 2) {  // diagonal
            l.x2 = uni(-20, width + 20);
            l.y2 = uni(-20, height + 20);
        } else {  // arc: bounding box of a circle, two points on it
            l.kind = 'A';
            const int r = uni(0, 60), cx = uni(0, width), cy = uni(0, height);
            l.x3 = cx - r;
            l.y3 = cy - r;
            l.x4 = cx + r;
            l.y4 = cy + r;
            const double a0 = uni(0, 359) * M_PI / 180.0, a1 = uni(0, 359) * M_PI / 180.0;
            l.x1 = cx + static_cast<int>(r * std::cos(a0));
            l.y1 = cy - static_cast<int>(r * std::sin(a0));
            l.x2 = cx + static_cast<int>(r * std::cos(a1));
            l.y2 = cy - static_cast<int>(r * std::sin(a1));
        }
        model::normaliseLine(l);
        sc.plan.lines.add(l);
    }
    const int pillars = uni(0, 6);
    for (int i = 0; i < pillars; ++i) {
        model::HasiraRecord h;
        h.pillarKind = uni(0, 1) ? model::kSquarePillar : model::kCylindricalPillar;
        h.x = uni(0, width);
        h.y = uni(0, height);
        h.halfSize = uni(0, 15);
        sc.plan.hasira.add(h);
    }
    const int fixtures = uni(1, 8);
    const int types[] = {1, 2, 3, 4, 20};
    for (int i = 0; i < fixtures; ++i) {
        model::KiguRecord k;
        k.typeIndex = types[uni(0, 4)];
        k.x = uni(-40, width + 40);
        k.y = uni(-40, height + 40);
        const int h = uni(0, 5);
        k.heightOffset = h == 0 ? 500 : (h == 1 ? -300 : (h == 2 && uni(0, 3) == 0 ? -sc.tenDaka : 0));
        k.rotation = (k.typeIndex == 3 || k.typeIndex == 20) && uni(0, 1) ? 90 : 0;
        sc.plan.kigu.add(k);
        // Degenerate obstacles right at the luminaire: a wall from its centre (often along a grid line),
        // a tiny arc and a pillar of size 0 to 2 beside it.
        if (uni(0, 2) == 0) {
            model::LineRecord l;
            l.x1 = k.x;
            l.y1 = k.y;
            l.x2 = uni(0, 2) == 0 ? k.x : k.x + uni(-30, 30);
            l.y2 = uni(0, 2) == 0 ? k.y : k.y + uni(-30, 30);
            model::normaliseLine(l);
            sc.plan.lines.add(l);
            model::LineRecord a;
            a.kind = 'A';
            const int r = uni(0, 3), cx = k.x + uni(-10, 10), cy = k.y + uni(-10, 10);
            a.x3 = cx - r, a.y3 = cy - r, a.x4 = cx + r, a.y4 = cy + r;
            a.x1 = cx + r, a.y1 = cy, a.x2 = cx, a.y2 = cy - r;
            model::normaliseLine(a);
            sc.plan.lines.add(a);
            sc.plan.hasira.add(model::HasiraRecord{uni(0, 1) ? model::kSquarePillar : model::kCylindricalPillar, k.x + uni(-20, 20),
                                                   k.y + uni(-20, 20), uni(0, 2), 0});
        }
    }
    return sc;
}

} // namespace calc::testing
