// ordivan-cli: the headless engine's command line (validate, save and the commands the subsystems add).
#pragma once
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

    // Sets the start-up state and reads the project; false (message shown) when it is refused.
    bool loadProject(const std::string& path);
    // The value after `--name`, if the option is given.
    bool option(const std::string& name, std::string& value) const;
    bool flag(const std::string& name) const;
};

// ordivan-cli calc PROJECT.OLE [options] [outputs].
int runCalcCommand(CliRun& run);

int runCli(const std::vector<std::string>& args, ui::Services& services, std::ostream& out, std::ostream& err);

std::string cliUsage();

} // namespace app
