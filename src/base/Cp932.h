// Conversion between the Shift-JIS (Windows code page 932) bytes of our files and UTF-8 in memory.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// Decodes CP932 bytes; a byte sequence that is not CP932 becomes U+FFFD, so hostile files never fail here.
std::string cp932ToUtf8(std::string_view cp932);

// Encodes UTF-8 text; a character CP932 cannot hold becomes '?'.
std::string utf8ToCp932(std::string_view utf8);

// Whether CP932 holds every character of the text (none would be written as '?').
bool cp932Holds(std::string_view utf8);

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// Number of bytes the text takes in a CP932 file (the unit of the catalogue's and the sheets' limits).
std::size_t cp932ByteLength(std::string_view utf8);

// The longest prefix of the text whose CP932 form has at most maxBytes bytes, never splitting a character.
std::string truncateCp932(std::string_view utf8, std::size_t maxBytes);

// Splits after at most maxBytes CP932 bytes without cutting a double-byte character: {head, rest}.
std::pair<std::string, std::string> splitCp932(std::string_view utf8, std::size_t maxBytes);

} // namespace base
