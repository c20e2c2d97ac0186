// libFuzzer target: a hostile light colour file through the colour table reader.
#include "FuzzFiles.h"
#include "catalog/Catalog.h"
#include "ui/testing/FakeServices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::writeFile(catalog::kColourFileName, data, size);
    ui::testing::FakeServices services;
    catalog::LightColorTable table;
    catalog::Catalog::loadColours(fuzzing::scratchDir() + "/" + catalog::kColourFileName, table, services);
    if (table.loaded < 0 || table.loaded > catalog::LightColorTable::kEntries) __builtin_trap();
    for (int k = -1000; k < 10000; k += 97) table.colourOf(k);
    return 0;
}
