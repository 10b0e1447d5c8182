#pragma once

#include "subtitles/SubtitleDocument.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace lurvo::subtitles {

// The file form of lines first..last of a document (none when first > last), in UTF-16 LE:
// byte-order mark, the header unit for unit, then "[time]text" CR LF per line. Each time is the
// line's start less baseMs plus both offsets, held within 0..INT_MAX.
QByteArray lrcFileBytes(const SubtitleDocument& doc, int first, int last, std::int64_t baseMs);

// A document's file with the learner's edits: every line the edits did not touch keeps its bytes.
// When the file's 8-bit encoding cannot hold an edited text, the whole file is UTF-8 with a
// signature instead.
struct EditedFile {
    QByteArray bytes;
    bool convertedToUtf8 = false;
};
EditedFile editedFileBytes(const SubtitleDocument& doc);

// Replaces the file at path with bytes through a file written beside it, so that a failure at
// any step leaves the old file as it was. 0, or an errno value telling why it failed.
int replaceFile(const QString& path, const QByteArray& bytes);

} // namespace lurvo::subtitles
