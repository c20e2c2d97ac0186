// CP932 codec on glibc iconv, with replacement instead of failure for bytes that are not text.
#include "base/Cp932.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <mutex>
#include <stdexcept>

namespace base {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            // Out of descriptors or memory: the program says so and ends the command, never a false text.
            throw std::runtime_error(std::string("文字コードの変換を開始できません (") + from + " → " + to + ")");
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one run; returns false when the input at *in is not convertible (in stays there).
    bool run(const char*& in, std::size_t& inLeft, std::string& out) {
        char buffer[1024];
        while (inLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            char* src = const_cast<char*>(in);
            std::size_t r = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            in = src;
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

std::mutex& codecMutex() {
    static std::mutex m;
    return m;
}

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

bool isCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

} // namespace

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        std::uint32_t code = lead;
        if (lead >= 0x80) {
            length = utf8SequenceLength(lead);
            if (length == 1 || i + length > bytes.size()) return false;
            code = lead & (0x7Fu >> length);
            for (std::size_t k = 1; k < length; ++k) {
                const auto c = static_cast<unsigned char>(bytes[i + k]);
                if ((c & 0xC0) != 0x80) return false;
                code = code << 6 | (c & 0x3F);
            }
            static constexpr std::uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        }
        i += length;
    }
    return true;
}

std::string cp932ToUtf8(std::string_view cp932) {
    std::lock_guard lock(codecMutex());
    static Converter conv("UTF-8", "CP932");
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    const char* in = cp932.data();
    std::size_t left = cp932.size();
    while (!conv.run(in, left, out)) {
        out += "\xEF\xBF\xBD";
        // Skip a whole double-byte pair when the lead byte announces one, else a single byte.
        std::size_t skip = (isCp932LeadByte(static_cast<unsigned char>(*in)) && left >= 2) ? 2 : 1;
        in += skip;
        left -= skip;
    }
    return out;
}

std::string utf8ToCp932(std::string_view utf8) {
    std::lock_guard lock(codecMutex());
    static Converter conv("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (!conv.run(in, left, out)) {
        out += '?';
        std::size_t skip = std::min(left, utf8SequenceLength(static_cast<unsigned char>(*in)));
        in += skip;
        left -= skip;
    }
    return out;
}

std::size_t cp932ByteLength(std::string_view utf8) { return utf8ToCp932(utf8).size(); }

std::pair<std::string, std::string> splitCp932(std::string_view utf8, std::size_t maxBytes) {
    std::size_t bytes = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t len = std::min(utf8.size() - pos, utf8SequenceLength(static_cast<unsigned char>(utf8[pos])));
        std::size_t charBytes = cp932ByteLength(utf8.substr(pos, len));
        if (bytes + charBytes > maxBytes) break;
        bytes += charBytes;
        pos += len;
    }
    return {std::string(utf8.substr(0, pos)), std::string(utf8.substr(pos))};
}

std::string truncateCp932(std::string_view utf8, std::size_t maxBytes) { return splitCp932(utf8, maxBytes).first; }

bool cp932Holds(std::string_view utf8) { return cp932ToUtf8(utf8ToCp932(utf8)) == utf8; }

} // namespace base
