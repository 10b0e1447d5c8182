#pragma once

#include "subtitles/LrcSource.h"
#include "subtitles/SentenceMode.h"
#include "subtitles/SubtitleLine.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace lurvo::subtitles {

// Longest header kept verbatim for saving, in UTF-16 units.
inline constexpr qsizetype kMaxHeaderUnits = 102399;
// What load() returns for a file larger than the reader takes (kMaxSubtitleFileBytes).
inline constexpr int kLoadTooLarge = -2;

// A lesson's subtitles: timed lines ascending by start, plus what saving needs to write them
// back. Filled once by load(); the timeline operations assume indexes within range.
class SubtitleDocument {
public:
    QList<SubtitleLine> lines;
    bool modified = false;            // unsaved edits exist
    std::int32_t fileOffsetMs = 0;    // the file's own [offset:] tag
    std::int32_t appliedOffsetMs = 0; // the per-lesson offset now applied
    QString header;                   // file text before the first timed line
    QString path;                     // where the document was loaded from, and saved to
    LrcSource source;                 // the file as read: what saving keeps
    int skippedLines = 0;             // lines whose time tags could not be read
    bool convertedToUtf8 = false; // the last save had to write UTF-8 instead of the encoding read
    // The .srt or .vtt file the lines were read from; path is then the .lrc beside it that
    // saving writes, and a successful save clears this, the .lrc being the lesson's file.
    QString cueFile;

    // Reads and parses a whole .lrc file (or an .srt or .vtt file) into this fresh document.
    // Returns -1 when the file cannot be read (errno tells why), kLoadTooLarge when it is larger
    // than the reader takes, 0 when its content is invalid or holds no timed line, 1 on success.
    int load(const QString& path);

    // As load(), on the bytes of a file.
    int loadBytes(const QByteArray& raw);
    // Parses text into lines, header and file offset, then sorts the lines. A line whose time
    // tags cannot all be read is skipped and counted. False when no line results.
    bool parse(QStringView text);

    int lineCount() const { return int(lines.size()); }
    const SubtitleLine& line(int i) const { return lines[i]; }

    // The line whose interval [start, next start) holds the position: the last line from its
    // start on, the first line before its start. -1 for an empty document.
    int lineIndexAt(int positionMs) const;
    // The next line's start, or durationMs (the end of the recording) for the last line.
    int lineEndMs(int i, int durationMs) const;
    // Makes offsetMs the applied per-lesson offset: a positive offset makes lines come earlier.
    void applyOffset(int offsetMs);

    // Edits; both set modified. The text keeps at most kMaxLineTextUnits units; the new start is
    // in the display time base and must keep the lines in order.
    void setLineText(int i, const QString& text);
    void setLineStart(int i, int startMs);

    // The line's start as written in the file: both offsets added back.
    std::int64_t fileTimeOf(const SubtitleLine& line) const;
    // Whether the line's text or start differs from what its file says; true for a line not
    // read from the file.
    bool isEdited(const SubtitleLine& line) const;

    // Writes the edits back to path, when modified: the lines edited are rewritten, every other
    // byte of the file stays (a document not read from a file is written whole, as UTF-16). The
    // file is replaced whole or not at all. Returns 0 on success or when nothing needed saving,
    // else an errno value; modified is cleared only on success.
    int save();
    // Writes lines first..last (none when first > last) after the whole header to targetPath,
    // the first of them at the lesson's total offset and the others relative to it. 0 or an
    // errno value, as save().
    int writeRange(int first, int last, const QString& targetPath) const;

    // The text a timed source line shows: what follows its tags, at most kMaxLineTextUnits.
    static QString shownText(const SourceLine& line);

    int sentenceCount(SentenceMode mode) const;
    SentenceOfLine sentenceOfLine(int lineIndex, SentenceMode mode) const;
    // Lines of a 1-based sentence number from 1 to sentenceCount(mode).
    LineRange linesOfSentence(int sentence, SentenceMode mode) const;

private:
    bool parseSource();
};

} // namespace lurvo::subtitles
