#pragma once

#include <QString>

namespace lurvo::media {

// Plays "chord.wav" of the resource folder on a short thread of its own and returns at once;
// whether a sound was started. Nothing plays when the file is missing, empty, or 1 MiB or
// larger.
bool PlayInvalidInputSound(const QString& resourceFolder);

} // namespace lurvo::media
