#pragma once

#include <QString>

#include <gst/gst.h>

namespace lurvo::media {

enum class MediaError {
    None = 0,
    MissingElement,  // a GStreamer plug-in is not installed
    NoAudioHardware, // no sound server or device can be opened
    NotMp3,          // the stream is not MPEG audio layer 3
    UnknownDuration, // the length of the audio cannot be found
    Timeout,         // the graph did not get ready in time
    StateChange,     // the graph refused a state change without saying why
    Core,            // errors GStreamer reports, by their domain
    Library,
    Resource,
    Stream,
};

// Success, or what failed with a text to show the user.
struct MediaResult {
    MediaError error = MediaError::None;
    QString message;

    bool ok() const { return error == MediaError::None; }
    static MediaResult success() { return {}; }
    static MediaResult failure(MediaError error, const QString& message) {
        return {error, message};
    }
    // An error GStreamer reported: a sentence in the program's language, then GStreamer's own
    // message on a line of its own.
    static MediaResult fromGError(const GError* error);
    static MediaResult noAudioHardware();
};

} // namespace lurvo::media
