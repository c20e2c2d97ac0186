// The task-area table window: the shared table texts in a grid.
#include "view/forms/TfrmAreaTable.h"

#include "view/AreaTable.h"
#include "ui/qt/FormKit.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace view::forms {

TfrmAreaTable::TfrmAreaTable(QWidget* parent) : QWidget(parent, ui::qt::kToolWindowFlags) {
    setObjectName(QStringLiteral("frmAreaTable"));
    setWindowTitle(QString::fromUtf8(kAreaTableTitle));
    auto* layout = new QVBoxLayout(this);
    grdArea = new QTableWidget(0, static_cast<int>(kAreaTableColumns), this);
    grdArea->setObjectName(QStringLiteral("grdArea"));
    grdArea->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdArea->verticalHeader()->hide();
    labNote = new QLabel(this);
    labNote->setObjectName(QStringLiteral("labNote"));
    labRoom = new QLabel(this);
    labRoom->setObjectName(QStringLiteral("labRoom"));
    layout->addWidget(grdArea);
    layout->addWidget(labNote);
    layout->addWidget(labRoom);
    fill(calc::ResultStats{});  // the headings, before any result
    resize(760, 200);
}

void TfrmAreaTable::fill(const calc::ResultStats& stats, bool withReflections,
                         const std::vector<std::optional<double>>& areaWatts) {
    const bool withPower = !areaWatts.empty();
    // The figures of one row in the window's column order: the reflection columns follow the average.
    auto columns = [withReflections](const AreaTableRow& row, const std::array<std::string, 2>& reflections) {
        QStringList texts;
        for (std::size_t c = 0; c < row.size(); ++c) {
            texts << QString::fromStdString(row[c]);
            if (c == 1 && withReflections)
                for (const std::string& r : reflections) texts << QString::fromStdString(r);
        }
        return texts;
    };
    QStringList headings = columns(areaTableHeadings(), {kAreaReflectionHeadings[0], kAreaReflectionHeadings[1]});
    if (withPower) headings << QString::fromUtf8(kAreaPowerHeading);
    grdArea->setColumnCount(static_cast<int>(headings.size()));
    grdArea->setHorizontalHeaderLabels(headings);
    grdArea->setRowCount(static_cast<int>(stats.areas.size()));
    for (std::size_t r = 0; r < stats.areas.size(); ++r) {
        QStringList cells = columns(areaTableRow(stats.areas[r]), areaReflectionCells(stats.areas[r]));
        if (withPower) cells << QString::fromStdString(areaPowerCell(r < areaWatts.size() ? areaWatts[r] : std::nullopt));
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdArea->setItem(static_cast<int>(r), c, item);
        }
    }
    grdArea->resizeColumnsToContents();
    const std::string note = areaTableStepNote(stats.calcStep);
    labNote->setText(QString::fromStdString(note));
    labNote->setVisible(!note.empty());
    const std::string room = roomFiguresLine(stats.room);
    labRoom->setText(QString::fromStdString(room));
    labRoom->setVisible(!room.empty());
}

} // namespace view::forms
