// Tests of the illuminance CSV: sampled rows and columns, the field format, the bytes on disk and failures.
#include "view/IlluminanceCsv.h"

#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

#include <clocale>
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
    s.litMinCol = minCol, s.litMaxCol = maxCol, s.litMinRow = minRow, s.litMaxRow = maxRow;
    return s;
}

class CsvFile : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("ordivan_csv_" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

} // namespace

TEST(IlluminanceCsv, SamplesEveryTenthRowFromTheBottomAndEveryTenthColumn) {
    auto g = grid(200, 100);
    // Value = col + row / 1000, so every field names the point it came from.
    for (int row = 0; row < g.gridHeight; ++row)
        for (int col = 0; col < g.gridWidth; ++col) g.lux[g.index(col, row)] = static_cast<float>(col) + row / 1000.0f;
    EXPECT_EQ(view::illuminanceCsvText(g, extent(100, 125, 50, 80)),
              "100.08,110.08,120.08,0.0\r\n100.07,110.07,120.07,0.0\r\n100.06,110.06,120.06,0.0\r\n")
        << "rows 79, 69, 59; row 49 is not above 50";
    EXPECT_EQ(view::illuminanceCsvText(g, extent(10000, 0, 10000, 0)), "") << "nothing lit: no line";
}

TEST(IlluminanceCsv, UntouchedValuesAreZeroAndTheDecimalPointSurvivesTheLocale) {
    auto g = grid(30, 30);
    g.lux[g.index(0, 19)] = 0.014f;  // prints as 0.01, like the reset value
    g.lux[g.index(10, 19)] = 0.004f; // prints as 0.00 and stays so
    g.lux[g.index(20, 19)] = 0.01f;
    g.lux[g.index(30, 19)] = 12345.678f;
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // a comma locale where one is installed
    const std::string text = view::illuminanceCsvText(g, extent(0, 30, 10, 20));
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "0.0,0.00,0.0,12345.68,0.0\r\n");
}

TEST(IlluminanceCsv, ExtentBeyondTheGridReadsZeroInsteadOfStrayMemory) {
    auto g = grid(10, 10);
    EXPECT_EQ(view::illuminanceCsvText(g, extent(5, 25, 8, 30)),
              "0.00,0.00,0.00,0.0\r\n0.00,0.00,0.00,0.0\r\n0.0,0.00,0.00,0.0\r\n");
}

TEST_F(CsvFile, CommandAsksForTheFileAndWritesTheBytes) {
    auto g = grid(30, 30);
    g.lux[g.index(0, 19)] = 7.25f;
    const auto stats = extent(0, 0, 10, 20);
    FakeServices services;
    services.fileAnswers = {std::nullopt, std::string()};
    EXPECT_FALSE(view::saveIlluminanceCsvCommand(g, stats, services)) << "cancelled";
    EXPECT_FALSE(view::saveIlluminanceCsvCommand(g, stats, services)) << "an empty name writes nothing";
    EXPECT_EQ(services.saveRequests[0].filter, "ORDIVANﾌｧｲﾙ(*.csv)|*.csv");
    services.fileAnswers.push_back((dir / "out.csv").string());
    EXPECT_TRUE(view::saveIlluminanceCsvCommand(g, stats, services));
    EXPECT_EQ(read(dir / "out.csv"), "7.25,0.0\r\n");
    ASSERT_TRUE(view::writeIlluminanceCsv(g, extent(10000, 0, 10000, 0), (dir / "empty.csv").string(), services));
    EXPECT_EQ(fs::file_size(dir / "empty.csv"), 0u) << "an empty lit extent still creates the file";
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(CsvFile, WriteFailureShowsTheSystemMessageAndKeepsWhatWasThere) {
    auto g = grid(30, 30);
    FakeServices services;
    EXPECT_FALSE(view::writeIlluminanceCsv(g, extent(0, 0, 10, 20), (dir / "no" / "dir.csv").string(), services));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, ui::aboutFile("ファイルに書き込みできません", (dir / "no" / "dir.csv").string()));
    EXPECT_EQ(services.messages[0].title, "エラー");
    EXPECT_EQ(services.messages[0].icon, ui::Icon::Stop);
    // A directory where the file should go: the replacement fails and nothing is destroyed.
    fs::create_directories(dir / "blocked.csv" / "keep");
    EXPECT_FALSE(view::writeIlluminanceCsv(g, extent(0, 0, 10, 20), (dir / "blocked.csv").string(), services));
    EXPECT_TRUE(fs::exists(dir / "blocked.csv" / "keep"));
    EXPECT_EQ(services.messages.size(), 2u);
}
