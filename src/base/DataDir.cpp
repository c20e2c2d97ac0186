// The search order for the data folders shared by the desktop program and the command line.
#include "base/DataDir.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace base {
namespace fs = std::filesystem;

std::string findDataDir(const std::string& name, const std::string& given, const std::string& dataVariable,
                        const std::string& executableDir) {
    if (!given.empty()) return given;
    if (!dataVariable.empty() && name == kCatalogFolder) return dataVariable;
    const fs::path exe(executableDir);
    const fs::path beside = exe / name;
    const fs::path installed = exe / ".." / "share" / "ordivan" / name;
    std::error_code ec;
    if (fs::is_directory(beside, ec)) return beside.string();
    if (fs::is_directory(installed, ec)) return installed.lexically_normal().string();
    return beside.string();
}

std::string findDataDir(const std::string& name, const std::string& given) {
    const char* variable = std::getenv("ORDIVAN_DATA");
    return findDataDir(name, given, variable ? variable : "", executableDir());
}

std::string executableDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    // Without /proc the folder of the current process cannot be known; the working folder is the last resort.
    return ec ? fs::current_path(ec).string() : exe.parent_path().string();
}

} // namespace base
