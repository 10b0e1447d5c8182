#pragma once

#include <aubio/aubio.h>

#include <memory>

namespace lurvo::pitch {

// Owning handles for the aubio objects, so that every path gives them back.
struct AubioDelete {
    void operator()(fvec_t* v) const { del_fvec(v); }
    void operator()(cvec_t* v) const { del_cvec(v); }
    void operator()(aubio_pitch_t* p) const { del_aubio_pitch(p); }
    void operator()(aubio_pvoc_t* p) const { del_aubio_pvoc(p); }
    void operator()(aubio_mfcc_t* m) const { del_aubio_mfcc(m); }
};

template <typename T> using AubioPtr = std::unique_ptr<T, AubioDelete>;

} // namespace lurvo::pitch
