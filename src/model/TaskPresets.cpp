// Reading the task preset tables: a small quoted CSV, read bounded and row by row.
#include "model/TaskPresets.h"

#include "base/Text.h"
#include "base/TextFile.h"

#include <cstdlib>

namespace model {
namespace {

constexpr std::size_t kMaxPresetFileBytes = 256 * 1024;

// The fields of one line; a quoted field may hold commas and doubled quotes. nullopt for a quote left open.
std::optional<std::vector<std::string>> csvFields(const std::string& line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                out.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                out.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    if (quoted) return std::nullopt;
    return out;
}

std::optional<TaskPreset> presetOf(const std::string& line) {
    const auto f = csvFields(line);
    if (!f || f->size() != 6) return std::nullopt;
    TaskPreset p;
    p.name = (*f)[0];
    if (p.name.empty() || p.name.size() > kMaxPresetNameBytes || p.name.find_first_of("\r\n") != std::string::npos)
        return std::nullopt;
    if (!base::isInt((*f)[1]) || !base::isFloat((*f)[2]) || !base::isInt((*f)[3]) || !base::isInt((*f)[4])) return std::nullopt;
    p.lux = base::toInt((*f)[1]);
    const double u = base::toFloat((*f)[2]);
    p.ugrLimit = base::toInt((*f)[3]);
    p.ra = base::toInt((*f)[4]);
    p.source = (*f)[5];
    if (p.lux < 0 || p.lux > 100000 || !(u >= 0 && u <= 1) || p.ugrLimit < 0 || p.ugrLimit > 40 || p.ra < 0 || p.ra > 100)
        return std::nullopt;
    p.uniformity = static_cast<float>(u);
    return p;
}

} // namespace

std::vector<TaskPreset> readTaskPresets(const std::string& path, int* skipped) {
    std::vector<TaskPreset> out;
    if (skipped) *skipped = 0;
    std::string bytes;
    if (base::readWholeFile(path, kMaxPresetFileBytes, bytes) != base::WholeRead::Ok) return out;
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    std::size_t at = 0;
    bool header = true;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (header) {
            header = false;
            continue;
        }
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (auto p = presetOf(line)) out.push_back(std::move(*p));
        else if (skipped) ++*skipped;
    }
    return out;
}

std::vector<TaskPreset> loadTaskPresets(const std::string& shippedPath, const std::string& userPath) {
    std::vector<TaskPreset> all = readTaskPresets(shippedPath);
    for (TaskPreset& p : readTaskPresets(userPath)) {
        bool replaced = false;
        for (TaskPreset& q : all) {
            if (q.name == p.name) {
                q = p;
                replaced = true;
            }
        }
        if (!replaced) all.push_back(std::move(p));
    }
    return all;
}

std::vector<TaskPreset> installedTaskPresets(const std::string& catalogueDir) {
    return loadTaskPresets(catalogueDir + "/" + kTaskPresetsFile, userSettingsDir() + "/" + kTaskPresetsFile);
}

std::optional<TaskPreset> findTaskPreset(const std::vector<TaskPreset>& presets, const std::string& name) {
    for (const TaskPreset& p : presets) {
        if (p.name == name) return p;
    }
    return std::nullopt;
}

std::string userSettingsDir() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return std::string(xdg) + "/ORDIVAN";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/ORDIVAN";
}

} // namespace model
