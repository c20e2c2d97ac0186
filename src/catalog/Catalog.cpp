// Catalogue readers: offset indexes built in one pass, single lines fetched by a seek, lamp and colour tables.
#include "catalog/Catalog.h"

#include "base/Cp932.h"
#include "base/Text.h"
#include "base/TextFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

namespace catalog {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openRead(const std::string& path) { return File(base::openRegularFile(path)); }

// One line as raw bytes: at most kCatalogLineBytes kept, the rest of the line passed over, CR LF or LF
// removed. False at the end of the file.
bool readRawLine(std::FILE* f, std::string& line) {
    line.clear();
    int c = std::fgetc(f);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        if (line.size() < kCatalogLineBytes) line.push_back(static_cast<char>(c));
        c = std::fgetc(f);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

// The product file's header: a read of at most 49 characters (CR LF counting as one, as a text-mode
// read sees it) or up to its line end; then the rest of that line, or the whole next line when the
// first read already took the whole first line.
void skipProductHeader(std::FILE* f) {
    int count = 0;
    bool tookLineEnd = false;
    while (count < 49) {
        int c = std::fgetc(f);
        if (c == EOF) return;
        if (c == '\n') {
            tookLineEnd = true;
            break;
        }
        if (c == '\r') {
            int d = std::fgetc(f);
            if (d == '\n') {
                tookLineEnd = true;
                break;
            }
            if (d != EOF) std::ungetc(d, f);
        }
        ++count;
    }
    std::string skipped;
    readRawLine(f, skipped);
    (void)tookLineEnd;
}

void showNotFound(const std::string& path, ui::Services& services) {
    services.messageBox(path + kMsgNotFound, kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
}

void showNoMemory(ui::Services& services) {
    services.messageBox(kMsgNoMemory, kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
}

std::string fieldText(const base::Fields& f, int n, std::size_t maxBytes) {
    return base::truncateCp932(f[n], maxBytes);
}

std::string joinPath(const std::string& dir, const char* name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

} // namespace

bool readLineAt(const std::string& path, std::uint64_t offset, std::string& utf8Line) {
    utf8Line.clear();
    File f = openRead(path);
    if (!f) return false;
    if (offset > static_cast<std::uint64_t>(INT64_MAX) || fseeko(f.get(), static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    std::string raw;
    if (!readRawLine(f.get(), raw)) return false;
    utf8Line = base::cp932ToUtf8(raw);
    return true;
}

bool Catalog::buildIndex(const std::string& path, HeaderRule rule, std::vector<IndexEntry>& index,
                         ui::Services& services) {
    index.clear();
    std::size_t lines = 0;
    {
        File f = openRead(path);
        if (!f) {
            showNotFound(path, services);
            return false;
        }
        int c;
        bool any = false;
        while ((c = std::fgetc(f.get())) != EOF) {
            any = true;
            if (c == '\n') ++lines;
        }
        if (any) ++lines;
    }
    try {
        if (lines + 5 > kMaxIndexEntries) throw std::bad_alloc();
        index.reserve(lines + 5);
    } catch (const std::bad_alloc&) {
        index.clear();
        showNoMemory(services);
        return false;
    }
    File f = openRead(path);
    if (!f) {
        showNotFound(path, services);
        return false;
    }
    if (rule == HeaderRule::ProductFile) {
        skipProductHeader(f.get());
    } else {
        std::string header;
        readRawLine(f.get(), header);
    }
    std::string raw;
    while (true) {
        const off_t at = ftello(f.get());
        if (!readRawLine(f.get(), raw)) break;
        if (index.size() >= lines + 5) break;  // the file grew while we read it
        base::Fields fields(base::cp932ToUtf8(raw));
        std::string key = fieldText(fields, 1, kKeyBytes);
        std::string bytes = base::utf8ToCp932(key);
        index.push_back(IndexEntry{std::move(key), static_cast<std::uint64_t>(at < 0 ? 0 : at), std::move(bytes)});
    }
    return true;
}

bool Catalog::loadLamps(const std::string& path, std::vector<LampEntry>& table, ui::Services& services) {
    table.clear();
    File f = openRead(path);
    if (!f) {
        showNotFound(path, services);
        return false;
    }
    std::string raw;
    readRawLine(f.get(), raw);  // header
    try {
        while (readRawLine(f.get(), raw)) {
            if (table.size() >= kMaxIndexEntries) throw std::bad_alloc();
            base::Fields fields(base::cp932ToUtf8(raw));
            LampEntry e;
            e.code = fieldText(fields, 1, kLampCodeBytes);
            e.nameJ = fieldText(fields, 3, kLampNameBytes);
            e.nameA = fieldText(fields, 4, kLampNameABytes);
            const double kou = base::toFloat(fields[7]);
            // A flux beyond 32 bits is no lamp of this world; it reads as the conversion error.
            if (!(kou > -2147483648.0 && kou < 2147483648.0)) throw base::ConversionError("'" + fields[7] + "' は浮動小数点数ではありません");
            e.kou = static_cast<std::int32_t>(kou);
            e.colorTemp = base::isInt(fields[8]) ? base::toInt(fields[8]) : 0;
            e.reserved = -1;
            e.factor = static_cast<float>(base::toFloat(fields[12]));
            table.push_back(std::move(e));
        }
    } catch (const base::ConversionError& e) {
        services.showError(e.what());
    } catch (const std::bad_alloc&) {
        table.clear();
        showNoMemory(services);
    }
    return true;
}

bool Catalog::loadColours(const std::string& path, LightColorTable& table, ui::Services& services) {
    table = LightColorTable{};
    File f = openRead(path);
    if (!f) {
        showNotFound(path, services);
        return false;
    }
    // Hexadecimal numbers separated by white space; reading ends at the end of the file, at the 63rd
    // number, or at the first text that is not a hexadecimal number.
    std::string token;
    auto flush = [&]() -> bool {
        if (token.empty()) return true;
        std::string digits = token;
        if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) digits = digits.substr(2);
        if (digits.empty() || digits.size() > 8) return false;
        for (char ch : digits) {
            if (!std::isxdigit(static_cast<unsigned char>(ch))) return false;
        }
        table.colorRef[static_cast<std::size_t>(table.loaded++)] =
            static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
        token.clear();
        return table.loaded < LightColorTable::kEntries;
    };
    int c;
    while ((c = std::fgetc(f.get())) != EOF) {
        if (std::isspace(c)) {
            if (!flush()) return true;
        } else {
            if (token.size() > 16) return true;
            token.push_back(static_cast<char>(c));
        }
    }
    flush();
    return true;
}

void Catalog::load(const std::string& dataDir, ui::Services& services) {
    productPath_ = joinPath(dataDir, kProductFileName);
    haikouPath_ = joinPath(dataDir, kHaikouFileName);
    buildIndex(productPath_, HeaderRule::ProductFile, productIndex_, services);
    buildIndex(haikouPath_, HeaderRule::OneLine, haikouIndex_, services);
    loadLamps(joinPath(dataDir, kLampFileName), lampTable_, services);
    loadColours(joinPath(dataDir, kColourFileName), colours_, services);
}

std::vector<std::string> Catalog::searchProducts(const std::string& prefix) const {
    std::vector<const IndexEntry*> hits;
    const std::string p = base::utf8ToCp932(prefix);
    for (const auto& e : productIndex_) {
        if (e.bytes.size() >= p.size() && e.bytes.compare(0, p.size(), p) == 0) hits.push_back(&e);
    }
    // Ascending by the bytes of the file, as the sorted list orders them.
    std::sort(hits.begin(), hits.end(), [](const IndexEntry* a, const IndexEntry* b) { return a->bytes < b->bytes; });
    std::vector<std::string> found;
    for (const IndexEntry* e : hits) {
        if (found.empty() || found.back() != e->key) found.push_back(e->key);
    }
    return found;
}

std::vector<int> Catalog::productLines(const std::string& hinban) const {
    std::vector<int> out;
    for (std::size_t i = 0; i < productIndex_.size(); ++i) {
        if (productIndex_[i].key == hinban) out.push_back(static_cast<int>(i));
    }
    return out;
}

std::string Catalog::productLine(int indexPosition) const {
    std::string line;
    if (indexPosition < 0 || static_cast<std::size_t>(indexPosition) >= productIndex_.size()) return line;
    readLineAt(productPath_, productIndex_[static_cast<std::size_t>(indexPosition)].offset, line);
    return line;
}

int Catalog::lampByCode(const std::string& code) const {
    const std::string c = base::truncateCp932(code, kLampCodeBytes);
    for (std::size_t i = 0; i < lampTable_.size(); ++i) {
        if (lampTable_[i].code == c) return static_cast<int>(i);
    }
    return static_cast<int>(lampTable_.size());
}

void Catalog::placeDistributionLine(const std::string& utf8Line, Distribution& d) {
    base::Fields f(utf8Line);
    d.planeCount = base::toInt(f[3]);
    const std::int32_t cPlane = base::toInt(f[4]);
    (void)base::toInt(f[5]);
    const std::int32_t layout = base::toInt(f[6]);
    int plane;
    if (cPlane == 0) plane = 0;
    else if (cPlane == 90) plane = 1;
    else if (cPlane == 180) plane = 2;
    else return;
    IntensityPlane& values = d.intensity[static_cast<std::size_t>(plane)];
    if (layout == 90 || layout == 180) {
        const int first = layout == 90 ? 0 : 90;
        for (int i = 0; i < 19; ++i) {
            values[static_cast<std::size_t>(first + 5 * i)] = static_cast<float>(base::toFloat(f[8 + i]));
        }
    } else if (layout >= 0 && layout <= 31) {
        for (int g = 0; g <= layout; ++g) values[static_cast<std::size_t>(g)] = static_cast<float>(base::toFloat(f[8 + g]));
    }
    // Any other layout has no room in a line of 39 fields; the line gives nothing.
}

Distribution Catalog::distribution(const std::string& code) const {
    Distribution d;
    File f = openRead(haikouPath_);
    if (f) {
        std::string raw;
        for (const auto& e : haikouIndex_) {
            if (e.key != code) continue;
            if (fseeko(f.get(), static_cast<off_t>(e.offset), SEEK_SET) != 0) continue;
            if (!readRawLine(f.get(), raw)) continue;
            placeDistributionLine(base::cp932ToUtf8(raw), d);
        }
    }
    if (d.planeCount >= 1 && d.planeCount <= 3) expandCatalogTable(d.intensity, d.planeCount);
    return d;
}

} // namespace catalog
