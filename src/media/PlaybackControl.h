#pragma once

#include "media/GraphEvent.h"
#include "media/MediaResult.h"

#include <cstdint>

namespace lurvo::media {

// What the sentence player asks of a playing lesson; MediaPlayer gives it, tests fake it.
class PlaybackControl {
public:
    virtual ~PlaybackControl() = default;
    virtual MediaResult Play() = 0;
    virtual MediaResult Pause() = 0;
    virtual MediaResult Stop() = 0;
    virtual std::int64_t LengthMs() const = 0;
    virtual std::int64_t PositionMs() const = 0;
    virtual void SeekMs(int ms) = 0;
    virtual bool IsAtEnd() const = 0;
    // Speed as a factor of the lesson's own, the pitch kept.
    virtual void SetRate(double rate) = 0;
    // Plays [startMs, stopMs) as one pass, from a flushing seek; stopMs < 0 plays to the end.
    // The pass that follows is joined on seamlessly when it is queued in time.
    virtual void PlaySegment(int startMs, int stopMs) = 0;
    // The pass to join on when the current one ends, marked with `tag` for the owner; a negative
    // startMs clears it, and the current pass then ends in silence (SegmentDone).
    virtual void QueueSegment(int startMs, int stopMs, int tag) = 0;
    // How many queued passes have been joined on so far, and the tag of the last one.
    virtual int SegmentJoins() const = 0;
    virtual int LastJoinTag() const = 0;
    // The current pass has ended with nothing queued; its last audio may still be heard.
    virtual bool SegmentDone() const = 0;
    // Called every tick while playing; true when playback had stalled and was set going again.
    virtual bool RecoverStall() { return false; }
    virtual bool GetEvent(GraphEvent& event, int timeoutMs) = 0;
};

} // namespace lurvo::media
