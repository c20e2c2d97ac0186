// File dialog filters written the platform's way ("説明|*.OLE" pairs) and the default extension rule.
#pragma once
#include <string>
#include <vector>

namespace ui {

struct FilterEntry {
    std::string description;
    std::vector<std::string> patterns;  // "*.OLE", blanks trimmed
};

// Splits "desc|pat;pat|desc|pat" into entries; a trailing description without pattern is dropped.
std::vector<FilterEntry> parseFilter(const std::string& filter);

// The path with ".ext" appended when its file name has no extension (and ext is not empty).
std::string withDefaultExtension(const std::string& path, const std::string& ext);

} // namespace ui
