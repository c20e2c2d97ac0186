// The DXF output-type dialog's widgets and handlers; the choice itself is the Qt-free DxfOutTypeState.
#include "io/forms/TfrmDXFOutType.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace io::forms {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// A small picture of what each output type looks like: nested contour rings inside a wall rectangle,
// coloured by level or all black with pillars and fixture marks.
QPixmap samplePicture(bool coloured) {
    QPixmap pm(150, 100);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(8, 8, 134, 84);
    const QColor levels[6] = {QColor(0, 0, 255), QColor(200, 0, 200), QColor(0, 170, 0),
                              QColor(230, 160, 0), QColor(255, 90, 90), QColor(255, 0, 0)};
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(coloured ? levels[i] : QColor(Qt::black), 1));
        p.drawEllipse(QPoint(75, 50), 60 - 9 * i, 36 - 5 * i);
    }
    if (!coloured) {
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(14, 14, 8, 8);
        p.drawEllipse(QPoint(132, 82), 4, 4);
        p.drawEllipse(QPoint(75, 50), 3, 3);
    }
    return pm;
}

} // namespace

TfrmDXFOutType::TfrmDXFOutType(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmDXFOutType");
    setModal(true);
    auto* root = new QVBoxLayout(this);
    root->addWidget(new QLabel("出力タイプ", this));

    auto* samples = new QHBoxLayout;
    auto* colourBox = new QVBoxLayout;
    auto* colourPicture = new QLabel(this);
    colourPicture->setPixmap(samplePicture(true));
    colourBox->addWidget(colourPicture);
    colourBox->addWidget(new QLabel("等高線は照度で色分け", this));
    colourBox->addWidget(new QLabel("壁、表示有り。柱、器具のプロットなし", this));
    btnColorOut = new QPushButton("DXFファイルの作成", this);
    btnColorOut->setObjectName("btnColorOut");
    colourBox->addWidget(btnColorOut);
    cboxTextColor = new QCheckBox("照度値の色も変える", this);
    cboxTextColor->setObjectName("cboxTextColor");
    cboxTextColor->setChecked(false);
    colourBox->addWidget(cboxTextColor);
    samples->addLayout(colourBox);

    auto* blackBox = new QVBoxLayout;
    auto* blackPicture = new QLabel(this);
    blackPicture->setPixmap(samplePicture(false));
    blackBox->addWidget(blackPicture);
    blackBox->addWidget(new QLabel("全て黒線", this));
    blackBox->addWidget(new QLabel("壁、柱、器具プロット有り", this));
    btnBlackOut = new QPushButton("DXFファイルの作成", this);
    btnBlackOut->setObjectName("btnBlackOut");
    blackBox->addWidget(btnBlackOut);
    blackBox->addStretch();
    samples->addLayout(blackBox);
    root->addLayout(samples);
    cboxJoin = new QCheckBox("等高線をつながる所で1本の線にする", this);
    cboxJoin->setObjectName("cboxJoin");
    cboxJoin->setChecked(false);
    root->addWidget(cboxJoin);

    const io::DxfNoteTexts& t = state_.texts;
    cboxHosoku = new QCheckBox("以下の文章を出力する", this);
    cboxHosoku->setObjectName("cboxHosoku");
    cboxHosoku->setChecked(t.hosoku);
    root->addWidget(cboxHosoku);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("見出し", this), 0, 0);
    txtMidasi = new QLineEdit(q(t.midasi), this);
    txtMidasi->setObjectName("txtMidasi");
    grid->addWidget(txtMidasi, 0, 1);
    grid->addWidget(new QLabel("補足文章", this), 1, 0);
    for (int i = 0; i < 5; ++i) {
        auto* edit = new QLineEdit(q(t.hosokuLines[static_cast<std::size_t>(i)]), this);
        edit->setObjectName(QString("txtHosoku%1").arg(i + 1));
        edit->setMinimumWidth(460);
        grid->addWidget(edit, 1 + i, 1);
        txtHosoku[static_cast<std::size_t>(i)] = edit;
    }
    root->addLayout(grid);

    btnCancel = new QPushButton("キャンセル", this);
    btnCancel->setObjectName("btnCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnCancel);
    root->addLayout(buttons);

    connect(btnColorOut, &QPushButton::clicked, this, &TfrmDXFOutType::btnColorOutClick);
    connect(btnBlackOut, &QPushButton::clicked, this, &TfrmDXFOutType::btnBlackOutClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmDXFOutType::btnCancelClick);
}

int TfrmDXFOutType::showModal() {
    const int r = exec();
    return r > 9 ? r : io::DxfOutTypeState::cancelResult();
}

bool TfrmDXFOutType::joinContours() const { return cboxJoin->isChecked(); }

io::DxfNoteTexts TfrmDXFOutType::noteTexts() const {
    io::DxfNoteTexts t;
    t.hosoku = cboxHosoku->isChecked();
    t.midasi = txtMidasi->text().toStdString();
    for (std::size_t i = 0; i < 5; ++i) t.hosokuLines[i] = txtHosoku[i]->text().toStdString();
    return t;
}

void TfrmDXFOutType::btnColorOutClick() {
    state_.textColor = cboxTextColor->isChecked();
    done(state_.colorButtonResult());
}

void TfrmDXFOutType::btnBlackOutClick() { done(io::DxfOutTypeState::blackButtonResult()); }

void TfrmDXFOutType::btnCancelClick() { done(io::DxfOutTypeState::cancelResult()); }

void TfrmDXFOutType::reject() { done(io::DxfOutTypeState::cancelResult()); }

} // namespace io::forms
