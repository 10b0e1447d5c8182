#include "views/ControlImages.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace lurvo::views {

void paintLogo(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // A rounded badge in the blue of the application icon.
    QLinearGradient badge(0, 0, 0, 60);
    badge.setColorAt(0, QColor(0x2e, 0x67, 0xb0));
    badge.setColorAt(1, QColor(0x1f, 0x4e, 0x8c));
    p.setPen(Qt::NoPen);
    p.setBrush(badge);
    p.drawRoundedRect(QRectF(1, 1, 123, 58), 9, 9);

    // Two speech waves on the left: what is heard, and heard again.
    p.setPen(QPen(QColor(0xf2, 0xc1, 0x4e), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (const int r : {8, 15})
        p.drawArc(QRectF(14 - r, 30 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(13, 30), 3.5, 3.5);

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(22);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QRect(34, 5, 88, 28), Qt::AlignCenter, QStringLiteral("Lurvo"));

    QFont tagline(QStringLiteral("Noto Sans CJK SC"));
    tagline.setPixelSize(14);
    p.setFont(tagline);
    p.setPen(QColor(0xf2, 0xc1, 0x4e));
    p.drawText(QRect(34, 32, 88, 22), Qt::AlignCenter, QStringLiteral("粤语复读"));
    p.restore();
}

} // namespace lurvo::views
