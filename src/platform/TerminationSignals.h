#pragma once

#include <QObject>

#include <csignal>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace lurvo::platform {

// Turns SIGTERM, SIGHUP and SIGINT into a call on the GUI thread, so that the program can store
// what it must before it ends. The handler itself only writes the signal's number into a pipe
// (all a signal handler may safely do); a socket notifier on the other end makes the call.
// One instance at a time; the previous handlers come back when it is destroyed.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void(int signal)> onSignal);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or a handler could not be set up: the signals then end the program
    // as they would without this object.
    bool active() const { return active_; }

private:
    void readPending();

    std::function<void(int)> onSignal_;
    int fds_[2] = {-1, -1};
    struct sigaction previous_[3] = {};
    std::unique_ptr<QSocketNotifier> notifier_;
    bool active_ = false;
};

} // namespace lurvo::platform
