#pragma once

#include <gst/app/gstappsink.h>

#include <vector>

namespace lurvo::test {

// Every 32-bit float sample an appsink gives until its stream ends; a sink that gives nothing
// for `patience` counts as ended.
inline std::vector<float> pullFloatSamples(GstElement* appsink,
                                           GstClockTime patience = 10 * GST_SECOND) {
    std::vector<float> samples;
    while (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(appsink), patience)) {
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstMapInfo map;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            const auto* data = reinterpret_cast<const float*>(map.data);
            samples.insert(samples.end(), data, data + map.size / sizeof(float));
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    return samples;
}

} // namespace lurvo::test
