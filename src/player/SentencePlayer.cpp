#include "player/SentencePlayer.h"

#include "app/StringTable.h"
#include "media/PlaybackControl.h"
#include "subtitles/SubtitleDocument.h"

#include <QElapsedTimer>

#include <algorithm>
#include <memory>

namespace lurvo::player {

using subtitles::SentenceMode;

namespace {

// A pass started by a seek is heard about 20 ms later, and the wait is seen to begin and to
// end a tick late on average: the seek goes out this much before the wait is up, so that the
// silence heard lasts as long as was chosen.
constexpr std::int64_t kWaitLeadMs = 30;

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
    : state_(state), views_(views), settings_(std::move(settings)) {
    now_ = [clock = std::make_shared<QElapsedTimer>()] {
        if (!clock->isValid())
            clock->start();
        return std::int64_t(clock->elapsed());
    };
}

void SentencePlayer::attach(const subtitles::SubtitleDocument* document,
                            media::PlaybackControl* player) {
    document_ = document;
    player_ = player;
    joinsSeen_ = player ? player->SegmentJoins() : 0;
    queuedTag_ = -1;
    waiting_ = false;
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

int SentencePlayer::firstLineOfSentence(int line, SentenceMode mode) const {
    return document_->linesOfSentence(document_->sentenceOfLine(line, mode).sentence, mode).first;
}

// The sentence of `line` as a stretch of the recording: from its first line's start to the
// start of the line after its last, or to the end.
SentencePlayer::Span SentencePlayer::span(int line, SentenceMode mode) const {
    const subtitles::LineRange lines =
        document_->linesOfSentence(document_->sentenceOfLine(line, mode).sentence, mode);
    const int stop = lines.last < lastLine() ? start(lines.last + 1) : -1;
    return {start(lines.first), stop >= player_->LengthMs() ? -1 : stop};
}

// The first line of the next sentence after that of `line` that has audio; -1 when none has.
int SentencePlayer::nextPlayable(int line, SentenceMode mode) const {
    const int count = document_->sentenceCount(mode);
    for (int n = document_->sentenceOfLine(line, mode).sentence + 1; n <= count; ++n) {
        const int first = document_->linesOfSentence(n, mode).first;
        if (!isEmptySentence(first, mode))
            return first;
    }
    return -1;
}

SentencePlayer::Plan SentencePlayer::following(const PlaybackSettings& s) const {
    const int first = firstLineOfSentence(state_.currentLine, s.mode);
    // An empty sentence counts as heard.
    if (!exhausted(s) && !isEmptySentence(first, s.mode))
        return {Follow::Repeat, first};
    if (const int next = nextPlayable(first, s.mode); next >= 0)
        return {Follow::Next, next};
    if (s.fileLoop) {
        const int top = passOverEmpty(0, +1, s.mode);
        if (!isEmptySentence(top, s.mode))
            return {Follow::Loop, top};
    }
    return {Follow::End, 0};
}

int SentencePlayer::passGapMs(const PlaybackSettings& s) const {
    const Span sp = span(state_.currentLine, s.mode);
    const std::int64_t stop = sp.stopMs < 0 ? player_->LengthMs() : sp.stopMs;
    return gapAfterPassMs(s, stop - sp.startMs);
}

// The pass of the current sentence from its current line, from a flushing seek: for the
// learner's own moves and after a wait. fromMs, when given, starts it where the audio already is.
void SentencePlayer::beginPass(int fromMs) {
    const PlaybackSettings s = settings_();
    const Span sp = span(state_.currentLine, s.mode);
    endWait();
    // A move onto a sentence's tail starts there; the repeats then start at its head.
    player_->PlaySegment(fromMs >= 0 ? fromMs : start(state_.currentLine), sp.stopMs);
    joinsSeen_ = player_->SegmentJoins();
    queuedTag_ = -1;
    lastPosition_ = -1;
    viewsDue_ = false;
    queueFollowing(s);
}

// Keeps the pass queued in the player in line with the settings: the same sentence again, the
// next one, or, when the learner is given time to speak or the lesson ends, none.
void SentencePlayer::queueFollowing(const PlaybackSettings& s) {
    const Plan plan = following(s);
    const bool seamless = plan.follow != Follow::End && passGapMs(s) == 0;
    const int tag = seamless ? plan.line * 4 + int(plan.follow) : -1;
    if (tag == queuedTag_)
        return;
    queuedTag_ = tag;
    if (!seamless) {
        player_->QueueSegment(-1, -1, -1);
        return;
    }
    const Span next = span(plan.line, s.mode);
    player_->QueueSegment(next.startMs, next.stopMs, tag);
}

// The state once the audio has gone on to the pass of `plan`.
void SentencePlayer::takePlan(const Plan& plan) {
    if (plan.follow == Follow::Repeat) {
        ++state_.passCount;
    } else {
        state_.passCount = 1;
        if (plan.follow == Follow::Loop)
            views_.setStatusText(0, app::stringText(122));
    }
    state_.currentLine = plan.line;
    lastPosition_ = -1;
}

// The pass has been heard out and nothing was joined on: the next pass, from a seek, or the end.
void SentencePlayer::finishPass(const PlaybackSettings& s) {
    endWait();
    const Plan plan = following(s);
    if (plan.follow == Follow::End) {
        StopPlayback();
        return;
    }
    takePlan(plan);
    beginPass();
    RefreshPlaybackViews();
}

// In the two-line modes the list follows the audio from a sentence's head into its tail.
void SentencePlayer::followIntoTail(const PlaybackSettings& s) {
    if (s.mode == SentenceMode::OneLine)
        return;
    const subtitles::LineRange lines = document_->linesOfSentence(
        document_->sentenceOfLine(state_.currentLine, s.mode).sentence, s.mode);
    const int line = lines.last > lines.first && player_->PositionMs() >= start(lines.last)
                         ? lines.last
                         : lines.first;
    if (line != state_.currentLine) {
        state_.currentLine = line;
        RefreshPlaybackViews();
    }
}

// A pass that ended in the graph is heard out when its end is reached, or when the position
// has stood still a while (the speed's last few milliseconds never reach the very end).
bool SentencePlayer::heardOut() {
    const std::int64_t position = player_->PositionMs();
    const Span sp = span(state_.currentLine, settings_().mode);
    const std::int64_t end = sp.stopMs < 0 ? player_->LengthMs() : sp.stopMs;
    if (position >= end - 1)
        return true;
    if (position != lastPosition_) {
        lastPosition_ = position;
        stillSince_ = now_();
        return false;
    }
    return now_() - stillSince_ >= 60;
}

void SentencePlayer::endWait() {
    if (!waiting_)
        return;
    waiting_ = false;
    views_.showWait(-1);
}

void SentencePlayer::moveTo(int line, int direction) {
    state_.currentLine =
        passOverEmpty(std::clamp(line, 0, lastLine()), direction, settings_().mode);
    state_.passCount = 1;
    beginPass();
    RefreshPlaybackViews();
}

void SentencePlayer::showClock() {
    QString clock = FormatClock(int(player_->PositionMs()), false) + " / " +
                    FormatClock(int(player_->LengthMs()), false);
    if (const int speed = settings_().speedPercent; speed != 100)
        clock += QString::asprintf(" · %.2f×", speed / 100.0);
    views_.setStatusText(2, clock);
}

void SentencePlayer::RefreshPlaybackViews() {
    if (!ready())
        return;
    const SentenceMode mode = settings_().mode;
    views_.refreshSentencePanel();
    views_.posRefreshList();
    QString where =
        QString::asprintf("%d / %d", document_->sentenceOfLine(state_.currentLine, mode).sentence,
                          document_->sentenceCount(mode));
    // The pass being heard, once playing has begun: "2/3", or "2/∞" without end.
    if (state_.passCount > 0 && state_.playState != PlayState::Stopped)
        where += QStringLiteral(" · %1/%2")
                     .arg(state_.passCount)
                     .arg(settings_().totalCount == 0 ? QStringLiteral("∞")
                                                      : QString::number(settings_().totalCount));
    views_.setStatusText(1, where);
    showClock();
}

void SentencePlayer::FollowPosition() {
    if (!ready())
        return;
    const int position = int(player_->PositionMs());
    const int line = document_->lineIndexAt(position);
    if (line >= 0 && line != state_.currentLine) {
        state_.currentLine = line;
        state_.passCount = 1;
    }
    // The pass under way ends where the sentence now ends.
    if (state_.playState != PlayState::Stopped && !waiting_)
        beginPass(position);
    RefreshPlaybackViews();
}

void SentencePlayer::ApplySpeed() {
    if (player_ == nullptr)
        return;
    player_->SetRate(settings_().speedPercent / 100.0);
    if (ready())
        showClock(); // also while paused or stopped
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
        ApplySpeed();
        beginPass();
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
        // Pausing cuts the time to speak short: play goes on with the next pass.
        if (waiting_) {
            const Plan plan = following(settings_());
            if (plan.follow != Follow::End) {
                takePlan(plan);
                beginPass();
                RefreshPlaybackViews();
            }
            endWait();
        }
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
    endWait();
    player_->QueueSegment(-1, -1, -1);
    queuedTag_ = -1;
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
    if (waiting_) {
        const std::int64_t waited = now_() - waitStart_;
        if (waited >= waitMs_ - kWaitLeadMs)
            finishPass(s);
        else
            views_.showWait(1.0 - double(waited) / waitMs_);
        showClock();
        return;
    }
    // The graph went on to the queued pass by itself.
    const int joins = player_->SegmentJoins();
    const bool joined = joins != joinsSeen_;
    if (joined) {
        joinsSeen_ = joins;
        const int tag = player_->LastJoinTag();
        queuedTag_ = -1;
        if (tag >= 0)
            takePlan({Follow(tag % 4), tag / 4});
        // The graph joins about 100 ms before the end of the last pass is heard out, and the
        // position stands at the new start until then: the views follow when the audio does.
        viewsDue_ = true;
        joinedAt_ = now_();
    }
    if (viewsDue_ &&
        (player_->PositionMs() > start(state_.currentLine) || now_() - joinedAt_ >= 250)) {
        viewsDue_ = false;
        RefreshPlaybackViews();
    }
    if (player_->SegmentDone()) {
        if (heardOut()) {
            const int gap = following(s).follow == Follow::End ? 0 : passGapMs(s);
            if (gap > 0) {
                waiting_ = true;
                waitStart_ = now_();
                waitMs_ = gap;
                views_.showWait(1.0);
            } else {
                finishPass(s);
            }
        }
    } else {
        queueFollowing(s);
        // The head is shown for a tick at least, even when the tail starts with it.
        if (!joined && !viewsDue_)
            followIntoTail(s);
    }
    if (state_.playState == PlayState::Playing)
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
