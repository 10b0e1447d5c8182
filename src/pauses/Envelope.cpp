#include "pauses/PauseAnalysis.h"

#include "media/Elements.h"
#include "media/GraphBus.h"
#include "media/GstHandles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <gst/app/gstappsink.h>

#include <cmath>

namespace lurvo::pauses {

using media::GErrorPtr;
using media::GstElementPtr;

namespace {

// Speech is told from silence well below 4 kHz, so a low rate keeps an hour's decoding short.
constexpr int kRate = 8000;
constexpr int kHopSamples = kRate / 100; // 10 ms
// Quieter than anything a decoder gives for sound: the level of digital silence.
constexpr float kSilentDb = -120.0f;
// A graph that takes longer than this to open or to deliver its next block is stuck.
constexpr GstClockTime kPatience = 10 * GST_SECOND;
constexpr GstClockTime kPoll = 50 * GST_MSECOND;

QString errorFormat() {
    return QCoreApplication::translate("PauseAnalysis", "无法读取音频：%1");
}

// Waits for the graph to open the file; empty on success.
QString waitForPreroll(GstElement* pipeline) {
    return media::waitForSettled(pipeline, kPatience,
                                 QCoreApplication::translate("PauseAnalysis", "打开音频文件超时。"),
                                 errorFormat());
}

QString pendingError(GstElement* pipeline) {
    return media::pendingBusError(pipeline, errorFormat());
}

// Sums the squares of the samples into 10 ms hops, carrying a partial hop between blocks.
class HopMeter {
public:
    explicit HopMeter(QList<float>& levels) : levels_(levels) {}

    void add(const float* samples, qsizetype count) {
        for (qsizetype i = 0; i < count; ++i) {
            sum_ += double(samples[i]) * samples[i];
            if (++filled_ == kHopSamples)
                flush();
        }
    }
    // The last, partial hop of the stream.
    void finish() {
        if (filled_ > 0)
            flush();
    }
    qint64 samples() const { return total_; }

private:
    void flush() {
        const double meanSquare = sum_ / filled_;
        const float db = meanSquare > 0.0 ? float(10.0 * std::log10(meanSquare)) : kSilentDb;
        levels_.append(std::max(db, kSilentDb));
        total_ += filled_;
        sum_ = 0.0;
        filled_ = 0;
    }

    QList<float>& levels_;
    double sum_ = 0.0;
    int filled_ = 0;
    qint64 total_ = 0;
};

} // namespace

EnvelopeResult measureEnvelope(const QString& mp3Path, const std::function<void(int)>& progress,
                               const std::atomic_bool* cancel) {
    EnvelopeResult result;
    const QFileInfo info(mp3Path);
    if (!info.isFile()) {
        result.error =
            QCoreApplication::translate("PauseAnalysis", "找不到文件“%1”。").arg(mp3Path);
        return result;
    }
    if (!info.isReadable()) {
        result.error =
            QCoreApplication::translate("PauseAnalysis", "无法读取文件“%1”。").arg(mp3Path);
        return result;
    }
    media::ensureGstInitialized();

    // quality=0: the cheapest resampler is ample for a loudness measure.
    const QByteArray description =
        QStringLiteral("filesrc name=source ! decodebin ! audioconvert ! audioresample quality=0 ! "
                       "audio/x-raw,format=F32LE,channels=1,layout=interleaved,rate=%1 ! "
                       "appsink name=sink sync=false")
            .arg(kRate)
            .toUtf8();
    GError* rawError = nullptr;
    const GstElementPtr pipeline =
        media::adoptElement(gst_parse_launch(description.constData(), &rawError));
    const GErrorPtr parseError(rawError);
    if (!pipeline || parseError) {
        result.error = QCoreApplication::translate("PauseAnalysis", "缺少 GStreamer 组件：%1")
                           .arg(QString::fromUtf8(parseError ? parseError->message : ""));
        return result;
    }
    const GstElementPtr source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "source"));
    const GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
    g_object_set(source.get(), "location", QFile::encodeName(mp3Path).constData(), nullptr);

    gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
    result.error = waitForPreroll(pipeline.get());
    if (!result.error.isEmpty()) {
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        return result;
    }
    // Some MP3s tell their length only once the parser has seen some frames: asked again
    // while unknown.
    qint64 expectedSamples = 0;
    const auto askDuration = [&] {
        gint64 durationNs = -1;
        if (gst_element_query_duration(pipeline.get(), GST_FORMAT_TIME, &durationNs) &&
            durationNs > 0)
            expectedSamples = qint64(gst_util_uint64_scale(durationNs, kRate, GST_SECOND));
    };
    askDuration();

    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    auto* appsink = GST_APP_SINK(sink.get());
    HopMeter meter(result.envelope.levelsDb);
    int reported = -1;
    GstClockTime waited = 0;
    while (!gst_app_sink_is_eos(appsink)) {
        if (cancel && cancel->load()) {
            result.cancelled = true;
            break;
        }
        // Short waits, so that an error in the graph is seen at once rather than as a timeout.
        GstSample* sample = gst_app_sink_try_pull_sample(appsink, kPoll);
        if (!sample) {
            result.error = pendingError(pipeline.get());
            waited += kPoll;
            if (result.error.isEmpty() && waited >= kPatience)
                result.error = QCoreApplication::translate("PauseAnalysis", "解码音频超时。");
            if (!result.error.isEmpty())
                break;
            continue;
        }
        waited = 0;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstMapInfo map;
        if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            meter.add(reinterpret_cast<const float*>(map.data),
                      qsizetype(map.size / sizeof(float)));
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
        if (progress && expectedSamples == 0)
            askDuration();
        if (progress && expectedSamples > 0) {
            const int now = int(std::min<qint64>(1000, meter.samples() * 1000 / expectedSamples));
            if (now != reported)
                progress(reported = now);
        }
    }
    if (result.error.isEmpty() && !result.cancelled)
        result.error = pendingError(pipeline.get());
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    if (!result.error.isEmpty() || result.cancelled) {
        result.envelope = {};
        return result;
    }
    meter.finish();
    if (result.envelope.levelsDb.isEmpty()) {
        result.error =
            QCoreApplication::translate("PauseAnalysis", "文件“%1”中没有声音。").arg(mp3Path);
        return result;
    }
    result.envelope.durationMs = meter.samples() * 1000 / kRate;
    if (progress && reported != 1000)
        progress(1000);
    return result;
}

} // namespace lurvo::pauses
