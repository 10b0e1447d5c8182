#include "player/SentencePlayer.h"

#include "app/StringTable.h"
#include "media/PlaybackControl.h"
#include "subtitles/SubtitleDocument.h"

#include <algorithm>

namespace lurvo::player {

using subtitles::SentenceMode;

namespace {

// The media framework's error texts are cut at 255 characters.
QString withErrorText(int id, const QString& error) {
    return app::stringText(id, error.left(255));
}

} // namespace

QString FormatClock(int ms, bool withMillis) {
    if (ms < 0)
        ms = 0;
    const int h = ms / 3600000;
    const int s = ms / 1000 - h * 3600;
    if (withMillis)
        return QString::asprintf("%.2d:%.2d:%.2d.%.3d", h, s / 60, s % 60, ms % 1000);
    return QString::asprintf("%.2d:%.2d:%.2d", h, s / 60, s % 60);
}

int gapAfterPassMs(const PlaybackSettings& settings, std::int64_t sentenceMs) {
    switch (settings.gapMode) {
    case GapMode::Seconds:
        return std::clamp(settings.gapValue, 1, 10) * 1000;
    case GapMode::SentenceLength: {
        const int speed = std::clamp(settings.speedPercent, 50, 200);
        return int(std::max<std::int64_t>(sentenceMs, 0) * settings.gapValue / speed);
    }
    case GapMode::Off:
        break;
    }
    return 0;
}

SentencePlayer::SentencePlayer(PlaybackState& state, PlaybackViews& views,
                               std::function<PlaybackSettings()> settings)
    : state_(state), views_(views), settings_(std::move(settings)) {}

void SentencePlayer::attach(const subtitles::SubtitleDocument* document,
                            media::PlaybackControl* player) {
    document_ = document;
    player_ = player;
    ApplySpeed();
}

bool SentencePlayer::ready() const {
    return state_.lessonLoaded && document_ != nullptr && player_ != nullptr &&
           document_->lineCount() > 0;
}

int SentencePlayer::lastLine() const {
    return document_->lineCount() - 1;
}

int SentencePlayer::start(int line) const {
    return document_->line(std::clamp(line, 0, lastLine())).startMs;
}

bool SentencePlayer::exhausted(const PlaybackSettings& s) const {
    return s.totalCount != 0 && state_.passCount >= s.totalCount;
}

bool SentencePlayer::isTwoLineHead(int line, SentenceMode mode) const {
    // In the tick, line 0 of the even-head mode is a sentence of its own, not a head with a tail.
    return mode == SentenceMode::TwoLinesOddHead ? line % 2 == 0 : line % 2 == 1;
}

int SentencePlayer::headOf(int line, SentenceMode mode) const {
    if (mode == SentenceMode::TwoLinesOddHead && line % 2 == 1)
        return line - 1;
    if (mode == SentenceMode::TwoLinesEvenHead && line % 2 == 0 && line > 0)
        return line - 1;
    return line;
}

// A sentence that ends where it starts: its lines share their start with the next sentence
// (common in bilingual files), or it starts at or past the end of the recording.
bool SentencePlayer::isEmptySentence(int line, SentenceMode mode) const {
    const subtitles::LineRange lines =
        document_->linesOfSentence(document_->sentenceOfLine(line, mode).sentence, mode);
    const std::int64_t end = lines.last < lastLine() ? start(lines.last + 1) : player_->LengthMs();
    return end <= start(lines.first);
}

// An empty sentence cannot be played, and repeating it would seek on every tick: the nearest
// sentence that has audio in the direction of travel stands in for it, else the nearest the
// other way.
int SentencePlayer::passOverEmpty(int line, int direction, SentenceMode mode) const {
    if (!isEmptySentence(line, mode))
        return line;
    const int count = document_->sentenceCount(mode);
    const int from = document_->sentenceOfLine(line, mode).sentence;
    for (const int step : {direction, -direction}) {
        for (int n = from + step; n >= 1 && n <= count; n += step) {
            const int first = document_->linesOfSentence(n, mode).first;
            if (!isEmptySentence(first, mode))
                return first;
        }
    }
    return line;
}

void SentencePlayer::repeat() {
    ++state_.passCount;
    player_->SeekMs(start(state_.currentLine));
}

void SentencePlayer::moveTo(int line, int direction) {
    state_.currentLine =
        passOverEmpty(std::clamp(line, 0, lastLine()), direction, settings_().mode);
    state_.passCount = 1;
    player_->SeekMs(start(state_.currentLine));
    RefreshPlaybackViews();
}

void SentencePlayer::showClock() {
    views_.setStatusText(2, FormatClock(int(player_->PositionMs()), false) + " / " +
                                FormatClock(int(player_->LengthMs()), false));
}

void SentencePlayer::RefreshPlaybackViews() {
    if (!ready())
        return;
    const SentenceMode mode = settings_().mode;
    views_.refreshSentencePanel();
    views_.posRefreshList();
    views_.setStatusText(
        1,
        QString::asprintf("%d / %d", document_->sentenceOfLine(state_.currentLine, mode).sentence,
                          document_->sentenceCount(mode)));
    showClock();
}

void SentencePlayer::FollowPosition() {
    if (!ready())
        return;
    const int line = document_->lineIndexAt(int(player_->PositionMs()));
    if (line >= 0 && line != state_.currentLine) {
        state_.currentLine = line;
        state_.passCount = 1;
    }
    RefreshPlaybackViews();
}

void SentencePlayer::ApplySpeed() {
    if (player_ != nullptr)
        player_->SetRate(settings_().speedPercent / 100.0);
}

void SentencePlayer::startPlaying() {
    views_.startTick();
    state_.playState = PlayState::Playing;
    views_.refreshSentencePanel();
    views_.posRefreshList();
    views_.setPlayButtonImage(true);
    views_.updateToolbarState();
    views_.setStatusText(0, app::stringText(122));
}

void SentencePlayer::TogglePlayPause() {
    if (!ready())
        return;
    views_.hideToolTip();
    switch (state_.playState) {
    case PlayState::Stopped: {
        player_->SeekMs(start(state_.currentLine));
        const media::MediaResult played = player_->Play();
        if (!played.ok()) {
            views_.showError(withErrorText(135, played.message));
            return;
        }
        state_.passCount = 1;
        startPlaying();
        return;
    }
    case PlayState::Paused: {
        const media::MediaResult played = player_->Play();
        if (!played.ok()) {
            views_.showError(withErrorText(135, played.message));
            return;
        }
        startPlaying();
        return;
    }
    case PlayState::Playing:
        player_->Pause();
        views_.stopTick();
        state_.playState = PlayState::Paused;
        views_.refreshSentencePanel();
        views_.setPlayButtonImage(false);
        views_.updateToolbarState();
        views_.setStatusText(0, app::stringText(123));
        return;
    }
}

void SentencePlayer::StopPlayback() {
    if (!ready() || state_.playState == PlayState::Stopped)
        return;
    views_.hideToolTip();
    const bool wasPlaying = state_.playState == PlayState::Playing;
    player_->Stop();
    views_.stopTick();
    state_.playState = PlayState::Stopped;
    state_.currentLine = 0;
    state_.passCount = 0;
    if (wasPlaying)
        views_.setPlayButtonImage(false);
    views_.updateToolbarState();
    views_.setStatusText(0, app::stringText(124));
    RefreshPlaybackViews();
}

void SentencePlayer::GoToLine(int line) {
    if (!ready())
        return;
    const SentenceMode mode = settings_().mode;
    const int sentence = document_->sentenceOfLine(std::clamp(line, 0, lastLine()), mode).sentence;
    moveTo(document_->linesOfSentence(sentence, mode).first, +1);
}

// How many lines a sentence step moves from line x: in one-line mode `lines`; in the two-line
// modes it depends on whether x is odd, as the mode puts heads on odd or even lines.
struct SentenceStep {
    int oneLine;
    int oddHeadFromOdd;
    int oddHeadFromEven;
    int evenHeadFromOdd;
    int evenHeadFromEven;

    int lines(SentenceMode mode, int x) const {
        switch (mode) {
        case SentenceMode::TwoLinesOddHead:
            return x % 2 == 1 ? oddHeadFromOdd : oddHeadFromEven;
        case SentenceMode::TwoLinesEvenHead:
            return x % 2 == 1 ? evenHeadFromOdd : evenHeadFromEven;
        case SentenceMode::OneLine:
            break;
        }
        return oneLine;
    }
};

void SentencePlayer::stepBack(const SentenceStep& step) {
    if (!ready())
        return;
    const int x = state_.currentLine;
    moveTo(x == 0 ? 0 : std::max(0, x - step.lines(settings_().mode, x)), -1);
}

void SentencePlayer::stepForward(const SentenceStep& step) {
    if (!ready())
        return;
    const int x = state_.currentLine;
    moveTo(x == lastLine() ? x : std::min(lastLine(), x + step.lines(settings_().mode, x)), +1);
}

void SentencePlayer::PreviousSentence() {
    stepBack({1, 3, 2, 2, 3});
}
void SentencePlayer::NextSentence() {
    stepForward({1, 1, 2, 2, 1});
}
void SentencePlayer::BackFiveSentences() {
    stepBack({5, 11, 10, 10, 11});
}
void SentencePlayer::ForwardFiveSentences() {
    stepForward({5, 9, 10, 10, 9});
}

void SentencePlayer::FirstSentence() {
    GoToLine(0);
}

void SentencePlayer::LastSentence() {
    if (ready())
        GoToLine(lastLine());
}

void SentencePlayer::RepeatCurrentSentence() {
    if (!ready())
        return;
    GoToLine(headOf(state_.currentLine, settings_().mode));
}

void SentencePlayer::OnPositionTick() {
    if (!ready() || state_.playState != PlayState::Playing)
        return;
    // A sound output that stopped taking audio is set going again where it stood.
    player_->RecoverStall();
    const PlaybackSettings s = settings_();
    const bool oneLine = s.mode == SentenceMode::OneLine;
    // An empty sentence counts as heard: the audio flows on instead of seeking on every tick.
    const bool done = exhausted(s) || isEmptySentence(state_.currentLine, s.mode);
    if (state_.currentLine < lastLine() && !player_->IsAtEnd()) {
        if (player_->PositionMs() >= start(state_.currentLine + 1)) {
            // The audio has entered the next line.
            if (oneLine) {
                if (done) {
                    ++state_.currentLine;
                    state_.passCount = 1;
                    RefreshPlaybackViews();
                } else {
                    repeat();
                }
            } else {
                if (isTwoLineHead(state_.currentLine, s.mode)) {
                    ++state_.currentLine; // on into the sentence's tail
                } else if (done) {
                    ++state_.currentLine;
                    state_.passCount = 1;
                } else {
                    state_.currentLine = std::max(0, state_.currentLine - 1);
                    repeat();
                }
                RefreshPlaybackViews();
            }
        }
    } else if (player_->IsAtEnd()) {
        if (done) {
            StopPlayback();
            if (s.fileLoop)
                TogglePlayPause();
            return;
        }
        if (!oneLine)
            state_.currentLine = headOf(state_.currentLine, s.mode);
        repeat();
        if (!oneLine)
            RefreshPlaybackViews();
    }
    showClock();
}

void SentencePlayer::OnMediaEvent() {
    if (!ready())
        return;
    media::GraphEvent event;
    while (player_->GetEvent(event, 50)) {
        if (event.code == media::kEventErrorAbort && state_.playState == PlayState::Playing) {
            StopPlayback();
            views_.showError(withErrorText(136, event.text));
            return;
        }
    }
}

} // namespace lurvo::player
