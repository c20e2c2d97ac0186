// The task-area table window: each area's figures and pass or fail after a calculation.
#pragma once
#include "calc/IlluminanceGrid.h"

#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QTableWidget;

namespace view::forms {

class TfrmAreaTable : public QWidget {
    Q_OBJECT
public:
    explicit TfrmAreaTable(QWidget* parent = nullptr);

    // The rows of the result's task areas and, at a step above 1, the note that only the calculated
    // points were used. A result with reflected light has the direct and the reflected average after the average.
    // `areaWatts`, one per area, fills a last column of W/m²; the room's floor figures go in a line below.
    void fill(const calc::ResultStats& stats, bool withReflections = false,
              const std::vector<std::optional<double>>& areaWatts = {});

    QTableWidget* grdArea;
    QLabel* labNote;
    QLabel* labRoom;
};

} // namespace view::forms
