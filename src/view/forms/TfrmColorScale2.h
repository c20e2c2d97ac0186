// The floating legend window: borderless, always on top, dragged by any point of its surface.
#pragma once
#include "ui/qt/QtSurface.h"

#include <QWidget>
#include <memory>

namespace view::forms {

class TfrmColorScale2 : public QWidget {
    Q_OBJECT
public:
    explicit TfrmColorScale2(QWidget* parent = nullptr);

    // The legend picture: colour map 150 × 130, contour lines 80 × 100 (fresh and white after a resize).
    void resizeLegend(int width, int height);
    ui::qt::ImageSurface& surface() { return *surface_; }
    // Where the legend goes beside the main window: its right edge less 150 and 50, 100 below its top.
    void placeBeside(const QWidget& mainWindow);
    // Shows the picture as it now stands.
    void showLegend(const QWidget& mainWindow);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<ui::qt::ImageSurface> surface_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

} // namespace view::forms
