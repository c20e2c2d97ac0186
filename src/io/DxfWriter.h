// Writing the plan and the illuminance contour lines as a DXF drawing in millimetres, with the output-type choice.
#pragma once
#include "calc/ContourSet.h"
#include "calc/IlluminanceGrid.h"
#include "calc/Reflections.h"
#include "model/Document.h"
#include "ui/Services.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace io {

// What the output-type dialog returns; only values above 9 lead to a file.
enum class DxfOutType : int { Cancel = 2, ColorOut = 10, BlackOut = 11, ColorTextOut = 12 };

// Contour level colours (DXF colour numbers) by level position 1..6.
inline constexpr std::array<int, 6> kDxfLevelColours{5, 200, 3, 40, 231, 1};

// The heading and the five note lines written beside the plan, with the dialog's initial texts.
struct DxfNoteTexts {
    bool hosoku = true;  // cboxHosoku: write the heading and the notes
    std::string midasi = "■机上面(床より800)維持照度";
    std::array<std::string, 5> hosokuLines{
        "■机上面（床面より800）維持照度で計算しております。",
        "■空間内における家具等の影響は含まれておりません。",
        "■この照度分布図は、逐点法により照度を算出しているため",
        "  空間内における、天井・壁・床等の各部反射率は、考慮されておりません。",
        "■現場状況により、実際の照度とは異なる場合があります。",
    };
};

// The two template files that open and close the header around the extent variables.
struct DxfTemplates {
    std::string headPath;  // bunpudf
    std::string tailPath;  // bunpudb
};
// The templates in a data directory (the zolt_data folder beside the executable).
DxfTemplates dxfTemplatesIn(const std::string& dataDirectory);

// Everything the export reads from the plan and the result.
struct DxfExportInput {
    const model::Document& doc;        // plan, mmPerPixel, surface size, luxLevel
    calc::ContourSet& contours;        // rebuilt here when its levels are not the current ones
    const calc::ResultStats& stats;    // averageLux, maxLux
    // Rebuilds `contours` from the grid and the current levels (the calculation's contour builder).
    std::function<void()> buildContours;
    // Each level's traced pieces joined end to end into as few polylines as they make (off: as traced).
    bool joinContours = false;
    // The room the result's reflected light was calculated in; none for the direct light alone.
    std::optional<calc::RoomGeometry> reflections;
};

// The whole file as bytes (CP932, CR LF), templates included; nullopt with a message when a template
// cannot be read or the plan has no scale.
struct DxfBuildResult {
    std::optional<std::string> bytes;
    std::string message;
};
DxfBuildResult buildDxf(DxfOutType type, const DxfNoteTexts& texts, const DxfExportInput& input, const DxfTemplates& templates);

// Writes the file. The file appears complete or not at all: on any failure the message is shown, the
// old file of that name is kept and no partial file is left. True when the file was written.
bool WriteDxf(const std::string& path, DxfOutType type, const DxfNoteTexts& texts, const DxfExportInput& input,
              const DxfTemplates& templates, ui::Services& services);

// "color", "black", "colortext" (the command line's names of the output types).
std::optional<DxfOutType> dxfOutTypeFromName(const std::string& name);

// The command line's export: the dialog's initial texts, the templates of the data directory.
bool exportDxf(const std::string& path, DxfOutType type, const DxfExportInput& input, const std::string& dataDirectory,
               ui::Services& services);

} // namespace io
