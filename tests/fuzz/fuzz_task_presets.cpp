// libFuzzer target: a hostile task_presets.csv (the user may write their own) through the preset reader and the merge with the shipped rows.
#include "FuzzFiles.h"
#include "model/TaskPresets.h"

#include <cmath>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string user = fuzzing::writeFile("task_presets.csv", data, size);
    int skipped = -1;
    const auto rows = model::readTaskPresets(user, &skipped);
    if (skipped < 0) __builtin_trap();
    // Every row that was taken carries a name the project and the command line can hold and requirements
    // that are numbers.
    for (const auto& p : rows) {
        if (p.name.empty() || p.name.size() > model::kMaxPresetNameBytes) __builtin_trap();
        if (!std::isfinite(p.uniformity)) __builtin_trap();
    }
    const auto merged = model::loadTaskPresets(ORDIVAN_SOURCE_DIR "/data/zolt_data/task_presets.csv", user);
    for (const auto& p : rows) {
        if (!model::findTaskPreset(merged, p.name)) __builtin_trap();
    }
    return 0;
}
