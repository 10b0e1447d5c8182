#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>

// Reading .srt and .vtt subtitle files, whose timed blocks ("cues") become the lines of a lesson.
// They are never written: edits are saved as an .lrc file beside them.
namespace lurvo::subtitles {

class SubtitleDocument;

// Whether a path names an .srt or .vtt file, whatever the case of its extension.
bool isCueFilePath(QStringView path);

// The .lrc file that takes the edits of a cue file: the same name ending in "lrc".
QString lrcPathForCueFile(const QString& cuePath);

struct Cue {
    std::int32_t startMs = 0;
    QString text; // its text lines joined by a space, without formatting
};

struct CueList {
    QList<Cue> cues; // in file order
    int skipped = 0; // blocks that were neither a readable cue nor a known kind of note
};

// Reads "[h:]mm:ss[.,]fff" into milliseconds; -1 when the text is no cue time.
int parseCueTime(QStringView text);

// The text of one line of a cue as a learner reads it: formatting tags removed (ruby readings
// with them), character references decoded, runs of white space made one space.
QString cueLineText(QStringView line);

// The cues of a subtitle file given as its lines. Both formats are read alike, so a file
// named for the one but written in the other still opens.
CueList parseCues(const QStringList& fileLines);

// Fills a fresh document from the bytes of a cue file, decoded as an .lrc file would be: one line
// per cue at its start, sorted by start; skipped blocks are counted in skippedLines. The
// document is not tied to the cue file's bytes, so saving writes a whole new .lrc file.
// False when no cue results.
bool loadCueBytes(SubtitleDocument& doc, const QByteArray& raw);

} // namespace lurvo::subtitles
