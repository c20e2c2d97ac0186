// Cursor pictures: small black-and-white drawings with a white halo so they show on any background.
#include "ui/qt/Cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <map>

namespace ui::qt {
namespace {

QCursor drawn(int hotX, int hotY, const std::function<void(QPainter&)>& draw) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    // Halo first, then the black figure on top.
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    draw(p);
    p.setPen(QPen(Qt::black, 1));
    draw(p);
    p.end();
    return QCursor(pm, hotX, hotY);
}

void crossHair(QPainter& p) {
    p.drawLine(0, 6, 12, 6);
    p.drawLine(6, 0, 6, 12);
}

} // namespace

namespace {
QCursor makeCursor(int number) {
    switch (number) {
    case 1:  // ZOOM: a magnifier
        return drawn(9, 9, [](QPainter& p) {
            p.drawEllipse(3, 3, 12, 12);
            p.drawLine(14, 14, 22, 22);
            p.drawLine(6, 9, 12, 9);
            p.drawLine(9, 6, 9, 12);
        });
    case 3:  // DELETE: a cross-hair with an eraser cross
        return drawn(6, 6, [](QPainter& p) {
            crossHair(p);
            p.drawLine(14, 14, 24, 24);
            p.drawLine(24, 14, 14, 24);
        });
    case 4:  // LEN: a cross-hair with a ruler
        return drawn(6, 6, [](QPainter& p) {
            crossHair(p);
            p.drawRect(12, 16, 16, 6);
            for (int x = 15; x < 28; x += 3) p.drawLine(x, 16, x, 19);
        });
    case 5:  // HEIGHT: a cross-hair with an up-down arrow
        return drawn(6, 6, [](QPainter& p) {
            crossHair(p);
            p.drawLine(20, 12, 20, 28);
            p.drawLine(17, 15, 20, 12);
            p.drawLine(23, 15, 20, 12);
            p.drawLine(17, 25, 20, 28);
            p.drawLine(23, 25, 20, 28);
        });
    case 6:  // MARU: a cross-hair with a circle
        return drawn(6, 6, [](QPainter& p) {
            crossHair(p);
            p.drawEllipse(14, 14, 12, 12);
        });
    case 7:  // SIKAKU: a cross-hair with a square
        return drawn(6, 6, [](QPainter& p) {
            crossHair(p);
            p.drawRect(14, 14, 12, 12);
        });
    case 8:  // TE: an open hand
        return drawn(12, 12, [](QPainter& p) {
            p.drawRoundedRect(7, 12, 14, 13, 3, 3);
            for (int i = 0; i < 4; ++i) p.drawLine(9 + 3 * i, 12, 9 + 3 * i, 4 + (i == 0 || i == 3 ? 3 : 0));
            p.drawLine(7, 18, 3, 13);
        });
    default: break;
    }
    return QCursor(Qt::ArrowCursor);
}
} // namespace

QCursor programCursor(int number) {
    // Drawn once per number: the mouse handlers ask for the cursor on every move.
    static std::map<int, QCursor> cache;
    auto it = cache.find(number);
    if (it == cache.end()) it = cache.emplace(number, makeCursor(number)).first;
    return it->second;
}

} // namespace ui::qt
