// Tests of the illuminance CSV: sampled rows and columns, the field format, the bytes on disk and failures.
#include "view/IlluminanceCsv.h"

#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using ui::testing::FakeServices;

namespace {

calc::IlluminanceGrid grid(int w, int h) {
    calc::IlluminanceGrid g;
    g.allocate(w, h);
    g.reset();
    return g;
}

calc::ResultStats extent(int minCol, int maxCol, int minRow, int maxRow) {
    calc::ResultStats s;
    s.litMinCol = minCol;
    s.litMaxCol = maxCol;
    s.litMinRow = minRow;
    s.litMaxRow = maxRow;
    return s;
}

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("ordivan_csv_" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

} // namespace

TEST(IlluminanceCsv, SamplesEveryTenthRowFromTheBottomAndEveryTenthColumn) {
    auto g = grid(200, 100);
    // Value = col + row / 1000 so every field names the point it came from.
    for (int row = 0; row < g.gridHeight; ++row) {
        for (int col = 0; col < g.gridWidth; ++col) g.lux[g.index(col, row)] = static_cast<float>(col) + row / 1000.0f;
    }
    const std::string text = view::illuminanceCsvText(g, extent(100, 125, 50, 80));
    EXPECT_EQ(text,
              "100.08,110.08,120.08,0.0\r\n"
              "100.07,110.07,120.07,0.0\r\n"
              "100.06,110.06,120.06,0.0\r\n")
        << "rows 79, 69, 59; row 49 is not above 50";
}

TEST(IlluminanceCsv, UntouchedValuesAreWrittenAsZero) {
    auto g = grid(30, 30);
    g.lux[g.index(0, 19)] = 0.014f;   // prints as 0.01
    g.lux[g.index(10, 19)] = 0.004f;  // prints as 0.00 and stays so
    g.lux[g.index(20, 19)] = 0.01f;   // the reset value
    g.lux[g.index(30, 19)] = 12345.678f;
    EXPECT_EQ(view::illuminanceCsvText(g, extent(0, 30, 10, 20)), "0.0,0.00,0.0,12345.68,0.0\r\n");
}

TEST(IlluminanceCsv, EmptyExtentGivesAnEmptyFile) {
    auto g = grid(30, 30);
    EXPECT_EQ(view::illuminanceCsvText(g, extent(10000, 0, 10000, 0)), "");
    TempDir dir;
    FakeServices services;
    const auto file = dir.path / "empty.csv";
    ASSERT_TRUE(view::writeIlluminanceCsv(g, extent(10000, 0, 10000, 0), file.string(), services));
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), 0u);
}

TEST(IlluminanceCsv, DecimalPointStaysAPointInACommaLocale) {
    // The program runs with the user's locale; fields must still read "12.50,".
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    auto g = grid(20, 20);
    g.lux[g.index(0, 9)] = 12.5f;
    const std::string text = view::illuminanceCsvText(g, extent(0, 0, 5, 10));
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "12.50,0.0\r\n") << (german ? "under de_DE" : "locale not installed; C only");
}

TEST(IlluminanceCsv, ExtentBeyondTheGridReadsZeroInsteadOfStrayMemory) {
    auto g = grid(10, 10);
    EXPECT_EQ(view::illuminanceCsvText(g, extent(5, 25, 8, 30)),
              "0.00,0.00,0.00,0.0\r\n0.00,0.00,0.00,0.0\r\n0.0,0.00,0.00,0.0\r\n")
        << "rows 29 and 19 and columns 15 and 25 lie beyond the grid";
}

TEST(IlluminanceCsv, CommandAsksForTheFileAndWritesIt) {
    TempDir dir;
    auto g = grid(30, 30);
    g.lux[g.index(0, 19)] = 7.25f;
    const auto stats = extent(0, 0, 10, 20);
    FakeServices services;
    services.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(view::saveIlluminanceCsvCommand(g, stats, services));
    ASSERT_EQ(services.saveRequests.size(), 1u);
    EXPECT_EQ(services.saveRequests[0].filter, "ORDIVANﾌｧｲﾙ(*.csv)|*.csv");
    EXPECT_TRUE(services.saveRequests[0].defaultExtension.empty());

    services.fileAnswers.push_back(std::string());
    EXPECT_FALSE(view::saveIlluminanceCsvCommand(g, stats, services)) << "an empty name writes nothing";

    const auto file = dir.path / "out.csv";
    services.fileAnswers.push_back(file.string());
    EXPECT_TRUE(view::saveIlluminanceCsvCommand(g, stats, services));
    EXPECT_EQ(readAll(file), "7.25,0.0\r\n");
    EXPECT_TRUE(services.messages.empty());
}

TEST(IlluminanceCsv, WriteFailureShowsTheSystemMessageAndKeepsTheOldFile) {
    TempDir dir;
    auto g = grid(30, 30);
    FakeServices services;
    EXPECT_FALSE(view::writeIlluminanceCsv(g, extent(0, 0, 10, 20), (dir.path / "no" / "such" / "dir.csv").string(),
                                           services));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "ファイルに書き込みできません");
    EXPECT_EQ(services.messages[0].title, "エラー");
    EXPECT_EQ(services.messages[0].icon, ui::Icon::Stop);

    // A directory where the file should go: the rename fails, nothing is destroyed.
    const auto blocked = dir.path / "blocked.csv";
    fs::create_directories(blocked / "keep");
    EXPECT_FALSE(view::writeIlluminanceCsv(g, extent(0, 0, 10, 20), blocked.string(), services));
    EXPECT_TRUE(fs::exists(blocked / "keep"));
    EXPECT_EQ(services.messages.size(), 2u);
}
