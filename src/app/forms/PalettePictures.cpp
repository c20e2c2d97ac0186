// Palette pictures: a bevelled tile with a small line drawing of the tool.
#include "app/forms/PalettePictures.h"

#include <QPainter>
#include <QPainterPath>

namespace app::forms {
namespace {

void fixtureSymbol(QPainter& p, int cx, int cy, int r) {
    p.drawEllipse(QPoint(cx, cy), r, r);
    p.drawLine(cx - r, cy, cx + r, cy);
    p.drawLine(cx, cy - r, cx, cy + r);
}

void cross(QPainter& p, int x, int y, int s) {
    p.save();
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(x, y, x + s, y + s);
    p.drawLine(x + s, y, x, y + s);
    p.restore();
}

// The snap buttons, the calculation button and "線分のカット".
void modeGlyph(QPainter& p, const std::string& n, const QColor& ink) {
    if (n == "imgFree") {
        QPainterPath arrow;
        arrow.moveTo(8, 5);
        arrow.lineTo(8, 22);
        arrow.lineTo(12, 18);
        arrow.lineTo(16, 25);
        arrow.lineTo(18, 24);
        arrow.lineTo(14, 17);
        arrow.lineTo(20, 17);
        arrow.closeSubpath();
        p.drawPath(arrow);
    } else if (n == "imgEdge") {
        p.drawLine(4, 24, 18, 10);
        p.drawRect(16, 6, 7, 7);
        p.fillRect(19, 9, 2, 2, ink);
    } else if (n == "imgGrid") {
        for (int x = 6; x <= 24; x += 6)
            for (int y = 6; y <= 24; y += 6) p.fillRect(x - 1, y - 1, 2, 2, ink);
    } else if (n == "imgCut") {
        // A wall chain broken in two.
        p.drawLine(4, 22, 12, 14);
        p.drawLine(17, 11, 25, 5);
        p.fillRect(3, 21, 3, 3, ink);
        p.fillRect(24, 4, 3, 3, ink);
        p.drawLine(12, 8, 18, 18);
    } else if (n == "imgCalc") {
        p.setPen(QPen(QColor(52, 96, 226), 2));
        p.drawEllipse(4, 4, 22, 22);
        p.setPen(QPen(QColor(45, 217, 57), 2));
        p.drawEllipse(9, 9, 12, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 0, 0));
        p.drawEllipse(13, 13, 4, 4);
    }
}

void glyph(QPainter& p, const std::string& n, const QColor& ink) {
    p.setPen(QPen(ink, 1));
    p.setBrush(Qt::NoBrush);
    if (n == "imgRoom") {
        p.drawRect(6, 8, 18, 15);
        p.drawLine(6, 8, 15, 3);
        p.drawLine(15, 3, 24, 8);
        p.fillRect(13, 16, 4, 7, ink);
    } else if (n == "imgKigu") {
        fixtureSymbol(p, 15, 13, 7);
        p.drawLine(12, 22, 18, 22);
        p.drawLine(13, 24, 17, 24);
    } else if (n == "imgHasira") {
        p.setBrush(ink);
        p.drawRect(5, 9, 8, 8);
        p.drawEllipse(16, 9, 9, 9);
    } else if (n == "imgSelect") {
        // A pointer over a dashed window.
        p.setPen(QPen(ink, 1, Qt::DashLine));
        p.drawRect(4, 4, 16, 14);
        p.setPen(QPen(ink, 1));
        p.setBrush(ink);
        QPainterPath arrow;
        arrow.moveTo(14, 12);
        arrow.lineTo(14, 26);
        arrow.lineTo(17, 23);
        arrow.lineTo(20, 27);
        arrow.lineTo(22, 26);
        arrow.lineTo(19, 22);
        arrow.lineTo(23, 22);
        arrow.closeSubpath();
        p.drawPath(arrow);
    } else if (n == "imgLine") {
        p.drawLine(6, 23, 23, 6);
        p.fillRect(5, 22, 3, 3, ink);
        p.fillRect(22, 5, 3, 3, ink);
    } else if (n == "imgL") {
        p.drawLine(8, 5, 8, 23);
        p.drawLine(8, 23, 24, 23);
    } else if (n == "imgBox") {
        p.drawRect(6, 8, 18, 14);
    } else if (n == "imgArc") {
        p.drawArc(5, 7, 20, 20, 0, 180 * 16);
    } else if (n == "imgDelLine") {
        p.drawLine(5, 20, 20, 5);
        cross(p, 15, 15, 9);
    } else if (n == "imgArea") {
        p.drawRect(6, 9, 18, 13);
        p.fillRect(9, 12, 6, 4, ink);
    } else if (n == "imgDelArea") {
        p.drawRect(5, 6, 14, 10);
        cross(p, 15, 15, 9);
    } else if (n == "imgKigu1") {
        fixtureSymbol(p, 15, 15, 6);
    } else if (n == "imgKigu2") {
        for (int i = 0; i < 3; ++i) fixtureSymbol(p, 6 + 9 * i, 15, 3);
    } else if (n == "imgKigu3") {
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) fixtureSymbol(p, 9 + 12 * i, 9 + 12 * j, 4);
    } else if (n == "imgDelKigu") {
        fixtureSymbol(p, 11, 11, 6);
        cross(p, 15, 15, 9);
    } else if (n == "imgTakasa") {
        fixtureSymbol(p, 10, 15, 5);
        p.drawLine(22, 5, 22, 25);
        p.drawLine(19, 8, 22, 5);
        p.drawLine(25, 8, 22, 5);
        p.drawLine(19, 22, 22, 25);
        p.drawLine(25, 22, 22, 25);
    } else if (n == "imgFLyoko") {
        p.drawRect(4, 12, 22, 6);
        p.drawLine(4, 15, 26, 15);
    } else if (n == "imgFLtate") {
        p.drawRect(12, 4, 6, 22);
        p.drawLine(15, 4, 15, 26);
    } else if (n == "imgEntyuu") {
        p.setBrush(ink);
        p.drawEllipse(8, 8, 14, 14);
    } else if (n == "imgKakutyuu") {
        p.setBrush(ink);
        p.drawRect(8, 8, 14, 14);
    } else if (n == "imgHasira1") {
        p.setBrush(ink);
        p.drawRect(11, 11, 8, 8);
    } else if (n == "imgHasira2") {
        p.setBrush(ink);
        for (int i = 0; i < 3; ++i) p.drawRect(4 + 8 * i, 12, 6, 6);
    } else if (n == "imgHasira3") {
        p.setBrush(ink);
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) p.drawRect(6 + 12 * i, 6 + 12 * j, 6, 6);
    } else if (n == "imgHasiraDel") {
        p.setBrush(ink);
        p.drawRect(6, 6, 9, 9);
        cross(p, 15, 15, 9);
    } else {
        modeGlyph(p, n, ink);
    }
}

} // namespace

QPixmap palettePicture(const std::string& name, Picture state) {
    const int s = kPaletteButtonSize;
    QPixmap pm(s, s);
    const bool on = state == Picture::On;
    pm.fill(on ? QColor(200, 216, 240) : QColor(224, 224, 224));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor light = on ? QColor(96, 96, 96) : Qt::white;
    const QColor dark = on ? Qt::white : QColor(96, 96, 96);
    p.setPen(light);
    p.drawLine(0, 0, s - 1, 0);
    p.drawLine(0, 0, 0, s - 1);
    p.setPen(dark);
    p.drawLine(s - 1, 0, s - 1, s - 1);
    p.drawLine(0, s - 1, s - 1, s - 1);
    if (on) p.translate(1, 1);
    glyph(p, name, state == Picture::No ? QColor(160, 160, 160) : Qt::black);
    return pm;
}

} // namespace app::forms
