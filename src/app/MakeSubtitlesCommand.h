#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// "--make-subtitles LESSON.mp3 [--min-pause MS]": subtitles for a lesson that has none, one line
// per sentence found from its pauses, for a folder of recordings, without a window.
namespace lurvo::app {

struct MakeSubtitlesRequest {
    QString mp3Path;
    int minPauseMs = 350;
    QString error; // the arguments were wrong: why
};

// The request the arguments after "--make-subtitles" make.
MakeSubtitlesRequest parseMakeSubtitles(const QStringList& arguments);

// Finds the sentences and writes the subtitles beside the MP3; progress gets 0..1000. The
// message for standard error on failure, empty on success; `written` names the new file and
// the number of its sentences.
QString makeSubtitles(const MakeSubtitlesRequest& request, const std::function<void(int)>& progress,
                      QString* written);

} // namespace lurvo::app
