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

} // namespace
