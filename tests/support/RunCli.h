// Runs the built ordivan-cli as a user would and captures its exit status, output and error stream.
#pragma once
#include "support/TestPaths.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace testsupport {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

// `arguments` is a list of already separate words; each is quoted for the shell.
inline CliResult runCli(std::initializer_list<std::string> arguments) {
    std::string command = shellQuote(cliPath());
    for (const auto& a : arguments) command += " " + shellQuote(a);
    const auto errPath = std::filesystem::temp_directory_path() / ("ordivan_cli_err_" + std::to_string(::getpid()));
    command += " 2>" + shellQuote(errPath.string());
    CliResult r;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
    int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(errPath, std::ios::binary);
    r.err.assign(std::istreambuf_iterator<char>(in), {});
    std::filesystem::remove(errPath);
    return r;
}

// The whole content of a file, empty when it cannot be read.
inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// Runs a shell command and returns what it wrote on its standard output.
inline std::string capture(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

} // namespace testsupport
