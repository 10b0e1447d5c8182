#pragma once

#include "media/PlaybackControl.h"
#include "player/PlaybackViews.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <algorithm>
#include <cstdint>

namespace lurvo::test {

// A player on a virtual clock: time moves only when the test advances it.
class FakePlayer : public media::PlaybackControl {
public:
    std::int64_t length = 10000;
    std::int64_t position = 0;
    bool playing = false;
    bool failPlay = false;
    double rate = 1.0;
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
    }
    bool IsAtEnd() const override { return position >= length; }
    void SetRate(double r) override { rate = r; }
    bool GetEvent(media::GraphEvent& event, int) override {
        if (events.isEmpty())
            return false;
        event = events.takeFirst();
        return true;
    }
    void advance(int ms) {
        if (playing)
            position = std::min(length, position + ms);
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
};

} // namespace lurvo::test
