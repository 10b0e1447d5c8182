#pragma once

#include "pitch/PitchAnalysis.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lurvo::pitch {

// What to compare: a sentence of the lesson, and the learner's reading of it when there is one.
struct PitchRequest {
    QString lessonPath;
    std::int64_t startMs = 0;
    std::int64_t endMs = -1;
    QString recordingPath; // empty: the lesson alone
    int syllables = 0;     // how many syllables to place under the lesson's curve

    bool sameLessonSpan(const PitchRequest& other) const {
        return lessonPath == other.lessonPath && startMs == other.startMs && endMs == other.endMs;
    }
};

struct PitchOutcome {
    PitchRequest request;
    std::vector<float> lesson;  // semitones per frame from the speaker's median; NaN unvoiced
    std::vector<float> learner; // on the lesson's frames; empty without a usable recording
    std::optional<int> score;
    std::vector<FrameSpan> syllables;
    QString lessonError;        // the lesson's span could not be read: nothing to show
    QString learnerError;       // the recording could not be read
    bool learnerSilent = false; // the recording was read and holds no voiced speech
};

// The longest stretch of the lesson, and of a recording, that is analysed: a sentence that runs
// on (the last one takes the lesson's length, whatever follows it) shows its first minute, and
// an hour-long recording costs what its first two minutes do.
inline constexpr std::int64_t kLongestSentenceMs = 60'000;
inline constexpr std::int64_t kLongestRecordingMs = 120'000;

// The analysis of one request, on the calling thread. `lessonTrack` is used when it holds the
// request's lesson span, and otherwise replaced by it, so that the lesson is analysed once for
// all the learner's attempts at a sentence.
PitchOutcome analyse(const PitchRequest& request,
                     std::shared_ptr<const std::pair<PitchRequest, VoiceTrack>>& lessonTrack);

// Analyses in a worker thread, one request at a time. A request made while one runs waits, and a
// later one replaces it: only the newest request is answered.
class PitchAnalyser {
public:
    PitchAnalyser() = default;
    ~PitchAnalyser(); // waits for the worker
    PitchAnalyser(const PitchAnalyser&) = delete;
    PitchAnalyser& operator=(const PitchAnalyser&) = delete;

    // Called on the owner's thread, from its event loop.
    std::function<void(const PitchOutcome&)> onResult;

    void request(PitchRequest request);
    bool busy() const { return worker_ != nullptr; }

private:
    struct Job;
    void start(PitchRequest request);
    void finished();

    QObject ownerThread_; // receives the worker's end on the thread that made this object
    std::unique_ptr<QThread> worker_;
    std::shared_ptr<Job> job_;
    std::optional<PitchRequest> waiting_;
    std::shared_ptr<const std::pair<PitchRequest, VoiceTrack>> lessonTrack_;
};

} // namespace lurvo::pitch
