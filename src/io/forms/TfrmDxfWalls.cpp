// The layer dialog of "DXFから壁を作成...": a checkable list of layers, widget plumbing only.
#include "io/forms/TfrmDxfWalls.h"

#include "ui/qt/FormKit.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace io::forms {

using ui::qt::qs;

TfrmDxfWalls::TfrmDxfWalls(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmDxfWalls"));
    setWindowTitle(QStringLiteral("DXFから壁を作成"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("壁にする画層を選んで下さい (線・ポリライン・円弧の数)"), this));
    lstLayers = new QListWidget(this);
    lstLayers->setObjectName(QStringLiteral("lstLayers"));
    lstLayers->setMinimumSize(320, 200);
    layout->addWidget(lstLayers);
    chkWindow = new QCheckBox(QStringLiteral("範囲を指定する (OK の後、平面図上で四角をドラッグ)"), this);
    chkWindow->setObjectName(QStringLiteral("chkWindow"));
    layout->addWidget(chkWindow);
    const auto row = ui::qt::addOkCancelRow(layout, this);
    btnOK = row.ok;
    btnCancel = row.cancel;
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<TfrmDxfWalls::Choice> TfrmDxfWalls::execute(const std::vector<DxfLayerCount>& layers) {
    layers_ = layers;
    answer_.reset();
    lstLayers->clear();
    for (const DxfLayerCount& l : layers) {
        auto* item = new QListWidgetItem(qs(l.name) + QStringLiteral("  (%1)").arg(l.segments), lstLayers);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    exec();
    return answer_;
}

void TfrmDxfWalls::btnOKClick() {
    Choice c;
    for (int i = 0; i < lstLayers->count() && i < static_cast<int>(layers_.size()); ++i) {
        if (lstLayers->item(i)->checkState() == Qt::Checked) c.layers.push_back(layers_[static_cast<std::size_t>(i)].name);
    }
    if (c.layers.empty()) return;  // nothing chosen: the dialog stays
    c.withinWindow = chkWindow->isChecked();
    answer_ = c;
    accept();
}

} // namespace io::forms
