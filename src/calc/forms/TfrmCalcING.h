// The shared progress window "照度の計算" with its bar and cancel button, polled between fixtures.
#pragma once
#include "ui/qt/ProgressWindow.h"

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace calc::forms {

class TfrmCalcING : public QDialog, public ui::qt::ProgressWindow {
    Q_OBJECT
public:
    explicit TfrmCalcING(QWidget* parent = nullptr);

    void showProgress(const std::string& caption, const std::string& text, int maximum, bool barVisible,
                      bool cancelVisible) override;
    void setPosition(int position) override;
    void hideProgress() override;
    bool cancelRequested() const override { return cancel_; }

    // Run when the cancel button is pressed (the main window hides its "分布図消去" button).
    std::function<void()> onCancel;

    QLabel* labMessage;
    QProgressBar* ProgressBar1;
    QPushButton* btnCancel;

    void btnCancelClick();

private:
    bool cancel_ = false;
};

} // namespace calc::forms
