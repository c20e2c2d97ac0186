// libFuzzer target: the IES and EULUMDAT readers must refuse any malformed file without crashing.
#include "catalog/Photometry.h"

#include <cmath>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    catalog::HaikouMdb out;
    std::string error;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (catalog::parsePhotometry(bytes, "fuzz.ies", out, error)) {
        // Whatever is accepted must be storable in a project file.
        for (const auto& plane : out.intensity) {
            for (float v : plane) {
                if (!(v >= 0 && v <= 9999999.0f)) __builtin_trap();
            }
        }
        if (out.planeCount != 1 && out.planeCount != 3) __builtin_trap();
    }
    return 0;
}
