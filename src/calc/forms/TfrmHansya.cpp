// The inter-reflection dialog: widget plumbing around the room rules of the settings dialogs.
#include "calc/forms/TfrmHansya.h"

#include "calc/SettingsDialogs.h"
#include "ui/qt/FormKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace calc::forms {

using ui::qt::qs;
using ui::qt::ss;

TfrmHansya::TfrmHansya(model::Document& doc, model::WindowShown& shown, ui::Services& services, QWidget* parent)
    : QDialog(parent), doc_(doc), shown_(shown), services_(services) {
    setObjectName(QStringLiteral("frmHansya"));
    setWindowTitle(QStringLiteral("相互反射の設定"));
    setModal(true);
    auto* layout = new QGridLayout(this);
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setFixedWidth(80);
        ui::qt::IntegerKeyFilter::install(e);
        return e;
    };
    auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    cboxHansya = new QCheckBox(QStringLiteral("天井・壁・床の相互反射を計算する"), this);
    cboxHansya->setObjectName(QStringLiteral("cboxHansya"));
    txtRoomHeight = edit("txtRoomHeight");
    txtWorkPlane = edit("txtWorkPlane");
    cmbPreset = new QComboBox(this);
    cmbPreset->setObjectName(QStringLiteral("cmbPreset"));
    for (const ReflectancePreset& p : kReflectancePresets)
        cmbPreset->addItem(QStringLiteral("%1/%2/%3").arg(p.ceiling).arg(p.walls).arg(p.floor));
    txtCeiling = edit("txtCeiling");
    txtWalls = edit("txtWalls");
    txtFloor = edit("txtFloor");

    layout->addWidget(cboxHansya, 0, 0, 1, 3);
    // One row of the form: its caption, its field and the unit after it.
    auto row = [&](int r, const char* caption, QWidget* field, const char* unit) {
        layout->addWidget(label(caption), r, 0);
        layout->addWidget(field, r, 1);
        layout->addWidget(label(unit), r, 2);
    };
    row(1, "天井高", txtRoomHeight, "mm（空欄または 0：器具の取付高さ）");
    row(2, "作業面高さ", txtWorkPlane, "mm");
    row(3, "反射率（天井/壁/床）", cmbPreset, "%");
    row(4, "天井", txtCeiling, "%");
    row(5, "壁・柱", txtWalls, "%");
    row(6, "床", txtFloor, "%");
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    btnOK->setAutoDefault(false);
    btnCancel = ui::qt::namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    btnCancel->setAutoDefault(false);
    layout->addWidget(btnOK, 7, 1);
    layout->addWidget(btnCancel, 7, 2, Qt::AlignLeft);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The order Tab walks: top to bottom, the buttons last.
    QWidget* order[] = {cboxHansya, txtRoomHeight, txtWorkPlane, cmbPreset, txtCeiling, txtWalls, txtFloor, btnOK, btnCancel};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbPreset, &QComboBox::activated, this, [this](int index) { cmbPresetChange(index); });
    for (QLineEdit* e : {txtCeiling, txtWalls, txtFloor})
        connect(e, &QLineEdit::textEdited, this, [this] { showMatchingPreset(); });
    for (QLineEdit* e : {txtRoomHeight, txtWorkPlane, txtCeiling, txtWalls, txtFloor})
        connect(e, &QLineEdit::returnPressed, this, [this] { btnOKClick(); });
}

bool TfrmHansya::execute() {
    FormShow();
    return exec() == QDialog::Accepted;
}

void TfrmHansya::FormShow() {
    const RoomTexts t = roomTextsOf(doc_.plan.room);
    cboxHansya->setChecked(t.on);
    txtRoomHeight->setText(qs(t.roomHeight));
    txtWorkPlane->setText(qs(t.workPlane));
    txtCeiling->setText(qs(t.ceiling));
    txtWalls->setText(qs(t.walls));
    txtFloor->setText(qs(t.floor));
    showMatchingPreset();
    cboxHansya->setFocus();
}

void TfrmHansya::cmbPresetChange(int index) {
    if (index < 0 || index >= static_cast<int>(kReflectancePresets.size())) return;
    const ReflectancePreset& p = kReflectancePresets[static_cast<std::size_t>(index)];
    txtCeiling->setText(QString::number(p.ceiling));
    txtWalls->setText(QString::number(p.walls));
    txtFloor->setText(QString::number(p.floor));
}

void TfrmHansya::showMatchingPreset() {
    cmbPreset->setCurrentIndex(presetIndexOf(ss(txtCeiling->text()), ss(txtWalls->text()), ss(txtFloor->text())));
}

void TfrmHansya::btnOKClick() {
    RoomTexts t;
    t.on = cboxHansya->isChecked();
    t.roomHeight = ss(txtRoomHeight->text().trimmed());
    t.workPlane = ss(txtWorkPlane->text().trimmed());
    t.ceiling = ss(txtCeiling->text().trimmed());
    t.walls = ss(txtWalls->text().trimmed());
    t.floor = ss(txtFloor->text().trimmed());
    const RoomVerdict v = applyRoomTexts(doc_, shown_, t);
    if (v.field == model::RoomFault::None) {
        accept();
        return;
    }
    services_.messageBox(v.refusal, kRoomInputTitle, ui::Icon::Stop, ui::Buttons::Ok);
    QLineEdit* again = v.field == model::RoomFault::RoomHeight  ? txtRoomHeight
                       : v.field == model::RoomFault::WorkPlane ? txtWorkPlane
                       : v.field == model::RoomFault::Ceiling   ? txtCeiling
                       : v.field == model::RoomFault::Walls     ? txtWalls
                                                                : txtFloor;
    again->setFocus();
    again->selectAll();
}

} // namespace calc::forms
