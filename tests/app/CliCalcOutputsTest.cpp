// The outputs of ordivan-cli calc, written by the real binary and read back by independent readers.
#include "app/Cli.h"
#include "app/Startup.h"
#include "catalog/Catalog.h"
#include "io/DxfWriter.h"
#include "model/ProjectFile.h"
#include "support/RunCli.h"
#include "ui/testing/FakeServices.h"
#include "view/Legends.h"

#include "support/QtApp.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using testsupport::runCli;

// Text rendering needs the platform's font database.
const bool kQtReady = (testsupport::qtApp(), true);

std::string sample(const char* name) { return (fs::path(testsupport::sourceDir()) / "data" / "samples" / name).string(); }

fs::path scratch(const std::string& name) { return fs::temp_directory_path() / ("ordivan_cli_out_" + name); }

using testsupport::capture;
using testsupport::slurp;

long long jsonNumber(const std::string& json, const std::string& key) {
    std::smatch m;
    const std::regex item("\"" + key + "\":(-?[0-9]+)");
    if (!std::regex_search(json, m, item)) return -1;
    return std::stoll(m[1].str());
}

// The plan and the start-up tables as the program reads them (the oracle for where walls and colours are).
struct LoadedPlan {
    ui::testing::FakeServices services;
    std::ostringstream out, err;
    app::CliRun run{{}, services, out, err, app::ScreenInfo{}, {}, {}};
    explicit LoadedPlan(const std::string& path) { EXPECT_TRUE(run.loadProject(path)); }
};

ui::Color colourAt(const QImage& img, int x, int y) {
    const QRgb v = img.pixel(x, y);
    return ui::Color{static_cast<std::uint8_t>(qRed(v)), static_cast<std::uint8_t>(qGreen(v)), static_cast<std::uint8_t>(qBlue(v))};
}

TEST(CliCalcOutputs, ThePlanPictureShowsWallsClassesTextsAndTheLegendAsPngAndBmp) {
    const fs::path png = scratch("plan.png"), bmp = scratch("plan.bmp");
    fs::remove(png);
    const auto r = runCli({"calc", sample("room_sample.OLE"), "--png", png.string(), "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(runCli({"calc", sample("room_sample.OLE"), "--bmp", bmp.string()}).status, 0);
    const QImage picture(QString::fromStdString(png.string()), "PNG");
    ASSERT_FALSE(picture.isNull());
    LoadedPlan plan(sample("room_sample.OLE"));
    const model::Document& doc = plan.run.doc;
    // The default screen's 1915 × 900, grown to take in the whole plan.
    ASSERT_EQ(picture.size(), QSize(doc.surfaceWidth, doc.surfaceHeight));
    EXPECT_GE(picture.width(), 1915);
    EXPECT_GE(picture.height(), 900);
    EXPECT_EQ(QImage(QString::fromStdString(bmp.string()), "BMP").convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32))
        << "the two formats carry the same picture";

    // Every straight wall is black at its middle.
    int walls = 0;
    doc.plan.lines.forEach([&](const model::LineRecord& l) {
        if (l.isArc()) return;
        EXPECT_EQ(colourAt(picture, (l.x1 + l.x2) / 2, (l.y1 + l.y2) / 2), ui::colors::black) << l.x1 << "," << l.y1;
        ++walls;
    });
    EXPECT_GT(walls, 0);

    // The lit room shows several of the six class colours, each over a real area.
    std::map<std::size_t, int> classPixels;
    for (int y = 0; y < picture.height(); y += 3) {
        for (int x = 0; x < picture.width(); x += 3) {
            const ui::Color c = colourAt(picture, x, y);
            for (std::size_t k = 0; k < 6; ++k) classPixels[k] += c == doc.tables.classColour[k];
        }
    }
    int classesShown = 0;
    for (const auto& [k, n] : classPixels) classesShown += n > 20;
    EXPECT_GE(classesShown, 4);

    // The legend stands where it floats on the default screen: its first swatch has the lowest class colour.
    const view::MainWindowGeometry main = view::headlessGeometry(1920, 1080);
    view::LegendWindow legend;
    legend.position = view::legendPlacement(main);
    const ui::Point at = view::legendStampPosition(legend, main);
    EXPECT_EQ(colourAt(picture, at.x + 27, at.y + 17), doc.tables.classColour[0]);
    int legendText = 0;  // "N Lx～" beside the swatches
    for (int y = at.y; y < at.y + 130; ++y)
        for (int x = at.x + 60; x < at.x + 150; ++x) legendText += colourAt(picture, x, y) == ui::colors::black;
    EXPECT_GT(legendText, 50);

    // The average and maximum texts at the top left.
    int dark = 0;
    for (int y = 8; y < 40; ++y)
        for (int x = 13; x < 160; ++x) dark += colourAt(picture, x, y) == ui::colors::black;
    EXPECT_GT(dark, 60);
}

TEST(CliCalcOutputs, TheCsvSamplesTheGridEveryTenthPointOverTheLitExtent) {
    const fs::path csv = scratch("lux.csv"), grid = scratch("lux.grid");
    const auto r = runCli({"calc", sample("room_sample.OLE"), "--csv", csv.string(), "--grid", grid.string(), "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = slurp(grid);
    ASSERT_GT(bytes.size(), 8u);
    std::int32_t w = 0, h = 0;
    std::memcpy(&w, bytes.data(), 4);
    std::memcpy(&h, bytes.data() + 4, 4);
    ASSERT_EQ(bytes.size(), 8u + 4u * static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    auto lux = [&](long long col, long long row) {
        float v;
        std::memcpy(&v, bytes.data() + 8 + 4 * (row * w + col), 4);
        return v;
    };
    const long long minCol = jsonNumber(r.out, "litMinCol"), maxCol = jsonNumber(r.out, "litMaxCol");
    const long long minRow = jsonNumber(r.out, "litMinRow"), maxRow = jsonNumber(r.out, "litMaxRow");
    ASSERT_LT(minCol, maxCol);
    ASSERT_LT(minRow, maxRow);
    // From the row above the lit bottom upwards in tens, columns left to right in tens, "%.2f," each,
    // the untouched start value 0.01 as "0.0,", every line closed by "0.0" and CR LF.
    std::string expected;
    int lines = 0;
    for (long long row = maxRow - 1; row > minRow; row -= 10, ++lines) {
        for (long long col = minCol; col <= maxCol; col += 10) {
            char field[64];
            std::snprintf(field, sizeof field, "%.2f,", static_cast<double>(lux(col, row)));
            expected += std::string(field) == "0.01," ? "0.0," : field;
        }
        expected += "0.0\r\n";
    }
    EXPECT_GT(lines, 3);
    EXPECT_EQ(slurp(csv), expected);
}

TEST(CliCalcOutputs, TheColourTemperatureMapPaintsTheCatalogueLightColoursAndNeedsThem) {
    const fs::path png = scratch("ct.png");
    const std::string data = (fs::path(testsupport::sourceDir()) / "data" / "zolt_data").string();
    ASSERT_EQ(runCli({"calc", sample("room_sample.OLE"), "--kind", "C", "--data", data, "--png", png.string()}).status, 0);
    ui::testing::FakeServices services;
    catalog::LightColorTable colours;
    ASSERT_TRUE(catalog::Catalog::loadColours(data + "/T_RGB.LEC", colours, services));
    std::set<std::uint32_t> light;
    for (int k = 0; k < catalog::LightColorTable::kEntries; ++k) {
        const ui::Color c = ui::Color::fromColorRef(colours.colorRef[static_cast<std::size_t>(k)]);
        light.insert(static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 | c.b);
    }
    const QImage picture(QString::fromStdString(png.string()), "PNG");
    ASSERT_FALSE(picture.isNull());
    LoadedPlan plan(sample("room_sample.OLE"));
    const model::Extent e = model::computeExtent(plan.run.doc.plan, 1920, 1080);
    // Inside the room every point away from walls, pillars and texts has one of the catalogue's colours.
    int inRoom = 0, lightColoured = 0;
    for (int y = e.Ys + 8; y < e.Ye - 8; y += 11) {
        for (int x = e.Xs + 8; x < e.Xe - 8; x += 11) {
            const ui::Color c = colourAt(picture, x, y);
            if (c == ui::colors::black || c == ui::colors::white) continue;
            ++inRoom;
            lightColoured += light.count(static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 | c.b) > 0;
        }
    }
    EXPECT_GT(inRoom, 500);
    EXPECT_EQ(lightColoured, inRoom);

    const auto r = runCli({"calc", sample("room_sample.OLE"), "--kind", "C", "--data", scratch("no-catalogue").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("T_RGB.LEC"), std::string::npos) << r.err;
    EXPECT_EQ(runCli({"calc", sample("room_sample.OLE"), "--data", scratch("no-catalogue").string()}).status, 0)
        << "the colour map needs no light colours";
}

// What ezdxf finds in a file, one entity or table entry a line.
std::vector<std::string> probeDxf(const fs::path& file) {
    const std::string probe = (fs::path(testsupport::sourceDir()) / "tests" / "io" / "dxf_probe.py").string();
    const std::string out = capture("/usr/bin/python3 " + testsupport::shellQuote(probe) + " " + testsupport::shellQuote(file.string()) + " 2>&1");
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int countStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    int n = 0;
    for (const auto& l : lines) n += l.rfind(prefix, 0) == 0;
    return n;
}

TEST(CliCalcOutputs, TheDxfOfEachOutputTypeLoadsInAnIndependentReader) {
    LoadedPlan plan(sample("room_sample.OLE"));
    int straight = 0;
    plan.run.doc.plan.lines.forEach([&](const model::LineRecord& l) { straight += !l.isArc(); });
    std::map<std::string, std::vector<std::string>> found;
    for (const char* type : {"color", "black", "colortext"}) {
        const fs::path dxf = scratch(std::string(type) + ".dxf");
        fs::remove(dxf);
        const auto r = runCli({"calc", sample("room_sample.OLE"), "--dxf", dxf.string(), "--dxf-type", type, "--json", "-"});
        ASSERT_EQ(r.status, 0) << type << r.err;
        const auto lines = probeDxf(dxf);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], "AUDIT|0") << type;
        EXPECT_EQ(countStarting(lines, "LINE|E_KABE|7|"), straight) << type;
        EXPECT_GT(countStarting(lines, "POLYLINE|LX"), 0) << type << ": contour lines";
        const std::string average = "平均照度：" + std::to_string(jsonNumber(r.out, "averageLux")) + " Lx";
        const std::string maximum = "最高照度：" + std::to_string(jsonNumber(r.out, "maxLux")) + " Lx";
        int texts = 0;
        for (const auto& l : lines) texts += l.rfind("TEXT|", 0) == 0 && (l.ends_with("|" + average) || l.ends_with("|" + maximum));
        EXPECT_EQ(texts, 2) << type;
        // The dialog's initial heading and notes, beside the plan.
        const io::DxfNoteTexts notes;
        std::set<std::string> wanted(notes.hosokuLines.begin(), notes.hosokuLines.end());
        wanted.insert(notes.midasi);
        for (const auto& l : lines) {
            for (auto it = wanted.begin(); it != wanted.end(); ++it) {
                if (l.rfind("TEXT|MEMORI|7|", 0) == 0 && l.ends_with("|" + *it)) {
                    wanted.erase(it);
                    break;
                }
            }
        }
        EXPECT_TRUE(wanted.empty()) << type << ": " << (wanted.empty() ? "" : *wanted.begin());
        found[type] = lines;
    }
    // Only the black output draws the fixtures and pillars.
    EXPECT_GT(countStarting(found["black"], "CIRCLE|E_KIGUC") + countStarting(found["black"], "POLYLINE|E_KIGUC"), 0);
    EXPECT_EQ(countStarting(found["color"], "CIRCLE|E_KIGUC") + countStarting(found["color"], "POLYLINE|E_KIGUC"), 0);
}

TEST(CliCalcOutputs, ThePrintedDistributionMapCarriesTitleNamesAndStatistics) {
    const fs::path pdf = scratch("map.pdf");
    fs::remove(pdf);
    auto r = runCli({"calc", sample("room_sample.OLE"), "--pdf", pdf.string(), "--object-name", "第二会議室", "--date",
                     "2026/12/08", "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string text = capture("pdftotext -layout " + testsupport::shellQuote(pdf.string()) + " -");
    EXPECT_NE(text.find("照度分布図"), std::string::npos) << text;
    EXPECT_NE(text.find("第二会議室"), std::string::npos);
    EXPECT_NE(text.find("2026/12/08"), std::string::npos);
    EXPECT_NE(text.find("最大照度 : " + std::to_string(jsonNumber(r.out, "maxLux")) + "Lx"), std::string::npos) << text;
    EXPECT_NE(text.find("平均照度 : " + std::to_string(jsonNumber(r.out, "averageLux")) + "Lx"), std::string::npos);
    const std::string info = capture("pdfinfo " + testsupport::shellQuote(pdf.string()));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info, m, std::regex("Pages: +([0-9]+)")));
    EXPECT_EQ(m[1].str(), "1");
    ASSERT_TRUE(std::regex_search(info, m, std::regex("Page size: +([0-9.]+) x ([0-9.]+) pts")));
    EXPECT_GT(std::stod(m[1].str()), std::stod(m[2].str())) << "landscape";

    // The colour-temperature display prints its own title; the contour display draws its lines as
    // vectors labelled with the user's levels (those above the maximum of 307 lx have no line).
    r = runCli({"calc", sample("room_sample.OLE"), "--kind", "C", "--pdf", pdf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(capture("pdftotext " + testsupport::shellQuote(pdf.string()) + " -").find("色温度分布図"), std::string::npos);
    r = runCli({"calc", sample("room_sample.OLE"), "--kind", "T", "--levels", "50,100,200,300,500,700", "--pdf", pdf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    text = capture("pdftotext " + testsupport::shellQuote(pdf.string()) + " -");
    EXPECT_NE(text.find("照度分布図"), std::string::npos);
    std::set<std::string> labels;
    std::istringstream words(text);
    for (std::string w; words >> w;) labels.insert(w);
    for (const char* level : {"50", "100", "200"}) EXPECT_TRUE(labels.count(level)) << level;
    EXPECT_FALSE(labels.count("700"));
}

TEST(CliCalcOutputs, UnwritableOutputsAreRefusedAndWrongNamesAreUsageErrors) {
    const std::string missing = (scratch("no-such-dir") / "x").string();
    for (const char* option : {"--png", "--bmp", "--csv", "--dxf", "--pdf", "--grid", "--json", "--areas-csv"}) {
        const auto r = runCli({"calc", sample("room_sample.OLE"), option, missing + option + ".out"});
        EXPECT_EQ(r.status, 1) << option;
        EXPECT_FALSE(r.err.empty()) << option << ": the system's message";
        EXPECT_FALSE(fs::exists(missing + option + ".out"));
    }
    EXPECT_EQ(runCli({"calc", sample("room_sample.OLE"), "--dxf", scratch("x.dxf").string(), "--dxf-type", "blue"}).status, 2);
    EXPECT_EQ(runCli({"calc", sample("room_sample.OLE"), "--png", "a.png", "--bmp", "b.bmp"}).status, 2);
    const auto toStdout = runCli({"calc", sample("room_sample.OLE"), "--csv", "-"});
    EXPECT_EQ(toStdout.status, 0) << "- is the standard output for every output";
    EXPECT_FALSE(toStdout.out.empty());
}

// A project on the room sample's downlight: the type in slot 1 with its lamps at kelvin1 and a copy in slot
// 2 at kelvin2, closed rectangular rooms and fixtures (slot, x, y) at the reference height.
struct Room {
    int x0, y0, x1, y1;
};
struct Placed {
    int slot, x, y;
};
fs::path downlightProject(const std::string& name, int kelvin1, int kelvin2, const std::vector<Room>& rooms,
                          const std::vector<Placed>& fixtures) {
    LoadedPlan plan(sample("room_sample.OLE"));
    model::Document& doc = plan.run.doc;
    catalog::TourokuTable& touroku = plan.run.touroku;
    touroku[2] = touroku[1];
    touroku[1].colorTemp = kelvin1;
    touroku[2].colorTemp = kelvin2;
    touroku[19] = catalog::BunpuHinban{};
    doc.plan.clearItems();
    for (const Room& r : rooms) {
        const int corner[5][2] = {{r.x0, r.y0}, {r.x1, r.y0}, {r.x1, r.y1}, {r.x0, r.y1}, {r.x0, r.y0}};
        for (int i = 0; i < 4; ++i) {
            model::LineRecord l;
            l.x1 = corner[i][0];
            l.y1 = corner[i][1];
            l.x2 = corner[i + 1][0];
            l.y2 = corner[i + 1][1];
            doc.plan.lines.add(l);
        }
    }
    for (const Placed& f : fixtures) doc.plan.kigu.add(model::KiguRecord{f.x, f.y, 0, f.slot, 0, f.x, f.y, 0});
    const fs::path path = scratch(name);
    EXPECT_TRUE(model::writeProject(path.string(), doc, touroku, plan.services));
    return path;
}

TEST(CliCalcResults, ColourTemperatureClassesAreThoseOfTheLampsAlone) {
    // A closed room lit only by 3000 K, one lit only by 5000 K, and between them in the open a 3000 K
    // and a 5000 K downlight whose light meets in equal parts at (999, 399), a computed point at step 3.
    const Room warm{200, 200, 600, 600}, cool{1300, 200, 1700, 600};
    const fs::path project = downlightProject("ct_classes.OLE", 3000, 5000, {warm, cool},
                                              {{1, 400, 400}, {2, 1500, 400}, {1, 900, 399}, {2, 1098, 399}});
    const fs::path bmp = scratch("ct_classes.bmp");
    const std::string data = (fs::path(testsupport::sourceDir()) / "data" / "zolt_data").string();
    const auto r = runCli({"calc", project.string(), "--kind", "C", "--levels", "1,2,3,4,5,6", "--data", data, "--bmp", bmp.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage picture(QString::fromStdString(bmp.string()), "BMP");
    ASSERT_FALSE(picture.isNull());

    ui::testing::FakeServices services;
    catalog::LightColorTable colours;
    ASSERT_TRUE(catalog::Catalog::loadColours(data + "/T_RGB.LEC", colours, services));
    model::DisplayTables tables;
    app::fillCtColour(tables, colours);
    const auto& ct = tables.ctColour;
    ASSERT_NE(ct[29], ct[30]);  // a class too low would show
    ASSERT_NE(ct[39], ct[40]);

    EXPECT_EQ(colourAt(picture, 999, 399), ct[40]);
    // The whole inside of each room, away from its walls and from where the legend floats.
    const view::MainWindowGeometry main = view::headlessGeometry(1920, 1080);
    view::LegendWindow legend;
    legend.position = view::legendPlacement(main);
    const ui::Point at = view::legendStampPosition(legend, main);
    for (const auto& [room, expected] : {std::pair{warm, ct[30]}, std::pair{cool, ct[50]}}) {
        int points = 0, wrong = 0;
        for (int y = room.y0 + 3; y <= room.y1 - 3; y += 2) {
            for (int x = room.x0 + 3; x <= room.x1 - 3; x += 2) {
                if (x >= at.x - 5 && x < at.x + 180 && y >= at.y - 5 && y < at.y + 50) continue;
                ++points;
                wrong += colourAt(picture, x, y) != expected;
            }
        }
        EXPECT_GT(points, 30000);
        EXPECT_EQ(wrong, 0) << room.x0;
    }
}

// The vertices of each contour layer (LX1 ... LX6) of a DXF file, in file order: a line split into
// several polylines continues from the last vertex of the one before.
std::map<std::string, std::vector<std::pair<double, double>>> contourVertices(const fs::path& dxf) {
    std::map<std::string, std::vector<std::pair<double, double>>> layers;
    std::istringstream in(slurp(dxf));
    std::string code, value, entity, layer;
    double x = 0;
    auto trim = [](std::string s) {
        while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
        while (!s.empty() && s.front() == ' ') s.erase(s.begin());
        return s;
    };
    while (std::getline(in, code) && std::getline(in, value)) {
        code = trim(code);
        value = trim(value);
        if (code == "0") entity = value;
        else if (code == "8") layer = value;
        else if (entity == "VERTEX" && layer.rfind("LX", 0) == 0 && code == "10") x = std::stod(value);
        else if (entity == "VERTEX" && layer.rfind("LX", 0) == 0 && code == "20") layers[layer].emplace_back(x, std::stod(value));
    }
    return layers;
}

TEST(CliCalcResults, ContourLinesRunClockwiseRoundTheLightWithTheBrighterSideOnTheirRight) {
    const fs::path project = downlightProject("one_light.OLE", 3000, 3000, {}, {{1, 950, 450}});
    const fs::path dxf = scratch("one_light.dxf");
    const auto r = runCli({"calc", project.string(), "--kind", "T", "--levels", "5,10,15,20,25,30", "--dxf", dxf.string(), "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_GT(jsonNumber(r.out, "maxLux"), 30);
    const auto layers = contourVertices(dxf);
    ASSERT_EQ(layers.size(), 6u);
    double previous = 0;
    for (const auto& [layer, v] : layers) {
        ASSERT_GT(v.size(), 20u) << layer;
        // Shoelace area with the drawing's y upwards: negative when the line runs clockwise as seen.
        double twiceArea = 0, meanX = 0;
        for (std::size_t i = 0; i < v.size(); ++i) {
            const auto& [x0, y0] = v[i];
            const auto& [x1, y1] = v[(i + 1) % v.size()];
            twiceArea += x0 * y1 - x1 * y0;
            meanX += x0 / static_cast<double>(v.size());
        }
        EXPECT_LT(twiceArea, 0) << layer;
        EXPECT_NEAR(meanX, 9500.0, 100.0) << layer << ": a ring round the light at x = 950 px, 10 mm each";
        // Brighter levels enclose smaller rings (LX1 is the lowest level).
        if (previous != 0) {
            EXPECT_LT(std::abs(twiceArea), previous) << layer;
        }
        previous = std::abs(twiceArea);
    }
}

TEST(CliCalcResults, NoLightBeyondTheOuterWallsAtAnyStep) {
    // Both samples are closed by four outer walls; beyond them nothing may be lit, neither in the grid
    // nor in the lit extent that bounds the CSV.
    for (const char* name : {"room_sample.OLE", "bench_office.OLE"}) {
        LoadedPlan plan(sample(name));
        int x0 = 1 << 30, y0 = 1 << 30, x1 = 0, y1 = 0;
        plan.run.doc.plan.lines.forEach([&](const model::LineRecord& l) {
            if (l.isArc()) return;
            x0 = std::min({x0, l.x1, l.x2});
            y0 = std::min({y0, l.y1, l.y2});
            x1 = std::max({x1, l.x1, l.x2});
            y1 = std::max({y1, l.y1, l.y2});
        });
        for (const char* step : {"3", "7"}) {
            const fs::path grid = scratch(std::string(name) + step + ".grid");
            const auto r = runCli({"calc", sample(name), "--step", step, "--grid", grid.string(), "--json", "-"});
            ASSERT_EQ(r.status, 0) << r.err;
            const std::string bytes = slurp(grid);
            std::int32_t w = 0, h = 0;
            ASSERT_GT(bytes.size(), 8u);
            std::memcpy(&w, bytes.data(), 4);
            std::memcpy(&h, bytes.data() + 4, 4);
            ASSERT_EQ(bytes.size(), 8u + 4u * static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
            int litBeyond = 0;
            for (int row = 0; row < h; ++row) {
                for (int col = 0; col < w; ++col) {
                    if (col >= x0 && col <= x1 && row >= y0 && row <= y1) continue;
                    float v;
                    std::memcpy(&v, bytes.data() + 8 + 4 * (static_cast<std::size_t>(row) * w + col), 4);
                    litBeyond += v > 0.01f;
                }
            }
            EXPECT_EQ(litBeyond, 0) << name << " step " << step;
            EXPECT_GT(jsonNumber(r.out, "litMinCol"), x0) << name << " step " << step;
            EXPECT_LT(jsonNumber(r.out, "litMaxCol"), x1) << name << " step " << step;
            EXPECT_GT(jsonNumber(r.out, "litMinRow"), y0) << name << " step " << step;
            EXPECT_LT(jsonNumber(r.out, "litMaxRow"), y1) << name << " step " << step;
        }
    }
}

} // namespace
