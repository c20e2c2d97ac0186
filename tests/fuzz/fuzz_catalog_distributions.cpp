// libFuzzer target: a hostile distribution file through the index, line placement and plane expansion.
#include "FuzzFiles.h"
#include "base/Text.h"
#include "catalog/Catalog.h"
#include "ui/testing/FakeServices.h"

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::writeFile(catalog::kHaikouFileName, data, size);
    ui::testing::FakeServices services;
    catalog::Catalog cat;
    cat.load(fuzzing::scratchDir(), services);
    std::set<std::string> codes;
    for (const auto& e : cat.haikouIndex()) codes.insert(e.key);
    int done = 0;
    for (const auto& code : codes) {
        if (++done > 50) break;
        try {
            cat.distribution(code);
        } catch (const base::ConversionError&) {
            // The message the user sees; the catalogue stays as it was.
        }
    }
    return 0;
}
