// The subtitles written from found sentences: what the lesson reader makes of them, and that
// they never replace a file.
#include "TestFiles.h"
#include "pauses/PauseAnalysis.h"
#include "subtitles/SubtitleDocument.h"

#include <QFile>

namespace {

using lurvo::pauses::Span;
using lurvo::pauses::writePauseSubtitles;

class PauseSubtitlesTest : public lurvo::test::TempFolderTest {};

TEST_F(PauseSubtitlesTest, TheReaderFindsOneNumberedLinePerSentenceAfterTheHeader) {
    const QList<Span> sentences{{0, 1500, 0}, {2087, 4000, 2167}, {3'599'990, 3'601'000, 0}};
    const QString path = dir.filePath("lesson.lrc");
    ASSERT_EQ(writePauseSubtitles(path, sentences), QString());

    const QByteArray bytes = read(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF["));
    EXPECT_TRUE(bytes.endsWith("[59:59.99]第3句\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 4);
    EXPECT_EQ(bytes.count('\n'), 4);

    lurvo::subtitles::SubtitleDocument document;
    ASSERT_EQ(document.load(path), 1);
    ASSERT_EQ(document.lineCount(), 3);
    EXPECT_EQ(document.skippedLines, 0);
    // Rounded down to the hundredth: a line never starts after its sound.
    EXPECT_EQ(document.line(0).startMs, 0);
    EXPECT_EQ(document.line(1).startMs, 2080);
    EXPECT_EQ(document.line(1).text, QStringLiteral("第2句"));
    EXPECT_EQ(document.line(2).startMs, 3'599'990);
    EXPECT_TRUE(document.header.contains(QStringLiteral("按停顿自动分句")));
    EXPECT_EQ(document.sentenceCount(lurvo::subtitles::SentenceMode::OneLine), 3);
}

TEST_F(PauseSubtitlesTest, AnExistingFileIsNeverReplaced) {
    const QString path = write("lesson.lrc", "[00:01.00]早晨\r\n");
    const QString error = writePauseSubtitles(path, {{0, 1000, 80}});
    EXPECT_TRUE(error.contains(QStringLiteral("lesson.lrc"))) << error.toStdString();
    EXPECT_EQ(read(path), QByteArray("[00:01.00]早晨\r\n"));

    // A folder that cannot be written to: a message, and nothing left behind.
    const QString missing = dir.filePath("no-such-folder/lesson.lrc");
    EXPECT_FALSE(writePauseSubtitles(missing, {{0, 1000, 80}}).isEmpty());
    EXPECT_FALSE(QFile::exists(missing));
}

} // namespace
