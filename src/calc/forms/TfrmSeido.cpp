// The hidden precision and maintenance dialogs: widget plumbing around the settings rules.
#include "calc/forms/TfrmSeido.h"
#include "ui/qt/FormKit.h"

#include "calc/SettingsDialogs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace calc::forms {

TfrmSeido::TfrmSeido(model::Document& doc, model::WindowShown& shown, CalcSettings& settings, QWidget* parent)
    : QDialog(parent), doc_(doc), shown_(shown), settings_(settings) {
    setObjectName(QStringLiteral("frmSeido"));
    setWindowTitle(QStringLiteral("計算精度の設定"));
    setModal(true);
    auto* layout = new QGridLayout(this);
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(1, 7);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setValue(3);
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    layout->addWidget(TrackBar1, 0, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("細かい"), this), 1, 0, Qt::AlignLeft);
    layout->addWidget(new QLabel(QStringLiteral("粗い"), this), 1, 1, Qt::AlignRight);
    layout->addWidget(btnOK, 2, 0, 1, 2, Qt::AlignHCenter);
    connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmSeido::TrackBar1Change() { setCalcStep(doc_, shown_, settings_, TrackBar1->value()); }

TfrmHosyuritu::TfrmHosyuritu(CalcSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("frmHosyuritu"));
    setWindowTitle(QStringLiteral("保守率の設定"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* consider = new QButtonGroup(this);
    rbtnKouryo = new QRadioButton(QStringLiteral("考慮する"), this);
    rbtnKouryo->setObjectName(QStringLiteral("rbtnKouryo"));
    rbtnKouryoSinai = new QRadioButton(QStringLiteral("考慮しない"), this);
    rbtnKouryoSinai->setObjectName(QStringLiteral("rbtnKouryoSinai"));
    consider->addButton(rbtnKouryo);
    consider->addButton(rbtnKouryoSinai);
    grpKankyou = new QGroupBox(QStringLiteral("環境"), this);
    auto* env = new QHBoxLayout(grpKankyou);
    rbtnGood = new QRadioButton(QStringLiteral("良い"), grpKankyou);
    rbtnNormal = new QRadioButton(QStringLiteral("普通"), grpKankyou);
    rbtnPoor = new QRadioButton(QStringLiteral("劣る"), grpKankyou);
    for (auto* r : {rbtnGood, rbtnNormal, rbtnPoor}) env->addWidget(r);
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    layout->addWidget(rbtnKouryo);
    layout->addWidget(rbtnKouryoSinai);
    layout->addWidget(grpKankyou);
    layout->addWidget(btnOK, 0, Qt::AlignHCenter);
    connect(rbtnKouryo, &QRadioButton::toggled, grpKankyou, &QWidget::setEnabled);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    applyMaintenance(settings_, true, 1);
    FormShow();
}

void TfrmHosyuritu::FormShow() {
    (settings_.maintenanceOn ? rbtnKouryo : rbtnKouryoSinai)->setChecked(true);
    grpKankyou->setEnabled(settings_.maintenanceOn);
    (settings_.maintenanceClass == 0 ? rbtnGood : settings_.maintenanceClass == 2 ? rbtnPoor : rbtnNormal)->setChecked(true);
}

void TfrmHosyuritu::execute() {
    FormShow();
    exec();
}

void TfrmHosyuritu::btnOKClick() {
    applyMaintenance(settings_, rbtnKouryo->isChecked(), rbtnGood->isChecked() ? 0 : rbtnPoor->isChecked() ? 2 : 1);
    accept();
}

} // namespace calc::forms
