#include "media/MediaResult.h"

namespace lurvo::media {

MediaResult MediaResult::fromGError(const GError* error) {
    if (error == nullptr)
        return failure(MediaError::StateChange, QStringLiteral("音频处理出错。"));
    MediaError kind = MediaError::Core;
    if (error->domain == GST_LIBRARY_ERROR)
        kind = MediaError::Library;
    else if (error->domain == GST_RESOURCE_ERROR)
        kind = MediaError::Resource;
    else if (error->domain == GST_STREAM_ERROR)
        kind = MediaError::Stream;
    return failure(kind, QString::fromUtf8(error->message));
}

MediaResult MediaResult::noAudioHardware() {
    return failure(MediaError::NoAudioHardware,
                   QStringLiteral("找不到音频输出设备：没有可连接的声音服务器或声卡。"));
}

} // namespace lurvo::media
