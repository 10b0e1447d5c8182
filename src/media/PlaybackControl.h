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
    // Called every tick while playing; true when playback had stalled and was set going again.
    virtual bool RecoverStall() { return false; }
    virtual bool GetEvent(GraphEvent& event, int timeoutMs) = 0;
};

} // namespace lurvo::media
