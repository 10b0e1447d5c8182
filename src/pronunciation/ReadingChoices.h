#pragma once

#include "Annotation.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace lurvo::pronunciation {

// A learner's own reading of a character or word of one subtitle line, where the dictionary's
// default is wrong. It is tied to the line's text, not to a sentence's number, so it shows
// wherever that line does (the list, the sentence panel, the read-along window) and survives
// edits elsewhere in the lesson.
struct ReadingChoice {
    QString line;          // the line as the subtitles hold it
    qsizetype at = 0;      // where the character or word starts in the line, in UTF-16 units
    QStringList syllables; // one per character from `at` on

    bool operator==(const ReadingChoice&) const = default;
};

// The reading choices of one lesson, kept in a small file of the data folder named after the
// lesson's MP3 digest the way its subtitle offset is, so they follow the recording.
class ReadingChoices {
public:
    // The choices stored for the lesson; none when there is no file. A damaged file, or entries
    // that do not make sense, are skipped: a wrong choice must never cost the lesson.
    static ReadingChoices load(const QString& dataFolder, const QByteArray& digest);
    static QString filePath(const QString& dataFolder, const QByteArray& digest);
    // Replaces the file at once (never half written); without choices the file goes. False when
    // it could not be written.
    bool save(const QString& dataFolder, const QByteArray& digest) const;

    // Adds a choice, replacing any that covers the same start.
    void set(ReadingChoice choice);
    // Drops the choice covering position `at` of `line`; false when there was none.
    bool clear(const QString& line, qsizetype at);
    // The choice covering position `at` of `line`, null when none does.
    const ReadingChoice* covering(const QString& line, qsizetype at) const;
    bool isEmpty() const { return byLine_.isEmpty(); }
    QList<ReadingChoice> all() const;

    // `annotation` (of a sentence, its lines apart by line breaks) with the choices over the
    // dictionary's syllables. A choice touches only pieces with a syllable, so a line whose
    // readings changed shape keeps what fits.
    Annotation apply(Annotation annotation) const;

private:
    QHash<QString, QList<ReadingChoice>> byLine_;
};

// A place in a sentence as choices name it: the line it is on and where in that line.
struct LinePosition {
    QString line;
    qsizetype at = 0;
};
// The line of `text` (its lines apart by "\n" or "\r\n") holding `position`, and the place in it.
LinePosition linePositionOf(const QString& text, qsizetype position);

// Whether `syllable` reads as one Jyutping syllable: lower-case letters and a tone 1..6.
bool isJyutpingSyllable(const QString& syllable);

} // namespace lurvo::pronunciation
