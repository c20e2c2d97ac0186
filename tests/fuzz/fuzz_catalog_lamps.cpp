// libFuzzer target: a hostile lamp file through the lamp table reader and the lookup by code.
#include "FuzzFiles.h"
#include "catalog/Catalog.h"
#include "ui/testing/FakeServices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::writeFile(catalog::kLampFileName, data, size);
    ui::testing::FakeServices services;
    std::vector<catalog::LampEntry> lamps;
    catalog::Catalog::loadLamps(fuzzing::scratchDir() + "/" + catalog::kLampFileName, lamps, services);
    for (const auto& l : lamps) {
        if (l.code.size() > 3 * catalog::kLampCodeBytes || l.reserved != -1) __builtin_trap();
    }
    return 0;
}
