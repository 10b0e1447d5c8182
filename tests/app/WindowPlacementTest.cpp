#include "app/WindowPlacement.h"

#include <QList>
#include <QRect>

#include <gtest/gtest.h>

#include <ostream>

using namespace lurvo::app;

// Failures show the rectangle.
inline void PrintTo(const QRect& r, std::ostream* out) {
    *out << '(' << r.x() << ", " << r.y() << ' ' << r.width() << 'x' << r.height() << ')';
}

namespace {

const QSize kMinimum(525, 480);
const QMargins kNoFrame;
const QMargins kTitleBar(0, 30, 0, 0);

// A laptop's available area (a panel at the top) and a screen to its left.
const QRect kLaptop(0, 32, 1920, 1048);
const QRect kLeftScreen(-1280, 0, 1280, 1024);

bool inside(const QRect& window, const QMargins& frame, const QRect& screen) {
    return screen.contains(window.marginsAdded(frame));
}

TEST(WindowPlacement, FirstStartShowsEveryPanelCentredOnThePrimaryScreen) {
    const QRect placed = placeMainWindow({}, {kLaptop, kLeftScreen}, kMinimum, kNoFrame);
    EXPECT_EQ(placed, QRect(410, 196, 1100, 720));

    // The title bar is on the screen too, and the frame is centred, not the window.
    const QRect framed = placeMainWindow({}, {kLaptop}, kMinimum, kTitleBar);
    EXPECT_EQ(framed.size(), QSize(1100, 720));
    EXPECT_EQ(framed.marginsAdded(kTitleBar).center(), kLaptop.center());

    // Exactly room for it.
    const QRect exact(0, 0, 1100, 750);
    EXPECT_EQ(placeMainWindow({}, {exact}, kMinimum, kTitleBar), QRect(0, 30, 1100, 720));
}

TEST(WindowPlacement, FirstStartOnASmallScreenTakesNinetyPercentOfIt) {
    // 1024 × 600 netbook: too narrow and too low.
    const QRect netbook(0, 0, 1024, 600);
    const QRect placed = placeMainWindow({}, {netbook}, kMinimum, kNoFrame);
    EXPECT_EQ(placed.size(), QSize(921, 540));
    EXPECT_EQ(placed.center(), netbook.center());
    // Wide enough but too low: only the height gives way.
    const QRect wide(0, 0, 1366, 700);
    EXPECT_EQ(placeMainWindow({}, {wide}, kMinimum, kNoFrame).size(), QSize(1100, 630));
    // Never below the window's minimum, even where the screen is smaller still.
    const QRect tiny(0, 0, 500, 400);
    EXPECT_EQ(placeMainWindow({}, {tiny}, kMinimum, kNoFrame), QRect(0, 0, 525, 480));
}

TEST(WindowPlacement, SavedPlaceOnAScreenIsKept) {
    const QList<QRect> screens = {kLaptop, kLeftScreen};
    for (const QRect& saved :
         {QRect(200, 100, 900, 700), QRect(-1200, 50, 1000, 800), QRect(0, 32, 1920, 1048)}) {
        SCOPED_TRACE(testing::PrintToString(saved));
        EXPECT_EQ(placeMainWindow(saved, screens, kMinimum, kNoFrame), saved);
    }
}

TEST(WindowPlacement, SavedPlacePartlyOffItsScreenIsMovedOnto) {
    const QList<QRect> screens = {kLaptop, kLeftScreen};
    // Hanging over the right edge: moved left just enough.
    EXPECT_EQ(placeMainWindow(QRect(1500, 100, 800, 600), screens, kMinimum, kNoFrame),
              QRect(1120, 100, 800, 600));
    // Mostly on the left screen: stays there.
    const QRect straddling(-1000, 200, 1100, 700);
    const QRect placed = placeMainWindow(straddling, screens, kMinimum, kNoFrame);
    EXPECT_EQ(placed, QRect(-1100, 200, 1100, 700));
    // The title bar under the top panel comes down below it.
    const QRect underPanel =
        placeMainWindow(QRect(100, 10, 900, 700), screens, kMinimum, kTitleBar);
    EXPECT_EQ(underPanel, QRect(100, 62, 900, 700));
    // Larger than the screen it is on now (the resolution went down): made to fit.
    const QRect huge = placeMainWindow(QRect(10, 40, 2500, 1400), screens, kMinimum, kTitleBar);
    EXPECT_TRUE(inside(huge, kTitleBar, kLaptop)) << testing::PrintToString(huge);
    EXPECT_EQ(huge.size(), QSize(1920, 1018));
}

TEST(WindowPlacement, SavedPlaceOffEveryScreenIsCentredOnThePrimary) {
    // It was on a screen that is gone.
    const QRect gone(2500, 300, 900, 700);
    EXPECT_EQ(placeMainWindow(gone, {kLaptop, kLeftScreen}, kMinimum, kNoFrame),
              QRect(510, 206, 900, 700));
    const QRect larger(2500, 300, 2500, 1300);
    const QRect placed = placeMainWindow(larger, {kLaptop}, kMinimum, kTitleBar);
    EXPECT_TRUE(inside(placed, kTitleBar, kLaptop)) << testing::PrintToString(placed);
    // Touching a screen's edge from outside is not on it.
    EXPECT_EQ(placeMainWindow(QRect(1920, 32, 600, 500), {kLaptop}, kMinimum, kNoFrame),
              QRect(660, 306, 600, 500));
}

TEST(WindowPlacement, WithoutScreensTheSavedPlaceStands) {
    EXPECT_EQ(placeMainWindow(QRect(5, 6, 700, 500), {}, kMinimum, kNoFrame),
              QRect(5, 6, 700, 500));
    EXPECT_EQ(placeMainWindow({}, {}, kMinimum, kNoFrame).size(), kFirstStartSize);
}

} // namespace
