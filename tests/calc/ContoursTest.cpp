// Contour tracing on fields with known iso-lines: circles, lines cut by unlit strips, every piece once.
#include "calc/Calculation.h"
#include "calc/ContourJoin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace calc {
namespace {

using Line = std::vector<ContourPoint>;

// Splits a level's sequence at its markers, checking the format on the way.
std::vector<Line> linesOf(const std::vector<ContourPoint>& seq) {
    std::vector<Line> lines;
    bool open = false;
    for (const auto& p : seq) {
        if (p == kLineStart) {
            EXPECT_FALSE(open);
            open = true;
            lines.emplace_back();
        } else if (p == kLineEnd) {
            EXPECT_TRUE(open);
            open = false;
        } else {
            EXPECT_TRUE(open);
            if (open) lines.back().push_back(p);
        }
    }
    EXPECT_FALSE(open);
    return lines;
}

IlluminanceGrid field(int w, int h, double (*f)(int, int)) {
    IlluminanceGrid g;
    g.allocate(w, h);
    for (int r = 0; r <= h; ++r) {
        for (int c = 0; c <= w; ++c) g.lux[g.index(c, r)] = static_cast<float>(f(c, r));
    }
    return g;
}

TEST(Contours, ConeGivesOneClosedCircleAtEachLevel) {
    const IlluminanceGrid g = field(100, 80, [](int c, int r) { return 200.0 - 6.0 * std::hypot(c - 50.3, r - 40.6); });
    const ContourSet set = buildContours(g, {40, 120}, 100, 80);
    ASSERT_EQ(set.levels, (std::vector<float>{40, 120}));
    for (std::size_t i = 0; i < 2; ++i) {
        const double radius = (200.0 - set.levels[i]) / 6.0;
        const auto lines = linesOf(set.points[i]);
        ASSERT_EQ(lines.size(), 1u) << set.levels[i];
        const Line& l = lines[0];
        EXPECT_GT(l.size(), static_cast<std::size_t>(4 * radius));
        for (const auto& p : l) EXPECT_NEAR(std::hypot(p.x - 50.3, p.y - 40.6), radius, 0.2);
        EXPECT_NEAR(l.front().x, l.back().x, 1e-4);  // closed
        EXPECT_NEAR(l.front().y, l.back().y, 1e-4);
        // The brighter side on the right: clockwise round the peak on screen, where y grows downwards,
        // so the shoelace area comes out positive (and about the circle's).
        double twiceArea = 0;
        for (std::size_t k = 0; k + 1 < l.size(); ++k) twiceArea += double(l[k].x) * l[k + 1].y - double(l[k + 1].x) * l[k].y;
        EXPECT_NEAR(twiceArea / 2, M_PI * radius * radius, 0.02 * M_PI * radius * radius) << set.levels[i];
    }
    EXPECT_NE(set.sequenceOf(40), nullptr);
    EXPECT_EQ(set.sequenceOf(41), nullptr);
}

TEST(Contours, UnlitStripEndsTheLineWhichStartsAgainOnTheOtherSide) {
    // A ramp in x with a wall of 0 lx across it at row 30 and an unlit column band.
    const IlluminanceGrid g = field(60, 60, [](int c, int r) { return r == 30 ? 0.0 : (c >= 50 ? 0.01 : 10.0 + c); });
    std::vector<Line> lines;
    for (const auto& l : linesOf(buildContours(g, {35.5f}, 60, 60).points[0])) {
        if (l.size() > 10) lines.push_back(l);  // the centre points beside a 0 lx wall give short stubs too
    }
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& l : lines) {
        for (const auto& p : l) EXPECT_NEAR(p.x, 25.5, 0.51);  // the iso-line x = 25.5, bent only at its ends
        EXPECT_GE(std::abs(l.front().y - l.back().y), 25.0f);
    }
}

TEST(Contours, EveryPieceOfARuggedFieldIsProducedExactlyOnce) {
    const IlluminanceGrid g = field(90, 70, [](int c, int r) {
        return 60 + 40 * std::sin(c * 0.21) * std::cos(r * 0.17) + 15 * std::sin((c + r) * 0.05) + ((c * 7 + r * 3) % 11 == 0 ? -58.0 : 0.0);
    });
    const ContourSet set = buildContours(g, {30, 60, 61.5f, 90}, 90, 70);
    for (std::size_t i = 0; i < set.levels.size(); ++i) {
        const float L = set.levels[i];
        // Independent count of the triangles the level passes through: the lone vertex of each triangle.
        int expectedPieces = 0;
        for (int r = 0; r < 70; ++r) {
            for (int c = 0; c < 90; ++c) {
                auto node = [&](int x, int y) { return (x <= 0 || y <= 0 || x >= 90 || y >= 70) ? -1.0f : g.luxAt(x, y); };
                const float v[4] = {node(c, r), node(c + 1, r), node(c + 1, r + 1), node(c, r + 1)};
                const float centre = (v[0] + v[1] + v[2] + v[3]) * 0.25f;
                for (int k = 0; k < 4; ++k) {
                    const float t[3] = {v[k], v[(k + 1) % 4], centre};
                    int above = 0;
                    bool litEdges = true;
                    for (int e = 0; e < 3; ++e) above += t[e] >= L;
                    if (above == 0 || above == 3) continue;
                    for (int e = 0; e < 3; ++e) {
                        const float a = t[e], b = t[(e + 1) % 3];
                        if ((a >= L) != (b >= L) && std::min(a, b) <= 0.01f) litEdges = false;
                    }
                    expectedPieces += litEdges;
                }
            }
        }
        int pieces = 0;
        std::set<std::pair<std::pair<float, float>, std::pair<float, float>>> seen;
        for (const auto& l : linesOf(set.points[i])) {
            ASSERT_GE(l.size(), 2u);
            for (std::size_t k = 1; k < l.size(); ++k) {
                ++pieces;
                auto a = std::make_pair(l[k - 1].x, l[k - 1].y), b = std::make_pair(l[k].x, l[k].y);
                EXPECT_TRUE(seen.insert(std::minmax(a, b)).second) << "piece produced twice at level " << L;
            }
        }
        // Pieces of zero length (a node exactly at the level) are merged away; the field avoids them.
        EXPECT_EQ(pieces, expectedPieces) << L;
        EXPECT_GT(pieces, 10);
    }
}

} // namespace
} // namespace calc

// Joining the traced pieces of a level end to end.
namespace {

std::vector<calc::ContourPoint> lineSeq(std::initializer_list<std::initializer_list<calc::ContourPoint>> lines) {
    std::vector<calc::ContourPoint> s;
    for (const auto& l : lines) {
        s.push_back(calc::kLineStart);
        s.insert(s.end(), l.begin(), l.end());
        s.push_back(calc::kLineEnd);
    }
    return s;
}

TEST(ContourJoin, PiecesMeetingAtEitherEndBecomeOneLineAndTheRestStayAsTraced) {
    calc::ContourSet set;
    set.levels = {100, 200};
    // Level 100: a piece, one running backwards into its end, one continuing before its start, a loop
    // and a piece meeting nothing.
    set.points.push_back(lineSeq({{{1, 0}, {2, 0}},
                                  {{3, 1}, {2, 0}},
                                  {{0, 5}, {1, 0}},
                                  {{10, 10}, {11, 10}, {11, 11}, {10, 10}},
                                  {{20, 20}, {21, 21}}}));
    set.points.push_back(lineSeq({{{5, 5}, {6, 6}}}));
    const calc::ContourSet j = calc::joinedContours(set);
    EXPECT_EQ(j.levels, set.levels);
    ASSERT_EQ(j.points.size(), 2u);
    EXPECT_EQ(j.points[0], lineSeq({{{0, 5}, {1, 0}, {2, 0}, {3, 1}},
                                    {{10, 10}, {11, 10}, {11, 11}, {10, 10}},
                                    {{20, 20}, {21, 21}}}));
    EXPECT_EQ(j.points[1], set.points[1]);
}

} // namespace
