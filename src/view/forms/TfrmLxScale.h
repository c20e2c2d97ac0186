// The illuminance range dialog "照度レンジ": six user levels for the colour classes.
#pragma once
#include "model/Document.h"
#include "ui/Services.h"

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace view::forms {

class TfrmLxScale : public QDialog {
    Q_OBJECT
public:
    TfrmLxScale(model::Document& doc, model::WindowShown& shown, ui::Services& services, QWidget* parent = nullptr);

    // The show step (levels into the edits, labels hidden), then modal; true when OK stored new levels.
    bool execute();
    void FormShow();

    // After accepted levels: redraw the plan view and hide the legend window (the main window's part).
    std::function<void()> onLevelsChanged;

    std::array<QLineEdit*, 7> txtColor{};  // [1..6] disabled swatches in the class colours
    std::array<QLineEdit*, 7> txtLx{};     // [1..6] txtLx1 (lowest class) .. txtLx6
    std::array<QLabel*, 7> Label{};        // [1..6] hidden labels
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    model::Document& doc_;
    model::WindowShown& shown_;
    ui::Services& services_;
};

} // namespace view::forms
