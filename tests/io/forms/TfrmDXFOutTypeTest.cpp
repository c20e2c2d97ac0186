// The DXF output-type dialog: captions, initial texts, the results of its buttons, and texts kept between showings.
#include "io/forms/TfrmDXFOutType.h"
#include "support/QtApp.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QApplication& app() { return testsupport::qtApp(); }

// Shows the dialog modally and lets `act` press something once it is up.
int showAndDo(io::forms::TfrmDXFOutType& dlg, std::function<void()> act) {
    QTimer::singleShot(0, &dlg, [act] { act(); });
    return dlg.showModal();
}

TEST(TfrmDXFOutType, CarriesItsCaptionsAndInitialTexts) {
    app();
    io::forms::TfrmDXFOutType dlg;
    EXPECT_EQ(dlg.btnColorOut->text().toStdString(), "DXFファイルの作成");
    EXPECT_EQ(dlg.btnBlackOut->text().toStdString(), "DXFファイルの作成");
    EXPECT_EQ(dlg.btnCancel->text().toStdString(), "キャンセル");
    EXPECT_EQ(dlg.cboxTextColor->text().toStdString(), "照度値の色も変える");
    EXPECT_FALSE(dlg.cboxTextColor->isChecked());
    EXPECT_EQ(dlg.cboxHosoku->text().toStdString(), "以下の文章を出力する");
    EXPECT_TRUE(dlg.cboxHosoku->isChecked());
    EXPECT_EQ(dlg.txtMidasi->text().toStdString(), "■机上面(床より800)維持照度");
    EXPECT_EQ(dlg.txtHosoku[3]->text().toStdString(), "  空間内における、天井・壁・床等の各部反射率は、考慮されておりません。");
    EXPECT_EQ(dlg.findChild<QLineEdit*>("txtHosoku5")->text().toStdString(), "■現場状況により、実際の照度とは異なる場合があります。");
    std::vector<std::string> labels;
    for (auto* l : dlg.findChildren<QLabel*>()) labels.push_back(l->text().toStdString());
    for (const char* want : {"出力タイプ", "等高線は照度で色分け", "壁、表示有り。柱、器具のプロットなし", "全て黒線",
                             "壁、柱、器具プロット有り", "見出し", "補足文章"}) {
        EXPECT_NE(std::find(labels.begin(), labels.end(), want), labels.end()) << want;
    }
}

TEST(TfrmDXFOutType, ButtonsAnswerTheOutputTypeAndEveryOtherCloseCancels) {
    app();
    io::forms::TfrmDXFOutType dlg;
    EXPECT_EQ(dlg.rememberedColorResult(), 10);
    EXPECT_EQ(showAndDo(dlg, [&] { dlg.btnColorOut->click(); }), 10);
    EXPECT_EQ(showAndDo(dlg, [&] { dlg.btnBlackOut->click(); }), 11);
    dlg.cboxTextColor->setChecked(true);
    EXPECT_EQ(showAndDo(dlg, [&] { dlg.btnColorOut->click(); }), 12);
    EXPECT_EQ(dlg.rememberedColorResult(), 12);
    EXPECT_EQ(showAndDo(dlg, [&] { dlg.btnCancel->click(); }), 2);
    EXPECT_EQ(showAndDo(dlg, [&] { dlg.reject(); }), 2);
    EXPECT_EQ(showAndDo(dlg, [&] { dlg.close(); }), 2);
}

TEST(TfrmDXFOutType, EditedTextsStayForTheNextShowingAndReachTheWriter) {
    app();
    io::forms::TfrmDXFOutType dlg;
    showAndDo(dlg, [&] {
        dlg.txtMidasi->setText("見出し２");
        dlg.txtHosoku[1]->setText("");
        dlg.cboxHosoku->setChecked(false);
        dlg.btnBlackOut->click();
    });
    EXPECT_EQ(showAndDo(dlg, [&] { dlg.btnColorOut->click(); }), 10);
    const io::DxfNoteTexts t = dlg.noteTexts();
    EXPECT_FALSE(t.hosoku);
    EXPECT_EQ(t.midasi, "見出し２");
    EXPECT_EQ(t.hosokuLines[1], "");
    EXPECT_EQ(t.hosokuLines[0], "■机上面（床面より800）維持照度で計算しております。");
}

} // namespace
