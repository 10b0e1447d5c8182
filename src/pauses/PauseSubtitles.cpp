#include "pauses/PauseAnalysis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace lurvo::pauses {

namespace {

// The texts stand in for the real ones the learner types later; they and the header are
// Cantonese lesson content, not interface texts, so they are the same in every language.
// Says where the subtitles came from; the reader keeps a line without a time as the header.
constexpr char kHeader[] = "[by:按停顿自动分句]";

QString timeTag(int ms) {
    // Rounded down: a line never starts after the sound it was found for.
    const int hundredths = std::max(ms, 0) / 10;
    return QStringLiteral("[%1:%2.%3]")
        .arg(hundredths / 6000, 2, 10, QLatin1Char('0'))
        .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

QString writePauseSubtitles(const QString& lrcPath, const QList<Span>& sentences) {
    QByteArray bytes("\xEF\xBB\xBF");
    bytes += kHeader;
    bytes += "\r\n";
    for (qsizetype i = 0; i < sentences.size(); ++i)
        bytes += (timeTag(sentences[i].startMs) + QStringLiteral("第%1句\r\n").arg(i + 1)).toUtf8();

    // NewOnly creates the file or fails, so a file that appeared meanwhile is never replaced.
    QFile file(lrcPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (file.exists())
            return QCoreApplication::translate("PauseAnalysis", "字幕文件“%1”已经存在。")
                .arg(QDir::toNativeSeparators(lrcPath));
        return QCoreApplication::translate("PauseAnalysis", "无法写入“%1”：%2")
            .arg(QDir::toNativeSeparators(lrcPath), file.errorString());
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        file.remove();
        return QCoreApplication::translate("PauseAnalysis", "无法写入“%1”：%2")
            .arg(QDir::toNativeSeparators(lrcPath), reason);
    }
    file.close();
    return {};
}

} // namespace lurvo::pauses
