#include "subtitles/SubtitleWriting.h"

#include "platform/FileOps.h"
#include "subtitles/TimeText.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace lurvo::subtitles {

namespace {

// errno as the failing call left it. Qt refuses some paths before any system call fails, and
// then leaves errno at 0: those get the likeliest cause.
int failureCode(int callErrno, const QString& path) {
    if (callErrno != 0)
        return callErrno;
    const QFileInfo info(path);
    if (info.isDir())
        return EISDIR;
    if (info.exists() && !info.isWritable())
        return EACCES;
    return EIO;
}

} // namespace

QByteArray lrcFileBytes(const SubtitleDocument& doc, int first, int last, std::int64_t baseMs) {
    QString text;
    text.reserve(1 + doc.header.size() + std::max(0, last - first + 1) * 32);
    text += QChar(QChar::ByteOrderMark);
    text += doc.header;
    for (int i = first; i <= last; ++i) {
        const SubtitleLine& line = doc.line(i);
        const std::int64_t fileMs =
            std::int64_t(line.startMs) - baseMs + doc.fileOffsetMs + doc.appliedOffsetMs;
        text += u'[';
        text += formatLrcTime(
            int(std::clamp<std::int64_t>(fileMs, 0, std::numeric_limits<int>::max())));
        text += u']';
        text += line.text;
        text += u"\r\n";
    }
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

int replaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    errno = 0;
    // Unbuffered: the one write goes to the disk at once, so it is the call that fails.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failureCode(errno, path);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // A short write (a full disk, a file size limit) is no error to QSaveFile, which would
        // commit the truncated file.
        const int code = failureCode(errno, path);
        file.cancelWriting();
        return code;
    }
    errno = 0;
    if (!file.commit())
        return failureCode(errno, path);
    return 0;
}

int SubtitleDocument::save() {
    if (!modified)
        return 0;
    // A read-only lesson file is saved all the same; a missing one has nothing to clear.
    platform::makeWritable(path);
    const int result = replaceFile(path, lrcFileBytes(*this, 0, lineCount() - 1, 0));
    if (result == 0)
        modified = false;
    return result;
}

int SubtitleDocument::writeRange(int first, int last, const QString& targetPath) const {
    platform::makeWritable(targetPath);
    const std::int64_t baseMs = first <= last ? line(first).startMs : 0;
    return replaceFile(targetPath, lrcFileBytes(*this, first, last, baseMs));
}

} // namespace lurvo::subtitles
