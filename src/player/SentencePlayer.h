#pragma once

#include "player/PlaybackState.h"
#include "player/PlaybackViews.h"
#include "subtitles/SentenceMode.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace lurvo::subtitles {
class SubtitleDocument;
}
namespace lurvo::media {
class PlaybackControl;
}

namespace lurvo::player {

struct SentenceStep;

// The silence after each pass, for the learner to say the sentence: none, gapValue seconds
// (1 to 10), or gapValue percent (50, 100, 150 or 200) of the sentence's length as heard.
enum class GapMode { Off = 0, Seconds = 1, SentenceLength = 2 };

// The settings the player reads at every step, so that changes take effect at once.
struct PlaybackSettings {
    int totalCount = 3; // passes per sentence; 0 without end
    bool fileLoop = true;
    subtitles::SentenceMode mode = subtitles::SentenceMode::OneLine;
    int speedPercent = 100; // 50 to 200; the pitch stays
    GapMode gapMode = GapMode::Off;
    int gapValue = 0;
};

// The wait after a pass of `sentenceMs` lesson time at `speedPercent`, in milliseconds heard.
int gapAfterPassMs(const PlaybackSettings& settings, std::int64_t sentenceMs);

// Plays a lesson sentence by sentence: each sentence heard totalCount times, then the next.
// Each pass is a segment of the recording that ends by itself at the sentence's end; the pass
// to follow is queued ahead, so that the audio joins it on without a hole. A 10 ms tick keeps
// the views in step, keeps the queue in line with the settings, and times the silence the
// learner may be given to speak after each pass.
class SentencePlayer {
public:
    SentencePlayer(PlaybackState& state, PlaybackViews& views,
                   std::function<PlaybackSettings()> settings);
    // Milliseconds of a monotonic clock for the waits; tests pass a virtual one.
    void setClock(std::function<std::int64_t()> now) { now_ = std::move(now); }
    bool isWaiting() const { return waiting_; }

    // The open lesson, or nulls when none is open. The player does not own them.
    void attach(const subtitles::SubtitleDocument* document, media::PlaybackControl* player);

    void TogglePlayPause();
    void StopPlayback();
    void GoToLine(int line);
    void PreviousSentence();
    void NextSentence();
    void BackFiveSentences();
    void ForwardFiveSentences();
    void FirstSentence();
    void LastSentence();
    void RepeatCurrentSentence();
    void OnPositionTick();
    void OnMediaEvent();
    void RefreshPlaybackViews();
    // After the subtitles moved under the audio: the current line becomes the one that now
    // covers the position, heard from its first pass.
    void FollowPosition();
    // After the speed setting changed: heard at the new speed at once, from where it is.
    void ApplySpeed();

private:
    // What comes after the pass being heard.
    enum class Follow { Repeat, Next, Loop, End };
    struct Plan {
        Follow follow = Follow::End;
        int line = 0; // the first line of the sentence heard next
    };
    struct Span {
        int startMs;
        int stopMs; // -1: the end of the recording
    };

    bool ready() const;
    int firstLineOfSentence(int line, subtitles::SentenceMode mode) const;
    Span span(int line, subtitles::SentenceMode mode) const;
    int nextPlayable(int line, subtitles::SentenceMode mode) const;
    Plan following(const PlaybackSettings& s) const;
    int passGapMs(const PlaybackSettings& s) const;
    void beginPass(int fromMs = -1);
    void queueFollowing(const PlaybackSettings& s);
    void takePlan(const Plan& plan);
    void finishPass(const PlaybackSettings& s);
    void followIntoTail(const PlaybackSettings& s);
    bool heardOut();
    void endWait();
    int lastLine() const;
    int start(int line) const;
    bool exhausted(const PlaybackSettings& s) const;
    bool isTwoLineHead(int line, subtitles::SentenceMode mode) const;
    int headOf(int line, subtitles::SentenceMode mode) const;
    bool isEmptySentence(int line, subtitles::SentenceMode mode) const;
    int passOverEmpty(int line, int direction, subtitles::SentenceMode mode) const;
    // direction (-1 back, +1 on) is where an empty sentence at `line` is passed over to.
    void moveTo(int line, int direction);
    void stepBack(const SentenceStep& step);
    void stepForward(const SentenceStep& step);
    void startPlaying();
    void showClock();

    PlaybackState& state_;
    PlaybackViews& views_;
    std::function<PlaybackSettings()> settings_;
    const subtitles::SubtitleDocument* document_ = nullptr;
    media::PlaybackControl* player_ = nullptr;
    std::function<std::int64_t()> now_;
    int joinsSeen_ = 0;
    int queuedTag_ = -1; // what the player holds queued; -1 nothing
    bool waiting_ = false;
    std::int64_t waitStart_ = 0;
    int waitMs_ = 0;
    std::int64_t lastPosition_ = -1; // after the pass ended, while it is heard out
    std::int64_t stillSince_ = 0;
    bool viewsDue_ = false; // a joined pass not yet heard: the views wait for it
    std::int64_t joinedAt_ = 0;
};

// "hh:mm:ss", or "hh:mm:ss.mmm" with milliseconds; negative times read as 0.
QString FormatClock(int ms, bool withMillis);

} // namespace lurvo::player
