// The main window: palette of picture buttons, menus, the plan image in its scroll box, and the status panel.
#pragma once
#include "app/MainCommands.h"
#include "app/forms/PlanView.h"
#include "editor/WindowState.h"
#include "editor/WindowView.h"
#include "calc/IlluminanceGrid.h"
#include "catalog/FixtureType.h"
#include "model/Document.h"
#include "ui/qt/QtServices.h"
#include "ui/qt/QtSurface.h"

#include <QLabel>
#include <QMainWindow>
#include <map>
#include <string>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;

namespace calc::forms {
class TfrmCalcING;
class TfrmCalcStart;
class TfrmtendakaSet;
class TfrmTendakaChange;
class TfrmSeido;
class TfrmHosyuritu;
class TfrmHansya;
class TfrmRedraw;
}  // namespace calc::forms
namespace view::forms {
class TfrmLxScale;
class TfrmColorScale2;
class TfrmTempScale;
}  // namespace view::forms
namespace editor::forms {
class TfrmSinki;
class TfrmLen;
}  // namespace editor::forms

namespace app::forms {

using editor::Picture;

class TfrmVersion;
class TfmTyuui;

// What the main window works on; the owner keeps these alive as long as the window.
struct MainContext {
    model::Document& doc;
    editor::WindowState& window;  // what the window shows of the editing; read after every command
    catalog::TourokuTable& touroku;
    calc::CalcSettings& settings;
    ui::qt::ImageSurface& surface;  // the plan drawing surface
    ui::Services& services;
    const catalog::LightColorTable& lightColours;
    ui::qt::QtServices* qtServices = nullptr;  // when set, its dialogs and progress window belong to this window
};

// A picture button: shows one of its pictures and reports clicks.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    PictureButton(const std::string& name, const QString& hint, QWidget* parent);
    void showPicture(Picture p);
    Picture picture() const { return picture_; }
    void click() { emit clicked(); }
    // Shows ON while held and reports the click on a release inside the button ("線分のカット").
    void actOnRelease() { actOnRelease_ = true; }
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool actOnRelease_ = false;
    std::string name_;
    Picture picture_ = Picture::Off;
    bool pictureSet_ = false;
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(MainContext context, QWidget* parent = nullptr);
    ~TfrmMain() override;

    MainContext& context() { return ctx_; }
    // Every menu item, palette control and status button declared by its object name; the program binds them.
    MainCommands commands;

    // Fills "最近使ったファイル" with these paths, the latest first (the menu is closed while empty).
    void showRecentFiles(const QStringList& paths);
    // Shows the window state and the plan's modes in the widgets: title, palette, cursor, menus, labels, image.
    void syncFromState();
    // Runs one command inside the handler boundary, then shows the window state.
    void run(const std::function<void()>& command);

    // Fills the free area of the window's screen with the whole window, its title bar (the file name and
    // the unsaved mark) on the screen: at start and for a bitmap shown screen-wide.
    void fillScreen();

    // The scroll box's automatic scrolling (off at start; on when a loaded plan outgrows the window).
    bool autoScroll() const { return autoScroll_; }
    void setAutoScroll(bool on);
    // The height between the palette and the status panel.
    int planAreaHeight() const;
    // That area in screen coordinates, as far as it lies on the screen: where the windows the main window
    // opens are placed, so that they leave the palette and the status panel free.
    QRect planAreaOnScreen() const;
    // The window's only timer: 2000 ms, initially off; it switches itself off when it fires.
    QTimer* Timer1;

    // imgCalc shows its pressed picture while a calculation command runs; meanwhile every other command,
    // mouse edit and closing of the window is refused.
    void setCalcPressed(bool pressed);

    // Menu items and palette controls by their names.
    QAction* action(const std::string& name) const;
    PictureButton* button(const std::string& name) const;
    const std::map<std::string, QAction*>& actions() const { return actions_; }
    QMenu* PopupMenu1 = nullptr;

    // Status panel.
    QLabel* labScale;
    QLabel* labMax;
    QLabel* labPointLx;
    QLabel* labScaleType;
    QLabel* labBikou;
    QLabel* labHansya;   // the direct and the reflected average beside the total, after a run with reflections
    QLabel* labPointerMm;  // the pointer in mm, and the length and angle of the segment being drawn
    QLabel* labTendakaCaption;  // "計算高さ"
    QLabel* labSelection;  // how many items the selection tool holds
    QLabel* labKijun;    // "基準"
    QLabel* labTendaka;
    QPushButton* btnHenkou;
    QPushButton* btnSuuti;
    QPushButton* Button3;
    QPushButton* btnRed;  // "分布図消去"
    // Palette controls that are not pictures.
    QLineEdit* txtHasira;
    QLabel* labHasira;
    QLabel* labHasiraMm;
    QRadioButton* rbtnKosuu;
    QRadioButton* rbtnPitch;
    PlanView* ScrollBox1;
    PlanImage* Image1;

    // The windows the main window shows (created once with it).
    calc::forms::TfrmCalcING* frmCalcING;
    calc::forms::TfrmCalcStart* frmCalcStart;
    calc::forms::TfrmtendakaSet* frmtendakaSet;
    calc::forms::TfrmTendakaChange* frmTendakaChange;
    calc::forms::TfrmSeido* frmSeido;
    calc::forms::TfrmHosyuritu* frmHosyuritu;
    calc::forms::TfrmHansya* frmHansya;
    calc::forms::TfrmRedraw* frmRedraw;
    view::forms::TfrmLxScale* frmLxScale;
    view::forms::TfrmColorScale2* frmColorScale2;
    view::forms::TfrmTempScale* frmTempScale;
    editor::forms::TfrmSinki* frmSinki;
    editor::forms::TfrmLen* frmLen;
    TfrmVersion* frmVersion;
    TfmTyuui* fmTyuui;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    void buildPalette(QWidget* panel);
    void buildStatusPanel(QWidget* panel);
    void bindZoomCommands();
    void createWindows();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, bool checkable);
    PictureButton* addButton(QLayout* layout, const char* name, const QString& hint);

    MainContext ctx_;
    std::map<std::string, QAction*> actions_;
    std::map<std::string, QMenu*> menus_;
    std::map<std::string, PictureButton*> buttons_;
    bool calcPressed_ = false;
    bool autoScroll_ = false;
    int cursorShown_ = -1;
    QWidget* palettePanel_ = nullptr;
    QWidget* statusPanel_ = nullptr;
    bool syncing_ = false;
    bool placedWithFrame_ = false;  // placed again once the window system's frame was known
};

} // namespace app::forms
