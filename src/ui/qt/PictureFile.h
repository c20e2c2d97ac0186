// Reading picture files (the background bitmap, the start-up picture) without trusting them.
#pragma once
#include "ui/qt/QtSurface.h"

#include <QImage>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace ui::qt {

// A scanned floor plan is a few megabytes; a file much larger is not a picture we should hold in memory.
inline constexpr std::size_t kMaxPictureFileBytes = 128u * 1024u * 1024u;
// Decoded pictures beyond this many pixels (a 10000 × 10000 scan) are refused before their memory is taken.
inline constexpr long long kMaxPicturePixels = 100LL * 1000 * 1000;

// The picture in a regular file, or nullopt when the file cannot be read, is not a regular file (a FIFO or a
// device never blocks or floods the reader), is too large, or is not a picture Qt can decode.
std::optional<QImage> readPictureFile(const std::string& path);

// The background bitmap at its own size; throws std::runtime_error with the message for the user.
std::unique_ptr<ImageSurface> loadBackgroundBitmap(const std::string& path);

} // namespace ui::qt
