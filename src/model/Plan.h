// The plan: wall segments, placed fixtures (kigu) and pillars (hasira) in plan pixels, with the scale.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace model {

// One drawn wall line ('L') or arc ('A'); the 17 slots of the record, reserved ones included.
struct LineRecord {
    std::int32_t kind = 'L';
    std::int32_t x1 = 0, x2 = 0, x3 = 0, x4 = 0;
    std::int32_t y1 = 0, y2 = 0, y3 = 0, y4 = 0;
    std::int32_t reserved9 = 0, reserved10 = 0, reserved11 = 0;
    std::int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
    std::int32_t reserved16 = 0;

    bool isArc() const { return (kind & 0xFF) == 'A'; }
    std::int32_t x(int i) const;
    std::int32_t y(int i) const;
    void setX(int i, std::int32_t v);
    void setY(int i, std::int32_t v);
};

// One placed fixture; typeIndex names its slot in the fixture type table.
struct KiguRecord {
    std::int32_t x = 0, y = 0;
    std::int32_t heightOffset = 0;
    std::int32_t typeIndex = 0;
    std::int32_t rotation = 0;
    std::int32_t anchorX = 0, anchorY = 0;
    std::int32_t reserved = 0;
};

constexpr std::int32_t kCylindricalPillar = 50;
constexpr std::int32_t kSquarePillar = 51;

struct HasiraRecord {
    std::int32_t pillarKind = kCylindricalPillar;
    std::int32_t x = 0, y = 0;
    std::int32_t halfSize = 0;
    std::int32_t reserved = 0;
};

// A named rectangle of the floor (a desk, a counter) checked against the illuminance its work needs:
// a required average and a required uniformity Emin/Eavg. Corners in plan pixels, x1 <= x2, y1 <= y2.
struct AreaRecord {
    std::string name;
    std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::int32_t requiredLux = 0;    // 0: no requirement on the average
    float requiredUniformity = 0;    // 0..1; 0: no requirement
    std::string preset;              // the kind of task the requirement came from; empty: typed by hand
};

// Bounds of an area's fields, far beyond any real requirement; the name is counted in CP932 bytes.
inline constexpr std::size_t kMaxAreaNameBytes = 64;
inline constexpr std::int32_t kMaxRequiredLux = 100000;

// Which field of an area the user must give again: a name that is empty, breaks its line or passes
// kMaxAreaNameBytes; a required average outside 0..kMaxRequiredLux; a uniformity outside 0..1.
enum class AreaFault { None, Name, Lux, Uniformity };
AreaFault areaFault(const AreaRecord& area);

// A plan collection indexed from 1 (slot 0 unused) that grows by a fixed step when the count comes
// within 10 of its capacity; deletion closes the gap keeping the order.
template <class Record, int InitialCapacity, int GrowthStep>
class RecordArray {
public:
    RecordArray() : records_(InitialCapacity) {}

    int count() const { return count_; }
    int capacity() const { return static_cast<int>(records_.size()); }
    bool empty() const { return count_ == 0; }

    Record& operator[](int index) { return records_.at(checked(index)); }
    const Record& operator[](int index) const { return records_.at(checked(index)); }

    // The growth test that runs before every insertion.
    void growIfNeeded() {
        if (count_ > capacity() - 10) records_.resize(records_.size() + GrowthStep);
    }
    int add(const Record& r) {
        growIfNeeded();
        ++count_;
        records_[static_cast<std::size_t>(count_)] = r;
        return count_;
    }
    void removeAt(int index) {
        checked(index);
        for (int i = index; i < count_; ++i) records_[static_cast<std::size_t>(i)] = records_[static_cast<std::size_t>(i + 1)];
        --count_;
    }
    void removeLast() {
        if (count_ > 0) --count_;
    }
    void clear() { count_ = 0; }

    template <class F>
    void forEach(F&& f) {
        for (int i = 1; i <= count_; ++i) f(records_[static_cast<std::size_t>(i)]);
    }
    template <class F>
    void forEach(F&& f) const {
        for (int i = 1; i <= count_; ++i) f(records_[static_cast<std::size_t>(i)]);
    }

private:
    std::size_t checked(int index) const {
        if (index < 1 || index > count_) throw std::out_of_range("plan record index out of range");
        return static_cast<std::size_t>(index);
    }
    std::vector<Record> records_;
    int count_ = 0;
};

using LineArray = RecordArray<LineRecord, 101, 100>;
using KiguArray = RecordArray<KiguRecord, 501, 200>;
using HasiraArray = RecordArray<HasiraRecord, 101, 100>;

struct Extent {
    std::int32_t Xs = 0, Xe = 0, Ys = 0, Ye = 0;
};

// The room the light reflects in (ROOM section): walls and pillars stand from floor to ceiling, a floor
// and a ceiling cover the plan. Off unless the user turns it on.
struct RoomRecord {
    bool stored = false;               // the user set it: the project carries a ROOM section
    bool on = false;                   // inter-reflections are calculated
    std::int32_t roomHeight = 0;       // floor to ceiling in mm; 0: the highest luminaire's mounting height
    std::int32_t workPlaneHeight = 800;  // floor to work plane in mm
    float ceiling = 0.7f, walls = 0.5f, floor = 0.2f;  // reflectances 0..0.95; pillars take the walls'
    bool operator==(const RoomRecord&) const = default;
};

// Bounds of the room's fields: heights up to 100 m, far above any hall; a surface that gave back all
// the light it receives would never let the reflections settle, so a reflectance stops at 0.95.
inline constexpr std::int32_t kMaxRoomHeightMm = 100000;
inline constexpr float kMaxReflectance = 0.95f;

// Which field of the room the user must give again: a room height outside 0..kMaxRoomHeightMm; a work
// plane below the floor, past the bound, or at or above a given ceiling; a reflectance outside 0..0.95.
enum class RoomFault { None, RoomHeight, WorkPlane, Ceiling, Walls, Floor };
RoomFault roomFault(const RoomRecord& room);

struct Plan {
    LineArray lines;
    KiguArray kigu;
    HasiraArray hasira;
    std::vector<AreaRecord> areas;     // task areas, in the order they were made
    RoomRecord room;                   // inter-reflection settings
    float mmPerPixel = -1;             // -1: no scale set
    std::int32_t scaleDenominator = -1;  // -1: no scale set
    std::int32_t lastPillarHalfSize = 0;

    bool hasScale() const { return mmPerPixel > 0; }
    bool isEmpty() const { return lines.empty() && kigu.empty() && hasira.empty() && areas.empty(); }
    void clearItems() {
        lines.clear();
        kigu.clear();
        hasira.clear();
        areas.clear();
    }
};

// Recomputes the bounding-box slots of a segment from its two end points.
void normaliseLine(LineRecord& line);
void normaliseAllLines(Plan& plan);

// Puts the corners of an area in order (x1 <= x2, y1 <= y2).
void normaliseArea(AreaRecord& area);

// The bounding box of everything in the plan, padded; the whole screen when the plan is empty.
Extent computeExtent(const Plan& plan, int screenWidth, int screenHeight);

// Rescales every coordinate to a new millimetres-per-pixel; refuses to rescale from no scale
// (a negative value would mirror the plan). Returns true when coordinates were changed.
bool rescalePlan(Plan& plan, float newMmPerPixel);

// Grid pitches and scale fixed together from a drawing scale 1/N so that a metre is whole pixels.
struct ScaleFromDenominator {
    std::int32_t unitPixels = 0;             // c
    std::vector<std::int32_t> pitches;       // ascending grid pitches in pixels
    std::vector<std::int32_t> pitchMm;       // the millimetres each pitch stands for
    std::int32_t pixelsPerMetre = 0;
    float mmPerPixel = 0;
};
ScaleFromDenominator scaleFromDenominator(std::int32_t denominator, float screenMmPerPixel);

// The rotation a newly placed fixture gets: 90 only for the linear-fixture slots placed vertically.
std::int32_t rotationFor(std::int32_t typeIndex, bool flVertical);

} // namespace model
