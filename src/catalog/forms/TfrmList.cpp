// The product-number list window's grid and handlers; listing, write-back and CSV are catalog rules.
#include "catalog/forms/TfrmList.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

namespace catalog::forms {

TfrmList::TfrmList(TourokuTable& touroku, ui::Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), touroku_(touroku), services_(services) {
    setWindowTitle("リスト表の変更");
    StGrid = new QTableWidget(0, 6, this);
    QStringList headers;
    for (const char* h : kListHeaders) headers << QString::fromUtf8(h);
    StGrid->setHorizontalHeaderLabels(headers);
    StGrid->verticalHeader()->hide();
    StGrid->verticalHeader()->setDefaultSectionSize(kListRowHeight);
    StGrid->horizontalHeader()->setFixedHeight(kListRowHeight);
    StGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < 6; ++c) StGrid->setColumnWidth(c, kListColumnWidths[c]);
    StGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    btnOK = new QPushButton("ＯＫ", this);
    labNote = new QLabel("数量の変更は無効です", this);
    popup = new QMenu(this);
    popup->addAction("csv出力", this, [this] { mnuCsvClick(); });
    popup->addAction("品番リストの印刷", this, [this] { mnuPrintClick(); });
    connect(StGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup->popup(StGrid->viewport()->mapToGlobal(at)); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    fill(mode_);
}

void TfrmList::fill(char lampNameMode) {
    mode_ = lampNameMode;
    int width = 10;
    for (int w : kListColumnWidths) width += w;
    const auto rows = listRows(touroku_, mode_);
    slots_.clear();
    StGrid->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        slots_.push_back(rows[i].slot);
        for (int c = 0; c < 6; ++c) {
            StGrid->setItem(static_cast<int>(i), c, new QTableWidgetItem(QString::fromStdString(rows[i].cells[static_cast<std::size_t>(c)])));
        }
    }
    const int gridHeight = (static_cast<int>(rows.size()) + 2) * kListRowHeight;
    StGrid->setGeometry(0, 0, width, gridHeight);
    btnOK->move(10, gridHeight + 10);
    labNote->move(btnOK->x() + btnOK->width() + 10, gridHeight + 10);
    setFixedSize(width, btnOK->y() + btnOK->height() + 30);
}

void TfrmList::showList(char lampNameMode) {
    fill(lampNameMode);
    show();
    raise();
}

void TfrmList::btnOKClick() {
    std::vector<ListRow> rows;
    for (int i = 0; i < StGrid->rowCount() && static_cast<std::size_t>(i) < slots_.size(); ++i) {
        ListRow r;
        r.slot = slots_[static_cast<std::size_t>(i)];
        for (int c = 0; c < 6; ++c) {
            const QTableWidgetItem* item = StGrid->item(i, c);
            r.cells[static_cast<std::size_t>(c)] = item ? item->text().toStdString() : std::string();
        }
        rows.push_back(std::move(r));
    }
    writeBackList(touroku_, rows, mode_, services_);
    // Rows before a refused cell are written back, so the registration window shows them either way.
    if (onWrittenBack) onWrittenBack();
}

void TfrmList::mnuCsvClick() { saveProductListCsv(touroku_, mode_, objectName ? objectName() : std::string(), services_); }

void TfrmList::mnuPrintClick() {
    if (onPrint) onPrint();
}

} // namespace catalog::forms
