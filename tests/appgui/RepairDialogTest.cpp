#include "player/RepairDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using lurvo::player::RepairDialog;

namespace {

TEST(RepairDialog, WaitsForTheProgramAndCannotBeDismissed) {
    RepairDialog dialog("sleep", {"0.6"}, nullptr);
    int dismissals = 0;
    QTimer::singleShot(100, [&] {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCloseEvent close;
        QCoreApplication::sendEvent(&dialog, &close);
        dismissals += dialog.isVisible() ? 1 : 0;
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dismissals, 1) << "the dialog stayed up";
    EXPECT_GE(clock.elapsed(), 600);
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST(RepairDialog, AProgramThatDoesNotStartEndsTheWaitAtOnce) {
    QElapsedTimer clock;
    clock.start();
    RepairDialog::run("/nonexistent/mp3val", {"-f", "x.mp3"}, nullptr);
    EXPECT_LT(clock.elapsed(), 1000);
}

} // namespace
