#pragma once

#include "subtitles/SentenceMode.h"
#include "subtitles/SubtitleDocument.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>

// Cutting a lesson into smaller lessons of a few sentences each: what the split dialog asks
// for and what every segment is made of. No widget and no process here.
namespace lurvo::split {

// Longest destination folder read from the dialog, in UTF-16 units.
inline constexpr qsizetype kMaxFolderUnits = 259;

// The parameters of one run, as the split dialog leaves them.
struct SplitJob {
    int startSentence = 1;       // 1-based, 1..sentenceCount
    int endSentence = 1;         // the last sentence that must be covered
    int sentencesPerSegment = 1; // 1 or more
    int firstNumber = 0;         // sequence number of the first segment's name, 0 or more
    bool frameExact = true;      // cut points by frame-exact calculation, else bitrate estimate
    QString destFolder;
};

// ceil((end - start + 1) / sentencesPerSegment); 0 for a job that covers nothing.
int SegmentCount(const SplitJob& job);

// The sentences and lines of segment k (1-based). The last segment keeps its full number of
// sentences past endSentence, unless the document ends first.
struct SegmentSpan {
    int firstSentence = 0; // 1-based
    int lastSentence = 0;
    int firstLine = 0; // 0-based, inclusive
    int lastLine = 0;
    bool operator==(const SegmentSpan&) const = default;
};
SegmentSpan segmentSpan(const SplitJob& job, int k, const subtitles::SubtitleDocument& doc,
                        subtitles::SentenceMode mode);

// "<lesson file name without folder and extension>_<number>", the number firstNumber + k - 1
// with at least four digits. 64-bit, so 2147483647 + k still counts on. "+" and "@" of the
// lesson's name become "_": the splitter would read them as parts of a pattern.
QString segmentName(const QString& lessonPath, int firstNumber, int k);

// A start time as the splitter reads it: minutes.seconds.hundredths, minutes not wrapped into
// hours, the hundredths always with two digits (the splitter reads "0.11.3" as 11.30 s); times
// before 0 count as 0.
QString cutTimeText(int startMs);

// Where the segment's audio begins and ends: the start of its first line, and the start of the
// line after its last one, or "EOF" when it reaches the document's last line (so the audio
// after the last subtitle stays with it).
struct CutPoints {
    QString begin;
    QString end;
    bool operator==(const CutPoints&) const = default;
};
CutPoints cutPoints(const subtitles::SubtitleDocument& doc, const SegmentSpan& span);

// The destination folder without one trailing "\" or "/". The root folder stays "/": empty
// would mean the splitter's working folder.
QString segmentFolder(const QString& destFolder);

// The splitter's arguments for one segment, each its own argument (never a command line for a
// shell): lesson, begin, end, "-d" folder, "-o" name, and "-f" in frame-exact mode.
QStringList splitterArguments(const QString& lessonPath, const CutPoints& cut,
                              const QString& folder, const QString& name, bool frameExact);

// Everything needed to produce segment k: names, lines and the splitter's arguments.
struct SegmentPlan {
    QString name;
    QString audioPath;    // folder/name.mp3, as the splitter names it
    QString subtitlePath; // folder/name.lrc
    SegmentSpan span;
    QStringList arguments;
};
SegmentPlan planSegment(const SplitJob& job, int k, const subtitles::SubtitleDocument& doc,
                        subtitles::SentenceMode mode, const QString& lessonPath);

// The segment files of a job (audio or subtitles) already in its folder, in segment order.
QStringList existingSegmentFiles(const SplitJob& job, const QString& lessonPath);

// The question asked before they are overwritten; firstFile is the first of them.
QString overwriteQuestion(int existing, const QString& firstFile);

// A dialog entry as an unsigned 32-bit decimal number: surrounding spaces are allowed, anything
// else that is not a digit, or a number too large, reads as 0.
std::uint32_t readUnsignedEntry(QStringView text);

// The four numbers of the split dialog, as signed values.
struct DialogNumbers {
    int start = 0;
    int end = 0;
    int perSegment = 0;
    int firstNumber = 0;
    bool operator==(const DialogNumbers&) const = default;
};

// The entries read as unsigned numbers and then compared as signed ones, so that a number past
// INT_MAX counts as negative.
DialogNumbers readDialogNumbers(QStringView start, QStringView end, QStringView perSegment,
                                QStringView firstNumber);

// The dialog's corrections, in this order: start into 1..sentenceCount, end 0 or past the last
// sentence to the last sentence, end below start to start, first number below 0 to 0. The
// sentences per segment stay as read.
DialogNumbers correctedNumbers(DialogNumbers read, int sentenceCount);

// Sentences per segment must be a positive number; 0 (also an empty or non-numeric entry) and
// values past INT_MAX are refused, as they would make no segment at all.
constexpr bool acceptableSentencesPerSegment(int perSegment) {
    return perSegment > 0;
}

// Tries to create (and then deletes) a scratch file in the folder. 0 when that worked, else
// the errno value of the failed creation.
int testFolderWritable(const QString& folder);

} // namespace lurvo::split
