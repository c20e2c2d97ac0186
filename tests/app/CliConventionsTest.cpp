// ordivan-cli as a shell user meets it: help and version on stdout, wrong usage named, files named in messages, the README's usage.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

using testsupport::runCli;

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
    EXPECT_EQ(option.err.rfind("ordivan-cli register: unknown option --lamps\nusage:\n  ordivan-cli register", 0), 0u)
        << option.err;
    const auto missing = runCli({"register", "x.OLE", "--slot", "1", "--out", "y.OLE"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err.rfind("ordivan-cli register: --hinban missing\n", 0), 0u) << missing.err;
    // A value that starts with a dash is a value, not an option.
    const auto value = runCli({"list-csv", "/nonexistent/x.OLE", "--out", "-", "--object-name", "-A-"});
    EXPECT_EQ(value.status, 1) << value.err;

    EXPECT_EQ(runCli({}).status, 2);
}

TEST(CliConventions, AMessageAboutAFileNamesTheFileBeforeTheSystemsText) {
    const auto read = runCli({"validate", "/nonexistent/x.OLE"});
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(read.err, "/nonexistent/x.OLE: ファイルが読み込めません\n");

    const std::string sample = testsupport::sourceDir() + "/data/samples/room_sample.OLE";
    const auto write = runCli({"save", sample, "/nonexistent/dir/out.OLE"});
    EXPECT_EQ(write.status, 1);
    EXPECT_EQ(write.err, "/nonexistent/dir/out.OLE: ファイルに書き込みできません\n");
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
