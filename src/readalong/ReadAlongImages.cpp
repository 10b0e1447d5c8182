#include "readalong/ReadAlongImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace lurvo::readalong {

namespace {

constexpr int kWidth = 50;
constexpr int kHeight = 32;
// The screen scales the pictures are drawn for; others take the nearest.
constexpr qreal kDevicePixelRatios[] = {1, 1.5, 2, 3};
const QColor kRed(0xd0, 0x30, 0x30);

void triangle(QPainter& p, qreal x, qreal y, qreal w, qreal h, bool pointsRight) {
    QPainterPath path;
    path.moveTo(pointsRight ? x : x + w, y);
    path.lineTo(pointsRight ? x + w : x, y + h / 2);
    path.lineTo(pointsRight ? x : x + w, y + h);
    path.closeSubpath();
    p.drawPath(path);
}

QPixmap draw(ReadAlongImage image, bool recordingLook, bool enabled, qreal devicePixelRatio) {
    // Drawn in the screen's own pixels, so the shapes stay sharp on a scaled screen.
    QPixmap pixmap(QSize(kWidth, kHeight) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = enabled ? QColor(0x1f, 0x4e, 0x8c) : QColor(0xa8, 0xa8, 0xa8);
    const QColor red = enabled ? kRed : QColor(0xc8, 0xa8, 0xa8);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (image) {
    case ReadAlongImage::Previous:
        p.drawRect(QRectF(13, 7, 3, 16));
        triangle(p, 17, 7, 10, 16, false);
        triangle(p, 27, 7, 10, 16, false);
        break;
    case ReadAlongImage::Next:
        triangle(p, 13, 7, 10, 16, true);
        triangle(p, 23, 7, 10, 16, true);
        p.drawRect(QRectF(34, 7, 3, 16));
        break;
    case ReadAlongImage::PlayLesson:
        // A loudspeaker: the lesson's own voice.
        p.drawRect(QRectF(13, 11, 6, 9));
        triangle(p, 15, 6, 11, 19, false);
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (const int r : {5, 10})
            p.drawArc(QRectF(27 - r, 15.5 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
        break;
    case ReadAlongImage::PlayRecording:
        // A play triangle beside a microphone: one's own reading, played back.
        triangle(p, 12, 8, 11, 15, true);
        p.drawRoundedRect(QRectF(28, 5, 7, 12), 3.5, 3.5);
        p.setPen(QPen(ink, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(25.5, 9, 12, 11), 180 * 16, 180 * 16);
        p.drawLine(QPointF(31.5, 20), QPointF(31.5, 25));
        p.drawLine(QPointF(28, 25), QPointF(35, 25));
        break;
    case ReadAlongImage::PlayBoth:
        // A small loudspeaker, an arrow, a small microphone: the lesson, then one's own reading.
        p.drawRect(QRectF(4, 12.5, 4, 7));
        triangle(p, 5, 9, 8, 14, false);
        p.drawPolygon(QPolygonF({QPointF(26, 12), QPointF(30, 16), QPointF(26, 20)}));
        p.drawRoundedRect(QRectF(36, 6, 6, 11), 3, 3);
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 11.5, 8, 8), -45 * 16, 90 * 16);
        p.drawLine(QPointF(20, 16), QPointF(27, 16));
        p.drawArc(QRectF(34, 10, 10, 10), 180 * 16, 180 * 16);
        p.drawLine(QPointF(39, 20), QPointF(39, 25));
        p.drawLine(QPointF(36, 25), QPointF(42, 25));
        break;
    case ReadAlongImage::Record:
        p.setBrush(red);
        if (recordingLook)
            p.drawRoundedRect(QRectF(17, 8, 16, 16), 2, 2);
        else
            p.drawEllipse(QRectF(16, 7, 18, 18));
        break;
    case ReadAlongImage::Pitch: {
        // Two contours over level lines: the lesson's pitch and one's own.
        p.setPen(QPen(enabled ? QColor(0xc8, 0xd4, 0xe4) : QColor(0xe0, 0xe0, 0xe0), 1));
        for (const int y : {9, 16, 23})
            p.drawLine(QPointF(10, y), QPointF(40, y));
        p.setBrush(Qt::NoBrush);
        QPainterPath lesson;
        lesson.moveTo(10, 10);
        lesson.cubicTo(18, 10, 20, 24, 28, 22);
        lesson.cubicTo(34, 20, 36, 12, 40, 12);
        p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(lesson);
        QPainterPath own;
        own.moveTo(10, 14);
        own.cubicTo(18, 14, 21, 26, 29, 25);
        own.cubicTo(35, 24, 36, 17, 40, 16);
        p.setPen(QPen(enabled ? QColor(0xe0, 0x7a, 0x10) : QColor(0xc8, 0xc8, 0xc8), 2,
                      Qt::SolidLine, Qt::RoundCap));
        p.drawPath(own);
        break;
    }
    case ReadAlongImage::Exit: {
        // A door with an arrow leaving it.
        p.setPen(QPen(ink, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(13, 6, 13, 20));
        p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(21, 16), QPointF(35, 16));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        triangle(p, 33, 11, 6, 10, true);
        break;
    }
    }
    if (recordingLook) {
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawRect(QRectF(4, 29, kWidth - 8, 2));
    }
    return pixmap;
}

} // namespace

QIcon readAlongIcon(ReadAlongImage image, bool recordingLook) {
    QIcon icon;
    for (const qreal ratio : kDevicePixelRatios) {
        icon.addPixmap(draw(image, recordingLook, true, ratio), QIcon::Normal);
        icon.addPixmap(draw(image, recordingLook, false, ratio), QIcon::Disabled);
    }
    return icon;
}

} // namespace lurvo::readalong
