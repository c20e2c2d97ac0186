// The length dialog: counts, pitches, heights, real lengths and coordinate offsets for the editor.
#pragma once
#include "editor/Dialogs.h"
#include "ui/Services.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace editor::forms {

class TfrmLen : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLen(ui::Services& services, QWidget* parent = nullptr);

    // Sets the texts and rows for (input kind, tool) before showing.
    void configure(char inputKind, char tool);
    // The show step (confirmed cleared, edits emptied, focus on txtX) and the modal run; true when confirmed.
    bool execute();

    std::int32_t firstValue = 0;
    std::int32_t secondValue = 0;
    bool confirmed = false;

    QLabel* labX;
    QLineEdit* txtX;
    QLabel* labmmx;
    QLabel* labY;
    QLineEdit* txtY;
    QLabel* labmmy;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();
    bool secondRowVisible() const { return model_.secondRowVisible(); }

private:
    void applyLayout();
    ui::Services& services_;
    LengthDialogModel model_;
};

} // namespace editor::forms
