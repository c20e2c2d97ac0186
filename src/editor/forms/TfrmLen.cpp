// The length dialog: widget plumbing around the editor's length dialog model.
#include "editor/forms/TfrmLen.h"

#include "base/Text.h"
#include "ui/qt/FormKit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace editor::forms {

using ui::qt::qs;
using ui::qt::ss;

TfrmLen::TfrmLen(ui::Services& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), services_(services) {
    setObjectName(QStringLiteral("frmLen"));
    setModal(true);
    auto* layout = new QGridLayout(this);
    labX = new QLabel(this);
    labX->setObjectName(QStringLiteral("labX"));
    txtX = new QLineEdit(this);
    txtX->setObjectName(QStringLiteral("txtX"));
    labmmx = new QLabel(QStringLiteral("mm"), this);
    labmmx->setObjectName(QStringLiteral("labmmx"));
    labY = new QLabel(this);
    labY->setObjectName(QStringLiteral("labY"));
    txtY = new QLineEdit(this);
    txtY->setObjectName(QStringLiteral("txtY"));
    labmmy = new QLabel(QStringLiteral("mm"), this);
    labmmy->setObjectName(QStringLiteral("labmmy"));
    for (auto* e : {txtX, txtY}) {
        e->setFixedWidth(100);
        ui::qt::IntegerKeyFilter::install(e);
    }
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    btnOK->setAutoDefault(false);
    btnCancel = ui::qt::namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    btnCancel->setAutoDefault(false);
    layout->addWidget(labX, 0, 0);
    layout->addWidget(txtX, 0, 1);
    layout->addWidget(labmmx, 0, 2);
    layout->addWidget(labY, 1, 0);
    layout->addWidget(txtY, 1, 1);
    layout->addWidget(labmmy, 1, 2);
    // The scale the plan has now, so a measurement or a new plan's grid can be checked against it.
    labEdit5 = new QLabel(QStringLiteral("mmPerPixel"), this);
    labEdit5->setObjectName(QStringLiteral("labEdit5"));
    Edit5 = new QLineEdit(this);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    Edit5->setReadOnly(true);
    Edit5->setFocusPolicy(Qt::NoFocus);
    Edit5->setFixedWidth(100);
    layout->addWidget(labEdit5, 2, 0);
    layout->addWidget(Edit5, 2, 1);
    labEdit5->setVisible(false);
    Edit5->setVisible(false);
    chkCentre = new QCheckBox(QStringLiteral("中央に配置 (端は間隔の半分)"), this);
    chkCentre->setObjectName(QStringLiteral("chkCentre"));
    chkCentre->setVisible(false);
    layout->addWidget(chkCentre, 3, 0, 1, 3);
    layout->addWidget(btnOK, 5, 1);
    layout->addWidget(btnCancel, 5, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(txtX, &QLineEdit::returnPressed, this, [this] {
        if (model_.secondRowVisible()) {
            txtY->setFocus();
        } else {
            btnOKClick();
        }
    });
    connect(txtY, &QLineEdit::returnPressed, this, [this] { btnOKClick(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmLen::configure(char inputKind, char tool) {
    // The model keeps the texts for the height change; every other kind empties them.
    model_.txtX = ss(txtX->text());
    model_.txtY = ss(txtY->text());
    model_.configure(inputKind, tool);
    txtX->setText(qs(model_.txtX));
    txtY->setText(qs(model_.txtY));
    applyLayout();
    const bool grid = tool == '3' && (inputKind == 'K' || inputKind == 'P');
    chkCentre->setVisible(grid);
    presetCentre(false);
    labEdit5->setVisible(inputKind == 'M');
    Edit5->setVisible(inputKind == 'M');
}

void TfrmLen::showScale(float mmPerPixel) { Edit5->setText(qs(base::formatFixed(mmPerPixel, 2))); }

void TfrmLen::presetCentre(bool on) { chkCentre->setChecked(on && chkCentre->isVisibleTo(this)); }

void TfrmLen::applyLayout() {
    // A use that sets no caption keeps the one of the previous use.
    if (!model_.caption().empty()) setWindowTitle(qs(model_.caption()));
    labX->setText(qs(model_.labX()));
    labY->setText(qs(model_.labY()));
    labmmx->setVisible(model_.unitXVisible());
    labY->setVisible(model_.secondRowVisible());
    txtY->setVisible(model_.secondRowVisible());
    labmmy->setVisible(model_.secondRowVisible() && model_.unitYVisible());
}

bool TfrmLen::execute() {
    confirmed = false;
    centred = false;
    model_.show();
    txtX->clear();
    txtY->clear();
    txtX->setFocus();
    exec();
    return confirmed;
}

void TfrmLen::btnOKClick() {
    ui::qt::guarded(services_, [&] {
        model_.txtX = ss(txtX->text());
        model_.txtY = ss(txtY->text());
        if (!model_.ok(services_)) {
            (model_.focus() == LengthDialogModel::Focus::Y ? txtY : txtX)->setFocus();
            return;
        }
        const LengthAnswer a = model_.answer();
        firstValue = a.firstValue;
        if (model_.secondRowVisible()) secondValue = a.secondValue;
        centred = chkCentre->isVisibleTo(this) && chkCentre->isChecked();
        confirmed = true;
        accept();
    });
}

} // namespace editor::forms
