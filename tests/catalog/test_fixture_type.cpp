// Tests of the fixture type table: registration, plane expansion and the intensity lookup.
#include "catalog/FixtureType.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using catalog::IntensityPlane;

IntensityPlane fiveDegreeRamp() {
    IntensityPlane p{};
    for (int g = 0; g <= 180; g += 5) p[static_cast<std::size_t>(g)] = static_cast<float>(180 - g);
    return p;
}

TEST(CatalogExpansion, FiveDegreeDataAreInterpolatedLinearly) {
    IntensityPlane p = fiveDegreeRamp();
    catalog::expandCatalogPlane(p);
    for (int g = 0; g <= 180; ++g) EXPECT_NEAR(p[static_cast<std::size_t>(g)], 180 - g, 1e-4) << g;
}

TEST(CatalogExpansion, FineDataUpToTenDegreesBridgeToFifteen) {
    IntensityPlane p{};
    for (int g = 0; g <= 10; ++g) p[static_cast<std::size_t>(g)] = 100.0f + g;  // fine data 0..10
    for (int g = 15; g <= 180; g += 5) p[static_cast<std::size_t>(g)] = 200.0f;
    p[15] = 150.0f;
    catalog::expandCatalogPlane(p);
    // j = 11, a = 10, b = 15: values 11..14 lie on the line from (10, 110) to (15, 150).
    for (int k = 11; k <= 14; ++k) EXPECT_NEAR(p[static_cast<std::size_t>(k)], 110.0f + (150.0f - 110.0f) * (k - 10) / 5.0f, 1e-4);
    EXPECT_FLOAT_EQ(p[10], 110.0f);
    EXPECT_NEAR(p[17], 150.0f + 50.0f * 0.4f, 1e-4);
}

TEST(CatalogExpansion, FineDataWithoutAZeroOverwriteTheTwentyDegreeValue) {
    IntensityPlane p{};
    for (int g = 0; g <= 19; ++g) p[static_cast<std::size_t>(g)] = 50.0f;
    for (int g = 20; g <= 180; g += 5) p[static_cast<std::size_t>(g)] = 10.0f;
    p[25] = 30.0f;
    catalog::expandCatalogPlane(p);
    // j = 20, a = 19, b = 25: 20..24 run from the value at 19 to the value at 25.
    EXPECT_NEAR(p[20], 50.0f + (30.0f - 50.0f) / 6.0f, 1e-4);
    EXPECT_NEAR(p[24], 50.0f + (30.0f - 50.0f) * 5.0f / 6.0f, 1e-4);
}

TEST(CatalogExpansion, ADistributionEndingAtNinetyStaysSharp) {
    IntensityPlane p{};
    for (int g = 0; g <= 90; g += 5) p[static_cast<std::size_t>(g)] = 500.0f;
    catalog::expandCatalogPlane(p);
    EXPECT_FLOAT_EQ(p[90], 500.0f);
    for (int g = 91; g <= 94; ++g) EXPECT_EQ(p[static_cast<std::size_t>(g)], 0.0f) << g;
}

TEST(CatalogExpansion, OnlyThePlanesThatArePresentAreExpanded) {
    catalog::IntensityTable t{};
    t[0] = fiveDegreeRamp();
    t[1] = fiveDegreeRamp();
    catalog::expandCatalogTable(t, 1);
    EXPECT_NEAR(t[0][1], 179.0f, 1e-4);
    EXPECT_EQ(t[1][1], 0.0f);  // plane 1 left as given
    EXPECT_EQ(t[2][1], 0.0f);
}

TEST(StoredExpansion, RebuildsOnlyTheAnglesAboveTwentyAndKeepsTheStepNinetyFive) {
    IntensityPlane p{};
    for (int g = 0; g <= 20; ++g) p[static_cast<std::size_t>(g)] = 7.0f + g;
    for (int g = 25; g <= 90; g += 5) p[static_cast<std::size_t>(g)] = 100.0f;
    catalog::expandStoredPlane(p);
    EXPECT_NEAR(p[21], 27.0f + (100.0f - 27.0f) * 0.2f, 1e-4);
    EXPECT_FLOAT_EQ(p[7], 14.0f);
    EXPECT_NEAR(p[93], 100.0f * 0.4f, 1e-4);  // ramps down to 95: no sharp cut after a project is read
}

TEST(IntensityAt, InterpolatesBetweenWholeDegreesAndHandlesTheEnds) {
    catalog::BunpuHinban t;
    t.planeCount = 1;
    for (int g = 0; g <= 180; ++g) t.intensity[0][static_cast<std::size_t>(g)] = static_cast<float>(1000 - g);
    EXPECT_DOUBLE_EQ(catalog::intensityAt(t, 0, 0), 1000);
    EXPECT_NEAR(catalog::intensityAt(t, 10.25, 45), 989.75, 1e-9);
    EXPECT_DOUBLE_EQ(catalog::intensityAt(t, 180, 0), 820);  // no degree 181 is ever read
    EXPECT_DOUBLE_EQ(catalog::intensityAt(t, 200, 0), 820);
}

TEST(IntensityAt, IsAnEllipseBetweenTheC0AndC90Planes) {
    catalog::BunpuHinban t;
    t.planeCount = 2;
    t.intensity[0].fill(300.0f);
    t.intensity[1].fill(100.0f);
    EXPECT_NEAR(catalog::intensityAt(t, 30, 0), 300.0, 1e-9);
    EXPECT_NEAR(catalog::intensityAt(t, 30, 90), 100.0, 1e-9);
    const double at45 = catalog::intensityAt(t, 30, 45);
    // On the ellipse with half axes 300 and 100 at 45°: r = ab / sqrt((a² + b²)/2).
    EXPECT_NEAR(at45, 300.0 * 100.0 / std::sqrt((300.0 * 300.0 + 100.0 * 100.0) / 2.0), 1e-9);
    t.intensity[1].fill(0.0f);
    EXPECT_GT(catalog::intensityAt(t, 30, 45), 0.0);  // a zero plane does not divide by zero
}

TEST(TourokuTable, RegistrationKeepsThePlacedCountAndFillsTheCopies) {
    catalog::TourokuTable table;
    table[4].placedCount = 3;
    table[4].listEdited = true;
    catalog::HaikouMdb sel;
    sel.hinban = "XL-1";
    sel.lampName = "ランプ";
    sel.tosu = 2;
    sel.kou = 3000;
    sel.kouCatalog = 3000;
    sel.maintClass = 4;
    sel.maintFactor = *catalog::maintFactorsOf(4);
    table.registerSlot(4, sel);
    EXPECT_EQ(table[4].placedCount, 3);
    EXPECT_FALSE(table[4].listEdited);
    EXPECT_EQ(table[4].hinbanCopy, "XL-1");
    EXPECT_EQ(table[4].lampNameCopy, "ランプ");
    EXPECT_EQ(table[4].tosuCopy, 2);
    EXPECT_FLOAT_EQ(table[4].maintFactor[0], 0.85f);
    EXPECT_EQ(table.registeredCount(), 1);
    table.freeSlot(4);
    EXPECT_FALSE(table[4].isRegistered());
    EXPECT_THROW(table[37], std::out_of_range);
}

TEST(TourokuTable, SlotsFollowTheSixTabsOfSix) {
    EXPECT_EQ(catalog::slotOf(0, 1), 1);
    EXPECT_EQ(catalog::slotOf(3, 1), 19);
    EXPECT_EQ(catalog::slotOf(5, 6), 36);
    EXPECT_TRUE(catalog::isLinearSlot(19));
    EXPECT_TRUE(catalog::isLinearSlot(24));
    EXPECT_FALSE(catalog::isLinearSlot(25));
}

TEST(Tables, MaintenanceClassesAndLightColoursHaveRowsOnlyInRange) {
    EXPECT_FALSE(catalog::maintFactorsOf(0));
    EXPECT_FALSE(catalog::maintFactorsOf(21));
    EXPECT_FLOAT_EQ((*catalog::maintFactorsOf(12))[1], 0.0f);
    EXPECT_FLOAT_EQ((*catalog::maintFactorsOf(20))[2], 0.9f);
    catalog::LightColorTable colours;
    colours.colorRef[10] = 0x123456;
    EXPECT_EQ(colours.colourOf(3050), 0x123456u);
    EXPECT_FALSE(colours.colourOf(1999));
    EXPECT_FALSE(colours.colourOf(8300));
    EXPECT_TRUE(colours.colourOf(8299));
}

} // namespace
