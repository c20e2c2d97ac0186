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
inline constexpr int kExitInterrupted = 130;  // 128 + SIGINT, as a shell reports it

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

inline constexpr const char* kMsgOutputIsInput = "出力先が読み込むファイルと同じです。";
inline constexpr const char* kMsgOutputTwice = "同じファイルに二つの出力を書くことはできません。";

// An output path as the command line takes it: `-` is the standard output.
std::string cliOutputPath(const std::string& given);
// Checks, before any work, that every output can be written, that none is the input file (unless
// `input` is empty) and that no two are the same file; false with the message shown otherwise.
bool outputsAccepted(CliRun& run, const std::vector<std::string>& outputs, const std::string& input);

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
