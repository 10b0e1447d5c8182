// "lurvo-repeater --annotate": the program run as scripts run it, with a small dictionary of the
// test's own and no display.
#include "app/AnnotateCommand.h"
#include "TestFiles.h"
#include "pronunciation/ReadingChoices.h"
#include "subtitles/OffsetStore.h"
#include "subtitles/SubtitleDocument.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class AnnotateCommandTest : public lurvo::test::TempFolderTest {
protected:
    QTemporaryDir dictionary;
    QTemporaryDir config;
    QString lrc;

    void SetUp() override {
        const QByteArray head = "---\nname: test\n...\n";
        lurvo::test::writeFile(dictionary.filePath("jyut6ping3.chars.dict.yaml"),
                               head + "早\tzou2\n晨\tsan4\n你\tnei5\n");
        lurvo::test::writeFile(dictionary.filePath("jyut6ping3.words.dict.yaml"),
                               head + "早晨\tzou2 san4\n");
        lurvo::test::writeFile(dictionary.filePath("jyut6ping3.phrase.dict.yaml"), head);
        lrc = write("lesson.lrc", "[00:01.00]早晨\n[00:03.00]你\n");
    }

    // Runs the program with these arguments and the test's dictionary, cache and data folder;
    // display-less, as on a server. Its exit code; what it wrote to standard error in errors.
    int run(const QStringList& arguments, const QString& dictionaryFolder) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config.path());
        environment.insert(lurvo::app::kDictionaryFolderVariable, dictionaryFolder);
        environment.insert(lurvo::app::kIndexCacheVariable, config.filePath("index.bin"));
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(LURVO_PROGRAM), QStringList{"--annotate"} + arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        errors = QString::fromUtf8(program.readAllStandardError());
        output = QString::fromUtf8(program.readAllStandardOutput());
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }

    QString errors;
    QString output;
};

TEST_F(AnnotateCommandTest, WritesEachLineWithItsReadingAndHonoursTheLessonsOffsetAndChoices) {
    const QString out = dir.filePath("out.lrc");
    ASSERT_EQ(run({lrc, out}, dictionary.path()), 0) << errors.toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    EXPECT_EQ(read(out), "\xEF\xBB\xBF[00:01.00]早晨\r\n[00:01.00]zou2 san4\r\n"
                         "[00:03.00]你\r\n[00:03.00]nei5\r\n");

    // An MP3 beside the subtitles with an offset kept for it: the times as the learner hears
    // them.
    const QString mp3 = dir.filePath("lesson.mp3");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LURVO_SOURCE_DIR "/resources/eg.mp3"), mp3));
    ASSERT_TRUE(lurvo::subtitles::writeStoredOffset(QDir(config.path()).filePath("LurvoRepeater"),
                                                    lurvo::subtitles::computeLessonDigest(mp3),
                                                    500));
    ASSERT_EQ(run({lrc, out}, dictionary.path()), 0) << errors.toStdString();
    lurvo::subtitles::SubtitleDocument back;
    ASSERT_EQ(back.load(out), 1);
    ASSERT_EQ(back.lineCount(), 4);
    EXPECT_EQ(back.line(0).startMs, 500);
    EXPECT_EQ(back.line(1).startMs, 500);
    EXPECT_EQ(back.line(3).text, QStringLiteral("nei5"));
    EXPECT_EQ(back.line(3).startMs, 2500);

    // A reading the learner chose for the lesson comes out instead of the dictionary's.
    lurvo::pronunciation::ReadingChoices choices;
    choices.set({QStringLiteral("早晨"), 0, {QStringLiteral("zou1")}});
    ASSERT_TRUE(choices.save(QDir(config.path()).filePath("LurvoRepeater"),
                             lurvo::subtitles::computeLessonDigest(mp3)));
    ASSERT_EQ(run({lrc, out}, dictionary.path()), 0) << errors.toStdString();
    lurvo::subtitles::SubtitleDocument chosen;
    ASSERT_EQ(chosen.load(out), 1);
    EXPECT_EQ(chosen.line(1).text, QStringLiteral("zou1 san4"));
}

TEST_F(AnnotateCommandTest, FailuresExitNonZeroWithAMessage) {
    const QString out = dir.filePath("out.lrc");
    EXPECT_NE(run({dir.filePath("absent.lrc"), out}, dictionary.path()), 0);
    EXPECT_TRUE(errors.contains("absent.lrc")) << errors.toStdString();

    EXPECT_NE(run({write("empty.lrc", "no times here\n"), out}, dictionary.path()), 0);
    EXPECT_TRUE(errors.contains("empty.lrc")) << errors.toStdString();

    EXPECT_NE(run({lrc, out}, dir.filePath("no-dictionary")), 0);
    EXPECT_TRUE(errors.contains("rime-data-jyut6ping3")) << errors.toStdString();

    EXPECT_NE(run({lrc, dir.filePath("no-folder/out.lrc")}, dictionary.path()), 0);
    EXPECT_TRUE(errors.contains("no-folder/out.lrc")) << errors.toStdString();

    EXPECT_NE(run({lrc}, dictionary.path()), 0);
    EXPECT_TRUE(errors.contains("--annotate")) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

} // namespace
