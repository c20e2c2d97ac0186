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

    // Shows the dialog modally with "白紙で表示" selected; true when OK made a new plan.
    bool execute();

    // OK's work, bound by the main window: clear the plan and refresh the registration window's slots,
    // then set up the chosen background with the denominator.
    std::function<void()> onClearPlan;
    std::function<void(NewPlanBackground, std::int32_t denominator)> onBackground;

    PlanChoiceBox* choiceBox;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();

private:
    ui::Services& services_;
};

} // namespace editor::forms
