// The precision dialog "計算精度の設定" and the maintenance dialog "保守率の設定" (both behind hidden menu items).
#pragma once
#include "calc/IlluminanceGrid.h"
#include "model/Document.h"

#include <QDialog>

class QPushButton;
class QRadioButton;
class QSlider;
class QGroupBox;

namespace calc::forms {

class TfrmSeido : public QDialog {
    Q_OBJECT
public:
    TfrmSeido(model::Document& doc, model::WindowShown& shown, CalcSettings& settings, QWidget* parent = nullptr);

    QSlider* TrackBar1;
    QPushButton* btnOK;

    void TrackBar1Change();

private:
    model::Document& doc_;
    model::WindowShown& shown_;
    CalcSettings& settings_;
};

class TfrmHosyuritu : public QDialog {
    Q_OBJECT
public:
    // Creating the dialog puts the maintenance factor on, normal environment.
    TfrmHosyuritu(CalcSettings& settings, QWidget* parent = nullptr);

    void FormShow();
    void execute();

    QRadioButton* rbtnKouryo;      // "考慮する"
    QRadioButton* rbtnKouryoSinai; // "考慮しない"
    QGroupBox* grpKankyou;         // "環境"
    QRadioButton* rbtnGood;
    QRadioButton* rbtnNormal;
    QRadioButton* rbtnPoor;
    QPushButton* btnOK;

    void btnOKClick();

private:
    CalcSettings& settings_;
};

} // namespace calc::forms
