// Selection rules: prefix search, lamp choices in step with both lamp lists, cone angles, confirmation.
#include "catalog/Selection.h"

#include "CatalogFixture.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using catalog::testing::ProductLineFields;
using catalog::testing::productLine;
using catalog::testing::haikouLine;
using catalog::testing::fiveDegreeValues;
using catalog::testing::lampLine;

namespace {

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write(catalog::kLampFileName,
                  {"header", lampLine("L1", "電球色ランプ", "LAMP-1", "1000", "2700", "0.9"),
                   lampLine("L2", "昼白色ランプ", "LAMP-2", "2000.7", "5000", "1"),
                   lampLine("L2", "重複ランプ", "DUP-2", "9", "9", "1"), lampLine("L3", "三番", "LAMP-3", "3000", "9999", "1")});
        std::string colours;
        for (int i = 0; i < 63; ++i) colours += std::to_string(100000 + i) + " ";
        dir.writeRaw(catalog::kColourFileName, colours);
        auto cosine = [](int g) { return g <= 90 ? 300.0 * std::cos(g * M_PI / 180) : 0.0; };
        dir.write(catalog::kHaikouFileName, {"header", haikouLine("H1", 1, 0, 90, fiveDegreeValues(0, cosine)),
                                             haikouLine("H1", 1, 0, 180, fiveDegreeValues(90, cosine))});
    }
    void loadProducts(const std::vector<ProductLineFields>& layouts) {
        std::vector<std::string> lines{catalog::testing::kLongHeader};
        for (const auto& s : layouts) lines.push_back(productLine(s));
        dir.write(catalog::kProductFileName, lines);
        cat.load(dir.path(), services);
        ASSERT_TRUE(services.messages.empty());
    }
    catalog::testing::TempCatalogDir dir;
    ui::testing::FakeServices services;
    ui::testing::RecordingSurface picture{30, 30};
    catalog::Catalog cat;
};

} // namespace

TEST_F(SelectionTest, SearchListsEachMatchOnceSortedAndShowsTheFirstProductsFirstLamp) {
    loadProducts({{.hinban = "AB-9", .lamp = "L2"}, {.hinban = "AB-1", .lamp = "L2"}, {.hinban = "AB-1", .lamp = "L1"},
                  {.hinban = "AC-1"}, {.hinban = "AB-1", .tosu = "3", .lamp = "L2"}});
    catalog::Selection sel(cat, services);
    sel.show("", 'J', picture);
    EXPECT_FALSE(sel.button1Enabled);
    EXPECT_TRUE(sel.listHinban.empty());
    sel.textChanged("AB");
    EXPECT_TRUE(sel.button1Enabled);
    ASSERT_TRUE(sel.search(picture));
    EXPECT_EQ(sel.listHinban, (std::vector<std::string>{"AB-1", "AB-9"}));
    EXPECT_EQ(sel.listHinbanIndex, 0);
    EXPECT_EQ(sel.txtHinban, "AB-1");
    // Lamp codes sorted: L1 then L2; the choice shown is L1 from the second product line.
    EXPECT_EQ(sel.lampCodes, (std::vector<std::string>{"L1", "L2"}));
    EXPECT_EQ(sel.listLampName, (std::vector<std::string>{"電球色ランプ", "昼白色ランプ"}));
    EXPECT_EQ(sel.listLampNameA, (std::vector<std::string>{"LAMP-1", "LAMP-2"}));
    EXPECT_EQ(sel.lampIndex, 0);
    EXPECT_EQ(sel.candidates.size(), 3u);
    EXPECT_EQ(sel.chosen, 1);
    EXPECT_EQ(sel.labLamp, "1000 Lm (2700K) x1");
    EXPECT_EQ(sel.labHinban, "器具効率: 0.75");
    EXPECT_TRUE(sel.cmdOKEnabled);
    // The second lamp: the first line in file order with that lamp, not the one with three lamps.
    sel.selectLamp(1, picture);
    EXPECT_EQ(sel.chosen, 0);
    EXPECT_EQ(sel.labLamp, "2000 Lm (5000K) x1");
    EXPECT_TRUE(sel.lampNameJVisible);
}

TEST_F(SelectionTest, NothingFoundIsReportedAndEditingTheTextAfterASearchDisablesRegistering) {
    loadProducts({{.hinban = "AB-1"}});
    catalog::Selection sel(cat, services);
    sel.show("AB-1", 'A', picture);  // a registered slot searches at once
    EXPECT_TRUE(sel.button1Enabled);
    EXPECT_FALSE(sel.lampNameJVisible);
    EXPECT_TRUE(sel.cmdOKEnabled);
    sel.textChanged("AB-1");
    EXPECT_TRUE(sel.cmdOKEnabled);
    sel.textChanged("AB-");
    EXPECT_FALSE(sel.cmdOKEnabled);
    EXPECT_TRUE(sel.listHinban.empty());
    EXPECT_TRUE(sel.listLampName.empty());
    catalog::HaikouMdb buffer;
    buffer.hinban = "before";
    EXPECT_FALSE(sel.confirm(buffer));
    EXPECT_EQ(buffer.hinban, "before");
    sel.textChanged("QQ");
    EXPECT_FALSE(sel.search(picture));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "該当する品番がありません");
    EXPECT_EQ(services.messages[0].title, "");
    EXPECT_EQ(services.messages[0].icon, ui::Icon::Stop);
}

TEST_F(SelectionTest, LampListsStayInStepWithTheChoicesWhateverTheLampTableHolds) {
    // "0" and empty offer no lamp; L9 is not in the lamp table; L2 appears twice in it.
    loadProducts({{.hinban = "P", .lamp = "0"}, {.hinban = "P", .lamp = ""}, {.hinban = "P", .lamp = "L9"},
                  {.hinban = "P", .lamp = "L2"}, {.hinban = "P", .lamp = "L3"}, {.hinban = "Q", .lamp = "0"}});
    catalog::Selection sel(cat, services);
    sel.show("P", 'A', picture);
    EXPECT_EQ(sel.lampCodes, (std::vector<std::string>{"L2", "L3"}));
    EXPECT_EQ(sel.listLampNameA, (std::vector<std::string>{"LAMP-2", "LAMP-3"}));
    EXPECT_EQ(sel.listLampName.size(), sel.lampCodes.size());
    EXPECT_EQ(sel.candidates.size(), 2u);
    sel.selectLamp(1, picture);
    catalog::HaikouMdb b;
    ASSERT_TRUE(sel.confirm(b));
    EXPECT_EQ(b.lampNameA, "LAMP-3");
    EXPECT_EQ(b.kou, 3000);
    // A product whose lines offer no lamp shows nothing and cannot be registered.
    sel.show("Q", 'A', picture);
    EXPECT_TRUE(sel.lampCodes.empty());
    EXPECT_FALSE(sel.cmdOKEnabled);
    EXPECT_FALSE(sel.confirm(b));
}

TEST(SelectionAngles, NormalisationFollowsTheCatalogueRules) {
    using catalog::ConeAngles;
    EXPECT_EQ(catalog::normaliseAngles({10, 20, 30, 40}, false), (ConeAngles{10, 20, 30, 40}));
    EXPECT_EQ(catalog::normaliseAngles({10, 20, 30, 40}, true), (ConeAngles{10, 20, 30, 0}));
    EXPECT_EQ(catalog::normaliseAngles({10, 20, 30, 20}, false), (ConeAngles{10, 20, 30, 0}));
    EXPECT_EQ(catalog::normaliseAngles({10, 20, 20, 0}, false), (ConeAngles{10, 0, 0, 0}));
    EXPECT_EQ(catalog::normaliseAngles({10, 20, 20, 40}, true), (ConeAngles{10, 0, 0, 0}));
}

TEST(SelectionCone, LabelsAndRefusalByTheAngles) {
    ui::testing::RecordingSurface s(30, 30);
    auto two = catalog::drawLightCone(s, {10, 20, 30, 40}, ui::colors::red);
    EXPECT_EQ(two.kaku, " 40ﾟ-20ﾟ");
    EXPECT_EQ(two.kaku2, "(30ﾟ)");
    EXPECT_EQ(two.message, "非対称の配光を持つ器具は\n   このバージョンでは登録できません。");
    EXPECT_FALSE(two.okEnabled);
    auto symmetric = catalog::drawLightCone(s, {10, 20, 30, 0}, ui::colors::red);
    EXPECT_EQ(symmetric.kaku, " 20ﾟ");
    EXPECT_EQ(symmetric.kaku2, "(30ﾟ)");
    EXPECT_EQ(symmetric.message, " ");
    EXPECT_TRUE(symmetric.okEnabled);
    s.ops.clear();
    auto one = catalog::drawLightCone(s, {90, 0, 0, 0}, ui::colors::red);
    EXPECT_EQ(one.kaku, " 90ﾟ");
    EXPECT_EQ(one.kaku2, "");
    EXPECT_TRUE(one.okEnabled);
    // A 90° cone: 36·sin 45° = 36·cos 45° = 25.46, truncated to 25, from the top centre.
    const auto lines = s.opsStartingWith("line");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "line 15,0--10,25");
    EXPECT_EQ(lines[1], "line 15,0-40,25");
}

TEST_F(SelectionTest, ConfirmationFillsTheBufferFromTheLineLampAndExpandedDistribution) {
    loadProducts({{.hinban = "DL-7", .tosu = "2", .lamp = "L1", .haikou = "H1", .maint = "4", .note = "備考欄",
                   .efficiency = "0.66"},
                  {.hinban = "BAD", .lamp = "L1", .f23 = "x1"}});
    catalog::Selection sel(cat, services);
    sel.show("DL-7", 'A', picture);
    catalog::HaikouMdb b;
    ASSERT_TRUE(sel.confirm(b));
    EXPECT_TRUE(sel.confirmed);
    EXPECT_EQ(b.hinban, "DL-7");
    EXPECT_EQ(b.option, "");
    EXPECT_EQ(b.haikouCode, "H1");
    EXPECT_EQ(b.lampName, "電球色ランプ");
    EXPECT_EQ(b.lampNameA, "LAMP-1");
    EXPECT_EQ(b.tosu, 2);
    EXPECT_FLOAT_EQ(b.efficiency, 0.66f);
    EXPECT_EQ(b.catalogNote, "備考欄");
    EXPECT_EQ(b.maintClass, 4);
    EXPECT_EQ(b.maintFactor, (std::array<float, 3>{0.85f, 0.8f, 0.75f}));
    EXPECT_EQ(b.kou, 1000);
    EXPECT_EQ(b.kouCatalog, 1000);
    EXPECT_EQ(b.colorTemp, 2700);
    EXPECT_EQ(b.lampReserved, -1);
    EXPECT_FLOAT_EQ(b.lampFactor, 0.9f);
    EXPECT_EQ(b.planeCount, 1);
    EXPECT_NEAR(b.intensity[0][60], 150.0, 1e-3);
    EXPECT_NEAR(b.intensity[0][3], 300.0 + (300 * std::cos(5 * M_PI / 180) - 300) * 0.6, 1e-3);
    // A bad decimal among fields 23 to 26 stops the confirmation; the buffer keeps the last choice.
    sel.show("BAD", 'A', picture);
    ASSERT_TRUE(sel.cmdOKEnabled);
    EXPECT_FALSE(sel.confirm(b));
    EXPECT_FALSE(sel.confirmed);
    EXPECT_EQ(b.hinban, "DL-7");
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_EQ(services.errors[0], "'x1' は浮動小数点数ではありません");
}

TEST_F(SelectionTest, ABadAngleStopsTheProductLoadWithTheIntegerMessage) {
    loadProducts({{.hinban = "A", .a = "wide"}});
    catalog::Selection sel(cat, services);
    sel.show("A", 'A', picture);
    EXPECT_TRUE(sel.lampCodes.empty());
    EXPECT_FALSE(sel.cmdOKEnabled);
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_EQ(services.errors[0], "'wide' は数値ではありません");
}
