#include "readalong/Destination.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lurvo::readalong;

namespace {

TEST(RecordingPath, IsAlwaysAnMp3) {
    const struct {
        const char* chosen;
        const char* stored;
    } cases[] = {
        {"/home/me/reading.mp3", "/home/me/reading.mp3"},
        {"/home/me/reading.MP3", "/home/me/reading.MP3"},
        {"/home/me/reading.wav", "/home/me/reading.wav.mp3"},
        {"/home/me/reading", "/home/me/reading.mp3"},
        {"/home/me.d/reading", "/home/me.d/reading.mp3"},
        {"/home/me/reading.mp3.txt", "/home/me/reading.mp3.txt.mp3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(recordingPathFor(QString::fromUtf8(c.chosen)), QString::fromUtf8(c.stored))
            << c.chosen;
}

TEST(RecordingPath, MayNotBeTheLessonItself) {
    QTemporaryDir dir;
    const QString lesson = dir.filePath("Lesson.mp3");
    QFile(lesson).open(QIODevice::WriteOnly);
    EXPECT_TRUE(overwritesLesson(lesson, lesson));
    EXPECT_TRUE(overwritesLesson(dir.filePath("LESSON.mp3"), lesson)) << "any letter case";
    EXPECT_TRUE(overwritesLesson(dir.filePath("sub/../Lesson.mp3"), lesson));
    // The same file through a link.
    const QString link = dir.filePath("link.mp3");
    ASSERT_TRUE(QFile::link(lesson, link));
    EXPECT_TRUE(overwritesLesson(link, lesson));
    EXPECT_FALSE(overwritesLesson(dir.filePath("reading.mp3"), lesson));
    EXPECT_FALSE(overwritesLesson(QString(), lesson));
}

class RecordingTakeTest : public lurvo::test::TempFolderTest {
protected:
    QString reason;
    QStringList files() const {
        return QDir(dir.path())
            .entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(RecordingTakeTest, IsWrittenBesideTheDestinationAndReplacesItWhenKept) {
    const QString destination = write("reading.mp3", "the last recording");
    ASSERT_TRUE(QFile::setPermissions(destination, QFileDevice::ReadOwner));
    RecordingTake take;
    ASSERT_TRUE(take.begin(destination, &reason)) << reason.toStdString();
    const QFileInfo written(take.path());
    EXPECT_EQ(written.absolutePath(), QFileInfo(destination).absolutePath());
    EXPECT_TRUE(written.fileName().startsWith(QStringLiteral(".reading.mp3.")));
    EXPECT_FALSE(written.exists()) << "the recorder makes the file itself";
    lurvo::test::writeFile(take.path(), "this take");
    EXPECT_EQ(read(destination), "the last recording");
    EXPECT_TRUE(take.keep(&reason)) << reason.toStdString();
    EXPECT_EQ(read(destination), "this take");
    EXPECT_EQ(files(), QStringList{"reading.mp3"});
    EXPECT_TRUE(take.path().isEmpty());
}

TEST_F(RecordingTakeTest, TakeWithNothingInItNeverReplacesTheDestination) {
    const QString destination = write("reading.mp3", "the last recording");
    RecordingTake take;
    // Never written, as when the recording could not start.
    ASSERT_TRUE(take.begin(destination, &reason));
    EXPECT_FALSE(take.keep(&reason));
    EXPECT_TRUE(reason.isEmpty());
    // Written but empty.
    ASSERT_TRUE(take.begin(destination, &reason));
    lurvo::test::writeFile(take.path(), "");
    EXPECT_FALSE(take.keep(&reason));
    // Discarded, begun anew, or left to its destructor.
    ASSERT_TRUE(take.begin(destination, &reason));
    lurvo::test::writeFile(take.path(), "a failed take");
    take.discard();
    ASSERT_TRUE(take.begin(destination, &reason));
    lurvo::test::writeFile(take.path(), "a failed take");
    {
        RecordingTake left;
        ASSERT_TRUE(left.begin(destination, &reason));
        lurvo::test::writeFile(left.path(), "a failed take");
        ASSERT_TRUE(take.begin(destination, &reason));
    }
    take.discard();
    EXPECT_EQ(read(destination), "the last recording");
    EXPECT_EQ(files(), QStringList{"reading.mp3"});
}

TEST_F(RecordingTakeTest, FailuresSayWhyAndLeaveNothingBehind) {
    RecordingTake take;
    EXPECT_FALSE(take.begin(dir.filePath("missing/reading.mp3"), &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(take.path().isEmpty());

    // A folder where the recording belongs is not replaced.
    const QString folder = dir.filePath("reading.mp3");
    ASSERT_TRUE(QDir().mkpath(folder + "/inner"));
    ASSERT_TRUE(take.begin(folder, &reason));
    lurvo::test::writeFile(take.path(), "this take");
    EXPECT_FALSE(take.keep(&reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(QFileInfo(folder + "/inner").isDir());
    EXPECT_EQ(files(), QStringList{"reading.mp3"});
}

} // namespace
