// ordivan-cli report read back with pdftotext: its headings and page numbers, and its figures against calc --json on the same project.
#include "print/ReportSheets.h"
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testsupport::runCli;
using testsupport::slurp;

std::string sample(const char* name) { return (fs::path(testsupport::sourceDir()) / "data" / "samples" / name).string(); }
fs::path scratch(const std::string& name) {
    return fs::temp_directory_path() / ("ordivan_report_" + std::to_string(::getpid()) + "_" + name);
}

// The text of a JSON field as written: a number, true/false, or a string without its quotes.
std::string field(const std::string& json, const std::string& key) {
    std::smatch m;
    if (std::regex_search(json, m, std::regex("\"" + key + "\":(\"([^\"]*)\"|[-0-9.a-z]+)")))
        return m[2].matched ? m[2].str() : m[1].str();
    return {};
}

// The objects of a JSON array of flat objects ("areas", "slots").
std::vector<std::string> objects(const std::string& json, const std::string& key) {
    std::vector<std::string> out;
    const std::size_t at = json.find("\"" + key + "\":[");
    if (at == std::string::npos) return out;
    for (std::size_t i = json.find('[', at) + 1; i < json.size() && json[i] == '{';) {
        const std::size_t end = json.find('}', i);
        out.push_back(json.substr(i, end - i + 1));
        i = end + 1 + (json[end + 1] == ',' ? 1 : 0);
    }
    return out;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    return w;
}

// The first line of the text that begins (after blanks) with `head` followed by a blank.
std::string lineStarting(const std::string& text, const std::string& head) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && line.compare(first, head.size() + 1, head + " ") == 0) return line;
    }
    return {};
}

class CliReport : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v pdftotext >/dev/null 2>&1 && command -v pdffonts >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "poppler-utils are not installed";
    }
    const std::string data = (fs::path(testsupport::sourceDir()) / "data" / "zolt_data").string();
};

TEST_F(CliReport, EveryPartIsThereAndItsFiguresAreTheSummarysOnes) {
    const fs::path pdf = scratch("office.pdf"), text = scratch("office.txt");
    const std::string project = sample("report_office.OLE");
    const auto r = runCli({"report", project, "--pdf", pdf.string(), "--date", "2026-12-09", "--step", "3", "--data", data, "--quiet"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto summary = runCli({"calc", project, "--json", "-", "--step", "3", "--data", data, "--quiet"});
    ASSERT_EQ(summary.status, 0) << summary.err;
    const std::string& json = summary.out;

    const std::string fonts = scratch("fonts.txt").string();
    ASSERT_EQ(std::system(("pdffonts '" + pdf.string() + "' > '" + fonts + "'").c_str()), 0);
    std::istringstream fontLines(slurp(fonts));
    int listed = 0;
    for (std::string line; std::getline(fontLines, line);) {
        const auto w = words(line);
        if (w.size() < 7 || line.rfind("name", 0) == 0 || line.rfind("---", 0) == 0) continue;
        ++listed;
        EXPECT_EQ(w[w.size() - 5], "yes") << "not embedded: " << line;
    }
    EXPECT_GE(listed, 1);

    ASSERT_EQ(std::system(("pdftotext -layout -enc UTF-8 '" + pdf.string() + "' '" + text.string() + "'").c_str()), 0);
    const std::string t = slurp(text);
    for (const char* heading : print::kReportHeadings) EXPECT_NE(t.find(heading), std::string::npos) << heading;
    EXPECT_NE(t.find(print::kReportNotesHeading), std::string::npos);
    const long pages = std::count(t.begin(), t.end(), '\f');
    ASSERT_GE(pages, 5);
    for (long n = 1; n <= pages; ++n) {
        const std::string number = std::to_string(n) + " / " + std::to_string(pages);
        EXPECT_NE(t.find(number), std::string::npos) << number;
    }

    // The areas: the same digits as the summary, the source of each requirement, and the verdict.
    const auto areas = objects(json, "areas");
    ASSERT_EQ(areas.size(), 3u) << json;
    std::string failing;
    for (const std::string& a : areas) {
        const std::string name = field(a, "name");
        const auto w = words(lineStarting(t, name));
        ASSERT_GE(w.size(), 11u) << name << "\n" << t;
        EXPECT_EQ(w[1], field(a, "averageLux")) << name;
        EXPECT_EQ(w[2], field(a, "minLux")) << name;
        EXPECT_EQ(w[3], field(a, "maxLux")) << name;
        EXPECT_EQ(w[4], field(a, "uniformity")) << name;
        EXPECT_EQ(w[5], field(a, "minToMax")) << name;
        EXPECT_EQ(w[6], field(a, "requiredLux")) << name;
        EXPECT_EQ(w.back(), field(a, "wattsPerSquareMetre")) << name;
        EXPECT_EQ(w[w.size() - 2], field(a, "pass") == "true" ? "合格" : "不合格") << name;
        if (field(a, "pass") == "false") failing += (failing.empty() ? "" : "、") + name;
    }
    EXPECT_NE(t.find("要件：筆記・タイピング・読書・データ処理（EN 12464-1 事務所）"), std::string::npos);
    EXPECT_NE(t.find(std::string("要件：") + print::kReportHandTyped), std::string::npos);
    ASSERT_FALSE(failing.empty());
    EXPECT_NE(t.find("要件を満たさない作業領域：" + failing), std::string::npos) << failing;

    // The room's floor and the two surfaces the minimums speak of.
    const std::string room = json.substr(json.find("\"room\":{"));
    const auto floor = words(lineStarting(t, "室の床"));
    ASSERT_EQ(floor.size(), 6u) << t;
    EXPECT_EQ(floor[1], field(room, "floorArea"));
    EXPECT_EQ(floor[2], field(room, "averageLux"));
    EXPECT_EQ(floor[5], field(room, "uniformity"));
    const std::string checks = json.substr(json.find("\"surfaceChecks\":"));
    EXPECT_EQ(words(lineStarting(t, "壁")).at(1), field(checks, "averageLux"));

    // The schedule: each type's row, totals that are the sums of the rows, W/m² over the floor.
    const std::string power = json.substr(json.find("\"power\":{"));
    double watts = 0;
    long count = 0;
    for (const std::string& s : objects(power, "slots")) {
        const auto w = words(lineStarting(t, field(s, "slot")));
        ASSERT_EQ(w.size(), 8u) << t;
        EXPECT_EQ(w[1], field(s, "hinban"));
        EXPECT_EQ(w[3], field(s, "count"));
        EXPECT_EQ(w[4], field(s, "lumens"));
        EXPECT_EQ(w[5], field(s, "watts"));
        count += std::stol(w[3]);
        watts += std::stod(w[6]);
    }
    const auto total = words(lineStarting(t, "合計"));
    ASSERT_EQ(total.size(), 4u) << t;
    EXPECT_EQ(std::stol(total[1]), count);
    EXPECT_NEAR(std::stod(total[2]), watts, 0.005);
    EXPECT_EQ(total[2], field(power, "totalWatts"));
    char overall[32];
    std::snprintf(overall, sizeof overall, "%.1f", std::stod(field(power, "lumensPerWatt")));
    EXPECT_EQ(total[3], overall);
    const std::string perArea = field(power, "wattsPerSquareMetre");
    EXPECT_NE(t.find("床面積あたり：" + perArea + " W/m²"), std::string::npos) << perArea;
    EXPECT_NEAR(std::stod(perArea), std::stod(field(power, "totalWatts")) / std::stod(field(room, "floorArea")), 0.005);
    fs::remove(pdf);
    fs::remove(text);
    fs::remove(fonts);
}

TEST_F(CliReport, WrongUsageWritesNothing) {
    const fs::path pdf = scratch("refused.pdf");
    fs::remove(pdf);
    EXPECT_EQ(runCli({"report", sample("report_office.OLE")}).status, 2) << "no --pdf";
    EXPECT_EQ(runCli({"report", sample("report_office.OLE"), "--pdf", pdf.string(), "--reflectances", "0.7,0.5"}).status, 2);
    EXPECT_EQ(runCli({"report", sample("report_office.OLE"), "--pdf", pdf.string(), "--kind", "T"}).status, 2)
        << "the report draws every display itself";
    EXPECT_EQ(runCli({"report", sample("empty.OLE"), "--pdf", pdf.string(), "--data", data}).status, 1) << "nothing placed";
    EXPECT_FALSE(fs::exists(pdf));
}

} // namespace
