// libFuzzer target: hostile fixture type records (as a project file may carry them) drawn on the curve
// sheet and in the fixture table must neither crash nor overflow.
#include "print/CurveSheet.h"
#include "print/DistributionSheet.h"
#include "print/FixtureTable.h"
#include "ui/testing/RecordingSurface.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    template <class T>
    T take() {
        T v{};
        if (at + sizeof(T) <= size) {
            std::memcpy(&v, data + at, sizeof(T));
            at += sizeof(T);
        }
        return v;
    }
    std::string text() {
        const std::size_t n = take<std::uint8_t>();
        std::string s;
        for (std::size_t i = 0; i < n && at < size; ++i) s += static_cast<char>(data[at++]);
        return s;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader r{data, size};
    catalog::BunpuHinban t;
    t.hinban = r.text();
    t.option = r.text();
    t.haikouCode = r.text();
    t.lampName = r.text();
    t.lampNameA = r.text();
    t.planeCount = r.take<std::int32_t>();
    t.tosu = r.take<std::int32_t>();
    t.kou = r.take<std::int32_t>();
    t.placedCount = r.take<std::int32_t>();
    t.colorTemp = r.take<std::int32_t>();
    for (auto& plane : t.intensity)
        for (auto& v : plane) v = r.take<float>();

    print::CurveView view;
    view.fill(t);
    const int mode = r.take<std::uint8_t>() % 5;
    if (mode < 4) view.pickLayout(mode);
    for (int i = r.take<std::uint8_t>() % 4; i > 0; --i) (i % 2 ? view.enlarge() : view.reduce());
    ui::testing::RecordingSurface picture(250, 272);
    view.drawExportPicture(picture, print::placeSheetText);
    ui::testing::RecordingSurface page(2480, 3508, 300, true);
    print::printCurveSheet(page, view, {nullptr, 12, "d", "v"}, print::placeSheetText);
    (void)print::halfIlluminanceText(view.sheet());

    catalog::TourokuTable touroku;
    const int slot = r.take<std::uint8_t>() % 36 + 1;
    touroku[slot] = t;
    ui::testing::RecordingSurface sheet(3508, 2480, 300, true);
    print::drawFixtureTableAlone(sheet, print::Margins{}, touroku, print::FixtureTableStyle{r.take<char>(), {}});
    return 0;
}
