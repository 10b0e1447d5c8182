#include "media/NotificationSound.h"

#include "media/Elements.h"
#include "media/GstHandles.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <thread>

namespace lurvo::media {

namespace {

constexpr qint64 kMaxSoundBytes = 1024 * 1024;

void playToEnd(const QByteArray& uri) {
    GstElementPtr playbin = adoptElement(gst_element_factory_make("playbin", nullptr));
    if (!playbin)
        return;
    g_object_set(playbin.get(), "uri", uri.constData(), nullptr);
    gst_element_set_state(playbin.get(), GST_STATE_PLAYING);
    GstBusPtr bus(gst_element_get_bus(playbin.get()));
    GstMessagePtr done(gst_bus_timed_pop_filtered(
        bus.get(), 5 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    gst_element_set_state(playbin.get(), GST_STATE_NULL);
}

} // namespace

bool PlayInvalidInputSound(const QString& resourceFolder) {
    const QFileInfo sound(QDir(resourceFolder).filePath("chord.wav"));
    if (!sound.isFile() || sound.size() == 0 || sound.size() >= kMaxSoundBytes)
        return false;
    ensureGstInitialized();
    // The thread owns its copy of the address and touches nothing else.
    std::thread(playToEnd, QUrl::fromLocalFile(sound.absoluteFilePath()).toEncoded()).detach();
    return true;
}

} // namespace lurvo::media
