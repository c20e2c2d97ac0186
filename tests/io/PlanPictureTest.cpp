// The export picture of a calculated plan view: the result display's surface with its legend stamped, saved and read back.
#include "io/ExportPicture.h"

#include "view/ViewTestSupport.h"
#include "view/PlanRender.h"
#include "view/ResultPresenter.h"
#include "ui/qt/HeadlessServices.h"
#include "ui/qt/QtSurface.h"

#include "support/QtApp.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;
using viewtest::addWall;

namespace {

// Text rendering needs the platform's font database.
const bool kQtReady = (testsupport::qtApp(), true);

using Scene = viewtest::ResultScene;

ui::Color colourAt(const QImage& img, int x, int y) {
    const QRgb v = img.pixel(x, y);
    return ui::Color{static_cast<std::uint8_t>(qRed(v)), static_cast<std::uint8_t>(qGreen(v)), static_cast<std::uint8_t>(qBlue(v))};
}

} // namespace

TEST(PlanPicture, SavedPictureShowsWallsClassesTextsAndTheStampedLegend) {
    Scene sc(420, 300);
    addWall(sc.doc, 20, 40, 400, 40);
    addWall(sc.doc, 400, 40, 400, 280);
    addWall(sc.doc, 400, 280, 20, 280);
    addWall(sc.doc, 20, 280, 20, 40);
    addWall(sc.doc, 200, 160, 200, 280);
    model::LineRecord arc;  // a quarter circle from the east radial to the north one around (300, 160)
    arc.kind = 'A';
    arc.x1 = 340, arc.y1 = 160, arc.x2 = 300, arc.y2 = 120, arc.x3 = 260, arc.y3 = 120, arc.x4 = 340, arc.y4 = 200;
    sc.doc.plan.lines.add(arc);
    sc.doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 120, 200, 8, 0});
    sc.doc.plan.hasira.add(model::HasiraRecord{model::kCylindricalPillar, 320, 240, 8, 0});
    const std::vector<model::KiguRecord> kigu = {
        {110, 100, 0, 1, 0, 0, 0, 0}, {310, 100, 500, 8, 0, 0, 0, 0}, {110, 220, -300, 20, 90, 0, 0, 0}, {330, 230, 0, 31, 0, 0, 0, 0}};
    for (const auto& k : kigu) sc.doc.plan.kigu.add(k);
    // A believable result: E = K·h / d³ around each fixture, a bare point source over the work plane.
    for (int row = 0; row < sc.grid.gridHeight; ++row) {
        for (int col = 0; col < sc.grid.gridWidth; ++col) {
            double e = 0.01;
            for (const auto& k : kigu) {
                const double d = std::sqrt((col - k.x) * (col - k.x) + (row - k.y) * (row - k.y) + 120.0 * 120.0);
                e += 1.5e6 * 120.0 / (d * d * d);
            }
            sc.lux(col, row) = static_cast<float>(e);
        }
    }
    sc.settings.showFixturesOnResult = true;

    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    ui::qt::ImageSurface surface(420, 300);
    view::ResultPresenter display(sc.doc, sc.shown, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    display.mainWindow.width = 420 + 5;  // the legend lands 204 pixels in from the right: x = 221

    // What the calculation does after the fixture pass; the interpolation clears square pillars and
    // the grid under the walls of the mask.
    const calc::WallMask walls = display.wallMask().value();
    for (int y = 192; y < 208; ++y)
        for (int x = 112; x < 128; ++x) sc.lux(x, y) = 0.0f;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (walls.black(x, y)) sc.lux(x, y) = 0.0f;
    sc.stats.averageLux = 123;
    sc.stats.maxLux = 456;
    display.present();

    const io::LegendStamp stamp = io::legendStampOf(display.legend(), display.mainWindow);
    const fs::path png = fs::temp_directory_path() / "ordivan_io_plan.png";
    const fs::path bmp = fs::temp_directory_path() / "ordivan_io_plan.bmp";
    ASSERT_TRUE(io::savePlanPicture(png.string(), surface, stamp, services, io::PictureFormat::Png));
    ASSERT_TRUE(io::savePlanPicture(bmp.string(), surface, stamp, services, io::PictureFormat::Bmp));
    const QImage read(QString::fromStdString(png.string()));
    ASSERT_EQ(read.size(), QSize(420, 300));
    EXPECT_EQ(QImage(QString::fromStdString(bmp.string()), "BMP").convertToFormat(QImage::Format_RGB32),
              read.convertToFormat(QImage::Format_RGB32));

    // Away from symbols, every pixel has the class of its grid value.
    int checked = 0;
    for (int y = 45; y < 275; y += 7) {
        for (int x = 25; x < 200; x += 7) {
            bool nearSymbol = false;
            for (const auto& k : kigu) nearSymbol |= std::abs(x - k.x) < 45 && std::abs(y - k.y) < 45;
            if (nearSymbol) continue;
            const std::int32_t v = static_cast<std::int32_t>(sc.lux(x, y));
            int cls = -1;
            for (int k = 0; k < 6; ++k) cls = v >= sc.doc.tables.luxLevel[static_cast<std::size_t>(k + 1)] ? k : cls;
            EXPECT_EQ(colourAt(read, x, y), cls < 0 ? ui::colors::white : sc.doc.tables.classColour[static_cast<std::size_t>(cls)])
                << x << "," << y << " " << v;
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
    EXPECT_EQ(colourAt(read, 100, 40), ui::colors::black) << "wall pixels stay black under a lit area";
    const ui::Point legendAt = view::legendStampPosition(display.legend(), display.mainWindow);
    EXPECT_EQ(legendAt, (ui::Point{221, 14}));
    EXPECT_EQ(colourAt(read, legendAt.x + 27, legendAt.y + 17), sc.doc.tables.classColour[0]) << "the legend's first swatch";
    int dark = 0;  // the average and maximum texts
    for (int y = 8; y < 36; ++y)
        for (int x = 13; x < 120; ++x) dark += colourAt(read, x, y) == ui::colors::black;
    EXPECT_GT(dark, 30);
    EXPECT_TRUE(messages.str().empty());
}

TEST(PlanPicture, WithoutLegendThePictureIsTheSurfaceAndFailuresAreReported) {
    Scene sc(50, 30);
    ui::qt::ImageSurface surface(50, 30);
    surface.setPixel(7, 7, ui::colors::red);
    std::ostringstream messages;
    ui::qt::HeadlessServices services(messages);
    view::ResultPresenter display(sc.doc, sc.shown, sc.grid, sc.stats, sc.settings, sc.contours, surface, services);
    const io::LegendStamp stamp = io::legendStampOf(display.legend(), display.mainWindow);
    EXPECT_FALSE(stamp.visible) << "no legend before a result is shown";
    auto picture = io::buildExportPicture(surface, stamp, services);
    EXPECT_EQ(ui::qt::toQImage(*picture), ui::qt::toQImage(surface));
    EXPECT_TRUE(messages.str().empty());
    EXPECT_FALSE(io::savePlanPicture("/nonexistent-dir/x.png", surface, stamp, services, io::PictureFormat::Png));
    EXPECT_NE(messages.str().find("ファイルが作成出来ません。"), std::string::npos);
}
