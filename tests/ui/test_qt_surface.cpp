// Tests of the Qt drawing surface: exact pixels without antialiasing, XOR rubber bands, arcs, fill, text.
#include "ui/qt/PictureFile.h"
#include "ui/qt/QtSurface.h"

#include <QGuiApplication>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

using ui::Color;
using ui::qt::ImageSurface;

class QtSurfaceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_ui";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) app = new QGuiApplication(argc, argv);
    }
    static inline QGuiApplication* app = nullptr;

    static int countPixels(const ImageSurface& s, const Color& c) {
        int n = 0;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) n += s.pixel(x, y) == c ? 1 : 0;
        return n;
    }
};

TEST_F(QtSurfaceTest, StartsWhiteAndLinesAreExactPixels) {
    ImageSurface s(50, 40);
    EXPECT_EQ(countPixels(s, ui::colors::white), 50 * 40);
    s.setPen({ui::colors::black, 1});
    s.moveTo(5, 10);
    s.lineTo(20, 10);
    EXPECT_EQ(s.pixel(5, 10), ui::colors::black);
    EXPECT_EQ(s.pixel(19, 10), ui::colors::black);
    EXPECT_EQ(s.pixel(20, 10), ui::colors::white);  // like the platform's LineTo, the end point is not drawn
    EXPECT_EQ(s.pixel(12, 9), ui::colors::white);
    EXPECT_EQ(s.pixel(12, 11), ui::colors::white);
    EXPECT_EQ(s.penPosition(), (ui::Point{20, 10}));
}

TEST_F(QtSurfaceTest, AnXorPenDrawnTwiceLeavesThePictureAsItWas) {
    ImageSurface s(60, 60);
    s.setPen({ui::colors::black, 1});
    s.moveTo(0, 30);
    s.lineTo(59, 30);
    s.setPen({ui::colors::green, 1, ui::PenStyle::Solid, ui::PenMode::Xor});
    s.setBrush({ui::colors::white, true});
    s.rectangle(10, 10, 40, 50);
    EXPECT_EQ(s.pixel(10, 20), (Color{255, 127, 255}));  // white xor green
    EXPECT_EQ(s.pixel(10, 30), (Color{0, 128, 0}));      // black xor green
    s.rectangle(10, 10, 40, 50);
    EXPECT_EQ(s.pixel(10, 20), ui::colors::white);
    EXPECT_EQ(s.pixel(10, 30), ui::colors::black);
    EXPECT_EQ(countPixels(s, ui::colors::black), 59);  // the line stops short of its end point
}

TEST_F(QtSurfaceTest, RectanglesExcludeTheirRightAndBottomEdge) {
    ImageSurface s(30, 30);
    s.setPen({ui::colors::black, 1});
    s.setBrush({ui::colors::red, false});
    s.rectangle(5, 5, 15, 12);
    EXPECT_EQ(s.pixel(5, 5), ui::colors::black);
    EXPECT_EQ(s.pixel(14, 11), ui::colors::black);
    EXPECT_EQ(s.pixel(15, 11), ui::colors::white);
    EXPECT_EQ(s.pixel(14, 12), ui::colors::white);
    EXPECT_EQ(s.pixel(10, 8), ui::colors::red);
}

TEST_F(QtSurfaceTest, ArcsRunCounterClockwiseFromTheStartRadial) {
    ImageSurface s(101, 101);
    s.setPen({ui::colors::black, 1});
    // Circle centred at (50, 50), radius 40; from east (90, 50) counter-clockwise to west (10, 50): the upper half.
    s.arc(10, 10, 90, 90, 90, 50, 10, 50);
    int upper = 0, lower = 0;
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 101; ++x) {
            if (s.pixel(x, y) != ui::colors::black) continue;
            if (y < 48) ++upper;
            if (y > 52) ++lower;
        }
    EXPECT_GT(upper, 100);
    EXPECT_EQ(lower, 0);
}

TEST_F(QtSurfaceTest, FloodFillStopsAtTheBorderColour) {
    ImageSurface s(40, 40);
    s.setPen({ui::colors::black, 1});
    s.setBrush({ui::colors::white, true});
    s.rectangle(10, 10, 30, 30);
    s.setBrush({ui::colors::blue, false});
    s.floodFill(20, 20, ui::colors::black, ui::FillKind::ToBorder);
    EXPECT_EQ(s.pixel(20, 20), ui::colors::blue);
    EXPECT_EQ(s.pixel(11, 11), ui::colors::blue);
    EXPECT_EQ(s.pixel(10, 10), ui::colors::black);
    EXPECT_EQ(s.pixel(5, 5), ui::colors::white);
    EXPECT_EQ(countPixels(s, ui::colors::blue), 18 * 18);
    // Drawing still works after the fill.
    s.setPen({ui::colors::red, 1});
    s.moveTo(0, 0);
    s.lineTo(5, 0);
    EXPECT_EQ(s.pixel(2, 0), ui::colors::red);
}

TEST_F(QtSurfaceTest, PixelsOutsideThePictureReadWhiteAndAreNeverWritten) {
    ImageSurface s(10, 10);
    s.setPixel(3, 4, ui::colors::red);
    EXPECT_EQ(s.pixel(3, 4), ui::colors::red);
    s.setPixel(-1, 0, ui::colors::red);
    s.setPixel(10, 10, ui::colors::red);
    EXPECT_EQ(s.pixel(-1, 0), ui::colors::white);
    EXPECT_EQ(s.pixel(100, 0), ui::colors::white);
}

TEST_F(QtSurfaceTest, TextIsMeasuredAndDrawnOnAWhiteBoxWithItsTopLeftAtThePoint) {
    ImageSurface s(200, 60);
    s.fillRect({0, 0, 200, 60}, ui::colors::red);
    s.setFont({10, ui::colors::black});
    s.setTextBackground(ui::colors::white, true);
    const ui::Size size = s.textExtent("平均照度：123 Lx");
    EXPECT_GT(size.width, 60);
    EXPECT_GE(size.height, 12);
    s.textOut(10, 5, "平均照度：123 Lx");
    EXPECT_EQ(s.pixel(9, 5), ui::colors::red);
    EXPECT_NE(s.pixel(10, 5), ui::colors::red);
    EXPECT_GT(countPixels(s, ui::colors::black), 20);
    EXPECT_EQ(s.pixel(10 + size.width + 1, 5), ui::colors::red);
}

TEST_F(QtSurfaceTest, ResizingKeepsWhatFitsAndWhitensTheRest) {
    ImageSurface s(20, 20);
    s.setPixel(5, 5, ui::colors::red);
    s.resize(40, 30);
    EXPECT_EQ(s.width(), 40);
    EXPECT_EQ(s.height(), 30);
    EXPECT_EQ(s.pixel(5, 5), ui::colors::red);
    EXPECT_EQ(s.pixel(35, 25), ui::colors::white);
    ImageSurface copy(40, 30);
    copy.drawSurface(0, 0, s);
    EXPECT_EQ(copy.pixel(5, 5), ui::colors::red);
}

// Pictures go out whole through the one write path and come back only from regular files.
TEST_F(QtSurfaceTest, PicturesAreSavedWholeAndReadOnlyFromRegularFiles) {
    ImageSurface s(20, 10);
    s.setPixel(3, 4, ui::colors::red);
    const std::string dir = std::filesystem::temp_directory_path() / ("ordivan_ui_pictures_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(ui::qt::savePicture(s, dir + "/p.png", "PNG"));
    const auto back = ui::qt::readPictureFile(dir + "/p.png");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->size(), QSize(20, 10));
    EXPECT_EQ(back->pixelColor(3, 4), QColor(Qt::red));
    std::filesystem::create_symlink("/dev/full", dir + "/full.bmp");  // a faulty writer replaces the link, not the device
    EXPECT_FALSE(ui::qt::savePicture(s, dir + "/full.bmp", "BMP"));
    ASSERT_EQ(::mkfifo((dir + "/fifo.bmp").c_str(), 0600), 0);
    EXPECT_FALSE(ui::qt::readPictureFile(dir + "/fifo.bmp"));
    EXPECT_FALSE(ui::qt::readPictureFile("/dev/zero"));
    std::filesystem::remove_all(dir);
}

} // namespace
