// Tests of the plan collections, extent, rescale, the scale from a denominator and the plan-wide state changes.
#include "model/Document.h"
#include "model/Plan.h"

#include <gtest/gtest.h>

namespace {

model::LineRecord line(int x1, int y1, int x2, int y2) {
    model::LineRecord l;
    l.kind = 'L';
    l.x1 = x1;
    l.y1 = y1;
    l.x2 = x2;
    l.y2 = y2;
    return l;
}

TEST(RecordArray, GrowsOnlyWhenTheCountComesWithinTenOfTheCapacity) {
    model::LineArray lines;
    EXPECT_EQ(lines.capacity(), 101);
    for (int i = 1; i <= 91; ++i) lines.add(line(i, i, i + 1, i + 1));
    lines.add(line(92, 92, 0, 0));  // 92nd: 91 > 91 is false, no growth
    EXPECT_EQ(lines.capacity(), 101);
    lines.add(line(93, 93, 0, 0));  // 93rd: 92 > 91 grows to 201
    EXPECT_EQ(lines.capacity(), 201);
    for (int i = 1; i <= 91; ++i) {
        EXPECT_EQ(lines[i].x1, i);
    }
    EXPECT_EQ(lines[93].x1, 93);
}

TEST(RecordArray, FixturesGrowBy200AndNeverFailAtTheInitialCapacity) {
    model::KiguArray kigu;
    for (int i = 1; i <= 492; ++i) kigu.add({});
    EXPECT_EQ(kigu.capacity(), 501);
    kigu.add({});
    EXPECT_EQ(kigu.capacity(), 701);
    for (int i = 494; i <= 1500; ++i) kigu.add({});
    EXPECT_EQ(kigu.count(), 1500);
    EXPECT_GE(kigu.capacity(), 1501);
}

TEST(RecordArray, DeletionCompactsKeepingTheOrderAndIndexesAreChecked) {
    model::HasiraArray h;
    for (int i = 1; i <= 4; ++i) {
        model::HasiraRecord r;
        r.x = i * 10;
        h.add(r);
    }
    h.removeAt(2);
    ASSERT_EQ(h.count(), 3);
    EXPECT_EQ(h[1].x, 10);
    EXPECT_EQ(h[2].x, 30);
    EXPECT_EQ(h[3].x, 40);
    EXPECT_THROW(h[0], std::out_of_range);
    EXPECT_THROW(h[4], std::out_of_range);
    h.removeLast();
    EXPECT_EQ(h.count(), 2);
}

TEST(Plan, LineNormalisationOrdersTheBoundingBox) {
    auto l = line(50, 80, 10, 20);
    model::normaliseLine(l);
    EXPECT_EQ(l.minX, 10);
    EXPECT_EQ(l.maxX, 50);
    EXPECT_EQ(l.minY, 20);
    EXPECT_EQ(l.maxY, 80);
    auto v = line(7, 1, 7, 9);
    model::normaliseLine(v);
    EXPECT_EQ(v.minX, 7);
    EXPECT_EQ(v.maxX, 7);
}

TEST(Extent, EmptyPlanCoversTheScreen) {
    model::Plan plan;
    auto e = model::computeExtent(plan, 1920, 1080);
    EXPECT_EQ(e.Xs, 0);
    EXPECT_EQ(e.Xe, 1920);
    EXPECT_EQ(e.Ys, 0);
    EXPECT_EQ(e.Ye, 1080);
}

TEST(Extent, PadsTheBoundingBoxOfLinesFixturesAndPillars) {
    model::Plan plan;
    plan.lines.add(line(100, 200, 400, 200));
    model::KiguRecord k;
    k.x = 1492;
    k.y = 300;
    plan.kigu.add(k);
    model::HasiraRecord h;
    h.x = 200;
    h.y = 600;
    h.halfSize = 20;
    plan.hasira.add(h);
    auto e = model::computeExtent(plan, 1920, 1080);
    EXPECT_EQ(e.Xs, 95);
    EXPECT_EQ(e.Xe, 1500);
    EXPECT_EQ(e.Ys, 195);
    EXPECT_EQ(e.Ye, 628);
}

TEST(Extent, AnArcWidensByTheCirclePointsItPasses) {
    model::Plan plan;
    // Upper half of the circle centred at (900, 100), radius 100: passes north only.
    model::LineRecord a;
    a.kind = 'A';
    a.x1 = 1000;
    a.y1 = 100;
    a.x2 = 800;
    a.y2 = 100;
    a.x3 = 800;
    a.y3 = 0;
    a.x4 = 1000;
    a.y4 = 200;
    plan.lines.add(a);
    auto e = model::computeExtent(plan, 1920, 1080);
    EXPECT_EQ(e.Ys, 0);     // the northern point y = 0, not padded below 5
    EXPECT_EQ(e.Ye, 108);   // the south point is not on the arc
    EXPECT_EQ(e.Xs, 795);
    EXPECT_EQ(e.Xe, 1008);
}

TEST(Rescale, HalvingTheMillimetresPerPixelDoublesEveryCoordinate) {
    model::Plan plan;
    plan.mmPerPixel = 5.0f;
    plan.lines.add(line(10, 20, 30, 41));
    model::KiguRecord k;
    k.x = 15;
    k.y = 25;
    plan.kigu.add(k);
    model::HasiraRecord h;
    h.x = 7;
    h.y = 9;
    h.halfSize = 3;
    plan.hasira.add(h);
    ASSERT_TRUE(model::rescalePlan(plan, 2.5f));
    EXPECT_EQ(plan.lines[1].x1, 20);
    EXPECT_EQ(plan.lines[1].y2, 82);
    EXPECT_EQ(plan.lines[1].maxY, 82);
    EXPECT_EQ(plan.kigu[1].x, 30);
    EXPECT_EQ(plan.kigu[1].anchorX, 30);
    EXPECT_EQ(plan.kigu[1].anchorY, 50);
    EXPECT_EQ(plan.hasira[1].halfSize, 6);
    EXPECT_FLOAT_EQ(plan.mmPerPixel, 2.5f);
}

TEST(Rescale, NeverRescalesFromNoScale) {
    model::Plan plan;
    plan.lines.add(line(10, 20, 30, 40));
    EXPECT_FALSE(model::rescalePlan(plan, 2.5f));
    EXPECT_EQ(plan.lines[1].x1, 10);
    plan.mmPerPixel = 5.0f;
    EXPECT_FALSE(model::rescalePlan(plan, -1.0f));
    EXPECT_EQ(plan.lines[1].x1, 10);
}

TEST(ScaleFromDenominator, OneMetreIsAWholeNumberOfPixelsInEveryBand) {
    const float s = 25.39f / 96.0f;
    auto fifty = model::scaleFromDenominator(50, s);
    EXPECT_EQ(fifty.unitPixels, 8);  // trunc(100/50/0.26448 + 0.5)
    EXPECT_EQ(fifty.pitches, (std::vector<std::int32_t>{8, 16, 40, 80, 400}));
    EXPECT_FLOAT_EQ(fifty.mmPerPixel, 12.5f);
    auto hundred = model::scaleFromDenominator(100, s);
    EXPECT_EQ(hundred.unitPixels, 8);  // trunc(200/100/0.26448 + 0.5)
    EXPECT_EQ(hundred.pixelsPerMetre, 40);
    auto twoHundred = model::scaleFromDenominator(200, s);
    EXPECT_EQ(twoHundred.unitPixels, 9);  // trunc(500/200/0.26448), no rounding in this band
    EXPECT_EQ(twoHundred.pixelsPerMetre, 18);
    EXPECT_LT(model::scaleFromDenominator(0, s).mmPerPixel, 0);
}

TEST(Document, ScaleFromDenominatorSetsTheLabelWithTheEffectiveDenominator) {
    model::Document doc;
    model::WindowShown shown;
    doc.screenMmPerPixel = 25.39f / 96.0f;
    model::setScaleFromDenominator(doc, shown, 50);
    EXPECT_EQ(doc.plan.scaleDenominator, 50);
    EXPECT_EQ(shown.scaleLabel, "縮尺：1/50 (47)");  // trunc(12.5 / 0.26448 + 0.5)
    EXPECT_TRUE(doc.gridShown);
    EXPECT_TRUE(shown.gridSnapVisible);
}

TEST(Document, MarkPlanChangedInvalidatesTheResultAndClosesTheResultMenus) {
    model::Document doc;
    model::WindowShown shown;
    doc.dataChanged = false;
    doc.resultValid = true;
    shown.maxLuxLabel = "最大照度 : 500 Lx";
    shown.menus.csvOutput = shown.menus.dxfSaveResult = shown.menus.redisplayLux = true;
    shown.menus.gridPrint = false;
    model::markPlanChanged(doc, shown);
    EXPECT_TRUE(doc.dataChanged);
    EXPECT_FALSE(doc.resultValid);
    EXPECT_TRUE(shown.maxLuxLabel.empty());
    EXPECT_FALSE(shown.menus.csvOutput || shown.menus.dxfSaveResult || shown.menus.redisplayLux);
    EXPECT_TRUE(shown.menus.gridPrint);
}

TEST(Document, ClearPlanFreesEverySlotAndForgetsTheScaleButKeepsTenDaka) {
    model::Document doc;
    model::WindowShown shown;
    catalog::TourokuTable touroku;
    touroku[3].hinban = "X";
    touroku[3].placedCount = 4;
    doc.plan.lines.add(line(1, 2, 3, 4));
    doc.plan.mmPerPixel = 10;
    doc.plan.scaleDenominator = 50;
    doc.currentFileName = "a.OLE";
    doc.tenDaka = 2500;
    doc.tenDakaLabel = "2500";
    shown.hasiraSizeText = "600";
    model::clearPlan(doc, shown, touroku);
    EXPECT_TRUE(doc.plan.isEmpty());
    EXPECT_TRUE(touroku[3].hinban.empty());
    EXPECT_EQ(touroku[3].placedCount, 0);
    EXPECT_LT(doc.plan.mmPerPixel, 0);
    EXPECT_EQ(doc.plan.scaleDenominator, -1);
    EXPECT_TRUE(doc.currentFileName.empty());
    EXPECT_EQ(doc.tenDakaLabel, "3000");
    EXPECT_EQ(doc.tenDaka, 2500);
    EXPECT_EQ(shown.hasiraSizeText, "800");
}

TEST(Document, FixturesKeepPlacedCountAndTheLinearSlotsTurnWhenVertical) {
    model::Document doc;
    model::WindowShown shown;
    catalog::TourokuTable touroku;
    doc.flVertical = true;
    int a = model::addFixture(doc, shown, touroku, 10, 20, 20);
    int b = model::addFixture(doc, shown, touroku, 30, 40, 25);
    EXPECT_EQ(doc.plan.kigu[a].rotation, 90);
    EXPECT_EQ(doc.plan.kigu[b].rotation, 0);
    EXPECT_EQ(doc.plan.kigu[a].anchorX, 10);
    EXPECT_EQ(touroku[20].placedCount, 1);
    model::deleteFixture(doc, shown, touroku, a);
    EXPECT_EQ(touroku[20].placedCount, 0);
    EXPECT_EQ(doc.plan.kigu.count(), 1);
    EXPECT_EQ(doc.plan.kigu[1].typeIndex, 25);
}

TEST(Document, WindowTitleNamesTheFileWithoutItsFolder) {
    model::Document doc;
    // "[*]" is where the window puts its mark for unsaved changes, before the name.
    EXPECT_EQ(model::windowTitleFor(doc, "/home/u/My Plans/a.OLE"), "ORDIVAN Ver 2.0  - [*]a.OLE  (ZOLT LIGHTING CORP.)");
    EXPECT_EQ(model::windowTitleFor(doc, "C:\\My Plans\\b.OLE"), "ORDIVAN Ver 2.0  - [*]b.OLE  (ZOLT LIGHTING CORP.)");
    EXPECT_EQ(model::windowTitleFor(doc, ""), "ORDIVAN Ver 2.0  - [*]無題  (ZOLT LIGHTING CORP.)");
}

} // namespace
