// A uniform grid over the plan for line-of-sight tests against wall segments, arc chords and pillar outlines, in millimetres.
#pragma once
#include <cstdint>
#include <vector>

namespace calc {

// The obstacles of a plan as straight segments in double precision, bucketed by the cells of a uniform grid,
// so that a sight test looks only at the segments of the cells its line passes through.
class ObstacleIndex {
public:
    struct Segment {
        double ax = 0, ay = 0, bx = 0, by = 0;
        // A facet of a closed convex outline (a pillar): its centre and the radius of a circle round it;
        // r < 0 for a wall, which stands alone. From outside the circle, a facet whose inner side faces the
        // viewer lies behind the outline's near facets and stops nothing they do not.
        double cx = 0, cy = 0, r = -1;
    };

    ObstacleIndex() = default;
    // Chooses a cell size from the segments' extent and count (a few segments per cell) and buckets them.
    explicit ObstacleIndex(std::vector<Segment> segments);

    // Whether the segment from p to q meets an obstacle. Touching counts (a line through a wall's end point is
    // stopped there), a line running along an obstacle segment does not (it grazes a wall of no thickness).
    bool blocked(double px, double py, double qx, double qy) const;
    // Whether any obstacle segment meets the closed box.
    bool crossesBox(double x0, double y0, double x1, double y1) const;
    // The segments that meet the closed box, each once, in no particular order: a caller testing many sight
    // lines inside the box tests only these.
    void segmentsMeeting(double x0, double y0, double x1, double y1, std::vector<std::uint32_t>& out) const;

    const std::vector<Segment>& segments() const { return segments_; }
    // The area of the segments' bounding box, one unit added along each side (0 without segments).
    double boundingArea() const { return boundingArea_; }

private:
    template <class F>
    bool visitCells(double px, double py, double qx, double qy, F&& f) const;
    // Calls f(segment) for every segment bucketed in the cells the box overlaps (a segment once per cell)
    // until f returns true.
    template <class F>
    bool visitBox(double x0, double y0, double x1, double y1, F&& f) const;

    std::vector<Segment> segments_;
    double x0_ = 0, y0_ = 0, cell_ = 1, boundingArea_ = 0;
    std::int32_t nx_ = 0, ny_ = 0;
    std::vector<std::uint32_t> start_;  // cell c holds items_[start_[c] .. start_[c + 1])
    std::vector<std::uint32_t> items_;
};

// The plan as seen from one point, for many sight tests from it: in each of kBins wedges around the point, how
// near an obstacle comes at the least (a point nearer is seen for sure) and how far at the most an obstacle
// that spans the whole wedge lies (a point beyond it is hidden for sure). Between the two, or from a point on
// an obstacle, the segments reaching into the wedge decide; the answers are always the index's.
class SightFan {
public:
    static constexpr int kBins = 256;
    SightFan(const ObstacleIndex& index, double px, double py);
    bool blocked(double qx, double qy) const;

private:
    const ObstacleIndex* index_;
    double px_, py_;
    bool onObstacle_ = false;
    std::vector<double> near_, cover_;
    // The segments that reach into each wedge: wedge b holds segments_[start_[b] .. start_[b + 1]). A sight
    // line can only meet a segment of its own wedge, so between the two distances only those are tested.
    std::vector<std::uint32_t> start_, segments_;
};

// A measure of the direction of (dx, dy) that grows with its angle, without trigonometry: 0..4 counter-
// clockwise (in the plan's axes) from the +x direction, a half turn being 2 (0 for no direction).
double pseudoAngle(double dx, double dy);
// A direction (not of unit length) with the given pseudo-angle, any number of turns added or taken off.
void directionOf(double a, double& dx, double& dy);
// How far from the origin, along the direction of pseudo-angle a, the line through (ax, ay) running
// along (ex, ey) lies (negative behind, infinite along it).
double distanceAlong(double a, double ax, double ay, double ex, double ey);

// Whether the closed segments p-q and a-b meet; collinear segments never do.
bool segmentsMeet(double px, double py, double qx, double qy, double ax, double ay, double bx, double by);

} // namespace calc
