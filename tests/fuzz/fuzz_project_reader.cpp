// libFuzzer target: the project reader must refuse any malformed file without crashing.
#include "model/ProjectFile.h"
#include "ui/testing/FakeServices.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/ordivan_fuzz_project_" + std::to_string(::getpid()) + ".OLE";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    model::Document doc;
    catalog::TourokuTable touroku;
    ui::testing::FakeServices services;
    if (model::readProject(path, doc, touroku, services)) {
        // What was read must write back and read again.
        const std::string again = path + ".again";
        if (model::writeProject(again, doc, touroku, services)) {
            model::Document doc2;
            catalog::TourokuTable touroku2;
            if (!model::readProject(again, doc2, touroku2, services)) __builtin_trap();
        }
        std::remove(again.c_str());
    }
    return 0;
}
