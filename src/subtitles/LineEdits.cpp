#include "subtitles/LineEdits.h"

#include "subtitles/TimeText.h"

namespace lurvo::subtitles {

std::optional<int> checkedLineTime(const SubtitleDocument& doc, int index, QStringView text) {
    const int t = parseTimeText(text);
    if (t < 0)
        return std::nullopt;
    // Strict bounds keep the lines in order without re-sorting and two lines from sharing a
    // start.
    if (index + 1 < doc.lineCount() && t >= doc.line(index + 1).startMs)
        return std::nullopt;
    if (index > 0 && t <= doc.line(index - 1).startMs)
        return std::nullopt;
    // The parser is lenient ("2:2.2", " 02:02.02"); the learner is held to the one form shown.
    if (formatLrcTime(t) != text)
        return std::nullopt;
    return t;
}

QString editedLineText(QStringView typed) {
    QString text;
    text.reserve(typed.size());
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        if (c == u'\r' && i + 1 < typed.size() && typed[i + 1] == u'\n')
            ++i;
        const bool lineBreak =
            c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        text += lineBreak ? QChar(u' ') : c;
    }
    return leadingUnits(text, kMaxEditedTextUnits).toString();
}

} // namespace lurvo::subtitles
