// The uniform-grid obstacle index: segments bucketed by the cells they pass, sight tests along the cells of the line.
#include "calc/ObstacleIndex.h"

#include <algorithm>
#include <cmath>

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

bool ObstacleIndex::crossesBox(double x0, double y0, double x1, double y1) const {
    if (nx_ == 0) return false;
    const std::int32_t c0 = clampCell(std::floor((x0 - x0_) / cell_ - kCellMargin), nx_);
    const std::int32_t c1 = clampCell(std::floor((x1 - x0_) / cell_ + kCellMargin), nx_);
    const std::int32_t r0 = clampCell(std::floor((y0 - y0_) / cell_ - kCellMargin), ny_);
    const std::int32_t r1 = clampCell(std::floor((y1 - y0_) / cell_ + kCellMargin), ny_);
    for (std::int32_t r = r0; r <= r1; ++r) {
        for (std::int32_t c = c0; c <= c1; ++c) {
            const std::size_t cell = static_cast<std::size_t>(r) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(c);
            for (std::uint32_t k = start_[cell]; k < start_[cell + 1]; ++k) {
                if (segmentMeetsBox(segments_[items_[k]], x0, y0, x1, y1)) return true;
            }
        }
    }
    return false;
}

} // namespace calc
