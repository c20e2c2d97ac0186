// libFuzzer target: any command line, parsed in-process, ends in a usage message or a refusal with the exit status to match.
// Input: the arguments separated by NUL; the first picks the command. The project is never there, so no
// command gets past its option parsing to read or write a file; only a request for help succeeds.
#include "app/Cli.h"
#include "ui/testing/FakeServices.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::array<const char*, 8> commands{"validate", "save",  "register", "list-csv",
                                                     "import-photometry", "curve", "list-print", "calc"};
    static const std::string missing = "/nonexistent/ordivan-fuzz/plan.OLE";
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back() += static_cast<char>(data[i]);
    }
    const std::size_t pick = args[0].empty() ? 0 : static_cast<unsigned char>(args[0][0]) % commands.size();
    const std::string command = commands[pick];
    args[0] = command;
    // The positions that name files to read: a project, and the photometric file before it on import.
    if (args.size() > 1) args[1] = missing;
    if (command == "import-photometry" && args.size() > 2) args[2] = missing;

    ui::testing::FakeServices services;
    std::ostringstream out, err;
    const int status = app::runCli(args, services, out, err);
    // Asking for a command's help is the one success without a file: its usage on standard output.
    // Help is asked by --help or -h among the options: not after "--" (an operand then) and not as the
    // value of an option that takes one.
    bool helpAsked = false;
    const std::vector<std::string>& withValue = app::cliValueOptions(command);
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--") break;
        if (args[i] == "--help" || args[i] == "-h") {
            helpAsked = true;
            break;
        }
        if (std::find(withValue.begin(), withValue.end(), args[i]) != withValue.end()) ++i;
    }
    if (helpAsked) {
        if (status != app::kExitOk || out.str().find("usage:") == std::string::npos) std::abort();
        return 0;
    }
    // Nothing was read, so nothing can have succeeded; a usage error prints the usage, a refusal says why.
    if (status == app::kExitOk) std::abort();
    if (status == app::kExitUsage && err.str().find("usage:") == std::string::npos) std::abort();
    if (status == app::kExitRefused && services.allTexts().empty() && err.str().empty()) std::abort();
    if (status != app::kExitUsage && status != app::kExitRefused) std::abort();
    return 0;
}
