// libFuzzer target: any bytes chosen as the background bitmap must load or be refused with a message, then draw at every size mode.
#include "FuzzEditor.h"
#include "FuzzFiles.h"
#include "support/QtApp.h"
#include "ui/qt/PictureFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testsupport::qtApp();
    const std::string path = fuzzing::writeFile("background.bmp", data, size);
    ui::qt::ImageSurface surface(320, 240);
    fuzzing::EditorRig rig;
    rig.hooks.loadBitmap = [](const std::string& p) -> std::unique_ptr<ui::Surface> { return ui::qt::loadBackgroundBitmap(p); };
    editor::Editor& ed = rig.start(surface);
    rig.services.fileAnswers.push_back(path);
    ed.mnuLoadBMPClick();
    // A picture that was refused must have said so; one that was taken is the background.
    if ((rig.state.bitmap != nullptr) == !rig.services.errors.empty()) std::abort();
    if (rig.state.bitmap && rig.state.doc.backgroundKind != 'B') std::abort();
    ed.mnuBmpScreenClick();
    ed.mnuBmpFormClick();
    ed.mnuBmpSorceClick();
    return 0;
}
