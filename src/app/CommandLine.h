#pragma once

#include <QString>

namespace lurvo::app {

// What "lurvo-repeater --help" prints: every way the program can be started.
QString helpText();

// What "lurvo-repeater --version" prints: the name and the project's version.
QString versionText();

// The lesson a file given on the command line stands for: an MP3 is itself; subtitles (".lrc",
// ".srt", ".vtt": the other types the desktop entry declares) stand for the MP3 of the same name
// beside them.
// Anything else is returned unchanged, for the window to refuse as it refuses a dropped file.
QString lessonForArgument(const QString& path);

} // namespace lurvo::app
