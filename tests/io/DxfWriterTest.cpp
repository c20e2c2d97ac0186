// The DXF export read back by ezdxf: entities, layers, colours, coordinates, labels, texts, and the file-safety faults.
#include "io/DxfWriter.h"

#include "IoTestSupport.h"
#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using iotest::Probe;

model::LineRecord wall(int x1, int y1, int x2, int y2) {
    model::LineRecord l;
    l.kind = 'L';
    l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
    return l;
}

// An arc on the circle of the square (cx ± r, cy ± r) from the point at angle a1 to the one at a2 (degrees,
// counter-clockwise as seen on the screen), the way the wall tool stores it.
model::LineRecord arcWall(int cx, int cy, int r, double a1, double a2) {
    model::LineRecord l;
    l.kind = 'A';
    const double k = 3.14159265358979323846 / 180.0;
    l.x1 = static_cast<int>(std::lround(cx + r * std::cos(a1 * k)));
    l.y1 = static_cast<int>(std::lround(cy - r * std::sin(a1 * k)));
    l.x2 = static_cast<int>(std::lround(cx + r * std::cos(a2 * k)));
    l.y2 = static_cast<int>(std::lround(cy - r * std::sin(a2 * k)));
    l.x3 = cx - r, l.y3 = cy - r, l.x4 = cx + r, l.y4 = cy + r;
    return l;
}

// The angle the export must give a plan point, computed independently with atan2 (y upwards).
double expectedAngle(int x, int y, int cx, int cy) {
    double a = std::atan2(double(cy - y), double(x - cx)) * 180.0 / 3.14159265358979323846;
    if (a < 0) a += 360.0;
    return a;
}

std::string f2(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.2f", v);
    return b;
}

// A contour line as the contour builder stores it.
void addLine(std::vector<calc::ContourPoint>& seq, const std::vector<calc::ContourPoint>& pts) {
    seq.push_back(calc::kLineStart);
    seq.insert(seq.end(), pts.begin(), pts.end());
    seq.push_back(calc::kLineEnd);
}

std::vector<calc::ContourPoint> row(float x0, float step, int count, float y) {
    std::vector<calc::ContourPoint> pts;
    for (int i = 0; i < count; ++i) pts.push_back({x0 + step * static_cast<float>(i), y});
    return pts;
}

// Vertices of a probed POLYLINE row as (x, y) texts.
std::vector<std::pair<std::string, std::string>> verticesOf(const std::vector<std::string>& polyRow) {
    std::vector<std::pair<std::string, std::string>> v;
    const std::string& s = polyRow.at(4);
    std::size_t start = 0;
    while (start < s.size()) {
        std::size_t semi = s.find(';', start);
        if (semi == std::string::npos) semi = s.size();
        const std::string pt = s.substr(start, semi - start);
        const std::size_t comma = pt.find(',');
        v.emplace_back(pt.substr(0, comma), pt.substr(comma + 1));
        start = semi + 1;
    }
    return v;
}

class DxfExport : public ::testing::Test {
protected:
    DxfExport() {
        doc.plan.mmPerPixel = 10.0f;
        doc.surfaceWidth = 800;
        doc.surfaceHeight = 500;
        for (int i = 1; i <= 6; ++i) doc.tables.luxLevel[static_cast<std::size_t>(i)] = 100 * i;
        stats.averageLux = 321;
        stats.maxLux = 987;
        contours.levels = {100, 200, 300, 400, 500, 600};
        contours.points.resize(6);
    }

    io::DxfExportInput input() {
        return io::DxfExportInput{doc, contours, stats, [this] { ++rebuilds; }};
    }

    Probe write(io::DxfOutType type, const std::string& name = "out.dxf") {
        const auto path = dir / name;
        EXPECT_TRUE(io::WriteDxf(path.string(), type, texts, input(), io::dxfTemplatesIn(iotest::templateDir().string()), services))
            << (services.messages.empty() ? "" : services.messages[0].text);
        Probe p = iotest::probeDxf(path);
        EXPECT_EQ(p.status, 0) << p.raw;
        EXPECT_EQ(p.auditErrors(), 0) << p.raw;
        return p;
    }

    void addPlanWithEverything() {
        doc.plan.lines.add(wall(10, 20, 110, 20));
        doc.plan.lines.add(arcWall(200, 200, 50, 300, 30));  // passes 0°
        doc.plan.lines.add(arcWall(400, 300, 40, 45, 135));
        doc.plan.hasira.add(model::HasiraRecord{model::kCylindricalPillar, 300, 300, 20, 0});
        doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 400, 100, 15, 0});
        model::KiguRecord k;
        k.x = 500, k.y = 250, k.typeIndex = 1;
        doc.plan.kigu.add(k);
        addLine(contours.points[0], row(100, 5, 10, 60));
        addLine(contours.points[1], row(100, 5, 10, 80));
    }

    iotest::ScratchDir dir;
    model::Document doc;
    calc::ContourSet contours;
    calc::ResultStats stats;
    io::DxfNoteTexts texts;
    ui::testing::FakeServices services;
    int rebuilds = 0;
};

TEST_F(DxfExport, WallLineAndArcsCarryTheWorkedCoordinatesInEveryOutputType) {
    addPlanWithEverything();
    for (auto type : {io::DxfOutType::ColorOut, io::DxfOutType::BlackOut, io::DxfOutType::ColorTextOut}) {
        SCOPED_TRACE(static_cast<int>(type));
        const Probe p = write(type);
        // Exactly: the wall line, three arc pieces, one polyline per contour line, eight texts; the
        // black drawing adds two pillars and the two circles of the fixture.
        const std::size_t entities = p.rows.size() - p.of("AUDIT").size() - p.of("ENCODING").size() - p.of("LAYER").size();
        EXPECT_EQ(entities, type == io::DxfOutType::BlackOut ? 18u : 14u) << p.raw;
        const auto lines = p.on("LINE", "E_KABE");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0][2], "7");
        EXPECT_EQ(std::vector<std::string>(lines[0].begin() + 3, lines[0].end()),
                  (std::vector<std::string>{"100.00", "4800.00", "1100.00", "4800.00"}));

        const auto arcs = p.on("ARC", "E_KABE");
        ASSERT_EQ(arcs.size(), 3u);
        const auto& a = doc.plan.lines[2];
        const std::string a1 = f2(expectedAngle(a.x1, a.y1, 200, 200)), a2 = f2(expectedAngle(a.x2, a.y2, 200, 200));
        // Centre (200, 500 - 200) × 10, radius 50 × 10; split at 0°.
        EXPECT_EQ(std::vector<std::string>(arcs[0].begin() + 3, arcs[0].end()),
                  (std::vector<std::string>{"2000.00", "3000.00", "500.00", a1, "360.00"}));
        EXPECT_EQ(std::vector<std::string>(arcs[1].begin() + 3, arcs[1].end()),
                  (std::vector<std::string>{"2000.00", "3000.00", "500.00", "0.00", a2}));
        const auto& b = doc.plan.lines[3];
        EXPECT_EQ(std::vector<std::string>(arcs[2].begin() + 3, arcs[2].end()),
                  (std::vector<std::string>{"4000.00", "2000.00", "400.00", f2(expectedAngle(b.x1, b.y1, 400, 300)),
                                            f2(expectedAngle(b.x2, b.y2, 400, 300))}));
    }
}

TEST_F(DxfExport, PillarsAndFixturesOnlyInTheBlackDrawing) {
    addPlanWithEverything();
    for (auto type : {io::DxfOutType::ColorOut, io::DxfOutType::ColorTextOut}) {
        const Probe p = write(type);
        EXPECT_TRUE(p.on("CIRCLE", "E_HASIRA").empty());
        EXPECT_TRUE(p.on("POLYLINE", "E_HASIRA").empty());
        EXPECT_TRUE(p.on("CIRCLE", "E_KIGUC").empty());
    }
    const Probe p = write(io::DxfOutType::BlackOut);
    const auto round = p.on("CIRCLE", "E_HASIRA");
    ASSERT_EQ(round.size(), 1u);
    EXPECT_EQ(std::vector<std::string>(round[0].begin() + 2, round[0].end()),
              (std::vector<std::string>{"7", "3000.00", "2000.00", "200.00"}));

    // Square pillar at (400, 100), half size 15 → centre (4000, 4000), f = 150, closed.
    const auto square = p.on("POLYLINE", "E_HASIRA");
    ASSERT_EQ(square.size(), 1u);
    EXPECT_EQ(square[0][3], "closed");
    EXPECT_EQ(verticesOf(square[0]), (std::vector<std::pair<std::string, std::string>>{
                                         {"3850.00", "3850.00"}, {"3850.00", "4150.00"}, {"4150.00", "4150.00"}, {"4150.00", "3850.00"}}));

    const auto marks = p.on("CIRCLE", "E_KIGUC");
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(marks[0].begin() + 3, marks[0].end()), (std::vector<std::string>{"5000.00", "2500.00", "50.00"}));
    EXPECT_EQ(std::vector<std::string>(marks[1].begin() + 3, marks[1].end()), (std::vector<std::string>{"5000.00", "2500.00", "4.00"}));

    // Every contour of the black drawing is black too.
    for (const auto& poly : p.of("POLYLINE")) EXPECT_EQ(poly[2], "7") << poly[1];
}

TEST_F(DxfExport, ContourLevelsGoToTheirLayersInTheirColours) {
    for (int k = 0; k < 6; ++k) addLine(contours.points[static_cast<std::size_t>(k)], row(100, 5, 4, 50.0f + 20 * k));
    const Probe p = write(io::DxfOutType::ColorOut);
    const int colours[6] = {5, 200, 3, 40, 231, 1};
    for (int k = 0; k < 6; ++k) {
        const std::string layer = "LX" + std::to_string(k + 1);
        const auto polys = p.on("POLYLINE", layer);
        ASSERT_EQ(polys.size(), 1u) << layer;
        EXPECT_EQ(polys[0][2], std::to_string(colours[k]));
        EXPECT_EQ(polys[0][3], "open");
        // y = trunc(5000 − y × 10); every vertex of a 5-pixel step is accepted, and the last point of
        // a line is written once more when the next line (here: of the next level) starts.
        const auto v = verticesOf(polys[0]);
        ASSERT_EQ(v.size(), k < 5 ? 5u : 4u);
        EXPECT_EQ(v[0], (std::pair<std::string, std::string>{"1000.00", f2(5000 - (50 + 20 * k) * 10)}));
        EXPECT_EQ(v[3].first, "1150.00");
        EXPECT_EQ(v.back(), v[3]);
        // The closing vertex, written when the next level starts, stays on its own polyline's layer.
        EXPECT_EQ(polys[0][5], "same");
    }
    // The template declares every layer the file uses, with the level colours.
    for (int k = 0; k < 6; ++k) {
        bool found = false;
        for (const auto& l : p.of("LAYER"))
            if (l[1] == "LX" + std::to_string(k + 1)) found = l[2] == std::to_string(colours[k]);
        EXPECT_TRUE(found) << k;
    }
    EXPECT_EQ(rebuilds, 0);
}

TEST_F(DxfExport, LongLinesAreSplitEveryEightyAcceptedVerticesWithARunningCountAcrossLinesAndLevels) {
    // Level 1: 101 points 5 px apart: the start vertex and 100 accepted ones.
    addLine(contours.points[0], row(10, 5, 101, 40));
    // Level 2: two lines of 51 points: 50 accepted each; the count runs on from level 1's 20.
    addLine(contours.points[1], row(10, 5, 51, 100));
    addLine(contours.points[1], row(10, 5, 51, 200));
    const Probe p = write(io::DxfOutType::ColorTextOut);

    const auto lx1 = p.on("POLYLINE", "LX1");
    ASSERT_EQ(lx1.size(), 2u);
    const auto first = verticesOf(lx1[0]), second = verticesOf(lx1[1]);
    ASSERT_EQ(first.size(), 81u);
    EXPECT_EQ(first.front().first, "100.00");
    EXPECT_EQ(first.back().first, f2((10 + 5 * 80) * 10));
    // The continuation starts on the last vertex of the piece before.
    EXPECT_EQ(second.front(), first.back());
    EXPECT_EQ(second.size(), 1u + 20u + 1u);
    EXPECT_EQ(second.back().first, f2((10 + 5 * 100) * 10));
    EXPECT_EQ(second[20], second[21]);

    const auto labels = p.on("TEXT", "MEMORI");
    // Two labels from the contours (after 80 and 160 accepted vertices), then the two illuminance and six note texts.
    ASSERT_EQ(labels.size(), 2u + 8u);
    // The label sits on the 41st accepted vertex of its run, in the level's colour for ColorTextOut.
    EXPECT_EQ(std::vector<std::string>(labels[0].begin() + 2, labels[0].end()),
              (std::vector<std::string>{"5", f2((10 + 5 * 41) * 10), f2(5000 - 400), "80.00", "100"}));
    // The second run is 20 of level 1, 50 of the first line and 10 of the second line of level 2; its
    // middle (the 41st) is the 21st vertex of the first line of level 2, and the label is written when
    // the run completes, so it carries level 2's value.
    EXPECT_EQ(std::vector<std::string>(labels[1].begin() + 2, labels[1].end()),
              (std::vector<std::string>{"200", f2((10 + 5 * 21) * 10), f2(5000 - 1000), "80.00", "200"}));
    const auto lx2 = p.on("POLYLINE", "LX2");
    ASSERT_EQ(lx2.size(), 3u);
    // The first line of level 2 ends on its own last point, written once more when the next line starts.
    const auto a = verticesOf(lx2[0]);
    EXPECT_EQ(a.size(), 1u + 50u + 1u);
    EXPECT_EQ(a[a.size() - 1], a[a.size() - 2]);
}

TEST_F(DxfExport, CloseVerticesAreThinnedAndOnlyTheNextLineWritesThePendingPoint) {
    // 1-pixel steps: 10 mm apart is within √3 pixels, 2 pixels is not.
    addLine(contours.points[0], row(10, 1, 22, 40));   // x 10..31
    addLine(contours.points[0], row(10, 1, 22, 60));   // the last line: its pending x 31 is dropped
    // A level below its own position ends the walk: level 3 (position 2) is 1, so levels 3.. are skipped.
    contours.levels = {100, 200, 1, 400, 500, 600};
    doc.tables.luxLevel = {0, 100, 200, 1, 400, 500, 600};
    addLine(contours.points[2], row(10, 5, 10, 80));
    const Probe p = write(io::DxfOutType::ColorOut);
    const auto lx1 = p.on("POLYLINE", "LX1");
    ASSERT_EQ(lx1.size(), 2u);
    std::vector<std::string> xs1, xs2;
    for (const auto& v : verticesOf(lx1[0])) xs1.push_back(v.first);
    for (const auto& v : verticesOf(lx1[1])) xs2.push_back(v.first);
    std::vector<std::string> expected1{"100.00"}, expected2{"100.00"};
    for (int x = 12; x <= 30; x += 2) expected1.push_back(f2(x * 10)), expected2.push_back(f2(x * 10));
    expected1.push_back("310.00");
    EXPECT_EQ(xs1, expected1);
    EXPECT_EQ(xs2, expected2);
    EXPECT_TRUE(p.on("POLYLINE", "LX3").empty());
}

TEST_F(DxfExport, ContoursAreRebuiltOnlyWhenTheirLevelsAreNotTheCurrentOnes) {
    write(io::DxfOutType::ColorOut, "a.dxf");
    EXPECT_EQ(rebuilds, 0);
    doc.tables.luxLevel[3] = 350;
    write(io::DxfOutType::ColorOut, "b.dxf");
    EXPECT_EQ(rebuilds, 1);
    contours.clear();
    doc.tables.luxLevel[3] = 300;
    write(io::DxfOutType::ColorOut, "c.dxf");
    EXPECT_EQ(rebuilds, 2);
}

TEST_F(DxfExport, NoteTextsAndIlluminanceTextsInShiftJisAtTheirPositions) {
    texts.hosokuLines[2] = "";  // an emptied edit writes an empty text
    // A one-point line at the end still gives a polyline CAD programs accept.
    addLine(contours.points[5], {{50, 50}});
    const Probe p = write(io::DxfOutType::BlackOut);
    ASSERT_EQ(p.on("POLYLINE", "LX6").size(), 1u);
    EXPECT_EQ(p.of("ENCODING")[0][1], "cp932");
    const auto t = p.on("TEXT", "MEMORI");
    ASSERT_EQ(t.size(), 8u);
    // s = 10, Ht = 5000, Hb = 5200; text height 80.
    const std::vector<std::vector<std::string>> expected{
        {"50.00", "5050.00", texts.midasi},
        {"500.00", "4900.00", "平均照度：321 Lx"},
        {"500.00", "4750.00", "最高照度：987 Lx"},
        {"1500.00", "5050.00", texts.hosokuLines[0]},
        {"1500.00", "4900.00", texts.hosokuLines[1]},
        {"1500.00", "4750.00", texts.hosokuLines[2]},
        {"1500.00", "4650.00", texts.hosokuLines[3]},
        {"1500.00", "4500.00", texts.hosokuLines[4]},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(t[i][2], "7");
        EXPECT_EQ(t[i][5], "80.00");
        EXPECT_EQ((std::vector<std::string>{t[i][3], t[i][4], t[i][6]}), expected[i]) << i;
    }
}

TEST_F(DxfExport, WithoutNotesOnlyTheTwoIlluminanceTextsAndAnEmptyPlanStillGivesAValidFile) {
    texts.hosoku = false;
    const Probe p = write(io::DxfOutType::ColorOut);
    const auto t = p.of("TEXT");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0][6], "平均照度：321 Lx");
    EXPECT_EQ(t[1][6], "最高照度：987 Lx");
    EXPECT_EQ(p.rows.size(), p.of("AUDIT").size() + p.of("ENCODING").size() + p.of("LAYER").size() + 2u);

    const std::string bytes = iotest::readBytes(dir / "out.dxf");
    // Every line ends in CR LF, the extents sit between the templates, the file ends with EOF.
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << i;
        }
    EXPECT_NE(bytes.find(" 9\r\n$EXTMAX\r\n 10\r\n8000.00\r\n 20\r\n5000.00\r\n 30\r\n0.0\r\n"), std::string::npos);
    const std::string end = "\r\n 0\r\nENDSEC\r\n 0\r\nEOF\r\n";
    EXPECT_EQ(bytes.substr(bytes.size() - end.size()), end);
}

TEST_F(DxfExport, AFailedWriteLeavesNoPartialFileAndKeepsTheOldOne) {
    const auto path = dir / "keep.dxf";
    iotest::writeBytes(path, "old drawing");
    // A missing template: message, the old file untouched, no temporary left.
    EXPECT_FALSE(io::WriteDxf(path.string(), io::DxfOutType::ColorOut, texts, input(),
                              io::dxfTemplatesIn((dir / "nowhere").string()), services));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].title, "エラー");
    EXPECT_EQ(services.messages[0].icon, ui::Icon::Stop);
    EXPECT_NE(services.messages[0].text.find("bunpudf"), std::string::npos);
    EXPECT_EQ(iotest::readBytes(path), "old drawing");

    // An output that cannot be created: message, nothing written anywhere.
    const auto bad = dir / "no_such_dir" / "x.dxf";
    EXPECT_FALSE(io::WriteDxf(bad.string(), io::DxfOutType::ColorOut, texts, input(),
                              io::dxfTemplatesIn(iotest::templateDir().string()), services));
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_NE(services.messages[1].text.find("ファイルが作成出来ません。"), std::string::npos);

    // A plan without a scale would come out mirrored: refused the same way.
    doc.plan.mmPerPixel = -1.0f;
    EXPECT_FALSE(io::WriteDxf((dir / "noscale.dxf").string(), io::DxfOutType::ColorOut, texts, input(),
                              io::dxfTemplatesIn(iotest::templateDir().string()), services));
    ASSERT_EQ(services.messages.size(), 3u);

    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        if (e.is_regular_file()) ++files;
    }
    EXPECT_EQ(files, 1u);
}

} // namespace
