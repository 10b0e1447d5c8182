#pragma once

#include "subtitles/SubtitleDocument.h"

#include <QString>

// Unsaved subtitle edits kept in a file beside the lesson's .lrc when the session ends without
// the learner being asked (log-out, a termination signal), offered again at the next opening.
namespace lurvo::subtitles {

// "<name>.lrc.recovery" beside the subtitle file.
QString recoveryPathFor(const QString& lrcPath);

// Writes the document's edited lines (those whose text or time differs from its file) to
// recoveryPath, replacing it whole or not at all. 0, or an errno value.
int writeRecovery(const SubtitleDocument& doc, const QString& recoveryPath);

// Applies edits written by writeRecovery to a document freshly read from the same file: each one
// whose line still reads as it did when the edit was made. Sets modified when any applied.
// The number applied, or -1 when the file cannot be read or is not a recovery file.
int restoreRecovery(SubtitleDocument& doc, const QString& recoveryPath);

} // namespace lurvo::subtitles
