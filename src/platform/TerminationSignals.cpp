#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace lurvo::platform {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe. A signal handler cannot be given any context, so this one value
// is the process-wide state it needs; it is set only while a TerminationSignals exists.
volatile std::sig_atomic_t g_writeFd = -1;

void onSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // Async-signal-safe; a full pipe just drops the byte, one pending byte is enough.
    [[maybe_unused]] const ssize_t written = ::write(g_writeFd, &number, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
    if (g_writeFd >= 0 || ::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_writeFd = fds_[1];
    notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readPending(); });
    struct sigaction action = {};
    action.sa_handler = &lurvo::platform::onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    active_ = true;
    for (int i = 0; i < 3; ++i)
        active_ = ::sigaction(kSignals[i], &action, &previous_[i]) == 0 && active_;
}

TerminationSignals::~TerminationSignals() {
    if (fds_[0] < 0)
        return;
    for (int i = 0; i < 3; ++i)
        ::sigaction(kSignals[i], &previous_[i], nullptr);
    g_writeFd = -1;
    notifier_.reset();
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void TerminationSignals::readPending() {
    unsigned char number = 0;
    int last = 0;
    while (::read(fds_[0], &number, 1) == 1)
        last = number;
    if (last != 0 && onSignal_)
        onSignal_(last);
}

} // namespace lurvo::platform
