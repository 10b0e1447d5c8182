#include "views/ControlValues.h"

#include <QString>

#include <gtest/gtest.h>

using namespace lurvo::views;

namespace {

TEST(VolumeSlider, MapsVolumeAndPositionBothWays) {
    const struct {
        int volume;
        int position;
    } shown[] = {{0, 100}, {-500, 79}, {-1505, 50}, {-5000, 10}, {-10000, 1}, {-9999, 1}};
    for (const auto& c : shown)
        EXPECT_EQ(sliderPositionForVolume(c.volume), c.position) << c.volume;

    const struct {
        int position;
        int volume;
    } set[] = {{100, 0}, {79, -511}, {50, -1505}, {10, -5000}, {1, -10000}, {99, -21}};
    for (const auto& c : set)
        EXPECT_EQ(volumeForSliderPosition(c.position), c.volume) << c.position;

    // The default volume is not a slider step: touching the slider there moves it to -511.
    EXPECT_EQ(volumeForSliderPosition(sliderPositionForVolume(-500)), -511);
    // Every position survives the round trip through its volume.
    for (int p = kSliderMin; p <= kSliderMax; ++p)
        EXPECT_EQ(sliderPositionForVolume(volumeForSliderPosition(p)), p) << p;
}

TEST(RepeatCount, EntriesAreReadAsUnsignedAndClamped) {
    const struct {
        const char* typed;
        int count;
    } cases[] = {
        {"5", 5},   {"0", 0},          {"9", 9},          {"12", 9},         {"", 0},
        {"abc", 0}, {"-3", 0},         {"3a", 0},         {"+3", 0},         {" 4 ", 4},
        {"007", 7}, {"2147483647", 9}, {"4294967295", 0}, {"4294967296", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(repeatCountFromText(QString::fromLatin1(c.typed)), c.count) << c.typed;
}

TEST(ListScrolling, MovesAPageAtATimeInTheDirectionOfTravel) {
    // Rows 10..17 in view (eight whole rows).
    EXPECT_EQ(listScrollFor(12, 13, 10, 8), ListScroll::None);
    EXPECT_EQ(listScrollFor(10, 17, 10, 8), ListScroll::None);
    EXPECT_EQ(listScrollFor(17, 18, 10, 8), ListScroll::StartAtTop) << "tail below the view";
    EXPECT_EQ(listScrollFor(18, 18, 10, 8), ListScroll::StartAtTop);
    EXPECT_EQ(listScrollFor(9, 10, 10, 8), ListScroll::EndAtBottom) << "head above the view";
    EXPECT_EQ(listScrollFor(0, 0, 10, 8), ListScroll::EndAtBottom);
    EXPECT_EQ(listScrollFor(12, 12, 10, 1), ListScroll::EnsureFirst);
    EXPECT_EQ(listScrollFor(12, 12, 10, 0), ListScroll::EnsureFirst);
}

TEST(SpeedText, TwoDecimalsAndTheTimesSign) {
    EXPECT_EQ(speedText(100), QStringLiteral("1.00×"));
    EXPECT_EQ(speedText(75), QStringLiteral("0.75×"));
    EXPECT_EQ(speedText(50), QStringLiteral("0.50×"));
    EXPECT_EQ(speedText(205), QStringLiteral("2.05×"));
}

TEST(WaitBox, EntriesRunFromNoneThroughSecondsToSentenceLengths) {
    ASSERT_EQ(gapChoiceCount(), 15);
    EXPECT_EQ(gapChoiceText(0), QStringLiteral("不停顿"));
    EXPECT_EQ(gapChoiceText(1), QStringLiteral("1 秒"));
    EXPECT_EQ(gapChoiceText(10), QStringLiteral("10 秒"));
    EXPECT_EQ(gapChoiceText(11), QStringLiteral("0.5 倍句长"));
    EXPECT_EQ(gapChoiceText(12), QStringLiteral("1 倍句长"));
    EXPECT_EQ(gapChoiceText(13), QStringLiteral("1.5 倍句长"));
    EXPECT_EQ(gapChoiceText(14), QStringLiteral("2 倍句长"));
    EXPECT_EQ(gapChoiceAt(4), (GapChoice{1, 4}));
    EXPECT_EQ(gapChoiceAt(13), (GapChoice{2, 150}));
    // Every entry finds itself again from its mode and value.
    for (int i = 0; i < gapChoiceCount(); ++i)
        EXPECT_EQ(gapChoiceIndex(gapChoiceAt(i).mode, gapChoiceAt(i).value), i) << i;
    // Pairs without an entry show no wait rather than a wrong one.
    EXPECT_EQ(gapChoiceIndex(1, 11), 0);
    EXPECT_EQ(gapChoiceIndex(2, 75), 0);
    EXPECT_EQ(gapChoiceIndex(0, 5), 0);
    EXPECT_EQ(gapChoiceAt(15), GapChoice{});
    EXPECT_EQ(gapChoiceAt(-1), GapChoice{});
}

} // namespace
