// IES LM-63 and EULUMDAT readers: bounded, tolerant of layout, strict about the numbers they need.
#include "catalog/Photometry.h"

#include "base/Cp932.h"
#include "base/Text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

namespace catalog {
namespace {

constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;
constexpr int kMaxAngles = 1000;
constexpr double kMaxCandela = 1.0e8;

struct Distribution {
    std::vector<double> cAngles;       // ascending, degrees
    std::vector<double> gammaAngles;   // ascending, degrees within 0..180
    std::vector<std::vector<double>> candela;  // [c][gamma], cd per 1000 lm
};

// Intensity at gamma on one C plane, linear between measured angles and 0 outside them.
double atGamma(const Distribution& d, std::size_t c, double gamma) {
    const auto& g = d.gammaAngles;
    const auto& v = d.candela[c];
    if (gamma < g.front() || gamma > g.back()) return 0;
    auto it = std::upper_bound(g.begin(), g.end(), gamma);
    if (it == g.end()) return v.back();
    std::size_t hi = static_cast<std::size_t>(it - g.begin());
    if (hi == 0) return v.front();
    std::size_t lo = hi - 1;
    const double span = g[hi] - g[lo];
    return span > 0 ? v[lo] + (v[hi] - v[lo]) * (gamma - g[lo]) / span : v[lo];
}

// Intensity on the C plane `cWanted`, using the symmetry the measured planes imply.
double atPlane(const Distribution& d, double cWanted, double gamma) {
    const auto& cs = d.cAngles;
    if (cs.size() == 1) return atGamma(d, 0, gamma);
    const double last = cs.back();
    double c = cWanted;
    if (last <= 90.0 + 1e-9) {
        // One quadrant measured: the other three mirror it.
        c = std::fmod(c, 180.0);
        if (c > 90.0) c = 180.0 - c;
    } else if (last <= 180.0 + 1e-9) {
        c = std::fmod(c, 360.0);
        if (c > 180.0) c = 360.0 - c;
    }
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (std::fabs(cs[i] - c) < 1e-6) return atGamma(d, i, gamma);
    }
    auto it = std::upper_bound(cs.begin(), cs.end(), c);
    if (it == cs.begin() || it == cs.end()) return atGamma(d, it == cs.begin() ? 0 : cs.size() - 1, gamma);
    std::size_t hi = static_cast<std::size_t>(it - cs.begin()), lo = hi - 1;
    const double t = (c - cs[lo]) / (cs[hi] - cs[lo]);
    return atGamma(d, lo, gamma) * (1 - t) + atGamma(d, hi, gamma) * t;
}

bool isRotationallySymmetric(const Distribution& d) {
    if (d.cAngles.size() == 1) return true;
    for (std::size_t c = 1; c < d.candela.size(); ++c) {
        for (std::size_t g = 0; g < d.gammaAngles.size(); ++g) {
            if (std::fabs(d.candela[c][g] - d.candela[0][g]) > 1e-6 * std::max(1.0, std::fabs(d.candela[0][g]))) return false;
        }
    }
    return true;
}

bool fillSelection(const Distribution& d, HaikouMdb& out, std::string& error) {
    if (d.gammaAngles.empty() || d.cAngles.empty()) {
        error = kMsgPhotometryUnreadable;
        return false;
    }
    for (std::size_t i = 1; i < d.gammaAngles.size(); ++i) {
        if (!(d.gammaAngles[i] > d.gammaAngles[i - 1])) {
            error = kMsgPhotometryUnreadable;
            return false;
        }
    }
    for (std::size_t i = 1; i < d.cAngles.size(); ++i) {
        if (!(d.cAngles[i] > d.cAngles[i - 1])) {
            error = kMsgPhotometryUnreadable;
            return false;
        }
    }
    out.planeCount = isRotationallySymmetric(d) ? 1 : 3;
    out.intensity = {};
    const double planes[3] = {0.0, 90.0, 180.0};
    for (int p = 0; p < (out.planeCount == 1 ? 1 : 3); ++p) {
        for (int g = 0; g <= 180; ++g) {
            double v = atPlane(d, planes[p], g);
            out.intensity[static_cast<std::size_t>(p)][static_cast<std::size_t>(g)] =
                static_cast<float>(std::clamp(v, 0.0, 9999999.0));
        }
    }
    return true;
}

// Whitespace- and comma-separated numbers after a point in the text.
class NumberStream {
public:
    explicit NumberStream(const std::string& text) : text_(text) {}
    bool next(double& v) {
        while (pos_ < text_.size() && (std::isspace(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == ',')) ++pos_;
        if (pos_ >= text_.size()) return false;
        std::size_t end = pos_;
        while (end < text_.size() && !std::isspace(static_cast<unsigned char>(text_[end])) && text_[end] != ',') ++end;
        std::string token = text_.substr(pos_, end - pos_);
        pos_ = end;
        if (!base::isFloat(token)) return false;
        v = base::toFloat(token);
        return std::fabs(v) <= kMaxCandela;
    }

private:
    const std::string& text_;
    std::size_t pos_ = 0;
};

std::string trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.pop_back();
    std::size_t b = 0;
    while (b < s.size() && (s[b] == ' ' || s[b] == '\t')) ++b;
    return s.substr(b);
}

bool parseIes(const std::string& bytes, HaikouMdb& out, std::string& error) {
    error = kMsgPhotometryUnreadable;
    std::istringstream in(bytes);
    std::string line, product, lamp;
    std::size_t consumed = 0;
    bool tiltFound = false;
    while (std::getline(in, line)) {
        consumed += line.size() + 1;
        line = trimmed(line);
        if (line.rfind("[LUMCAT]", 0) == 0 || line.rfind("[LUMINAIRE]", 0) == 0) {
            if (product.empty()) product = trimmed(line.substr(line.find(']') + 1));
        } else if (line.rfind("[LAMP]", 0) == 0) {
            lamp = trimmed(line.substr(6));
        } else if (line.rfind("TILT=", 0) == 0) {
            tiltFound = true;
            if (line != "TILT=NONE") return false;  // lamp-tilt tables change intensities by mounting; not supported
            break;
        }
    }
    if (!tiltFound) return false;
    const std::string rest = consumed < bytes.size() ? bytes.substr(consumed) : std::string();
    NumberStream ns(rest);
    double lamps, lumens, multiplier, vCount, hCount, type, units, width, length, height, ballast, future, watts;
    if (!(ns.next(lamps) && ns.next(lumens) && ns.next(multiplier) && ns.next(vCount) && ns.next(hCount) && ns.next(type) &&
          ns.next(units) && ns.next(width) && ns.next(length) && ns.next(height) && ns.next(ballast) && ns.next(future) &&
          ns.next(watts)))
        return false;
    if (type != 1) return false;  // only type C photometry describes ceiling luminaires this way
    if (vCount != std::floor(vCount) || hCount != std::floor(hCount) || vCount < 2 || hCount < 1 || vCount > kMaxAngles ||
        hCount > kMaxAngles || lamps < 1 || lamps > 1000)
        return false;
    Distribution d;
    d.gammaAngles.resize(static_cast<std::size_t>(vCount));
    d.cAngles.resize(static_cast<std::size_t>(hCount));
    for (auto& g : d.gammaAngles) {
        if (!ns.next(g) || g < 0 || g > 180) return false;
    }
    for (auto& c : d.cAngles) {
        if (!ns.next(c) || c < 0 || c > 360) return false;
    }
    d.candela.assign(d.cAngles.size(), std::vector<double>(d.gammaAngles.size()));
    for (auto& plane : d.candela) {
        for (auto& v : plane) {
            if (!ns.next(v)) return false;
            v *= multiplier * (ballast > 0 ? ballast : 1.0);
        }
    }
    // A full circle repeats C0 at C360; drop it so the planes ascend without a duplicate.
    if (d.cAngles.size() > 1 && d.cAngles.back() >= 360.0 - 1e-9) {
        d.cAngles.pop_back();
        d.candela.pop_back();
    }
    // Absolute photometry (-1 lm) gives candela for the whole luminaire: take its flux as the lamp flux.
    double fluxPerLamp = lumens;
    if (lumens <= 0) {
        double total = 0;
        for (int g = 0; g < 180; ++g) {
            double mean = 0;
            for (int c = 0; c < 360; c += 15) mean += atPlane(d, c, g + 0.5);
            mean /= 24.0;
            total += mean * 2 * M_PI * (std::cos(g * M_PI / 180.0) - std::cos((g + 1) * M_PI / 180.0));
        }
        fluxPerLamp = total / lamps;
        if (!(fluxPerLamp > 0)) return false;
    }
    const double toPerKilolumen = 1000.0 / (fluxPerLamp * lamps);
    for (auto& plane : d.candela) {
        for (auto& v : plane) v *= toPerKilolumen;
    }
    if (!fillSelection(d, out, error)) return false;
    const double toMm = units == 1 ? 304.8 : 1000.0;
    out.hinban = base::truncateCp932(product.empty() ? "IES" : product, 23);
    out.lampName = out.lampNameA = base::truncateCp932(lamp, 40);
    out.tosu = static_cast<std::int32_t>(lamps);
    out.kou = out.kouCatalog = static_cast<std::int32_t>(std::min(fluxPerLamp, 1.0e9));
    out.efficiency = 0;
    out.maintClass = 1;
    out.maintFactor = *maintFactorsOf(1);
    out.lampFactor = 1.0f;
    out.lampReserved = -1;
    out.sizeX = static_cast<std::int32_t>(std::clamp(std::fabs(length) * toMm, 0.0, 100000.0));
    out.sizeY = static_cast<std::int32_t>(std::clamp(std::fabs(width) * toMm, 0.0, 100000.0));
    error.clear();
    return true;
}

bool parseLdt(const std::string& bytes, HaikouMdb& out, std::string& error) {
    error = kMsgPhotometryUnreadable;
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    std::string line;
    while (std::getline(in, line) && lines.size() < 200000) lines.push_back(trimmed(line));
    std::size_t at = 0;
    auto text = [&](std::string& s) {
        if (at >= lines.size()) return false;
        s = lines[at++];
        return true;
    };
    auto number = [&](double& v) {
        std::string s;
        if (!text(s)) return false;
        if (!base::isFloat(s)) return false;
        v = base::toFloat(s);
        return std::fabs(v) <= kMaxCandela;
    };
    auto count = [&](int& n, int max) {
        double v;
        if (!number(v) || v != std::floor(v) || v < 0 || v > max) return false;
        n = static_cast<int>(v);
        return true;
    };
    std::string company, dummy, name, number10;
    int ityp, isym, mc, ng;
    double dc, dg;
    if (!(text(company) && count(ityp, 3) && count(isym, 4) && count(mc, 721) && number(dc) && count(ng, 721) && number(dg)))
        return false;
    if (mc < 1 || ng < 2) return false;
    if (!(text(dummy) && text(name) && text(number10) && text(dummy) && text(dummy))) return false;
    double lumLength, lumWidth, lumHeight, areaLength, areaWidth, h0, h90, h180, h270, dff, lorl, conversion, tilt;
    if (!(number(lumLength) && number(lumWidth) && number(lumHeight) && number(areaLength) && number(areaWidth) &&
          number(h0) && number(h90) && number(h180) && number(h270) && number(dff) && number(lorl) && number(conversion) &&
          number(tilt)))
        return false;
    int sets;
    if (!count(sets, 20) || sets < 1) return false;
    double lampCount = 0, flux = 0, colourTemp = 0;
    std::string lampType;
    for (int s = 0; s < sets; ++s) {
        double n, f, w;
        std::string t, ct, cri;
        if (!(number(n) && text(t) && number(f) && text(ct) && text(cri) && number(w))) return false;
        if (s == 0) {
            lampCount = n;
            lampType = t;
            flux = f;
            colourTemp = base::leadingFloat(ct);
        }
    }
    for (int i = 0; i < 10; ++i) {
        double r;
        if (!number(r)) return false;
    }
    std::vector<double> cAll(static_cast<std::size_t>(mc)), gAll(static_cast<std::size_t>(ng));
    for (auto& c : cAll) {
        if (!number(c) || c < 0 || c > 360) return false;
    }
    for (auto& g : gAll) {
        if (!number(g) || g < 0 || g > 180) return false;
    }
    // Which measured planes the file holds, by its symmetry.
    std::size_t first = 0, planes = static_cast<std::size_t>(mc);
    switch (isym) {
    case 1: planes = 1; break;
    case 2: planes = static_cast<std::size_t>(mc / 2 + 1); break;
    case 3: first = static_cast<std::size_t>(mc / 4); planes = static_cast<std::size_t>(mc / 2 + 1); break;
    case 4: planes = static_cast<std::size_t>(mc / 4 + 1); break;
    default: break;
    }
    if (first + planes > cAll.size()) return false;
    Distribution d;
    d.gammaAngles = gAll;
    for (std::size_t p = 0; p < planes; ++p) {
        std::vector<double> values(static_cast<std::size_t>(ng));
        for (auto& v : values) {
            if (!number(v) || v < 0) return false;
        }
        d.cAngles.push_back(isym == 1 ? 0.0 : cAll[first + p]);
        d.candela.push_back(std::move(values));
    }
    if (isym == 3) {
        // Symmetric about the C90-C270 plane: C90..C270 are given; C270..C90 through C0 mirror them.
        Distribution m;
        m.gammaAngles = d.gammaAngles;
        for (std::size_t p = 0; p < d.cAngles.size(); ++p) {
            double c = d.cAngles[p];
            if (c >= 90 && c <= 180) {
                m.cAngles.push_back(180 - c);
                m.candela.push_back(d.candela[p]);
            }
        }
        std::reverse(m.cAngles.begin(), m.cAngles.end());
        std::reverse(m.candela.begin(), m.candela.end());
        for (std::size_t p = 0; p < d.cAngles.size(); ++p) {
            if (d.cAngles[p] > 90 && d.cAngles[p] <= 180) {
                m.cAngles.push_back(d.cAngles[p]);
                m.candela.push_back(d.candela[p]);
            }
        }
        d = std::move(m);
    }
    if (d.cAngles.size() > 1 && d.cAngles.back() >= 360.0 - 1e-9) {
        d.cAngles.pop_back();
        d.candela.pop_back();
    }
    if (!fillSelection(d, out, error)) return false;
    const std::string productName = base::cp932ToUtf8(number10.empty() ? name : number10);
    out.hinban = base::truncateCp932(productName.empty() ? "LDT" : productName, 23);
    out.lampName = out.lampNameA = base::truncateCp932(base::cp932ToUtf8(lampType), 40);
    out.tosu = lampCount >= 1 && lampCount <= 1000 ? static_cast<std::int32_t>(lampCount) : 1;
    const double perLamp = flux > 0 ? flux / std::max(1.0, std::fabs(lampCount)) : 0;
    out.kou = out.kouCatalog = static_cast<std::int32_t>(std::clamp(perLamp, 0.0, 1.0e9));
    if (out.kou <= 0) return false;
    out.colorTemp = static_cast<std::int32_t>(std::clamp(colourTemp, 0.0, 100000.0));
    out.efficiency = static_cast<float>(std::clamp(lorl / 100.0, 0.0, 10.0));
    out.maintClass = 1;
    out.maintFactor = *maintFactorsOf(1);
    out.lampFactor = 1.0f;
    out.lampReserved = -1;
    out.sizeX = static_cast<std::int32_t>(std::clamp(std::fabs(areaLength), 0.0, 100000.0));
    out.sizeY = static_cast<std::int32_t>(std::clamp(std::fabs(areaWidth), 0.0, 100000.0));
    error.clear();
    return true;
}

} // namespace

bool parsePhotometry(const std::string& bytes, const std::string& name, HaikouMdb& out, std::string& error) {
    out = HaikouMdb{};
    if (bytes.size() > kMaxFileBytes) {
        error = kMsgPhotometryUnreadable;
        return false;
    }
    const bool looksIes = bytes.rfind("IESNA", 0) == 0 || bytes.find("TILT=") != std::string::npos;
    bool ok = looksIes ? parseIes(bytes, out, error) : parseLdt(bytes, out, error);
    if (!ok) out = HaikouMdb{};
    if (ok && out.haikouCode.empty()) {
        std::string base = name;
        std::size_t cut = base.find_last_of("/\\");
        if (cut != std::string::npos) base = base.substr(cut + 1);
        out.haikouCode = base::truncateCp932(base, 23);
    }
    return ok;
}

bool readPhotometryFile(const std::string& path, HaikouMdb& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "ファイルが読み込めません";
        return false;
    }
    std::string bytes;
    bytes.resize(kMaxFileBytes + 1);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return parsePhotometry(bytes, path, out, error);
}

} // namespace catalog
