// Illuminance CSV export: sampled grid values over the lit extent, CR LF lines, written atomically.
#include "view/IlluminanceCsv.h"

#include "base/TextFile.h"

#include <charconv>
#include <vector>

namespace view {
namespace {

// "%.2f," as the C locale writes it, whatever locale the program runs in.
void appendField(std::string& out, float value) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, 2);
    std::string field(buf, r.ec == std::errc() ? r.ptr : buf);
    field += ',';
    // The grid's untouched starting value says "nothing reached here".
    if (field == "0.01,") field = "0.0,";
    out += field;
}

// Calls f(col, row) for the table's points: from the bottom of the lit extent upwards every 10th row,
// every 10th column from its left.
template <class F>
void forEachCsvPoint(const calc::ResultStats& stats, F&& f) {
    // 64-bit counters: an extent near the int limits must neither wrap nor loop for ever.
    for (long long row = static_cast<long long>(stats.litMaxRow) - 1; row > stats.litMinRow; row -= 10) {
        for (long long col = stats.litMinCol; col <= stats.litMaxCol; col += 10) f(col, row);
        f(-1, row);  // the row is done
    }
}

float valueAt(const calc::IlluminanceGrid& grid, long long col, long long row) {
    const bool inside = row >= 0 && col >= 0 && row < grid.gridHeight && col < grid.gridWidth;
    return inside ? grid.lux[grid.index(static_cast<std::int32_t>(col), static_cast<std::int32_t>(row))] : 0.0f;
}

std::string fixed(double v, int decimals) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return std::string(buf, r.ec == std::errc() ? r.ptr : buf);
}

} // namespace

std::string illuminanceCsvXyText(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats, double mmPerPixel) {
    // The described table runs upwards; with coordinates the lines read from the top, rows gathered first.
    std::vector<std::string> rows;
    std::string line;
    forEachCsvPoint(stats, [&](long long col, long long row) {
        if (col < 0) {
            rows.push_back(std::move(line));
            line.clear();
            return;
        }
        const float v = valueAt(grid, col, row);
        line += fixed(static_cast<double>(col) * mmPerPixel, 1) + "," + fixed(static_cast<double>(row) * mmPerPixel, 1) + "," +
                (v == 0.01f ? std::string("0.00") : fixed(static_cast<double>(v), 2)) + "\r\n";
    });
    std::string out = "x_mm,y_mm,lux\r\n";
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) out += *it;
    return out;
}

std::string illuminanceCsvText(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats) {
    std::string out;
    forEachCsvPoint(stats, [&](long long col, long long row) {
        if (col < 0) out += "0.0\r\n";
        else appendField(out, valueAt(grid, col, row));
    });
    return out;
}

bool writeCsvBytes(const std::string& bytes, const std::string& path, ui::Services& services) {
    base::AtomicFileWriter file(path);
    if (file.isOpen()) {
        file.write(bytes);
        if (file.commit()) return true;
    }
    services.messageBox(ui::aboutFile(kWriteFailedMessage, path), "エラー", ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

bool writeIlluminanceCsv(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats, const std::string& path,
                         ui::Services& services) {
    return writeCsvBytes(illuminanceCsvText(grid, stats), path, services);
}

bool saveIlluminanceCsvXyCommand(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats, double mmPerPixel,
                                 ui::Services& services) {
    ui::FileDialogRequest request;
    request.filter = kCsvFilter;
    const auto name = services.saveFileDialog(request);
    if (!name || name->empty()) return false;
    return writeCsvBytes(illuminanceCsvXyText(grid, stats, mmPerPixel), *name, services);
}

bool saveIlluminanceCsvCommand(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats,
                               ui::Services& services) {
    ui::FileDialogRequest request;
    request.filter = kCsvFilter;
    request.defaultExtension = "csv";
    const auto name = services.saveFileDialog(request);
    if (!name || name->empty()) return false;
    return writeIlluminanceCsv(grid, stats, *name, services);
}

} // namespace view
