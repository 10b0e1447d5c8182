#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The per-lesson subtitle offset, kept outside the .lrc file in a small file of the data folder
// named after a hash of the MP3's MD5 digest, so that it follows the recording's content under
// any name or folder.
namespace lurvo::subtitles {

// The offset a learner can set, either way, in milliseconds.
inline constexpr int kMaxLessonOffsetMs = 2000;
inline constexpr qsizetype kLessonDigestBytes = 16;

// MD5 of the whole file, tags and all. 16 zero bytes when the file cannot be opened, so every
// unreadable lesson shares one key.
QByteArray computeLessonDigest(const QString& mp3Path);

// The offset file's name: the ELF (PJW) hash of the digest's padded Base64 text, in decimal.
// Different digests may share a key and then share a stored offset.
QString offsetKey(const QByteArray& digest);

// Where the offset of a digest is kept inside dataFolder (the "LurvoRepeater" folder).
QString offsetFilePath(const QString& dataFolder, const QByteArray& digest);

// Limits a value to -kMaxLessonOffsetMs..kMaxLessonOffsetMs.
int clampLessonOffset(int offsetMs);

// The stored offset, clamped; 0 when there is no offset file or it holds fewer than 4 bytes.
int readStoredOffset(const QString& dataFolder, const QByteArray& digest);

// Creates or overwrites the offset file with the 4-byte little-endian offset, replacing a
// read-only file and creating dataFolder when it does not exist yet. False when the offset
// could not be written.
bool writeStoredOffset(const QString& dataFolder, const QByteArray& digest, int offsetMs);

// The offset as the control panel shows it: a positive offset fills earlierFormat's "%d" with
// the number, a negative one fills laterFormat's with its magnitude, 0 gives "0".
QString offsetText(int offsetMs, const QString& earlierFormat, const QString& laterFormat);

// Reads the offset a learner typed as the C library reads an integer (leading spaces, a sign,
// then the digits up to the first other character; no digits reads as 0), clamped.
int parseOffsetInput(QStringView text);

} // namespace lurvo::subtitles
