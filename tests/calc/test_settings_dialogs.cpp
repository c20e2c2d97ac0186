// Tests of the calculation settings dialogs' rules: the start dialog, the reference height and its follow-up question.
#include "calc/SettingsDialogs.h"
#include "base/Text.h"

#include <gtest/gtest.h>

namespace {

// A calculated plan and the window showing its result menus.
struct ValidResult {
    model::Document doc;
    model::WindowShown shown;
    ValidResult() {
        doc.resultValid = true;
        doc.dataChanged = false;
        shown.menus.csvOutput = true;
        shown.menus.dxfSaveResult = true;
    }
};

calc::CalcStartChoice unchanged(const calc::CalcSettings& s, char kind) {
    calc::CalcStartChoice c;
    c.environment = calc::calcStartViewOf(s).environment;
    c.step = s.calcStep;
    c.displayKind = kind;
    return c;
}

TEST(CalcStartDialog, ShowsTheEnvironmentOfTheSettingsAndNotConsideredWhenMaintenanceIsOff) {
    calc::CalcSettings s;
    EXPECT_EQ(calc::calcStartViewOf(s).environment, calc::Environment::Normal);
    s.maintenanceClass = 0;
    EXPECT_EQ(calc::calcStartViewOf(s).environment, calc::Environment::Good);
    s.maintenanceClass = 2;
    EXPECT_EQ(calc::calcStartViewOf(s).environment, calc::Environment::Poor);
    s.maintenanceOn = false;
    EXPECT_EQ(calc::calcStartViewOf(s).environment, calc::Environment::NotConsidered);
}

TEST(CalcStartDialog, ARunWithoutChangesKeepsTheResultSoTheDriverOnlyRedisplays) {
    ValidResult r;
    auto& doc = r.doc;
    calc::CalcSettings s;
    calc::applyCalcStart(doc, r.shown, s, unchanged(s, 'T'));
    EXPECT_TRUE(doc.resultValid);
    EXPECT_TRUE(s.calcConfirmed);
    EXPECT_EQ(doc.displayKind, 'T');
    EXPECT_TRUE(r.shown.menus.csvOutput);
}

TEST(CalcStartDialog, ChangingPrecisionOrEnvironmentMakesTheResultStaleWithoutASavePrompt) {
    {
        ValidResult r;
    auto& doc = r.doc;
        calc::CalcSettings s;
        auto c = unchanged(s, 'B');
        c.step = 4;
        calc::applyCalcStart(doc, r.shown, s, c);
        EXPECT_FALSE(doc.resultValid);
        EXPECT_FALSE(doc.dataChanged);
        EXPECT_FALSE(r.shown.menus.csvOutput);
        EXPECT_EQ(s.calcStep, 4);
    }
    {
        ValidResult r;
    auto& doc = r.doc;
        calc::CalcSettings s;
        auto c = unchanged(s, 'C');
        c.environment = calc::Environment::NotConsidered;
        c.fixturePlot = true;
        calc::applyCalcStart(doc, r.shown, s, c);
        EXPECT_FALSE(doc.resultValid);
        EXPECT_FALSE(s.maintenanceOn);
        EXPECT_EQ(s.maintenanceClass, 1);  // the class stays for the next time maintenance is considered
        EXPECT_TRUE(s.showFixturesOnResult);
        EXPECT_EQ(doc.displayKind, 'C');
    }
    {
        ValidResult r;
    auto& doc = r.doc;
        calc::CalcSettings s;
        auto c = unchanged(s, 'B');
        c.environment = calc::Environment::Poor;
        calc::applyCalcStart(doc, r.shown, s, c);
        EXPECT_FALSE(doc.resultValid);
        EXPECT_EQ(s.maintenanceClass, 2);
        EXPECT_TRUE(s.maintenanceOn);
    }
}

TEST(CalcStartDialog, CancelLeavesNoRunAndAnAlreadyChangedPlanKeepsItsSavePrompt) {
    calc::CalcSettings s;
    s.calcConfirmed = true;
    calc::cancelCalcStart(s);
    EXPECT_FALSE(s.calcConfirmed);

    model::Document doc;  // a fresh plan is marked changed
    model::WindowShown shown;
    calc::invalidateResult(doc, shown);
    EXPECT_TRUE(doc.dataChanged);
}

TEST(ReferenceHeight, RefusesHeightsBelowOneAndBelowAHundredWithTheirOwnMessages) {
    EXPECT_EQ(calc::tenDakaRefusal(0), "計算天高を正しく入力して下さい");
    EXPECT_EQ(calc::tenDakaRefusal(-5), "計算天高を正しく入力して下さい");
    EXPECT_EQ(calc::tenDakaRefusal(50), "計算天高は mm で入力して下さい");
    EXPECT_EQ(calc::tenDakaRefusal(99), "計算天高は mm で入力して下さい");
    EXPECT_EQ(calc::tenDakaRefusal(100), "");

    model::Document doc;
    std::string refusal;
    EXPECT_FALSE(calc::acceptTenDaka(doc, "50", refusal));
    EXPECT_EQ(doc.tenDaka, 3000);
    EXPECT_EQ(doc.tenDakaLabel, "3000");
    EXPECT_TRUE(calc::acceptTenDaka(doc, "2500", refusal));
    EXPECT_EQ(doc.tenDaka, 2500);
    EXPECT_EQ(doc.tenDakaLabel, "2500");
    EXPECT_THROW(calc::acceptTenDaka(doc, "2.5m", refusal), base::ConversionError);
    EXPECT_EQ(doc.tenDaka, 2500);
}

TEST(ReferenceHeight, TheThreeAnswersKeepOrMoveTheFixturesWithTheirOwnHeight) {
    auto planWithOffsets = [] {
        model::Plan p;
        model::KiguRecord a;
        a.heightOffset = 500;
        model::KiguRecord b;  // at the reference height
        p.kigu.add(a);
        p.kigu.add(b);
        return p;
    };
    // Reference 3000 → 2500 with a fixture at +500 (absolute 3500).
    auto p1 = planWithOffsets();
    calc::applyTenDakaChange(p1, 1, 3000, 2500);
    EXPECT_EQ(p1.kigu[1].heightOffset, 0);

    auto p2 = planWithOffsets();
    calc::applyTenDakaChange(p2, 2, 3000, 2500);
    EXPECT_EQ(p2.kigu[1].heightOffset, 500);

    auto p3 = planWithOffsets();
    calc::applyTenDakaChange(p3, 3, 3000, 2500);
    EXPECT_EQ(p3.kigu[1].heightOffset + 2500, 3500);
    EXPECT_EQ(p3.kigu[2].heightOffset, 0);  // fixtures at the reference height stay there

    EXPECT_TRUE(calc::anyFixtureWithOwnHeight(planWithOffsets()));
    EXPECT_FALSE(calc::anyFixtureWithOwnHeight(model::Plan{}));
}

TEST(PrecisionAndMaintenanceDialogs, OnlyARealChangeOfTheStepMakesTheResultStale) {
    ValidResult r;
    auto& doc = r.doc;
    calc::CalcSettings s;
    calc::setCalcStep(doc, r.shown, s, 3);
    EXPECT_TRUE(doc.resultValid);
    calc::setCalcStep(doc, r.shown, s, 1);
    EXPECT_FALSE(doc.resultValid);
    EXPECT_EQ(s.calcStep, 1);

    calc::applyMaintenance(s, false, 2);
    EXPECT_FALSE(s.maintenanceOn);
    EXPECT_EQ(s.maintenanceClass, 2);
}

} // namespace
