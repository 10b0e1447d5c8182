#pragma once

#include "media/CaptureDevices.h"
#include "media/GraphEvent.h"
#include "media/GstHandles.h"
#include "media/MediaResult.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <mutex>

namespace lurvo::media {

// Records a capture device into an MP3 file through a graph built once and reused for every
// recording: the capture element, "convert", "resample", "format" (22050 Hz mono), "lame"
// (32 kbit/s constant bit rate), "wavDest" (xingmux, which writes the Xing header that tells
// players the duration) and "fileWriter". Build, then SetOutputFile + Start + Stop for each
// recording, Close at the end.
class Recorder {
public:
    Recorder();
    ~Recorder(); // closes
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Builds the graph with an element made from the device, named deviceName (or "capture"
    // when that name is empty or taken by an element of the chain); a graph built before is
    // closed first. On failure nothing of it is left and isLoaded() is false. `notify` receives
    // kGraphNotifyEvent when an error is waiting (may be null).
    MediaResult Build(const CaptureDevice& capture, const QString& deviceName, QObject* notify);
    // The same graph with a given source instead of a device, for tests and diagnostics; takes
    // ownership of a floating reference and keeps the element's name.
    MediaResult BuildWithSource(GstElement* captureElement, QObject* notify);

    // Makes an existing file writable first, so that it can be overwritten. Only while stopped.
    MediaResult SetOutputFile(const QString& path);
    // Starts recording (nothing happens when it is recording already); a file that cannot be
    // created fails here with GStreamer's message, and the graph stays ready for another file.
    MediaResult Start();
    // Ends the stream so that the encoder and xingmux finish the file, waits for it to reach
    // the file (at most 3 s), then stops. Succeeds at once when not recording; an error during
    // the recording is returned here as well as queued.
    MediaResult Stop();
    // Stops a recording in progress and tears the graph down; no effect when not loaded.
    void Close();

    bool isLoaded() const { return pipeline_ != nullptr; }
    bool isRecording() const { return recording_; }
    // The name the capture element has in the graph.
    QString captureName() const { return captureName_; }

    // Takes the next waiting event (errors, as kEventErrorAbort with the text), waiting up to
    // timeoutMs; false when none came.
    bool GetEvent(GraphEvent& event, int timeoutMs = 50);
    // An element of the graph by name, for diagnostics and tests; null when absent.
    GstElementPtr element(const char* name) const;

private:
    MediaResult build(GstElementPtr capture, const QString& name, QObject* notify);
    static GstBusSyncReply onBusMessage(GstBus* bus, GstMessage* message, gpointer self);

    GstElementPtr pipeline_;
    GstElement* fileWriter_ = nullptr; // owned by the pipeline
    QObject* notify_ = nullptr;
    QString captureName_;
    bool recording_ = false;

    // Written by the bus handler on streaming threads, waited for by Stop.
    std::mutex mutex_;
    std::condition_variable changed_;
    bool endOfStream_ = false;
    bool failed_ = false;
    MediaResult firstError_;
};

} // namespace lurvo::media
