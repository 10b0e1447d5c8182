#include "app/AnnotateCommand.h"

#include "pronunciation/ReadingChoices.h"
#include "pronunciation/ReadingSubtitles.h"
#include "subtitles/OffsetStore.h"
#include "subtitles/SubtitleDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace lurvo::app {

namespace {

QString errnoText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

pronunciation::PronunciationSources annotateSources() {
    pronunciation::PronunciationSources sources;
    const QString folder = qEnvironmentVariable(kDictionaryFolderVariable);
    if (!folder.isEmpty())
        sources.dictionaryFolder = folder;
    sources.cacheFile = qEnvironmentVariable(kIndexCacheVariable);
    return sources;
}

QString lessonAudioBeside(const QString& lrcPath) {
    const QFileInfo info(lrcPath);
    for (const QString& suffix : {QStringLiteral(".mp3"), QStringLiteral(".MP3")}) {
        const QString mp3 = info.dir().filePath(info.completeBaseName() + suffix);
        if (QFileInfo(mp3).isFile())
            return mp3;
    }
    return {};
}

QString annotateLesson(const QString& lrcPath, const QString& outPath,
                       const pronunciation::PronunciationSources& sources,
                       const QString& dataFolder) {
    subtitles::SubtitleDocument doc;
    const int loaded = doc.load(lrcPath);
    if (loaded == -1)
        return QCoreApplication::translate("AnnotateCommand", "无法读取字幕文件 %1：%2")
            .arg(lrcPath, errnoText(errno));
    if (loaded != 1)
        return QCoreApplication::translate("AnnotateCommand", "字幕文件 %1 无法识别").arg(lrcPath);
    // The lesson's own offset and reading choices, when its MP3 is beside the subtitles.
    const QString mp3 = lessonAudioBeside(lrcPath);
    pronunciation::ReadingChoices choices;
    if (!mp3.isEmpty()) {
        const QByteArray digest = subtitles::computeLessonDigest(mp3);
        doc.applyOffset(subtitles::readStoredOffset(dataFolder, digest));
        choices = pronunciation::ReadingChoices::load(dataFolder, digest);
    }

    pronunciation::Pronouncer pronouncer(sources);
    QEventLoop loop;
    pronouncer.onReady = [&loop] { loop.quit(); };
    pronouncer.onUnavailable = [&loop](const QStringList&) { loop.quit(); };
    pronouncer.load();
    loop.exec();
    if (pronouncer.state() != pronunciation::Pronouncer::State::Ready)
        return QCoreApplication::translate("AnnotateCommand", "标注粤拼需要安装 %1")
            .arg(pronouncer.missingPackages().join(
                QCoreApplication::translate("AnnotateCommand", "、")));

    const int written = pronunciation::writeReadingSubtitles(
        doc, [&](const QString& text) { return choices.apply(pronouncer.annotate(text)); },
        outPath);
    if (written != 0)
        return QCoreApplication::translate("AnnotateCommand", "无法写入 %1：%2")
            .arg(outPath, errnoText(written));
    return {};
}

} // namespace lurvo::app
