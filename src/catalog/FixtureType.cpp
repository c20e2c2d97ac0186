// Fixture type table rules: registration, expansion of distribution planes and the intensity lookup.
#include "catalog/FixtureType.h"

#include "base/Text.h"

#include <cmath>
#include <stdexcept>

namespace catalog {

BunpuHinban& TourokuTable::operator[](int slot) {
    if (slot < 0 || slot > kSlotCount) throw std::out_of_range("fixture type slot out of range");
    return slots_[static_cast<std::size_t>(slot)];
}

const BunpuHinban& TourokuTable::operator[](int slot) const {
    if (slot < 0 || slot > kSlotCount) throw std::out_of_range("fixture type slot out of range");
    return slots_[static_cast<std::size_t>(slot)];
}

void TourokuTable::registerSlot(int slot, const HaikouMdb& s) {
    BunpuHinban& t = (*this)[slot];
    t.listEdited = false;
    t.hinban = t.hinbanCopy = s.hinban;
    t.option = t.optionCopy = s.option;
    t.haikouCode = s.haikouCode;
    t.lampName = t.lampNameCopy = s.lampName;
    t.lampNameA = t.lampNameACopy = s.lampNameA;
    t.tosu = t.tosuCopy = s.tosu;
    t.efficiency = s.efficiency;
    t.catalogNote = s.catalogNote;
    t.planeCount = s.planeCount;
    t.intensity = s.intensity;
    t.kou = s.kou;
    t.kouCatalog = s.kouCatalog;
    t.colorTemp = s.colorTemp;
    t.maintClass = s.maintClass;
    t.maintFactor = s.maintFactor;
    t.lampReserved = s.lampReserved;
    t.lampFactor = s.lampFactor;
    t.sizeX = s.sizeX;
    t.sizeY = s.sizeY;
    // Another product has its own power: the one typed for the last is not carried over.
    t.watts = 0;
}

std::optional<float> wattsOf(const std::string& text) {
    if (text.find_first_not_of(" \t") == std::string::npos) return 0.0f;
    if (!base::isFloat(text)) return std::nullopt;
    // Kept to the hundredth of a watt the project file stores.
    const double w = std::round(base::toFloat(text) * 100.0) / 100.0;
    if (!(w >= 0 && w <= kMaxWatts)) return std::nullopt;
    return static_cast<float>(w);
}

std::string wattsText(float watts) {
    if (!(watts > 0)) return {};
    std::string s = base::formatFixed(watts, 2);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

void TourokuTable::freeSlot(int slot) { (*this)[slot].hinban.clear(); }

void TourokuTable::clearAll() {
    for (int s = 1; s <= kSlotCount; ++s) {
        slots_[static_cast<std::size_t>(s)].hinban.clear();
        slots_[static_cast<std::size_t>(s)].placedCount = 0;
    }
}

void TourokuTable::changePlacedCount(int slot, int delta) {
    if (isValidSlot(slot)) (*this)[slot].placedCount += delta;
}

int TourokuTable::registeredCount() const {
    int n = 0;
    for (int s = 1; s <= kSlotCount; ++s) n += slots_[static_cast<std::size_t>(s)].isRegistered() ? 1 : 0;
    return n;
}

std::optional<std::array<float, 3>> maintFactorsOf(int maintClass) {
    static constexpr float table[20][3] = {
        {0.98f, 0.95f, 0.9f}, {0.9f, 0.85f, 0.75f}, {0.9f, 0.85f, 0.75f}, {0.85f, 0.8f, 0.75f}, {0.95f, 0.9f, 0.85f},
        {0.98f, 0.95f, 0.9f}, {0.9f, 0.85f, 0.75f}, {0.9f, 0.85f, 0.8f},  {0.85f, 0.8f, 0.75f}, {0.95f, 0.9f, 0.85f},
        {0.98f, 0.95f, 0.9f}, {0.0f, 0.0f, 0.0f},   {0.95f, 0.9f, 0.8f},  {0.9f, 0.85f, 0.8f},  {0.98f, 0.95f, 0.9f},
        {0.98f, 0.95f, 0.9f}, {0.95f, 0.9f, 0.8f},  {0.9f, 0.85f, 0.8f},  {0.0f, 0.0f, 0.0f},   {0.98f, 0.95f, 0.9f},
    };
    if (maintClass < 1 || maintClass > 20) return std::nullopt;
    const float* row = table[maintClass - 1];
    return std::array<float, 3>{row[0], row[1], row[2]};
}

std::optional<std::uint32_t> LightColorTable::colourOf(int kelvin) const {
    int entry = kelvin / 100 - 20;
    if (entry < 0 || entry >= kEntries) return std::nullopt;
    return colorRef[static_cast<std::size_t>(entry)];
}

void expandCatalogPlane(IntensityPlane& v) {
    int s = 0;
    if (v[1] > 0) {
        int j = 20;
        for (int i = 1; i <= 19; ++i) {
            if (v[static_cast<std::size_t>(i)] == 0) {
                j = i;
                break;
            }
        }
        int a = j - 1;
        int b = (j / 5) * 5 + 5;
        for (int k = j; k <= b - 1; ++k) {
            v[static_cast<std::size_t>(k)] =
                v[static_cast<std::size_t>(a)] +
                (v[static_cast<std::size_t>(b)] - v[static_cast<std::size_t>(a)]) * static_cast<float>(k - a) /
                    static_cast<float>(b - a);
        }
        s = b;
    }
    for (int i = s; i < 180; i += 5) {
        for (int m = 1; m <= 4; ++m) {
            v[static_cast<std::size_t>(i + m)] =
                v[static_cast<std::size_t>(i)] +
                (v[static_cast<std::size_t>(i + 5)] - v[static_cast<std::size_t>(i)]) * 0.2f * static_cast<float>(m);
        }
    }
    // A distribution that ends at 90° stays sharp instead of ramping down towards 95°.
    if (v[95] == 0) {
        for (int k = 91; k <= 94; ++k) v[static_cast<std::size_t>(k)] = 0;
    }
}

void expandCatalogTable(IntensityTable& table, int planeCount) {
    expandCatalogPlane(table[0]);
    if (planeCount >= 2) expandCatalogPlane(table[1]);
    if (planeCount >= 3) expandCatalogPlane(table[2]);
}

void expandStoredPlane(IntensityPlane& v) {
    for (int i = 20; i <= 175; i += 5) {
        for (int m = 1; m <= 4; ++m) {
            v[static_cast<std::size_t>(i + m)] =
                v[static_cast<std::size_t>(i)] +
                (v[static_cast<std::size_t>(i + 5)] - v[static_cast<std::size_t>(i)]) * 0.2f * static_cast<float>(m);
        }
    }
}

double intensityAt(const BunpuHinban& type, double gamma, double cAngle) {
    const IntensityPlane& p0 = type.intensity[0];
    if (gamma == 0) return p0[0];
    // At exactly 180° there is no next degree to interpolate towards.
    if (gamma >= 180 || !(gamma > 0)) return gamma > 0 ? p0[180] : p0[0];
    const int e = static_cast<int>(gamma);
    const double frac = gamma - e;
    // The plane values are kept as single-precision intensities, like every stored intensity.
    float i0 = static_cast<float>(p0[static_cast<std::size_t>(e)] +
                                  frac * (p0[static_cast<std::size_t>(e + 1)] - p0[static_cast<std::size_t>(e)]));
    if (type.planeCount == 1) return i0;
    const IntensityPlane& p1 = type.intensity[1];
    float i90 = static_cast<float>(p1[static_cast<std::size_t>(e)] +
                                   frac * (p1[static_cast<std::size_t>(e + 1)] - p1[static_cast<std::size_t>(e)]));
    if (i0 == 0) i0 = 0.000001f;
    if (i90 == 0) i90 = 0.000001f;
    const double phi = cAngle * M_PI / 180.0;
    const double s = std::sin(phi), c = std::cos(phi);
    const double a = static_cast<double>(i0) * i0, b = static_cast<double>(i90) * i90;
    return std::sqrt(a * b / (s * s * a + c * c * b));
}

} // namespace catalog
