// The new-plan dialog: widget plumbing; the plan work is the main window's.
#include "editor/forms/TfrmSinki.h"

#include "editor/forms/PlanChoiceBox.h"
#include "ui/qt/FormKit.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace editor::forms {

TfrmSinki::TfrmSinki(ui::Services& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("frmSinki"));
    setWindowTitle(QStringLiteral("新規作成"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    choiceBox = new PlanChoiceBox(true, this);
    layout->addWidget(choiceBox);
    auto* buttons = new QHBoxLayout;
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    btnCancel = ui::qt::namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmSinki::execute() {
    choiceBox->reset();
    return exec() == QDialog::Accepted;
}

void TfrmSinki::btnOKClick() {
    hide();
    const NewPlanChoice c = choiceBox->choice();
    if (onClearPlan) onClearPlan();
    // A bad denominator is reported and the fresh plan stays without a background; the dialog closes anyway.
    ui::qt::guarded(services_, [&] {
        const std::int32_t d = chosenDenominator(c);
        if (onBackground) onBackground(c.background, d);
    });
    accept();
}

} // namespace editor::forms
