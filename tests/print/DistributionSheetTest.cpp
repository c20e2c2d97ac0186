// Distribution map sheet: margin rules, page fifths, the plan area's scale, the fixture table's rows and
// cuts, and whole sheets printed to PDF and read back with pdftotext -bbox and pdftoppm.
#include "PrintTestSupport.h"
#include "base/Cp932.h"
#include "catalog/ProductList.h"
#include "base/Text.h"
#include "print/DistributionSheet.h"
#include "ui/qt/HeadlessServices.h"
#include "ui/qt/QtSurface.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

using namespace print;

namespace {

// A landscape page of 297 × 210.5 mm at 254 dpi (10 dots a millimetre): its fifths are 59 and 42 mm.
PageGeometry fullSheetPage() { return PageGeometry::of(2970, 2105, 254, 254); }

std::array<ui::Color, 8> symbolColours() {
    return {ui::Color{0, 0, 0},    ui::Color{255, 255, 0}, ui::Color{255, 150, 0}, ui::Color{255, 0, 0},
            ui::Color{100, 255, 0}, ui::Color{80, 80, 255}, ui::Color{40, 130, 100}, ui::Color{255, 255, 255}};
}

catalog::BunpuHinban tableType(const std::string& hinban, const std::string& lampNameA, int placed, int kou = 3000, int tosu = 2) {
    catalog::BunpuHinban t;
    t.hinban = hinban;
    t.lampName = "白色ＬＥＤ";
    t.lampNameA = lampNameA;
    t.kou = kou;
    t.tosu = tosu;
    t.placedCount = placed;
    t.planeCount = 1;
    return t;
}

std::vector<std::string> texts(const ui::testing::RecordingSurface& s) {
    std::vector<std::string> out;
    for (const auto& op : s.opsStartingWith("text ")) out.push_back(op.substr(op.find(' ', 5) + 1));
    return out;
}

ui::Point textCorner(const ui::testing::RecordingSurface& s, const std::string& text) {
    for (const auto& op : s.opsStartingWith("text ")) {
        const auto space = op.find(' ', 5);
        if (op.substr(space + 1) == text) {
            const auto comma = op.find(',');
            return {std::stoi(op.substr(5, comma - 5)), std::stoi(op.substr(comma + 1, space - comma - 1))};
        }
    }
    return {-1, -1};
}

} // namespace

TEST(MarginRules, KeepOppositeMarginsWithinAFifthOfThePage) {
    const PageGeometry page = fullSheetPage();
    ASSERT_EQ(page.W5(), 59);
    ASSERT_EQ(page.H5(), 42);
    Margins margins;
    MarginRules rules;
    rules.measure(page, margins);
    EXPECT_EQ(rules.label(MarginSide::Left), "(5～54)");
    EXPECT_EQ(rules.label(MarginSide::Right), "(5～54)");
    EXPECT_EQ(rules.label(MarginSide::Up), "(5～37)");
    EXPECT_EQ(rules.label(MarginSide::Down), "(5～37)");

    EXPECT_EQ(rules.leave(MarginSide::Up, "60", margins), 37);
    EXPECT_EQ(margins.top, 37);
    EXPECT_EQ(rules.label(MarginSide::Down), "(5～5)");
    EXPECT_EQ(rules.leave(MarginSide::Down, "9", margins), 5) << "the bottom may now take only what is left";
    EXPECT_EQ(rules.leave(MarginSide::Up, "2", margins), 5) << "raised to the smallest margin";
    EXPECT_EQ(rules.label(MarginSide::Down), "(5～37)");
    EXPECT_EQ(rules.leave(MarginSide::Left, "-8", margins), 5);
    EXPECT_EQ(rules.leave(MarginSide::Right, " 20 ", margins), 20);
    EXPECT_EQ(rules.label(MarginSide::Left), "(5～39)");

    // A text that is not a whole number is the conversion error and changes nothing.
    const Margins before = margins;
    EXPECT_THROW(rules.leave(MarginSide::Right, "7.5", margins), base::ConversionError);
    EXPECT_THROW(rules.leave(MarginSide::Right, "", margins), base::ConversionError);
    EXPECT_EQ(margins.right, before.right);
    EXPECT_EQ(rules.label(MarginSide::Left), "(5～39)");

    // Shown again (or after the printer set-up) with margins held from before: the limits follow them,
    // so that a wide bottom margin cannot be joined by a wide top one.
    margins = Margins{5, 30, 5, 5};
    rules.measure(page, margins);
    EXPECT_EQ(rules.label(MarginSide::Up), "(5～12)");
    EXPECT_EQ(rules.leave(MarginSide::Up, "37", margins), 12);
}

TEST(MarginRules, SwallowEveryKeyButDigitsEditingKeysAndTheArrowCodes) {
    for (int k : std::vector<int>{'0', '5', '9', 8, 13, '-', '%', '&', '\'', '('}) EXPECT_TRUE(marginKeyPasses(k)) << k;
    for (int k : std::vector<int>{'.', ',', 'a', ' ', '+', ')', 0x3042}) EXPECT_FALSE(marginKeyPasses(k)) << k;
}

TEST(PageGeometry, MeasuresARealA4SheetInWholeMillimetres) {
    // 297 × 210 mm at 300 dpi: the truncations leave 59 and 41 mm (210 / 5 is a hair short of 42 in dots).
    const PageGeometry a4 = PageGeometry::of(3507, 2480, 300, 300);
    EXPECT_EQ(a4.W5(), 59);
    EXPECT_EQ(a4.H5(), 41);
    const MarginDots m = MarginDots::of(Margins{5, 6, 7, 8}, a4);
    EXPECT_EQ(m.MT, 59);  // 5 × 11.811 + 0.5
    EXPECT_EQ(m.MB, 71);
    EXPECT_EQ(m.ML, 83);
    EXPECT_EQ(m.MR, 94);
}

TEST(PlanArea, ScalesByTheTighterSideToWholeDotsAndCentresLeftOfTheTable) {
    const PageGeometry page = PageGeometry::of(7016, 4961, 600, 600);
    const MarginDots m = MarginDots::of(Margins{}, page);
    const PlanArea wide = planArea(page, m, PrintRegion{100, 200, 1100, 400});
    EXPECT_EQ(wide.aw, truncDots(7016 - 2 * m.ML - 78 * page.dX));
    EXPECT_EQ(wide.m, truncDots(static_cast<float>(0.95 * wide.aw / 1000) * 0.8f + 0.5f)) << "width decides";
    EXPECT_EQ(wide.m, 4);
    EXPECT_EQ(wide.scale, 4.0);
    EXPECT_EQ(wide.ox - m.ML, (wide.aw - 4 * 1000) / 2);
    EXPECT_EQ(wide.oy - m.MT, (wide.ah - 4 * 200) / 2);

    const PlanArea tall = planArea(page, m, PrintRegion{0, 0, 300, 1500});
    EXPECT_EQ(tall.m, truncDots(static_cast<float>(0.95 * tall.ah / 1500) * 0.8f + 0.5f)) << "height decides";

    // A region larger than the area at one dot a pixel keeps its fractional scale and still fits.
    const PageGeometry coarse = PageGeometry::of(1123, 794, 96, 96);
    const MarginDots cm = MarginDots::of(Margins{}, coarse);
    const PlanArea big = planArea(coarse, cm, PrintRegion{0, 0, 3000, 900});
    EXPECT_EQ(big.m, 0);
    EXPECT_GT(big.scale, 0);
    EXPECT_LE(big.scale * 3000, big.aw);
    EXPECT_GE(big.ox, cm.ML);
    // A degenerate region does not divide by zero.
    const PlanArea empty = planArea(page, m, PrintRegion{5, 5, 5, 5});
    EXPECT_GT(empty.m, 0);
}

TEST(PrintRegion, JoinsThePlanExtentWithTheLitExtent) {
    calc::ResultStats stats;
    stats.litMinCol = 50;
    stats.litMaxCol = 900;
    stats.litMinRow = 120;
    stats.litMaxRow = 300;
    const PrintRegion r = printRegion(model::Extent{100, 800, 80, 400}, stats);
    EXPECT_EQ(r.x1, 50);
    EXPECT_EQ(r.x2, 900);
    EXPECT_EQ(r.y1, 80);
    EXPECT_EQ(r.y2, 400);
    // Before any result the lit extent is empty (10000 .. 0) and the plan alone counts.
    const PrintRegion plain = printRegion(model::Extent{100, 800, 80, 400}, calc::ResultStats{});
    EXPECT_EQ(plain.x1, 100);
    EXPECT_EQ(plain.x2, 800);
}

TEST(FixtureTable, ListsPlacedTypesWithRowHeightFontsAndCuts) {
    catalog::TourokuTable touroku;
    touroku[3] = tableType("REGISTERED-ONLY", "LED", 0);
    touroku[20] = tableType("FL-40-LONG-NUMBER", "FHF32EX-N-H", 4);
    touroku[21] = tableType("NO-FLUX", "LED", 2, 0);
    EXPECT_EQ(catalog::listedSlots(touroku), std::vector<int>{20});

    const PageGeometry page = PageGeometry::of(3507, 2480, 300, 300);
    const MarginDots m = MarginDots::of(Margins{}, page);
    const FixtureTableLayout one = fixtureTableLayout(page, m, 1);
    EXPECT_FLOAT_EQ(one.rh, 7.0f);
    EXPECT_EQ(one.f1, 9);  // 0.75 × 7 mm in points × 2/3
    EXPECT_EQ(one.f2, 8);
    EXPECT_EQ(one.hinbanBytes, 10u);
    EXPECT_EQ(one.s, truncDots(1.4 * page.dX));
    const FixtureTableLayout none = fixtureTableLayout(page, m, 0);
    EXPECT_EQ(none.n, 1) << "an empty table is laid out as one row";
    const FixtureTableLayout many = fixtureTableLayout(page, m, 36);
    EXPECT_NEAR(many.rh, ((2480 - m.MT - m.MB) / page.dY - 21) / 36, 1e-4);
    EXPECT_EQ(many.hinbanBytes, 12u) << "small rows keep two more bytes of the product number";

    // Nothing placed: the header row alone.
    ui::testing::RecordingSurface empty(3507, 2480, 300, true);
    drawFixtureTable(empty, page, m, 3400, catalog::TourokuTable{}, FixtureTableStyle{'A', symbolColours()}, placeSheetText);
    EXPECT_EQ(texts(empty), (std::vector<std::string>{"記号", "品　番", "ランプ名", "全光束", "数量"}));
    EXPECT_EQ(empty.opsStartingWith("ellipse").size() + empty.opsStartingWith("polygon").size(), 0u);

    ui::testing::RecordingSurface s(3507, 2480, 300, true);
    const int R = 3507 - m.MR;
    drawFixtureTable(s, page, m, R, touroku, FixtureTableStyle{'A', symbolColours()}, placeSheetText);
    const auto t = texts(s);
    EXPECT_NE(std::find(t.begin(), t.end(), "FL-40-LONG"), t.end()) << "cut to 10 bytes";
    EXPECT_NE(std::find(t.begin(), t.end(), "6000"), t.end()) << "kou × tosu";
    EXPECT_NE(std::find(t.begin(), t.end(), "4"), t.end());
    EXPECT_EQ(std::find(t.begin(), t.end(), "REGISTERED-ONLY"), t.end());
    // Slot 20: the fourth shape (bar) in the second colour, 4s × 1.2s around the symbol centre.
    const int cx = truncDots(R - 74.5 * page.dX), cy = truncDots(m.MT + (11.5 + 0.2 * 7) * page.dY);
    const int sz = one.s;
    const std::string bar = "rect " + std::to_string(cx - 2 * sz) + "," + std::to_string(truncDots(cy - 0.6 * sz)) + "-" +
                            std::to_string(cx + 2 * sz) + "," + std::to_string(truncDots(cy + 0.6 * sz));
    const auto& ops = s.ops;
    const auto at = std::find(ops.begin(), ops.end(), bar);
    ASSERT_NE(at, ops.end()) << bar;
    EXPECT_NE(std::find(ops.begin(), at, "brush (255,150,0)"), at);
    // The texts sit on the table's columns: product number 70 mm, flux right-aligned 10 mm left of R.
    ui::Point hin = textCorner(s, "FL-40-LONG");
    EXPECT_EQ(hin.x, truncDots(R - 70 * page.dX) + 3);
    ui::Point flux = textCorner(s, "6000");
    ui::Font f1;
    f1.sizePt = one.f1;
    s.setFont(f1);
    EXPECT_EQ(flux.x + s.textExtent("6000").width + 3, truncDots(R - 10 * page.dX));
}

TEST(FixtureTable, SplitsAWideLampNameAfterSixteenBytesWithoutCuttingACharacter) {
    // 15 single bytes and then double-byte characters: the cut comes after 15 bytes, not inside "蛍".
    const std::string name = "FHF32EX-N-H-ABC蛍光灯ランプ";
    const auto [head, rest] = splitLampName(name);
    EXPECT_EQ(head, "FHF32EX-N-H-ABC");
    EXPECT_EQ(rest, "蛍光灯ランプ");
    EXPECT_EQ(splitLampName("ＬＥＤランプ白色昼光色").first, "ＬＥＤランプ白色");
    EXPECT_EQ(splitLampName("LED").second, "");

    catalog::TourokuTable touroku;
    touroku[1] = tableType("DL-1", name + "白色昼光色タイプ", 3);
    touroku[2] = tableType("DL-2", "LED", 3);
    touroku[2].option = "OPT-1";
    const PageGeometry page = PageGeometry::of(3507, 2480, 300, 300);
    const MarginDots m = MarginDots::of(Margins{}, page);
    ui::testing::RecordingSurface s(3507, 2480, 300, true);
    drawFixtureTable(s, page, m, 3400, touroku, FixtureTableStyle{'A', symbolColours()}, placeSheetText);
    // Recording texts measure 6 dots a byte of UTF-8 at 9 pt: the long name (57 bytes) is wider than 27 mm.
    const auto t = texts(s);
    EXPECT_NE(std::find(t.begin(), t.end(), "FHF32EX-N-H-ABC"), t.end());
    EXPECT_NE(std::find(t.begin(), t.end(), "蛍光灯ランプ白色昼光色タイプ"), t.end());
    EXPECT_NE(std::find(t.begin(), t.end(), "OPT-1"), t.end());
    EXPECT_NE(std::find(t.begin(), t.end(), "LED"), t.end()) << "a short name stays whole";
    const ui::Point first = textCorner(s, "FHF32EX-N-H-ABC"), second = textCorner(s, "蛍光灯ランプ白色昼光色タイプ");
    EXPECT_EQ(first.x, second.x);
    EXPECT_GT(second.y, first.y) << "the rest goes on the second line";
    // Both parts in the small font: the font set before each is f2.
    const auto& ops = s.ops;
    const auto firstOp = std::find_if(ops.begin(), ops.end(), [](const std::string& op) { return op.ends_with(" FHF32EX-N-H-ABC"); });
    ASSERT_NE(firstOp, ops.end());
    auto lastFont = std::find_if(std::make_reverse_iterator(firstOp), ops.rend(),
                                 [](const std::string& op) { return op.rfind("font ", 0) == 0; });
    ASSERT_NE(lastFont, ops.rend());
    EXPECT_EQ(lastFont->rfind("font 8 ", 0), 0u) << *lastFont;
    // A rest longer than the column is cut at a whole character before it reaches the flux column.
    catalog::TourokuTable longName;
    longName[1] = tableType("DL-1", "ABCDEFGHIJKLMNOP" + std::string(80, 'Q') + "蛍光灯", 3);
    ui::testing::RecordingSurface r(3507, 2480, 300, true);
    drawFixtureTable(r, page, m, 3400, longName, FixtureTableStyle{'A', symbolColours()}, placeSheetText);
    const auto rt = texts(r);
    const auto restText = std::find_if(rt.begin(), rt.end(), [](const std::string& x) { return x.rfind("QQQ", 0) == 0; });
    ASSERT_NE(restText, rt.end());
    r.setFont(ui::Font{8, ui::colors::black, false, ""});
    EXPECT_LE(r.textExtent(*restText).width, truncDots(28 * page.dX) - 3);
    EXPECT_GT(r.textExtent(*restText + "Q").width, truncDots(28 * page.dX) - 3) << "cut no shorter than needed";

    // Japanese names in mode 'J'.
    ui::testing::RecordingSurface j(3507, 2480, 300, true);
    drawFixtureTable(j, page, m, 3400, touroku, FixtureTableStyle{'J', symbolColours()}, placeSheetText);
    const auto jt = texts(j);
    EXPECT_EQ(std::count(jt.begin(), jt.end(), "白色ＬＥＤ"), 2);
}

namespace {

// Whatever the plan's size, the scaled plan lies inside the frame drawn round it; and the window's
// reading of the average and maximum at the plan's top left is not copied onto the sheet.
TEST(PlanArea, ThePlanStaysInsideItsFrameAndNoScreenTextReachesTheSheet) {
    for (const auto& [pw, ph, dpi] : {std::array<int, 3>{7016, 4961, 600}, std::array<int, 3>{1123, 794, 96}}) {
        const PageGeometry page = PageGeometry::of(pw, ph, dpi, dpi);
        const MarginDots m = MarginDots::of(Margins{}, page);
        for (int w = 40; w <= 6000; w += 37) {
            for (int h : {w / 3 + 1, w, 2 * w}) {
                const PlanArea a = planArea(page, m, PrintRegion{0, 0, w, h});
                const double left = m.ML + 0.025 * a.aw, right = m.ML + 0.975 * a.aw;
                const double top = m.MT + 5 * page.dY, bottom = m.MT + 0.975 * a.ah;
                ASSERT_GE(a.ox, left - 1) << w << "x" << h << " at " << dpi;
                ASSERT_LE(a.ox + a.scale * w, right + 1) << w << "x" << h << " at " << dpi;
                ASSERT_GE(a.oy, top - 1) << w << "x" << h << " at " << dpi;
                ASSERT_LE(a.oy + a.scale * h, bottom + 1) << w << "x" << h << " at " << dpi;
                ASSERT_GT(a.scale, 0);
            }
        }
    }

    printtest::ensureGuiApp();
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    ui::qt::ImageSurface plan(400, 300);
    plan.fillRect(ui::Rect{0, 0, 400, 300}, ui::Color{255, 0, 0});
    plan.textOut(13, 8, "平均照度：0 Lx");
    const auto picture = copyRegion(plan, PrintRegion{5, 0, 305, 200}, services);
    ASSERT_NE(picture, nullptr);
    int dark = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 300; ++x) {
            const ui::Color c = picture->pixel(x, y);
            if (c.r < 128 && c.g < 128) ++dark;
        }
    EXPECT_EQ(dark, 0) << "text of the window on the sheet's plan";
    EXPECT_EQ(picture->pixel(150, 100), (ui::Color{255, 0, 0})) << "the plan itself is copied";
}

} // namespace
