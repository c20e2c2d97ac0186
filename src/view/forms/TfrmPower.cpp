// The luminaire and power window: the power figures in a grid and one line of totals.
#include "view/forms/TfrmPower.h"

#include "base/Text.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace view::forms {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// A figure with its decimals, or "-" where there is none.
QString figure(std::optional<double> v, int decimals) { return v ? q(base::formatFixed(*v, decimals)) : QStringLiteral("-"); }

} // namespace

TfrmPower::TfrmPower(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmPower"));
    setWindowTitle(QStringLiteral("器具・電力"));
    auto* layout = new QVBoxLayout(this);
    grdPower = new QTableWidget(0, 7, this);
    grdPower->setObjectName(QStringLiteral("grdPower"));
    grdPower->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPower->verticalHeader()->hide();
    grdPower->setHorizontalHeaderLabels(
        {QStringLiteral("No."), QStringLiteral("品番"), QStringLiteral("台数"), QStringLiteral("W/台"),
         QStringLiteral("lm/台"), QStringLiteral("合計W"), QStringLiteral("lm/W")});
    labTotal = new QLabel(this);
    labTotal->setObjectName(QStringLiteral("labTotal"));
    labRoom = new QLabel(this);
    labRoom->setObjectName(QStringLiteral("labRoom"));
    layout->addWidget(grdPower);
    layout->addWidget(labTotal);
    layout->addWidget(labRoom);
    resize(560, 220);
}

void TfrmPower::fill(const calc::PowerFigures& power, std::optional<double> floorArea, const std::string& roomLine) {
    grdPower->setRowCount(static_cast<int>(power.types.size()));
    for (std::size_t r = 0; r < power.types.size(); ++r) {
        const calc::PowerSlot& s = power.types[r];
        const bool given = s.watts > 0;
        const QStringList cells = {
            q(base::formatInt(s.slot)),
            q(s.hinban),
            q(base::formatInt(s.count)),
            given ? q(base::formatFixed(s.watts, 1)) : QStringLiteral("-"),
            q(base::formatFixed(s.lumens, 0)),
            given ? q(base::formatFixed(s.watts * static_cast<double>(s.count), 1)) : QStringLiteral("-"),
            given ? q(base::formatFixed(s.lumens / s.watts, 1)) : QStringLiteral("-")};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c != 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdPower->setItem(static_cast<int>(r), c, item);
        }
    }
    grdPower->resizeColumnsToContents();
    const std::optional<double> perArea = calc::wattsPerSquareMetre(power.totalWatts, floorArea.value_or(0));
    labTotal->setText(QStringLiteral("合計 %1 W   %2 W/m²   %3 lm/W")
                          .arg(q(base::formatFixed(power.totalWatts, 1)), figure(perArea, 2), figure(power.lumensPerWatt, 1)));
    labRoom->setText(q(roomLine));
    labRoom->setVisible(!roomLine.empty());
}

} // namespace view::forms
