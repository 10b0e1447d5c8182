#pragma once

#include <cstdint>
#include <vector>

namespace lurvo::test {

// Places a recording of the sound output in the lesson it played: which stretches of the
// recording are which stretches of the lesson, to the sample. Everything is in samples at one
// rate, the lesson's and the recording's alike.

struct AlignOptions {
    double speed = 1.0; // lesson samples played per recorded sample
    // Lesson positions where the audio may start anew (the lines' starts); the recording is
    // looked for near them, and near where the last stretch would go on.
    std::vector<std::int64_t> anchors;
    int anchorWindow = 5292;   // +- samples searched around each anchor (120 ms at 44.1 kHz)
    int blockSamples = 220;    // the recording is placed in blocks of this many
    double silenceRms = 0.003; // a block this quiet counts as silence
    double matchCorrelation = 0.9;
};

// A stretch of the recording that is the lesson played on without a break.
struct AlignedRun {
    std::int64_t recordingStart = 0; // first sample, and one past the last, of the recording
    std::int64_t recordingEnd = 0;
    std::int64_t lessonStart = 0; // the lesson's sample heard first, and one past the last heard
    std::int64_t lessonEnd = 0;
};

struct Alignment {
    std::vector<AlignedRun> runs;
    // Sound in the recording that is not the lesson at any of the searched places.
    std::int64_t foreignSamples = 0;
};

// `lesson` holds the lesson's samples from lesson position `lessonOrigin` on.
Alignment alignRecording(const std::vector<float>& lesson, std::int64_t lessonOrigin,
                         const std::vector<float>& recording, const AlignOptions& options);

// One pass as heard: the part of a run that played one line.
struct HeardPass {
    int line = -1;
    double lostOnsetMs = 0;  // lesson missing at the start; below 0 the pass began early
    double overrunMs = 0;    // lesson heard past the line's end; below 0 the pass was cut short
    double heardMs = 0;      // recording time from its first to its last sample
    double gapBeforeMs = -1; // recording time since the pass before it ended; -1 for the first
    // The pass went on into the next line without a break: its end is no repeat and no wait,
    // and the next pass's start is no new start.
    bool flowsOn = false;
    bool flowedIn = false;
    std::int64_t recordingStart = 0;
    std::int64_t recordingEnd = 0;
};

// Cuts the runs into passes (lineStarts in lesson samples, in order; the last line ends at
// lessonEnd). A pass is the line whose start is nearest to where it began; a run that goes on
// over 250 ms past that line's end moves on into the next line there, anything less is an
// overrun.
std::vector<HeardPass> heardPasses(const Alignment& alignment,
                                   const std::vector<std::int64_t>& lineStarts,
                                   std::int64_t lessonEnd, int sampleRate);

// A break in what should have been one unbroken stretch of the lesson.
struct Dropout {
    double atMs = 0;      // recording time
    double silenceMs = 0; // recording time between the two stretches
    double jumpMs = 0;    // lesson skipped (above 0) or played again (below 0)
};

// For a recording of the lesson played straight on: every break between consecutive runs with
// more than toleranceMs of silence or of lesson skipped or played again.
std::vector<Dropout> findDropouts(const Alignment& alignment, int sampleRate,
                                  double toleranceMs = 1.0);

} // namespace lurvo::test
