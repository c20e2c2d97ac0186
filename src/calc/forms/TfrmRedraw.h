// The redraw dialog "再描写": draw over the current picture or clear it first.
#pragma once
#include <QDialog>

class QPushButton;

namespace calc::forms {

class TfrmRedraw : public QDialog {
    Q_OBJECT
public:
    enum Choice { None = 0, Overlay = 1, Rewrite = 2 };
    explicit TfrmRedraw(QWidget* parent = nullptr);

    // Shows the dialog modally; None when it was closed without a choice.
    Choice execute();

    QPushButton* btnKasaneru;    // "重ねて表示"
    QPushButton* btnKakinaosi;   // "書き直し"

private:
    Choice choice_ = None;
};

} // namespace calc::forms
