#include "media/Elements.h"

#include "media/TempoStretch.h"

#include <QCoreApplication>
#include <QString>

namespace lurvo::media {

namespace {

void exposeParsedPad(GstElement*, GstPad* pad, gpointer ghost) {
    auto* ghostPad = GST_GHOST_PAD(ghost);
    GstPadPtr target(gst_ghost_pad_get_target(ghostPad));
    if (!target)
        gst_ghost_pad_set_target(ghostPad, pad);
}

bool addGhostPad(GstElement* bin, GstPad* ghost) {
    gst_pad_set_active(ghost, TRUE);
    return gst_element_add_pad(bin, ghost);
}

} // namespace

void ensureGstInitialized() {
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    // Also when a test's main started GStreamer itself.
    static const bool ownElements = registerTempoStretch();
    (void)ownElements;
}

MediaResult linkChain(std::span<GstElement* const> chain) {
    for (std::size_t i = 0; i + 1 < chain.size(); ++i)
        if (!gst_element_link(chain[i], chain[i + 1]))
            return MediaResult::failure(
                MediaError::Core,
                QCoreApplication::translate("Elements", "无法连接音频组件“%1”和“%2”。")
                    .arg(GST_ELEMENT_NAME(chain[i]), GST_ELEMENT_NAME(chain[i + 1])));
    return MediaResult::success();
}

GstElement* makeElement(const char* factory, const char* name, MediaResult& result) {
    GstElement* element = gst_element_factory_make(factory, name);
    if (element == nullptr && result.ok())
        result = MediaResult::failure(
            MediaError::MissingElement,
            QCoreApplication::translate("Elements", "缺少 GStreamer 组件“%1”。").arg(factory));
    return element;
}

GstElement* makeParserStage(ParserKind kind, MediaResult& result) {
    GstElement* bin = gst_bin_new("mp3Parser");
    if (kind == ParserKind::Secondary) {
        GstElement* demux = makeElement("id3demux", "id3", result);
        GstElement* parse = makeElement("mpegaudioparse", "parse", result);
        if (!demux || !parse) {
            for (GstElement* e : {demux, parse})
                if (e)
                    gst_object_unref(gst_object_ref_sink(e));
            gst_object_unref(gst_object_ref_sink(bin));
            return nullptr;
        }
        gst_bin_add_many(GST_BIN(bin), demux, parse, nullptr);
        gst_element_link(demux, parse);
        GstPadPtr demuxSink(gst_element_get_static_pad(demux, "sink"));
        GstPadPtr parseSrc(gst_element_get_static_pad(parse, "src"));
        addGhostPad(bin, gst_ghost_pad_new("sink", demuxSink.get()));
        addGhostPad(bin, gst_ghost_pad_new("src", parseSrc.get()));
        return bin;
    }
    GstElement* parsebin = makeElement("parsebin", "parsebin", result);
    if (!parsebin) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    gst_bin_add(GST_BIN(bin), parsebin);
    GstPadPtr sink(gst_element_get_static_pad(parsebin, "sink"));
    addGhostPad(bin, gst_ghost_pad_new("sink", sink.get()));
    // parsebin makes its source pad once it knows the stream; the ghost pad stands in till then.
    GstPad* src = gst_ghost_pad_new_no_target("src", GST_PAD_SRC);
    addGhostPad(bin, src);
    g_signal_connect(parsebin, "pad-added", G_CALLBACK(exposeParsedPad), src);
    return bin;
}

GstElementPtr FindDefaultAudioRenderer() {
    ensureGstInitialized();
    GstElementPtr probe = adoptElement(gst_element_factory_make("autoaudiosink", nullptr));
    if (!probe)
        return nullptr;
    // autoaudiosink picks the first sink that opens, falling back to a fakesink.
    if (gst_element_set_state(probe.get(), GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
        gst_element_set_state(probe.get(), GST_STATE_NULL);
        return nullptr;
    }
    QByteArray chosen;
    GstIterator* it = gst_bin_iterate_sinks(GST_BIN(probe.get()));
    GValue item = G_VALUE_INIT;
    if (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        auto* sink = GST_ELEMENT(g_value_get_object(&item));
        if (GstElementFactory* factory = gst_element_get_factory(sink))
            chosen = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    gst_element_set_state(probe.get(), GST_STATE_NULL);
    if (chosen.isEmpty() || chosen == "fakesink")
        return nullptr;
    return adoptElement(gst_element_factory_make(chosen.constData(), "renderer"));
}

GstElement* makeElementFromDescription(const QByteArray& description, const char* name,
                                       MediaResult& result) {
    GError* rawError = nullptr;
    GstElement* element = gst_parse_bin_from_description_full(
        description.constData(), TRUE, nullptr, GST_PARSE_FLAG_NO_SINGLE_ELEMENT_BINS, &rawError);
    GErrorPtr error(rawError);
    if (element == nullptr || error) {
        if (element)
            gst_object_unref(gst_object_ref_sink(element));
        if (result.ok())
            result = error ? MediaResult::fromGError(error.get())
                           : MediaResult::failure(MediaError::MissingElement,
                                                  QString::fromUtf8(description));
        return nullptr;
    }
    gst_object_set_name(GST_OBJECT(element), name);
    return element;
}

} // namespace lurvo::media
