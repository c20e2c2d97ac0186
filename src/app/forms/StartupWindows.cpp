// The start-up windows: widget plumbing; what OK does is bound by the main window.
#include "app/forms/StartupWindows.h"

#include "editor/forms/PlanChoiceBox.h"
#include "ui/qt/FormKit.h"
#include "ui/qt/PictureFile.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace app::forms {

const char* const kNoticeLines[9] = {
    "ご利用上の注意事項",
    "モニターサイズ、データー量によっては、メモリーの不足により",
    "データーセーブ時にファイルが壊れる、又はＤＸＦ出力時にデーターが欠ける",
    "などの症状が出ることがあります",
    "（１７インチ以上のモニター、壁数＋器具数が３００以上の場合）",
    "計算をされる場合は、小分けにして計算する、又は壁数を減らす",
    "などで対処して下さい",
    "なお、このソフトを仕様して生じたいかなる不具合についても",
    "弊社では、いっさいの責任を負いかねますのでご了承下さい。",
};

namespace {
void centreOnScreen(QWidget* w) {
    w->adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        w->move(r.center() - QPoint(w->width() / 2, w->height() / 2));
    }
}
} // namespace

TfrmStart1::TfrmStart1(const QString& picturePath, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmStart1"));
    setWindowTitle(QStringLiteral("ZOLT ORDIVAN Ver 1.72"));
    auto* layout = new QVBoxLayout(this);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    if (const auto picture = ui::qt::readPictureFile(picturePath.toStdString())) Image1->setPixmap(QPixmap::fromImage(*picture));
    else Image1->setMinimumSize(400, 240);
    labCaption = new QLabel(QStringLiteral("ZOLT ORDIVAN Ver 1.72"), this);
    labCaption->setObjectName(QStringLiteral("labCaption"));
    labCaption->setAlignment(Qt::AlignCenter);
    layout->addWidget(Image1);
    layout->addWidget(labCaption);
    Timer1.setSingleShot(true);
    Timer1.setInterval(2000);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    centreOnScreen(this);
}

void TfrmStart1::Timer1Timer() {
    Timer1.stop();
    close();
    if (onTimer) onTimer();
}

TfrmStart2::TfrmStart2(ui::Services& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("frmStart2"));
    setWindowTitle(QStringLiteral("照度分布の作成"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    rbtnNew = new QRadioButton(QStringLiteral("新規作成"), this);
    rbtnNew->setObjectName(QStringLiteral("rbtnNew"));
    rbtnLoad = new QRadioButton(QStringLiteral("保存データの読み込み"), this);
    rbtnLoad->setObjectName(QStringLiteral("rbtnLoad"));
    rbtnNew->setChecked(true);
    choiceBox = new editor::forms::PlanChoiceBox(false, this);
    layout->addWidget(rbtnNew);
    layout->addWidget(choiceBox);
    layout->addWidget(rbtnLoad);
    const auto buttons = ui::qt::addOkCancelRow(layout, this);
    btnOK = buttons.ok;
    btnCancel = buttons.cancel;
    connect(rbtnNew, &QRadioButton::toggled, choiceBox, &QWidget::setEnabled);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
}

void TfrmStart2::btnOKClick() {
    hide();
    accept();
    if (showNotice) showNotice();
    if (rbtnNew->isChecked()) {
        const editor::NewPlanChoice c = choiceBox->choice();
        ui::qt::guarded(services_, [&] {
            const std::int32_t d = chosenDenominator(c);
            if (onNewPlan) onNewPlan(c.background, d);
        });
    } else if (onLoad) {
        onLoad();
    }
}

void TfrmStart2::btnCancelClick() { reject(); }

void TfrmStart2::reject() {
    QDialog::reject();
    if (onCancel) onCancel();
}

TfmTyuui::TfmTyuui(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmTyuui"));
    setWindowTitle(QStringLiteral("ORDIVANご利用に際しての注意事項"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 9; ++i) {
        auto* label = new QLabel(QString::fromUtf8(kNoticeLines[i]), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        layout->addWidget(label);
    }
    btnClose = ui::qt::namedButton(QStringLiteral("閉じる"), "btnClose", this);
    layout->addWidget(btnClose, 0, Qt::AlignHCenter);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmVersion::TfrmVersion(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmVersion"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);
    layout->addWidget(new QLabel(QStringLiteral("照度分布計算プログラム"), this));
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    layout->addWidget(btnOK, 0, Qt::AlignHCenter);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmVersion::execute(const std::string& productTitle) {
    Label1->setText(ui::qt::qs(productTitle));
    centreOnScreen(this);
    exec();
}

} // namespace app::forms
