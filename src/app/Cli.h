// ordivan-cli: the headless engine's command line (validate, save and the commands the subsystems add).
#pragma once
#include "app/CliFileMessages.h"
#include "app/Startup.h"
#include "catalog/FixtureType.h"
#include "model/Document.h"
#include "ui/Services.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace app {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// One run of the command line: the arguments after the program name.
struct CliRun {
    std::vector<std::string> args;
    ui::Services& services;
    std::ostream& out;
    std::ostream& err;
    ScreenInfo screen;
    model::Document doc;
    catalog::TourokuTable touroku;
    // The services above when they name files in their messages (the command line's own run); else null.
    FileMessages* fileMessages = nullptr;
    model::WindowShown shown;  // what a window would show of the run; the commands never read it
    // args holds the command, its operands, then its options (each value the word after its option).
    std::size_t firstOption = 1;

    // Sets the start-up state and reads the project; false (message shown) when it is refused.
    bool loadProject(const std::string& path);
    // The value of the option `--name`, if it is given.
    bool option(const std::string& name, std::string& value) const;
    bool flag(const std::string& name) const;
    // Messages until the end of the caller's scope are about the file at `path` and name it.
    MessagesAbout about(const std::string& path) { return MessagesAbout(fileMessages, path); }
};

// ordivan-cli calc PROJECT.OLE [options] [outputs].
int runCalcCommand(CliRun& run);

int runCli(const std::vector<std::string>& args, ui::Services& services, std::ostream& out, std::ostream& err);

// The usage of every command, or of the one named (its lines alone); empty for an unknown command.
std::string cliUsage(const std::string& command = {});
// What --help prints: the usage and the conventions, or a command's usage and what its options do.
std::string cliHelp(const std::string& command = {});
// The options of a command that take a value.
const std::vector<std::string>& cliValueOptions(const std::string& command);

} // namespace app
