// Tests of the length dialog's rules, the new-plan dialog's enabling, the key filter and the dialog placement.
#include "base/Text.h"
#include "editor/Dialogs.h"
#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

using ui::testing::FakeServices;

TEST(LengthDialog, LabelsCaptionsAndRowsFollowKindAndTool) {
    LengthDialogModel d;
    d.configure('K', '3');
    EXPECT_EQ(d.caption(), "格子配灯");
    EXPECT_EQ(d.labX(), "個数入力(X)");
    EXPECT_EQ(d.labY(), "個数入力(Y)");
    EXPECT_TRUE(d.secondRowVisible());
    EXPECT_FALSE(d.unitXVisible());

    d.configure('P', '2');
    EXPECT_EQ(d.caption(), "直線配灯");
    EXPECT_EQ(d.labX(), "ﾋﾟｯﾁ入力");
    EXPECT_FALSE(d.secondRowVisible());
    EXPECT_TRUE(d.unitXVisible());

    d.configure('H', 'H');
    EXPECT_EQ(d.caption(), "器具高さの変更");
    EXPECT_EQ(d.labX(), "計算高さ");
    EXPECT_FALSE(d.secondRowVisible());

    d.configure('M', 'M');
    EXPECT_EQ(d.caption(), "縮尺設定");
    EXPECT_EQ(d.labX(), "実寸で");
    EXPECT_FALSE(d.secondRowVisible());

    d.configure('L', 'L');
    EXPECT_EQ(d.caption(), "数値入力");
    EXPECT_EQ(d.labX(), "Ｘ(mm)");
    EXPECT_EQ(d.labY(), "Ｙ(mm)");
    EXPECT_TRUE(d.secondRowVisible());
}

TEST(LengthDialog, EmptyEntriesAreRefusedWithTheFocusOnTheFirstEmptyEdit) {
    FakeServices s;
    LengthDialogModel d;
    d.configure('K', '3');
    d.show();
    d.txtX = "3";
    EXPECT_FALSE(d.ok(s));
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0].text, "値を入力してください");
    EXPECT_EQ(s.messages[0].title, "エラー");
    EXPECT_EQ(s.messages[0].icon, ui::Icon::Stop);
    EXPECT_EQ(d.focus(), LengthDialogModel::Focus::Y);
    d.txtX.clear();
    EXPECT_FALSE(d.ok(s));
    EXPECT_EQ(d.focus(), LengthDialogModel::Focus::X);
    // Cancelling after a refused OK confirms nothing.
    d.cancel();
    EXPECT_FALSE(d.answer().confirmed);

    d.show();
    d.txtX = "3";
    d.txtY = "2";
    EXPECT_TRUE(d.ok(s));
    EXPECT_TRUE(d.answer().confirmed);
    EXPECT_EQ(d.answer().firstValue, 3);
    EXPECT_EQ(d.answer().secondValue, 2);
}

TEST(LengthDialog, PointEntryTakesEmptyAsZeroAndNonNumbersThrowTheConversionMessage) {
    FakeServices s;
    LengthDialogModel d;
    d.configure('L', 'L');
    d.show();
    d.txtX = "3000";
    EXPECT_TRUE(d.ok(s));
    EXPECT_EQ(d.answer().firstValue, 3000);
    EXPECT_EQ(d.answer().secondValue, 0);
    EXPECT_TRUE(s.messages.empty());

    d.configure('K', '2');
    d.show();
    d.txtX = "-";
    try {
        d.ok(s);
        FAIL() << "a lone minus is no number";
    } catch (const base::ConversionError& e) {
        EXPECT_STREQ(e.what(), "'-' は数値ではありません");
    }
    EXPECT_FALSE(d.answer().confirmed);
}

TEST(LengthDialog, EnterMovesToTheSecondRowOrActsAsOk) {
    FakeServices s;
    LengthDialogModel d;
    d.configure('K', '3');
    d.show();
    d.txtX = "2";
    EXPECT_FALSE(d.enterInX(s));
    EXPECT_EQ(d.focus(), LengthDialogModel::Focus::Y);
    d.txtY = "4";
    EXPECT_TRUE(d.enterInY(s));

    d.configure('K', '2');
    d.show();
    d.txtX = "5";
    EXPECT_TRUE(d.enterInX(s));
    EXPECT_EQ(d.answer().firstValue, 5);
}

TEST(NumericKeyFilter, PassesDigitsControlKeysAndMinusOnly) {
    for (int k : std::initializer_list<int>{'0', '5', '9', '-', 8, 13, 0x25, 0x26, 0x27, 0x28}) EXPECT_TRUE(numericKeyAccepted(ui::KeyEvent{k})) << k;
    for (int k : std::initializer_list<int>{'.', 'a', '+', ' ', 0x24, 0x29, 27}) EXPECT_FALSE(numericKeyAccepted(ui::KeyEvent{k})) << k;
}

TEST(LengthDialogPlacement, OpensBelowRightAndFlipsAtTheScreenEdges) {
    const ui::Size dlg{200, 100}, screen{1920, 1080};
    EXPECT_EQ(lengthDialogPosition({500, 500}, dlg, screen), (ui::Point{510, 525}));
    EXPECT_EQ(lengthDialogPosition({1800, 500}, dlg, screen), (ui::Point{1590, 525}));
    EXPECT_EQ(lengthDialogPosition({500, 1000}, dlg, screen), (ui::Point{510, 875}));
}

TEST(NewPlanDialog, ScaleControlsAreEnabledOnlyWithTheGridChoice) {
    NewPlanDialogModel d;
    d.show();
    EXPECT_FALSE(d.scaleControlsEnabled());
    d.chooseBackground(NewPlanBackground::Grid);
    EXPECT_TRUE(d.scaleControlsEnabled());
    EXPECT_FALSE(d.denominatorEditEnabled());
    EXPECT_EQ(d.choice("").denominator, 50);
    d.chooseScale(0);
    EXPECT_TRUE(d.denominatorEditEnabled());
    EXPECT_TRUE(d.choice("75").customScale);
    d.chooseScale(100);
    EXPECT_FALSE(d.denominatorEditEnabled());
    EXPECT_EQ(d.choice("75").denominator, 100);
    d.show();
    EXPECT_FALSE(d.scaleControlsEnabled());
}

} // namespace
} // namespace editor
