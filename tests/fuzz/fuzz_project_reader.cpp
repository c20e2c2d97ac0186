// libFuzzer target: the project reader must refuse any malformed file without crashing, and what it accepts the writer writes back readably.
#include "model/ProjectFile.h"

#include <cstdint>
#include <string>

namespace {

// The reading pass over bytes: the check, then the plan and the slots taken from it (readProject without
// opening a file, so that no run waits on the disk).
bool readBytes(const std::string& bytes, model::Document& doc, catalog::TourokuTable& touroku) {
    model::ProjectContent content;
    if (model::parseProjectBytes(bytes, content) != model::ParseError::None) return false;
    model::applyProject("fuzz.OLE", content, doc, touroku);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    model::Document doc;
    catalog::TourokuTable touroku;
    if (!readBytes(std::string(reinterpret_cast<const char*>(data), size), doc, touroku)) return 0;
    // What was read the writer writes in a form the reader accepts (writeProject refuses to save
    // anything else), and reading that back gives the same plan: written again, the same bytes.
    const std::string written = model::projectBytes(doc, touroku);
    model::Document again;
    catalog::TourokuTable againTouroku;
    if (!readBytes(written, again, againTouroku)) __builtin_trap();
    if (model::projectBytes(again, againTouroku) != written) __builtin_trap();
    return 0;
}
