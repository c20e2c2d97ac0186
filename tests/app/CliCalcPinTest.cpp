// The results of ordivan-cli calc on every sample project, held against digests recorded once: any change to a grid, a summary or a result picture shows here.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testsupport::runCli;

std::string slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// 64-bit FNV-1a, written as 16 hexadecimal digits.
std::string digest(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

// One line of the pin file: "<sample> <kind> <step> <output>" → the digest or the summary text.
std::map<std::string, std::string> readPins() {
    std::map<std::string, std::string> pins;
    std::ifstream in(fs::path(testsupport::sourceDir()) / "tests" / "data" / "calc_pins.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string sample, kind, step, output, value;
        fields >> sample >> kind >> step >> output;
        std::getline(fields >> std::ws, value);
        pins[sample + " " + kind + " " + step + " " + output] = value;
    }
    return pins;
}

// Per process: several test runs may share the temporary folder.
fs::path scratch(const std::string& name) {
    return fs::temp_directory_path() / ("ordivan_pin_" + std::to_string(::getpid()) + "_" + name);
}

// The summary without its timing, the one field that differs between two runs.
std::string timeless(const std::string& json) { return std::regex_replace(json, std::regex(",\"seconds\":[0-9.]+|\n"), ""); }

class CalcPins : public ::testing::Test {
protected:
    const std::map<std::string, std::string> pins = readPins();
    const std::string data = (fs::path(testsupport::sourceDir()) / "data" / "zolt_data").string();

    void expectPinned(const std::string& key, const std::string& actual) {
        const auto it = pins.find(key);
        ASSERT_NE(it, pins.end()) << "no pin for: " << key << " " << actual;
        EXPECT_EQ(it->second, actual) << "pin line now: " << key << " " << actual;
    }
};

TEST_F(CalcPins, GridsAndSummariesOfEverySampleAtSteps1And3And7AreTheRecordedOnes) {
    ASSERT_GT(pins.size(), 10u);
    int samples = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(testsupport::sourceDir()) / "data" / "samples")) {
        if (entry.path().extension() != ".OLE") continue;
        ++samples;
        const std::string name = entry.path().stem().string();
        for (const char* step : {"1", "3", "7"}) {
            const std::string key = name + " B " + step;
            const fs::path grid = scratch(name + ".grid");
            fs::remove(grid);
            const auto r = runCli({"calc", entry.path().string(), "--step", step, "--data", data, "--grid", grid.string(), "--json", "-"});
            expectPinned(key + " status", std::to_string(r.status));
            if (r.status != 0) continue;
            expectPinned(key + " grid", digest(slurp(grid)));
            fs::remove(grid);
            expectPinned(key + " summary", timeless(r.out));
        }
    }
    EXPECT_GE(samples, 3);
}

// The pictures carry the presentation as well: the class colours, the light colours of the
// colour-temperature sums, the contour lines, the average and maximum texts and the stamped legend.
TEST_F(CalcPins, ResultPicturesAndContourDrawingAreTheRecordedOnes) {
    for (const char* name : {"room_sample", "bench_office"}) {
        const std::string project = (fs::path(testsupport::sourceDir()) / "data" / "samples" / (std::string(name) + ".OLE")).string();
        for (const char* kind : {"B", "C", "T"}) {
            for (const char* step : {"1", "3", "7"}) {
                if (std::string(kind) != "C" && std::string(step) != "3") continue;
                const std::string key = std::string(name) + " " + kind + " " + step;
                const fs::path bmp = scratch("result.bmp"), dxf = scratch("result.dxf");
                fs::remove(bmp);
                fs::remove(dxf);
                const bool contours = std::string(kind) == "T";
                const auto r = contours ? runCli({"calc", project, "--kind", kind, "--step", step, "--data", data, "--fixtures",
                                                  "--bmp", bmp.string(), "--dxf", dxf.string()})
                                        : runCli({"calc", project, "--kind", kind, "--step", step, "--data", data, "--bmp", bmp.string()});
                ASSERT_EQ(r.status, 0) << key << ": " << r.err;
                expectPinned(key + " bmp", digest(slurp(bmp)));
                if (contours) expectPinned(key + " dxf", digest(slurp(dxf)));
                fs::remove(bmp);
                fs::remove(dxf);
            }
        }
    }
}

} // namespace
