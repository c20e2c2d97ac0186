// Photometric import: IES and EULUMDAT values survive at their own angles, symmetry, lamps, size, refusals.
#include "catalog/Photometry.h"
#include "catalog/Registration.h"

#include "CatalogFixture.h"
#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using Model = std::function<double(double c, double g)>;

std::string joinNumbers(const std::vector<double>& v) {
    std::string s;
    for (double x : v) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.10g ", x);
        s += buf;
    }
    return s;
}

std::vector<double> steps(double from, double to, double step) {
    std::vector<double> v;
    for (double a = from; a <= to + 1e-9; a += step) v.push_back(a);
    return v;
}

struct IesLayout {
    std::string header = "IESNA:LM-63-2002";
    std::vector<std::string> keywords = {"[TEST] 1", "[LUMCAT] BL-4000X", "[LAMP] LED 3000 lm", "[LAMPCAT] LED-3000"};
    std::string tilt = "TILT=NONE";
    int lamps = 2;
    double lumens = 3000, multiplier = 1.5;
    int type = 1, units = 2;
    double width = 0.2, length = 1.2, height = 0.05, ballast = 0.9, ballastLamp = 1;
    std::vector<double> vertical = steps(0, 180, 5);
    std::vector<double> horizontal = {0, 30, 60, 90};
};

std::string ies(const IesLayout& s, const Model& cd) {
    std::string t = s.header + "\r\n";
    for (const auto& k : s.keywords) t += k + "\r\n";
    t += s.tilt + "\r\n";
    t += std::to_string(s.lamps) + " " + joinNumbers({s.lumens, s.multiplier}) + std::to_string(s.vertical.size()) + " " +
         std::to_string(s.horizontal.size()) + " " + std::to_string(s.type) + " " + std::to_string(s.units) + " " +
         joinNumbers({s.width, s.length, s.height}) + "\r\n";
    t += joinNumbers({s.ballast, s.ballastLamp, 40}) + "\r\n";
    t += joinNumbers(s.vertical) + "\r\n" + joinNumbers(s.horizontal) + "\r\n";
    for (double c : s.horizontal) {
        std::vector<double> row;
        for (double g : s.vertical) row.push_back(cd(c, g));
        t += joinNumbers(row) + "\r\n";
    }
    return t;
}

// A batwing-like model whose C0 and C90 planes differ, dark above the horizon.
double batwing(double c, double g) {
    if (g > 90) return 0;
    const double cr = c * M_PI / 180, gr = g * M_PI / 180;
    return 400 * std::cos(gr) * (1 + 0.8 * std::sin(cr) * std::sin(cr) * std::sin(gr));
}

struct LdtLayout {
    int isym = 4;
    int mc = 24;
    std::vector<double> gamma = steps(0, 180, 5);
    int lamps = 2;
    double flux = 6000;
    std::string ct = "3000K";
    double lor = 78.5, conversion = 1;
    double lumLength = 600, lumWidth = 150;
};

std::string ldt(const LdtLayout& s, const Model& perKlm) {
    std::vector<std::string> l = {"Maker", "1", std::to_string(s.isym), std::to_string(s.mc), std::to_string(360.0 / s.mc),
                                  std::to_string(s.gamma.size()), "5", "report", "Square panel", "SQ-600", "sq.ldt", "2026",
                                  "620", "620", "80", std::to_string(s.lumLength), std::to_string(s.lumWidth), "0", "0", "0",
                                  "0", "100", std::to_string(s.lor), std::to_string(s.conversion), "0", "1",
                                  std::to_string(s.lamps), "LED module", std::to_string(s.flux), s.ct, "80", "45"};
    for (int i = 0; i < 10; ++i) l.push_back("0.5");
    std::vector<double> c;
    for (int i = 0; i < s.mc; ++i) c.push_back(i * 360.0 / s.mc);
    for (double a : c) l.push_back(std::to_string(a));
    for (double g : s.gamma) l.push_back(std::to_string(g));
    std::vector<double> planes;
    if (s.isym == 1) planes = {0};
    else if (s.isym == 2) planes = steps(0, 180, 360.0 / s.mc);
    else if (s.isym == 4) planes = steps(0, 90, 360.0 / s.mc);
    else if (s.isym == 3) {
        for (int i = 3 * s.mc / 4; i <= 3 * s.mc / 4 + s.mc / 2; ++i) planes.push_back(c[static_cast<std::size_t>(i % s.mc)]);
    } else planes = c;
    for (double p : planes)
        for (double g : s.gamma) {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%.3f", perKlm(p, g));
            // European writers use a decimal comma.
            std::string v = buf;
            std::replace(v.begin(), v.end(), '.', ',');
            l.push_back(v);
        }
    std::string t;
    for (const auto& x : l) t += x + "\r\n";
    return t;
}

} // namespace

TEST(PhotometryIes, AColourTemperatureNoLampHasIsIgnored) {
    IesLayout layout;
    layout.keywords.push_back("[_CCT] 6666666666666666");
    std::string reason;
    auto data = catalog::readIes(ies(layout, batwing), reason);
    ASSERT_TRUE(data) << reason;
    EXPECT_EQ(catalog::toFixtureType(*data, "file").colorTemp, catalog::kDefaultColourTemperature);
    layout.keywords.back() = "[_CCT] 3500K";
    data = catalog::readIes(ies(layout, batwing), reason);
    ASSERT_TRUE(data) << reason;
    EXPECT_EQ(catalog::toFixtureType(*data, "file").colorTemp, 3500);
}

TEST(PhotometryIes, ValuesAtTheFilesAnglesComeBackPerKilolumenAndAsCandelaUnderTheLuminaire) {
    IesLayout layout;
    std::string reason;
    auto data = catalog::readIes(ies(layout, batwing), reason);
    ASSERT_TRUE(data) << reason;
    const auto t = catalog::toFixtureType(*data, "file");
    EXPECT_EQ(t.planeCount, 2);
    EXPECT_EQ(t.hinban, "BL-4000X");
    EXPECT_EQ(t.lampName, "LED 3000 lm");
    EXPECT_EQ(t.lampNameA, "LED-3000");
    EXPECT_EQ(t.tosu, 2);
    EXPECT_EQ(t.kou, 3000);
    EXPECT_EQ(t.sizeX, 1200);
    EXPECT_EQ(t.sizeY, 200);
    EXPECT_FLOAT_EQ(t.lampFactor, 0.9f);
    EXPECT_EQ(t.maintClass, 1);
    EXPECT_EQ(t.colorTemp, catalog::kDefaultColourTemperature);
    for (double g : layout.vertical) {
        const auto gi = static_cast<std::size_t>(g);
        EXPECT_NEAR(t.intensity[0][gi], batwing(0, g) * 1.5 * 1000 / 6000, 1e-4) << g;
        EXPECT_NEAR(t.intensity[1][gi], batwing(90, g) * 1.5 * 1000 / 6000, 1e-4) << g;
    }
    for (float v : t.intensity[2]) EXPECT_EQ(v, 0.0f);

    // A luminaire 2.5 m above the floor: the point 2.5 m away along C0 sees gamma 45°, and the
    // registered type gives the illuminance the file implies, E = I·cos γ / d².
    catalog::TourokuTable touroku;
    touroku.registerSlot(7, t);
    const auto& type = touroku[7];
    const double h = 2.5, r = 2.5, d2 = h * h + r * r, gamma = 45;
    const double fromType = catalog::intensityAt(type, gamma, 0) * type.kou * type.tosu / 1000.0 * std::cos(gamma * M_PI / 180) / d2;
    const double fromFile = batwing(0, gamma) * 1.5 * std::cos(gamma * M_PI / 180) / d2;
    EXPECT_NEAR(fromType, fromFile, 1e-4 * fromFile);
    // Straight down, and across the luminaire in C90.
    EXPECT_NEAR(catalog::intensityAt(type, 0, 90) * 6, batwing(90, 0) * 1.5, 1e-3);
    EXPECT_NEAR(catalog::intensityAt(type, 30, 90) * 6, batwing(90, 30) * 1.5, 1e-3);
}

TEST(PhotometryIes, SymmetryDecidesThePlanesAndTheFluxGivesTheEfficiency) {
    IesLayout layout;
    layout.header = "IESNA:LM-63-1995";
    layout.keywords = {"[CATALOG] DL-ROUND"};
    layout.horizontal = {0};
    layout.lamps = 1;
    layout.lumens = 5000;
    layout.multiplier = 1;
    layout.units = 1;  // feet
    layout.width = -0.5;
    layout.length = 0;
    // A cosine distribution of 1000 cd emits π · 1000 lm.
    auto cosine = [](double, double g) { return g <= 90 ? 1000 * std::cos(g * M_PI / 180) : 0.0; };
    std::string reason;
    auto data = catalog::readIes(ies(layout, cosine), reason);
    ASSERT_TRUE(data) << reason;
    auto t = catalog::toFixtureType(*data, "f");
    EXPECT_EQ(t.planeCount, 1);
    EXPECT_EQ(t.hinban, "DL-ROUND");
    EXPECT_NEAR(t.efficiency, M_PI * 1000 / 5000, 0.002);
    EXPECT_EQ(t.sizeX, 152);  // a round opening 0.5 ft across
    EXPECT_EQ(t.sizeY, 152);

    // Bilateral (0..180) and full (0..360) files give three planes, C180 from the file.
    auto lopsided = [](double c, double g) { return g <= 90 ? 100 + c : 0.0; };
    layout.horizontal = {0, 90, 180};
    data = catalog::readIes(ies(layout, lopsided), reason);
    ASSERT_TRUE(data) << reason;
    t = catalog::toFixtureType(*data, "f");
    EXPECT_EQ(t.planeCount, 3);
    EXPECT_NEAR(t.intensity[2][10], 280 * 1000.0 / 5000, 1e-3);
    layout.horizontal = steps(0, 330, 30);
    data = catalog::readIes(ies(layout, lopsided), reason);
    ASSERT_TRUE(data) << reason;
    EXPECT_NEAR(data->valueAt(345, 10), (430 + 100) / 2.0, 1e-9);  // between C330 and C360 = C0
    // 90..270: C0 is the mirror of C180.
    layout.horizontal = {90, 180, 270};
    data = catalog::readIes(ies(layout, lopsided), reason);
    ASSERT_TRUE(data) << reason;
    t = catalog::toFixtureType(*data, "f");
    EXPECT_EQ(t.planeCount, 2);
    EXPECT_NEAR(t.intensity[0][10], 280 * 1000.0 / 5000, 1e-3);
}

TEST(PhotometryIes, TiltDataAndAbsolutePhotometryAreHandled) {
    IesLayout layout;
    layout.tilt = "TILT=INCLUDE\r\n1\r\n3\r\n0 45 90\r\n1 0.9 0.8";
    layout.lumens = -1;
    layout.lamps = 1;
    layout.multiplier = 1;
    std::string reason;
    auto data = catalog::readIes(ies(layout, batwing), reason);
    ASSERT_TRUE(data) << reason;
    const auto t = catalog::toFixtureType(*data, "f");
    // Without lamp flux the luminaire's own flux stands for the lamp: kou × table / 1000 is the candela.
    EXPECT_NEAR(t.kou, catalog::distributionFlux(*data), 1.0);
    EXPECT_EQ(t.tosu, 1);
    EXPECT_NEAR(t.intensity[0][20] * t.kou / 1000.0, batwing(0, 20), 0.2);
}

TEST(PhotometryLdt, EachSymmetryMapsOntoTheC0C90AndC180Planes) {
    auto model = [](double c, double g) { return g <= 90 ? 200 + c * 0.5 + g : 0.0; };
    std::string reason;
    for (int isym : {0, 1, 2, 3, 4}) {
        LdtLayout layout;
        layout.isym = isym;
        const Model m = model;
        auto data = catalog::readLdt(ldt(layout, m), reason);
        ASSERT_TRUE(data) << isym << " " << reason;
        const auto t = catalog::toFixtureType(*data, "f");
        EXPECT_EQ(t.planeCount, isym == 1 ? 1 : (isym == 3 || isym == 4) ? 2 : 3) << isym;
        EXPECT_EQ(t.hinban, "SQ-600");
        EXPECT_EQ(t.tosu, 2);
        EXPECT_EQ(t.kou, 3000);
        EXPECT_EQ(t.colorTemp, 3000);
        EXPECT_FLOAT_EQ(t.efficiency, 0.785f);
        EXPECT_EQ(t.sizeX, 600);
        EXPECT_EQ(t.sizeY, 150);
        for (int g = 0; g <= 90; g += 5) {
            EXPECT_NEAR(t.intensity[0][static_cast<std::size_t>(g)], m(0, g), 1e-3) << isym << "/" << g;
            if (t.planeCount >= 2) {
                EXPECT_NEAR(t.intensity[1][static_cast<std::size_t>(g)], m(90, g), 1e-3) << isym << "/" << g;
            }
            if (t.planeCount == 3) {
                EXPECT_NEAR(t.intensity[2][static_cast<std::size_t>(g)], m(180, g), 1e-3) << isym << "/" << g;
            }
        }
    }
}

TEST(PhotometryRefusal, BrokenFilesAreRefusedWithAReasonAndTheSlotStaysAsItWas) {
    IesLayout typeB;
    typeB.type = 2;
    IesLayout descending;
    descending.vertical = {0, 10, 5};
    IesLayout oddRange;
    oddRange.horizontal = {10, 50};
    IesLayout huge;
    huge.vertical = steps(0, 180, 0.1);  // more angles than any file has
    std::string good = ies(IesLayout{}, batwing);
    std::vector<std::string> bad = {ies(typeB, batwing), ies(descending, batwing), ies(oddRange, batwing), ies(huge, batwing),
                                    good.substr(0, good.size() / 2), "IESNA:LM-63-2002\r\n[TEST] no tilt\r\n",
                                    ies(IesLayout{}, [](double, double) { return -1.0; }), ""};
    for (const auto& text : bad) {
        std::string reason;
        EXPECT_FALSE(catalog::readIes(text, reason));
        EXPECT_FALSE(reason.empty());
    }
    LdtLayout isym3odd;
    isym3odd.isym = 3;
    isym3odd.mc = 6;
    std::string goodLdt = ldt(LdtLayout{}, [](double, double) { return 1.0; });
    for (const auto& text : {ldt(isym3odd, [](double, double) { return 1.0; }), goodLdt.substr(0, goodLdt.size() - 40),
                             std::string("a\r\nb\r\n")}) {
        std::string reason;
        EXPECT_FALSE(catalog::readLdt(text, reason));
    }

    catalog::testing::TempCatalogDir dir;
    dir.writeRaw("broken.ies", bad[0]);
    catalog::TourokuTable touroku;
    struct : catalog::RegistrationHost {
        void invalidateResult() override {}
        void setSelectedType(int) override {}
        void deleteFixturesOfSlot(int) override {}
    } host;
    ui::testing::FakeServices services;
    catalog::Registration reg(touroku, host, services);
    EXPECT_FALSE(reg.importPhotometryFile(dir.file("broken.ies"), 1));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, ui::aboutFile("配光データファイルとして読み込めません\n(タイプC以外の配光には対応していません)",
                                                       dir.file("broken.ies")));
    EXPECT_FALSE(touroku[1].isRegistered());
    dir.writeRaw("big.ies", std::string(catalog::kMaxPhotometryBytes + 1, ' '));
    EXPECT_FALSE(reg.importPhotometryFile(dir.file("big.ies"), 1));
    EXPECT_NE(services.messages.back().text.find("ファイルが大きすぎます"), std::string::npos);
}

TEST(PhotometryRegistration, TheFileGoesToTheCurrentSlotOrTheFirstFreeRowOfTheTab) {
    catalog::testing::TempCatalogDir dir;
    dir.writeRaw("lum.ies", ies(IesLayout{}, batwing));
    catalog::TourokuTable touroku;
    struct : catalog::RegistrationHost {
        int invalidated = 0;
        void invalidateResult() override { ++invalidated; }
        void setSelectedType(int) override {}
        void deleteFixturesOfSlot(int) override {}
    } host;
    ui::testing::FakeServices services;
    catalog::Registration reg(touroku, host, services);
    reg.refresh(1);
    catalog::HaikouMdb m;
    m.hinban = "X";
    reg.registerSelection(1, m);
    EXPECT_EQ(reg.importPosition(), 2);
    services.fileAnswers.push_back(dir.file("lum.ies"));
    ASSERT_TRUE(reg.importPhotometry());
    EXPECT_EQ(touroku[8].hinban, "BL-4000X");
    EXPECT_EQ(reg.rows()[1].hin, "BL-4000X");
    reg.choose(1, false);
    EXPECT_EQ(reg.importPosition(), 1);
    for (int p = 3; p <= 6; ++p) reg.registerSelection(p, m);
    reg.refresh(1);
    reg.cancelRegistration();  // the current slot (position 1) is free again but no longer current
    EXPECT_EQ(reg.importPosition(), 1);
    reg.registerSelection(1, m);
    EXPECT_EQ(reg.importPosition(), 0);
    EXPECT_FALSE(reg.importPhotometry());
    EXPECT_EQ(services.messages.back().text, "このタブに空きの登録欄がありません");
}
