// The inter-reflection dialog "相互反射の設定": whether ceiling, walls and floor give light back, the heights and the reflectances.
#pragma once
#include "model/Document.h"
#include "ui/Services.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace calc::forms {

class TfrmHansya : public QDialog {
    Q_OBJECT
public:
    TfrmHansya(model::Document& doc, model::WindowShown& shown, ui::Services& services, QWidget* parent = nullptr);

    // Shows the dialog modally with the plan's room; true when OK stored the typed room.
    bool execute();
    // The show step: the plan's room in the controls.
    void FormShow();

    QCheckBox* cboxHansya;      // "天井・壁・床の相互反射を計算する"
    QLineEdit* txtRoomHeight;   // 天井高, mm; empty: the highest luminaire's mounting height
    QLineEdit* txtWorkPlane;    // 作業面高さ, mm
    QComboBox* cmbPreset;       // 天井/壁/床 sets in percent
    QLineEdit* txtCeiling;      // %
    QLineEdit* txtWalls;        // %
    QLineEdit* txtFloor;        // %
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();
    // A preset chosen: its three reflectances go into the edits.
    void cmbPresetChange(int index);

private:
    // The preset the three edits hold, none when they hold another set.
    void showMatchingPreset();

    model::Document& doc_;
    model::WindowShown& shown_;
    ui::Services& services_;
};

} // namespace calc::forms
