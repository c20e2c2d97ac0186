// The illuminance range dialog: widget plumbing around the range rules.
#include "view/forms/TfrmLxScale.h"

#include "view/RangeDialogRules.h"
#include "ui/qt/FormKit.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace view::forms {

using ui::qt::qs;
using ui::qt::ss;

TfrmLxScale::TfrmLxScale(model::Document& doc, model::WindowShown& shown, ui::Services& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), doc_(doc), shown_(shown), services_(services) {
    setObjectName(QStringLiteral("frmLxScale"));
    setWindowTitle(QStringLiteral("照度レンジ"));
    setModal(true);
    auto* layout = new QGridLayout(this);
    // The top row is the highest class.
    for (int i = 6; i >= 1; --i) {
        const int row = 6 - i;
        auto* swatch = new QLineEdit(this);
        swatch->setObjectName(QStringLiteral("txtColor%1").arg(i));
        swatch->setEnabled(false);
        swatch->setFrame(false);
        swatch->setFixedWidth(36);
        txtColor[static_cast<std::size_t>(i)] = swatch;
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("txtLx%1").arg(i));
        edit->setFixedWidth(90);
        ui::qt::IntegerKeyFilter::install(edit);
        edit->installEventFilter(this);
        txtLx[static_cast<std::size_t>(i)] = edit;
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(i));
        Label[static_cast<std::size_t>(i)] = label;
        layout->addWidget(swatch, row, 0);
        layout->addWidget(edit, row, 1);
        layout->addWidget(label, row, 2);
        connect(edit, &QLineEdit::returnPressed, this, [this] { btnOK->setFocus(); });
    }
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    btnOK->setAutoDefault(false);
    btnCancel = ui::qt::namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    btnCancel->setAutoDefault(false);
    layout->addWidget(btnOK, 6, 0, 1, 2);
    layout->addWidget(btnCancel, 6, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmLxScale::FormShow() {
    // Merged into the picture last time or not, the dialog itself always opens with its border.
    setWindowFlag(Qt::FramelessWindowHint, false);
    btnOK->show();
    btnCancel->show();
    for (int i = 1; i <= 6; ++i) {
        const auto c = doc_.tables.classColour[static_cast<std::size_t>(i - 1)];
        txtColor[static_cast<std::size_t>(i)]->setStyleSheet(
            QStringLiteral("QLineEdit { background: rgb(%1,%2,%3); border: none; }").arg(c.r).arg(c.g).arg(c.b));
        Label[static_cast<std::size_t>(i)]->hide();
        txtLx[static_cast<std::size_t>(i)]->show();
        txtLx[static_cast<std::size_t>(i)]->setText(QString::number(doc_.tables.luxLevel[static_cast<std::size_t>(i)]));
    }
}

bool TfrmLxScale::execute() {
    FormShow();
    return exec() == QDialog::Accepted;
}

bool TfrmLxScale::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int i = 1; i <= 6; ++i) {
            if (watched != txtLx[static_cast<std::size_t>(i)]) continue;
            if (key == Qt::Key_Up && i < 6) {
                txtLx[static_cast<std::size_t>(i + 1)]->setFocus();
                return true;
            }
            if (key == Qt::Key_Down && i > 1) {
                txtLx[static_cast<std::size_t>(i - 1)]->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmLxScale::btnOKClick() {
    ui::qt::guarded(services_, [&] {
        std::array<std::string, 7> texts;
        for (int i = 1; i <= 6; ++i) texts[static_cast<std::size_t>(i)] = ss(txtLx[static_cast<std::size_t>(i)]->text());
        const auto levels = readLevels(texts);
        const RangeVerdict v = checkLevels(levels);
        if (!v.message.empty()) {
            services_.messageBox(v.message, kRangeErrorTitle, ui::Icon::Stop, ui::Buttons::Ok);
            txtLx[static_cast<std::size_t>(v.focus)]->setFocus();
            return;
        }
        applyUserLevels(doc_, shown_, levels);
        if (onLevelsChanged) onLevelsChanged();
        QCoreApplication::processEvents();
        accept();
    });
}

} // namespace view::forms
