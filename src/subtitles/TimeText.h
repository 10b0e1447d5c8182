#pragma once

#include <QString>
#include <QStringView>

namespace lurvo::subtitles {

// Reads "m:s" or "h:m:s" (each field a decimal number, seconds may have a fraction) into
// milliseconds, truncated; -1 when the text is not a valid time or does not fit in 32 bits.
int parseTimeText(QStringView text);

// The time-tag text of a time: "mm:ss.xx" below an hour, "h:mm:ss.xx" from an hour on.
// Negative times are written as 0.
QString formatLrcTime(int ms);

} // namespace lurvo::subtitles
