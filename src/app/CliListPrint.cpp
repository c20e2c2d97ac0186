// ordivan-cli list-print: the product-number list's fixture table printed alone into a PDF file.
#include "app/Cli.h"
#include "catalog/ProductList.h"
#include "base/Text.h"
#include "model/ProjectFile.h"
#include "print/DistributionSheet.h"

#include <ostream>

namespace app {

// ordivan-cli list-print PROJECT.OLE --pdf F [--mode J|A] [--margins TOP,BOTTOM,LEFT,RIGHT] [--landscape]
int cmdListPrint(CliRun& run) {
    if (run.args.size() < 2) return kExitUsage;
    std::string pdf, mode, marginText;
    if (!run.option("--pdf", pdf) || pdf.empty()) return kExitUsage;
    if (run.option("--mode", mode) && mode != "J" && mode != "A") return kExitUsage;
    print::Margins margins;
    if (run.option("--margins", marginText)) {
        const base::Fields f(marginText);
        if (f.count() != 4) return kExitUsage;
        try {
            margins = print::Margins{base::toInt(f[1]), base::toInt(f[2]), base::toInt(f[3]), base::toInt(f[4])};
        } catch (const base::ConversionError& e) {
            run.err << "ordivan-cli: list-print: " << e.what() << '\n';
            return kExitUsage;
        }
        for (int v : {margins.top, margins.bottom, margins.left, margins.right})
            if (v < print::MarginRules::kMinimum || v > 100) return kExitUsage;
    }
    if (!run.loadProject(run.args[1])) return kExitRefused;
    print::FixtureTableStyle style{mode.empty() ? run.doc.lampNameMode : mode[0], run.doc.tables.symbolColour};
    if (!print::printFixtureTablePdf(pdf, run.touroku, style, margins, run.flag("--landscape"), run.services)) {
        const auto naming = run.about(pdf);
        run.services.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
        return kExitRefused;
    }
    run.out << catalog::listedSlots(run.touroku).size() << " types\n";
    return kExitOk;
}

} // namespace app
