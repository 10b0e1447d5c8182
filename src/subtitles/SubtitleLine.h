#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace lurvo::subtitles {

// Longest text a subtitle line keeps, in UTF-16 units.
inline constexpr qsizetype kMaxLineTextUnits = 511;

// The first maxUnits units of a text, one fewer when the cut would split a surrogate pair.
inline QStringView leadingUnits(QStringView text, qsizetype maxUnits) {
    if (text.size() <= maxUnits)
        return text;
    const bool splitsPair =
        maxUnits > 0 && text[maxUnits - 1].isHighSurrogate() && text[maxUnits].isLowSurrogate();
    return text.first(splitsPair ? maxUnits - 1 : maxUnits);
}

struct SubtitleLine {
    std::int32_t startMs = 0; // display time base: file time less both offsets
    QString text;             // at most kMaxLineTextUnits units; may be empty
    // Where the line was read from, so that saving rewrites only what changed: the index of its
    // line in the file and of its time tag on that line; -1 for a line not read from a file.
    int sourceLine = -1;
    int sourceTag = -1;
};

} // namespace lurvo::subtitles
