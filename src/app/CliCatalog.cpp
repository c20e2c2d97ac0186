// ordivan-cli catalog search / catalog show / register / import-photometry / list-csv.
#include "app/CliCatalog.h"

#include "base/DataDir.h"
#include "base/Text.h"
#include "catalog/Catalog.h"
#include "catalog/Photometry.h"
#include "catalog/ProductList.h"
#include "catalog/Selection.h"
#include "model/ProjectFile.h"

#include <climits>
#include <filesystem>
#include <optional>
#include <ostream>

namespace app {
namespace {

// Loads the catalogue as the selection dialog does at start (its messages go to the error stream).
void loadCatalog(CliRun& run, catalog::Catalog& cat) { cat.load(cliCatalogDir(run), run.services); }

// Shows the product in the selection rules; false (message shown) when nothing matches exactly.
bool showProduct(CliRun& run, catalog::Selection& sel, const std::string& hinban, ui::Surface& picture) {
    sel.show("", 'A', picture);
    sel.textChanged(hinban);
    if (!sel.search(picture)) return false;
    for (std::size_t i = 0; i < sel.listHinban.size(); ++i) {
        if (sel.listHinban[i] == hinban) {
            sel.selectProduct(static_cast<int>(i), picture);
            return true;
        }
    }
    run.services.messageBox(catalog::kMsgNoProduct, "", ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

int catalogSearch(CliRun& run) {
    if (run.args.size() < 3) return kExitUsage;
    catalog::Catalog cat;
    loadCatalog(run, cat);
    const auto found = cat.searchProducts(run.args[2]);
    if (found.empty()) {
        run.services.messageBox(catalog::kMsgNoProduct, "", ui::Icon::Stop, ui::Buttons::Ok);
        return kExitRefused;
    }
    for (const auto& h : found) run.out << h << '\n';
    return kExitOk;
}

int catalogShow(CliRun& run) {
    if (run.args.size() < 3) return kExitUsage;
    catalog::Catalog cat;
    loadCatalog(run, cat);
    catalog::Selection sel(cat, run.services);
    auto picture = run.services.createSurface(catalog::kConePictureSize, catalog::kConePictureSize);
    if (!showProduct(run, sel, run.args[2], *picture)) return kExitRefused;
    run.out << "品番: " << sel.txtHinban << '\n';
    for (std::size_t n = 0; n < sel.lampCodes.size(); ++n) {
        sel.selectLamp(static_cast<int>(n), *picture);
        std::string message = sel.labMessage;
        for (auto& ch : message) {
            if (ch == '\n') ch = ' ';
        }
        run.out << (n + 1) << ": " << sel.lampCodes[n] << " | " << sel.listLampName[n] << " | " << sel.listLampNameA[n]
                << " | " << sel.labLamp << " | 角度:" << sel.labKaku << ' ' << sel.labKaku2 << " | " << sel.labHinban
                << (sel.cmdOKEnabled ? "" : " | 登録不可:" + message) << '\n';
    }
    if (sel.lampCodes.empty()) run.out << "(ランプなし)\n";
    return kExitOk;
}

} // namespace

std::string cliCatalogDir(const CliRun& run) {
    std::string given;
    run.option("--data", given);
    return base::findDataDir(base::kCatalogFolder, given);
}

int cmdCatalog(CliRun& run) {
    if (run.args.size() < 2) return kExitUsage;
    if (run.args[1] == "search") return catalogSearch(run);
    if (run.args[1] == "show") return catalogShow(run);
    return kExitUsage;
}

// --watts W: the rated power the registered type is given; nullopt (after saying why) for a value that is
// no power. Without the option the type has none.
std::optional<float> wattsOption(CliRun& run, const std::string& command) {
    std::string text;
    if (!run.option("--watts", text)) return 0.0f;
    const auto watts = catalog::wattsOf(text);
    if (!watts) run.err << "ordivan-cli " << command << ": --watts: a number from 0 to " << base::formatInt(static_cast<long long>(catalog::kMaxWatts)) << "\n";
    return watts;
}

int cmdRegister(CliRun& run) {
    std::string slotText, hinban, lamp, out;
    if (run.args.size() < 2 || !run.option("--slot", slotText) || !run.option("--hinban", hinban) ||
        !run.option("--out", out))
        return kExitUsage;
    if (!base::isInt(slotText) || !catalog::isValidSlot(base::toInt(slotText))) return kExitUsage;
    const int slot = base::toInt(slotText);
    const auto watts = wattsOption(run, "register");
    if (!watts) return kExitUsage;
    if (!run.loadProject(run.args[1])) return kExitRefused;

    catalog::Catalog cat;
    loadCatalog(run, cat);
    catalog::Selection sel(cat, run.services);
    auto picture = run.services.createSurface(catalog::kConePictureSize, catalog::kConePictureSize);
    if (!showProduct(run, sel, hinban, *picture)) return kExitRefused;
    int choice = 0;
    if (run.option("--lamp", lamp)) {
        choice = -1;
        for (std::size_t n = 0; n < sel.lampCodes.size(); ++n) {
            if (sel.lampCodes[n] == lamp) choice = static_cast<int>(n);
        }
        if (choice < 0 && base::isInt(lamp)) choice = base::toInt(lamp) - 1;
        if (choice < 0 || static_cast<std::size_t>(choice) >= sel.lampCodes.size()) {
            run.services.messageBox("ランプ " + lamp + " はこの品番にありません", "", ui::Icon::Stop, ui::Buttons::Ok);
            return kExitRefused;
        }
    }
    sel.selectLamp(choice, *picture);
    if (!sel.cmdOKEnabled) {
        run.services.messageBox(sel.labMessage.empty() || sel.labMessage == " " ? std::string("ランプがありません") : sel.labMessage, "",
                                ui::Icon::Stop, ui::Buttons::Ok);
        return kExitRefused;
    }
    catalog::HaikouMdb buffer;
    if (!sel.confirm(buffer)) return kExitRefused;
    run.touroku.registerSlot(slot, buffer);
    run.touroku[slot].watts = *watts;
    run.doc.resultValid = false;
    const auto naming = run.about(out);
    return model::writeProject(out, run.doc, run.touroku, run.services) ? kExitOk : kExitRefused;
}

int cmdImportPhotometry(CliRun& run) {
    std::string slotText, out;
    if (run.args.size() < 3 || !run.option("--slot", slotText) || !run.option("--out", out)) return kExitUsage;
    if (!base::isInt(slotText) || !catalog::isValidSlot(base::toInt(slotText))) return kExitUsage;
    const auto watts = wattsOption(run, "import-photometry");
    if (!watts) return kExitUsage;
    if (!run.loadProject(run.args[2])) return kExitRefused;
    std::string reason;
    auto data = catalog::readPhotometricFile(run.args[1], reason);
    if (!data) {
        const auto naming = run.about(run.args[1]);
        run.services.messageBox(std::string(catalog::kMsgPhotometryRefused) + "\n(" + reason + ")", "読み込みエラー",
                                ui::Icon::Stop, ui::Buttons::Ok);
        return kExitRefused;
    }
    run.touroku.registerSlot(base::toInt(slotText), catalog::toFixtureType(*data, std::filesystem::path(run.args[1]).stem().string()));
    run.touroku[base::toInt(slotText)].watts = *watts;
    run.doc.resultValid = false;
    const auto naming = run.about(out);
    return model::writeProject(out, run.doc, run.touroku, run.services) ? kExitOk : kExitRefused;
}

int cmdListCsv(CliRun& run) {
    std::string out, mode = "", objectName, date;
    if (run.args.size() < 2 || !run.option("--out", out)) return kExitUsage;
    if (run.option("--mode", mode) && mode != "J" && mode != "A") return kExitUsage;
    if (!run.loadProject(run.args[1])) return kExitRefused;
    const char m = mode.empty() ? run.doc.lampNameMode : mode[0];
    run.option("--object-name", objectName);
    if (!run.option("--date", date)) date = run.services.today();
    const auto naming = run.about(out);
    return catalog::writeProductListCsv(out, run.touroku, m, objectName, date, run.services) ? kExitOk : kExitRefused;
}

} // namespace app
