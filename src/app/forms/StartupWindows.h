// The start-up windows: splash TfrmStart1, start dialog TfrmStart2, notice TfmTyuui and the version window TfrmVersion.
#pragma once
#include "editor/Dialogs.h"
#include "ui/Services.h"

#include <QDialog>
#include <QTimer>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace editor::forms {
class PlanChoiceBox;
}

namespace app::forms {

// Borderless, always on top: the splash picture and the caption; its timer fires once after 2 s.
class TfrmStart1 : public QDialog {
    Q_OBJECT
public:
    // `picturePath`: the splash picture (a missing one leaves the window empty).
    explicit TfrmStart1(const QString& picturePath, QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* labCaption;  // "ZOLT ORDIVAN Ver 1.72"
    QTimer Timer1;

    // Run once when the timer fires, after the splash has closed.
    std::function<void()> onTimer;
    void Timer1Timer();
};

class TfrmStart2 : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStart2(ui::Services& services, QWidget* parent = nullptr);

    // OK's work, bound by the main window: the notice first, then a new plan with its background, or a load.
    std::function<void()> showNotice;
    std::function<void(editor::NewPlanBackground, std::int32_t denominator)> onNewPlan;
    std::function<void()> onLoad;
    // ｷｬﾝｾﾙ: the program ends.
    std::function<void()> onCancel;

    QRadioButton* rbtnNew;   // "新規作成"
    QRadioButton* rbtnLoad;  // "保存データの読み込み"
    editor::forms::PlanChoiceBox* choiceBox;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();
    void btnCancelClick();
    // Escape and the frame's close button answer like キャンセル: the program ends.
    void reject() override;

private:
    ui::Services& services_;
};

class TfmTyuui : public QDialog {
    Q_OBJECT
public:
    explicit TfmTyuui(QWidget* parent = nullptr);
    QPushButton* btnClose;  // "閉じる"
};

class TfrmVersion : public QDialog {
    Q_OBJECT
public:
    explicit TfrmVersion(QWidget* parent = nullptr);
    // Centred on the screen, the first label set to the product title, modal.
    void execute(const std::string& productTitle);
    QLabel* Label1;
    QPushButton* btnOK;
};

// The notice lines, one label each.
extern const char* const kNoticeLines[9];

} // namespace app::forms
