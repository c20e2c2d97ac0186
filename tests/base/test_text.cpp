// Tests of the CP932 codec, line splitting, number conversion and the bounded file helpers.
#include "base/Cp932.h"
#include "base/Text.h"
#include "base/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("ordivan_base_" + name)).string();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Cp932, HalfWidthKatakanaWaveDashAndKanjiSurviveTheRoundTrip) {
    const std::string text = "ｷｬﾝｾﾙ 照度～ ＤＸＦ １０";
    const std::string bytes = base::utf8ToCp932(text);
    EXPECT_EQ(base::cp932ToUtf8(bytes), text);
    // Half-width katakana take one byte each in the file, kanji two.
    EXPECT_EQ(base::cp932ByteLength("ｷｬﾝｾﾙ"), 5u);
    EXPECT_EQ(base::cp932ByteLength("照度"), 4u);
    EXPECT_EQ(bytes.substr(0, 5), "\xB7\xAC\xDD\xBE\xD9");
}

TEST(Cp932, InvalidBytesBecomeReplacementCharactersInsteadOfFailing) {
    const std::string decoded = base::cp932ToUtf8(std::string("A\x81\x20" "B\xFF", 5));
    EXPECT_NE(decoded.find('A'), std::string::npos);
    EXPECT_NE(decoded.find('B'), std::string::npos);
    EXPECT_NE(decoded.find("\xEF\xBF\xBD"), std::string::npos);
    // A lone lead byte at the very end is not read past.
    EXPECT_EQ(base::cp932ToUtf8(std::string("\x88", 1)), "\xEF\xBF\xBD");
}

TEST(Cp932, CuttingByBytesNeverSplitsADoubleByteCharacter) {
    EXPECT_EQ(base::truncateCp932("ABC照度", 4), "ABC");
    EXPECT_EQ(base::truncateCp932("ABC照度", 5), "ABC照");
    auto [head, rest] = base::splitCp932("ＬＥＤ蛍光ランプ４０形", 16);
    EXPECT_LE(base::cp932ByteLength(head), 16u);
    EXPECT_EQ(head + rest, "ＬＥＤ蛍光ランプ４０形");
    EXPECT_EQ(head, "ＬＥＤ蛍光ランプ");
}

TEST(Fields, SplitsAtEveryCommaNumberedFromOneWithoutQuoting) {
    base::Fields f("L,120,80,,\"a,b\"");
    EXPECT_EQ(f.count(), 6);
    EXPECT_EQ(f[1], "L");
    EXPECT_EQ(f[2], "120");
    EXPECT_EQ(f[4], "");
    EXPECT_EQ(f[5], "\"a");
    EXPECT_EQ(f[0], "");
    EXPECT_EQ(f[99], "");
}

TEST(Fields, KeepsAtMostThirtyNineFields) {
    std::string line;
    for (int i = 1; i <= 50; ++i) line += std::to_string(i) + ",";
    base::Fields f(line);
    EXPECT_EQ(f.count(), 39);
    EXPECT_EQ(f[39], "39");
    EXPECT_EQ(f[40], "");
}

TEST(Conversion, IntegersMustBeWholeDecimalNumbersWithinThirtyTwoBits) {
    EXPECT_EQ(base::toInt("3000"), 3000);
    EXPECT_EQ(base::toInt("-1"), -1);
    EXPECT_EQ(base::toInt("2147483647"), 2147483647);
    for (const char* bad : {"", "abc", "12a", "1.5", "2147483648", "0x10", " "}) {
        EXPECT_FALSE(base::isInt(bad)) << bad;
    }
    try {
        base::toInt("abc");
        FAIL();
    } catch (const base::ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' は数値ではありません");
    }
}

TEST(Conversion, RealsAcceptDecimalNotationOnly) {
    EXPECT_DOUBLE_EQ(base::toFloat("0.80"), 0.8);
    EXPECT_DOUBLE_EQ(base::toFloat("-1.00"), -1.0);
    EXPECT_DOUBLE_EQ(base::toFloat("1e3"), 1000.0);
    for (const char* bad : {"", "abc", "nan", "inf", "1,5", "1e999"}) {
        EXPECT_FALSE(base::isFloat(bad)) << bad;
    }
    try {
        base::toFloat("x");
        FAIL();
    } catch (const base::ConversionError& e) {
        EXPECT_STREQ(e.what(), "'x' は浮動小数点数ではありません");
    }
}

TEST(Conversion, LeadingNumericPartReadsWhatPrecedesTheFirstOtherCharacter) {
    EXPECT_EQ(base::leadingInt("50abc"), 50);
    EXPECT_EQ(base::leadingInt("abc"), 0);
    EXPECT_EQ(base::leadingInt("-7"), -7);
    EXPECT_EQ(base::leadingInt("99999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(base::leadingFloat("0.80mm"), 0.8);
    EXPECT_DOUBLE_EQ(base::leadingFloat(""), 0.0);
}

TEST(Formatting, UsesAPointWhateverTheLocale) {
    EXPECT_EQ(base::formatFixed(0.8, 2), "0.80");
    EXPECT_EQ(base::formatFixed(-1, 2), "-1.00");
    EXPECT_EQ(base::formatFixed(0.85f, 4), "0.8500");
    EXPECT_EQ(base::formatFixed(2.5, 0), "2");  // halves go to even, as printf does
    EXPECT_EQ(base::formatInt(-42), "-42");
}

TEST(LineReader, AcceptsCrLfAndLfAndReportsOverlongLines) {
    const std::string path = tempPath("lines.txt");
    writeBytes(path, "one\r\ntwo\n" + std::string(300, 'x') + "\nlast");
    base::LineReader reader(path);
    ASSERT_TRUE(reader.isOpen());
    std::string line;
    EXPECT_EQ(reader.next(line), base::LineReader::Status::Line);
    EXPECT_EQ(line, "one");
    EXPECT_EQ(reader.next(line), base::LineReader::Status::Line);
    EXPECT_EQ(line, "two");
    EXPECT_EQ(reader.next(line), base::LineReader::Status::TooLong);
    EXPECT_EQ(reader.next(line), base::LineReader::Status::Line);
    EXPECT_EQ(line, "last");
    EXPECT_EQ(reader.next(line), base::LineReader::Status::End);
    std::remove(path.c_str());
}

TEST(LineReader, ALineOfExactly299BytesIsStillALine) {
    const std::string path = tempPath("edge.txt");
    writeBytes(path, std::string(299, 'y') + "\r\n");
    base::LineReader reader(path);
    std::string line;
    EXPECT_EQ(reader.next(line), base::LineReader::Status::Line);
    EXPECT_EQ(line.size(), 299u);
    std::remove(path.c_str());
}

TEST(AtomicFileWriter, ReplacesTheOldFileOnlyOnCommit) {
    const std::string path = tempPath("atomic.txt");
    writeBytes(path, "old");
    {
        base::AtomicFileWriter w(path);
        ASSERT_TRUE(w.isOpen());
        w.writeLine("新しい");
        // Abandoned without commit: the old file stays and no temporary is left.
    }
    EXPECT_EQ(readBytes(path), "old");
    {
        base::AtomicFileWriter w(path);
        w.writeLine("新しい");
        EXPECT_TRUE(w.commit());
    }
    EXPECT_EQ(readBytes(path), base::utf8ToCp932("新しい") + "\r\n");
    std::remove(path.c_str());
}

// Two saves to one file at once: each temporary is its own, so the file holds one whole content,
// that of the save that finished last, and nothing else is left in the folder.
TEST(AtomicFileWriter, OverlappingWritesToOneFileEachLandWhole) {
    const auto dir = std::filesystem::temp_directory_path() / ("ordivan_base_overlap_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "p.OLE").string();
    base::AtomicFileWriter first(path), second(path);
    ASSERT_TRUE(first.isOpen() && second.isOpen());
    first.write(std::string(100000, 'a'));
    second.write(std::string(100, 'b'));
    EXPECT_TRUE(second.commit());
    EXPECT_EQ(readBytes(path), std::string(100, 'b'));
    EXPECT_TRUE(first.commit());
    EXPECT_EQ(readBytes(path), std::string(100000, 'a'));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    std::filesystem::remove_all(dir);
}

TEST(BoundedReads, OnlyRegularFilesAreReadAndNeverPastTheirBound) {
    const std::string fifo = tempPath("fifo_" + std::to_string(::getpid()));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string bytes;
    // Neither waits for a writer that never comes nor reads an endless device.
    EXPECT_EQ(base::readWholeFile(fifo, 100, bytes), base::WholeRead::CannotOpen);
    EXPECT_FALSE(base::LineReader(fifo).isOpen());
    EXPECT_EQ(base::readWholeFile("/dev/zero", 100, bytes), base::WholeRead::CannotOpen);
    EXPECT_FALSE(base::LineReader("/dev/zero").isOpen());
    std::remove(fifo.c_str());
    const std::string path = tempPath("bounded.txt");
    writeBytes(path, std::string(101, 'x'));
    EXPECT_EQ(base::readWholeFile(path, 100, bytes), base::WholeRead::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(base::readWholeFile(path, 101, bytes), base::WholeRead::Ok);
    EXPECT_EQ(bytes.size(), 101u);
    std::remove(path.c_str());
}

TEST(AtomicFileWriter, AFolderThatDoesNotExistFailsWithoutCreatingAnything) {
    base::AtomicFileWriter w("/nonexistent-folder-ordivan/x.OLE");
    EXPECT_FALSE(w.isOpen());
    w.writeLine("x");
    EXPECT_FALSE(w.commit());
}

} // namespace
