#include "PlaybackStress.h"

#include "Fakes.h"
#include "media/MediaPlayer.h"
#include "player/SentencePlayer.h"
#include "subtitles/SubtitleDocument.h"

#include <QElapsedTimer>
#include <QThread>

#include <cstdio>
#include <random>

namespace lurvo::test {

namespace {

constexpr int kTickMs = 10;
constexpr std::int64_t kStartLimitMs = 500;
constexpr std::int64_t kStandstillLimitMs = 1000;

enum class Command { Right, Left, Home, Up, End, PageUp, PageDown, Offset, Count };

const char* commandName(Command c) {
    static const char* const names[] = {"Right", "Left", "Home", "Up",
                                        "End",   "PgUp", "PgDn", "offset"};
    return names[int(c)];
}

// Watches the position as the tick reads it: when the audio first moves on after a command,
// and how long the position has stood still while the player says Playing.
class ProgressWatch {
public:
    void commandIssued(std::int64_t position) {
        commandClock_.start();
        waitingForMove_ = true;
        last_ = position;
    }

    // Returns the wait from the command to the first move, when this read is that move.
    std::int64_t read(std::int64_t position, bool playing) {
        std::int64_t started = -1;
        // The audio moving on: a small step forward between two reads with no command between.
        const bool moved = position > last_ && position - last_ <= 250;
        if (moved && waitingForMove_) {
            started = commandClock_.elapsed();
            waitingForMove_ = false;
        }
        if (!playing || position != last_ || !standing_.isValid())
            standing_.start();
        last_ = position;
        return started;
    }

    bool waitingForMove() const { return waitingForMove_; }
    std::int64_t sinceCommandMs() const { return commandClock_.elapsed(); }
    std::int64_t standingMs() const { return standing_.isValid() ? standing_.elapsed() : 0; }
    void standstillCounted() { standing_.start(); }

private:
    QElapsedTimer commandClock_;
    QElapsedTimer standing_;
    std::int64_t last_ = -1;
    bool waitingForMove_ = false;
};

} // namespace

StressReport runPlaybackStress(const StressOptions& options) {
    StressReport report;
    subtitles::SubtitleDocument document;
    media::MediaPlayer media(options.renderer);
    if (document.load(options.lrc) != 1 ||
        !media.Open(options.mp3, nullptr, media::ParserOrder::SecondaryFirst).ok()) {
        report.failures << QStringLiteral("the lesson did not open");
        return report;
    }
    report.opened = true;

    player::PlaybackState state;
    state.lessonLoaded = true;
    FakeViews views;
    player::PlaybackSettings settings;
    settings.totalCount = 2;
    settings.fileLoop = true;
    player::SentencePlayer sentences(state, views, [&] { return settings; });
    sentences.attach(&document, &media);
    sentences.TogglePlayPause();

    std::mt19937 random(options.seed);
    std::uniform_int_distribution<int> gapOf(options.minGapMs, options.maxGapMs);
    std::uniform_int_distribution<int> commandOf(0, int(Command::Count) - 1);
    std::uniform_int_distribution<int> offsetOf(-options.maxOffsetMs, options.maxOffsetMs);
    std::uniform_int_distribution<int> passesOf(0, 3);

    const auto fail = [&](const QString& what) {
        report.failures << what;
        if (options.verbose)
            std::fprintf(stderr, "stress: %s\n", qPrintable(what));
    };

    ProgressWatch watch;
    watch.commandIssued(media.PositionMs());
    QString lastCommand = QStringLiteral("start");
    for (int i = 0; i < options.commands; ++i) {
        bool lateCounted = false;
        QElapsedTimer gap;
        gap.start();
        const int gapMs = gapOf(random);
        while (gap.elapsed() < gapMs) {
            QThread::msleep(kTickMs);
            if (state.playState == player::PlayState::Playing)
                sentences.OnPositionTick();
            const bool playing = state.playState == player::PlayState::Playing;
            const std::int64_t waited = watch.read(media.PositionMs(), playing);
            report.slowestStartMs = std::max(report.slowestStartMs, waited);
            // Late once the limit has passed unmoved, or when the move came after it (a tick
            // may be held up past the limit, by a graph being built anew for one).
            const bool late = waited > kStartLimitMs ||
                              (watch.waitingForMove() && watch.sinceCommandMs() > kStartLimitMs);
            if (late && !lateCounted) {
                lateCounted = true;
                ++report.lateStarts;
                fail(QStringLiteral("audio had not moved on 500 ms after %1 (command %2)")
                         .arg(lastCommand)
                         .arg(i));
            }
            if (playing && watch.standingMs() > kStandstillLimitMs) {
                ++report.standstills;
                fail(QStringLiteral("Playing with the position standing at %1 ms for over 1 s "
                                    "(after %2, command %3)")
                         .arg(media.PositionMs())
                         .arg(lastCommand)
                         .arg(i));
                watch.standstillCounted();
            }
        }

        const auto command = Command(commandOf(random));
        switch (command) {
        case Command::Right:
            sentences.NextSentence();
            break;
        case Command::Left:
            sentences.PreviousSentence();
            break;
        case Command::Home:
            sentences.FirstSentence();
            break;
        case Command::Up:
            sentences.RepeatCurrentSentence();
            break;
        case Command::End:
            sentences.LastSentence();
            break;
        case Command::PageUp:
            sentences.BackFiveSentences();
            break;
        case Command::PageDown:
            sentences.ForwardFiveSentences();
            break;
        case Command::Offset:
            document.applyOffset(offsetOf(random));
            sentences.FollowPosition();
            settings.totalCount = passesOf(random);
            break;
        case Command::Count:
            break;
        }
        if (state.playState != player::PlayState::Playing)
            sentences.TogglePlayPause();
        lastCommand = QString::fromLatin1(commandName(command));
        watch.commandIssued(media.PositionMs());
        ++report.commands;
    }
    report.recoveries = media.stallRecoveries();
    return report;
}

} // namespace lurvo::test
