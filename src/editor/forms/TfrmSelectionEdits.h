// The dialogs of the edits of a selection: the displacement of "移動..." and "複写...", the angle of "回転...".
#pragma once
#include "editor/Seams.h"
#include "ui/Services.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace editor::forms {

// dx and dy in mm, x to the right and y downwards as the pointer's read-out counts them.
class TfrmOffset : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOffset(ui::Services& services, QWidget* parent = nullptr);
    // "移動" or "複写" in the title; nothing when cancelled.
    std::optional<OffsetAnswer> execute(bool copy);

    QLineEdit* txtDx;
    QLineEdit* txtDy;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    void btnOKClick();

private:
    ui::Services& services_;
    std::optional<OffsetAnswer> answer_;
};

// The angle in degrees (counter-clockwise), about the selection's centre or a point clicked next.
class TfrmRotate : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRotate(ui::Services& services, QWidget* parent = nullptr);
    std::optional<RotationAnswer> execute();

    QLineEdit* txtAngle;
    QRadioButton* rbtnCentre;
    QRadioButton* rbtnPoint;
    QLabel* labNote;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    void btnOKClick();

private:
    ui::Services& services_;
    std::optional<RotationAnswer> answer_;
};

// The properties box of one item: a labelled edit for each field of its sheet.
class TfrmProperties : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProperties(ui::Services& services, QWidget* parent = nullptr);
    // The texts OK was pressed with once `check` passed them; nothing when cancelled.
    std::optional<std::vector<std::string>> execute(const PropertySheet& sheet, const PropertyCheck& check);

    std::vector<QLineEdit*> edits;  // txtField1, txtField2, ... in the sheet's order
    QPushButton* btnOK;
    QPushButton* btnCancel;
    void btnOKClick();

private:
    ui::Services& services_;
    QGridLayout* grid_;
    std::vector<QWidget*> rows_;
    PropertyCheck check_;
    std::optional<std::vector<std::string>> answer_;
};

// What the two dialogs say about the directions and about what an angle other than a quarter turn keeps.
inline constexpr const char* kOffsetNote = "dx は右が＋、dy は下が＋ (mm)";
inline constexpr const char* kRotateNote =
    "反時計回りの角度 (度)。\n90°単位の回転では直管器具の向き (0/90) も変わります。\n"
    "それ以外の角度では位置だけが回転し、器具の向き・角柱・作業領域の形は変わりません。";

} // namespace editor::forms
