// ordivan-cli when it must say no: outputs checked and placed together, standard output and descriptors written straight, figures and files it cannot stand behind refused.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testsupport::capture;
using testsupport::runCli;
using testsupport::shellQuote;
using testsupport::slurp;

class CliRefusals : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("ordivan_refusals_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string at(const std::string& name) const { return (dir / name).string(); }
    static std::string sample(const std::string& name) {
        return (fs::path(testsupport::sourceDir()) / "data" / "samples" / name).string();
    }
    static void put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::size_t filesInDir() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }
    // Runs a command line through bash (pipes, redirections, process substitution) in the scratch folder.
    std::string shell(const std::string& script) const {
        return capture("cd " + shellQuote(dir.string()) + " && CLI=" + shellQuote(testsupport::cliPath()) +
                       " S=" + shellQuote(sample("room_sample.OLE")) + " bash -c " + shellQuote(script) + " 2>&1");
    }

    fs::path dir;
};

TEST_F(CliRefusals, ARefusedRunLeavesNoNewFileAndAnAcceptedOneAllOfThem) {
    const std::string project = sample("room_sample.OLE");
    auto r = runCli({"calc", project, "--png", at("a.png"), "--csv", at("missing/x.csv"), "--json", at("j.json")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(at("missing/x.csv")), std::string::npos) << r.err;
    EXPECT_EQ(filesInDir(), 0u) << "the picture and the summary before the refused CSV stay unwritten";

    // Refused after the calculation (the same file twice): the old file is not touched either.
    put(at("old.csv"), "old");
    r = runCli({"calc", project, "--png", at("b.png"), "--csv", at("old.csv"), "--grid", at("old.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(slurp(at("old.csv")), "old");
    EXPECT_FALSE(fs::exists(at("b.png")));

    r = runCli({"calc", project, "--png", at("a.png"), "--csv", at("a.csv"), "--grid", at("a.grid"), "--json", at("a.json"),
                "--areas-csv", at("areas.csv"), "--dxf", at("a.dxf"), "--pdf", at("a.pdf")});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* name : {"a.png", "a.csv", "a.grid", "a.json", "areas.csv", "a.dxf", "a.pdf"})
        EXPECT_GT(fs::file_size(at(name)), 0u) << name;
    EXPECT_EQ(filesInDir(), 8u) << "no temporary left beside the outputs";

    // An empty file name is a usage error for every output, not a silent success.
    for (const char* option : {"--png", "--bmp", "--csv", "--dxf", "--pdf", "--grid", "--json", "--areas-csv"}) {
        r = runCli({"calc", project, option, ""});
        EXPECT_EQ(r.status, 2) << option;
        EXPECT_NE(r.err.find("empty file name"), std::string::npos) << option << r.err;
    }
    EXPECT_EQ(runCli({"curve", project, "--slot", "1", "--png", ""}).status, 2);
    EXPECT_EQ(runCli({"curve", project, "--slot", "1", "--pdf", ""}).status, 2);
    EXPECT_EQ(runCli({"list-csv", project, "--out", ""}).status, 2);
    EXPECT_EQ(runCli({"save", project, ""}).status, 2);
    EXPECT_EQ(filesInDir(), 8u);
}

TEST_F(CliRefusals, StandardOutputAndDescriptorsAreWrittenStraightAndOneFileTakesOneOutput) {
    // The shell's file behind /dev/stdout keeps what was written before and after.
    std::string out = shell("{ echo HEAD; \"$CLI\" calc \"$S\" --json /dev/stdout; echo TAIL; } > f; cat f");
    EXPECT_EQ(out.rfind("HEAD\n{\"maxLux\":", 0), 0u) << out;
    EXPECT_NE(out.find("}\nTAIL\n"), std::string::npos) << out;
    // `-` is the standard output for any output; a pipe and a process substitution take the bytes as they come.
    ASSERT_EQ(runCli({"calc", sample("room_sample.OLE"), "--csv", at("ref.csv"), "--grid", at("ref.grid")}).status, 0);
    const std::string csv = slurp(at("ref.csv"));
    EXPECT_EQ(shell("\"$CLI\" calc \"$S\" --csv - | cat"), csv);
    EXPECT_EQ(shell("\"$CLI\" calc \"$S\" --csv >(cat > sub.csv) --json - > j.txt; sleep 1; cat sub.csv"), csv);
    EXPECT_EQ(slurp(at("j.txt")).rfind("{\"maxLux\":", 0), 0u);
    EXPECT_EQ(shell("\"$CLI\" calc \"$S\" --grid - --csv /dev/null --png /dev/null | cmp - ref.grid && echo same"), "same\n")
        << "the null device takes any number of outputs";

    // Two outputs naming one file, the project as an output: refused before anything is written.
    const std::string project = at("p.OLE");
    fs::copy_file(sample("room_sample.OLE"), project);
    const std::string before = slurp(project);
    fs::create_symlink("twice.csv", at("link.csv"));
    for (const std::vector<std::string>& outputs :
         {std::vector<std::string>{"--csv", at("twice.csv"), "--grid", at("link.csv")}, {"--json", "-", "--csv", "/dev/stdout"},
          {"--png", project}, {"--areas-csv", at("p.OLE")}}) {
        std::string line = shellQuote(testsupport::cliPath()) + " calc " + shellQuote(project);
        for (const std::string& w : outputs) line += " " + shellQuote(w);
        const std::string said = capture(line + " 2>&1; echo \"status $?\"");
        EXPECT_NE(said.find("status 1"), std::string::npos) << line << said;
        EXPECT_EQ(said.find("maxLux"), std::string::npos) << "nothing reached the standard output";
        EXPECT_EQ(slurp(project), before);
        EXPECT_FALSE(fs::exists(at("twice.csv")));
    }
}

TEST_F(CliRefusals, ColourTemperatureWithAnUnusableLightColourFileSaysWhy) {
    fs::create_directories(at("data"));
    for (const char* bytes : {"", "garbage here\n"}) {
        put(at("data/T_RGB.LEC"), bytes);
        const auto r = runCli({"calc", sample("room_sample.OLE"), "--kind", "C", "--data", at("data"), "--png", at("c.png")});
        EXPECT_EQ(r.status, 1) << bytes;
        EXPECT_NE(r.err.find("T_RGB.LEC"), std::string::npos) << "[" << bytes << "] " << r.err;
        EXPECT_FALSE(fs::exists(at("c.png")));
    }
}

} // namespace
