// Catalogue readers: header rules, offset indexes, hostile lines, distributions, lamps, colours, missing files.
#include "catalog/Catalog.h"

#include "CatalogFixture.h"
#include "base/Text.h"
#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

#include <cmath>

using catalog::Catalog;
using catalog::testing::TempCatalogDir;
using catalog::testing::ProductLineFields;
using catalog::testing::productLine;
using catalog::testing::haikouLine;
using catalog::testing::fiveDegreeValues;
using catalog::testing::lampLine;

namespace {

std::vector<std::string> keys(const std::vector<catalog::IndexEntry>& index) {
    std::vector<std::string> k;
    for (const auto& e : index) k.push_back(e.key);
    return k;
}

} // namespace

TEST(CatalogIndex, ProductHeaderIsOneLineOrTwoByTheFortyNineCharacterRead) {
    TempCatalogDir dir;
    ui::testing::FakeServices services;
    std::vector<catalog::IndexEntry> index;
    // 48 characters and the line end fit one read: the whole first line was taken, so the second goes too.
    dir.write("p.csv", {std::string(48, 'h'), "SECOND,header", "A1,x", "A2,x"});
    Catalog::buildIndex(dir.file("p.csv"), Catalog::HeaderRule::ProductFile, index, services);
    EXPECT_EQ(keys(index), (std::vector<std::string>{"A1", "A2"}));
    // 49 characters before the line end: the read stops short, only the rest of that line is skipped.
    dir.write("p.csv", {std::string(49, 'h'), "B0,x", "B1,x"});
    Catalog::buildIndex(dir.file("p.csv"), Catalog::HeaderRule::ProductFile, index, services);
    EXPECT_EQ(keys(index), (std::vector<std::string>{"B0", "B1"}));
    // The same with LF endings only.
    dir.write("p.csv", {std::string(48, 'h'), "SECOND", "C1,x"}, "\n");
    Catalog::buildIndex(dir.file("p.csv"), Catalog::HeaderRule::ProductFile, index, services);
    EXPECT_EQ(keys(index), (std::vector<std::string>{"C1"}));
    EXPECT_TRUE(services.messages.empty());
}

TEST(CatalogIndex, OffsetsLeadBackToTheirOwnLinesAndRepeatedNumbersAreListedOnce) {
    TempCatalogDir dir;
    ui::testing::FakeServices services;
    dir.write(catalog::kProductFileName,
              {catalog::testing::kLongHeader, productLine({.hinban = "AB-2", .lamp = "L1"}),
               productLine({.hinban = "AB-1", .lamp = "L1"}), productLine({.hinban = "ZZ", .lamp = "L2"}),
               productLine({.hinban = "AB-2", .lamp = "L2"}), productLine({.hinban = "AB-2", .lamp = "L3"}),
               productLine({.hinban = "ab-3"})});
    Catalog cat;
    cat.load(dir.path(), services);
    EXPECT_EQ(cat.searchProducts("AB"), (std::vector<std::string>{"AB-1", "AB-2"}));
    EXPECT_EQ(cat.searchProducts(""), (std::vector<std::string>{"AB-1", "AB-2", "ZZ", "ab-3"}));
    EXPECT_TRUE(cat.searchProducts("AB-22").empty());
    const auto lines = cat.productLines("AB-2");
    ASSERT_EQ(lines.size(), 3u);
    const char* lamps[] = {"L1", "L2", "L3"};
    for (int i = 0; i < 3; ++i) {
        base::Fields f(cat.productLine(lines[static_cast<std::size_t>(i)]));
        EXPECT_EQ(f[1], "AB-2");
        EXPECT_EQ(f[8], lamps[i]);
    }
}

TEST(CatalogIndex, HostileLinesNeitherSpillNorSplitIntoBogusEntries) {
    TempCatalogDir dir;
    ui::testing::FakeServices services;
    const std::string longNumber = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";     // 30 bytes
    const std::string longJapanese = "あいうえおかきくけこさしす";        // 26 CP932 bytes
    std::string tooLong = "LONG," + std::string(1500, 'x') + ",tail";  // beyond the 999-byte read
    std::string manyFields = "MANY";
    for (int i = 0; i < 60; ++i) manyFields += ",f" + std::to_string(i);
    dir.write("p.csv", {catalog::testing::kLongHeader, longNumber + ",x", longJapanese + ",x", tooLong, manyFields, "NEXT,x"});
    std::vector<catalog::IndexEntry> index;
    Catalog::buildIndex(dir.file("p.csv"), Catalog::HeaderRule::ProductFile, index, services);
    ASSERT_EQ(keys(index), (std::vector<std::string>{longNumber.substr(0, 23), "あいうえおかきくけこさ", "LONG", "MANY", "NEXT"}));
    std::string line;
    ASSERT_TRUE(catalog::readLineAt(dir.file("p.csv"), index[4].offset, line));
    EXPECT_EQ(line, "NEXT,x");
    ASSERT_TRUE(catalog::readLineAt(dir.file("p.csv"), index[2].offset, line));
    EXPECT_EQ(line.size(), catalog::kCatalogLineBytes);
    EXPECT_FALSE(catalog::readLineAt(dir.file("p.csv"), 1u << 30, line));
}

TEST(CatalogLoad, MissingDirectoryGivesFourMessagesInFileOrderAndEmptyTables) {
    ui::testing::FakeServices services;
    Catalog cat;
    cat.load("/nonexistent/zolt_data", services);
    ASSERT_EQ(services.messages.size(), 4u);
    const char* names[] = {"T_Hinban2013.csv", "t_haikou2010.csv", "T_Lamp2010.csv", "T_RGB.LEC"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(services.messages[static_cast<std::size_t>(i)].text,
                  std::string("/nonexistent/zolt_data/") + names[i] + "が見つかりません");
        EXPECT_EQ(services.messages[static_cast<std::size_t>(i)].title, "エラー");
        EXPECT_EQ(services.messages[static_cast<std::size_t>(i)].icon, ui::Icon::Stop);
    }
    EXPECT_TRUE(cat.searchProducts("").empty());
    EXPECT_EQ(cat.lampByCode("L1"), 0);
    EXPECT_EQ(cat.distribution("H1").planeCount, 0);
    EXPECT_EQ(cat.lightColors().loaded, 0);
}

TEST(CatalogLamps, FieldsCutToTheirWidthsColourTemperatureLenientFluxStrict) {
    TempCatalogDir dir;
    ui::testing::FakeServices services;
    dir.write("l.csv", {"header", lampLine("L1", "電球色", "LED-L", "1234.9", "2700", "0.95"),
                        lampLine("L2345678901", std::string(30, 'J'), std::string(40, 'A'), "-7.8", "warm", "1"),
                        lampLine("L3", "x", "y", "lots", "5000", "1"), lampLine("L4", "x", "y", "1", "5000", "1")});
    std::vector<catalog::LampEntry> lamps;
    Catalog::loadLamps(dir.file("l.csv"), lamps, services);
    ASSERT_EQ(lamps.size(), 2u);  // the bad flux ends the table there
    EXPECT_EQ(lamps[0].kou, 1234);
    EXPECT_EQ(lamps[0].colorTemp, 2700);
    EXPECT_EQ(lamps[0].reserved, -1);
    EXPECT_FLOAT_EQ(lamps[0].factor, 0.95f);
    EXPECT_EQ(lamps[1].code, "L23456789");
    EXPECT_EQ(lamps[1].nameA.size(), 28u);
    EXPECT_EQ(lamps[1].nameJ.size(), 30u);
    EXPECT_EQ(lamps[1].kou, -7);
    EXPECT_EQ(lamps[1].colorTemp, 0);
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_EQ(services.errors[0], "'lots' は浮動小数点数ではありません");
}

TEST(CatalogColours, AtMostSixtyThreeHexNumbersAndReadingStopsAtText) {
    TempCatalogDir dir;
    ui::testing::FakeServices services;
    std::string many;
    for (int i = 0; i < 70; ++i) many += (i % 5 ? " " : "\r\n") + std::to_string(100 + i);
    dir.writeRaw("c.lec", many);
    catalog::LightColorTable t;
    Catalog::loadColours(dir.file("c.lec"), t, services);
    EXPECT_EQ(t.loaded, 63);
    EXPECT_EQ(t.colorRef[0], 0x100u);
    EXPECT_EQ(t.colorRef[62], 0x162u);
    dir.writeRaw("c.lec", "FF 0x00ff00\tAbC zz 123");
    Catalog::loadColours(dir.file("c.lec"), t, services);
    EXPECT_EQ(t.loaded, 3);
    EXPECT_EQ(t.colorRef[1], 0xFF00u);
    EXPECT_EQ(t.colorRef[2], 0xABCu);
    EXPECT_EQ(t.colorRef[3], 0u);
}

class DistributionTest : public ::testing::Test {
protected:
    Catalog load(const std::vector<std::string>& lines) {
        std::vector<std::string> all{"header"};
        all.insert(all.end(), lines.begin(), lines.end());
        dir.write(catalog::kHaikouFileName, all);
        Catalog cat;
        cat.load(dir.path(), services);
        return cat;
    }
    TempCatalogDir dir;
    ui::testing::FakeServices services;
};

TEST_F(DistributionTest, FiveDegreeLinesOfOnePlaneFillEveryDegreeAndLeaveTheOtherPlanesEmpty) {
    auto f = [](int g) { return g <= 90 ? 100.0 * std::cos(g * M_PI / 180) + 1 : 0.0; };
    Catalog cat = load({haikouLine("H1", 1, 0, 90, fiveDegreeValues(0, f)), haikouLine("H1", 1, 0, 180, fiveDegreeValues(90, f)),
                        haikouLine("H1", 1, 45, 90, fiveDegreeValues(0, [](int) { return 999.0; }))});
    catalog::Distribution d = cat.distribution("H1");
    EXPECT_EQ(d.planeCount, 1);
    for (int g = 0; g <= 90; ++g) {
        // Linear between the 5° values, which the 45° plane line must not have touched.
        const int lo = g / 5 * 5, hi = std::min(lo + 5, 180);
        const double expect = f(lo) + (f(hi) - f(lo)) * (g - lo) / 5.0;
        EXPECT_NEAR(d.intensity[0][static_cast<std::size_t>(g)], expect, 1e-3) << g;
    }
    for (int g = 91; g <= 180; ++g) EXPECT_EQ(d.intensity[0][static_cast<std::size_t>(g)], 0.0f) << g;
    for (int p = 1; p <= 2; ++p)
        for (float v : d.intensity[static_cast<std::size_t>(p)]) EXPECT_EQ(v, 0.0f);
}

TEST_F(DistributionTest, TheLastLinesPlaneCountDecidesWhichPlanesAreExpanded) {
    auto flat = [](int) { return 50.0; };
    Catalog cat = load({haikouLine("H2", 2, 0, 90, fiveDegreeValues(0, flat)), haikouLine("H2", 2, 90, 90, fiveDegreeValues(0, flat)),
                        haikouLine("H2", 3, 180, 90, fiveDegreeValues(0, flat)), haikouLine("H3", 3, 180, 90, fiveDegreeValues(0, flat)),
                        haikouLine("H3", 2, 0, 90, fiveDegreeValues(0, flat))});
    catalog::Distribution h2 = cat.distribution("H2");
    EXPECT_EQ(h2.planeCount, 3);
    EXPECT_EQ(h2.intensity[2][3], 50.0f);
    catalog::Distribution h3 = cat.distribution("H3");
    EXPECT_EQ(h3.planeCount, 2);
    EXPECT_EQ(h3.intensity[2][3], 0.0f);  // given at 0°, 5°… but not expanded
    EXPECT_EQ(h3.intensity[2][5], 50.0f);
}

TEST_F(DistributionTest, FineDataBridgeToTheNextFiveDegreeValueAndSharpEndsStaySharp) {
    auto coarse = [](int g) { return g <= 90 ? 200.0 - 2 * g : 0.0; };
    std::vector<double> fine;
    for (int g = 0; g <= 10; ++g) fine.push_back(1000.0 - 10 * g);
    Catalog cat = load({haikouLine("S1", 1, 0, 90, fiveDegreeValues(0, coarse)), haikouLine("S1", 1, 0, 10, fine)});
    catalog::Distribution d = cat.distribution("S1");
    EXPECT_EQ(d.intensity[0][10], 900.0f);
    EXPECT_NEAR(d.intensity[0][12], 900.0 + (170.0 - 900.0) * 2 / 5, 1e-3);
    EXPECT_NEAR(d.intensity[0][17], 170.0 + (160.0 - 170.0) * 2 / 5, 1e-3);
    // Value 90 is 20 and 95 is 0: no ramp down between them.
    EXPECT_EQ(d.intensity[0][90], 20.0f);
    for (int g = 91; g <= 94; ++g) EXPECT_EQ(d.intensity[0][static_cast<std::size_t>(g)], 0.0f);
}

TEST_F(DistributionTest, BadNumbersGiveTheConversionMessagesAndOddLayoutsNothing) {
    Catalog cat = load({"B1,n,1,0,x,90,,1", "B2,n,1,0,0,90,,1,2,abc", "B3,n,1,0,0,500,,1,2,3", "B4,n,1,0,0,-3,,1"});
    try {
        cat.distribution("B1");
        FAIL();
    } catch (const base::ConversionError& e) {
        EXPECT_STREQ(e.what(), "'x' は数値ではありません");
    }
    try {
        cat.distribution("B2");
        FAIL();
    } catch (const base::ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' は浮動小数点数ではありません");
    }
    for (const char* code : {"B3", "B4"}) {
        catalog::Distribution d = cat.distribution(code);
        for (float v : d.intensity[0]) EXPECT_EQ(v, 0.0f) << code;
    }
}

TEST(CatalogIndex, AFileOfMoreLinesThanAnyCatalogueIsTheMemoryShortageNotAnExhaustedMachine) {
    TempCatalogDir dir;
    ui::testing::FakeServices services;
    dir.writeRaw("p.csv", std::string(catalog::kMaxIndexEntries, '\n'));
    std::vector<catalog::IndexEntry> index{{"old", 0, "old"}};
    EXPECT_FALSE(Catalog::buildIndex(dir.file("p.csv"), Catalog::HeaderRule::OneLine, index, services));
    EXPECT_TRUE(index.empty());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "メモリーが足りません");
    EXPECT_EQ(services.messages[0].title, "エラー");
}
