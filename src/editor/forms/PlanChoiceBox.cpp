// The plan dialogs' background and scale controls.
#include "editor/forms/PlanChoiceBox.h"

#include "ui/qt/FormKit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace editor::forms {

PlanChoiceBox::PlanChoiceBox(bool filtered, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* background = new QGroupBox(QStringLiteral("背景"), this);
    auto* bl = new QVBoxLayout(background);
    rbtnWhite = new QRadioButton(QStringLiteral("白紙で表示"), background);
    rbtnDxf = new QRadioButton(QStringLiteral("ＤＸＦファイルの読み込み"), background);
    rbtnBmp = new QRadioButton(QStringLiteral("ＢＭＰファイルの読み込み"), background);
    rbtnGrid = new QRadioButton(QStringLiteral("グリッドの表示"), background);
    rbtnWhite->setObjectName(QStringLiteral("rbtnWhite"));
    rbtnDxf->setObjectName(QStringLiteral("rbtnDxf"));
    rbtnBmp->setObjectName(QStringLiteral("rbtnBmp"));
    rbtnGrid->setObjectName(QStringLiteral("rbtnGrid"));
    auto* bg = new QButtonGroup(this);
    for (auto* r : {rbtnWhite, rbtnDxf, rbtnBmp, rbtnGrid}) {
        bl->addWidget(r);
        bg->addButton(r);
    }

    auto* scale = new QGroupBox(QStringLiteral("縮尺"), this);
    auto* sl = new QGridLayout(scale);
    rbtn30 = new QRadioButton(QStringLiteral("1/30"), scale);
    rbtn50 = new QRadioButton(QStringLiteral("1/50"), scale);
    rbtn100 = new QRadioButton(QStringLiteral("1/100"), scale);
    rbtn200 = new QRadioButton(QStringLiteral("1/200"), scale);
    rbtnSettei = new QRadioButton(QStringLiteral("設定値"), scale);
    rbtnSettei->setObjectName(QStringLiteral("rbtnSettei"));
    labBunsi = new QLabel(QStringLiteral("1/"), scale);
    txtSyuku = new QLineEdit(scale);
    txtSyuku->setObjectName(QStringLiteral("txtSyuku"));
    txtSyuku->setMaximumWidth(70);
    if (filtered) ui::qt::IntegerKeyFilter::install(txtSyuku);
    auto* sg = new QButtonGroup(this);
    int col = 0;
    for (auto* r : {rbtn30, rbtn50, rbtn100, rbtn200}) {
        sl->addWidget(r, 0, col++);
        sg->addButton(r);
    }
    sg->addButton(rbtnSettei);
    sl->addWidget(rbtnSettei, 1, 0);
    sl->addWidget(labBunsi, 1, 1, Qt::AlignRight);
    sl->addWidget(txtSyuku, 1, 2, 1, 2);
    rbtn50->setChecked(true);
    layout->addWidget(background);
    layout->addWidget(scale);

    const std::pair<QRadioButton*, int> fixed[] = {{rbtn30, 30}, {rbtn50, 50}, {rbtn100, 100}, {rbtn200, 200}};
    for (const auto& [r, d] : fixed) {
        connect(r, &QRadioButton::toggled, this, [this, d = d](bool on) {
            if (!on) return;
            denominator_ = d;
            syncScaleControls();
        });
    }
    connect(rbtnSettei, &QRadioButton::toggled, this, [this] { syncScaleControls(); });
    connect(rbtnGrid, &QRadioButton::toggled, this, [this] { syncScaleControls(); });
    reset();
}

void PlanChoiceBox::reset() {
    rbtnWhite->setChecked(true);
    syncScaleControls();
}

void PlanChoiceBox::syncScaleControls() {
    const bool grid = rbtnGrid->isChecked();
    for (auto* r : {rbtn30, rbtn50, rbtn100, rbtn200, rbtnSettei}) r->setEnabled(grid);
    labBunsi->setEnabled(grid);
    txtSyuku->setEnabled(grid && rbtnSettei->isChecked());
}

NewPlanChoice PlanChoiceBox::choice() const {
    NewPlanChoice c;
    c.confirmed = true;
    c.background = rbtnGrid->isChecked() ? NewPlanBackground::Grid
                   : rbtnDxf->isChecked() ? NewPlanBackground::Dxf
                   : rbtnBmp->isChecked() ? NewPlanBackground::Bitmap
                                          : NewPlanBackground::White;
    c.denominator = denominator_;
    // The typed scale only counts while the grid choice can use it; a stale "設定値" is not converted.
    c.customScale = rbtnSettei->isChecked() && c.background == NewPlanBackground::Grid;
    c.denominatorText = ui::qt::ss(txtSyuku->text());
    return c;
}

} // namespace editor::forms
