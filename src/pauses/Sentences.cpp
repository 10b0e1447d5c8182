#include "pauses/PauseAnalysis.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

namespace lurvo::pauses {

namespace {

// A sentence starts this much before its voice, so that playing it never cuts off its first sound.
constexpr int kLeadMs = 80;
constexpr int kShortestSentenceMs = 800;
constexpr int kLongestSentenceMs = 15000;
// A voiced run this short inside a pause is a click, a breath or a bump of the microphone.
constexpr int kClickHops = 2;
// A lesson whose loud parts are quieter than this holds no speech at all.
constexpr float kQuietestSpeechDb = -60.0f;
// Silence is never taken for louder than this much below the speech: with a very small
// setting, quiet syllables would break sentences apart.
constexpr float kSmallestContrastDb = 10.0f;
// Nor ever quieter than this: the rustle of a decoder is no voice.
constexpr float kSilenceFloorDb = -80.0f;
// Silence is at least this much above the lesson's noise floor: noise under the whole lesson
// would otherwise count as voice, and the lesson as one sentence.
constexpr float kAboveNoiseDb = 6.0f;
// Speech stands out of the noise by at least this much; what does not is noise itself.
constexpr float kSpeechAboveNoiseDb = 10.0f;

struct Run {
    int start = 0; // hops
    int end = 0;
};

// The value below which `fraction` of the levels lie.
float percentile(std::vector<float> levels, double fraction) {
    const auto at = levels.begin() + qsizetype(fraction * double(levels.size() - 1));
    std::nth_element(levels.begin(), at, levels.end());
    return *at;
}

// The level at and below which a hop counts as silence; none when the lesson holds no speech.
std::optional<float> silenceThreshold(const QList<float>& levels, double belowSpeechDb) {
    const std::vector<float> all(levels.begin(), levels.end());
    // Even the most talkative lessons pause a twentieth of their time.
    const float noise = percentile(all, 0.05);
    // The speech level from the hops clearly above the noise only, so that a lesson of long
    // silences and little speech still has one.
    std::vector<float> louder;
    std::copy_if(all.begin(), all.end(), std::back_inserter(louder),
                 [&](float level) { return level > noise + kSpeechAboveNoiseDb; });
    // Nothing stands out: a lesson without pauses, or without speech, told apart by loudness.
    const float speech =
        louder.empty() ? percentile(all, 0.95) : percentile(std::move(louder), 0.9);
    if (speech < kQuietestSpeechDb)
        return std::nullopt;
    float threshold = std::max(float(speech - belowSpeechDb), noise + kAboveNoiseDb);
    threshold = std::max(threshold, kSilenceFloorDb);
    return std::min(threshold, speech - kSmallestContrastDb);
}

// The voiced runs of the lesson, without the clicks in its pauses.
std::vector<Run> voicedRuns(const QList<float>& levels, float threshold, int minPauseHops) {
    std::vector<Run> runs;
    const int count = int(levels.size());
    for (int i = 0; i < count;) {
        if (levels[i] <= threshold) {
            ++i;
            continue;
        }
        Run run{i, i};
        while (run.end < count && levels[run.end] > threshold)
            ++run.end;
        runs.push_back(run);
        i = run.end;
    }
    // A click is a short run next to a pause; short runs between short gaps belong to speech.
    std::vector<Run> kept;
    for (size_t k = 0; k < runs.size(); ++k) {
        const Run& run = runs[k];
        if (run.end - run.start <= kClickHops) {
            const int before = k == 0 ? minPauseHops : run.start - runs[k - 1].end;
            const int after = k + 1 == runs.size() ? minPauseHops : runs[k + 1].start - run.end;
            if (before >= minPauseHops || after >= minPauseHops)
                continue;
        }
        kept.push_back(run);
    }
    return kept;
}

// A sentence as the voiced runs first..last.
struct Group {
    int first = 0;
    int last = 0;
};

class Grouping {
public:
    Grouping(std::vector<Run> runs, int hopMs) : runs_(std::move(runs)), hopMs_(hopMs) {}

    std::vector<Group> byPauses(int minPauseHops) const {
        std::vector<Group> groups;
        for (int k = 0; k < int(runs_.size()); ++k) {
            if (groups.empty() || runs_[k].start - runs_[k - 1].end >= minPauseHops)
                groups.push_back({k, k});
            else
                groups.back().last = k;
        }
        return groups;
    }

    // Short sentences join a neighbour, across the shorter of the pauses beside them.
    void joinShort(std::vector<Group>& groups) const {
        for (size_t k = 0; k < groups.size() && groups.size() > 1;) {
            if (lengthMs(groups[k]) >= kShortestSentenceMs) {
                ++k;
                continue;
            }
            const bool withNext =
                k == 0 || (k + 1 < groups.size() && gapAfter(groups[k]) < gapAfter(groups[k - 1]));
            const size_t left = withNext ? k : k - 1;
            groups[left].last = groups[left + 1].last;
            groups.erase(groups.begin() + qsizetype(left) + 1);
            k = left; // the joined sentence may still be short
        }
    }

    // Long sentences split at their deepest inner pause, again and again.
    void splitLong(std::vector<Group>& groups) const {
        std::vector<Group> result;
        std::vector<Group> pending(groups.rbegin(), groups.rend());
        while (!pending.empty()) {
            const Group group = pending.back();
            pending.pop_back();
            const int at = lengthMs(group) > kLongestSentenceMs ? deepestPause(group) : -1;
            if (at < 0) {
                result.push_back(group);
                continue;
            }
            pending.push_back({at + 1, group.last});
            pending.push_back({group.first, at});
        }
        groups = std::move(result);
    }

    QList<Span> spans(const std::vector<Group>& groups, qint64 durationMs) const {
        QList<Span> spans;
        spans.reserve(qsizetype(groups.size()));
        int previousEnd = 0;
        for (const Group& group : groups) {
            const int onset = runs_[size_t(group.first)].start * hopMs_;
            const int end =
                int(std::min<qint64>(runs_[size_t(group.last)].end * hopMs_, durationMs));
            const int start = std::max(onset - kLeadMs, previousEnd);
            spans.append({start, std::max(end, start), onset});
            previousEnd = spans.back().endMs;
        }
        return spans;
    }

private:
    int lengthMs(const Group& group) const {
        return (runs_[size_t(group.last)].end - runs_[size_t(group.first)].start) * hopMs_;
    }
    int gapAfter(const Group& group) const {
        return runs_[size_t(group.last) + 1].start - runs_[size_t(group.last)].end;
    }

    // The run after which the group is best split: the longest gap that leaves two sentences
    // of a fair length, else the longest gap; -1 when the group has no gap.
    int deepestPause(const Group& group) const {
        int best = -1;
        std::pair<bool, int> bestKey{false, -1};
        for (int k = group.first; k < group.last; ++k) {
            const bool fair = lengthMs({group.first, k}) >= kShortestSentenceMs &&
                              lengthMs({k + 1, group.last}) >= kShortestSentenceMs;
            const std::pair<bool, int> key{fair, runs_[size_t(k) + 1].start - runs_[size_t(k)].end};
            if (key > bestKey) {
                bestKey = key;
                best = k;
            }
        }
        return best;
    }

    std::vector<Run> runs_;
    int hopMs_;
};

} // namespace

QList<Span> findSentences(const Envelope& envelope, const PauseOptions& options) {
    if (envelope.levelsDb.isEmpty() || envelope.hopMs <= 0)
        return {};
    const std::optional<float> threshold =
        silenceThreshold(envelope.levelsDb, options.silenceBelowSpeechDb);
    if (!threshold)
        return {};
    const int minPauseHops = std::max(1, options.minPauseMs / envelope.hopMs);
    const Grouping grouping(voicedRuns(envelope.levelsDb, *threshold, minPauseHops),
                            envelope.hopMs);
    std::vector<Group> groups = grouping.byPauses(minPauseHops);
    grouping.joinShort(groups);
    grouping.splitLong(groups);
    const qint64 durationMs = envelope.durationMs > 0
                                  ? envelope.durationMs
                                  : qint64(envelope.levelsDb.size()) * envelope.hopMs;
    return grouping.spans(groups, durationMs);
}

} // namespace lurvo::pauses
