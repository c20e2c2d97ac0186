// The search for the data folders: the given folder, the variable, beside the executable, the installed layout.
#include "base/DataDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class DataDir : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("ordivan_data_dir_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(bin);
    }
    void TearDown() override { fs::remove_all(root); }

    std::string find(const std::string& name, const std::string& given = {}, const std::string& variable = {}) {
        return base::findDataDir(name, given, variable, bin.string());
    }

    fs::path root;
    fs::path bin = fs::temp_directory_path() / ("ordivan_data_dir_" + std::to_string(::getpid())) / "usr" / "bin";
};

TEST_F(DataDir, TheInstalledLayoutIsFoundFromTheExecutableAndTheFolderBesideItComesFirst) {
    // Nothing anywhere: the folder beside the executable, so the missing-file messages name it.
    EXPECT_EQ(find("zolt_data"), (bin / "zolt_data").string());
    fs::create_directories(root / "usr" / "share" / "ordivan" / "zolt_data");
    fs::create_directories(root / "usr" / "share" / "ordivan" / "samples");
    EXPECT_EQ(find("zolt_data"), (root / "usr" / "share" / "ordivan" / "zolt_data").string());
    EXPECT_EQ(find("samples"), (root / "usr" / "share" / "ordivan" / "samples").string());
    fs::create_directories(bin / "zolt_data");
    EXPECT_EQ(find("zolt_data"), (bin / "zolt_data").string());
    // A plain file of that name beside the executable is no data folder.
    std::ofstream(bin / "samples") << "x";
    EXPECT_EQ(find("samples"), (root / "usr" / "share" / "ordivan" / "samples").string());
}

TEST_F(DataDir, TheGivenFolderThenTheVariableOverrideTheSearchForTheCatalogueOnly) {
    fs::create_directories(bin / "zolt_data");
    fs::create_directories(bin / "samples");
    EXPECT_EQ(find("zolt_data", "/given", "/from/variable"), "/given");
    EXPECT_EQ(find("zolt_data", "", "/from/variable"), "/from/variable");
    // ORDIVAN_DATA names a catalogue folder; the samples are not in it.
    EXPECT_EQ(find("samples", "", "/from/variable"), (bin / "samples").string());
}

TEST_F(DataDir, TheRunningProgramSearchesFromItsOwnFolderNotTheWorkingOne) {
    ::unsetenv("ORDIVAN_DATA");
    const fs::path before = fs::current_path();
    fs::current_path(root);
    fs::create_directories(root / "zolt_data");
    const std::string found = base::findDataDir("zolt_data", "");
    fs::current_path(before);
    EXPECT_EQ(fs::path(found).parent_path(), fs::path(base::executableDir()));
    EXPECT_TRUE(fs::path(found).is_absolute());
}

} // namespace
