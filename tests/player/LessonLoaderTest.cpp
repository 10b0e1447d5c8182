#include "player/LessonLoader.h"
#include "../subtitles/TestData.h"
#include "Fakes.h"
#include "SpeechEnvelope.h"
#include "media/Elements.h"
#include "media/MediaPlayer.h"
#include "player/SentencePlayer.h"
#include "subtitles/LrcDecoding.h"
#include "subtitles/OffsetStore.h"
#include "subtitles/SubtitleDocument.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace lurvo::player;
using lurvo::test::dataPath;
using lurvo::test::FakeViews;

namespace {

class FakeUi : public LessonUi {
public:
    QString openDialogAnswer;
    QStringList dialogFolders; // where each open dialog started
    bool yesAnswer = false;
    Answer answer = Answer::No;
    QStringList questions;
    bool pauseAnswer = false; // to finding the sentences from the pauses
    QStringList yesNoQuestions;
    lurvo::pauses::EnvelopeResult measured; // what the progress dialog ends with
    QStringList measuredLessons;
    // The settings dialog: its answer, what it was shown, and what happens while it is open.
    std::optional<lurvo::pauses::PauseOptions> pauseOptions = lurvo::pauses::PauseOptions{};
    QList<qsizetype> shownEnvelopes; // their number of levels
    std::function<void()> whileChoosing;
    QStringList errors;
    QStringList notices;
    QList<QUrl> urls;
    QList<QStringList> repairs; // program, then its arguments
    int fills = 0;
    int clears = 0;
    QString offsetText;
    bool offsetButton = false;
    QString caption;

    QString askLessonPath(const QString& folder) override {
        dialogFolders << folder;
        return openDialogAnswer;
    }
    void showError(const QString& text) override { errors << text; }
    void showInfo(const QString& text) override { notices << text; }
    Answer askYesNoCancel(const QString& text) override {
        questions << text;
        return answer;
    }
    bool askYesNo(const QString& text) override {
        yesNoQuestions << text;
        return pauseAnswer;
    }
    lurvo::pauses::EnvelopeResult measureLoudness(const QString& mp3Path) override {
        measuredLessons << mp3Path;
        return measured;
    }
    std::optional<lurvo::pauses::PauseOptions>
    askPauseOptions(const lurvo::pauses::Envelope& envelope) override {
        shownEnvelopes << envelope.levelsDb.size();
        if (whileChoosing)
            whileChoosing();
        return pauseOptions;
    }
    void openUrl(const QUrl& url) override { urls << url; }
    void runRepairTool(const QString& program, const QStringList& arguments) override {
        repairs << (QStringList{program} + arguments);
        // The real program, started as the wait dialog starts it.
        QProcess::execute(program, arguments);
    }
    void fillList() override { ++fills; }
    void clearList() override { ++clears; }
    void setOffsetText(const QString& text, bool enabled) override {
        offsetText = text;
        offsetButton = enabled;
    }
    void setCaption(const QString& text) override { caption = text; }
};

class LessonLoaderTest : public testing::Test {
protected:
    QTemporaryDir lessons;
    QTemporaryDir data;
    QByteArray renderer = "fakesink sync=true";
    bool audioOutput = true;
    int saveResult = 0;
    bool saveConverts = false; // the save had to write UTF-8
    bool realSave = false;     // edits go to the disk as the program writes them
    PlaybackState state;
    PlaybackSettings settings;
    FakeViews views;
    FakeUi ui;
    SentencePlayer sentences{state, views, [this] { return settings; }};
    LessonLoader loader{state, sentences, views, ui, environment(), [] { return LessonAudio{}; }};

    LessonEnvironment environment() {
        LessonEnvironment env;
        env.resourceFolder = lessons.filePath("no-resources");
        env.dataFolder = QDir(data.path()).filePath("LurvoRepeater");
        env.downloadPage = QUrl("file:///site/down/index.html");
        env.makePlayer = [this] { return std::make_unique<lurvo::media::MediaPlayer>(renderer); };
        env.hasAudioOutput = [this] { return audioOutput; };
        env.save = [this](lurvo::subtitles::SubtitleDocument& doc) {
            if (realSave)
                return doc.save();
            doc.convertedToUtf8 = saveConverts;
            return saveResult;
        };
        return env;
    }

    // Copies a fixture MP3 (and its subtitles unless told otherwise) under a new name.
    QString copyLesson(const QString& mp3, const QString& name, const QString& lrc = {}) {
        const QString target = lessons.filePath(name);
        EXPECT_TRUE(QFile::copy(dataPath(mp3), target));
        if (!lrc.isNull()) {
            EXPECT_TRUE(QFile::copy(dataPath(lrc), subtitlePathFor(target)));
        }
        return target;
    }
};

TEST_F(LessonLoaderTest, OpensALessonAndStartsPlayingItsFirstLine) {
    const QString mp3 = copyLesson("lessons/one-line.mp3", "lesson.mp3", "lessons/one-line.lrc");
    loader.OpenLesson(mp3);
    ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_TRUE(state.lessonLoaded);
    EXPECT_EQ(state.playState, PlayState::Playing);
    EXPECT_EQ(state.currentLine, 0);
    EXPECT_EQ(loader.lessonPath, mp3);
    EXPECT_EQ(loader.subtitlePath, lessons.filePath("lesson.lrc"));
    EXPECT_EQ(ui.caption, "lesson - LurvoV1.0");
    EXPECT_EQ(ui.offsetText, "0");
    EXPECT_TRUE(ui.offsetButton);
    EXPECT_EQ(ui.fills, 1);
    EXPECT_EQ(views.status[3], mp3);
    EXPECT_EQ(views.status[1], "1 / 6");
    EXPECT_TRUE(ui.repairs.isEmpty()) << "a playable lesson needs no repair";
    EXPECT_EQ(loader.lessonDigest, lurvo::subtitles::computeLessonDigest(mp3));

    EXPECT_TRUE(loader.CloseLesson());
    EXPECT_FALSE(state.lessonLoaded);
    EXPECT_FALSE(loader.document);
    EXPECT_FALSE(loader.player);
    EXPECT_EQ(ui.caption, "LurvoV1.0");
    EXPECT_EQ(ui.offsetText, "0");
    EXPECT_FALSE(ui.offsetButton);
    EXPECT_EQ(views.status[0], QString::fromUtf8("还未载入mp3文件"));
    EXPECT_TRUE(views.status[3].isEmpty());
    // The offset is written at every close, 0 included.
    EXPECT_TRUE(QFile::exists(
        lurvo::subtitles::offsetFilePath(environment().dataFolder, loader.lessonDigest)));
}

TEST_F(LessonLoaderTest, CapitalExtensionStillFindsTheSubtitles) {
    copyLesson("lessons/one-line.mp3", "SHOUT.MP3");
    ASSERT_TRUE(QFile::copy(dataPath("lessons/one-line.lrc"), lessons.filePath("SHOUT.lrc")));
    loader.OpenLesson(lessons.filePath("SHOUT.MP3"));
    EXPECT_TRUE(state.lessonLoaded);
}

// The lesson's own sentences as a cue file: an .srt made from its .lrc.
const QByteArray kOneLineSrt = "\xEF\xBB\xBF"
                               "1\r\n00:00:00,430 --> 00:00:02,610\r\n<i>唔該，兩位。</i>\r\n\r\n"
                               "2\r\n00:00:02,610 --> 00:00:05,000\r\n有冇餐牌睇呀？\r\n\r\n"
                               "3\r\n00:00:05,000 --> 00:00:09,230\r\n我要一個餐蛋麵\r\n"
                               "同一杯熱檸茶。\r\n\r\n"
                               "4\r\n00:00:09,230 --> 00:00:xx,000\r\n呢個套餐包唔包飲品㗎？\r\n";

TEST_F(LessonLoaderTest, CueFileLessonSavesItsEditsAsAnLrcThatIsUsedFromThenOn) {
    const QString mp3 = copyLesson("lessons/one-line.mp3", "cafe.mp3");
    const QString srt = lessons.filePath("cafe.srt");
    const QString lrc = lessons.filePath("cafe.lrc");
    lurvo::test::writeFile(srt, kOneLineSrt);
    realSave = true;
    loader.OpenLesson(mp3);
    ASSERT_TRUE(state.lessonLoaded) << ui.errors.join('|').toStdString();
    EXPECT_EQ(loader.subtitlePath, srt);
    EXPECT_EQ(loader.document->cueFile, srt);
    ASSERT_EQ(loader.document->lineCount(), 3);
    EXPECT_EQ(loader.document->line(0).text, QString::fromUtf8("唔該，兩位。"));
    EXPECT_EQ(loader.document->line(2).startMs, 5000);
    EXPECT_EQ(loader.document->line(2).text, QString::fromUtf8("我要一個餐蛋麵 同一杯熱檸茶。"));
    EXPECT_EQ(loader.document->skippedLines, 1);
    EXPECT_EQ(state.playState, PlayState::Playing);

    // Edits left at the end of a session wait beside the .lrc they will be saved as.
    loader.document->setLineText(1, QStringLiteral("edited"));
    loader.EndSession();
    EXPECT_TRUE(QFile::exists(lrc + ".recovery"));
    EXPECT_FALSE(QFile::exists(lrc));
    // As if the program had ended there: the next opening offers them again.
    loader.document->modified = false;
    ASSERT_TRUE(loader.CloseLesson());
    ui.answer = Answer::Yes;
    loader.OpenLesson(mp3);
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(loader.subtitlePath, srt);
    EXPECT_EQ(loader.document->line(1).text, "edited");

    ASSERT_TRUE(loader.CloseLesson());
    ASSERT_EQ(ui.questions.size(), 2);
    EXPECT_EQ(ui.questions[1], QString::fromUtf8("是否保存对字幕所做的修改？\r\n") + lrc);
    EXPECT_EQ(lurvo::test::readFile(srt), kOneLineSrt);
    EXPECT_FALSE(QFile::exists(lrc + ".recovery")) << "saved with the edits it held";

    loader.OpenLesson(mp3);
    ASSERT_TRUE(state.lessonLoaded) << ui.errors.join('|').toStdString();
    EXPECT_EQ(loader.subtitlePath, lrc);
    EXPECT_TRUE(loader.document->cueFile.isEmpty());
    ASSERT_EQ(loader.document->lineCount(), 3);
    EXPECT_EQ(loader.document->line(1).text, "edited");
    EXPECT_EQ(loader.document->line(2).startMs, 5000);
    EXPECT_EQ(ui.questions.size(), 2) << "no recovery left to offer";
}

// The subtitle extension in another case opens the lesson; edits go back to that same file.
TEST_F(LessonLoaderTest, SubtitlesAreFoundWhateverTheCaseOfTheirExtension) {
    const QString upper = copyLesson("lessons/one-line.mp3", "UPPER.MP3");
    ASSERT_TRUE(QFile::copy(dataPath("lessons/one-line.lrc"), lessons.filePath("UPPER.LRC")));
    loader.OpenLesson(upper);
    ASSERT_TRUE(state.lessonLoaded) << ui.errors.join('|').toStdString();
    EXPECT_EQ(loader.subtitlePath, lessons.filePath("UPPER.LRC"));
}

TEST(FindSubtitleFile, TheExactNameWinsThenTheMp3sOwnCase) {
    QTemporaryDir dir;
    const auto touch = [&](const QString& name) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    };
    EXPECT_TRUE(findSubtitleFile(dir.filePath("a.mp3")).isEmpty());
    touch("a.LRC");
    EXPECT_EQ(findSubtitleFile(dir.filePath("a.mp3")), dir.filePath("a.LRC"));
    touch("a.lRc");
    touch("a.lrc");
    EXPECT_EQ(findSubtitleFile(dir.filePath("a.mp3")), dir.filePath("a.lrc"));
    // Only the extension may differ in case, never the name.
    EXPECT_TRUE(findSubtitleFile(dir.filePath("A.mp3")).isEmpty());

    touch("B.LRC");
    touch("B.Lrc");
    EXPECT_EQ(findSubtitleFile(dir.filePath("B.MP3")), dir.filePath("B.LRC"));
    EXPECT_EQ(findSubtitleFile(dir.filePath("B.Mp3")), dir.filePath("B.Lrc"));
    touch("B.lrc");
    EXPECT_EQ(findSubtitleFile(dir.filePath("B.MP3")), dir.filePath("B.lrc"));
}

TEST(FindSubtitleFile, LrcBeforeSrtBeforeVttInAnyCase) {
    QTemporaryDir dir;
    const auto touch = [&](const QString& name) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    };
    const QString mp3 = dir.filePath("c.mp3");
    touch("c.VTT");
    EXPECT_EQ(findSubtitleFile(mp3), dir.filePath("c.VTT"));
    touch("c.Srt");
    EXPECT_EQ(findSubtitleFile(mp3), dir.filePath("c.Srt"));
    touch("c.srt");
    EXPECT_EQ(findSubtitleFile(mp3), dir.filePath("c.srt"));
    touch("c.lRC");
    EXPECT_EQ(findSubtitleFile(mp3), dir.filePath("c.lRC"));
    EXPECT_TRUE(findSubtitleFile(dir.filePath("C.mp3")).isEmpty());

    touch("D.SRT");
    touch("D.Srt");
    EXPECT_EQ(findSubtitleFile(dir.filePath("D.MP3")), dir.filePath("D.SRT"));
    EXPECT_EQ(findSubtitleFile(dir.filePath("D.Mp3")), dir.filePath("D.Srt"));
}

TEST_F(LessonLoaderTest, SubtitleFailuresLeaveNoLesson) {
    const QString bare = copyLesson("lessons/one-line.mp3", "bare.mp3");
    loader.OpenLesson(bare);
    // 否 to finding the sentences from the pauses: the message and the download page, as ever.
    EXPECT_EQ(ui.yesNoQuestions,
              QStringList{QString::fromUtf8("没有字幕文件。是否按停顿自动分句？")});
    EXPECT_TRUE(ui.measuredLessons.isEmpty());
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QString::fromUtf8("缺少同名字幕文件：\r\n")));
    EXPECT_TRUE(ui.errors[0].contains("bare.lrc"));
    EXPECT_EQ(ui.urls, QList<QUrl>{QUrl("file:///site/down/index.html")});
    EXPECT_FALSE(QFile::exists(subtitlePathFor(bare)));

    const QString folder = copyLesson("lessons/one-line.mp3", "folder.mp3");
    ASSERT_TRUE(QDir().mkdir(subtitlePathFor(folder)));
    loader.OpenLesson(folder);
    ASSERT_EQ(ui.errors.size(), 2);
    EXPECT_EQ(ui.errors[1], QString::fromUtf8("读取字幕文件失败：\r\n") +
                                QString::fromLocal8Bit(std::strerror(EISDIR)));

    const QString invalid = copyLesson("lessons/one-line.mp3", "invalid.mp3");
    QFile lrc(subtitlePathFor(invalid));
    ASSERT_TRUE(lrc.open(QIODevice::WriteOnly));
    lrc.write("[ti:no timed lines]\n");
    lrc.close();
    loader.OpenLesson(invalid);
    ASSERT_EQ(ui.errors.size(), 3);
    EXPECT_TRUE(ui.errors[2].startsWith(QString::fromUtf8("字幕文件内容有误：\r\n")));

    const QString large = copyLesson("lessons/one-line.mp3", "large.mp3");
    QFile big(subtitlePathFor(large));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(lurvo::subtitles::kMaxSubtitleFileBytes + 1));
    big.close();
    loader.OpenLesson(large);
    ASSERT_EQ(ui.errors.size(), 4);
    EXPECT_EQ(ui.errors[3], QString::fromUtf8("字幕文件太大（超过 16 MB），未能读取：\r\n") +
                                subtitlePathFor(large));
    EXPECT_FALSE(state.lessonLoaded);
    EXPECT_FALSE(loader.document);
    EXPECT_FALSE(loader.player);
}

// 是 to the pause question: the lesson opens from the subtitles found in its pauses, with the
// learner's settings, through the same path as any other lesson.
TEST_F(LessonLoaderTest, SubtitlesFromThePausesAreWrittenAndOpened) {
    ui.pauseAnswer = true;
    ui.measured.envelope = lurvo::test::speechEnvelope({500, 1000, 500});
    ui.pauseOptions = lurvo::pauses::PauseOptions{800, 35.0};
    const QString mp3 = copyLesson("lessons/one-line.mp3", "podcast.mp3");
    loader.OpenLesson(mp3);
    ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(ui.measuredLessons, QStringList{mp3});
    EXPECT_EQ(ui.shownEnvelopes, QList<qsizetype>{ui.measured.envelope.levelsDb.size()});
    EXPECT_TRUE(ui.urls.isEmpty());

    ASSERT_TRUE(state.lessonLoaded);
    EXPECT_EQ(loader.subtitlePath, lessons.filePath("podcast.lrc"));
    ASSERT_TRUE(loader.document);
    // Only the 1 s pause is as long as the chosen 800 ms.
    ASSERT_EQ(loader.document->lineCount(), 2);
    EXPECT_EQ(loader.document->line(1).text, QString::fromUtf8("第2句"));
    EXPECT_EQ(views.status[1], "1 / 2");
    EXPECT_EQ(state.playState, PlayState::Playing);
    EXPECT_EQ(ui.fills, 1);
    EXPECT_EQ(ui.caption, "podcast - LurvoV1.0");

    // From now on the lesson has subtitles: no question the next time.
    ASSERT_TRUE(loader.CloseLesson());
    loader.OpenLesson(mp3);
    EXPECT_TRUE(state.lessonLoaded);
    EXPECT_EQ(ui.yesNoQuestions.size(), 1);
    EXPECT_EQ(ui.measuredLessons.size(), 1);
}

TEST_F(LessonLoaderTest, CancelledOrFailedAnalysisOpensNothingAndWritesNothing) {
    ui.pauseAnswer = true;
    const QString mp3 = copyLesson("lessons/one-line.mp3", "podcast.mp3");
    const auto expectNothing = [&](const char* when) {
        EXPECT_FALSE(state.lessonLoaded) << when;
        EXPECT_FALSE(loader.document) << when;
        EXPECT_TRUE(QDir(lessons.path()).entryList({"podcast.*"}).size() == 1) << when;
        EXPECT_TRUE(ui.urls.isEmpty()) << when;
    };

    ui.measured.cancelled = true; // 取消 in the progress dialog
    loader.OpenLesson(mp3);
    expectNothing("progress cancelled");
    EXPECT_TRUE(ui.shownEnvelopes.isEmpty());
    EXPECT_TRUE(ui.errors.isEmpty());

    ui.measured = {};
    ui.measured.error = QString::fromUtf8("不是音频文件");
    loader.OpenLesson(mp3);
    expectNothing("analysis failed");
    EXPECT_TRUE(ui.shownEnvelopes.isEmpty());
    EXPECT_EQ(ui.errors,
              QStringList{QString::fromUtf8("无法分析这个mp3文件的停顿：\r\n不是音频文件")});

    ui.measured = {};
    ui.measured.envelope = lurvo::test::speechEnvelope({1000});
    ui.pauseOptions.reset(); // 取消 in the settings dialog
    loader.OpenLesson(mp3);
    expectNothing("settings cancelled");
    EXPECT_EQ(ui.shownEnvelopes.size(), 1);
    EXPECT_EQ(ui.errors.size(), 1);
}

// Subtitles put beside the lesson while the settings dialog was open are the learner's own.
TEST_F(LessonLoaderTest, SubtitlesThatArriveMeanwhileAreNeverOverwritten) {
    ui.pauseAnswer = true;
    ui.measured.envelope = lurvo::test::speechEnvelope({1000});
    for (const char* arriving : {"podcast.lrc", "podcast.LRC"}) {
        const QString mp3 = lessons.filePath("podcast.mp3");
        QFile::remove(mp3);
        copyLesson("lessons/one-line.mp3", "podcast.mp3");
        const QString theirs = lessons.filePath(arriving);
        ui.whileChoosing = [&] {
            QFile file(theirs);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("[00:01.00]mine\n");
        };
        ui.errors.clear();
        loader.OpenLesson(mp3);
        EXPECT_FALSE(state.lessonLoaded) << arriving;
        ASSERT_EQ(ui.errors.size(), 1) << arriving;
        EXPECT_TRUE(ui.errors[0].startsWith(QString::fromUtf8("字幕文件已经存在，没有覆盖它：")));
        EXPECT_TRUE(ui.errors[0].endsWith(arriving));
        QFile file(theirs);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "[00:01.00]mine\n") << arriving;
        EXPECT_EQ(QDir(lessons.path()).entryList({"podcast.*"}, QDir::Files, QDir::Name).size(), 2)
            << arriving;
        QFile::remove(theirs);
    }
}

TEST_F(LessonLoaderTest, WithoutAudioOutputTheLessonOpensForReading) {
    audioOutput = false;
    const QString mp3 = copyLesson("lessons/one-line.mp3", "a.mp3", "lessons/one-line.lrc");
    loader.OpenLesson(mp3);
    EXPECT_TRUE(state.lessonLoaded);
    ASSERT_TRUE(loader.document);
    EXPECT_EQ(loader.document->lineCount(), 6);
    EXPECT_FALSE(loader.player);
    EXPECT_EQ(state.playState, PlayState::Stopped);
    EXPECT_FALSE(views.ticking);
    EXPECT_EQ(ui.fills, 1);
    EXPECT_GT(views.sentenceRefreshes, 0);
    EXPECT_EQ(ui.caption, "a - LurvoV1.0");
    EXPECT_EQ(views.status[0], QString::fromUtf8("没有音频输出，不能播放"));
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QString::fromUtf8("找不到音频输出设备")));
    EXPECT_TRUE(ui.repairs.isEmpty());

    // Nothing plays, nothing breaks; closing is as usual.
    sentences.TogglePlayPause();
    sentences.NextSentence();
    EXPECT_EQ(state.playState, PlayState::Stopped);
    EXPECT_TRUE(loader.CloseLesson());
    EXPECT_FALSE(state.lessonLoaded);
}

// The probe found an output that is gone when the lesson's graph is built: the file is fine,
// so it is opened for reading, not sent to the repair program.
TEST_F(LessonLoaderTest, OutputLostAfterTheProbeOpensForReadingWithoutRepair) {
    const QByteArray saved = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/pulse/native");
    if (lurvo::media::FindDefaultAudioRenderer()) {
        qputenv("PULSE_SERVER", saved);
        GTEST_SKIP() << "an audio output other than the sound server answers";
    }
    renderer.clear();
    loader.OpenLesson(copyLesson("lessons/one-line.mp3", "a.mp3", "lessons/one-line.lrc"));
    if (saved.isNull())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", saved);
    EXPECT_TRUE(state.lessonLoaded);
    EXPECT_FALSE(loader.player);
    EXPECT_TRUE(ui.repairs.isEmpty());
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QString::fromUtf8("找不到音频输出设备")));
}

// "载入失败：", then a sentence in Chinese; GStreamer's own words may follow on a line of their
// own.
void expectChineseThenDetail(const QString& error) {
    const QStringList lines = error.split(u'\n');
    ASSERT_GE(lines.size(), 2) << error.toStdString();
    EXPECT_EQ(lines[0], QString::fromUtf8("载入失败：\r"));
    ASSERT_FALSE(lines[1].isEmpty());
    EXPECT_TRUE(lines[1][0] >= QChar(0x4E00) && lines[1][0] <= QChar(0x9FFF))
        << error.toStdString();
}

// A name with quotes, spaces and shell characters reaches the repair program intact.
TEST_F(LessonLoaderTest, UnplayableMp3IsRepairedOnceThenReported) {
    const QString mp3 =
        copyLesson("media/text.mp3", "it's \"a\" $lesson;.mp3", "lessons/one-line.lrc");
    QFile::setPermissions(mp3, QFileDevice::ReadOwner);
    loader.OpenLesson(mp3);
    ASSERT_EQ(ui.repairs.size(), 1);
    EXPECT_TRUE(ui.repairs[0][0] == "mp3val" || ui.repairs[0][0].endsWith("/mp3val"));
    EXPECT_EQ(ui.repairs[0].mid(1), (QStringList{"-f", mp3}));
    ASSERT_EQ(ui.errors.size(), 1);
    expectChineseThenDetail(ui.errors[0]);
    EXPECT_FALSE(state.lessonLoaded);
    EXPECT_FALSE(loader.player);
    // The MP3 was made writable for the repair.
    EXPECT_TRUE(QFileInfo(mp3).permissions() & QFileDevice::WriteOwner);
}

TEST_F(LessonLoaderTest, OffsetFollowsTheRecordingUnderAnotherName) {
    loader.OpenLesson(copyLesson("lessons/one-line.mp3", "first.mp3", "lessons/one-line.lrc"));
    ASSERT_TRUE(state.lessonLoaded);
    const int firstStart = loader.document->line(0).startMs;
    loader.lessonOffsetMs = 300; // as the offset dialog leaves it
    loader.document->applyOffset(300);
    ASSERT_TRUE(loader.CloseLesson());

    loader.OpenLesson(copyLesson("lessons/one-line.mp3", "renamed.mp3", "lessons/one-line.lrc"));
    ASSERT_TRUE(state.lessonLoaded);
    EXPECT_EQ(loader.lessonOffsetMs, 300);
    EXPECT_EQ(ui.offsetText, QString::fromUtf8("提前300毫秒"));
    EXPECT_EQ(loader.document->line(0).startMs, firstStart - 300);
}

TEST_F(LessonLoaderTest, CancellingTheOpenDialogKeepsTheLessonPlaying) {
    loader.OpenLesson();
    ASSERT_EQ(ui.dialogFolders, QStringList{QString()}) << "no folder used yet";

    loader.OpenLesson(copyLesson("lessons/one-line.mp3", "a.mp3", "lessons/one-line.lrc"));
    ASSERT_TRUE(state.lessonLoaded);
    const lurvo::media::MediaPlayer* playing = loader.player.get();
    loader.OpenLesson();
    EXPECT_EQ(ui.dialogFolders.last(), lessons.path()) << "the open lesson's folder";
    EXPECT_TRUE(state.lessonLoaded);
    EXPECT_EQ(state.playState, PlayState::Playing);
    EXPECT_TRUE(views.ticking);
    EXPECT_EQ(loader.player.get(), playing);
    EXPECT_EQ(loader.lessonPath, lessons.filePath("a.mp3"));

    // A lesson chosen in another folder: that folder is where the dialog starts next, with or
    // without a lesson open.
    ASSERT_TRUE(QDir(lessons.path()).mkdir("more"));
    ui.openDialogAnswer = copyLesson("lessons/one-line.mp3", "more/b.mp3");
    loader.OpenLesson();
    EXPECT_FALSE(state.lessonLoaded) << "b has no subtitles";
    ui.openDialogAnswer.clear();
    loader.OpenLesson();
    EXPECT_EQ(ui.dialogFolders.last(), lessons.filePath("more"));
}

TEST_F(LessonLoaderTest, EditedSubtitlesAreSavedOrDroppedAtClose) {
    loader.OpenLesson(copyLesson("lessons/one-line.mp3", "a.mp3", "lessons/one-line.lrc"));
    ASSERT_TRUE(state.lessonLoaded);
    loader.document->modified = true;
    ui.answer = Answer::Yes;
    saveResult = EACCES;
    EXPECT_FALSE(loader.CloseLesson());
    EXPECT_TRUE(state.lessonLoaded) << "a failed save keeps the lesson open";
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].startsWith(QString::fromUtf8("字幕保存失败：\r\n")));
    ui.answer = Answer::No;
    EXPECT_TRUE(loader.CloseLesson());
    EXPECT_FALSE(state.lessonLoaded);

    // A save that had to change the file's encoding says so.
    loader.OpenLesson(copyLesson("lessons/one-line.mp3", "b.mp3", "lessons/one-line.lrc"));
    loader.document->modified = true;
    ui.answer = Answer::Yes;
    saveResult = 0;
    saveConverts = true;
    EXPECT_TRUE(loader.CloseLesson());
    EXPECT_EQ(ui.notices,
              QStringList{QString::fromUtf8("修改后的字幕含有原编码无法表示的文字，文件已改存为 "
                                            "UTF-8 编码（带签名）：\r\n") +
                          lessons.filePath("b.lrc")});
}

TEST_F(LessonLoaderTest, CancellingTheSaveQuestionAbandonsTheCloseAndWhatAskedForIt) {
    const QString first = copyLesson("lessons/one-line.mp3", "a.mp3", "lessons/one-line.lrc");
    loader.OpenLesson(first);
    ASSERT_TRUE(state.lessonLoaded);
    loader.document->setLineText(0, QStringLiteral("edited"));
    sentences.GoToLine(2);
    ASSERT_EQ(state.playState, PlayState::Playing);
    loader.lessonOffsetMs = 300;
    const QString offsetFile =
        lurvo::subtitles::offsetFilePath(environment().dataFolder, loader.lessonDigest);
    ui.answer = Answer::Cancel;
    saveResult = EACCES; // a save would fail loudly

    EXPECT_FALSE(loader.CloseLesson());
    // Opening another lesson, from a path (a drop) or the dialog, asks and is abandoned too.
    loader.OpenLesson(copyLesson("lessons/bilingual.mp3", "b.mp3", "lessons/bilingual.lrc"));
    ui.openDialogAnswer = lessons.filePath("b.mp3");
    loader.OpenLesson();
    EXPECT_EQ(ui.questions.size(), 3);
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_TRUE(state.lessonLoaded);
    EXPECT_EQ(loader.lessonPath, first);
    EXPECT_TRUE(loader.document->modified);
    EXPECT_EQ(loader.document->line(0).text, "edited");
    EXPECT_FALSE(QFile::exists(offsetFile)) << "nothing of the close happened";
    EXPECT_EQ(ui.caption, "a - LurvoV1.0");
    // Paused where it was while the learner was asked, and left so.
    EXPECT_EQ(state.playState, PlayState::Paused);
    EXPECT_EQ(state.currentLine, 2);
}

TEST_F(LessonLoaderTest, SessionEndKeepsEditsForTheNextOpening) {
    const QString mp3 = copyLesson("lessons/one-line.mp3", "a.mp3", "lessons/one-line.lrc");
    const QString lrc = subtitlePathFor(mp3);
    const QString recovery = lrc + ".recovery";
    const QByteArray original = lurvo::test::readData("lessons/one-line.lrc");
    const auto openAndEdit = [&] {
        loader.OpenLesson(mp3);
        ASSERT_TRUE(state.lessonLoaded);
        loader.document->setLineText(1, QStringLiteral("edited"));
    };
    openAndEdit();
    loader.lessonOffsetMs = 120;
    loader.EndSession();
    EXPECT_TRUE(QFile::exists(recovery));
    EXPECT_EQ(lurvo::subtitles::readStoredOffset(environment().dataFolder, loader.lessonDigest),
              120);
    EXPECT_TRUE(ui.questions.isEmpty()) << "nobody is asked at the end of a session";
    EXPECT_EQ(lurvo::test::readFile(lrc), original);

    // As if the program had ended there: the next opening offers the edits.
    loader.document->modified = false;
    ASSERT_TRUE(loader.CloseLesson());
    ui.answer = Answer::Cancel; // decide later: nothing changes
    loader.OpenLesson(mp3);
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(ui.questions[0], QString::fromUtf8("上次退出时有未保存的字幕修改：\r\n%1\r\n\r\n"
                                                 "是否恢复这些修改？（选“否”将删除它们）")
                                   .arg(lrc));
    EXPECT_FALSE(loader.document->modified);
    ASSERT_TRUE(loader.CloseLesson());
    EXPECT_TRUE(QFile::exists(recovery));

    ui.answer = Answer::Yes; // restored as unsaved edits
    loader.OpenLesson(mp3);
    EXPECT_TRUE(loader.document->modified);
    EXPECT_EQ(loader.document->line(1).text, "edited");
    ui.answer = Answer::No; // then dropped at the close, recovery and all
    ASSERT_TRUE(loader.CloseLesson());
    EXPECT_FALSE(QFile::exists(recovery));

    openAndEdit();
    loader.EndSession();
    loader.document->modified = false;
    ASSERT_TRUE(loader.CloseLesson());
    ui.answer = Answer::No; // 否 deletes the recovery file
    loader.OpenLesson(mp3);
    EXPECT_FALSE(loader.document->modified);
    EXPECT_EQ(loader.document->line(1).text, QString::fromUtf8("有冇餐牌睇呀？"));
    EXPECT_FALSE(QFile::exists(recovery));
}

// Lesson loading probes the audio output before it makes any player: the probe must stand on
// its own in a fresh process.
TEST(AudioOutputProbe, WorksBeforeAnyPlayerExists) {
    EXPECT_TRUE(lurvo::media::FindDefaultAudioRenderer());
}

// Real audio on the sound server: each sentence heard twice and in order, every repeat seek
// landing on its sentence's start.
class LessonPlaybackTest : public LessonLoaderTest {
protected:
    struct Step {
        int line;
        int pass;
        std::int64_t positionMs;
    };

    std::vector<Step> playUntil(const std::function<bool()>& done, int timeoutMs) {
        std::vector<Step> trace{{state.currentLine, state.passCount, loader.player->PositionMs()}};
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < timeoutMs) {
            QThread::msleep(10);
            sentences.OnPositionTick();
            if (trace.back().line != state.currentLine || trace.back().pass != state.passCount)
                trace.push_back({state.currentLine, state.passCount, loader.player->PositionMs()});
        }
        return trace;
    }
};

TEST_F(LessonPlaybackTest, SentencesAreHeardTwiceInOrder) {
    renderer.clear(); // the default audio output
    settings.totalCount = 2;
    settings.mode = lurvo::subtitles::SentenceMode::OneLine;
    loader.OpenLesson(copyLesson("lessons/one-line.mp3", "a.mp3", "lessons/one-line.lrc"));
    ASSERT_TRUE(state.lessonLoaded) << ui.errors.join('|').toStdString();
    const auto trace = playUntil([&] { return state.currentLine >= 2; }, 20000);
    ASSERT_GE(trace.size(), 5u);
    const int expected[][2] = {{0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 1}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(trace[i].line, expected[i][0]) << i;
        EXPECT_EQ(trace[i].pass, expected[i][1]) << i;
    }
    // A repeat lands on the sentence's start; an advance flows on past the next line's start.
    for (const std::size_t i : {1u, 3u}) {
        const int start = loader.document->line(trace[i].line).startMs;
        EXPECT_GE(trace[i].positionMs, start) << i;
        EXPECT_LE(trace[i].positionMs, start + 60) << i;
    }
    for (const std::size_t i : {2u, 4u}) {
        const int start = loader.document->line(trace[i].line).startMs;
        EXPECT_GE(trace[i].positionMs, start) << i;
        EXPECT_LE(trace[i].positionMs, start + 60) << i;
    }
}

TEST_F(LessonPlaybackTest, TwoLineSentencesRepeatWholeAndFileLoopRestartsAtTheFirstLine) {
    renderer.clear();
    settings.totalCount = 2;
    settings.mode = lurvo::subtitles::SentenceMode::TwoLinesOddHead;
    loader.OpenLesson(copyLesson("lessons/bilingual.mp3", "b.mp3", "lessons/bilingual.lrc"));
    ASSERT_TRUE(state.lessonLoaded) << ui.errors.join('|').toStdString();
    const auto trace = playUntil([&] { return state.currentLine >= 2; }, 25000);
    ASSERT_GE(trace.size(), 5u);
    const int expected[][2] = {{0, 1}, {1, 1}, {0, 2}, {1, 2}, {2, 1}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(trace[i].line, expected[i][0]) << i;
        EXPECT_EQ(trace[i].pass, expected[i][1]) << i;
    }
    const int head = loader.document->line(0).startMs;
    EXPECT_GE(trace[2].positionMs, head);
    EXPECT_LE(trace[2].positionMs, head + 60);

    // The last sentence once, then the file loop starts again at the first line's start.
    settings.totalCount = 1;
    sentences.LastSentence();
    const auto loop = playUntil([&] { return state.currentLine == 0; }, 10000);
    ASSERT_EQ(state.currentLine, 0);
    EXPECT_EQ(state.playState, PlayState::Playing);
    EXPECT_GE(loop.back().positionMs, head);
    EXPECT_LE(loop.back().positionMs, head + 60);
}

} // namespace
