// The printed illuminance distribution map: print region, plan area and scale, legend, statistics,
// fixture table, notes and footer on one landscape page.
#pragma once
#include "calc/ContourSet.h"
#include "calc/IlluminanceGrid.h"
#include "calc/Reflections.h"
#include "catalog/FixtureType.h"
#include "model/Document.h"
#include "print/FixtureTable.h"
#include "print/PageGeometry.h"
#include "print/SheetText.h"
#include "ui/PrintJob.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace print {

// The part of the plan that is printed, in plan pixels: the plan's extent joined with the lit extent.
struct PrintRegion {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int width() const { return x2 - x1; }
    int height() const { return y2 - y1; }
};
PrintRegion printRegion(const model::Extent& extent, const calc::ResultStats& stats);

// The region of the plan image as it is displayed, copied into a picture of its own (picbmp).
std::unique_ptr<ui::Surface> copyRegion(const ui::Surface& planImage, const PrintRegion& region, ui::Services& services);

// Where the plan goes on the page: the area left of the table and above the legend, the whole-number
// scale in dots per plan pixel and the top-left corner of the scaled region.
struct PlanArea {
    int aw = 0, ah = 0;
    float k = 0;
    int m = 0;
    double scale = 0;  // m, or k itself where m would make the plan vanish
    int ox = 0, oy = 0;
};
PlanArea planArea(const PageGeometry& page, const MarginDots& margins, const PrintRegion& region);

// The drawings the plan view supplies, each onto the page at an offset and a scale (a surface point is
// (offset + scale × plan position)). Empty functions draw nothing.
struct SheetPainters {
    std::function<void(ui::Surface&, double offsetX, double offsetY, double scale)> drawContours;
    std::function<void(ui::Surface&, double offsetX, double offsetY, double scale)> drawWalls;
    std::function<void(ui::Surface&, double offsetX, double offsetY, double scale)> drawFixtures;
    // The colour-temperature scale picture, stretched into the rectangle.
    std::function<void(ui::Surface&, const ui::Rect&)> drawColorTempScale;
    PlaceTextFn placeText = placeSheetText;
};

// Everything the sheet prints.
struct SheetContent {
    char displayKind = 'B';
    bool showFixturesOnResult = false;
    std::array<std::int32_t, 7> luxLevel{};     // [1..6]
    std::array<ui::Color, 6> classColour{};
    std::array<ui::Color, 8> symbolColour{};
    std::int32_t maxLux = 0, averageLux = 0, tenDaka = 0;
    std::string productTitle;
    const catalog::TourokuTable* touroku = nullptr;
    char lampNameMode = 'A';
    PrintRegion region;
    const ui::Surface* picbmp = nullptr;  // the colour map or colour-temperature map of the region
    std::string objectName, date;
    Margins margins;
    std::vector<calc::AreaFigures> areas;  // the task areas' figures: a page of their own when there are any
    std::int32_t calcStep = 1;
    std::optional<calc::RoomGeometry> reflections;  // the room the result's reflected light was calculated in
};

// The sheet's content from the main window's state; `indirect`, when the result has reflected light,
// gives the room the notes name.
SheetContent sheetContentOf(const model::Document& doc, const catalog::TourokuTable& touroku,
                            const calc::ResultStats& stats, const calc::CalcSettings& settings,
                            const calc::IndirectFigures* indirect = nullptr);

// The heading of the sheet: "色温度分布図" for the colour-temperature display, "照度分布図" otherwise.
std::string sheetTitle(char displayKind);
// The five fixed notes, top to bottom, with their heights above the bottom margin in mm.
struct SheetNote {
    int mmAboveBottom;
    std::string text;
};
extern const std::array<SheetNote, 5> kSheetNotes;
// The notes a sheet prints: kSheetNotes for direct light alone; with reflected light the two lines that
// say reflectances are not considered say instead which reflectances and heights were used.
std::array<SheetNote, 5> sheetNotes(const SheetContent& content);

// Draws the whole sheet on one page.
void drawDistributionSheet(ui::Surface& page, const SheetContent& content, const SheetPainters& painters);

// The task-area table pages: per area its name, Eavg, Emin, Emax, U0, Emin/Emax, what it requires and
// the pass or fail mark; rows that do not fit go on to a further page.
void drawAreaTablePages(ui::PrintJob& job, const SheetContent& content, const SheetPainters& painters);

// Every page of the sheet into a job: the distribution map, then the task-area table when the plan has
// task areas. The printer, the PDF file and the preview all take their pages from here.
void drawDistributionSheetPages(ui::PrintJob& job, const SheetContent& content, const SheetPainters& painters);

// The fixture table alone (the product-number list's print): its left edge at the left margin.
void drawFixtureTableAlone(ui::Surface& page, const Margins& margins, const catalog::TourokuTable& touroku,
                           const FixtureTableStyle& style, const PlaceTextFn& placeText = placeSheetText);

// "用紙を横方向に設定します。" when the printer is not set to landscape; true when it had to be changed.
bool askForLandscape(bool landscape, ui::Services& services);

inline constexpr const char* kMsgNoPrinter = "プリンターが設定されていません。";
inline constexpr const char* kMsgLandscape = "用紙を横方向に設定します。";

// The distribution map sheet of the current result as an A4 landscape PDF: the region of `planImage`
// (the plan drawing surface as displayed) is reproduced for the colour displays, the painters draw the
// contour display. False when the file cannot be written.
bool printDistributionMapPdf(const std::string& path, const model::Document& doc, const catalog::TourokuTable& touroku,
                             const calc::ResultStats& stats, const calc::CalcSettings& settings,
                             const ui::Surface& planImage, const SheetPainters& painters, const std::string& objectName,
                             const std::string& date, ui::Services& services, const Margins& margins = {},
                             const calc::IndirectFigures* indirect = nullptr);

// The fixture table alone as an A4 PDF in the given orientation.
bool printFixtureTablePdf(const std::string& path, const catalog::TourokuTable& touroku, const FixtureTableStyle& style,
                          const Margins& margins, bool landscape, ui::Services& services);

} // namespace print
