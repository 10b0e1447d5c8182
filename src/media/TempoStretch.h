#pragma once

namespace lurvo::media {

// "lurvotempo": plays the lesson slower or faster at the same pitch, at the rate of the
// segment it is given, like scaletempo, with one difference a repeater needs: each segment is
// stretched on its own and given out whole. When the audio reaches the segment's stop, or a
// new segment, the end of stream or a segment's end comes, everything still held is given
// out and nothing of it is kept for the next. So the next pass starts on its own first sample,
// with no bit of the pass before. Where it can, a pass goes over into the lesson's own audio
// for its last milliseconds (VerbatimEnd.h), so it also ends on its sentence's last sample; it
// then lasts up to 20 ms longer than the segment at its rate, and the next pass is made that
// much shorter. Otherwise it lasts exactly as long. At 1.00x the audio passes untouched.
//
// Raw interleaved 32-bit float in and out. Registered with GStreamer once, by
// ensureGstInitialized().
bool registerTempoStretch();

} // namespace lurvo::media
