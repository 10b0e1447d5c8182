#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using lurvo::platform::TerminationSignals;

namespace {

// Real signals sent to this process arrive as calls on its event loop, and once the object is
// gone the previous handling is back.
TEST(TerminationSignals, EachSignalBecomesACallOnTheEventLoop) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const auto previous = std::signal(SIGHUP, SIG_IGN);
    {
        QList<int> received;
        TerminationSignals watcher([&](int signal) { received << signal; });
        ASSERT_TRUE(watcher.active());
        EXPECT_FALSE(TerminationSignals([](int) {}).active()) << "one instance at a time";
        for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
            ASSERT_EQ(::kill(::getpid(), signal), 0);
            EXPECT_TRUE(received.isEmpty() || received.last() != signal)
                << "nothing runs inside the handler";
            QElapsedTimer clock;
            clock.start();
            while (!received.contains(signal) && clock.elapsed() < 2000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        EXPECT_EQ(received, (QList<int>{SIGTERM, SIGHUP, SIGINT}));
    }
    EXPECT_EQ(std::signal(SIGHUP, previous), SIG_IGN);
}

} // namespace
