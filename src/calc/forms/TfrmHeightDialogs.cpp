// The reference height dialogs: widget plumbing around the settings rules.
#include "calc/forms/TfrmHeightDialogs.h"

#include "calc/SettingsDialogs.h"
#include "ui/qt/FormKit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace calc::forms {

using ui::qt::qs;
using ui::qt::ss;

TfrmtendakaSet::TfrmtendakaSet(model::Document& doc, ui::Services& services, QWidget* parent)
    : QDialog(parent), doc_(doc), services_(services) {
    setObjectName(QStringLiteral("frmtendakaSet"));
    setWindowTitle(QStringLiteral("計算高さの変更"));
    setModal(true);
    auto* layout = new QGridLayout(this);
    labNow = new QLabel(this);
    labNow->setObjectName(QStringLiteral("labNow"));
    txtTendaka = new QLineEdit(this);
    txtTendaka->setObjectName(QStringLiteral("txtTendaka"));
    txtTendaka->setMaximumWidth(90);
    ui::qt::IntegerKeyFilter::install(txtTendaka);
    labmm = new QLabel(QStringLiteral("mm"), this);
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    btnOK->setAutoDefault(false);
    btnCancel = ui::qt::namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    btnCancel->setAutoDefault(false);
    layout->addWidget(labNow, 0, 0);
    layout->addWidget(txtTendaka, 0, 1);
    layout->addWidget(labmm, 0, 2);
    layout->addWidget(btnOK, 1, 1);
    layout->addWidget(btnCancel, 1, 2);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(txtTendaka, &QLineEdit::returnPressed, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmtendakaSet::execute() {
    labNow->setText(qs(doc_.tenDakaLabel) + QStringLiteral(" →"));
    txtTendaka->setFocus();
    return exec() == QDialog::Accepted;
}

void TfrmtendakaSet::btnOKClick() {
    txtTendaka->setFocus();
    ui::qt::guarded(services_, [&] {
        std::string refusal;
        if (acceptTenDaka(doc_, ss(txtTendaka->text()), refusal)) {
            accept();
        } else {
            services_.messageBox(refusal, kSettingErrorTitle, ui::Icon::Stop, ui::Buttons::Ok);
        }
    });
}

TfrmTendakaChange::TfrmTendakaChange(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmTendakaChange"));
    setWindowTitle(QStringLiteral("計算高さの変更"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("基準計算高さが変更されました"), this));
    layout->addWidget(new QLabel(QStringLiteral("「器具高さの変更」をした器具は・・・"), this));
    rbtnSoroeru = new QRadioButton(QStringLiteral("すべてを基準計算高さにそろえる"), this);
    rbtnSoroeru->setObjectName(QStringLiteral("rbtnSoroeru"));
    rbtnSonomama = new QRadioButton(QStringLiteral("更新前との差をそのままに同時に変更"), this);
    rbtnSonomama->setObjectName(QStringLiteral("rbtnSonomama"));
    rbtnHenkouSinai = new QRadioButton(QStringLiteral("変更しない"), this);
    rbtnHenkouSinai->setObjectName(QStringLiteral("rbtnHenkouSinai"));
    rbtnSoroeru->setChecked(true);
    for (auto* r : {rbtnSoroeru, rbtnSonomama, rbtnHenkouSinai}) layout->addWidget(r);
    auto* buttons = new QHBoxLayout;
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    btnCancel = ui::qt::namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmTendakaChange::execute() {
    if (exec() != QDialog::Accepted) return 0;
    if (rbtnSoroeru->isChecked()) return 1;
    if (rbtnSonomama->isChecked()) return 2;
    return 3;
}

} // namespace calc::forms
