#include "PlaybackStress.h"
#include "../subtitles/TestData.h"

#include <gtest/gtest.h>

using lurvo::test::dataPath;
using lurvo::test::runPlaybackStress;
using lurvo::test::StressOptions;

namespace {

// A learner pressing keys on the real sound output, with subtitle offsets that move the first
// sentence before the start of the recording: after every command the audio moves on within
// half a second, and the player never says Playing over a standing position. The long run of
// the same is bench/PlaybackStressBench.
void expectAlwaysMovesOn(const QString& mp3, const QString& lrc, unsigned seed) {
    StressOptions options;
    options.mp3 = mp3;
    options.lrc = lrc;
    options.commands = 110;
    options.seed = seed;
    const auto report = runPlaybackStress(options);
    ASSERT_TRUE(report.opened);
    EXPECT_EQ(report.commands, options.commands);
    EXPECT_EQ(report.lateStarts, 0) << report.failures.join('\n').toStdString();
    EXPECT_EQ(report.standstills, 0) << report.failures.join('\n').toStdString();
    EXPECT_LE(report.slowestStartMs, 500);
    testing::Test::RecordProperty("recoveries", report.recoveries);
    testing::Test::RecordProperty("slowestStartMs", int(report.slowestStartMs));
}

TEST(PlaybackStress, SampleLessonAlwaysMovesOn) {
    expectAlwaysMovesOn(dataPath("../../resources/eg.mp3"), dataPath("../../resources/eg.lrc"), 1);
}

TEST(PlaybackStress, VbrLessonAlwaysMovesOn) {
    expectAlwaysMovesOn(dataPath("lessons/vbr.mp3"), dataPath("lessons/vbr.lrc"), 2);
}

} // namespace
