#include "app/StartupChecks.h"

#include "media/Elements.h"
#include "platform/ResourceFolder.h"

#include <gst/gst.h>

namespace lurvo::app {

bool CheckRequiredFiles(const QString& resourceFolder) {
    for (const char* program : {"mp3val", "mp3splt"})
        if (platform::findProgram(QString::fromLatin1(program), resourceFolder).isEmpty())
            return false;
    return true;
}

int CheckMediaComponents(const std::function<bool(const char*)>& hasElement) {
    struct Role {
        const char* factory;
        int whenMissing;
    };
    // In the order of the playback graph's needs: decoder, the parse chain the lesson player
    // tries first (id3demux ! mpegaudioparse), the other chain (parsebin), the file source.
    constexpr Role roles[] = {{"mpg123audiodec", -1},
                              {"id3demux", -1},
                              {"mpegaudioparse", -1},
                              {"parsebin", 0},
                              {"filesrc", 0}};
    for (const Role& role : roles)
        if (!hasElement(role.factory))
            return role.whenMissing;
    return 1;
}

int CheckMediaComponents() {
    media::ensureGstInitialized();
    // Each element is really made and released, so that a plug-in that is listed but cannot
    // load counts as missing.
    return CheckMediaComponents([](const char* factory) {
        GstElement* element = gst_element_factory_make(factory, nullptr);
        if (element == nullptr)
            return false;
        gst_object_unref(gst_object_ref_sink(element));
        return true;
    });
}

} // namespace lurvo::app
