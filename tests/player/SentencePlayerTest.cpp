#include "player/SentencePlayer.h"
#include "Fakes.h"
#include "subtitles/SubtitleDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

using namespace lurvo::player;
using lurvo::subtitles::SentenceMode;
using lurvo::subtitles::SubtitleDocument;
using lurvo::subtitles::SubtitleLine;
using lurvo::test::FakePlayer;
using lurvo::test::FakeViews;

namespace {

class SentencePlayerTest : public testing::Test {
protected:
    SubtitleDocument document;
    FakePlayer media;
    FakeViews views;
    PlaybackState state;
    PlaybackSettings settings;
    SentencePlayer player{state, views, [this] { return settings; }};
    std::int64_t now = 0; // the virtual clock of the waits

    SentencePlayerTest() {
        player.setClock([this] { return now; });
    }

    // Lines every second from firstStartMs; the recording ends a second after the last line.
    void load(int lines, int firstStartMs = 0) {
        document.lines.clear();
        for (int i = 0; i < lines; ++i)
            document.lines.append(SubtitleLine{firstStartMs + i * 1000, QString::number(i)});
        media.length = firstStartMs + lines * 1000;
        state = PlaybackState{};
        state.lessonLoaded = true;
        player.attach(&document, &media);
    }

    // Ticks every 10 ms of virtual time and returns each (line, pass) the player went through.
    std::vector<std::pair<int, int>> run(int ms) {
        std::vector<std::pair<int, int>> trace{{state.currentLine, state.passCount}};
        for (int t = 0; t < ms; t += 10) {
            now += 10;
            media.advance(10);
            player.OnPositionTick();
            if (trace.back() != std::pair{state.currentLine, state.passCount})
                trace.emplace_back(state.currentLine, state.passCount);
            if (state.playState != PlayState::Playing)
                break;
        }
        return trace;
    }

    int after(void (SentencePlayer::*command)(), int from) {
        state.currentLine = from;
        state.passCount = 3;
        (player.*command)();
        EXPECT_EQ(state.passCount, 1);
        EXPECT_EQ(media.seeks.back(), document.line(state.currentLine).startMs);
        return state.currentLine;
    }
};

using Trace = std::vector<std::pair<int, int>>;

TEST_F(SentencePlayerTest, NavigationInOneLineMode) {
    load(12);
    settings.mode = SentenceMode::OneLine;
    EXPECT_EQ(after(&SentencePlayer::PreviousSentence, 0), 0);
    EXPECT_EQ(after(&SentencePlayer::PreviousSentence, 4), 3);
    EXPECT_EQ(after(&SentencePlayer::NextSentence, 4), 5);
    EXPECT_EQ(after(&SentencePlayer::NextSentence, 11), 11);
    EXPECT_EQ(after(&SentencePlayer::BackFiveSentences, 3), 0);
    EXPECT_EQ(after(&SentencePlayer::BackFiveSentences, 9), 4);
    EXPECT_EQ(after(&SentencePlayer::ForwardFiveSentences, 4), 9);
    EXPECT_EQ(after(&SentencePlayer::ForwardFiveSentences, 9), 11);
    EXPECT_EQ(after(&SentencePlayer::RepeatCurrentSentence, 6), 6);
    EXPECT_EQ(after(&SentencePlayer::FirstSentence, 6), 0);
    EXPECT_EQ(after(&SentencePlayer::LastSentence, 6), 11);
}

TEST_F(SentencePlayerTest, NavigationInOddHeadMode) {
    load(30);
    settings.mode = SentenceMode::TwoLinesOddHead;
    EXPECT_EQ(after(&SentencePlayer::PreviousSentence, 5), 2);
    EXPECT_EQ(after(&SentencePlayer::PreviousSentence, 4), 2);
    EXPECT_EQ(after(&SentencePlayer::PreviousSentence, 1), 0);
    EXPECT_EQ(after(&SentencePlayer::NextSentence, 4), 6);
    EXPECT_EQ(after(&SentencePlayer::NextSentence, 5), 6);
    EXPECT_EQ(after(&SentencePlayer::NextSentence, 28), 29); // lands on the last sentence's tail
    EXPECT_EQ(after(&SentencePlayer::BackFiveSentences, 25), 14);
    EXPECT_EQ(after(&SentencePlayer::BackFiveSentences, 24), 14);
    EXPECT_EQ(after(&SentencePlayer::BackFiveSentences, 7), 0);
    EXPECT_EQ(after(&SentencePlayer::ForwardFiveSentences, 3), 12);
    EXPECT_EQ(after(&SentencePlayer::ForwardFiveSentences, 2), 12);
    EXPECT_EQ(after(&SentencePlayer::ForwardFiveSentences, 22), 29);
    EXPECT_EQ(after(&SentencePlayer::RepeatCurrentSentence, 5), 4);
    EXPECT_EQ(after(&SentencePlayer::RepeatCurrentSentence, 4), 4);
    EXPECT_EQ(after(&SentencePlayer::LastSentence, 3), 28);
}

TEST_F(SentencePlayerTest, NavigationInEvenHeadMode) {
    load(30);
    settings.mode = SentenceMode::TwoLinesEvenHead;
    EXPECT_EQ(after(&SentencePlayer::PreviousSentence, 3), 1);
    EXPECT_EQ(after(&SentencePlayer::PreviousSentence, 4), 1);
    EXPECT_EQ(after(&SentencePlayer::PreviousSentence, 1), 0);
    EXPECT_EQ(after(&SentencePlayer::NextSentence, 0), 1);
    EXPECT_EQ(after(&SentencePlayer::NextSentence, 1), 3);
    EXPECT_EQ(after(&SentencePlayer::NextSentence, 2), 3);
    EXPECT_EQ(after(&SentencePlayer::BackFiveSentences, 23), 13);
    EXPECT_EQ(after(&SentencePlayer::BackFiveSentences, 24), 13);
    EXPECT_EQ(after(&SentencePlayer::ForwardFiveSentences, 1), 11);
    EXPECT_EQ(after(&SentencePlayer::ForwardFiveSentences, 2), 11);
    EXPECT_EQ(after(&SentencePlayer::RepeatCurrentSentence, 4), 3);
    EXPECT_EQ(after(&SentencePlayer::RepeatCurrentSentence, 3), 3);
    EXPECT_EQ(after(&SentencePlayer::RepeatCurrentSentence, 0), 0);
    EXPECT_EQ(after(&SentencePlayer::LastSentence, 3), 29);
    EXPECT_EQ(after(&SentencePlayer::FirstSentence, 7), 0);

    load(1);
    for (auto command : {&SentencePlayer::PreviousSentence, &SentencePlayer::NextSentence,
                         &SentencePlayer::BackFiveSentences, &SentencePlayer::ForwardFiveSentences,
                         &SentencePlayer::LastSentence, &SentencePlayer::RepeatCurrentSentence})
        EXPECT_EQ(after(command, 0), 0);
}

TEST_F(SentencePlayerTest, GoToLineStartsTheSentenceOfThatLine) {
    load(9);
    settings.mode = SentenceMode::TwoLinesOddHead;
    player.GoToLine(5);
    EXPECT_EQ(state.currentLine, 4);
    settings.mode = SentenceMode::TwoLinesEvenHead;
    player.GoToLine(6);
    EXPECT_EQ(state.currentLine, 5);
    player.GoToLine(99);
    EXPECT_EQ(state.currentLine, 7);
    EXPECT_EQ(views.status[1], "5 / 5");
}

TEST_F(SentencePlayerTest, NavigationNeverChangesTheTransportState) {
    load(6);
    player.NextSentence();
    EXPECT_EQ(state.playState, PlayState::Stopped);
    EXPECT_FALSE(views.ticking);
    player.TogglePlayPause(); // starts at the chosen sentence
    EXPECT_EQ(media.seeks.back(), 1000);
    player.TogglePlayPause();
    player.NextSentence();
    EXPECT_EQ(state.playState, PlayState::Paused);
}

TEST_F(SentencePlayerTest, EachSentenceIsHeardTotalCountTimesInOneLineMode) {
    load(3);
    settings.totalCount = 2;
    settings.fileLoop = false;
    player.TogglePlayPause();
    EXPECT_EQ(run(20000), (Trace{{0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 1}, {2, 2}, {0, 0}}));
    // One seek to start; every repeat and every next sentence is joined on by the graph.
    EXPECT_EQ(media.seeks, (QList<int>{0}));
    EXPECT_EQ(media.joins, 5);
    EXPECT_EQ(state.playState, PlayState::Stopped);
    EXPECT_EQ(views.status[0], QString::fromUtf8("已停止播放"));
}

TEST_F(SentencePlayerTest, OnePassPlaysStraightThroughAndLoopsFromTheFirstLine) {
    load(3, 500);
    settings.totalCount = 1;
    settings.fileLoop = true;
    player.TogglePlayPause();
    const Trace trace = run(3600);
    // The stop and the restart happen within one tick.
    EXPECT_EQ(trace, (Trace{{0, 1}, {1, 1}, {2, 1}, {0, 1}}));
    // No seek between the lines; the loop joins the first line on, not time 0.
    EXPECT_EQ(media.seeks, (QList<int>{500}));
    EXPECT_EQ(media.position, 500 + 3600 - 3000);
    EXPECT_EQ(state.playState, PlayState::Playing);
}

TEST_F(SentencePlayerTest, TwoLineSentencesRepeatFromTheirHead) {
    load(4);
    settings.mode = SentenceMode::TwoLinesOddHead;
    settings.totalCount = 2;
    settings.fileLoop = false;
    player.TogglePlayPause();
    EXPECT_EQ(run(20000),
              (Trace{{0, 1}, {1, 1}, {0, 2}, {1, 2}, {2, 1}, {3, 1}, {2, 2}, {3, 2}, {0, 0}}));
    EXPECT_EQ(media.seeks, (QList<int>{0}));

    load(5);
    settings.mode = SentenceMode::TwoLinesEvenHead;
    player.TogglePlayPause();
    EXPECT_EQ(run(20000), (Trace{{0, 1},
                                 {0, 2},
                                 {1, 1},
                                 {2, 1},
                                 {1, 2},
                                 {2, 2},
                                 {3, 1},
                                 {4, 1},
                                 {3, 2},
                                 {4, 2},
                                 {0, 0}}));
}

TEST_F(SentencePlayerTest, NextSentenceOntoTheLastTailStillRepeatsTheWholeSentence) {
    load(4);
    settings.mode = SentenceMode::TwoLinesOddHead;
    settings.totalCount = 2;
    settings.fileLoop = false;
    player.TogglePlayPause();
    player.NextSentence(); // from line 0 to 2
    player.NextSentence(); // from the head 2 to its tail 3
    EXPECT_EQ(state.currentLine, 3);
    EXPECT_EQ(run(20000), (Trace{{3, 1}, {2, 2}, {3, 2}, {0, 0}}));
}

TEST_F(SentencePlayerTest, WithoutEndTheSentenceRepeatsUntilTheUserMoves) {
    load(3);
    settings.totalCount = 0;
    player.TogglePlayPause();
    run(5500);
    EXPECT_EQ(state.currentLine, 0);
    EXPECT_GE(state.passCount, 5);
    player.NextSentence();
    run(2500);
    EXPECT_EQ(state.currentLine, 1);
}

TEST_F(SentencePlayerTest, ALineBeyondTheRecordingIsNeverReached) {
    load(3);
    document.lines[2].startMs = 5000;
    media.length = 3000;
    settings.totalCount = 1;
    settings.fileLoop = false;
    player.TogglePlayPause();
    EXPECT_EQ(run(10000), (Trace{{0, 1}, {1, 1}, {0, 0}}));
}

// Bilingual files often give two lines one start time: in one-line mode the first of each pair
// is a sentence with no audio; in even-head mode line 0 is. Such a sentence is passed over, and
// the others repeat once a pass, never on every tick.
TEST_F(SentencePlayerTest, SentencesOfNoLengthArePassedOverInEveryMode) {
    const struct {
        SentenceMode mode;
        std::vector<int> playable; // the lines each audible sentence starts on
    } modes[] = {{SentenceMode::OneLine, {1, 3, 5}},
                 {SentenceMode::TwoLinesOddHead, {0, 2, 4}},
                 {SentenceMode::TwoLinesEvenHead, {1, 3, 5}}};
    for (const auto& m : modes) {
        for (const int passes : {0, 3}) {
            SCOPED_TRACE(testing::Message() << "mode " << int(m.mode) << ", passes " << passes);
            load(6);
            for (int i = 0; i < 6; ++i)
                document.lines[i].startMs = (i / 2) * 1000; // 0 0 1000 1000 2000 2000
            media.length = 3000;
            media.seeks.clear();
            settings.mode = m.mode;
            settings.totalCount = passes;
            settings.fileLoop = false;
            player.TogglePlayPause();
            const Trace trace = run(passes == 0 ? 5000 : 12000);
            // One seek to start, then one per repeat: about a second of audio each.
            EXPECT_LE(media.seeks.size(), passes == 0 ? 7 : 8) << media.seeks.size();
            std::vector<int> heads;
            for (const auto& [line, pass] : trace)
                if (pass == 1 && (heads.empty() || heads.back() != line) &&
                    std::find(m.playable.begin(), m.playable.end(), line) != m.playable.end())
                    heads.push_back(line);
            if (passes == 0) {
                EXPECT_EQ(heads, std::vector<int>{m.playable[0]});
                EXPECT_GE(state.passCount, 4);
            } else {
                EXPECT_EQ(heads, m.playable);
                EXPECT_EQ(state.playState, PlayState::Stopped); // all heard, then the end
            }

            // Navigation lands on audible sentences, whichever way it goes.
            state.currentLine = m.playable[1];
            player.PreviousSentence();
            EXPECT_EQ(state.currentLine, m.playable[0]);
            player.NextSentence();
            EXPECT_EQ(state.currentLine, m.playable[1]);
            player.FirstSentence();
            EXPECT_EQ(state.currentLine, m.playable[0]);
        }
    }
}

// The last line starts where the recording ends: End lands on the last sentence with audio.
TEST_F(SentencePlayerTest, LastSentenceSkipsALineThatStartsAtTheEnd) {
    load(4);
    media.length = 3000; // line 3 starts at 3000
    player.LastSentence();
    EXPECT_EQ(state.currentLine, 2);
    EXPECT_EQ(media.seeks.back(), 2000);
}

TEST_F(SentencePlayerTest, PlayPauseAndStopDriveTheViews) {
    load(3);
    player.TogglePlayPause();
    EXPECT_EQ(state.playState, PlayState::Playing);
    EXPECT_TRUE(views.ticking);
    EXPECT_TRUE(views.playImage);
    EXPECT_EQ(views.status[0], QString::fromUtf8("播放中…"));
    media.advance(1500);
    player.OnPositionTick();
    player.TogglePlayPause();
    EXPECT_EQ(state.playState, PlayState::Paused);
    EXPECT_FALSE(views.ticking);
    EXPECT_FALSE(views.playImage);
    EXPECT_EQ(views.status[0], QString::fromUtf8("暂停播放"));
    const int seeks = int(media.seeks.size());
    player.TogglePlayPause(); // resumes without a seek
    EXPECT_EQ(media.seeks.size(), seeks);
    EXPECT_EQ(state.playState, PlayState::Playing);

    player.StopPlayback();
    EXPECT_EQ(state.playState, PlayState::Stopped);
    EXPECT_EQ(state.currentLine, 0);
    EXPECT_EQ(state.passCount, 0);
    EXPECT_FALSE(views.ticking);
    const int updates = views.toolbarUpdates;
    player.StopPlayback(); // already stopped: nothing
    EXPECT_EQ(views.toolbarUpdates, updates);
    // The tick at 1.5 s had sent the sentence back to its start for another pass.
    EXPECT_EQ(views.status[2], "00:00:00 / 00:00:03");
}

TEST_F(SentencePlayerTest, FailedPlayShowsTheErrorAndChangesNothing) {
    load(3);
    media.failPlay = true;
    player.TogglePlayPause();
    EXPECT_EQ(state.playState, PlayState::Stopped);
    EXPECT_FALSE(views.ticking);
    ASSERT_EQ(views.errors.size(), 1);
    EXPECT_EQ(views.errors[0], QString::fromUtf8("播放失败：\r\nno sound"));
}

TEST_F(SentencePlayerTest, AbortEventStopsOnlyWhilePlaying) {
    load(3);
    media.events = {{0, {}, {}}, {3, lurvo::media::MediaError::Resource, "Could not read."}};
    player.OnMediaEvent(); // stopped: drained, nothing shown
    EXPECT_TRUE(views.errors.isEmpty());
    EXPECT_TRUE(media.events.isEmpty());

    player.TogglePlayPause();
    media.events = {{3, lurvo::media::MediaError::Resource, "Could not read."}};
    player.OnMediaEvent();
    EXPECT_EQ(state.playState, PlayState::Stopped);
    EXPECT_EQ(views.errors, QStringList{QString::fromUtf8("播放异常：\r\nCould not read.")});
}

TEST_F(SentencePlayerTest, NothingHappensWithoutALesson) {
    player.TogglePlayPause();
    player.NextSentence();
    player.OnPositionTick();
    EXPECT_TRUE(media.seeks.isEmpty());
    EXPECT_EQ(state.playState, PlayState::Stopped);
}

TEST_F(SentencePlayerTest, ShiftedSubtitlesMoveTheCurrentLineToThePosition) {
    load(6);
    player.GoToLine(2);
    player.TogglePlayPause();
    run(500); // line 2, playing at 2500
    ASSERT_EQ(state.currentLine, 2);
    state.passCount = 2;

    // The same line still covers the position: nothing restarts.
    const int refreshes = views.listRefreshes;
    player.FollowPosition();
    EXPECT_EQ(state.currentLine, 2);
    EXPECT_EQ(state.passCount, 2);
    EXPECT_EQ(views.listRefreshes, refreshes + 1);

    // Subtitles 700 ms earlier: line 3 now starts at 2300, before the position.
    document.applyOffset(700);
    player.FollowPosition();
    EXPECT_EQ(state.currentLine, 3);
    EXPECT_EQ(state.passCount, 1);
    EXPECT_EQ(state.playState, PlayState::Playing);
    EXPECT_EQ(views.status[1], QString::fromUtf8("4 / 6 · 1/3"));
    // The pass goes on to where line 3 now ends.
    EXPECT_EQ(media.segments.back().start, 2500);
    EXPECT_EQ(media.segments.back().stop, 3300);
}

// Time to speak: after every pass the audio waits, then the next pass starts from a seek. The
// last pass of the lesson ends without a wait.
TEST_F(SentencePlayerTest, EveryPassIsFollowedByTheChosenWait) {
    load(3);
    settings.totalCount = 2;
    settings.fileLoop = false;
    settings.gapMode = GapMode::Seconds;
    settings.gapValue = 2;
    player.TogglePlayPause();
    std::vector<std::int64_t> changes;
    Trace trace{{0, 1}};
    while (state.playState == PlayState::Playing && now < 30000) {
        now += 10;
        media.advance(10);
        player.OnPositionTick();
        if (trace.back() != std::pair{state.currentLine, state.passCount}) {
            trace.emplace_back(state.currentLine, state.passCount);
            changes.push_back(now);
        }
    }
    EXPECT_EQ(trace, (Trace{{0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 1}, {2, 2}, {0, 0}}));
    // A second of audio and two of silence before each further pass; none after the last. The
    // next pass is asked for 30 ms early, as the sound server takes that long to play it.
    EXPECT_EQ(changes, (std::vector<std::int64_t>{2970, 5940, 8910, 11880, 14850, 15850}));
    EXPECT_EQ(media.joins, 0);
    EXPECT_EQ(media.segments.size(), 6);
    // The bar runs down during each wait and goes away after it.
    ASSERT_FALSE(views.waits.isEmpty());
    EXPECT_EQ(views.waits.first(), 1.0);
    EXPECT_EQ(views.waits.count(-1.0), 5);
    EXPECT_TRUE(
        std::is_sorted(views.waits.begin() + 1, views.waits.begin() + 150, std::greater<double>()));
}

TEST_F(SentencePlayerTest, AWaitInSentenceLengthsIsHeardTimeAtTheSpeed) {
    EXPECT_EQ(gapAfterPassMs({3, true, SentenceMode::OneLine, 100, GapMode::Off, 5}, 2000), 0);
    EXPECT_EQ(gapAfterPassMs({3, true, SentenceMode::OneLine, 100, GapMode::Seconds, 0}, 2000),
              1000);
    EXPECT_EQ(gapAfterPassMs({3, true, SentenceMode::OneLine, 50, GapMode::Seconds, 12}, 2000),
              10000);
    EXPECT_EQ(
        gapAfterPassMs({3, true, SentenceMode::OneLine, 50, GapMode::SentenceLength, 150}, 2000),
        6000);

    load(2);
    settings.totalCount = 2;
    settings.speedPercent = 75;
    settings.gapMode = GapMode::SentenceLength;
    settings.gapValue = 100;
    player.TogglePlayPause();
    EXPECT_EQ(media.rate, 0.75);
    std::int64_t second = -1;
    while (second < 0 && now < 10000) {
        now += 10;
        media.advance(10);
        player.OnPositionTick();
        if (state.passCount == 2)
            second = now;
    }
    // 1000 ms of lesson last 1333 ms at 0.75×, and so does the wait (asked for 30 ms early).
    EXPECT_NEAR(double(second), 2 * 1333.3 - 30, 20);
    EXPECT_NE(views.status[2].indexOf(QString::fromUtf8("0.75×")), -1)
        << views.status[2].toStdString();
}

// Play/pause, navigation and repeat cut the wait short and act at once.
TEST_F(SentencePlayerTest, TheLearnerCutsTheWaitShort) {
    load(4);
    settings.totalCount = 2;
    settings.gapMode = GapMode::Seconds;
    settings.gapValue = 5;
    player.TogglePlayPause();
    run(1500);
    ASSERT_TRUE(player.isWaiting());
    player.TogglePlayPause(); // pause: the next pass is ready at its start
    EXPECT_FALSE(player.isWaiting());
    EXPECT_EQ(state.playState, PlayState::Paused);
    EXPECT_EQ(state.passCount, 2);
    EXPECT_EQ(media.position, 0);
    player.TogglePlayPause();
    run(100);
    EXPECT_EQ(media.position, 100) << "heard at once, no wait left";

    run(1500);
    ASSERT_TRUE(player.isWaiting());
    player.NextSentence();
    EXPECT_FALSE(player.isWaiting());
    EXPECT_EQ(state.currentLine, 1);
    EXPECT_EQ(views.waits.last(), -1.0);
    run(200);
    EXPECT_EQ(media.position, 1200);

    run(1000);
    ASSERT_TRUE(player.isWaiting());
    player.RepeatCurrentSentence();
    EXPECT_FALSE(player.isWaiting());
    EXPECT_EQ(media.position, 1000);
    EXPECT_EQ(state.passCount, 1);

    player.StopPlayback();
    EXPECT_EQ(state.playState, PlayState::Stopped);
}

// Settings changed during a pass decide what follows it.
TEST_F(SentencePlayerTest, WhatFollowsAPassFollowsTheSettings) {
    load(4);
    settings.totalCount = 3;
    player.TogglePlayPause();
    run(500);
    settings.totalCount = 1; // the sentence is heard enough now
    run(600);
    EXPECT_EQ(state.currentLine, 1);
    EXPECT_EQ(media.position, 1100);
    settings.gapMode = GapMode::Seconds; // and then a wait before the next
    settings.gapValue = 1;
    run(1000);
    EXPECT_EQ(state.currentLine, 1);
    EXPECT_TRUE(player.isWaiting());
    EXPECT_EQ(media.position, 2000);
    settings.totalCount = 0;
    run(1000);
    EXPECT_EQ(state.passCount, 2);
    EXPECT_EQ(views.status[1], QString::fromUtf8("2 / 4 · 2/∞"));
    // The speed follows at once.
    settings.speedPercent = 150;
    player.ApplySpeed();
    EXPECT_EQ(media.rate, 1.5);
}

// The graph joins the next pass before the last one is heard out: the views follow the audio.
TEST_F(SentencePlayerTest, TheViewsChangeWhenTheNextPassIsHeard) {
    load(3);
    media.joinHeardAfterMs = 100;
    player.TogglePlayPause();
    player.RefreshPlaybackViews(); // as the lesson's opening does
    run(1000);                     // the join
    ASSERT_EQ(media.joins, 1);
    EXPECT_EQ(state.passCount, 2);
    const int refreshes = views.sentenceRefreshes;
    EXPECT_EQ(views.status[1], QString::fromUtf8("1 / 3 · 1/3")) << "not heard yet";
    run(90);
    EXPECT_EQ(views.sentenceRefreshes, refreshes);
    run(20);
    EXPECT_EQ(views.sentenceRefreshes, refreshes + 1);
    EXPECT_EQ(views.status[1], QString::fromUtf8("1 / 3 · 2/3"));
}

TEST(FormatClock, WritesHoursMinutesSeconds) {
    EXPECT_EQ(FormatClock(0, false), "00:00:00");
    EXPECT_EQ(FormatClock(-5, true), "00:00:00.000");
    EXPECT_EQ(FormatClock(62505, false), "00:01:02");
    EXPECT_EQ(FormatClock(62505, true), "00:01:02.505");
    EXPECT_EQ(FormatClock(3723004, true), "01:02:03.004");
    EXPECT_EQ(FormatClock(360000000, false), "100:00:00");
}

} // namespace
