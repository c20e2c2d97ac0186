// The registration window's widgets and handlers; the rules are catalog::Registration's.
#include "catalog/forms/TfrmKigu.h"

#include "catalog/SlotPicture.h"
#include "ui/KeyFilter.h"
#include "ui/qt/QtSurface.h"
#include "ui/qt/FormKit.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QToolTip>
#include <QVBoxLayout>

namespace catalog::forms {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

int stateIndex(SlotPicture s) { return s == SlotPicture::Free ? 0 : s == SlotPicture::Registered ? 1 : 2; }

} // namespace

void DocumentRegistrationHost::deleteFixturesOfSlot(int slot) {
    model::deleteFixturesOfSlot(doc_, shown_, touroku_, slot);
    if (fixturesDeleted) fixturesDeleted();
}

void DocumentRegistrationHost::typesChanged() {
    model::markPlanChanged(doc_, shown_);
    if (planChanged) planChanged();
}

TfrmKigu::TfrmKigu(TourokuTable& touroku, model::Document& doc, model::WindowShown& shown, ui::Services& services, TZOLTData& zolt, QWidget* parent)
    : QWidget(parent, ui::qt::kToolWindowFlags),
      touroku_(touroku),
      doc_(doc),
      zolt_(zolt),
      host_(doc, shown, touroku),
      registration_(touroku, host_, services) {
    setWindowTitle("品番登録");
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        for (SlotPicture st : {SlotPicture::Free, SlotPicture::Registered, SlotPicture::Current}) {
            ui::qt::ImageSurface s(kSlotPictureSize, kSlotPictureSize);
            drawSlotPicture(s, slot, st, doc_.tables.symbolColour);
            pixmaps_[static_cast<std::size_t>(slot * 3 + stateIndex(st))] = QPixmap::fromImage(*s.image());
        }
    }
    auto* outer = new QVBoxLayout(this);
    tabs = new QTabBar(this);
    for (const char* name : kTabNames) tabs->addTab(name);
    outer->addWidget(tabs);
    for (int p = 1; p <= 6; ++p) {
        Row& r = rows[static_cast<std::size_t>(p - 1)];
        r.panel = new QFrame(this);
        r.panel->setAutoFillBackground(true);
        auto* g = new QGridLayout(r.panel);
        g->setContentsMargins(2, 2, 2, 2);
        r.img = new QLabel(r.panel);
        r.img->setFixedSize(kSlotPictureSize, kSlotPictureSize);
        r.img->installEventFilter(this);
        r.labKosuu = new QLabel(r.panel);
        r.Hin = new QLabel(r.panel);
        r.Lamp = new QLabel(r.panel);
        r.Kou = new QLineEdit(r.panel);
        r.Kou->setMaxLength(9);
        r.Kou->setFixedWidth(70);
        r.Kou->installEventFilter(this);
        r.Mid = new QLabel(r.panel);
        r.Tosu = new QLabel(r.panel);
        r.txtWatt = new QLineEdit(r.panel);
        r.txtWatt->setMaxLength(9);
        r.txtWatt->setFixedWidth(70);
        r.txtWatt->setToolTip("器具1台の消費電力 (W)");
        auto* labWatt = new QLabel("W", r.panel);
        r.Lt = new QPushButton("…", r.panel);
        r.Lt->setToolTip("品番を登録");
        r.Lt->setFixedWidth(28);
        // What a row shows changes with the registration (a framed or a bare flux box, a lamp count, a
        // product number); none of it may change the window's size, which grew with every registration
        // and carried the window off the screen's edge.
        const QFontMetrics metrics(font());
        for (QLineEdit* box : {r.Kou, r.txtWatt}) box->setFixedHeight(box->sizeHint().height());
        r.Mid->setFixedWidth(metrics.horizontalAdvance(QString::fromUtf8(kMidText)) + 4);
        r.Tosu->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("9999")));
        for (QLabel* text : {r.labKosuu, r.Hin, r.Lamp}) text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        g->addWidget(r.img, 0, 0, 3, 1);
        g->addWidget(r.labKosuu, 3, 0);
        g->addWidget(r.Hin, 0, 1, 1, 3);
        g->addWidget(r.Lamp, 1, 1, 1, 3);
        g->addWidget(r.Kou, 2, 1);
        g->addWidget(r.Mid, 2, 2);
        g->addWidget(r.Tosu, 2, 3);
        // Beside the lamp count, so the row keeps its height and the window still fits small screens.
        g->addWidget(r.txtWatt, 2, 4);
        g->addWidget(labWatt, 2, 5);
        g->addWidget(r.Lt, 0, 6, 3, 1);
        outer->addWidget(r.panel);
        connect(r.Lt, &QPushButton::clicked, this, [this, p] { LtClick(p); });
        connect(r.Kou, &QLineEdit::textChanged, this, [this, p](const QString& t) { KouChange(p, t); });
        connect(r.txtWatt, &QLineEdit::editingFinished, this, [this, p] { txtWattEditingFinished(p); });
    }
    btnPhotometry = new QPushButton("配光ファイルから登録...", this);
    btnPhotometry->setToolTip("IES / EULUMDAT ファイルを現在の器具か空きの欄に登録");
    outer->addWidget(btnPhotometry);
    btnClose = new QPushButton("閉じる", this);
    outer->addWidget(btnClose);
    popup = new QMenu(this);
    popup->addAction("登録の取り消し", this, [this] { mnuCancelClick(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { close(); });
    connect(btnPhotometry, &QPushButton::clicked, this, [this] { btnPhotometryClick(); });
    connect(tabs, &QTabBar::currentChanged, this, [this](int t) {
        if (!syncing_) refresh(t);
    });
    registration_.setLampNameMode(doc_.lampNameMode);
    refresh(0);
}

const QPixmap& TfrmKigu::slotPixmap(int slot, SlotPicture state) const {
    return pixmaps_[static_cast<std::size_t>(slot * 3 + stateIndex(state))];
}

void TfrmKigu::sync() {
    syncing_ = true;
    tabs->setCurrentIndex(registration_.tab());
    for (int p = 1; p <= 6; ++p) {
        const SlotRow& s = registration_.rows()[static_cast<std::size_t>(p - 1)];
        Row& r = rows[static_cast<std::size_t>(p - 1)];
        r.img->setPixmap(slotPixmap(registration_.slotAt(p), s.picture));
        r.labKosuu->setText(q(s.kosuu));
        r.Hin->setText(q(s.hin));
        r.Lamp->setText(q(s.lamp));
        if (r.Kou->text() != q(s.kou)) r.Kou->setText(q(s.kou));
        r.Kou->setFrame(s.registered);
        r.Kou->setReadOnly(!s.registered);
        QPalette kp = r.Kou->palette();
        kp.setColor(QPalette::Base, s.registered ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
        kp.setColor(QPalette::Text, s.kouChanged ? Qt::red : Qt::black);
        r.Kou->setPalette(kp);
        r.Kou->setToolTip(q(s.kouHint));
        r.txtWatt->setText(q(s.watts));
        r.txtWatt->setReadOnly(!s.registered);
        r.txtWatt->setFrame(s.registered);
        r.Mid->setText(q(s.mid));
        r.Tosu->setText(q(s.tosu));
        QPalette pp = r.panel->palette();
        pp.setColor(QPalette::Window, s.highlighted ? palette().color(QPalette::Light) : palette().color(QPalette::Button));
        r.panel->setPalette(pp);
    }
    syncing_ = false;
}

void TfrmKigu::refresh(int tab) {
    registration_.refresh(tab);
    sync();
}

void TfrmKigu::reset() {
    registration_.reset();
    sync();
}

void TfrmKigu::updateCounts() {
    registration_.updateCounts();
    sync();
}

void TfrmKigu::setLampNameMode(char mode) {
    registration_.setLampNameMode(mode);
    sync();
}

void TfrmKigu::LtClick(int position) {
    if (!zolt_.showFor(registration_.hinbanForDialog(position), doc_.lampNameMode)) return;
    registration_.registerSelection(position, zolt_.selectionBuffer);
    sync();
}

void TfrmKigu::imgMouseDown(int position, bool right) {
    const bool openMenu = registration_.choose(position, right);
    sync();
    if (openMenu) popup->popup(QCursor::pos());
}

void TfrmKigu::mnuCancelClick() {
    registration_.cancelRegistration();
    sync();
}

void TfrmKigu::btnPhotometryClick() {
    registration_.importPhotometry();
    sync();
}

void TfrmKigu::KouChange(int position, const QString& text) {
    if (syncing_) return;
    registration_.kouChanged(position, text.toStdString());
    const SlotRow& s = registration_.rows()[static_cast<std::size_t>(position - 1)];
    Row& r = rows[static_cast<std::size_t>(position - 1)];
    QPalette kp = r.Kou->palette();
    kp.setColor(QPalette::Text, s.kouChanged ? Qt::red : Qt::black);
    r.Kou->setPalette(kp);
    r.Kou->setToolTip(q(s.kouHint));
    if (s.kouChanged) QToolTip::showText(r.Kou->mapToGlobal(QPoint(0, r.Kou->height())), q(s.kouHint), r.Kou);
}

void TfrmKigu::txtWattEditingFinished(int position) {
    if (syncing_) return;
    Row& r = rows[static_cast<std::size_t>(position - 1)];
    // The refusal's message box takes the focus, which would finish the edit a second time.
    syncing_ = true;
    registration_.wattsEntered(position, r.txtWatt->text().toStdString());
    const QString shown = q(registration_.rows()[static_cast<std::size_t>(position - 1)].watts);
    if (r.txtWatt->text() != shown) r.txtWatt->setText(shown);
    syncing_ = false;
}

bool TfrmKigu::eventFilter(QObject* watched, QEvent* event) {
    for (int p = 1; p <= 6; ++p) {
        const Row& r = rows[static_cast<std::size_t>(p - 1)];
        if (watched == r.img && event->type() == QEvent::MouseButtonPress) {
            imgMouseDown(p, static_cast<QMouseEvent*>(event)->button() == Qt::RightButton);
            return true;
        }
        if (watched == r.Kou && event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            // Keys that type nothing (arrows, Delete) move the caret as usual, Tab and Escape move on.
            if (text.isEmpty() || ui::isControlKey(text.at(0).unicode())) return false;
            return !Registration::kouKeyPasses(static_cast<int>(text.at(0).unicode()));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmKigu::closeEvent(QCloseEvent* event) {
    hide();
    event->accept();
    if (onClose) onClose();
}

} // namespace catalog::forms
