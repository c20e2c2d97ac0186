// Test helpers: a throw-away catalogue directory written from UTF-8 lines as CP932 files.
#pragma once
#include "base/Cp932.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace catalog::testing {

class TempCatalogDir {
public:
    TempCatalogDir() {
        char pattern[] = "/tmp/ordivan_catalog_XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) throw std::runtime_error("cannot make a temporary directory");
        path_ = made;
    }
    ~TempCatalogDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    // Writes the lines as CP932 with CR LF endings (the catalogue's own form).
    void write(const std::string& name, const std::vector<std::string>& lines, const char* eol = "\r\n") const {
        std::ofstream f(file(name), std::ios::binary);
        for (const auto& l : lines) f << base::utf8ToCp932(l) << eol;
    }
    void writeRaw(const std::string& name, const std::string& bytes) const {
        std::ofstream f(file(name), std::ios::binary);
        f << bytes;
    }

private:
    std::string path_;
};

// A product line with the fields the system reads; the rest stay empty.
struct ProductLineFields {
    std::string hinban;
    std::string tosu = "1";
    std::string lamp = "L1";
    std::string haikou = "H1";
    std::string maint = "1";
    std::string asym = "";
    std::string note = "note";
    std::string a = "60", b = "0", c = "0", d = "0";
    std::string f23 = "1.5";
    std::string efficiency = "0.75";
};

inline std::string productLine(const ProductLineFields& s) {
    std::vector<std::string> f(31);
    f[0] = s.hinban;
    f[6] = s.tosu;
    f[7] = s.lamp;
    f[8] = s.haikou;
    f[9] = s.maint;
    f[10] = s.asym;
    f[11] = s.note;
    f[18] = s.a;
    f[19] = s.b;
    f[20] = s.c;
    f[21] = s.d;
    f[22] = s.f23;
    f[23] = "2";
    f[24] = "3";
    f[25] = "4";
    f[30] = s.efficiency;
    std::string line;
    for (std::size_t i = 0; i < f.size(); ++i) line += (i ? "," : "") + f[i];
    return line;
}

// A header line longer than 49 characters, so that it alone is skipped.
inline const std::string kLongHeader = "品番,品名,シリーズ,色,寸法,価格,灯数,ランプコード,配光コード,保守率区分";

// A distribution line: code, plane count, C-plane, layout and the values from field 8.
inline std::string haikouLine(const std::string& code, int planeCount, int cPlane, int layout,
                              const std::vector<double>& values) {
    std::string line = code + ",name," + std::to_string(planeCount) + "," + std::to_string(cPlane) + ",0," +
                       std::to_string(layout) + ",";
    for (double v : values) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", v);
        line += std::string(",") + buf;
    }
    return line;
}

// 19 values v(0), v(5), … for one 5° line starting at `first` degrees.
template <class F>
std::vector<double> fiveDegreeValues(int first, F f) {
    std::vector<double> v;
    for (int i = 0; i < 19; ++i) v.push_back(f(first + 5 * i));
    return v;
}

inline std::string lampLine(const std::string& code, const std::string& nameJ, const std::string& nameA,
                            const std::string& flux, const std::string& ct, const std::string& factor) {
    return code + ",1," + nameJ + "," + nameA + ",x,y," + flux + "," + ct + ",a,b,c," + factor;
}

} // namespace catalog::testing
