#pragma once

#include <vector>

namespace lurvo::pitch {

// Steps of the contour clean-up, on per-frame values in absolute semitones (NaN where
// unvoiced).

// Takes octave errors out: within a run of voiced frames a jump of about an octave between
// neighbours is folded back, and the run keeps the octave most of its raw frames had; a whole
// run left an octave away from the rest of the sentence is brought back to it.
void foldOctaves(std::vector<float>& semitones);

// Each voiced frame becomes the median of the voiced frames within `length` frames around it.
std::vector<float> medianFiltered(const std::vector<float>& semitones, int length);

} // namespace lurvo::pitch
