// The task-area dialog: the name, required average illuminance and uniformity of an area just drawn.
#pragma once
#include "model/Plan.h"
#include "ui/Services.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace editor::forms {

class TfrmTaskArea : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTaskArea(ui::Services& services, QWidget* parent = nullptr);

    // Shows the dialog for `area` (its proposed name filled in); the area as confirmed, nothing when cancelled.
    std::optional<model::AreaRecord> execute(const model::AreaRecord& area);

    QLineEdit* txtName;
    QLineEdit* txtLux;
    QLineEdit* txtU0;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();

private:
    ui::Services& services_;
    model::AreaRecord area_;
    std::optional<model::AreaRecord> answer_;
};

} // namespace editor::forms
