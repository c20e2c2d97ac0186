// Tests of the illuminance range dialog's checks and of what its accepted levels change.
#include "view/RangeDialogRules.h"
#include "base/Text.h"
#include "calc/Calculation.h"

#include <gtest/gtest.h>

namespace {

std::array<std::int32_t, 7> levels(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e, std::int32_t f) {
    return {0, a, b, c, d, e, f};
}

TEST(RangeDialog, RefusesLevelsOutOfOrderAndFocusesTheFirstOffendingEdit) {
    const auto v = view::checkLevels(levels(100, 200, 200, 400, 500, 600));
    EXPECT_EQ(v.message, "数値の順序が正しくありません");
    EXPECT_EQ(v.focus, 3);
    EXPECT_EQ(view::checkLevels(levels(10, 20, 30, 40, 50, 45)).focus, 6);
    EXPECT_EQ(view::checkLevels(levels(30, 20, 30, 40, 50, 60)).focus, 2);
}

TEST(RangeDialog, RefusesALowestLevelBelowOneOnlyAfterTheOrderIsRight) {
    const auto v = view::checkLevels(levels(0, 10, 20, 30, 40, 50));
    EXPECT_EQ(v.message, "１以上値を設定して下さい");
    EXPECT_EQ(v.focus, 1);
    // Out of order and below one: the order is reported first.
    EXPECT_EQ(view::checkLevels(levels(-5, -10, 20, 30, 40, 50)).message, "数値の順序が正しくありません");
    EXPECT_TRUE(view::checkLevels(levels(1, 2, 3, 4, 5, 6)).message.empty());
}

TEST(RangeDialog, TextsThatAreNotIntegersFailWithTheConversionMessage) {
    std::array<std::string, 7> texts{"", "10", "20", "5O", "100", "200", "400"};
    try {
        view::readLevels(texts);
        FAIL() << "no conversion error";
    } catch (const base::ConversionError& e) {
        EXPECT_STREQ(e.what(), "'5O' は数値ではありません");
    }
}

TEST(RangeDialog, AcceptedLevelsBecomeClassLimitsAndUserLevelsAndSwitchToSetValues) {
    model::Document doc;
    model::WindowShown shown;
    view::applyUserLevels(doc, shown, levels(100, 200, 300, 400, 500, 600));
    EXPECT_EQ(doc.tables.luxLevel[1], 100);
    EXPECT_EQ(doc.tables.luxLevel[6], 600);
    // The next choice of levels (a redisplay or a calculation) keeps what was typed.
    EXPECT_EQ(calc::chooseLevels(doc, 5000), doc.tables.luxLevel);
    EXPECT_TRUE(doc.rangeMode);
    EXPECT_EQ(shown.scaleTypeLabel, "照度分布 Scale: 設定値");

    EXPECT_EQ(view::scaleTypeLabel('T', false), "照度分布 Scale: 自動");
    EXPECT_EQ(view::scaleTypeLabel('B', true), "照度分布 Scale: 設定値");
    EXPECT_EQ(view::scaleTypeLabel('C', true), "色温度分布");
}

} // namespace
