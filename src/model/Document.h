// The project every subsystem reads: the plan, what the project file carries, the plan's settings and display tables.
#pragma once
#include "base/Version.h"
#include "catalog/FixtureType.h"
#include "model/Plan.h"
#include "model/WindowShown.h"
#include "ui/Types.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace model {

// Colour and level tables of the result display, with their start-up values.
struct DisplayTables {
    // Fill colours of fixture symbols by position 1..6 in a slot group, and the pillar colour at [7].
    std::array<ui::Color, 8> symbolColour{};
    std::array<ui::Color, 6> classColour{};
    std::array<ui::Color, 6> greys{};
    std::array<std::int32_t, 26> levelLadder{};
    std::array<std::int32_t, 7> luxLevel{};  // [1..6], ascending lower bounds of the classes
    std::array<std::int32_t, 7> userLevel{};  // [1..6], the range dialog's own levels (used with rangeMode)
    std::array<ui::Color, 80> ctColour{};    // [20..79]: 2000 K to 7900 K in 100 K steps
    bool ctColourFilled = false;
};

// Shared by every text the drawing routines place: font sizes are multiplied by textFactor and
// textOffset is added to every text position (the printed sheet sets both while it lays out a page).
struct TextState {
    double textFactor = 1.0;
    ui::Point textOffset{};
};

struct Document {
    Plan plan;
    // Counts the plan's edits (every markPlanChanged): a redo is offered only while no edit came after the undo.
    std::uint64_t planRevision = 0;

    // Modes of the project: what the result shows and how fixtures are entered and named.
    bool dataChanged = true;
    bool resultValid = false;
    char displayKind = 'B';   // 'B' colour map, 'C' colour temperature, 'T' contour lines
    char arrayInput = 'K';    // 'K' by count, 'P' by pitch
    bool flVertical = false;
    char backgroundKind = 'N';  // 'N' none, 'B' bitmap, 'D' DXF drawing
    int bitmapSizeMode = 2;     // whole form
    int dxfSizeMode = 2;
    bool gridShown = false;
    bool backgroundShown = false;
    char lampNameMode = 'A';    // application-wide lamp names: 'J' Japanese, 'A' alphanumeric
    std::int32_t selectedType = -1;
    bool rangeMode = false;       // the user's illuminance levels instead of automatic ones

    // Settings.
    std::int32_t tenDaka = 3000;       // reference calculation height in mm
    float screenMmPerPixel = 25.39f / 96.0f;
    std::int32_t screenWidth = 1920;
    std::int32_t screenHeight = 1080;
    std::int32_t surfaceWidth = 1915;  // the plan drawing surface
    std::int32_t surfaceHeight = 900;
    Extent extent{0, -1, 0, 0};

    // Names and texts of the project.
    std::string productTitle = base::productTitle();
    std::string currentFileName;
    std::string bitmapSaveFileName;
    // The reference height as typed and saved (the window shows it in labTendaka); the calculation
    // reads the height from this text, so the height shown is the height used.
    std::string tenDakaLabel = "3000";
    std::string projectName;      // 物件名 on the print form
    std::string projectNameCopy;
    // The opened file's own bytes of its texts that CP932 would not write back the same (by the text as
    // it reads); a text the user leaves as it was is written with them, so opening and saving keeps it.
    std::map<std::string, std::string> fileSpellings;

    DisplayTables tables;
    TextState textState;
};

// The title suffix every window title ends with.
// The lowest calculation height in mm the height dialog takes; below it the figure was surely typed in
// metres. A file holding a lower one is refused with the dialog's words.
inline constexpr std::int32_t kMinTenDaka = 100;
inline constexpr const char* kTenDakaNotPositive = "計算天高を正しく入力して下さい";
inline constexpr const char* kTenDakaNotMm = "計算天高は mm で入力して下さい";
inline constexpr const char* kTitleSuffix = "  (ZOLT LIGHTING CORP.)";

// Every edit of the plan goes through here: the result becomes stale and the result menus close.
void markPlanChanged(Document& doc, WindowShown& shown);

// Empties the plan and its file names, frees every fixture type slot, forgets the scale.
// The pillar size box returns to 800. The grid and the windows are the caller's (the editor zeroes the
// grid and hides the registration window).
void clearPlan(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku);

// Sets the scale from a denominator (the grid choice of the plan dialogs): rescales the plan, fixes
// mmPerPixel and the scale label, shows the grid snap button and the grid. Returns the pitches.
ScaleFromDenominator setScaleFromDenominator(Document& doc, WindowShown& shown, std::int32_t denominator);

// "縮尺：1/N (n)" or "縮尺未設定".
std::string scaleLabelFor(const Document& doc, bool withEffective);
// "縮尺：1/N" as it stands, even for no scale (an opened project and a fitted DXF drawing show it so).
std::string denominatorLabel(std::int32_t denominator);

// The one composition of the window title: "ORDIVAN Ver 2.0  - [*]name.OLE  (ZOLT LIGHTING CORP.)" for a
// project path, "ORDIVAN Ver 2.0  - [*]無題  (ZOLT LIGHTING CORP.)" without one (the mark next to a name, never
// glued to the version); the window shows "[*]" as its
// mark ("*") while the plan has unsaved changes and drops it otherwise.
std::string windowTitleFor(const Document& doc, const std::string& path);

// True when closing would offer to save: a changed plan with at least one item.
bool hasUnsavedChanges(const Document& doc);

// Adds a fixture with the anchor copied and its slot's placedCount kept in step; marks the plan changed.
int addFixture(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku, std::int32_t x, std::int32_t y, std::int32_t typeIndex);
// Deletes fixture `index` (compacting) and decrements its slot's placedCount; marks the plan changed.
void deleteFixture(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku, int index);
// Deletes every fixture of one type slot (the registration window cleared it), the others keeping their order.
void deleteFixturesOfSlot(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku, int slot);

} // namespace model
