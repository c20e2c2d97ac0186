// The colour-temperature scale window.
#include "view/forms/TfrmTempScale.h"

#include "view/Legends.h"
#include "ui/qt/FormKit.h"

#include <QPainter>

namespace view::forms {

TfrmTempScale::TfrmTempScale(QWidget* parent)
    : QWidget(parent, ui::qt::kToolWindowFlags),
      picture_(kTemperatureScaleSize.width, kTemperatureScaleSize.height) {
    setObjectName(QStringLiteral("frmTempScale"));
    setWindowTitle(QStringLiteral("色温度スケール"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFixedSize(174, 52);
    picture_.fillRect(ui::Rect{0, 0, picture_.width(), picture_.height()}, ui::colors::white);
}

void TfrmTempScale::setPicture(const ui::Surface& picture) {
    picture_.drawSurface(0, 0, picture);
    update();
}

void TfrmTempScale::setMerged(bool merged) {
    const bool visible = isVisible();
    setWindowFlag(Qt::FramelessWindowHint, merged);
    if (visible) show();
}

void TfrmTempScale::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(4, 8, *picture_.image());
}

} // namespace view::forms
