// The command line: "--help" and "--version" answered without a window, the man page saying
// the same, and the files a file manager may pass.
#include "app/CommandLine.h"
#include "TestFiles.h"

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
    for (const char* expected : {"--annotate", "--help", "-h", "--version"})
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

} // namespace
