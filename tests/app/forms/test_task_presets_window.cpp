// Kinds of task in the real task-area dialog: the shipped and the user's rows fill the requirement, the
// choice is kept in the project beside the areas, and typing over the figures makes them the user's own.
#include "app/forms/RealProgram.h"
#include "editor/forms/TfrmTaskArea.h"
#include "model/ProjectFile.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using testsupport::Program;

// Answers the next task-area dialog: the kind of task by its name, then, when given, typed figures.
void answerWithKind(const char* name, const char* kind, const char* typedLux, QStringList* shown) {
    testsupport::whenModal([=](QWidget* w) {
        auto* dialog = qobject_cast<editor::forms::TfrmTaskArea*>(w);
        ASSERT_NE(dialog, nullptr) << "the task-area dialog";
        dialog->txtName->setText(QString::fromUtf8(name));
        const int i = dialog->cboxKind->findText(QString::fromUtf8(kind));
        ASSERT_GT(i, 0) << kind;
        dialog->cboxKind->setCurrentIndex(i);
        emit dialog->cboxKind->activated(i);
        *shown << dialog->txtLux->text() << dialog->txtU0->text();
        if (typedLux) {
            dialog->txtLux->selectAll();
            QTest::keyClicks(dialog->txtLux, QString::fromUtf8(typedLux));
        }
        dialog->btnOK->click();
    });
}

TEST(TaskPresetsWindow, AKindOfTaskFillsTheRequirementAndTheProjectKeepsIt) {
    const auto config = std::filesystem::temp_directory_path() / "ordivan_presets_config";
    std::filesystem::create_directories(config / "ORDIVAN");
    // The user's rows: one new (its name quoted for the comma), one replacing a shipped row, one broken.
    std::ofstream(config / "ORDIVAN" / "task_presets.csv", std::ios::binary)
        << "name,lux,uniformity,ugr_limit,ra,source\n\"検査, 精密\",1000,0.70,19,90,社内基準\n受付,400,0.50,22,80,社内基準\n"
           "壊れた行,abc,0.5,19,80,x\n";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);

    Program prog;
    prog.openSample();
    prog.click("imgArea");
    QStringList shown;
    answerWithKind("製図台", "製図", nullptr, &shown);
    prog.press(200, 180);
    prog.press(600, 450);
    answerWithKind("検査台", "検査, 精密", nullptr, &shown);
    prog.press(760, 560);
    prog.press(1000, 700);
    answerWithKind("受付", "受付", "350", &shown);
    prog.press(1050, 560);
    prog.press(1250, 860);
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(config);

    EXPECT_EQ(shown, (QStringList{"750", "0.70", "1000", "0.70", "400", "0.50"}));
    const auto& areas = prog.doc().plan.areas;
    ASSERT_EQ(areas.size(), 3u);
    EXPECT_EQ(areas[0].preset, "製図");
    EXPECT_EQ(areas[0].requiredLux, 750);
    EXPECT_FLOAT_EQ(areas[0].requiredUniformity, 0.7f);
    EXPECT_EQ(areas[1].preset, "検査, 精密");
    EXPECT_EQ(areas[1].requiredLux, 1000);
    // Typed over: the user's own requirement, the preset's uniformity left as it was filled.
    EXPECT_EQ(areas[2].preset, "");
    EXPECT_EQ(areas[2].requiredLux, 350);

    // The file keeps the areas as before and the kinds in their own section after the others.
    const std::string bytes = model::projectBytes(prog.doc(), prog.p->touroku);
    EXPECT_NE(bytes.find(",750,0.70,"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nAREAKIND\r\n1,"), std::string::npos);
    EXPECT_EQ(bytes.find("\r\n3,", bytes.find("AREAKIND")), std::string::npos) << "a typed requirement has no kind";
    model::ProjectContent content;
    ASSERT_EQ(model::parseProjectBytes(bytes, content), model::ParseError::None);
    ASSERT_EQ(content.areas.size(), 3u);
    EXPECT_EQ(content.areas[0].preset, "製図");
    EXPECT_EQ(content.areas[1].preset, "検査, 精密");
    EXPECT_EQ(content.areas[2].preset, "");
    // A kind for an area the file does not have is damage.
    EXPECT_EQ(model::parseProjectBytes(bytes + "AREAKIND\r\n4,X\r\nEND\r\n", content), model::ParseError::Malformed);
}

} // namespace
