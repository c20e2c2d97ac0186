// The registered fixture type record (bunpuHinban), the 36-slot table, maintenance factors and light colours.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace catalog {

constexpr int kSlotCount = 36;
constexpr int kGammaCount = 181;
constexpr int kPlaneCount = 3;
using IntensityPlane = std::array<float, kGammaCount>;
using IntensityTable = std::array<IntensityPlane, kPlaneCount>;

// The six tabs of the registration window, six slots each: slot = tab × 6 + position.
inline constexpr std::array<const char*, 6> kTabNames = {"DL1", "DL2", "CL", "FL1", "FL2", "SP"};
inline constexpr int slotOf(int tab, int position) { return tab * 6 + position; }
// The linear-fixture slots (tab "FL1"), which may be placed vertically.
inline constexpr bool isLinearSlot(int slot) { return slot >= 19 && slot <= 24; }
inline constexpr bool isValidSlot(int slot) { return slot >= 1 && slot <= kSlotCount; }
// A luminaire's rated power past this is a typing slip, not a lamp.
inline constexpr double kMaxWatts = 100000.0;

// The watts a text gives, or nullopt when it is no number of 0..kMaxWatts (an empty text is 0, not given).
std::optional<float> wattsOf(const std::string& text);
// A power as the window shows it: "36", "12.5"; empty for 0 (not given).
std::string wattsText(float watts);

// A product choice as the selection dialog leaves it for registration.
struct HaikouMdb {
    std::string hinban;
    std::string option;
    std::string haikouCode;
    std::string lampName;
    std::string lampNameA;
    std::int32_t tosu = 0;
    float efficiency = 0;
    std::string catalogNote;
    std::int32_t planeCount = 0;
    IntensityTable intensity{};
    std::int32_t kou = 0;
    std::int32_t kouCatalog = 0;
    std::int32_t colorTemp = 0;
    std::int32_t maintClass = 0;
    std::array<float, 3> maintFactor{};
    std::int32_t lampReserved = 0;
    float lampFactor = 0;
    std::int32_t sizeX = 0;
    std::int32_t sizeY = 0;
};

// One registered fixture type; a slot is registered when hinban is not empty.
struct BunpuHinban {
    bool listEdited = false;
    std::string hinban;
    std::string hinbanCopy;
    std::string option;
    std::string optionCopy;
    std::string haikouCode;
    std::string lampName;
    std::string lampNameCopy;
    std::string lampNameA;
    std::string lampNameACopy;
    std::int32_t tosu = 0;
    std::int32_t tosuCopy = 0;
    float efficiency = 0;
    std::string catalogNote;
    std::int32_t planeCount = 0;
    IntensityTable intensity{};  // cd per 1000 lm; [plane][gamma degree]
    std::int32_t kou = 0;
    std::int32_t kouCatalog = 0;
    std::int32_t colorTemp = 0;
    std::int32_t maintClass = 0;
    std::array<float, 3> maintFactor{};  // good, normal, poor
    std::int32_t lampReserved = 0;
    float lampFactor = 0;
    std::int32_t placedCount = 0;
    std::int32_t sizeX = 0;
    std::int32_t sizeY = 0;
    // Rated power of one luminaire in watts as the user typed it (the catalogue has none); 0 for not given.
    float watts = 0;

    bool isRegistered() const { return !hinban.empty(); }
};

// The program's table of registered types: slots 1..36, slot 0 never used.
class TourokuTable {
public:
    BunpuHinban& operator[](int slot);
    const BunpuHinban& operator[](int slot) const;

    // Fills the slot from the selection; placedCount stays, so fixtures already placed take on the new type.
    void registerSlot(int slot, const HaikouMdb& selection);
    // Empties hinban (the slot is then free); the rest of the record stays until it is registered again.
    void freeSlot(int slot);
    // Empties every hinban and zeroes every placedCount (a new plan).
    void clearAll();
    void changePlacedCount(int slot, int delta);
    int registeredCount() const;

private:
    std::array<BunpuHinban, kSlotCount + 1> slots_{};
};

// Maintenance factors by class 1..20 for good, normal and poor surroundings; nullopt outside 1..20.
std::optional<std::array<float, 3>> maintFactorsOf(int maintClass);

// Colours by colour temperature, one per 100 K from 2000 K, as read from the catalogue's colour file.
class LightColorTable {
public:
    static constexpr int kEntries = 63;
    std::array<std::uint32_t, kEntries> colorRef{};  // Windows colour value: low byte red
    int loaded = 0;                                 // entries read from the file
    // Entry K / 100 − 20, when that lies in 0..62.
    std::optional<std::uint32_t> colourOf(int kelvin) const;
};

// Expansion of a plane given by catalogue rows (5° steps, optionally 1° fine data from 0°) to 1° steps.
void expandCatalogPlane(IntensityPlane& plane);
// Expands the planes planeCount says are present.
void expandCatalogTable(IntensityTable& table, int planeCount);
// Expansion of a plane as the project file stores it (1° to 20°, then 5° steps).
void expandStoredPlane(IntensityPlane& plane);

// Intensity in cd per 1000 lm at gamma degrees from the downward vertical and C angle degrees,
// linear between whole degrees and elliptical between the C0 and C90 planes.
double intensityAt(const BunpuHinban& type, double gamma, double cAngle);

} // namespace catalog
