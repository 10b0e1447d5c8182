#include "readalong/Destination.h"

#include <QDir>
#include <QFileInfo>

namespace lurvo::readalong {

QString recordingPathFor(const QString& chosen) {
    if (QFileInfo(chosen).suffix().compare(QStringLiteral("mp3"), Qt::CaseInsensitive) == 0)
        return chosen;
    return chosen + QStringLiteral(".mp3");
}

bool overwritesLesson(const QString& recordingPath, const QString& lessonPath) {
    if (recordingPath.isEmpty() || lessonPath.isEmpty())
        return false;
    const QFileInfo recording(recordingPath);
    const QFileInfo lesson(lessonPath);
    if (QDir::cleanPath(recording.absoluteFilePath())
            .compare(QDir::cleanPath(lesson.absoluteFilePath()), Qt::CaseInsensitive) == 0)
        return true;
    const QString canonical = recording.canonicalFilePath();
    return !canonical.isEmpty() && canonical == lesson.canonicalFilePath();
}

} // namespace lurvo::readalong
