#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

namespace lurvo::views {

// A text laid out to fit a box: wrapped at word boundaries (a word wider than the box anywhere),
// each line centred; in a smaller type, down to a given size, when it does not fit; and at that
// size cut after the last whole line that fits, which then ends in "…". No line is ever cut
// through.
class FittedText {
public:
    struct Line {
        QString text;
        QRectF rect; // relative to the box's top left
    };

    static FittedText fit(const QString& text, const QFont& font, int smallestPixelSize,
                          const QSizeF& box);

    const QFont& font() const { return font_; }
    const QList<Line>& lines() const { return lines_; }
    bool elided() const { return elided_; }
    // The height the lines take.
    qreal height() const { return lines_.isEmpty() ? 0 : lines_.back().rect.bottom(); }

    void paint(QPainter& p, const QPointF& origin) const;

private:
    // The lines of `text` wrapped in `width`, one after another from the top; each keeps where
    // it starts in the text so that what follows a cut can be found.
    struct Wrapped {
        QList<Line> lines;
        QList<qsizetype> starts;
    };
    static Wrapped wrap(const QString& text, const QFont& font, qreal width);

    QFont font_;
    QList<Line> lines_;
    bool elided_ = false;
};

// The size in pixels of `font`, also when it was given in points.
int pixelSizeOf(const QFont& font);

} // namespace lurvo::views
