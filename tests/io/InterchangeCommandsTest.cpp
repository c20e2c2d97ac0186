// The DXF save command flow and the export picture of the plan view, with its copy and save commands.
#include "io/DxfSaveCommand.h"
#include "io/ExportPicture.h"

#include "IoTestSupport.h"
#include "ui/qt/HeadlessServices.h"
#include "ui/qt/QtSurface.h"
#include "ui/testing/FakeServices.h"

#include <QImage>
#include <gtest/gtest.h>

#include <sstream>

namespace {

class ScriptedDialog : public io::DxfOutTypeDialog {
public:
    int answer = 2;
    int shown = 0;
    io::DxfNoteTexts texts;
    int showModal() override {
        ++shown;
        return answer;
    }
    io::DxfNoteTexts noteTexts() const override { return texts; }
};

class DxfSaveCommand : public ::testing::Test {
protected:
    DxfSaveCommand() {
        doc.plan.mmPerPixel = 5.0f;
        doc.surfaceWidth = 300;
        doc.surfaceHeight = 200;
        for (int i = 1; i <= 6; ++i) doc.tables.luxLevel[static_cast<std::size_t>(i)] = 50 * i;
        contours.levels = {50, 100, 150, 200, 250, 300};
        contours.points.resize(6);
    }
    bool run() {
        return io::mnuDxfSaveClick(dialog, io::DxfExportInput{doc, contours, stats, {}},
                                   io::dxfTemplatesIn(iotest::templateDir().string()), services);
    }
    iotest::ScratchDir dir;
    model::Document doc;
    calc::ContourSet contours;
    calc::ResultStats stats;
    ScriptedDialog dialog;
    ui::testing::FakeServices services;
};

TEST_F(DxfSaveCommand, CancelledDialogOrFileNameWritesNothingAndSaysNothing) {
    dialog.answer = 2;
    EXPECT_FALSE(run());
    EXPECT_TRUE(services.saveRequests.empty());

    dialog.answer = 11;
    services.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(run());
    services.fileAnswers.push_back(std::string());
    EXPECT_FALSE(run());
    ASSERT_EQ(services.saveRequests.size(), 2u);
    EXPECT_EQ(services.saveRequests[0].filter, "DXFﾌｧｲﾙ (*.DXF) | *.DXF");
    EXPECT_EQ(services.saveRequests[0].defaultExtension, "DXF");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(DxfSaveCommand, TheChosenTypeAndTheDialogsTextsReachTheFile) {
    dialog.answer = 12;
    dialog.texts.midasi = "会議室Ａ";
    const auto path = dir / "plan.DXF";
    services.fileAnswers.push_back(path.string());
    ASSERT_TRUE(run());
    const iotest::Probe p = iotest::probeDxf(path);
    EXPECT_EQ(p.auditErrors(), 0) << p.raw;
    const auto t = p.of("TEXT");
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[0][6], "会議室Ａ");
}

// A plan picture with something on it, and a legend that paints a 150 × 130 block with a frame.
class ExportPicture : public ::testing::Test {
protected:
    ExportPicture() : plan(400, 300) {
        plan.fillRect(ui::Rect{0, 0, 400, 300}, ui::colors::white);
        plan.setPen(ui::Pen{ui::colors::red, 3});
        plan.moveTo(10, 10);
        plan.lineTo(390, 290);
        services.surfaceFactory = [](int w, int h) { return std::make_unique<ui::qt::ImageSurface>(w, h); };
        legend.draw = [](ui::Surface& s, ui::Point at) {
            s.fillRect(ui::Rect{at.x, at.y, at.x + 150, at.y + 130}, legendColour);
        };
    }
    static constexpr ui::Color legendColour{0, 200, 100};
    ui::qt::ImageSurface plan;
    io::LegendStamp legend;
    ui::testing::FakeServices services;
    model::Document doc;
};

TEST_F(ExportPicture, WithTheLegendHiddenThePictureIsThePlanSurface) {
    legend.visible = false;
    legend.topLeft = {10, 10};
    const auto pic = io::buildExportPicture(plan, legend, services);
    ASSERT_TRUE(pic);
    ASSERT_EQ(pic->width(), 400);
    ASSERT_EQ(pic->height(), 300);
    EXPECT_EQ(ui::qt::toQImage(*pic), ui::qt::toQImage(plan));
}

TEST_F(ExportPicture, AVisibleLegendIsStampedWhereItOverlapsThePlan) {
    legend.visible = true;
    // Moved partly off the plan, over its right and top edges.
    legend.topLeft = {320, -40};
    const auto pic = io::buildExportPicture(plan, legend, services);
    ASSERT_TRUE(pic);
    for (int y = 0; y < 300; y += 7) {
        for (int x = 0; x < 400; x += 7) {
            const bool inside = x >= 320 && y < 90;
            EXPECT_EQ(pic->pixel(x, y), inside ? legendColour : plan.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST_F(ExportPicture, TheResultLegendWindowStampsItsPictureWhereItFloatsOverThePlan) {
    view::MainWindowGeometry main;
    main.left = 100, main.top = 50, main.width = 504;  // the legend opens 200 in from the right edge
    main.outerHeight = 800, main.clientHeight = 750;  // 50 for frame, caption and menu
    main.panelUpHeight = 40;
    view::LegendWindow window;
    window.position = view::legendPlacement(main);
    window.picture = std::make_unique<ui::qt::ImageSurface>(150, 130);
    window.picture->fillRect(ui::Rect{0, 0, 150, 130}, legendColour);
    EXPECT_FALSE(io::legendStampOf(window, main).visible) << "a hidden window is not stamped";
    window.visible = true;
    const io::LegendStamp stamp = io::legendStampOf(window, main);
    EXPECT_EQ(stamp.topLeft, (ui::Point{300, 10}));
    const auto pic = io::buildExportPicture(plan, stamp, services);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->pixel(300, 10), legendColour);
    EXPECT_EQ(pic->pixel(399, 139), legendColour) << "clipped at the plan's right edge";
    EXPECT_EQ(pic->pixel(299, 10), plan.pixel(299, 10));
    EXPECT_EQ(pic->pixel(350, 140), plan.pixel(350, 140));
}

TEST_F(ExportPicture, SaveAsksWithTheRememberedNameAndRemembersTheNewOne) {
    doc.bitmapSaveFileName = "C:/old.BMP";
    services.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(io::pmnuSaveClick(doc, plan, legend, services));
    ASSERT_EQ(services.saveRequests.size(), 1u);
    EXPECT_EQ(services.saveRequests[0].filter, "BMPﾌｧｲﾙ(*.BMP) |*.BMP");
    EXPECT_EQ(services.saveRequests[0].defaultExtension, "BMP");
    EXPECT_EQ(services.saveRequests[0].initialName, "C:/old.BMP");
    EXPECT_EQ(doc.bitmapSaveFileName, "C:/old.BMP");
    EXPECT_TRUE(services.savedBitmaps.empty());

    services.fileAnswers.push_back(std::string("/tmp/new.BMP"));
    EXPECT_TRUE(io::pmnuSaveClick(doc, plan, legend, services));
    EXPECT_EQ(doc.bitmapSaveFileName, "/tmp/new.BMP");
    EXPECT_EQ(services.savedBitmaps, std::vector<std::string>{"/tmp/new.BMP"});

    EXPECT_TRUE(io::pmnuCopyClick(plan, legend, services));
    EXPECT_EQ(services.clipboardCopies, 1);
}


TEST_F(ExportPicture, TheSavedBitmapReadsBackWithTheLegendAndAFailedSaveIsReported) {
    iotest::ScratchDir dir;
    std::ostringstream messages;
    ui::qt::HeadlessServices headless(messages);
    legend.visible = true;
    legend.topLeft = {200, 100};
    const auto path = dir / "view.BMP";
    ASSERT_TRUE(io::savePlanPicture(path.string(), plan, legend, headless));
    QImage back(QString::fromStdString(path.string()), "BMP");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(400, 300));
    EXPECT_EQ(back.pixelColor(250, 150), QColor(0, 200, 100));
    EXPECT_EQ(back.pixelColor(10, 10), QColor(255, 0, 0));
    EXPECT_EQ(back.pixelColor(5, 290), QColor(255, 255, 255));

    EXPECT_FALSE(io::savePlanPicture((dir / "missing" / "x.BMP").string(), plan, legend, headless));
    EXPECT_NE(messages.str().find("ファイルが作成出来ません。"), std::string::npos);
    EXPECT_EQ(headless.refusals(), 1);
}

} // namespace

namespace {

TEST(CommandLineDxfExport, WritesWithTheDialogsInitialTextsFromTheDataDirectory) {
    iotest::ScratchDir dir;
    model::Document doc;
    doc.plan.mmPerPixel = 2.0f;
    doc.surfaceWidth = 100;
    doc.surfaceHeight = 100;
    calc::ContourSet contours;
    calc::ResultStats stats;
    ui::testing::FakeServices services;
    const auto path = dir / "cli.dxf";
    ASSERT_TRUE(io::exportDxf(path.string(), *io::dxfOutTypeFromName("black"), io::DxfExportInput{doc, contours, stats, {}},
                              iotest::templateDir().string(), services));
    const iotest::Probe p = iotest::probeDxf(path);
    EXPECT_EQ(p.auditErrors(), 0) << p.raw;
    const auto t = p.of("TEXT");
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[0][6], io::DxfNoteTexts{}.midasi);
    EXPECT_EQ(t[7][6], "■現場状況により、実際の照度とは異なる場合があります。");
}

} // namespace
