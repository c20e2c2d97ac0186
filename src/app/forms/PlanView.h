// The plan view: the plan image shown at a zoom inside the scroll box, panned by the wheel and the middle button.
#pragma once
#include "editor/Selection.h"
#include "ui/Types.h"
#include "ui/qt/QtSurface.h"

#include <QPainter>
#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <optional>

namespace app::forms {

// The plan image drawn at the view's zoom. The image itself stays at 1:1 (the calculation, the printing
// and every output read it): the zoom only changes how it is shown. Mouse events go out in plan pixels,
// the pixel under the pointer.
class PlanImage : public QWidget {
    Q_OBJECT
public:
    PlanImage(ui::qt::ImageSurface& surface, QWidget* parent);
    // Sizes the widget to the surface at the zoom.
    void fitToSurface();
    double zoom() const { return zoom_; }
    // The plan pixel under a point of the widget: each coordinate divided by the zoom, rounded down.
    ui::Point planPointAt(QPointF widgetPoint) const;
    // Where a plan pixel's top-left corner lies on the widget.
    QPoint widgetPointOf(ui::Point plan) const;

    std::function<void(const ui::MouseEvent&)> onMouseDown;
    std::function<void(const ui::MouseEvent&)> onMouseMove;
    std::function<void(const ui::MouseEvent&)> onMouseUp;
    // The selection's outlines drawn over the plan in the view alone (never on the plan image, which the
    // printing and the exports read).
    void setOverlay(std::vector<editor::Outline> outlines);
    // A middle-button drag moved the pointer by this many screen pixels.
    std::function<void(QPoint)> onPanBy;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class PlanView;
    void setZoom(double zoom);
    void paintPlan(QPainter& p, const QRect& r);
    ui::MouseEvent toMouseEvent(const QMouseEvent* e, Qt::MouseButton button) const;

    ui::qt::ImageSurface& surface_;
    double zoom_ = 1.0;
    std::optional<QPoint> panFrom_;  // global pointer position while the middle button drags
    std::vector<editor::Outline> overlay_;
};

// The scroll box around the plan image. Ctrl + wheel and the zoom commands zoom about the pointer
// (25 % to 800 %), the wheel and a middle-button drag pan, "全体表示" shows the whole plan.
class PlanView : public QScrollArea {
    Q_OBJECT
public:
    static constexpr double kMinZoom = 0.25;
    static constexpr double kMaxZoom = 8.0;

    PlanView(ui::qt::ImageSurface& surface, QWidget* parent);
    PlanImage* image() const { return image_; }
    double zoom() const { return image_->zoom(); }

    // Sets the zoom (held within 25 % to 800 %) so that the plan point under `anchor`, a point of the
    // viewport, stays under it as far as the scroll range allows.
    void zoomAbout(double zoom, QPointF anchor);
    // Steps up (positive) or down the zoom ladder about `anchor`.
    void zoomSteps(int steps, QPointF anchor);
    // The zoom commands' anchor: the pointer while it is over the plan, else the middle of the view.
    QPointF pointerOrCentre() const;
    // "全体表示": the whole plan surface in view from its origin.
    void fitWhole();
    // Moves the shown plan by this many screen pixels (the plan follows a dragging pointer).
    void panBy(QPoint screenPixels);
    // The scroll box's automatic scroll bars (TfrmMain::setAutoScroll); a magnified plan always has them.
    void setAutoScroll(bool on);

    // Told after every change of the zoom.
    std::function<void(double)> onZoomChanged;

protected:
    void wheelEvent(QWheelEvent* event) override;
    // The wheel over the image is the view's, whether or not the event travels on to the scroll box.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showScrollBars();
    // Ctrl + wheel zooms about the pointer (`at`, a point of the viewport); the wheel alone pans.
    void turnWheel(const QWheelEvent& event, QPointF at);

    PlanImage* image_;
    bool autoScroll_ = false;
    int zoomWheel_ = 0;  // Ctrl + wheel turns not yet a whole notch
};

} // namespace app::forms
