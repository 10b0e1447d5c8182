#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace lurvo::media {

// Where a stretched pass can go over into the lesson's own audio and play it to the end.
// A time stretcher copies its input in runs, a few tens of milliseconds each, and joins the runs
// where they match; the pass's last run is padding it makes up. Inside a run the output is the
// input itself, so from any point of one the rest of the input can follow as it is: the pass then
// ends on the sentence's own last samples and the next pass meets them as at 1.00x. The pass
// comes out a little longer than exact, never shorter, so that the position still reaches the
// sentence's end; the caller carries the difference over to the next pass.
struct VerbatimEnd {
    std::size_t keep = 0; // output frames kept
    std::size_t from = 0; // the input follows from this frame to its end
};

// `out`: the last output frames of a pass, interleaved. `in`: the last input frames of it, which
// end where the pass ends. A join is taken where `matchFrames` output frames are the input's
// (within float rounding), and where keep + (input frames - from) is nearest the output's own
// length, not below it and at most `mostSlack` frames above. None when there is no such join.
std::optional<VerbatimEnd> findVerbatimEnd(std::span<const float> out, std::span<const float> in,
                                           int channels, std::size_t matchFrames,
                                           std::size_t mostSlack);

} // namespace lurvo::media
