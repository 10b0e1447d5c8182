#include "views/FittedText.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace lurvo::views {

int pixelSizeOf(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

FittedText::Wrapped FittedText::wrap(const QString& text, const QFont& font, qreal width) {
    Wrapped wrapped;
    qreal y = 0;
    qsizetype paragraphStart = 0;
    // Paragraph by paragraph: a sentence's second line always starts a line of its own.
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        QString paragraph = raw;
        if (paragraph.endsWith(QLatin1Char('\r')))
            paragraph.chop(1);
        QTextLayout layout(paragraph, font);
        QTextOption option(Qt::AlignHCenter);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            const QString shown = paragraph.mid(line.textStart(), line.textLength()).trimmed();
            const qreal lineWidth = std::min(width, line.naturalTextWidth());
            const qreal height = std::ceil(line.height());
            wrapped.lines.append({shown, QRectF((width - lineWidth) / 2, y, lineWidth, height)});
            wrapped.starts.append(paragraphStart + line.textStart());
            y += height;
        }
        layout.endLayout();
        if (paragraph.isEmpty()) {
            // An empty paragraph still takes a line.
            const qreal height = std::ceil(QFontMetricsF(font).lineSpacing());
            wrapped.lines.append({QString(), QRectF(width / 2, y, 0, height)});
            wrapped.starts.append(paragraphStart);
            y += height;
        }
        paragraphStart += raw.size() + 1;
    }
    return wrapped;
}

FittedText FittedText::fit(const QString& text, const QFont& font, int smallestPixelSize,
                           const QSizeF& box) {
    FittedText fitted;
    fitted.font_ = font;
    int size = pixelSizeOf(font);
    smallestPixelSize = std::min(smallestPixelSize, size);
    Wrapped wrapped;
    // The largest type, from the one asked for down to the smallest, in which all of it fits.
    for (;; --size) {
        fitted.font_.setPixelSize(size);
        wrapped = wrap(text, fitted.font_, box.width());
        const qreal height = wrapped.lines.isEmpty() ? 0 : wrapped.lines.back().rect.bottom();
        if (height <= box.height() || size <= smallestPixelSize)
            break;
    }
    qsizetype kept = 0;
    while (kept < wrapped.lines.size() && wrapped.lines[kept].rect.bottom() <= box.height())
        ++kept;
    kept = std::max<qsizetype>(kept, std::min<qsizetype>(1, wrapped.lines.size()));
    fitted.lines_ = wrapped.lines.mid(0, kept);
    if (kept < wrapped.lines.size()) {
        // The last line shown takes what is left of the text, as much as fits, then "…".
        fitted.elided_ = true;
        QString rest = text.mid(wrapped.starts[kept - 1]);
        rest.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        rest.replace(QLatin1Char('\n'), QLatin1Char(' '));
        rest = rest.simplified() + QStringLiteral("…");
        const QFontMetricsF metrics(fitted.font_);
        const QString shown = metrics.elidedText(rest, Qt::ElideRight, box.width());
        Line& last = fitted.lines_.back();
        const qreal width = std::min(box.width(), metrics.horizontalAdvance(shown));
        last.text = shown;
        last.rect = QRectF((box.width() - width) / 2, last.rect.top(), width, last.rect.height());
    }
    return fitted;
}

void FittedText::paint(QPainter& p, const QPointF& origin) const {
    p.save();
    p.setFont(font_);
    for (const Line& line : lines_)
        p.drawText(line.rect.translated(origin).adjusted(-2, 0, 2, 0),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, line.text);
    p.restore();
}

} // namespace lurvo::views
