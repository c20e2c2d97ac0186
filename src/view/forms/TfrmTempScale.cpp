// The colour-temperature scale window.
#include "view/forms/TfrmTempScale.h"

#include "view/TempScalePicture.h"

#include <QPainter>

namespace view::forms {

TfrmTempScale::TfrmTempScale(const catalog::LightColorTable& colours, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), picture_(kTempScaleWidth, kTempScaleHeight) {
    setObjectName(QStringLiteral("frmTempScale"));
    setWindowTitle(QStringLiteral("色温度スケール"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFixedSize(174, 52);
    drawTempScalePicture(picture_, colours);
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
