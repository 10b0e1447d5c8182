#pragma once

#include <gst/gst.h>

#include <memory>

namespace lurvo::media {

// Owning handles for GStreamer and GLib objects, so that every path gives its references back.
struct GstObjectUnref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct GstMessageUnref {
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};
struct GstCapsUnref {
    void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GFree {
    void operator()(gpointer p) const { g_free(p); }
};
struct GstStructureFree {
    void operator()(GstStructure* structure) const { gst_structure_free(structure); }
};

using GstElementPtr = std::unique_ptr<GstElement, GstObjectUnref>;
using GstBusPtr = std::unique_ptr<GstBus, GstObjectUnref>;
using GstPadPtr = std::unique_ptr<GstPad, GstObjectUnref>;
using GstMessagePtr = std::unique_ptr<GstMessage, GstMessageUnref>;
using GstCapsPtr = std::unique_ptr<GstCaps, GstCapsUnref>;
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;
using GCharPtr = std::unique_ptr<gchar, GFree>;
using GstDevicePtr = std::unique_ptr<GstDevice, GstObjectUnref>;
using GstStructurePtr = std::unique_ptr<GstStructure, GstStructureFree>;

// Takes ownership of a newly made element, sinking its floating reference.
inline GstElementPtr adoptElement(GstElement* element) {
    return GstElementPtr(element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr);
}

} // namespace lurvo::media
