// Tests of the project file: the writer's exact lines, both reading passes, hostile files and the file flows.
#include "base/Cp932.h"
#include "catalog/Photometry.h"
#include "model/ProjectCommands.h"
#include "model/ProjectFile.h"
#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using ui::testing::FakeServices;

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("ordivan_project_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    static void writeBytes(const std::string& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
    static std::string readBytes(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Lines of a CP932 file as UTF-8, without their CR LF.
    static std::vector<std::string> readLines(const std::string& p) { return linesOf(readBytes(p)); }
    static std::vector<std::string> linesOf(const std::string& all) {
        std::vector<std::string> out;
        std::size_t start = 0;
        while (start < all.size()) {
            std::size_t end = all.find("\r\n", start);
            if (end == std::string::npos) end = all.size();
            out.push_back(base::cp932ToUtf8(all.substr(start, end - start)));
            start = end + 2;
        }
        return out;
    }
    static std::string joinCrLf(const std::vector<std::string>& lines) {
        std::string s;
        for (const auto& l : lines) s += base::utf8ToCp932(l) + "\r\n";
        return s;
    }

    // A project with one registered type, a line, an arc, two fixtures and a pillar.
    void fillSample() {
        doc.tenDaka = 2800;
        doc.plan.mmPerPixel = 0.8f;
        doc.plan.scaleDenominator = 50;
        doc.projectName = "物件Ａ";
        auto& t = touroku[3];
        t.hinban = "DL-100";
        t.haikouCode = "D1";
        t.lampName = "ＬＥＤ電球";
        t.lampNameA = "LED";
        t.catalogNote = "ﾒﾓ";
        t.tosu = 2;
        t.efficiency = 0.85f;
        t.planeCount = 2;
        t.kou = 1500;
        t.kouCatalog = 1600;
        t.colorTemp = 3000;
        t.maintClass = 2;
        t.lampReserved = -1;
        t.lampFactor = 0.9f;
        t.placedCount = 99;
        t.sizeX = 1200;
        t.sizeY = 100;
        for (int p = 0; p < 3; ++p) {
            for (int g = 0; g <= 180; ++g) t.intensity[p][g] = (g <= 20 || g % 5 == 0) ? static_cast<float>(1000 - 5 * g + p) : 0;
            catalog::expandStoredPlane(t.intensity[p]);
        }
        model::LineRecord l;
        l.kind = 'L';
        l.x1 = 120;
        l.y1 = 80;
        l.x2 = 480;
        l.y2 = 80;
        doc.plan.lines.add(l);
        model::LineRecord a;
        a.kind = 'A';
        a.x1 = 300;
        a.y1 = 200;
        a.x2 = 100;
        a.y2 = 200;
        a.x3 = 100;
        a.y3 = 100;
        a.x4 = 300;
        a.y4 = 300;
        doc.plan.lines.add(a);
        model::KiguRecord k{200, 150, 0, 3, 0, 200, 150, 0};
        doc.plan.kigu.add(k);
        k.heightOffset = 500;
        k.x = 250;
        doc.plan.kigu.add(k);
        model::HasiraRecord h{50, 300, 200, 12, 0};
        doc.plan.hasira.add(h);
    }

    fs::path dir;
    model::Document doc;
    model::WindowShown shown;
    catalog::TourokuTable touroku;
    FakeServices services;
};

TEST_F(ProjectFileTest, AnEmptyPlanIsTwelveLines) {
    doc.tenDaka = 3000;
    ASSERT_TRUE(model::writeProject(path("e.OLE"), doc, touroku, services));
    EXPECT_EQ(readBytes(path("e.OLE")), "3000\r\n-1.00\r\n-1\r\n\r\nTOUROKU\r\nEND\r\nLINE\r\nEND\r\nKIGU\r\nEND\r\nHASIRA\r\nEND\r\n");
    EXPECT_EQ(doc.currentFileName, path("e.OLE"));
}

TEST_F(ProjectFileTest, WritesTheExactRecordLines) {
    fillSample();
    touroku[5].kou = 100;  // data but no hinban: not written
    auto lines = linesOf(model::projectBytes(doc, touroku));
    ASSERT_GE(lines.size(), 5u + 21u);
    EXPECT_EQ(lines[0], "2800");
    EXPECT_EQ(lines[1], "0.80");
    EXPECT_EQ(lines[3], "物件Ａ");
    EXPECT_EQ(lines[5], "3");
    EXPECT_EQ(lines[6], "DL-100");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[13], "0.8500");
    EXPECT_EQ(lines[15], "1500,1600,3000,2,-1");
    EXPECT_EQ(lines[16], "0.90,99,1200,100");
    EXPECT_EQ(std::count(lines[17].begin(), lines[17].end(), ','), 20);
    EXPECT_EQ(std::count(lines[18].begin(), lines[18].end(), ','), 18);
    EXPECT_EQ(lines[18].substr(0, 20), "1000.0000,975.0000,9");
    EXPECT_EQ(lines[26], "END");
    EXPECT_EQ(lines[28], "L,120,80,480,80,0,0,0,0");
    EXPECT_EQ(lines[29], "A,300,200,100,200,100,100,300,300");
    EXPECT_EQ(lines[32], "3,200,150,0,200,150,0,0");
    EXPECT_EQ(lines[33], "3,250,150,500,200,150,0,0");
    EXPECT_EQ(lines[36], "50,300,200,12");
    EXPECT_EQ(lines.back(), "END");
}

TEST_F(ProjectFileTest, ReadingBackGivesTheSameFileExceptTheRecountedPlacedCount) {
    fillSample();
    ASSERT_TRUE(model::writeProject(path("a.OLE"), doc, touroku, services));
    model::Document doc2;
    catalog::TourokuTable t2;
    ASSERT_TRUE(model::readProject(path("a.OLE"), doc2, t2, services));
    EXPECT_EQ(t2[3].placedCount, 2);
    EXPECT_FLOAT_EQ(doc2.plan.mmPerPixel, 0.8f);
    EXPECT_EQ(doc2.plan.lines[2].isArc(), true);
    EXPECT_EQ(doc2.plan.lines[1].maxX, 480);
    EXPECT_EQ(t2[3].maintFactor[1], 0.85f);
    EXPECT_EQ(t2[3].lampNameA, "LED");
    ASSERT_TRUE(model::writeProject(path("b.OLE"), doc2, t2, services));
    auto first = readLines(path("a.OLE"));
    auto second = readLines(path("b.OLE"));
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (i == 16) {
            EXPECT_EQ(first[i], "0.90,99,1200,100");
            EXPECT_EQ(second[i], "0.90,2,1200,100");
        } else {
            EXPECT_EQ(first[i], second[i]) << "line " << i + 1;
        }
    }
    // The intermediate angles are rebuilt by interpolation between the stored 5° values.
    EXPECT_FLOAT_EQ(t2[3].intensity[1][22], t2[3].intensity[1][20] + (t2[3].intensity[1][25] - t2[3].intensity[1][20]) * 0.4f);
}

TEST_F(ProjectFileTest, ReadingDoesNotRescaleAndTakesTheFirstCharacterAsKind) {
    writeBytes(path("k.OLE"), joinCrLf({"3000", "0.80", "50", "", "TOUROKU", "END", "LINE", "Lxyz,1,2,3,4,5,6,7,8", "END",
                                        "KIGU", "3,10,20,0,10,20,0,0", "3,11,21,0,11,21,0,0", "END", "HASIRA", "END"}));
    ASSERT_TRUE(model::ProjectCommands(doc, shown, touroku, services).openPath(path("k.OLE")));
    EXPECT_EQ(doc.plan.lines[1].kind, 'L');
    EXPECT_EQ(doc.plan.lines[1].x4, 7);
    EXPECT_EQ(touroku[3].placedCount, 2);
    EXPECT_FLOAT_EQ(doc.plan.mmPerPixel, 0.8f);
    EXPECT_EQ(shown.scaleLabel, "縮尺：1/50");
}

TEST_F(ProjectFileTest, TheDrawingSurfaceGrowsToAPlanBeyondIt) {
    doc.surfaceWidth = 1200;
    doc.surfaceHeight = 900;
    writeBytes(path("g.OLE"), joinCrLf({"3000", "-1.00", "-1", "", "TOUROKU", "END", "LINE", "END", "KIGU",
                                        "1,1492,100,0,1492,100,0,0", "1,100,992,0,100,992,0,0", "END", "HASIRA", "END"}));
    ASSERT_TRUE(model::ProjectCommands(doc, shown, touroku, services).openPath(path("g.OLE")));
    EXPECT_EQ(doc.surfaceWidth, 1600);
    EXPECT_EQ(doc.surfaceHeight, 1100);
    EXPECT_EQ(shown.windowTitle, "ORDIVAN Ver 2.0  - [*]g.OLE  (ZOLT LIGHTING CORP.)");
}

TEST_F(ProjectFileTest, MalformedFilesAreRefusedWithTheSystemsMessageAndChangeNothing) {
    fillSample();
    ASSERT_TRUE(model::writeProject(path("ok.OLE"), doc, touroku, services));
    const std::string good = readBytes(path("ok.OLE"));
    const std::vector<std::string> bad = {
        joinCrLf({"3000", "abc", "-1", ""}),                                                    // header real
        joinCrLf({"3000", "1.00", "-1", "", "LINE", "L,1,2,x,4,5,6,7,8", "END"}),                 // line field
        joinCrLf({"3000", "1.00", "-1", "", "KIGU", "37,1,2,0,1,2,0,0", "END"}),                  // type index 37
        joinCrLf({"3000", "1.00", "-1", "", "KIGU", "0,1,2,0,1,2,0,0", "END"}),                   // type index 0
        joinCrLf({"3000", "1.00", "-1", "", "TOUROKU", "40", "H"}),                               // slot 40, cut short
        joinCrLf({"3000", "1.00", "-1", "", "HASIRA", "50,1,2,99999999999", "END"}),              // beyond 32 bits
        joinCrLf({"3000", "1.00", "-1", "", "LINE", std::string(400, '1'), "END"}),                // over-long line
        std::string("\x00\xFF\xFE\x81", 4),                                                       // garbage
        good.substr(0, good.size() / 2),                                                          // truncated mid-block
        // An intensity that a float cannot hold, or whose "%.4f" line would outgrow the line buffer,
        // would be written back as a file that cannot be read again.
        std::string(good).replace(good.find("1000.0000,"), 10, "1e30,"),
        std::string(good).replace(good.find("1000.0000,"), 10, "12345678.0,"),
        "",                                                                                       // empty
    };
    int n = 0;
    for (const auto& bytes : bad) {
        const std::string p = path("bad" + std::to_string(++n) + ".OLE");
        writeBytes(p, bytes);
        FakeServices s;
        EXPECT_FALSE(model::validateProject(p, s)) << "case " << n;
        ASSERT_EQ(s.messages.size(), 1u) << "case " << n;
        EXPECT_EQ(s.messages[0].text, ui::aboutFile("ORDIVANﾌｧｲﾙではないか、破壊されています。", p));
        EXPECT_EQ(s.messages[0].title, "読み込みエラー");
        EXPECT_EQ(s.messages[0].icon, ui::Icon::Stop);
        model::ProjectCommands commands(doc, shown, touroku, s);
        EXPECT_FALSE(commands.openPath(p));
        EXPECT_EQ(doc.plan.lines.count(), 2) << "case " << n;
        EXPECT_EQ(touroku[3].hinban, "DL-100");
    }
}

// A file cut short would otherwise read without complaint, and the next save would drop what was cut off.
TEST_F(ProjectFileTest, AProjectCutShortOrMissingASectionIsDamaged) {
    fillSample();
    ASSERT_TRUE(model::writeProject(path("whole.OLE"), doc, touroku, services));
    const std::string whole = readBytes(path("whole.OLE"));
    std::string lowerKigu = whole;
    lowerKigu.replace(lowerKigu.find("KIGU\r\n"), 4, "kigu");
    const std::vector<std::string> damaged = {
        whole.substr(0, whole.rfind("END\r\n")),  // without the last "END"
        lowerKigu,                                  // a section name in the wrong case
        joinCrLf({"3000", "1.00", "-1", "", "TOUROKU", "END", "LINE", "END", "KIGU", "END"}),  // no HASIRA
        joinCrLf({"3000", "1.00", "-1", ""}),
    };
    for (std::size_t n = 0; n < damaged.size(); ++n) {
        writeBytes(path("cut.OLE"), damaged[n]);
        FakeServices s;
        model::ProjectCommands commands(doc, shown, touroku, s);
        EXPECT_FALSE(commands.openPath(path("cut.OLE"))) << "case " << n;
        ASSERT_EQ(s.messages.size(), 1u) << "case " << n;
        EXPECT_EQ(s.messages[0].text, ui::aboutFile("ORDIVANﾌｧｲﾙではないか、破壊されています。", path("cut.OLE")));
        EXPECT_EQ(doc.plan.kigu.count(), 2);
    }
    // The sections may come in any order, as long as all four are there and closed.
    writeBytes(path("order.OLE"), joinCrLf({"3000", "1.00", "-1", "", "HASIRA", "END", "KIGU", "END", "LINE", "END", "TOUROKU", "END"}));
    EXPECT_TRUE(model::validateProject(path("order.OLE"), services));
}

// Random plans within what the program can hold: writing, reading and writing again gives the same
// bytes; and any damage the reader lets through is written back in a form it accepts again.
TEST_F(ProjectFileTest, RandomPlansSurviveWritingAndReadingBack) {
    std::mt19937 random(15);
    auto any = [&](std::int32_t lo, std::int32_t hi) { return std::uniform_int_distribution<std::int32_t>(lo, hi)(random); };
    auto real = [&](double bound) {
        const double magnitude = std::pow(10.0, std::uniform_real_distribution<double>(-3, std::log10(bound))(random));
        return static_cast<float>(any(0, 1) ? magnitude : -magnitude);
    };
    const std::vector<std::string> words = {"END", "TOUROKU", "KIGU", ",", "物件", "ｷｬﾝｾﾙ", "～", "A", " ", "0.5", ""};
    auto text = [&] {
        std::string t;
        for (int n = any(0, 8); n > 0; --n) t += words[static_cast<std::size_t>(any(0, static_cast<int>(words.size()) - 1))];
        return t;
    };
    for (int round = 0; round < 40; ++round) {
        model::Document d;
        catalog::TourokuTable t;
        d.tenDaka = any(model::kMinTenDaka, INT32_MAX);  // lower heights the reader refuses, as the dialog does
        d.plan.mmPerPixel = real(3.0e38);
        d.plan.scaleDenominator = any(INT32_MIN, INT32_MAX);
        d.projectName = text();
        for (int slot = 1; slot <= catalog::kSlotCount; ++slot) {
            if (any(0, 2) != 0) continue;
            catalog::BunpuHinban& b = t[slot];
            b.hinban = "H" + text();
            b.option = text();
            b.lampName = text();
            b.tosu = any(0, catalog::kMaxLampsPerFixture);
            b.efficiency = real(3.0e38);
            b.planeCount = any(INT32_MIN, INT32_MAX);
            b.kou = any(-catalog::kMaxLampLumens, catalog::kMaxLampLumens);
            b.colorTemp = any(INT32_MIN, INT32_MAX);
            b.maintClass = any(-1, 3);
            b.lampFactor = real(3.0e38);
            b.sizeX = any(INT32_MIN, INT32_MAX);
            for (auto& plane : b.intensity) {
                for (float& v : plane) v = std::fabs(real(catalog::kMaxIntensityPerKilolumen));
            }
        }
        for (int n = any(0, 20); n > 0; --n) {
            model::LineRecord l;
            do l.kind = any(0, 255);
            while (l.kind == '\n' || l.kind == ',');
            for (int i = 1; i <= 4; ++i) {
                l.setX(i, any(INT32_MIN, INT32_MAX));
                l.setY(i, any(INT32_MIN, INT32_MAX));
            }
            d.plan.lines.add(l);
        }
        for (int n = any(0, 20); n > 0; --n) {
            const int slot = any(1, catalog::kSlotCount);
            model::KiguRecord k;
            k.typeIndex = slot;
            k.x = any(INT32_MIN, INT32_MAX);
            k.y = any(INT32_MIN, INT32_MAX);
            k.heightOffset = any(-5000, 5000);
            k.anchorX = any(INT32_MIN, INT32_MAX);
            k.rotation = any(0, 1) * 90;
            d.plan.kigu.add(k);
            t.changePlacedCount(slot, +1);
        }
        for (int n = any(0, 5); n > 0; --n)
            d.plan.hasira.add(model::HasiraRecord{any(37, 60), any(INT32_MIN, INT32_MAX), any(INT32_MIN, INT32_MAX), any(0, 1000), 0});
        for (int n = any(-3, 4); n > 0; --n) {
            model::AreaRecord a{text(), any(INT32_MIN, INT32_MAX), any(INT32_MIN, INT32_MAX), any(INT32_MIN, INT32_MAX),
                                any(INT32_MIN, INT32_MAX), any(0, model::kMaxRequiredLux),
                                static_cast<float>(any(0, 100)) / 100.0f};
            model::normaliseArea(a);
            d.plan.areas.push_back(a);
        }

        const std::string first = model::projectBytes(d, t);
        model::ProjectContent content;
        ASSERT_EQ(model::parseProjectBytes(first, content), model::ParseError::None) << "round " << round;
        model::Document back;
        catalog::TourokuTable backTypes;
        model::applyProject("r.OLE", content, back, backTypes);
        ASSERT_EQ(model::projectBytes(back, backTypes), first) << "round " << round;

        // Damage: a byte changed, dropped or doubled here and there.
        std::string damaged = first;
        for (int n = any(1, 4); n > 0; --n) {
            const auto at = static_cast<std::size_t>(any(0, static_cast<int>(damaged.size()) - 1));
            switch (any(0, 2)) {
            case 0: damaged[at] = static_cast<char>(any(0, 255)); break;
            case 1: damaged.erase(at, 1); break;
            default: damaged.insert(at, 1, damaged[at]); break;
            }
        }
        if (model::parseProjectBytes(damaged, content) != model::ParseError::None) continue;
        model::Document again;
        catalog::TourokuTable againTypes;
        model::applyProject("d.OLE", content, again, againTypes);
        EXPECT_EQ(model::parseProjectBytes(model::projectBytes(again, againTypes), content), model::ParseError::None)
            << "round " << round;
    }
}

// Task areas come after the four sections, only when there are any; a name may hold commas. A reader
// that does not know the section skips its lines (each starts with a number, none is a section name).
TEST_F(ProjectFileTest, TaskAreasAreOneMoreSectionAndHostileAreaLinesAreDamage) {
    fillSample();
    touroku[3].placedCount = 2;  // as the reader recounts it, so that the bytes read back compare whole
    const std::string without = model::projectBytes(doc, touroku);
    EXPECT_EQ(without.find("AREA"), std::string::npos);
    doc.plan.areas.push_back(model::AreaRecord{"机A, 窓側", 10, 20, 300, 200, 750, 0.6f});
    doc.plan.areas.push_back(model::AreaRecord{"", -5, -5, -5, -5, 0, 0.0f});
    ASSERT_TRUE(model::writeProject(path("areas.OLE"), doc, touroku, services));
    const std::string with = readBytes(path("areas.OLE"));
    EXPECT_EQ(with, without + base::utf8ToCp932("AREA\r\n10,20,300,200,750,0.60,机A, 窓側\r\n-5,-5,-5,-5,0,0.00,\r\nEND\r\n"));

    model::Document back;
    catalog::TourokuTable backTypes;
    ASSERT_TRUE(model::readProject(path("areas.OLE"), back, backTypes, services));
    ASSERT_EQ(back.plan.areas.size(), 2u);
    EXPECT_EQ(back.plan.areas[0].name, "机A, 窓側");
    EXPECT_EQ(back.plan.areas[0].x2, 300);
    EXPECT_FLOAT_EQ(back.plan.areas[0].requiredUniformity, 0.6f);
    EXPECT_EQ(model::projectBytes(back, backTypes), with);

    const std::string longName(model::kMaxAreaNameBytes + 1, 'n');
    const std::vector<std::string> hostile = {
        "300,20,10,200,750,0.60,A",  // corners out of order
        "10,200,300,20,750,0.60,A",
        "10,20,300,200,-1,0.60,A",  // a negative or absurd requirement
        "10,20,300,200,100001,0.60,A",
        "10,20,300,200,750,1.5,A",
        "10,20,300,200,750,-0.1,A",
        "10,20,300,200,750,nan,A",
        "10,20,300,200,750,0.60",  // no name field
        "10,20,300,200",
        "10,20,x,200,750,0.60,A",
        "10,20,300,99999999999,750,0.60,A",
        "10,20,300,200,750,0.60," + longName,
    };
    for (const std::string& line : hostile) {
        writeBytes(path("hostile.OLE"), without + "AREA\r\n" + line + "\r\nEND\r\n");
        FakeServices s;
        model::ProjectCommands commands(back, shown, backTypes, s);
        EXPECT_FALSE(commands.openPath(path("hostile.OLE"))) << line;
        ASSERT_EQ(s.messages.size(), 1u) << line;
        EXPECT_EQ(s.messages[0].text, ui::aboutFile("ORDIVANﾌｧｲﾙではないか、破壊されています。", path("hostile.OLE")));
        EXPECT_EQ(back.plan.areas.size(), 2u) << line;
    }
    // A section cut off before its "END" lost areas.
    writeBytes(path("cut.OLE"), without + "AREA\r\n10,20,300,200,750,0.60,A\r\n");
    EXPECT_FALSE(model::validateProject(path("cut.OLE"), services));
}

TEST_F(ProjectFileTest, TheRoomIsWrittenOnlyOnceSetReadBackAndHostileRoomsAreDamage) {
    fillSample();
    touroku[3].placedCount = 2;
    doc.plan.areas.push_back(model::AreaRecord{"机", 10, 20, 300, 200, 500, 0.7f});
    const std::string without = model::projectBytes(doc, touroku);
    EXPECT_EQ(without.find("ROOM"), std::string::npos);
    // Turned on and then off again, a room the user never confirmed stays out of the file.
    doc.plan.room.on = true;
    doc.plan.room.ceiling = 0.8f;
    EXPECT_EQ(model::projectBytes(doc, touroku), without);

    doc.plan.room = model::RoomRecord{true, true, 2700, 750, 0.8f, 0.5f, 0.3f};
    ASSERT_TRUE(model::writeProject(path("room.OLE"), doc, touroku, services));
    const std::string with = readBytes(path("room.OLE"));
    EXPECT_EQ(with, without + "ROOM\r\n2700,750,0.80,0.50,0.30,1\r\nEND\r\n");
    model::Document back;
    catalog::TourokuTable backTypes;
    ASSERT_TRUE(model::readProject(path("room.OLE"), back, backTypes, services));
    const model::RoomRecord& r = back.plan.room;
    EXPECT_TRUE(r.stored && r.on);
    EXPECT_EQ((std::array<int, 2>{r.roomHeight, r.workPlaneHeight}), (std::array<int, 2>{2700, 750}));
    EXPECT_EQ((std::array<float, 3>{r.ceiling, r.walls, r.floor}), (std::array<float, 3>{0.8f, 0.5f, 0.3f}));
    EXPECT_EQ(model::projectBytes(back, backTypes), with);
    // A stored room that is off keeps its values; a file without the section is off with the defaults.
    writeBytes(path("off.OLE"), without + "ROOM\r\n0,0,0.00,0.95,0.00,0\r\nEND\r\n");
    ASSERT_TRUE(model::readProject(path("off.OLE"), back, backTypes, services));
    EXPECT_TRUE(back.plan.room.stored && !back.plan.room.on);
    EXPECT_FLOAT_EQ(back.plan.room.walls, 0.95f);
    ASSERT_TRUE(model::readProject(path("room.OLE"), back, backTypes, services));
    writeBytes(path("plain.OLE"), without);
    ASSERT_TRUE(model::readProject(path("plain.OLE"), back, backTypes, services));
    EXPECT_FALSE(back.plan.room.stored || back.plan.room.on);
    EXPECT_EQ(back.plan.room.workPlaneHeight, 800);
    EXPECT_FLOAT_EQ(back.plan.room.ceiling, 0.7f);

    ASSERT_TRUE(model::readProject(path("room.OLE"), back, backTypes, services));
    const std::vector<std::string> hostile = {
        "ROOM\r\nx,750,0.80,0.50,0.30,1\r\nEND",  // not a number
        "ROOM\r\n-1,750,0.80,0.50,0.30,1\r\nEND",  // below the floor, absurdly high
        "ROOM\r\n2700,-5,0.80,0.50,0.30,1\r\nEND",
        "ROOM\r\n100001,750,0.80,0.50,0.30,1\r\nEND",
        "ROOM\r\n0,100001,0.80,0.50,0.30,1\r\nEND",
        "ROOM\r\n99999999999,750,0.80,0.50,0.30,1\r\nEND",
        "ROOM\r\n2700,2700,0.80,0.50,0.30,1\r\nEND",  // the work plane at the ceiling
        "ROOM\r\n2700,750,0.96,0.50,0.30,1\r\nEND",  // reflectances past 0.95, negative, not finite
        "ROOM\r\n2700,750,0.80,-0.10,0.30,1\r\nEND",
        "ROOM\r\n2700,750,0.80,0.50,nan,1\r\nEND",
        "ROOM\r\n2700,750,0.80,0.50,1e30,1\r\nEND",
        "ROOM\r\n2700,750,0.80,0.50,0.30,2\r\nEND",  // on neither 0 nor 1
        "ROOM\r\n2700,750,0.80,0.50,0.30\r\nEND",  // a field short, one too many
        "ROOM\r\n2700,750,0.80,0.50,0.30,1,1\r\nEND",
        "ROOM\r\n2700,750,0.80,0.50,0.30,1\r\nEND\r\nROOM\r\n2700,750,0.80,0.50,0.30,1\r\nEND",  // twice
        "ROOM\r\n2700,750,0.80,0.50,0.30,1",  // cut short
        "ROOM\r\n2700,750,0.80,0.50,0.30,1\r\n2700,750,0.80,0.50,0.30,1\r\nEND",
    };
    for (const std::string& section : hostile) {
        writeBytes(path("hostile.OLE"), without + section + "\r\n");
        FakeServices s;
        model::ProjectCommands commands(back, shown, backTypes, s);
        EXPECT_FALSE(commands.openPath(path("hostile.OLE"))) << section;
        ASSERT_EQ(s.messages.size(), 1u) << section;
        EXPECT_EQ(s.messages[0].text, ui::aboutFile("ORDIVANﾌｧｲﾙではないか、破壊されています。", path("hostile.OLE")));
        EXPECT_EQ(back.plan.room.roomHeight, 2700) << "the open plan keeps its room: " << section;
    }

    // A new plan starts without reflections.
    model::clearPlan(back, shown, backTypes);
    EXPECT_FALSE(back.plan.room.stored || back.plan.room.on);
    EXPECT_EQ(back.plan.room.roomHeight, 0);
}

TEST_F(ProjectFileTest, ASecondBlockForOneSlotIsDamaged) {
    fillSample();
    const std::string bytes = model::projectBytes(doc, touroku);
    const std::size_t from = bytes.find("TOUROKU\r\n") + 9, to = bytes.find("END\r\n");
    std::string twice = bytes;
    twice.insert(to, bytes.substr(from, to - from));
    writeBytes(path("twice.OLE"), twice);
    EXPECT_FALSE(model::validateProject(path("twice.OLE"), services));
}

// A save never replaces a file with one the reader refuses, and texts are written as one line the
// reader takes whole.
TEST_F(ProjectFileTest, WhatTheWriterWritesTheReaderAccepts) {
    fillSample();
    // Texts stay one line of the reader's length.
    doc.projectName = "two\nlines" + std::string(400, 'x');
    ASSERT_TRUE(model::writeProject(path("text.OLE"), doc, touroku, services));
    model::ProjectContent content;
    ASSERT_EQ(model::parseProject(path("text.OLE"), content), model::ParseError::None);
    EXPECT_EQ(content.projectName, "two lines" + std::string(290, 'x'));

    writeBytes(path("keep.OLE"), "the user's file");
    touroku[3].efficiency = std::numeric_limits<float>::infinity();
    FakeServices s;
    EXPECT_FALSE(model::writeProject(path("keep.OLE"), doc, touroku, s));
    EXPECT_EQ(readBytes(path("keep.OLE")), "the user's file");
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0].text, ui::aboutFile("ファイルに書き込みできません", path("keep.OLE")));
}

TEST_F(ProjectFileTest, AMissingFileCannotBeRead) {
    FakeServices s;
    EXPECT_FALSE(model::validateProject(path("none.OLE"), s));
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0].text, ui::aboutFile("ファイルが読み込めません", path("none.OLE")));
    EXPECT_EQ(s.messages[0].title, "エラー");
}

TEST_F(ProjectFileTest, AFailedSaveKeepsTheChangesMarkedAndTheOldFileWhole) {
    fillSample();
    model::ProjectCommands commands(doc, shown, touroku, services);
    doc.currentFileName = path("missing-folder/x.OLE");
    doc.dataChanged = true;
    EXPECT_FALSE(commands.save());
    EXPECT_TRUE(doc.dataChanged);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, ui::aboutFile("ファイルに書き込みできません", path("missing-folder/x.OLE")));
    EXPECT_EQ(services.messages[0].title, "エラー");

    doc.currentFileName = path("keep.OLE");
    writeBytes(doc.currentFileName, "old contents");
    EXPECT_TRUE(commands.save());
    EXPECT_FALSE(doc.dataChanged);
    EXPECT_NE(readBytes(doc.currentFileName), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(ProjectFileTest, SaveAsAsksWithTheFilterAndDefaultExtension) {
    model::ProjectCommands commands(doc, shown, touroku, services);
    doc.currentFileName = "old.OLE";
    services.fileAnswers.push_back(path("new.OLE"));
    EXPECT_TRUE(commands.saveAs());
    ASSERT_EQ(services.saveRequests.size(), 1u);
    EXPECT_EQ(services.saveRequests[0].filter, "ORDIVANﾌｧｲﾙ (*.OLE) | *.OLE");
    EXPECT_EQ(services.saveRequests[0].defaultExtension, "OLE");
    EXPECT_EQ(services.saveRequests[0].initialName, "old.OLE");
    EXPECT_EQ(doc.currentFileName, path("new.OLE"));
    EXPECT_FALSE(commands.saveAs());  // cancelled dialog
}

TEST_F(ProjectFileTest, CloseQueryAsksOnlyForAChangedNonEmptyPlan) {
    model::ProjectCommands commands(doc, shown, touroku, services);
    doc.dataChanged = true;
    EXPECT_TRUE(commands.closeQuery());  // empty plan: no question
    EXPECT_TRUE(services.messages.empty());
    fillSample();
    doc.dataChanged = true;
    services.answers = {ui::Answer::Cancel, ui::Answer::No, ui::Answer::Yes, ui::Answer::Yes};
    EXPECT_FALSE(commands.closeQuery());
    EXPECT_EQ(services.messages[0].text, "データを保存しますか？");
    EXPECT_EQ(services.messages[0].title, "");
    EXPECT_EQ(services.messages[0].buttons, ui::Buttons::YesNoCancel);
    EXPECT_TRUE(commands.closeQuery());
    // Yes without a file name: the save dialog; cancelling it keeps the window open.
    EXPECT_FALSE(commands.closeQuery());
    services.fileAnswers.push_back(path("closing.OLE"));
    EXPECT_TRUE(commands.closeQuery());
    EXPECT_TRUE(fs::exists(path("closing.OLE")));
    EXPECT_FALSE(doc.dataChanged);
}

TEST_F(ProjectFileTest, OpenFromTheMenuClearsThePlanBeforeReading) {
    fillSample();
    ASSERT_TRUE(model::writeProject(path("s.OLE"), doc, touroku, services));
    touroku[7].hinban = "OTHER";
    doc.dataChanged = true;
    int cleared = 0, redrawn = 0;
    model::ProjectHooks hooks;
    hooks.clearPlan = [&] {
        ++cleared;
        model::clearPlan(doc, shown, touroku);
    };
    hooks.redrawPlan = [&] { ++redrawn; };
    model::ProjectCommands commands(doc, shown, touroku, services, hooks);
    // Unsaved changes are offered for saving first, with the closing question and its answers.
    services.answers = {ui::Answer::Cancel, ui::Answer::No};
    EXPECT_FALSE(commands.openFromMenu());
    EXPECT_TRUE(services.openRequests.empty());
    services.fileAnswers.push_back(path("s.OLE"));
    ASSERT_TRUE(commands.openFromMenu());
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_EQ(services.messages[1].text, "データを保存しますか？");
    EXPECT_EQ(services.messages[1].buttons, ui::Buttons::YesNoCancel);
    EXPECT_EQ(services.openRequests[0].filter, "ORDIVANﾌｧｲﾙ(*.OLE)|*.OLE");
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(redrawn, 1);
    EXPECT_TRUE(touroku[7].hinban.empty());
    EXPECT_EQ(doc.plan.lines.count(), 2);
    EXPECT_FALSE(doc.dataChanged);
    EXPECT_TRUE(shown.menus.save1);
}

TEST_F(ProjectFileTest, FileAssociationReportsEachOutcome) {
    model::ProjectCommands commands(doc, shown, touroku, services);
    services.associationResult = ui::AssociationResult::Created;
    commands.registerFileType();
    services.associationResult = ui::AssociationResult::Changed;
    commands.registerFileType();
    services.associationResult = ui::AssociationResult::CannotCreateKey;
    commands.registerFileType();
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_EQ(services.messages[0].text, ".OLEをこのﾌﾟﾛｸﾞﾗﾑに関連づけしました。");
    EXPECT_EQ(services.messages[1].text, ".OLEの関連づけをこのﾌﾟﾛｸﾞﾗﾑに変更しました。");
    EXPECT_EQ(services.messages[1].title, "ﾌｧｲﾙの関連づけ");
    EXPECT_EQ(services.messages[1].icon, ui::Icon::Information);
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_EQ(services.errors[0], ".ole2 ファイルの関連付けができません");
}

TEST(CommandLine, ArgumentsAreJoinedWithSingleBlanks) {
    const char* argv[] = {"ordivan", "C:\\My", "Plans\\a.OLE"};
    EXPECT_EQ(model::joinArguments(3, argv), "C:\\My Plans\\a.OLE");
}

} // namespace
