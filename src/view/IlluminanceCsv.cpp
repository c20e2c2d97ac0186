// Illuminance CSV export: sampled grid values over the lit extent, CR LF lines, written atomically.
#include "view/IlluminanceCsv.h"

#include "base/TextFile.h"

#include <charconv>

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

} // namespace

std::string illuminanceCsvText(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats) {
    std::string out;
    // 64-bit counters: an extent near the int limits must neither wrap nor loop for ever.
    for (long long row = static_cast<long long>(stats.litMaxRow) - 1; row > stats.litMinRow; row -= 10) {
        for (long long col = stats.litMinCol; col <= stats.litMaxCol; col += 10) {
            const bool inside = row >= 0 && col >= 0 && row < grid.gridHeight && col < grid.gridWidth;
            appendField(out, inside ? grid.lux[grid.index(static_cast<std::int32_t>(col), static_cast<std::int32_t>(row))]
                                    : 0.0f);
        }
        out += "0.0\r\n";
    }
    return out;
}

bool writeIlluminanceCsv(const calc::IlluminanceGrid& grid, const calc::ResultStats& stats, const std::string& path,
                         ui::Services& services) {
    base::AtomicFileWriter file(path);
    if (file.isOpen()) {
        file.write(illuminanceCsvText(grid, stats));
        if (file.commit()) return true;
    }
    services.messageBox(kWriteFailedMessage, "エラー", ui::Icon::Stop, ui::Buttons::Ok);
    return false;
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
