// The shared helpers of the windows.
#include "ui/qt/FormKit.h"

#include "base/Cp932.h"
#include "ui/KeyFilter.h"

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace ui::qt {

OkCancelRow addOkCancelRow(QBoxLayout* layout, QWidget* parent) {
    auto* row = new QHBoxLayout;
    OkCancelRow buttons{namedButton(QStringLiteral("OK"), "btnOK", parent), namedButton(QStringLiteral("ｷｬﾝｾﾙ"), "btnCancel", parent)};
    row->addStretch();
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    layout->addLayout(row);
    return buttons;
}

namespace {

class Cp932Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return base::cp932Holds(input.toStdString()) ? Acceptable : Invalid;
    }
};

} // namespace

void acceptOnlyCp932(QLineEdit* edit) { edit->setValidator(new Cp932Validator(edit)); }

void IntegerKeyFilter::install(QLineEdit* edit) { edit->installEventFilter(new IntegerKeyFilter(edit)); }

bool IntegerKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.isEmpty() || key->modifiers().testFlag(Qt::ControlModifier)) return false;
    const char32_t c = text.toUcs4().value(0);
    if (isControlKey(c)) return false;  // Tab moves on, Escape cancels, Enter and Backspace keep their work
    return !integerEditAccepts(c);
}

} // namespace ui::qt
