#include "PronunciationTestSupport.h"

#include "pronunciation/DictionaryFile.h"
#include "pronunciation/JyutpingIndex.h"
#include "pronunciation/ReadingSubtitles.h"
#include "subtitles/SubtitleDocument.h"

using lurvo::pronunciation::JyutpingIndex;
using lurvo::subtitles::SentenceMode;
using lurvo::subtitles::SubtitleDocument;

namespace {

JyutpingIndex lessonIndex() {
    const auto entries = [](const QStringList& lines) {
        return lurvo::pronunciation::parseDictionary(lurvo::test::dictionaryFile(u"t"_qs, lines))
            .entries;
    };
    return JyutpingIndex::build(
        entries({u"銀\tngan4"_qs, u"行\thang4"_qs, u"唔\tm4"_qs, u"該\tgoi1"_qs}),
        entries({u"銀行\tngan4 hong4"_qs}));
}

class ReadingSubtitlesTest : public lurvo::test::TempFolderTest {
protected:
    JyutpingIndex index = lessonIndex();
    lurvo::pronunciation::TextAnnotator annotate = [this](const QString& text) {
        return index.annotate(text);
    };
};

TEST_F(ReadingSubtitlesTest, EveryLineIsFollowedByItsReadingAtTheSameTime) {
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(write(
                  u"lesson.lrc"_qs,
                  "[ti:Lesson]\r\n[00:01.00]\xE5\x94\x94\xE8\xA9\xB2, OK\r\n"
                  "[00:02.50]Hello 123\r\n[00:04.00]\xE5\x8E\xBB\xE9\x8A\x80\xE8\xA1\x8C\r\n")),
              1);
    const QString out = dir.filePath(u"out.lrc"_qs);
    ASSERT_EQ(lurvo::pronunciation::writeReadingSubtitles(doc, annotate, out), 0);

    const QByteArray bytes = read(out);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF[ti:Lesson]\r\n"));
    // A line without syllables keeps an empty reading line; 去 has no entry and is left out.
    EXPECT_TRUE(bytes.endsWith("[00:01.00]\xE5\x94\x94\xE8\xA9\xB2, OK\r\n[00:01.00]m4 goi1\r\n"
                               "[00:02.50]Hello 123\r\n[00:02.50]\r\n"
                               "[00:04.00]\xE5\x8E\xBB\xE9\x8A\x80\xE8\xA1\x8C\r\n"
                               "[00:04.00]ngan4 hong4\r\n"))
        << bytes.toStdString();

    // Read back, sentence mode 1 pairs each text with its reading.
    SubtitleDocument back;
    ASSERT_EQ(back.load(out), 1);
    ASSERT_EQ(back.sentenceCount(SentenceMode::TwoLinesOddHead), 3);
    const auto pair = back.linesOfSentence(3, SentenceMode::TwoLinesOddHead);
    EXPECT_EQ(back.line(pair.first).text, u"去銀行"_qs);
    EXPECT_EQ(back.line(pair.last).text, u"ngan4 hong4"_qs);
    EXPECT_EQ(back.line(pair.last).startMs, 4000);
    EXPECT_EQ(back.line(2).text, u"Hello 123"_qs);
    EXPECT_EQ(back.line(3).text, QString());
}

TEST_F(ReadingSubtitlesTest, TimesAreAsHeardWithBothOffsets) {
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(write(u"lesson.lrc"_qs,
                             "[offset:500]\n[00:10.00]\xE5\x94\x94\n[00:20.00]\xE8\xA9\xB2\n")),
              1);
    doc.applyOffset(1000); // the learner's per-lesson offset: lines come a second earlier
    const QString out = dir.filePath(u"out.lrc"_qs);
    ASSERT_EQ(lurvo::pronunciation::writeReadingSubtitles(doc, annotate, out), 0);

    SubtitleDocument back;
    ASSERT_EQ(back.load(out), 1);
    ASSERT_EQ(back.lineCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(back.line(i).startMs, doc.line(i / 2).startMs) << i;
    EXPECT_EQ(back.line(1).text, u"m4"_qs);
}

TEST_F(ReadingSubtitlesTest, UnwritableTargetGivesAnError) {
    SubtitleDocument doc;
    ASSERT_EQ(doc.load(write(u"lesson.lrc"_qs, "[00:01.00]\xE5\x94\x94\n")), 1);
    EXPECT_NE(lurvo::pronunciation::writeReadingSubtitles(
                  doc, annotate, dir.filePath(u"no-such-folder/out.lrc"_qs)),
              0);
    EXPECT_EQ(lurvo::pronunciation::readingSubtitlePathFor(u"/a/b/lesson.one.lrc"_qs),
              u"/a/b/lesson.one.jyutping.lrc"_qs);
}

} // namespace
