// The inter-reflection engine against closed-form rooms, flux conservation, walls between rooms and an independent photon tracer.
#include "calc/Calculation.h"
#include "calc/ObstacleIndex.h"
#include "calc/Reflections.h"
#include "calc/Scenes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>

namespace calc {
namespace {

constexpr double kMmPerPixel = 20;

catalog::BunpuHinban isotropicType(int kou, int colorTemp = 4000) {
    catalog::BunpuHinban t = testing::cosineType(0, 1.0, kou, 1, colorTemp);
    for (auto& plane : t.intensity) plane.fill(static_cast<float>(1000.0 / (4 * M_PI)));
    return t;
}

// A room drawn in code at 20 mm per pixel, reflections on, maintenance off, step 1.
struct TestRoom {
    model::Document doc;
    catalog::TourokuTable touroku;
    CalcSettings settings;

    TestRoom(int width, int height, int roomHeight) {
        doc.surfaceWidth = width;
        doc.surfaceHeight = height;
        doc.extent = {0, width, 0, height};
        doc.plan.mmPerPixel = static_cast<float>(kMmPerPixel);
        doc.plan.scaleDenominator = 100;
        doc.tenDaka = 1200;
        doc.tenDakaLabel = "1200";
        doc.plan.room.on = true;
        doc.plan.room.roomHeight = roomHeight;
        doc.plan.room.workPlaneHeight = 800;
        settings.maintenanceOn = false;
        settings.calcStep = 1;
    }
    void reflectances(float ceiling, float walls, float floor) {
        doc.plan.room.ceiling = ceiling;
        doc.plan.room.walls = walls;
        doc.plan.room.floor = floor;
    }
    void wall(int x1, int y1, int x2, int y2) {
        model::LineRecord l;
        l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
        model::normaliseLine(l);
        doc.plan.lines.add(l);
    }
    // A quarter-circle arc wall, counter-clockwise on screen from (x1, y1) to (x2, y2) about (cx, cy).
    void arc(int cx, int cy, int r, int x1, int y1, int x2, int y2) {
        model::LineRecord l;
        l.kind = 'A';
        l.x3 = cx - r, l.y3 = cy - r, l.x4 = cx + r, l.y4 = cy + r;
        l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
        model::normaliseLine(l);
        doc.plan.lines.add(l);
    }
    void rectangle(int x0, int y0, int x1, int y1) {
        wall(x0, y0, x1, y0);
        wall(x1, y0, x1, y1);
        wall(x1, y1, x0, y1);
        wall(x0, y1, x0, y0);
    }
    // A luminaire of type slot t at plan (x, y) and zMm above the floor.
    void lamp(int x, int y, int t, int zMm) {
        doc.plan.kigu.add(model::KiguRecord{x, y, zMm - doc.plan.room.workPlaneHeight - doc.tenDaka, t, 0, x, y, 0});
    }
    void pillar(std::int32_t kind, int x, int y, int half) { doc.plan.hasira.add(model::HasiraRecord{kind, x, y, half, 0}); }

    // The reflected illuminance alone: the pass run on a zeroed grid.
    IndirectFigures solve(IlluminanceGrid& grid, int threads = 2, std::vector<ElementFigures>* elements = nullptr) {
        grid.allocate(doc.surfaceWidth, doc.surfaceHeight);
        grid.zero();
        IndirectFigures fig;
        EXPECT_EQ(runRoomPass(doc, touroku, doc.tenDaka, settings, grid, threads, nullptr, fig, elements), RoomPassResult::Completed);
        return fig;
    }
    // cancelInReflections: the user presses cancel once the reflections' progress window is up.
    CalcResult calculate(bool cancelInReflections = false) {
        WallMask mask;
        mask.allocate(doc.surfaceWidth, doc.surfaceHeight);
        struct Progress : CalcProgress {
            bool cancel = false, inReflections = false;
            void progressShow(const std::string& caption, const std::string&, int) override {
                inReflections = caption == kCaptionReflections;
            }
            void progressSet(int) override {}
            bool processEvents() override { return cancel && inReflections; }
            void progressHide() override {}
        } progress;
        progress.cancel = cancelInReflections;
        return calc::calculate(CalcInput{doc, touroku, settings, mask, progress, doc.tenDakaLabel, 2});
    }
};

double totalArea(const IndirectFigures& f) {
    return std::accumulate(f.surfaces.begin(), f.surfaces.end(), 0.0, [](double s, const SurfaceFigures& x) { return s + x.area; });
}
double totalFlux(const IndirectFigures& f, double SurfaceFigures::*lux) {
    return std::accumulate(f.surfaces.begin(), f.surfaces.end(), 0.0,
                           [&](double s, const SurfaceFigures& x) { return s + x.area * (x.*lux); });
}

// CIE 171:2006 test 5.8: an isotropic source of 10 000 lm in the middle of a 4 m cube of uniform
// reflectance; the mean reflected illuminance over all surfaces is ρΦ / (S (1 − ρ)). A source on the
// ceiling sends only its lower half into the room.
TEST(Reflections, CubeWithIsotropicSourceMatchesTheIntegratingSphere) {
    for (const double rho : {0.2, 0.5, 0.8}) {
        TestRoom room(220, 220, 4000);
        room.touroku[1] = isotropicType(10000);
        room.rectangle(0, 0, 200, 200);
        room.lamp(100, 100, 1, 2000);
        room.reflectances(static_cast<float>(rho), static_cast<float>(rho), static_cast<float>(rho));
        IlluminanceGrid grid;
        const IndirectFigures fig = room.solve(grid);
        ASSERT_TRUE(fig.on);
        EXPECT_NEAR(fig.luminaireFlux, 10000, 5);
        EXPECT_NEAR(totalArea(fig), 96.0, 1e-6) << "inner faces only: the outer faces look out of the floor's rectangle";
        const double expected = rho * 10000 / (96.0 * (1 - rho));  // 26.04, 104.17, 416.67 lx
        const double mean = totalFlux(fig, &SurfaceFigures::indirectLux) / totalArea(fig);
        EXPECT_NEAR(mean, expected, expected * 0.01) << "rho " << rho;
        EXPECT_LT(fig.residual, 1e-6);
        EXPECT_GT(fig.iterations, 1);
    }
    TestRoom room(220, 220, 4000);
    room.touroku[1] = isotropicType(10000);
    room.rectangle(0, 0, 200, 200);
    room.lamp(100, 100, 1, 4000);
    room.reflectances(0, 0, 0);
    IlluminanceGrid grid;
    const IndirectFigures fig = room.solve(grid);
    EXPECT_NEAR(fig.luminaireFlux, 5000, 3);
    EXPECT_EQ(fig.surfaces[0].kind, "ceiling");
    EXPECT_EQ(fig.surfaces[0].directLux, 0.0) << "a luminaire on the ceiling does not light the ceiling";
    EXPECT_NEAR(totalFlux(fig, &SurfaceFigures::directLux), 5000, 5);
}

// An L-shaped room with an arc corner, a square and a round pillar and two kinds of luminaire.
TestRoom lShapedRoom() {
    TestRoom room(320, 320, 3000);
    room.touroku[1] = isotropicType(6000, 3000);
    room.touroku[2] = testing::linearType(1200, 4000, 5000);
    room.wall(0, 0, 300, 0);
    room.wall(300, 0, 300, 150);
    room.wall(300, 150, 150, 150);
    room.wall(150, 150, 150, 300);
    room.wall(150, 300, 50, 300);
    room.arc(50, 250, 50, 0, 250, 50, 300);
    room.wall(0, 250, 0, 0);
    room.pillar(model::kSquarePillar, 220, 70, 15);
    room.pillar(model::kCylindricalPillar, 80, 120, 12);
    room.lamp(100, 60, 1, 2500);
    room.lamp(220, 110, 2, 3000);
    room.doc.plan.kigu[2].rotation = 90;
    room.lamp(60, 220, 2, 2900);
    return room;
}

// What the luminaires send lands on the surfaces (nothing escapes a closed room), and the light the
// surfaces reflect, all received again, adds up to ρΦ / (1 − ρ). The same for every thread count.
TEST(Reflections, ClosedRoomsConserveFluxWhateverTheirShapeAndThreads) {
    TestRoom black = lShapedRoom();
    black.reflectances(0, 0, 0);
    IlluminanceGrid grid;
    const IndirectFigures dark = black.solve(grid);
    ASSERT_GT(dark.luminaireFlux, 10000);
    EXPECT_NEAR(totalFlux(dark, &SurfaceFigures::directLux), dark.luminaireFlux, dark.luminaireFlux * 0.001);
    EXPECT_EQ(totalFlux(dark, &SurfaceFigures::indirectLux), 0.0);
    ASSERT_EQ(dark.surfaces.size(), 4u);
    EXPECT_EQ(dark.surfaces[3].kind, "pillars");
    EXPECT_GT(dark.surfaces[3].directLux, 0.0);

    TestRoom grey = lShapedRoom();
    grey.reflectances(0.5f, 0.5f, 0.5f);
    IlluminanceGrid two, one;
    const IndirectFigures f2 = grey.solve(two, 2);
    const double phi = f2.luminaireFlux;
    EXPECT_NEAR(totalFlux(f2, &SurfaceFigures::indirectLux), phi, phi * 0.01) << "ρΦ/(1−ρ) = Φ at ρ = 0.5";

    const IndirectFigures f1 = grey.solve(one, 1);
    EXPECT_EQ(f1.iterations, f2.iterations);
    EXPECT_EQ(f1.residual, f2.residual);
    EXPECT_EQ(totalFlux(f1, &SurfaceFigures::indirectLux), totalFlux(f2, &SurfaceFigures::indirectLux));
    EXPECT_TRUE(one.lux == two.lux && one.ctSum == two.ctSum) << "one and two threads, bit for bit";
}

// A point source over the floor: the direct illuminance of floor elements is I(γ) cos γ / d².
TEST(Reflections, DirectLightOnTheFloorFollowsTheInverseSquareLaw) {
    TestRoom room(620, 620, 4000);
    room.touroku[1] = testing::cosineType(500, 1.0, 2000);  // I(γ) = 500 cos γ cd per 1000 lm
    room.rectangle(0, 0, 600, 600);
    room.lamp(300, 300, 1, 3000);
    room.reflectances(0, 0, 0);
    IlluminanceGrid grid;
    std::vector<ElementFigures> elements;
    const IndirectFigures fig = room.solve(grid, 2, &elements);
    // Φ of I0 cos γ over the lower hemisphere is π I0.
    EXPECT_NEAR(fig.luminaireFlux, M_PI * 500 * 2, 2);
    int checked = 0;
    for (const ElementFigures& e : elements) {
        if (e.kind != "floor") continue;
        const double dx = e.x - 6000, dy = e.y - 6000, h = 3000;
        const double d2 = dx * dx + dy * dy + h * h, cosG = h / std::sqrt(d2);
        if (cosG < 0.5) continue;
        const double expected = 1000.0 * cosG * cosG / d2 * 1e6;  // I = 1000 cos γ cd, lux = lm/m²
        EXPECT_NEAR(e.directLux, expected, expected * 0.02) << e.x << "," << e.y;
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

// Black surfaces add nothing: the grid of the calculation stays bit for bit the direct one. A wall between
// two rooms keeps the reflected light in the lit one; a door in it lets some through.
TEST(Reflections, BlackRoomsLeaveTheGridAloneAndWallsKeepLightOut) {
    auto twoRooms = [](bool door) {
        TestRoom room(420, 220, 3000);
        room.touroku[1] = isotropicType(8000);
        room.rectangle(0, 0, 400, 200);
        if (door) {
            room.wall(200, 0, 200, 80);
            room.wall(200, 120, 200, 200);
        } else {
            room.wall(200, 0, 200, 200);
        }
        room.lamp(100, 100, 1, 2500);
        return room;
    };
    TestRoom off = twoRooms(false);
    off.doc.plan.room.on = false;
    const CalcResult direct = off.calculate();
    TestRoom black = twoRooms(false);
    black.reflectances(0, 0, 0);
    const CalcResult same = black.calculate();
    ASSERT_TRUE(same.indirect.on);
    EXPECT_TRUE(same.grid.lux == direct.grid.lux && same.grid.ctSum == direct.grid.ctSum);
    EXPECT_EQ(same.indirect.indirectAverageLux, 0.0);

    auto darkRoomLight = [](TestRoom room) {
        IlluminanceGrid grid;
        room.solve(grid);
        double sum = 0;
        for (int y = 10; y <= 190; y += 10) {
            for (int x = 260; x <= 390; x += 10) sum += grid.lux[grid.index(x, y)];
        }
        return sum;
    };
    EXPECT_EQ(darkRoomLight(twoRooms(false)), 0.0);
    EXPECT_GT(darkRoomLight(twoRooms(true)), 1.0);
    // The lit room's grid did change, and a task area in it tells its reflected part; the dark room's
    // area has none.
    TestRoom grey = twoRooms(false);
    model::AreaRecord desk;
    desk.name = "desk";
    desk.x1 = 40, desk.y1 = 40, desk.x2 = 160, desk.y2 = 160;
    grey.doc.plan.areas.push_back(desk);
    desk.x1 = 240, desk.x2 = 360;
    grey.doc.plan.areas.push_back(desk);
    const CalcResult lit = grey.calculate();
    ASSERT_EQ(lit.outcome, CalcOutcome::Done);
    EXPECT_GT(lit.indirect.indirectAverageLux, 1.0);
    EXPECT_GT(lit.stats.averageLux, direct.stats.averageLux);
    ASSERT_EQ(lit.stats.areas.size(), 2u);
    EXPECT_GT(lit.stats.areas[0].indirectAverageLux, 1.0);
    EXPECT_LT(lit.stats.areas[0].indirectAverageLux, lit.stats.areas[0].averageLux);
    EXPECT_EQ(lit.stats.areas[1].indirectAverageLux, 0.0);
    EXPECT_EQ(grey.calculate(true).outcome, CalcOutcome::Cancelled);
}

// ---- an independent reference: photons traced through the same room, sharing nothing with the engine ----

struct TracedRoom {
    struct Seg {
        double ax, ay, bx, by;
    };
    std::vector<Seg> walls;  // vertical, floor to ceiling, both faces
    double H, wp, x0, y0, x1, y1;
    double rhoCeiling, rhoWalls, rhoFloor;
};

struct Ray {
    double ox, oy, oz, dx, dy, dz;
};

// The nearest hit along the ray: distance, surface normal (facing the ray) and reflectance; false if none.
bool traceHit(const TracedRoom& r, const Ray& ray, double& tHit, double n[3], double& rho) {
    tHit = 1e30;
    bool hit = false;
    auto plane = [&](double z, double sign, double reflect) {
        if (ray.dz == 0) return;
        const double t = (z - ray.oz) / ray.dz;
        if (t <= 1e-9 || t >= tHit) return;
        tHit = t;
        n[0] = 0, n[1] = 0, n[2] = sign;
        rho = reflect;
        hit = true;
    };
    plane(0, 1, r.rhoFloor);
    plane(r.H, -1, r.rhoCeiling);
    for (const auto& w : r.walls) {
        const double ex = w.bx - w.ax, ey = w.by - w.ay;
        const double den = ray.dx * ey - ray.dy * ex;
        if (den == 0) continue;
        const double t = ((w.ax - ray.ox) * ey - (w.ay - ray.oy) * ex) / den;
        const double s = ((w.ax - ray.ox) * ray.dy - (w.ay - ray.oy) * ray.dx) / den;
        if (t <= 1e-9 || t >= tHit || s < 0 || s > 1) continue;
        double nx = -ey, ny = ex;
        const double len = std::hypot(nx, ny);
        nx /= len, ny /= len;
        if (nx * ray.dx + ny * ray.dy > 0) nx = -nx, ny = -ny;
        tHit = t;
        n[0] = nx, n[1] = ny, n[2] = 0;
        rho = r.rhoWalls;
        hit = true;
    }
    return hit;
}

// Photons from an isotropic source; after their first reflection, the flux crossing the work plane downward
// inside each region is counted. Returns lux per region.
std::vector<double> traceIndirect(const TracedRoom& room, double sx, double sy, double sz, double flux,
                                  const std::vector<std::array<double, 4>>& regions, int photons) {
    std::mt19937_64 rng(20261209);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<double> tally(regions.size(), 0.0);
    const double share = flux / photons;
    for (int p = 0; p < photons; ++p) {
        const double cz = 2 * u(rng) - 1, phi = 2 * M_PI * u(rng), sr = std::sqrt(1 - cz * cz);
        Ray ray{sx, sy, sz, sr * std::cos(phi), sr * std::sin(phi), cz};
        bool reflected = false;
        for (int bounce = 0; bounce < 200; ++bounce) {
            double t, n[3], rho;
            if (!traceHit(room, ray, t, n, rho)) break;
            if (reflected && ray.dz < 0 && ray.oz > room.wp && ray.oz + t * ray.dz < room.wp) {
                const double k = (room.wp - ray.oz) / ray.dz;
                const double x = ray.ox + k * ray.dx, y = ray.oy + k * ray.dy;
                for (std::size_t i = 0; i < regions.size(); ++i) {
                    const auto& g = regions[i];
                    if (x >= g[0] && x <= g[2] && y >= g[1] && y <= g[3]) tally[i] += share;
                }
            }
            if (u(rng) >= rho) break;
            reflected = true;
            // A diffuse bounce: cosine-weighted about the normal.
            const double r1 = u(rng), r2 = u(rng), st = std::sqrt(r1), ct = std::sqrt(1 - r1), a = 2 * M_PI * r2;
            double t1[3];
            if (std::abs(n[2]) > 0.5) {
                t1[0] = 1, t1[1] = 0, t1[2] = 0;
            } else {
                t1[0] = 0, t1[1] = 0, t1[2] = 1;
            }
            const double b[3] = {n[1] * t1[2] - n[2] * t1[1], n[2] * t1[0] - n[0] * t1[2], n[0] * t1[1] - n[1] * t1[0]};
            const double bl = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
            const double bb[3] = {b[0] / bl, b[1] / bl, b[2] / bl};
            const double c[3] = {n[1] * bb[2] - n[2] * bb[1], n[2] * bb[0] - n[0] * bb[2], n[0] * bb[1] - n[1] * bb[0]};
            ray = Ray{ray.ox + t * ray.dx, ray.oy + t * ray.dy, ray.oz + t * ray.dz,
                      st * std::cos(a) * bb[0] + st * std::sin(a) * c[0] + ct * n[0],
                      st * std::cos(a) * bb[1] + st * std::sin(a) * c[1] + ct * n[1],
                      st * std::cos(a) * bb[2] + st * std::sin(a) * c[2] + ct * n[2]};
        }
    }
    std::vector<double> lux(regions.size());
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const auto& g = regions[i];
        lux[i] = tally[i] / ((g[2] - g[0]) * (g[3] - g[1]) * 1e-6);
    }
    return lux;
}

// A non-rectangular room with two square pillars: the work-plane reflected illuminance the engine gathers
// agrees with the photon tracer's, region by region, within 5 %.
TEST(Reflections, WorkPlaneReflectionsAgreeWithAPhotonTracer) {
    TestRoom room(320, 260, 2800);
    room.touroku[1] = isotropicType(20000);
    // A T-shaped room: a wide hall (0..300 × 0..120) and a wing below it (100..200 × 120..240).
    const std::vector<std::array<int, 4>> outline = {{0, 0, 300, 0},     {300, 0, 300, 120},   {300, 120, 200, 120},
                                                     {200, 120, 200, 240}, {200, 240, 100, 240}, {100, 240, 100, 120},
                                                     {100, 120, 0, 120},  {0, 120, 0, 0}};
    for (const auto& w : outline) room.wall(w[0], w[1], w[2], w[3]);
    room.pillar(model::kSquarePillar, 60, 60, 10);
    room.pillar(model::kSquarePillar, 240, 60, 10);
    room.lamp(150, 60, 1, 2400);
    room.reflectances(0.7f, 0.5f, 0.3f);
    IlluminanceGrid grid;
    const IndirectFigures fig = room.solve(grid);
    ASSERT_TRUE(fig.on);

    TracedRoom traced{{}, 2800, 800, 0, 0, 6000, 4800, 0.7, 0.5, 0.3};
    for (const auto& w : outline) traced.walls.push_back({w[0] * kMmPerPixel, w[1] * kMmPerPixel, w[2] * kMmPerPixel, w[3] * kMmPerPixel});
    for (const auto& [cx, cy] : std::vector<std::pair<double, double>>{{1200, 1200}, {4800, 1200}}) {
        const double m = 200;
        traced.walls.push_back({cx - m, cy - m, cx + m, cy - m});
        traced.walls.push_back({cx + m, cy - m, cx + m, cy + m});
        traced.walls.push_back({cx + m, cy + m, cx - m, cy + m});
        traced.walls.push_back({cx - m, cy + m, cx - m, cy - m});
    }
    // Regions in pixels: the hall's middle, its corner behind a pillar, the far end of the wing.
    const std::vector<std::array<int, 4>> regions = {{120, 30, 180, 90}, {5, 5, 40, 40}, {110, 190, 190, 235}};
    std::vector<std::array<double, 4>> regionsMm;
    for (const auto& g : regions) regionsMm.push_back({g[0] * kMmPerPixel, g[1] * kMmPerPixel, g[2] * kMmPerPixel, g[3] * kMmPerPixel});
    const std::vector<double> reference = traceIndirect(traced, 3000, 1200, 2400, fig.luminaireFlux, regionsMm, 1500000);
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const auto& g = regions[i];
        double sum = 0;
        int n = 0;
        for (int y = g[1]; y <= g[3]; ++y) {
            for (int x = g[0]; x <= g[2]; ++x, ++n) sum += grid.lux[grid.index(x, y)];
        }
        const double engine = sum / n;
        EXPECT_NEAR(engine, reference[i], reference[i] * 0.05) << "region " << i;
    }
}

// The grid index and the fan around a point answer every sight test as a test against every segment does:
// lines through wall ends and corners, along walls, from points on walls, across many cells.
TEST(ObstacleIndexTest, IndexAndFanAgreeWithTheSegmentsOneByOne) {
    std::mt19937 rng(7);
    auto uni = [&](int lo, int hi) { return static_cast<double>(std::uniform_int_distribution<int>(lo, hi)(rng)); };
    std::vector<ObstacleIndex::Segment> segs = {{0, 0, 4000, 0}, {4000, 0, 4000, 3000}, {4000, 3000, 0, 3000}, {0, 3000, 0, 0}};
    for (int i = 0; i < 60; ++i) {
        const double x = uni(-500, 4500), y = uni(-500, 3500);
        segs.push_back({x, y, i % 3 == 0 ? x : x + uni(-800, 800), i % 3 == 1 ? y : y + uni(-800, 800)});
    }
    const ObstacleIndex index(segs);
    auto brute = [&](double px, double py, double qx, double qy) {
        for (const auto& s : segs) {
            if (segmentsMeet(px, py, qx, qy, s.ax, s.ay, s.bx, s.by)) return true;
        }
        return false;
    };
    // Points on the lattice of the segments' ends (so on walls, at corners, in line with walls) and between.
    auto point = [&](double& x, double& y) {
        if (uni(0, 2) == 0) {
            const auto& s = segs[static_cast<std::size_t>(uni(0, static_cast<int>(segs.size()) - 1))];
            const double t = uni(0, 4) / 4.0;
            x = s.ax + (s.bx - s.ax) * t;
            y = s.ay + (s.by - s.ay) * t;
        } else {
            x = uni(-600, 4600) + 0.5;
            y = uni(-600, 3600) + 0.25;
        }
    };
    int mismatches = 0, blocked = 0;
    for (int f = 0; f < 60; ++f) {
        double px, py;
        point(px, py);
        const SightFan fan(index, px, py);
        for (int q = 0; q < 400; ++q) {
            double qx, qy;
            point(qx, qy);
            const bool expected = brute(px, py, qx, qy);
            blocked += expected;
            mismatches += index.blocked(px, py, qx, qy) != expected;
            mismatches += fan.blocked(qx, qy) != expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(blocked, 1000) << "both answers are exercised";
    EXPECT_LT(blocked, 23000);
    EXPECT_TRUE(index.crossesBox(3990, 1000, 4010, 1010));
    EXPECT_FALSE(index.blocked(100, 100, 100, 100)) << "a point sees itself";
}

// The room is refused when a luminaire stands above the ceiling or below the floor, naming it.
TEST(Reflections, RoomRefusalNamesTheLuminaireOutsideTheRoom) {
    TestRoom room(220, 220, 3000);
    room.touroku[1] = isotropicType(1000);
    room.touroku[1].hinban = "DL-100";
    room.rectangle(0, 0, 200, 200);
    room.lamp(50, 50, 1, 2800);
    room.lamp(150, 150, 1, 3001);  // on the ceiling, within a millimetre
    EXPECT_EQ(roomRefusal(room.doc, room.touroku, room.doc.tenDaka), "");
    room.lamp(100, 100, 1, 3200);
    const std::string above = roomRefusal(room.doc, room.touroku, room.doc.tenDaka);
    EXPECT_NE(above.find("No.3"), std::string::npos) << above;
    EXPECT_NE(above.find("DL-100"), std::string::npos);
    EXPECT_NE(above.find("3200"), std::string::npos);
    EXPECT_NE(above.find("3000"), std::string::npos);
    room.doc.plan.room.on = false;
    EXPECT_EQ(roomRefusal(room.doc, room.touroku, room.doc.tenDaka), "") << "no room, nothing to refuse";
    // Without a height the ceiling is the highest luminaire's mounting height.
    room.doc.plan.room.on = true;
    room.doc.plan.room.roomHeight = 0;
    EXPECT_EQ(roomGeometryOf(room.doc, room.touroku, room.doc.tenDaka).roomHeight, 3200);
    room.doc.plan.kigu[1].heightOffset = -2500;  // 300 mm below the floor
    EXPECT_NE(roomRefusal(room.doc, room.touroku, room.doc.tenDaka).find("No.1"), std::string::npos);
}

} // namespace
} // namespace calc
