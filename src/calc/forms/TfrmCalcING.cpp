// The progress window of calculations, interpolation, colour maps and file reading.
#include "calc/forms/TfrmCalcING.h"

#include "ui/qt/FormKit.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace calc::forms {

using ui::qt::qs;

TfrmCalcING::TfrmCalcING(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmCalcING"));
    setWindowTitle(QStringLiteral("照度の計算"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    labMessage = new QLabel(QStringLiteral("照度を計算中"), this);
    labMessage->setObjectName(QStringLiteral("labMessage"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(260);
    btnCancel = ui::qt::namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    layout->addWidget(labMessage);
    layout->addWidget(ProgressBar1);
    layout->addWidget(btnCancel, 0, Qt::AlignHCenter);
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
}

void TfrmCalcING::showProgress(const std::string& caption, const std::string& text, int maximum, bool barVisible,
                               bool cancelVisible) {
    cancel_ = false;
    setWindowTitle(qs(caption));
    labMessage->setText(qs(text));
    ProgressBar1->setRange(0, maximum > 0 ? maximum : 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(barVisible);
    btnCancel->setVisible(cancelVisible);
    show();
    raise();
}

void TfrmCalcING::setPosition(int position) {
    if (position > ProgressBar1->maximum()) ProgressBar1->setMaximum(position);
    ProgressBar1->setValue(position);
}

void TfrmCalcING::hideProgress() { hide(); }

void TfrmCalcING::btnCancelClick() {
    cancel_ = true;
    if (onCancel) onCancel();
}

} // namespace calc::forms
