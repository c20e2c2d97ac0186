// The redraw dialog of the contour display and the DXF background.
#include "calc/forms/TfrmRedraw.h"
#include "ui/qt/FormKit.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace calc::forms {

TfrmRedraw::TfrmRedraw(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmRedraw"));
    setWindowTitle(QStringLiteral("再描写"));
    setModal(true);
    auto* layout = new QHBoxLayout(this);
    btnKasaneru = ui::qt::namedButton(QStringLiteral("重ねて表示"), "btnKasaneru", this);
    btnKakinaosi = ui::qt::namedButton(QStringLiteral("書き直し"), "btnKakinaosi", this);
    layout->addWidget(btnKasaneru);
    layout->addWidget(btnKakinaosi);
    connect(btnKasaneru, &QPushButton::clicked, this, [this] {
        choice_ = Overlay;
        accept();
    });
    connect(btnKakinaosi, &QPushButton::clicked, this, [this] {
        choice_ = Rewrite;
        accept();
    });
}

TfrmRedraw::Choice TfrmRedraw::execute() {
    choice_ = None;
    exec();
    return choice_;
}

} // namespace calc::forms
