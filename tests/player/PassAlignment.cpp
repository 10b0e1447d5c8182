#include "PassAlignment.h"

#include <algorithm>
#include <cmath>

namespace lurvo::test {

namespace {

struct Fit {
    double correlation = 0;
    double gain = 0;
};

// How well n recorded samples are the lesson's samples from x on, up to a gain.
Fit fitAt(const float* y, const float* x, int n) {
    double xy = 0;
    double xx = 0;
    double yy = 0;
    for (int i = 0; i < n; ++i) {
        xy += double(x[i]) * y[i];
        xx += double(x[i]) * x[i];
        yy += double(y[i]) * y[i];
    }
    if (xx <= 1e-9 || yy <= 1e-9)
        return {};
    return {xy / std::sqrt(xx * yy), xy / xx};
}

double rmsOf(const float* y, int n) {
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += double(y[i]) * y[i];
    return n > 0 ? std::sqrt(sum / n) : 0.0;
}

class Aligner {
public:
    Aligner(const std::vector<float>& lesson, std::int64_t origin,
            const std::vector<float>& recording, const AlignOptions& options)
        : x_(lesson), origin_(origin), y_(recording), o_(options) {}

    Alignment run() {
        Alignment out;
        const int b = o_.blockSamples;
        const auto blocks = std::int64_t(y_.size()) / b;
        bool tracking = false;
        std::int64_t predicted = -1; // lesson position the next block would be, tracking on
        int misses = 0;              // blocks in a row that did not fit while tracking
        std::int64_t lastFitBlock = -1;
        std::int64_t lastFitPos = 0;
        double lastGain = 1;
        std::vector<bool> placed(std::size_t(blocks), false);

        const auto closeRun = [&] {
            if (!tracking)
                return;
            AlignedRun& r = current_;
            extendEnd(r, lastFitBlock * b, lastFitPos, lastGain);
            out.runs.push_back(r);
            tracking = false;
        };
        // Block k is the lesson at found: the run goes on from there.
        const auto placeBlock = [&](std::int64_t k, const auto& found) {
            lastFitBlock = k;
            lastFitPos = found.pos;
            lastGain = found.fit.gain;
            predicted = found.pos + std::int64_t(b * o_.speed);
            misses = 0;
            placed[std::size_t(k)] = true;
        };
        for (std::int64_t k = 0; k < blocks; ++k) {
            const std::int64_t at = k * b;
            if (rmsOf(&y_[std::size_t(at)], b) < o_.silenceRms) {
                closeRun();
                continue;
            }
            if (tracking) {
                // Audio goes on sample for sample, also between the seams of time-stretched
                // audio; at a seam it takes up again some way off.
                Found found = best(at, lastFitPos + b - 2, lastFitPos + b + 2);
                if (found.fit.correlation < o_.matchCorrelation && !speedOne())
                    found = best(at, predicted - trackSlack(), predicted + trackSlack());
                if (found.fit.correlation >= o_.matchCorrelation) {
                    placeBlock(k, found);
                    continue;
                }
                // Time-stretched audio blends two places at each seam: a block or two that
                // fits nowhere is part of the run.
                if (!speedOne() && ++misses <= 2) {
                    predicted += std::int64_t(b * o_.speed);
                    continue;
                }
            }
            // Not where the audio was going: a new start somewhere, or something else.
            // Also near where the last stretch stopped: audio may take up again after a hole.
            const auto found = acquire(
                at, tracking ? predicted
                             : (lastFitBlock >= 0 ? lastFitPos + std::int64_t(b * o_.speed) : -1));
            if (found.fit.correlation >= o_.matchCorrelation) {
                closeRun();
                const std::int64_t floor = out.runs.empty() ? 0 : out.runs.back().recordingEnd;
                current_ = AlignedRun{};
                extendStart(current_, at, found.pos, found.fit.gain, floor);
                tracking = true;
                placeBlock(k, found);
                continue;
            }
            closeRun();
        }
        closeRun();
        // Sound that no run covers.
        std::size_t next = 0;
        for (std::int64_t k = 0; k < blocks; ++k) {
            if (placed[std::size_t(k)])
                continue;
            for (std::int64_t i = k * b; i < k * b + b; ++i) {
                while (next < out.runs.size() && out.runs[next].recordingEnd <= i)
                    ++next;
                const bool covered = next < out.runs.size() && out.runs[next].recordingStart <= i;
                if (!covered && std::abs(y_[std::size_t(i)]) >= o_.silenceRms)
                    ++out.foreignSamples;
            }
        }
        return out;
    }

private:
    struct Found {
        std::int64_t pos = 0;
        Fit fit;
    };

    bool speedOne() const { return std::abs(o_.speed - 1.0) < 1e-6; }
    // Played at another speed the lesson comes in pieces up to a few tens of milliseconds
    // from where an even flow would put them.
    std::int64_t trackSlack() const { return std::int64_t(o_.blockSamples * 6); }

    const float* lessonAt(std::int64_t pos) const { return &x_[std::size_t(pos - origin_)]; }
    bool inLesson(std::int64_t pos, std::int64_t n) const {
        return pos >= origin_ && pos - origin_ + n <= std::int64_t(x_.size());
    }

    // The best fit of the block at `at` among lesson positions [lo, hi].
    Found best(std::int64_t at, std::int64_t lo, std::int64_t hi) const {
        Found top;
        const int b = o_.blockSamples;
        const float* y = &y_[std::size_t(at)];
        // A short head of the block rules most places out cheaply.
        const int head = std::min(b, 48);
        for (std::int64_t p = lo; p <= hi; ++p) {
            if (!inLesson(p, b))
                continue;
            const float* x = lessonAt(p);
            if (fitAt(y, x, head).correlation < 0.6)
                continue;
            const Fit f = fitAt(y, x, b);
            if (f.correlation > top.fit.correlation)
                top = {p, f};
        }
        return top;
    }

    Found acquire(std::int64_t at, std::int64_t predicted) const {
        Found top;
        const auto consider = [&](std::int64_t centre) {
            const Found f = best(at, centre - o_.anchorWindow, centre + o_.anchorWindow);
            if (f.fit.correlation > top.fit.correlation)
                top = f;
        };
        if (predicted >= 0)
            consider(predicted);
        if (top.fit.correlation >= 0.99)
            return top;
        for (const std::int64_t anchor : o_.anchors)
            consider(anchor);
        return top;
    }

    // Sample by sample: whether the recording at `at` is the lesson at `pos`.
    // Silence fits silence, but proves nothing: only a lesson sample of some size counts.
    bool sampleFits(std::int64_t at, std::int64_t pos, double gain, double tolerance) const {
        if (at < 0 || at >= std::int64_t(y_.size()) || !inLesson(pos, 1))
            return false;
        const double x = gain * *lessonAt(pos);
        return std::abs(x) > tolerance && std::abs(y_[std::size_t(at)] - x) <= tolerance;
    }

    // Whether a stretch may go on over this sample: the recording agrees with the lesson there,
    // be it a sample of some size or one quiet in both, which neither proves nor breaks it.
    bool sampleAgrees(std::int64_t at, std::int64_t pos, double gain, double tolerance) const {
        if (at < 0 || at >= std::int64_t(y_.size()) || !inLesson(pos, 1))
            return false;
        return std::abs(y_[std::size_t(at)] - gain * *lessonAt(pos)) <= tolerance;
    }

    double toleranceNear(std::int64_t pos) const {
        const std::int64_t from = std::max(origin_, pos - o_.blockSamples);
        const std::int64_t n =
            std::min<std::int64_t>(2 * o_.blockSamples, origin_ + std::int64_t(x_.size()) - from);
        // Played audio is the decoded lesson to within the output's dither.
        return 0.03 * (n > 0 ? rmsOf(lessonAt(from), int(n)) : 0.0) + 4.0 / 32768;
    }

    // A fitted block may hold an edge: where, inside it, eight samples in a row are surely the
    // lesson (the first such from the block's start, or the last from its end).
    std::int64_t sureFit(std::int64_t at, std::int64_t pos, double gain, double tolerance,
                         bool fromEnd) const {
        const int b = o_.blockSamples;
        constexpr int kSure = 8;
        for (int step = 0; step + kSure <= b; ++step) {
            const int i = fromEnd ? b - kSure - step : step;
            bool all = true;
            for (int j = 0; j < kSure && all; ++j)
                all = sampleFits(at + i + j, pos + i + j, gain, tolerance);
            if (all)
                return i;
        }
        return fromEnd ? b - kSure : 0;
    }

    // The gain of a block that holds an edge is off by the part that is not the lesson: the
    // neighbouring block (before or after, in step with it) tells it better when it fits well.
    double gainBeside(std::int64_t at, std::int64_t pos, int side, double gain) const {
        const int b = o_.blockSamples;
        const std::int64_t nextAt = at + side * b;
        if (nextAt < 0 || nextAt + b > std::int64_t(y_.size()) || !inLesson(pos + side * b, b))
            return gain;
        const Fit f = fitAt(&y_[std::size_t(nextAt)], lessonAt(pos + side * b), b);
        return f.correlation >= 0.99 ? f.gain : gain;
    }

    // A stretch ends at the first sample that is not the lesson, unless the two after it are;
    // quiet samples at its edge are left out.
    void extendEnd(AlignedRun& r, std::int64_t blockAt, std::int64_t blockPos, double gain) const {
        gain = gainBeside(blockAt, blockPos, -1, gain);
        const double tolerance = toleranceNear(blockPos);
        const std::int64_t i = sureFit(blockAt, blockPos, gain, tolerance, true);
        const std::int64_t at = blockAt + i;
        const std::int64_t pos = blockPos + i;
        std::int64_t n = 0;
        while (n < 4 * o_.blockSamples) {
            const bool fits = sampleAgrees(at + n, pos + n, gain, tolerance) ||
                              (sampleFits(at + n + 1, pos + n + 1, gain, tolerance) &&
                               sampleFits(at + n + 2, pos + n + 2, gain, tolerance));
            if (!fits)
                break;
            ++n;
        }
        while (n > 0 && !sampleFits(at + n - 1, pos + n - 1, gain, tolerance))
            --n;
        r.recordingEnd = at + n;
        r.lessonEnd = pos + n;
    }

    void extendStart(AlignedRun& r, std::int64_t blockAt, std::int64_t blockPos, double gain,
                     std::int64_t floor) const {
        gain = gainBeside(blockAt, blockPos, +1, gain);
        const double tolerance = toleranceNear(blockPos);
        const std::int64_t i = sureFit(blockAt, blockPos, gain, tolerance, false);
        const std::int64_t at = blockAt + i;
        const std::int64_t pos = blockPos + i;
        std::int64_t n = 0;
        while (at - n - 1 >= floor && n < 4 * o_.blockSamples) {
            const bool fits = sampleAgrees(at - n - 1, pos - n - 1, gain, tolerance) ||
                              (sampleFits(at - n - 2, pos - n - 2, gain, tolerance) &&
                               sampleFits(at - n - 3, pos - n - 3, gain, tolerance));
            if (!fits)
                break;
            ++n;
        }
        while (n > 0 && !sampleFits(at - n, pos - n, gain, tolerance))
            --n;
        r.recordingStart = at - n;
        r.lessonStart = pos - n;
    }

    const std::vector<float>& x_;
    std::int64_t origin_;
    const std::vector<float>& y_;
    AlignOptions o_;
    AlignedRun current_;
};

} // namespace

Alignment alignRecording(const std::vector<float>& lesson, std::int64_t lessonOrigin,
                         const std::vector<float>& recording, const AlignOptions& options) {
    return Aligner(lesson, lessonOrigin, recording, options).run();
}

std::vector<HeardPass> heardPasses(const Alignment& alignment,
                                   const std::vector<std::int64_t>& lineStarts,
                                   std::int64_t lessonEnd, int sampleRate) {
    std::vector<HeardPass> passes;
    if (lineStarts.empty())
        return passes;
    const double msPerSample = 1000.0 / sampleRate;
    const auto endOf = [&](std::size_t line) {
        return line + 1 < lineStarts.size() ? lineStarts[line + 1] : lessonEnd;
    };
    // The line a lesson position belongs to.
    const auto lineAt = [&](std::int64_t pos) {
        const auto it = std::upper_bound(lineStarts.begin(), lineStarts.end(), pos);
        return it == lineStarts.begin() ? std::size_t(0) : std::size_t(it - lineStarts.begin() - 1);
    };
    // The line whose start is nearest: a pass that starts a little early or late is still
    // that line's.
    const auto nearestLine = [&](std::int64_t pos) {
        std::size_t nearest = 0;
        for (std::size_t i = 1; i < lineStarts.size(); ++i)
            if (std::llabs(lineStarts[i] - pos) < std::llabs(lineStarts[nearest] - pos))
                nearest = i;
        return nearest;
    };
    // A run that goes this far past a line's end went on into the next line; anything less is
    // an overrun, measured.
    const auto flowMargin = std::int64_t(0.25 * sampleRate);
    std::int64_t previousEnd = -1;
    for (const AlignedRun& run : alignment.runs) {
        std::int64_t lessonFrom = run.lessonStart;
        std::int64_t recordingFrom = run.recordingStart;
        bool flowedIn = false;
        while (lessonFrom < run.lessonEnd) {
            HeardPass pass;
            const std::size_t line = flowedIn ? lineAt(lessonFrom) : nearestLine(lessonFrom);
            pass.line = int(line);
            const std::int64_t end = endOf(line);
            const bool flows = run.lessonEnd > end + flowMargin;
            const std::int64_t lessonTo = flows ? end : run.lessonEnd;
            // Lesson samples map onto the recording at the run's own pace.
            const double pace = double(run.recordingEnd - run.recordingStart) /
                                double(std::max<std::int64_t>(1, run.lessonEnd - run.lessonStart));
            const std::int64_t recordingTo =
                flows ? run.recordingStart + std::int64_t((lessonTo - run.lessonStart) * pace)
                      : run.recordingEnd;
            pass.lostOnsetMs = flowedIn ? 0 : (lessonFrom - lineStarts[line]) * msPerSample;
            pass.overrunMs = flows ? 0 : (lessonTo - end) * msPerSample;
            pass.flowsOn = flows;
            pass.flowedIn = flowedIn;
            pass.recordingStart = recordingFrom;
            pass.recordingEnd = recordingTo;
            pass.heardMs = (recordingTo - recordingFrom) * msPerSample;
            pass.gapBeforeMs = previousEnd < 0 ? -1 : (recordingFrom - previousEnd) * msPerSample;
            passes.push_back(pass);
            previousEnd = recordingTo;
            lessonFrom = lessonTo;
            recordingFrom = recordingTo;
            flowedIn = true;
        }
    }
    return passes;
}

std::vector<Dropout> findDropouts(const Alignment& alignment, int sampleRate, double toleranceMs) {
    std::vector<Dropout> found;
    const double msPerSample = 1000.0 / sampleRate;
    for (std::size_t i = 1; i < alignment.runs.size(); ++i) {
        const AlignedRun& a = alignment.runs[i - 1];
        const AlignedRun& b = alignment.runs[i];
        const double silence = (b.recordingStart - a.recordingEnd) * msPerSample;
        const double jump = (b.lessonStart - a.lessonEnd) * msPerSample;
        if (silence > toleranceMs || std::abs(jump) > toleranceMs)
            found.push_back({a.recordingEnd * msPerSample, silence, jump});
    }
    return found;
}

} // namespace lurvo::test
