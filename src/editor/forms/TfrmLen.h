// The length dialog: counts, pitches, heights, real lengths and coordinate offsets for the editor.
#pragma once
#include "editor/Dialogs.h"
#include "ui/Services.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace editor::forms {

class TfrmLen : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLen(ui::Services& services, QWidget* parent = nullptr);

    // Sets the texts and rows for (input kind, tool) before showing.
    void configure(char inputKind, char tool);
    // The plan's scale as the scale dialog shows it beside the real length: `mmPerPixel`, the millimetres
    // one plan pixel stands for (negative while no scale is set).
    void showScale(float mmPerPixel);
    // The grid's "中央に配置" as it starts (off unless "均等配置..." asked for it).
    void presetCentre(bool on);
    // The show step (confirmed cleared, edits emptied, focus on txtX) and the modal run; true when confirmed.
    bool execute();

    std::int32_t firstValue = 0;
    std::int32_t secondValue = 0;
    bool confirmed = false;
    bool centred = false;  // the grid's "中央に配置" was checked when it was confirmed

    QLabel* labX;
    QLineEdit* txtX;
    QLabel* labmmx;
    QLabel* labY;
    QLineEdit* txtY;
    QLabel* labmmy;
    QLabel* labEdit5;   // "mmPerPixel", the scale dialog only
    QLineEdit* Edit5;   // the plan's mmPerPixel, read only
    QCheckBox* chkCentre;  // the grid tool only: centred, half a spacing from the edges
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();
    bool secondRowVisible() const { return model_.secondRowVisible(); }

private:
    void applyLayout();
    ui::Services& services_;
    LengthDialogModel model_;
};

} // namespace editor::forms
