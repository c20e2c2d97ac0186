// The registration window (品番登録) over the 36 slots: a thin Qt face over catalog::Registration.
#pragma once
#include "catalog/Registration.h"
#include "catalog/forms/TZOLTData.h"
#include "model/Document.h"

#include <QPixmap>
#include <QWidget>
#include <array>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;

namespace catalog::forms {

// The main window's side of registration: the result flag, the current type and the plan's fixtures.
class DocumentRegistrationHost : public RegistrationHost {
public:
    DocumentRegistrationHost(model::Document& doc, model::WindowShown& shown, TourokuTable& touroku)
        : doc_(doc), shown_(shown), touroku_(touroku) {}
    void invalidateResult() override { doc_.resultValid = false; }
    void setSelectedType(int slot) override { doc_.selectedType = slot; }
    void deleteFixturesOfSlot(int slot) override;
    void showCurveOf(int slot) override {
        if (showCurve) showCurve(slot);
    }
    void powerChanged() override {
        doc_.dataChanged = true;
        if (powerEdited) powerEdited();
    }
    std::function<void()> powerEdited;       // the power table, when it is shown
    std::function<void(int)> showCurve;      // the curve window, when it is visible
    std::function<void()> fixturesDeleted;   // the plan needs redrawing
    std::function<void()> planChanged;       // the main window shows the plan's changed mark
    void typesChanged() override;

private:
    model::Document& doc_;
    model::WindowShown& shown_;
    TourokuTable& touroku_;
};

class TfrmKigu : public QWidget {
    Q_OBJECT
public:
    TfrmKigu(TourokuTable& touroku, model::Document& doc, model::WindowShown& shown, ui::Services& services, TZOLTData& zolt,
             QWidget* parent = nullptr);

    void refresh(int tab);
    void reset();
    void updateCounts();
    void setLampNameMode(char mode);

    Registration& registration() { return registration_; }
    DocumentRegistrationHost& host() { return host_; }
    // Told when the user closes the window.
    std::function<void()> onClose;

    struct Row {
        QFrame* panel;
        QLabel* img;
        QLabel* labKosuu;
        QLabel* Hin;
        QLabel* Lamp;
        QLineEdit* Kou;
        QLabel* Mid;
        QLabel* Tosu;
        QLineEdit* txtWatt;  // rated power of one luminaire, W
        QPushButton* Lt;
    };
    QTabBar* tabs;
    std::array<Row, 6> rows{};
    QPushButton* btnClose;
    QPushButton* btnPhotometry;
    QMenu* popup;

    void LtClick(int position);
    void imgMouseDown(int position, bool right);
    void mnuCancelClick();
    void btnPhotometryClick();
    void KouChange(int position, const QString& text);
    void txtWattEditingFinished(int position);
    const QPixmap& slotPixmap(int slot, SlotPicture state) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void sync();

    TourokuTable& touroku_;
    model::Document& doc_;
    TZOLTData& zolt_;
    DocumentRegistrationHost host_;
    Registration registration_;
    std::array<QPixmap, 3 * (kSlotCount + 1)> pixmaps_;
    bool syncing_ = false;
};

} // namespace catalog::forms
