// The product selection dialog (品番登録): a thin Qt face over catalog::Selection.
#pragma once
#include "catalog/Catalog.h"
#include "catalog/Selection.h"
#include "ui/qt/QtSurface.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace catalog::forms {

class TZOLTData : public QDialog {
    Q_OBJECT
public:
    // Creating the dialog loads the catalogue of the data directory (its messages go through services).
    TZOLTData(const std::string& dataDir, ui::Services& services, QWidget* parent = nullptr);

    // Shows the dialog modally for a slot's product number; true when "登録" filled selectionBuffer.
    bool showFor(const std::string& hinban, char lampNameMode);
    // The state of a fresh showing, without entering the modal loop (showFor and tests use it).
    void prepare(const std::string& hinban, char lampNameMode);

    const Catalog& catalogue() const { return catalog_; }
    Selection& selection() { return selection_; }
    HaikouMdb selectionBuffer;

    QLineEdit* txtHinban;
    QPushButton* Button1;
    QListWidget* listHinban;
    QListWidget* listLampName;
    QListWidget* listLampNameA;
    QListWidget* listOption;
    QLabel* Label2;
    QLabel* labOption;
    QLabel* pic12;
    QLabel* labKaku;
    QLabel* labKaku2;
    QLabel* labLamp;
    QLabel* labHinban;
    QLabel* labMessage;
    QPushButton* cmdOK;
    QPushButton* btnESC;

    void Button1Click();
    void cmdOKClick();
    void btnESCClick();
    void txtHinbanChange(const QString& text);
    void listHinbanClick(int row);
    void listLampNameClick(int row);

private:
    void sync();

    Catalog catalog_;
    ui::Services& services_;
    Selection selection_;
    ui::qt::ImageSurface picture_;
    bool syncing_ = false;
};

} // namespace catalog::forms
