// ordivan-cli calc run as a separate process: exit statuses, messages, and the grid file read back independently.
#include "support/TestPaths.h"
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out, err;
};

std::string slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

Result runCli(const std::string& args) {
    const std::string cli = testsupport::cliPath();
    const fs::path dir = fs::temp_directory_path();
    const fs::path out = dir / "ordivan_cli_calc_out.txt", err = dir / "ordivan_cli_calc_err.txt";
    const std::string cmd = "\"" + cli + "\" " + args + " >" + out.string() + " 2>" + err.string();
    const int raw = std::system(cmd.c_str());
    Result r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

std::string sample() {
    return (fs::path(testsupport::sourceDir()) / "data" / "samples" / "bench_office.OLE").string();
}

// The numbers of the summary by key; the level list under "levels".
std::map<std::string, std::vector<double>> parseSummary(const std::string& json) {
    std::map<std::string, std::vector<double>> out;
    const std::regex item("\"(\\w+)\":(\\[[^\\]]*\\]|-?[0-9.]+)");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), item); it != std::sregex_iterator(); ++it) {
        std::string v = (*it)[2].str();
        for (char& c : v) {
            if (c == '[' || c == ']' || c == ',') c = ' ';
        }
        std::istringstream in(v);
        double d;
        while (in >> d) out[(*it)[1].str()].push_back(d);
    }
    return out;
}

struct GridFile {
    std::int32_t width = 0, height = 0;
    std::vector<float> lux;
};

GridFile readGrid(const fs::path& p) {
    const std::string bytes = slurp(p);
    GridFile g;
    if (bytes.size() < 8) return g;
    auto le32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
    };
    g.width = static_cast<std::int32_t>(le32(0));
    g.height = static_cast<std::int32_t>(le32(4));
    EXPECT_EQ(bytes.size(), 8 + 4ull * static_cast<std::uint64_t>(g.width) * static_cast<std::uint64_t>(g.height));
    for (std::size_t at = 8; at + 4 <= bytes.size(); at += 4) {
        const std::uint32_t bits = le32(at);
        float v;
        std::memcpy(&v, &bits, sizeof v);
        g.lux.push_back(v);
    }
    return g;
}

TEST(CliCalc, SummaryAgreesWithTheGridFileReadBackIndependently) {
    const fs::path grid = fs::temp_directory_path() / "ordivan_cli_calc.grid";
    const Result r = runCli("calc \"" + sample() + "\" --step 3 --json - --grid " + grid.string());
    ASSERT_EQ(r.status, 0) << r.err;
    auto s = parseSummary(r.out);
    EXPECT_EQ(s["gridWidth"], std::vector<double>{1916});
    EXPECT_EQ(s["gridHeight"], std::vector<double>{901});
    EXPECT_EQ(s["calcStep"], std::vector<double>{3});
    EXPECT_EQ(s["fixtures"], std::vector<double>{200});
    EXPECT_EQ(s["walls"], std::vector<double>{60});
    EXPECT_EQ(s["pillars"], std::vector<double>{20});
    ASSERT_EQ(s["levels"].size(), 6u);
    ASSERT_EQ(s["seconds"].size(), 1u);

    const GridFile g = readGrid(grid);
    ASSERT_EQ(g.width, 1916);
    ASSERT_EQ(g.height, 901);
    // Average of the points above 0.2 lx and the box of the points above the lowest level, recomputed here.
    float sum = 0;
    long long count = 0;
    int minCol = 10000, maxCol = 0, minRow = 10000, maxRow = 0;
    float brightest = 0;
    for (int row = 0; row < g.height; ++row) {
        for (int col = 0; col < g.width; ++col) {
            const float v = g.lux[static_cast<std::size_t>(row) * g.width + col];
            if (v > 0.2) {
                sum += v * 0.01f;
                ++count;
            }
            if (row < g.height - 1 && static_cast<int>(v) > s["levels"][0]) {
                minCol = std::min(minCol, col), maxCol = std::max(maxCol, col);
                minRow = std::min(minRow, row), maxRow = std::max(maxRow, row);
            }
            if (row % 3 == 0 && col % 3 == 0) brightest = std::max(brightest, v);
        }
    }
    ASSERT_GT(count, 0);
    EXPECT_EQ(s["averageLux"][0], static_cast<int>(sum / static_cast<float>(count) * 100.0f));
    EXPECT_EQ(s["litMinCol"][0], minCol);
    EXPECT_EQ(s["litMaxCol"][0], maxCol);
    EXPECT_EQ(s["litMinRow"][0], minRow);
    EXPECT_EQ(s["litMaxRow"][0], maxRow);
    EXPECT_EQ(s["maxLux"][0], static_cast<int>(brightest));
    // The top level is the largest ladder value below the maximum.
    const std::vector<double> ladder = {400, 600, 800, 1000, 1200, 1500, 2000};
    double top = 200;
    for (double l : ladder) {
        if (l < s["maxLux"][0]) top = l;
    }
    EXPECT_EQ(s["levels"][5], top);
}

TEST(CliCalc, GridIsTheSameWithOneOrTwoThreads) {
    const fs::path a = fs::temp_directory_path() / "ordivan_cli_calc_1.grid", b = fs::temp_directory_path() / "ordivan_cli_calc_2.grid";
    ASSERT_EQ(runCli("calc \"" + sample() + "\" --step 2 --kind C --maintenance good --threads 1 --grid " + a.string()).status, 0);
    ASSERT_EQ(runCli("calc \"" + sample() + "\" --step 2 --kind C --maintenance good --threads 2 --grid " + b.string()).status, 0);
    const std::string x = slurp(a), y = slurp(b);
    EXPECT_GT(x.size(), 8u);
    EXPECT_TRUE(x == y);
}

TEST(CliCalc, RefusalsAndWrongUsageHaveTheirExitStatusAndMessage) {
    Result r = runCli("calc /nonexistent/plan.OLE --json -");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ファイルが読み込めません"), std::string::npos);
    r = runCli("calc \"" + sample() + "\" --height 50");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("計算天高は mm で入力して下さい"), std::string::npos);
    r = runCli("calc \"" + sample() + "\" --height -5");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("計算天高を正しく入力して下さい"), std::string::npos);
    r = runCli("calc \"" + sample() + "\" --levels 100,200,200,400,500,600");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("数値の順序が正しくありません"), std::string::npos);
    r = runCli("calc \"" + sample() + "\" --levels 0,10,20,30,40,50");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("１以上値を設定して下さい"), std::string::npos);
    for (const char* bad : {"--step 0", "--step x", "--kind Q", "--maintenance bad", "--screen 1920", "--bogus", "--json"}) {
        EXPECT_EQ(runCli("calc \"" + sample() + "\" " + bad).status, 2) << bad;
    }
    const fs::path empty = fs::temp_directory_path() / "ordivan_cli_calc_empty.OLE";
    std::ofstream(empty, std::ios::binary) << "3000\r\n-1.00\r\n-1\r\n\r\nTOUROKU\r\nEND\r\nLINE\r\nEND\r\nKIGU\r\nEND\r\nHASIRA\r\nEND\r\n";
    r = runCli("calc " + empty.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("器具が配置されていません。"), std::string::npos);
}

} // namespace
