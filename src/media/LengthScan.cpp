#include "media/LengthScan.h"

#include <QFile>

#include <atomic>

namespace lurvo::media {

namespace {

GstPadProbeReturn noteBufferEnd(GstPad*, GstPadProbeInfo* info, gpointer end) {
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (GST_BUFFER_PTS_IS_VALID(buffer)) {
        std::int64_t bufferEnd = std::int64_t(GST_BUFFER_PTS(buffer));
        if (GST_BUFFER_DURATION_IS_VALID(buffer))
            bufferEnd += std::int64_t(GST_BUFFER_DURATION(buffer));
        auto& latest = *static_cast<std::atomic<std::int64_t>*>(end);
        if (bufferEnd > latest.load())
            latest.store(bufferEnd);
    }
    return GST_PAD_PROBE_OK;
}

} // namespace

std::int64_t scanLengthNs(const QString& path, ParserKind parser) {
    MediaResult result;
    GstElementPtr pipeline = adoptElement(gst_pipeline_new("lengthScan"));
    GstElement* source = makeElement("filesrc", "source", result);
    GstElement* parse = makeParserStage(parser, result);
    GstElement* sink = makeElement("fakesink", "sink", result);
    for (GstElement* e : {source, parse, sink})
        if (e)
            gst_bin_add(GST_BIN(pipeline.get()), e);
    if (!result.ok() || !gst_element_link_many(source, parse, sink, nullptr))
        return -1;
    g_object_set(source, "location", QFile::encodeName(path).constData(), nullptr);
    g_object_set(sink, "sync", FALSE, nullptr);

    std::atomic<std::int64_t> end{-1};
    GstPadPtr sinkPad(gst_element_get_static_pad(sink, "sink"));
    gst_pad_add_probe(sinkPad.get(), GST_PAD_PROBE_TYPE_BUFFER, noteBufferEnd, &end, nullptr);

    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    GstBusPtr bus(gst_element_get_bus(pipeline.get()));
    GstMessagePtr message(gst_bus_timed_pop_filtered(
        bus.get(), 30 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    if (!message || GST_MESSAGE_TYPE(message.get()) != GST_MESSAGE_EOS)
        return -1;
    return end.load();
}

} // namespace lurvo::media
