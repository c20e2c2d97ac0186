// Registration window rules: rows by tab, counts, current slot, cancelling, flux edits and the key filter.
#include "catalog/Registration.h"

#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

namespace {

struct RecordingHost : catalog::RegistrationHost {
    int invalidations = 0;
    std::vector<int> selected;
    std::vector<int> deleted;
    std::vector<int> curves;
    void invalidateResult() override { ++invalidations; }
    void setSelectedType(int slot) override { selected.push_back(slot); }
    void deleteFixturesOfSlot(int slot) override { deleted.push_back(slot); }
    void showCurveOf(int slot) override { curves.push_back(slot); }
};

catalog::HaikouMdb product(const std::string& hinban, int kou = 1000) {
    catalog::HaikouMdb m;
    m.hinban = hinban;
    m.lampName = "電球色" + hinban;
    m.lampNameA = "LAMP-" + hinban;
    m.tosu = 2;
    m.kou = m.kouCatalog = kou;
    return m;
}

class RegistrationTest : public ::testing::Test {
protected:
    catalog::TourokuTable touroku;
    RecordingHost host;
    ui::testing::FakeServices services;
    catalog::Registration reg{touroku, host, services};
};

} // namespace

TEST_F(RegistrationTest, ASlotShowsOnItsOwnTabAndPositionOnly) {
    reg.refresh(3);
    reg.registerSelection(2, product("FL-20"));  // slot 20: tab "FL1", position 2
    EXPECT_EQ(touroku[20].hinban, "FL-20");
    EXPECT_EQ(host.invalidations, 1);
    for (int tab : {0, 4, 3, 5, 3}) {
        reg.refresh(tab);
        for (int p = 1; p <= 6; ++p) {
            const auto& row = reg.rows()[static_cast<std::size_t>(p - 1)];
            const bool here = tab == 3 && p == 2;
            EXPECT_EQ(row.hin, here ? "FL-20" : "") << tab << "/" << p;
            EXPECT_EQ(row.picture, here ? catalog::SlotPicture::Registered : catalog::SlotPicture::Free);
        }
    }
    const auto& row = reg.rows()[1];
    EXPECT_EQ(row.lamp, "LAMP-FL-20");
    EXPECT_EQ(row.kou, "1000");
    EXPECT_EQ(row.mid, "Lm X");
    EXPECT_EQ(row.tosu, "2");
    EXPECT_TRUE(row.registered);
    touroku[20].option = "OP1";
    reg.refresh(3);
    EXPECT_EQ(reg.rows()[1].hin, "FL-20(OP1)");
}

TEST_F(RegistrationTest, RegisteringOverPlacedFixturesKeepsTheirCount) {
    reg.registerSelection(1, product("A"));
    touroku[1].placedCount = 5;
    reg.updateCounts();
    EXPECT_EQ(reg.rows()[0].kosuu, "5");
    EXPECT_EQ(reg.rows()[1].kosuu, "");
    reg.registerSelection(1, product("B", 500));
    EXPECT_EQ(touroku[1].placedCount, 5);
    EXPECT_EQ(reg.rows()[0].kosuu, "5");
    EXPECT_EQ(reg.rows()[0].hin, "B");
}

TEST_F(RegistrationTest, ChoosingAndCancellingTheCurrentSlot) {
    reg.refresh(5);
    EXPECT_FALSE(reg.choose(3, false));  // free slot
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "品番が登録されていません");
    EXPECT_EQ(services.messages[0].title, "");
    EXPECT_FALSE(reg.choose(3, true));
    EXPECT_EQ(services.messages.size(), 2u);
    EXPECT_TRUE(host.selected.empty());

    reg.registerSelection(3, product("SP-33"));
    reg.choose(3, false);
    EXPECT_EQ(reg.currentSlot(), 33);
    EXPECT_EQ(host.selected.back(), 33);
    EXPECT_EQ(host.curves.back(), 33);
    EXPECT_TRUE(reg.rows()[2].highlighted);
    EXPECT_EQ(reg.rows()[2].picture, catalog::SlotPicture::Current);

    touroku[33].placedCount = 4;
    EXPECT_TRUE(reg.choose(3, true));  // the menu opens; the current slot stays
    services.answers.push_back(ui::Answer::No);
    reg.cancelRegistration();
    EXPECT_FALSE(touroku[33].isRegistered());
    EXPECT_EQ(touroku[33].placedCount, 0);
    EXPECT_EQ(reg.currentSlot(), -1);
    EXPECT_EQ(host.selected.back(), -1);
    EXPECT_TRUE(host.deleted.empty());  // the user keeps the fixtures
    EXPECT_EQ(services.messages.back().text, "プロットした器具を消去しますか？");
    EXPECT_EQ(services.messages.back().buttons, ui::Buttons::YesNo);
    EXPECT_EQ(reg.rows()[2].hin, "");
    EXPECT_EQ(reg.rows()[2].picture, catalog::SlotPicture::Free);
}

TEST_F(RegistrationTest, CancellingWithYesDeletesThePlacedFixturesAndWithoutFixturesAsksNothing) {
    reg.refresh(1);
    reg.registerSelection(4, product("X"));
    touroku[10].placedCount = 2;
    reg.choose(4, true);
    services.answers.push_back(ui::Answer::Yes);
    reg.cancelRegistration();
    EXPECT_EQ(host.deleted, std::vector<int>{10});
    const auto asked = services.messages.size();
    reg.registerSelection(4, product("Y"));
    reg.choose(4, true);
    reg.cancelRegistration();
    EXPECT_EQ(services.messages.size(), asked);
    EXPECT_EQ(host.deleted.size(), 1u);
}

TEST_F(RegistrationTest, FluxEditsMarkChangesRedAndKeepTheLastValidFlux) {
    reg.registerSelection(1, product("A", 1200));
    const int before = host.invalidations;
    reg.kouChanged(1, "900");
    EXPECT_EQ(touroku[1].kou, 900);
    EXPECT_EQ(touroku[1].kouCatalog, 1200);
    EXPECT_TRUE(reg.rows()[0].kouChanged);
    EXPECT_EQ(reg.rows()[0].kouHint, "1200を変更");
    reg.kouChanged(1, "");
    EXPECT_EQ(touroku[1].kou, 900);
    reg.kouChanged(1, "-");
    EXPECT_EQ(touroku[1].kou, 900);
    // Lumens no lamp has: the saved project would be refused by the reader.
    reg.kouChanged(1, "2147483647");
    EXPECT_EQ(touroku[1].kou, 900);
    ASSERT_EQ(services.errors.size(), 2u);
    EXPECT_EQ(services.errors[0], "'-' は数値ではありません");
    EXPECT_EQ(services.errors[1], "'2147483647' は数値ではありません");
    reg.kouChanged(1, "1200");
    EXPECT_FALSE(reg.rows()[0].kouChanged);
    EXPECT_EQ(reg.rows()[0].kouHint, "");
    EXPECT_EQ(host.invalidations, before + 5);  // every change, even the empty and the bad texts
    // A refresh shows a changed flux red again.
    reg.kouChanged(1, "1100");
    reg.refresh(0);
    EXPECT_TRUE(reg.rows()[0].kouChanged);
}

TEST_F(RegistrationTest, LampNameModeRewritesTheShownTabAndResetForgetsTheCurrentSlot) {
    reg.refresh(5);
    reg.registerSelection(6, product("S"));
    EXPECT_EQ(reg.rows()[5].lamp, "LAMP-S");
    reg.setLampNameMode('J');
    EXPECT_EQ(reg.rows()[5].lamp, "電球色S");
    reg.setLampNameMode('A');
    EXPECT_EQ(reg.rows()[5].lamp, "LAMP-S");
    reg.choose(6, false);
    reg.reset();
    EXPECT_EQ(reg.currentSlot(), -1);
    EXPECT_EQ(reg.tab(), 0);
}

TEST(RegistrationKeys, FluxBoxesTakeDigitsAndTheFewControlCharactersOnly) {
    for (int k : std::initializer_list<int>{'0', '5', '9', 8, 13, '-', '%', '&', '\'', '('}) EXPECT_TRUE(catalog::Registration::kouKeyPasses(k)) << k;
    for (int k : std::initializer_list<int>{'.', ')', '$', 'a', ' ', '+', 0x3042}) EXPECT_FALSE(catalog::Registration::kouKeyPasses(k)) << k;
}
