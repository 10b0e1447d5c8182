#include "split/SplitJob.h"

#include "SplitTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <vector>

using namespace lurvo::split;
using lurvo::subtitles::SentenceMode;
using lurvo::test::evenLines;

namespace {

SplitJob job(int start, int end, int per, int firstNumber = 0) {
    SplitJob j;
    j.startSentence = start;
    j.endSentence = end;
    j.sentencesPerSegment = per;
    j.firstNumber = firstNumber;
    return j;
}

TEST(SplitJob, SegmentsCoverTheRunAndOnlyTheDocumentShortensTheLast) {
    const struct {
        const char* name;
        int lines;
        SentenceMode mode;
        SplitJob job;
        std::vector<SegmentSpan> spans; // sentences first..last, lines first..last
    } cases[] = {
        {"10 by 3",
         10,
         SentenceMode::OneLine,
         job(1, 10, 3),
         {{1, 3, 0, 2}, {4, 6, 3, 5}, {7, 9, 6, 8}, {10, 10, 9, 9}}},
        {"end 8 still spans 7-9",
         10,
         SentenceMode::OneLine,
         job(1, 8, 3),
         {{1, 3, 0, 2}, {4, 6, 3, 5}, {7, 9, 6, 8}}},
        {"a middle run", 10, SentenceMode::OneLine, job(4, 5, 4), {{4, 7, 3, 6}}},
        {"one sentence each",
         3,
         SentenceMode::OneLine,
         job(1, 3, 1),
         {{1, 1, 0, 0}, {2, 2, 1, 1}, {3, 3, 2, 2}}},
        {"more per segment than sentences",
         3,
         SentenceMode::OneLine,
         job(2, 3, INT_MAX),
         {{2, 3, 1, 2}}},
        {"odd head pairs",
         10,
         SentenceMode::TwoLinesOddHead,
         job(1, 5, 2),
         {{1, 2, 0, 3}, {3, 4, 4, 7}, {5, 5, 8, 9}}},
        {"odd head, last sentence alone at the end",
         9,
         SentenceMode::TwoLinesOddHead,
         job(2, 5, 3),
         {{2, 4, 2, 7}, {5, 5, 8, 8}}},
        {"even head: sentence 1 is one line",
         10,
         SentenceMode::TwoLinesEvenHead,
         job(1, 6, 2),
         {{1, 2, 0, 2}, {3, 4, 3, 6}, {5, 6, 7, 9}}},
        {"even head from the second sentence",
         11,
         SentenceMode::TwoLinesEvenHead,
         job(2, 6, 2),
         {{2, 3, 1, 4}, {4, 5, 5, 8}, {6, 6, 9, 10}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto doc = evenLines(c.lines);
        ASSERT_EQ(SegmentCount(c.job), int(c.spans.size()));
        for (int k = 1; k <= SegmentCount(c.job); ++k) {
            SCOPED_TRACE(k);
            const SegmentSpan got = segmentSpan(c.job, k, doc, c.mode);
            const SegmentSpan& want = c.spans[std::size_t(k - 1)];
            EXPECT_EQ(got.firstSentence, want.firstSentence);
            EXPECT_EQ(got.lastSentence, want.lastSentence);
            EXPECT_EQ(got.firstLine, want.firstLine);
            EXPECT_EQ(got.lastLine, want.lastLine);
        }
    }
}

TEST(SplitJob, SegmentCountIsZeroForJobsThatCoverNothing) {
    EXPECT_EQ(SegmentCount(job(1, 10, 0)), 0);
    EXPECT_EQ(SegmentCount(job(1, 10, -3)), 0);
    EXPECT_EQ(SegmentCount(job(5, 4, 1)), 0);
    EXPECT_EQ(SegmentCount(job(1, INT_MAX, 1)), INT_MAX);
    EXPECT_EQ(SegmentCount(job(1, INT_MAX, INT_MAX)), 1);
}

TEST(SplitJob, CutTimeTexts) {
    // The splitter reads "0.11.3" as 11.30 s: the hundredths always have both digits.
    const struct {
        int ms;
        const char* text;
    } cases[] = {
        {0, "0.0.00"},      {9, "0.0.00"},        {10, "0.0.01"},        {430, "0.0.43"},
        {11030, "0.11.03"}, {11300, "0.11.30"},   {65070, "1.5.07"},     {59990, "0.59.99"},
        {60000, "1.0.00"},  {4500000, "75.0.00"}, {4523450, "75.23.45"}, {-5, "0.0.00"},
        {-10, "0.0.00"},    {-4500000, "0.0.00"}, {INT_MIN, "0.0.00"},   {INT_MAX, "35791.23.64"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cutTimeText(c.ms), QString::fromLatin1(c.text)) << c.ms;
}

TEST(SplitJob, CutPointsEndAtTheNextLineOrAtTheEndOfFile) {
    auto doc = evenLines(4);
    doc.lines[1].startMs = 65070;
    doc.lines[2].startMs = 4500000;
    doc.lines[3].startMs = 4523450;
    EXPECT_EQ(cutPoints(doc, {1, 1, 0, 0}), (CutPoints{"0.0.43", "1.5.07"}));
    EXPECT_EQ(cutPoints(doc, {2, 3, 1, 2}), (CutPoints{"1.5.07", "75.23.45"}));
    EXPECT_EQ(cutPoints(doc, {3, 4, 2, 3}), (CutPoints{"75.0.00", "EOF"}));
    EXPECT_EQ(cutPoints(doc, {1, 4, 0, 3}), (CutPoints{"0.0.43", "EOF"}));
    // A subtitle offset that moved the first line before 0 cuts from the start.
    doc.lines[0].startMs = -250;
    EXPECT_EQ(cutPoints(doc, {1, 1, 0, 0}).begin, QStringLiteral("0.0.00"));
}

TEST(SplitJob, SegmentNames) {
    const struct {
        const char* lesson;
        int firstNumber;
        int k;
        const char* name;
    } cases[] = {
        {"/lessons/a.mp3", 0, 1, "a_0000"},
        {"/lessons/a.mp3", 0, 4, "a_0003"},
        {"/lessons/a.mp3", 9999, 1, "a_9999"},
        {"/lessons/a.mp3", 9999, 2, "a_10000"},
        {"/lessons/a.mp3", 123456, 1, "a_123456"},
        {"/lessons/a.mp3", INT_MAX, 1, "a_2147483647"},
        {"/lessons/a.mp3", INT_MAX, 3, "a_2147483649"},
        {"/lessons/a.mp3", -5, 1, "a_-0005"},
        {"/in.a folder/a.b.mp3", 7, 1, "a.b_0007"},
        {"/lessons/no extension", 0, 1, "no extension_0000"},
        {"it's \"a\" $x.MP3", 12, 1, "it's \"a\" $x_0012"},
        {"/lessons/Unit+1 @home.mp3", 0, 2, "Unit_1 _home_0001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(segmentName(QString::fromUtf8(c.lesson), c.firstNumber, c.k),
                  QString::fromUtf8(c.name))
            << c.lesson << " " << c.firstNumber << " " << c.k;
}

TEST(SplitJob, SegmentFolderLosesOneTrailingSeparator) {
    const struct {
        const char* given;
        const char* folder;
    } cases[] = {
        {"/tmp/out", "/tmp/out"},
        {"/tmp/out/", "/tmp/out"},
        {"/tmp/out\\", "/tmp/out"},
        {"/tmp//", "/tmp/"},
        {"C:\\", "C:"},
        {"/", "/"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(segmentFolder(QString::fromUtf8(c.given)), QString::fromUtf8(c.folder))
            << c.given;
}

TEST(SplitJob, PlansKeepEveryNameAsOneArgument) {
    auto doc = evenLines(6);
    const QString lesson = QStringLiteral("/t/it's a \"$x\" `y`;.mp3");
    SplitJob j = job(1, 6, 4, 9);
    j.destFolder = QStringLiteral("/o u$t 'q' & \"r\"/");

    j.frameExact = true;
    const SegmentPlan first = planSegment(j, 1, doc, SentenceMode::OneLine, lesson);
    EXPECT_EQ(first.name, QStringLiteral("it's a \"$x\" `y`;_0009"));
    EXPECT_EQ(first.subtitlePath, QStringLiteral("/o u$t 'q' & \"r\"/it's a \"$x\" `y`;_0009.lrc"));
    EXPECT_EQ(first.audioPath, QStringLiteral("/o u$t 'q' & \"r\"/it's a \"$x\" `y`;_0009.mp3"));
    EXPECT_EQ(first.span, (SegmentSpan{1, 4, 0, 3}));
    EXPECT_EQ(first.arguments, (QStringList{lesson, "0.0.43", "0.12.43", "-d", "/o u$t 'q' & \"r\"",
                                            "-o", "it's a \"$x\" `y`;_0009", "-f"}));

    j.frameExact = false;
    const SegmentPlan last = planSegment(j, 2, doc, SentenceMode::OneLine, lesson);
    EXPECT_EQ(last.arguments, (QStringList{lesson, "0.12.43", "EOF", "-d", "/o u$t 'q' & \"r\"",
                                           "-o", "it's a \"$x\" `y`;_0010"}));

    j.destFolder = QStringLiteral("/");
    const SegmentPlan root = planSegment(j, 1, doc, SentenceMode::OneLine, lesson);
    EXPECT_EQ(root.subtitlePath, QStringLiteral("/it's a \"$x\" `y`;_0009.lrc"));
    EXPECT_EQ(root.arguments.at(4), QStringLiteral("/"));
}

TEST(SplitJob, ExistingSegmentFilesAreFoundByTheJobsNames) {
    QTemporaryDir dir;
    SplitJob j = job(1, 10, 3, 7); // a_0007 to a_0010
    j.destFolder = dir.path() + u'/';
    const QString lesson = QStringLiteral("/lessons/a.mp3");
    EXPECT_TRUE(existingSegmentFiles(j, lesson).isEmpty());
    // Other names and other extensions are not the run's.
    for (const char* name : {"a_0010.lrc", "a_0006.mp3", "a_0011.lrc", "a_0008.wav", "a_0008.mp3",
                             "b_0008.mp3", "a_0007.lrc"}) {
        QFile file(dir.filePath(QLatin1StringView(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(existingSegmentFiles(j, lesson),
              (QStringList{dir.filePath("a_0007.lrc"), dir.filePath("a_0008.mp3"),
                           dir.filePath("a_0010.lrc")}));
    const QString question = overwriteQuestion(3, dir.filePath("a_0007.lrc"));
    EXPECT_TRUE(question.contains(QStringLiteral(" 3 个")));
    EXPECT_TRUE(question.contains(dir.filePath("a_0007.lrc")));
    EXPECT_TRUE(question.endsWith(QStringLiteral("是否覆盖？")));
}

TEST(SplitJob, EntriesReadAsUnsignedDecimals) {
    const struct {
        const char16_t* text;
        std::uint32_t value;
    } cases[] = {
        {u"", 0},           {u"0", 0},
        {u"12", 12},        {u"00012", 12},
        {u"  12 ", 12},     {u"12a", 0},
        {u"a12", 0},        {u"1 2", 0},
        {u"-1", 0},         {u"+1", 0},
        {u"1.5", 0},        {u"4294967295", 4294967295u},
        {u"4294967296", 0}, {u"99999999999999999999", 0},
        {u"１２", 0}, // full-width digits are not decimals here
    };
    for (const auto& c : cases)
        EXPECT_EQ(readUnsignedEntry(QString::fromUtf16(c.text)), c.value)
            << QString::fromUtf16(c.text).toStdString();
}

TEST(SplitJob, DialogCorrectionsInTheirOrder) {
    const struct {
        const char* name;
        const char* start;
        const char* end;
        const char* per;
        const char* first;
        DialogNumbers corrected;
    } cases[] = {
        {"as typed", "2", "7", "3", "5", {2, 7, 3, 5}},
        {"start 0", "0", "10", "1", "0", {1, 10, 1, 0}},
        {"start past the end", "11", "10", "1", "0", {10, 10, 1, 0}},
        {"end 0", "3", "0", "1", "0", {3, 10, 1, 0}},
        {"end past the last", "3", "99", "1", "0", {3, 10, 1, 0}},
        {"end below start", "5", "3", "1", "0", {5, 5, 1, 0}},
        {"end 0 after a start past the end", "12", "0", "1", "0", {10, 10, 1, 0}},
        {"not numbers", "x", "", "", "y", {1, 10, 0, 0}},
        // Read unsigned, compared signed: past INT_MAX counts as negative.
        {"start wraps negative", "4294967295", "4", "1", "0", {1, 4, 1, 0}},
        {"end wraps negative", "3", "2147483648", "1", "0", {3, 3, 1, 0}},
        {"first number wraps negative", "1", "2", "1", "3000000000", {1, 2, 1, 0}},
        {"per segment stays as read", "1", "2", "4294967295", "2147483647", {1, 2, -1, INT_MAX}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DialogNumbers read =
            readDialogNumbers(QString::fromUtf8(c.start), QString::fromUtf8(c.end),
                              QString::fromUtf8(c.per), QString::fromUtf8(c.first));
        const DialogNumbers got = correctedNumbers(read, 10);
        EXPECT_EQ(got.start, c.corrected.start);
        EXPECT_EQ(got.end, c.corrected.end);
        EXPECT_EQ(got.perSegment, c.corrected.perSegment);
        EXPECT_EQ(got.firstNumber, c.corrected.firstNumber);
    }
    EXPECT_EQ(correctedNumbers({0, 0, 1, 0}, 1), (DialogNumbers{1, 1, 1, 0}));
}

TEST(SplitJob, SentencesPerSegmentMustBeAPositiveSignedNumber) {
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {
        {"1", true},           {"3", true},           {"2147483647", true}, {"0", false},
        {"", false},           {"abc", false},        {"-1", false},        {"2147483648", false},
        {"4294967295", false}, {"4294967296", false},
    };
    for (const auto& c : cases) {
        const int per = readDialogNumbers(u"1", u"1", QString::fromUtf8(c.text), u"0").perSegment;
        EXPECT_EQ(acceptableSentencesPerSegment(per), c.accepted) << c.text;
    }
}

TEST(SplitJob, WriteTestCreatesAndRemovesItsFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("plain file"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(testFolderWritable(dir.path()), 0);
    EXPECT_EQ(testFolderWritable(dir.path() + u'/'), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plain file")});
    // Root is not stopped by permissions: a file as the folder, or no folder at all, is.
    EXPECT_EQ(testFolderWritable(file), ENOTDIR);
    EXPECT_EQ(testFolderWritable(dir.filePath(QStringLiteral("missing"))), ENOENT);
}

} // namespace
