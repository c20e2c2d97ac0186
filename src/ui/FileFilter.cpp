// Parsing of dialog filters and the default extension of saved files.
#include "ui/FileFilter.h"

namespace ui {
namespace {

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto cut = s.find(sep, start);
        parts.push_back(s.substr(start, cut == std::string::npos ? std::string::npos : cut - start));
        if (cut == std::string::npos) break;
        start = cut + 1;
    }
    return parts;
}

} // namespace

std::vector<FilterEntry> parseFilter(const std::string& filter) {
    std::vector<FilterEntry> entries;
    if (filter.empty()) return entries;
    const auto parts = split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        FilterEntry e;
        e.description = trim(parts[i]);
        for (const auto& p : split(parts[i + 1], ';')) {
            const auto t = trim(p);
            if (!t.empty()) e.patterns.push_back(t);
        }
        if (!e.patterns.empty()) entries.push_back(std::move(e));
    }
    return entries;
}

std::string withDefaultExtension(const std::string& path, const std::string& ext) {
    if (ext.empty() || path.empty()) return path;
    const auto slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + ext;
}

} // namespace ui
