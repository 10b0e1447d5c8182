#pragma once

#include "media/Elements.h"
#include "media/GraphEvent.h"
#include "media/GstHandles.h"
#include "media/MediaResult.h"
#include "media/PlaybackControl.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

namespace lurvo::media {

// Which parse chain Open tries first; the other is tried when the first fails.
enum class ParserOrder { Mpeg1First, SecondaryFirst };

// What the graph's threads share with the player about the passes: see MediaPlayer.cpp.
struct SegmentLink;

// Plays one MP3 file through a pipeline built by hand: "source" (filesrc), "mp3Parser",
// "decoder" (mpg123), conversion, "tempo" (lurvotempo: speed at the same pitch), balance and
// volume, and "renderer" (the audio output). Positions are milliseconds, in lesson time at any
// speed. Built empty, then Open; torn down by Close.
//
// A learner's pass over a sentence is a segment: it stops by itself at the sentence's end, and
// the pass queued to follow is joined on by GStreamer's own thread when it does, without a
// flush, so repeats neither run over nor leave a hole.

class MediaPlayer : public PlaybackControl {
public:
    // An empty rendererDescription means the default audio output; tests pass a gst-launch
    // description such as "fakesink sync=true" or an appsink.
    explicit MediaPlayer(QByteArray rendererDescription = {});
    ~MediaPlayer() override;
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // Builds and prerolls the graph with the first parser of `order`, else with the second;
    // the result is the last attempt's. `notify` receives kGraphNotifyEvent when an error is
    // waiting in the queue (may be null).
    MediaResult Open(const QString& path, QObject* notify, ParserOrder order);
    // Tears the graph down; does nothing when no graph is open.
    void Close();
    bool isLoaded() const { return pipeline_ != nullptr; }

    MediaResult Play() override;
    MediaResult Pause() override;
    // A pause that the owner treats as stopped: the position is kept.
    MediaResult Stop() override;

    std::int64_t LengthMs() const override;
    std::int64_t PositionMs() const override;
    // Clamps into [0, LengthMs) and seeks exactly to the sample; in every state. A seek that
    // does not land in time while playing counts as a stall and the graph is built anew there.
    void SeekMs(int ms) override;
    // Called by the owner's tick while playing: a graph whose audio has not moved on for over
    // 200 ms is built anew and set going where it stood. True when it was.
    bool RecoverStall() override;
    // At or past the end, at the end of the stream until the next seek, or when the position
    // cannot be read.
    bool IsAtEnd() const override;

    void PlaySegment(int startMs, int stopMs) override;
    void QueueSegment(int startMs, int stopMs, int tag) override;
    int SegmentJoins() const override;
    int LastJoinTag() const override;
    bool SegmentDone() const override;

    // Plays at `rate` times the lesson's speed (0.5 to 2), the pitch kept; at once, from where
    // it is. Positions stay in lesson time.
    void SetRate(double rate) override;
    double rate() const { return rate_; }

    // Hundredths of a decibel, -10000 (silence) to 0 (full).
    MediaResult SetVolume(int volume);
    // 1 left only, 2 right only, anything else both.
    void SetChannel(int channel);

    // Takes the next waiting event, waiting up to timeoutMs; false when none came. A graph
    // that could not be built again after a stall reports that first, as an abort.
    bool GetEvent(GraphEvent& event, int timeoutMs = 50) override;

    // An element of the open graph by name, for diagnostics and tests; null when absent.
    GstElementPtr element(const char* name) const;
    // How often playback was found stalled and its graph built anew.
    int stallRecoveries() const { return stallRecoveries_; }

private:
    // knownLengthNs skips the length scan when the length is already known.
    MediaResult build(const QString& path, ParserKind parser, std::int64_t knownLengthNs = -1);
    void teardown();
    void rebuildAt(std::int64_t positionMs);
    struct SeekLanding {
        std::int64_t targetMs;
        bool landed;
    };
    // A flushing seek, within the current pass when one is under way.
    SeekLanding seekAndWait(std::int64_t ms);
    // The learner's seek: a graph that does not land it in time is built anew there.
    void seekOrRebuild(std::int64_t ms);
    void applyMix();
    MediaResult setState(GstState state);
    static GstBusSyncReply onBusMessage(GstBus* bus, GstMessage* message, gpointer self);

    std::shared_ptr<SegmentLink> link_;
    QByteArray rendererDescription_;
    GstElementPtr pipeline_;
    GstElement* volume_ = nullptr;   // owned by the pipeline
    GstElement* panorama_ = nullptr; // owned by the pipeline
    QObject* notify_ = nullptr;
    QString path_;
    ParserKind parser_ = ParserKind::Secondary;
    int volumeValue_ = 0;
    int channelValue_ = 0;
    double rate_ = 1.0;
    std::int64_t scannedLengthNs_ = -1; // when the stream does not tell its length
    std::atomic<bool> endOfStream_{false};
    bool playing_ = false;
    std::optional<GraphEvent> rebuildFailure_;
    QElapsedTimer progressClock_;        // since the audio last moved on
    std::int64_t progressAnchorMs_ = -1; // where it stood then
    bool seekedSinceCheck_ = false;
    int joinsSeen_ = 0; // joins at the last stall check
    int stallRecoveries_ = 0;
};

} // namespace lurvo::media
