#pragma once

#include "media/GraphEvent.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QThread>

#include <functional>

namespace lurvo::test {

// Receives a graph's notifications as the windows do.
class NotifyCounter : public QObject {
public:
    int count = 0;
    bool event(QEvent* e) override {
        if (e->type() != media::kGraphNotifyEvent)
            return QObject::event(e);
        ++count;
        return true;
    }
};

// Runs the event loop until the condition holds; false when timeoutMs passed first.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

} // namespace lurvo::test
