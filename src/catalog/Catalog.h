// The maker's catalogue files: product and distribution indexes of byte offsets, lamp and colour tables.
#pragma once
#include "base/Text.h"
#include "catalog/FixtureType.h"
#include "ui/Services.h"

#include <cstdint>
#include <string>
#include <vector>

namespace catalog {

inline constexpr const char* kProductFileName = "T_Hinban2013.csv";
inline constexpr const char* kHaikouFileName = "t_haikou2010.csv";
inline constexpr const char* kLampFileName = "T_Lamp2010.csv";
inline constexpr const char* kColourFileName = "T_RGB.LEC";
inline constexpr const char* kMsgNotFound = "が見つかりません";
inline constexpr const char* kMsgNoMemory = base::kMsgNoMemory;
inline constexpr const char* kTitleError = "エラー";

// Widths of the fixed fields the catalogue's entries always had; longer texts are cut to them (whole
// CP932 characters), so a long text can never spill into its neighbour.
inline constexpr std::size_t kKeyBytes = 23;
inline constexpr std::size_t kLampCodeBytes = 9;
inline constexpr std::size_t kLampNameBytes = 44;
inline constexpr std::size_t kLampNameABytes = 28;
// A catalogue line is read up to this many bytes; the rest of a longer line is passed over.
inline constexpr std::size_t kCatalogLineBytes = 999;
// More lines than any catalogue has; a bigger file is refused as the memory shortage it would cause.
inline constexpr std::size_t kMaxIndexEntries = 2'000'000;

struct IndexEntry {
    std::string key;          // product number or distribution code, UTF-8, at most 23 CP932 bytes
    std::uint64_t offset = 0; // where the line starts in the file
    std::string bytes;        // the key as the file holds it (CP932), for byte-wise search and order
};

struct LampEntry {
    std::string code;
    std::string nameJ;
    std::string nameA;
    std::int32_t kou = 0;
    std::int32_t colorTemp = 0;
    std::int32_t reserved = -1;
    float factor = 0;
};

struct Distribution {
    std::int32_t planeCount = 0;
    IntensityTable intensity{};
};

// Reads one line at the given byte offset (UTF-8, line end removed, at most 999 bytes); false when the
// file cannot be opened or the offset lies beyond its end.
bool readLineAt(const std::string& path, std::uint64_t offset, std::string& utf8Line);

// The four catalogue files of the data directory, indexed once at start and read on demand.
class Catalog {
public:
    // Builds productIndex, haikouIndex, lampTable and lightColorTable in this order; a file that
    // cannot be opened gives "<path>が見つかりません" and leaves its table empty. A conversion error in
    // the lamp table is shown through the general error box and ends the lamp table there.
    void load(const std::string& dataDir, ui::Services& services);

    // Distinct product numbers beginning with the prefix (byte comparison), ascending.
    std::vector<std::string> searchProducts(const std::string& prefix) const;
    // Positions in productIndex of the lines of this product number, in file order.
    std::vector<int> productLines(const std::string& hinban) const;
    // The product line of an index position, UTF-8; empty when it cannot be read.
    std::string productLine(int indexPosition) const;
    // First lamp entry with this code, or the table's length when there is none.
    int lampByCode(const std::string& code) const;
    // The expanded planes of a distribution code; throws base::ConversionError for a bad number.
    Distribution distribution(const std::string& code) const;

    const std::vector<IndexEntry>& productIndex() const { return productIndex_; }
    const std::vector<IndexEntry>& haikouIndex() const { return haikouIndex_; }
    const std::vector<LampEntry>& lampTable() const { return lampTable_; }
    const LightColorTable& lightColors() const { return colours_; }
    const std::string& productPath() const { return productPath_; }
    const std::string& haikouPath() const { return haikouPath_; }

    // Index building and table reading, also used on their own by tests and the fuzz targets.
    enum class HeaderRule { ProductFile, OneLine };
    static bool buildIndex(const std::string& path, HeaderRule rule, std::vector<IndexEntry>& index,
                           ui::Services& services);
    static bool loadLamps(const std::string& path, std::vector<LampEntry>& table, ui::Services& services);
    static bool loadColours(const std::string& path, LightColorTable& table, ui::Services& services);
    // Places the values of one distribution line into the table; planeCount takes field 3.
    static void placeDistributionLine(const std::string& utf8Line, Distribution& d);

private:
    std::string productPath_, haikouPath_;
    std::vector<IndexEntry> productIndex_;
    std::vector<IndexEntry> haikouIndex_;
    std::vector<LampEntry> lampTable_;
    LightColorTable colours_;
};

} // namespace catalog
