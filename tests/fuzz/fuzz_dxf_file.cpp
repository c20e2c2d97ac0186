// libFuzzer target: any file opened as a DXF background goes through the reader's file entry point and is drawn on a real picture.
#include "FuzzFiles.h"
#include "support/QtApp.h"
#include "io/DxfReader.h"
#include "ui/qt/QtSurface.h"
#include "ui/testing/FakeServices.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testsupport::qtApp();
    const std::string path = fuzzing::writeFile("background.dxf", data, size);
    ui::testing::FakeServices services;
    io::TfrmDXF reader;
    const bool loaded = reader.LoadDxf(path, services);
    // A refusal is always explained; a drawing taken is never accompanied by a complaint.
    if (loaded == !services.allTexts().empty()) std::abort();
    if (!loaded) return 0;
    model::Document doc;
    ui::qt::ImageSurface picture(320, 240);
    reader.FitDxfToView(doc, picture.width(), picture.height());
    reader.DrawDxf(picture);
    reader.ZoomDxf(doc, 40, 30, 200, 150, picture.width(), picture.height());
    reader.DrawDxf(picture);
    reader.NearestDxfEndPoint(1e18, 160, 120);
    return 0;
}
