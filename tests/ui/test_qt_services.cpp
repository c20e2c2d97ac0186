// Tests of the Qt services: dialog filters, the default extension, the integer key filter, message boxes, the file type.
#include "base/TextFile.h"
#include "ui/FileFilter.h"
#include "ui/KeyFilter.h"
#include "ui/qt/FormKit.h"
#include "ui/qt/QtServices.h"
#include "support/QtApp.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

QString readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

TEST(FileFilter, ReadsThePairsWithBlanksAroundThePatterns) {
    const auto save = ui::parseFilter("ORDIVANﾌｧｲﾙ (*.OLE) | *.OLE");
    ASSERT_EQ(save.size(), 1u);
    EXPECT_EQ(save[0].description, "ORDIVANﾌｧｲﾙ (*.OLE)");
    EXPECT_EQ(save[0].patterns, std::vector<std::string>{"*.OLE"});

    const auto two = ui::parseFilter("DXFﾌｧｲﾙ (*.DXF) | *.DXF|すべて|*.dxf;*.DXF|dangling");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].patterns, (std::vector<std::string>{"*.dxf", "*.DXF"}));
    EXPECT_TRUE(ui::parseFilter("").empty());
    EXPECT_TRUE(ui::parseFilter("only a description").empty());

    const QStringList qt = ui::qt::qtNameFilters("BMPﾌｧｲﾙ(*.BMP) |*.BMP");
    ASSERT_EQ(qt.size(), 1);
    EXPECT_EQ(qt[0], QStringLiteral("BMPﾌｧｲﾙ(*.BMP) (*.BMP)"));
}

TEST(FileFilter, TheDefaultExtensionIsAddedOnlyToNamesWithoutOne) {
    EXPECT_EQ(ui::withDefaultExtension("/tmp/plan", "OLE"), "/tmp/plan.OLE");
    EXPECT_EQ(ui::withDefaultExtension("/tmp/plan.ole", "OLE"), "/tmp/plan.ole");
    EXPECT_EQ(ui::withDefaultExtension("/tmp/v1.2/plan", "OLE"), "/tmp/v1.2/plan.OLE");
    EXPECT_EQ(ui::withDefaultExtension("C:\\a.b\\plan", "BMP"), "C:\\a.b\\plan.BMP");
    EXPECT_EQ(ui::withDefaultExtension("/tmp/plan", ""), "/tmp/plan");
}

TEST(IntegerKeys, DigitsMinusAndTheArrowCodeCharactersPassButNotThePoint) {
    for (char32_t c : {U'0', U'9', U'-', U'%', U'&', U'\'', U'(', char32_t{8}, char32_t{13}}) EXPECT_TRUE(ui::integerEditAccepts(c));
    for (char32_t c : {U'.', U',', U'a', U'+', U')', U' ', U'１'}) EXPECT_FALSE(ui::integerEditAccepts(c));

    testsupport::qtApp();
    QLineEdit edit;
    ui::qt::IntegerKeyFilter::install(&edit);
    for (const QString& t : {QStringLiteral("1"), QStringLiteral("."), QStringLiteral("2"), QStringLiteral("x"), QStringLiteral("-")}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, t);
        QApplication::sendEvent(&edit, &press);
    }
    EXPECT_EQ(edit.text(), QStringLiteral("12-"));
}

TEST(QtMessageBoxes, ShowTheTextTitleIconAndJapaneseButtonsAndAnswerTheClickedOne) {
    testsupport::qtApp();
    ui::qt::QtServices services;
    QString seenTitle, seenText;
    QStringList seenButtons;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    testsupport::whenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        for (auto* b : box->buttons()) seenButtons << b->text();
        for (auto* b : box->buttons()) {
            if (b->text() == QStringLiteral("ｷｬﾝｾﾙ")) b->click();
        }
    });
    const auto answer = services.messageBox("データが変更されています。\n再計算します。", "再計算", ui::Icon::Stop, ui::Buttons::OkCancel);
    EXPECT_EQ(answer, ui::Answer::Cancel);
    EXPECT_EQ(seenTitle, QStringLiteral("再計算"));
    EXPECT_EQ(seenText, QStringLiteral("データが変更されています。\n再計算します。"));
    EXPECT_EQ(seenIcon, QMessageBox::Critical);
    EXPECT_TRUE(seenButtons.contains(QStringLiteral("OK")));
    EXPECT_TRUE(seenButtons.contains(QStringLiteral("ｷｬﾝｾﾙ")));

    testsupport::whenModal([](QWidget* w) {
        for (auto* b : qobject_cast<QMessageBox*>(w)->buttons()) {
            if (b->text() == QStringLiteral("はい(&Y)")) b->click();
        }
    });
    EXPECT_EQ(services.messageBox("データを保存しますか？", "", ui::Icon::Question, ui::Buttons::YesNoCancel), ui::Answer::Yes);

    // The general error box: the program's name as title, a stop icon, one OK.
    services.setErrorTitle(QStringLiteral("ORDIVAN"));
    testsupport::whenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenButtons.clear();
        for (auto* b : box->buttons()) seenButtons << b->text();
        box->buttons().front()->click();
    });
    services.showError("'abc' は数値ではありません");
    EXPECT_EQ(seenTitle, QStringLiteral("ORDIVAN"));
    EXPECT_EQ(seenText, QStringLiteral("'abc' は数値ではありません"));
    EXPECT_EQ(seenButtons, QStringList{QStringLiteral("OK")});
}

TEST(FileAssociation, WritesAUserMimeTypeAndDesktopEntryAndReportsCreatedThenChanged) {
    testsupport::qtApp();
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString data = home.path() + QStringLiteral("/share");
    const QString config = home.path() + QStringLiteral("/config");
    QDir().mkpath(config);
    {
        QFile f(config + QStringLiteral("/mimeapps.list"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Default Applications]\ntext/plain=editor.desktop\napplication/x-ordivan-project=old.desktop\n[Added Associations]\nimage/png=viewer.desktop\n");
    }
    ui::qt::QtServices services;
    services.setAssociationHomes(data, config);
    services.setExecutablePath(QStringLiteral("/opt/my tools/ordivan"));

    EXPECT_EQ(services.associateProjectFiles(), ui::AssociationResult::Created);
    const QString mime = readAll(data + QStringLiteral("/mime/packages/x-ordivan-project.xml"));
    EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.OLE\"/>")));
    const QString desktop = readAll(data + QStringLiteral("/applications/ordivan.desktop"));
    EXPECT_TRUE(desktop.contains(QStringLiteral("Exec=\"/opt/my tools/ordivan\" %f")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("MimeType=application/x-ordivan-project;")));
    const QString list = readAll(config + QStringLiteral("/mimeapps.list"));
    EXPECT_TRUE(list.contains(QStringLiteral("text/plain=editor.desktop")));
    EXPECT_TRUE(list.contains(QStringLiteral("image/png=viewer.desktop")));
    EXPECT_TRUE(list.contains(QStringLiteral("application/x-ordivan-project=ordivan.desktop")));
    EXPECT_FALSE(list.contains(QStringLiteral("old.desktop")));
    EXPECT_EQ(list.count(QStringLiteral("application/x-ordivan-project=")), 1);

    EXPECT_EQ(services.associateProjectFiles(), ui::AssociationResult::Changed);
    EXPECT_EQ(readAll(config + QStringLiteral("/mimeapps.list")).count(QStringLiteral("application/x-ordivan-project=")), 1);
}

TEST(FileAssociation, BesideAnInstalledPackageOnlyTheDefaultIsSetSoNoUserEntryHidesThePackagedOne) {
    testsupport::qtApp();
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString data = home.path() + QStringLiteral("/share");
    const QString config = home.path() + QStringLiteral("/config");
    const QString system = home.path() + QStringLiteral("/usr-share");
    ui::qt::QtServices services;
    services.setAssociationHomes(data, config, {home.path() + QStringLiteral("/usr-local-share"), system});
    // No package: the user's own type and entry make the association.
    EXPECT_EQ(services.associateProjectFiles(), ui::AssociationResult::Created);
    EXPECT_TRUE(QFileInfo::exists(data + QStringLiteral("/applications/ordivan.desktop")));
    QDir(data).removeRecursively();

    QDir().mkpath(system + QStringLiteral("/applications"));
    QFile packaged(system + QStringLiteral("/applications/ordivan.desktop"));
    ASSERT_TRUE(packaged.open(QIODevice::WriteOnly));
    packaged.close();
    EXPECT_EQ(services.associateProjectFiles(), ui::AssociationResult::Changed);
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("/applications/ordivan.desktop")));
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("/mime/packages/x-ordivan-project.xml")));
    EXPECT_EQ(readAll(config + QStringLiteral("/mimeapps.list")),
              QStringLiteral("[Default Applications]\napplication/x-ordivan-project=ordivan.desktop\n"));
}

TEST(FileAssociation, AnUnwritableHomeIsReportedAsTheKeyThatCannotBeCreated) {
    testsupport::qtApp();
    QTemporaryDir home;
    // A file where the data directory should be: no directory can be made below it.
    const QString blocked = home.path() + QStringLiteral("/share");
    QFile f(blocked);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ui::qt::QtServices services;
    services.setAssociationHomes(blocked, home.path() + QStringLiteral("/config"));
    EXPECT_EQ(services.associateProjectFiles(), ui::AssociationResult::CannotCreateKey);
}

TEST(DesktopEntry, QuotesTheProgramAndEscapesTheReservedCharacters) {
    EXPECT_EQ(ui::qt::desktopExecFor(QStringLiteral("/usr/bin/ordivan")), QStringLiteral("\"/usr/bin/ordivan\" %f"));
    EXPECT_EQ(ui::qt::desktopExecFor(QStringLiteral("/a$b/\"c\"")), QStringLiteral("\"/a\\\\$b/\\\\\"c\\\\\"\" %f"));
    EXPECT_EQ(ui::qt::withDefaultApplication(QString(), QStringLiteral("a/b"), QStringLiteral("x.desktop")),
              QStringLiteral("[Default Applications]\na/b=x.desktop\n"));
}

} // namespace

#include "ui/qt/QtSurface.h"

#include <QClipboard>
#include <QFileDialog>
#include <QSettings>
#include <QImageReader>

namespace {

TEST(QtPictures, TheClipboardAndBitmapFilesReceiveThePicture) {
    testsupport::qtApp();
    ui::qt::QtServices services(96);
    auto picture = services.createSurface(40, 30);
    ASSERT_EQ(picture->width(), 40);
    picture->setPixel(5, 6, ui::Color{255, 0, 0});
    ASSERT_TRUE(services.copyToClipboard(*picture));
    const QImage fromClipboard = QGuiApplication::clipboard()->image();
    ASSERT_EQ(fromClipboard.size(), QSize(40, 30));
    EXPECT_EQ(fromClipboard.pixelColor(5, 6), QColor(255, 0, 0));

    QTemporaryDir dir;
    const std::string path = (dir.path() + QStringLiteral("/view.BMP")).toStdString();
    ASSERT_TRUE(services.saveBitmap(*picture, path));
    QImageReader reader(QString::fromStdString(path));
    EXPECT_EQ(reader.format(), QByteArray("bmp"));
    const QImage back = reader.read();
    EXPECT_EQ(back.pixelColor(5, 6), QColor(255, 0, 0));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(255, 255, 255));
}

TEST(QtFileDialogs, TheSaveDialogOffersTheFilterAndAddsTheDefaultExtension) {
    testsupport::qtApp();
    ui::qt::QtServices services;
    QTemporaryDir dir, before;
    QSettings().setValue(QStringLiteral("lastFolder"), before.path());
    QStringList filters;
    testsupport::whenModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(d, nullptr);
        filters = d->nameFilters();
        d->selectFile(dir.path() + QStringLiteral("/plan"));
        QMetaObject::invokeMethod(d, "accept");
    });
    const auto chosen = services.saveFileDialog({"ORDIVANﾌｧｲﾙ (*.OLE) | *.OLE", "OLE", "", ""});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (dir.path() + QStringLiteral("/plan.OLE")).toStdString());
    EXPECT_EQ(filters, QStringList{QStringLiteral("ORDIVANﾌｧｲﾙ (*.OLE) (*.OLE)")});

    // Nothing written there yet (the write failed, or never came): the folder is not remembered.
    QString startedIn;
    const auto cancelNext = [&] {
        testsupport::whenModal([&](QWidget* w) {
            startedIn = qobject_cast<QFileDialog*>(w)->directory().absolutePath();
            qobject_cast<QFileDialog*>(w)->reject();
        });
        return services.openFileDialog({"DXFﾌｧｲﾙ (*.DXF) | *.DXF", "", "", ""});
    };
    EXPECT_FALSE(cancelNext().has_value());
    EXPECT_EQ(startedIn, QDir(before.path()).absolutePath());
    EXPECT_EQ(QSettings().value(QStringLiteral("lastFolder")).toString(), before.path());

    // Once the file is written, the next dialog starts in its folder, also in the next run (the settings);
    // a cancelled dialog leaves that folder as it was.
    testsupport::whenModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        // Typed as a user types it: selectFile takes a name only once the folder's listing has loaded, which
        // may come later than the accept.
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(dir.path() + QStringLiteral("/plan"));
        QMetaObject::invokeMethod(d, "accept");
    });
    ASSERT_TRUE(services.saveFileDialog({"ORDIVANﾌｧｲﾙ (*.OLE) | *.OLE", "OLE", "", ""}).has_value());
    ASSERT_TRUE(base::writeWholeFile(*chosen, "plan"));
    EXPECT_FALSE(cancelNext().has_value());
    EXPECT_EQ(startedIn, QDir(dir.path()).absolutePath());
    EXPECT_EQ(QSettings().value(QStringLiteral("lastFolder")).toString(), QDir(dir.path()).absolutePath());
}

} // namespace

namespace {

// A save into a kernel folder fails and is not remembered; a kernel folder remembered by an older run is
// not where the next dialog starts (its file list could hang the program).
TEST(QtFileDialogs, AKernelFolderIsNeitherRememberedNorStartedIn) {
    testsupport::qtApp();
    ui::qt::QtServices services;
    QTemporaryDir dir;
    QSettings().setValue(QStringLiteral("lastFolder"), dir.path());
    testsupport::whenModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(d, nullptr);
        d->selectFile(QStringLiteral("/proc/plan.OLE"));
        QMetaObject::invokeMethod(d, "accept");
    });
    const auto chosen = services.saveFileDialog({"ORDIVANﾌｧｲﾙ (*.OLE) | *.OLE", "OLE", "", ""});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QSettings().value(QStringLiteral("lastFolder")).toString(), dir.path());

    QSettings().setValue(QStringLiteral("lastFolder"), QStringLiteral("/proc"));
    QString startedIn;
    testsupport::whenModal([&](QWidget* w) {
        startedIn = qobject_cast<QFileDialog*>(w)->directory().absolutePath();
        qobject_cast<QFileDialog*>(w)->reject();
    });
    EXPECT_FALSE(services.openFileDialog({"DXFﾌｧｲﾙ (*.DXF) | *.DXF", "", "", ""}).has_value());
    EXPECT_FALSE(startedIn.startsWith(QStringLiteral("/proc"))) << startedIn.toStdString();
}

// The CSV files and the printed sheets are dated in the system's short form, whatever the language.
TEST(QtServicesDate, TodayIsTheSystemsShortDate) {
    testsupport::qtApp();
    ui::qt::QtServices services;
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const QString japanese = QString::fromStdString(services.today());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString english = QString::fromStdString(services.today());
    QLocale::setDefault(before);
    const QDate d = QDate::currentDate();
    EXPECT_EQ(japanese, d.toString(QStringLiteral("yyyy/MM/dd")));
    EXPECT_EQ(english, d.toString(QStringLiteral("M/d/yy")));
}

} // namespace
