// Small helpers every window of the system shares: UTF-8 texts, named buttons, the integer key filter, the handler boundary.
#pragma once
#include "base/Text.h"
#include "ui/Services.h"

#include <QObject>
#include <QPushButton>
#include <QString>
#include <exception>
#include <new>
#include <string>

class QBoxLayout;
class QLineEdit;

namespace ui::qt {

inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }

// A push button carrying its handler name, so tests and handlers find it by name.
inline QPushButton* namedButton(const QString& text, const char* objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

// The OK / ｷｬﾝｾﾙ row at the foot of a dialog, pushed to the right, named btnOK and btnCancel.
struct OkCancelRow {
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancelRow addOkCancelRow(QBoxLayout* layout, QWidget* parent);

// Drops the typed characters an integer edit refuses (see ui/KeyFilter.h); keys that type nothing
// (arrows, Delete) and pasted text are left alone, as the edits always behaved.
class IntegerKeyFilter : public QObject {
public:
    explicit IntegerKeyFilter(QObject* parent) : QObject(parent) {}
    static void install(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Runs a handler at the event boundary: a failed number conversion, like any other failure of the
// action, is shown by the general error box and the program goes on (nothing escapes into the event loop).
template <class F>
void guarded(Services& services, F&& handler) {
    try {
        handler();
    } catch (const base::ConversionError& e) {
        services.showError(e.what());
    } catch (const std::bad_alloc&) {
        services.showError(base::kMsgNoMemory);
    } catch (const std::exception& e) {
        services.showError(e.what());
    }
}

} // namespace ui::qt
