// The reference-height dialog "計算高さの変更" (TfrmtendakaSet) and its follow-up question (TfrmTendakaChange).
#pragma once
#include "model/Document.h"
#include "ui/Services.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace calc::forms {

class TfrmtendakaSet : public QDialog {
    Q_OBJECT
public:
    TfrmtendakaSet(model::Document& doc, ui::Services& services, QWidget* parent = nullptr);

    // Shows the dialog modally; true when a new height was accepted.
    bool execute();

    QLabel* labNow;       // labTendaka's text + " →"
    QLineEdit* txtTendaka;
    QLabel* labmm;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();

private:
    model::Document& doc_;
    ui::Services& services_;
};

class TfrmTendakaChange : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTendakaChange(QWidget* parent = nullptr);

    // Shows the question modally: 1, 2 or 3 for the chosen answer, 0 for "ｷｬﾝｾﾙ".
    int execute();

    QRadioButton* rbtnSoroeru;   // 1 "すべてを基準計算高さにそろえる"
    QRadioButton* rbtnSonomama;  // 2 "更新前との差をそのままに同時に変更"
    QRadioButton* rbtnHenkouSinai;  // 3 "変更しない"
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

} // namespace calc::forms
