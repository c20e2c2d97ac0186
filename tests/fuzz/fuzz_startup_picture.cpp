// libFuzzer target: any bytes where the start-up picture belongs must show in the splash window or leave it empty, never crash.
#include "FuzzFiles.h"
#include "support/QtApp.h"
#include "app/forms/StartupWindows.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testsupport::qtApp();
    const std::string path = fuzzing::writeFile("zoltstart.bmp", data, size);
    app::forms::TfrmStart1 splash(QString::fromStdString(path));
    return 0;
}
