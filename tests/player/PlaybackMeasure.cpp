#include "PlaybackMeasure.h"

#include "AppSinkSamples.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gst/app/gstappsink.h>

#include <algorithm>
#include <cmath>

namespace lurvo::test {

namespace {

QString pactl(const QStringList& arguments, bool* ok) {
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    *ok = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    return QString::fromLocal8Bit(*ok ? process.readAllStandardOutput()
                                      : process.readAllStandardError())
        .trimmed();
}

} // namespace

PrivateSink::PrivateSink(int sampleRate) {
    name_ = QStringLiteral("lurvo_measure_%1_%2")
                .arg(QCoreApplication::applicationPid())
                .arg(monotonicNs() / 1000);
    bool ok = false;
    const QString out =
        pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
               QStringLiteral("sink_name=") + name_, QStringLiteral("rate=%1").arg(sampleRate),
               QStringLiteral("channels=2"), QStringLiteral("format=s16le"),
               QStringLiteral("sink_properties=device.description=") + name_},
              &ok);
    if (!ok) {
        error_ = QStringLiteral("no null sink: %1").arg(out);
        return;
    }
    module_ = out.toInt(&ok);
    if (!ok) {
        module_ = -1;
        return;
    }
    keepAwake_.setStandardInputFile(QStringLiteral("/dev/zero"));
    keepAwake_.start(QStringLiteral("pacat"),
                     {QStringLiteral("--playback"), QStringLiteral("--raw"),
                      QStringLiteral("--latency-msec=10"), QStringLiteral("--device=") + name_,
                      QStringLiteral("--client-name=lurvo-measure-keep-awake")});
    if (!keepAwake_.waitForStarted(5000))
        error_ = QStringLiteral("pacat did not start");
}

PrivateSink::~PrivateSink() {
    if (keepAwake_.state() != QProcess::NotRunning) {
        keepAwake_.kill();
        keepAwake_.waitForFinished(5000);
    }
    if (module_ < 0)
        return;
    bool ok = false;
    pactl({QStringLiteral("unload-module"), QString::number(module_)}, &ok);
}

std::int64_t monotonicNs() {
    GstClock* clock = gst_system_clock_obtain();
    const GstClockTime now = gst_clock_get_time(clock);
    gst_object_unref(clock);
    return std::int64_t(now);
}

MonitorRecorder::~MonitorRecorder() {
    stop();
}

bool MonitorRecorder::start(const QString& sinkName, int sampleRate, QString* error) {
    rate_ = sampleRate;
    // Small capture blocks, so the sink runs with a short latency as it does when playing.
    const QString description =
        QStringLiteral("pulsesrc name=in latency-time=5000 buffer-time=400000 ! "
                       "audio/x-raw,format=S16LE,channels=2,layout=interleaved,rate=%1 ! "
                       "appsink name=out sync=false max-buffers=0 emit-signals=false")
            .arg(sampleRate);
    GError* parseError = nullptr;
    pipeline_ =
        media::adoptElement(gst_parse_launch(description.toUtf8().constData(), &parseError));
    if (parseError) {
        *error = QString::fromUtf8(parseError->message);
        g_error_free(parseError);
        pipeline_.reset();
        return false;
    }
    media::GstElementPtr source(gst_bin_get_by_name(GST_BIN(pipeline_.get()), "in"));
    g_object_set(source.get(), "device", (sinkName + ".monitor").toUtf8().constData(), nullptr);
    sink_.reset(gst_bin_get_by_name(GST_BIN(pipeline_.get()), "out"));
    // Sample times on the system's monotonic clock, the one key presses are timed by.
    GstClock* clock = gst_system_clock_obtain();
    gst_pipeline_use_clock(GST_PIPELINE(pipeline_.get()), clock);
    gst_object_unref(clock);
    if (gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        *error = QStringLiteral("the monitor of %1 cannot be recorded").arg(sinkName);
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    while (samples_.empty() && waited.elapsed() < 3000) {
        drain();
        QThread::msleep(5);
    }
    if (samples_.empty()) {
        *error = QStringLiteral("no audio came from the monitor of %1").arg(sinkName);
        return false;
    }
    return true;
}

void MonitorRecorder::drain() {
    if (!sink_)
        return;
    while (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink_.get()), 0)) {
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        if (firstClockNs_ < 0) {
            if (GST_BUFFER_PTS_IS_VALID(buffer))
                firstClockNs_ = std::int64_t(gst_element_get_base_time(pipeline_.get()) +
                                             GST_BUFFER_PTS(buffer));
        } else if (GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DISCONT)) {
            ++breaks_;
        }
        GstMapInfo map;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            const auto* data = reinterpret_cast<const std::int16_t*>(map.data);
            const std::size_t frames = map.size / (2 * sizeof(std::int16_t));
            for (std::size_t i = 0; i < frames; ++i)
                samples_.push_back((float(data[2 * i]) + float(data[2 * i + 1])) / 65536.0f);
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
}

void MonitorRecorder::stop() {
    if (!pipeline_)
        return;
    drain();
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    sink_.reset();
    pipeline_.reset();
}

std::int64_t MonitorRecorder::sampleAt(std::int64_t clockNs) const {
    return (clockNs - firstClockNs_) * rate_ / 1000000000;
}

std::int64_t MonitorRecorder::clockAt(std::int64_t sample) const {
    return firstClockNs_ + sample * 1000000000 / rate_;
}

std::vector<float> decodeLesson(const QString& mp3, int fromMs, int lengthMs) {
    std::vector<float> samples;
    GError* error = nullptr;
    // The player's own chain, so that the reference is what it decodes.
    media::GstElementPtr pipeline = media::adoptElement(gst_parse_launch(
        "filesrc name=in ! id3demux ! mpegaudioparse ! mpg123audiodec ! audioconvert ! "
        "audio/x-raw,format=F32LE,channels=1 ! appsink name=out sync=false",
        &error));
    if (error) {
        g_error_free(error);
        return samples;
    }
    media::GstElementPtr source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "in"));
    g_object_set(source.get(), "location", QFile::encodeName(mp3).constData(), nullptr);
    media::GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
    gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
    if (gst_element_get_state(pipeline.get(), nullptr, nullptr, 10 * GST_SECOND) !=
        GST_STATE_CHANGE_SUCCESS) {
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        return samples;
    }
    if (fromMs > 0 || lengthMs > 0) {
        gst_element_seek(pipeline.get(), 1.0, GST_FORMAT_TIME,
                         GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                         GST_SEEK_TYPE_SET, GstClockTime(fromMs) * GST_MSECOND,
                         lengthMs > 0 ? GST_SEEK_TYPE_SET : GST_SEEK_TYPE_NONE,
                         GstClockTime(fromMs + lengthMs) * GST_MSECOND);
        gst_element_get_state(pipeline.get(), nullptr, nullptr, 10 * GST_SECOND);
    }
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    samples = pullFloatSamples(sink.get());
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return samples;
}

// Graph notifications reach the player as they reach the program's window.
class MeasureSession::Notifier : public QObject {
public:
    explicit Notifier(player::SentencePlayer& sentences) : sentences_(sentences) {}
    bool event(QEvent* event) override {
        if (event->type() == media::kGraphNotifyEvent) {
            sentences_.OnMediaEvent();
            return true;
        }
        return QObject::event(event);
    }

private:
    player::SentencePlayer& sentences_;
};

// The views' tick is the program's: a precise 10 ms timer the player starts and stops.
class MeasureSession::TickViews : public FakeViews {
public:
    explicit TickViews(QTimer& tick) : tick_(tick) {}
    void startTick() override {
        FakeViews::startTick();
        tick_.start();
    }
    void stopTick() override {
        FakeViews::stopTick();
        tick_.stop();
    }

private:
    QTimer& tick_;
};

MeasureSession::MeasureSession() {
    tick_.setTimerType(Qt::PreciseTimer);
    tick_.setInterval(10);
    views_ = std::make_unique<TickViews>(tick_);
    sentences_ =
        std::make_unique<player::SentencePlayer>(state_, *views_, [this] { return settings; });
    notifier_ = std::make_unique<Notifier>(*sentences_);
    QObject::connect(&tick_, &QTimer::timeout, [this] { sentences_->OnPositionTick(); });
}

MeasureSession::~MeasureSession() {
    tick_.stop();
    sentences_->attach(nullptr, nullptr);
    media_.reset();
    recorder_.stop();
}

bool MeasureSession::open(const QString& mp3, const QString& lrc, int sampleRate, QString* error) {
    rate_ = sampleRate;
    sink_ = std::make_unique<PrivateSink>(sampleRate);
    if (!sink_->ok()) {
        *error = sink_->error();
        return false;
    }
    if (!recorder_.start(sink_->name(), sampleRate, error))
        return false;
    media_ = std::make_unique<media::MediaPlayer>(QByteArray("pulsesink device=") +
                                                  sink_->name().toUtf8());
    const media::MediaResult opened =
        media_->Open(mp3, notifier_.get(), media::ParserOrder::SecondaryFirst);
    if (!opened.ok()) {
        *error = QStringLiteral("the lesson did not open: %1").arg(opened.message);
        return false;
    }
    if (document_.load(lrc) != 1) {
        *error = QStringLiteral("the subtitles did not load");
        return false;
    }
    state_.lessonLoaded = true;
    sentences_->attach(&document_, media_.get());
    return true;
}

void MeasureSession::playFrom(int line) {
    sentences_->GoToLine(line);
    if (state_.playState != player::PlayState::Playing)
        sentences_->TogglePlayPause();
}

void MeasureSession::run(int ms, const std::function<void()>& eachTick) {
    QEventLoop loop;
    QTimer drain;
    drain.setInterval(20);
    QObject::connect(&drain, &QTimer::timeout, [this] { recorder_.drain(); });
    drain.start();
    QTimer control;
    control.setTimerType(Qt::PreciseTimer);
    control.setInterval(10);
    if (eachTick) {
        QObject::connect(&control, &QTimer::timeout, eachTick);
        control.start();
    }
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    recorder_.drain();
}

void MeasureSession::finish() {
    if (media_)
        sentences_->StopPlayback();
    run(300);
    recorder_.stop();
}

std::vector<std::int64_t> MeasureSession::lineStarts() const {
    std::vector<std::int64_t> starts;
    for (int i = 0; i < document_.lineCount(); ++i)
        starts.push_back(std::int64_t(document_.line(i).startMs) * rate_ / 1000);
    return starts;
}

Spread spreadOf(std::vector<double> values) {
    Spread s;
    s.count = int(values.size());
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        return values[std::min(values.size() - 1, std::size_t(std::ceil(q * values.size())) - 1)];
    };
    s.p50 = at(0.5);
    s.p95 = at(0.95);
    s.max = values.back();
    return s;
}

Heard listen(const std::vector<float>& reference, std::int64_t origin,
             const std::vector<float>& recording, const std::vector<std::int64_t>& lineStarts,
             std::int64_t lessonEnd, int sampleRate, double speed,
             const std::function<double(int line)>& waitAfter) {
    Heard heard;
    AlignOptions options;
    options.speed = speed;
    options.anchorWindow = sampleRate * 120 / 1000;
    options.blockSamples = sampleRate / 200;
    for (const std::int64_t s : lineStarts)
        if (s >= origin && s < origin + std::int64_t(reference.size()))
            options.anchors.push_back(s);
    heard.alignment = alignRecording(reference, origin, recording, options);
    Alignment passesOnly = heard.alignment;
    passesOnly.runs.clear();
    for (const AlignedRun& run : heard.alignment.runs) {
        if (run.recordingEnd - run.recordingStart < sampleRate / 10) {
            heard.strays.push_back(run);
            heard.strayMs += (run.recordingEnd - run.recordingStart) * 1000.0 / sampleRate;
        } else {
            passesOnly.runs.push_back(run);
        }
    }
    heard.passes = heardPasses(passesOnly, lineStarts, lessonEnd, sampleRate);
    std::vector<double> overruns;
    std::vector<double> onsets;
    std::vector<double> gaps;
    for (std::size_t i = 0; i < heard.passes.size(); ++i) {
        const HeardPass& p = heard.passes[i];
        if (!p.flowsOn && i + 1 < heard.passes.size())
            overruns.push_back(p.overrunMs);
        if (!p.flowedIn && i > 0) {
            onsets.push_back(p.lostOnsetMs);
            const double wanted = waitAfter ? waitAfter(heard.passes[i - 1].line) : 0.0;
            gaps.push_back(p.gapBeforeMs - wanted);
        }
    }
    heard.overrun = spreadOf(overruns);
    heard.lostOnset = spreadOf(onsets);
    heard.gap = spreadOf(gaps);
    return heard;
}

} // namespace lurvo::test
