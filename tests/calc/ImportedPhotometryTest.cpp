// A luminaire imported from a photometric file lights the plane as the file's candela values imply.
#include "calc/Luminaire.h"
#include "catalog/Photometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace calc {
namespace {

// Candela of the file: 2000·cos γ below the horizon at 5° steps, for a 1-lamp luminaire of 2500 lm.
double fileCandela(int gammaDeg) { return gammaDeg >= 90 ? 0.0 : 2000.0 * std::cos(gammaDeg * M_PI / 180.0); }

std::string iesFile() {
    std::ostringstream s;
    s << "IESNA:LM-63-2002\r\n[LUMCAT] IMPORT-1\r\nTILT=NONE\r\n1 2500 1 19 1 1 2 0 0 0\r\n1 1 30\r\n";
    for (int g = 0; g <= 90; g += 5) s << g << " ";
    s << "\r\n0\r\n";
    for (int g = 0; g <= 90; g += 5) s << fileCandela(g) << " ";
    s << "\r\n";
    return s.str();
}

TEST(ImportedPhotometry, IlluminanceUnderAndBesideTheLuminaireIsTheFilesCandelaOverDistanceSquared) {
    std::string reason;
    auto data = catalog::readIes(iesFile(), reason);
    ASSERT_TRUE(data) << reason;
    catalog::TourokuTable touroku;
    touroku.registerSlot(1, catalog::toFixtureType(*data, "import"));
    const catalog::BunpuHinban& type = touroku[1];
    ASSERT_EQ(type.planeCount, 1);

    TableSettings settings;
    settings.mmPerPixel = 25;
    settings.scaleDenominator = 100;
    settings.calcStep = 1;
    settings.maintenanceOn = false;
    TypeTable t;
    const double H = 2500;  // mm
    prepareFixtureType(t, type, static_cast<std::int32_t>(H), settings);

    // Straight below: E = I(0) / H², lengths in metres.
    EXPECT_NEAR(t.at(0, 0), fileCandela(0) / (H / 1000 * H / 1000), 0.01);
    // 100 steps of 25 mm = H beside it: γ = 45°, E = I(45°)·cos 45° / (2 H²).
    const double at45 = fileCandela(45) * std::cos(M_PI / 4) / (2 * (H / 1000) * (H / 1000));
    EXPECT_NEAR(t.at(100, 0), at45, at45 * 1e-3);
    EXPECT_NEAR(t.at(0, 100), at45, at45 * 1e-3);
    // 60° lies on a file angle too: d = H·tan 60°.
    const int a60 = static_cast<int>(std::lround(H * std::tan(M_PI / 3) / 25));
    const double d60 = a60 * 25.0 / 1000, h = H / 1000;
    const double gamma60 = std::atan(d60 / h);
    const double i60 = 2000.0 * std::cos(gamma60);  // the file is linear in 5° steps; cos is close enough at 1e-2
    EXPECT_NEAR(t.at(a60, 0), i60 * std::cos(gamma60) / (d60 * d60 + h * h), 0.01 * t.at(a60, 0));
}

} // namespace
} // namespace calc
