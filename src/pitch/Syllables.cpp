#include "pitch/PitchAnalysis.h"

#include <algorithm>

namespace lurvo::pitch {

namespace {

// A syllable is never shorter than this share of an even division.
constexpr double kMinShare = 0.4;
// The level is smoothed over this many frames before its dips are looked for.
constexpr int kSmoothFrames = 5;

std::vector<FrameSpan> evenSpans(int first, int last, int count) {
    std::vector<FrameSpan> spans;
    const int length = last - first + 1;
    for (int k = 0; k < count; ++k)
        spans.push_back({first + k * length / count, first + (k + 1) * length / count - 1});
    return spans;
}

} // namespace

std::vector<FrameSpan> syllableSpans(const VoiceTrack& voice, int count) {
    if (count <= 0 || voice.levelDb.empty())
        return {};
    int first = voice.speechFirst, last = voice.speechLast;
    if (last < first) {
        first = 0;
        last = int(voice.levelDb.size()) - 1;
    }
    const int length = last - first + 1;
    if (count == 1 || length < count)
        return length < count ? std::vector<FrameSpan>{} : evenSpans(first, last, count);

    std::vector<float> smooth(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        float sum = 0;
        int n = 0;
        for (int j = std::max(first, first + i - kSmoothFrames / 2);
             j <= std::min(last, first + i + kSmoothFrames / 2); ++j, ++n)
            sum += voice.levelDb[std::size_t(j)];
        smooth[std::size_t(i)] = sum / float(n);
    }
    // Local minima of the level, deepest first.
    std::vector<int> dips;
    for (int i = 1; i + 1 < length; ++i)
        if (smooth[i] <= smooth[i - 1] && smooth[i] < smooth[i + 1])
            dips.push_back(i);
    std::sort(dips.begin(), dips.end(), [&](int x, int y) { return smooth[x] < smooth[y]; });

    const int minLength = std::max(1, int(kMinShare * length / count));
    std::vector<int> cuts; // each the first frame of a syllable after the first
    for (int dip : dips) {
        if (int(cuts.size()) == count - 1)
            break;
        if (dip < minLength || length - dip < minLength)
            continue;
        const bool clear = std::all_of(cuts.begin(), cuts.end(),
                                       [&](int cut) { return std::abs(cut - dip) >= minLength; });
        if (clear)
            cuts.push_back(dip);
    }
    if (int(cuts.size()) < count - 1)
        return evenSpans(first, last, count);
    std::sort(cuts.begin(), cuts.end());
    std::vector<FrameSpan> spans;
    int start = first;
    for (int cut : cuts) {
        spans.push_back({start, first + cut - 1});
        start = first + cut;
    }
    spans.push_back({start, last});
    return spans;
}

} // namespace lurvo::pitch
