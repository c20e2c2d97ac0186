// libFuzzer target: any bytes as a DXF background must load or be refused without crashing, then fit, draw, snap and become walls safely.
#include "io/DxfReader.h"
#include "io/DxfWalls.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ui::testing::FakeServices services;
    io::TfrmDXF reader;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!reader.loadFromBytes(bytes, services)) return 0;
    model::Document doc;
    reader.FitDxfToView(doc, 640, 480);
    reader.ZoomDxf(doc, 10, 20, 300, 200, 640, 480);
    reader.ResetDxfView(doc, 640, 480);
    ui::testing::RecordingSurface surface(640, 480);
    if (reader.drawing().lines.size() + reader.drawing().vertices.size() + reader.drawing().arcs.size() +
            reader.drawing().circles.size() < 2000) {
        reader.DrawDxf(surface);
    }
    reader.NearestDxfEndPoint(1e18, 320, 240);
    // Every layer made into walls through the same mapping.
    std::vector<std::string> layers;
    for (const auto& l : io::layerCounts(reader.layers())) layers.push_back(l.name);
    io::wallsFromDxf(reader.layers(), reader, layers, doc.plan.lines);
    return 0;
}
