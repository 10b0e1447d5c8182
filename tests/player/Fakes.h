#pragma once

#include "media/PlaybackControl.h"
#include "player/PlaybackViews.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace lurvo::test {

// A player on a virtual clock: time moves only when the test advances it.
class FakePlayer : public media::PlaybackControl {
public:
    std::int64_t length = 10000;
    std::int64_t position = 0;
    bool playing = false;
    bool failPlay = false;
    double rate = 1.0;
    double carry = 0;
    int joinHeardAfterMs = 0; // the real graph joins this long before the end is heard out
    int standing = 0;
    QList<int> seeks;
    QList<media::GraphEvent> events;

    media::MediaResult Play() override {
        if (failPlay)
            return media::MediaResult::failure(media::MediaError::StateChange, "no sound");
        playing = true;
        return {};
    }
    media::MediaResult Pause() override {
        playing = false;
        return {};
    }
    media::MediaResult Stop() override { return Pause(); }
    std::int64_t LengthMs() const override { return length; }
    std::int64_t PositionMs() const override { return position; }
    void SeekMs(int ms) override {
        position = std::clamp<std::int64_t>(ms, 0, length);
        seeks.append(int(position));
        segmentActive = false;
        segmentDone = false;
    }
    bool IsAtEnd() const override { return position >= length; }
    void SetRate(double r) override { rate = r; }
    bool GetEvent(media::GraphEvent& event, int) override {
        if (events.isEmpty())
            return false;
        event = events.takeFirst();
        return true;
    }
    // Segments as the real graph plays them: a pass stops at its end and the queued one is
    // joined on without losing a millisecond.
    struct Pass {
        int start;
        int stop; // -1: the end
        int tag;
    };
    std::optional<Pass> queued;
    int segmentStop = -1;
    bool segmentActive = false;
    bool segmentDone = false;
    int joins = 0;
    int lastTag = -1;
    QList<Pass> segments; // every pass started by a flushing seek

    void PlaySegment(int startMs, int stopMs) override {
        SeekMs(startMs);
        segments.append({int(position), stopMs, -1});
        segmentActive = true;
        segmentStop = stopMs;
        segmentDone = false;
        queued.reset();
    }
    void QueueSegment(int startMs, int stopMs, int tag) override {
        if (startMs < 0)
            queued.reset();
        else
            queued = Pass{startMs, stopMs, tag};
    }
    int SegmentJoins() const override { return joins; }
    int LastJoinTag() const override { return lastTag; }
    bool SegmentDone() const override { return segmentDone; }

    void advance(int ms) {
        if (!playing || segmentDone)
            return;
        if (standing > 0) { // the last pass's end still being heard
            standing -= ms;
            return;
        }
        carry += ms * rate; // lesson time goes at the rate
        const auto step = std::int64_t(carry);
        carry -= double(step);
        position = std::min(length, position + step);
        const std::int64_t stop = segmentActive && segmentStop >= 0
                                      ? std::min<std::int64_t>(segmentStop, length)
                                      : length;
        if (!segmentActive || position < stop)
            return;
        if (queued) {
            position = joinHeardAfterMs > 0 ? queued->start : queued->start + (position - stop);
            standing = joinHeardAfterMs;
            segmentStop = queued->stop;
            lastTag = queued->tag;
            ++joins;
            queued.reset();
        } else {
            position = stop;
            segmentDone = true;
        }
    }
};

class FakeViews : public player::PlaybackViews {
public:
    bool ticking = false;
    bool playImage = false;
    int sentenceRefreshes = 0;
    int listRefreshes = 0;
    int toolbarUpdates = 0;
    QMap<int, QString> status;
    QStringList errors;

    void refreshSentencePanel() override { ++sentenceRefreshes; }
    void posRefreshList() override { ++listRefreshes; }
    void setPlayButtonImage(bool playing) override { playImage = playing; }
    void updateToolbarState() override { ++toolbarUpdates; }
    void setStatusText(int part, const QString& text) override { status[part] = text; }
    void hideToolTip() override {}
    void startTick() override { ticking = true; }
    void stopTick() override { ticking = false; }
    void showError(const QString& text) override { errors << text; }
    void showWait(double fractionLeft) override { waits << fractionLeft; }
    QList<double> waits;
};

} // namespace lurvo::test
