// libFuzzer target: hostile EULUMDAT text through the reader and the conversion into a fixture type.
#include "catalog/Photometry.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string reason;
    auto d = catalog::readLdt(std::string_view(reinterpret_cast<const char*>(data), size), reason);
    if (d) {
        catalog::HaikouMdb t = catalog::toFixtureType(*d, "fuzz");
        if (t.planeCount < 1 || t.planeCount > 3) __builtin_trap();
    }
    return 0;
}
