// The new-plan dialog: widget plumbing; the plan work is the main window's.
#include "editor/forms/TfrmSinki.h"

#include "editor/forms/PlanChoiceBox.h"
#include "ui/qt/FormKit.h"

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
    const auto buttons = ui::qt::addOkCancelRow(layout, this);
    btnOK = buttons.ok;
    btnCancel = buttons.cancel;
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmSinki::execute() {
    choiceBox->reset();
    return exec() == QDialog::Accepted;
}

void TfrmSinki::btnOKClick() {
    // The plan work is the editor's, after the dialog has gone: a file dialog for the background may follow.
    hide();
    accept();
}

NewPlanChoice TfrmSinki::choice() const { return choiceBox->choice(); }

} // namespace editor::forms
