#include "media/GraphBus.h"

namespace lurvo::media {

MediaResult errorResult(GstMessage* error) {
    GError* raw = nullptr;
    gst_message_parse_error(error, &raw, nullptr);
    GErrorPtr owned(raw);
    return MediaResult::fromGError(owned.get());
}

bool popGraphEvent(GstElement* pipeline, GraphEvent& event, int timeoutMs) {
    if (pipeline == nullptr)
        return false;
    GstBusPtr bus(gst_element_get_bus(pipeline));
    GstMessagePtr message(gst_bus_timed_pop(bus.get(), GstClockTime(timeoutMs) * GST_MSECOND));
    if (!message)
        return false;
    event = GraphEvent{};
    if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
        const MediaResult error = errorResult(message.get());
        event.code = kEventErrorAbort;
        event.param1 = error.error;
        event.text = error.message;
    }
    return true;
}

GstElementPtr elementByName(GstElement* pipeline, const char* name) {
    if (pipeline == nullptr)
        return nullptr;
    return GstElementPtr(gst_bin_get_by_name(GST_BIN(pipeline), name));
}

namespace {

QString busErrorText(GstMessage* message, const QString& errorFormat) {
    GError* raw = nullptr;
    gst_message_parse_error(message, &raw, nullptr);
    const GErrorPtr error(raw);
    return errorFormat.arg(QString::fromUtf8(error ? error->message : ""));
}

} // namespace

QString waitForSettled(GstElement* pipeline, GstClockTime timeout, const QString& timeoutText,
                       const QString& errorFormat) {
    const GstBusPtr bus(gst_element_get_bus(pipeline));
    const GstMessagePtr message(gst_bus_timed_pop_filtered(
        bus.get(), timeout, GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR)));
    if (!message)
        return timeoutText;
    if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR)
        return busErrorText(message.get(), errorFormat);
    return {};
}

QString pendingBusError(GstElement* pipeline, const QString& errorFormat) {
    const GstBusPtr bus(gst_element_get_bus(pipeline));
    const GstMessagePtr message(gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR));
    return message ? busErrorText(message.get(), errorFormat) : QString();
}

} // namespace lurvo::media
