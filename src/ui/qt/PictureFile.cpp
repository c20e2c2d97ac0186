// Reading picture files: the bytes of a regular file, bounded, decoded only when their size is believable.
#include "ui/qt/PictureFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace ui::qt {

namespace {

// The whole file, read through a descriptor opened without blocking so that a FIFO cannot stall us.
std::optional<QByteArray> readRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    QByteArray bytes;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) <= kMaxPictureFileBytes;
    if (ok) {
        bytes.reserve(static_cast<qsizetype>(st.st_size));
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) ok = false;
            if (n <= 0) break;
            bytes.append(buf, n);
            if (static_cast<std::size_t>(bytes.size()) > kMaxPictureFileBytes) {
                ok = false;  // the file grew while we read it
                break;
            }
        }
    }
    ::close(fd);
    if (!ok) return std::nullopt;
    return bytes;
}

} // namespace

std::optional<QImage> readPictureFile(const std::string& path) {
    auto bytes = readRegularFile(path);
    if (!bytes) return std::nullopt;
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize declared = reader.size();
    if (declared.isValid() && static_cast<long long>(declared.width()) * declared.height() > kMaxPicturePixels) return std::nullopt;
    QImage picture;
    if (!reader.read(&picture) || picture.isNull()) return std::nullopt;
    if (static_cast<long long>(picture.width()) * picture.height() > kMaxPicturePixels) return std::nullopt;
    return picture;
}

std::unique_ptr<ImageSurface> loadBackgroundBitmap(const std::string& path) {
    const auto picture = readPictureFile(path);
    if (!picture) throw std::runtime_error("ビットマップを読み込めません: " + path);
    return std::make_unique<ImageSurface>(*picture);
}

} // namespace ui::qt
