// The plan editor: edit targets, the current tool, snapping and the rubber band, and the main window's plan commands.
//
// How the main window uses it
// ---------------------------
// TfrmMain owns one MainState, and one Editor bound to that state, the program's TourokuTable, the
// plan drawing surface, the services, a PlanPainter, an optional DxfBackground and the EditorHooks
// (dialogs and windows). The main window's command table binds palette buttons, menu items and mouse
// events to the Editor method of the same name (imgLineClick, mnuUndoClick, mouseDown, mouseMove, ...).
// After each call the window shows the state again (WindowView.h reads it).
//
// The tools themselves are classes (WallTools.h, PlacementTools.h); the Editor maps the stored tool code
// to one of them through one table and forwards the snapped clicks to it.
//
// Number conversions that fail (txtHasira, a typed denominator, a length dialog value) throw
// base::ConversionError out of the length dialog; the Editor catches those of its own reads and
// shows them through Services::showError.
#pragma once
#include "catalog/FixtureType.h"
#include "editor/Geometry.h"
#include "editor/MainState.h"
#include "editor/PlacementTools.h"
#include "editor/Selection.h"
#include "editor/Seams.h"
#include "editor/Tool.h"
#include "ui/Services.h"
#include "ui/Surface.h"
#include "view/PlanRender.h"

#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace editor {

inline constexpr const char* kNeedScale = view::kNoScaleMessage;
inline constexpr const char* kNeedType = "器具を選択して下さい";
inline constexpr const char* kNeedTypeCurve = "器具を選択してください";
inline constexpr const char* kNoFixtures = "器具が配置されていません。";
inline constexpr const char* kRecalculate = "データが変更されています。\n再計算します。";
inline constexpr const char* kPitchNeedsScale = "縮尺が設定されていません。\n縮尺設定";
inline constexpr const char* kChangeScreen = "画面を変更しますか";
inline constexpr const char* kTooMany = "配置する数が多すぎます。個数またはピッチを見直して下さい。";
inline constexpr const char* kZeroCount = "1 以上の値を入力して下さい。";
inline constexpr const char* kTooDense = "線の長さに対して個数が多すぎます。個数を見直して下さい。";
inline constexpr const char* kBitmapFilter = "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp";
inline constexpr const char* kDxfFilter = "DXFﾌｧｲﾙ (*.DXF) | *.DXF";

class Editor {
public:
    Editor(MainState& state, catalog::TourokuTable& touroku, ui::Surface& surface, ui::Services& services,
           PlanPainter& painter, EditorHooks hooks = {}, DxfBackground* dxf = nullptr);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Start-up: edit state, labels and menus as the main window sets them (after Document defaults).
    void initialise();

    // --- Edit targets ---
    void imgRoomClick();
    void imgKiguClick();
    void imgHasiraClick();
    void imgEntyuuClick();
    void imgKakutyuuClick();
    void imgFLyokoClick();
    void imgFLtateClick();

    // --- Wall tools and snap modes ---
    void imgLineClick() { selectWallTool('L'); }
    void imgLClick() { selectWallTool('+'); }
    void imgBoxClick() { selectWallTool('S'); }
    void imgArcClick() { selectWallTool('A'); }
    void imgDelLineClick() { selectWallTool('D'); }
    void imgAreaClick() { selectWallTool('T'); }
    void imgDelAreaClick() { selectWallTool('t'); }
    void selectWallTool(char code);
    void imgFreeClick() { selectSnap('F'); }
    void imgEdgeClick() { selectSnap('E'); }
    void imgGridClick() { selectSnap('G'); }
    void selectSnap(char mode);
    // "線分のカット" released inside the button: the chain ends, the tool stays.
    void imgCutClick();

    // --- Fixture and pillar tools ---
    void imgKigu1Click() { selectPlacementTool('1'); }
    void imgKigu2Click() { selectPlacementTool('2'); }
    void imgKigu3Click() { selectPlacementTool('3'); }
    void imgDelKiguClick() { selectPlacementTool('d'); }
    void imgTakasaClick() { selectPlacementTool('H'); }
    void imgHasira1Click() { selectPlacementTool('1'); }
    void imgHasira2Click() { selectPlacementTool('2'); }
    void imgHasira3Click() { selectPlacementTool('3'); }
    void imgHasiraDelClick() { selectPlacementTool('d'); }
    void selectPlacementTool(char code);
    void rbtnKosuuClick();
    // "均等配置...": the grid tool by count, its luminaires centred in the rectangle drawn next.
    void mnuEvenLayoutClick();
    // Returns false when refused (no scale); the window then leaves "個数入力" checked.
    bool rbtnPitchClick();

    // --- Mouse on the plan surface ---
    void mouseDown(const ui::MouseEvent& e);
    void mouseMove(const ui::MouseEvent& e);
    // Escape: drops the line, rectangle or arc being drawn; a measurement gives back the tool used before it.
    void escapeKey();

    // --- Commands of the status panel ---
    void btnSuutiClick();     // numeric point entry
    void btnHenkouClick();    // reference calculation height
    void button3Click();      // closes the second colour scale window and redisplays
    // A resize of the main window; returns whether the scroll box scrolls by itself from now on.
    bool windowResized(int clientWidth, int freeHeight, bool autoScroll);

    // --- The selection tool ('V') and the edits of a selection (SelectionCommands.cpp) ---
    void imgSelectClick();
    void mnuSelectAllClick();
    void mnuMoveSelClick() { moveOrCopyByDialog(false); }
    void mnuCopySelClick() { moveOrCopyByDialog(true); }
    void mnuRotateSelClick();
    // The properties box of the one selected item; its values apply as one undo step.
    void mnuPropertiesSelClick();
    void mnuMirrorLRClick() { mirrorSelection(true); }
    void mnuMirrorUDClick() { mirrorSelection(false); }
    // The arrow keys: the selection moves by one plan pixel (ten with Shift), one undo step each.
    void nudgeSelection(int dx, int dy);
    void deleteSelection();
    // Walls made elsewhere (the chosen layers of a DXF drawing) added as one undo step; they stay selected
    // with the selection tool.
    void addWalls(const std::vector<model::LineRecord>& walls);
    // The room dialog's OK stored a room other than `before`: one undo step, and one redo step once undone.
    void roomEdited(const model::RoomRecord& before);
    // The next rectangle dragged on the plan with the selection tool goes to `then` (in plan pixels) instead
    // of selecting; Escape drops it.
    void askWindow(std::function<void(ui::Rect)> then);
    // The left button let go over the plan: ends a drag of the selection tool.
    void mouseUp(const ui::MouseEvent& e);

    // --- Calculation and result display ---
    void imgCalcClick();
    void mnuCalcRunClick();
    void mnuRedBunpuClick() { redisplayResultAs('B'); }
    void mnuRedLineClick() { redisplayResultAs('T'); }
    void mnuRedTempClick() { redisplayResultAs('C'); }
    void mnuBunpuClick() { chooseNextResult('B'); }
    void mnuTempClick() { chooseNextResult('C'); }
    void mnuLineClick() { chooseNextResult('T'); }
    void mnuScaleONClick();
    void mnuScaleOFFClick();
    void mnuKiguShowClick() { state_.settings.showFixturesOnResult = true; }
    void mnuKiguDelClick() { state_.settings.showFixturesOnResult = false; }
    void mnuHaikouClick();
    void mnuLampJClick() { state_.doc.lampNameMode = 'J'; }
    void mnuLampAClick() { state_.doc.lampNameMode = 'A'; }

    // --- Edit menu ---
    void mnuUndoClick();
    // Brings back the item the latest undo removed, while no other edit came after it.
    void mnuRedoClick();
    // The Delete key: the delete tool of the current edit target.
    void selectDeleteTool();
    void S1Click();          // 縮尺の設定(&S): measure a known length
    void mnuRedrawClick() { redisplayPlan(); }
    void btnRedClick() { redisplayPlan(); }

    // --- New plan ---
    // The whole clear of the main window: legends, plan, fixture slots, grid values, drawing surface, the
    // registration window.
    // The project reader's ProjectHooks::clearPlan is this.
    void clearPlan();
    void New1Click();
    // The new-plan dialog's OK (clearFirst) and the start dialog's "新規作成" (the plan is still empty).
    void applyNewPlan(const NewPlanChoice& choice, bool clearFirst);

    // --- Backgrounds and grid ---
    void mnuLoadBMPClick() { loadBitmapBackground(true); }
    void mnuLoadDXFClick() { loadDxfBackground(true); }
    void loadBitmapBackground(bool fromMenu);
    void loadDxfBackground(bool fromMenu);
    void mnuBmpScreenClick() { chooseBitmapSizeMode(1); }
    void mnuBmpFormClick() { chooseBitmapSizeMode(2); }
    void mnuBmpSorceClick() { chooseBitmapSizeMode(3); }
    void mnuDxfScreenClick() { chooseDxfSizeMode(1); }
    void mnuDxfFormClick() { chooseDxfSizeMode(2); }
    void mnuKakudaiClick() { selectWallTool('Z'); }
    void mnuModosuClick();
    void mnuPrintBMPClick();
    void mnuPrintDXFClick();
    void mnuPrintGridClick();
    void mnuDelHaikeiClick();
    void mnuDelGridClick();

    // --- Drawing-surface operations other parts use ---
    void clearDrawingSurface();
    void redisplayPlan();
    // Redraw kinds: -1 result overlay, 0 no background, 1 bitmap as before, 2 bitmap refitted,
    // 3 grid only, 4 DXF as before, 5 / 6 DXF refitted.
    void redraw(int kind);
    void drawGrid();
    // Erases the rubber band and the snap marker if they are shown.
    void eraseRubberBand();

    // 'N' when no operation is in progress, otherwise the code of the operation whose band is shown.
    char dragState() const { return tool().dragState(); }
    // The first point of the operation in progress.
    std::optional<ui::Point> startPoint() const { return tool().startPoint(); }

private:
    enum class ToolGroup { Any, Fixtures, Pillars };
    struct ToolSlot {
        char code;
        ToolGroup group;
        std::unique_ptr<Tool> tool;
    };
    // The tool the stored code stands for in the current edit target.
    Tool& tool() const;
    void setTarget(char target);
    void setSnapMode(char mode);
    // Leaves the current tool for `code`, dropping its operation in progress.
    void switchTool(char code);
    void updateUndoCaption();
    void cancelOperation();
    std::optional<ui::Point> snap(int x, int y);
    void xorShape(const RubberBand& band);
    void xorMarker(ui::Point p);
    void handleSnappedPoint(ui::Point p);
    void finishMeasurement();
    void redisplayResultAs(char kind);
    void chooseNextResult(char kind);
    void runCalculationCommand(bool checkFixtures);
    void chooseBitmapSizeMode(int mode);
    void chooseDxfSizeMode(int mode);
    void drawBitmap(bool refit);
    void updateScaleTypeLabel();
    bool isPillarTarget() const { return state_.window.editTarget == 'C' || state_.window.editTarget == 'S'; }
    void stop(const std::string& text, const std::string& title = "");
    template <class F>
    void call(const F& f) {
        if (f) f();
    }

    MainState& state_;
    catalog::TourokuTable& touroku_;
    ui::Surface& surface_;
    ui::Services& services_;
    PlanPainter& painter_;
    EditorHooks hooks_;
    DxfBackground* dxf_;
    ToolContext context_;
    FixturePlacer fixturePlacer_;
    PillarPlacer pillarPlacer_;
    std::vector<ToolSlot> tools_;
    std::unique_ptr<Tool> noTool_;  // a code no table entry has: clicks do nothing

    // The items undo removed, the latest last; dropped by the first edit that is not an undo or a redo.
    std::vector<std::variant<model::LineRecord, model::KiguRecord, model::HasiraRecord, model::AreaRecord, EditCycle>> redo_;
    void showRedo();

    // The selection tool's press, drag and release, and the edits of a selection as one undo step each.
    void selectionPress(const ui::MouseEvent& e, ui::Point snapped);
    void selectionDragTo(const ui::MouseEvent& e);
    void setSelection(std::vector<ItemRef> items);
    void clearSelection();
    void moveOrCopyByDialog(bool copy);
    void mirrorSelection(bool leftRight);
    void commitCycle(EditCycle cycle);
    // The edit joins the history that undo takes back, the latest on top.
    void pushCycle(EditCycle cycle);
    void editSelection(const std::function<std::vector<ItemRef>(model::Plan&, const std::vector<ItemRef>&)>& edit);
    // Brings back the plan before the latest edit of a selection, while the plan is still what it made.
    bool undoEditCycle();
    // False when a slot the edit needs was freed since: nothing is redone.
    bool redoEditCycle(const EditCycle& cycle);
    void restoreItems(const PlanItems& from, const PlanItems& to, const std::vector<ItemRef>& selection);
    // The next older edit of a selection can be taken back when the plan is again what it left.
    void noteUndoableCycle();
    double pointerReach() const;
    std::vector<EditCycle> cycles_;  // the edits of selections, the latest last
    struct SelectDrag {
        enum class Mode { None, Window, Move } mode = Mode::None;
        ui::Point pressedAt;  // the pointer where the button went down
        ui::Point grab;       // that point snapped: the displacement is measured from it
        bool moved = false;   // the pointer left the press's neighbourhood
    } drag_;
    std::optional<double> rotationAwaitingCentre_;
    std::function<void(ui::Rect)> windowAwaited_;  // while askWindow waits for its rectangle  // degrees, while "回転..." waits for its centre

    RubberBand band_;                 // what the rubber band shows, to draw it again to erase it
    std::optional<ui::Point> marker_;  // the snap marker, while shown
    // The tool and snap modes the scale measurement gives back.
    struct {
        char tool = 'L', snap = 'F', remembered = 'F';
    } beforeMeasure_;
};

} // namespace editor
