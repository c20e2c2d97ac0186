// The DXF background reader on files ezdxf writes and on hand-made edge cases: geometry, extents, fit, zoom, drawing, snapping, hostile input.
#include "io/DxfReader.h"

#include "IoTestSupport.h"
#include "ui/qt/QtSurface.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A DXF text from (code, value) pairs, with CR LF as CAD programs write it.
std::string dxf(const std::vector<std::pair<int, std::string>>& groups) {
    std::string s;
    for (const auto& [c, v] : groups) s += std::to_string(c) + "\r\n" + v + "\r\n";
    return s;
}

std::string entities(const std::vector<std::pair<int, std::string>>& body) {
    std::vector<std::pair<int, std::string>> g{{0, "SECTION"}, {2, "ENTITIES"}};
    g.insert(g.end(), body.begin(), body.end());
    g.push_back({0, "ENDSEC"});
    g.push_back({0, "EOF"});
    return dxf(g);
}

std::vector<std::pair<int, std::string>> line(double x1, double y1, double x2, double y2, const std::string& layer = "0") {
    return {{0, "LINE"}, {8, layer}, {10, std::to_string(x1)}, {20, std::to_string(y1)}, {11, std::to_string(x2)}, {21, std::to_string(y2)}};
}

template <class... T>
std::vector<std::pair<int, std::string>> join(const T&... parts) {
    std::vector<std::pair<int, std::string>> all;
    (all.insert(all.end(), parts.begin(), parts.end()), ...);
    return all;
}

class DxfReaderFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(DxfReaderFiles, ReadsWhatEzdxfWrites) {
    iotest::ScratchDir dir;
    const auto file = dir / "plan.dxf";
    ASSERT_TRUE(iotest::makeDxfWithEzdxf(file, GetParam()));
    io::TfrmDXF reader;
    ui::testing::FakeServices services;
    ASSERT_TRUE(reader.LoadDxf(file.string(), services));
    const io::DxfDrawing& d = reader.drawing();

    ASSERT_EQ(d.lines.size(), 2u);
    EXPECT_FLOAT_EQ(d.lines[0].x1, 1000);
    EXPECT_FLOAT_EQ(d.lines[0].y1, 2000);
    EXPECT_FLOAT_EQ(d.lines[0].x2, 5000);
    EXPECT_FLOAT_EQ(d.lines[1].y2, 6000);

    ASSERT_EQ(d.arcs.size(), 1u);
    EXPECT_FLOAT_EQ(d.arcs[0].left, 2500);
    EXPECT_FLOAT_EQ(d.arcs[0].top, 4500);
    EXPECT_FLOAT_EQ(d.arcs[0].startAngle, 0);
    EXPECT_FLOAT_EQ(d.arcs[0].endAngle, 90);
    EXPECT_NEAR(d.arcs[0].startDirX, 3000 + 2500, 0.01);
    EXPECT_NEAR(d.arcs[0].endDirY, 4000 + 2500, 0.5);

    ASSERT_EQ(d.circles.size(), 1u);
    EXPECT_FLOAT_EQ(d.circles[0].left, 1750);
    EXPECT_FLOAT_EQ(d.circles[0].top, 3250);

    // Marker, four vertices and the closing one; marker and three vertices of the open polyline.
    ASSERT_EQ(d.vertices.size(), 1u + 4u + 1u + 1u + 3u);
    EXPECT_TRUE(d.vertices[0].isMarker());
    EXPECT_FLOAT_EQ(d.vertices[1].x, 1500);
    EXPECT_FLOAT_EQ(d.vertices[3].y, 3500);
    EXPECT_FLOAT_EQ(d.vertices[5].x, d.vertices[1].x);
    EXPECT_FLOAT_EQ(d.vertices[5].y, d.vertices[1].y);
    EXPECT_TRUE(d.vertices[6].isMarker());
    EXPECT_FLOAT_EQ(d.vertices[9].x, 4800);
    EXPECT_FLOAT_EQ(d.vertices[9].y, 4900);

    // Coordinates from 1000 up: the minimum stays at its starting 100.
    EXPECT_EQ(d.extents, (io::DxfExtents{100, 100, 5000, 6000}));
    EXPECT_EQ(reader.fullExtents(), d.extents);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_GT(d.countedEntities, 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, DxfReaderFiles, ::testing::Values("R12", "R2000"));

TEST(DxfReader, HeaderExtentsAndArcEndPointsWidenTheDrawing) {
    const std::string text = dxf({{0, "SECTION"}, {2, "HEADER"}, {9, "$LINEMIN"}, {10, "0"}, {20, "0"}, {9, "$LINEMAX"},
                                  {10, "10000"}, {20, "8000"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"},
                                  {0, "LINE"}, {10, "10"}, {20, "10"}, {11, "20"}, {21, "20"}, {0, "ENDSEC"}});
    const auto r = io::parseDxf(text);
    ASSERT_EQ(r.error, io::DxfLoadError::None);
    EXPECT_EQ(r.drawing.extents, (io::DxfExtents{0, 0, 10000, 8000}));

    // A quarter arc of radius 1000 around (5000, 5000): only its end points (6000, 5000) and (5000, 6000) count.
    const auto a = io::parseDxf(entities({{0, "ARC"}, {10, "5000"}, {20, "5000"}, {40, "1000"}, {50, "0"}, {51, "90"}}));
    ASSERT_EQ(a.drawing.arcs.size(), 1u);
    EXPECT_NEAR(a.drawing.extents.maxX, 6000, 0.01);
    EXPECT_NEAR(a.drawing.extents.maxY, 6000, 0.5);
    EXPECT_FLOAT_EQ(a.drawing.extents.minX, 100);
}

TEST(DxfReader, ValuesNamingAnEntityStartItWhateverTheirCodeAndMissingEndsReadOn) {
    // A text on a layer called LINE starts a line at that point: the text's own points become its points.
    auto r = io::parseDxf(entities({{0, "TEXT"}, {8, "LINE"}, {10, "500"}, {20, "600"}, {40, "50"}, {1, "A"}, {11, "700"}, {21, "800"}}));
    ASSERT_EQ(r.drawing.lines.size(), 1u);
    EXPECT_FLOAT_EQ(r.drawing.lines[0].x1, 500);
    EXPECT_FLOAT_EQ(r.drawing.lines[0].y2, 800);

    // A line without its 21 swallows the next entity up to the next 21.
    r = io::parseDxf(entities(join(std::vector<std::pair<int, std::string>>{{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "3"}},
                                   line(110, 120, 130, 140))));
    ASSERT_EQ(r.drawing.lines.size(), 1u);
    EXPECT_FLOAT_EQ(r.drawing.lines[0].x1, 110);
    EXPECT_FLOAT_EQ(r.drawing.lines[0].y2, 140);
}

TEST(DxfReader, TruncatedFilesStopAtTheEndKeepingWhatWasComplete) {
    // A polyline whose file ends after its second vertex: both vertices read so far are kept.
    std::string text = entities(line(200, 200, 300, 300));
    text = text.substr(0, text.rfind("0\r\nENDSEC"));
    text += dxf({{0, "POLYLINE"}, {70, "1"}, {0, "VERTEX"}, {10, "400"}, {20, "410"}, {0, "VERTEX"}, {10, "500"}, {20, "510"}, {0, "VERTEX"}});
    auto r = io::parseDxf(text);
    ASSERT_EQ(r.error, io::DxfLoadError::None);
    EXPECT_EQ(r.drawing.lines.size(), 1u);
    ASSERT_EQ(r.drawing.vertices.size(), 3u);  // marker and two vertices, no closing vertex for an unfinished one
    EXPECT_FLOAT_EQ(r.drawing.vertices[2].x, 500);

    // Cut in the middle of a group: the code line without its value ends the file.
    r = io::parseDxf(entities(line(200, 200, 300, 300)).substr(0, 60));
    EXPECT_EQ(r.error, io::DxfLoadError::None);
    EXPECT_TRUE(r.drawing.lines.empty());
}

TEST(DxfReader, MalformedFilesAreRefusedAndTheLoadedDrawingStays) {
    iotest::ScratchDir dir;
    io::TfrmDXF reader;
    ui::testing::FakeServices services;
    iotest::writeBytes(dir / "good.dxf", entities(line(200, 300, 400, 500)));
    ASSERT_TRUE(reader.LoadDxf((dir / "good.dxf").string(), services));
    model::Document doc;
    reader.FitDxfToView(doc, 1000, 800);
    const float scale = reader.scale();
    const io::DxfExtents before = reader.drawing().extents;

    const std::vector<std::string> bad{
        entities({{0, "LINE"}, {10, "abc"}, {20, "1"}, {11, "2"}, {21, "3"}}),          // a coordinate that is no number
        "  x\r\nSECTION\r\n" + entities(line(1, 2, 3, 4)),                                // a group code that is no number
        entities({{0, "CIRCLE"}, {10, "1e60"}, {20, "0"}, {40, "1"}}),                    // beyond single precision
        entities({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "3e38"}, {50, "0"}, {51, "nan"}}),
        entities({{0, "ARC"}, {10, "3e38"}, {20, "0"}, {40, "3e38"}, {50, "0"}, {51, "90"}}),  // direction point overflows
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(io::parseDxf(bad[i]).error, io::DxfLoadError::Malformed);
        iotest::writeBytes(dir / "bad.dxf", bad[i]);
        services.messages.clear();
        EXPECT_FALSE(reader.LoadDxf((dir / "bad.dxf").string(), services));
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].title, "読み込みエラー");
        EXPECT_EQ(reader.drawing().lines.size(), 1u);
        EXPECT_EQ(reader.drawing().extents, before);
        EXPECT_EQ(reader.scale(), scale);
    }

    services.messages.clear();
    EXPECT_FALSE(reader.LoadDxf((dir / "missing.dxf").string(), services));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, ui::aboutFile("ファイルがオープン出来ません。", (dir / "missing.dxf").string()));
    EXPECT_EQ(services.messages[0].title, "エラー");
    EXPECT_EQ(reader.drawing().lines.size(), 1u);
}

TEST(DxfReader, FitZoomAndResetMapTheDrawingOntoThePlan) {
    io::TfrmDXF reader;
    ui::testing::FakeServices services;
    iotest::ScratchDir dir;
    iotest::writeBytes(dir / "p.dxf", entities(join(line(100, 100, 8100, 100), line(8100, 100, 8100, 4100))));
    ASSERT_TRUE(reader.LoadDxf((dir / "p.dxf").string(), services));
    model::Document doc;
    doc.screenMmPerPixel = 25.4f / 96.0f;
    reader.FitDxfToView(doc, 1000, 500);
    // Width 8000 over 800 pixels, height 4000 over 400: both give 10 units a pixel.
    EXPECT_FLOAT_EQ(reader.scale(), 10.0f);
    EXPECT_FLOAT_EQ(doc.plan.mmPerPixel, 10.0f);
    EXPECT_EQ(doc.plan.scaleDenominator, static_cast<int>(10.0f / doc.screenMmPerPixel + 0.5));
    EXPECT_EQ(reader.offsetX(), 50);
    EXPECT_EQ(reader.baseY(), 450);
    // The drawing's lower left corner lands 10 % of the height in from the left and down from the top edge.
    EXPECT_EQ(reader.planXi(100), 50);
    EXPECT_EQ(reader.planYi(100), 450);
    EXPECT_EQ(reader.planXi(8100), 850);
    EXPECT_EQ(reader.planYi(4100), 50);

    reader.ZoomDxf(doc, 450, 250, 250, 150, 1000, 500);
    EXPECT_FLOAT_EQ(reader.drawing().extents.minX, 100 + 10 * 200);
    EXPECT_FLOAT_EQ(reader.drawing().extents.maxX, 100 + 10 * 400);
    EXPECT_FLOAT_EQ(reader.drawing().extents.minY, 100 + 10 * 200);
    EXPECT_FLOAT_EQ(reader.drawing().extents.maxY, 100 + 10 * 300);
    EXPECT_FLOAT_EQ(reader.scale(), 2000.0f / 800.0f);
    reader.ResetDxfView(doc, 1000, 500);
    EXPECT_EQ(reader.scale(), 10.0f);
    EXPECT_EQ(reader.drawing().extents, reader.fullExtents());
    EXPECT_EQ(doc.plan.mmPerPixel, 10.0f);
}

TEST(DxfReader, DegenerateDrawingsNeverGiveANegativeOrInfiniteScale) {
    model::Document doc;
    for (const std::string& text : {entities({}), entities(line(50, 50, 50, 50)), std::string()}) {
        io::TfrmDXF reader;
        ui::testing::FakeServices services;
        iotest::ScratchDir dir;
        iotest::writeBytes(dir / "e.dxf", text);
        ASSERT_TRUE(reader.LoadDxf((dir / "e.dxf").string(), services));
        reader.FitDxfToView(doc, 1000, 500);
        EXPECT_GT(reader.scale(), 0.0f);
        EXPECT_TRUE(std::isfinite(reader.scale()));
        EXPECT_GT(doc.plan.mmPerPixel, 0.0f);
    }
    // Huge but legal coordinates map to saturated plan pixels instead of overflowing.
    io::TfrmDXF reader;
    ui::testing::FakeServices services;
    iotest::ScratchDir dir;
    iotest::writeBytes(dir / "h.dxf", entities(join(line(-3e38, -3e38, 3e38, 3e38), line(0, 0, 1e-3, 1e-3),
                                                    std::vector<std::pair<int, std::string>>{
                                                        {0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1e37"},
                                                        {0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1e30"}, {50, "10"}, {51, "20"}})));
    ASSERT_TRUE(reader.LoadDxf((dir / "h.dxf").string(), services));
    reader.FitDxfToView(doc, 1000, 500);
    reader.SetDxfScale(1e-30f);
    ui::testing::RecordingSurface surface(1000, 500);
    reader.DrawDxf(surface);
    EXPECT_FALSE(surface.ops.empty());
    ui::qt::ImageSurface image(1000, 500);
    reader.DrawDxf(image);
    EXPECT_LT(reader.NearestDxfEndPoint(1e300, 0, 0), 1e300);
}

TEST(DxfReader, DrawsInLightBlueAndSnapsToEndPointsButNeverToCircles) {
    const std::string text = entities(join(line(100, 100, 1100, 100),
                                           std::vector<std::pair<int, std::string>>{
                                               {0, "CIRCLE"}, {10, "600"}, {20, "600"}, {40, "100"},
                                               {0, "ARC"}, {10, "600"}, {20, "100"}, {40, "200"}, {50, "0"}, {51, "90"},
                                               {0, "POLYLINE"}, {0, "VERTEX"}, {10, "100"}, {20, "900"}, {0, "VERTEX"},
                                               {10, "300"}, {20, "900"}, {0, "SEQEND"}}));
    io::TfrmDXF reader;
    ui::testing::FakeServices services;
    iotest::ScratchDir dir;
    iotest::writeBytes(dir / "s.dxf", text);
    ASSERT_TRUE(reader.LoadDxf((dir / "s.dxf").string(), services));
    model::Document doc;
    reader.FitDxfToView(doc, 1250, 1000);  // s = 1000 / 1000 = 1... the larger of 1000/1000 and 800/800
    ASSERT_FLOAT_EQ(reader.scale(), 1.0f);

    ui::testing::RecordingSurface surface(1250, 1000);
    reader.DrawDxf(surface);
    EXPECT_EQ(surface.pen().color, (ui::Color{136, 136, 255}));
    EXPECT_EQ(surface.opsStartingWith("ellipse").size(), 1u);
    EXPECT_EQ(surface.opsStartingWith("arc").size(), 1u);
    EXPECT_GE(surface.opsStartingWith("line").size(), 2u);

    // The circle's centre is right under the cursor; the nearest candidate is still a true end point.
    const int cx = reader.planXi(600), cy = reader.planYi(600);
    double best = reader.NearestDxfEndPoint(1e9, cx, cy);
    const ui::Point got = reader.snapResult();
    EXPECT_GT(best, 0.0);
    const bool isArcStart = got == ui::Point{reader.planXi(800), reader.planYi(100)};
    const bool isArcEnd = got == ui::Point{reader.planXi(600), reader.planYi(300)};
    EXPECT_TRUE(isArcStart || isArcEnd) << got.x << "," << got.y;

    // A polyline vertex exactly under the cursor; an equal distance found later does not replace it.
    best = reader.NearestDxfEndPoint(1e9, reader.planXi(100), reader.planYi(900));
    EXPECT_LT(best, 1.0);
    EXPECT_EQ(reader.snapResult(), (ui::Point{reader.planXi(100), reader.planYi(900)}));
    const double again = reader.NearestDxfEndPoint(best, reader.planXi(100), reader.planYi(900));
    EXPECT_EQ(again, best);

    // Nothing closer than the wall end point the caller already has: no change.
    reader.NearestDxfEndPoint(0.0, 0, 0);
    EXPECT_EQ(reader.snapResult(), (ui::Point{reader.planXi(100), reader.planYi(900)}));
}

} // namespace
