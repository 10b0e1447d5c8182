#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lurvo::app {

namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x8c));
    p.drawRoundedRect(QRectF(4, 6, 56, 42), 12, 12);
    QPainterPath tail;
    tail.moveTo(16, 44);
    tail.lineTo(14, 60);
    tail.lineTo(30, 46);
    tail.closeSubpath();
    p.drawPath(tail);
    QPen arrow(QColor(0xf2, 0xc1, 0x4e), 5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(arrow);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(18, 13, 28, 28), 60 * 16, 290 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    QPainterPath head;
    head.moveTo(41, 8);
    head.lineTo(47, 20);
    head.lineTo(34, 19);
    head.closeSubpath();
    p.drawPath(head);
    return pixmap;
}

} // namespace

QIcon appIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128})
        icon.addPixmap(drawIcon(size));
    return icon;
}

} // namespace lurvo::app
