// The pictures and printed sheets of ordivan-cli in the users' own locale: the same bytes as in C.UTF-8.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace {

namespace fs = std::filesystem;
using testsupport::shellQuote;

bool japaneseLocaleInstalled() {
    return testsupport::capture("locale -a 2>/dev/null").find("ja_JP.utf8") != std::string::npos;
}

// Runs ordivan-cli with `words` in the locale `lang` and returns its exit status.
int runIn(const std::string& lang, const std::string& words) {
    const std::string command = "LANG=" + lang + " LC_ALL=" + lang + " LANGUAGE= " + shellQuote(testsupport::cliPath()) + words +
                                " >/dev/null 2>&1";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// A PDF's bytes without the moment it was made.
std::string withoutCreationDate(const std::string& pdf) {
    return std::regex_replace(pdf, std::regex("\\(D:[0-9]{14}[^)]*\\)"), "(D:)");
}

// In a Japanese locale the font database names the Gothic fonts in Japanese; the texts of the plan,
// the legend and the sheets must still be drawn in the same Gothic font, not a serif fallback.
TEST(CliLocale, PicturesAndSheetsAreTheSameBytesInAJapaneseLocale) {
    if (!japaneseLocaleInstalled()) GTEST_SKIP() << "ja_JP.UTF-8 is not installed (scripts/install-deps installs it)";
    const std::string sample = testsupport::sourceDir() + "/data/samples/task_areas.OLE";
    const fs::path folder = fs::temp_directory_path() / ("ordivan_locale_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (const std::string lang : {"C.UTF-8", "ja_JP.UTF-8"}) {
        const fs::path out = folder / lang;
        fs::create_directories(out);
        auto at = [&out](const char* name) { return shellQuote((out / name).string()); };
        ASSERT_EQ(runIn(lang, " calc " + shellQuote(sample) + " --step 5 --fixtures --png " + at("plan.png") + " --pdf " +
                                  at("sheet.pdf") + " --date 2026-12-08"),
                  0)
            << lang;
        ASSERT_EQ(runIn(lang, " calc " + shellQuote(sample) + " --step 5 --kind T --bmp " + at("contours.bmp")), 0) << lang;
        ASSERT_EQ(runIn(lang, " curve " + shellQuote(sample) + " --slot 1 --png " + at("curve.png") + " --pdf " + at("curve.pdf") + " --date 2026-12-08"), 0)
            << lang;
        ASSERT_EQ(runIn(lang, " list-print " + shellQuote(sample) + " --pdf " + at("list.pdf")), 0) << lang;
    }
    for (const char* name : {"plan.png", "contours.bmp", "curve.png"})
        EXPECT_TRUE(testsupport::slurp(folder / "C.UTF-8" / name) == testsupport::slurp(folder / "ja_JP.UTF-8" / name)) << name;
    for (const char* name : {"sheet.pdf", "curve.pdf", "list.pdf"}) {
        const std::string c = testsupport::slurp(folder / "C.UTF-8" / name);
        ASSERT_FALSE(c.empty()) << name;
        EXPECT_TRUE(withoutCreationDate(c) == withoutCreationDate(testsupport::slurp(folder / "ja_JP.UTF-8" / name))) << name;
    }
    fs::remove_all(folder);
}

} // namespace
