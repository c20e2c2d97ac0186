// ordivan-cli against hostile inputs and failing outputs: nothing lost, nothing reported as done that was not.
#include "base/Cp932.h"
#include "support/RunCli.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <spawn.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testsupport::runCli;

class CliFileSafety : public testsupport::ScratchFolderTest {
protected:
    CliFileSafety() : ScratchFolderTest("ordivan_safety_") {}

    static std::string get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static int occurrences(const std::string& text, const std::string& part) {
        int n = 0;
        for (auto p = text.find(part); p != std::string::npos; p = text.find(part, p + part.size())) ++n;
        return n;
    }
    // The sample plan with one line of it replaced (CP932 bytes, CR LF).
    std::string sampleWith(const std::string& from, const std::string& to) const {
        std::string bytes = get(sample("room_sample.OLE"));
        const auto p = bytes.find(from);
        EXPECT_NE(p, std::string::npos) << from;
        if (p != std::string::npos) bytes.replace(p, from.size(), to);
        return bytes;
    }

};

constexpr const char* kDamaged = "ORDIVANﾌｧｲﾙではないか、破壊されています。";
constexpr const char* kCannotWrite = "ファイルに書き込みできません";

TEST_F(CliFileSafety, ImportedCandelaOrLumensNoLampHasAreRefusedAndTheProjectIsKept) {
    const std::string project = at("p.OLE");
    put(project, get(sample("room_sample.OLE")));
    const std::string before = get(project);
    for (const char* values : {"1 1000 1 3 1 1 2 0 0 0\r\n1 1 10\r\n0 45 90\r\n0\r\n1e308 250 0\r\n",
                               "1 1e308 1 3 1 1 2 0 0 0\r\n1 1 10\r\n0 45 90\r\n0\r\n500 250 0\r\n"}) {
        put(at("huge.ies"), std::string("IESNA:LM-63-2002\r\nTILT=NONE\r\n") + values);
        auto r = runCli({"import-photometry", at("huge.ies"), project, "--slot", "1", "--out", project});
        EXPECT_EQ(r.status, 1) << values;
        EXPECT_NE(r.err.find("配光データファイルとして読み込めません"), std::string::npos) << r.err;
        EXPECT_EQ(get(project), before);
    }
    // EULUMDAT, the same: candela past any lamp (rotational symmetry, three vertical angles).
    std::string ldt;
    for (const char* l : {"Maker", "1", "1", "4", "90", "3", "5", "report", "Panel", "SQ-600", "sq.ldt", "2026", "620", "620",
                          "80", "600", "150", "0", "0", "0", "0", "100", "78.5", "1", "0", "1", "1", "LED module", "6000",
                          "3000K", "80", "45", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0.5", "0",
                          "90", "180", "270", "0", "90", "180", "1e308", "100", "0"})
        ldt += std::string(l) + "\r\n";
    put(at("huge.ldt"), ldt);
    auto r = runCli({"import-photometry", at("huge.ldt"), project, "--slot", "1", "--out", project});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(get(project), before);
}

TEST_F(CliFileSafety, WhatSaveWritesWithSuccessValidateAccepts) {
    // Within the reader's bound as a decimal number, just past it as the float that is kept.
    const std::string huge = "3" + std::string(38, '0');
    const std::vector<std::string> nearLimit = {sampleWith("\r\n10.00\r\n", "\r\n" + huge + ".00\r\n"),      // mm per pixel
                                                sampleWith("\r\n0.8500\r\n", "\r\n" + huge + ".0000\r\n"),  // efficiency
                                                sampleWith("\r\n1.00,12,0,0\r\n", "\r\n" + huge + ".00,12,0,0\r\n")};
    for (std::size_t n = 0; n < nearLimit.size(); ++n) {
        put(at("in.OLE"), nearLimit[n]);
        fs::remove(at("out.OLE"));
        const auto saved = runCli({"save", at("in.OLE"), at("out.OLE")});
        if (saved.status == 0) {
            const auto again = runCli({"validate", at("out.OLE")});
            EXPECT_EQ(again.status, 0) << "case " << n << ": " << again.err;
        } else {
            EXPECT_EQ(saved.status, 1);
            EXPECT_FALSE(fs::exists(at("out.OLE")));
        }
    }
}

TEST_F(CliFileSafety, PicturesAndSheetsOnAFullDiskFailAndStandardOutputIsChecked) {
    // Through a link, so that a writer renaming over its target replaces the link, never the device.
    const std::string full = at("full");
    fs::create_symlink("/dev/full", full);
    for (const char* option : {"--png", "--bmp", "--pdf", "--csv", "--grid", "--json", "--areas-csv"}) {
        auto r = runCli({"calc", sample("room_sample.OLE"), "--step", "7", option, full});
        EXPECT_EQ(r.status, 1) << option;
        EXPECT_FALSE(r.err.empty()) << option;
    }
    EXPECT_EQ(runCli({"curve", sample("room_sample.OLE"), "--slot", "1", "--png", full}).status, 1);
    EXPECT_EQ(runCli({"list-print", sample("room_sample.OLE"), "--pdf", full}).status, 1);
    EXPECT_TRUE(fs::is_symlink(full));

    const std::string cli = testsupport::shellQuote(testsupport::cliPath());
    const std::string quiet = " >/dev/full 2>" + testsupport::shellQuote(at("err.txt"));
    for (const std::string& args : {" calc " + testsupport::shellQuote(sample("room_sample.OLE")) + " --step 7 --json -",
                                   std::string(" catalog search D")}) {
        const int raw = std::system((cli + args + quiet).c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << args;
        EXPECT_NE(get(at("err.txt")).find(kCannotWrite), std::string::npos) << args;
    }
}

TEST_F(CliFileSafety, AWriteNeitherFollowsAPlantedLinkNorLosesTheTargetsLinkOrPermissions) {
    // A link planted where the old fixed temporary name was must not redirect the write.
    put(at("victim"), "unrelated");
    fs::create_symlink(at("victim"), at("out.OLE.tmp~"));
    ASSERT_EQ(runCli({"save", sample("room_sample.OLE"), at("out.OLE")}).status, 0);
    EXPECT_EQ(get(at("victim")), "unrelated");
    EXPECT_TRUE(fs::is_symlink(at("out.OLE.tmp~")));

    // A private file stays private, and a link to the project stays a link to the updated project.
    put(at("private.OLE"), "old");
    ::chmod(at("private.OLE").c_str(), 0600);
    fs::create_directory(at("real"));
    put(at("real/linked.OLE"), "old");
    fs::create_symlink("real/linked.OLE", at("link.OLE"));
    for (const char* target : {"private.OLE", "link.OLE"}) {
        ASSERT_EQ(runCli({"save", sample("room_sample.OLE"), at(target)}).status, 0) << target;
    }
    EXPECT_EQ(fs::status(at("private.OLE")).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(fs::is_symlink(at("link.OLE")));
    EXPECT_EQ(runCli({"validate", at("real/linked.OLE")}).status, 0);
    // Every file written, nothing left behind: the four targets, the victim, the planted link and the folder.
    EXPECT_EQ(filesInDir(), 6u);

    // A picture through a link the same way.
    fs::create_symlink("real/plan.png", at("plan.png"));
    ASSERT_EQ(runCli({"calc", sample("room_sample.OLE"), "--step", "7", "--png", at("plan.png")}).status, 0);
    EXPECT_TRUE(fs::is_symlink(at("plan.png")));
    EXPECT_EQ(get(at("real/plan.png")).substr(1, 3), "PNG");
}

// kill -9 at any moment of a save: the project is the old file or the new one, whole. Beside it a kill can
// leave only the writer's hidden temporary, with (a part of) the new file. The delays only spread the
// kills; nothing asserts on time.
TEST_F(CliFileSafety, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewProjectWhole) {
    std::string fixtures;
    for (int k = 0; k < 40000; ++k) {
        const std::string x = std::to_string(100 + k % 400), y = std::to_string(100 + k / 400);
        fixtures += "1," + x + "," + y + ",0," + x + "," + y + ",0,0\r\n";
    }
    put(at("large.OLE"), sampleWith("\r\nKIGU\r\n", "\r\nKIGU\r\n" + fixtures));
    ASSERT_EQ(runCli({"save", at("large.OLE"), at("new.OLE")}).status, 0);
    const std::string oldBytes = get(sample("room_sample.OLE")), newBytes = get(at("new.OLE"));
    ASSERT_GT(newBytes.size(), 1000000u);

    const std::string cli = testsupport::cliPath(), source = at("large.OLE"), target = at("target.OLE");
    const std::regex writersTemporary(R"(\.target\.OLE\.[0-9a-f]{12}~)");
    int keptOld = 0, tookNew = 0;
    for (int i = 0; i < 16; ++i) {
        put(target, oldBytes);
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        const char* argv[] = {cli.c_str(), "save", source.c_str(), target.c_str(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, cli.c_str(), &quiet, nullptr, const_cast<char* const*>(argv), environ), 0);
        posix_spawn_file_actions_destroy(&quiet);
        const long ms = 2L * i * i;  // 0 to 450 ms
        const timespec delay{ms / 1000, ms % 1000 * 1000000L};
        ::nanosleep(&delay, nullptr);
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);

        const std::string now = get(target);
        EXPECT_TRUE(now == oldBytes || now == newBytes) << "kill after " << ms << " ms left " << now.size() << " bytes";
        keptOld += now == oldBytes;
        tookNew += now == newBytes;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (name == "large.OLE" || name == "new.OLE" || name == "target.OLE") continue;
            EXPECT_TRUE(std::regex_match(name, writersTemporary)) << name << " left after a kill at " << ms << " ms";
            const std::string left = get(entry.path().string());
            EXPECT_EQ(left, newBytes.substr(0, left.size())) << name << " holds what the save did not write";
            fs::remove(entry.path());
        }
    }
    RecordProperty("kills_that_kept_the_old_file", keptOld);
    RecordProperty("kills_after_the_new_file_was_in_place", tookNew);
}

TEST_F(CliFileSafety, FilesThatAreNotRegularAreRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(at("fifo.OLE").c_str(), 0600), 0);
    // `timeout` turns a hang into status 124, so the test fails instead of blocking the suite.
    const std::string cli = testsupport::shellQuote(testsupport::cliPath());
    auto statusOf = [&](const std::string& args) {
        const int raw = std::system(("timeout 60 " + cli + " " + args + " 2>/dev/null").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(statusOf("validate /dev/zero"), 1);
    EXPECT_EQ(statusOf("validate " + at("fifo.OLE")), 1);
    EXPECT_EQ(statusOf("validate " + dir.string()), 1);
    EXPECT_EQ(statusOf("import-photometry " + at("fifo.OLE") + " " + sample("room_sample.OLE") + " --slot 1 --out " + at("o.OLE")), 1);
    EXPECT_EQ(statusOf("import-photometry /dev/zero " + sample("room_sample.OLE") + " --slot 1 --out " + at("o.OLE")), 1);
    EXPECT_FALSE(fs::exists(at("o.OLE")));
}

TEST_F(CliFileSafety, CalcRefusesAPlanItCannotCalculateWithTheMessageOnce) {
    struct Case {
        std::string from, to, message;
    };
    const std::vector<Case> cases = {
        {"\r\n10.00\r\n", "\r\n-1.00\r\n", "縮尺を設定して下さい。"},
        {"\r\n10.00\r\n", "\r\n0.00\r\n", "縮尺を設定して下さい。"},
        {"3000\r\n10.00\r\n", "0\r\n10.00\r\n", "計算天高を正しく入力して下さい"},
        {"3000\r\n10.00\r\n", "-2500\r\n10.00\r\n", "計算天高を正しく入力して下さい"},
        {"KIGU\r\n1,", "KIGU\r\n2,", "品番が登録されていません"},
    };
    for (const auto& c : cases) {
        put(at("c.OLE"), sampleWith(c.from, c.to));
        auto r = runCli({"calc", at("c.OLE"), "--step", "7", "--png", at("c.png")});
        EXPECT_EQ(r.status, 1) << c.to;
        EXPECT_EQ(occurrences(r.err, c.message), 1) << r.err;
        EXPECT_FALSE(fs::exists(at("c.png")));
    }
}

TEST_F(CliFileSafety, AnArcAtTheEndOfTheCoordinatesGivesNoNegativeSurface) {
    const std::string max = std::to_string(INT_MAX);
    put(at("arc.OLE"), "3000\r\n10.00\r\n50\r\n\r\nTOUROKU\r\nEND\r\nLINE\r\nA," + max + ",0,0," + max + ",0,0," + max + "," + max +
                           "\r\nEND\r\nKIGU\r\nEND\r\nHASIRA\r\nEND\r\n");
    // The reader refuses the surface such a plan asks for by its true size, whatever the command.
    for (const char* command : {"save", "validate"}) {
        auto r = command == std::string("save") ? runCli({"save", at("arc.OLE"), at("back.OLE")}) : runCli({"validate", at("arc.OLE")});
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_NE(r.err.find(max + "×" + max), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(at("back.OLE")));
    }
    // With fixtures to calculate, the same.
    put(at("arc.OLE"), sampleWith("\r\nLINE\r\n", "\r\nLINE\r\nA," + max + ",0,0," + max + ",0,0," + max + "," + max + "\r\n"));
    auto r = runCli({"calc", at("arc.OLE")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(max + "×" + max), std::string::npos) << r.err;
}

// Lamps or lumens at the integer limit would only saturate the calculated illuminance.
TEST_F(CliFileSafety, LampsOrLumensNoLuminaireHasAreRefusedByValidate) {
    const std::vector<std::string> nonsense = {
        sampleWith("\r\n1500,1500,2700,", "\r\n2147483647,1500,2700,"),  // lumens per lamp
        sampleWith("\r\n1\r\n0.8500\r\n", "\r\n2147483647\r\n0.8500\r\n"),  // lamps per fixture
    };
    for (const auto& bytes : nonsense) {
        put(at("n.OLE"), bytes);
        auto r = runCli({"validate", at("n.OLE")});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(kDamaged), std::string::npos) << r.err;
    }
}

} // namespace
