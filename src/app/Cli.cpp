// ordivan-cli dispatch and the project commands validate and save.
#include "app/Cli.h"

#include "app/CliCatalog.h"

#include "model/ProjectCommands.h"
#include "model/ProjectFile.h"

#include <ostream>

namespace app {

int cmdCurve(CliRun& run);
int cmdListPrint(CliRun& run);

namespace {

int cmdValidate(CliRun& run) {
    if (run.args.size() != 2) return kExitUsage;
    return model::validateProject(run.args[1], run.services) ? kExitOk : kExitRefused;
}

int cmdSave(CliRun& run) {
    if (run.args.size() != 3) return kExitUsage;
    if (!run.loadProject(run.args[1])) return kExitRefused;
    return model::writeProject(run.args[2], run.doc, run.touroku, run.services) ? kExitOk : kExitRefused;
}

} // namespace

bool CliRun::loadProject(const std::string& path) {
    initialiseDocument(doc, screen, cliSurfaceWidth(screen), cliSurfaceHeight(screen));
    model::ProjectCommands commands(doc, touroku, services);
    return commands.openPath(path);
}

bool CliRun::option(const std::string& name, std::string& value) const {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) {
            value = args[i + 1];
            return true;
        }
    }
    return false;
}

bool CliRun::flag(const std::string& name) const {
    for (const auto& a : args) {
        if (a == name) return true;
    }
    return false;
}

std::string cliUsage() {
    return "usage:\n"
           "  ordivan-cli validate PROJECT.OLE\n"
           "  ordivan-cli save PROJECT.OLE OUT.OLE\n"
           "  ordivan-cli catalog search PREFIX | catalog show HINBAN\n"
           "  ordivan-cli register PROJECT.OLE --slot N --hinban H [--lamp K] --out OUT.OLE\n"
           "  ordivan-cli list-csv PROJECT.OLE --out F [--mode J|A] [--object-name TEXT] [--date TEXT]\n"
           "  ordivan-cli import-photometry FILE.ies|FILE.ldt PROJECT.OLE --slot N --out OUT.OLE\n"
           "  ordivan-cli curve PROJECT.OLE --slot N [--layout C1..C4] [--png F] [--pdf F]\n"
           "  ordivan-cli list-print PROJECT.OLE --pdf F [--mode J|A] [--margins T,B,L,R] [--landscape]\n"
           "  ordivan-cli calc PROJECT.OLE [--step N] [--maintenance off|good|normal|poor] [--kind B|T|C]\n"
           "      [--levels auto|L1,...,L6] [--fixtures] [--height MM] [--threads N] [--screen WxH] [--dpi N]\n"
           "      [--data DIR] [--grid F] [--json F|-] [--png F | --bmp F] [--csv F]\n"
           "      [--dxf F [--dxf-type color|black|colortext]] [--pdf F [--object-name TEXT] [--date TEXT]]\n";
}

int runCli(const std::vector<std::string>& args, ui::Services& services, std::ostream& out, std::ostream& err) {
    CliRun run{args, services, out, err, ScreenInfo{}, {}, {}};
    int status = kExitUsage;
    if (!args.empty()) {
        const std::string& command = args[0];
        if (command == "validate") status = cmdValidate(run);
        else if (command == "save") status = cmdSave(run);
        else if (command == "import-photometry") status = cmdImportPhotometry(run);
        else if (command == "curve") status = cmdCurve(run);
        else if (command == "list-print") status = cmdListPrint(run);
        else if (command == "catalog") status = cmdCatalog(run);
        else if (command == "register") status = cmdRegister(run);
        else if (command == "list-csv") status = cmdListCsv(run);
        else if (command == "calc") status = runCalcCommand(run);
    }
    if (status == kExitUsage) err << cliUsage();
    // Output that never reached a full disk or a closed pipe makes the command a failure, not a success.
    if (status == kExitOk && !out.flush()) {
        services.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
        status = kExitRefused;
    }
    return status;
}

} // namespace app
