// The calculation start dialog "照度計算": fixture plot, maintenance environment, precision and the result to show.
#pragma once
#include "calc/IlluminanceGrid.h"
#include "model/Document.h"

#include <QDialog>

class QLabel;
class QRadioButton;
class QSlider;
class QPushButton;

namespace calc::forms {

class TfrmCalcStart : public QDialog {
    Q_OBJECT
public:
    TfrmCalcStart(model::Document& doc, model::WindowShown& shown, CalcSettings& settings, QWidget* parent = nullptr);

    // Shows the dialog modally; true when a run button was pressed (calcConfirmed).
    bool execute();
    // The show step: environment and precision taken from the settings, calcConfirmed cleared.
    void FormShow();

    QRadioButton* rbtnPlotOn;     // "する"
    QRadioButton* rbtnPlotOff;    // "しない"
    QRadioButton* rbtnGood;       // "良い"
    QRadioButton* rbtnNormal;     // "普通"
    QRadioButton* rbtnPoor;       // "劣る"
    QRadioButton* rbtnNone;       // "考慮しない"
    QSlider* TrackBar1;           // "計算精度" 1..7
    QLabel* labHansya;            // whether ceiling, walls and floor give light back, and how much
    QPushButton* btnBunpu;        // "照度分布（色)"
    QPushButton* btnLine;         // "照度分布(線)"
    QPushButton* btnTemp;         // "色温度分布"
    QPushButton* btnCancel;       // "ｷｬﾝｾﾙ"

    void btnRunClick(char displayKind);
    void btnCancelClick();

private:
    model::Document& doc_;
    model::WindowShown& shown_;
    CalcSettings& settings_;
};

} // namespace calc::forms
