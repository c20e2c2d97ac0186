// The task-area dialog: widget plumbing around the editor's task-area rule.
#include "editor/forms/TfrmTaskArea.h"

#include "base/Text.h"
#include "editor/Dialogs.h"
#include "ui/qt/FormKit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace editor::forms {

using ui::qt::qs;
using ui::qt::ss;

namespace {

constexpr const char* kByHand = "(手入力)";

} // namespace

TfrmTaskArea::TfrmTaskArea(ui::Services& services, const std::string& catalogueDir, QWidget* parent)
    : TfrmTaskArea(services, model::installedTaskPresets(catalogueDir), parent) {}

TfrmTaskArea::TfrmTaskArea(ui::Services& services, std::vector<model::TaskPreset> presets, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), services_(services), presets_(std::move(presets)) {
    setObjectName(QStringLiteral("frmTaskArea"));
    setWindowTitle(QStringLiteral("作業領域"));
    setModal(true);
    auto* layout = new QGridLayout(this);
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    txtName = edit("txtName");
    txtName->setMinimumWidth(160);
    ui::qt::acceptOnlyCp932(txtName);
    txtLux = edit("txtLux");
    txtLux->setFixedWidth(80);
    ui::qt::IntegerKeyFilter::install(txtLux);
    txtU0 = edit("txtU0");
    txtU0->setFixedWidth(80);
    layout->addWidget(new QLabel(QStringLiteral("名前"), this), 0, 0);
    layout->addWidget(txtName, 0, 1, 1, 2);
    cboxKind = new QComboBox(this);
    cboxKind->setObjectName(QStringLiteral("cboxKind"));
    cboxKind->addItem(qs(kByHand));
    for (const model::TaskPreset& p : presets_) {
        cboxKind->addItem(qs(p.name));
        cboxKind->setItemData(cboxKind->count() - 1, qs(p.source), Qt::ToolTipRole);
    }
    layout->addWidget(new QLabel(QStringLiteral("作業の種類"), this), 1, 0);
    layout->addWidget(cboxKind, 1, 1, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("必要照度"), this), 2, 0);
    layout->addWidget(txtLux, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("Lx"), this), 2, 2);
    layout->addWidget(new QLabel(QStringLiteral("必要均斉度"), this), 3, 0);
    layout->addWidget(txtU0, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("(最小/平均)"), this), 3, 2);
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    btnCancel = ui::qt::namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    layout->addWidget(btnOK, 4, 1);
    layout->addWidget(btnCancel, 4, 2);
    connect(cboxKind, qOverload<int>(&QComboBox::activated), this, [this](int i) { cboxKindChange(i); });
    // A requirement typed over the preset's is the user's own.
    connect(txtLux, &QLineEdit::textEdited, this, [this] { cboxKind->setCurrentIndex(0); });
    connect(txtU0, &QLineEdit::textEdited, this, [this] { cboxKind->setCurrentIndex(0); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<model::AreaRecord> TfrmTaskArea::execute(const model::AreaRecord& area) {
    area_ = area;
    answer_.reset();
    txtName->setText(qs(area.name));
    cboxKind->setCurrentIndex(0);
    txtName->selectAll();
    txtName->setFocus();
    exec();
    return answer_;
}

void TfrmTaskArea::btnOKClick() {
    answer_ = taskAreaFromTexts(area_, ss(txtName->text()), ss(txtLux->text()), ss(txtU0->text()), services_);
    if (!answer_) return;
    const int kind = cboxKind->currentIndex();
    answer_->preset = kind > 0 ? presets_[static_cast<std::size_t>(kind - 1)].name : std::string();
    accept();
}

void TfrmTaskArea::cboxKindChange(int index) {
    if (index <= 0 || static_cast<std::size_t>(index) > presets_.size()) return;
    const model::TaskPreset& p = presets_[static_cast<std::size_t>(index - 1)];
    txtLux->setText(qs(base::formatInt(p.lux)));
    txtU0->setText(qs(base::formatFixed(p.uniformity, 2)));
}

} // namespace editor::forms
