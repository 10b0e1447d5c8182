#include "app/ToolbarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lurvo::app {

namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 16;
// The screen scales the pictures are drawn for; others take the nearest.
constexpr qreal kDevicePixelRatios[] = {1, 1.5, 2, 3};

void triangle(QPainter& p, qreal x, bool pointsRight) {
    QPainterPath path;
    if (pointsRight) {
        path.moveTo(x, 3);
        path.lineTo(x + 9, 8);
        path.lineTo(x, 13);
    } else {
        path.moveTo(x + 9, 3);
        path.lineTo(x, 8);
        path.lineTo(x + 9, 13);
    }
    path.closeSubpath();
    p.drawPath(path);
}

QPixmap draw(ToolbarImage image, bool enabled, qreal devicePixelRatio) {
    // Drawn in the screen's own pixels, so the shapes stay sharp on a scaled screen.
    QPixmap pixmap(QSize(kWidth, kHeight) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = enabled ? QColor(0x1f, 0x4e, 0x8c) : QColor(0xa0, 0xa0, 0xa0);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (image) {
    case ToolbarImage::Open:
        p.drawRect(QRectF(17, 5, 14, 9));
        p.drawRect(QRectF(17, 3, 6, 3));
        p.setBrush(enabled ? QColor(0xf2, 0xc1, 0x4e) : QColor(0xd8, 0xd8, 0xd8));
        p.drawRect(QRectF(19, 7, 10, 5));
        break;
    case ToolbarImage::Play:
        triangle(p, 20, true);
        break;
    case ToolbarImage::Pause:
        p.drawRect(QRectF(19, 3, 3.5, 10));
        p.drawRect(QRectF(25.5, 3, 3.5, 10));
        break;
    case ToolbarImage::Stop:
        p.drawRect(QRectF(19, 3, 10, 10));
        break;
    case ToolbarImage::Previous:
        p.drawRect(QRectF(16, 3, 2.5, 10));
        triangle(p, 19, false);
        triangle(p, 26, false);
        break;
    case ToolbarImage::Next:
        triangle(p, 13, true);
        triangle(p, 20, true);
        p.drawRect(QRectF(29.5, 3, 2.5, 10));
        break;
    case ToolbarImage::Repeat: {
        QPen pen(ink, 2);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(17, 3, 12, 10), 40 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        QPainterPath head;
        head.moveTo(28, 1.5);
        head.lineTo(31.5, 6.5);
        head.lineTo(25, 6.5);
        head.closeSubpath();
        p.drawPath(head);
        break;
    }
    case ToolbarImage::ReadAlong:
        // A microphone.
        p.drawRoundedRect(QRectF(21, 2, 6, 8), 3, 3);
        p.setPen(QPen(ink, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(18.5, 4, 11, 8), 180 * 16, 180 * 16);
        p.drawLine(QPointF(24, 12), QPointF(24, 14.5));
        p.drawLine(QPointF(21, 14.5), QPointF(27, 14.5));
        break;
    }
    return pixmap;
}

} // namespace

QIcon toolbarIcon(ToolbarImage image) {
    QIcon icon;
    for (const qreal ratio : kDevicePixelRatios) {
        icon.addPixmap(draw(image, true, ratio), QIcon::Normal);
        icon.addPixmap(draw(image, false, ratio), QIcon::Disabled);
    }
    return icon;
}

} // namespace lurvo::app
