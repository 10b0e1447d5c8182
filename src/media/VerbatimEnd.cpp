#include "media/VerbatimEnd.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lurvo::media {

namespace {

// The stretcher's copies differ from its input by float rounding only (about 1e-5 of the
// level); anything else that looks alike differs by far more.
constexpr double kSameRelative = 1e-6;
constexpr double kSameAbsolute = 1e-12;

bool sameRun(const float* a, const float* b, std::size_t samples) {
    double diff = 0;
    double level = 0;
    for (std::size_t i = 0; i < samples; ++i) {
        const double d = double(a[i]) - double(b[i]);
        diff += d * d;
        level += double(b[i]) * double(b[i]);
    }
    return diff <= kSameRelative * level + kSameAbsolute * double(samples);
}

} // namespace

std::optional<VerbatimEnd> findVerbatimEnd(std::span<const float> out, std::span<const float> in,
                                           int channels, std::size_t matchFrames,
                                           std::size_t mostSlack) {
    if (channels < 1 || matchFrames == 0)
        return std::nullopt;
    const auto ch = std::size_t(channels);
    const std::size_t outFrames = out.size() / ch;
    const std::size_t inFrames = in.size() / ch;
    if (outFrames < matchFrames || inFrames < matchFrames)
        return std::nullopt;
    // Runs last tens of milliseconds: looking every half match window finds each of them.
    const std::size_t step = std::max<std::size_t>(1, matchFrames / 2);
    std::optional<VerbatimEnd> best;
    std::size_t bestOff = mostSlack + 1;
    for (std::size_t keep = outFrames; keep >= matchFrames; keep -= std::min(step, keep)) {
        // The input frame after which the total comes out exact.
        const auto exact = std::ptrdiff_t(keep + inFrames) - std::ptrdiff_t(outFrames);
        // Never shorter: from `exact` back, the pass comes out longer.
        const std::ptrdiff_t lo = std::max<std::ptrdiff_t>(std::ptrdiff_t(matchFrames),
                                                           exact - std::ptrdiff_t(mostSlack));
        const std::ptrdiff_t hi = std::min<std::ptrdiff_t>(std::ptrdiff_t(inFrames), exact);
        const float* o = out.data() + (keep - matchFrames) * ch;
        for (std::ptrdiff_t from = hi; from >= lo; --from) {
            const auto off = std::size_t(exact - from);
            if (off >= bestOff)
                break;
            const float* i = in.data() + (std::size_t(from) - matchFrames) * ch;
            // A quick look at the first sample before the whole window.
            if (std::abs(double(o[0]) - double(i[0])) > 1e-3 * std::abs(double(i[0])) + 1e-6)
                continue;
            if (!sameRun(o, i, matchFrames * ch))
                continue;
            best = VerbatimEnd{keep, std::size_t(from)};
            bestOff = off;
            if (off == 0)
                return best;
        }
        if (keep == matchFrames)
            break;
    }
    return best;
}

} // namespace lurvo::media
