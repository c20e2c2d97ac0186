// Inter-reflections through ordivan-cli calc: the room's options and their usage errors, and the summary's
// figures with and without reflections.
#include "support/RunCli.h"
#include "base/Cp932.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testsupport::runCli;

std::string sample(const char* name) { return (fs::path(testsupport::sourceDir()) / "data" / "samples" / name).string(); }
fs::path scratch(const std::string& name) { return fs::temp_directory_path() / ("ordivan_reflections_" + name); }

// The first number after "key": in `json`, NaN when there is none.
double number(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\":(-?[0-9.]+(e[-+][0-9]+)?)"))) return std::nan("");
    return std::stod(m[1].str());
}
// The text from "key": to the end of the object or array it opens.
std::string member(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return {};
    int depth = 0;
    for (std::size_t i = at; i < json.size(); ++i) {
        if (json[i] == '{' || json[i] == '[') ++depth;
        if ((json[i] == '}' || json[i] == ']') && --depth == 0) return json.substr(at, i + 1 - at);
    }
    return {};
}

TEST(CliReflections, RoomValuesOutOfRangeAreUsageErrorsAndWithoutReflectionsTheSummaryHasNoTrace) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--reflectances", "0.96,0.5,0.2"}, {"--reflectances", "0.7,-0.1,0.2"}, {"--reflectances", "0.7,0.5"},
        {"--reflectances", "0.7,0.5,0.2,0.1"}, {"--reflectances", "a,0.5,0.2"}, {"--reflectances", "nan,0.5,0.2"},
        {"--room-height", "-1"},            {"--room-height", "100001"},        {"--room-height", "2.5"},
        {"--work-plane", "x"},              {"--work-plane", "-800"},
        // Each value in range, together a work plane at the ceiling.
        {"--room-height", "2000", "--work-plane", "2000"},
    };
    for (const auto& options : wrong) {
        const testsupport::CliResult r = options.size() == 2
                                             ? runCli({"calc", sample("room_sample.OLE"), options[0], options[1], "--json", "-"})
                                             : runCli({"calc", sample("room_sample.OLE"), options[0], options[1], options[2],
                                                       options[3], "--json", "-"});
        EXPECT_EQ(r.status, 2) << options[0] << " " << options[1];
        EXPECT_NE(r.err.find("ordivan-cli: calc: "), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << "no summary from a wrong command line";
    }
    const testsupport::CliResult plain = runCli({"calc", sample("task_areas.OLE"), "--json", "-"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out.find("indirect"), std::string::npos);
    EXPECT_EQ(plain.out.find("directAverageLux"), std::string::npos);
}

TEST(CliReflections, TheSummaryCarriesTheRoomsFiguresAndTheNotesTheRoomWhileBlackSurfacesChangeNoValue) {
    const fs::path pdf = scratch("sheet.pdf"), plainGrid = scratch("plain.grid"), blackGrid = scratch("black.grid");
    const testsupport::CliResult plain =
        runCli({"calc", sample("task_areas.OLE"), "--json", "-", "--grid", plainGrid.string()});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const testsupport::CliResult lit =
        runCli({"calc", sample("task_areas.OLE"), "--indirect", "--json", "-", "--pdf", pdf.string()});
    ASSERT_EQ(lit.status, 0) << lit.err;

    const std::string indirect = member(lit.out, "indirect");
    ASSERT_FALSE(indirect.empty()) << lit.out;
    for (const char* kind : {"ceiling", "floor", "walls"})
        EXPECT_NE(member(indirect, "surfaces").find(std::string("\"kind\":\"") + kind + "\""), std::string::npos) << kind;
    EXPECT_EQ(number(member(indirect, "reflectances"), "ceiling"), 0.7);
    EXPECT_EQ(number(indirect, "workPlaneHeight"), 800);
    EXPECT_GT(number(indirect, "elements"), 0);
    // The direct part is the run without reflections; the light given back lifts the average above it.
    const std::string plane = member(indirect, "workPlane");
    EXPECT_NEAR(number(plane, "directAverageLux"), number(plain.out, "averageLux"), 1.0);
    EXPECT_GT(number(plane, "indirectAverageLux"), 0);
    EXPECT_GT(number(lit.out, "averageLux"), number(plain.out, "averageLux"));
    // Each task area splits its average the same way.
    const std::string areas = member(lit.out, "areas");
    ASSERT_NE(areas.find("directAverageLux"), std::string::npos);
    EXPECT_NEAR(number(areas, "directAverageLux") + number(areas, "indirectAverageLux"), number(areas, "averageLux"), 0.011);
    EXPECT_EQ(member(plain.out, "areas").find("directAverageLux"), std::string::npos);

    const std::string notes = testsupport::capture("pdftotext " + testsupport::shellQuote(pdf.string()) + " -");
    EXPECT_NE(notes.find("反射率：天井70%・壁50%・床20%、天井高"), std::string::npos) << notes;
    EXPECT_EQ(notes.find("考慮されておりません"), std::string::npos);

    // Surfaces that reflect nothing add nothing: the grid is the direct one to the bit.
    const testsupport::CliResult black =
        runCli({"calc", sample("task_areas.OLE"), "--reflectances", "0,0,0", "--grid", blackGrid.string()});
    ASSERT_EQ(black.status, 0) << black.err;
    EXPECT_EQ(testsupport::slurp(blackGrid), testsupport::slurp(plainGrid));

    // A ceiling below the luminaires is the engine's refusal, not a usage error.
    const testsupport::CliResult low = runCli({"calc", sample("task_areas.OLE"), "--room-height", "1000", "--json", "-"});
    EXPECT_EQ(low.status, 1);
    EXPECT_NE(low.err.find("1000 mm"), std::string::npos) << low.err;
    EXPECT_TRUE(low.out.empty());
    for (const fs::path& p : {pdf, plainGrid, blackGrid}) fs::remove(p);
}

// The DXF drawing's notes name the reflectances and heights of a result with reflections, in place of the
// lines saying that reflectances are not considered; without reflections they stay the described lines.
TEST(CliReflections, TheDxfNotesNameTheRoomTheReflectionsWereCalculatedIn) {
    // The drawing as text, the file removed.
    auto notes = [](const testsupport::CliResult& r, const fs::path& dxf) {
        EXPECT_EQ(r.status, 0) << r.err;
        std::ifstream in(dxf, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        fs::remove(dxf);
        return base::cp932ToUtf8(bytes);
    };
    const fs::path dxf = scratch("notes.dxf");
    const std::string direct = notes(runCli({"calc", sample("room_sample.OLE"), "--dxf", dxf.string()}), dxf);
    EXPECT_NE(direct.find("  空間内における、天井・壁・床等の各部反射率は、考慮されておりません。\r\n"), std::string::npos);
    EXPECT_EQ(direct.find("相互反射"), std::string::npos);

    const std::string room = notes(runCli({"calc", sample("room_sample.OLE"), "--dxf", dxf.string(), "--reflectances",
                                           "0.8,0.5,0.3", "--room-height", "5000", "--work-plane", "750"}),
                                   dxf);
    EXPECT_NE(room.find("\r\n■この照度分布図は、逐点法による直接照度に相互反射を加えています。\r\n"), std::string::npos);
    EXPECT_NE(room.find("\r\n  反射率：天井80%・壁50%・床30%、天井高5000mm・作業面高さ750mmで相互反射を計算しています。\r\n"),
              std::string::npos);
    EXPECT_EQ(room.find("考慮されておりません"), std::string::npos);
    EXPECT_EQ(room.find("逐点法により照度を算出しているため"), std::string::npos);
}

} // namespace
