// Inter-reflections through ordivan-cli calc: the room's options and their usage errors, and the summary's
// figures with and without reflections.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testsupport::runCli;

std::string sample(const char* name) { return (fs::path(testsupport::sourceDir()) / "data" / "samples" / name).string(); }

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
        EXPECT_NE(r.err.find("ordivan-cli calc: "), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << "no summary from a wrong command line";
    }
    const testsupport::CliResult plain = runCli({"calc", sample("task_areas.OLE"), "--json", "-"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out.find("indirect"), std::string::npos);
    EXPECT_EQ(plain.out.find("directAverageLux"), std::string::npos);
}

} // namespace
