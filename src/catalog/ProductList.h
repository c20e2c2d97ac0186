// The plan's bill of fixtures: listed types, the list window's grid rows, their write-back and the CSV file.
#pragma once
#include "catalog/FixtureType.h"
#include "ui/Services.h"

#include <array>
#include <string>
#include <vector>

namespace catalog {

inline constexpr const char* kListCsvFilter = "csvﾌｧｲﾙ (*.csv) | *.csv";
inline constexpr const char* kMsgCannotWriteFile = "ファイルに書き込みできません";

// The grid's six column headers and widths in pixels.
inline constexpr const char* kListHeaders[6] = {"      品   番", " オプション", "      ラ  ン   プ   名", "ﾗﾝﾌﾟ数", "全光束(1灯)", "数量"};
inline constexpr int kListColumnWidths[6] = {100, 80, 180, 40, 80, 40};
inline constexpr int kListRowHeight = 15;

// Registered types with flux and at least one fixture in the plan, in slot order.
std::vector<int> listedSlots(const TourokuTable& touroku);

struct ListRow {
    int slot = 0;
    std::array<std::string, 6> cells;  // hinban, option, lamp name, tosu, kou, placedCount
};

// The grid's rows, lamp names by mode ('J' Japanese, otherwise alphanumeric).
std::vector<ListRow> listRows(const TourokuTable& touroku, char lampNameMode);

// "ＯＫ": writes the edited cells back row by row (the quantity column is ignored). A cell that is not
// an integer stops at that row with the conversion error; the rows before it stay written.
bool writeBackList(TourokuTable& touroku, const std::vector<ListRow>& rows, char lampNameMode, ui::Services& services);

// The CSV file's bytes (CP932, CR LF), read from the table as it is now.
std::string productListCsv(const TourokuTable& touroku, char lampNameMode, const std::string& objectName,
                           const std::string& date);

// Writes the CSV to the path through a temporary file; a file that cannot be written gives
// "ファイルに書き込みできません" and false, and the old file stays as it was.
bool writeProductListCsv(const std::string& path, const TourokuTable& touroku, char lampNameMode,
                         const std::string& objectName, const std::string& date, ui::Services& services);

// The menu command: asks for the file name, then writes it; false when cancelled or refused.
bool saveProductListCsv(const TourokuTable& touroku, char lampNameMode, const std::string& objectName,
                        ui::Services& services);

} // namespace catalog
