// Readers of IES LM-63 and EULUMDAT photometry and their conversion into a fixture type at 1° steps.
#include "catalog/Photometry.h"

#include "base/Cp932.h"
#include "base/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

namespace catalog {
namespace {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

std::string trim(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\0')) --b;
    return std::string(s.substr(a, b - a));
}

// A whole text as a finite number; a decimal comma is read as a point, as European files write it.
bool parseNumber(std::string_view text, double& out, bool commaDecimal) {
    std::string t = trim(text);
    if (commaDecimal) std::replace(t.begin(), t.end(), ',', '.');
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    if (t.empty()) return false;
    const char* end = t.data() + t.size();
    auto [p, ec] = std::from_chars(t.data(), end, out);
    return ec == std::errc() && p == end && std::isfinite(out);
}

bool parseCount(std::string_view text, int& out, bool commaDecimal, int lo, int hi) {
    double v;
    if (!parseNumber(text, v, commaDecimal) || v != std::floor(v) || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

// Numbers separated by blanks, tabs, line ends or commas.
std::vector<std::string> tokens(const std::vector<std::string>& lines, std::size_t from, bool commaSeparates) {
    std::vector<std::string> out;
    for (std::size_t i = from; i < lines.size(); ++i) {
        std::string cur;
        for (char c : lines[i]) {
            if (c == ' ' || c == '\t' || (commaSeparates && c == ',')) {
                if (!cur.empty()) out.push_back(cur);
                cur.clear();
            } else {
                cur.push_back(c);
            }
        }
        if (!cur.empty()) out.push_back(cur);
    }
    return out;
}

bool ascending(const std::vector<double>& v) {
    for (std::size_t i = 1; i < v.size(); ++i) {
        if (!(v[i] > v[i - 1])) return false;
    }
    return true;
}

// A file's text: UTF-8 as it stands (files made on current systems), else the CP932 of older ones.
std::string utf8Of(const std::string& raw) { return base::isValidUtf8(raw) ? raw : base::cp932ToUtf8(raw); }

double interpolate(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
    if (xs.empty() || x < xs.front() || x > xs.back()) return 0;
    auto it = std::lower_bound(xs.begin(), xs.end(), x);
    std::size_t i = static_cast<std::size_t>(it - xs.begin());
    if (xs[i] == x) return ys[i];
    const double t = (x - xs[i - 1]) / (xs[i] - xs[i - 1]);
    return ys[i - 1] + t * (ys[i] - ys[i - 1]);
}

// The numbers of a file's body read one after another, as its format lays them out.
struct NumberCursor {
    std::vector<std::string> t;
    bool commaDecimal = false;
    std::size_t k = 0;

    bool next(double& v) { return k < t.size() && parseNumber(t[k++], v, commaDecimal); }
    bool count(int& out, int lo, int hi) { return k < t.size() && parseCount(t[k++], out, commaDecimal, lo, hi); }
    bool fill(std::vector<double>& values) {
        for (auto& v : values) {
            if (!next(v)) return false;
        }
        return true;
    }
    // A plane of candela values, none negative, scaled by `factor`.
    bool candelas(std::vector<double>& plane, double factor) {
        for (auto& c : plane) {
            if (!next(c) || c < 0) return false;
            c *= factor;
        }
        return true;
    }
};

bool refused(std::string& reason, const char* why) {
    reason = why;
    return false;
}

constexpr const char* kMsgNumbers = "数値が足りないか不正です";
constexpr const char* kMsgAngles = "角度が不正です";
constexpr const char* kMsgCandelas = "光度の値が足りないか不正です";
constexpr const char* kMsgSize = "寸法が不正です";

struct IesNames {
    std::string lumcat, catalog, lamp, lampcat;
};

// The keyword lines before TILT: names and colour temperature. Returns the TILT line's position
// (the line count when there is none).
std::size_t readIesKeywords(const std::vector<std::string>& lines, PhotometricData& d, IesNames& names) {
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.rfind("TILT=", 0) == 0 || l.rfind("TILT =", 0) == 0) break;
        if (l.empty() || l[0] != '[') continue;
        const auto close = l.find(']');
        if (close == std::string::npos) continue;
        const std::string key = l.substr(1, close - 1);
        const std::string value = trim(std::string_view(l).substr(close + 1));
        if (key == "LUMCAT") names.lumcat = value;
        else if (key == "CATALOG") names.catalog = value;
        else if (key == "LAMP") names.lamp = value;
        else if (key == "LAMPCAT") names.lampcat = value;
        else if (key == "_CCT" || key == "COLORTEMP" || key == "CCT") {
            double v;
            // An absurd temperature is no colour at all (and would not fit an integer).
            if (parseNumber(value.substr(0, value.find_first_not_of("0123456789.")), v, false) && v >= 0 && v <= 100000)
                d.colourTemperature = static_cast<int>(v);
        }
    }
    return i;
}

// Lamp-to-luminaire geometry, the pairs' count, their angles and factors: not used by the plan.
bool skipIesTilt(NumberCursor& cur, std::string& reason) {
    double v;
    int pairs;
    if (!cur.next(v) || !cur.count(pairs, 0, 10000)) return refused(reason, "TILTデータが不正です");
    for (int n = 0; n < 2 * pairs; ++n) {
        if (!cur.next(v)) return refused(reason, "TILTデータが不正です");
    }
    return true;
}

struct IesHeader {
    int nV = 0, nH = 0, type = 0, units = 0;
    double lumens, multiplier, width, length, height, ballast, ballastLamp, watts;
};

// The two lines of counts, flux, photometric type, units, opening and ballast after TILT.
bool readIesHeader(NumberCursor& cur, PhotometricData& d, IesHeader& h, std::string& reason) {
    constexpr int kMaxAngles = static_cast<int>(kMaxPhotometryAngles);
    if (!cur.count(d.lampCount, 1, 1000) || !cur.next(h.lumens) || !cur.next(h.multiplier) ||
        !cur.count(h.nV, 1, kMaxAngles) || !cur.count(h.nH, 1, kMaxAngles) || !cur.count(h.type, 1, 3) ||
        !cur.count(h.units, 1, 2) || !cur.next(h.width) || !cur.next(h.length) || !cur.next(h.height) ||
        !cur.next(h.ballast) || !cur.next(h.ballastLamp) || !cur.next(h.watts))
        return refused(reason, kMsgNumbers);
    if (h.type != 1) return refused(reason, "タイプC以外の配光には対応していません");
    if (!(h.multiplier > 0) || !(h.lumens > 0 || h.lumens == -1)) return refused(reason, "光束または倍率が不正です");
    return true;
}

// The vertical and horizontal angles; the horizontal range tells the symmetry.
bool readIesAngles(NumberCursor& cur, const IesHeader& h, PhotometricData& d, std::string& reason) {
    d.gamma.resize(static_cast<std::size_t>(h.nV));
    d.cPlanes.resize(static_cast<std::size_t>(h.nH));
    if (!cur.fill(d.gamma) || !cur.fill(d.cPlanes)) return refused(reason, kMsgNumbers);
    if (!ascending(d.gamma) || d.gamma.front() < 0 || d.gamma.back() > 180 || !ascending(d.cPlanes) ||
        d.cPlanes.front() < 0 || d.cPlanes.back() > 360)
        return refused(reason, kMsgAngles);
    const double first = d.cPlanes.front(), last = d.cPlanes.back();
    if (h.nH == 1) d.symmetry = PhotometricData::Symmetry::Rotational;
    else if (first == 0 && last == 90) d.symmetry = PhotometricData::Symmetry::Quadrant;
    else if (first == 0 && last == 180) d.symmetry = PhotometricData::Symmetry::C0C180;
    else if (first == 90 && last == 270) d.symmetry = PhotometricData::Symmetry::C90C270;
    else if (first == 0 && last > 180) d.symmetry = PhotometricData::Symmetry::None;
    else return refused(reason, "水平角の範囲が不正です");
    return true;
}

// Lamp factor, opening size in mm and names from the header and keywords.
bool finishIes(const IesHeader& h, const IesNames& names, PhotometricData& d, std::string& reason) {
    d.perKilolumen = false;
    d.lumensPerLamp = h.lumens;
    d.lampFactor = h.ballast * (h.ballastLamp > 0 ? h.ballastLamp : 1.0);
    if (!(d.lampFactor > 0)) d.lampFactor = 1;
    const double mm = h.units == 1 ? 304.8 : 1000.0;
    d.lengthMm = std::fabs(h.length) * mm;
    d.widthMm = std::fabs(h.width) * mm;
    if (h.width < 0 && h.length == 0) d.lengthMm = d.widthMm;  // a round opening
    if (d.lengthMm > 1e7 || d.widthMm > 1e7) return refused(reason, kMsgSize);
    d.catalogNumber = utf8Of(!names.lumcat.empty() ? names.lumcat : names.catalog);
    d.lampName = utf8Of(!names.lamp.empty() ? names.lamp : names.lampcat);
    d.lampNameA = utf8Of(!names.lampcat.empty() ? names.lampcat : names.lamp);
    return true;
}

struct LdtHeader {
    int isym = 0, mc = 0, ng = 0, sets = 0;
    double lumLength, lumWidth, lor, conversion;
    int lamps = 0;
    double flux;
};

// Line `n` of the file (counted from 1), trimmed; empty past the end.
std::string ldtLine(const std::vector<std::string>& lines, std::size_t n) {
    return n >= 1 && n <= lines.size() ? trim(lines[n - 1]) : std::string();
}

constexpr std::size_t kLdtLampBase = 27;

// The fixed header lines and the first lamp set: symmetry, plane and angle counts, size, ratio, lamps.
bool readLdtHeader(const std::vector<std::string>& lines, PhotometricData& d, LdtHeader& h, std::string& reason) {
    auto line = [&](std::size_t n) { return ldtLine(lines, n); };
    auto num = [&](std::size_t n, double& v) { return parseNumber(line(n), v, true); };
    if (lines.size() < 26 || !parseCount(line(3), h.isym, true, 0, 4) ||
        !parseCount(line(4), h.mc, true, 1, static_cast<int>(kMaxPhotometryAngles)) ||
        !parseCount(line(6), h.ng, true, 1, static_cast<int>(kMaxPhotometryAngles)) || !num(16, h.lumLength) ||
        !num(17, h.lumWidth) || !num(23, h.lor) || !num(24, h.conversion) || !parseCount(line(26), h.sets, true, 1, 50))
        return refused(reason, "見出し行が足りないか不正です");
    // The factor the candela values are multiplied by: zero or less would turn the light off or negative.
    if (!(h.conversion > 0)) return refused(reason, "光度の換算係数が不正です");
    const auto sets = static_cast<std::size_t>(h.sets);
    double n;
    if (!num(kLdtLampBase, n) || n == 0 || std::fabs(n) > 1000 || !num(kLdtLampBase + 2 * sets, h.flux) || !(h.flux > 0))
        return refused(reason, "ランプの値が不正です");
    h.lamps = static_cast<int>(std::fabs(n));
    d.lampName = utf8Of(line(kLdtLampBase + sets));
    d.lampNameA = d.lampName;
    const std::string ct = line(kLdtLampBase + 3 * sets);
    const std::size_t digits = ct.find_first_not_of("0123456789");
    double v;
    if (parseNumber(ct.substr(0, digits), v, false) && v >= 1000 && v <= 20000) d.colourTemperature = static_cast<int>(v);
    return true;
}

// The planes the file gives, by its symmetry: the first one's position in the list of all C angles and
// their count (0 when the symmetry and the count of C planes disagree).
std::size_t ldtPlaneSpan(const LdtHeader& h, PhotometricData& d, std::size_t& firstPlane) {
    const int mc = h.mc, isym = h.isym;
    std::size_t planeCount = static_cast<std::size_t>(mc);
    firstPlane = 0;
    using S = PhotometricData::Symmetry;
    switch (isym) {
    case 0: d.symmetry = S::None; break;
    case 1: d.symmetry = S::Rotational; planeCount = 1; break;
    case 2: d.symmetry = S::C0C180; planeCount = static_cast<std::size_t>(mc / 2 + 1); break;
    case 3: d.symmetry = S::C90C270; firstPlane = static_cast<std::size_t>(3 * mc / 4); planeCount = static_cast<std::size_t>(mc / 2 + 1); break;
    default: d.symmetry = S::Quadrant; planeCount = static_cast<std::size_t>(mc / 4 + 1); break;
    }
    if ((isym == 2 || isym == 3) && mc % 2 != 0) planeCount = 0;
    if ((isym == 3 || isym == 4) && mc % 4 != 0) planeCount = 0;
    return planeCount;
}

// The candela planes the symmetry keeps, with their C angles (C90-C270 files mirrored into 90..270).
bool readLdtPlanes(NumberCursor& cur, const LdtHeader& h, const std::vector<double>& cAll, PhotometricData& d,
                   std::string& reason) {
    const int mc = h.mc, isym = h.isym;
    std::size_t firstPlane = 0;
    const std::size_t planeCount = ldtPlaneSpan(h, d, firstPlane);
    if (planeCount == 0 || planeCount > static_cast<std::size_t>(mc) + 1) return refused(reason, "対称性とC面の数が合いません");
    std::vector<double> planeAngles;
    for (std::size_t p = 0; p < planeCount; ++p) {
        const std::size_t at = (firstPlane + p) % static_cast<std::size_t>(mc);
        double a = cAll[at];
        if (isym == 3) a = std::fmod(180 - (a >= 270 ? a - 360 : a) + 360, 360.0);  // mirrored into 90..270
        if (isym != 3 && firstPlane + p >= static_cast<std::size_t>(mc)) a += 360;
        planeAngles.push_back(a);
        std::vector<double> plane(static_cast<std::size_t>(h.ng));
        if (!cur.candelas(plane, h.conversion)) return refused(reason, kMsgCandelas);
        d.values.push_back(std::move(plane));
    }
    if (isym == 3) {
        std::reverse(planeAngles.begin(), planeAngles.end());
        std::reverse(d.values.begin(), d.values.end());
    }
    if (!ascending(planeAngles)) return refused(reason, kMsgAngles);
    d.cPlanes = planeAngles;
    return true;
}

} // namespace

double PhotometricData::valueAt(double c, double g) const {
    if (values.empty()) return 0;
    c = std::fmod(c, 360.0);
    if (c < 0) c += 360.0;
    switch (symmetry) {
    case Symmetry::Rotational:
        return interpolate(gamma, values[0], g);
    case Symmetry::Quadrant:
        if (c > 180) c = 360 - c;
        if (c > 90) c = 180 - c;
        break;
    case Symmetry::C0C180:
        if (c > 180) c = 360 - c;
        break;
    case Symmetry::C90C270:
        if (c < 90 || c > 270) {
            c = std::fmod(180 - c + 720, 360.0);
        }
        break;
    case Symmetry::None:
        break;
    }
    // Between two given planes linearly; past the last plane of a full circle towards the first at 360°.
    std::vector<double> xs = cPlanes;
    std::vector<const std::vector<double>*> planes;
    for (const auto& p : values) planes.push_back(&p);
    if (symmetry == Symmetry::None && cPlanes.back() < 360) {
        xs.push_back(cPlanes.front() + 360);
        planes.push_back(&values.front());
    }
    if (c < xs.front()) c += 360;
    if (c > xs.back()) return interpolate(gamma, *planes.back(), g);
    auto it = std::lower_bound(xs.begin(), xs.end(), c);
    const std::size_t i = static_cast<std::size_t>(it - xs.begin());
    if (xs[i] == c) return interpolate(gamma, *planes[i], g);
    const double t = (c - xs[i - 1]) / (xs[i] - xs[i - 1]);
    const double a = interpolate(gamma, *planes[i - 1], g), b = interpolate(gamma, *planes[i], g);
    return a + t * (b - a);
}

std::optional<PhotometricData> readIes(std::string_view text, std::string& reason) {
    const auto lines = splitLines(text);
    PhotometricData d;
    IesNames names;
    const std::size_t i = readIesKeywords(lines, d, names);
    if (i >= lines.size()) {
        reason = "TILT行がありません";
        return std::nullopt;
    }
    const std::string tilt = trim(lines[i].substr(lines[i].find('=') + 1));
    NumberCursor cur{tokens(lines, i + 1, true), false};
    IesHeader h;
    if ((tilt == "INCLUDE" && !skipIesTilt(cur, reason)) || !readIesHeader(cur, d, h, reason) ||
        !readIesAngles(cur, h, d, reason))
        return std::nullopt;
    d.values.assign(static_cast<std::size_t>(h.nH), std::vector<double>(static_cast<std::size_t>(h.nV)));
    for (auto& plane : d.values) {
        if (!cur.candelas(plane, h.multiplier)) {
            reason = kMsgCandelas;
            return std::nullopt;
        }
    }
    if (!finishIes(h, names, d, reason)) return std::nullopt;
    return d;
}

std::optional<PhotometricData> readLdt(std::string_view text, std::string& reason) {
    const auto lines = splitLines(text);
    PhotometricData d;
    LdtHeader h;
    if (!readLdtHeader(lines, d, h, reason)) return std::nullopt;
    const std::size_t numbersFrom = kLdtLampBase + 6 * static_cast<std::size_t>(h.sets) + 10;  // after the direct ratios
    if (lines.size() < numbersFrom) {
        reason = kMsgNumbers;
        return std::nullopt;
    }
    NumberCursor cur{tokens(lines, numbersFrom - 1, false), true};
    std::vector<double> cAll(static_cast<std::size_t>(h.mc));
    d.gamma.resize(static_cast<std::size_t>(h.ng));
    if (!cur.fill(cAll) || !cur.fill(d.gamma)) {
        reason = kMsgNumbers;
        return std::nullopt;
    }
    if (!ascending(cAll) || cAll.front() < 0 || cAll.back() >= 360 || !ascending(d.gamma) || d.gamma.front() < 0 ||
        d.gamma.back() > 180) {
        reason = kMsgAngles;
        return std::nullopt;
    }
    if (!readLdtPlanes(cur, h, cAll, d, reason)) return std::nullopt;
    d.perKilolumen = true;
    d.lampCount = h.lamps;
    d.lumensPerLamp = h.flux / h.lamps;
    d.lightOutputRatio = h.lor >= 0 && h.lor <= 100 ? h.lor / 100.0 : -1;
    d.lengthMm = std::fabs(h.lumLength);
    d.widthMm = h.lumWidth == 0 ? d.lengthMm : std::fabs(h.lumWidth);
    if (d.lengthMm > 1e7 || d.widthMm > 1e7) {
        reason = kMsgSize;
        return std::nullopt;
    }
    d.catalogNumber = utf8Of(!ldtLine(lines, 10).empty() ? ldtLine(lines, 10) : ldtLine(lines, 9));
    return d;
}

namespace {

// A value past what a float holds is kept at a bound far beyond it, never converted into nothing
// defined; storable() refuses it.
float toStoredReal(double v) { return static_cast<float>(std::clamp(v, -1.0e30, 1.0e30)); }

// A file may hold numbers no luminaire has (1e308 candela or lumens); stored per 1000 lm they would
// become infinite or round to nothing, so the fixture type would be lost or give no light.
bool storable(const PhotometricData& d, std::string& reason) {
    const HaikouMdb m = toFixtureType(d, "");
    // A ballast factor is near one; a hundred is already no ballast.
    if (!(d.lumensPerLamp <= kMaxLampLumens) || !(m.lampFactor <= 100)) {
        reason = "光束または倍率が不正です";
        return false;
    }
    bool ok = std::isfinite(m.efficiency) && std::fabs(m.efficiency) <= 3.0e38;
    for (const auto& plane : m.intensity) {
        for (const float v : plane) ok = ok && v <= kMaxIntensityPerKilolumen;
    }
    if (!ok) reason = "光度の値が足りないか不正です";
    return ok;
}

} // namespace

std::optional<PhotometricData> readPhotometricFile(const std::string& path, std::string& reason) {
    std::string text;
    switch (base::readWholeFile(path, kMaxPhotometryBytes, text)) {
    case base::WholeRead::Ok: break;
    case base::WholeRead::CannotOpen: reason = "ファイルが開けません"; return std::nullopt;
    case base::WholeRead::TooLarge: reason = "ファイルが大きすぎます"; return std::nullopt;
    }
    std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto data = ext == ".ldt" ? readLdt(text, reason) : readIes(text, reason);
    if (data && !storable(*data, reason)) return std::nullopt;
    return data;
}

double distributionFlux(const PhotometricData& d) {
    // Midpoint sums: 1° in gamma, 2.5° in C.
    double flux = 0;
    const double dg = M_PI / 180, dc = 2.5 * M_PI / 180;
    for (int gi = 0; gi < 180; ++gi) {
        const double g = gi + 0.5;
        double ring = 0;
        if (d.symmetry == PhotometricData::Symmetry::Rotational) {
            ring = d.valueAt(0, g) * 2 * M_PI;
        } else {
            for (int ci = 0; ci < 144; ++ci) ring += d.valueAt(ci * 2.5 + 1.25, g) * dc;
        }
        flux += ring * std::sin(g * M_PI / 180) * dg;
    }
    return flux;
}

HaikouMdb toFixtureType(const PhotometricData& d, const std::string& fallbackName) {
    HaikouMdb m;
    using S = PhotometricData::Symmetry;
    m.planeCount = d.symmetry == S::Rotational ? 1 : (d.symmetry == S::Quadrant || d.symmetry == S::C90C270) ? 2 : 3;
    double perKlm;  // factor from the file's unit to cd per 1000 lm
    double lampLumens;
    const double flux = distributionFlux(d);
    if (d.perKilolumen) {
        perKlm = 1;
        lampLumens = d.lumensPerLamp;
        m.tosu = d.lampCount;
        m.efficiency = toStoredReal(d.lightOutputRatio >= 0 ? d.lightOutputRatio : flux / 1000.0);
    } else if (d.lumensPerLamp > 0) {
        lampLumens = d.lumensPerLamp;
        m.tosu = d.lampCount;
        perKlm = 1000.0 / (d.lumensPerLamp * d.lampCount);
        m.efficiency = toStoredReal(flux * perKlm / 1000.0);
    } else {
        // Absolute photometry: the luminaire's own flux stands for one lamp.
        lampLumens = flux > 0 ? flux : 1000.0;
        m.tosu = 1;
        perKlm = 1000.0 / lampLumens;
        m.efficiency = 1;
    }
    static constexpr int planeAngle[3] = {0, 90, 180};
    for (int p = 0; p < m.planeCount; ++p) {
        for (int g = 0; g <= 180; ++g) {
            m.intensity[static_cast<std::size_t>(p)][static_cast<std::size_t>(g)] =
                toStoredReal(d.valueAt(planeAngle[p], g) * perKlm);
        }
    }
    m.kou = m.kouCatalog = static_cast<std::int32_t>(std::min(lampLumens + 0.5, 2.0e9));
    m.colorTemp = d.colourTemperature > 0 ? d.colourTemperature : kDefaultColourTemperature;
    m.maintClass = 1;
    m.maintFactor = *maintFactorsOf(1);
    m.lampReserved = -1;
    m.lampFactor = toStoredReal(d.lampFactor);
    m.sizeX = static_cast<std::int32_t>(d.lengthMm + 0.5);
    m.sizeY = static_cast<std::int32_t>(d.widthMm + 0.5);
    const std::string name = !d.catalogNumber.empty() ? d.catalogNumber : fallbackName;
    m.hinban = base::truncateCp932(name, 23);
    m.haikouCode = base::truncateCp932(fallbackName, 23);
    m.lampName = base::truncateCp932(d.lampName, 44);
    m.lampNameA = base::truncateCp932(d.lampNameA, 28);
    m.catalogNote = d.perKilolumen ? "EULUMDAT" : "IES LM-63";
    return m;
}

} // namespace catalog
