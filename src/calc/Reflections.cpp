// The inter-reflection engine: the room meshed into elements, direct flux onto them, form factors, the radiosity solve and the gather onto the work plane.
#include "calc/Reflections.h"

#include "base/Text.h"
#include "calc/Calculation.h"
#include "calc/FixturePass.h"
#include "calc/Luminaire.h"
#include "calc/ObstacleIndex.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <thread>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace calc {
namespace {

// How the room is cut into elements. The element edge h follows from the surface area and the budget, so
// the element count stays near kElementBudget whatever the size of the plan; only short walls, arc chords
// and pillar facets (each at least one piece per height band and face) can push it higher, and a plan that
// would pass kMaxElements is refused. The form-factor matrix holds (elements)² floats: at most
// kMaxElements² × 4 bytes (144 MB), about 30 MB at the budget. Everything else grows with the element count
// or with the plan's calculated points (one double per coarse work-plane node, a copy of the grid).
constexpr double kElementBudget = 2800;
constexpr std::size_t kMaxElements = 6000;
constexpr double kMinElementEdge = 100;  // mm
// Reference points and sight samples sit this far (mm) in front of their element, so that a sight test
// from them never crosses the element's own wall.
constexpr double kOffset = 1.0;
// Seen from farther than this many of its diagonals, an element counts as a point at its centre: the form
// factor cos θp cos θe A / (π r²) is then within about 0.7 % of the exact integral (a disc of the same area
// seen along its axis is the worst case, R² / r²), at a fraction of its cost.
constexpr double kFarField = 5.0;
// A luminaire this close (mm) to the ceiling plane is mounted on it: only its lower half lights the room.
constexpr double kCeilingTolerance = 1.0;
constexpr int kPillarFacets = 16;
constexpr double kMaxChordAngle = M_PI / 12;  // 15°
constexpr int kMaxIterations = 2000;
constexpr double kTolerance = 1e-6;
constexpr std::size_t kSolveBlocks = 4;
constexpr int kMaxSubSources = 16;  // per axis of a luminaire
// A work-plane node between gathered ones takes their mean when they differ by no more than this share.
constexpr double kSmoothSpread = 0.1;

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(double k, Vec3 a) { return {k * a.x, k * a.y, k * a.z}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double norm(Vec3 a) { return std::sqrt(dot(a, a)); }

enum class Kind : std::uint8_t { Ceiling, Floor, Walls, Pillars, Escape };
constexpr const char* kKindNames[] = {"ceiling", "floor", "walls", "pillars"};

// A planar convex quadrilateral of the room. Escape elements close the floor's rectangle on its open sides:
// light reaching them leaves the room. Their normal faces into the room like every other, but their
// reference point lies just outside, so that a wall standing on the rectangle's edge hides them.
struct Element {
    std::array<Vec3, 4> v;
    Vec3 centre, normal, ref;
    double area = 0;  // mm²
    double farSq = 0;  // beyond the square root of this (mm) the element is seen as a point
    double rho = 0;
    Kind kind = Kind::Floor;
};

// The plan's obstacles in mm: every wall and arc chord (two faces), every pillar facet (its outer face).
struct Outline {
    struct Face {
        double ax, ay, bx, by;
        double nx, ny;  // plan normal of a pillar facet, outward; walls have both
        double cx = 0, cy = 0, r = -1;  // a pillar facet's pillar: its centre and a circle round it
    };
    std::vector<Face> walls, pillarFaces;
    struct Pillar {
        bool square;
        double x, y, m;
    };
    std::vector<Pillar> pillars;
};

// One luminaire as the room sees it: its point sources, each with an equal share.
struct Lamp {
    int kigu = 0;
    const catalog::BunpuHinban* type = nullptr;
    bool turned = false;   // luminous length along plan y
    bool onCeiling = false;
    double candela = 0;    // cd per (cd per 1000 lm) of the table, per point source
    double flux = 0;       // lm into the room
    std::vector<Vec3> sources;
};

// Points of the plan, each once. Walls and pillars stand full height, so whether two points of the room see
// each other is decided in the plan alone: the bands of one wall piece, and a ceiling element and the floor
// element under it, share their plan points, and one sight test serves them all.
struct PlanPoints {
    std::vector<double> x, y;
    std::map<std::pair<double, double>, std::uint32_t> ids;
    std::uint32_t idOf(double px, double py) {
        const auto [it, added] = ids.emplace(std::make_pair(px, py), static_cast<std::uint32_t>(x.size()));
        if (added) {
            x.push_back(px);
            y.push_back(py);
        }
        return it->second;
    }
    std::size_t size() const { return x.size(); }
};

struct Room {
    RoomGeometry geo;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the floor's rectangle, mm
    double h = 0;                           // element edge, mm
    std::vector<Element> elements;          // surfaces first, then the escape elements
    std::size_t surfaces = 0;               // elements[0, surfaces) are the room's surfaces
    // The plan point of each element's reference point, and of its four sight samples (halfway from its
    // centre to its corners, moved in front of it like the reference point).
    PlanPoints refs, samples;
    std::vector<std::uint32_t> refOf;
    std::vector<std::array<std::uint32_t, 4>> samplesOf;
    ObstacleIndex obstacles;
    std::vector<Outline::Pillar> pillars;
    bool tooLarge = false;
};

double clampReflectance(float r) { return std::isfinite(r) ? std::clamp(static_cast<double>(r), 0.0, 0.95) : 0.0; }

bool calculated(const catalog::TourokuTable& touroku, const model::KiguRecord& k) {
    return catalog::isValidSlot(k.typeIndex) && touroku[k.typeIndex].kou > 0;
}

// The mounting height of a fixture above the floor, mm.
std::int64_t mountingHeight(const RoomGeometry& geo, std::int32_t tenDaka, const model::KiguRecord& k) {
    return static_cast<std::int64_t>(std::llround(geo.workPlaneHeight)) + tenDaka + k.heightOffset;
}

template <class Counts>
RoomGeometry geometryOver(const model::Document& doc, std::int32_t tenDaka, Counts&& counts) {
    const model::RoomRecord& r = doc.plan.room;
    RoomGeometry g;
    g.workPlaneHeight = std::max<std::int32_t>(0, r.workPlaneHeight);
    g.ceiling = clampReflectance(r.ceiling);
    g.walls = clampReflectance(r.walls);
    g.floor = clampReflectance(r.floor);
    if (r.roomHeight > 0) {
        g.roomHeight = r.roomHeight;
        return g;
    }
    std::int64_t top = std::numeric_limits<std::int64_t>::min();
    doc.plan.kigu.forEach([&](const model::KiguRecord& k) {
        if (counts(k)) top = std::max(top, mountingHeight(g, tenDaka, k));
    });
    if (top == std::numeric_limits<std::int64_t>::min()) top = mountingHeight(g, tenDaka, model::KiguRecord{});
    g.roomHeight = static_cast<double>(top);
    return g;
}

// ---- the thread helpers: every index is worked out alone, so the result does not depend on the threads ----

template <class F>
void parallelIndices(std::size_t begin, std::size_t end, int threads, F&& body) {
    const std::size_t n = end > begin ? end - begin : 0;
    const std::size_t t = std::max<std::size_t>(1, std::min<std::size_t>(static_cast<std::size_t>(threads), n));
    if (t <= 1) {
        for (std::size_t i = begin; i < end; ++i) body(i);
        return;
    }
    std::vector<std::thread> pool;
    for (std::size_t k = 1; k < t; ++k) {
        pool.emplace_back([&, k] {
            for (std::size_t i = begin + k; i < end; i += t) body(i);
        });
    }
    for (std::size_t i = begin; i < end; i += t) body(i);
    for (auto& th : pool) th.join();
}

// The progress bar over the whole solve, 0..100, advanced from the calling thread between pieces of work.
class Meter {
public:
    explicit Meter(CalcProgress* p) : progress_(p) {
        if (progress_ != nullptr) {
            progress_->progressShow(kCaptionReflections, kTextReflections, 100);
            progress_->progressSet(0);
        }
    }
    void phase(int from, int to) {
        from_ = from;
        to_ = to;
    }
    // fraction of the current phase done; true when the user cancelled.
    bool tick(double fraction) {
        if (progress_ == nullptr) return false;
        const int pos = from_ + static_cast<int>(std::clamp(fraction, 0.0, 1.0) * (to_ - from_));
        if (pos != position_) {
            position_ = pos;
            progress_->progressSet(pos);
        }
        cancelled_ = cancelled_ || progress_->processEvents();
        return cancelled_;
    }
    bool cancelled() const { return cancelled_; }

private:
    CalcProgress* progress_;
    int from_ = 0, to_ = 100, position_ = -1;
    bool cancelled_ = false;
};

// body(i) for i in [0, n) in batches, the meter ticked between them; false when cancelled.
template <class F>
bool batched(std::size_t n, int threads, Meter& meter, F&& body) {
    const std::size_t batch = std::max<std::size_t>(static_cast<std::size_t>(threads) * 8, n / 40 + 1);
    for (std::size_t b = 0; b < n; b += batch) {
        parallelIndices(b, std::min(n, b + batch), threads, body);
        if (meter.tick(static_cast<double>(std::min(n, b + batch)) / static_cast<double>(n))) return false;
    }
    return true;
}

// ---- geometry ----

// Solid angle of a planar convex polygon seen from o: the triangles of a fan by the formula of
// Van Oosterom and Strackee. At most 2π for a point off the polygon's plane.
double solidAngle(const Vec3* v, int n, Vec3 o) {
    const Vec3 a = v[0] - o;
    const double la = norm(a);
    double total = 0;
    for (int k = 1; k + 1 < n; ++k) {
        const Vec3 b = v[k] - o, c = v[k + 1] - o;
        const double lb = norm(b), lc = norm(c);
        const double det = dot(a, cross(b, c));
        const double den = la * lb * lc + dot(a, b) * lc + dot(a, c) * lb + dot(b, c) * la;
        total += 2 * std::atan2(det, den);
    }
    return std::abs(total);
}

// The part of a convex polygon on the side of the plane (p, n) that n points to.
int clipFront(const Vec3* v, int n, Vec3 p, Vec3 nrm, Vec3* out) {
    int m = 0;
    for (int k = 0; k < n; ++k) {
        const Vec3 a = v[k], b = v[(k + 1) % n];
        const double da = dot(nrm, a - p), db = dot(nrm, b - p);
        if (da >= 0) out[m++] = a;
        if ((da >= 0) != (db >= 0)) out[m++] = a + (da / (da - db)) * (b - a);
    }
    return m;
}

// The form factor from a point with normal n to a convex polygon wholly in front of it: the contour
// integral (1/2π) Σ θe n·(re × re+1)/|re × re+1| over its edges.
double contourFormFactor(Vec3 p, Vec3 n, const Vec3* v, int m) {
    double s = 0;
    for (int k = 0; k < m; ++k) {
        const Vec3 a = v[k] - p, b = v[(k + 1) % m] - p;
        const Vec3 c = cross(a, b);
        const double lc = norm(c);
        if (!(lc > 1e-12)) continue;
        s += std::atan2(lc, dot(a, b)) * dot(n, c) / lc;
    }
    return std::abs(s) / (2 * M_PI);
}

// Form factor from point p (normal n) to the element, clipped to the half-space in front of p; from afar the
// element is a point.
double formFactorTo(Vec3 p, Vec3 n, const Element& e) {
    const Vec3 d = e.centre - p;
    const double r2 = dot(d, d);
    if (r2 > e.farSq) {
        const double cp = dot(n, d), ce = -dot(e.normal, d);
        return cp > 0 && ce > 0 ? cp * ce * e.area / (M_PI * r2 * r2) : 0.0;
    }
    Vec3 clipped[8];
    const int m = clipFront(e.v.data(), 4, p, n, clipped);
    if (m < 3) return 0;
    return contourFormFactor(p, n, clipped, m);
}

// The heights at which wall bands are cut: even bands below and above the work plane, cut at it.
std::vector<double> bandHeights(const RoomGeometry& g, double h) {
    std::vector<double> z{0};
    auto fill = [&](double from, double to) {
        const int n = std::max(1, static_cast<int>(std::ceil((to - from) / h - 1e-9)));
        for (int k = 1; k <= n; ++k) z.push_back(k == n ? to : from + (to - from) * k / n);
    };
    const double H = g.roomHeight, wp = g.workPlaneHeight;
    if (wp > 0 && wp < H) {
        fill(0, wp);
        fill(wp, H);
    } else {
        fill(0, H);
    }
    return z;
}

Outline outlineOf(const model::Plan& plan) {
    Outline o;
    const double s = plan.mmPerPixel;
    plan.lines.forEach([&](const model::LineRecord& l) {
        if (!l.isArc()) {
            o.walls.push_back({l.x1 * s, l.y1 * s, l.x2 * s, l.y2 * s, 0, 0});
            return;
        }
        // An arc runs counter-clockwise as seen on the screen (y down) from its start to its end point, on
        // the circle of its bounding square; it is taken as chords of at most 15°, which begin and end at the
        // stored end points, so that walls drawn to those points stay closed.
        const ArcCircle c = arcCircle(l);
        if (!(c.r > 0)) return;
        const double a0 = std::atan2(c.cy - l.y1, l.x1 - c.cx);
        double a1 = std::atan2(c.cy - l.y2, l.x2 - c.cx);
        if (a1 < a0) a1 += 2 * M_PI;
        if (!(a1 > a0)) return;
        const int n = std::max(1, static_cast<int>(std::ceil((a1 - a0) / kMaxChordAngle)));
        double px = l.x1, py = l.y1;
        for (int k = 1; k <= n; ++k) {
            const double a = a0 + (a1 - a0) * k / n;
            const double qx = k == n ? l.x2 : c.cx + c.r * std::cos(a), qy = k == n ? l.y2 : c.cy - c.r * std::sin(a);
            o.walls.push_back({px * s, py * s, qx * s, qy * s, 0, 0});
            px = qx;
            py = qy;
        }
    });
    plan.hasira.forEach([&](const model::HasiraRecord& p) {
        if (p.halfSize <= 0) return;
        const Outline::Pillar pillar{p.pillarKind == model::kSquarePillar, p.x * s, p.y * s, p.halfSize * s};
        o.pillars.push_back(pillar);
        std::vector<std::pair<double, double>> ring;
        if (pillar.square) {
            ring = {{pillar.x - pillar.m, pillar.y - pillar.m},
                    {pillar.x + pillar.m, pillar.y - pillar.m},
                    {pillar.x + pillar.m, pillar.y + pillar.m},
                    {pillar.x - pillar.m, pillar.y + pillar.m}};
        } else {
            for (int k = 0; k < kPillarFacets; ++k) {
                const double a = 2 * M_PI * k / kPillarFacets;
                ring.emplace_back(pillar.x + pillar.m * std::cos(a), pillar.y + pillar.m * std::sin(a));
            }
        }
        for (std::size_t k = 0; k < ring.size(); ++k) {
            const auto [ax, ay] = ring[k];
            const auto [bx, by] = ring[(k + 1) % ring.size()];
            const double len = std::hypot(bx - ax, by - ay);
            double nx = -(by - ay) / len, ny = (bx - ax) / len;
            if (nx * ((ax + bx) / 2 - pillar.x) + ny * ((ay + by) / 2 - pillar.y) < 0) {
                nx = -nx;
                ny = -ny;
            }
            o.pillarFaces.push_back({ax, ay, bx, by, nx, ny, pillar.x, pillar.y, pillar.m * M_SQRT2});
        }
    });
    return o;
}

bool insidePillar(const std::vector<Outline::Pillar>& pillars, double x, double y) {
    for (const auto& p : pillars) {
        const double dx = x - p.x, dy = y - p.y;
        if (p.square ? std::abs(dx) <= p.m && std::abs(dy) <= p.m : dx * dx + dy * dy <= p.m * p.m) return true;
    }
    return false;
}

Element quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 normal, Kind kind, double rho) {
    Element e;
    e.v = {a, b, c, d};
    e.centre = 0.25 * (a + b + c + d);
    e.normal = normal;
    e.area = 0.5 * (norm(cross(b - a, c - a)) + norm(cross(c - a, d - a)));
    const double diagonal = std::max(norm(c - a), norm(d - b));
    e.farSq = kFarField * kFarField * diagonal * diagonal;
    e.kind = kind;
    e.rho = rho;
    e.ref = e.centre + (kind == Kind::Escape ? -kOffset : kOffset) * normal;
    return e;
}

// A vertical face from plan point a to b, cut into pieces of at most h along it and into the bands in height.
void addVerticalFace(std::vector<Element>& out, double ax, double ay, double bx, double by, double nx, double ny,
                     const std::vector<double>& bands, double h, Kind kind, double rho) {
    const double len = std::hypot(bx - ax, by - ay);
    if (!(len > 1e-6)) return;
    const int pieces = std::max(1, static_cast<int>(std::ceil(len / h - 1e-9)));
    const Vec3 n{nx, ny, 0};
    for (int k = 0; k < pieces; ++k) {
        const double t0 = static_cast<double>(k) / pieces, t1 = static_cast<double>(k + 1) / pieces;
        const double px = ax + (bx - ax) * t0, py = ay + (by - ay) * t0, qx = ax + (bx - ax) * t1, qy = ay + (by - ay) * t1;
        for (std::size_t j = 0; j + 1 < bands.size(); ++j) {
            out.push_back(quad({px, py, bands[j]}, {qx, qy, bands[j]}, {qx, qy, bands[j + 1]}, {px, py, bands[j + 1]}, n, kind, rho));
        }
    }
}

void meshRoom(Room& room, const Outline& o, double h) {
    const RoomGeometry& g = room.geo;
    const std::vector<double> bands = bandHeights(g, h);
    std::vector<Element> els, escape;
    const double X0 = room.x0, X1 = room.x1, Y0 = room.y0, Y1 = room.y1, H = g.roomHeight;
    const int nx = std::max(1, static_cast<int>(std::ceil((X1 - X0) / h - 1e-9)));
    const int ny = std::max(1, static_cast<int>(std::ceil((Y1 - Y0) / h - 1e-9)));
    for (int pass = 0; pass < 2; ++pass) {
        const bool ceiling = pass == 0;
        const double z = ceiling ? H : 0;
        for (int r = 0; r < ny; ++r) {
            for (int c = 0; c < nx; ++c) {
                const double xa = X0 + (X1 - X0) * c / nx, xb = c + 1 == nx ? X1 : X0 + (X1 - X0) * (c + 1) / nx;
                const double ya = Y0 + (Y1 - Y0) * r / ny, yb = r + 1 == ny ? Y1 : Y0 + (Y1 - Y0) * (r + 1) / ny;
                // No floor and no ceiling inside a pillar.
                if (insidePillar(o.pillars, (xa + xb) / 2, (ya + yb) / 2)) continue;
                els.push_back(quad({xa, ya, z}, {xb, ya, z}, {xb, yb, z}, {xa, yb, z}, {0, 0, ceiling ? -1.0 : 1.0},
                                   ceiling ? Kind::Ceiling : Kind::Floor, ceiling ? g.ceiling : g.floor));
            }
        }
    }
    for (const auto& w : o.walls) {
        const double len = std::hypot(w.bx - w.ax, w.by - w.ay);
        if (!(len > 1e-6)) continue;
        const double nx2 = -(w.by - w.ay) / len, ny2 = (w.bx - w.ax) / len;
        addVerticalFace(els, w.ax, w.ay, w.bx, w.by, nx2, ny2, bands, h, Kind::Walls, g.walls);
        addVerticalFace(els, w.ax, w.ay, w.bx, w.by, -nx2, -ny2, bands, h, Kind::Walls, g.walls);
    }
    for (const auto& f : o.pillarFaces) addVerticalFace(els, f.ax, f.ay, f.bx, f.by, f.nx, f.ny, bands, h, Kind::Pillars, g.walls);
    // A face looking out of the floor's rectangle (the outer face of a wall on its edge) is no part of the room.
    els.erase(std::remove_if(els.begin(), els.end(),
                             [&](const Element& e) { return e.ref.x < X0 || e.ref.x > X1 || e.ref.y < Y0 || e.ref.y > Y1; }),
              els.end());
    addVerticalFace(escape, X0, Y0, X1, Y0, 0, 1, bands, h, Kind::Escape, 0);
    addVerticalFace(escape, X1, Y0, X1, Y1, -1, 0, bands, h, Kind::Escape, 0);
    addVerticalFace(escape, X1, Y1, X0, Y1, 0, -1, bands, h, Kind::Escape, 0);
    addVerticalFace(escape, X0, Y1, X0, Y0, 1, 0, bands, h, Kind::Escape, 0);
    room.surfaces = els.size();
    els.insert(els.end(), escape.begin(), escape.end());
    room.elements = std::move(els);
    room.refs = {};
    room.samples = {};
    room.refOf.clear();
    room.samplesOf.clear();
    for (const Element& e : room.elements) {
        room.refOf.push_back(room.refs.idOf(e.ref.x, e.ref.y));
        const Vec3 off = e.ref - e.centre;
        std::array<std::uint32_t, 4> ids{};
        for (std::size_t k = 0; k < 4; ++k) {
            const Vec3 q = 0.5 * (e.centre + e.v[k]) + off;
            ids[k] = room.samples.idOf(q.x, q.y);
        }
        room.samplesOf.push_back(ids);
    }
}

// Builds the room: floor rectangle, obstacle index and mesh, with the element edge chosen from the budget.
Room buildRoom(const model::Document& doc, const RoomGeometry& geo, const std::vector<Lamp>& lamps) {
    Room room;
    room.geo = geo;
    const Outline o = outlineOf(doc.plan);
    room.pillars = o.pillars;
    std::vector<ObstacleIndex::Segment> segs;
    for (const auto& w : o.walls) segs.push_back({w.ax, w.ay, w.bx, w.by});
    for (const auto& f : o.pillarFaces) segs.push_back({f.ax, f.ay, f.bx, f.by, f.cx, f.cy, f.r});
    room.obstacles = ObstacleIndex(std::move(segs));
    // The floor and the ceiling cover the bounding rectangle of the walls, the pillars and the luminaires.
    double x0 = std::numeric_limits<double>::max(), y0 = x0, x1 = -x0, y1 = -x0;
    auto widen = [&](double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    };
    for (const auto& w : o.walls) {
        widen(w.ax, w.ay);
        widen(w.bx, w.by);
    }
    for (const auto& f : o.pillarFaces) widen(f.ax, f.ay);
    for (const auto& p : o.pillars) {
        widen(p.x - p.m, p.y - p.m);
        widen(p.x + p.m, p.y + p.m);
    }
    for (const Lamp& l : lamps) {
        for (const Vec3& s : l.sources) widen(s.x, s.y);
    }
    if (x0 > x1) x0 = x1 = y0 = y1 = 0;
    // A plan that is a line or a point still gets a floor a metre across.
    if (x1 - x0 < 1000) {
        const double m = (x0 + x1) / 2;
        x0 = m - 500;
        x1 = m + 500;
    }
    if (y1 - y0 < 1000) {
        const double m = (y0 + y1) / 2;
        y0 = m - 500;
        y1 = m + 500;
    }
    room.x0 = x0;
    room.y0 = y0;
    room.x1 = x1;
    room.y1 = y1;
    // The first edge from the area of the floor, the ceiling and both faces of every wall; then the edge is
    // scaled by the square root of the count it gave over the budget (faces outside the rectangle drop out,
    // short walls round up), a few times at most.
    const double H = geo.roomHeight;
    double area = 2 * (x1 - x0) * (y1 - y0);
    for (const auto& w : o.walls) area += 2 * std::hypot(w.bx - w.ax, w.by - w.ay) * H;
    for (const auto& f : o.pillarFaces) area += std::hypot(f.bx - f.ax, f.by - f.ay) * H;
    double h = std::max(kMinElementEdge, std::sqrt(area / kElementBudget));
    for (int attempt = 0; attempt < 4; ++attempt) {
        room.h = h;
        meshRoom(room, o, h);
        const double ratio = static_cast<double>(room.surfaces) / kElementBudget;
        if (std::abs(ratio - 1) <= 0.15 || (ratio < 1 && h <= kMinElementEdge)) break;
        h = std::max(kMinElementEdge, h * std::sqrt(ratio));
    }
    room.tooLarge = room.elements.size() > kMaxElements;
    return room;
}

// ---- luminaires ----

// The luminous intensity of a type toward a direction, cd per 1000 lm of the table: gamma from straight
// down, C as the direct pass takes it (0° across the luminous length, 90° along it).
double tableIntensity(const catalog::BunpuHinban& type, bool turned, Vec3 d) {
    const double len = norm(d);
    if (!(len > 0)) return 0;
    const double gamma = std::acos(std::clamp(-d.z / len, -1.0, 1.0)) * 180.0 / M_PI;
    const double along = std::abs(turned ? d.y : d.x), across = std::abs(turned ? d.x : d.y);
    const double c = along == 0 ? 0.0 : 90.0 - std::atan(across / along) * 180.0 / M_PI;
    return catalog::intensityAt(type, gamma, c);
}

// ∫ I dΩ of the table (lm per 1000 lm) over gamma 0..maxGamma, by the midpoint rule on fine bands.
double tableFlux(const catalog::BunpuHinban& type, double maxGamma) {
    const int nG = static_cast<int>(maxGamma * 4);
    const double dg = maxGamma / nG * M_PI / 180.0;
    constexpr int nC = 45;  // over a quarter: the distribution is symmetric about both planes
    double sum = 0;
    for (int i = 0; i < nG; ++i) {
        const double g = (i + 0.5) * maxGamma / nG;
        double mean = 0;
        if (type.planeCount == 1) {
            mean = catalog::intensityAt(type, g, 0);
        } else {
            for (int k = 0; k < nC; ++k) mean += catalog::intensityAt(type, g, (k + 0.5) * 90.0 / nC);
            mean /= nC;
        }
        sum += mean * std::sin(g * M_PI / 180.0) * dg * 2 * M_PI;
    }
    return sum;
}

std::vector<Lamp> lampsOf(const model::Document& doc, const catalog::TourokuTable& touroku, std::int32_t tenDaka,
                          const RoomGeometry& geo, const CalcSettings& settings, double h) {
    std::vector<Lamp> lamps;
    const double s = doc.plan.mmPerPixel;
    const TableSettings ts = tableSettingsOf(doc, settings);
    std::vector<double> fullFlux(catalog::kSlotCount + 1, -1), lowerFlux(catalog::kSlotCount + 1, -1);
    for (int j = 1; j <= doc.plan.kigu.count(); ++j) {
        const model::KiguRecord& k = doc.plan.kigu[j];
        if (!calculated(touroku, k)) continue;
        const catalog::BunpuHinban& type = touroku[k.typeIndex];
        double z = static_cast<double>(mountingHeight(geo, tenDaka, k));
        // The refusal keeps such luminaires out of a calculation; one that gets here lights nothing.
        if (z < 0 || z > geo.roomHeight + kCeilingTolerance) continue;
        Lamp l;
        l.kigu = j;
        l.type = &type;
        l.turned = k.rotation != 0;
        l.onCeiling = z >= geo.roomHeight - kCeilingTolerance;
        if (l.onCeiling) z = std::min(z, geo.roomHeight);
        // Point sources along the luminous length and width, no more than half an element apart.
        auto count = [&](std::int32_t size) {
            return std::clamp(static_cast<int>(std::ceil(2.0 * std::max(0, size) / h - 1e-9)), 1, kMaxSubSources);
        };
        const int nA = count(type.sizeX), nC = count(type.sizeY);
        const double cx = k.x * s, cy = k.y * s;
        for (int a = 0; a < nA; ++a) {
            for (int c = 0; c < nC; ++c) {
                const double u = (a + 0.5) / nA - 0.5, v = (c + 0.5) / nC - 0.5;
                const double along = u * type.sizeX, across = v * type.sizeY;
                l.sources.push_back(l.turned ? Vec3{cx + across, cy + along, z} : Vec3{cx + along, cy + across, z});
            }
        }
        const double f = maintenanceMultiplier(type, ts);
        const double perLamp = static_cast<double>(type.kou) * type.tosu / 1000.0 * f;
        l.candela = perLamp / static_cast<double>(l.sources.size());
        std::vector<double>& cache = l.onCeiling ? lowerFlux : fullFlux;
        double& tf = cache[static_cast<std::size_t>(k.typeIndex)];
        if (tf < 0) tf = tableFlux(type, l.onCeiling ? 90.0 : 180.0);
        l.flux = perLamp * tf;
        if (!(l.flux > 0) || !std::isfinite(l.flux)) continue;
        lamps.push_back(std::move(l));
    }
    return lamps;
}

// ---- the phases ----

// The obstacles as seen from one point of the plan, for the many sight tests from it.
SightFan fanAt(const Room& room, Vec3 p) { return SightFan(room.obstacles, p.x, p.y); }
bool sees(const SightFan& fan, Vec3 b) { return !fan.blocked(b.x, b.y); }

// The flux each element receives straight from one luminaire, before the luminaire's total is made exact.
void lampOntoElements(const Room& room, const Lamp& lamp, double* raw) {
    const std::size_t n = room.elements.size();
    std::fill(raw, raw + n, 0.0);
    // Each plan point's answer, once asked, for the elements that share it: -1 not yet asked.
    std::vector<std::int8_t> seen(room.samples.size());
    for (const Vec3& s : lamp.sources) {
        const SightFan fan = fanAt(room, s);
        std::fill(seen.begin(), seen.end(), std::int8_t{-1});
        for (std::size_t i = 0; i < n; ++i) {
            const Element& e = room.elements[i];
            if (!(dot(e.normal, s - e.centre) > 0)) continue;
            if (lamp.onCeiling && e.kind == Kind::Ceiling) continue;
            // The visible part: sight lines to four points of the element, halfway from its centre to its corners.
            // An element hidden from the source needs no solid angle.
            int visible = 0;
            for (const std::uint32_t q : room.samplesOf[i]) {
                std::int8_t& v = seen[q];
                if (v < 0) v = fan.blocked(room.samples.x[q], room.samples.y[q]) ? 0 : 1;
                visible += v;
            }
            if (visible == 0) continue;
            const double omega = solidAngle(e.v.data(), 4, s);
            if (!(omega > 0)) continue;
            raw[i] += lamp.candela * tableIntensity(*lamp.type, lamp.turned, e.centre - s) * omega * visible / 4.0;
        }
    }
}

// Whether the two elements can exchange light at all: each reference point in front of the other's plane.
bool facingPair(const Element& a, const Element& b) {
    return dot(a.normal, b.ref - a.ref) > 0 && dot(b.normal, a.ref - b.ref) > 0;
}

#if defined(__x86_64__) && defined(__GNUC__)
#define ORDIVAN_HAVE_AVX2_SOLVE 1
// The same sums as dotRowPortable, lane k of the vector holding s_k: the same operations in the same order.
__attribute__((target("avx2"))) double dotRowAvx2(const float* g, const double* x, std::size_t n) {
    __m256d acc = _mm256_setzero_pd();
    std::size_t j = 0;
    for (; j + 4 <= n; j += 4) acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(g + j)), _mm256_loadu_pd(x + j)));
    alignas(32) double s[4];
    _mm256_store_pd(s, acc);
    for (; j < n; ++j) s[0] += g[j] * x[j];
    return (s[0] + s[1]) + (s[2] + s[3]);
}
#else
#define ORDIVAN_HAVE_AVX2_SOLVE 0
#endif

// One row of the gather matrix against the exitances, in four running sums so that the vector units can
// take them; every row is summed in this order whatever the thread count.
double dotRowPortable(const float* g, const double* x, std::size_t n) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    std::size_t j = 0;
    for (; j + 4 <= n; j += 4) {
        s0 += g[j] * x[j];
        s1 += g[j + 1] * x[j + 1];
        s2 += g[j + 2] * x[j + 2];
        s3 += g[j + 3] * x[j + 3];
    }
    for (; j < n; ++j) s0 += g[j] * x[j];
    return (s0 + s1) + (s2 + s3);
}

double dotRow(const float* g, const double* x, std::size_t n) {
#if ORDIVAN_HAVE_AVX2_SOLVE
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) return dotRowAvx2(g, x, n);
#endif
    return dotRowPortable(g, x, n);
}

// Reflected illuminance at a point of the work plane from the elements above it.
double gatherAt(const Room& room, const std::vector<std::size_t>& emitters, const std::vector<double>& exitance, double x, double y) {
    const Vec3 p{x, y, room.geo.workPlaneHeight}, up{0, 0, 1};
    const SightFan fan = fanAt(room, p);
    std::vector<std::int8_t> seen(room.refs.size(), -1);  // as in lampOntoElements
    double e = 0;
    for (std::size_t j : emitters) {
        const Element& el = room.elements[j];
        if (!(dot(el.normal, p - el.centre) > 0)) continue;
        std::int8_t& v = seen[room.refOf[j]];
        if (v < 0) v = sees(fan, el.ref) ? 1 : 0;
        if (v == 0) continue;
        e += exitance[j] * formFactorTo(p, up, el);
    }
    return e;
}

double seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

} // namespace

RoomGeometry roomGeometryOf(const model::Document& doc, std::int32_t tenDaka) {
    return geometryOver(doc, tenDaka, [](const model::KiguRecord& k) { return catalog::isValidSlot(k.typeIndex); });
}

RoomGeometry roomGeometryOf(const model::Document& doc, const catalog::TourokuTable& touroku, std::int32_t tenDaka) {
    return geometryOver(doc, tenDaka, [&](const model::KiguRecord& k) { return calculated(touroku, k); });
}

std::string roomRefusal(const model::Document& doc, const catalog::TourokuTable& touroku, std::int32_t tenDaka) {
    if (!doc.plan.room.on) return {};
    const RoomGeometry g = roomGeometryOf(doc, touroku, tenDaka);
    const std::string ceiling = base::formatInt(std::llround(g.roomHeight));
    if (g.workPlaneHeight >= g.roomHeight) {
        return "作業面の高さ " + base::formatInt(std::llround(g.workPlaneHeight)) + " mm が天井高 " + ceiling +
               " mm 以上です。部屋の高さを見直してください。";
    }
    for (int j = 1; j <= doc.plan.kigu.count(); ++j) {
        const model::KiguRecord& k = doc.plan.kigu[j];
        if (!calculated(touroku, k)) continue;
        const std::int64_t z = mountingHeight(g, tenDaka, k);
        const std::string who = "器具 No." + base::formatInt(j) + "（" + touroku[k.typeIndex].hinban + "）の取付高さ " +
                                base::formatInt(z) + " mm";
        if (static_cast<double>(z) > g.roomHeight + kCeilingTolerance)
            return who + " が天井高 " + ceiling + " mm を超えています。天井高か器具の高さを見直してください。";
        if (z < 0) return who + " が床より下です。器具の高さを見直してください。";
    }
    if (doc.plan.hasScale()) {
        const Room room = buildRoom(doc, g, lampsOf(doc, touroku, tenDaka, g, CalcSettings{}, kMinElementEdge));
        if (room.tooLarge) return "壁と柱が多すぎて相互反射を計算できません。相互反射を切って計算してください。";
    }
    return {};
}

RoomPassResult runRoomPass(const model::Document& doc, const catalog::TourokuTable& touroku, std::int32_t tenDaka,
                           const CalcSettings& settings, IlluminanceGrid& grid, int threadRequest, CalcProgress* progress,
                           IndirectFigures& fig, std::vector<ElementFigures>* elementsOut) {
    using Clock = std::chrono::steady_clock;
    const int threads = resolveThreads(threadRequest);
    Meter meter(progress);
    fig = IndirectFigures{};
    fig.room = roomGeometryOf(doc, touroku, tenDaka);
    if (!doc.plan.hasScale() || !std::isfinite(doc.plan.mmPerPixel) || !(fig.room.roomHeight > fig.room.workPlaneHeight))
        return RoomPassResult::Completed;

    // Mesh. The sub-source spacing needs the element edge, which needs the luminaires' extent: a first
    // estimate at the smallest edge is refined once the room is built.
    auto t0 = Clock::now();
    meter.phase(0, 2);
    std::vector<Lamp> lamps = lampsOf(doc, touroku, tenDaka, fig.room, settings, kMinElementEdge);
    Room room = buildRoom(doc, fig.room, lamps);
    if (room.tooLarge) return RoomPassResult::Completed;
    lamps = lampsOf(doc, touroku, tenDaka, fig.room, settings, room.h);
    fig.on = true;
    const std::vector<Element>& els = room.elements;
    const std::size_t N = els.size(), S = room.surfaces;
    fig.elements = static_cast<std::int64_t>(S);
    fig.meshSeconds = seconds(t0);
    if (meter.tick(1)) return RoomPassResult::Cancelled;

    // Direct flux onto the elements, each luminaire's made to add up exactly to what it sends into the room.
    t0 = Clock::now();
    meter.phase(2, 15);
    std::vector<double> direct(N, 0.0);
    double tSum = 0;
    {
        const std::size_t batch = static_cast<std::size_t>(threads) * 8;
        std::vector<double> raw(batch * N);
        for (std::size_t b = 0; b < lamps.size(); b += batch) {
            const std::size_t end = std::min(lamps.size(), b + batch);
            parallelIndices(b, end, threads, [&](std::size_t k) { lampOntoElements(room, lamps[k], raw.data() + (k - b) * N); });
            for (std::size_t k = b; k < end; ++k) {
                const double* r = raw.data() + (k - b) * N;
                double sum = 0;
                for (std::size_t i = 0; i < N; ++i) sum += r[i];
                if (!(sum > 0)) continue;
                const double scale = lamps[k].flux / sum;
                for (std::size_t i = 0; i < N; ++i) direct[i] += r[i] * scale;
                fig.luminaireFlux += lamps[k].flux;
                tSum += lamps[k].flux * lamps[k].type->colorTemp;
            }
            if (meter.tick(static_cast<double>(end) / static_cast<double>(lamps.size()))) return RoomPassResult::Cancelled;
        }
    }
    // Reflected light keeps the mixed colour of the light it came from: the flux-weighted mean of the lamps.
    const double mixedKelvin = fig.luminaireFlux > 0 ? tSum / fig.luminaireFlux : 0;
    fig.directSeconds = seconds(t0);

    // Form factors.
    t0 = Clock::now();
    meter.phase(15, 45);
    // F[i][j] (row: element i sending to element j) over the surfaces, turned into gather order below. Each
    // pair that sees each other is tested and integrated once, from the element earlier in the list; the
    // other direction follows by reciprocity, A_i F_ij = A_j F_ji. Escape elements never send light.
    // First which plan points see each other, from the point earlier in the list, one fan each: the elements
    // standing on them share the answers.
    const std::size_t P = room.refs.size();
    std::vector<std::uint8_t> sight(P * P, 0);
    bool ok = batched(P, threads, meter, [&](std::size_t p) {
        const SightFan fan(room.obstacles, room.refs.x[p], room.refs.y[p]);
        for (std::size_t q = p; q < P; ++q) sight[p * P + q] = fan.blocked(room.refs.x[q], room.refs.y[q]) ? 0 : 1;
    });
    if (!ok) return RoomPassResult::Cancelled;
    auto seeEachOther = [&](std::size_t i, std::size_t j) {
        const std::size_t p = room.refOf[i], q = room.refOf[j];
        return sight[std::min(p, q) * P + std::max(p, q)] != 0;
    };
    meter.phase(45, 75);
    std::vector<float> G(S * S, 0.0f);
    std::vector<double> escaping(S, 0.0);
    ok = batched(S, threads, meter, [&](std::size_t i) {
        const Element& a = els[i];
        double escape = 0;
        for (std::size_t j = i + 1; j < N; ++j) {
            const bool wanted = a.rho > 0 || (j < S && els[j].rho > 0);
            if (!wanted || !facingPair(a, els[j]) || !seeEachOther(i, j)) continue;
            const double f = formFactorTo(a.ref, a.normal, els[j]);
            if (j < S) {
                G[i * S + j] = static_cast<float>(f);
            } else {
                escape += f;
            }
        }
        escaping[i] = escape;
    });
    if (!ok) return RoomPassResult::Cancelled;
    sight = {};
    // Every element's sending row normalised so that everything it sends lands on an element or escapes, its
    // part below the diagonal following from the upper triangle by reciprocity; then the matrix in gather
    // order (row: what an element receives). Worked out where the entries stand, every row on its own: an
    // entry above the diagonal is rescaled in place, one below it is read from its mirror image above, which
    // is why the lower triangle is written first.
    std::vector<double> rowSum(S, 0.0);  // 0: the element sends nothing
    parallelIndices(0, S, threads, [&](std::size_t c) {
        double sum = escaping[c];
        for (std::size_t j = 0; j < c; ++j) sum += static_cast<float>(G[j * S + c] * (els[j].area / els[c].area));
        for (std::size_t j = c + 1; j < S; ++j) sum += G[c * S + j];
        rowSum[c] = els[c].rho > 0 && sum > 0 ? sum : 0.0;
    });
    parallelIndices(0, S, threads, [&](std::size_t r) {
        float* row = &G[r * S];
        for (std::size_t c = 0; c < r; ++c) row[c] = rowSum[c] > 0 ? static_cast<float>(G[c * S + r] / rowSum[c]) : 0.0f;
    });
    parallelIndices(0, S, threads, [&](std::size_t r) {
        float* row = &G[r * S];
        for (std::size_t c = r + 1; c < S; ++c) {
            row[c] = rowSum[c] > 0 ? static_cast<float>(static_cast<float>(row[c] * (els[r].area / els[c].area)) / rowSum[c]) : 0.0f;
        }
    });
    fig.formFactorSeconds = seconds(t0);

    // The solve: out_i = ρi (direct_i + Σj G[i][j] out_j), by Gauss–Seidel within each of kSolveBlocks fixed
    // blocks of rows (a row takes the new values of its own block's earlier rows, the last sweep's of the
    // others) and Jacobi between them, so that the blocks go to the threads and the answer stays the same
    // whatever their count. Every row is summed in the same order.
    t0 = Clock::now();
    meter.phase(75, 85);
    std::vector<double> out(S), next(S), in(S, 0.0);
    for (std::size_t i = 0; i < S; ++i) out[i] = els[i].rho * direct[i];
    const bool anyReflection = std::any_of(out.begin(), out.end(), [](double v) { return v > 0; });
    if (anyReflection) {
        for (int it = 1; it <= kMaxIterations; ++it) {
            next = out;
            parallelIndices(0, kSolveBlocks, threads, [&](std::size_t b) {
                const std::size_t b0 = S * b / kSolveBlocks, b1 = S * (b + 1) / kSolveBlocks;
                for (std::size_t i = b0; i < b1; ++i) {
                    if (!(els[i].rho > 0)) {
                        next[i] = 0.0;
                        continue;
                    }
                    const float* g = &G[i * S];
                    const double others = dotRow(g, out.data(), b0) + dotRow(g + b1, out.data() + b1, S - b1);
                    next[i] = els[i].rho * (direct[i] + (others + dotRow(g + b0, next.data() + b0, b1 - b0)));
                }
            });
            double change = 0, top = 0;
            for (std::size_t i = 0; i < S; ++i) {
                change = std::max(change, std::abs(next[i] - out[i]) / els[i].area);
                top = std::max(top, next[i] / els[i].area);
            }
            out.swap(next);
            fig.iterations = it;
            fig.residual = top > 0 ? change / top : 0;
            if (fig.residual < kTolerance) break;
            if (it % 10 == 0 && meter.tick(static_cast<double>(it) / 200.0)) return RoomPassResult::Cancelled;
        }
        parallelIndices(0, S, threads, [&](std::size_t i) { in[i] = dotRow(&G[i * S], out.data(), S); });
    }
    G = {};
    fig.solveSeconds = seconds(t0);

    // Figures by kind of surface.
    {
        struct Sum {
            double area = 0, direct = 0, reflected = 0, litArea = 0, litFlux = 0;
            double least = std::numeric_limits<double>::infinity();
            bool any = false;
        } sums[4];
        for (std::size_t i = 0; i < S; ++i) {
            Sum& s = sums[static_cast<int>(els[i].kind)];
            s.area += els[i].area;
            s.direct += direct[i];
            s.reflected += in[i];
            s.any = true;
            const double received = direct[i] + in[i];
            if (!(els[i].area > 0) || (anyReflection && !(received > 0))) continue;
            s.litArea += els[i].area;
            s.litFlux += received;
            s.least = std::min(s.least, received / (els[i].area * 1e-6));
        }
        for (int k = 0; k < 4; ++k) {
            if (k == static_cast<int>(Kind::Pillars) && !sums[k].any) continue;
            SurfaceFigures sf;
            sf.kind = kKindNames[k];
            sf.area = sums[k].area * 1e-6;
            sf.directLux = sf.area > 0 ? sums[k].direct / sf.area : 0;
            sf.indirectLux = sf.area > 0 ? sums[k].reflected / sf.area : 0;
            sf.litArea = sums[k].litArea * 1e-6;
            sf.litLux = sf.litArea > 0 ? sums[k].litFlux / sf.litArea : 0;
            sf.minLux = std::isfinite(sums[k].least) ? sums[k].least : 0;
            fig.surfaces.push_back(sf);
        }
        if (elementsOut != nullptr) {
            elementsOut->clear();
            for (std::size_t i = 0; i < S; ++i) {
                const Element& e = els[i];
                const double a = e.area * 1e-6;
                elementsOut->push_back({kKindNames[static_cast<int>(e.kind)], e.centre.x, e.centre.y, e.centre.z, e.normal.x,
                                        e.normal.y, e.normal.z, a, direct[i] / a, in[i] / a});
            }
        }
    }

    // The gather: reflected light on a coarse lattice of the work plane, about half an element apart and a
    // multiple of the step, then onto every calculated point by bilinear interpolation of the nodes it sees.
    t0 = Clock::now();
    meter.phase(85, 95);
    if (anyReflection) {
        std::vector<double> exitance(S, 0.0);  // lm/m², so the gather gives lux
        std::vector<std::size_t> emitters;
        for (std::size_t i = 0; i < S; ++i) {
            exitance[i] = out[i] / (els[i].area * 1e-6);
            double zLow = els[i].v[0].z;
            for (const Vec3& v : els[i].v) zLow = std::min(zLow, v.z);
            if (exitance[i] > 0 && zLow >= room.geo.workPlaneHeight - 1e-9 && els[i].centre.z > room.geo.workPlaneHeight)
                emitters.push_back(i);
        }
        const double mmpp = doc.plan.mmPerPixel;
        const std::int64_t step = std::clamp(settings.calcStep, 1, 7);
        const std::int64_t spacing =
            step * static_cast<std::int64_t>(std::clamp(std::round(room.h / 2 / (mmpp * static_cast<double>(step))), 1.0, 1e6));
        const std::int64_t cLo = static_cast<std::int64_t>(std::floor(room.x0 / mmpp / spacing)) * spacing;
        const std::int64_t rLo = static_cast<std::int64_t>(std::floor(room.y0 / mmpp / spacing)) * spacing;
        const std::int64_t nCols = static_cast<std::int64_t>(std::ceil(room.x1 / mmpp / spacing)) - cLo / spacing + 1;
        const std::int64_t nRows = static_cast<std::int64_t>(std::ceil(room.y1 / mmpp / spacing)) - rLo / spacing + 1;
        const std::size_t nodes = static_cast<std::size_t>(nCols * nRows);
        std::vector<double> nodeLux(nodes, 0.0);
        auto nodeX = [&](std::int64_t c) { return static_cast<double>(cLo + c * spacing) * mmpp; };
        auto nodeY = [&](std::int64_t r) { return static_cast<double>(rLo + r * spacing) * mmpp; };
        // The reflected field varies slowly: the nodes of every other row and column are gathered first, and a
        // node between them is their mean where the coarse cell around it is open (no wall or pillar crosses
        // it) and its corners agree; elsewhere it is gathered itself.
        auto span = [](std::int64_t k, std::int64_t n, std::int64_t& lo, std::int64_t& hi) {
            lo = k - (k & 1);
            hi = k + (k & 1);
            return hi < n;
        };
        std::vector<std::size_t> exact, between;
        for (std::size_t k = 0; k < nodes; ++k) {
            const std::int64_t c = static_cast<std::int64_t>(k) % nCols, r = static_cast<std::int64_t>(k) / nCols;
            std::int64_t lo, hi;
            const bool derived = ((c | r) & 1) != 0 && span(c, nCols, lo, hi) && span(r, nRows, lo, hi);
            (derived ? between : exact).push_back(k);
        }
        ok = batched(exact.size(), threads, meter, [&](std::size_t q) {
            const std::size_t k = exact[q];
            const std::int64_t c = static_cast<std::int64_t>(k) % nCols, r = static_cast<std::int64_t>(k) / nCols;
            nodeLux[k] = gatherAt(room, emitters, exitance, nodeX(c), nodeY(r));
        });
        if (!ok) return RoomPassResult::Cancelled;
        meter.phase(95, 100);
        std::vector<std::uint8_t> gathered(between.size(), 0);
        parallelIndices(0, between.size(), threads, [&](std::size_t q) {
            const std::size_t k = between[q];
            const std::int64_t c = static_cast<std::int64_t>(k) % nCols, r = static_cast<std::int64_t>(k) / nCols;
            std::int64_t c0, c1, r0, r1;
            span(c, nCols, c0, c1);
            span(r, nRows, r0, r1);
            const double v[4] = {nodeLux[static_cast<std::size_t>(r0 * nCols + c0)], nodeLux[static_cast<std::size_t>(r0 * nCols + c1)],
                                 nodeLux[static_cast<std::size_t>(r1 * nCols + c0)], nodeLux[static_cast<std::size_t>(r1 * nCols + c1)]};
            const double lo = std::min({v[0], v[1], v[2], v[3]}), hi = std::max({v[0], v[1], v[2], v[3]});
            if (!(hi - lo <= kSmoothSpread * hi) || room.obstacles.crossesBox(nodeX(c0), nodeY(r0), nodeX(c1), nodeY(r1))) {
                gathered[q] = 1;
                return;
            }
            nodeLux[k] = ((v[0] + v[1]) + (v[2] + v[3])) * 0.25;  // corners repeat on a node between two
        });
        exact.clear();
        for (std::size_t q = 0; q < between.size(); ++q) {
            if (gathered[q]) exact.push_back(between[q]);
        }
        ok = batched(exact.size(), threads, meter, [&](std::size_t q) {
            const std::size_t k = exact[q];
            const std::int64_t c = static_cast<std::int64_t>(k) % nCols, r = static_cast<std::int64_t>(k) / nCols;
            nodeLux[k] = gatherAt(room, emitters, exitance, nodeX(c), nodeY(r));
        });
        if (!ok) return RoomPassResult::Cancelled;
        // The coarse cells a wall or a pillar crosses: there a point takes only the nodes it sees.
        std::vector<std::uint8_t> crossed(nodes, 0);
        parallelIndices(0, nodes, threads, [&](std::size_t k) {
            const std::int64_t c = static_cast<std::int64_t>(k) % nCols, r = static_cast<std::int64_t>(k) / nCols;
            if (c + 1 < nCols && r + 1 < nRows) crossed[k] = room.obstacles.crossesBox(nodeX(c), nodeY(r), nodeX(c + 1), nodeY(r + 1));
        });
        // A sight line from a point of a crossed cell to one of its corners stays in the cell: only the
        // segments near the cell can stop it.
        std::vector<std::vector<std::uint32_t>> nearCell(nodes);
        parallelIndices(0, nodes, threads, [&](std::size_t k) {
            if (!crossed[k]) return;
            const std::int64_t c = static_cast<std::int64_t>(k) % nCols, r = static_cast<std::int64_t>(k) / nCols;
            room.obstacles.segmentsMeeting(nodeX(c) - 1, nodeY(r) - 1, nodeX(c + 1) + 1, nodeY(r + 1) + 1, nearCell[k]);
        });
        const std::vector<ObstacleIndex::Segment>& segs = room.obstacles.segments();
        const std::int64_t W = grid.gridWidth, H = grid.gridHeight;
        const float kelvin = static_cast<float>(mixedKelvin);
        parallelIndices(0, static_cast<std::size_t>((H + step - 1) / step), threads, [&](std::size_t ri) {
            const std::int64_t row = static_cast<std::int64_t>(ri) * step;
            const double y = static_cast<double>(row) * mmpp;
            if (y < room.y0 || y > room.y1) return;
            const std::int64_t r = std::clamp<std::int64_t>((row - rLo) / spacing, 0, nRows - 2);
            std::vector<Outline::Pillar> rowPillars;
            for (const auto& p : room.pillars) {
                if (std::abs(y - p.y) <= p.m) rowPillars.push_back(p);
            }
            for (std::int64_t col = 0; col < W; col += step) {
                const double x = static_cast<double>(col) * mmpp;
                if (x < room.x0 || x > room.x1) continue;
                if (!rowPillars.empty() && insidePillar(rowPillars, x, y)) continue;
                const std::int64_t c = std::clamp<std::int64_t>((col - cLo) / spacing, 0, nCols - 2);
                const double fx = static_cast<double>(col - cLo - c * spacing) / static_cast<double>(spacing);
                const double fy = static_cast<double>(row - rLo - r * spacing) / static_cast<double>(spacing);
                const std::size_t k00 = static_cast<std::size_t>(r * nCols + c);
                const std::size_t ks[4] = {k00, k00 + 1, k00 + static_cast<std::size_t>(nCols), k00 + static_cast<std::size_t>(nCols) + 1};
                const double ws[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
                double e = 0;
                if (!crossed[k00]) {
                    for (int q = 0; q < 4; ++q) e += ws[q] * nodeLux[ks[q]];
                } else {
                    double wSum = 0;
                    for (int q = 0; q < 4; ++q) {
                        const double nx = nodeX(c + (q & 1)), ny = nodeY(r + (q >> 1));
                        const bool hidden = std::any_of(nearCell[k00].begin(), nearCell[k00].end(), [&](std::uint32_t i) {
                            return segmentsMeet(x, y, nx, ny, segs[i].ax, segs[i].ay, segs[i].bx, segs[i].by);
                        });
                        if (hidden) continue;
                        e += ws[q] * nodeLux[ks[q]];
                        wSum += ws[q];
                    }
                    if (wSum > 1e-9) {
                        e /= wSum;
                    } else if (!room.obstacles.crossesBox(x - 1e-6, y - 1e-6, x + 1e-6, y + 1e-6)) {
                        // Hidden from every node (a pocket behind a wall): gathered at the point itself. A point
                        // on a wall line sees nothing and gets nothing.
                        e = gatherAt(room, emitters, exitance, x, y);
                    } else {
                        e = 0;
                    }
                }
                if (!(e > 0)) continue;
                const float v = static_cast<float>(e);
                const std::size_t i = static_cast<std::size_t>(row * W + col);
                grid.lux[i] += v;
                grid.ctSum[i] += v * 0.001f * kelvin;
            }
        });
    }
    fig.gatherSeconds = seconds(t0);
    meter.tick(1);
    return RoomPassResult::Completed;
}

SurfaceCheck checkSurface(const SurfaceFigures& f, const SurfaceRequirement& q) {
    SurfaceCheck c;
    c.averageLux = f.litLux;
    c.uniformity = f.uniformity();
    const bool even = c.uniformity >= q.uniformity;
    c.pass = c.averageLux >= q.lux && even;
    c.passOffices = c.averageLux >= q.luxOffices && even;
    return c;
}

} // namespace calc
