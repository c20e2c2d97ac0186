// Reading picture files: the bytes of a regular file, bounded, decoded only when their size is believable.
#include "ui/qt/PictureFile.h"

#include "base/TextFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <stdexcept>

namespace ui::qt {

std::optional<QImage> readPictureFile(const std::string& path) {
    // Regular files only, read without blocking: a FIFO or a device never stalls or floods the reader.
    std::string raw;
    if (base::readWholeFile(path, kMaxPictureFileBytes, raw) != base::WholeRead::Ok) return std::nullopt;
    QByteArray bytes = QByteArray::fromStdString(raw);
    QBuffer buffer(&bytes);
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
