#include "AudioCapture.h"

#include <QFile>

#include <gst/app/gstappsink.h>

#include <cmath>

namespace lurvo::test {

namespace {

void appendSample(GstSample* sample, StereoSamples& out) {
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (out.firstPtsNs < 0 && GST_BUFFER_PTS_IS_VALID(buffer))
        out.firstPtsNs = std::int64_t(GST_BUFFER_PTS(buffer));
    if (out.rate == 0) {
        const GstStructure* s = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
        gst_structure_get_int(s, "rate", &out.rate);
    }
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_READ);
    const auto* data = reinterpret_cast<const std::int16_t*>(map.data);
    for (std::size_t i = 0; i + 1 < map.size / sizeof(std::int16_t); i += 2) {
        out.left.push_back(data[i]);
        out.right.push_back(data[i + 1]);
    }
    gst_buffer_unmap(buffer, &map);
}

} // namespace

StereoSamples pullFrames(GstElement* appsink, std::size_t frames, bool fromPreroll) {
    StereoSamples out;
    auto* sink = GST_APP_SINK(appsink);
    if (fromPreroll) {
        if (GstSample* sample = gst_app_sink_try_pull_preroll(sink, 2 * GST_SECOND)) {
            appendSample(sample, out);
            gst_sample_unref(sample);
        }
    }
    while (out.left.size() < frames) {
        GstSample* sample = gst_app_sink_try_pull_sample(sink, 2 * GST_SECOND);
        if (sample == nullptr)
            break;
        appendSample(sample, out);
        gst_sample_unref(sample);
    }
    return out;
}

std::vector<std::int16_t> decodeReference(const QString& path, int* rate) {
    GError* error = nullptr;
    media::GstElementPtr pipeline = media::adoptElement(
        gst_parse_launch("filesrc name=in ! decodebin ! audioconvert ! "
                         "audio/x-raw,format=S16LE,channels=1 ! appsink name=out sync=false",
                         &error));
    if (error)
        g_error_free(error);
    std::vector<std::int16_t> samples;
    if (!pipeline)
        return samples;
    // Set as a property: a path may hold quotes that a pipeline description cannot.
    media::GstElementPtr source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "in"));
    g_object_set(source.get(), "location", QFile::encodeName(path).constData(), nullptr);
    media::GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    while (GstSample* sample = gst_app_sink_pull_sample(GST_APP_SINK(sink.get()))) {
        if (rate && *rate == 0) {
            const GstStructure* s = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
            gst_structure_get_int(s, "rate", rate);
        }
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstMapInfo map;
        gst_buffer_map(buffer, &map, GST_MAP_READ);
        const auto* data = reinterpret_cast<const std::int16_t*>(map.data);
        samples.insert(samples.end(), data, data + map.size / sizeof(std::int16_t));
        gst_buffer_unmap(buffer, &map);
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return samples;
}

double rms(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t count) {
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t i = from; i < samples.size() && n < count; ++i, ++n)
        sum += double(samples[i]) * samples[i];
    return n ? std::sqrt(sum / double(n)) : 0.0;
}

} // namespace lurvo::test
