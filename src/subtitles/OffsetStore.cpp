#include "subtitles/OffsetStore.h"

#include "platform/FileOps.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdint>

namespace lurvo::subtitles {

namespace {

// Large unbuffered reads keep hashing a one-hour lesson close to the speed of the disk cache.
constexpr qint64 kDigestChunkBytes = 256 * 1024;

bool isCSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

} // namespace

QByteArray computeLessonDigest(const QString& mp3Path) {
    QFile file(mp3Path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QByteArray(kLessonDigestBytes, '\0');
    QCryptographicHash md5(QCryptographicHash::Md5);
    QByteArray chunk(kDigestChunkBytes, Qt::Uninitialized);
    // A read error ends the data like the end of the file does: what was read is hashed.
    qint64 got = 0;
    while ((got = file.read(chunk.data(), chunk.size())) > 0)
        md5.addData(QByteArrayView(chunk.constData(), got));
    return md5.result();
}

QString offsetKey(const QByteArray& digest) {
    const QByteArray text = digest.toBase64();
    std::uint32_t h = 0;
    for (const char c : text) {
        h = (h << 4) + static_cast<unsigned char>(c);
        const std::uint32_t g = h & 0xF0000000u;
        if (g != 0)
            h ^= g >> 24;
        h &= ~g;
    }
    return QString::number(h);
}

QString offsetFilePath(const QString& dataFolder, const QByteArray& digest) {
    return dataFolder + u'/' + offsetKey(digest);
}

int clampLessonOffset(int offsetMs) {
    return std::clamp(offsetMs, -kMaxLessonOffsetMs, kMaxLessonOffsetMs);
}

int readStoredOffset(const QString& dataFolder, const QByteArray& digest) {
    QFile file(offsetFilePath(dataFolder, digest));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    std::array<char, 4> bytes{};
    if (file.read(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        return 0;
    return clampLessonOffset(qFromLittleEndian<qint32>(bytes.data()));
}

bool writeStoredOffset(const QString& dataFolder, const QByteArray& digest, int offsetMs) {
    // The data folder is otherwise made only when the settings are saved at exit, so the
    // offset of a first session's lesson would be lost.
    if (!QFileInfo(dataFolder).isDir() && !QDir().mkpath(dataFolder))
        return false;
    const QString path = offsetFilePath(dataFolder, digest);
    platform::makeWritable(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    std::array<char, 4> bytes{};
    qToLittleEndian<qint32>(offsetMs, bytes.data());
    const bool written = file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
    return file.flush() && written;
}

QString offsetText(int offsetMs, const QString& earlierFormat, const QString& laterFormat) {
    if (offsetMs == 0)
        return QStringLiteral("0");
    // 64 bits, so that the magnitude of the lowest int is still right.
    const qint64 value = offsetMs;
    QString text = value > 0 ? earlierFormat : laterFormat;
    const qsizetype at = text.indexOf(u"%d");
    if (at >= 0)
        text.replace(at, 2, QString::number(value > 0 ? value : -value));
    return text;
}

int parseOffsetInput(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Past the limit more digits change nothing, so the magnitude stops growing there.
    int magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        magnitude = std::min(magnitude * 10 + (text[i].unicode() - u'0'), kMaxLessonOffsetMs + 1);
    return clampLessonOffset(negative ? -magnitude : magnitude);
}

} // namespace lurvo::subtitles
