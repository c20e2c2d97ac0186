// ordivan-cli as a shell user meets it: help and version on stdout, wrong usage named, files named in messages, the README's usage.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

using testsupport::runCli;
namespace fs = std::filesystem;

std::set<std::string> optionsIn(const std::string& text) {
    std::set<std::string> out;
    const std::regex option("--[a-z][a-z-]*");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        out.insert(it->str());
    return out;
}

TEST(CliConventions, HelpAndVersionGoToStandardOutputWithSuccess) {
    for (const char* help : {"--help", "-h"}) {
        const auto r = runCli({help});
        EXPECT_EQ(r.status, 0) << help;
        EXPECT_EQ(r.err, "") << help;
        EXPECT_NE(r.out.find("ordivan-cli calc PROJECT.OLE"), std::string::npos) << help;
    }
    const auto calc = runCli({"calc", "--help"});
    EXPECT_EQ(calc.status, 0);
    EXPECT_NE(calc.out.find("--dxf-type"), std::string::npos);
    EXPECT_EQ(calc.out.find("list-print"), std::string::npos) << "only the command's own usage";

    const auto version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("ordivan-cli \\(ORDIVAN\\) [0-9]+\\.[0-9]+(\\.[0-9]+)?\n")))
        << version.out;
}

TEST(CliConventions, WrongUsageSaysWhatWasWrongThenTheUsage) {
    const auto command = runCli({"calculate", "x.OLE"});
    EXPECT_EQ(command.status, 2);
    EXPECT_EQ(command.out, "");
    EXPECT_EQ(command.err.rfind("ordivan-cli: unknown command 'calculate'\nusage:\n", 0), 0u) << command.err;

    // A misspelt option is not ignored: the register would otherwise run without the lamp asked for.
    const auto option = runCli({"register", "x.OLE", "--slot", "1", "--hinban", "H", "--lamps", "2", "--out", "y.OLE"});
    EXPECT_EQ(option.status, 2);
    EXPECT_EQ(option.err.rfind("ordivan-cli: register: unknown option --lamps\nusage:\n  ordivan-cli register", 0), 0u)
        << option.err;
    const auto missing = runCli({"register", "x.OLE", "--slot", "1", "--out", "y.OLE"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err.rfind("ordivan-cli: register: --hinban missing\n", 0), 0u) << missing.err;
    // A value that starts with a dash is a value, not an option.
    const auto value = runCli({"list-csv", "/nonexistent/x.OLE", "--out", "-", "--object-name", "-A-"});
    EXPECT_EQ(value.status, 1) << value.err;

    EXPECT_EQ(runCli({}).status, 2);
}

TEST(CliConventions, AMessageAboutAFileNamesTheFileBeforeTheSystemsText) {
    const auto read = runCli({"validate", "/nonexistent/x.OLE"});
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(read.err, "ordivan-cli: /nonexistent/x.OLE: ファイルが読み込めません\n");

    const std::string sample = testsupport::sourceDir() + "/data/samples/room_sample.OLE";
    const auto write = runCli({"save", sample, "/nonexistent/dir/out.OLE"});
    EXPECT_EQ(write.status, 1);
    EXPECT_EQ(write.err, "ordivan-cli: /nonexistent/dir/out.OLE: ファイルに書き込みできません\n");

    // An output refused before the calculation, and a refusal after the project was read.
    const auto picture = runCli({"calc", sample, "--step", "7", "--png", "/nonexistent/dir/plan.png"});
    EXPECT_EQ(picture.status, 1);
    EXPECT_EQ(picture.err, "ordivan-cli: /nonexistent/dir/plan.png: ファイルに書き込みできません\n");
    const std::string empty = testsupport::sourceDir() + "/data/samples/empty.OLE";
    const auto nothing = runCli({"calc", empty});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err, "ordivan-cli: " + empty + ": 器具が配置されていません。\n");
}

TEST(CliConventions, OptionsTakeTheirValueAfterAnEqualsSignAndADoubleDashEndsThem) {
    const std::string sample = testsupport::sourceDir() + "/data/samples/room_sample.OLE";
    const auto spaced = runCli({"calc", sample, "--step", "7", "--kind", "T", "--json", "-"});
    const auto joined = runCli({"calc", "--step=7", "--kind=T", "--json=-", sample});
    ASSERT_EQ(spaced.status, 0) << spaced.err;
    ASSERT_EQ(joined.status, 0) << joined.err;
    const std::regex seconds("\"seconds\":[0-9.]+");
    EXPECT_EQ(std::regex_replace(joined.out, seconds, ""), std::regex_replace(spaced.out, seconds, ""));
    // A value may itself hold '=' and begin with a dash; a flag takes no value.
    EXPECT_EQ(runCli({"list-csv", sample, "--out=/dev/null", "--object-name=-a=b-"}).status, 0);
    const auto flagValue = runCli({"calc", sample, "--fixtures=yes"});
    EXPECT_EQ(flagValue.status, 2);
    EXPECT_EQ(flagValue.err.rfind("ordivan-cli: calc: unknown option --fixtures=yes\n", 0), 0u) << flagValue.err;

    // After `--` a word that begins with a dash is a project, and --help is a file name.
    const fs::path folder = fs::temp_directory_path() / ("ordivan_dashes_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::copy_file(sample, folder / "-plan.OLE", fs::copy_options::overwrite_existing);
    const std::string in = "cd " + testsupport::shellQuote(folder.string()) + " && " + testsupport::shellQuote(testsupport::cliPath());
    EXPECT_EQ(std::system((in + " validate -- -plan.OLE 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((in + " validate -plan.OLE 2>/dev/null").c_str()), 0) << "an option unless after --";
    EXPECT_EQ(std::system((in + " save --step 2>/dev/null -- -plan.OLE --help >/dev/null").c_str()) >> 8, 2)
        << "--step is not an option of save";
    EXPECT_EQ(std::system((in + " save -- -plan.OLE --help 2>/dev/null").c_str()), 0);
    EXPECT_EQ(runCli({"validate", (folder / "--help").string()}).status, 0) << "a path that ends in --help is a file";
    fs::remove_all(folder);
}

TEST(CliConventions, HelpAndVersionFailWhenTheirOutputCannotBeWritten) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const std::string cli = testsupport::shellQuote(testsupport::cliPath());
    for (const std::string words : {" --help", " --version", " calc --help"}) {
        const auto err = testsupport::capture(cli + words + " 2>&1 >/dev/full; echo status=$?");
        EXPECT_NE(err.find("ordivan-cli: -: ファイルに書き込みできません\n"), std::string::npos) << words << ": " << err;
        EXPECT_NE(err.find("status=1"), std::string::npos) << words << ": " << err;
    }
    // The window program answers the same two words without a window, and fails the same way.
    const std::string gui = testsupport::shellQuote((fs::path(testsupport::cliPath()).parent_path() / "ordivan").string());
    const std::string noDisplay = "QT_QPA_PLATFORM=none-at-all ";
    EXPECT_EQ(testsupport::capture(noDisplay + gui + " --version; echo status=$?"), "ordivan (ORDIVAN) " +
              runCli({"--version"}).out.substr(std::string("ordivan-cli (ORDIVAN) ").size()) + "status=0\n");
    const auto help = testsupport::capture(noDisplay + gui + " --help; echo status=$?");
    EXPECT_NE(help.find("usage: ordivan [PROJECT.OLE]"), std::string::npos) << help;
    EXPECT_NE(help.find("status=0"), std::string::npos) << help;
    EXPECT_EQ(testsupport::capture(noDisplay + gui + " --version >/dev/full; echo status=$?"), "status=1\n");
}

TEST(CliConventions, AProjectPastTheSizeLimitIsRefusedWithoutReadingIt) {
    // Four gigabytes of nothing, sparse: no disk is used, and reading it byte by byte took half a minute.
    const fs::path huge = fs::temp_directory_path() / ("ordivan_huge_" + std::to_string(::getpid()) + ".OLE");
    {
        std::ofstream f(huge, std::ios::binary);
    }
    fs::resize_file(huge, 4ULL << 30);
    const auto started = std::chrono::steady_clock::now();
    const auto r = runCli({"validate", huge.string()});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    fs::remove(huge);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ordivan-cli: " + huge.string() + ": ORDIVANﾌｧｲﾙではないか、破壊されています。\n");
    EXPECT_LT(seconds, 10.0);
}

TEST(CliConventions, TheReadmeAndTheUsageListTheSameOptions) {
    std::ifstream in(testsupport::sourceDir() + "/README.md");
    std::stringstream readme;
    readme << in.rdbuf();
    const std::string text = readme.str();
    const auto start = text.find("`ordivan-cli` runs the same engine");
    ASSERT_NE(start, std::string::npos);
    const auto blockStart = text.find("```", start);
    const auto blockEnd = text.find("```", blockStart + 3);
    ASSERT_NE(blockEnd, std::string::npos);
    const std::string block = text.substr(blockStart, blockEnd - blockStart);
    EXPECT_EQ(optionsIn(block), optionsIn(runCli({"--help"}).out));

    // Each command line of the README names the same options as that command's usage.
    std::istringstream lines(block);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, std::regex("^ordivan-cli ([a-z][a-z-]*) ")) || m[1] == "calc") continue;
        const auto usage = runCli({m[1].str(), "--help"}).out;
        for (const auto& o : optionsIn(line.substr(0, line.find('#'))))
            EXPECT_NE(usage.find(o), std::string::npos) << m[1] << " " << o;
    }
}

} // namespace
