// The displacement and angle dialogs of a selection's edits: widget plumbing around the system's number reading.
#include "editor/forms/TfrmSelectionEdits.h"

#include "ui/qt/FormKit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace editor::forms {

using ui::qt::qs;
using ui::qt::ss;

namespace {
// The OK / ｷｬﾝｾﾙ row under a dialog of fixed size: OK runs the dialog's check, ｷｬﾝｾﾙ closes it.
template <class Ok>
void addButtons(QDialog* dialog, QVBoxLayout* layout, QPushButton*& ok, QPushButton*& cancel, Ok onOk) {
    const auto row = ui::qt::addOkCancelRow(layout, dialog);
    ok = row.ok;
    cancel = row.cancel;
    layout->setSizeConstraint(QLayout::SetFixedSize);
    QObject::connect(ok, &QPushButton::clicked, dialog, onOk);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

QLineEdit* numberEdit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setFixedWidth(90);
    return e;
}
} // namespace

TfrmOffset::TfrmOffset(ui::Services& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), services_(services) {
    setObjectName(QStringLiteral("frmOffset"));
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    auto* layout = new QGridLayout;
    outer->addLayout(layout);
    txtDx = numberEdit(this, "txtDx");
    txtDy = numberEdit(this, "txtDy");
    layout->addWidget(new QLabel(QStringLiteral("dx"), this), 0, 0);
    layout->addWidget(txtDx, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("mm"), this), 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("dy"), this), 1, 0);
    layout->addWidget(txtDy, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("mm"), this), 1, 2);
    layout->addWidget(new QLabel(qs(kOffsetNote), this), 2, 0, 1, 3);
    addButtons(this, outer, btnOK, btnCancel, [this] { btnOKClick(); });
}

std::optional<OffsetAnswer> TfrmOffset::execute(bool copy) {
    setWindowTitle(copy ? QStringLiteral("複写") : QStringLiteral("移動"));
    answer_.reset();
    if (txtDx->text().isEmpty()) txtDx->setText(QStringLiteral("0"));
    if (txtDy->text().isEmpty()) txtDy->setText(QStringLiteral("0"));
    txtDx->selectAll();
    txtDx->setFocus();
    exec();
    return answer_;
}

void TfrmOffset::btnOKClick() {
    // A text that is no number gets the system's message and the dialog stays open.
    ui::qt::guarded(services_, [this] {
        answer_ = OffsetAnswer{base::toFloat(ss(txtDx->text())), base::toFloat(ss(txtDy->text()))};
        accept();
    });
}

TfrmRotate::TfrmRotate(ui::Services& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), services_(services) {
    setObjectName(QStringLiteral("frmRotate"));
    setWindowTitle(QStringLiteral("回転"));
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    auto* layout = new QGridLayout;
    outer->addLayout(layout);
    txtAngle = numberEdit(this, "txtAngle");
    txtAngle->setText(QStringLiteral("90"));
    rbtnCentre = new QRadioButton(QStringLiteral("選択範囲の中心"), this);
    rbtnCentre->setObjectName(QStringLiteral("rbtnCentre"));
    rbtnCentre->setChecked(true);
    rbtnPoint = new QRadioButton(QStringLiteral("クリックした点"), this);
    rbtnPoint->setObjectName(QStringLiteral("rbtnPoint"));
    labNote = new QLabel(qs(kRotateNote), this);
    labNote->setObjectName(QStringLiteral("labNote"));
    layout->addWidget(new QLabel(QStringLiteral("角度"), this), 0, 0);
    layout->addWidget(txtAngle, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("度"), this), 0, 2);
    layout->addWidget(rbtnCentre, 1, 0, 1, 3);
    layout->addWidget(rbtnPoint, 2, 0, 1, 3);
    layout->addWidget(labNote, 3, 0, 1, 3);
    addButtons(this, outer, btnOK, btnCancel, [this] { btnOKClick(); });
}

std::optional<RotationAnswer> TfrmRotate::execute() {
    answer_.reset();
    txtAngle->selectAll();
    txtAngle->setFocus();
    exec();
    return answer_;
}

void TfrmRotate::btnOKClick() {
    ui::qt::guarded(services_, [this] {
        answer_ = RotationAnswer{base::toFloat(ss(txtAngle->text())), rbtnPoint->isChecked()};
        accept();
    });
}

TfrmProperties::TfrmProperties(ui::Services& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), services_(services) {
    setObjectName(QStringLiteral("frmProperties"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QWidget(this);
    grid_ = new QGridLayout(fields);
    grid_->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fields);
    addButtons(this, layout, btnOK, btnCancel, [this] { btnOKClick(); });
}

std::optional<std::vector<std::string>> TfrmProperties::execute(const PropertySheet& sheet, const PropertyCheck& check) {
    for (QWidget* w : rows_) delete w;
    rows_.clear();
    edits.clear();
    setWindowTitle(qs(sheet.title));
    int r = 0;
    for (const PropertyField& f : sheet.fields) {
        auto* label = new QLabel(qs(f.label), this);
        auto* edit = new QLineEdit(qs(f.text), this);
        edit->setObjectName(QStringLiteral("txtField%1").arg(r + 1));
        edit->setMinimumWidth(140);
        grid_->addWidget(label, r, 0);
        grid_->addWidget(edit, r, 1);
        rows_.push_back(label);
        rows_.push_back(edit);
        edits.push_back(edit);
        ++r;
    }
    check_ = check;
    answer_.reset();
    if (!edits.empty()) {
        edits.front()->selectAll();
        edits.front()->setFocus();
    }
    exec();
    return answer_;
}

void TfrmProperties::btnOKClick() {
    std::vector<std::string> texts;
    for (QLineEdit* e : edits) texts.push_back(ss(e->text()));
    ui::qt::guarded(services_, [this, &texts] {
        if (check_ && !check_(texts)) return;
        answer_ = texts;
        accept();
    });
}

} // namespace editor::forms
