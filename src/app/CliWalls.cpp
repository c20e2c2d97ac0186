// ordivan-cli walls-from-dxf: the chosen layers of an architect's DXF drawing become the walls of a project.
#include "app/Cli.h"
#include "base/Text.h"
#include "io/DxfWalls.h"
#include "model/ProjectFile.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace app {

namespace {
std::vector<std::string> splitLayers(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!name.empty()) out.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return out;
}
} // namespace

// walls-from-dxf PROJECT.OLE DRAWING.dxf --layers A,B [--scale MM_PER_UNIT] OUT.OLE. The drawing lands where
// the window's background would: fitted to the plan surface when the project has no scale yet (which the
// fit then sets), at the project's own scale otherwise. MM_PER_UNIT (default 1) is what one drawing unit is.
int cmdWallsFromDxf(CliRun& run) {
    const std::vector<std::string> operands(run.args.begin() + 1, run.args.begin() + static_cast<std::ptrdiff_t>(run.firstOption));
    std::string layersText, scaleText;
    if (operands.size() != 3 || !run.option("--layers", layersText)) return kExitUsage;
    const std::vector<std::string> layers = splitLayers(layersText);
    if (layers.empty()) {
        run.err << "ordivan-cli: walls-from-dxf: --layers: no layer named\n";
        return kExitUsage;
    }
    double mmPerUnit = 1.0;
    if (run.option("--scale", scaleText)) {
        try {
            mmPerUnit = base::toFloat(scaleText);
        } catch (const base::ConversionError& e) {
            run.err << "ordivan-cli: walls-from-dxf: --scale: " << e.what() << '\n';
            return kExitUsage;
        }
        if (!(mmPerUnit > 0) || mmPerUnit > 1e6) {
            run.err << "ordivan-cli: walls-from-dxf: --scale: millimetres per drawing unit above 0 expected\n";
            return kExitUsage;
        }
    }
    if (!run.loadProject(operands[0])) return kExitRefused;
    model::Document& doc = run.doc;
    io::TfrmDXF dxf;
    {
        const auto naming = run.about(operands[1]);
        if (!dxf.LoadDxf(operands[1], run.services)) return kExitRefused;
        if (!dxf.layers().readable) {
            run.services.messageBox("DXFファイルの内容が正しくありません。", "読み込みエラー", ui::Icon::Stop, ui::Buttons::Ok);
            return kExitRefused;
        }
        const auto known = io::layerCounts(dxf.layers());
        for (const std::string& name : layers) {
            if (std::none_of(known.begin(), known.end(), [&](const io::DxfLayerCount& c) { return c.name == name; })) {
                run.services.messageBox("画層 " + name + " には壁にできる線がありません。", "", ui::Icon::Stop, ui::Buttons::Ok);
                return kExitRefused;
            }
        }
    }
    if (doc.plan.hasScale()) {
        model::Document fitted = doc;  // the fit places the drawing; the project keeps its scale
        dxf.FitDxfToView(fitted, doc.surfaceWidth, doc.surfaceHeight);
        dxf.SetDxfScale(static_cast<float>(doc.plan.mmPerPixel / mmPerUnit));
    } else {
        dxf.FitDxfToView(doc, doc.surfaceWidth, doc.surfaceHeight);
        doc.plan.mmPerPixel = static_cast<float>(dxf.scale() * mmPerUnit);
        doc.plan.scaleDenominator = static_cast<std::int32_t>(std::trunc(doc.plan.mmPerPixel / doc.screenMmPerPixel + 0.5f));
    }
    for (const auto& wall : io::wallsFromDxf(dxf.layers(), dxf, layers, doc.plan.lines)) doc.plan.lines.add(wall);
    model::markPlanChanged(doc, run.shown);
    const auto naming = run.about(operands[2]);
    return model::writeProject(operands[2], doc, run.touroku, run.services) ? kExitOk : kExitRefused;
}

} // namespace app
