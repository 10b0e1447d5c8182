#pragma once

#include "media/MediaResult.h"

#include <QEvent>
#include <QString>

namespace lurvo::media {

// The event a graph posts to its owner when something is waiting in its queue; the owner then
// drains the queue with GetEvent.
inline constexpr QEvent::Type kGraphNotifyEvent = QEvent::Type(32868);

// Event code of an error that stopped the graph; param1 says what kind of error.
inline constexpr int kEventErrorAbort = 3;

struct GraphEvent {
    int code = 0;
    MediaError param1 = MediaError::None;
    QString text;
};

} // namespace lurvo::media
