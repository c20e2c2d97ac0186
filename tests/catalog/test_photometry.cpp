// Tests of the IES and EULUMDAT readers against distributions whose values are known in closed form.
#include "catalog/Photometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

// An IES file of a cosine distribution I(γ) = peak·cos γ below the horizon, on the given C planes,
// each plane scaled by its own factor.
std::string iesCosine(double lumens, double peak, const std::vector<double>& cPlanes, const std::vector<double>& planeScale,
                      int lamps = 1, const char* tilt = "TILT=NONE") {
    std::ostringstream s;
    s << "IESNA:LM-63-2002\r\n[TEST] sample\r\n[LUMCAT] DL-IES-1\r\n[LAMP] LED 30W\r\n" << tilt << "\r\n";
    s << lamps << " " << lumens << " 1 19 " << cPlanes.size() << " 1 2 0.1 0.6 0\r\n1 1 30\r\n";
    for (int g = 0; g <= 90; g += 5) s << g << " ";
    s << "\r\n";
    for (double c : cPlanes) s << c << " ";
    s << "\r\n";
    for (std::size_t p = 0; p < cPlanes.size(); ++p) {
        for (int g = 0; g <= 90; g += 5) s << peak * planeScale[p] * std::cos(g * M_PI / 180.0) << " ";
        s << "\r\n";
    }
    return s.str();
}

TEST(IesReader, ConvertsCandelaToCandelaPerThousandLumensOfLampFlux) {
    catalog::HaikouMdb out;
    std::string error;
    ASSERT_TRUE(catalog::parsePhotometry(iesCosine(2000, 800, {0}, {1.0}, 2), "a.ies", out, error)) << error;
    EXPECT_EQ(out.planeCount, 1);
    EXPECT_EQ(out.tosu, 2);
    EXPECT_EQ(out.kou, 2000);
    // 800 cd from 2 × 2000 lm is 200 cd per 1000 lm.
    EXPECT_NEAR(out.intensity[0][0], 200.0, 1e-3);
    EXPECT_NEAR(out.intensity[0][60], 100.0, 1e-3);
    // Between the 5° measurements the reader interpolates linearly.
    const double at32 = 200.0 * (std::cos(30 * M_PI / 180) * 0.6 + std::cos(35 * M_PI / 180) * 0.4);
    EXPECT_NEAR(out.intensity[0][32], at32, 1e-3);
    EXPECT_EQ(out.intensity[0][120], 0.0f);
    EXPECT_EQ(out.hinban, "DL-IES-1");
    EXPECT_EQ(out.lampName, "LED 30W");
    EXPECT_EQ(out.sizeX, 600);  // metres to millimetres
    EXPECT_EQ(out.sizeY, 100);
    EXPECT_EQ(out.haikouCode, "a.ies");
}

TEST(IesReader, AQuadrantMirrorsIntoTheC180Plane) {
    catalog::HaikouMdb out;
    std::string error;
    ASSERT_TRUE(catalog::parsePhotometry(iesCosine(1000, 500, {0, 45, 90}, {1.0, 0.8, 0.5}), "b.ies", out, error)) << error;
    EXPECT_EQ(out.planeCount, 3);
    EXPECT_NEAR(out.intensity[0][0], 500.0, 1e-3);
    EXPECT_NEAR(out.intensity[1][0], 250.0, 1e-3);
    EXPECT_NEAR(out.intensity[2][0], 500.0, 1e-3);
}

TEST(IesReader, AbsolutePhotometryTakesTheIntegratedFluxAsTheLampFlux) {
    catalog::HaikouMdb out;
    std::string error;
    ASSERT_TRUE(catalog::parsePhotometry(iesCosine(-1, 1000, {0}, {1.0}), "c.ies", out, error)) << error;
    // A cosine distribution of peak I0 emits π·I0 lumens.
    EXPECT_NEAR(out.kou, M_PI * 1000, 15);
    EXPECT_NEAR(out.intensity[0][0] * out.kou / 1000.0, 1000.0, 1.0);
}

TEST(IesReader, RefusesWhatItCannotReadWithTheSystemsMessage) {
    const std::vector<std::string> bad = {
        "",
        "IESNA:LM-63-2002\r\nno tilt line\r\n",
        iesCosine(1000, 500, {0}, {1.0}, 1, "TILT=INCLUDE"),
        iesCosine(1000, 500, {0}, {1.0}).substr(0, 150),   // cut inside the numbers
        "IESNA:LM-63-2002\r\nTILT=NONE\r\n1 1000 1 99999999 1 1 2 0 0 0\r\n1 1 0\r\n",  // absurd angle count
        "IESNA:LM-63-2002\r\nTILT=NONE\r\n1 1000 1 3 1 1 2 0 0 0\r\n1 1 0\r\n0 50 40\r\n0\r\n1 2 3\r\n",  // angles not ascending
        "IESNA:LM-63-2002\r\nTILT=NONE\r\n1 1000 1 2 1 3 2 0 0 0\r\n1 1 0\r\n0 90\r\n0\r\n1 2\r\n",  // type A photometry
    };
    for (const auto& bytes : bad) {
        catalog::HaikouMdb out;
        std::string error;
        EXPECT_FALSE(catalog::parsePhotometry(bytes, "x.ies", out, error)) << bytes.substr(0, 60);
        EXPECT_EQ(error, "配光データを読み込めません");
        EXPECT_TRUE(out.hinban.empty());
    }
}

// A EULUMDAT file with rotational symmetry (one plane) or quadrant symmetry (C0..C90).
std::string ldt(int isym, int mc, const std::vector<std::vector<double>>& planes, double flux = 3000, int lamps = 1) {
    std::ostringstream s;
    s << "Maker\n1\n" << isym << "\n" << mc << "\n" << (mc > 0 ? 360.0 / mc : 0) << "\n19\n5\nreport\nLuminaire\nLDT-200\nfile.ldt\ndate\n";
    s << "600\n600\n80\n1200\n150\n0\n0\n0\n0\n100\n85\n1\n0\n1\n" << lamps << "\nLED\n" << flux << "\n4000\n80\n30\n";
    for (int i = 0; i < 10; ++i) s << "0.5\n";
    for (int c = 0; c < mc; ++c) s << c * 360.0 / mc << "\n";
    for (int g = 0; g <= 90; g += 5) s << g << "\n";
    for (const auto& plane : planes) {
        for (double v : plane) s << v << "\n";
    }
    return s.str();
}

std::vector<double> ramp(double top) {
    std::vector<double> v;
    for (int g = 0; g <= 90; g += 5) v.push_back(top * (90 - g) / 90.0);
    return v;
}

TEST(LdtReader, ReadsRotationallySymmetricDistributionsAlreadyPerThousandLumens) {
    catalog::HaikouMdb out;
    std::string error;
    ASSERT_TRUE(catalog::parsePhotometry(ldt(1, 24, {ramp(300)}), "d.ldt", out, error)) << error;
    EXPECT_EQ(out.planeCount, 1);
    EXPECT_NEAR(out.intensity[0][0], 300.0, 1e-3);
    EXPECT_NEAR(out.intensity[0][45], 150.0, 1e-3);
    EXPECT_EQ(out.kou, 3000);
    EXPECT_EQ(out.colorTemp, 4000);
    EXPECT_FLOAT_EQ(out.efficiency, 0.85f);
    EXPECT_EQ(out.hinban, "LDT-200");
    EXPECT_EQ(out.sizeX, 1200);
    EXPECT_EQ(out.sizeY, 150);
}

TEST(LdtReader, QuadrantSymmetryGivesTheC90PlaneFromItsOwnData) {
    // 24 planes of 15°: quadrant symmetry stores C0..C90, 7 planes.
    std::vector<std::vector<double>> planes;
    for (int p = 0; p <= 6; ++p) planes.push_back(ramp(300 - 20 * p));
    catalog::HaikouMdb out;
    std::string error;
    ASSERT_TRUE(catalog::parsePhotometry(ldt(4, 24, planes), "e.ldt", out, error)) << error;
    EXPECT_EQ(out.planeCount, 3);
    EXPECT_NEAR(out.intensity[0][0], 300.0, 1e-3);
    EXPECT_NEAR(out.intensity[1][0], 180.0, 1e-3);
    EXPECT_NEAR(out.intensity[2][0], 300.0, 1e-3);
}

TEST(LdtReader, RefusesTruncatedOrInconsistentFiles) {
    std::string good = ldt(1, 24, {ramp(300)});
    for (const std::string& bytes : {good.substr(0, good.size() / 2), ldt(1, 24, {ramp(300)}, 0), ldt(9, 24, {ramp(300)}),
                                     std::string("\x01\x02garbage", 9)}) {
        catalog::HaikouMdb out;
        std::string error;
        EXPECT_FALSE(catalog::parsePhotometry(bytes, "f.ldt", out, error));
    }
}

} // namespace
