// The outputs of ordivan-cli calc, written by the real binary and read back by independent readers.
#include "app/Cli.h"
#include "catalog/Catalog.h"
#include "io/DxfWriter.h"
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

std::string slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// Runs a program and returns what it wrote on its standard output.
std::string capture(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

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
    for (const char* option : {"--png", "--bmp", "--csv", "--dxf", "--pdf", "--grid", "--json"}) {
        const auto r = runCli({"calc", sample("room_sample.OLE"), option, missing + option + ".out"});
        EXPECT_EQ(r.status, 1) << option;
        EXPECT_FALSE(r.err.empty()) << option << ": the system's message";
        EXPECT_FALSE(fs::exists(missing + option + ".out"));
    }
    EXPECT_EQ(runCli({"calc", sample("room_sample.OLE"), "--dxf", scratch("x.dxf").string(), "--dxf-type", "blue"}).status, 2);
    EXPECT_EQ(runCli({"calc", sample("room_sample.OLE"), "--png", "a.png", "--bmp", "b.bmp"}).status, 2);
    EXPECT_EQ(runCli({"calc", sample("room_sample.OLE"), "--csv", "-"}).status, 2);
}

} // namespace
