// The luminaire model against the photometric formulas, and the line-of-sight tests on hand-made geometry.
#include "calc/IlluminanceGrid.h"
#include "calc/Luminaire.h"
#include "calc/Scenes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace calc {
namespace {

using testing::cosineType;

TableSettings settingsAt(float mmPerPixel, int step, bool maintenance = true) {
    TableSettings s;
    s.mmPerPixel = mmPerPixel;
    s.scaleDenominator = 100;
    s.calcStep = step;
    s.maintenanceOn = maintenance;
    s.maintenanceClass = 1;
    return s;
}

// The tabulated distribution of a plane, linear between whole degrees (the definition of I(γ)).
double tabulated(const catalog::IntensityPlane& p, double deg) {
    const int e = static_cast<int>(deg);
    return p[static_cast<std::size_t>(e)] + (deg - e) * (p[static_cast<std::size_t>(e + 1)] - p[static_cast<std::size_t>(e)]);
}

// E = I(γ)·cos γ / D² (D the slant distance), I in cd per 1000 lm scaled by kou, tosu and f, lengths in mm.
double illuminance(double intensityPer1000, double horizontalMm, double heightMm, double kou, double tosu, double f) {
    const double gamma = std::atan(horizontalMm / heightMm);
    const double d2 = horizontalMm * horizontalMm + heightMm * heightMm;
    return intensityPer1000 * kou / 1000.0 * tosu * f * std::cos(gamma) / d2 * 1e6;
}

TEST(PointSource, UnderTheLuminaireIsKouTimesPeakTimesFactorsOverHeightSquared) {
    const auto type = cosineType(400, 1.0, 1000, 2);
    TypeTable t;
    prepareFixtureType(t, type, 2400, settingsAt(20, 1));
    // kou × I(0°) × f × tosu × 1000 / H², f = 0.8 (normal) × 1.0
    EXPECT_NEAR(t.at(0, 0), 1000.0 * 400 * 0.8 * 2 * 1000 / (2400.0 * 2400.0), 1e-4);
    EXPECT_FALSE(t.dark);
    EXPECT_EQ(t.nAlong, 0);
    EXPECT_EQ(t.nAcross, 0);
}

TEST(PointSource, OffAxisPointsFollowTheInverseSquareAndCosineLaws) {
    const auto type = cosineType(400, 3.0, 2500, 1);
    TypeTable t;
    const float mmpp = 20;
    prepareFixtureType(t, type, 3000, settingsAt(mmpp, 1, false));
    for (auto [a, b] : {std::pair{0, 30}, {40, 0}, {30, 40}, {100, 75}, {7, 130}}) {
        const double d = std::hypot(a, b) * mmpp;
        const double gammaDeg = std::atan(d / 3000.0) * 180.0 / M_PI;
        const double expected = illuminance(tabulated(type.intensity[0], gammaDeg), d, 3000, 2500, 1, 1.0);
        EXPECT_NEAR(t.at(a, b), expected, expected * 1e-5) << a << "," << b;
    }
}

TEST(PointSource, TwoPlaneTypeUsesPlaneOneAlongItsLengthAndPlaneZeroAcross) {
    auto type = testing::linearType(300);  // below the split threshold: one point source
    TypeTable t;
    prepareFixtureType(t, type, 2000, settingsAt(25, 1, false));
    ASSERT_EQ(t.nAlong, 0);
    for (int off : {10, 40, 80}) {
        const double d = off * 25.0;
        const double g = std::atan(d / 2000.0) * 180.0 / M_PI;
        const double along = illuminance(tabulated(type.intensity[1], g), d, 2000, type.kou, 1, 1.0);
        const double across = illuminance(tabulated(type.intensity[0], g), d, 2000, type.kou, 1, 1.0);
        EXPECT_NEAR(t.at(off, 0), along, along * 1e-5);
        EXPECT_NEAR(t.at(0, off), across, across * 1e-5);
    }
    // A single-plane type ignores the C angle: equal distances give equal values.
    const auto round = cosineType(500, 2.0);
    prepareFixtureType(t, round, 2000, settingsAt(25, 1));
    EXPECT_EQ(t.at(30, 40), t.at(40, 30));
    EXPECT_EQ(t.at(50, 0), t.at(0, 50));
}

TEST(PointSource, LongLuminairesAreSplitIntoEvenlySpacedSources) {
    EXPECT_EQ(splitSources(1200, 5, 400).n, 4);  // nine sources
    EXPECT_EQ(splitSources(1200, 5, 400).s, 26);
    EXPECT_EQ(splitSources(600, 20, 600).n, 2);  // sAlong 3 < 6: five sources six steps apart
    EXPECT_EQ(splitSources(600, 20, 600).s, 6);
    EXPECT_EQ(splitSources(599, 20, 600).n, 0);
    EXPECT_EQ(splitThreshold(50), 400);
    EXPECT_EQ(splitThreshold(100), 600);
    EXPECT_EQ(splitThreshold(200), 1200);
    EXPECT_EQ(splitThreshold(-1), 400);
}

TEST(PointSource, SplitLuminaireIsTheSumOfItsSourcesEachWithItsShareOfTheFlux) {
    auto type = cosineType(400, 1.0, 3000);
    type.sizeX = 1200;
    TypeTable t;
    prepareFixtureType(t, type, 2500, settingsAt(5, 1, false));
    ASSERT_EQ(t.nAlong, 4);
    ASSERT_EQ(t.sAlong, 26);
    for (int a : {0, 13, 60}) {
        double expected = 0;
        for (int k = -4; k <= 4; ++k) {
            const double d = std::abs(a - 26 * k) * 5.0;
            const double g = std::atan(d / 2500.0) * 180.0 / M_PI;
            expected += illuminance(tabulated(type.intensity[0], g), d, 2500, 3000, 1, 1.0) / 9.0;
        }
        EXPECT_NEAR(t.at(a, 0), expected, expected * 1e-5) << a;
    }
}

TEST(PointSource, CoarseStepsInterpolateTheSkippedEntriesAndCutOffTheTail) {
    const auto type = cosineType(400, 2.0, 2000);
    TypeTable fine, coarse;
    prepareFixtureType(fine, type, 2400, settingsAt(20, 1));
    prepareFixtureType(coarse, type, 2400, settingsAt(20, 3));
    EXPECT_EQ(coarse.at(3, 6), fine.at(3, 6));  // computed entries are the model itself
    const float mid = coarse.at(4, 6);
    EXPECT_NEAR(mid, coarse.at(3, 6) + (coarse.at(6, 6) - coarse.at(3, 6)) / 3, 1e-4);
    // The reach ends where the across axis drops below 0.05 lx, and nothing lies beyond it.
    ASSERT_LT(fine.reach, kMaxReach);
    EXPECT_LT(fine.at(0, fine.reach - 1), 0.05f);
    EXPECT_GE(fine.at(0, fine.reach - 2), 0.05f);
    EXPECT_EQ(fine.at(0, fine.reach + 5), 0.0f);
}

TEST(PointSource, LuminaireAtOrBelowThePlaneOrWithoutScaleLightsNothing) {
    const auto type = cosineType(400, 1.0);
    TypeTable t;
    for (int h : {0, -500}) {
        prepareFixtureType(t, type, h, settingsAt(20, 1));
        EXPECT_TRUE(t.dark);
        EXPECT_EQ(t.at(0, 0), 0.0f);
    }
    prepareFixtureType(t, type, 2400, settingsAt(-1, 1));
    EXPECT_TRUE(t.dark);
}

TEST(IntensityLookup, StaysInsideTheTableAtAndBeyondTheEnds) {
    auto type = cosineType(400, 1.0);
    type.intensity[0][180] = 7;
    EXPECT_EQ(catalog::intensityAt(type, 0, 0), 400.0f);
    EXPECT_EQ(catalog::intensityAt(type, 180, 0), 7.0f);
    EXPECT_EQ(catalog::intensityAt(type, 250, 0), 7.0f);
    EXPECT_EQ(catalog::intensityAt(type, -3, 0), 400.0f);
    EXPECT_EQ(catalog::intensityAt(type, NAN, 0), 400.0f);
    // Between the planes an ellipse: halfway at C 45° for I0 = 100, I90 = 200 gives 1/sqrt(0.5/100² + 0.5/200²).
    type.planeCount = 2;
    type.intensity[0].fill(100);
    type.intensity[1].fill(200);
    EXPECT_NEAR(catalog::intensityAt(type, 30.5, 45), 1.0 / std::sqrt(0.5 / 1e4 + 0.5 / 4e4), 1e-3);
    EXPECT_NEAR(catalog::intensityAt(type, 30.5, 0), 100, 1e-4);
    EXPECT_NEAR(catalog::intensityAt(type, 30.5, 90), 200, 1e-4);
}

TEST(LineOfSight, StraightWallsBlockWhereTheSegmentsMeetInclusively) {
    EXPECT_TRUE(segmentsCross(0, 0, 10, 10, 0, 10, 10, 0));
    EXPECT_FALSE(segmentsCross(0, 0, 4, 4, 0, 10, 10, 0));  // the crossing lies beyond the luminaire
    EXPECT_TRUE(segmentsCross(5, 5, 5, 20, 0, 5, 10, 5));   // grid point on the wall line
    EXPECT_TRUE(segmentsCross(0, 7, 20, 7, 10, 0, 10, 7));  // touching the wall's end
    EXPECT_FALSE(segmentsCross(0, 0, 10, 10, 0, 1, 10, 11));  // parallel
    EXPECT_FALSE(segmentsCross(0, 5, 10, 5, 2, 5, 8, 5));     // running along the wall
    EXPECT_FALSE(segmentsCross(3, 0, 3, 10, 3, 2, 3, 8));     // both vertical
    EXPECT_TRUE(segmentsCross(3, 0, 3, 10, 0, 5, 9, 6));      // vertical sight line
    EXPECT_TRUE(segmentsCross(0, 5, 10, 6, 4, 0, 4, 10));     // vertical wall
    EXPECT_FALSE(segmentsCross(0, 5, 10, 6, 4, 0, 4, 4));
}

TEST(LineOfSight, CylindricalPillarsBlockOnlyWhereTheCircleMeetsTheSegment) {
    EXPECT_TRUE(circleBlocks(0, 0, 100, 0, 50, 0, 10));
    EXPECT_FALSE(circleBlocks(0, 0, 30, 0, 50, 0, 10));   // circle beyond the luminaire
    EXPECT_FALSE(circleBlocks(0, 0, 30, 0, 50, 10, 10));  // touches the line outside the segment
    EXPECT_TRUE(circleBlocks(0, 0, 100, 0, 50, 10, 10));  // touches the line inside it
    EXPECT_FALSE(circleBlocks(0, 0, 100, 0, 50, 30, 10));
    EXPECT_TRUE(circleBlocks(40, 0, 40, 100, 45, 50, 10));  // vertical sight line
    EXPECT_FALSE(circleBlocks(70, 0, 70, 100, 45, 50, 10));
    // A steep line of sight far from the pillar: single precision would see a crossing here.
    EXPECT_FALSE(circleBlocks(1000, 0, 1001, 800, 1150, 400, 12));
    EXPECT_TRUE(circleBlocks(1000, 0, 1001, 800, 1000, 400, 12));
}

TEST(LineOfSight, ArcWallsBlockOnlyAlongTheirSpan) {
    model::LineRecord arc;
    arc.kind = 'A';
    arc.x3 = 30, arc.y3 = 30, arc.x4 = 70, arc.y4 = 70;  // circle of radius 20 about (50, 50)
    arc.x1 = 70, arc.y1 = 50;                          // from east ...
    arc.x2 = 30, arc.y2 = 50;                          // ... counter-clockwise over the top to west
    EXPECT_TRUE(arcBlocks(50, 0, 50, 50, arc));    // crosses the top
    EXPECT_FALSE(arcBlocks(50, 100, 50, 55, arc));  // crosses the open bottom
    EXPECT_TRUE(arcBlocks(50, 100, 50, 0, arc));   // crosses both
    EXPECT_FALSE(arcBlocks(0, 0, 10, 10, arc));    // misses the circle
    EXPECT_FALSE(arcBlocks(50, 45, 50, 55, arc));  // inside the circle, no crossing
    model::LineRecord point = arc;
    point.x3 = point.x4 = 50;
    point.y3 = point.y4 = 50;
    EXPECT_FALSE(arcBlocks(0, 0, 100, 100, point));  // a point: the crossing lies at -90°, outside the span
}

} // namespace
} // namespace calc
