// Requirements by kind of task: the shipped table of standard rows and the user's own rows beside it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace model {

inline constexpr const char* kTaskPresetsFile = "task_presets.csv";
// A preset name stands in the project and on the command line; longer names are refused.
inline constexpr std::size_t kMaxPresetNameBytes = 64;

// One kind of task: the maintained average illuminance, its uniformity, the glare limit and the colour
// rendering it calls for, and where the row comes from.
struct TaskPreset {
    std::string name;
    std::int32_t lux = 0;
    float uniformity = 0;
    std::int32_t ugrLimit = 0;
    std::int32_t ra = 0;
    std::string source;
};

// The rows of a preset file (UTF-8): a header line, then "name,lux,uniformity,ugr_limit,ra,source"; a
// field in double quotes may hold commas ("" for a quote). A row that does not read is skipped and
// counted in `skipped`; a file past 256 KiB or that cannot be opened gives no rows.
std::vector<TaskPreset> readTaskPresets(const std::string& path, int* skipped = nullptr);

// The shipped table (from the data folder) followed by the user's rows; a user row with the name of an
// earlier one replaces it where it stood.
std::vector<TaskPreset> loadTaskPresets(const std::string& shippedPath, const std::string& userPath);

// The table of a catalogue folder with the user's rows from the per-user settings folder.
std::vector<TaskPreset> installedTaskPresets(const std::string& catalogueDir);

// The preset of that name, if any.
std::optional<TaskPreset> findTaskPreset(const std::vector<TaskPreset>& presets, const std::string& name);

// The per-user settings folder the window's settings live in ($XDG_CONFIG_HOME or ~/.config, then ORDIVAN).
std::string userSettingsDir();

} // namespace model
