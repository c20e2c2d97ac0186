// The task-area dialog: the name, required average illuminance and uniformity of an area just drawn.
#pragma once
#include "model/Plan.h"
#include "model/TaskPresets.h"
#include "ui/Services.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace editor::forms {

class TfrmTaskArea : public QDialog {
    Q_OBJECT
public:
    // The kinds of task come from the catalogue folder's preset table and the user's own beside it.
    TfrmTaskArea(ui::Services& services, const std::string& catalogueDir, QWidget* parent = nullptr);
    TfrmTaskArea(ui::Services& services, std::vector<model::TaskPreset> presets, QWidget* parent = nullptr);

    // Shows the dialog for `area` (its proposed name filled in); the area as confirmed, nothing when cancelled.
    std::optional<model::AreaRecord> execute(const model::AreaRecord& area);

    QLineEdit* txtName;
    QComboBox* cboxKind;  // 作業の種類: [0] typed by hand, then one item per preset
    QLineEdit* txtLux;
    QLineEdit* txtU0;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();
    void cboxKindChange(int index);
    const std::vector<model::TaskPreset>& presets() const { return presets_; }

private:
    ui::Services& services_;
    std::vector<model::TaskPreset> presets_;
    model::AreaRecord area_;
    std::optional<model::AreaRecord> answer_;
};

} // namespace editor::forms
