// Tests of the picture file reader behind the background bitmap and the start-up picture.
#include "ui/qt/PictureFile.h"

#include <QImage>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path scratch(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("ordivan_picture_" + std::to_string(getpid()));
    fs::create_directories(dir);
    return dir / name;
}

QImage twoColourPicture() {
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(QColor(0, 120, 255));
    picture.setPixelColor(6, 4, QColor(255, 0, 0));
    return picture;
}

TEST(PictureFile, ReadsABitmapAndAPngPixelForPixel) {
    for (const char* format : {"BMP", "PNG"}) {
        const fs::path path = scratch(std::string("plan.") + format);
        ASSERT_TRUE(twoColourPicture().save(QString::fromStdString(path.string()), format));
        const auto picture = ui::qt::readPictureFile(path.string());
        ASSERT_TRUE(picture) << format;
        EXPECT_EQ(picture->size(), QSize(7, 5));
        EXPECT_EQ(picture->pixelColor(6, 4), QColor(255, 0, 0));
        EXPECT_EQ(picture->pixelColor(0, 0), QColor(0, 120, 255));
        const auto surface = ui::qt::loadBackgroundBitmap(path.string());
        EXPECT_EQ(surface->width(), 7);
    }
}

// A FIFO named as the picture used to hold the program until something wrote to it; it is refused at once.
// Should the reader wait after all, a late writer hands it a valid picture and the refusal expected fails.
TEST(PictureFile, RefusesAFifoWithoutWaitingForAWriter) {
    const fs::path fifo = scratch("pipe.bmp");
    fs::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path real = scratch("real.bmp");
    ASSERT_TRUE(twoColourPicture().save(QString::fromStdString(real.string()), "BMP"));
    std::thread lateWriter([&] {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0) return;  // nobody is reading: the reader did not wait
        const auto bytes = [&] {
            std::FILE* f = std::fopen(real.c_str(), "rb");
            std::string b(4096, '\0');
            b.resize(std::fread(b.data(), 1, b.size(), f));
            std::fclose(f);
            return b;
        }();
        (void)!::write(fd, bytes.data(), bytes.size());
        ::close(fd);
    });
    EXPECT_FALSE(ui::qt::readPictureFile(fifo.string()));
    lateWriter.join();
}

TEST(PictureFile, RefusesWhatIsNoPicture) {
    const fs::path text = scratch("notes.bmp");
    { std::FILE* f = std::fopen(text.c_str(), "wb"); std::fputs("BM not really", f); std::fclose(f); }
    for (const fs::path& p : {text, text.parent_path(), scratch("missing.bmp")}) {
        EXPECT_FALSE(ui::qt::readPictureFile(p.string())) << p;
    }
    try {
        ui::qt::loadBackgroundBitmap(text.string());
        ADD_FAILURE() << "no refusal";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "ビットマップを読み込めません: " + text.string());
    }
}

} // namespace
