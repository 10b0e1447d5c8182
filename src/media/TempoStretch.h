#pragma once

namespace lurvo::media {

// "lurvotempo": plays the lesson slower or faster at the same pitch, at the rate of the
// segment it is given, like scaletempo, with one difference a repeater needs: each segment is
// stretched on its own and given out whole. When the audio reaches the segment's stop, or a
// new segment, the end of stream or a segment's end comes, everything still held is given
// out, as many samples as the segment lasts at its rate, and nothing of it is kept for the
// next. So a pass ends on its sentence's last sample and the next pass starts on its own
// first one, with no bit of the pass before. At 1.00x it passes the audio through untouched.
//
// Raw interleaved 32-bit float in and out. Registered with GStreamer once, by
// ensureGstInitialized().
bool registerTempoStretch();

} // namespace lurvo::media
