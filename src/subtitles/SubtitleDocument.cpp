#include "subtitles/SubtitleDocument.h"

#include "platform/LocaleCodeset.h"
#include "subtitles/CueFiles.h"
#include "subtitles/LrcDecoding.h"
#include "subtitles/TimeText.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <memory>

namespace lurvo::subtitles {

namespace {

// Tags of 64 units or more are not time tags but damage.
constexpr qsizetype kMaxTagUnits = 63;
// An [offset:] beyond ten seconds is taken for a mistake and ignored.
constexpr int kMaxFileOffsetMs = 10000;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

std::int32_t clampToInt32(std::int64_t value) {
    return std::int32_t(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

// Karaoke-style files mark when each word is sung with inline tags <mm:ss.xx>; they are no part
// of the text a learner reads, copies or corrects.
QString withoutWordTags(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'<' && i + 1 < text.size() && isAsciiDigit(text[i + 1])) {
            const qsizetype close = text.indexOf(u'>', i + 2);
            if (close > 0 && close - i - 1 <= kMaxTagUnits &&
                parseTimeText(text.sliced(i + 1, close - i - 1)) >= 0) {
                i = close;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

int SubtitleDocument::load(const QString& filePath) {
    path = filePath;
    // C streams, so that errno tells the caller why the file could not be read.
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(QFile::encodeName(filePath), "rb"));
    if (!file)
        return -1;
    // One byte more than the limit tells a file that is too large from one that just fits.
    QByteArray raw;
    std::size_t got = 0;
    for (qsizetype chunk = 64 * 1024; got <= std::size_t(kMaxSubtitleFileBytes); chunk *= 2) {
        raw.resize(std::min<qsizetype>(qsizetype(got) + chunk, kMaxSubtitleFileBytes + 1));
        const std::size_t wanted = std::size_t(raw.size()) - got;
        const std::size_t n = std::fread(raw.data() + got, 1, wanted, file.get());
        got += n;
        if (n < wanted)
            break;
    }
    if (std::ferror(file.get())) {
        // A folder or a failing disk: a reading error, not invalid content.
        const int readError = errno;
        file.reset();
        errno = readError;
        return -1;
    }
    file.reset();
    if (got > std::size_t(kMaxSubtitleFileBytes))
        return kLoadTooLarge;
    raw.truncate(qsizetype(got));
    if (isCueFilePath(filePath)) {
        cueFile = filePath;
        path = lrcPathForCueFile(filePath);
        return loadCueBytes(*this, raw) ? 1 : 0;
    }
    return loadBytes(raw);
}

int SubtitleDocument::loadBytes(const QByteArray& raw) {
    source = readSource(raw, platform::localeCodeset());
    return parseSource() ? 1 : 0;
}

bool SubtitleDocument::parse(QStringView text) {
    source = LrcSource{};
    qsizetype at = 0;
    while (at < text.size()) {
        SourceLine line;
        qsizetype end = at;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        line.text = text.sliced(at, end - at).toString();
        at = end;
        if (at < text.size() && text[at] == u'\r') {
            ++at;
            line.end = LineEnd::Cr;
            if (at < text.size() && text[at] == u'\n') {
                ++at;
                line.end = LineEnd::CrLf;
            }
        } else if (at < text.size()) {
            ++at;
            line.end = LineEnd::Lf;
        }
        source.lines.append(std::move(line));
    }
    return parseSource();
}

bool SubtitleDocument::parseSource() {
    bool tagSeen = false;  // an [offset:] tag or a timed line has been met
    bool lineSeen = false; // a timed line has been met
    std::int64_t localOffset = 0;
    for (int k = 0; k < source.lines.size(); ++k) {
        SourceLine& sourceLine = source.lines[k];
        const QStringView text = sourceLine.text;
        const qsizetype n = text.size();

        // The first time tag of the line, past an [offset:] tag before the first timed line.
        qsizetype p = 0;
        for (; p < n; ++p) {
            if (text[p] != u'[')
                continue;
            if (!tagSeen && text.sliced(p + 1).startsWith(u"offset:", Qt::CaseInsensitive)) {
                qsizetype q = p + 8;
                int sign = 1;
                if (q < n && text[q] == u'-') {
                    sign = -1;
                    ++q;
                }
                int magnitude = 0;
                for (; q < n && isAsciiDigit(text[q]); ++q) // saturates: anything too big counts 0
                    magnitude =
                        std::min(magnitude * 10 + (text[q].unicode() - u'0'), kMaxFileOffsetMs + 1);
                const qsizetype close = text.indexOf(u']', q);
                if (close < 0)
                    continue; // not closed on its line: ordinary text
                if (magnitude > kMaxFileOffsetMs)
                    magnitude = 0;
                fileOffsetMs = sign * magnitude;
                localOffset = fileOffsetMs;
                tagSeen = true;
                p = close;
                continue;
            }
            if (p + 1 < n && isAsciiDigit(text[p + 1]))
                break;
            // [ti:...] and other identification tags are ordinary text
        }
        if (p >= n) {
            if (!lineSeen) {
                header += text;
                if (sourceLine.end != LineEnd::None)
                    header += u"\r\n";
            }
            continue;
        }
        if (!lineSeen) {
            header += text.first(p);
            lineSeen = true;
            tagSeen = true;
        }

        // Every tag must be readable, or the whole line is skipped.
        QList<SourceTag> tags;
        qsizetype open = p;
        bool readable = true;
        while (true) {
            const qsizetype close = text.indexOf(u']', open + 2);
            if (close < 0 || close - open - 1 > kMaxTagUnits) {
                readable = false;
                break;
            }
            const int t = parseTimeText(text.sliced(open + 1, close - open - 1));
            // Shifted past what a 32-bit time can hold: as unreadable as the time itself.
            const std::int64_t start = std::int64_t(t) - localOffset;
            if (t < 0 || start != clampToInt32(start)) {
                readable = false;
                break;
            }
            tags.append(SourceTag{open, close + 1, t});
            open = close + 1;
            if (!(open + 1 < n && text[open] == u'[' && isAsciiDigit(text[open + 1])))
                break;
        }
        if (!readable) {
            ++skippedLines;
            continue;
        }
        sourceLine.tags = tags;
        sourceLine.textBegin = open;
        const QString shown = shownText(sourceLine);
        for (int j = 0; j < tags.size(); ++j)
            lines.append(SubtitleLine{std::int32_t(tags[j].fileMs - localOffset), shown, k, j});
    }
    if (header.size() > kMaxHeaderUnits)
        header.truncate(kMaxHeaderUnits);
    std::stable_sort(lines.begin(), lines.end(), [](const SubtitleLine& a, const SubtitleLine& b) {
        return a.startMs < b.startMs;
    });
    return !lines.isEmpty();
}

QString SubtitleDocument::shownText(const SourceLine& line) {
    return leadingUnits(withoutWordTags(QStringView(line.text).sliced(line.textBegin)),
                        kMaxLineTextUnits)
        .toString();
}

int SubtitleDocument::lineIndexAt(int positionMs) const {
    const int n = lineCount();
    if (n == 0)
        return -1;
    if (positionMs < lines[0].startMs)
        return 0;
    for (int i = 0; i < n - 1; ++i) {
        if (lines[i].startMs <= positionMs && positionMs < lines[i + 1].startMs)
            return i;
    }
    return n - 1;
}

int SubtitleDocument::lineEndMs(int i, int durationMs) const {
    return i < lineCount() - 1 ? lines[i + 1].startMs : durationMs;
}

void SubtitleDocument::applyOffset(int offsetMs) {
    for (SubtitleLine& l : lines)
        l.startMs = clampToInt32(std::int64_t(l.startMs) + appliedOffsetMs - offsetMs);
    appliedOffsetMs = offsetMs;
}

void SubtitleDocument::setLineText(int i, const QString& text) {
    lines[i].text = leadingUnits(text, kMaxLineTextUnits).toString();
    modified = true;
}

void SubtitleDocument::setLineStart(int i, int startMs) {
    lines[i].startMs = startMs;
    modified = true;
}

int SubtitleDocument::sentenceCount(SentenceMode mode) const {
    const int n = lineCount();
    switch (mode) {
    case SentenceMode::TwoLinesOddHead:
        return (n + 1) / 2;
    case SentenceMode::TwoLinesEvenHead:
        return n / 2 + 1;
    case SentenceMode::OneLine:
        break;
    }
    return n;
}

SentenceOfLine SubtitleDocument::sentenceOfLine(int i, SentenceMode mode) const {
    switch (mode) {
    case SentenceMode::TwoLinesOddHead:
        return {(i + 2) / 2, i % 2 == 0};
    case SentenceMode::TwoLinesEvenHead:
        return i == 0 ? SentenceOfLine{1, true} : SentenceOfLine{(i + 1) / 2 + 1, i % 2 == 1};
    case SentenceMode::OneLine:
        break;
    }
    return {i + 1, true};
}

LineRange SubtitleDocument::linesOfSentence(int s, SentenceMode mode) const {
    const int lastLine = lineCount() - 1;
    switch (mode) {
    case SentenceMode::TwoLinesOddHead:
        return {2 * s - 2, std::min(2 * s - 1, lastLine)};
    case SentenceMode::TwoLinesEvenHead:
        return s == 1 ? LineRange{0, 0} : LineRange{2 * s - 3, std::min(2 * s - 2, lastLine)};
    case SentenceMode::OneLine:
        break;
    }
    return {s - 1, s - 1};
}

} // namespace lurvo::subtitles
