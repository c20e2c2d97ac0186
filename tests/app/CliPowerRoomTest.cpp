// The room's floor figures, the installed power, the kinds of task, the coordinates table and the joined
// contours through ordivan-cli calc and its files, on the samples.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>

namespace {

namespace fs = std::filesystem;
using testsupport::runCli;
using testsupport::slurp;

std::string sample(const char* name) { return (fs::path(testsupport::sourceDir()) / "data" / "samples" / name).string(); }
fs::path scratch(const std::string& name) { return fs::temp_directory_path() / ("ordivan_power_" + name); }

void write(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// The JSON object that follows "key": up to its matching brace.
std::string object(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\":{");
    if (at == std::string::npos) return {};
    std::size_t i = json.find('{', at);
    int depth = 0;
    for (std::size_t j = i; j < json.size(); ++j) {
        if (json[j] == '{') ++depth;
        if (json[j] == '}' && --depth == 0) return json.substr(i, j - i + 1);
    }
    return {};
}

double number(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\":(-?[0-9.]+)"))) return std::nan("");
    return std::stod(m[1].str());
}

std::string without(std::string bytes, const std::string& line) {
    const std::size_t at = bytes.find(line);
    if (at != std::string::npos) bytes.erase(at, line.size());
    return bytes;
}

TEST(CliRoomFigures, TheFloorIsWhatTheWallsEncloseAndAnOpenSideShrinksIt) {
    // Closed: a 12 m × 8 m room less its walls and two pillars; the pocket the arc closes off behind the
    // top wall, which no luminaire lights, is no part of it.
    const auto closed = runCli({"calc", sample("room_sample.OLE"), "--step", "1", "--json", "-"});
    ASSERT_EQ(closed.status, 0) << closed.err;
    const std::string room = object(closed.out, "room");
    ASSERT_FALSE(room.empty()) << closed.out;
    EXPECT_GT(number(room, "floorArea"), 94.0);
    EXPECT_LT(number(room, "floorArea"), 96.0);
    const double avg = number(room, "averageLux"), lo = number(room, "minLux"), hi = number(room, "maxLux");
    EXPECT_LE(lo, avg);
    EXPECT_LE(avg, hi);
    EXPECT_LT(hi, number(closed.out, "maxLux") + 1);  // the summary's maximum is whole lux
    EXPECT_NEAR(number(room, "uniformity"), lo / avg, 0.0015);

    // Open: without its left wall only the part with walls on all four sides is floor: right of the inner
    // wall, about 6 m × 4 m, far from the closed room's 95 m².
    const fs::path open = scratch("open.OLE");
    write(open, without(slurp(sample("room_sample.OLE")), "L,100,900,100,100,0,0,0,0\r\n"));
    const auto opened = runCli({"calc", open.string(), "--json", "-"});
    ASSERT_EQ(opened.status, 0) << opened.err;
    EXPECT_GT(number(object(opened.out, "room"), "floorArea"), 22.5);
    EXPECT_LT(number(object(opened.out, "room"), "floorArea"), 30.0);

    // No walls: no floor to speak of.
    std::string bare = slurp(sample("room_sample.OLE"));
    const std::size_t from = bare.find("LINE\r\n") + 6;
    bare.erase(from, bare.find("END\r\n", from) - from);
    write(open, bare);
    const auto none = runCli({"calc", open.string(), "--json", "-"});
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_NE(none.out.find("\"room\":null"), std::string::npos);
    fs::remove(open);
}

TEST(CliRoomFigures, ReflectionsLightTheShadowsAndWallsAndCeilingAreCheckedOnlyThen) {
    const auto direct = runCli({"calc", sample("room_sample.OLE"), "--json", "-"});
    ASSERT_EQ(direct.status, 0) << direct.err;
    EXPECT_EQ(direct.out.find("surfaceChecks"), std::string::npos);

    const auto lit = runCli({"calc", sample("room_sample.OLE"), "--indirect", "--json", "-"});
    ASSERT_EQ(lit.status, 0) << lit.err;
    // Direct light leaves the floor just behind a pillar in full shadow; the reflected light reaches it.
    EXPECT_LT(number(object(direct.out, "room"), "minLux"), 0.02);
    EXPECT_GT(number(object(lit.out, "room"), "minLux"), 1.0);
    EXPECT_GT(number(object(lit.out, "room"), "averageLux"), number(object(direct.out, "room"), "averageLux"));
    for (const char* kind : {"walls", "ceiling"}) {
        const std::size_t at = lit.out.find("{\"kind\":\"" + std::string(kind) + "\",\"averageLux\"");
        ASSERT_NE(at, std::string::npos) << kind << lit.out;
        const std::string check = lit.out.substr(at, lit.out.find('}', at) - at + 1);
        const double avg = number(check, "averageLux"), u0 = number(check, "uniformity");
        // The least element's light is some share of the average, never more.
        EXPECT_GT(avg, 0) << kind;
        EXPECT_GE(u0, 0) << kind;
        EXPECT_LE(u0, 1) << kind;
        const bool pass = check.find("\"pass\":true") != std::string::npos;
        EXPECT_EQ(pass, avg >= number(check, "requiredLux") && u0 >= 0.10) << check;
    }
}

TEST(CliPower, RatedPowersTotalOverTheFloorAndEachTaskArea) {
    const fs::path project = scratch("areas.OLE");
    const std::string plain = slurp(sample("task_areas.OLE"));
    // Twelve downlights of slot 1 at 12.5 W, two linear luminaires of slot 19 at 40 W.
    write(project, plain + "POWER\r\n1,12.50\r\n19,40.00\r\nEND\r\n");
    const auto r = runCli({"calc", project.string(), "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string power = object(r.out, "power");
    ASSERT_FALSE(power.empty()) << r.out;
    EXPECT_NE(power.find("{\"slot\":1,\"hinban\":\"DL-1000\",\"count\":12,\"watts\":12.50,\"lumens\":1500}"), std::string::npos)
        << power;
    EXPECT_NE(power.find("\"slot\":19,"), std::string::npos);
    EXPECT_DOUBLE_EQ(number(power, "totalWatts"), 12 * 12.5 + 2 * 40);
    const double floorArea = number(object(r.out, "room"), "floorArea");
    EXPECT_NEAR(number(power, "wattsPerSquareMetre"), 230 / floorArea, 0.006);
    // The first area, 4 m × 2.7 m at 10 mm a pixel, holds two downlights' centres.
    const std::size_t first = r.out.find("\"areas\":[{");
    EXPECT_NEAR(number(r.out.substr(first), "wattsPerSquareMetre"), 25 / 10.8, 0.006);

    // Without powers there is no power object and the areas are as they were; so is a re-saved file.
    const auto before = runCli({"calc", sample("task_areas.OLE"), "--json", "-"});
    EXPECT_EQ(before.out.find("power"), std::string::npos);
    EXPECT_EQ(before.out.find("wattsPerSquareMetre"), std::string::npos);
    const fs::path saved = scratch("saved.OLE");
    ASSERT_EQ(runCli({"save", project.string(), saved.string()}).status, 0);
    EXPECT_EQ(slurp(saved), slurp(project));

    // A power for a slot the file does not register, a second one for a slot, none at all, a section
    // cut short: the file is damaged and nothing is calculated.
    for (const char* section : {"POWER\r\n5,10.00\r\nEND\r\n", "POWER\r\n1,10.00\r\n1,11.00\r\nEND\r\n",
                                "POWER\r\n1,0.00\r\nEND\r\n", "POWER\r\n1,-3\r\nEND\r\n", "POWER\r\n1,12.50\r\n"}) {
        write(project, plain + section);
        EXPECT_EQ(runCli({"validate", project.string()}).status, 1) << section;
    }
    fs::remove(project);
    fs::remove(saved);
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(CliOutputs, JoinedContoursAreFewerPolylinesAndTheCoordinatesTableCarriesEachPointsPlace) {
    const fs::path traced = scratch("traced.dxf"), joined = scratch("joined.dxf"), xy = scratch("xy.csv");
    ASSERT_EQ(runCli({"calc", sample("room_sample.OLE"), "--kind", "T", "--dxf", traced.string()}).status, 0);
    ASSERT_EQ(runCli({"calc", sample("room_sample.OLE"), "--kind", "T", "--dxf", joined.string(), "--dxf-join", "--csv-xy",
                      xy.string()}).status, 0);
    const std::string a = slurp(traced), b = slurp(joined);
    // The same walls and pillars; the contours in fewer polylines holding fewer repeated meeting points.
    EXPECT_GT(count(a, "E_HASIRA"), 0u);
    EXPECT_EQ(count(a, "E_HASIRA"), count(b, "E_HASIRA"));
    EXPECT_LT(count(b, "POLYLINE\r\n"), count(a, "POLYLINE\r\n"));
    EXPECT_LT(count(b, "VERTEX\r\n"), count(a, "VERTEX\r\n"));

    const std::string table = slurp(xy);
    ASSERT_EQ(table.rfind("x_mm,y_mm,lux\r\n", 0), 0u);
    // 10 mm a pixel: every place is a multiple of the 100 mm the table steps by, from the lit extent's corner.
    std::smatch m;
    const std::string first = table.substr(15, table.find("\r\n", 15) - 15);
    ASSERT_TRUE(std::regex_match(first, m, std::regex("([0-9]+\\.[0-9]),([0-9]+\\.[0-9]),([0-9]+\\.[0-9]{2})"))) << first;
    EXPECT_EQ(m[1].str(), "1010.0");  // the lit extent starts at column 101
    for (const fs::path& p : {traced, joined, xy}) fs::remove(p);
}

TEST(CliTaskPresets, AnAreaTakesTheRequirementOfAKindOfTaskByName) {
    const auto r = runCli({"calc", sample("task_areas.OLE"), "--area", "製図台,2000,1800,6000,4500,製図", "--area",
                           "廊下,7600,5600,12500,8600,廊下", "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::size_t draw = r.out.find("{\"name\":\"製図台\""), hall = r.out.find("{\"name\":\"廊下\"");
    ASSERT_NE(draw, std::string::npos);
    ASSERT_NE(hall, std::string::npos);
    EXPECT_EQ(number(r.out.substr(draw), "requiredLux"), 750);
    EXPECT_EQ(number(r.out.substr(draw), "requiredUniformity"), 0.70);
    EXPECT_EQ(number(r.out.substr(hall), "requiredLux"), 100);
    EXPECT_EQ(number(r.out.substr(hall), "requiredUniformity"), 0.40);

    const auto unknown = runCli({"calc", sample("task_areas.OLE"), "--area", "机,0,0,100,100,存在しない作業", "--json", "-"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("存在しない作業"), std::string::npos) << unknown.err;
    EXPECT_TRUE(unknown.out.empty());
}

} // namespace
