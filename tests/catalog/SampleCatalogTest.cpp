// The committed sample catalogue: its size, its physics (emitted flux = efficiency × lamp flux) and its colours.
#include "support/TestPaths.h"
#include "catalog/Catalog.h"
#include "catalog/Selection.h"

#include "base/Text.h"

#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

namespace {

std::string sampleDir() { return testsupport::sourceDir() + "/data/zolt_data"; }

class SampleCatalog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        services = new ui::testing::FakeServices;
        cat = new catalog::Catalog;
        cat->load(sampleDir(), *services);
    }
    static void TearDownTestSuite() {
        delete cat;
        delete services;
    }
    static ui::testing::FakeServices* services;
    static catalog::Catalog* cat;
};
ui::testing::FakeServices* SampleCatalog::services = nullptr;
catalog::Catalog* SampleCatalog::cat = nullptr;

// Flux in lm per 1000 lm of lamp flux of a rotationally symmetric table: 2π ∫ I sin γ dγ, trapezoids of 1°.
double symmetricFlux(const catalog::IntensityPlane& p) {
    double sum = 0;
    for (int g = 0; g < 180; ++g) {
        const double a = p[static_cast<std::size_t>(g)] * std::sin(g * M_PI / 180);
        const double b = p[static_cast<std::size_t>(g + 1)] * std::sin((g + 1) * M_PI / 180);
        sum += (a + b) / 2 * M_PI / 180;
    }
    return 2 * M_PI * sum;
}

} // namespace

TEST_F(SampleCatalog, HoldsTheAdvertisedVariety) {
    ASSERT_TRUE(services->messages.empty()) << services->messages[0].text;
    EXPECT_TRUE(services->errors.empty());
    EXPECT_GE(cat->searchProducts("").size(), 120u);
    EXPECT_GE(cat->productIndex().size(), 300u);
    std::set<std::string> codes;
    for (const auto& e : cat->haikouIndex()) codes.insert(e.key);
    EXPECT_GE(codes.size(), 60u);
    EXPECT_GE(cat->lampTable().size(), 40u);
    EXPECT_EQ(cat->lightColors().loaded, 63);
    std::set<int> planeCounts;
    int uplights = 0, sharpAt90 = 0, fine = 0;
    for (const auto& code : codes) {
        const auto d = cat->distribution(code);
        planeCounts.insert(d.planeCount);
        uplights += d.intensity[0][120] > 0;
        sharpAt90 += d.intensity[0][90] > 0 && d.intensity[0][95] == 0;
        fine += d.intensity[0][1] != d.intensity[0][0] + (d.intensity[0][5] - d.intensity[0][0]) * 0.2f;
    }
    EXPECT_EQ(planeCounts, (std::set<int>{1, 2, 3}));
    EXPECT_GE(uplights, 5);
    EXPECT_GE(sharpAt90, 3);
    EXPECT_GE(fine, 5);
    for (const auto& lamp : cat->lampTable()) {
        EXPECT_GE(lamp.colorTemp, 2700);
        EXPECT_LE(lamp.colorTemp, 6500);
        EXPECT_GT(lamp.kou, 0);
        EXPECT_GT(lamp.factor, 0.0f);
    }
}

TEST_F(SampleCatalog, SymmetricDistributionsEmitTheFixtureEfficiencyOfTheirLampFlux) {
    std::map<std::string, double> efficiencyOf;
    for (std::size_t i = 0; i < cat->productIndex().size(); ++i) {
        base::Fields f(cat->productLine(static_cast<int>(i)));
        efficiencyOf[f[9]] = base::toFloat(f[31]);
    }
    int checked = 0;
    for (const auto& [code, efficiency] : efficiencyOf) {
        const auto d = cat->distribution(code);
        if (d.planeCount != 1) continue;
        EXPECT_NEAR(symmetricFlux(d.intensity[0]) / 1000.0, efficiency, 0.03 * efficiency) << code;
        ++checked;
    }
    EXPECT_GE(checked, 30);
}

TEST_F(SampleCatalog, SomeProductsAreRefusedAsAsymmetricAndTheRestRegister) {
    ui::testing::RecordingSurface picture(30, 30);
    catalog::Selection sel(*cat, *services);
    int refused = 0, registrable = 0;
    for (const auto& hinban : cat->searchProducts("")) {
        sel.show(hinban, 'A', picture);
        ASSERT_EQ(sel.listLampName.size(), sel.lampCodes.size());
        if (sel.lampCodes.empty()) continue;
        if (sel.cmdOKEnabled) {
            catalog::HaikouMdb b;
            ASSERT_TRUE(sel.confirm(b)) << hinban;
            EXPECT_GT(b.intensity[0][0] + b.intensity[0][90] + b.intensity[0][150], 0.0f) << hinban;
            ++registrable;
        } else {
            EXPECT_EQ(sel.labMessage, catalog::kMsgAsymmetric);
            ++refused;
        }
    }
    EXPECT_GE(refused, 3);
    EXPECT_GE(registrable, 100);
    EXPECT_TRUE(services->errors.empty());
}

TEST_F(SampleCatalog, LightColoursFollowTheBlackBodyFromRedOrangeToBluishWhite) {
    const auto& t = cat->lightColors();
    const ui::Color c2000 = ui::Color::fromColorRef(*t.colourOf(2000));
    EXPECT_EQ(c2000.r, 255);
    EXPECT_GT(c2000.g, c2000.b);
    EXPECT_LT(c2000.b, 80);
    // Near 6500 K the black body is close to the sRGB white point.
    const ui::Color c6500 = ui::Color::fromColorRef(*t.colourOf(6500));
    EXPECT_GE(std::min({c6500.r, c6500.g, c6500.b}), 235);
    const ui::Color c8200 = ui::Color::fromColorRef(*t.colourOf(8200));
    EXPECT_GT(c8200.b, c8200.r);
    // Blue never falls and red never rises as the temperature climbs.
    for (int k = 2100; k <= 8200; k += 100) {
        const ui::Color lo = ui::Color::fromColorRef(*t.colourOf(k - 100));
        const ui::Color hi = ui::Color::fromColorRef(*t.colourOf(k));
        EXPECT_GE(hi.b, lo.b) << k;
        EXPECT_LE(hi.r, lo.r) << k;
    }
}
