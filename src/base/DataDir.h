// Where the programs find their data folders (the catalogue zolt_data, the sample projects), never relative to the working directory.
#pragma once
#include <string>

namespace base {

inline constexpr const char* kCatalogFolder = "zolt_data";
inline constexpr const char* kSamplesFolder = "samples";

// The folder named `name`, in this order: `given` (a --data DIR) when not empty; for the catalogue the
// ORDIVAN_DATA variable when set; `name` beside the executable; ../share/ordivan/`name` from the
// executable's folder (the installed layout). When none of the folders exists the one beside the
// executable is returned, so the messages about missing files name where the program looked first.
std::string findDataDir(const std::string& name, const std::string& given = {});

// The same search from an explicit executable folder and variable value (for callers that know them).
std::string findDataDir(const std::string& name, const std::string& given, const std::string& dataVariable,
                        const std::string& executableDir);

// The folder of the running executable (its real path, links resolved).
std::string executableDir();

} // namespace base
