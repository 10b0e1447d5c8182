#include "pronunciation/ReadingSubtitles.h"

#include "subtitles/SubtitleWriting.h"
#include "subtitles/TimeText.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <limits>

namespace lurvo::pronunciation {

namespace {

QString timeTag(std::int64_t ms) {
    return u'[' +
           subtitles::formatLrcTime(
               int(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<int>::max()))) +
           u']';
}

// A text written into a line of the file: a line break would split the record.
QString oneLine(QString text) {
    for (QChar& c : text) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return text;
}

} // namespace

QString readingLine(const Annotation& annotation) {
    QStringList syllables;
    for (const Piece& piece : annotation) {
        if (!piece.syllable.isEmpty())
            syllables.append(piece.syllable);
    }
    return syllables.join(u' ');
}

QByteArray readingSubtitleBytes(const subtitles::SubtitleDocument& doc,
                                const TextAnnotator& annotate) {
    QString text;
    text += QChar(QChar::ByteOrderMark);
    text += doc.header;
    for (const subtitles::SubtitleLine& line : doc.lines) {
        // The file's [offset:] stays in the header; the per-lesson one is written into the times.
        const QString tag = timeTag(doc.fileTimeOf(line) - doc.appliedOffsetMs);
        text += tag;
        text += oneLine(line.text);
        text += u"\r\n";
        text += tag;
        text += readingLine(annotate(line.text));
        text += u"\r\n";
    }
    return text.toUtf8();
}

int writeReadingSubtitles(const subtitles::SubtitleDocument& doc, const TextAnnotator& annotate,
                          const QString& path) {
    return subtitles::replaceFile(path, readingSubtitleBytes(doc, annotate));
}

QString readingSubtitlePathFor(const QString& lrcPath) {
    const QFileInfo info(lrcPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".jyutping.lrc"));
}

} // namespace lurvo::pronunciation
