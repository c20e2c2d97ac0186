// Curve sheet: layout and scale choice, zoom, the diagram's planes, half-illuminance angles, field cuts,
// the printed value table, and the CLI's picture and PDF read back by independent readers.
#include "PrintTestSupport.h"
#include "base/Cp932.h"
#include "model/ProjectFile.h"
#include "print/CurveSheet.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <QImage>
#include <cmath>
#include <regex>
#include <gtest/gtest.h>

using namespace print;
using printtest::makeType;

namespace {

constexpr double kPi = 3.14159265358979323846;
double cosd(double deg) { return std::cos(deg * kPi / 180.0); }

// Light straight down falling off as cos^n; nothing above 90°.
double downward(int gamma, double peak, int n) { return gamma <= 90 ? peak * std::pow(cosd(gamma), n) : 0.0; }

CurveView viewOf(const catalog::BunpuHinban& t) {
    CurveView v;
    v.fill(t);
    return v;
}

std::vector<std::vector<ui::Point>> polylinesAfterPen(const ui::testing::RecordingSurface& s, const std::string& pen) {
    std::vector<std::vector<ui::Point>> out;
    bool active = false;
    for (const auto& op : s.ops) {
        if (op.rfind("pen ", 0) == 0) active = op == pen;
        if (active && op.rfind("polyline", 0) == 0) {
            std::vector<ui::Point> pts;
            std::istringstream in(op.substr(8));
            std::string p;
            while (in >> p) {
                const auto comma = p.find(',');
                pts.push_back({std::stoi(p.substr(0, comma)), std::stoi(p.substr(comma + 1))});
            }
            out.push_back(pts);
        }
    }
    return out;
}

} // namespace

TEST(CurveLayout, IsChosenFromTheUpwardAndDownwardShares) {
    EXPECT_EQ(autoCurveMode({100, 100, 0}), 1) << "no light upwards: C2";
    EXPECT_EQ(autoCurveMode({100, 0, 100}), 0) << "light only upwards: C1";
    EXPECT_EQ(autoCurveMode({100, 100, 29}), 2) << "a little upward light: C3";
    EXPECT_EQ(autoCurveMode({100, 100, 45}), 3) << "some upward light: C4";
    EXPECT_EQ(autoCurveMode({100, 100, 80}), 3) << "balanced: C4";
    EXPECT_EQ(autoCurveMode({100, 100, 0.9}), 1) << "an upward share below 1 cd counts as none";

    // From whole tables: a downlight, an uplight and a two-sided light, each with one, two and three planes.
    for (int planes = 1; planes <= 3; ++planes) {
        SCOPED_TRACE(planes);
        auto down = viewOf(makeType(planes, [](int, int g) { return downward(g, 500, 2); }));
        EXPECT_EQ(down.curveMode(), 1);
        EXPECT_NEAR(down.maxima().D, 500, 1e-3);
        EXPECT_EQ(down.maxima().U, 0);
        auto up = viewOf(makeType(planes, [](int, int g) { return downward(180 - g, 500, 2); }));
        EXPECT_EQ(up.curveMode(), 0);
        auto both = viewOf(makeType(planes, [](int, int g) { return g <= 90 ? downward(g, 500, 2) : downward(180 - g, 200, 2); }));
        EXPECT_EQ(both.curveMode(), 3);
    }
    // Only the planes in use count: upward light in plane 1 of a one-plane type is ignored.
    auto t = makeType(1, [](int, int g) { return downward(g, 500, 2); });
    t.intensity[1][180] = 400;
    EXPECT_EQ(viewOf(t).curveMode(), 1);
    t.planeCount = 2;
    EXPECT_EQ(viewOf(t).curveMode(), 3) << "with plane 1 in use, U 400 ≥ 0.6 × D 500";
}

TEST(CurveScale, ThreeHundredCandelaGivesFourHundredInEveryLayoutAndZoomMovesOneStep) {
    for (int mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(chooseScaleMax(300, mode, Zoom::Normal), 400);
        EXPECT_EQ(chooseScaleMax(300, mode, Zoom::Larger), 300);
        EXPECT_EQ(chooseScaleMax(300, mode, Zoom::Smaller), 500);
    }
    // Layout C4 scales the steps by 0.8: 250 × 0.8 = 200 does not exceed 200, 300 × 0.8 does.
    EXPECT_EQ(chooseScaleMax(200, 3, Zoom::Normal), 300);
    EXPECT_EQ(chooseScaleMax(200, 2, Zoom::Normal), 250);
    // The ends of the ladder: no step before the first, none after the last, nothing beyond it.
    EXPECT_EQ(chooseScaleMax(0, 0, Zoom::Larger), 20);
    EXPECT_EQ(chooseScaleMax(99999, 0, Zoom::Smaller), 100000);
    EXPECT_EQ(chooseScaleMax(100000, 0, Zoom::Normal), std::nullopt);
    EXPECT_EQ(chooseScaleMax(std::nan(""), 0, Zoom::Normal), std::nullopt);
}

TEST(CurveView, ZoomStepsReturnToTheAutomaticScaleAndAHandPickedLayoutStays) {
    CurveView v;
    v.fill(makeType(1, [](int, int g) { return g == 0 ? 300.0 : downward(g, 300, 4); }));
    ASSERT_EQ(v.curveMode(), 1);
    EXPECT_EQ(v.scaleMax(), 400);
    v.enlarge();
    EXPECT_EQ(v.scaleMax(), 300);
    v.enlarge();  // already one step larger: stays
    EXPECT_EQ(v.scaleMax(), 300);
    v.reduce();
    EXPECT_EQ(v.zoom(), Zoom::Normal);
    EXPECT_EQ(v.scaleMax(), 400);
    v.reduce();
    EXPECT_EQ(v.scaleMax(), 500);
    v.enlarge();
    EXPECT_EQ(v.scaleMax(), 400);

    v.pickLayout(3);
    EXPECT_EQ(v.scaleMax(), 400);  // 400 × 0.8 = 320 > 300
    v.fill(makeType(1, [](int, int g) { return downward(180 - g, 50, 1); }));
    EXPECT_EQ(v.curveMode(), 3) << "a hand-picked layout survives a refill";
    EXPECT_EQ(v.scaleMax(), 100);  // 60 × 0.8 = 48 < 50, 100 × 0.8 = 80

    // A table beyond every step keeps the scale it had, rather than dividing by nothing.
    v.fill(makeType(1, [](int, int g) { return g == 0 ? 2e6 : 0.0; }));
    EXPECT_EQ(v.scaleMax(), 100);
}

TEST(CurveDiagram, DrawsEachPlaneOnItsHalfInItsStyle) {
    const std::string primary = "pen (174,21,36) w2", secondary = "pen (0,81,181) w1";
    // Plane p shines (p + 1) × 100 cd sideways at 90°, so each polyline tells its plane by its reach.
    auto t = makeType(3, [](int p, int g) { return g == 90 ? (p + 1) * 100.0 : 10.0; });
    const DiagramGeometry g = DiagramGeometry::of(185, 3, 0, 0);  // u = 10
    ASSERT_EQ(g.R, 99);
    for (int planes = 1; planes <= 3; ++planes) {
        SCOPED_TRACE(planes);
        t.planeCount = planes;
        ui::testing::RecordingSurface s(200, 200);
        drawCurveDiagram(s, CurveSheet::from(t), 3, 400, g, 1.0, placeSheetText);
        auto prim = polylinesAfterPen(s, primary);
        auto sec = polylinesAfterPen(s, secondary);
        ASSERT_EQ(prim.size(), 2u);
        ASSERT_EQ(sec.size(), planes >= 2 ? 2u : 0u);
        for (const auto& line : prim) ASSERT_EQ(line.size(), 181u);
        // γ 0° points down from the centre on both halves.
        EXPECT_EQ(prim[0][0], (ui::Point{g.cx, g.cy + 10 * 99 / 400}));
        const int leftPlane = planes == 3 ? 2 : 0;
        EXPECT_EQ(prim[0][90].x, g.cx - (leftPlane + 1) * 100 * 99 / 400) << "left half";
        EXPECT_EQ(prim[1][90].x, g.cx + 100 * 99 / 400) << "right half is C0";
        if (planes >= 2) {
            EXPECT_EQ(sec[0][90].x, g.cx - 200 * 99 / 400);
            EXPECT_EQ(sec[1][90].x, g.cx + 200 * 99 / 400);
        }
    }
}

TEST(CurveDiagram, LayoutC1PutsTheCentreOnTheBottomEdgeAndC2NearTheTop) {
    const DiagramGeometry c1 = DiagramGeometry::of(250, 0, 0, 22);
    EXPECT_EQ(c1.cy, 22 + c1.W);
    const DiagramGeometry c2 = DiagramGeometry::of(250, 1, 0, 22);
    EXPECT_EQ(c2.cy, 22 + c2.band);
    EXPECT_EQ(c2.W, 250);
    EXPECT_EQ(c2.R, 134);  // trunc(9.983925 × 250 / 18.5)
    // An upward-only curve in C1 stays inside the frame; 0° labels are not drawn there.
    auto up = makeType(1, [](int, int g) { return downward(180 - g, 500, 2); });
    ui::testing::RecordingSurface s(300, 300);
    drawCurveDiagram(s, CurveSheet::from(up), 0, 600, c1, 3.0, placeSheetText);
    for (const auto& line : polylinesAfterPen(s, "pen (174,21,36) w2"))
        for (const auto& p : line) EXPECT_LE(p.y, c1.cy);
    for (const auto& op : s.opsStartingWith("text ")) EXPECT_EQ(op.find(" 0ﾟ"), std::string::npos) << op;
}

TEST(HalfIlluminanceAngle, MatchesTheAnalyticConeOfCosinePowerDistributions) {
    // I = I0 cos^n γ gives a floor illuminance ∝ cos^(n+3) γ, half of the nadir value at acos(0.5^(1/(n+3))).
    for (int n : {0, 1, 2, 5, 10}) {
        SCOPED_TRACE(n);
        const auto t = CurveSheet::from(makeType(1, [n](int, int g) { return downward(g, 800, n); }));
        const double expected = std::acos(std::pow(0.5, 1.0 / (n + 3))) * 180.0 / kPi;
        ASSERT_TRUE(halfIlluminanceHalfAngle(t, 0).has_value());
        EXPECT_NEAR(*halfIlluminanceHalfAngle(t, 0), expected, 0.05);
        EXPECT_NEAR(*halfIlluminanceAngles(t).first, 2 * expected, 0.1);
        EXPECT_FALSE(halfIlluminanceAngles(t).second.has_value());
    }
    // Two planes: the C0 cone first, the C90 cone second; three planes: C0 and C180 halves add up.
    auto two = CurveSheet::from(makeType(2, [](int p, int g) { return downward(g, 800, p == 0 ? 0 : 5); }));
    EXPECT_EQ(halfIlluminanceText(two), "1/2照度角 : 75ﾟ x47ﾟ");
    auto three = CurveSheet::from(makeType(3, [](int p, int g) { return downward(g, 800, p == 0 ? 0 : p == 1 ? 5 : 10); }));
    const double c0 = std::acos(std::pow(0.5, 1.0 / 3)) * 180 / kPi, c180 = std::acos(std::pow(0.5, 1.0 / 13)) * 180 / kPi;
    EXPECT_NEAR(*halfIlluminanceAngles(three).first, c0 + c180, 0.1);
    // An uplight has no light straight down and so no such cone.
    auto up = CurveSheet::from(makeType(2, [](int, int g) { return downward(180 - g, 500, 2); }));
    EXPECT_EQ(halfIlluminanceText(up), "1/2照度角 : - x-");
}

TEST(CurveSheetCopy, CutsTextsToTheirFieldsWithoutSplittingACharacter) {
    auto t = makeType(1, [](int, int) { return 1.0; });
    t.hinban = "A" + std::string(30, 'x') + "あいうえおかきくけこさしすせそ";  // 31 + 30 bytes
    t.lampName = std::string(200, 'L');
    t.haikouCode = "配光";
    t.intensity[0][5] = std::numeric_limits<float>::quiet_NaN();
    const CurveSheet s = CurveSheet::from(t);
    EXPECT_EQ(base::cp932ByteLength(s.hinban), 49u);
    EXPECT_EQ(s.hinban, t.hinban.substr(0, 31 + 9 * 3)) << "ends after the ninth whole kana";
    EXPECT_EQ(s.lampName.size(), 81u);
    EXPECT_EQ(s.haikouCode, "配光");
    EXPECT_EQ(s.value(0, 5), 0.0) << "a value that is not a number is drawn as none";
    EXPECT_EQ(s.value(3, 0), 0.0);
    EXPECT_EQ(s.value(0, 181), 0.0);
}

TEST(CurveSheetPrint, PrintsTheValueTableForThePlanesInUse) {
    for (int planes = 1; planes <= 3; ++planes) {
        for (int mode : {1, 3}) {
            SCOPED_TRACE(planes * 10 + mode);
            CurveView v;
            v.pickLayout(mode);
            v.fill(makeType(planes, [](int p, int g) { return 100.0 * (p + 1) + g / 100.0; }));
            ui::testing::RecordingSurface page(2480, 3508, 300, true);
            printCurveSheet(page, v, {nullptr, 12, "2026/12/07", "ORDIVAN Ver 2.0"}, placeSheetText);
            const int rows = mode == 1 ? 19 : 37;
            int values = 0;
            static const std::regex valueText(R"(text \d+,\d+ +\d+\.\d\d)");
            for (const auto& op : page.opsStartingWith("text "))
                if (std::regex_match(op, valueText)) ++values;
            EXPECT_EQ(values, rows * planes);
            auto has = [&](const std::string& text) {
                for (const auto& op : page.opsStartingWith("text "))
                    if (op.size() >= text.size() && op.compare(op.size() - text.size(), text.size(), text) == 0) return true;
                return false;
            };
            EXPECT_EQ(has(" 180ﾟ"), mode != 1 || planes == 3) << "last angle row or the C180 header";
            EXPECT_EQ(has("    300.00"), planes == 3) << "the C180 column holds 300 at 0°";
            EXPECT_EQ(has(" 90ﾟ"), true);
            EXPECT_EQ(has(" 170ﾟ"), mode != 1) << "C2 lists 0° to 90° only";
            EXPECT_TRUE(has(" 配光曲線"));
            EXPECT_TRUE(has(" ORDIVAN Ver 2.0"));
            EXPECT_TRUE(has("ZOLT Lighting CORP    2026/12/07"));
        }
    }
}

TEST(CurveCli, WritesAPictureAndASheetThatIndependentReadersAccept) {
    const std::string dir = printtest::scratchDir("curve_cli");
    model::Document doc;
    catalog::TourokuTable touroku;
    touroku[1] = makeType(1, [](int, int g) { return downward(g, 300, 1); }, "DL-ONE");
    touroku[2] = makeType(2, [](int p, int g) { return g <= 90 ? downward(g, 900, p + 1) : downward(180 - g, 400, 1); }, "CL-TWO");
    touroku[3] = makeType(3, [](int p, int g) { return downward(g, 2500, p == 2 ? 6 : 2); }, "SP-THREE");
    touroku[3].tosu = 2;
    ui::testing::FakeServices services;
    const std::string project = dir + "/curves.OLE";
    ASSERT_TRUE(model::writeProject(project, doc, touroku, services));

    struct Case {
        int slot;
        const char* layout;
        const char* expectLine;
        const char* header;
    };
    for (const Case& c : {Case{1, nullptr, "C2 scaleMax 400", "90ﾟ"}, Case{2, nullptr, "C4 scaleMax 1500", "180ﾟ"},
                          Case{3, "C3", "C3 scaleMax 3000", "180ﾟ"}}) {
        SCOPED_TRACE(c.slot);
        const std::string base = dir + "/slot" + std::to_string(c.slot);
        std::vector<std::string> args = {"curve", project, "--slot", std::to_string(c.slot), "--png", base + ".png",
                                         "--pdf", base + ".pdf"};
        if (c.layout) args.insert(args.end(), {"--layout", c.layout});
        std::string out;
        ASSERT_EQ(printtest::runCli(args, &out), 0) << out;
        EXPECT_NE(out.find(c.expectLine), std::string::npos) << out;

        QImage picture(QString::fromStdString(base + ".png"));
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.width(), 250);
        EXPECT_EQ(picture.height(), 272);
        auto holds = [&](QRgb colour) {
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    if ((picture.pixel(x, y) & 0xFFFFFF) == colour) return true;
            return false;
        };
        EXPECT_TRUE(holds(0xAE1524)) << "the primary curve";
        EXPECT_EQ(holds(0x0051B5), touroku[c.slot].planeCount >= 2) << "the secondary curve";

        double w = 0, h = 0;
        ASSERT_TRUE(printtest::pdfPageSize(base + ".pdf", w, h));
        EXPECT_NEAR(w, 595, 2);
        EXPECT_NEAR(h, 842, 2);
        const auto words = printtest::pdfWords(base + ".pdf");
        for (const char* text : {"配光曲線", "品番", "配光コード", "適用ランプ", "1000lmあたり", "1/2照度角", "1000Lm", "4000K",
                                 "ORDIVAN"})
            EXPECT_NE(printtest::findWord(words, text), nullptr) << text;
        const auto* hinban = printtest::findWord(words, touroku[c.slot].hinban);
        ASSERT_NE(hinban, nullptr);
        // Grid position (20, 8) of a 100 × 50 grid on the portrait page.
        EXPECT_NEAR(hinban->xMin, 20 * (2480 / 100) * 72.0 / 300, 3);
        EXPECT_NEAR(hinban->yMin, 8 * (3508 / 50) * 72.0 / 300, 6);
        const std::string text = printtest::pdfText(base + ".pdf");
        EXPECT_EQ(text.find(c.header) != std::string::npos, true) << c.header;
        EXPECT_EQ(text.find("95ﾟ") != std::string::npos, c.slot != 1) << "the C2 layout lists 0° to 90°";
        EXPECT_EQ(text.find(touroku[c.slot].tosu == 2 ? "LED-W x2" : "LED-W") != std::string::npos, true);
        EXPECT_TRUE(printtest::renderPdf(base + ".pdf", base + "_page"));
    }

    // An unregistered slot is refused with the window's message; a bad layout is wrong usage.
    std::string out;
    EXPECT_EQ(printtest::runCli({"curve", project, "--slot", "9"}, &out), 1);
    EXPECT_NE(out.find("器具を選択してください"), std::string::npos);
    EXPECT_EQ(printtest::runCli({"curve", project, "--slot", "1", "--layout", "C5"}, &out), 2);
    EXPECT_EQ(printtest::runCli({"curve", project, "--slot", "1", "--pdf", dir + "/no/such/dir/x.pdf"}, &out), 1);
}
