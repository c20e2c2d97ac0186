// The uniform-grid obstacle index: segments bucketed by the cells they pass, sight tests along the cells of the line.
#include "calc/ObstacleIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace calc {
namespace {

// A segment is bucketed into, and a query visits, every cell within this fraction of a cell of its line, so
// that a line through a cell corner cannot slip between the buckets by rounding.
constexpr double kCellMargin = 1e-3;
constexpr std::int32_t kMaxCellsPerAxis = 512;

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

bool finite(const ObstacleIndex::Segment& s) {
    return std::isfinite(s.ax) && std::isfinite(s.ay) && std::isfinite(s.bx) && std::isfinite(s.by);
}

std::int32_t clampCell(double v, std::int32_t n) {
    if (!(v > 0)) return 0;
    if (v >= n - 1) return n - 1;
    return static_cast<std::int32_t>(v);
}

// Liang–Barsky: whether the segment has a point inside the closed box.
bool segmentMeetsBox(const ObstacleIndex::Segment& s, double x0, double y0, double x1, double y1) {
    double t0 = 0, t1 = 1;
    const double dx = s.bx - s.ax, dy = s.by - s.ay;
    auto clip = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    return clip(-dx, s.ax - x0) && clip(dx, x1 - s.ax) && clip(-dy, s.ay - y0) && clip(dy, y1 - s.ay) && t0 <= t1;
}

} // namespace

bool segmentsMeet(double px, double py, double qx, double qy, double ax, double ay, double bx, double by) {
    const double o1 = cross(qx - px, qy - py, ax - px, ay - py);
    const double o2 = cross(qx - px, qy - py, bx - px, by - py);
    if (o1 == 0 && o2 == 0) return false;
    if ((o1 > 0 && o2 > 0) || (o1 < 0 && o2 < 0)) return false;
    const double o3 = cross(bx - ax, by - ay, px - ax, py - ay);
    const double o4 = cross(bx - ax, by - ay, qx - ax, qy - ay);
    return !((o3 > 0 && o4 > 0) || (o3 < 0 && o4 < 0));
}

ObstacleIndex::ObstacleIndex(std::vector<Segment> segments) {
    segments.erase(std::remove_if(segments.begin(), segments.end(), [](const Segment& s) { return !finite(s); }), segments.end());
    segments_ = std::move(segments);
    if (segments_.empty()) return;
    double xLo = segments_[0].ax, xHi = xLo, yLo = segments_[0].ay, yHi = yLo;
    for (const Segment& s : segments_) {
        xLo = std::min({xLo, s.ax, s.bx});
        xHi = std::max({xHi, s.ax, s.bx});
        yLo = std::min({yLo, s.ay, s.by});
        yHi = std::max({yHi, s.ay, s.by});
    }
    boundingArea_ = (xHi - xLo + 1) * (yHi - yLo + 1);
    const double w = std::max(xHi - xLo, 1e-3), h = std::max(yHi - yLo, 1e-3);
    // About two segments per cell, never more than kMaxCellsPerAxis cells along an axis.
    const double target = std::clamp(2.0 * static_cast<double>(segments_.size()), 16.0, 65536.0);
    cell_ = std::max({std::sqrt(w * h / target), w / (kMaxCellsPerAxis - 1), h / (kMaxCellsPerAxis - 1)});
    x0_ = xLo;
    y0_ = yLo;
    nx_ = static_cast<std::int32_t>(std::min<double>(kMaxCellsPerAxis, std::floor(w / cell_) + 1));
    ny_ = static_cast<std::int32_t>(std::min<double>(kMaxCellsPerAxis, std::floor(h / cell_) + 1));
    const std::size_t cells = static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_);
    std::vector<std::uint32_t> count(cells + 1, 0);
    for (const Segment& s : segments_) {
        visitCells(s.ax, s.ay, s.bx, s.by, [&](std::size_t c) {
            ++count[c];
            return false;
        });
    }
    start_.assign(cells + 1, 0);
    for (std::size_t c = 0; c < cells; ++c) start_[c + 1] = start_[c] + count[c];
    items_.resize(start_[cells]);
    std::vector<std::uint32_t> fill(start_.begin(), start_.end() - 1);
    for (std::uint32_t i = 0; i < segments_.size(); ++i) {
        const Segment& s = segments_[i];
        visitCells(s.ax, s.ay, s.bx, s.by, [&](std::size_t c) {
            items_[fill[c]++] = i;
            return false;
        });
    }
}

// Calls f(cell) for every cell within the margin of the segment p-q, column slab by column slab, until f
// returns true.
template <class F>
bool ObstacleIndex::visitCells(double px, double py, double qx, double qy, F&& f) const {
    if (nx_ == 0 || !std::isfinite(px) || !std::isfinite(py) || !std::isfinite(qx) || !std::isfinite(qy)) return false;
    if (px > qx) {
        std::swap(px, qx);
        std::swap(py, qy);
    }
    const double fx0 = (px - x0_) / cell_, fx1 = (qx - x0_) / cell_;
    const double fy0 = (py - y0_) / cell_, fy1 = (qy - y0_) / cell_;
    if (fx1 + kCellMargin < 0 || fx0 - kCellMargin > nx_) return false;
    const std::int32_t c0 = clampCell(std::floor(fx0 - kCellMargin), nx_), c1 = clampCell(std::floor(fx1 + kCellMargin), nx_);
    for (std::int32_t c = c0; c <= c1; ++c) {
        const double sx0 = std::max(fx0, c - kCellMargin), sx1 = std::min(fx1, c + 1 + kCellMargin);
        double ya, yb;
        if (fx1 - fx0 <= 0) {
            ya = fy0;
            yb = fy1;
        } else {
            if (sx0 > sx1) continue;
            ya = fy0 + (sx0 - fx0) / (fx1 - fx0) * (fy1 - fy0);
            yb = fy0 + (sx1 - fx0) / (fx1 - fx0) * (fy1 - fy0);
        }
        const double lo = std::min(ya, yb) - kCellMargin, hi = std::max(ya, yb) + kCellMargin;
        if (hi < 0 || lo > ny_) continue;
        const std::int32_t r0 = clampCell(std::floor(lo), ny_), r1 = clampCell(std::floor(hi), ny_);
        for (std::int32_t r = r0; r <= r1; ++r) {
            if (f(static_cast<std::size_t>(r) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(c))) return true;
        }
    }
    return false;
}

bool ObstacleIndex::blocked(double px, double py, double qx, double qy) const {
    return visitCells(px, py, qx, qy, [&](std::size_t c) {
        for (std::uint32_t k = start_[c]; k < start_[c + 1]; ++k) {
            const Segment& s = segments_[items_[k]];
            if (segmentsMeet(px, py, qx, qy, s.ax, s.ay, s.bx, s.by)) return true;
        }
        return false;
    });
}

template <class F>
bool ObstacleIndex::visitBox(double x0, double y0, double x1, double y1, F&& f) const {
    if (nx_ == 0) return false;
    const std::int32_t c0 = clampCell(std::floor((x0 - x0_) / cell_ - kCellMargin), nx_);
    const std::int32_t c1 = clampCell(std::floor((x1 - x0_) / cell_ + kCellMargin), nx_);
    const std::int32_t r0 = clampCell(std::floor((y0 - y0_) / cell_ - kCellMargin), ny_);
    const std::int32_t r1 = clampCell(std::floor((y1 - y0_) / cell_ + kCellMargin), ny_);
    for (std::int32_t r = r0; r <= r1; ++r) {
        for (std::int32_t c = c0; c <= c1; ++c) {
            const std::size_t cell = static_cast<std::size_t>(r) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(c);
            for (std::uint32_t k = start_[cell]; k < start_[cell + 1]; ++k) {
                if (f(items_[k])) return true;
            }
        }
    }
    return false;
}

bool ObstacleIndex::crossesBox(double x0, double y0, double x1, double y1) const {
    return visitBox(x0, y0, x1, y1, [&](std::uint32_t i) { return segmentMeetsBox(segments_[i], x0, y0, x1, y1); });
}

void ObstacleIndex::segmentsMeeting(double x0, double y0, double x1, double y1, std::vector<std::uint32_t>& out) const {
    out.clear();
    // A segment bucketed in several of the box's cells is taken once: each query marks what it took with
    // a number of its own (a sort would cost more than the query where a fixture reaches thousands).
    thread_local std::vector<std::uint32_t> taken;
    thread_local std::uint32_t query = 0;
    if (taken.size() < segments_.size()) taken.resize(segments_.size(), 0);
    if (++query == 0) {
        std::fill(taken.begin(), taken.end(), 0);
        query = 1;
    }
    visitBox(x0, y0, x1, y1, [&](std::uint32_t i) {
        if (taken[i] == query) return false;
        taken[i] = query;
        if (segmentMeetsBox(segments_[i], x0, y0, x1, y1)) out.push_back(i);
        return false;
    });
}

namespace {

// Directions are binned by their pseudo-angle, a monotone stand-in for the angle that needs no trigonometry:
// 0..4 counter-clockwise (in the plan's axes) from the +x direction, a half turn being 2.
constexpr double kTurn = 4;
constexpr double kWedge = kTurn / SightFan::kBins;

} // namespace

double pseudoAngle(double dx, double dy) {
    const double s = std::abs(dx) + std::abs(dy);
    if (!(s > 0)) return 0;
    const double t = dy / s;
    const double a = dx >= 0 ? t : 2 - t;
    return a < 0 ? a + kTurn : a;
}

void directionOf(double a, double& dx, double& dy) {
    // The angles come from pseudoAngle plus a span of less than half a turn: a turn taken off is exact.
    while (a >= kTurn) a -= kTurn;
    while (a < 0) a += kTurn;
    if (a > 3) a -= kTurn;
    if (a <= 1) {
        dx = 1 - std::abs(a);
        dy = a;
    } else {
        const double t = 2 - a;
        dx = -(1 - std::abs(t));
        dy = t;
    }
}

double distanceAlong(double a, double ax, double ay, double ex, double ey) {
    double ux, uy;
    directionOf(a, ux, uy);
    return cross(ax, ay, ex, ey) / cross(ux, uy, ex, ey) * std::sqrt(ux * ux + uy * uy);
}

namespace {

int binOf(double a) {
    int k = static_cast<int>(std::floor(a / kWedge)) % SightFan::kBins;
    return k < 0 ? k + SightFan::kBins : k;
}

} // namespace

SightFan::SightFan(const ObstacleIndex& index, double px, double py)
    : index_(&index), px_(px), py_(py), near_(kBins, std::numeric_limits<double>::infinity()),
      cover_(kBins, std::numeric_limits<double>::infinity()) {
    if (!std::isfinite(px) || !std::isfinite(py)) {
        onObstacle_ = true;
        return;
    }
    std::vector<std::pair<std::uint32_t, std::uint32_t>> reach;  // (wedge, segment)
    const std::vector<ObstacleIndex::Segment>& all = index.segments();
    for (std::uint32_t i = 0; i < all.size(); ++i) {
        const ObstacleIndex::Segment& s = all[i];
        const double ax = s.ax - px, ay = s.ay - py, bx = s.bx - px, by = s.by - py;
        const double ex = bx - ax, ey = by - ay;
        const double len = std::sqrt(ex * ex + ey * ey);
        const double side = cross(ex, ey, -ax, -ay);  // twice the area of (p, a, b)
        const double far = std::sqrt(std::max(ax * ax + ay * ay, bx * bx + by * by));
        if (std::abs(side) <= 1e-9 * std::max(1.0, len * far)) {
            // In line with the segment: the index decides every direction the segment could lie in.
            if (ax * bx + ay * by <= 0) {
                onObstacle_ = true;
                return;
            }
            const int k = binOf(pseudoAngle(ax, ay));
            for (const int b : {k, (k + 1) % kBins, (k + kBins - 1) % kBins}) {
                near_[static_cast<std::size_t>(b)] = 0;
                reach.emplace_back(static_cast<std::uint32_t>(b), i);
            }
            continue;
        }
        if (s.r >= 0) {
            const double dx = px - s.cx, dy = py - s.cy;
            const bool outsideCircle = dx * dx + dy * dy > s.r * s.r * (1 + 1e-6) + 1e-3;
            if (outsideCircle && (side > 0) == (cross(ex, ey, s.cx - s.ax, s.cy - s.ay) > 0)) continue;
        }
        // The segment seen from p spans less than half a turn, counter-clockwise from a0 to a0 + span.
        double a0 = pseudoAngle(ax, ay);
        const double a1 = pseudoAngle(bx, by);
        double span = a1 - a0;
        if (span > kTurn / 2) span -= kTurn;
        if (span < -kTurn / 2) span += kTurn;
        if (span < 0) {
            a0 = a1;
            span = -span;
        }
        const double perp = std::abs(side) / len;
        const double t = (ax * ex + ay * ey) / (len * len);
        const double footAngle = pseudoAngle(ax - t * ex, ay - t * ey);
        auto along = [&](double a) { return distanceAlong(a, ax, ay, ex, ey); };
        const int k0 = static_cast<int>(std::floor(a0 / kWedge));
        const int k1 = static_cast<int>(std::floor((a0 + span) / kWedge));
        // A wedge's far edge is the next one's near edge: its distance is worked out once.
        double edge = std::numeric_limits<double>::quiet_NaN(), edgeDistance = 0;
        for (int k = k0; k <= k1; ++k) {
            const double w0 = k * kWedge, w1 = (k + 1) * kWedge;
            const double f0 = std::max(w0, a0), f1 = std::min(w1, a0 + span);
            const double d0 = f0 == edge ? edgeDistance : along(f0), d1 = along(f1);
            edge = f1;
            edgeDistance = d1;
            double lo = std::min(d0, d1);
            double foot = footAngle;
            while (foot < f0) foot += kTurn;
            if (foot <= f1) lo = std::min(lo, perp);
            const std::size_t b = static_cast<std::size_t>(binOf((w0 + w1) / 2));
            reach.emplace_back(static_cast<std::uint32_t>(b), i);
            // Rounding of the crossing distances: a thousandth of a millimetre in the safe direction.
            near_[b] = std::min(near_[b], lo * (1 - 1e-9) - 1e-6);
            if (a0 <= w0 && a0 + span >= w1) cover_[b] = std::min(cover_[b], std::max(d0, d1) * (1 + 1e-9) + 1e-6);
        }
    }
    start_.assign(kBins + 1, 0);
    for (const auto& [b, i] : reach) ++start_[b + 1];
    for (int b = 0; b < kBins; ++b) start_[static_cast<std::size_t>(b) + 1] += start_[static_cast<std::size_t>(b)];
    segments_.resize(reach.size());
    std::vector<std::uint32_t> fill(start_.begin(), start_.end() - 1);
    for (const auto& [b, i] : reach) segments_[fill[b]++] = i;
}

bool SightFan::blocked(double qx, double qy) const {
    if (!onObstacle_) {
        const double dx = qx - px_, dy = qy - py_;
        const double d = std::sqrt(dx * dx + dy * dy);
        // A direction near a wedge's edge may fall in either wedge by rounding: both must agree.
        const double a = pseudoAngle(dx, dy);
        const std::size_t b = static_cast<std::size_t>(binOf(a));
        const std::size_t b2 = static_cast<std::size_t>(binOf(a + 1e-9)), b3 = static_cast<std::size_t>(binOf(a - 1e-9));
        if (d < std::min({near_[b], near_[b2], near_[b3]})) return false;
        if (d > std::max({cover_[b], cover_[b2], cover_[b3]})) return true;
        const std::vector<ObstacleIndex::Segment>& all = index_->segments();
        for (const std::size_t w : {b, b2, b3}) {
            for (std::uint32_t k = start_[w]; k < start_[w + 1]; ++k) {
                const ObstacleIndex::Segment& s = all[segments_[k]];
                if (segmentsMeet(px_, py_, qx, qy, s.ax, s.ay, s.bx, s.by)) return true;
            }
        }
        return false;
    }
    return index_->blocked(px_, py_, qx, qy);
}

} // namespace calc
