#pragma once

#include "media/Elements.h"

#include <QString>

#include <cstdint>

namespace lurvo::media {

// The length of an MP3 stream in nanoseconds, found by parsing (not decoding) all its frames;
// -1 when the file cannot be parsed. For files whose headers do not tell their length: a
// one-hour file takes about a tenth of a second.
std::int64_t scanLengthNs(const QString& path, ParserKind parser);

} // namespace lurvo::media
