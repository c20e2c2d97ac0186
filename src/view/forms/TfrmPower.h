// The luminaire and power window (器具・電力): per placed type its count, rated watts, lumens and lm/W, and the totals.
#pragma once
#include "calc/PowerFigures.h"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QTableWidget;

namespace view::forms {

class TfrmPower : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPower(QWidget* parent = nullptr);

    // One row per placed type; the total line with W/m² when the last result measured a floor, and the
    // line of that floor's figures (empty without one).
    void fill(const calc::PowerFigures& power, std::optional<double> floorArea, const std::string& roomLine = {});

    QTableWidget* grdPower;
    QLabel* labTotal;
    QLabel* labRoom;
};

} // namespace view::forms
