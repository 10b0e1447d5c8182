#include "readalong/Destination.h"

#include <QDir>
#include <QFile>
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

} // namespace
