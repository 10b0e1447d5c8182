#include "views/RubyText.h"

#include "views/ToneColours.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace lurvo::views {

namespace {

// Type that must not begin a line: it belongs to what stands before it.
bool closesOff(QChar c) {
    switch (c.category()) {
    case QChar::Punctuation_Close:
    case QChar::Punctuation_FinalQuote:
    case QChar::Punctuation_Other:
        return true;
    default:
        return false;
    }
}

// Type that must not end a line: it belongs to what follows it.
bool opensUp(QChar c) {
    return c.category() == QChar::Punctuation_Open ||
           c.category() == QChar::Punctuation_InitialQuote;
}

} // namespace

bool hasSyllables(const pronunciation::Annotation& annotation) {
    return std::any_of(annotation.begin(), annotation.end(),
                       [](const pronunciation::Piece& p) { return !p.syllable.isEmpty(); });
}

qreal chineseLineHeight(const QFont& font) {
    QTextLayout layout(QStringLiteral("粵語Ag"), font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return std::max(QFontMetricsF(font).lineSpacing(), std::ceil(line.height()));
}

QFont RubyText::syllableFontFor(const QFont& font) {
    QFont small(font);
    small.setWeight(QFont::Normal);
    if (font.pixelSize() > 0)
        small.setPixelSize(std::max(10, qRound(font.pixelSize() * 0.55)));
    else
        small.setPointSizeF(std::max(7.5, font.pointSizeF() * 0.55));
    return small;
}

qreal RubyText::syllableBandFor(const QFont& font) {
    return std::ceil(QFontMetricsF(syllableFontFor(font)).height()) + 1;
}

RubyText::RubyText(pronunciation::Annotation annotation, const QFont& font)
    : annotation_(std::move(annotation)), font_(font), syllableFont_(syllableFontFor(font)) {
    const QFontMetricsF metrics(font_);
    const QFontMetricsF small(syllableFont_);
    textHeight_ = chineseLineHeight(font_);
    syllableHeight_ = hasSyllables(annotation_) ? syllableBandFor(font_) : 0;
    // Neighbouring syllables stay a space apart.
    const qreal syllableGap = small.horizontalAdvance(QLatin1Char(' '));
    const auto addWord = [&](int piece, const QString& text) {
        Item item{Item::Word, piece, text, metrics.horizontalAdvance(text), false};
        item.glued =
            closesOff(text.front()) || (!items_.isEmpty() && items_.back().kind == Item::Word &&
                                        opensUp(items_.back().text.back()));
        items_.append(item);
    };
    for (int i = 0; i < annotation_.size(); ++i) {
        const pronunciation::Piece& piece = annotation_[i];
        if (piece.text.isEmpty())
            continue;
        if (!piece.syllable.isEmpty()) {
            addWord(i, piece.text);
            items_.back().width = std::max(items_.back().width,
                                           small.horizontalAdvance(piece.syllable) + syllableGap);
            continue;
        }
        // A bare run: its words, the spaces between them, and its line breaks.
        QString word;
        const auto endWord = [&] {
            if (!word.isEmpty())
                addWord(i, word);
            word.clear();
        };
        for (const QChar c : piece.text) {
            if (c == QLatin1Char('\r'))
                continue;
            if (c == QLatin1Char('\n') || c == QChar(QChar::LineSeparator) ||
                c == QChar(QChar::ParagraphSeparator)) {
                endWord();
                items_.append({Item::Break, i, {}, 0, false});
            } else if (c.isSpace()) {
                endWord();
                items_.append({Item::Space, i, QString(c), metrics.horizontalAdvance(c), false});
            } else {
                word += c;
            }
        }
        endWord();
    }
}

void RubyText::layout(qreal width, Qt::Alignment alignment) {
    width_ = width;
    boxes_.clear();
    int line = 0;
    qreal x = 0;
    qreal pendingSpace = 0; // spaces count only once something follows them on the line
    qsizetype lineStart = 0;
    const auto finishLine = [&] {
        qreal shift = 0;
        if (alignment & Qt::AlignHCenter)
            shift = std::max(0.0, (width - x) / 2);
        else if (alignment & Qt::AlignRight)
            shift = std::max(0.0, width - x);
        for (qsizetype b = lineStart; b < boxes_.size(); ++b) {
            boxes_[b].textRect.translate(shift, 0);
            if (!boxes_[b].syllableRect.isNull())
                boxes_[b].syllableRect.translate(shift, 0);
        }
        ++line;
        x = 0;
        pendingSpace = 0;
        lineStart = boxes_.size();
    };
    for (qsizetype i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.kind == Item::Break) {
            finishLine();
            continue;
        }
        if (item.kind == Item::Space) {
            if (x > 0)
                pendingSpace += item.width;
            continue;
        }
        // The item and those glued to it go on one line together.
        qsizetype end = i + 1;
        qreal groupWidth = item.width;
        for (; end < items_.size() && items_[end].kind == Item::Word && items_[end].glued; ++end)
            groupWidth += items_[end].width;
        if (x > 0 && x + pendingSpace + groupWidth > width)
            finishLine();
        x += pendingSpace;
        pendingSpace = 0;
        const qreal top = line * lineHeight();
        for (qsizetype k = i; k < end; ++k) {
            const Item& placed = items_[k];
            Box box;
            box.piece = placed.piece;
            box.text = placed.text;
            box.textRect = QRectF(x, top + syllableHeight_, placed.width, textHeight_);
            if (!annotation_[placed.piece].syllable.isEmpty())
                box.syllableRect = QRectF(x, top, placed.width, syllableHeight_);
            box.line = line;
            boxes_.append(box);
            x += placed.width;
        }
        i = end - 1;
    }
    if (x > 0 || line == 0)
        finishLine();
    lineCount_ = items_.isEmpty() ? 0 : line;
}

void RubyText::cutAfterLine(int lines) {
    if (lines >= lineCount_)
        return;
    lines = std::max(lines, 1);
    lineCount_ = lines;
    while (!boxes_.isEmpty() && boxes_.back().line >= lines)
        boxes_.removeLast();
    const QString mark = QStringLiteral("…");
    const qreal markWidth = QFontMetricsF(font_).horizontalAdvance(mark);
    qreal x = 0;
    while (!boxes_.isEmpty() && boxes_.back().line == lines - 1) {
        x = boxes_.back().textRect.right();
        if (x + markWidth <= width_)
            break;
        boxes_.removeLast();
        x = 0;
    }
    Box box;
    box.text = mark;
    box.textRect = QRectF(x, (lines - 1) * lineHeight() + syllableHeight_, markWidth, textHeight_);
    box.line = lines - 1;
    boxes_.append(box);
}

qreal RubyText::heightForWidth(qreal width) const {
    RubyText copy(*this);
    copy.layout(width);
    return copy.size().height();
}

int RubyText::pieceAt(const QPointF& point) const {
    for (const Box& box : boxes_)
        if (box.textRect.contains(point) || box.syllableRect.contains(point))
            return box.piece;
    return -1;
}

int RubyText::syllableAt(const QPointF& point) const {
    for (const Box& box : boxes_)
        if (box.syllableRect.contains(point))
            return box.piece;
    return -1;
}

void RubyText::paint(QPainter& p, const QPointF& origin, const QColor& text, int maxLines) const {
    p.save();
    for (const Box& box : boxes_) {
        if (maxLines >= 0 && box.line >= maxLines)
            break;
        p.setFont(font_);
        p.setPen(text);
        p.drawText(box.textRect.translated(origin), Qt::AlignCenter | Qt::TextSingleLine, box.text);
        if (box.syllableRect.isNull())
            continue;
        const pronunciation::Piece& piece = annotation_[box.piece];
        p.setFont(syllableFont_);
        p.setPen(toneColour(piece.tone, text));
        p.drawText(box.syllableRect.translated(origin),
                   Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, piece.syllable);
    }
    p.restore();
}

void paintSyllableLine(QPainter& p, const QRectF& area, const pronunciation::Annotation& annotation,
                       const QFont& font, const QColor& text) {
    p.save();
    p.setFont(font);
    const QFontMetricsF metrics(font);
    const qreal gap = metrics.horizontalAdvance(QLatin1Char(' '));
    qreal x = area.left();
    for (const pronunciation::Piece& piece : annotation) {
        if (piece.syllable.isEmpty())
            continue;
        const qreal width = metrics.horizontalAdvance(piece.syllable);
        if (x + width > area.right())
            break;
        p.setPen(toneColour(piece.tone, text));
        p.drawText(QRectF(x, area.top(), width, area.height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, piece.syllable);
        x += width + gap;
    }
    p.restore();
}

} // namespace lurvo::views
