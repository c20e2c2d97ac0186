// The three catalogue windows offscreen: selection on the sample catalogue, registration, product list.
#include "support/QtApp.h"
#include "support/TestPaths.h"
#include "catalog/forms/TZOLTData.h"
#include "catalog/forms/TfrmKigu.h"
#include "catalog/forms/TfrmList.h"

#include "app/Startup.h"
#include "catalog/SlotPicture.h"
#include "ui/testing/FakeServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <cstdlib>
#include <set>

using catalog::forms::TfrmKigu;
using catalog::forms::TfrmList;
using catalog::forms::TZOLTData;

namespace {

std::string sampleDir() { return testsupport::sourceDir() + "/data/zolt_data"; }

class CatalogForms : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::qtApp(); }
    void SetUp() override {
        app::initialiseDocument(doc, shown, app::ScreenInfo{}, 1915, 900);
        zolt = std::make_unique<TZOLTData>(sampleDir(), services);
        ASSERT_TRUE(services.messages.empty());
    }
    ui::Color pictureAt(int x, int y) const {
        const QImage img = zolt->pic12->pixmap().toImage();
        const QRgb c = img.pixel(x, y);
        return ui::Color{static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)), static_cast<std::uint8_t>(qBlue(c))};
    }
    void typeKey(QWidget* w, int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
    }

    ui::testing::FakeServices services;
    model::Document doc;
    model::WindowShown shown;
    catalog::TourokuTable touroku;
    std::unique_ptr<TZOLTData> zolt;
};

} // namespace

TEST_F(CatalogForms, SelectionDialogSearchesShowsTheConeInTheLightColourAndRefusesAsymmetry) {
    zolt->prepare("", 'J');
    EXPECT_EQ(zolt->windowTitle(), "品番登録");
    EXPECT_FALSE(zolt->Button1->isEnabled());
    EXPECT_EQ(zolt->listHinban->count(), 0);
    EXPECT_FALSE(zolt->listLampName->isHidden());
    EXPECT_TRUE(zolt->listLampNameA->isHidden());

    zolt->txtHinbanChange("DS-1");
    EXPECT_TRUE(zolt->Button1->isEnabled());
    zolt->Button1Click();
    EXPECT_EQ(static_cast<std::size_t>(zolt->listHinban->count()), zolt->catalogue().searchProducts("DS-1").size());
    EXPECT_EQ(zolt->listHinban->currentRow(), 0);
    EXPECT_EQ(zolt->txtHinban->text(), "DS-1000");
    EXPECT_EQ(zolt->listLampName->count(), zolt->listLampNameA->count());
    EXPECT_TRUE(zolt->cmdOK->isEnabled());
    EXPECT_EQ(zolt->labKaku->text(), " 8ﾟ");
    EXPECT_EQ(zolt->labKaku2->text(), "(15ﾟ)");
    // Inside the narrow cone the lamp's light colour (2700 K), beside it white, the cone's edge black.
    const auto warm = zolt->catalogue().lightColors().colourOf(2700);
    ASSERT_TRUE(warm.has_value());
    EXPECT_EQ(pictureAt(15, 20), ui::Color::fromColorRef(*warm));
    EXPECT_EQ(pictureAt(3, 20), ui::colors::white);
    EXPECT_EQ(pictureAt(15, 0), ui::colors::black);

    zolt->txtHinbanChange("DS-10");
    EXPECT_FALSE(zolt->cmdOK->isEnabled());
    EXPECT_EQ(zolt->listHinban->count(), 0);
    EXPECT_EQ(zolt->listLampName->count(), 0);

    zolt->prepare("WW-1007B", 'A');
    EXPECT_FALSE(zolt->cmdOK->isEnabled());
    EXPECT_EQ(zolt->labMessage->text().toStdString(), catalog::kMsgAsymmetric);
    EXPECT_TRUE(zolt->listLampName->isHidden());
    zolt->listLampNameClick(1);
    EXPECT_EQ(zolt->listLampName->currentRow(), 1);
    EXPECT_EQ(zolt->listLampNameA->currentRow(), 1);
}

TEST_F(CatalogForms, EnterInTheProductBoxListsWhatTheSearchButtonLists) {
    zolt->prepare("", 'J');
    zolt->show();
    for (const QChar c : QStringLiteral("DS-1")) typeKey(zolt->txtHinban, c.unicode(), QString(c));
    typeKey(zolt->txtHinban, Qt::Key_Return, QStringLiteral("\r"));
    const std::size_t all = zolt->catalogue().searchProducts("DS-1").size();
    ASSERT_GT(all, 1u);
    EXPECT_EQ(static_cast<std::size_t>(zolt->listHinban->count()), all);
    EXPECT_EQ(zolt->listHinban->currentRow(), 0);
    zolt->hide();
}

TEST_F(CatalogForms, RegistrationWindowRegistersThroughTheDialogAndFiltersFluxKeys) {
    TfrmKigu kigu(touroku, doc, shown, services, *zolt);
    kigu.tabs->setCurrentIndex(3);
    EXPECT_EQ(kigu.registration().tab(), 3);
    doc.resultValid = true;
    QTimer::singleShot(0, [this] {
        zolt->txtHinbanChange("FL-1007B");
        zolt->Button1Click();
        zolt->cmdOKClick();
    });
    kigu.LtClick(2);
    EXPECT_EQ(touroku[20].hinban, "FL-1007B");
    EXPECT_FALSE(doc.resultValid);
    EXPECT_EQ(kigu.rows[1].Hin->text(), "FL-1007B");
    EXPECT_EQ(kigu.rows[1].Mid->text(), "Lm X");
    kigu.tabs->setCurrentIndex(0);
    EXPECT_EQ(kigu.rows[1].Hin->text(), "");
    kigu.tabs->setCurrentIndex(3);
    EXPECT_EQ(kigu.rows[1].Hin->text(), "FL-1007B");

    // Choosing the slot makes it the main window's current type.
    kigu.imgMouseDown(2, false);
    EXPECT_EQ(doc.selectedType, 20);
    EXPECT_EQ(kigu.rows[1].img->pixmap().toImage(), kigu.slotPixmap(20, catalog::SlotPicture::Current).toImage());

    // Flux keys: digits pass, a decimal point does not.
    QLineEdit* kou = kigu.rows[1].Kou;
    kou->setCursorPosition(kou->text().size());
    const QString before = kou->text();
    typeKey(kou, Qt::Key_Period, ".");
    EXPECT_EQ(kou->text(), before);
    typeKey(kou, Qt::Key_5, "5");
    EXPECT_EQ(kou->text(), before + "5");
    EXPECT_EQ(touroku[20].kou, (before + "5").toInt());
    EXPECT_EQ(kou->toolTip().toStdString(), std::to_string(touroku[20].kouCatalog) + "を変更");

    // Cancelling with fixtures placed asks, and Yes removes them from the plan.
    model::addFixture(doc, shown, touroku, 10, 10, 20);
    model::addFixture(doc, shown, touroku, 20, 20, 5);
    model::addFixture(doc, shown, touroku, 30, 30, 20);
    kigu.updateCounts();
    EXPECT_EQ(kigu.rows[1].labKosuu->text(), "2");
    kigu.imgMouseDown(2, true);
    services.answers.push_back(ui::Answer::Yes);
    kigu.mnuCancelClick();
    EXPECT_EQ(doc.plan.kigu.count(), 1);
    EXPECT_EQ(doc.plan.kigu[1].typeIndex, 5);
    EXPECT_EQ(doc.selectedType, -1);
    EXPECT_EQ(kigu.rows[1].Hin->text(), "");

    bool closed = false;
    kigu.onClose = [&] { closed = true; };
    kigu.show();
    kigu.btnClose->click();
    EXPECT_TRUE(closed);
    EXPECT_TRUE(kigu.isHidden());
}

TEST_F(CatalogForms, RegistrationWindowsWattBoxKeepsAPowerRefusesOthersAndANewProductStartsWithout) {
    TfrmKigu kigu(touroku, doc, shown, services, *zolt);
    kigu.tabs->setCurrentIndex(3);
    auto registerFl = [&] {
        QTimer::singleShot(0, [this] {
            zolt->txtHinbanChange("FL-1007B");
            zolt->Button1Click();
            zolt->cmdOKClick();
        });
        kigu.LtClick(2);
    };
    QLineEdit* watt = kigu.rows[1].txtWatt;
    EXPECT_TRUE(watt->isReadOnly());  // a free slot has no power to give
    registerFl();
    ASSERT_EQ(touroku[20].hinban, "FL-1007B");
    EXPECT_FALSE(watt->isReadOnly());
    EXPECT_EQ(watt->text(), "");
    doc.dataChanged = false;
    doc.resultValid = true;

    auto enter = [&](const QString& text) {
        watt->setText(text);
        typeKey(watt, Qt::Key_Return, "\r");
    };
    enter(" 36.504 ");
    EXPECT_FLOAT_EQ(touroku[20].watts, 36.5f);
    EXPECT_EQ(watt->text(), "36.5");
    EXPECT_TRUE(doc.dataChanged);   // the file no longer holds what the window shows
    EXPECT_TRUE(doc.resultValid);   // power is no part of the illuminance

    for (const char* wrong : {"abc", "-1", "100000.5", "nan"}) {
        enter(wrong);
        EXPECT_FLOAT_EQ(touroku[20].watts, 36.5f) << wrong;
        EXPECT_EQ(watt->text(), "36.5") << wrong;
    }
    EXPECT_EQ(services.errors.size(), 4u);

    // The tab shown again shows the stored power; a new product in the slot starts without one.
    kigu.tabs->setCurrentIndex(0);
    EXPECT_EQ(watt->text(), "");
    kigu.tabs->setCurrentIndex(3);
    EXPECT_EQ(watt->text(), "36.5");
    registerFl();
    EXPECT_EQ(touroku[20].watts, 0.0f);
    EXPECT_EQ(watt->text(), "");
}

TEST_F(CatalogForms, TheHundredAndEightSlotPicturesAreAllDifferent) {
    TfrmKigu kigu(touroku, doc, shown, services, *zolt);
    std::set<QByteArray> seen;
    for (int slot = 1; slot <= 36; ++slot) {
        for (auto st : {catalog::SlotPicture::Free, catalog::SlotPicture::Registered, catalog::SlotPicture::Current}) {
            const QImage img = kigu.slotPixmap(slot, st).toImage().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(img.width(), catalog::kSlotPictureSize);
            seen.insert(QByteArray(reinterpret_cast<const char*>(img.constBits()), static_cast<int>(img.sizeInBytes())));
        }
    }
    EXPECT_EQ(seen.size(), 108u);
}

TEST_F(CatalogForms, ListWindowShowsPlacedTypesAndWritesBackAllButTheQuantity) {
    catalog::HaikouMdb m;
    m.hinban = "DL-1";
    m.lampName = "電球色";
    m.lampNameA = "LED-L";
    m.tosu = 1;
    m.kou = m.kouCatalog = 800;
    touroku.registerSlot(3, m);
    touroku.registerSlot(20, m);
    touroku[20].placedCount = 4;
    TfrmList list(touroku, services);
    int refreshed = 0;
    list.onWrittenBack = [&] { ++refreshed; };
    list.showList('J');
    EXPECT_EQ(list.windowTitle(), "リスト表の変更");
    ASSERT_EQ(list.StGrid->rowCount(), 1);
    EXPECT_EQ(list.rowSlots(), std::vector<int>{20});
    EXPECT_EQ(list.StGrid->item(0, 2)->text(), "電球色");
    EXPECT_EQ(list.StGrid->width(), 530);
    list.StGrid->item(0, 4)->setText("750");
    list.StGrid->item(0, 5)->setText("99");
    list.btnOKClick();
    EXPECT_EQ(touroku[20].kou, 750);
    EXPECT_EQ(touroku[20].kouCatalog, 800);
    EXPECT_EQ(touroku[20].placedCount, 4);
    EXPECT_EQ(refreshed, 1);
    EXPECT_TRUE(list.isVisible());
}

namespace {

TEST(RegistrationHost, ClearingASlotRemovesEveryFixtureOfItKeepingTheOthersInOrderAndAsksForARedraw) {
    model::Document doc;
    model::WindowShown shown;
    catalog::TourokuTable touroku;
    for (int slot : {1, 2}) {
        catalog::HaikouMdb m;
        m.hinban = "TEST-" + std::to_string(slot);
        touroku.registerSlot(slot, m);
    }
    model::addFixture(doc, shown, touroku, 10, 10, 1);
    model::addFixture(doc, shown, touroku, 20, 20, 2);
    model::addFixture(doc, shown, touroku, 30, 30, 1);
    model::addFixture(doc, shown, touroku, 40, 40, 2);
    doc.resultValid = true;
    catalog::forms::DocumentRegistrationHost host(doc, shown, touroku);
    int redraws = 0;
    host.fixturesDeleted = [&] { ++redraws; };
    host.deleteFixturesOfSlot(1);
    ASSERT_EQ(doc.plan.kigu.count(), 2);
    EXPECT_EQ(doc.plan.kigu[1].x, 20);
    EXPECT_EQ(doc.plan.kigu[2].x, 40);
    EXPECT_EQ(touroku[1].placedCount, 0);
    EXPECT_EQ(touroku[2].placedCount, 2);
    EXPECT_FALSE(doc.resultValid);
    EXPECT_EQ(redraws, 1);
}

} // namespace
