// The main window's whole state as one plain struct: the document, the result grid and the edit and display state.
#pragma once
#include "calc/ContourSet.h"
#include "calc/IlluminanceGrid.h"
#include "model/Document.h"
#include "ui/Surface.h"
#include "ui/Types.h"

#include <map>
#include <memory>
#include <string>

namespace editor {

// Cursor numbers of the main window's cursor table; 0 is the default arrow.
namespace cursors {
inline constexpr int kDefault = 0;
inline constexpr int kZoom = 1;
inline constexpr int kDelete = 3;
inline constexpr int kLength = 4;
inline constexpr int kHeight = 5;
inline constexpr int kMaru = 6;
inline constexpr int kSikaku = 7;
inline constexpr int kTe = 8;
} // namespace cursors

// Which tool group of the palette is visible.
enum class PaletteGroup { Walls, Fixtures, Pillars };

// What the XOR rubber band currently shows on the plan surface, so that it can be drawn again to erase it.
struct RubberBand {
    enum class Shape { None, Line, Rect, Arc };
    Shape shape = Shape::None;
    ui::Point from, to;   // line ends or rectangle corners
    ui::Rect square;      // arc: bounding square
    ui::Point arcFrom, arcTo;  // arc: start and end radials, counter-clockwise
    bool markerShown = false;  // the small snap marker
    ui::Point marker;
};

// The arc being drawn: its chord and the last preview that could be computed.
struct ArcInProgress {
    ui::Point chordStart, chordEnd;
    bool havePreview = false;  // a preview succeeded since the chord was fixed
    ui::Rect square;
    int flag = 0;
};

struct MainState {
    model::Document doc;
    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    calc::ContourSet contours;

    // Operation in progress: 'N' none, otherwise the code whose rubber band is shown
    // ('L' also during the first phase of an arc, 'A' during its second).
    char dragState = 'N';
    char toolBeforeMeasure = 'L';
    char snapBeforeMeasure = 'F';
    char rememberedBeforeMeasure = 'F';
    char lastToolWalls = 'L';
    char lastToolFixtures = '1';
    char lastToolPillars = '1';
    int arcPhase = 1;
    ui::Point startPoint, lastPoint, snapPoint;
    ArcInProgress arc;
    RubberBand rubber;

    // Palette and window mirrors.
    int cursor = cursors::kDefault;
    int cursorBeforeDelete = cursors::kDefault;  // pillar delete tool gives this back
    PaletteGroup palette = PaletteGroup::Walls;
    bool arrayChoiceVisible = false;  // rbtnPitch / rbtnKosuu
    bool snapButtonsEnabled = true;   // false in the '+' and 'Z' snap states (the NO pictures)
    std::map<std::string, bool> pictureOn;  // button name -> shows its ON picture
    std::string labHasira = "□";
    std::string labScaleType = "照度分布 Scale: 自動";
    std::string labXmm, labYmm, labLmm;
    bool hintVisible = false;
    std::string hintText;
    bool menuScaleSet = true;   // 縮尺の設定(&S)
    bool scrollAuto = false;    // the scroll box scrolls by itself
    int heightChangeChoice = 1; // the answer of the last calculation-height change question

    // Backgrounds and grid.
    int gridPitch = 0;          // finest grid pitch in pixels, for grid snapping
    float bmpFactor = 1.0f;
    std::unique_ptr<ui::Surface> bitmap;  // the loaded background bitmap at its own size
};

// The picture button of a tool in an edit target (empty when the tool has none).
std::string toolButtonName(char editTarget, char toolCode);

} // namespace editor
