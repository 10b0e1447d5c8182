#pragma once

#include "media/CaptureDevices.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace lurvo::media {
class MediaPlayer;
class Recorder;
} // namespace lurvo::media

namespace lurvo::readalong {

// The devices, graphs and dialogs the read-along window works with; tests replace them.
struct ReadAlongMedia {
    std::function<media::CaptureDevice(int index)> openDevice; // null when there is none
    std::function<QList<media::CaptureDevice>()> listDevices;
    // 0 when the properties were shown, 1 when the device has none to show.
    std::function<int(const media::CaptureDevice&, QWidget* owner, const QString& caption, int x,
                      int y)>
        showProperties;
    std::function<std::unique_ptr<media::MediaPlayer>()> makePlayer;
    std::function<std::unique_ptr<media::Recorder>()> makeRecorder;
    // The save dialog for the recording; an empty path when the learner cancels.
    std::function<QString(QWidget* owner)> askDestination;
    // The save dialog for the pitch plot's picture, proposing `suggested`; empty on cancel.
    std::function<QString(QWidget* owner, const QString& suggested)> askImagePath;
    // A message box captioned "跟读对比": a warning, or else an error.
    std::function<void(QWidget* owner, bool warning, const QString& text)> message;

    // The real devices, graphs and dialogs.
    static ReadAlongMedia system();
};

} // namespace lurvo::readalong
