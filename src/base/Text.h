// Comma line splitting, number conversion with the system's messages, and C-locale number formatting.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// What the user is told when memory ran out, wherever it ran out.
inline constexpr const char* kMsgNoMemory = "メモリーが足りません";

// A text that is not a number where one is needed; what() is the message shown to the user.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const std::string& message) : std::runtime_error(message) {}
};

// Fields of a comma-separated line, numbered from 1; no quoting; at most 39 fields are kept.
class Fields {
public:
    static constexpr int kMaxFields = 39;
    explicit Fields(std::string_view line);
    // Field n (1-based); an absent field is the empty text.
    const std::string& operator[](int n) const;
    int count() const { return static_cast<int>(fields_.size()); }

private:
    std::vector<std::string> fields_;
};

// Whole decimal integer within 32 bits (blanks around it allowed); throws "'%s' は数値ではありません".
std::int32_t toInt(std::string_view text);
// Decimal number, finite (blanks around it allowed); throws "'%s' は浮動小数点数ではありません".
double toFloat(std::string_view text);
// Same checks without the throw.
bool isInt(std::string_view text);
bool isFloat(std::string_view text);

// The leading numeric part of a text, 0 when there is none (the reading of header values).
std::int32_t leadingInt(std::string_view text);
double leadingFloat(std::string_view text);

// "%d", "%.2f", "%.4f" as the C locale writes them, whatever the user's locale.
std::string formatInt(long long value);
std::string formatFixed(double value, int decimals);

} // namespace base
