#include "media/MediaResult.h"

#include <QCoreApplication>

namespace lurvo::media {

namespace {

// What went wrong, in the learner's words; GStreamer's own text follows as the detail.
QString plainReason(const GError* error) {
    if (error->domain == GST_STREAM_ERROR) {
        switch (error->code) {
        case GST_STREAM_ERROR_TYPE_NOT_FOUND:
        case GST_STREAM_ERROR_WRONG_TYPE:
        case GST_STREAM_ERROR_CODEC_NOT_FOUND:
            return QCoreApplication::translate("MediaResult", "文件不是可以播放的 MP3 音频。");
        case GST_STREAM_ERROR_DECODE:
        case GST_STREAM_ERROR_DEMUX:
        case GST_STREAM_ERROR_FORMAT:
            return QCoreApplication::translate("MediaResult", "音频数据有误，文件可能已损坏。");
        default:
            return QCoreApplication::translate("MediaResult", "音频数据无法处理。");
        }
    }
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
            return QCoreApplication::translate("MediaResult", "找不到文件或设备。");
        case GST_RESOURCE_ERROR_OPEN_READ:
        case GST_RESOURCE_ERROR_READ:
            return QCoreApplication::translate("MediaResult", "无法读取文件或设备。");
        case GST_RESOURCE_ERROR_OPEN_WRITE:
        case GST_RESOURCE_ERROR_WRITE:
        case GST_RESOURCE_ERROR_NO_SPACE_LEFT:
            return QCoreApplication::translate("MediaResult", "无法写入文件。");
        case GST_RESOURCE_ERROR_BUSY:
            return QCoreApplication::translate("MediaResult", "音频设备正被占用。");
        case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
            return QCoreApplication::translate("MediaResult", "没有访问文件或设备的权限。");
        default:
            return QCoreApplication::translate("MediaResult", "无法使用文件或音频设备。");
        }
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return QCoreApplication::translate("MediaResult", "缺少所需的 GStreamer 组件。");
    return QCoreApplication::translate("MediaResult", "音频处理出错。");
}

} // namespace

MediaResult MediaResult::fromGError(const GError* error) {
    if (error == nullptr)
        return failure(MediaError::StateChange,
                       QCoreApplication::translate("MediaResult", "音频处理出错。"));
    MediaError kind = MediaError::Core;
    if (error->domain == GST_LIBRARY_ERROR)
        kind = MediaError::Library;
    else if (error->domain == GST_RESOURCE_ERROR)
        kind = MediaError::Resource;
    else if (error->domain == GST_STREAM_ERROR)
        kind = MediaError::Stream;
    QString text = plainReason(error);
    const QString detail = QString::fromUtf8(error->message).trimmed();
    if (!detail.isEmpty())
        text += QStringLiteral("\n") + detail;
    return failure(kind, text);
}

MediaResult MediaResult::noAudioHardware() {
    return failure(MediaError::NoAudioHardware,
                   QCoreApplication::translate(
                       "MediaResult", "找不到音频输出设备：没有可连接的声音服务器或声卡。"));
}

} // namespace lurvo::media
