// The plan editor's commands: palette, menus, mouse dispatch, wall/fixture/pillar tools, undo, scale, backgrounds.
//
// How the main window uses it
// ---------------------------
// TfrmMain owns one MainState, and one Editor bound to that state, the program's TourokuTable, the
// plan drawing surface, the services, a PlanPainter, an optional DxfBackground and the EditorHooks
// (dialogs and windows). Every palette button, menu item and mouse event is forwarded to the Editor
// method of the same name (imgLineClick, mnuUndoClick, mouseDown, mouseMove, ...). After each call the
// window mirrors the state: palette group and pictures (state.pictureOn, snapButtonsEnabled,
// arrayChoiceVisible), cursor number, hint, labels, menu enabling (state.doc.menus, menuScaleSet) and
// repaints the plan image.
//
// Number conversions that fail (txtHasira, a typed denominator, a length dialog value) throw
// base::ConversionError out of the length dialog; the Editor catches those of its own reads and
// shows them through Services::showError.
#pragma once
#include "catalog/FixtureType.h"
#include "editor/Geometry.h"
#include "editor/MainState.h"
#include "editor/Seams.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <optional>

namespace editor {

inline constexpr const char* kNeedScale = "縮尺を設定して下さい。(編集->縮尺の設定)";
inline constexpr const char* kNeedType = "器具を選択して下さい";
inline constexpr const char* kNeedTypeCurve = "器具を選択してください";
inline constexpr const char* kNoFixtures = "器具が配置されていません。";
inline constexpr const char* kRecalculate = "データが変更されています。\n再計算します。";
inline constexpr const char* kPitchNeedsScale = "縮尺が設定されていません。\n縮尺設定";
inline constexpr const char* kChangeScreen = "画面を変更しますか";
inline constexpr const char* kTooMany = "配置する数が多すぎます。個数またはピッチを見直して下さい。";
inline constexpr const char* kBitmapFilter = "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp";
inline constexpr const char* kDxfFilter = "DXFﾌｧｲﾙ (*.DXF) | *.DXF";

class Editor {
public:
    Editor(MainState& state, catalog::TourokuTable& touroku, ui::Surface& surface, ui::Services& services,
           PlanPainter& painter, EditorHooks hooks = {}, DxfBackground* dxf = nullptr);

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
    void selectWallTool(char code);
    void imgFreeClick() { selectSnap('F'); }
    void imgEdgeClick() { selectSnap('E'); }
    void imgGridClick() { selectSnap('G'); }
    void selectSnap(char mode);
    // "線分のカット": pressed shows ON; released inside the button ends the chain.
    void imgCutMouseDown();
    void imgCutMouseUp(bool insideButton);

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
    // Returns false when refused (no scale); the window then leaves "個数入力" checked.
    bool rbtnPitchClick();
    // The registration window chose a slot (or -1).
    void setSelectedType(int slot);
    // The registration window cleared a slot: every fixture of it goes.
    void removeFixturesOfType(int slot);

    // --- Mouse on the plan surface ---
    void mouseDown(const ui::MouseEvent& e);
    void mouseMove(const ui::MouseEvent& e);

    // --- Commands of the status panel ---
    void btnSuutiClick();     // numeric point entry
    void btnHenkouClick();    // reference calculation height
    void button3Click();      // closes the second colour scale window and redisplays
    void windowResized(int clientWidth, int clientHeight, int panelsHeight);

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
    void S1Click();          // 縮尺の設定(&S): measure a known length
    void mnuRedrawClick() { redisplayPlan(); }
    void btnRedClick() { redisplayPlan(); }

    // --- New plan ---
    // The whole clear of the main window: plan, fixture slots, grid values, the registration window.
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

private:
    void setTarget(char target);
    void pictureSet(const std::string& name, bool on);
    void setSnapMode(char mode);
    std::optional<ui::Point> snap(int x, int y);
    void drawRubberTo(ui::Point p);
    void xorShape(const RubberBand& band);
    void xorMarker(ui::Point p);
    void handleSnappedPoint(ui::Point p);
    void completeOperation(ui::Point p);
    void finishMeasurement();
    void addWallLine(ui::Point a, ui::Point b);
    void addWallArc(const ArcGeometry& g);
    void eraseSegment(const model::LineRecord& s);
    void deleteSegmentsIn(ui::Point c0, ui::Point c1);
    void placeSingle(ui::Point p);
    bool addKigu(ui::Point p);
    bool addHasira(ui::Point p, int size);
    std::optional<int> hasiraSize();
    void placeArray(ui::Point p0, ui::Point p1);
    void deleteFixturesIn(ui::Point c0, ui::Point c1);
    void deletePillarsIn(ui::Point c0, ui::Point c1);
    void changeHeightsIn(ui::Point c0, ui::Point c1);
    void eraseFixture(const model::KiguRecord& k);
    void measureScale(ui::Point a, ui::Point b);
    void redisplayResultAs(char kind);
    void chooseNextResult(char kind);
    void runCalculationCommand(bool checkFixtures);
    void chooseBitmapSizeMode(int mode);
    void chooseDxfSizeMode(int mode);
    void drawBitmap(bool refit);
    void updateScaleTypeLabel();
    bool isPillarTarget() const { return state_.doc.editTarget == 'C' || state_.doc.editTarget == 'S'; }
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
};

} // namespace editor
