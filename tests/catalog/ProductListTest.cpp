// Product-number list: which types are listed, the CSV bytes, write-back and unwritable files.
#include "catalog/ProductList.h"

#include "CatalogFixture.h"
#include "base/Cp932.h"
#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

catalog::TourokuTable planWithTwoTypes() {
    catalog::TourokuTable t;
    catalog::HaikouMdb a;
    a.hinban = "DL-3";
    a.lampName = "電球色";
    a.lampNameA = "LED-L";
    a.tosu = 1;
    a.kou = a.kouCatalog = 800;
    t.registerSlot(3, a);
    catalog::HaikouMdb b = a;
    b.hinban = "FL-20";
    b.lampName = "昼白色";
    b.lampNameA = "";
    b.tosu = 2;
    b.kou = b.kouCatalog = 3520;
    t.registerSlot(20, b);
    t[20].placedCount = 7;
    return t;
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace

TEST(ProductList, OnlyTypesWithFluxAndPlacedFixturesAreListed) {
    auto t = planWithTwoTypes();
    EXPECT_EQ(catalog::listedSlots(t), std::vector<int>{20});
    t[3].placedCount = 1;
    t[20].kou = 0;
    EXPECT_EQ(catalog::listedSlots(t), std::vector<int>{3});
    t.freeSlot(3);
    EXPECT_TRUE(catalog::listedSlots(t).empty());
    EXPECT_TRUE(catalog::listRows(t, 'A').empty());
}

TEST(ProductListCsv, ExactLinesWithAndWithoutObjectNameAndOption) {
    auto t = planWithTwoTypes();
    EXPECT_EQ(base::cp932ToUtf8(catalog::productListCsv(t, 'A', "", "2026/12/08")),
              "\r\n,,,,,2026/12/08\r\n品番,オプション,ランプ名,ランプ数,全光束(1灯),器具数\r\nFL-20,,,2,3520,7\r\n");
    t[20].option = "OPT";
    t[3].placedCount = 2;
    EXPECT_EQ(base::cp932ToUtf8(catalog::productListCsv(t, 'J', "第一ビル", "D")),
              "物件名 :,第一ビル\r\n,,,,,D\r\n品番,オプション,ランプ名,ランプ数,全光束(1灯),器具数\r\n"
              "DL-3,,電球色,1,800,2\r\nFL-20,OPT,昼白色,2,3520,7\r\n");
}

TEST(ProductListCsv, WritesThroughTheDialogAndReportsAFileThatCannotBeWritten) {
    catalog::testing::TempCatalogDir dir;
    auto t = planWithTwoTypes();
    ui::testing::FakeServices services;
    services.todayText = "2026/12/08";
    services.fileAnswers.push_back(dir.file("list.csv"));
    ASSERT_TRUE(catalog::saveProductListCsv(t, 'A', "", services));
    EXPECT_EQ(services.saveRequests.at(0).filter, "csvﾌｧｲﾙ (*.csv) | *.csv");
    EXPECT_EQ(services.saveRequests.at(0).defaultExtension, "csv");
    EXPECT_EQ(readFile(dir.file("list.csv")), catalog::productListCsv(t, 'A', "", "2026/12/08"));
    // Cancelled dialog: nothing written, nothing said.
    EXPECT_FALSE(catalog::saveProductListCsv(t, 'A', "", services));
    EXPECT_TRUE(services.messages.empty());
    // A directory that does not exist: the write failure is reported, not passed over.
    EXPECT_FALSE(catalog::writeProductListCsv(dir.file("no/such/dir.csv"), t, 'A', "", "d", services));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, ui::aboutFile("ファイルに書き込みできません", dir.file("no/such/dir.csv")));
}

TEST(ProductListWriteBack, CellsGoBackByModeQuantityIsIgnoredAndABadCellStopsThere) {
    auto t = planWithTwoTypes();
    t[3].placedCount = 1;
    ui::testing::FakeServices services;
    auto rows = catalog::listRows(t, 'A');
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].cells, (std::array<std::string, 6>{"FL-20", "", "", "2", "3520", "7"}));
    rows[0].cells = {"DL-3X", "OP", "NEW-A", "3", "900", "99"};
    rows[1].cells = {"FL-21", "", "X", "two", "100", "1"};
    t[3].listEdited = true;
    EXPECT_FALSE(catalog::writeBackList(t, rows, 'A', services));
    EXPECT_EQ(t[3].hinban, "DL-3X");
    EXPECT_EQ(t[3].option, "OP");
    EXPECT_EQ(t[3].lampNameA, "NEW-A");
    EXPECT_EQ(t[3].lampName, "電球色");
    EXPECT_EQ(t[3].tosu, 3);
    EXPECT_EQ(t[3].kou, 900);
    EXPECT_EQ(t[3].kouCatalog, 800);
    EXPECT_EQ(t[3].placedCount, 1);
    EXPECT_FALSE(t[3].listEdited);
    EXPECT_EQ(t[20].tosu, 2);  // the bad row stopped before its numbers
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_EQ(services.errors[0], "'two' は数値ではありません");
    rows[1].cells[3] = "4";
    EXPECT_TRUE(catalog::writeBackList(t, rows, 'J', services));
    EXPECT_EQ(t[20].lampName, "X");
    EXPECT_EQ(t[20].tosu, 4);
}
