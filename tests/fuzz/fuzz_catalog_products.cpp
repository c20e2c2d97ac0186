// libFuzzer target: a hostile product file through the index, the search, the lamp choices and the confirmation.
#include "FuzzFiles.h"
#include "catalog/Catalog.h"
#include "catalog/Selection.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool once = [] {
        fuzzing::writeText(catalog::kLampFileName, "h\r\nL1,1,a,A,x,y,1000,2700,a,b,c,1\r\nL2,1,b,B,x,y,2000,9999,a,b,c,0.9\r\n");
        fuzzing::writeText(catalog::kHaikouFileName, "h\r\nH1,n,1,0,0,90,,100,90,80,70,60,50,40,30,20,10,5,4,3,2,1,1,1,1,0\r\n");
        return true;
    }();
    (void)once;
    fuzzing::writeFile(catalog::kProductFileName, data, size);
    ui::testing::FakeServices services;
    catalog::Catalog cat;
    cat.load(fuzzing::scratchDir(), services);
    catalog::Selection sel(cat, services);
    ui::testing::RecordingSurface picture(30, 30);
    int shown = 0;
    for (const auto& hinban : cat.searchProducts("")) {
        if (++shown > 50) break;
        sel.show(hinban, 'J', picture);
        for (std::size_t n = 0; n < sel.lampCodes.size() && n < 4; ++n) {
            sel.selectLamp(static_cast<int>(n), picture);
            catalog::HaikouMdb b;
            sel.confirm(b);
        }
    }
    return 0;
}
