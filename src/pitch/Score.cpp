#include "pitch/Alignment.h"
#include "pitch/PitchAnalysis.h"

#include <algorithm>
#include <cmath>

namespace lurvo::pitch {

namespace {

// The share of the lesson's voiced frames that must meet a voiced learner frame for a score.
constexpr double kMinCoverage = 0.2;
// The alignment may stray this far from an even pace: a share of the longer reading, and never
// less than a few syllables' worth of frames.
constexpr double kBandShare = 0.15;
constexpr int kMinBandFrames = 20;
// No reading is this many times faster than the lesson; a shorter span of speech is taken with
// the recording around it, so that a reading of one syllable is not stretched over a sentence.
constexpr double kMaxTempo = 2.5;

} // namespace

// The score falls in a straight line with the mean difference: nothing is lost up to half a
// semitone (what a careful speaker differs from himself, and what the estimator's own error
// amounts to), then 20 points per further semitone, so 1 semitone scores 90, 2 scores 70 and
// 5.5 or more scores 0. A reading with the lesson's tones at another speed or pitch differs by
// well under a semitone; one with other tones differs by two or more.
int scoreForDifference(float meanSemitones) {
    if (std::isnan(meanSemitones))
        return 0;
    const float lost = std::max(0.0f, std::abs(meanSemitones) - 0.5f) * 20.0f;
    return int(std::lround(std::clamp(100.0f - lost, 0.0f, 100.0f)));
}

Comparison compareVoices(const VoiceTrack& lesson, const VoiceTrack& learner) {
    Comparison result;
    result.learnerOnLesson.assign(std::size_t(lesson.frameCount()), std::nanf(""));
    if (!lesson.voiced() || !learner.voiced() || lesson.speechLast < lesson.speechFirst ||
        learner.speechLast < learner.speechFirst)
        return result;
    const FrameSpan lessonSpan{lesson.speechFirst, lesson.speechLast};
    FrameSpan learnerSpan{learner.speechFirst, learner.speechLast};
    const int lessonLength = lessonSpan.last - lessonSpan.first + 1;
    const int shortest = int(std::ceil(lessonLength / kMaxTempo));
    const int missing = shortest - (learnerSpan.last - learnerSpan.first + 1);
    if (missing > 0) {
        learnerSpan.first = std::max(0, learnerSpan.first - missing / 2);
        learnerSpan.last = std::min(learner.frameCount() - 1, learnerSpan.first + shortest - 1);
        learnerSpan.first = std::max(0, learnerSpan.last - shortest + 1);
        if (learnerSpan.last - learnerSpan.first + 1 < shortest)
            return result;
    }
    const int longer =
        std::max(lessonSpan.last - lessonSpan.first, learnerSpan.last - learnerSpan.first) + 1;
    const int band = std::max(kMinBandFrames, int(kBandShare * longer));
    const std::vector<WarpStep> path =
        warpPath(lesson.features, lessonSpan, learner.features, learnerSpan, band);

    // Each lesson frame takes the mean of the voiced learner frames paired with it.
    std::vector<double> sum(result.learnerOnLesson.size(), 0.0);
    std::vector<int> count(result.learnerOnLesson.size(), 0);
    for (const WarpStep& step : path) {
        if (std::size_t(step.b) >= learner.semitones.size())
            continue;
        const float theirs = learner.semitones[std::size_t(step.b)];
        if (!std::isnan(theirs) && !std::isnan(lesson.semitones[std::size_t(step.a)])) {
            sum[std::size_t(step.a)] += theirs;
            ++count[std::size_t(step.a)];
        }
    }
    double difference = 0;
    int met = 0;
    int lessonVoiced = 0;
    for (std::size_t i = 0; i < result.learnerOnLesson.size(); ++i) {
        if (std::isnan(lesson.semitones[i]))
            continue;
        ++lessonVoiced;
        if (count[i] == 0)
            continue;
        result.learnerOnLesson[i] = float(sum[i] / count[i]);
        difference += std::abs(result.learnerOnLesson[i] - lesson.semitones[i]);
        ++met;
    }
    if (met == 0)
        return result;
    result.meanDifference = float(difference / met);
    if (met >= kMinCoverage * lessonVoiced)
        result.score = scoreForDifference(result.meanDifference);
    return result;
}

} // namespace lurvo::pitch
