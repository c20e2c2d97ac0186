// The drawing surface on Qt: QPainter on a QImage (screen and off-screen pictures) or on any paint device.
#pragma once
#include "ui/Surface.h"

#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

namespace ui::qt {

// Draws on a paint device with antialiasing off, so pictures are the same pixel for pixel everywhere.
class PainterSurface : public Surface {
public:
    ~PainterSurface() override;

    int width() const override;
    int height() const override;
    int dpiX() const override;
    int dpiY() const override;
    bool isPrinter() const override { return false; }

    void setPen(const Pen& pen) override;
    Pen pen() const override { return pen_; }
    void setBrush(const Brush& brush) override;
    Brush brush() const override { return brush_; }
    void setFont(const Font& font) override;
    Font font() const override { return font_; }
    void setTextBackground(const Color& color, bool opaque) override;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    Point penPosition() const override { return position_; }
    void rectangle(int x1, int y1, int x2, int y2) override;
    void fillRect(const Rect& r, const Color& color) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void polygon(const std::vector<Point>& points) override;
    void polyline(const std::vector<Point>& points) override;
    void floodFill(int x, int y, const Color& color, FillKind kind) override;

    Size textExtent(const std::string& utf8) override;
    void textOut(int x, int y, const std::string& utf8) override;

    Color pixel(int x, int y) const override;
    void setPixel(int x, int y, const Color& color) override;

    void drawSurface(int x, int y, const Surface& source) override;
    void stretchSurface(const Rect& to, const Surface& source, const Rect& from) override;
    void resize(int width, int height) override;

    // The picture behind the surface, or nullptr for a device without one (a printer page).
    virtual QImage* image() { return nullptr; }
    virtual const QImage* image() const { return nullptr; }
    QPainter& painter() { return *painter_; }

    // The face used when a font names none: a Japanese Gothic face when one is installed.
    static QString defaultFace();

protected:
    PainterSurface() = default;
    void begin(QPaintDevice* device);
    void end();

private:
    void applyPen();
    void applyBrush();
    QFont qfont() const;

    QPaintDevice* device_ = nullptr;
    std::unique_ptr<QPainter> painter_;
    Pen pen_;
    Brush brush_;
    Font font_;
    Color textBackground_ = colors::white;
    bool textOpaque_ = true;
    Point position_;
};

// An off-screen picture in memory (the plan image, legends, exported bitmaps).
class ImageSurface : public PainterSurface {
public:
    ImageSurface(int width, int height, int dpi = 96);
    explicit ImageSurface(const QImage& picture);
    ~ImageSurface() override;

    QImage* image() override { return &image_; }
    const QImage* image() const override { return &image_; }
    void resize(int width, int height) override;
    int dpiX() const override { return dpi_; }
    int dpiY() const override { return dpi_; }

private:
    QImage image_;
    int dpi_;
};

// A QImage copy of any surface's picture (pixel by pixel when it is not Qt's own).
QImage toQImage(const Surface& surface);
// Encodes the picture ("PNG", "BMP") in memory and writes it whole through the one write path.
bool savePicture(const Surface& picture, const std::string& path, const char* format);

} // namespace ui::qt
