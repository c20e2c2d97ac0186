// Number reading and writing that never depends on the user's locale.
#include "base/Text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace base {
namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool parseInt(std::string_view text, std::int32_t& out) {
    std::string_view s = trimBlanks(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    long long v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size()) return false;
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

bool parseFloat(std::string_view text, double& out) {
    std::string_view s = trimBlanks(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    // Only plain decimal notation: no "inf", "nan" or hexadecimal forms.
    for (char c : s) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e' || c == 'E' || c == '+')) return false;
    }
    double v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) return false;
    out = v;
    return true;
}

} // namespace

Fields::Fields(std::string_view line) {
    std::size_t start = 0;
    while (static_cast<int>(fields_.size()) < kMaxFields) {
        std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields_.emplace_back(line.substr(start));
            break;
        }
        fields_.emplace_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

const std::string& Fields::operator[](int n) const {
    static const std::string empty;
    if (n < 1 || n > count()) return empty;
    return fields_[static_cast<std::size_t>(n - 1)];
}

std::int32_t toInt(std::string_view text) {
    std::int32_t v = 0;
    if (!parseInt(text, v)) throw ConversionError("'" + std::string(text) + "' は数値ではありません");
    return v;
}

double toFloat(std::string_view text) {
    double v = 0;
    if (!parseFloat(text, v)) throw ConversionError("'" + std::string(text) + "' は浮動小数点数ではありません");
    return v;
}

bool isInt(std::string_view text) {
    std::int32_t v;
    return parseInt(text, v);
}

bool isFloat(std::string_view text) {
    double v;
    return parseFloat(text, v);
}

std::int32_t leadingInt(std::string_view text) {
    std::string_view s = text;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        v = v * 10 + (c - '0');
        if (v > std::numeric_limits<std::int32_t>::max()) {
            v = std::numeric_limits<std::int32_t>::max() + (negative ? 1LL : 0LL);
            break;
        }
    }
    return static_cast<std::int32_t>(negative ? -v : v);
}

double leadingFloat(std::string_view text) {
    std::string_view s = text;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || !std::isfinite(v)) return 0;
    return v;
}

std::string formatInt(long long value) { return std::to_string(value); }

std::string formatFixed(double value, int decimals) {
    char buffer[400];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "0";
    return std::string(buffer, ptr);
}

} // namespace base
