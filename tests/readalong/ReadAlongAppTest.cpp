// The read-along window opened from the main window, driven by its keys.
#include "AppTestEnvironment.h"
#include "TestFiles.h"
#include "TestSink.h"
#include "app/Accelerators.h"
#include "app/CommandIds.h"
#include "app/RepeaterApp.h"
#include "app/Settings.h"
#include "media/MediaPlayer.h"
#include "readalong/ReadAlongPanels.h"
#include "readalong/ReadAlongWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMultiMap>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using namespace lurvo::app;
using lurvo::readalong::ReadAlongState;

namespace {

class ReadAlongAppTest : public testing::Test, protected lurvo::test::AppTestEnvironment {
protected:
    QStringList messages;

    ReadAlongAppTest() {
        provideTools();
        env.readAlongMedia = lurvo::readalong::ReadAlongMedia::system();
        env.readAlongMedia.message = [this](QWidget*, bool, const QString& text) {
            messages << text;
        };
    }

    void openLesson(RepeaterApp& app) {
        ASSERT_TRUE(app.InitInstance());
        // Records what the tests play, nothing else on the machine.
        app.settings.follow_aDevId = lurvo::test::testMonitorIndex();
        ASSERT_GE(app.settings.follow_aDevId, 0);
        app.lessons()->OpenLesson(QStringLiteral(LURVO_TEST_DATA "/lessons/one-line.mp3"));
        ASSERT_TRUE(app.playback.lessonLoaded) << errors.join('|').toStdString();
    }
};

TEST_F(ReadAlongAppTest, KeysActOnTheReadAlongWindowWhileItIsOpen) {
    RepeaterApp app(env);
    openLesson(app);
    app.settings.follow_destFile = data.filePath("reading.mp3");
    app.settings.follow_bAutoPlay = false;
    ASSERT_EQ(app.playback.playState, PlayState::Playing);

    app.dispatch(CmdReadAlong); // Tab in the main window
    lurvo::readalong::ReadAlongWindow* window = app.readAlongWindow();
    ASSERT_NE(window, nullptr) << messages.join('|').toStdString();
    EXPECT_EQ(app.playback.playState, PlayState::Paused) << "the lesson waits";
    EXPECT_FALSE(app.mainWindow()->isEnabled());
    EXPECT_TRUE(window->isEnabled());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_EQ(window->state(), ReadAlongState::PlayingLesson);
    QTest::keyClick(window, Qt::Key_Down); // records, ending the sentence
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << messages.join('|').toStdString();
    const int line = app.playback.currentLine;
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_Tab})
        QTest::keyClick(window, key);
    EXPECT_EQ(window->state(), ReadAlongState::Recording) << "ignored while recording";
    EXPECT_EQ(app.playback.currentLine, line);
    QTest::qWait(300);
    QTest::keyClick(window, Qt::Key_Down);
    EXPECT_EQ(window->state(), ReadAlongState::Ready);
    EXPECT_TRUE(QFile::exists(app.settings.follow_destFile));

    QTest::keyClick(window, Qt::Key_Right); // the main window's next sentence
    EXPECT_EQ(app.playback.currentLine, line + 1);
    EXPECT_EQ(window->statusText(), QStringLiteral("2 / 6"));
    QTest::keyClick(window, Qt::Key_Tab);
    EXPECT_EQ(window->state(), ReadAlongState::PlayingRecording);

    QTest::keyClick(window, Qt::Key_Down);
    ASSERT_EQ(window->state(), ReadAlongState::Recording);
    QTest::keyClick(window, Qt::Key_Escape); // stops and closes
    EXPECT_EQ(app.readAlongWindow(), nullptr);
    EXPECT_TRUE(app.mainWindow()->isEnabled());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_TRUE(QFile::exists(app.settings.follow_destFile));
}

TEST_F(ReadAlongAppTest, LongDestinationFromTheSettingsIsTheFileRecordedTo) {
    // Saved in an earlier session: deeper than 259 characters.
    QString folder = data.filePath("recordings");
    while (folder.size() < 300)
        folder += QStringLiteral("/粵語錄音練習資料夾");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString chosen = folder + QStringLiteral("/reading.mp3");
    Settings saved;
    saved.follow_destFile = chosen;
    saved.follow_bAutoPlay = false;
    ASSERT_TRUE(SaveSettings(saved, env.dataFolder).ok());

    RepeaterApp app(env);
    openLesson(app);
    EXPECT_EQ(app.settings.follow_destFile, chosen);
    app.dispatch(CmdReadAlong);
    lurvo::readalong::ReadAlongWindow* window = app.readAlongWindow();
    ASSERT_NE(window, nullptr) << messages.join('|').toStdString();
    window->ToggleRecording();
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << messages.join('|').toStdString();
    QTest::qWait(300);
    window->ToggleRecording();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_GT(QFileInfo(chosen).size(), 0);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"reading.mp3"});
}

TEST_F(ReadAlongAppTest, WithoutCaptureDeviceTheMainWindowStays) {
    env.readAlongMedia.openDevice = [](int) { return lurvo::media::CaptureDevice(); };
    RepeaterApp app(env);
    openLesson(app);
    app.dispatch(CmdReadAlong);
    EXPECT_EQ(app.readAlongWindow(), nullptr);
    EXPECT_EQ(messages, QStringList{QStringLiteral("找不到录音设备")});
    EXPECT_TRUE(app.mainWindow()->isEnabled());
}

TEST_F(ReadAlongAppTest, ExitClosesTheReadAlongWindowAndKeepsItsSettings) {
    RepeaterApp app(env);
    openLesson(app);
    app.dispatch(CmdReadAlong);
    ASSERT_NE(app.readAlongWindow(), nullptr);
    app.settings.follow_destFile = data.filePath("reading.mp3");
    app.settings.follow_bAutoPlay = false;
    app.ExitApplication();
    EXPECT_EQ(app.readAlongWindow(), nullptr);
    RepeaterApp again(env);
    ASSERT_TRUE(again.InitInstance());
    EXPECT_EQ(again.settings.follow_destFile, data.filePath("reading.mp3"));
    EXPECT_FALSE(again.settings.follow_bAutoPlay);
    EXPECT_EQ(again.settings.follow_aDevId, lurvo::test::testMonitorIndex());
}

TEST_F(ReadAlongAppTest, ShowsTheMainWindowsSentenceAndPlaysBothByEnter) {
    RepeaterApp app(env);
    openLesson(app);
    app.settings.follow_destFile = data.filePath("reading.mp3");
    app.settings.follow_bAutoPlay = false;
    app.SetFontSize(2);
    app.dispatch(CmdReadAlong);
    lurvo::readalong::ReadAlongWindow* window = app.readAlongWindow();
    ASSERT_NE(window, nullptr) << messages.join('|').toStdString();
    EXPECT_FALSE(window->statePanel()->sentence().isEmpty());
    EXPECT_EQ(window->statePanel()->sentence(), app.currentSentenceText());
    EXPECT_EQ(window->statePanel()->sentenceFont(), app.displayFont);
    EXPECT_GE(window->statePanel()->height(),
              lurvo::readalong::StatePanel::heightFor(app.displayFont))
        << "the window grew to hold the sentence";
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(window->statePanel()->sentence(), app.currentSentenceText()) << "follows";

    QTest::keyClick(window, Qt::Key_Down);
    QTest::qWait(300);
    QTest::keyClick(window, Qt::Key_Down);
    ASSERT_TRUE(QFile::exists(app.settings.follow_destFile)) << messages.join('|').toStdString();
    QTest::keyClick(window, Qt::Key_Return);
    EXPECT_EQ(window->state(), ReadAlongState::PlayingLesson);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window->state() == ReadAlongState::PlayingRecording; }, 5000));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(app.readAlongWindow(), nullptr);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

// Every key of both tables, unmodified, by the command it gives.
QMultiMap<int, int> keysByCommand(AcceleratorTable table) {
    QMultiMap<int, int> commands;
    for (int key = Qt::Key_Space; key <= Qt::Key_AsciiTilde; ++key)
        if (const int command = acceleratorCommand(table, key))
            commands.insert(command, key);
    for (int key = Qt::Key_Escape; key <= Qt::Key_F35; ++key)
        if (const int command = acceleratorCommand(table, key))
            commands.insert(command, key);
    return commands;
}

TEST(AcceleratorTables, EnterPlaysBothAndNoOtherTableUsesIt) {
    const QMultiMap<int, int> readAlong = keysByCommand(AcceleratorTable::ReadAlong);
    QList<int> keys = readAlong.values(CmdReadAlongPlayBoth);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, QList<int>({Qt::Key_Return, Qt::Key_Enter}));
    const QList<int> mainKeys = keysByCommand(AcceleratorTable::Main).values();
    for (const int key : keys)
        EXPECT_FALSE(mainKeys.contains(key)) << key;
}

TEST(AcceleratorTables, PFoldsOutThePitchPlotOnlyInTheReadAlongWindow) {
    EXPECT_EQ(acceleratorCommand(AcceleratorTable::ReadAlong, Qt::Key_P),
              lurvo::app::CmdReadAlongPitch);
    EXPECT_EQ(acceleratorCommand(AcceleratorTable::Main, Qt::Key_P), 0);
    const QMultiMap<int, int> readAlong = keysByCommand(AcceleratorTable::ReadAlong);
    EXPECT_EQ(readAlong.values(lurvo::app::CmdReadAlongPitch), QList<int>{Qt::Key_P})
        << "no other key does it";
}

} // namespace
