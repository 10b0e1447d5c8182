#pragma once

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

// Sentences found from the pauses of a lesson that has no subtitles. The loudness is measured
// once (slow: the whole lesson is decoded); finding the sentences from it is fast enough to run
// again on every change of the learner's settings.
namespace lurvo::pauses {

// The lesson's loudness over time.
struct Envelope {
    int hopMs = 10;
    QList<float> levelsDb; // one RMS level in dBFS per hop, from the lesson's start
    qint64 durationMs = 0;
};

// Ranges of the settings the learner can choose.
inline constexpr int kMinPauseLowestMs = 150;
inline constexpr int kMinPauseHighestMs = 2000;

struct PauseOptions {
    int minPauseMs = 350; // the shortest pause that ends a sentence
    // Silence is what lies this many dB below the lesson's own speech level. Under a noisy
    // lesson silence also reaches a little above its noise floor.
    double silenceBelowSpeechDb = 35.0;
};

struct Span {
    int startMs = 0; // a little before its voice, so that playing it never cuts off its first sound
    int endMs = 0;   // where its voice ends
    int voiceMs = 0; // where its voice begins
};

struct EnvelopeResult {
    Envelope envelope;
    QString error; // empty on success; the reason in the learner's words otherwise
    bool cancelled = false;
};

// Decodes the lesson and measures its loudness. Blocking: call it from a worker thread.
// progress gets 0..1000 (from the worker's thread) and may be empty; a set cancel flag ends the
// work soon, with cancelled set.
EnvelopeResult measureEnvelope(const QString& mp3Path, const std::function<void(int)>& progress,
                               const std::atomic_bool* cancel);

// The sentences of a measured lesson, in order, not overlapping.
QList<Span> findSentences(const Envelope& envelope, const PauseOptions& options);

// Writes the sentences as the subtitles at lrcPath: UTF-8 with signature, a header line saying
// they were found from the pauses, texts "第1句", "第2句", … An existing file is never
// overwritten. Empty on success, else the reason.
QString writePauseSubtitles(const QString& lrcPath, const QList<Span>& sentences);

} // namespace lurvo::pauses
