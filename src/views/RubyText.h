#pragma once

#include "pronunciation/Annotation.h"

#include <QFont>
#include <QList>
#include <QRectF>

#include <functional>

class QPainter;

namespace lurvo::views {

// How a view learns the readings of a text it shows. The application hands one to each view that
// shows readings; none, or an annotation without syllables, shows the characters alone.
using Annotator = std::function<pronunciation::Annotation(const QString& text)>;

// Whether any piece of `annotation` has a syllable.
bool hasSyllables(const pronunciation::Annotation& annotation);

// A sentence with each Jyutping syllable centred above its character, in a smaller type coloured
// by tone. Lines wrap between pieces, never inside one, so a syllable stays with its character;
// a run of Latin text breaks only at its spaces, and closing punctuation stays with what it
// follows. Line breaks in the text ("\r\n" between a sentence's two lines) are kept.
class RubyText {
public:
    // Where one piece (or one word of a bare run) stands, relative to the layout's top left.
    struct Box {
        int piece = -1;
        QString text; // the characters drawn in this box
        QRectF textRect;
        QRectF syllableRect; // empty when the piece has no syllable
        int line = 0;
    };

    RubyText() = default;
    RubyText(pronunciation::Annotation annotation, const QFont& font);

    // The syllables' type for characters in `font`: about half their size.
    static QFont syllableFontFor(const QFont& font);
    // The band the syllables take above each line of characters in `font`.
    static qreal syllableBandFor(const QFont& font);

    // Breaks the text into lines no wider than `width` (a piece wider than that has a line to
    // itself), each line aligned in the width by the horizontal part of `alignment`.
    void layout(qreal width, Qt::Alignment alignment = Qt::AlignHCenter);
    // Keeps the first `lines` lines of the layout; when that leaves text out, the last one kept
    // ends in "…", giving up as many of its pieces as that needs.
    void cutAfterLine(int lines);
    // The height the text takes laid out in `width`.
    qreal heightForWidth(qreal width) const;
    // The size after layout(): the width given and the lines' height.
    QSizeF size() const { return {width_, lineCount_ * lineHeight()}; }
    // A line: the syllables' band above the characters' band.
    qreal lineHeight() const { return syllableHeight_ + textHeight_; }
    qreal syllableBandHeight() const { return syllableHeight_; }
    int lineCount() const { return lineCount_; }
    const QList<Box>& boxes() const { return boxes_; }
    const pronunciation::Annotation& annotation() const { return annotation_; }

    // The piece whose characters or syllable are at `point`, -1 for none.
    int pieceAt(const QPointF& point) const;
    // The piece whose syllable is at `point`, -1 when no syllable is there.
    int syllableAt(const QPointF& point) const;

    // Draws the lines laid out with the layout's top left at `origin`, the characters in `text`;
    // lines from `maxLines` on are left out (all when negative).
    void paint(QPainter& p, const QPointF& origin, const QColor& text, int maxLines = -1) const;

private:
    // A piece with a syllable, a bare character or word, a space, or a line break, as measured.
    struct Item {
        enum Kind { Word, Space, Break };
        Kind kind = Word;
        int piece = -1;
        QString text;
        qreal width = 0;
        bool glued = false; // no line break before it
    };

    pronunciation::Annotation annotation_;
    QList<Item> items_;
    QFont font_;
    QFont syllableFont_;
    qreal syllableHeight_ = 0;
    qreal textHeight_ = 0;
    QList<Box> boxes_;
    qreal width_ = 0;
    int lineCount_ = 0;
};

// The syllables of `annotation` in one line, each in its tone's colour and a space apart, from
// the left of `area` and vertically centred in it; what does not fit is left out whole.
void paintSyllableLine(QPainter& p, const QRectF& area, const pronunciation::Annotation& annotation,
                       const QFont& font, const QColor& text);

// The height of a line of Chinese text in `font`: the Chinese glyphs often come from another
// font than the one named, taller than its own lines.
qreal chineseLineHeight(const QFont& font);

} // namespace lurvo::views
