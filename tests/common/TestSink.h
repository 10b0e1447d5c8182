#pragma once

#include "media/CaptureDevices.h"

#include <QList>
#include <QString>

// CTest runs the tests that play or record with PULSE_SINK naming a null sink of their own
// (tests/sound): playback goes there by itself, and recordings are taken from its monitor, so
// no other sound on the machine is heard. Run by hand without it, they use the null sink of
// scripts/start-pulse.sh.
namespace lurvo::test {

// The display name of the capture device that hears what the tests play.
inline QString testMonitorName() {
    const QString sink = qEnvironmentVariable("PULSE_SINK");
    return QStringLiteral("Monitor of ") + (sink.isEmpty() ? QStringLiteral("Null_Output") : sink);
}

// Its index in a device list; -1 when it is not there.
inline int testMonitorIndex(const QList<media::CaptureDevice>& devices) {
    const QString name = testMonitorName();
    for (int i = 0; i < devices.size(); ++i)
        if (devices[i].name == name)
            return i;
    return -1;
}

// Its index among the machine's capture devices now.
inline int testMonitorIndex() {
    return testMonitorIndex(media::listCaptureDevices());
}

} // namespace lurvo::test
