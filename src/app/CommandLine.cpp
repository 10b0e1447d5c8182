#include "app/CommandLine.h"

#include "app/AnnotateCommand.h"

#include <QFileInfo>

namespace lurvo::app {

QString helpText() {
    return QStringLiteral(
        "Usage: lurvo-repeater [LESSON.mp3 | LESSON.lrc]\n"
        "       lurvo-repeater --annotate LESSON.lrc OUT.lrc\n"
        "       lurvo-repeater --make-subtitles LESSON.mp3 [--min-pause MS]\n"
        "       lurvo-repeater --help | --version\n"
        "\n"
        "Listen to a Cantonese lesson sentence by sentence: an MP3 file and the LRC subtitles\n"
        "of the same name beside it.\n"
        "\n"
        "  LESSON.mp3        open this lesson\n"
        "  LESSON.lrc        open the lesson these subtitles belong to (the MP3 of the same name;\n"
        "                    .srt and .vtt subtitles too)\n"
        "  --annotate LESSON.lrc OUT.lrc\n"
        "                    write the subtitles with a line of Jyutping under each line and\n"
        "                    exit, without a window\n"
        "  --make-subtitles LESSON.mp3\n"
        "                    for a lesson without subtitles: find its sentences from the\n"
        "                    pauses, write them as LESSON.lrc (never over an existing file)\n"
        "                    and exit, without a window; progress on standard error\n"
        "  --min-pause MS    with --make-subtitles: the shortest pause that ends a sentence,\n"
        "                    150 to 2000 milliseconds (default 350)\n"
        "  -h, --help        print this help and exit\n"
        "  --version         print the version and exit\n");
}

QString versionText() {
    return QStringLiteral("lurvo-repeater " LURVO_VERSION "\n");
}

QString lessonForArgument(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    const bool subtitles = suffix.compare(u"lrc", Qt::CaseInsensitive) == 0 ||
                           suffix.compare(u"srt", Qt::CaseInsensitive) == 0 ||
                           suffix.compare(u"vtt", Qt::CaseInsensitive) == 0;
    if (!subtitles)
        return path;
    const QString audio = lessonAudioBeside(path);
    return audio.isEmpty() ? path : audio;
}

} // namespace lurvo::app
