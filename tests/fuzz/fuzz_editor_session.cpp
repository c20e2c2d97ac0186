// Fuzz target: arbitrary sequences of editor commands, clicks and typed values must never crash or break the plan.
#include "FuzzEditor.h"
#include "ui/testing/RecordingSurface.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
    int next() { return pos < size ? data[pos++] : 0; }
    int next16() { return next() | (next() << 8); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in{data, size};
    ui::testing::RecordingSurface surface(400, 300);
    fuzzing::EditorRig rig;
    auto& state = rig.state;
    auto& touroku = rig.touroku;
    rig.hooks.askLength = [&](const editor::LengthRequest&) {
        return editor::LengthAnswer{(in.next() & 1) != 0, in.next16() - 32768, in.next16() - 32768};
    };
    rig.hooks.showTenDakaDialog = [&] { state.doc.tenDaka = in.next16(); };
    rig.hooks.askTenDakaChange = [&](int) { return in.next() % 4; };
    editor::Editor& ed = rig.start(surface);
    for (int s : {1, 20, 36}) {
        catalog::HaikouMdb m;
        m.hinban = "F" + std::to_string(s);
        touroku.registerSlot(s, m);
    }
    while (in.pos < in.size) {
        const int op = in.next() % 20;
        const int x = in.next16() % 1200 - 400, y = in.next16() % 1200 - 400;
        switch (op) {
        case 0: ed.imgRoomClick(); break;
        case 1: ed.imgKiguClick(); break;
        case 2: ed.imgHasiraClick(); break;
        case 3: ed.selectWallTool("L+SADZ"[in.next() % 6]); break;
        case 4: ed.selectPlacementTool("123dH"[in.next() % 5]); break;
        case 5: ed.mnuUndoClick(); break;
        case 6: ed.mouseDown(ui::MouseEvent{{x, y}, ui::MouseButton::Right}); break;
        case 7: state.doc.selectedType = static_cast<int>(in.next() % 40) - 2; break;
        case 8:
            state.doc.plan.mmPerPixel = static_cast<float>(in.next() % 50) - 1.0f;
            state.doc.plan.scaleDenominator = in.next16() % 400;
            break;
        case 9: in.next() & 1 ? ed.rbtnKosuuClick() : static_cast<void>(ed.rbtnPitchClick()); break;
        case 10:
            model::deleteFixturesOfSlot(state.doc, state.window, touroku, static_cast<int>(in.next() % 40));
            ed.redisplayPlan();
            break;
        case 11: ed.S1Click(); break;
        case 12: ed.btnSuutiClick(); break;
        case 13: ed.btnHenkouClick(); break;
        case 14: ed.selectSnap("FEG"[in.next() % 3]); break;
        case 15: ed.mnuPrintGridClick(); break;
        case 16: state.window.hasiraSizeText = std::to_string(in.next16() - 100); break;
        case 17: ed.mouseMove(ui::MouseEvent{{x, y}}); break;
        default: ed.mouseDown(ui::MouseEvent{{x, y}, ui::MouseButton::Left}); break;
        }
        int perSlot[catalog::kSlotCount + 1] = {};
        for (int i = 1; i <= state.doc.plan.kigu.count(); ++i) {
            const int t = state.doc.plan.kigu[i].typeIndex;
            if (!catalog::isValidSlot(t)) std::abort();
            ++perSlot[t];
        }
        for (int s = 1; s <= catalog::kSlotCount; ++s)
            if (touroku[s].placedCount != perSlot[s]) std::abort();
    }
    return 0;
}
