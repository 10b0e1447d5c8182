#pragma once

#include <QString>

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace lurvo::pitch {

// Every per-frame series has one value per frame of this length, from the start of what was
// analysed.
inline constexpr int kFrameMs = 10;
// The rate the analysis reads its samples at.
inline constexpr int kAnalysisRate = 16000;

// Mono samples.
struct Pcm {
    std::vector<float> samples;
    int rate = kAnalysisRate;
};

// Samples decoded from a file, or why there are none.
struct DecodedPcm {
    Pcm pcm;
    QString error; // empty on success
    bool ok() const { return error.isEmpty(); }
};

// Decodes [startMs, endMs) of an audio file (endMs < 0: to its end) to mono at `rate`, through
// a GStreamer graph that ends in an appsink.
DecodedPcm decodeSpan(const QString& path, std::int64_t startMs, std::int64_t endMs,
                      int rate = kAnalysisRate);

// One speaker's sentence.
struct VoiceTrack {
    std::vector<float> semitones; // per frame, relative to medianHz; NaN where unvoiced
    std::vector<float> hz;        // per frame, the smoothed F0; NaN where unvoiced
    std::vector<float> levelDb;   // per frame, the RMS level
    float medianHz = 0;           // over the voiced frames; 0 when none is voiced
    int speechFirst = 0;          // the first and last frames of speech (by level), inclusive;
    int speechLast = -1;          // speechLast < speechFirst when there is none
    std::vector<std::vector<float>> features; // per frame, what the alignment compares

    bool voiced() const { return medianHz > 0; }
    int frameCount() const { return int(semitones.size()); }
};

VoiceTrack analyseVoice(const Pcm& pcm);

// The learner's reading set against the lesson's sentence.
struct Comparison {
    // Per lesson frame: the learner's semitones at the moment aligned with it; NaN where there
    // is none or either is unvoiced.
    std::vector<float> learnerOnLesson;
    std::optional<int> score;             // 0..100; none when too few voiced frames meet
    float meanDifference = std::nanf(""); // semitones, over the frames voiced in both
};

Comparison compareVoices(const VoiceTrack& lesson, const VoiceTrack& learner);

// The score for a mean absolute difference in semitones.
int scoreForDifference(float meanSemitones);

// Frames [first, last] of one syllable.
struct FrameSpan {
    int first = 0;
    int last = -1;
};

// Where `count` syllables of the voice's speech lie, in order, cut at the dips of its level;
// used to place each syllable's reading under the curve.
std::vector<FrameSpan> syllableSpans(const VoiceTrack& voice, int count);

} // namespace lurvo::pitch
