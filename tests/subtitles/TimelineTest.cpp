#include "subtitles/SubtitleDocument.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace lurvo::subtitles;

namespace {

SubtitleDocument documentWithStarts(std::initializer_list<int> starts) {
    SubtitleDocument doc;
    for (const int s : starts)
        doc.lines.append(SubtitleLine{s, QString::number(s)});
    return doc;
}

SubtitleDocument documentWithLines(int n) {
    SubtitleDocument doc;
    for (int i = 0; i < n; ++i)
        doc.lines.append(SubtitleLine{i * 1000, QString::number(i)});
    return doc;
}

TEST(LineIndexAt, FindsTheLineWhoseIntervalHoldsThePosition) {
    const SubtitleDocument doc = documentWithStarts({0, 2000, 5000});
    EXPECT_EQ(doc.lineIndexAt(0), 0);
    EXPECT_EQ(doc.lineIndexAt(1999), 0);
    EXPECT_EQ(doc.lineIndexAt(2000), 1);
    EXPECT_EQ(doc.lineIndexAt(4999), 1);
    EXPECT_EQ(doc.lineIndexAt(5000), 2);
    EXPECT_EQ(doc.lineIndexAt(9000), 2);
}

TEST(LineIndexAt, GivesTheFirstLineBeforeItsStart) {
    const SubtitleDocument doc = documentWithStarts({1000, 2000, 5000});
    EXPECT_EQ(doc.lineIndexAt(999), 0);
    EXPECT_EQ(doc.lineIndexAt(-300), 0);
    EXPECT_EQ(documentWithStarts({-800, 400}).lineIndexAt(-500), 0);
    EXPECT_EQ(SubtitleDocument{}.lineIndexAt(0), -1);
}

TEST(LineIndexAt, SkipsEmptyIntervalsOfEqualStarts) {
    const SubtitleDocument doc = documentWithStarts({0, 2000, 2000, 5000});
    EXPECT_EQ(doc.lineIndexAt(1999), 0);
    EXPECT_EQ(doc.lineIndexAt(2000), 2);
}

TEST(LineEndMs, IsTheNextStartOrTheRecordingsEnd) {
    const SubtitleDocument doc = documentWithStarts({0, 2000, 5000});
    EXPECT_EQ(doc.lineEndMs(0, 60000), 2000);
    EXPECT_EQ(doc.lineEndMs(1, 60000), 5000);
    EXPECT_EQ(doc.lineEndMs(2, 60000), 60000);
}

TEST(ApplyOffset, ShiftsFromTheLoadedTimesWithoutMarkingEdits) {
    SubtitleDocument doc = documentWithStarts({0, 2000, 5000});
    doc.applyOffset(300);
    EXPECT_EQ(doc.line(0).startMs, -300);
    EXPECT_EQ(doc.line(2).startMs, 4700);
    doc.applyOffset(300);
    EXPECT_EQ(doc.line(2).startMs, 4700);
    doc.applyOffset(-200);
    EXPECT_EQ(doc.line(0).startMs, 200);
    EXPECT_EQ(doc.line(1).startMs, 2200);
    EXPECT_EQ(doc.line(2).startMs, 5200);
    EXPECT_EQ(doc.appliedOffsetMs, -200);
    doc.applyOffset(0);
    EXPECT_EQ(doc.line(1).startMs, 2000);
    EXPECT_FALSE(doc.modified);
}

TEST(ApplyOffset, SaturatesInsteadOfWrappingAround) {
    SubtitleDocument doc = documentWithStarts({0, std::numeric_limits<int>::max() - 100});
    doc.applyOffset(-2000);
    EXPECT_EQ(doc.line(1).startMs, std::numeric_limits<int>::max());
    EXPECT_GT(doc.line(1).startMs, doc.line(0).startMs);
}

TEST(Sentences, MatchTheDocumentedGroupingOfFiveAndFourLines) {
    const SubtitleDocument five = documentWithLines(5);
    EXPECT_EQ(five.sentenceCount(SentenceMode::OneLine), 5);
    EXPECT_EQ(five.sentenceCount(SentenceMode::TwoLinesOddHead), 3);
    EXPECT_EQ(five.linesOfSentence(1, SentenceMode::TwoLinesOddHead), (LineRange{0, 1}));
    EXPECT_EQ(five.linesOfSentence(2, SentenceMode::TwoLinesOddHead), (LineRange{2, 3}));
    EXPECT_EQ(five.linesOfSentence(3, SentenceMode::TwoLinesOddHead), (LineRange{4, 4}));
    EXPECT_EQ(five.sentenceCount(SentenceMode::TwoLinesEvenHead), 3);
    EXPECT_EQ(five.linesOfSentence(1, SentenceMode::TwoLinesEvenHead), (LineRange{0, 0}));
    EXPECT_EQ(five.linesOfSentence(2, SentenceMode::TwoLinesEvenHead), (LineRange{1, 2}));
    EXPECT_EQ(five.linesOfSentence(3, SentenceMode::TwoLinesEvenHead), (LineRange{3, 4}));

    const SubtitleDocument four = documentWithLines(4);
    EXPECT_EQ(four.sentenceCount(SentenceMode::TwoLinesOddHead), 2);
    EXPECT_EQ(four.linesOfSentence(2, SentenceMode::TwoLinesOddHead), (LineRange{2, 3}));
    EXPECT_EQ(four.sentenceCount(SentenceMode::TwoLinesEvenHead), 3);
    EXPECT_EQ(four.linesOfSentence(2, SentenceMode::TwoLinesEvenHead), (LineRange{1, 2}));
    EXPECT_EQ(four.linesOfSentence(3, SentenceMode::TwoLinesEvenHead), (LineRange{3, 3}));

    EXPECT_EQ(four.sentenceOfLine(3, SentenceMode::OneLine), (SentenceOfLine{4, true}));
    EXPECT_EQ(four.sentenceOfLine(3, SentenceMode::TwoLinesOddHead), (SentenceOfLine{2, false}));
    EXPECT_EQ(four.sentenceOfLine(3, SentenceMode::TwoLinesEvenHead), (SentenceOfLine{3, true}));
    EXPECT_EQ(four.sentenceOfLine(0, SentenceMode::TwoLinesEvenHead), (SentenceOfLine{1, true}));
    EXPECT_EQ(four.sentenceOfLine(2, SentenceMode::TwoLinesEvenHead), (SentenceOfLine{2, false}));
}

// For every size and mode, the sentences cut the lines into consecutive runs of one or two,
// each run headed by its first line, and the two directions of the mapping agree.
TEST(Sentences, PartitionTheLinesConsistentlyInEveryMode) {
    for (const SentenceMode mode :
         {SentenceMode::OneLine, SentenceMode::TwoLinesOddHead, SentenceMode::TwoLinesEvenHead}) {
        for (int n = 1; n <= 9; ++n) {
            const SubtitleDocument doc = documentWithLines(n);
            int nextLine = 0;
            for (int s = 1; s <= doc.sentenceCount(mode); ++s) {
                const LineRange range = doc.linesOfSentence(s, mode);
                ASSERT_EQ(range.first, nextLine) << int(mode) << " n=" << n << " s=" << s;
                ASSERT_LE(range.first, range.last);
                ASSERT_LE(range.last - range.first, mode == SentenceMode::OneLine ? 0 : 1);
                for (int i = range.first; i <= range.last; ++i)
                    ASSERT_EQ(doc.sentenceOfLine(i, mode), (SentenceOfLine{s, i == range.first}))
                        << int(mode) << " n=" << n << " line=" << i;
                nextLine = range.last + 1;
            }
            EXPECT_EQ(nextLine, n) << int(mode) << " n=" << n;
        }
    }
}

TEST(SentenceMode, ReadsOutOfRangeSettingsAsOneLine) {
    EXPECT_EQ(sentenceModeFromSetting(0), SentenceMode::OneLine);
    EXPECT_EQ(sentenceModeFromSetting(1), SentenceMode::TwoLinesOddHead);
    EXPECT_EQ(sentenceModeFromSetting(2), SentenceMode::TwoLinesEvenHead);
    EXPECT_EQ(sentenceModeFromSetting(3), SentenceMode::OneLine);
    EXPECT_EQ(sentenceModeFromSetting(-1), SentenceMode::OneLine);
}

} // namespace
