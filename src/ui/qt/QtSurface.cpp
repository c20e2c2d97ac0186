// QPainter implementation of the drawing surface, with the platform's XOR pen, four-point arcs and flood fill.
#include "ui/qt/QtSurface.h"

#include "base/TextFile.h"

#include <QBuffer>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace ui::qt {
namespace {

QColor toQ(const Color& c) { return QColor(c.r, c.g, c.b); }

Color fromRgb(QRgb v) {
    return Color{static_cast<std::uint8_t>(qRed(v)), static_cast<std::uint8_t>(qGreen(v)),
                 static_cast<std::uint8_t>(qBlue(v))};
}

// The width or height of a box drawn from `from` to `to` (both included, as the pen draws them);
// far-off points of a hostile plan must not overflow the difference.
int boxSide(int from, int to) { return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{to} - from - 1, 0, INT32_MAX)); }

double radialAngleDegrees(double cx, double cy, int x, int y) {
    // Screen y grows downwards; Qt's angles grow counter-clockwise as seen on the screen.
    return std::atan2(-(y - cy), x - cx) * 180.0 / M_PI;
}

} // namespace

PainterSurface::~PainterSurface() = default;

QString PainterSurface::defaultFace() {
    static const QString face = [] {
        // The font database lists a font under the name of the user's language ("IPAゴシック" in a
        // Japanese locale) and knows its other names as aliases, but only once it has read every font:
        // so it is read whole first. The face is then asked for by its English name, which finds the
        // same font in every locale, and pictures and sheets come out the same.
        (void)QFontDatabase::families();
        for (const char* name : {"IPAGothic", "IPAexGothic", "IPAPGothic", "Noto Sans CJK JP"}) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(name))) return QString::fromLatin1(name);
        }
        return QString();
    }();
    return face;
}

void PainterSurface::begin(QPaintDevice* device) {
    device_ = device;
    painter_ = std::make_unique<QPainter>(device);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
    applyPen();
    applyBrush();
}

void PainterSurface::end() {
    if (painter_) painter_->end();
    painter_.reset();
    device_ = nullptr;
}

int PainterSurface::width() const { return device_ ? device_->width() : 0; }
int PainterSurface::height() const { return device_ ? device_->height() : 0; }
int PainterSurface::dpiX() const { return device_ ? device_->logicalDpiX() : 96; }
int PainterSurface::dpiY() const { return device_ ? device_->logicalDpiY() : 96; }

void PainterSurface::applyPen() {
    if (!painter_) return;
    QPen p(toQ(pen_.color));
    p.setWidth(pen_.width <= 1 ? 0 : pen_.width);  // width 0 is Qt's exact one-pixel line
    p.setStyle(pen_.style == PenStyle::Dot ? Qt::DotLine : pen_.style == PenStyle::Dash ? Qt::DashLine : Qt::SolidLine);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    painter_->setPen(p);
    painter_->setCompositionMode(pen_.mode == PenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                           : QPainter::CompositionMode_SourceOver);
}

void PainterSurface::applyBrush() {
    if (!painter_) return;
    painter_->setBrush(brush_.clear ? QBrush(Qt::NoBrush) : QBrush(toQ(brush_.color)));
}

void PainterSurface::setPen(const Pen& pen) {
    pen_ = pen;
    applyPen();
}

void PainterSurface::setBrush(const Brush& brush) {
    brush_ = brush;
    applyBrush();
}

void PainterSurface::setFont(const Font& font) { font_ = font; }

void PainterSurface::setTextBackground(const Color& color, bool opaque) {
    textBackground_ = color;
    textOpaque_ = opaque;
}

QFont PainterSurface::qfont() const {
    QFont f(font_.face.empty() ? defaultFace() : QString::fromStdString(font_.face));
    f.setPointSize(std::max(1, font_.sizePt));
    f.setBold(font_.bold);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

void PainterSurface::moveTo(int x, int y) { position_ = {x, y}; }

void PainterSurface::lineTo(int x, int y) {
    if (painter_) painter_->drawLine(position_.x, position_.y, x, y);
    position_ = {x, y};
}

void PainterSurface::rectangle(int x1, int y1, int x2, int y2) {
    if (!painter_) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1) return;
    painter_->drawRect(QRect(x1, y1, boxSide(x1, x2), boxSide(y1, y2)));
}

void PainterSurface::fillRect(const Rect& r, const Color& color) {
    if (!painter_) return;
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->fillRect(QRect(r.left, r.top, r.width(), r.height()), toQ(color));
    painter_->restore();
}

void PainterSurface::ellipse(int x1, int y1, int x2, int y2) {
    if (!painter_) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    painter_->drawEllipse(QRect(x1, y1, boxSide(x1, x2), boxSide(y1, y2)));
}

void PainterSurface::arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (!painter_) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const double cx = (static_cast<double>(x1) + x2) / 2.0, cy = (static_cast<double>(y1) + y2) / 2.0;
    double start = radialAngleDegrees(cx, cy, x3, y3);
    double stop = radialAngleDegrees(cx, cy, x4, y4);
    double span = stop - start;
    while (span <= 0) span += 360.0;  // equal radials draw the whole ellipse
    QRect box(x1, y1, boxSide(x1, x2), boxSide(y1, y2));
    painter_->drawArc(box, static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(span * 16)));
}

void PainterSurface::polygon(const std::vector<Point>& points) {
    if (!painter_ || points.empty()) return;
    QPolygon poly;
    for (const Point& p : points) poly << QPoint(p.x, p.y);
    painter_->drawPolygon(poly);
}

void PainterSurface::polyline(const std::vector<Point>& points) {
    if (!painter_ || points.empty()) return;
    QPolygon poly;
    for (const Point& p : points) poly << QPoint(p.x, p.y);
    painter_->drawPolyline(poly);
    position_ = points.back();
}

void PainterSurface::floodFill(int x, int y, const Color& color, FillKind kind) {
    QImage* img = image();
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return;
    if (painter_) painter_->end();
    const QRgb fill = toQ(brush_.color).rgb() | 0xFF000000u;
    const QRgb key = toQ(color).rgb() & 0x00FFFFFFu;
    auto at = [&](int px, int py) { return img->pixel(px, py) & 0x00FFFFFFu; };
    auto inside = [&](int px, int py) {
        QRgb v = at(px, py);
        return kind == FillKind::ToBorder ? (v != key && v != (fill & 0x00FFFFFFu)) : (v == key && v != (fill & 0x00FFFFFFu));
    };
    if (inside(x, y)) {
        std::vector<QPoint> stack{QPoint(x, y)};
        while (!stack.empty()) {
            QPoint p = stack.back();
            stack.pop_back();
            int lx = p.x();
            while (lx > 0 && inside(lx - 1, p.y())) --lx;
            int rx = p.x();
            while (rx + 1 < img->width() && inside(rx + 1, p.y())) ++rx;
            for (int i = lx; i <= rx; ++i) img->setPixel(i, p.y(), fill);
            for (int ny : {p.y() - 1, p.y() + 1}) {
                if (ny < 0 || ny >= img->height()) continue;
                bool run = false;
                for (int i = lx; i <= rx; ++i) {
                    bool in = inside(i, ny);
                    if (in && !run) stack.emplace_back(i, ny);
                    run = in;
                }
            }
        }
    }
    begin(img);
}

Size PainterSurface::textExtent(const std::string& utf8) {
    QFontMetrics fm(qfont(), device_);
    return Size{fm.horizontalAdvance(QString::fromStdString(utf8)), fm.height()};
}

void PainterSurface::textOut(int x, int y, const std::string& utf8) {
    if (!painter_) return;
    QFont f = qfont();
    QString text = QString::fromStdString(utf8);
    QFontMetrics fm(f, device_);
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (textOpaque_) painter_->fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), toQ(textBackground_));
    painter_->setFont(f);
    painter_->setPen(toQ(font_.color));
    painter_->drawText(x, y + fm.ascent(), text);
    painter_->restore();
}

Color PainterSurface::pixel(int x, int y) const {
    const QImage* img = image();
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return colors::white;
    return fromRgb(img->pixel(x, y));
}

void PainterSurface::setPixel(int x, int y, const Color& color) {
    QImage* img = image();
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return;
    img->setPixel(x, y, toQ(color).rgb());
}

void PainterSurface::drawSurface(int x, int y, const Surface& source) {
    if (!painter_) return;
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->drawImage(x, y, toQImage(source));
    painter_->restore();
}

void PainterSurface::stretchSurface(const Rect& to, const Surface& source, const Rect& from) {
    if (!painter_) return;
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_->drawImage(QRect(to.left, to.top, to.width(), to.height()), toQImage(source),
                        QRect(from.left, from.top, from.width(), from.height()));
    painter_->restore();
}

void PainterSurface::resize(int, int) {}

ImageSurface::ImageSurface(int width, int height, int dpi)
    : image_(std::max(1, width), std::max(1, height), QImage::Format_RGB32), dpi_(dpi) {
    image_.fill(Qt::white);
    image_.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image_.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    begin(&image_);
}

ImageSurface::ImageSurface(const QImage& picture)
    : image_(picture.convertToFormat(QImage::Format_RGB32)), dpi_(96) {
    image_.setDotsPerMeterX(static_cast<int>(std::lround(dpi_ / 0.0254)));
    image_.setDotsPerMeterY(static_cast<int>(std::lround(dpi_ / 0.0254)));
    begin(&image_);
}

ImageSurface::~ImageSurface() { end(); }

void ImageSurface::resize(int width, int height) {
    end();
    QImage grown(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    grown.fill(Qt::white);
    grown.setDotsPerMeterX(image_.dotsPerMeterX());
    grown.setDotsPerMeterY(image_.dotsPerMeterY());
    {
        QPainter p(&grown);
        p.drawImage(0, 0, image_);
    }
    image_ = grown;
    begin(&image_);
}

QImage toQImage(const Surface& surface) {
    if (auto* ps = dynamic_cast<const PainterSurface*>(&surface)) {
        if (const QImage* img = ps->image()) return *img;
    }
    QImage out(std::max(1, surface.width()), std::max(1, surface.height()), QImage::Format_RGB32);
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            Color c = surface.pixel(x, y);
            out.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    }
    return out;
}

bool savePicture(const Surface& picture, const std::string& path, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !toQImage(picture).save(&buffer, format)) return false;
    return base::writeWholeFile(path, bytes.toStdString());
}

} // namespace ui::qt
