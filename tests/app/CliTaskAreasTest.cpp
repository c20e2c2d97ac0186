// Task areas through ordivan-cli calc: the figures recomputed from the written grid, the CSV table, the
// one-run areas, and the table page of the printed sheet.
#include "base/Cp932.h"
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using testsupport::runCli;

std::string sample(const char* name) { return (fs::path(testsupport::sourceDir()) / "data" / "samples" / name).string(); }
fs::path scratch(const std::string& name) { return fs::temp_directory_path() / ("ordivan_areas_" + name); }

using testsupport::capture;
using testsupport::slurp;

// The object of the "areas" array whose name is `name`, as text.
std::string areaObject(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("{\"name\":\"" + name + "\"");
    if (at == std::string::npos) return {};
    return json.substr(at, json.find('}', at) - at + 1);
}

double number(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\":(-?[0-9.]+)"))) return std::nan("");
    return std::stod(m[1].str());
}

struct Grid {
    std::int32_t width = 0, height = 0;
    std::vector<float> lux;
    float at(int col, int row) const { return lux[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(col)]; }
};

Grid readGrid(const fs::path& p) {
    const std::string bytes = slurp(p);
    Grid g;
    if (bytes.size() < 8) return g;
    std::memcpy(&g.width, bytes.data(), 4);
    std::memcpy(&g.height, bytes.data() + 4, 4);
    g.lux.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height));
    if (bytes.size() != 8 + 4 * g.lux.size()) return Grid{};
    std::memcpy(g.lux.data(), bytes.data() + 8, 4 * g.lux.size());
    return g;
}

// What an area's figures must be: the calculated lattice points inside it (corners included) that the
// calculation did not clear, and nothing else.
struct Expected {
    long long points = 0;
    double average = 0, minimum = std::numeric_limits<double>::max(), maximum = 0;
};
Expected recompute(const Grid& g, int x1, int y1, int x2, int y2, int step) {
    Expected e;
    double sum = 0;
    for (int row = 0; row < g.height; row += step) {
        for (int col = 0; col < g.width; col += step) {
            if (col < x1 || col > x2 || row < y1 || row > y2) continue;
            const double v = g.at(col, row);
            if (v == 0) continue;
            sum += v;
            e.minimum = std::min(e.minimum, v);
            e.maximum = std::max(e.maximum, v);
            ++e.points;
        }
    }
    e.average = e.points > 0 ? sum / static_cast<double>(e.points) : 0;
    return e;
}

struct SampleArea {
    const char* name;
    int x1, y1, x2, y2;  // plan pixels of the sample, 10 mm each
    bool passes;
};
const SampleArea kSampleAreas[] = {{"机A", 200, 180, 600, 450, true}, {"窓際デスク", 760, 560, 1250, 860, false}};

TEST(CliTaskAreas, JsonAndCsvGiveTheFiguresOfTheCalculatedPointsInsideEachArea) {
    const fs::path grid = scratch("grid.bin"), csv = scratch("areas.csv");
    for (const int step : {3, 1}) {
        fs::remove(csv);
        const auto r = runCli({"calc", sample("task_areas.OLE"), "--step", std::to_string(step), "--grid", grid.string(),
                               "--areas-csv", csv.string(), "--json", "-"});
        ASSERT_EQ(r.status, 0) << r.err;
        const Grid g = readGrid(grid);
        ASSERT_GT(g.width, 1300);
        std::istringstream table(base::cp932ToUtf8(slurp(csv)));
        std::string line;
        std::getline(table, line);
        EXPECT_EQ(line.rfind("name,x1_mm,y1_mm,x2_mm,y2_mm,points,average_lux,min_lux,max_lux,uniformity,min_to_max,", 0), 0u);

        for (const SampleArea& a : kSampleAreas) {
            SCOPED_TRACE(std::string(a.name) + " step " + std::to_string(step));
            const Expected e = recompute(g, a.x1, a.y1, a.x2, a.y2, step);
            // Every step-th row and column within the corners, none of them lost or added.
            const long long lattice = static_cast<long long>((a.x2 / step) - ((a.x1 + step - 1) / step) + 1) *
                                      ((a.y2 / step) - ((a.y1 + step - 1) / step) + 1);
            EXPECT_EQ(e.points, lattice);
            const std::string o = areaObject(r.out, a.name);
            ASSERT_FALSE(o.empty()) << r.out;
            EXPECT_EQ(number(o, "x1"), a.x1 * 10.0);
            EXPECT_EQ(number(o, "y2"), a.y2 * 10.0);
            EXPECT_EQ(number(o, "points"), static_cast<double>(e.points));
            EXPECT_NEAR(number(o, "averageLux"), e.average, 0.006);
            EXPECT_NEAR(number(o, "minLux"), e.minimum, 0.006);
            EXPECT_NEAR(number(o, "maxLux"), e.maximum, 0.006);
            EXPECT_NEAR(number(o, "uniformity"), e.minimum / e.average, 0.0006);
            EXPECT_NEAR(number(o, "minToMax"), e.minimum / e.maximum, 0.0006);
            const double requiredLux = number(o, "requiredLux"), requiredU0 = number(o, "requiredUniformity");
            const bool passes = e.average >= requiredLux && e.minimum / e.average >= requiredU0;
            EXPECT_EQ(passes, a.passes) << "the sample no longer has one passing and one failing area";
            EXPECT_NE(o.find(std::string("\"pass\":") + (passes ? "true" : "false")), std::string::npos) << o;

            ASSERT_TRUE(std::getline(table, line));
            std::vector<std::string> cells;
            std::istringstream fields(line);
            for (std::string c; std::getline(fields, c, ',');) cells.push_back(c);
            ASSERT_EQ(cells.size(), 14u) << line;
            EXPECT_EQ(cells[0], "\"" + std::string(a.name) + "\"");
            EXPECT_EQ(std::stoll(cells[5]), e.points);
            EXPECT_NEAR(std::stod(cells[6]), e.average, 0.006);
            EXPECT_NEAR(std::stod(cells[7]), e.minimum, 0.006);
            EXPECT_NEAR(std::stod(cells[9]), e.minimum / e.average, 0.0006);
            EXPECT_EQ(cells[13].substr(0, 4), passes ? "pass" : "fail");
        }
        // Over the lit extent: the lowest calculated point that is not a wall (cleared to 0) or inside one
        // of the sample's two pillars (round at (700, 700) r 25, square at (400, 800) half 20).
        double lowest = std::numeric_limits<double>::max(), sum = 0;
        long long n = 0;
        const int c0 = static_cast<int>(number(r.out, "litMinCol")), c1 = static_cast<int>(number(r.out, "litMaxCol"));
        const int r0 = static_cast<int>(number(r.out, "litMinRow")), r1 = static_cast<int>(number(r.out, "litMaxRow"));
        for (int row = (r0 + step - 1) / step * step; row <= r1; row += step) {
            for (int col = (c0 + step - 1) / step * step; col <= c1; col += step) {
                const bool pillar = (col - 700) * (col - 700) + (row - 700) * (row - 700) <= 25 * 25 ||
                                    (std::abs(col - 400) <= 20 && std::abs(row - 800) <= 20);
                const double v = g.at(col, row);
                if (pillar || v == 0) continue;
                lowest = std::min(lowest, v);
                sum += v;
                ++n;
            }
        }
        ASSERT_GT(n, 0);
        EXPECT_NEAR(number(r.out, "minLux"), lowest, 0.006);
        EXPECT_NEAR(number(r.out, "uniformity"), lowest / (sum / static_cast<double>(n)), 0.0006);
    }
}

TEST(CliTaskAreas, AreasGivenForOneRunLeaveTheFileAloneAndBadOnesAreUsageErrors) {
    const std::string before = slurp(sample("room_sample.OLE"));
    auto r = runCli({"calc", sample("room_sample.OLE"), "--area", "通路,1000,6000,2500,8000,50,0.3", "--area",
                     "逆向き,4000,3000,2000,2000", "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(sample("room_sample.OLE")), before);
    const std::string aisle = areaObject(r.out, "通路");
    EXPECT_EQ(number(aisle, "x2"), 2500.0);
    EXPECT_EQ(number(aisle, "requiredLux"), 50.0);
    EXPECT_EQ(number(aisle, "requiredUniformity"), 0.3);
    // Corners given in any order make the same rectangle.
    const std::string turned = areaObject(r.out, "逆向き");
    EXPECT_EQ(number(turned, "x1"), 2000.0);
    EXPECT_EQ(number(turned, "y2"), 3000.0);
    EXPECT_GT(number(turned, "points"), 0.0);

    for (const char* bad : {"A,1,2,3", ",1,2,3,4", "A,1,2,x,4", "A,1,2,3,4,-5", "A,1,2,3,4,100,1.5", "A,1,2,3,4,100,0.5,9",
                            "A,1,2,3,99999999999"}) {
        r = runCli({"calc", sample("room_sample.OLE"), "--area", bad, "--json", "-"});
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("--area"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CliTaskAreas, ThePrintedSheetCarriesTheAreaTableOnItsSecondPage) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    const fs::path pdf = scratch("sheet.pdf");
    fs::remove(pdf);
    const auto r = runCli({"calc", sample("task_areas.OLE"), "--pdf", pdf.string(), "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string quoted = testsupport::shellQuote(pdf.string());
    std::smatch pages;
    const std::string info = capture("pdfinfo " + quoted);
    ASSERT_TRUE(std::regex_search(info, pages, std::regex("Pages: +([0-9]+)"))) << info;
    EXPECT_EQ(pages[1].str(), "2");
    EXPECT_EQ(capture("pdftotext -f 1 -l 1 " + quoted + " -").find("机A"), std::string::npos);
    const std::string page2 = capture("pdftotext -layout -f 2 -l 2 " + quoted + " -");
    for (const char* heading : {"作業領域", "平均照度", "最小照度", "最大照度", "均斉度", "合否", "計算間隔 3"})
        EXPECT_NE(page2.find(heading), std::string::npos) << heading << "\n" << page2;
    for (const SampleArea& a : kSampleAreas) {
        // The area's row: its name, its truncated average and minimum and its mark.
        const std::size_t at = page2.find(a.name);
        ASSERT_NE(at, std::string::npos) << page2;
        const std::string row = page2.substr(at, page2.find('\n', at) - at);
        const std::string o = areaObject(r.out, a.name);
        std::istringstream words(row);
        std::vector<std::string> w;
        for (std::string x; words >> x;) w.push_back(x);
        ASSERT_GE(w.size(), 9u) << row;
        EXPECT_EQ(w[1], std::to_string(static_cast<long long>(number(o, "averageLux"))));
        EXPECT_EQ(w[2], std::to_string(static_cast<long long>(number(o, "minLux"))));
        EXPECT_NE(row.find(a.passes ? "合格" : "不合格"), std::string::npos) << row;
        if (a.passes) {
            EXPECT_EQ(row.find("不合格"), std::string::npos) << row;
        }
    }
}

} // namespace
