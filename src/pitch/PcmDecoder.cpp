#include "pitch/PitchAnalysis.h"

#include "media/Elements.h"
#include "media/GraphBus.h"
#include "media/GstHandles.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <gst/app/gstappsink.h>

#include <algorithm>

namespace lurvo::pitch {

using media::GErrorPtr;
using media::GstElementPtr;

namespace {

// A graph that takes longer than this to open or to deliver its next block is stuck.
constexpr GstClockTime kPatience = 10 * GST_SECOND;
constexpr GstClockTime kPoll = 50 * GST_MSECOND;

QString errorFormat() {
    return QCoreApplication::translate("PcmDecoder", "无法解码音频：%1");
}

// Waits for the graph to settle after a state change or a seek; empty on success.
QString waitForPreroll(GstElement* pipeline) {
    return media::waitForSettled(pipeline, kPatience,
                                 QCoreApplication::translate("PcmDecoder", "打开音频文件超时。"),
                                 errorFormat());
}

QString pendingError(GstElement* pipeline) {
    return media::pendingBusError(pipeline, errorFormat());
}

// Appends the samples of one block that fall in [start, stop) of the stream.
void appendClipped(GstSample* sample, GstClockTime start, GstClockTime stop, int rate,
                   std::vector<float>& out) {
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
        return;
    const auto* data = reinterpret_cast<const float*>(map.data);
    const auto count = std::int64_t(map.size / sizeof(float));
    std::int64_t first = 0;
    std::int64_t last = count;
    // Decoders may hand over whole blocks around the seek target; keep only the span asked for.
    if (GST_BUFFER_PTS_IS_VALID(buffer)) {
        const GstClockTime pts = GST_BUFFER_PTS(buffer);
        const auto indexAt = [&](GstClockTime t) {
            return t <= pts ? std::int64_t(0)
                            : std::int64_t(gst_util_uint64_scale_round(t - pts, rate, GST_SECOND));
        };
        first = std::clamp(indexAt(start), std::int64_t(0), count);
        if (stop != GST_CLOCK_TIME_NONE)
            last = std::clamp(indexAt(stop), first, count);
    }
    out.insert(out.end(), data + first, data + last);
    gst_buffer_unmap(buffer, &map);
}

} // namespace

DecodedPcm decodeSpan(const QString& path, std::int64_t startMs, std::int64_t endMs, int rate) {
    DecodedPcm result;
    result.pcm.rate = rate;
    if (!QFileInfo(path).isFile()) {
        result.error = QCoreApplication::translate("PcmDecoder", "找不到文件“%1”。").arg(path);
        return result;
    }
    if (rate <= 0 || startMs < 0 || (endMs >= 0 && endMs <= startMs)) {
        result.error = QCoreApplication::translate("PcmDecoder", "要解码的时间段无效。");
        return result;
    }
    media::ensureGstInitialized();

    const QByteArray description =
        QStringLiteral("filesrc name=source ! decodebin ! audioconvert ! audioresample ! "
                       "audio/x-raw,format=F32LE,channels=1,layout=interleaved,rate=%1 ! "
                       "appsink name=sink sync=false")
            .arg(rate)
            .toUtf8();
    GError* rawError = nullptr;
    GstElementPtr pipeline =
        media::adoptElement(gst_parse_launch(description.constData(), &rawError));
    const GErrorPtr parseError(rawError);
    if (!pipeline || parseError) {
        result.error = QCoreApplication::translate("PcmDecoder", "缺少 GStreamer 组件：%1")
                           .arg(QString::fromUtf8(parseError ? parseError->message : ""));
        return result;
    }
    const GstElementPtr source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "source"));
    const GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
    g_object_set(source.get(), "location", QFile::encodeName(path).constData(), nullptr);

    const auto stopGraph = [&] { gst_element_set_state(pipeline.get(), GST_STATE_NULL); };
    const GstClockTime start = GstClockTime(startMs) * GST_MSECOND;
    const GstClockTime stop = endMs < 0 ? GST_CLOCK_TIME_NONE : GstClockTime(endMs) * GST_MSECOND;

    gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
    result.error = waitForPreroll(pipeline.get());
    if (result.ok() && (start > 0 || stop != GST_CLOCK_TIME_NONE)) {
        const bool seeked =
            gst_element_seek(pipeline.get(), 1.0, GST_FORMAT_TIME,
                             GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                             GST_SEEK_TYPE_SET, GstClockTime(start),
                             stop == GST_CLOCK_TIME_NONE ? GST_SEEK_TYPE_NONE : GST_SEEK_TYPE_SET,
                             stop == GST_CLOCK_TIME_NONE ? GST_CLOCK_TIME_NONE : stop);
        if (!seeked)
            result.error = QCoreApplication::translate("PcmDecoder", "无法定位到要解码的时间段。");
        else
            result.error = waitForPreroll(pipeline.get());
    }
    if (!result.ok()) {
        stopGraph();
        return result;
    }

    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    auto* appsink = GST_APP_SINK(sink.get());
    GstClockTime waited = 0;
    while (result.ok() && !gst_app_sink_is_eos(appsink)) {
        // Short waits, so that an error in the graph is seen at once rather than as a timeout.
        GstSample* sample = gst_app_sink_try_pull_sample(appsink, kPoll);
        if (sample) {
            waited = 0;
            appendClipped(sample, start, stop, rate, result.pcm.samples);
            gst_sample_unref(sample);
            continue;
        }
        result.error = pendingError(pipeline.get());
        waited += kPoll;
        if (result.ok() && waited >= kPatience)
            result.error = QCoreApplication::translate("PcmDecoder", "解码音频超时。");
    }
    if (result.ok())
        result.error = pendingError(pipeline.get());
    stopGraph();
    if (!result.ok())
        result.pcm.samples.clear();
    return result;
}

} // namespace lurvo::pitch
