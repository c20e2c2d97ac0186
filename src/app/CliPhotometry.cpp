// ordivan-cli import-photometry: registers a type from an IES or EULUMDAT file into a project's slot.
#include "app/Cli.h"
#include "base/Text.h"
#include "catalog/Photometry.h"
#include "model/ProjectFile.h"

#include <ostream>

namespace app {

int cmdImportPhotometry(CliRun& run) {
    std::string slotText, out;
    if (run.args.size() < 3 || !run.option("--slot", slotText) || !run.option("--out", out)) return kExitUsage;
    if (!base::isInt(slotText) || !catalog::isValidSlot(base::toInt(slotText))) {
        run.err << "登録番号は1～36です\n";
        return kExitRefused;
    }
    catalog::HaikouMdb selection;
    std::string error;
    if (!catalog::readPhotometryFile(run.args[1], selection, error)) {
        run.err << error << '\n';
        return kExitRefused;
    }
    if (!run.loadProject(run.args[2])) return kExitRefused;
    run.touroku.registerSlot(base::toInt(slotText), selection);
    run.doc.resultValid = false;
    return model::writeProject(out, run.doc, run.touroku, run.services) ? kExitOk : kExitRefused;
}

} // namespace app
