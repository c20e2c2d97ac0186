// A test fixture with a scratch folder of its own (per process and test), removed afterwards, and the sample projects.
#pragma once
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace testsupport {

class ScratchFolderTest : public ::testing::Test {
protected:
    explicit ScratchFolderTest(std::string prefix) : prefix_(std::move(prefix)) {}

    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              (prefix_ + std::to_string(::getpid()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string at(const std::string& name) const { return (dir / name).string(); }
    static std::string sample(const std::string& name) {
        return (std::filesystem::path(sourceDir()) / "data" / "samples" / name).string();
    }
    static void put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::size_t filesInDir() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
    }

    std::filesystem::path dir;

private:
    std::string prefix_;
};

} // namespace testsupport
