// The designer's report: cover, colour map, contour lines, task areas, room and surfaces, luminaire schedule and notes on A4 portrait pages.
#pragma once
#include "calc/IlluminanceGrid.h"
#include "calc/Reflections.h"
#include "catalog/FixtureType.h"
#include "model/Document.h"
#include "model/TaskPresets.h"
#include "print/DistributionSheet.h"
#include "ui/PrintJob.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace print {

// The headings of the report's parts, in the order they appear.
inline constexpr std::array<const char*, 8> kReportHeadings = {
    "照明設計レポート", "計算条件", "総合判定", "照度分布図（色分け）", "照度分布図（等照度線）",
    "作業領域の照度", "室と面の照度", "器具・電力"};
inline constexpr const char* kReportNotesHeading = "計算について";
// The requirement of an area typed in by hand rather than taken from a kind of task.
inline constexpr const char* kReportHandTyped = "手入力";

// Everything the report prints: one finished result with the plan it belongs to. The pointers must
// live while the pages are drawn; `indirect` may be null (direct light alone).
struct ReportContent {
    const model::Document* doc = nullptr;
    const catalog::TourokuTable* touroku = nullptr;
    const calc::ResultStats* stats = nullptr;
    calc::CalcSettings settings;
    const calc::IndirectFigures* indirect = nullptr;
    std::vector<model::TaskPreset> presets;  // the kinds of task the areas may name, for their sources
    // The pictures the plan pages copy: the class colours over the whole plan surface and the two legends.
    struct Pictures {
        const ui::Surface* colourMap = nullptr;
        const ui::Surface* colourLegend = nullptr;
        const ui::Surface* contourLegend = nullptr;
        std::array<const ui::Surface*, catalog::kSlotCount + 1> curves{};  // each placed type's curve, by slot
    } pictures;
    SheetPainters painters;                  // walls, fixtures and contour lines at a page's offset and scale
    std::string objectName, date;
};

// The report's pictures, owned: the class colours of the result over a white picture the size of the
// plan surface (none when the platform cannot make it or the user cancelled), the legends of the
// colour map and of the contour lines as the legend window paints them, and the curve window's picture
// of each placed type.
struct ReportPictures {
    std::unique_ptr<ui::Surface> colourMap, colourLegend, contourLegend;
    std::array<std::unique_ptr<ui::Surface>, catalog::kSlotCount + 1> curves;
    ReportContent::Pictures view() const;
};
ReportPictures reportPictures(const model::Document& doc, const catalog::TourokuTable& touroku,
                              const calc::IlluminanceGrid& grid, const calc::ResultStats& stats, ui::Services& services);

// The summary verdict of the cover: every area that requires something passes, or which fail.
std::string reportVerdict(const std::vector<calc::AreaFigures>& areas);

// Where an area's requirement comes from: "name（source）" of its kind of task, or 手入力.
std::string requirementSource(const model::AreaRecord& area, const std::vector<model::TaskPreset>& presets);

// Every page of the report into the job, each numbered "n / N". The window's PDF command and preview and
// the command line all take their pages from here.
void drawReportPages(ui::PrintJob& job, const ReportContent& content);

// The report as an A4 portrait PDF; false when the file cannot be written.
bool printReportPdf(const std::string& path, const ReportContent& content, ui::Services& services);

} // namespace print
