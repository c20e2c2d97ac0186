// Opens DXF drawings as the plan's background through the main window's "DXF読み込み" command (offscreen) and checks each outcome.
//
// Usage: hostile_dxf_open GOOD.dxf FILE...  GOOD.dxf must load; then every FILE is opened in turn over the
// sample plan. A drawing is either taken, with no complaint, or refused with the system's message while the
// plan and the drawing already shown stay as they were. Prints one line per file before opening it, so a
// hang or a signal names the file; exits 1 when any file broke the rule.
#include "app/forms/RealProgram.h"
#include "model/ProjectFile.h"

#include <QAction>
#include <cstdio>
#include <string>

namespace {

// What a refused file must leave as it was: the plan as it would be saved, its scale, and the drawing shown.
struct Kept {
    std::string planBytes;
    float mmPerPixel = 0;
    char backgroundKind = 0;
    std::size_t lines = 0, vertices = 0, arcs = 0, circles = 0;

    static Kept of(testsupport::Program& prog) {
        const io::DxfDrawing& d = prog.p->engine.dxf().drawing();
        return Kept{model::projectBytes(prog.doc(), prog.p->touroku), prog.doc().plan.mmPerPixel, prog.doc().backgroundKind,
                    d.lines.size(), d.vertices.size(), d.arcs.size(), d.circles.size()};
    }
    bool operator==(const Kept&) const = default;
};

// Opens one file through the window's command; true when the drawing was taken.
bool open(testsupport::Program& prog, const std::string& path, std::string& complaint) {
    prog.services.messages.clear();
    prog.services.errors.clear();
    prog.services.fileAnswers.push_back(path);
    prog.p->frm.action("mnuLoadDXF")->trigger();
    const std::vector<std::string> texts = prog.services.allTexts();
    complaint = texts.empty() ? std::string() : texts.front();
    return complaint.empty();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: hostile_dxf_open GOOD.dxf FILE...\n");
        return 2;
    }
    testsupport::Program prog;
    prog.openSample();
    std::string complaint;
    if (!open(prog, argv[1], complaint) || !prog.p->engine.dxf().loaded()) {
        std::printf("FAIL %s: the well-formed drawing was refused: %s\n", argv[1], complaint.c_str());
        return 1;
    }
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string path = argv[i];
        std::printf("%s: ", path.c_str());
        std::fflush(stdout);
        const Kept before = Kept::of(prog);
        const bool taken = open(prog, path, complaint);
        std::printf(taken ? "taken\n" : "refused: %s\n", complaint.c_str());
        if (!prog.services.fileAnswers.empty()) {
            prog.services.fileAnswers.clear();
            std::printf("FAIL %s: the window's command never asked for the file\n", path.c_str());
            ++failures;
        } else if (!taken && !(Kept::of(prog) == before)) {
            std::printf("FAIL %s: refused, yet the plan or the drawing shown changed\n", path.c_str());
            ++failures;
        }
    }
    std::printf("%d files, %d failures\n", argc - 2, failures);
    return failures == 0 ? 0 : 1;
}
