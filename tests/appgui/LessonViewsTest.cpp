// The panels working on a real lesson inside the application: the list, the control panel and
// subtitle corrections that are saved when the lesson closes.
#include "AppTestEnvironment.h"
#include "TestFiles.h"
#include "app/CommandIds.h"
#include "app/RepeaterApp.h"
#include "app/StringTable.h"
#include "media/MediaPlayer.h"
#include "pronunciation/Pronouncer.h"
#include "pronunciation/ReadingChoices.h"
#include "subtitles/OffsetStore.h"
#include "subtitles/Recovery.h"
#include "subtitles/SubtitleDocument.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lurvo::app;
using lurvo::views::ListPanel;

namespace {

class LessonViewsTest : public testing::Test, protected lurvo::test::AppTestEnvironment {
protected:
    QTemporaryDir lessons;
    QStringList questions;
    lurvo::player::Answer answer = lurvo::player::Answer::No;
    std::unique_ptr<RepeaterApp> app;
    QString lesson;

    LessonViewsTest() {
        provideTools();
        env.askYesNoCancel = [this](const QString& text) {
            questions << text;
            return answer;
        };
        app = std::make_unique<RepeaterApp>(env);
        const QDir source(QStringLiteral(LURVO_SOURCE_DIR "/resources"));
        lesson = lessons.filePath("lesson.mp3");
        QFile::copy(source.filePath("eg.mp3"), lesson);
        QFile::copy(source.filePath("eg.lrc"), lessons.filePath("lesson.lrc"));
    }

    void open() {
        ASSERT_TRUE(app->InitInstance());
        app->lessons()->OpenLesson(lesson);
        ASSERT_TRUE(app->playback.lessonLoaded) << errors.join('|').toStdString();
    }
    MainPanel* panels() const { return app->mainWindow()->mainPanel(); }
    // A point of the sentence panel over piece `piece` of its readings (any piece when -1);
    // (-1, -1) when there is none.
    QPoint pointOnPiece(int piece = -1) const {
        const lurvo::views::SentencePanel* sentence = panels()->sentencePanel();
        for (int y = 0; y < sentence->height(); y += 2)
            for (int x = 0; x < sentence->width(); x += 2)
                if (const int at = sentence->pieceAt(QPoint(x, y));
                    at >= 0 && (piece < 0 || at == piece))
                    return QPoint(x, y);
        return QPoint(-1, -1);
    }
    bool readingsShown() const { return pointOnPiece().x() >= 0; }
    ListPanel* list() const { return panels()->listPanel(); }
    QString cell(int row, int column) const {
        const auto* model = list()->model();
        return model->data(model->index(row, column), Qt::DisplayRole).toString();
    }
    QStringList column(int column) const {
        QStringList cells;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            cells << cell(row, column);
        return cells;
    }
    void selectRow(int row) {
        list()->table()->clearSelection();
        list()->table()->selectionModel()->select(list()->model()->index(row, 0),
                                                  QItemSelectionModel::Select |
                                                      QItemSelectionModel::Rows);
    }
    // Corrects a line through the list's context-menu commands, as a learner does.
    void correctLine(int row, const QString& text, const QString& time) {
        selectRow(row);
        QTimer::singleShot(0, [text] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QPlainTextEdit*>()->setPlainText(text);
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        list()->runCommand(ListPanel::CmdEditLine);
        QTimer::singleShot(0, [time] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>()->setText(time);
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        list()->runCommand(ListPanel::CmdAdjustLineTime);
    }
};

TEST_F(LessonViewsTest, ListShowsTheLessonAndFollowsTheSentenceMode) {
    open();
    ASSERT_EQ(list()->model()->rowCount(), 10);
    EXPECT_EQ(cell(0, 0), "00:00.43");
    EXPECT_EQ(cell(9, 3), QStringLiteral("多謝晒，拜拜！"));
    EXPECT_EQ(list()->markedRow(), 0);
    EXPECT_EQ(app->playback.playState, PlayState::Playing);

    app->dispatch(CmdNext);
    app->dispatch(CmdNext); // line 2, sentence 3
    EXPECT_EQ(list()->markedRow(), 2);
    // Two lines to a sentence while playing: renumbered at once, the mark on the head.
    panels()->controlPanel()->modeBox()->setCurrentIndex(1);
    EXPECT_EQ(app->settings.lrcMode, 1);
    EXPECT_EQ(column(2), QStringList({"1", "", "2", "", "3", "", "4", "", "5", ""}));
    EXPECT_EQ(list()->markedRow(), 2);
    EXPECT_EQ(app->mainWindow()->statusBarPanel()->text(1), QString::fromUtf8("2 / 5 · 1/3"));
    panels()->controlPanel()->modeBox()->setCurrentIndex(2);
    EXPECT_EQ(column(2), QStringList({"1", "2", "", "3", "", "4", "", "5", "", "6"}));
    EXPECT_EQ(list()->markedRow(), 1);
    EXPECT_EQ(app->playback.currentLine, 2) << "the current line stays";
}

TEST_F(LessonViewsTest, SpeedFromSettingsMenuKeysAndPanelIsHeardAtOnce) {
    Settings stored;
    stored.speedPercent = 75;
    stored.gapMode = 1;
    stored.gapValue = 3;
    ASSERT_TRUE(SaveSettings(stored, env.dataFolder).ok());
    open();
    lurvo::media::MediaPlayer* player = app->lessons()->player.get();
    ASSERT_NE(player, nullptr);
    lurvo::views::ControlPanel* panel = panels()->controlPanel();
    EXPECT_DOUBLE_EQ(player->rate(), 0.75);
    EXPECT_EQ(panel->speedBox()->text(), QStringLiteral("0.75×"));
    EXPECT_EQ(panel->waitBox()->currentText(), QStringLiteral("3 秒"));

    const struct {
        int command;
        double rate;
    } steps[] = {{CmdFaster, 0.8},  {CmdSpeed150, 1.5}, {CmdSlower, 1.45},
                 {CmdSpeed50, 0.5}, {CmdSlower, 0.5},   {CmdNormalSpeed, 1.0}};
    for (const auto& s : steps) {
        app->dispatch(s.command);
        EXPECT_NEAR(player->rate(), s.rate, 1e-9) << s.command;
        EXPECT_EQ(app->settings.speedPercent, qRound(s.rate * 100)) << s.command;
        EXPECT_EQ(panel->speedBox()->text(), QStringLiteral("%1×").arg(s.rate, 0, 'f', 2));
    }
    panel->speedBox()->stepUp();
    EXPECT_NEAR(player->rate(), 1.05, 1e-9);

    // The pass in the sentence panel's corner, while playing only.
    lurvo::views::SentencePanel* sentence = panels()->sentencePanel();
    EXPECT_EQ(sentence->passText(), QStringLiteral("1/3"));
    app->dispatch(CmdStop);
    EXPECT_EQ(sentence->passText(), "");
    EXPECT_EQ(app->state().speedPercent, 105);

    // Stored with the wait chosen in the panel.
    panel->waitBox()->setCurrentIndex(12); // 1 倍句长
    app->OnEndSession();
    const Settings loaded = LoadSettings(env.dataFolder).settings;
    EXPECT_EQ(loaded.speedPercent, 105);
    EXPECT_EQ(loaded.gapMode, 2);
    EXPECT_EQ(loaded.gapValue, 100);
}

// No sound server or card: the lesson opens to be read and corrected, every playing command
// greyed or refused, and the learner is told why.
TEST_F(LessonViewsTest, WithoutAudioOutputTheLessonOpensForReadingOnly) {
    env.hasAudioOutput = [] { return false; };
    app = std::make_unique<RepeaterApp>(env);
    open();
    EXPECT_FALSE(app->lessons()->player);
    EXPECT_EQ(list()->model()->rowCount(), 10);
    EXPECT_EQ(app->currentSentenceText(), cell(0, 3));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QString::fromUtf8("找不到音频输出设备")));
    EXPECT_TRUE(errors[0].contains(QString::fromUtf8("不能播放")));
    EXPECT_EQ(app->mainWindow()->statusBarPanel()->text(0),
              QString::fromUtf8("没有音频输出，不能播放"));

    MainWindow* window = app->mainWindow();
    window->UpdateMenuState();
    const int playing[] = {CmdPlayPause, CmdStop, CmdPrevious, CmdNext,        CmdRepeat,
                           CmdFirst,     CmdLast, CmdBackFive, CmdForwardFive, CmdReadAlong};
    for (const int c : playing)
        EXPECT_FALSE(window->menuAction(c)->isEnabled()) << c;
    for (const int c : {CmdViewSubtitles, CmdSplit, CmdOpen})
        EXPECT_TRUE(window->menuAction(c)->isEnabled()) << c;
    for (const int c : {CmdPlayPause, CmdStop, CmdPrevious, CmdNext, CmdRepeat, CmdReadAlong})
        EXPECT_FALSE(panels()->toolbarAction(c)->isEnabled()) << c;
    EXPECT_TRUE(panels()->toolbarAction(CmdOpen)->isEnabled());
    // The sentence panel offers no play symbol to click.
    lurvo::views::SentencePanel* sentence = panels()->sentencePanel();
    EXPECT_EQ(sentence->grab().toImage().pixelColor(sentence->hotSquare().center()), Qt::white);

    // The keys send the same commands: nothing moves, no read-along window opens.
    for (const int c : playing)
        app->dispatch(c);
    EXPECT_EQ(app->playback.playState, PlayState::Stopped);
    EXPECT_EQ(app->playback.currentLine, 0);
    EXPECT_EQ(app->readAlongWindow(), nullptr);

    // Corrections still work.
    correctLine(0, QStringLiteral("改好的一句"), QStringLiteral("00:00.50"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("改好的一句"));
    EXPECT_EQ(cell(0, 0), "00:00.50");
    EXPECT_TRUE(app->lessons()->document->modified);
}

TEST_F(LessonViewsTest, TipStripCountsTheSkippedLines) {
    QFile lrc(lessons.filePath("lesson.lrc"));
    ASSERT_TRUE(lrc.open(QIODevice::Append));
    lrc.write("[00:-03.00]unreadable\r\n[02:83.375]also\r\n");
    lrc.close();
    open();
    const QString advice = lurvo::app::stringText(1052);
    EXPECT_EQ(panels()->tipStrip()->text(),
              QStringLiteral("字幕文件中有 2 行的时间无法识别，已跳过这些行"));
    EXPECT_EQ(list()->model()->rowCount(), 10);
    app->dispatch(CmdCloseLesson);
    EXPECT_EQ(panels()->tipStrip()->text(), advice);
}

TEST_F(LessonViewsTest, CueFileLessonIsNamedInTheTipStripUntilSavedAsLrc) {
    ASSERT_TRUE(QFile::remove(lessons.filePath("lesson.lrc")));
    const QString srt = lessons.filePath("lesson.srt");
    const QByteArray cues = "1\n00:00:00,430 --> 00:00:03,890\n<i>早晨！</i>\n你食咗早餐未？\n\n"
                            "2\n00:00:03,890 --> 00:00:07,450\n今日天氣好好，唔係好熱。\n\n"
                            "3\n00:00:07,450 --> soon\n唔該，請問地鐵站點去？\n";
    lurvo::test::writeFile(srt, cues);
    open();
    EXPECT_EQ(panels()->tipStrip()->text(),
              QStringLiteral("字幕来自 lesson.srt，修改后保存为同名 .lrc 文件；"
                             "有 1 条字幕无法识别，已跳过"));
    EXPECT_EQ(column(3), QStringList({QStringLiteral("早晨！ 你食咗早餐未？"),
                                      QStringLiteral("今日天氣好好，唔係好熱。")}));

    correctLine(0, QStringLiteral("早晨！你食咗早餐未？"), QStringLiteral("00:00.50"));
    answer = lurvo::player::Answer::Yes;
    app->dispatch(CmdCloseLesson);
    ASSERT_FALSE(app->playback.lessonLoaded);
    EXPECT_EQ(lurvo::test::readFile(srt), cues);
    EXPECT_EQ(panels()->tipStrip()->text(), stringText(1052));

    app->lessons()->OpenLesson(lesson);
    ASSERT_TRUE(app->playback.lessonLoaded);
    EXPECT_EQ(app->lessons()->subtitlePath, lessons.filePath("lesson.lrc"));
    EXPECT_EQ(panels()->tipStrip()->text(), stringText(1052));
    EXPECT_EQ(cell(0, 3), QStringLiteral("早晨！你食咗早餐未？"));
    EXPECT_EQ(cell(0, 0), "00:00.50");
    EXPECT_EQ(list()->model()->rowCount(), 2);
}

TEST_F(LessonViewsTest, OffsetChangeMovesTheCurrentLineAndEveryTime) {
    open();
    app->dispatch(CmdNext); // line 1, from 3.89 s
    app->dispatch(CmdPlayPause);
    ASSERT_EQ(app->playback.playState, PlayState::Paused);
    ASSERT_EQ(app->playback.currentLine, 1);
    ASSERT_TRUE(panels()->controlPanel()->offsetButtonEnabled());

    // Subtitles 2 s later: line 1 moves to 5.89 s, and at 3.89 s line 0 covers the position.
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>()->setText("-2000");
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    panels()->controlPanel()->offsetButton()->click();
    EXPECT_EQ(app->lessons()->lessonOffsetMs, -2000);
    EXPECT_EQ(panels()->controlPanel()->offsetText(), QStringLiteral("延后2000毫秒"));
    EXPECT_EQ(cell(0, 0), "00:02.43");
    EXPECT_EQ(cell(1, 0), "00:05.89");
    EXPECT_EQ(cell(9, 0), "00:36.29");
    EXPECT_EQ(app->playback.currentLine, 0);
    EXPECT_EQ(app->playback.passCount, 1);
    EXPECT_EQ(list()->markedRow(), 0);
    EXPECT_EQ(app->playback.playState, PlayState::Paused);
}

TEST_F(LessonViewsTest, CorrectionsAreSavedAtCloseAndReadBack) {
    open();
    correctLine(3, QStringLiteral("一直行，\n見到銀行轉左。"), QStringLiteral("00:11.50"));
    EXPECT_EQ(cell(3, 3), QStringLiteral("一直行， 見到銀行轉左。"));
    EXPECT_EQ(cell(3, 0), "00:11.50");
    EXPECT_EQ(app->playback.playState, PlayState::Paused);

    answer = lurvo::player::Answer::Yes;
    app->dispatch(CmdCloseLesson);
    EXPECT_FALSE(app->playback.lessonLoaded);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], QStringLiteral("是否保存对字幕所做的修改？\r\n") +
                                QDir::toNativeSeparators(lessons.filePath("lesson.lrc")));
    EXPECT_EQ(list()->model()->rowCount(), 0);

    app->lessons()->OpenLesson(lesson);
    ASSERT_TRUE(app->playback.lessonLoaded);
    EXPECT_EQ(cell(3, 3), QStringLiteral("一直行， 見到銀行轉左。"));
    EXPECT_EQ(cell(3, 0), "00:11.50");
    EXPECT_EQ(cell(4, 0), "00:15.05");
    EXPECT_FALSE(app->lessons()->document->modified);
}

TEST_F(LessonViewsTest, FailedSaveKeepsTheLessonAndItsCorrections) {
    open();
    correctLine(0, QStringLiteral("早晨！"), QStringLiteral("00:00.50"));
    const QString lrc = lessons.filePath("lesson.lrc");
    QFile file(lrc);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    file.close();
    // The lesson's folder is away for a moment: nothing can be written there.
    ASSERT_TRUE(QFile::rename(lessons.path(), lessons.path() + ".moved"));
    answer = lurvo::player::Answer::Yes;
    app->dispatch(CmdCloseLesson);
    ASSERT_TRUE(QFile::rename(lessons.path() + ".moved", lessons.path()));
    EXPECT_TRUE(app->playback.lessonLoaded) << "the close is abandoned";
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("字幕保存失败：\r\n")))
        << errors[0].toStdString();
    EXPECT_TRUE(app->lessons()->document->modified);
    EXPECT_EQ(cell(0, 3), QStringLiteral("早晨！"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), original);
    file.close();

    // With the folder back, the next close saves.
    app->dispatch(CmdCloseLesson);
    EXPECT_FALSE(app->playback.lessonLoaded);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_NE(file.readAll(), original);
}

TEST_F(LessonViewsTest, CancelledSaveQuestionKeepsTheProgramAndTheLesson) {
    open();
    correctLine(0, QStringLiteral("早晨！"), QStringLiteral("00:00.50"));
    answer = lurvo::player::Answer::Cancel;
    app->dispatch(CmdExit);
    EXPECT_FALSE(app->mainWindow()->close()) << "the window's close button asks the same";
    EXPECT_EQ(questions.size(), 2);
    EXPECT_TRUE(app->mainWindow()->isVisible());
    EXPECT_TRUE(app->playback.lessonLoaded);
    EXPECT_EQ(cell(0, 3), QStringLiteral("早晨！"));
    EXPECT_FALSE(QFile::exists(QDir(data.path()).filePath("LurvoRepeater/options.ini")))
        << "no shutdown";
}

TEST_F(LessonViewsTest, SessionEndStoresEverythingWithoutAsking) {
    open();
    correctLine(2, QStringLiteral("改咗"), QStringLiteral("00:07.00"));
    const QString lrc = lessons.filePath("lesson.lrc");
    const QByteArray original = lurvo::test::readFile(lrc);
    questions.clear();
    app->OnEndSession();
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_TRUE(app->playback.lessonLoaded) << "the lesson stays as it is";
    EXPECT_TRUE(QFile::exists(QDir(data.path()).filePath("LurvoRepeater/options.ini")));
    EXPECT_TRUE(QFile::exists(lurvo::subtitles::offsetFilePath(
        QDir(data.path()).filePath("LurvoRepeater"), app->lessons()->lessonDigest)));
    EXPECT_EQ(lurvo::test::readFile(lrc), original);

    // A later start offers the edits back.
    lurvo::subtitles::SubtitleDocument doc;
    ASSERT_EQ(doc.load(lrc), 1);
    EXPECT_EQ(lurvo::subtitles::restoreRecovery(doc, lrc + ".recovery"), 1);
    EXPECT_EQ(doc.line(2).text, QStringLiteral("改咗"));
    EXPECT_EQ(doc.fileTimeOf(doc.line(2)), 7000);
}

TEST_F(LessonViewsTest, SplitCommandOffersTheLessonsSentences) {
    open();
    app->dispatch(CmdNext);
    QString title;
    QString end;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        end = dialog->findChild<QLineEdit*>(QStringLiteral("endEdit"))->text();
        dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    });
    app->dispatch(CmdSplit);
    EXPECT_EQ(title, QStringLiteral("按句切割"));
    EXPECT_EQ(end, QStringLiteral("10"));
    EXPECT_EQ(app->playback.playState, PlayState::Playing) << "playback goes on";
}

TEST_F(LessonViewsTest, ColumnWidthsAreStoredAtExit) {
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(list()->table()->columnWidth(0), 105);
    list()->table()->setColumnWidth(0, 130);
    // The text column takes what the others leave.
    const int text = list()->table()->columnWidth(3);
    EXPECT_EQ(text, list()->table()->viewport()->width() - 130 - 60 - 65);
    app->dispatch(CmdExit);
    EXPECT_EQ(app->settings.w_msx, 130);
    EXPECT_EQ(app->settings.w_text, text);
}

// The readings of the sample lesson's first three lines, as the dictionary gives them.
lurvo::pronunciation::Annotation sampleReadings(const QString& text) {
    static const QHash<QChar, QString> known = {
        {u'早', "zou2"},  {u'晨', "san4"},  {u'你', "nei5"}, {u'食', "sik6"}, {u'咗', "zo2"},
        {u'餐', "caan1"}, {u'未', "mei6"},  {u'今', "gam1"}, {u'日', "jat6"}, {u'天', "tin1"},
        {u'氣', "hei3"},  {u'好', "hou2"},  {u'唔', "m4"},   {u'係', "hai6"}, {u'熱', "jit6"},
        {u'該', "goi1"},  {u'請', "ceng2"}, {u'問', "man6"}, {u'地', "dei6"}, {u'鐵', "tit3"},
        {u'站', "zaam6"}, {u'點', "dim2"},  {u'去', "heoi3"}};
    lurvo::pronunciation::Annotation a;
    for (const QChar c : text) {
        const QString syllable = known.value(c);
        a.append({QString(c), syllable, lurvo::pronunciation::toneOf(syllable)});
    }
    return a;
}

TEST_F(LessonViewsTest, ReadingsShowOverTheSentenceAndInTheListUntilSwitchedOff) {
    open();
    app->dispatch(CmdPlayPause); // paused: the play symbol shows, as a learner sees it mostly
    app->mainWindow()->resize(900, 640);
    QCoreApplication::processEvents();
    EXPECT_FALSE(readingsShown()) << "no readings before the app has any";

    app->setAnnotator(sampleReadings);
    EXPECT_TRUE(readingsShown());
    EXPECT_GT(list()->table()->rowHeight(0), ListPanel::kRowHeight);
    if (const QString folder = qEnvironmentVariable("LURVO_SCREENSHOTS"); !folder.isEmpty()) {
        app->dispatch(CmdNext);
        app->dispatch(CmdNext);
        selectRow(1);
        app->mainWindow()->grab().save(folder + QStringLiteral("/ruby-main-window.png"));
    }

    app->dispatch(CmdShowJyutping);
    EXPECT_FALSE(readingsShown());
    EXPECT_EQ(list()->table()->rowHeight(0), ListPanel::kRowHeight);
    app->dispatch(CmdShowJyutping);
    EXPECT_TRUE(readingsShown());
}

// The readings come from the dictionary once its index has loaded in the background, without
// the learner doing anything; without the dictionary the tip strip says what to install.
TEST_F(LessonViewsTest, ReadingsComeFromTheDictionaryOnceLoadedOrTheTipSaysWhatToInstall) {
    QTemporaryDir dictionary;
    const QByteArray head = "---\nname: test\n...\n";
    const auto write = [&](const char* name, const QByteArray& entries) {
        QFile file(dictionary.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(head + entries) > 0;
    };
    ASSERT_TRUE(write("jyut6ping3.chars.dict.yaml", "早\tzou2\n晨\tsan4\n你\tnei5\n"));
    ASSERT_TRUE(write("jyut6ping3.words.dict.yaml", "早晨\tzou2 san4\n"));
    ASSERT_TRUE(write("jyut6ping3.phrase.dict.yaml", ""));
    env.makePronouncer = [&] {
        return std::make_unique<lurvo::pronunciation::Pronouncer>(
            lurvo::pronunciation::PronunciationSources{
                dictionary.path(), QStringLiteral("s2hk.json"), dictionary.filePath("index.bin")});
    };
    app = std::make_unique<RepeaterApp>(env);
    open();
    QDeadlineTimer deadline(20000);
    while (!readingsShown() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(readingsShown()) << "the sentence shows no readings once the dictionary is ready";
    EXPECT_GT(list()->table()->rowHeight(0), ListPanel::kRowHeight);
    EXPECT_TRUE(panels()->tipStrip()->text().indexOf(QStringLiteral("粤拼")) < 0);

    // No dictionary: the characters alone, and the package to install in the tip strip.
    QTemporaryDir empty;
    env.makePronouncer = [&] {
        return std::make_unique<lurvo::pronunciation::Pronouncer>(
            lurvo::pronunciation::PronunciationSources{empty.path(), QStringLiteral("s2hk.json"),
                                                       empty.filePath("index.bin")});
    };
    app = std::make_unique<RepeaterApp>(env);
    open();
    QDeadlineTimer told(20000);
    while (!panels()->tipStrip()->text().contains(QStringLiteral("rime-data-jyut6ping3")) &&
           !told.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(panels()->tipStrip()->text().contains(QStringLiteral("rime-data-jyut6ping3")))
        << panels()->tipStrip()->text().toStdString();
    EXPECT_FALSE(readingsShown());
    // Switched off, the readings are not missed.
    app->dispatch(CmdShowJyutping);
    EXPECT_FALSE(panels()->tipStrip()->text().contains(QStringLiteral("rime-data-jyut6ping3")));
}

// The lesson's subtitles written out with their readings, where the learner says; offered only
// while a lesson is open and its readings are ready.
TEST_F(LessonViewsTest, ExportWritesEachLineWithItsReadingWhereTheLearnerSays) {
    QStringList suggested;
    QString target;
    env.askSavePath = [&](const QString& path) {
        suggested << path;
        return target;
    };
    app = std::make_unique<RepeaterApp>(env);
    open();
    MainWindow* window = app->mainWindow();
    window->UpdateMenuState();
    EXPECT_FALSE(window->menuAction(CmdExportJyutping)->isEnabled()) << "no readings yet";
    app->setAnnotator(sampleReadings);
    window->UpdateMenuState();
    EXPECT_TRUE(window->menuAction(CmdExportJyutping)->isEnabled());

    target = lessons.filePath("out.lrc");
    app->dispatch(CmdExportJyutping);
    EXPECT_EQ(suggested, QStringList{lessons.filePath("lesson.jyutping.lrc")});
    EXPECT_TRUE(errors.isEmpty()) << errors.join('|').toStdString();
    lurvo::subtitles::SubtitleDocument written;
    ASSERT_EQ(written.load(target), 1);
    const lurvo::subtitles::SubtitleDocument& lesson = *app->lessons()->document;
    ASSERT_EQ(written.sentenceCount(lurvo::subtitles::SentenceMode::TwoLinesOddHead),
              lesson.lineCount());
    EXPECT_EQ(written.line(0).text, lesson.line(0).text);
    EXPECT_EQ(written.line(1).startMs, lesson.line(0).startMs);
    EXPECT_EQ(written.line(1).text, QStringLiteral("zou2 san4 nei5 sik6 zo2 zou2 caan1 mei6"));

    // Cancelled: nothing written, nothing said. Unwritable: the learner is told.
    target.clear();
    app->dispatch(CmdExportJyutping);
    EXPECT_TRUE(errors.isEmpty());
    target = lessons.filePath("no-such-folder/out.lrc");
    app->dispatch(CmdExportJyutping);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("no-such-folder"))) << errors[0].toStdString();

    app->dispatch(CmdCloseLesson);
    window->UpdateMenuState();
    EXPECT_FALSE(window->menuAction(CmdExportJyutping)->isEnabled()) << "no lesson";
}

// A right-click on a syllable offers the dictionary's other readings of the character and of the
// word around it; a pick shows in the list and the sentence at once and is kept for the lesson,
// until "恢复默认".
TEST_F(LessonViewsTest, ReadingCorrectionsShowEverywhereAndAreKeptForTheLesson) {
    QTemporaryDir dictionary;
    const QByteArray head = "---\nname: test\n...\n";
    const auto write = [&](const char* name, const QByteArray& entries) {
        QFile file(dictionary.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(head + entries) > 0;
    };
    ASSERT_TRUE(write("jyut6ping3.chars.dict.yaml", "早\tzou2\t90%\n早\tzou1\t10%\n晨\tsan4\n"
                                                    "食\tsik6\t90%\n食\tzi6\t10%\n餐\tcaan1\n"));
    ASSERT_TRUE(write("jyut6ping3.words.dict.yaml", "早餐\tzou2 caan1\n早餐\tzou1 caan1\n"));
    ASSERT_TRUE(write("jyut6ping3.phrase.dict.yaml", ""));
    env.makePronouncer = [&] {
        return std::make_unique<lurvo::pronunciation::Pronouncer>(
            lurvo::pronunciation::PronunciationSources{
                dictionary.path(), QStringLiteral("s2hk.json"), dictionary.filePath("index.bin")});
    };
    const auto start = [&] {
        app = std::make_unique<RepeaterApp>(env);
        open();
        QDeadlineTimer deadline(20000);
        while (!list()->model()->readingsShown() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_TRUE(list()->model()->readingsShown());
    };
    const auto syllables = [&](int row) {
        QStringList list;
        for (const auto& piece : this->list()->model()->readings(row))
            list << piece.syllable;
        return list;
    };
    const auto texts = [](const QMenu& menu) {
        QStringList list;
        for (const QAction* action : menu.actions())
            list << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return list;
    };
    const auto pick = [&](int piece, const QString& text) {
        const std::unique_ptr<QMenu> menu = app->makeReadingMenu(piece);
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            if (action->text() == text)
                return action->trigger();
        FAIL() << text.toStdString() << " not in " << texts(*menu).join('|').toStdString();
    };
    ASSERT_NO_FATAL_FAILURE(start());
    // 早晨！你食咗早餐未？: 早 晨 ！ 你 食 咗 早 餐 未 ？
    ASSERT_EQ(app->currentSentenceText(), QStringLiteral("早晨！你食咗早餐未？"));
    const QStringList dictionaryReadings{"zou2", "san4", "",      "", "sik6",
                                         "",     "zou2", "caan1", "", ""};
    ASSERT_EQ(syllables(0), dictionaryReadings);
    EXPECT_FALSE(app->makeReadingMenu(2)) << "no reading, no menu";
    EXPECT_FALSE(app->makeReadingMenu(1)) << "one reading only";
    {
        // The menu belongs to the main window: it goes before that does.
        const std::unique_ptr<QMenu> wordMenu = app->makeReadingMenu(7);
        ASSERT_TRUE(wordMenu);
        EXPECT_EQ(texts(*wordMenu), QStringList{"早餐 zou1 caan1"});
    }
    EXPECT_EQ(texts(*app->makeReadingMenu(6)), (QStringList{"zou1", "-", "早餐 zou1 caan1"}));

    // The first pick through the panel's right-click, as the learner makes it.
    app->mainWindow()->resize(900, 640);
    QCoreApplication::processEvents();
    lurvo::views::SentencePanel* sentence = panels()->sentencePanel();
    const QPoint onSik = pointOnPiece(4);
    ASSERT_GE(onSik.x(), 0);
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        offered = texts(*menu);
        for (QAction* action : menu->actions())
            if (action->text() == QStringLiteral("zi6"))
                action->trigger();
        menu->close();
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, onSik, sentence->mapToGlobal(onSik));
    QApplication::sendEvent(sentence, &click);
    EXPECT_EQ(offered, QStringList{"zi6"});
    ASSERT_NO_FATAL_FAILURE(pick(7, "早餐 zou1 caan1"));
    const QStringList chosen{"zou2", "san4", "", "", "zi6", "", "zou1", "caan1", "", ""};
    EXPECT_EQ(syllables(0), chosen) << "the list shows the choices at once";
    EXPECT_EQ(texts(*app->makeReadingMenu(4)), (QStringList{"sik6", "-", "恢复默认"}));
    EXPECT_EQ(texts(*app->makeReadingMenu(6)),
              (QStringList{"zou2", "-", "早餐 zou2 caan1", "-", "恢复默认"}));
    EXPECT_EQ(lurvo::pronunciation::ReadingChoices::load(
                  env.dataFolder, lurvo::subtitles::computeLessonDigest(lesson))
                  .all()
                  .size(),
              2);

    // Another start: the lesson keeps its choices; "恢复默认" on any character of the word undoes
    // the word's.
    app->dispatch(CmdExit);
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_EQ(syllables(0), chosen);
    ASSERT_NO_FATAL_FAILURE(pick(6, "恢复默认"));
    ASSERT_NO_FATAL_FAILURE(pick(4, "恢复默认"));
    EXPECT_EQ(syllables(0), dictionaryReadings);
    EXPECT_FALSE(QFile::exists(lurvo::pronunciation::ReadingChoices::filePath(
        env.dataFolder, lurvo::subtitles::computeLessonDigest(lesson))));
}

} // namespace
