#pragma once

#include <QString>

// Where a recording may be written.
namespace lurvo::readalong {

// The chosen path with ".mp3" after it unless it already ends so (in any letter case): the
// recording is always an MP3, whatever the learner typed.
QString recordingPathFor(const QString& chosen);

// Whether writing the recording there would overwrite the lesson itself: the same path in any
// letter case, or the same file reached another way.
bool overwritesLesson(const QString& recordingPath, const QString& lessonPath);

} // namespace lurvo::readalong
