// Fuzzes the calculation with arbitrary plans and fixture types: no read or write outside the grid or the tables.
#include "calc/Calculation.h"

#include <cstdint>
#include <cstring>

namespace {

// Reads the fuzzer's bytes as a stream of values, zero once they run out.
class Bytes {
public:
    Bytes(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}
    std::int32_t i32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(byte()) << (8 * i);
        return static_cast<std::int32_t>(v);
    }
    // Mostly small coordinates, sometimes anything.
    std::int32_t coord() {
        const std::uint8_t sel = byte();
        return sel < 200 ? static_cast<std::int32_t>(byte()) - 20 : i32();
    }
    float f32() {
        const std::uint32_t v = static_cast<std::uint32_t>(i32());
        float f;
        std::memcpy(&f, &v, sizeof f);
        return f;
    }
    std::uint8_t byte() { return pos_ < n_ ? d_[pos_++] : 0; }

private:
    const std::uint8_t* d_;
    std::size_t n_;
    std::size_t pos_ = 0;
};

struct NullProgress : calc::CalcProgress {
    void progressShow(const std::string&, const std::string&, int) override {}
    void progressSet(int) override {}
    bool processEvents() override { return false; }
    void progressHide() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    model::Document doc;
    catalog::TourokuTable touroku;
    doc.surfaceWidth = 40 + in.byte() % 40;
    doc.surfaceHeight = 30 + in.byte() % 40;
    doc.plan.mmPerPixel = (in.byte() & 1) ? in.f32() : 10.0f + in.byte();
    doc.plan.scaleDenominator = in.coord();
    doc.tenDaka = 200 + in.byte() * 20;
    doc.tenDakaLabel = std::to_string(doc.tenDaka);
    doc.extent = {in.coord(), in.coord(), in.coord(), in.coord()};
    doc.tables.levelLadder = {5, 10, 20, 50, 100, 200, 400, 600, 800, 1000, 1200, 1500, 2000, 2500, 3000, 5000, 10000,
                              20000, 50000, 100000, 200000, 500000, 1000000, 2000000, 5000000, 10000000};
    for (int t = 1; t <= 3; ++t) {
        auto& type = touroku[t * 7];
        type.hinban = "F";
        type.kou = (in.byte() & 1) ? in.i32() : 1000;
        type.tosu = in.byte() % 4;
        type.colorTemp = (in.byte() & 1) ? in.i32() : 2700 + in.byte() * 20;
        type.planeCount = in.byte() % 3;
        type.sizeX = (in.byte() & 1) ? in.i32() : in.byte() * 20;
        type.sizeY = in.byte() * 10;
        type.maintFactor = {0.9f, 0.8f, 0.7f};
        type.lampFactor = (in.byte() & 1) ? in.f32() : 1.0f;
        for (int p = 0; p < 2; ++p) {
            for (int g = 0; g <= 180; ++g) type.intensity[static_cast<std::size_t>(p)][static_cast<std::size_t>(g)] = g < 90 ? 100.0f + in.byte() : 0.0f;
        }
        if (in.byte() == 255) type.intensity[0][static_cast<std::size_t>(in.byte() % 181)] = in.f32();
    }
    const int walls = in.byte() % 8, pillars = in.byte() % 6, fixtures = in.byte() % 6;
    for (int i = 0; i < walls; ++i) {
        model::LineRecord l;
        l.kind = (in.byte() & 1) ? 'A' : 'L';
        l.x1 = in.coord(), l.y1 = in.coord(), l.x2 = in.coord(), l.y2 = in.coord();
        l.x3 = in.coord(), l.y3 = in.coord(), l.x4 = in.coord(), l.y4 = in.coord();
        doc.plan.lines.add(l);
    }
    for (int i = 0; i < pillars; ++i) {
        doc.plan.hasira.add(model::HasiraRecord{(in.byte() & 1) ? model::kSquarePillar : model::kCylindricalPillar, in.coord(), in.coord(), in.coord(), 0});
    }
    for (int i = 0; i < fixtures; ++i) {
        model::KiguRecord k;
        k.typeIndex = 7 * (1 + in.byte() % 3);
        k.x = in.coord();
        k.y = in.coord();
        k.heightOffset = (in.byte() & 1) ? in.i32() : 0;
        k.rotation = (in.byte() & 1) ? 90 : 0;
        doc.plan.kigu.add(k);
    }
    calc::CalcSettings settings;
    settings.calcStep = 1 + in.byte() % 7;
    settings.maintenanceOn = in.byte() & 1;
    settings.maintenanceClass = in.byte() % 4;
    calc::WallMask mask;
    mask.allocate(doc.surfaceWidth, doc.surfaceHeight);
    for (int i = 0; i < 30; ++i) {
        const int x = in.byte() % doc.surfaceWidth;
        const int y = in.byte() % doc.surfaceHeight;
        mask.wall[static_cast<std::size_t>(y * doc.surfaceWidth + x)] = 1;
    }
    NullProgress progress;
    const bool contours = in.byte() & 1;
    const calc::CalcResult result =
        calc::calculate(calc::CalcInput{doc, touroku, settings, mask, progress, doc.tenDakaLabel, 1 + in.byte() % 3});
    if (contours && result.outcome == calc::CalcOutcome::Done) {
        std::vector<float> levels;
        for (int i = 1; i <= 6; ++i) levels.push_back(static_cast<float>(result.levels[static_cast<std::size_t>(i)]));
        calc::buildContours(result.grid, levels, result.grid.gridWidth - 1, result.grid.gridHeight - 1);
    }
    return 0;
}
