// ordivan-cli catalogue commands on the sample catalogue: search, show, register round trip, list-csv.
#include "support/TestPaths.h"
#include "app/Cli.h"

#include "app/Startup.h"
#include "base/Cp932.h"
#include "catalog/Catalog.h"
#include "model/ProjectFile.h"
#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string sampleDir() { return testsupport::sourceDir() + "/data/zolt_data"; }

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

class CliCatalog : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ordivan_cli_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        // An empty plan with a scale, as the program saves a new project.
        model::Document doc;
        model::WindowShown shown;
        app::initialiseDocument(doc, shown, app::ScreenInfo{}, 1915, 900);
        doc.plan.mmPerPixel = 10;
        doc.plan.scaleDenominator = 100;
        catalog::TourokuTable t;
        ASSERT_TRUE(model::writeProject(dir + "/empty.OLE", doc, t, services));
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        // The photometric import reads no catalogue and takes no --data.
        if (args[0] != "import-photometry") {
            args.push_back("--data");
            args.push_back(sampleDir());
        }
        return app::runCli(args, services, out, err);
    }

    std::string dir;
    ui::testing::FakeServices services;
    std::ostringstream out, err;
};

} // namespace

TEST_F(CliCatalog, SearchListsEachProductOnceSortedAndAMissingCatalogueSaysSoInOrder) {
    ASSERT_EQ(run({"catalog", "search", "DL-10"}), 0);
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    ASSERT_GE(lines.size(), 5u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("DL-10", 0), 0u) << lines[i];
        if (i) {
            EXPECT_LT(lines[i - 1], lines[i]);
        }
    }
    out.str("");
    EXPECT_EQ(app::runCli({"catalog", "search", "DL", "--data", dir + "/none"}, services, out, err), 1);
    const auto texts = services.allTexts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], "ordivan-cli: " + dir + "/none/T_Hinban2013.csvが見つかりません");
    EXPECT_EQ(texts[1], "ordivan-cli: " + dir + "/none/t_haikou2010.csvが見つかりません");
    EXPECT_EQ(texts[2], "ordivan-cli: " + dir + "/none/T_Lamp2010.csvが見つかりません");
    EXPECT_EQ(texts[3], "ordivan-cli: " + dir + "/none/T_RGB.LECが見つかりません");
    EXPECT_EQ(texts[4], "ordivan-cli: 該当する品番がありません");
}

TEST_F(CliCatalog, ShowListsTheLampChoicesAndMarksRefusedOnes) {
    ASSERT_EQ(run({"catalog", "show", "FL-1007B"}), 0);
    EXPECT_NE(out.str().find("品番: FL-1007B"), std::string::npos);
    EXPECT_NE(out.str().find("1: "), std::string::npos);
    EXPECT_EQ(out.str().find("登録不可"), std::string::npos);
    ASSERT_EQ(run({"catalog", "show", "WW-1007B"}), 0);
    EXPECT_NE(out.str().find("登録不可"), std::string::npos);
    EXPECT_EQ(run({"catalog", "show", "NOPE"}), 1);
}

TEST_F(CliCatalog, RegisterFillsTheSlotAndItsBlockRoundTripsThroughTheProjectFile) {
    const std::string outFile = dir + "/out.OLE";
    ASSERT_EQ(run({"register", dir + "/empty.OLE", "--slot", "20", "--hinban", "FL-1007B", "--lamp", "L019", "--out", outFile}), 0)
        << err.str();
    model::ProjectContent content;
    ASSERT_EQ(model::parseProject(outFile, content), model::ParseError::None);
    ASSERT_EQ(content.types.size(), 1u);
    const auto& [slot, t] = content.types[0];
    EXPECT_EQ(slot, 20);
    EXPECT_EQ(t.hinban, "FL-1007B");
    EXPECT_EQ(t.lampNameA, "FHF32EX-3520-3000K");
    EXPECT_EQ(t.tosu, 2);
    EXPECT_EQ(t.kou, 3520);
    EXPECT_EQ(t.colorTemp, 3000);

    // The stored planes carry the catalogue's own values at the stored angles.
    ui::testing::FakeServices quiet;
    catalog::Catalog cat;
    cat.load(sampleDir(), quiet);
    const auto d = cat.distribution(t.haikouCode);
    EXPECT_EQ(t.planeCount, d.planeCount);
    for (int p = 0; p < 3; ++p) {
        for (int g = 0; g <= 180; ++g) {
            if (g > 20 && g % 5) continue;
            EXPECT_NEAR(t.intensity[static_cast<std::size_t>(p)][static_cast<std::size_t>(g)],
                        d.intensity[static_cast<std::size_t>(p)][static_cast<std::size_t>(g)], 0.01)
                << p << "/" << g;
        }
    }
    // Read and written again, the file is the same.
    ASSERT_EQ(app::runCli({"save", outFile, dir + "/again.OLE"}, services, out, err), 0);
    EXPECT_EQ(readFile(outFile), readFile(dir + "/again.OLE"));
}

TEST_F(CliCatalog, RegisterRefusesAsymmetricProductsUnknownLampsAndBadSlots) {
    EXPECT_EQ(run({"register", dir + "/empty.OLE", "--slot", "1", "--hinban", "WW-1007B", "--out", dir + "/x.OLE"}), 1);
    const auto texts = services.allTexts();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.rfind("ordivan-cli: 非対称の配光を持つ器具は", 0) == 0; }))
        << "the refusal in the command line's one message layout";
    EXPECT_EQ(run({"register", dir + "/empty.OLE", "--slot", "1", "--hinban", "DL-1000", "--lamp", "L999", "--out", dir + "/x.OLE"}), 1);
    EXPECT_EQ(run({"register", dir + "/empty.OLE", "--slot", "37", "--hinban", "DL-1000", "--out", dir + "/x.OLE"}), 2);
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.OLE"));
}

TEST_F(CliCatalog, RegisterWithWattsStoresThePowerInItsOwnSectionAndOnlyThen) {
    ASSERT_EQ(run({"register", dir + "/empty.OLE", "--slot", "3", "--hinban", "DL-1000", "--out", dir + "/plain.OLE"}), 0);
    ASSERT_EQ(run({"register", dir + "/empty.OLE", "--slot", "3", "--hinban", "DL-1000", "--watts", "9.5", "--out",
                   dir + "/power.OLE"}), 0) << err.str();
    const std::string plain = readFile(dir + "/plain.OLE"), power = readFile(dir + "/power.OLE");
    EXPECT_EQ(plain.find("POWER"), std::string::npos);
    // The same file with the section after all the others.
    EXPECT_EQ(power, plain + "POWER\r\n3,9.50\r\nEND\r\n");
    model::ProjectContent content;
    ASSERT_EQ(model::parseProject(dir + "/power.OLE", content), model::ParseError::None);
    EXPECT_FLOAT_EQ(content.types.at(0).second.watts, 9.5f);
    ASSERT_EQ(app::runCli({"save", dir + "/power.OLE", dir + "/again.OLE"}, services, out, err), 0);
    EXPECT_EQ(readFile(dir + "/again.OLE"), power);
    // Registering the slot again, without a power, drops it.
    ASSERT_EQ(run({"register", dir + "/power.OLE", "--slot", "3", "--hinban", "DL-1000", "--out", dir + "/re.OLE"}), 0);
    EXPECT_EQ(readFile(dir + "/re.OLE"), plain);

    for (const char* wrong : {"-1", "ten", "100001", "inf"}) {
        EXPECT_EQ(run({"register", dir + "/empty.OLE", "--slot", "3", "--hinban", "DL-1000", "--watts", wrong, "--out",
                       dir + "/x.OLE"}), 2) << wrong;
        EXPECT_NE(err.str().find("--watts"), std::string::npos) << wrong;
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.OLE"));
}

TEST_F(CliCatalog, ListCsvWritesThePlacedTypesOnly) {
    ASSERT_EQ(run({"register", dir + "/empty.OLE", "--slot", "3", "--hinban", "DL-1000", "--out", dir + "/a.OLE"}), 0);
    ASSERT_EQ(run({"list-csv", dir + "/a.OLE", "--out", dir + "/list.csv", "--date", "2026/12/08", "--object-name", "本社"}), 0);
    // Nothing placed: only the heading lines.
    EXPECT_EQ(base::cp932ToUtf8(readFile(dir + "/list.csv")),
              "物件名 :,本社\r\n,,,,,2026/12/08\r\n品番,オプション,ランプ名,ランプ数,全光束(1灯),器具数\r\n");
    EXPECT_EQ(run({"list-csv", dir + "/a.OLE", "--out", dir + "/none/list.csv"}), 1);
    EXPECT_EQ(run({"list-csv", dir + "/a.OLE", "--out", dir + "/l.csv", "--mode", "X"}), 2);
}

TEST_F(CliCatalog, ImportPhotometryStoresTheFilesValuesPerKilolumenInTheProject) {
    // A rotationally symmetric IES file at 5° steps: 2 lamps of 2500 lm, intensities in cd.
    std::string text = "IESNA:LM-63-2002\r\n[LUMCAT] IMPORT-1\r\nTILT=NONE\r\n2 2500 1 19 1 1 2 0.1 0.3 0\r\n1 1 20\r\n";
    for (int g = 0; g <= 90; g += 5) text += std::to_string(g) + " ";
    text += "\r\n0\r\n";
    std::vector<double> cd;
    for (int g = 0; g <= 90; g += 5) {
        cd.push_back(g == 90 ? 0 : 800 * std::pow(std::cos(g * M_PI / 180), 2) + 10);
        text += std::to_string(cd.back()) + " ";
    }
    {
        std::ofstream f(dir + "/lum.ies", std::ios::binary);
        f << text;
    }
    const std::string outFile = dir + "/imp.OLE";
    ASSERT_EQ(run({"import-photometry", dir + "/lum.ies", dir + "/empty.OLE", "--slot", "12", "--out", outFile}), 0) << err.str();
    model::ProjectContent content;
    ASSERT_EQ(model::parseProject(outFile, content), model::ParseError::None);
    ASSERT_EQ(content.types.size(), 1u);
    const auto& [slot, t] = content.types[0];
    EXPECT_EQ(slot, 12);
    EXPECT_EQ(t.hinban, "IMPORT-1");
    EXPECT_EQ(t.kou, 2500);
    EXPECT_EQ(t.tosu, 2);
    EXPECT_EQ(t.sizeX, 300);
    EXPECT_EQ(t.sizeY, 100);
    for (int i = 0; i < 19; ++i) {
        // The project keeps two decimals per value.
        EXPECT_NEAR(t.intensity[0][static_cast<std::size_t>(5 * i)], cd[static_cast<std::size_t>(i)] * 1000 / 5000, 0.006) << i;
    }
    std::ofstream(dir + "/bad.ies") << "IESNA:LM-63-2002\r\nTILT=NONE\r\n1 1000 1 3 1 2 2 0 0 0\r\n";
    EXPECT_EQ(run({"import-photometry", dir + "/bad.ies", dir + "/empty.OLE", "--slot", "12", "--out", dir + "/x.OLE"}), 1);
    EXPECT_NE(services.allTexts().back().find("配光データファイルとして読み込めません"), std::string::npos);
}
