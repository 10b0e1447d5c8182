#pragma once

#include "Fakes.h"
#include "PassAlignment.h"
#include "media/GstHandles.h"
#include "media/MediaPlayer.h"
#include "player/SentencePlayer.h"
#include "subtitles/SubtitleDocument.h"

#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lurvo::test {

// What the learner hears, taken at the sound server's output: a lesson played by the real
// sentence player and media player onto a null sink of its own, the sink's monitor recorded.

// A null sink of its own on the sound server, removed again with this object. A silent
// low-latency stream keeps it awake, as a sound card is: an idle null sink sleeps for its full
// latency and stalls the next stream.
class PrivateSink {
public:
    explicit PrivateSink(int sampleRate);
    ~PrivateSink();
    PrivateSink(const PrivateSink&) = delete;
    PrivateSink& operator=(const PrivateSink&) = delete;

    bool ok() const { return module_ >= 0 && error_.isEmpty(); }
    const QString& name() const { return name_; }
    const QString& error() const { return error_; }

private:
    QString name_;
    QString error_;
    int module_ = -1;
    QProcess keepAwake_;
};

// The clock the recorder times its samples by, in nanoseconds.
std::int64_t monotonicNs();

// Records a sink's monitor into memory as mono samples.
class MonitorRecorder {
public:
    MonitorRecorder() = default;
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    bool start(const QString& sinkName, int sampleRate, QString* error);
    // Takes in what has been recorded so far.
    void drain();
    void stop();

    const std::vector<float>& samples() const { return samples_; }
    int sampleRate() const { return rate_; }
    // The recording's sample heard at a time of monotonicNs(), and the other way round.
    std::int64_t sampleAt(std::int64_t clockNs) const;
    std::int64_t clockAt(std::int64_t sample) const;
    // Times the capture itself lost audio; a recording with any cannot be measured.
    int captureBreaks() const { return breaks_; }

private:
    media::GstElementPtr pipeline_;
    media::GstElementPtr sink_;
    std::vector<float> samples_;
    std::int64_t firstClockNs_ = -1;
    int rate_ = 0;
    int breaks_ = 0;
};

// The lesson as the player decodes it, mono, from fromMs on for lengthMs (to its end when
// lengthMs is 0); empty when it cannot be decoded.
std::vector<float> decodeLesson(const QString& mp3, int fromMs = 0, int lengthMs = 0);

// A lesson playing as the program plays it: the sentence player's 10 ms tick on a precise Qt
// timer, graph notifications through the event loop, settings read through a function.
class MeasureSession {
public:
    MeasureSession();
    ~MeasureSession();
    MeasureSession(const MeasureSession&) = delete;
    MeasureSession& operator=(const MeasureSession&) = delete;

    // Sets up the sink and the recording, and opens the lesson (sample rate of the MP3).
    bool open(const QString& mp3, const QString& lrc, int sampleRate, QString* error);

    player::PlaybackSettings settings; // read by the player at every step

    // From the start of a line.
    void playFrom(int line);
    // Runs the event loop for ms; eachTick, when given, every 10 ms of it.
    void run(int ms, const std::function<void()>& eachTick = {});
    // Stops playback, records the last of it, and stops the recording.
    void finish();

    player::SentencePlayer& sentences() { return *sentences_; }
    const player::PlaybackState& state() const { return state_; }
    const subtitles::SubtitleDocument& document() const { return document_; }
    media::MediaPlayer& media() { return *media_; }
    const MonitorRecorder& recording() const { return recorder_; }
    // The lines' starts in lesson samples.
    std::vector<std::int64_t> lineStarts() const;

private:
    class Notifier;
    class TickViews;

    int rate_ = 44100;
    std::unique_ptr<PrivateSink> sink_;
    MonitorRecorder recorder_;
    std::unique_ptr<media::MediaPlayer> media_;
    subtitles::SubtitleDocument document_;
    player::PlaybackState state_;
    QTimer tick_;
    std::unique_ptr<TickViews> views_;
    std::unique_ptr<player::SentencePlayer> sentences_;
    std::unique_ptr<Notifier> notifier_;
};

// A distribution's middle, 95th percentile and worst.
struct Spread {
    int count = 0;
    double p50 = 0;
    double p95 = 0;
    double max = 0;
};
Spread spreadOf(std::vector<double> values);

// What was heard of the lesson: the recording placed in it and cut into passes.
struct Heard {
    Alignment alignment;
    std::vector<HeardPass> passes;
    // Stretches of the lesson too short to be a pass (under 100 ms), such as the end of a pass
    // heard again in the silence after it: they are left out of the passes.
    std::vector<AlignedRun> strays;
    double strayMs = 0;
    Spread overrun;   // at the ends of passes that were not followed by the next line
    Spread lostOnset; // at the starts of passes that did not flow in from the line before
    Spread gap;       // silence before passes that did not flow in, less the wanted wait
};

// Places the recording in the reference (lesson samples from lesson position origin on) and
// measures the passes; waitAfter gives the silence meant after a pass of a line (none when
// not given).
Heard listen(const std::vector<float>& reference, std::int64_t origin,
             const std::vector<float>& recording, const std::vector<std::int64_t>& lineStarts,
             std::int64_t lessonEnd, int sampleRate, double speed,
             const std::function<double(int line)>& waitAfter = {});

} // namespace lurvo::test
