#pragma once

#include "subtitles/LrcSource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Turning the raw bytes of a .lrc file into one UTF-16 text with CR LF line ends.
namespace lurvo::subtitles {

// The largest subtitle file read: long bilingual lessons run to a few megabytes, and anything
// bigger is taken for the wrong file rather than cut.
inline constexpr qsizetype kMaxSubtitleFileBytes = 16 * 1024 * 1024;

// Whether bytes without a signature look like UTF-8: sequences of one to four bytes with lead
// bytes up to F4; a sequence cut short by the end passes, and overlong forms are not examined.
bool isPlausibleUtf8(QByteArrayView bytes);

// The 8-bit decoding used for text that is neither UTF-16 nor UTF-8: a non-Chinese legacy
// locale's own character set when it reads the bytes without fault; else GB18030 or Big5-HKSCS,
// whichever alone reads them without an invalid sequence, or, when both do, whichever the bytes
// look like; when neither does, the locale's legacy character set, or GB18030.
QByteArray legacyEncodingFor(QByteArrayView bytes, QByteArrayView localeCodeset);

// How the bytes of a subtitle file are to be read: UTF-16 by its byte-order mark, UTF-8 by its
// signature or by plausibility, else the legacy 8-bit encoding.
LrcEncoding detectEncoding(QByteArrayView raw, QByteArrayView localeCodeset);

// A subtitle file cut into its lines, each decoded. The text stops at the first zero unit
// (UTF-16) or zero byte (the others).
LrcSource readSource(const QByteArray& raw, QByteArrayView localeCodeset);

// The text of a subtitle file, with its line ends as they are.
QString decodeSubtitleBytes(QByteArrayView raw, QByteArrayView localeCodeset);

// Every line end (CR, LF or CR LF) becomes CR LF.
QString normaliseLineEnds(QStringView text);

} // namespace lurvo::subtitles
