#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace lurvo::test {

// Lessons for measuring what is heard: sentences of noise and tone that run into each other
// without a pause, each its own non-repeating pattern, so that any few milliseconds of the
// recording can be placed in the lesson without doubt.
enum class Mp3Kind { Cbr, Vbr };

struct MeasureLessonShape {
    int sampleRate = 44100;
    int sentences = 12;
    int minSentenceMs = 500;
    int maxSentenceMs = 900;
    int leadMs = 300; // silence before the first line
    unsigned seed = 1;
    // LAME's VBR quality (0 best to 9). xingmux (GStreamer 1.22) writes a table of contents
    // that wraps past 32 MB, which sends seeks beyond that to the file's start: long lessons
    // need a lower quality to stay below it.
    int vbrQuality = 2;
};

struct MeasureLesson {
    QString mp3;
    QString lrc;
    QList<int> startsMs; // the lines' starts as the subtitles give them
};

// Whether the file's Xing table of contents rises steadily, as seeking needs.
bool xingTableRises(const QString& mp3);

// Writes folder/name.mp3 (with a Xing or Info header) and folder/name.lrc; on failure says why
// in *error.
std::optional<MeasureLesson> makeMeasureLesson(const QString& folder, const QString& name,
                                               Mp3Kind kind, const MeasureLessonShape& shape,
                                               QString* error);

} // namespace lurvo::test
