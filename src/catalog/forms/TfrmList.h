// The product-number list window (リスト表の変更): an editable grid over the listed types.
#pragma once
#include "catalog/ProductList.h"

#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

namespace catalog::forms {

class TfrmList : public QWidget {
    Q_OBJECT
public:
    TfrmList(TourokuTable& touroku, ui::Services& services, QWidget* parent = nullptr);

    // Shows the window (not modal) filled with the listed types, lamp names by the mode.
    void showList(char lampNameMode);
    void fill(char lampNameMode);

    // Hooks of the main window: the registration window's refresh after "ＯＫ", the object name of
    // the print dialog for the CSV, and the table print.
    std::function<void()> onWrittenBack;
    std::function<std::string()> objectName;
    std::function<void()> onPrint;

    QTableWidget* StGrid;
    QPushButton* btnOK;
    QLabel* labNote;
    QMenu* popup;

    void btnOKClick();
    void mnuCsvClick();
    void mnuPrintClick();
    char filledMode() const { return mode_; }
    const std::vector<int>& rowSlots() const { return slots_; }

private:
    TourokuTable& touroku_;
    ui::Services& services_;
    char mode_ = 'A';
    std::vector<int> slots_;
};

} // namespace catalog::forms
