// The command line: "--help" and "--version" answered without a window, the man page saying
// the same, and the files a file manager may pass.
#include "app/CommandLine.h"
#include "TestFiles.h"
#include "subtitles/SubtitleDocument.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

struct Answer {
    int exitCode = -1;
    QString output;
    QString errors;
};

// The program as a script on a server runs it: no display of any kind.
Answer runWithoutDisplay(const QStringList& arguments) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(LURVO_PROGRAM), arguments);
    EXPECT_TRUE(program.waitForFinished(30000));
    Answer answer;
    if (program.exitStatus() == QProcess::NormalExit)
        answer.exitCode = program.exitCode();
    answer.output = QString::fromUtf8(program.readAllStandardOutput());
    answer.errors = QString::fromUtf8(program.readAllStandardError());
    return answer;
}

// The options a text names: "-h", "--annotate"…; in a man page a hyphen is written "\-".
QSet<QString> optionsIn(QString text) {
    text.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--?[a-z][a-z-]*"));
    QSet<QString> options;
    for (const QRegularExpressionMatch& match : option.globalMatch(text))
        options.insert(match.captured());
    return options;
}

TEST(CommandLineTest, HelpAndVersionAnswerOnStandardOutputWithoutADisplay) {
    for (const QString& help : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Answer answer = runWithoutDisplay({help});
        EXPECT_EQ(answer.exitCode, 0) << answer.errors.toStdString();
        EXPECT_EQ(answer.output, lurvo::app::helpText()) << help.toStdString();
        EXPECT_TRUE(answer.errors.isEmpty()) << answer.errors.toStdString();
    }
    const Answer version = runWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << version.errors.toStdString();
    EXPECT_EQ(version.output, QStringLiteral("lurvo-repeater " LURVO_PROJECT_VERSION "\n"));
    EXPECT_TRUE(version.errors.isEmpty()) << version.errors.toStdString();

    // The help names every way to start the program.
    const QSet<QString> options = optionsIn(lurvo::app::helpText());
    for (const char* expected :
         {"--annotate", "--make-subtitles", "--min-pause", "--help", "-h", "--version"})
        EXPECT_TRUE(options.contains(QString::fromLatin1(expected))) << expected;
    EXPECT_TRUE(lurvo::app::helpText().contains(QStringLiteral("LESSON.mp3")));
    EXPECT_TRUE(lurvo::app::helpText().contains(QStringLiteral("LESSON.lrc")));
}

TEST(CommandLineTest, TheManPageDescribesTheOptionsOfTheHelpAndTheProjectsVersion) {
    const QString manPage =
        QString::fromUtf8(lurvo::test::readFile(QStringLiteral(LURVO_MAN_PAGE)));
    ASSERT_FALSE(manPage.isEmpty());
    EXPECT_EQ(optionsIn(manPage), optionsIn(lurvo::app::helpText()));
    EXPECT_TRUE(manPage.startsWith(
        QStringLiteral(".TH LURVO-REPEATER 1 \"\" \"lurvo-repeater " LURVO_PROJECT_VERSION "\"")));
}

class LessonArgumentTest : public lurvo::test::TempFolderTest {};

TEST_F(LessonArgumentTest, SubtitlesStandForTheMp3BesideThemAndAnythingElseIsPassedOn) {
    const QString mp3 = write("lesson.mp3", "ID3");
    const QString lrc = write("lesson.lrc", "[00:01.00]早晨\n");
    EXPECT_EQ(lurvo::app::lessonForArgument(lrc), mp3);
    EXPECT_EQ(lurvo::app::lessonForArgument(mp3), mp3);

    // Cue subtitles too, which a lesson opens from when it has no .lrc.
    const QString cueMp3 = write("cues.mp3", "ID3");
    EXPECT_EQ(lurvo::app::lessonForArgument(write("cues.srt", "")), cueMp3);
    EXPECT_EQ(lurvo::app::lessonForArgument(write("cues.VTT", "")), cueMp3);

    // Upper-case names, as old players wrote them.
    const QString upperMp3 = write("LOUD.MP3", "ID3");
    EXPECT_EQ(lurvo::app::lessonForArgument(write("LOUD.LRC", "")), upperMp3);

    // Subtitles without their MP3, and other files, reach the window as given, to be refused.
    const QString alone = write("alone.lrc", "[00:01.00]早晨\n");
    EXPECT_EQ(lurvo::app::lessonForArgument(alone), alone);
    const QString text = write("lesson.txt", "");
    EXPECT_EQ(lurvo::app::lessonForArgument(text), text);
    // Only the extension counts: "lrc" inside a name is not subtitles.
    const QString lrcName = write("lrc.wav", "");
    EXPECT_EQ(lurvo::app::lessonForArgument(lrcName), lrcName);
}

class MakeSubtitlesTest : public lurvo::test::TempFolderTest {
protected:
    // The sample lesson, without its subtitles.
    QString lesson(const QString& name) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(QFile::copy(QStringLiteral(LURVO_SOURCE_DIR "/resources/eg.mp3"), path));
        return path;
    }
};

TEST_F(MakeSubtitlesTest, WritesASentencePerPauseWithoutADisplayAndNeverOverSubtitles) {
    const QString mp3 = lesson("podcast.mp3");
    const Answer made = runWithoutDisplay({"--make-subtitles", mp3, "--min-pause", "400"});
    EXPECT_EQ(made.exitCode, 0) << made.errors.toStdString();
    EXPECT_TRUE(made.output.isEmpty());
    EXPECT_TRUE(made.errors.contains(QStringLiteral("100%"))) << made.errors.toStdString();

    // The sample's sentences, each found a little before its own start.
    lurvo::subtitles::SubtitleDocument truth;
    ASSERT_EQ(truth.load(QStringLiteral(LURVO_SOURCE_DIR "/resources/eg.lrc")), 1);
    lurvo::subtitles::SubtitleDocument found;
    ASSERT_EQ(found.load(dir.filePath("podcast.lrc")), 1);
    ASSERT_EQ(found.lineCount(), truth.lineCount());
    for (int i = 0; i < found.lineCount(); ++i) {
        EXPECT_LE(found.line(i).startMs, truth.line(i).startMs) << i;
        EXPECT_GE(found.line(i).startMs, truth.line(i).startMs - 130) << i;
        EXPECT_EQ(found.line(i).text, QStringLiteral("第%1句").arg(i + 1));
    }

    // Run again, or beside subtitles of any case, it leaves them as they are.
    const QByteArray written = read(dir.filePath("podcast.lrc"));
    const Answer again = runWithoutDisplay({"--make-subtitles", mp3});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.errors.contains(QStringLiteral("podcast.lrc"))) << again.errors.toStdString();
    EXPECT_EQ(read(dir.filePath("podcast.lrc")), written);
    const QString upper = lesson("radio.mp3");
    write("radio.LRC", "[00:01.00]早晨\r\n");
    EXPECT_EQ(runWithoutDisplay({"--make-subtitles", upper}).exitCode, 1);
    EXPECT_EQ(read(dir.filePath("radio.LRC")), QByteArray("[00:01.00]早晨\r\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath("radio.lrc")));
}

TEST_F(MakeSubtitlesTest, RefusesUnreadableFilesAndPausesOutOfRangeWithAMessage) {
    const QString mp3 = lesson("lesson.mp3");
    for (const QString& pause :
         {QStringLiteral("149"), QStringLiteral("2001"), QStringLiteral("x"), QString()}) {
        QStringList arguments{"--make-subtitles", mp3, "--min-pause"};
        if (!pause.isEmpty())
            arguments << pause;
        const Answer answer = runWithoutDisplay(arguments);
        EXPECT_NE(answer.exitCode, 0) << pause.toStdString();
        EXPECT_TRUE(answer.errors.contains(QStringLiteral("--min-pause")))
            << answer.errors.toStdString();
    }
    EXPECT_NE(runWithoutDisplay({"--make-subtitles"}).exitCode, 0);

    const Answer missing = runWithoutDisplay({"--make-subtitles", dir.filePath("gone.mp3")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.errors.contains(QStringLiteral("gone.mp3")))
        << missing.errors.toStdString();
    const QString text = write("notes.mp3", QByteArray("这不是音频。\n").repeated(100));
    const Answer notAudio = runWithoutDisplay({"--make-subtitles", text});
    EXPECT_EQ(notAudio.exitCode, 1);
    EXPECT_FALSE(notAudio.errors.trimmed().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("notes.lrc")));
    EXPECT_FALSE(QFile::exists(dir.filePath("lesson.lrc")));
}

} // namespace
