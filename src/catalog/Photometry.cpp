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

std::string utf8Of(const std::string& raw) { return base::cp932ToUtf8(raw); }

double interpolate(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
    if (xs.empty() || x < xs.front() || x > xs.back()) return 0;
    auto it = std::lower_bound(xs.begin(), xs.end(), x);
    std::size_t i = static_cast<std::size_t>(it - xs.begin());
    if (xs[i] == x) return ys[i];
    const double t = (x - xs[i - 1]) / (xs[i] - xs[i - 1]);
    return ys[i - 1] + t * (ys[i] - ys[i - 1]);
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
    std::size_t i = 0;
    std::string lumcat, catalog, luminaire, lamp, lampcat;
    for (; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.rfind("TILT=", 0) == 0 || l.rfind("TILT =", 0) == 0) break;
        if (!l.empty() && l[0] == '[') {
            const auto close = l.find(']');
            if (close == std::string::npos) continue;
            const std::string key = l.substr(1, close - 1);
            const std::string value = trim(std::string_view(l).substr(close + 1));
            if (key == "LUMCAT") lumcat = value;
            else if (key == "CATALOG") catalog = value;
            else if (key == "LUMINAIRE") luminaire = value;
            else if (key == "LAMP") lamp = value;
            else if (key == "LAMPCAT") lampcat = value;
            else if (key == "_CCT" || key == "COLORTEMP" || key == "CCT") {
                double v;
                // An absurd temperature is no colour at all (and would not fit an integer).
                if (parseNumber(value.substr(0, value.find_first_not_of("0123456789.")), v, false) && v >= 0 && v <= 100000)
                    d.colourTemperature = static_cast<int>(v);
            }
        }
    }
    if (i >= lines.size()) {
        reason = "TILT行がありません";
        return std::nullopt;
    }
    const std::string tilt = trim(lines[i].substr(lines[i].find('=') + 1));
    auto t = tokens(lines, i + 1, true);
    std::size_t k = 0;
    auto next = [&](double& v) { return k < t.size() && parseNumber(t[k++], v, false); };
    double v;
    if (tilt == "INCLUDE") {
        // Lamp-to-luminaire geometry, the pairs' count, their angles and factors: not used by the plan.
        int pairs;
        if (!next(v) || k >= t.size() || !parseCount(t[k++], pairs, false, 0, 10000)) {
            reason = "TILTデータが不正です";
            return std::nullopt;
        }
        for (int n = 0; n < 2 * pairs; ++n) {
            if (!next(v)) {
                reason = "TILTデータが不正です";
                return std::nullopt;
            }
        }
    }
    int nV = 0, nH = 0, type = 0, units = 0;
    double lumens, multiplier, width, length, height, ballast, ballastLamp, watts;
    if (k >= t.size() || !parseCount(t[k++], d.lampCount, false, 1, 1000) || !next(lumens) || !next(multiplier) ||
        k + 1 >= t.size() || !parseCount(t[k++], nV, false, 1, static_cast<int>(kMaxPhotometryAngles)) ||
        !parseCount(t[k++], nH, false, 1, static_cast<int>(kMaxPhotometryAngles)) || k + 1 >= t.size() ||
        !parseCount(t[k++], type, false, 1, 3) || !parseCount(t[k++], units, false, 1, 2) || !next(width) ||
        !next(length) || !next(height) || !next(ballast) || !next(ballastLamp) || !next(watts)) {
        reason = "数値が足りないか不正です";
        return std::nullopt;
    }
    if (type != 1) {
        reason = "タイプC以外の配光には対応していません";
        return std::nullopt;
    }
    if (!(multiplier > 0) || !(lumens > 0 || lumens == -1)) {
        reason = "光束または倍率が不正です";
        return std::nullopt;
    }
    d.gamma.resize(static_cast<std::size_t>(nV));
    d.cPlanes.resize(static_cast<std::size_t>(nH));
    for (auto& a : d.gamma) {
        if (!next(a)) {
            reason = "数値が足りないか不正です";
            return std::nullopt;
        }
    }
    for (auto& a : d.cPlanes) {
        if (!next(a)) {
            reason = "数値が足りないか不正です";
            return std::nullopt;
        }
    }
    if (!ascending(d.gamma) || d.gamma.front() < 0 || d.gamma.back() > 180 || !ascending(d.cPlanes) ||
        d.cPlanes.front() < 0 || d.cPlanes.back() > 360) {
        reason = "角度が不正です";
        return std::nullopt;
    }
    const double first = d.cPlanes.front(), last = d.cPlanes.back();
    if (nH == 1) d.symmetry = PhotometricData::Symmetry::Rotational;
    else if (first == 0 && last == 90) d.symmetry = PhotometricData::Symmetry::Quadrant;
    else if (first == 0 && last == 180) d.symmetry = PhotometricData::Symmetry::C0C180;
    else if (first == 90 && last == 270) d.symmetry = PhotometricData::Symmetry::C90C270;
    else if (first == 0 && last > 180) d.symmetry = PhotometricData::Symmetry::None;
    else {
        reason = "水平角の範囲が不正です";
        return std::nullopt;
    }
    d.values.assign(static_cast<std::size_t>(nH), std::vector<double>(static_cast<std::size_t>(nV)));
    for (auto& plane : d.values) {
        for (auto& c : plane) {
            if (!next(c) || c < 0) {
                reason = "光度の値が足りないか不正です";
                return std::nullopt;
            }
            c *= multiplier;
        }
    }
    d.perKilolumen = false;
    d.lumensPerLamp = lumens;
    d.lampFactor = ballast * (ballastLamp > 0 ? ballastLamp : 1.0);
    if (!(d.lampFactor > 0)) d.lampFactor = 1;
    const double mm = units == 1 ? 304.8 : 1000.0;
    d.lengthMm = std::fabs(length) * mm;
    d.widthMm = std::fabs(width) * mm;
    if (width < 0 && length == 0) d.lengthMm = d.widthMm;  // a round opening
    if (d.lengthMm > 1e7 || d.widthMm > 1e7) {
        reason = "寸法が不正です";
        return std::nullopt;
    }
    d.catalogNumber = utf8Of(!lumcat.empty() ? lumcat : catalog);
    d.lampName = utf8Of(!lamp.empty() ? lamp : lampcat);
    d.lampNameA = utf8Of(!lampcat.empty() ? lampcat : lamp);
    (void)luminaire;
    return d;
}

std::optional<PhotometricData> readLdt(std::string_view text, std::string& reason) {
    const auto lines = splitLines(text);
    PhotometricData d;
    auto line = [&](std::size_t n) -> std::string { return n >= 1 && n <= lines.size() ? trim(lines[n - 1]) : std::string(); };
    auto num = [&](std::size_t n, double& v) { return parseNumber(line(n), v, true); };
    int isym = 0, mc = 0, ng = 0, sets = 0;
    double lumLength, lumWidth, lor, conversion;
    if (lines.size() < 26 || !parseCount(line(3), isym, true, 0, 4) ||
        !parseCount(line(4), mc, true, 1, static_cast<int>(kMaxPhotometryAngles)) ||
        !parseCount(line(6), ng, true, 1, static_cast<int>(kMaxPhotometryAngles)) || !num(16, lumLength) ||
        !num(17, lumWidth) || !num(23, lor) || !num(24, conversion) || !parseCount(line(26), sets, true, 1, 50)) {
        reason = "見出し行が足りないか不正です";
        return std::nullopt;
    }
    const std::size_t lampBase = 27;
    int lamps = 0;
    double flux;
    {
        double n;
        if (!num(lampBase, n) || n == 0 || std::fabs(n) > 1000 || !num(lampBase + 2 * static_cast<std::size_t>(sets), flux) ||
            !(flux > 0)) {
            reason = "ランプの値が不正です";
            return std::nullopt;
        }
        lamps = static_cast<int>(std::fabs(n));
    }
    d.lampName = utf8Of(line(lampBase + static_cast<std::size_t>(sets)));
    d.lampNameA = d.lampName;
    {
        const std::string ct = line(lampBase + 3 * static_cast<std::size_t>(sets));
        const std::size_t digits = ct.find_first_not_of("0123456789");
        double v;
        if (parseNumber(ct.substr(0, digits), v, false) && v >= 1000 && v <= 20000) d.colourTemperature = static_cast<int>(v);
    }
    const std::size_t numbersFrom = lampBase + 6 * static_cast<std::size_t>(sets) + 10;  // after the direct ratios
    if (lines.size() < numbersFrom) {
        reason = "数値が足りないか不正です";
        return std::nullopt;
    }
    const auto t = tokens(lines, numbersFrom - 1, false);
    std::size_t k = 0;
    auto next = [&](double& v) { return k < t.size() && parseNumber(t[k++], v, true); };
    std::vector<double> cAll(static_cast<std::size_t>(mc));
    d.gamma.resize(static_cast<std::size_t>(ng));
    for (auto& a : cAll) {
        if (!next(a)) {
            reason = "数値が足りないか不正です";
            return std::nullopt;
        }
    }
    for (auto& a : d.gamma) {
        if (!next(a)) {
            reason = "数値が足りないか不正です";
            return std::nullopt;
        }
    }
    if (!ascending(cAll) || cAll.front() < 0 || cAll.back() >= 360 || !ascending(d.gamma) || d.gamma.front() < 0 ||
        d.gamma.back() > 180) {
        reason = "角度が不正です";
        return std::nullopt;
    }
    // The planes the file gives, by its symmetry (positions in the list of all C angles).
    std::size_t firstPlane = 0, planeCount = static_cast<std::size_t>(mc);
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
    if (planeCount == 0 || planeCount > static_cast<std::size_t>(mc) + 1) {
        reason = "対称性とC面の数が合いません";
        return std::nullopt;
    }
    std::vector<double> planeAngles;
    for (std::size_t p = 0; p < planeCount; ++p) {
        const std::size_t at = (firstPlane + p) % static_cast<std::size_t>(mc);
        double a = cAll[at];
        if (isym == 3) a = std::fmod(180 - (a >= 270 ? a - 360 : a) + 360, 360.0);  // mirrored into 90..270
        if (isym != 3 && firstPlane + p >= static_cast<std::size_t>(mc)) a += 360;
        planeAngles.push_back(a);
        std::vector<double> plane(static_cast<std::size_t>(ng));
        for (auto& c : plane) {
            if (!next(c) || c < 0) {
                reason = "光度の値が足りないか不正です";
                return std::nullopt;
            }
            c *= conversion > 0 ? conversion : 1.0;
        }
        d.values.push_back(std::move(plane));
    }
    if (isym == 3) {
        std::reverse(planeAngles.begin(), planeAngles.end());
        std::reverse(d.values.begin(), d.values.end());
    }
    if (!ascending(planeAngles)) {
        reason = "角度が不正です";
        return std::nullopt;
    }
    d.cPlanes = planeAngles;
    d.perKilolumen = true;
    d.lampCount = lamps;
    d.lumensPerLamp = flux / lamps;
    d.lightOutputRatio = lor >= 0 && lor <= 100 ? lor / 100.0 : -1;
    d.lengthMm = std::fabs(lumLength);
    d.widthMm = lumWidth == 0 ? d.lengthMm : std::fabs(lumWidth);
    if (d.lengthMm > 1e7 || d.widthMm > 1e7) {
        reason = "寸法が不正です";
        return std::nullopt;
    }
    d.catalogNumber = utf8Of(!line(10).empty() ? line(10) : line(9));
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
