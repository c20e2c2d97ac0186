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
    QStringList headings;
    for (const std::string& h : areaTableHeadings()) headings << QString::fromStdString(h);
    grdArea->setHorizontalHeaderLabels(headings);
    labNote = new QLabel(this);
    labNote->setObjectName(QStringLiteral("labNote"));
    layout->addWidget(grdArea);
    layout->addWidget(labNote);
    resize(760, 200);
}

void TfrmAreaTable::fill(const calc::ResultStats& stats) {
    grdArea->setRowCount(static_cast<int>(stats.areas.size()));
    for (std::size_t r = 0; r < stats.areas.size(); ++r) {
        const AreaTableRow cells = areaTableRow(stats.areas[r]);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells[c]));
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdArea->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    grdArea->resizeColumnsToContents();
    const std::string note = areaTableStepNote(stats.calcStep);
    labNote->setText(QString::fromStdString(note));
    labNote->setVisible(!note.empty());
}

} // namespace view::forms
