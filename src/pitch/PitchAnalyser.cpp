#include "pitch/PitchAnalyser.h"

#include <algorithm>

namespace lurvo::pitch {

PitchOutcome analyse(const PitchRequest& request,
                     std::shared_ptr<const std::pair<PitchRequest, VoiceTrack>>& lessonTrack) {
    PitchOutcome outcome;
    outcome.request = request;
    if (!lessonTrack || !lessonTrack->first.sameLessonSpan(request)) {
        const std::int64_t longest = request.startMs + kLongestSentenceMs;
        const DecodedPcm lesson =
            decodeSpan(request.lessonPath, request.startMs,
                       request.endMs < 0 ? longest : std::min(request.endMs, longest));
        if (!lesson.ok()) {
            outcome.lessonError = lesson.error;
            return outcome;
        }
        lessonTrack = std::make_shared<const std::pair<PitchRequest, VoiceTrack>>(
            request, analyseVoice(lesson.pcm));
    }
    const VoiceTrack& lesson = lessonTrack->second;
    outcome.lesson = lesson.semitones;
    if (request.syllables > 0)
        outcome.syllables = syllableSpans(lesson, request.syllables);
    if (request.recordingPath.isEmpty())
        return outcome;

    const DecodedPcm recording = decodeSpan(request.recordingPath, 0, kLongestRecordingMs);
    if (!recording.ok()) {
        outcome.learnerError = recording.error;
        return outcome;
    }
    const VoiceTrack learner = analyseVoice(recording.pcm);
    if (!learner.voiced()) {
        outcome.learnerSilent = true;
        return outcome;
    }
    Comparison comparison = compareVoices(lesson, learner);
    outcome.learner = std::move(comparison.learnerOnLesson);
    outcome.score = comparison.score;
    return outcome;
}

struct PitchAnalyser::Job {
    PitchRequest request;
    std::shared_ptr<const std::pair<PitchRequest, VoiceTrack>> lessonTrack;
    PitchOutcome outcome;
};

PitchAnalyser::~PitchAnalyser() {
    if (worker_)
        worker_->wait();
}

void PitchAnalyser::request(PitchRequest request) {
    if (worker_) {
        waiting_ = std::move(request);
        return;
    }
    start(std::move(request));
}

void PitchAnalyser::start(PitchRequest request) {
    job_ = std::make_shared<Job>();
    job_->request = std::move(request);
    job_->lessonTrack = lessonTrack_;
    worker_.reset(
        QThread::create([job = job_] { job->outcome = analyse(job->request, job->lessonTrack); }));
    // finished() comes from the worker; queued to the owner's thread.
    QObject::connect(worker_.get(), &QThread::finished, &ownerThread_, [this] { finished(); });
    worker_->start(QThread::LowPriority);
}

void PitchAnalyser::finished() {
    worker_->wait();
    worker_.reset();
    std::shared_ptr<Job> job = std::move(job_);
    lessonTrack_ = job->lessonTrack;
    if (waiting_) {
        // The learner has moved on: what they asked for last is what they will see.
        PitchRequest next = std::move(*waiting_);
        waiting_.reset();
        start(std::move(next));
        return;
    }
    if (onResult)
        onResult(job->outcome);
}

} // namespace lurvo::pitch
