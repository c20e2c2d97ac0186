// ordivan-cli dispatch, usage, help and version, and the project commands validate and save.
#include "app/Cli.h"

#include "app/CliCatalog.h"

#include "base/Text.h"
#include "base/TextFile.h"
#include "base/Version.h"
#include "model/ProjectCommands.h"
#include "model/ProjectFile.h"

#include <algorithm>
#include <new>
#include <ostream>

namespace app {

int cmdCurve(CliRun& run);
int cmdListPrint(CliRun& run);
int cmdWallsFromDxf(CliRun& run);

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

std::string cliOutputPath(const std::string& given) { return given == "-" ? "/dev/stdout" : given; }

bool outputsAccepted(CliRun& run, const std::vector<std::string>& outputs, const std::string& input) {
    auto refuse = [&run](const std::string& path, const char* text) {
        const auto naming = run.about(path);
        run.services.messageBox(text, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    };
    const std::string inputIdentity = input.empty() ? std::string() : base::fileIdentity(input);
    std::vector<std::string> seen;
    for (const std::string& path : outputs) {
        if (!base::outputWritable(path)) return refuse(path, model::kMsgCannotWrite);
        const std::string identity = base::fileIdentity(path);
        if (identity.empty()) continue;
        if (identity == inputIdentity) return refuse(path, kMsgOutputIsInput);
        if (std::find(seen.begin(), seen.end(), identity) != seen.end()) return refuse(path, kMsgOutputTwice);
        seen.push_back(identity);
    }
    return true;
}

namespace {

// One command of the command line: its usage lines, what its options do, the options it accepts
// (those with a value first), the options it cannot do without and how many words besides options it
// takes. A command that checks its option values itself (calc) says which were wrong.
struct CommandUsage {
    const char* name;
    const char* usage;
    const char* help;
    std::vector<std::string> valueOptions;
    std::vector<std::string> flags;
    std::vector<std::string> required;
    std::size_t operands = 1;
    bool checksOwnOptions = false;
    std::vector<std::string> outputs = {};  // the options that name a file the command writes
    bool rewritesProject = false;           // the project read may be the file written (save, register)
    std::size_t outputOperand = 0;          // the operand that names the file written (1-based; 0: none)
};

const std::vector<CommandUsage>& commands() {
    static const std::vector<CommandUsage> table = {
        {"validate", "  ordivan-cli validate PROJECT.OLE\n",
         "Exits with 0 when PROJECT.OLE is a readable project, with 1 and the reason otherwise.\n", {}, {}, {}, 1},
        {"save", "  ordivan-cli save PROJECT.OLE OUT.OLE\n", "Reads the project, then writes it to OUT.OLE.\n", {}, {}, {}, 2, false, {}, true, 2},
        {"calc",
         "  ordivan-cli calc PROJECT.OLE [--step N] [--maintenance off|good|normal|poor] [--kind B|T|C]\n"
         "      [--levels auto|L1,...,L6] [--fixtures] [--height MM] [--threads N] [--screen WxH] [--dpi N]\n"
         "      [--progress | --quiet]\n"
         "      [--data DIR] [--grid F] [--json F|-] [--png F | --bmp F] [--csv F] [--csv-xy F]\n"
         "      [--dxf F [--dxf-type color|black|colortext] [--dxf-join]]\n"
         "      [--pdf F [--object-name TEXT] [--date TEXT]]\n"
         "      [--area NAME,X1,Y1,X2,Y2[,LUX[,U0]|,PRESET]]... [--areas-csv F]\n"
         "      [--indirect] [--room-height MM] [--work-plane MM] [--reflectances C,W,F]\n",
         "Calculates the direct illuminance of the project and writes the outputs asked for.\n"
         "options:\n"
         "  --step N             calculation step, 1 to 7 (default 3)\n"
         "  --maintenance off|good|normal|poor\n"
         "                       maintenance factor class (default normal)\n"
         "  --kind B|T|C         colour map (default), contour lines or colour temperature\n"
         "  --levels auto|L1,...,L6\n"
         "                       the six illuminance levels (default auto: chosen from the maximum)\n"
         "  --fixtures           draw the luminaires over the result\n"
         "  --height MM          calculation height instead of the project's\n"
         "  --threads N          worker threads, 0 to 256 (default 0: every core)\n"
         "  --screen WxH         the screen the plan surface is sized for (default 1920x1080)\n"
         "  --dpi N              that screen's dots per inch (default 96)\n"
         "  --progress           the calculation's progress on the error stream (default on a terminal)\n"
         "  --quiet              no progress line\n"
         "  --data DIR           catalogue folder for the light colours and the DXF templates\n"
         "  --area NAME,X1,Y1,X2,Y2[,LUX[,U0]|,PRESET]\n"
         "                       a task area for this run only (repeatable): corners in mm from the plan\n"
         "                       origin, required average lux and uniformity (0: none) or the name of a\n"
         "                       row of task_presets.csv; the project is not changed\n"
         "  --indirect           add the light that ceiling, walls, pillars and floor reflect (the room\n"
         "                       the project keeps, or ceiling at the highest luminaire, work plane 800 mm,\n"
         "                       reflectances 0.70,0.50,0.20)\n"
         "  --room-height MM     floor to ceiling for this run (0: the highest luminaire); implies --indirect\n"
         "  --work-plane MM      floor to work plane for this run; implies --indirect\n"
         "  --reflectances C,W,F reflectances of ceiling, walls (and pillars) and floor, 0 to 0.95 each;\n"
         "                       implies --indirect\n"
         "outputs:\n"
         "  --png F, --bmp F     the plan view after the calculation, with its texts and legend\n"
         "  --csv F              illuminance CSV (every tenth point over the lit area)\n"
         "  --csv-xy F           the same points with their coordinates: x_mm,y_mm,lux, from the top row down\n"
         "  --dxf F              plan and contour lines as DXF\n"
         "  --dxf-type color|black|colortext\n"
         "                       the DXF's colours (default color)\n"
         "  --dxf-join           each level's contour pieces joined end to end where they meet\n"
         "  --pdf F              the printed distribution map, A4 landscape\n"
         "  --object-name TEXT   the object name on the printed sheet\n"
         "  --date TEXT          the date on the printed sheet (default today)\n"
         "  --grid F             the raw grid: int32 width, int32 height, then float32 lux row by row,\n"
         "                       little-endian\n"
         "  --json F|-           the summary as JSON (- : the standard output)\n"
         "  --areas-csv F        the task-area table as CSV\n",
         {"--step", "--maintenance", "--kind", "--levels", "--height", "--threads", "--screen", "--dpi", "--grid", "--json",
          "--png", "--bmp", "--csv", "--csv-xy", "--dxf", "--dxf-type", "--pdf", "--object-name", "--date", "--data", "--area",
          "--areas-csv", "--room-height", "--work-plane", "--reflectances"},
         {"--fixtures", "--indirect", "--progress", "--quiet", "--dxf-join"}, {}, 1, true},
        {"report",
         "  ordivan-cli report PROJECT.OLE --pdf F [--indirect] [--room-height MM] [--work-plane MM]\n"
         "      [--reflectances C,W,F] [--step N] [--maintenance off|good|normal|poor] [--object-name TEXT]\n"
         "      [--date TEXT] [--data DIR] [--threads N] [--progress | --quiet]\n",
         "Calculates the project and writes the designer's report, A4 portrait: the cover with the settings and\n"
         "the verdict, the colour map, the contour lines, the task areas, the room and its surfaces, the\n"
         "luminaire schedule with power and curves, and what the calculation includes.\n"
         "options:\n"
         "  --pdf F              where the report is written\n"
         "  --indirect           add the light that ceiling, walls, pillars and floor reflect\n"
         "  --room-height MM     floor to ceiling for this run; implies --indirect\n"
         "  --work-plane MM      floor to work plane for this run; implies --indirect\n"
         "  --reflectances C,W,F reflectances of ceiling, walls and floor, 0 to 0.95 each; implies --indirect\n"
         "  --step N             calculation step, 1 to 7 (default 3)\n"
         "  --maintenance off|good|normal|poor\n"
         "                       maintenance factor class (default normal)\n"
         "  --object-name TEXT   the object name on the report (default: the project's)\n"
         "  --date TEXT          the date on the report (default today)\n"
         "  --data DIR           catalogue folder for the kinds of task and the light colours\n"
         "  --threads N          worker threads, 0 to 256 (default 0: every core)\n"
         "  --progress           the calculation's progress on the error stream (default on a terminal)\n"
         "  --quiet              no progress line\n",
         {"--pdf", "--room-height", "--work-plane", "--reflectances", "--step", "--maintenance", "--object-name", "--date",
          "--data", "--threads"},
         {"--indirect", "--progress", "--quiet"}, {"--pdf"}, 1, true},
        {"catalog", "  ordivan-cli catalog search PREFIX [--data DIR]\n  ordivan-cli catalog show HINBAN [--data DIR]\n",
         "search lists the distinct product numbers that begin with PREFIX, one a line; show lists the lamp\n"
         "choices, cone angles and efficiency of the product HINBAN.\n"
         "options:\n"
         "  --data DIR           the catalogue folder\n",
         {"--data"}, {}, {}, 2},
        {"register", "  ordivan-cli register PROJECT.OLE --slot N --hinban H [--lamp K] [--watts W] --out OUT.OLE [--data DIR]\n",
         "Registers a catalogue product in a slot of the project's type table and writes the project.\n"
         "options:\n"
         "  --slot N             the slot, 1 to 36\n"
         "  --hinban H           the product number\n"
         "  --lamp K             the lamp, by its code or its number in catalog show (default the first)\n"
         "  --watts W            the type's rated power in watts, 0 to 100000\n"
         "  --out OUT.OLE        where the project is written\n"
         "  --data DIR           the catalogue folder\n",
         {"--slot", "--hinban", "--lamp", "--watts", "--out", "--data"}, {}, {"--slot", "--hinban", "--out"}, 1, false, {"--out"}, true},
        {"import-photometry", "  ordivan-cli import-photometry FILE.ies|FILE.ldt PROJECT.OLE --slot N [--watts W] --out OUT.OLE\n",
         "Registers an IES or EULUMDAT light distribution in a slot and writes the project.\n"
         "options:\n"
         "  --slot N             the slot, 1 to 36\n"
         "  --watts W            the type's rated power in watts, 0 to 100000\n"
         "  --out OUT.OLE        where the project is written\n",
         {"--slot", "--watts", "--out"}, {}, {"--slot", "--out"}, 2, false, {"--out"}},
        {"curve", "  ordivan-cli curve PROJECT.OLE --slot N [--layout C1..C4] [--png F] [--pdf F [--date TEXT]]\n",
         "Prints the curve layout and scale of a registered type's light distribution, and draws the curve.\n"
         "options:\n"
         "  --slot N             the registered type, 1 to 36\n"
         "  --layout C1..C4      the curve layout (default: chosen from the distribution)\n"
         "  --png F              the curve as a picture\n"
         "  --pdf F              the curve as a printed sheet\n"
         "  --date TEXT          the date on the sheet (default today)\n",
         {"--slot", "--layout", "--png", "--pdf", "--date"}, {}, {"--slot"}, 1, false, {"--png", "--pdf"}},
        {"list-csv",
         "  ordivan-cli list-csv PROJECT.OLE --out F [--mode J|A] [--object-name TEXT] [--date TEXT] [--data DIR]\n",
         "Writes the product-number list of the registered types as CSV.\n"
         "options:\n"
         "  --out F              where the list is written\n"
         "  --mode J|A           lamp names in Japanese or alphabetic form (default: the project's)\n"
         "  --object-name TEXT   the object name on the list\n"
         "  --date TEXT          the date on the list (default today)\n"
         "  --data DIR           the catalogue folder\n",
         {"--out", "--mode", "--object-name", "--date", "--data"}, {}, {"--out"}, 1, false, {"--out"}},
        {"list-print", "  ordivan-cli list-print PROJECT.OLE --pdf F [--mode J|A] [--margins T,B,L,R] [--landscape]\n",
         "Prints the fixture table alone into a PDF file.\n"
         "options:\n"
         "  --pdf F              where the sheet is written\n"
         "  --mode J|A           lamp names in Japanese or alphabetic form (default: the project's)\n"
         "  --margins T,B,L,R    top, bottom, left and right margins in mm\n"
         "  --landscape          a landscape sheet (default portrait)\n",
         {"--pdf", "--mode", "--margins"}, {"--landscape"}, {"--pdf"}, 1, false, {"--pdf"}},
        {"walls-from-dxf",
         "  ordivan-cli walls-from-dxf PROJECT.OLE DRAWING.dxf --layers A,B [--scale MM_PER_UNIT] OUT.OLE\n",
         "Turns the lines, polylines and arcs of the named DXF layers into walls of the project and writes it\n"
         "to OUT.OLE. Without a scale in the project the drawing is fitted as the window's DXF background is;\n"
         "with one it is placed at the project's scale.\n"
         "options:\n"
         "  --layers A,B         the layers whose lines become walls\n"
         "  --scale MM_PER_UNIT  the millimetres of one drawing unit (default 1)\n",
         {"--layers", "--scale"}, {}, {"--layers"}, 3, false, {}, true, 3},
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

bool takesValue(const std::vector<std::string>& args, const std::string& option) {
    const CommandUsage* c = args.empty() ? nullptr : findCommand(args[0]);
    return c && contains(c->valueOptions, option);
}

// The words of a command line as the commands read them: the command, its operands, then its options,
// each value the word after its option. `--name=value` is `--name value`; after `--` every word is an
// operand, even one that begins with a dash.
struct Arranged {
    std::vector<std::string> args;
    std::size_t firstOption = 1;
    bool help = false;
    std::string fault;  // what is wrong with the words as the command's usage sees them; empty if nothing
};

Arranged arrange(const CommandUsage& c, const std::vector<std::string>& words) {
    Arranged a;
    std::vector<std::string> operands, options, given;
    auto fault = [&a](const std::string& text) {
        if (a.fault.empty()) a.fault = text;
    };
    bool optionsEnded = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::string word = words[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            operands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (isHelp(word)) {
            a.help = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const bool joined =
            word.rfind("--", 0) == 0 && equals != std::string::npos && contains(c.valueOptions, word.substr(0, equals));
        if (joined || contains(c.valueOptions, word)) {
            std::string value;
            if (joined) {
                value = word.substr(equals + 1);
                word.resize(equals);
            } else if (i + 1 == words.size()) {
                fault(word + ": value missing");
                continue;
            } else {
                value = words[++i];
            }
            options.insert(options.end(), {word, value});
        } else if (contains(c.flags, word)) {
            options.push_back(word);
        } else {
            fault("unknown option " + word);
            continue;
        }
        given.push_back(word);
    }
    for (const auto& option : c.required) {
        if (!contains(given, option)) fault(option + " missing");
    }
    if (operands.size() != c.operands)
        fault(std::to_string(c.operands) + (c.operands == 1 ? " argument" : " arguments") + " besides the options expected, " +
              std::to_string(operands.size()) + " given");
    a.args.push_back(words[0]);
    a.args.insert(a.args.end(), operands.begin(), operands.end());
    a.firstOption = a.args.size();
    a.args.insert(a.args.end(), options.begin(), options.end());
    return a;
}

} // namespace

bool CliRun::option(const std::string& name, std::string& value) const {
    for (std::size_t i = firstOption; i < args.size(); ++i) {
        const bool withValue = takesValue(args, args[i]);
        if (withValue && args[i] == name && i + 1 < args.size()) {
            value = args[i + 1];
            return true;
        }
        if (withValue) ++i;
    }
    return false;
}

bool CliRun::flag(const std::string& name) const {
    for (std::size_t i = firstOption; i < args.size(); ++i) {
        if (takesValue(args, args[i])) ++i;
        else if (args[i] == name) return true;
    }
    return false;
}

const std::vector<std::string>& cliValueOptions(const std::string& command) {
    static const std::vector<std::string> none;
    const CommandUsage* c = findCommand(command);
    return c ? c->valueOptions : none;
}

namespace {

// The places in the arranged words that name files the command writes: its output options' values and
// the operand that names the written file.
std::vector<std::size_t> outputPlaces(const CommandUsage& c, const std::vector<std::string>& args, std::size_t firstOption) {
    std::vector<std::size_t> places;
    if (c.outputOperand > 0 && c.outputOperand < firstOption) places.push_back(c.outputOperand);
    for (std::size_t i = firstOption; i < args.size(); ++i) {
        if (contains(c.valueOptions, args[i])) {
            if (contains(c.outputs, args[i]) && i + 1 < args.size()) places.push_back(i + 1);
            ++i;
        }
    }
    return places;
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
    if (command == "walls-from-dxf") return cmdWallsFromDxf(run);
    return runCalcCommand(run);  // calc and report, the commands of the table left
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

std::string cliHelp(const std::string& command) {
    if (!command.empty()) {
        const CommandUsage* c = findCommand(command);
        return c ? cliUsage(command) + "\n" + c->help : std::string();
    }
    return cliUsage() +
           "\n"
           "An option's value is the next word or follows '=' (--step 2 or --step=2); '--' ends the options.\n"
           "'ordivan-cli COMMAND --help' explains the options of a command.\n"
           "Exit status: 0 success, 1 the input was refused, 2 wrong usage.\n";
}

int runCli(const std::vector<std::string>& args, ui::Services& services, std::ostream& out, std::ostream& err) {
    FileMessages messages(services);
    // Output that never reached a full disk or a closed pipe makes the command a failure, not a success.
    auto written = [&out, &messages](int status) {
        if (status == kExitOk && !out.flush()) {
            const MessagesAbout naming(&messages, "-");
            messages.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
            return kExitRefused;
        }
        return status;
    };
    if (!args.empty() && isHelp(args[0])) {
        out << cliHelp();
        return written(kExitOk);
    }
    if (!args.empty() && args[0] == "--version") {
        out << "ordivan-cli (ORDIVAN) " << base::programVersion() << '\n';
        return written(kExitOk);
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
    const Arranged arranged = arrange(*c, args);
    if (arranged.help) {
        out << cliHelp(command);
        return written(kExitOk);
    }
    if (!arranged.fault.empty()) {
        err << "ordivan-cli: " << command << ": " << arranged.fault << '\n' << cliUsage(command);
        return kExitUsage;
    }
    std::vector<std::string> words = arranged.args;
    std::vector<std::string> outputs;
    for (const std::size_t at : outputPlaces(*c, words, arranged.firstOption)) {
        if (words[at].empty()) {
            err << "ordivan-cli: " << command << ": " << words[at - 1] << ": empty file name\n" << cliUsage(command);
            return kExitUsage;
        }
        words[at] = cliOutputPath(words[at]);
        outputs.push_back(words[at]);
    }
    CliRun run{words, messages, out, err, ScreenInfo{}, {}, {}, &messages};
    run.firstOption = arranged.firstOption;
    // Every output is written to its temporary first; they are put in place only when the whole run
    // succeeded, so a refused run leaves no new file and an accepted one all of them.
    base::OutputBatch batch;
    int status = kExitRefused;
    try {
        if (c->checksOwnOptions || outputsAccepted(run, outputs, c->rewritesProject ? std::string() : words[1]))
            status = dispatch(run, command);
    } catch (const std::bad_alloc&) {
        // Memory, threads or descriptors ran out: the system's message and a refusal, never a signal.
        messages.messageBox(base::kMsgNoMemory, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
        status = kExitRefused;
    } catch (const std::exception& e) {
        messages.showError(e.what());
        status = kExitRefused;
    }
    if (status == kExitUsage) {
        // The words are in their places, but a value is not one the command takes (calc names it itself).
        if (!c->checksOwnOptions) err << "ordivan-cli: " << command << ": a value is out of range or malformed\n";
        err << cliUsage(command);
    }
    status = written(status);
    if (interruptRequested()) {
        // Whatever was finished stays in its temporary and goes with the batch; the old files stay.
        err << "ordivan-cli: 中断しました\n";
        return kExitInterrupted;
    }
    if (status == kExitOk) {
        const std::string failed = batch.putInPlace();
        if (!failed.empty()) {
            const auto naming = run.about(failed);
            messages.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
            status = kExitRefused;
        }
    }
    return status;
}

} // namespace app
