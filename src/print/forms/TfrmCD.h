// TfrmCD: the light distribution curve window with its popup menu (copy, save, layouts, zoom) and print button.
#pragma once
#include "print/CurveSheet.h"
#include "ui/Services.h"
#include "ui/qt/QtSurface.h"

#include <QWidget>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QPrinter;

namespace print::forms {

class TfrmCD : public QWidget {
    Q_OBJECT
public:
    TfrmCD(ui::Services& services, std::string versionText, QWidget* parent = nullptr);
    ~TfrmCD() override;

    // Fills the window from a registered type (the main window's "配光曲線の表示") and shows it.
    void fill(const catalog::BunpuHinban& type);

    void C11Click();
    void C21Click();
    void C31Click();
    void C41Click();
    void N2Click();  // 拡大
    void N3Click();  // 縮小
    void Copy1Click();
    void save1Click();
    void btnPrintClick();
    // Prints the sheet on a printer already chosen (the print dialog's outcome); false when it failed.
    bool printOn(QPrinter& printer);
    // The sheet in the preview window, on a portrait page of the default printer.
    void btnPreviewClick();

    const CurveView& view() const { return view_; }
    const ui::qt::ImageSurface& picture() const { return picture_; }
    // The export picture: the window's picture with the key and the lamp name.
    std::unique_ptr<ui::Surface> exportPicture();

    QLabel* picCD = nullptr;
    QLabel* labLamp = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnPreview = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* save1 = nullptr;
    QAction* C11 = nullptr;
    QAction* C21 = nullptr;
    QAction* C31 = nullptr;
    QAction* C41 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;

private:
    void redraw();
    // The printed sheet on one page (printing and the preview draw the same).
    void drawSheet(ui::Surface& page);

    ui::Services& services_;
    std::string version_;
    CurveView view_;
    ui::qt::ImageSurface picture_;
    std::string lastSaveName_;
};

} // namespace print::forms
