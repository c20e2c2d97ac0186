// libFuzzer target: any bytes as the two DXF templates and the typed heading and notes must give a drawing or the system's refusal.
// Input: head template, NUL, tail template, NUL, heading, NUL, note lines separated by NUL.
#include "FuzzFiles.h"
#include "io/DxfWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> partsAtNul(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) parts.emplace_back();
        else parts.back() += static_cast<char>(data[i]);
    }
    return parts;
}

// A room with a wall, an arc, a pillar, a fixture and one contour line, so every record kind is written.
model::Document smallPlan() {
    model::Document doc;
    doc.plan.mmPerPixel = 20.0f;
    doc.surfaceWidth = 120;
    doc.surfaceHeight = 90;
    model::LineRecord wall;
    wall.x1 = 10, wall.y1 = 10, wall.x2 = 100, wall.y2 = 10;
    doc.plan.lines.add(wall);
    model::LineRecord arc;
    arc.kind = 'A';
    arc.x1 = 10, arc.y1 = 80, arc.x2 = 55, arc.y2 = 60, arc.x3 = 100, arc.y3 = 80;
    doc.plan.lines.add(arc);
    doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 50, 50, 4, 0});
    model::KiguRecord k;
    k.x = 30, k.y = 40, k.typeIndex = 1;
    doc.plan.kigu.add(k);
    for (int i = 1; i <= 6; ++i) doc.tables.luxLevel[static_cast<std::size_t>(i)] = 100 * i;
    return doc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto parts = partsAtNul(data, size);
    parts.resize(std::max<std::size_t>(parts.size(), 8));
    const io::DxfTemplates templates{fuzzing::writeText("bunpudf", parts[0]), fuzzing::writeText("bunpudb", parts[1])};
    io::DxfNoteTexts texts;
    texts.hosoku = !parts[2].empty();
    texts.midasi = parts[2];
    for (std::size_t i = 0; i < texts.hosokuLines.size(); ++i) texts.hosokuLines[i] = parts[3 + i];

    const model::Document doc = smallPlan();
    calc::ContourSet contours;
    calc::ResultStats stats;
    stats.maxLux = 650;
    stats.averageLux = 320;
    auto buildContours = [&] {
        contours.levels = {100, 200, 300, 400, 500, 600};
        contours.points.assign(6, {});
        contours.points[0] = {{-1, 0}, {20, 20}, {60, 20}, {60, 60}, {-2, 0}};
    };
    for (io::DxfOutType type : {io::DxfOutType::ColorOut, io::DxfOutType::BlackOut, io::DxfOutType::ColorTextOut}) {
        const io::DxfBuildResult built = io::buildDxf(type, texts, io::DxfExportInput{doc, contours, stats, buildContours}, templates);
        // The templates are plain files we just wrote: the drawing must be made, and end as a DXF file ends.
        if (!built.bytes || built.bytes->size() < 8 || built.bytes->compare(built.bytes->size() - 5, 5, "EOF\r\n") != 0) std::abort();
    }
    return 0;
}
