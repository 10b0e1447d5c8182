#pragma once

#include <QString>

#include <cstdint>

namespace lurvo::subtitles {

// Longest text a subtitle line keeps, in UTF-16 units.
inline constexpr qsizetype kMaxLineTextUnits = 511;

struct SubtitleLine {
    std::int32_t startMs = 0; // display time base: file time less both offsets
    QString text;             // at most kMaxLineTextUnits units; may be empty
};

} // namespace lurvo::subtitles
