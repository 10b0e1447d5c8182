#pragma once

#include "pronunciation/Annotation.h"
#include "subtitles/SubtitleDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

// A lesson's subtitles with their Jyutping, for players elsewhere (a phone) that show only the
// file: each line followed by its reading at the same time, the pair that sentence mode 1 groups.
namespace lurvo::pronunciation {

using TextAnnotator = std::function<Annotation(const QString& text)>;

// The syllables of an annotation separated by spaces; bare runs and characters without a reading
// are left out, so the line reads as Jyutping alone.
QString readingLine(const Annotation& annotation);

// The file: UTF-8 with a signature, the document's header, then per timed line "[time]text" and
// "[time]reading" at the same time, CR LF after each. A line without syllables still gets its
// (empty) reading line, so that the pairs never shift. The times are as the learner hears the
// lines: the per-lesson offset applied, the file's own [offset:] left to the header's tag.
QByteArray readingSubtitleBytes(const subtitles::SubtitleDocument& doc,
                                const TextAnnotator& annotate);

// Writes that file to path, replacing it whole or not at all. 0, or an errno value.
int writeReadingSubtitles(const subtitles::SubtitleDocument& doc, const TextAnnotator& annotate,
                          const QString& path);

// Where the export is offered by default: "<name>.jyutping.lrc" beside the lesson's .lrc.
QString readingSubtitlePathFor(const QString& lrcPath);

} // namespace lurvo::pronunciation
