#include "subtitles/CueFiles.h"

#include "platform/LocaleCodeset.h"
#include "subtitles/LrcDecoding.h"
#include "subtitles/SubtitleDocument.h"
#include "subtitles/TimeText.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace lurvo::subtitles {

namespace {

constexpr QStringView kArrow = u"-->";
// A character reference longer than this is no reference but text with an '&' in it.
constexpr qsizetype kMaxReferenceUnits = 10;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isBlank(QStringView line) {
    return line.trimmed().isEmpty();
}

bool isDigitsOnly(QStringView line) {
    const QStringView t = line.trimmed();
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), isAsciiDigit);
}

// A decimal field of minDigits to maxDigits digits, or nothing.
std::optional<std::int64_t> digitField(QStringView text, qsizetype minDigits, qsizetype maxDigits) {
    if (text.size() < minDigits || text.size() > maxDigits ||
        !std::all_of(text.begin(), text.end(), isAsciiDigit))
        return std::nullopt;
    std::int64_t value = 0;
    for (const QChar c : text)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

// A block that holds no cue by design: the file's own header, or a comment, style sheet or
// region definition of a WebVTT file.
bool isNoteBlock(QStringView firstLine) {
    for (const QStringView keyword : {u"NOTE", u"STYLE", u"REGION"}) {
        if (firstLine == keyword ||
            (firstLine.startsWith(keyword) &&
             (firstLine[keyword.size()] == u' ' || firstLine[keyword.size()] == u'\t')))
            return true;
    }
    return false;
}

bool isFileHeader(QStringView firstLine) {
    return firstLine == u"WEBVTT" ||
           (firstLine.startsWith(u"WEBVTT") && (firstLine[6] == u' ' || firstLine[6] == u'\t'));
}

// The start of a timing line "start --> end settings…"; nothing when either time is unreadable.
std::optional<int> timingStart(QStringView line) {
    const qsizetype arrow = line.indexOf(kArrow);
    const int start = parseCueTime(line.first(arrow).trimmed());
    QStringView rest = line.sliced(arrow + kArrow.size()).trimmed();
    qsizetype endLength = 0;
    while (endLength < rest.size() && !rest[endLength].isSpace())
        ++endLength;
    const int end = parseCueTime(rest.first(endLength));
    if (start < 0 || end < 0)
        return std::nullopt;
    return start;
}

// The character a reference such as "amp" or "#x4E2D" stands for; nothing for one not known.
std::optional<QString> referencedText(QStringView name) {
    static constexpr struct {
        const char16_t* name;
        const char16_t* text;
    } kNamed[] = {
        {u"amp", u"&"},   {u"lt", u"<"},   {u"gt", u">"}, {u"nbsp", u" "},
        {u"quot", u"\""}, {u"apos", u"'"}, {u"lrm", u""}, {u"rlm", u""},
    };
    for (const auto& named : kNamed)
        if (name == QStringView(named.name))
            return QString::fromUtf16(named.text);
    if (name.size() < 2 || name[0] != u'#')
        return std::nullopt;
    const bool hex = name[1] == u'x' || name[1] == u'X';
    bool ok = false;
    const uint code = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10FFFF || QChar::isSurrogate(code))
        return std::nullopt;
    const char32_t unit = code;
    return QString::fromUcs4(&unit, 1);
}

// Where the text hidden by an opening <rt> or <rp> ends: after its closing tag, or at the end
// of the line when it has none.
qsizetype hiddenTextEnd(QStringView line, qsizetype from, QStringView name) {
    const QString closing = QStringLiteral("</") + name.toString() + u'>';
    const qsizetype at = line.indexOf(closing, from, Qt::CaseInsensitive);
    return at < 0 ? line.size() : at + closing.size();
}

} // namespace

bool isCueFilePath(QStringView path) {
    return path.endsWith(u".srt", Qt::CaseInsensitive) ||
           path.endsWith(u".vtt", Qt::CaseInsensitive);
}

QString lrcPathForCueFile(const QString& cuePath) {
    return cuePath.chopped(3) + QStringLiteral("lrc");
}

int parseCueTime(QStringView text) {
    const QList<QStringView> fields = text.split(u':');
    if (fields.size() < 2 || fields.size() > 3)
        return -1;
    // Seconds with their fraction after a ',' (SubRip) or a '.' (WebVTT).
    QStringView seconds = fields.last();
    qsizetype mark = seconds.indexOf(u'.');
    if (mark < 0)
        mark = seconds.indexOf(u',');
    std::int64_t fractionMs = 0;
    if (mark >= 0) {
        const QStringView fraction = seconds.sliced(mark + 1);
        const auto value = digitField(fraction, 1, 3);
        if (!value)
            return -1;
        fractionMs = *value;
        for (qsizetype d = fraction.size(); d < 3; ++d)
            fractionMs *= 10;
        seconds = seconds.first(mark);
    }
    const auto s = digitField(seconds, 1, 2);
    const auto m = digitField(fields[fields.size() - 2], 1, 2);
    const auto h =
        fields.size() == 3 ? digitField(fields[0], 1, 6) : std::optional<std::int64_t>(0);
    if (!s || !m || !h || *s >= 60 || *m >= 60)
        return -1;
    const std::int64_t ms = ((*h * 60 + *m) * 60 + *s) * 1000 + fractionMs;
    return ms <= std::numeric_limits<int>::max() ? int(ms) : -1;
}

QString cueLineText(QStringView line) {
    QString out;
    out.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        const QChar next = i + 1 < line.size() ? line[i + 1] : QChar();
        if (c == u'<' && (isAsciiLetter(next) || isAsciiDigit(next) || next == u'/')) {
            const qsizetype close = line.indexOf(u'>', i + 1);
            // Inner timestamps such as <00:04.200>; "<3" and the like stay text.
            const bool tag = close > 0 && (!isAsciiDigit(next) ||
                                           parseCueTime(line.sliced(i + 1, close - i - 1)) >= 0);
            if (tag) {
                // The tag's name: "c" of <c.loud>, "v" of <v Name>, "rt" of <rt>.
                qsizetype nameEnd = i + 1;
                while (nameEnd < close && isAsciiLetter(line[nameEnd]))
                    ++nameEnd;
                const QStringView name = line.sliced(i + 1, nameEnd - i - 1);
                // A ruby's reading and its fallback parentheses are no part of the sentence.
                if (name.compare(u"rt", Qt::CaseInsensitive) == 0 ||
                    name.compare(u"rp", Qt::CaseInsensitive) == 0)
                    i = hiddenTextEnd(line, close + 1, name) - 1;
                else
                    i = close;
                continue;
            }
        }
        if (c == u'{' && next == u'\\') {
            // Positioning and styling codes of SubRip files made from other formats: {\an8}.
            const qsizetype close = line.indexOf(u'}', i + 2);
            if (close > 0) {
                i = close;
                continue;
            }
        }
        if (c == u'&') {
            const qsizetype semicolon = line.indexOf(u';', i + 1);
            if (semicolon > i + 1 && semicolon - i - 1 <= kMaxReferenceUnits) {
                if (const auto text = referencedText(line.sliced(i + 1, semicolon - i - 1))) {
                    out += *text;
                    i = semicolon;
                    continue;
                }
            }
        }
        out += c;
    }
    return out.simplified();
}

CueList parseCues(const QStringList& fileLines) {
    // A signature left in the text (one written twice) is no part of the first line.
    QStringList lines = fileLines;
    if (!lines.isEmpty() && lines[0].startsWith(QChar(QChar::ByteOrderMark)))
        lines[0].remove(0, 1);
    CueList result;
    bool firstBlock = true;
    qsizetype at = 0;
    while (at < lines.size()) {
        if (isBlank(lines[at])) {
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < lines.size() && !isBlank(lines[end]))
            ++end;
        const QStringView first = lines[at];
        const bool header = firstBlock && isFileHeader(first);
        firstBlock = false;
        const qsizetype blockBegin = at;
        at = end;
        if (!header && isNoteBlock(first))
            continue;

        // Each timing line starts a cue; the line before the first is the cue's identifier
        // (a number in SubRip), and in a header block every line before it is metadata.
        qsizetype timing = blockBegin;
        while (timing < end && !lines[timing].contains(kArrow))
            ++timing;
        if (timing == end) {
            if (!header)
                ++result.skipped;
            continue;
        }
        if (!header && timing - blockBegin > 1)
            ++result.skipped; // lines that belong to no cue

        bool open = false; // the last cue read is taking text lines
        for (qsizetype k = timing; k < end; ++k) {
            const QStringView line = lines[k];
            if (line.contains(kArrow)) {
                // Cues with no blank line between them: the previous one's last line was the
                // number of this one.
                if (open && !result.cues.last().text.isEmpty() && isDigitsOnly(lines[k - 1]))
                    result.cues.last().text.chop(lines[k - 1].trimmed().size());
                if (open)
                    result.cues.last().text = result.cues.last().text.trimmed();
                const std::optional<int> start = timingStart(line);
                open = start.has_value();
                if (open)
                    result.cues.append(Cue{*start, {}});
                else
                    ++result.skipped;
                continue;
            }
            if (!open)
                continue; // the text of a cue whose times could not be read
            const QString text = cueLineText(line);
            if (text.isEmpty())
                continue;
            QString& cueText = result.cues.last().text;
            if (!cueText.isEmpty())
                cueText += u' ';
            cueText += text;
        }
    }
    return result;
}

bool loadCueBytes(SubtitleDocument& doc, const QByteArray& raw) {
    const LrcSource decoded = readSource(raw, platform::localeCodeset());
    QStringList lines;
    lines.reserve(decoded.lines.size());
    for (const SourceLine& line : decoded.lines)
        lines.append(line.text);
    const CueList cues = parseCues(lines);

    // Each cue as the .lrc line it will be saved as, so that edits, recovery and saving treat
    // it as any line read from a file.
    doc.source = LrcSource{};
    doc.source.encoding = decoded.encoding;
    doc.skippedLines = cues.skipped;
    for (const Cue& cue : cues.cues) {
        SourceLine line;
        const QString tag = u'[' + formatLrcTime(cue.startMs) + u']';
        line.text = tag + cue.text;
        line.end = LineEnd::CrLf;
        line.tags = {SourceTag{0, tag.size(), cue.startMs}};
        line.textBegin = tag.size();
        const int index = int(doc.source.lines.size());
        doc.lines.append(SubtitleLine{cue.startMs, SubtitleDocument::shownText(line), index, 0});
        doc.source.lines.append(std::move(line));
    }
    // Overlapping cues are kept, each at its own start; in file order where starts are equal.
    std::stable_sort(
        doc.lines.begin(), doc.lines.end(),
        [](const SubtitleLine& a, const SubtitleLine& b) { return a.startMs < b.startMs; });
    return !doc.lines.isEmpty();
}

} // namespace lurvo::subtitles
