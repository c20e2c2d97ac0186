// Small helpers every window of the system shares: UTF-8 texts, named buttons, the integer key filter, the handler boundary.
#pragma once
#include "base/Text.h"
#include "ui/Services.h"

#include <QDate>
#include <QLocale>
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

// Today's date in the system's short form: the date of the CSV files and the printed sheets.
inline std::string todayShortForm() { return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString(); }
inline std::string ss(const QString& s) { return s.toStdString(); }

// A push button carrying its handler name, so tests and handlers find it by name.
inline QPushButton* namedButton(const QString& text, const char* objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

// The windows that float beside the plan (legend, registration, task-area table, curve): they belong to
// the main window, never stand over the dialogs it opens, and offer no minimise of their own (the window
// manager would take the main window down with them).
inline constexpr Qt::WindowFlags kToolWindowFlags =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

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

// Refuses, as they are typed or pasted, the characters the project file (CP932) cannot hold, which would
// otherwise be saved as '?': for the texts the file keeps (the project name, the task areas' names).
void acceptOnlyCp932(QLineEdit* edit);

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
