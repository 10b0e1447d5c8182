#include "app/MakeSubtitlesCommand.h"

#include "pauses/PauseAnalysis.h"
#include "player/LessonLoader.h"

#include <QCoreApplication>
#include <QDir>

namespace lurvo::app {

namespace {} // namespace

MakeSubtitlesRequest parseMakeSubtitles(const QStringList& arguments) {
    MakeSubtitlesRequest request;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--min-pause") {
            bool number = false;
            const int ms = i + 1 < arguments.size() ? arguments[i + 1].toInt(&number) : 0;
            if (!number || ms < pauses::kMinPauseLowestMs || ms > pauses::kMinPauseHighestMs) {
                request.error =
                    QCoreApplication::translate("MakeSubtitlesCommand",
                                                "--min-pause 需要 %1 到 %2 之间的毫秒数")
                        .arg(pauses::kMinPauseLowestMs)
                        .arg(pauses::kMinPauseHighestMs);
                return request;
            }
            request.minPauseMs = ms;
            ++i;
        } else if (argument.startsWith(u'-') || !request.mp3Path.isEmpty()) {
            request.error =
                QCoreApplication::translate("MakeSubtitlesCommand", "无法识别的参数：%1")
                    .arg(argument);
            return request;
        } else {
            request.mp3Path = argument;
        }
    }
    if (request.mp3Path.isEmpty())
        request.error = QCoreApplication::translate("MakeSubtitlesCommand", "缺少 MP3 文件");
    return request;
}

QString makeSubtitles(const MakeSubtitlesRequest& request, const std::function<void(int)>& progress,
                      QString* written) {
    // Checked before the slow part, and again by the writing itself.
    const QString existing = player::findSubtitleFile(request.mp3Path);
    if (!existing.isEmpty())
        return QCoreApplication::translate("MakeSubtitlesCommand", "字幕文件已经存在，未作改动：%1")
            .arg(QDir::toNativeSeparators(existing));
    const pauses::EnvelopeResult measured =
        pauses::measureEnvelope(request.mp3Path, progress, nullptr);
    if (!measured.error.isEmpty())
        return measured.error;
    const QList<pauses::Span> sentences =
        pauses::findSentences(measured.envelope, {.minPauseMs = request.minPauseMs});
    if (sentences.isEmpty())
        return QCoreApplication::translate("MakeSubtitlesCommand",
                                           "没有找到句子：%1 中听不到说话声")
            .arg(QDir::toNativeSeparators(request.mp3Path));
    const QString lrcPath = player::subtitlePathFor(request.mp3Path);
    const QString error = pauses::writePauseSubtitles(lrcPath, sentences);
    if (error.isEmpty() && written)
        *written = QCoreApplication::translate("MakeSubtitlesCommand", "已写入 %1：%2 句")
                       .arg(QDir::toNativeSeparators(lrcPath))
                       .arg(sentences.size());
    return error;
}

} // namespace lurvo::app
