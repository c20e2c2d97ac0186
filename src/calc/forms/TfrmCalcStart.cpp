// The calculation start dialog: widget plumbing around the settings rules.
#include "calc/forms/TfrmCalcStart.h"

#include "calc/SettingsDialogs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace calc::forms {

namespace {
QRadioButton* radio(const char* name, const QString& text, QWidget* parent) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}
QPushButton* button(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}
} // namespace

TfrmCalcStart::TfrmCalcStart(model::Document& doc, model::WindowShown& shown, CalcSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), doc_(doc), shown_(shown), settings_(settings) {
    setObjectName(QStringLiteral("frmCalcStart"));
    setWindowTitle(QStringLiteral("照度計算"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    auto* plot = new QGroupBox(QStringLiteral("器具プロットの表示"), this);
    auto* plotLayout = new QHBoxLayout(plot);
    rbtnPlotOn = radio("rbtnPlotOn", QStringLiteral("する"), plot);
    rbtnPlotOff = radio("rbtnPlotOff", QStringLiteral("しない"), plot);
    rbtnPlotOff->setChecked(true);
    plotLayout->addWidget(rbtnPlotOn);
    plotLayout->addWidget(rbtnPlotOff);

    auto* env = new QGroupBox(QStringLiteral("環境設定"), this);
    auto* envLayout = new QHBoxLayout(env);
    rbtnGood = radio("rbtnGood", QStringLiteral("良い"), env);
    rbtnNormal = radio("rbtnNormal", QStringLiteral("普通"), env);
    rbtnPoor = radio("rbtnPoor", QStringLiteral("劣る"), env);
    rbtnNone = radio("rbtnNone", QStringLiteral("考慮しない"), env);
    for (auto* r : {rbtnGood, rbtnNormal, rbtnPoor, rbtnNone}) envLayout->addWidget(r);

    auto* precision = new QGroupBox(QStringLiteral("計算精度"), this);
    auto* precisionLayout = new QGridLayout(precision);
    TrackBar1 = new QSlider(Qt::Horizontal, precision);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(1, 7);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    precisionLayout->addWidget(TrackBar1, 0, 0, 1, 2);
    precisionLayout->addWidget(new QLabel(QStringLiteral("細かい（遅い）"), precision), 1, 0, Qt::AlignLeft);
    precisionLayout->addWidget(new QLabel(QStringLiteral("粗い（速い）"), precision), 1, 1, Qt::AlignRight);

    labHansya = new QLabel(this);
    labHansya->setObjectName(QStringLiteral("labHansya"));

    auto* run = new QGroupBox(QStringLiteral("計算実行"), this);
    auto* runLayout = new QHBoxLayout(run);
    btnBunpu = button("btnBunpu", QStringLiteral("照度分布（色)"), run);
    btnLine = button("btnLine", QStringLiteral("照度分布(線)"), run);
    btnTemp = button("btnTemp", QStringLiteral("色温度分布"), run);
    for (auto* b : {btnBunpu, btnLine, btnTemp}) runLayout->addWidget(b);

    btnCancel = button("btnCancel", QStringLiteral("ｷｬﾝｾﾙ"), this);
    layout->addWidget(plot);
    layout->addWidget(env);
    layout->addWidget(precision);
    layout->addWidget(labHansya);
    layout->addWidget(run);
    layout->addWidget(btnCancel, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnBunpu, &QPushButton::clicked, this, [this] { btnRunClick('B'); });
    connect(btnLine, &QPushButton::clicked, this, [this] { btnRunClick('T'); });
    connect(btnTemp, &QPushButton::clicked, this, [this] { btnRunClick('C'); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
}

void TfrmCalcStart::FormShow() {
    settings_.calcConfirmed = false;
    const CalcStartView v = calcStartViewOf(settings_);
    switch (v.environment) {
    case Environment::Good: rbtnGood->setChecked(true); break;
    case Environment::Normal: rbtnNormal->setChecked(true); break;
    case Environment::Poor: rbtnPoor->setChecked(true); break;
    case Environment::NotConsidered: rbtnNone->setChecked(true); break;
    }
    TrackBar1->setValue(v.step);
    labHansya->setText(QString::fromStdString(reflectionSummary(doc_.plan.room)));
}

bool TfrmCalcStart::execute() {
    FormShow();
    exec();
    return settings_.calcConfirmed;
}

void TfrmCalcStart::btnRunClick(char displayKind) {
    CalcStartChoice c;
    c.fixturePlot = rbtnPlotOn->isChecked();
    c.environment = rbtnGood->isChecked()     ? Environment::Good
                    : rbtnPoor->isChecked()   ? Environment::Poor
                    : rbtnNone->isChecked()   ? Environment::NotConsidered
                                              : Environment::Normal;
    c.step = TrackBar1->value();
    c.displayKind = displayKind;
    applyCalcStart(doc_, shown_, settings_, c);
    accept();
}

void TfrmCalcStart::btnCancelClick() {
    cancelCalcStart(settings_);
    reject();
}

} // namespace calc::forms
