#include "media/Recorder.h"

#include "media/Elements.h"
#include "media/GraphBus.h"
#include "platform/FileOps.h"

#include <QCoreApplication>
#include <QFile>

#include <chrono>
#include <iterator>

namespace lurvo::media {

namespace {

// How long Start waits for the capture device and the file to open.
constexpr GstClockTime kStartTimeout = 5 * GST_SECOND;
// The end of the stream reaches the file within about 10 ms; what takes longer never comes.
constexpr std::chrono::seconds kStopTimeout{3};

// The chain's own names, which the capture element must not take.
const char* const kChainNames[] = {"convert", "resample", "format",
                                   "lame",    "wavDest",  "fileWriter"};

QString elementNameFor(const QString& wanted) {
    if (wanted.isEmpty())
        return QStringLiteral("capture");
    for (const char* name : kChainNames)
        if (wanted == QLatin1String(name))
            return QStringLiteral("capture");
    return wanted;
}

MediaResult notLoaded() {
    return MediaResult::failure(MediaError::StateChange,
                                QCoreApplication::translate("Recorder", "录音组件没有建立。"));
}

} // namespace

Recorder::Recorder() {
    ensureGstInitialized();
}

Recorder::~Recorder() {
    Close();
}

MediaResult Recorder::Build(const CaptureDevice& capture, const QString& deviceName,
                            QObject* notify) {
    Close();
    if (!capture)
        return MediaResult::failure(MediaError::Resource,
                                    QCoreApplication::translate("Recorder", "找不到录音设备。"));
    GstElementPtr element = adoptElement(gst_device_create_element(capture.device.get(), nullptr));
    if (!element)
        return MediaResult::failure(
            MediaError::Resource,
            QCoreApplication::translate("Recorder", "无法打开录音设备“%1”。").arg(capture.name));
    return build(std::move(element), deviceName, notify);
}

MediaResult Recorder::BuildWithSource(GstElement* captureElement, QObject* notify) {
    Close();
    GstElementPtr element = adoptElement(captureElement);
    if (!element)
        return MediaResult::failure(MediaError::Resource,
                                    QCoreApplication::translate("Recorder", "找不到录音设备。"));
    const QString name = QString::fromUtf8(GST_OBJECT_NAME(element.get()));
    return build(std::move(element), name, notify);
}

MediaResult Recorder::build(GstElementPtr capture, const QString& name, QObject* notify) {
    const QString elementName = elementNameFor(name);
    if (!gst_object_set_name(GST_OBJECT(capture.get()), elementName.toUtf8().constData()))
        return MediaResult::failure(
            MediaError::Core,
            QCoreApplication::translate("Recorder", "录音设备已被其他音频组件使用。"));

    GstElementPtr pipeline = adoptElement(gst_pipeline_new("recorder"));
    // From here on the pipeline owns every element, so dropping it leaves nothing behind.
    if (!gst_bin_add(GST_BIN(pipeline.get()), capture.get()))
        return MediaResult::failure(
            MediaError::Core,
            QCoreApplication::translate("Recorder", "录音设备已被其他音频组件使用。"));
    GstElement* source = capture.get();
    capture.reset();
    MediaResult result;
    GstElement* format = makeElement("capsfilter", "format", result);
    GstElement* encoder = makeElement("lamemp3enc", "lame", result);
    GstElement* writer = makeElement("filesink", "fileWriter", result);
    GstElement* chain[] = {
        source,
        makeElement("audioconvert", "convert", result),
        makeElement("audioresample", "resample", result),
        format,
        encoder,
        makeElement("xingmux", "wavDest", result),
        writer,
    };
    for (GstElement* e : chain)
        if (e && e != source)
            gst_bin_add(GST_BIN(pipeline.get()), e);
    if (!result.ok())
        return result;

    GstCapsPtr caps(gst_caps_new_simple("audio/x-raw", "rate", G_TYPE_INT, 22050, "channels",
                                        G_TYPE_INT, 1, nullptr));
    g_object_set(format, "caps", caps.get(), nullptr);
    gst_util_set_object_arg(G_OBJECT(encoder), "target", "bitrate");
    g_object_set(encoder, "bitrate", 32, "cbr", TRUE, nullptr);
    // Every frame reaches the file at once: the owner watches the file's size to end long
    // recordings, and a recording cut short by a crash keeps what was said.
    gst_util_set_object_arg(G_OBJECT(writer), "buffer-mode", "unbuffered");
    if (const MediaResult linked = linkChain(chain); !linked.ok())
        return linked;

    GstBusPtr bus(gst_element_get_bus(pipeline.get()));
    notify_ = notify;
    gst_bus_set_sync_handler(bus.get(), &Recorder::onBusMessage, this, nullptr);
    pipeline_ = std::move(pipeline);
    fileWriter_ = writer;
    captureName_ = elementName;
    recording_ = false;
    return MediaResult::success();
}

GstBusSyncReply Recorder::onBusMessage(GstBus*, GstMessage* message, gpointer self) {
    auto* recorder = static_cast<Recorder*>(self);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR: {
        {
            const std::lock_guard lock(recorder->mutex_);
            if (!recorder->failed_)
                recorder->firstError_ = errorResult(message);
            recorder->failed_ = true;
        }
        recorder->changed_.notify_all();
        // Queued for the owner, who is told to look.
        if (recorder->notify_ != nullptr)
            QCoreApplication::postEvent(recorder->notify_, new QEvent(kGraphNotifyEvent));
        return GST_BUS_PASS;
    }
    case GST_MESSAGE_EOS: {
        {
            const std::lock_guard lock(recorder->mutex_);
            recorder->endOfStream_ = true;
        }
        recorder->changed_.notify_all();
        return GST_BUS_DROP;
    }
    default:
        // Owners act on errors only.
        return GST_BUS_DROP;
    }
}

MediaResult Recorder::SetOutputFile(const QString& path) {
    if (!pipeline_)
        return notLoaded();
    if (recording_)
        return MediaResult::failure(
            MediaError::StateChange,
            QCoreApplication::translate("Recorder", "正在录音，不能更换录音文件。"));
    platform::makeWritable(path);
    g_object_set(fileWriter_, "location",
                 path.isEmpty() ? nullptr : QFile::encodeName(path).constData(), nullptr);
    return MediaResult::success();
}

MediaResult Recorder::Start() {
    if (!pipeline_)
        return notLoaded();
    if (recording_)
        return MediaResult::success();
    GstBusPtr bus(gst_element_get_bus(pipeline_.get()));
    // What the bus still holds belongs to the last recording.
    gst_bus_set_flushing(bus.get(), TRUE);
    gst_bus_set_flushing(bus.get(), FALSE);
    {
        const std::lock_guard lock(mutex_);
        endOfStream_ = false;
        failed_ = false;
        firstError_ = MediaResult::success();
    }
    GstStateChangeReturn started = gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING);
    if (started != GST_STATE_CHANGE_FAILURE)
        started = gst_element_get_state(pipeline_.get(), nullptr, nullptr, kStartTimeout);
    bool failed = false;
    {
        const std::lock_guard lock(mutex_);
        failed = failed_;
    }
    if ((started == GST_STATE_CHANGE_SUCCESS || started == GST_STATE_CHANGE_NO_PREROLL) &&
        !failed) {
        recording_ = true;
        return MediaResult::success();
    }
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    // The first error says why (the rest only that the state change failed); reported here, so
    // the owner need not find them in the queue as well.
    MediaResult reported;
    while (GstMessagePtr error{gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR)}) {
        if (reported.ok())
            reported = errorResult(error.get());
    }
    if (!reported.ok())
        return reported;
    if (started == GST_STATE_CHANGE_ASYNC)
        return MediaResult::failure(MediaError::Timeout,
                                    QCoreApplication::translate("Recorder", "开始录音超时。"));
    return MediaResult::failure(MediaError::StateChange,
                                QCoreApplication::translate("Recorder", "无法开始录音。"));
}

MediaResult Recorder::Stop() {
    if (!pipeline_)
        return notLoaded();
    if (!recording_)
        return MediaResult::success();
    recording_ = false;
    // Only a stream that ends while the graph is playing lets the encoder flush its last frames
    // and xingmux rewrite its header; stopping or pausing first would leave the file unfinished.
    gst_element_send_event(pipeline_.get(), gst_event_new_eos());
    MediaResult result;
    {
        std::unique_lock lock(mutex_);
        // After an error the stream has stopped already and its end never comes.
        const bool settled =
            changed_.wait_for(lock, kStopTimeout, [this] { return endOfStream_ || failed_; });
        if (failed_)
            result = firstError_;
        else if (!settled)
            result = MediaResult::failure(
                MediaError::Timeout,
                QCoreApplication::translate("Recorder", "停止录音超时，录音文件可能不完整。"));
    }
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    return result;
}

void Recorder::Close() {
    if (!pipeline_)
        return;
    Stop();
    GstBusPtr bus(gst_element_get_bus(pipeline_.get()));
    gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    pipeline_.reset();
    fileWriter_ = nullptr;
    notify_ = nullptr;
    captureName_.clear();
}

bool Recorder::GetEvent(GraphEvent& event, int timeoutMs) {
    return popGraphEvent(pipeline_.get(), event, timeoutMs);
}

GstElementPtr Recorder::element(const char* name) const {
    return elementByName(pipeline_.get(), name);
}

} // namespace lurvo::media
