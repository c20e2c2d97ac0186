// The plan view: the plan image at a zoom, pointer to plan pixel mapping, zoom about the pointer, panning and fit.
#include "app/forms/PlanView.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace app::forms {

namespace {

// The zooms the steps go through; a zoom between two (after "全体表示") steps to the next one.
constexpr std::array<double, 11> kZoomLadder{0.25, 1.0 / 3.0, 0.5, 2.0 / 3.0, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0};

double steppedZoom(double zoom, int steps) {
    for (; steps > 0; --steps) {
        const auto next = std::find_if(kZoomLadder.begin(), kZoomLadder.end(), [zoom](double z) { return z > zoom * (1 + 1e-9); });
        if (next == kZoomLadder.end()) break;
        zoom = *next;
    }
    for (; steps < 0; ++steps) {
        const auto below = std::find_if(kZoomLadder.rbegin(), kZoomLadder.rend(), [zoom](double z) { return z < zoom * (1 - 1e-9); });
        if (below == kZoomLadder.rend()) break;
        zoom = *below;
    }
    return zoom;
}

std::int32_t planCoordinate(double widget, double zoom) {
    const double v = std::floor(widget / zoom);
    constexpr double kLimit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(v, -kLimit, kLimit));
}

} // namespace

PlanImage::PlanImage(ui::qt::ImageSurface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setObjectName(QStringLiteral("Image1"));
    setMouseTracking(true);
    fitToSurface();
}

void PlanImage::fitToSurface() {
    const QSize shown(static_cast<int>(std::ceil(surface_.width() * zoom_)), static_cast<int>(std::ceil(surface_.height() * zoom_)));
    if (size() != shown) setFixedSize(shown);
}

void PlanImage::setZoom(double zoom) {
    zoom_ = zoom;
    fitToSurface();
    update();
}

ui::Point PlanImage::planPointAt(QPointF widgetPoint) const {
    return ui::Point{planCoordinate(widgetPoint.x(), zoom_), planCoordinate(widgetPoint.y(), zoom_)};
}

QPoint PlanImage::widgetPointOf(ui::Point plan) const {
    return QPoint(static_cast<int>(std::floor(plan.x * zoom_)), static_cast<int>(std::floor(plan.y * zoom_)));
}

void PlanImage::setOverlay(std::vector<editor::Outline> outlines) {
    if (outlines.empty() && overlay_.empty()) return;
    overlay_ = std::move(outlines);
    update();
}

void PlanImage::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    paintPlan(p, event->rect());
    if (overlay_.empty()) return;
    // The middle of each plan pixel, at the zoom.
    auto at = [this](ui::Point q) { return QPointF((q.x + 0.5) * zoom_, (q.y + 0.5) * zoom_); };
    p.setPen(QPen(QColor(255, 0, 255), 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    for (const editor::Outline& o : overlay_) {
        QPolygonF shape;
        for (const ui::Point& q : o.points) shape << at(q);
        if (o.closed) {
            p.drawPolygon(shape);
        } else {
            p.drawPolyline(shape);
        }
    }
}

void PlanImage::paintPlan(QPainter& p, const QRect& r) {
    const QImage& picture = *surface_.image();
    if (zoom_ == 1.0) {
        p.drawImage(r.topLeft(), picture, r);
        return;
    }
    // The whole plan pixels the repainted area shows.
    const QPoint first(static_cast<int>(std::floor(r.left() / zoom_)), static_cast<int>(std::floor(r.top() / zoom_)));
    const QPoint last(static_cast<int>(std::ceil((r.right() + 1) / zoom_)) - 1, static_cast<int>(std::ceil((r.bottom() + 1) / zoom_)) - 1);
    const QRect source = QRect(first, last).intersected(picture.rect());
    if (source.isEmpty()) return;
    const QRectF target(source.x() * zoom_, source.y() * zoom_, source.width() * zoom_, source.height() * zoom_);
    if (zoom_ > 1.0) {
        p.drawImage(target, picture, source);  // each plan pixel a square block
        return;
    }
    // Below 1:1 the pixels are averaged, so that walls one pixel wide stay in sight.
    const QSize size(std::max(1, static_cast<int>(std::ceil(target.width()))), std::max(1, static_cast<int>(std::ceil(target.height()))));
    p.drawImage(target.topLeft(), picture.copy(source).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

ui::MouseEvent PlanImage::toMouseEvent(const QMouseEvent* e, Qt::MouseButton button) const {
    ui::MouseEvent m;
    m.position = planPointAt(e->position());
    m.button = button == Qt::RightButton ? ui::MouseButton::Right
               : button == Qt::MiddleButton ? ui::MouseButton::Middle
                                            : ui::MouseButton::Left;
    m.shift = e->modifiers().testFlag(Qt::ShiftModifier);
    m.ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    return m;
}

void PlanImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {  // the middle button only pans; no tool sees it
        panFrom_ = event->globalPosition().toPoint();
        return;
    }
    if (onMouseDown) onMouseDown(toMouseEvent(event, event->button()));
}

void PlanImage::mouseMoveEvent(QMouseEvent* event) {
    if (panFrom_ && event->buttons().testFlag(Qt::MiddleButton)) {
        const QPoint now = event->globalPosition().toPoint();
        const QPoint moved = now - *panFrom_;
        panFrom_ = now;
        if (onPanBy) onPanBy(moved);
    }
    if (onMouseMove) onMouseMove(toMouseEvent(event, Qt::NoButton));
}

void PlanImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        panFrom_.reset();
        return;
    }
    if (event->button() == Qt::LeftButton && onMouseUp) onMouseUp(toMouseEvent(event, event->button()));
}

PlanView::PlanView(ui::qt::ImageSurface& surface, QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("ScrollBox1"));
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image_ = new PlanImage(surface, this);
    setWidget(image_);
    image_->onPanBy = [this](QPoint moved) { panBy(moved); };
    showScrollBars();
}

void PlanView::showScrollBars() {
    const auto policy = autoScroll_ || zoom() > 1.0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    // The ranges as the scroll box sets them when it sees the image resized, at once, so that the
    // scrolling that follows a zoom is not cut to the range of the old size.
    horizontalScrollBar()->setRange(0, std::max(0, image_->width() - viewport()->width()));
    verticalScrollBar()->setRange(0, std::max(0, image_->height() - viewport()->height()));
}

void PlanView::setAutoScroll(bool on) {
    autoScroll_ = on;
    showScrollBars();
}

void PlanView::zoomAbout(double zoom, QPointF anchor) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    const double before = image_->zoom();
    if (zoom == before) return;
    const QPointF plan = (anchor - QPointF(image_->pos())) / before;  // the plan point under the anchor
    image_->setZoom(zoom);
    showScrollBars();
    const QPointF scroll = plan * zoom - anchor;
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(scroll.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(scroll.y())));
    if (onZoomChanged) onZoomChanged(zoom);
}

void PlanView::zoomSteps(int steps, QPointF anchor) { zoomAbout(steppedZoom(zoom(), steps), anchor); }

QPointF PlanView::pointerOrCentre() const {
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    return viewport()->rect().contains(pointer) ? QPointF(pointer) : QPointF(viewport()->rect().center());
}

void PlanView::fitWhole() {
    const QSize room = maximumViewportSize();  // the view without scroll bars
    const ui::qt::ImageSurface& surface = image_->surface_;
    const double zoom = surface.width() > 0 && surface.height() > 0
                            ? std::min(room.width() / static_cast<double>(surface.width()),
                                       room.height() / static_cast<double>(surface.height()))
                            : 1.0;
    const double fitted = std::clamp(zoom, kMinZoom, kMaxZoom);
    const bool changed = fitted != image_->zoom();
    image_->setZoom(fitted);
    showScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    if (changed && onZoomChanged) onZoomChanged(fitted);
}

void PlanView::panBy(QPoint screenPixels) {
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - screenPixels.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - screenPixels.y());
}

void PlanView::wheelEvent(QWheelEvent* event) {
    event->accept();
    turnWheel(*event, event->position());
}

bool PlanView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == image_ && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        wheel->accept();
        turnWheel(*wheel, image_->mapTo(viewport(), wheel->position()));
        return true;
    }
    return QScrollArea::eventFilter(watched, event);
}

void PlanView::turnWheel(const QWheelEvent& event, QPointF at) {
    if (event.modifiers().testFlag(Qt::ControlModifier)) {
        zoomWheel_ += event.angleDelta().y();
        const int steps = zoomWheel_ / 120;
        zoomWheel_ -= steps * 120;
        if (steps != 0) zoomSteps(steps, at);
        return;
    }
    QPoint moved = event.pixelDelta();
    if (moved.isNull()) moved = event.angleDelta() / 2;  // a notch of the wheel moves the plan 60 screen pixels
    if (event.modifiers().testFlag(Qt::ShiftModifier) && moved.x() == 0) moved = QPoint(moved.y(), 0);
    panBy(moved);
}

} // namespace app::forms
