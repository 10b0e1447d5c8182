#pragma once

#include "pitch/PitchAnalysis.h"

#include <vector>

namespace lurvo::pitch {

// One pair of frames on a warping path.
struct WarpStep {
    int a = 0;
    int b = 0;
};

// The cheapest monotone path from the first to the last frames of two spans, comparing their
// feature vectors, within `band` frames of the straight line between the spans' corners (so a
// reading at another speed still aligns, but a syllable cannot pair with one far away). Empty
// when a span is empty.
std::vector<WarpStep> warpPath(const std::vector<std::vector<float>>& a, FrameSpan aSpan,
                               const std::vector<std::vector<float>>& b, FrameSpan bSpan, int band);

} // namespace lurvo::pitch
