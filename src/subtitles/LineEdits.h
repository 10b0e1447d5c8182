#pragma once

#include "subtitles/SubtitleDocument.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace lurvo::subtitles {

// Longest text the edit-text dialog takes, in UTF-16 units.
inline constexpr qsizetype kMaxEditedTextUnits = 510;

// The new start time typed for a line, or nothing when it is refused: it must be a time strictly
// between the neighbouring lines' starts, written exactly as formatLrcTime writes it.
std::optional<int> checkedLineTime(const SubtitleDocument& doc, int index, QStringView text);

// The line text from what was typed: each line break (CR LF, CR, LF, U+2028, U+2029) becomes one
// space, since a break would split the record in the saved file; then at most
// kMaxEditedTextUnits units.
QString editedLineText(QStringView typed);

} // namespace lurvo::subtitles
