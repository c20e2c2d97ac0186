// Product-number list rules: which types are listed, grid write-back and the CSV writer.
#include "catalog/ProductList.h"

#include "base/Cp932.h"
#include "base/Text.h"
#include "base/TextFile.h"

namespace catalog {

std::vector<int> listedSlots(const TourokuTable& touroku) {
    std::vector<int> out;
    for (int s = 1; s <= kSlotCount; ++s) {
        const BunpuHinban& t = touroku[s];
        if (t.isRegistered() && t.kou != 0 && t.placedCount != 0) out.push_back(s);
    }
    return out;
}

std::vector<ListRow> listRows(const TourokuTable& touroku, char lampNameMode) {
    std::vector<ListRow> rows;
    for (int s : listedSlots(touroku)) {
        const BunpuHinban& t = touroku[s];
        ListRow r;
        r.slot = s;
        r.cells = {t.hinban,
                   t.option,
                   lampNameMode == 'J' ? t.lampName : t.lampNameA,
                   base::formatInt(t.tosu),
                   base::formatInt(t.kou),
                   base::formatInt(t.placedCount)};
        rows.push_back(std::move(r));
    }
    return rows;
}

bool writeBackList(TourokuTable& touroku, const std::vector<ListRow>& rows, char lampNameMode, ui::Services& services) {
    for (const ListRow& r : rows) {
        if (!isValidSlot(r.slot)) continue;
        BunpuHinban& t = touroku[r.slot];
        t.hinban = r.cells[0];
        t.option = r.cells[1];
        if (lampNameMode == 'A') t.lampNameA = r.cells[2];
        else t.lampName = r.cells[2];
        try {
            t.tosu = base::toInt(r.cells[3]);
            t.kou = base::toInt(r.cells[4]);
        } catch (const base::ConversionError& e) {
            services.showError(e.what());
            return false;
        }
        t.listEdited = false;
    }
    return true;
}

std::string productListCsv(const TourokuTable& touroku, char lampNameMode, const std::string& objectName,
                           const std::string& date) {
    std::string text;
    if (!objectName.empty()) text += "物件名 :," + objectName;
    text += "\r\n";
    text += ",,,,," + date + "\r\n";
    text += "品番,オプション,ランプ名,ランプ数,全光束(1灯),器具数\r\n";
    for (int s : listedSlots(touroku)) {
        const BunpuHinban& t = touroku[s];
        const std::string& lamp = lampNameMode == 'J' ? t.lampName : t.lampNameA;
        text += t.hinban + "," + t.option + "," + lamp + "," + base::formatInt(t.tosu) + "," + base::formatInt(t.kou) +
                "," + base::formatInt(t.placedCount) + "\r\n";
    }
    return base::utf8ToCp932(text);
}

bool writeProductListCsv(const std::string& path, const TourokuTable& touroku, char lampNameMode,
                         const std::string& objectName, const std::string& date, ui::Services& services) {
    base::AtomicFileWriter w(path);
    if (w.isOpen()) {
        w.write(productListCsv(touroku, lampNameMode, objectName, date));
        if (w.commit()) return true;
    }
    services.messageBox(ui::aboutFile(kMsgCannotWriteFile, path), "エラー", ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

bool saveProductListCsv(const TourokuTable& touroku, char lampNameMode, const std::string& objectName,
                        ui::Services& services) {
    ui::FileDialogRequest request;
    request.filter = kListCsvFilter;
    request.defaultExtension = "csv";
    auto name = services.saveFileDialog(request);
    if (!name || name->empty()) return false;
    return writeProductListCsv(*name, touroku, lampNameMode, objectName, services.today(), services);
}

} // namespace catalog
