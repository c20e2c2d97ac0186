// Tests of the start-up defaults and of ordivan-cli validate / save on the bundled samples.
#include "app/EditorSeams.h"
#include "app/Startup.h"
#include "base/Cp932.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using testsupport::runCli;

std::string readBytes(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string sample(const std::string& name) { return testsupport::sourceDir() + "/data/samples/" + name; }

TEST(Startup, TheMainWindowStartsWithNoScaleAndTheDefaultTables) {
    model::Document doc;
    model::WindowShown shown;
    app::initialiseDocument(doc, shown, app::ScreenInfo{1920, 1080, 96}, 1915, 900);
    EXPECT_EQ(shown.scaleLabel, "縮尺未設定");
    EXPECT_LT(doc.plan.mmPerPixel, 0);
    EXPECT_EQ(doc.plan.scaleDenominator, -1);
    EXPECT_EQ(doc.tenDaka, 3000);
    EXPECT_EQ(doc.tenDakaLabel, "3000");
    EXPECT_EQ(doc.selectedType, -1);
    EXPECT_EQ(doc.lampNameMode, 'A');
    EXPECT_TRUE(doc.dataChanged);
    EXPECT_FALSE(doc.resultValid);
    EXPECT_FALSE(shown.menus.save1);
    EXPECT_TRUE(shown.menus.curve);
    EXPECT_EQ(shown.windowTitle, "ORDIVAN Ver 2.0  - [*]無題  (ZOLT LIGHTING CORP.)");
    EXPECT_FLOAT_EQ(doc.screenMmPerPixel, 25.39f / 96.0f);
    EXPECT_EQ(doc.tables.luxLevel[1], 10);
    EXPECT_EQ(doc.tables.luxLevel[6], 400);
    EXPECT_EQ(doc.tables.levelLadder[25], 10000000);
    EXPECT_EQ(doc.tables.classColour[0], (ui::Color{52, 96, 226}));
    EXPECT_EQ(doc.tables.symbolColour[6], (ui::Color{40, 130, 100}));
    EXPECT_EQ(doc.tables.greys[5], (ui::Color{238, 238, 238}));
    EXPECT_EQ(doc.plan.lines.capacity(), 101);
    EXPECT_EQ(doc.plan.kigu.capacity(), 501);
}

// A fitted or zoomed DXF background gives the plan its scale and the window's label states it; a click
// is no zoom and leaves the label the scale dialog wrote.
TEST(DxfBackground, TheScaleLabelFollowsEveryFitButNotAClick) {
    io::TfrmDXF reader;
    ui::testing::FakeServices services;
    model::Document doc;
    model::WindowShown shown;
    ui::testing::RecordingSurface surface(1000, 500);
    app::ReaderDxfBackground dxf(reader, doc, shown, services, surface);
    ASSERT_TRUE(dxf.load(testsupport::sourceDir() + "/tests/data/corpus_dxf_reader/lines_lf.dxf"));
    dxf.fitToView();
    ASSERT_GT(doc.plan.scaleDenominator, 0);
    EXPECT_EQ(shown.scaleLabel, "縮尺：1/" + std::to_string(doc.plan.scaleDenominator));
    shown.scaleLabel = "縮尺：1/50 (47)";
    dxf.zoom(100, 100, 100, 100);
    EXPECT_EQ(shown.scaleLabel, "縮尺：1/50 (47)");
    const int before = doc.plan.scaleDenominator;
    dxf.zoom(100, 100, 300, 200);
    EXPECT_LT(doc.plan.scaleDenominator, before);
    EXPECT_EQ(shown.scaleLabel, "縮尺：1/" + std::to_string(doc.plan.scaleDenominator));
}

TEST(Startup, TheColourTemperatureColoursComeFromTheLightColourTable) {
    catalog::LightColorTable colours;
    for (int i = 0; i < catalog::LightColorTable::kEntries; ++i) colours.colorRef[static_cast<std::size_t>(i)] = 0x010203u * static_cast<unsigned>(i);
    model::DisplayTables tables;
    app::fillCtColour(tables, colours);
    EXPECT_TRUE(tables.ctColourFilled);
    EXPECT_EQ(tables.ctColour[20], (ui::Color{0, 0, 0}));
    EXPECT_EQ(tables.ctColour[30], ui::Color::fromColorRef(0x010203u * 10));
    EXPECT_EQ(tables.ctColour[79], ui::Color::fromColorRef(0x010203u * 59));
}

TEST(CliValidate, AcceptsTheSamplesAndRefusesACorruptedFileWithTheExactMessage) {
    for (const char* name : {"empty.OLE", "room_sample.OLE"}) {
        auto r = runCli({"validate", sample(name)});
        EXPECT_EQ(r.status, 0) << name << r.err;
    }
    const auto bad = (fs::temp_directory_path() / "ordivan_cli_bad.OLE").string();
    std::ofstream(bad, std::ios::binary) << "3000\r\nabc\r\n-1\r\n\r\n";
    auto r = runCli({"validate", bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ordivan-cli: " + bad + ": ORDIVANﾌｧｲﾙではないか、破壊されています。\n");
    fs::remove(bad);
    EXPECT_EQ(runCli({"validate"}).status, 2);
    EXPECT_EQ(runCli({"no-such-command"}).status, 2);
}

TEST(CliSave, EverySampleIsWrittenBackByteForByte) {
    // The samples are in the form the writer produces: opening and saving one changes nothing.
    int samples = 0;
    for (const auto& entry : fs::directory_iterator(testsupport::sourceDir() + "/data/samples")) {
        if (entry.path().extension() != ".OLE") continue;
        ++samples;
        const auto out = (fs::temp_directory_path() / ("ordivan_cli_saved_" + entry.path().filename().string())).string();
        auto r = runCli({"save", entry.path().string(), out});
        ASSERT_EQ(r.status, 0) << entry.path() << r.err;
        EXPECT_TRUE(readBytes(out) == readBytes(entry.path().string())) << entry.path().filename();
        fs::remove(out);
    }
    EXPECT_GE(samples, 3);
    EXPECT_NE(readBytes(sample("room_sample.OLE")).find(base::utf8ToCp932("サンプル事務所")), std::string::npos);
}

TEST(CliSave, ARefusedProjectWritesNothing) {
    const auto out = (fs::temp_directory_path() / "ordivan_cli_never.OLE").string();
    fs::remove(out);
    auto r = runCli({"save", "/nonexistent/x.OLE", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ordivan-cli: /nonexistent/x.OLE: ファイルが読み込めません\n");
    EXPECT_FALSE(fs::exists(out));
}

} // namespace

namespace {

TEST(CliImportPhotometry, RegistersTheFileIntoTheSlotKeepingThePlacedFixtures) {
    const auto dir = fs::temp_directory_path() / "ordivan_cli_photometry";
    fs::create_directories(dir);
    const auto ies = (dir / "spot.ies").string();
    std::ofstream(ies, std::ios::binary) << "IESNA:LM-63-2002\r\n[LUMCAT] SPOT-9\r\nTILT=NONE\r\n"
                                            "1 1000 1 3 1 1 2 0 0 0\r\n1 1 10\r\n0 45 90\r\n0\r\n500 250 0\r\n";
    const auto out = (dir / "out.OLE").string();
    auto r = runCli({"import-photometry", ies, sample("room_sample.OLE"), "--slot", "1", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string saved = base::cp932ToUtf8(readBytes(out));
    EXPECT_NE(saved.find("\r\n1\r\nSPOT-9\r\n"), std::string::npos);
    EXPECT_NE(saved.find("1.00,12,0,0"), std::string::npos);  // the twelve downlights stay placed
    EXPECT_NE(saved.find("\r\n500.0000,494.4445,488.8889,"), std::string::npos);
    EXPECT_EQ(runCli({"validate", out}).status, 0);

    std::ofstream(ies, std::ios::binary) << "IESNA:LM-63-2002\r\nTILT=NONE\r\n1 1000\r\n";
    r = runCli({"import-photometry", ies, sample("room_sample.OLE"), "--slot", "1", "--out", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("ordivan-cli: " + ies + ": 配光データファイルとして読み込めません", 0), 0u) << r.err;
    r = runCli({"import-photometry", ies, sample("room_sample.OLE"), "--slot", "37", "--out", out});
    EXPECT_EQ(r.status, 2);
    fs::remove_all(dir);
}

} // namespace
