// ordivan-cli when it must say no: outputs checked and placed together, standard output and descriptors written straight, figures and files it cannot stand behind refused.
#include "support/RunCli.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include "base/Cp932.h"

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using testsupport::capture;
using testsupport::runCli;
using testsupport::shellQuote;
using testsupport::slurp;

class CliRefusals : public testsupport::ScratchFolderTest {
protected:
    CliRefusals() : ScratchFolderTest("ordivan_refusals_") {}

    // Runs a command line through bash (pipes, redirections, process substitution) in the scratch folder.
    std::string shell(const std::string& script) const {
        return capture("cd " + shellQuote(dir.string()) + " && CLI=" + shellQuote(testsupport::cliPath()) +
                       " S=" + shellQuote(sample("room_sample.OLE")) + " bash -c " + shellQuote(script) + " 2>&1");
    }

    // The sample plan with its text changed: `from` (UTF-8, first occurrence) becomes `to`.
    static std::string sampleWith(const std::string& from, const std::string& to) {
        std::string text = base::cp932ToUtf8(slurp(sample("room_sample.OLE")));
        const auto p = text.find(from);
        EXPECT_NE(p, std::string::npos) << from;
        if (p != std::string::npos) text.replace(p, from.size(), to);
        return base::utf8ToCp932(text);
    }
    // The grid file's width, height and values.
    static std::vector<float> gridOf(const std::string& path, int& width, int& height) {
        const std::string bytes = slurp(path);
        if (bytes.size() < 8) return {};
        std::memcpy(&width, bytes.data(), 4);
        std::memcpy(&height, bytes.data() + 4, 4);
        std::vector<float> v((bytes.size() - 8) / 4);
        std::memcpy(v.data(), bytes.data() + 8, v.size() * 4);
        return v;
    }

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

TEST_F(CliRefusals, FiguresThatCannotBeRightAreNeitherInterpolatedNorPrinted) {
    // One fixture beside the inner wall or an outer wall: the slope carried on beside the wall used to
    // overshoot every computed value. Every point stays within the computed points' range, never below 0.
    const std::string plan = base::cp932ToUtf8(slurp(sample("room_sample.OLE")));
    const auto kigu = plan.find("KIGU\r\n") + 6;
    for (const auto& [x, step] : std::vector<std::pair<int, int>>{{698, 7}, {705, 7}, {102, 3}, {1298, 7}}) {
        const std::string one = "1," + std::to_string(x) + ",300,0," + std::to_string(x) + ",300,0,0\r\n";
        put(at("near.OLE"), base::utf8ToCp932(plan.substr(0, kigu) + one + plan.substr(plan.find("END", kigu))));
        ASSERT_EQ(runCli({"calc", at("near.OLE"), "--step", std::to_string(step), "--grid", at("g")}).status, 0);
        int w = 0, h = 0;
        const std::vector<float> lux = gridOf(at("g"), w, h);
        ASSERT_EQ(lux.size(), static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        float computedMax = 0;
        for (int row = 0; row < h; row += step) {
            for (int col = 0; col < w; col += step) computedMax = std::max(computedMax, lux[static_cast<std::size_t>(row * w + col)]);
        }
        int outside = 0;
        for (const float v : lux) outside += !(v >= 0 && v <= computedMax);
        EXPECT_EQ(outside, 0) << "x " << x << " step " << step << ": points past [0, " << computedMax << "]";
    }

    // Slot 1 at a thousand of the brightest lamps in the brightest table: past what the figures carry.
    std::string fine, low;
    for (int i = 0; i < 21; ++i) fine += std::string(i ? "," : "") + "9999999.0000";
    for (int i = 0; i < 19; ++i) low += std::string(i ? "," : "") + "9999999.0000";
    std::string text = base::cp932ToUtf8(sampleWith("\r\n1\r\n0.8500\r\n1\r\n1500,", "\r\n1000\r\n0.8500\r\n1\r\n99999999,"));
    const auto planes = text.find("1.00,12,0,0\r\n") + 13;
    const auto second = text.find("\r\n", text.find("\r\n", planes) + 2) + 2;
    text.replace(planes, second - planes, fine + "\r\n" + low + "\r\n");
    put(at("bright.OLE"), base::utf8ToCp932(text));
    auto r = runCli({"calc", at("bright.OLE"), "--json", at("bright.json")});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("照度が大きすぎて"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(at("bright.json")));

    // What the reader refuses: negative lamps, negative light, a height the height dialog refuses.
    struct Case {
        std::string from, to, message;
    };
    for (const Case& c : std::vector<Case>{{"\r\n1\r\n0.8500\r\n", "\r\n-1\r\n0.8500\r\n", "破壊されています"},
                                           {"1.00,12,0,0\r\n400.0000,", "1.00,12,0,0\r\n-400.0000,", "破壊されています"},
                                           {"3000\r\n10.00\r\n", "1\r\n10.00\r\n", "計算天高は mm で入力して下さい"}}) {
        put(at("c.OLE"), sampleWith(c.from, c.to));
        for (const char* command : {"validate", "calc"}) {
            r = runCli({command, at("c.OLE")});
            EXPECT_EQ(r.status, 1) << command << " " << c.to;
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        }
    }
}

TEST_F(CliRefusals, LinksAndTextsAreTreatedAsACarefulToolTreatsThem) {
    const std::string project = sample("room_sample.OLE");
    // A link the user made is written through and stays a link; a loop or a link into a missing folder is refused.
    put(at("target.csv"), "old");
    fs::create_symlink("target.csv", at("mine.csv"));
    ASSERT_EQ(runCli({"calc", project, "--csv", at("mine.csv")}).status, 0);
    EXPECT_TRUE(fs::is_symlink(at("mine.csv")));
    EXPECT_NE(slurp(at("target.csv")), "old");
    fs::create_symlink("loop.csv", at("loop.csv"));
    fs::create_symlink("missing/x.csv", at("dangling.csv"));
    for (const char* name : {"loop.csv", "dangling.csv"}) {
        const auto r = runCli({"calc", project, "--csv", at(name)});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.err.find(at(name)), std::string::npos) << r.err;
        EXPECT_TRUE(fs::is_symlink(at(name))) << name << ": the link itself is left alone";
    }
    EXPECT_FALSE(fs::exists(at("missing")));
    // A link another user planted in a shared sticky folder (as in /tmp) is not followed.
    fs::create_directories(at("shared"));
    ::chmod(at("shared").c_str(), 01777);
    fs::create_symlink(at("target.csv"), at("shared/planted.csv"));
    if (::geteuid() == 0 && ::lchown(at("shared/planted.csv").c_str(), 65534, 65534) == 0) {
        put(at("target.csv"), "victim");
        const auto r = runCli({"calc", project, "--csv", at("shared/planted.csv")});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(slurp(at("target.csv")), "victim");
    }

    // A file the user may not write is refused as a copy onto it would be, though the folder would
    // let the program replace it (root may write anything: the run drops to an ordinary user).
    if (::geteuid() == 0 && ::system("command -v setpriv > /dev/null") == 0) {
        ::chmod(dir.c_str(), 0777);
        put(at("readonly.csv"), "kept");
        ::chmod(at("readonly.csv").c_str(), 0444);
        const std::string said =
            shell("setpriv --reuid=65534 --regid=65534 --clear-groups \"$CLI\" calc \"$S\" --csv readonly.csv; echo \"status $?\"");
        EXPECT_NE(said.find("status 1"), std::string::npos) << said;
        EXPECT_EQ(slurp(at("readonly.csv")), "kept");
    }

    // A task-area name that is not UTF-8 never reaches the summary.
    const auto r = runCli({"calc", project, "--area", "\xff\xfe,0,0,100,100", "--json", "-"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());

    // An IES file's keywords in UTF-8 are taken as they are; a EULUMDAT factor of 0 or less is refused.
    put(at("p.OLE"), slurp(project));
    put(at("u.ies"), "IESNA:LM-63-2002\r\n[LUMCAT] 照明-1\r\nTILT=NONE\r\n1 1000 1 3 1 1 2 0 0 0\r\n1 1 10\r\n0 45 90\r\n0\r\n500 250 0\r\n");
    ASSERT_EQ(runCli({"import-photometry", at("u.ies"), at("p.OLE"), "--slot", "3", "--out", at("p.OLE")}).status, 0);
    EXPECT_NE(slurp(at("p.OLE")).find(base::utf8ToCp932("照明-1")), std::string::npos);
    std::string ldt;
    for (const char* l : {"Maker", "1", "1", "4", "90", "3", "5", "report", "Panel", "SQ-600", "sq.ldt", "2026", "620", "620",
                          "80", "600", "150", "0", "0", "0", "0", "100", "78.5", "0", "0", "1", "1", "LED module", "6000",
                          "3000K", "80", "45", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0",
                          "90", "180", "270", "0", "90", "180", "300", "100", "0"})
        ldt += std::string(l) + "\r\n";
    put(at("zero.ldt"), ldt);
    const std::string before = slurp(at("p.OLE"));
    EXPECT_EQ(runCli({"import-photometry", at("zero.ldt"), at("p.OLE"), "--slot", "4", "--out", at("p.OLE")}).status, 1);
    EXPECT_EQ(slurp(at("p.OLE")), before);
}

TEST_F(CliRefusals, ALongRunShowsItsProgressAndCtrlCLeavesTheOldOutputs) {
    const std::string project = sample("bench_office.OLE");
    auto r = runCli({"calc", sample("room_sample.OLE"), "--progress", "--json", at("p.json")});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("100%"), std::string::npos) << r.err;
    EXPECT_EQ(runCli({"calc", sample("room_sample.OLE"), "--progress", "--quiet"}).err, "");

    put(at("a.json"), "old json");
    put(at("a.grid"), "old grid");
    const std::string cli = testsupport::cliPath();
    const std::string devNull = "/dev/null";
    std::vector<std::string> words = {cli, "calc", project, "--step", "1", "--threads", "1", "--screen", "5000x4000", "--grid", at("a.grid"), "--json", at("a.json")};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, devNull.c_str(), O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    ::kill(pid, SIGINT);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    ASSERT_TRUE(WIFEXITED(raw)) << "ended by a signal";
    EXPECT_EQ(WEXITSTATUS(raw), 130);
    EXPECT_EQ(slurp(at("a.json")), "old json");
    EXPECT_EQ(slurp(at("a.grid")), "old grid");
    EXPECT_EQ(filesInDir(), 3u) << "no temporary left";
}

} // namespace
