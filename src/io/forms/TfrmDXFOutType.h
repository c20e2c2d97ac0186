// The DXF output-type dialog: coloured or black drawing, label colours, heading and note texts kept for the whole run.
#pragma once
#include "io/DxfSaveCommand.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QLabel;

namespace io::forms {

class TfrmDXFOutType : public QDialog, public io::DxfOutTypeDialog {
    Q_OBJECT
public:
    explicit TfrmDXFOutType(QWidget* parent = nullptr);

    // DxfOutTypeDialog: 10, 11 or 12 from the buttons, 2 for cancel and for any other way of closing.
    int showModal() override;
    io::DxfNoteTexts noteTexts() const override;
    bool joinContours() const override;

    // The value the colour button gave last (starts at 10).
    int rememberedColorResult() const { return state_.rememberedColorResult; }

    QPushButton* btnColorOut = nullptr;
    QPushButton* btnBlackOut = nullptr;
    QPushButton* btnCancel = nullptr;
    QCheckBox* cboxTextColor = nullptr;
    QCheckBox* cboxHosoku = nullptr;
    QCheckBox* cboxJoin = nullptr;  // contour pieces joined end to end; off keeps the file as it always was
    QLineEdit* txtMidasi = nullptr;
    std::array<QLineEdit*, 5> txtHosoku{};  // txtHosoku1 .. txtHosoku5

public slots:
    void btnColorOutClick();
    void btnBlackOutClick();
    void btnCancelClick();
    // Escape and the close box end the dialog like the cancel button.
    void reject() override;

private:
    io::DxfOutTypeState state_;
};

} // namespace io::forms
