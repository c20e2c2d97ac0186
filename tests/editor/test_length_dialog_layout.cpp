// Tests of the length dialog's texts by (input kind, tool) and of what its OK accepts.
#include "editor/LengthDialogRules.h"
#include "base/Text.h"

#include <gtest/gtest.h>

namespace {

using editor::LengthDialogLayout;
using editor::configureLengthDialog;

TEST(LengthDialogLayout, CountsAndPitchesForLineAndGridArrays) {
    const auto grid = configureLengthDialog('K', '3', {});
    EXPECT_EQ(grid.caption, "格子配灯");
    EXPECT_EQ(grid.labX, "個数入力(X)");
    EXPECT_EQ(grid.labY, "個数入力(Y)");
    EXPECT_TRUE(grid.secondRow);
    EXPECT_FALSE(grid.unitXVisible);

    const auto line = configureLengthDialog('P', '2', grid);
    EXPECT_EQ(line.caption, "直線配灯");
    EXPECT_EQ(line.labX, "ﾋﾟｯﾁ入力");
    EXPECT_FALSE(line.secondRow);
    EXPECT_TRUE(line.unitXVisible);

    const auto pitchGrid = configureLengthDialog('P', '3', line);
    EXPECT_EQ(pitchGrid.labX, "ﾋﾟｯﾁ入力(X)");
    EXPECT_TRUE(pitchGrid.unitYVisible);
}

TEST(LengthDialogLayout, HeightMeasurementAndNumericPointEntry) {
    const auto height = configureLengthDialog('H', 'H', {});
    EXPECT_EQ(height.caption, "器具高さの変更");
    EXPECT_EQ(height.labX, "計算高さ");
    EXPECT_FALSE(height.clearEdits);  // the height keeps what was typed last time

    const auto measure = configureLengthDialog('M', 'M', height);
    EXPECT_EQ(measure.caption, "縮尺設定");
    EXPECT_EQ(measure.labX, "実寸で");
    EXPECT_FALSE(measure.secondRow);
    EXPECT_TRUE(measure.clearEdits);

    const auto point = configureLengthDialog('L', 'L', measure);
    EXPECT_EQ(point.caption, "数値入力");
    EXPECT_EQ(point.labX, "Ｘ(mm)");
    EXPECT_EQ(point.labY, "Ｙ(mm)");
    EXPECT_TRUE(point.secondRow);
}

TEST(LengthDialogOk, EmptyEditsAreRefusedAndFocusTheEmptyOne) {
    auto r = editor::acceptLengthDialog('K', true, "", "");
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(r.refusal, "値を入力してください");
    EXPECT_EQ(r.focus, 1);
    r = editor::acceptLengthDialog('K', true, "4", "");
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(r.focus, 2);
    // A hidden second row is not asked for.
    r = editor::acceptLengthDialog('P', false, "1800", "");
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.firstValue, 1800);
    EXPECT_EQ(r.secondValue, 0);
}

TEST(LengthDialogOk, TheNumericPointEntryTakesEmptyAsZeroAndBadTextFailsTheConversion) {
    auto r = editor::acceptLengthDialog('L', true, "3000", "");
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.firstValue, 3000);
    EXPECT_EQ(r.secondValue, 0);
    r = editor::acceptLengthDialog('L', true, "", "-1200");
    EXPECT_EQ(r.secondValue, -1200);
    EXPECT_THROW(editor::acceptLengthDialog('K', false, "-", ""), base::ConversionError);
}

} // namespace
