// The new-plan dialog "新規作成": background and scale of a fresh plan.
#pragma once
#include "editor/Dialogs.h"
#include "ui/Services.h"

#include <QDialog>
#include <functional>

class QPushButton;

namespace editor::forms {

class PlanChoiceBox;

class TfrmSinki : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSinki(ui::Services& services, QWidget* parent = nullptr);

    // Shows the dialog modally with "白紙で表示" selected; true when closed with OK.
    bool execute();
    // What OK chose (the typed denominator still as text).
    NewPlanChoice choice() const;

    PlanChoiceBox* choiceBox;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();

private:
    ui::Services& services_;
};

} // namespace editor::forms
