// Feeds arbitrary bytes through the subtitle reader and parser, then checks the invariants the
// rest of the program relies on.
#include "subtitles/LrcDecoding.h"
#include "subtitles/SubtitleDocument.h"
#include "subtitles/TimeText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace lurvo::subtitles;

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkTimeline(SubtitleDocument& doc) {
    const int n = doc.lineCount();
    for (int i = 0; i < n; ++i) {
        require(doc.line(i).text.size() <= kMaxLineTextUnits);
        if (i > 0)
            require(doc.line(i - 1).startMs <= doc.line(i).startMs);
        const int at = doc.lineIndexAt(doc.line(i).startMs);
        require(at >= 0 && at < n && doc.line(at).startMs == doc.line(i).startMs);
    }
    require(doc.header.size() <= kMaxHeaderUnits);

    for (const SentenceMode mode :
         {SentenceMode::OneLine, SentenceMode::TwoLinesOddHead, SentenceMode::TwoLinesEvenHead}) {
        int next = 0;
        for (int s = 1; s <= doc.sentenceCount(mode); ++s) {
            const LineRange range = doc.linesOfSentence(s, mode);
            require(range.first == next && range.last >= range.first && range.last < n);
            require(doc.sentenceOfLine(range.first, mode) == SentenceOfLine{s, true});
            next = range.last + 1;
        }
        require(next == n);
    }

    const int first = doc.line(0).startMs;
    doc.applyOffset(2000);
    require(doc.line(0).startMs == first - 2000);
    doc.applyOffset(0);
    require(doc.line(0).startMs == first);
}

void checkTimeText(QStringView text) {
    const int ms = parseTimeText(text);
    require(ms >= -1);
    if (ms >= 0)
        require(parseTimeText(formatLrcTime(ms)) == ms / 10 * 10);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView raw(data, qsizetype(size));
    // The first byte also picks the locale, so the legacy decoders are reached as well.
    const char* locales[] = {"UTF-8", "GBK", "BIG5-HKSCS", "ANSI_X3.4-1968"};
    const char* locale = locales[size > 0 ? data[0] % 4 : 0];
    const QString text = normaliseLineEnds(decodeSubtitleBytes(raw, locale));
    SubtitleDocument doc;
    if (doc.parse(text))
        checkTimeline(doc);
    checkTimeText(QStringView(text).first(std::min<qsizetype>(text.size(), 200)));
    return 0;
}
