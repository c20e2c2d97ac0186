// ordivan-cli dispatch, usage, help and version, and the project commands validate and save.
#include "app/Cli.h"

#include "app/CliCatalog.h"

#include "base/Version.h"
#include "model/ProjectCommands.h"
#include "model/ProjectFile.h"

#include <algorithm>
#include <ostream>

namespace app {

int cmdCurve(CliRun& run);
int cmdListPrint(CliRun& run);

namespace {

int cmdValidate(CliRun& run) {
    if (run.args.size() != 2) return kExitUsage;
    const auto naming = run.about(run.args[1]);
    return model::validateProject(run.args[1], run.services) ? kExitOk : kExitRefused;
}

int cmdSave(CliRun& run) {
    if (run.args.size() != 3) return kExitUsage;
    if (!run.loadProject(run.args[1])) return kExitRefused;
    const auto naming = run.about(run.args[2]);
    return model::writeProject(run.args[2], run.doc, run.touroku, run.services) ? kExitOk : kExitRefused;
}

} // namespace

bool CliRun::loadProject(const std::string& path) {
    const auto naming = about(path);
    initialiseDocument(doc, shown, screen, cliSurfaceWidth(screen), cliSurfaceHeight(screen));
    model::ProjectCommands commands(doc, shown, touroku, services);
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

namespace {

// One command of the command line: its usage lines, the options it accepts (those with a value
// first), the options it cannot do without and how many words besides options it takes. A command
// that reads its own options (calc) says which were wrong itself.
struct CommandUsage {
    const char* name;
    const char* usage;
    std::vector<std::string> valueOptions;
    std::vector<std::string> flags;
    std::vector<std::string> required;
    std::size_t operands = 1;
    bool checksOwnOptions = false;
};

const std::vector<CommandUsage>& commands() {
    static const std::vector<CommandUsage> table = {
        {"validate", "  ordivan-cli validate PROJECT.OLE\n", {}, {}, {}, 1},
        {"save", "  ordivan-cli save PROJECT.OLE OUT.OLE\n", {}, {}, {}, 2},
        {"calc",
         "  ordivan-cli calc PROJECT.OLE [--step N] [--maintenance off|good|normal|poor] [--kind B|T|C]\n"
         "      [--levels auto|L1,...,L6] [--fixtures] [--height MM] [--threads N] [--screen WxH] [--dpi N]\n"
         "      [--data DIR] [--grid F] [--json F|-] [--png F | --bmp F] [--csv F] [--csv-xy F]\n"
         "      [--dxf F [--dxf-type color|black|colortext] [--dxf-join]]\n"
         "      [--pdf F [--object-name TEXT] [--date TEXT]]\n"
         "      [--area NAME,X1,Y1,X2,Y2[,LUX[,U0]|,PRESET]]... [--areas-csv F]\n"
         "      [--indirect] [--room-height MM] [--work-plane MM] [--reflectances C,W,F]\n",
         {}, {}, {}, 1, true},
        {"catalog", "  ordivan-cli catalog search PREFIX [--data DIR]\n  ordivan-cli catalog show HINBAN [--data DIR]\n",
         {"--data"}, {}, {}, 2},
        {"register", "  ordivan-cli register PROJECT.OLE --slot N --hinban H [--lamp K] [--watts W] --out OUT.OLE [--data DIR]\n",
         {"--slot", "--hinban", "--lamp", "--watts", "--out", "--data"}, {}, {"--slot", "--hinban", "--out"}, 1},
        {"import-photometry", "  ordivan-cli import-photometry FILE.ies|FILE.ldt PROJECT.OLE --slot N [--watts W] --out OUT.OLE\n",
         {"--slot", "--watts", "--out"}, {}, {"--slot", "--out"}, 2},
        {"curve", "  ordivan-cli curve PROJECT.OLE --slot N [--layout C1..C4] [--png F] [--pdf F]\n",
         {"--slot", "--layout", "--png", "--pdf"}, {}, {"--slot"}, 1},
        {"list-csv",
         "  ordivan-cli list-csv PROJECT.OLE --out F [--mode J|A] [--object-name TEXT] [--date TEXT] [--data DIR]\n",
         {"--out", "--mode", "--object-name", "--date", "--data"}, {}, {"--out"}, 1},
        {"list-print", "  ordivan-cli list-print PROJECT.OLE --pdf F [--mode J|A] [--margins T,B,L,R] [--landscape]\n",
         {"--pdf", "--mode", "--margins"}, {"--landscape"}, {"--pdf"}, 1},
    };
    return table;
}

const CommandUsage* findCommand(const std::string& name) {
    for (const auto& c : commands()) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

bool isHelp(const std::string& a) { return a == "--help" || a == "-h"; }

bool contains(const std::vector<std::string>& list, const std::string& a) {
    return std::find(list.begin(), list.end(), a) != list.end();
}

// What is wrong with the words after the command, as the command's usage sees them; empty when
// nothing is. Values of options are skipped (a value may start with a dash).
std::string argumentFault(const CommandUsage& c, const std::vector<std::string>& args) {
    std::size_t operands = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (contains(c.valueOptions, a)) {
            if (++i == args.size()) return a + ": value missing";
        } else if (a.size() > 1 && a[0] == '-') {
            if (!contains(c.flags, a)) return "unknown option " + a;
        } else {
            ++operands;
        }
    }
    for (const auto& option : c.required) {
        if (!contains(args, option)) return option + " missing";
    }
    if (operands != c.operands)
        return std::to_string(c.operands) + (c.operands == 1 ? " argument" : " arguments") + " besides the options expected, " +
               std::to_string(operands) + " given";
    return {};
}

int dispatch(CliRun& run, const std::string& command) {
    if (command == "validate") return cmdValidate(run);
    if (command == "save") return cmdSave(run);
    if (command == "import-photometry") return cmdImportPhotometry(run);
    if (command == "curve") return cmdCurve(run);
    if (command == "list-print") return cmdListPrint(run);
    if (command == "catalog") return cmdCatalog(run);
    if (command == "register") return cmdRegister(run);
    if (command == "list-csv") return cmdListCsv(run);
    return runCalcCommand(run);  // the one command of the table left
}

} // namespace

std::string cliUsage(const std::string& command) {
    if (!command.empty()) {
        const CommandUsage* c = findCommand(command);
        return c ? std::string("usage:\n") + c->usage : std::string();
    }
    std::string text = "usage:\n  ordivan-cli --help | --version | COMMAND --help\n";
    for (const auto& c : commands()) text += c.usage;
    return text;
}

int runCli(const std::vector<std::string>& args, ui::Services& services, std::ostream& out, std::ostream& err) {
    if (!args.empty() && isHelp(args[0])) {
        out << cliUsage();
        return kExitOk;
    }
    if (!args.empty() && args[0] == "--version") {
        out << "ordivan-cli (ORDIVAN) " << base::programVersion() << '\n';
        return kExitOk;
    }
    if (args.empty()) {
        err << "ordivan-cli: no command given\n" << cliUsage();
        return kExitUsage;
    }
    const std::string& command = args[0];
    const CommandUsage* c = findCommand(command);
    if (!c) {
        err << "ordivan-cli: unknown command '" << command << "'\n" << cliUsage();
        return kExitUsage;
    }
    if (std::any_of(args.begin() + 1, args.end(), isHelp)) {
        out << cliUsage(command);
        return kExitOk;
    }
    const std::string fault = c->checksOwnOptions ? (args.size() < 2 || args[1].rfind('-', 0) == 0 ? "PROJECT.OLE missing" : "")
                                                  : argumentFault(*c, args);
    if (!fault.empty()) {
        err << "ordivan-cli " << command << ": " << fault << '\n' << cliUsage(command);
        return kExitUsage;
    }
    FileMessages messages(services);
    CliRun run{args, messages, out, err, ScreenInfo{}, {}, {}, &messages};
    int status = dispatch(run, command);
    if (status == kExitUsage) {
        // The words are in their places, but a value is not one the command takes (calc names it itself).
        if (!c->checksOwnOptions) err << "ordivan-cli " << command << ": a value is out of range or malformed\n";
        err << cliUsage(command);
    }
    // Output that never reached a full disk or a closed pipe makes the command a failure, not a success.
    if (status == kExitOk && !out.flush()) {
        services.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
        status = kExitRefused;
    }
    return status;
}

} // namespace app
