// The length dialog: widget plumbing around the length rules.
#include "editor/forms/TfrmLen.h"

#include "ui/qt/FormKit.h"

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
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    layout->addWidget(labX, 0, 0);
    layout->addWidget(txtX, 0, 1);
    layout->addWidget(labmmx, 0, 2);
    layout->addWidget(labY, 1, 0);
    layout->addWidget(txtY, 1, 1);
    layout->addWidget(labmmy, 1, 2);
    layout->addWidget(btnOK, 2, 1);
    layout->addWidget(btnCancel, 2, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(txtX, &QLineEdit::returnPressed, this, [this] {
        if (layout_.secondRow) {
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
    inputKind_ = inputKind;
    layout_ = configureLengthDialog(inputKind, tool, layout_);
    if (layout_.clearEdits) {
        txtX->clear();
        txtY->clear();
    }
    applyLayout();
}

void TfrmLen::applyLayout() {
    if (layout_.captionSet) setWindowTitle(qs(layout_.caption));
    labX->setText(qs(layout_.labX));
    labY->setText(qs(layout_.labY));
    labmmx->setVisible(layout_.unitXVisible);
    labY->setVisible(layout_.secondRow);
    txtY->setVisible(layout_.secondRow);
    labmmy->setVisible(layout_.secondRow && layout_.unitYVisible);
}

bool TfrmLen::execute() {
    confirmed = false;
    txtX->clear();
    txtY->clear();
    txtX->setFocus();
    exec();
    return confirmed;
}

void TfrmLen::btnOKClick() {
    ui::qt::guarded(services_, [&] {
        const LengthDialogResult r = acceptLengthDialog(inputKind_, layout_.secondRow, ss(txtX->text()), ss(txtY->text()));
        if (!r.accepted) {
            services_.messageBox(r.refusal, kValueMissingTitle, ui::Icon::Stop, ui::Buttons::Ok);
            (r.focus == 2 ? txtY : txtX)->setFocus();
            return;
        }
        firstValue = r.firstValue;
        if (layout_.secondRow) secondValue = r.secondValue;
        confirmed = true;
        accept();
    });
}

} // namespace editor::forms
