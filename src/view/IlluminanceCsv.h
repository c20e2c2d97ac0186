// The illuminance values of a result as a comma-separated table for spreadsheets.
#pragma once
#include "calc/IlluminanceGrid.h"
#include "ui/Services.h"

#include <string>

namespace view {

inline constexpr const char* kCsvFilter = "ORDIVANﾌｧｲﾙ(*.csv)|*.csv";
inline constexpr const char* kWriteFailedMessage = "ファイルに書き込みできません";

// The file's bytes: from the bottom of the lit extent upwards every 10th row, in each row every
// 10th column from the left of the lit extent, each value "%.2f," (the untouched 0.01 written
// "0.0,"), the row closed by "0.0" and CR LF. An empty lit extent gives no line at all.
std::string illuminanceCsvText(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats);

// The same points with their places: a header line "x_mm,y_mm,lux", then one line per point from the
// top row down and left to right, x and y in mm from the plan's top-left corner as the status line counts
// them (column × mm per pixel, row × mm per pixel, one decimal) and the lux with two decimals (the untouched
// 0.01 written 0.00); CR LF line ends.
std::string illuminanceCsvXyText(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats, double mmPerPixel);

// Writes the table to `path`, replacing the file only when every byte is written. A failure shows
// the system's write error through `services` and returns false; an old file stays as it was.
bool writeIlluminanceCsv(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats, const std::string& path,
                         ui::Services& services);

// Writes bytes made for `path` the same way: all or nothing, the system's write error on a failure.
bool writeCsvBytes(const std::string& bytes, const std::string& path, ui::Services& services);

// The command "照度値をcsvファイルに保存(座標付き)": asks for the file, then writes the table with coordinates.
bool saveIlluminanceCsvXyCommand(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats, double mmPerPixel,
                                 ui::Services& services);

// The command "照度値をcsvファイルに保存": asks for the file, then writes it. False when cancelled or failed.
bool saveIlluminanceCsvCommand(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats,
                               ui::Services& services);

} // namespace view
