// The task-area dialog: widget plumbing around the editor's task-area rule.
#include "editor/forms/TfrmTaskArea.h"

#include "editor/Dialogs.h"
#include "ui/qt/FormKit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace editor::forms {

using ui::qt::qs;
using ui::qt::ss;

TfrmTaskArea::TfrmTaskArea(ui::Services& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), services_(services) {
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
    layout->addWidget(new QLabel(QStringLiteral("必要照度"), this), 1, 0);
    layout->addWidget(txtLux, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("Lx"), this), 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("必要均斉度"), this), 2, 0);
    layout->addWidget(txtU0, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("(最小/平均)"), this), 2, 2);
    btnOK = ui::qt::namedButton(QStringLiteral("OK"), "btnOK", this);
    btnCancel = ui::qt::namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", this);
    layout->addWidget(btnOK, 3, 1);
    layout->addWidget(btnCancel, 3, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<model::AreaRecord> TfrmTaskArea::execute(const model::AreaRecord& area) {
    area_ = area;
    answer_.reset();
    txtName->setText(qs(area.name));
    txtName->selectAll();
    txtName->setFocus();
    exec();
    return answer_;
}

void TfrmTaskArea::btnOKClick() {
    answer_ = taskAreaFromTexts(area_, ss(txtName->text()), ss(txtLux->text()), ss(txtU0->text()), services_);
    if (answer_) accept();
}

} // namespace editor::forms
