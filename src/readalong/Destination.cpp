#include "readalong/Destination.h"

#include "platform/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

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

RecordingTake::~RecordingTake() {
    discard();
}

bool RecordingTake::begin(const QString& destination, QString* reason) {
    discard();
    const QFileInfo target(destination);
    // In the destination's own folder, so that keeping the take is a rename on one file system.
    QTemporaryFile reserved(
        target.dir().filePath(u'.' + target.fileName() + QStringLiteral(".XXXXXX")));
    if (!reserved.open()) {
        if (reason != nullptr)
            *reason = reserved.errorString();
        return false;
    }
    // Only the unique name is wanted: the recorder creates the file afresh, with the
    // permissions a new file gets rather than a temporary file's private ones.
    path_ = reserved.fileName();
    reserved.remove();
    destination_ = destination;
    return true;
}

bool RecordingTake::keep(QString* reason) {
    if (reason != nullptr)
        reason->clear();
    if (path_.isEmpty())
        return false;
    const QFileInfo take(path_);
    if (!take.isFile() || take.size() == 0) {
        discard();
        return false;
    }
    platform::makeWritable(destination_);
    std::error_code failed;
    std::filesystem::rename(take.filesystemAbsoluteFilePath(),
                            QFileInfo(destination_).filesystemAbsoluteFilePath(), failed);
    if (failed) {
        if (reason != nullptr)
            *reason = QString::fromStdString(failed.message());
        discard();
        return false;
    }
    path_.clear();
    destination_.clear();
    return true;
}

void RecordingTake::discard() {
    if (!path_.isEmpty())
        QFile::remove(path_);
    path_.clear();
    destination_.clear();
}

} // namespace lurvo::readalong
