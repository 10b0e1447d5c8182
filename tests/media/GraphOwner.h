#pragma once

#include "media/GraphEvent.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

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

inline constexpr const char* kReadErrorText = "Could not read from resource.";
// How the owner is told of it: a sentence of its own first, GStreamer's text as the detail.
inline QString readErrorMessage() {
    return QString::fromUtf8("无法读取文件或设备。\n") + kReadErrorText;
}

// Makes an element of a running graph report a read error, as a failing source would.
inline void postReadError(GstElement* element) {
    GError* error =
        g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_READ, kReadErrorText);
    gst_element_post_message(element, gst_message_new_error(GST_OBJECT(element), error, "test"));
    g_error_free(error);
}

// The owner is told once, and the graph's queue holds that one error and nothing else (the
// owner's drain ends after one time-out).
template <class Graph> void expectOneReadErrorQueued(Graph& graph, const NotifyCounter& owner) {
    ASSERT_TRUE(waitFor([&] { return owner.count > 0; }, 3000));
    EXPECT_EQ(owner.count, 1);
    media::GraphEvent event;
    ASSERT_TRUE(graph.GetEvent(event));
    EXPECT_EQ(event.code, media::kEventErrorAbort);
    EXPECT_EQ(event.param1, media::MediaError::Resource);
    EXPECT_EQ(event.text, readErrorMessage());
    EXPECT_FALSE(graph.GetEvent(event, 50));
}

} // namespace lurvo::test
