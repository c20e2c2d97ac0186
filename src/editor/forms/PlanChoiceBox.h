// The background and scale choice shared by the new-plan dialog and the start dialog.
#pragma once
#include "editor/Dialogs.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace editor::forms {

class PlanChoiceBox : public QWidget {
    Q_OBJECT
public:
    // `filtered`: the denominator field passes only the integer keys (the new-plan dialog).
    PlanChoiceBox(bool filtered, QWidget* parent = nullptr);

    // "白紙で表示" selected; the scale controls follow the grid choice.
    void reset();
    NewPlanChoice choice() const;

    QRadioButton* rbtnWhite;  // "白紙で表示"
    QRadioButton* rbtnDxf;    // "ＤＸＦファイルの読み込み"
    QRadioButton* rbtnBmp;    // "ＢＭＰファイルの読み込み"
    QRadioButton* rbtnGrid;   // "グリッドの表示"
    QRadioButton* rbtn30;
    QRadioButton* rbtn50;
    QRadioButton* rbtn100;
    QRadioButton* rbtn200;
    QRadioButton* rbtnSettei;  // "設定値"
    QLabel* labBunsi;          // "1/"
    QLineEdit* txtSyuku;

private:
    void syncScaleControls();
    std::int32_t denominator_ = 50;
};

} // namespace editor::forms
