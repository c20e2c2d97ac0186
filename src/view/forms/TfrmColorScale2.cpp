// The floating legend window of the colour map, the contour lines and the colour-temperature map.
#include "view/forms/TfrmColorScale2.h"

#include "ui/qt/Cursors.h"

#include <QMouseEvent>
#include <QPainter>

namespace view::forms {

TfrmColorScale2::TfrmColorScale2(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmColorScale2"));
    setCursor(ui::qt::programCursor(8));
    resizeLegend(150, 130);
}

void TfrmColorScale2::resizeLegend(int width, int height) {
    surface_ = std::make_unique<ui::qt::ImageSurface>(width, height);
    setFixedSize(width, height);
    update();
}

void TfrmColorScale2::placeBeside(const QWidget& mainWindow) {
    const QRect g = mainWindow.frameGeometry();
    move(g.left() + g.width() - 150 - 50, g.top() + 100);
}

void TfrmColorScale2::showLegend(const QWidget& mainWindow) {
    placeBeside(mainWindow);
    show();
    raise();
    update();
}

void TfrmColorScale2::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, *surface_->image());
}

void TfrmColorScale2::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TfrmColorScale2::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - dragOffset_);
}

} // namespace view::forms
