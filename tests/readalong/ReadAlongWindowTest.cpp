// The read-along window on real audio: the lesson plays to the sound server's null sink and
// its monitor is the capture device, so what the window records is the lesson's own sound.
#include "readalong/ReadAlongWindow.h"

#include "AudioCapture.h"
#include "GraphOwner.h"
#include "ImageColours.h"
#include "ReadAlongFixture.h"
#include "TestFiles.h"
#include "TestSink.h"
#include "app/CommandIds.h"
#include "app/Settings.h"
#include "media/MediaPlayer.h"
#include "media/Recorder.h"
#include "readalong/DeviceDialog.h"
#include "readalong/ReadAlongPanels.h"
#include "subtitles/SubtitleDocument.h"
#include "views/ToneColours.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lurvo::readalong;
using lurvo::app::CmdReadAlongNext;
using lurvo::app::CmdReadAlongPlayBoth;
using lurvo::app::CmdReadAlongPlayLesson;
using lurvo::app::CmdReadAlongPlayRecording;
using lurvo::app::CmdReadAlongPrevious;
using lurvo::app::CmdReadAlongRecord;
using lurvo::media::CaptureDevice;
using lurvo::media::MediaPlayer;
using lurvo::subtitles::SentenceMode;

namespace {

const QString kLesson = lurvo::test::kReadAlongLesson;

class ReadAlongTest : public lurvo::test::ReadAlongFixture {
protected:
    QStringList destinations; // answers of the save dialog, in turn

    ReadAlongTest() {
        media.askDestination = [this](QWidget*) {
            return destinations.isEmpty() ? QString() : destinations.takeFirst();
        };
    }

    static bool waitForReady(ReadAlongWindow& window, int ms) {
        return QTest::qWaitFor([&] { return window.state() == ReadAlongState::Ready; }, ms);
    }
    static bool waitWhile(ReadAlongWindow& window, ReadAlongState state, int ms) {
        return QTest::qWaitFor([&] { return window.state() != state; }, ms);
    }
    // Milliseconds the current sentence plays for, from the moment it was set going.
    static double timeLessonSentence(ReadAlongWindow& window) {
        window.PlayLessonSentence();
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(window.state(), ReadAlongState::PlayingLesson);
        EXPECT_TRUE(waitForReady(window, 8000));
        return double(clock.elapsed());
    }
    static bool enabled(ReadAlongWindow& window, int command) {
        return window.toolbarAction(command)->isEnabled();
    }
    QString destination(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList filesInFolder() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    }
};

// The capture element of the window's recording graph.
lurvo::media::GstElementPtr captureElement(const ReadAlongWindow& window) {
    const lurvo::media::Recorder* recorder = window.recorder();
    return recorder ? recorder->element(recorder->captureName().toUtf8().constData()) : nullptr;
}

TEST_F(ReadAlongTest, OpensOnTheSavedDeviceWithItsTextsAndSettings) {
    settings.follow_destFile = destination("reading.mp3");
    auto window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("跟读对比"));
    EXPECT_EQ(window->width(), 514);
    EXPECT_FALSE(window->deviceName().isEmpty());
    EXPECT_EQ(window->devicePanel()->deviceEdit()->text(), window->deviceName());
    EXPECT_EQ(window->devicePanel()->destinationEdit()->text(), settings.follow_destFile);
    EXPECT_EQ(window->statusText(), QStringLiteral("1 / 6"));
    EXPECT_EQ(window->statePanel()->text(), QStringLiteral("就绪"));
    EXPECT_EQ(window->toolbarAction(CmdReadAlongRecord)->toolTip(),
              QStringLiteral("开始录音（↓）"));
    EXPECT_FALSE(enabled(*window, CmdReadAlongPlayRecording)) << "no recording yet";
    EXPECT_TRUE(enabled(*window, CmdReadAlongPlayLesson));
}

TEST_F(ReadAlongTest, WithoutCaptureDeviceItRefusesToOpen) {
    media.openDevice = [](int) { return CaptureDevice(); };
    EXPECT_FALSE(ReadAlongWindow::open(host(), media, nullptr));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].warning);
    EXPECT_EQ(messages[0].text, QStringLiteral("找不到录音设备"));
}

TEST_F(ReadAlongTest, StaleDeviceIndexFallsBackToTheFirstAndIsKept) {
    settings.follow_aDevId = 7;
    QList<int> asked;
    const CaptureDevice monitor = lurvo::media::OpenCaptureDevice(lurvo::test::testMonitorIndex());
    media.openDevice = [&asked, &monitor](int index) {
        asked << index;
        return index == 0 ? monitor.copy() : CaptureDevice();
    };
    auto window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(asked, QList<int>({7, 0}));
    EXPECT_EQ(settings.follow_aDevId, 0);
}

TEST_F(ReadAlongTest, PlaysTheCurrentSentenceAndStopsAtItsEnd) {
    currentLine = 1; // 2.61 s to 5.00 s
    auto window = open();
    ASSERT_TRUE(window);
    window->PlayLessonSentence();
    // From the start of play: opening the lesson takes longer on a busy machine.
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(window->state(), ReadAlongState::PlayingLesson);
    EXPECT_EQ(window->statePanel()->text(), QStringLiteral("正在播放原声…"));
    EXPECT_TRUE(window->ticking());
    ASSERT_TRUE(waitForReady(*window, 6000));
    EXPECT_NEAR(double(clock.elapsed()), 2390.0, 250.0);
    EXPECT_FALSE(window->ticking());
    EXPECT_EQ(window->statePanel()->text(), QStringLiteral("就绪"));

    // The last sentence ends with the lesson.
    currentLine = document.lineCount() - 1;
    window->PlayLessonSentence();
    ASSERT_TRUE(waitForReady(*window, 8000));
}

// Nothing plays on the tests' sink: the take is silent, whatever else sounds on the machine
// (tests/sound/other-sound-test.sh runs this with noise on the default output).
TEST_F(ReadAlongTest, RecordsSilenceWhileNothingPlaysOnItsSink) {
    settings.follow_destFile = destination("quiet.mp3");
    auto window = open();
    ASSERT_TRUE(window);
    window->ToggleRecording();
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << messages.value(0).text.toStdString();
    QTest::qWait(1000);
    window->ToggleRecording();
    const std::vector<std::int16_t> samples =
        lurvo::test::decodeReference(settings.follow_destFile);
    ASSERT_FALSE(samples.empty());
    EXPECT_LT(lurvo::test::rms(samples), 50.0) << "something else was recorded";
}

TEST_F(ReadAlongTest, RecordsTheLessonAndPlaysTheRecordingBack) {
    settings.follow_destFile = destination("reading.mp3");
    auto window = open();
    ASSERT_TRUE(window);
    MediaPlayer lesson; // the lesson sounds on the null sink, whose monitor is recorded
    ASSERT_TRUE(lesson.Open(kLesson, nullptr, lurvo::media::ParserOrder::Mpeg1First).ok());
    ASSERT_TRUE(lesson.Play().ok());

    QElapsedTimer clock;
    clock.start();
    window->ToggleRecording();
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << messages.value(0).text.toStdString();
    EXPECT_EQ(window->statePanel()->text(), QStringLiteral("正在录音…"));
    EXPECT_EQ(window->toolbarAction(CmdReadAlongRecord)->toolTip(),
              QStringLiteral("结束录音（↓）"));
    for (const int command : {CmdReadAlongPrevious, CmdReadAlongNext, CmdReadAlongPlayLesson,
                              CmdReadAlongPlayRecording})
        EXPECT_FALSE(enabled(*window, command)) << command;
    EXPECT_TRUE(enabled(*window, CmdReadAlongRecord));
    // Nothing else runs while recording.
    window->PlayLessonSentence();
    window->PlayRecording();
    window->GoNextSentence();
    EXPECT_EQ(window->state(), ReadAlongState::Recording);
    EXPECT_TRUE(mainCommands.isEmpty());

    QTest::qWait(2000);
    window->ToggleRecording();
    const double recordedMs = double(clock.elapsed());
    lesson.Close();
    EXPECT_EQ(window->state(), ReadAlongState::Ready);
    EXPECT_EQ(window->toolbarAction(CmdReadAlongRecord)->toolTip(),
              QStringLiteral("开始录音（↓）"));
    EXPECT_TRUE(enabled(*window, CmdReadAlongPlayRecording));

    int rate = 0;
    const std::vector<std::int16_t> samples =
        lurvo::test::decodeReference(settings.follow_destFile, &rate);
    EXPECT_EQ(rate, 22050);
    ASSERT_FALSE(samples.empty());
    EXPECT_NEAR(double(samples.size()) * 1000.0 / rate, recordedMs, 150.0);
    EXPECT_GT(lurvo::test::rms(samples), 300.0) << "the lesson's voice was recorded";
    MediaPlayer check("fakesink");
    ASSERT_TRUE(
        check.Open(settings.follow_destFile, nullptr, lurvo::media::ParserOrder::SecondaryFirst)
            .ok());
    EXPECT_NEAR(double(check.LengthMs()), recordedMs, 150.0) << "the header tells the length";
    check.Close();

    clock.restart();
    window->PlayRecording();
    EXPECT_EQ(window->state(), ReadAlongState::PlayingRecording);
    EXPECT_EQ(window->statePanel()->text(), QStringLiteral("正在播放录音…"));
    ASSERT_TRUE(waitForReady(*window, 5000));
    EXPECT_NEAR(double(clock.elapsed()), recordedMs, 400.0) << "played to its end";
}

TEST_F(ReadAlongTest, RecordingReplacesAReadOnlyFileAndStopsAtTheSizeLimit) {
    settings.follow_destFile = destination("reading.mp3");
    QFile old(settings.follow_destFile);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older recording");
    old.close();
    ASSERT_TRUE(old.setPermissions(QFile::ReadOwner));
    auto window = open();
    ASSERT_TRUE(window);
    window->setRecordingLimit(6000); // about a second and a half at 32 kbit/s
    window->ToggleRecording();
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << messages.value(0).text.toStdString();
    // The take grows beside the old file, which stays until the take has ended well.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(window->takePath()).size() > 0; }, 3000));
    EXPECT_EQ(QFileInfo(window->takePath()).absolutePath(), dir.path());
    EXPECT_EQ(lurvo::test::readFile(settings.follow_destFile), "an older recording");
    EXPECT_TRUE(waitForReady(*window, 8000)) << "stops by itself";
    const QByteArray bytes = lurvo::test::readFile(settings.follow_destFile);
    EXPECT_GE(bytes.size(), 6000);
    EXPECT_FALSE(bytes.startsWith("an older")) << "the take replaced the old file";
    EXPECT_EQ(filesInFolder(), QStringList{"reading.mp3"});
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ReadAlongTest, TakeThatFailsKeepsTheLastRecording) {
    settings.follow_destFile = destination("reading.mp3");
    lurvo::test::writeFile(settings.follow_destFile, "the last recording");
    auto window = open();
    ASSERT_TRUE(window);

    // An error in the middle of the take.
    window->ToggleRecording();
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << messages.value(0).text.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(window->takePath()).size() > 0; }, 3000));
    lurvo::test::postReadError(captureElement(*window).get());
    ASSERT_TRUE(waitForReady(*window, 3000));
    ASSERT_EQ(messages.size(), 1) << "reported once";
    EXPECT_EQ(messages[0].text, QStringLiteral("运行异常：\r\n") + lurvo::test::readErrorMessage());
    EXPECT_EQ(lurvo::test::readFile(settings.follow_destFile), "the last recording");
    EXPECT_EQ(filesInFolder(), QStringList{"reading.mp3"}) << "no take left behind";

    // A device that cannot be opened: the take never starts.
    lurvo::media::GstElementPtr capture = captureElement(*window);
    ASSERT_TRUE(capture);
    g_object_set(capture.get(), "device", "no-such-source", nullptr);
    messages.clear();
    window->ToggleRecording();
    waitForReady(*window, 3000);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("录音失败：\r\n")))
        << messages[0].text.toStdString();
    EXPECT_EQ(lurvo::test::readFile(settings.follow_destFile), "the last recording");
    EXPECT_EQ(filesInFolder(), QStringList{"reading.mp3"});
}

TEST_F(ReadAlongTest, TakeWhoseEndNeverCameIsKeptWithAWarning) {
    settings.follow_destFile = destination("reading.mp3");
    lurvo::test::writeFile(settings.follow_destFile, "the last recording");
    auto window = open();
    ASSERT_TRUE(window);
    window->ToggleRecording();
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << messages.value(0).text.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(window->takePath()).size() > 4000; }, 5000));
    // The end of the stream is lost on its way to the file.
    lurvo::media::GstPadPtr pad(gst_element_get_static_pad(captureElement(*window).get(), "src"));
    ASSERT_TRUE(pad);
    gst_pad_add_probe(
        pad.get(), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM,
        [](GstPad*, GstPadProbeInfo* info, gpointer) {
            return GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_EOS
                       ? GST_PAD_PROBE_DROP
                       : GST_PAD_PROBE_OK;
        },
        nullptr, nullptr);
    window->ToggleRecording();
    EXPECT_EQ(window->state(), ReadAlongState::Ready);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].warning);
    EXPECT_EQ(messages[0].text, QStringLiteral("录音文件可能不完整"));
    // What was said is kept all the same.
    const QByteArray kept = lurvo::test::readFile(settings.follow_destFile);
    EXPECT_GT(kept.size(), 1000);
    EXPECT_FALSE(kept.startsWith("the last recording"));
    EXPECT_EQ(filesInFolder(), QStringList{"reading.mp3"});
    window->PlayRecording();
    EXPECT_EQ(window->state(), ReadAlongState::PlayingRecording)
        << messages.value(1).text.toStdString();
}

TEST_F(ReadAlongTest, RecordingNeedsADestination) {
    auto window = open();
    ASSERT_TRUE(window);
    window->ToggleRecording();
    EXPECT_EQ(window->state(), ReadAlongState::Ready);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_FALSE(messages[0].warning);
    EXPECT_EQ(messages[0].text, QStringLiteral("请指定录音存放位置"));

    // A recording that cannot be played back says so.
    settings.follow_destFile = destination("missing.mp3");
    window->PlayRecording();
    EXPECT_EQ(window->state(), ReadAlongState::Ready);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].text.startsWith(QStringLiteral("播放录音失败：\r\n")));
}

TEST_F(ReadAlongTest, DestinationIsAnMp3AndNeverTheLesson) {
    auto window = open();
    ASSERT_TRUE(window);
    destinations = {destination("a.wav"), destination("b.MP3"), kLesson.toUpper(), QString()};
    window->ChooseDestination();
    EXPECT_EQ(settings.follow_destFile, destination("a.wav.mp3"));
    window->ChooseDestination();
    EXPECT_EQ(settings.follow_destFile, destination("b.MP3"));
    EXPECT_EQ(window->devicePanel()->destinationEdit()->text(), destination("b.MP3"));
    // The lesson's own path in other letters is refused (its folder is in capitals too, which
    // does not exist: the comparison ignores case, as a learner would expect).
    window->ChooseDestination();
    EXPECT_EQ(settings.follow_destFile, destination("b.MP3"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("请不要自我覆盖"));
    window->ChooseDestination(); // cancelled
    EXPECT_EQ(settings.follow_destFile, destination("b.MP3"));
}

TEST_F(ReadAlongTest, DestinationCannotChangeWhileRecording) {
    settings.follow_destFile = destination("reading.mp3");
    auto window = open();
    ASSERT_TRUE(window);
    QPushButton* choose = window->devicePanel()->destinationButton();
    EXPECT_TRUE(choose->isEnabled());
    window->ToggleRecording();
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << messages.value(0).text.toStdString();
    EXPECT_FALSE(choose->isEnabled());
    destinations = {destination("other.mp3")};
    window->ChooseDestination(); // by its key or a click that got through
    EXPECT_EQ(destinations.size(), 1) << "the save dialog was not shown";
    EXPECT_EQ(settings.follow_destFile, destination("reading.mp3"));
    EXPECT_EQ(window->devicePanel()->destinationEdit()->text(), destination("reading.mp3"));
    QTest::qWait(300);
    window->ToggleRecording();
    EXPECT_TRUE(choose->isEnabled());
    EXPECT_EQ(filesInFolder(), QStringList{"reading.mp3"});
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ReadAlongTest, SavedDestinationThatIsTheLessonNeverOverwritesIt) {
    lessonPath = destination("lesson.mp3");
    ASSERT_TRUE(QFile::copy(kLesson, lessonPath));
    const QByteArray lessonBytes = lurvo::test::readFile(lessonPath);
    const QString link = destination("link.mp3");
    ASSERT_TRUE(QFile::link(lessonPath, link));
    auto window = open();
    ASSERT_TRUE(window);
    // Destinations chosen in an earlier session, when another lesson was open.
    for (const QString& saved : {lessonPath, lessonPath.toUpper(), link}) {
        SCOPED_TRACE(saved.toStdString());
        messages.clear();
        settings.follow_destFile = saved;
        window->ToggleRecording();
        EXPECT_EQ(window->state(), ReadAlongState::Ready);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_FALSE(messages[0].warning);
        EXPECT_EQ(messages[0].text, QStringLiteral("请不要自我覆盖"));
        EXPECT_EQ(lurvo::test::readFile(lessonPath), lessonBytes);
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST_F(ReadAlongTest, SentenceChangesDriveTheMainWindowAndMayPlay) {
    auto window = open();
    ASSERT_TRUE(window);
    window->GoNextSentence();
    EXPECT_EQ(mainCommands, QList<int>{lurvo::app::CmdNext});
    EXPECT_EQ(window->statusText(), QStringLiteral("2 / 6"));
    EXPECT_EQ(window->state(), ReadAlongState::Ready);

    settings.follow_bAutoPlay = true;
    currentLine = 0;
    window->GoPreviousSentence(); // at the first sentence: plays it again
    EXPECT_EQ(window->statusText(), QStringLiteral("1 / 6"));
    EXPECT_EQ(window->state(), ReadAlongState::PlayingLesson);
    window->GoNextSentence();
    EXPECT_EQ(window->state(), ReadAlongState::PlayingLesson);
    EXPECT_EQ(currentLine, 1);

    // The box shows the setting the window opened with, and sets it.
    QCheckBox* box = window->devicePanel()->autoPlayBox();
    EXPECT_FALSE(box->isChecked());
    box->click();
    EXPECT_TRUE(settings.follow_bAutoPlay);
    box->click();
    EXPECT_FALSE(settings.follow_bAutoPlay);
}

TEST_F(ReadAlongTest, ChoosingAnotherDeviceKeepsItsIndex) {
    const CaptureDevice real = lurvo::media::OpenCaptureDevice(lurvo::test::testMonitorIndex());
    ASSERT_TRUE(real);
    media.listDevices = [&real] {
        return QList<CaptureDevice>{CaptureDevice(real.copy().device, QStringLiteral("甲")),
                                    CaptureDevice(real.copy().device, QStringLiteral("乙"))};
    };
    media.openDevice = [this](int index) { return media.listDevices().value(index); };
    settings.follow_aDevId = 0;
    auto window = open();
    ASSERT_TRUE(window);
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<DeviceDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("选择录音设备"));
        ASSERT_EQ(dialog->list()->count(), 2);
        EXPECT_EQ(dialog->list()->currentRow(), 0);
        dialog->list()->setCurrentRow(1);
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("确定"))
                button->click();
    });
    window->ChooseDevice();
    EXPECT_EQ(settings.follow_aDevId, 1);
    EXPECT_EQ(window->deviceName(), QStringLiteral("乙"));
    EXPECT_EQ(window->devicePanel()->deviceEdit()->text(), QStringLiteral("乙"));
}

TEST(DeviceDialog, ConfirmingWithoutAChoiceOnlySounds) {
    int sounds = 0;
    DeviceDialog dialog(
        {QStringLiteral("甲")}, 5, [&sounds] { ++sounds; }, nullptr);
    EXPECT_TRUE(dialog.list()->selectedItems().isEmpty()) << "no such entry: nothing selected";
    dialog.show();
    QPushButton* ok = dialog.findChildren<QPushButton*>().first();
    ASSERT_EQ(ok->text(), QStringLiteral("确定"));
    ok->click();
    EXPECT_EQ(sounds, 1);
    EXPECT_TRUE(dialog.isVisible());
    dialog.list()->setCurrentRow(0);
    ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(ReadAlongTest, ClosingEndsWhatRunsAndHandsBack) {
    auto window = open();
    ASSERT_TRUE(window);
    window->PlayLessonSentence();
    ASSERT_EQ(window->state(), ReadAlongState::PlayingLesson);
    window->close(); // as the window's close button does
    EXPECT_EQ(window->state(), ReadAlongState::Ready);
    EXPECT_EQ(closings, 1);
    EXPECT_FALSE(window->isVisible());
    window->CloseReadAlong();
    EXPECT_EQ(closings, 1) << "closed once";
}

TEST_F(ReadAlongTest, PlaysAtTheMainWindowsSpeedAndStillStopsAtTheSentenceEnd) {
    currentLine = 1; // 2.61 s to 5.00 s of the lesson
    settings.speedPercent = 200;
    auto window = open();
    ASSERT_TRUE(window);
    EXPECT_NEAR(timeLessonSentence(*window), 2390.0 / 2, 250.0);
    // A change made while the window is open is heard the next time it plays.
    settings.speedPercent = 50;
    EXPECT_NEAR(timeLessonSentence(*window), 2390.0 * 2, 350.0);

    // And at once when it comes while the sentence plays: 600 ms at half speed cover 300 ms.
    window->PlayLessonSentence();
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(600);
    settings.speedPercent = 200;
    ASSERT_TRUE(waitForReady(*window, 8000));
    EXPECT_NEAR(double(clock.elapsed()), 600.0 + (2390.0 - 300.0) / 2, 300.0);
}

TEST_F(ReadAlongTest, PlaysTheSentenceThenTheRecordingOfIt) {
    currentLine = 1;
    settings.follow_destFile = destination("reading.mp3");
    settings.speedPercent = 200; // the lesson's speed; the learner's voice keeps its own
    auto window = open();
    ASSERT_TRUE(window);
    EXPECT_FALSE(enabled(*window, CmdReadAlongPlayBoth)) << "no recording yet";
    EXPECT_EQ(window->toolbarAction(CmdReadAlongPlayBoth)->toolTip(),
              QStringLiteral("原音+录音（Enter）"));

    MediaPlayer lesson; // something to record
    ASSERT_TRUE(lesson.Open(kLesson, nullptr, lurvo::media::ParserOrder::Mpeg1First).ok());
    ASSERT_TRUE(lesson.Play().ok());
    QElapsedTimer clock;
    clock.start();
    window->ToggleRecording();
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << messages.value(0).text.toStdString();
    EXPECT_FALSE(enabled(*window, CmdReadAlongPlayBoth)) << "greyed while recording";
    QTest::qWait(1500);
    window->ToggleRecording();
    const double recordedMs = double(clock.elapsed());
    lesson.Close();
    ASSERT_TRUE(enabled(*window, CmdReadAlongPlayBoth)) << messages.value(0).text.toStdString();

    window->dispatch(CmdReadAlongPlayBoth);
    clock.restart();
    EXPECT_EQ(window->state(), ReadAlongState::PlayingLesson);
    EXPECT_EQ(window->statePanel()->text(), QStringLiteral("正在播放原声…"));
    ASSERT_TRUE(waitWhile(*window, ReadAlongState::PlayingLesson, 5000));
    EXPECT_NEAR(double(clock.elapsed()), 2390.0 / 2, 250.0);
    ASSERT_EQ(window->state(), ReadAlongState::PlayingRecording)
        << messages.value(0).text.toStdString();
    EXPECT_EQ(window->statePanel()->text(), QStringLiteral("正在播放录音…"));
    EXPECT_TRUE(window->ticking());
    clock.restart();
    ASSERT_TRUE(waitForReady(*window, 5000));
    EXPECT_NEAR(double(clock.elapsed()), recordedMs, 400.0) << "the recording at its own speed";
    EXPECT_TRUE(messages.isEmpty()) << messages.value(0).text.toStdString();
}

TEST_F(ReadAlongTest, AnotherCommandEndsTheSentenceAndTheRecordingStaysUnplayed) {
    settings.follow_destFile = destination("reading.mp3");
    auto window = open();
    ASSERT_TRUE(window);
    // By its key while greyed: the missing recording is reported before anything plays.
    window->PlayLessonThenRecording();
    EXPECT_EQ(window->state(), ReadAlongState::Ready);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("播放录音失败：\r\n")));
    messages.clear();
    window->ToggleRecording();
    QTest::qWait(800);
    window->ToggleRecording();
    ASSERT_TRUE(QFile::exists(settings.follow_destFile)) << messages.value(0).text.toStdString();

    bool recordingPlayed = false;
    const auto watch = [&](int ms) {
        return QTest::qWaitFor(
            [&] {
                recordingPlayed |= window->state() == ReadAlongState::PlayingRecording;
                return window->state() == ReadAlongState::Ready;
            },
            ms);
    };
    currentLine = 1;
    window->PlayLessonThenRecording();
    window->PlayLessonSentence(); // the sentence alone, from its start
    EXPECT_EQ(window->state(), ReadAlongState::PlayingLesson);
    EXPECT_TRUE(watch(5000));
    EXPECT_FALSE(recordingPlayed);

    EXPECT_TRUE(messages.isEmpty()) << messages.value(0).text.toStdString();
}

TEST(StatePanel, WrapsTheSentenceAndCutsWhatDoesNotFit) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(29);
    StatePanel panel(nullptr);
    panel.resize(484, StatePanel::heightFor(font));
    const QFontMetrics metrics(font);
    const int width = 484 - 30;

    const QString two =
        QStringLiteral("唔該，請問地鐵站點去？\r\nExcuse me, where is the MTR station?");
    panel.setSentence(two, font);
    QStringList lines = panel.sentenceLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("唔該，請問地鐵站點去？")) << "the lines' own break is kept";
    EXPECT_EQ(lines.mid(1).join(' '), QStringLiteral("Excuse me, where is the MTR station?"));
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();

    panel.setSentence(QString(60, QChar(u'粵')), font);
    lines = panel.sentenceLines();
    ASSERT_EQ(lines.size(), StatePanel::kSentenceLines);
    EXPECT_TRUE(lines.last().endsWith(QChar(0x2026))) << lines.last().toStdString();
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();

    panel.setSentence(QString(), font);
    EXPECT_TRUE(panel.sentenceLines().isEmpty());
}

} // namespace

namespace {

bool toneInk(const QImage& image, const QRect& area, int tone) {
    return lurvo::test::colourIn(image, area, lurvo::views::toneColour(tone, Qt::black));
}

TEST(StatePanel, ReadingsStandAboveTheSentenceInARoomierPanel) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(24);
    EXPECT_GT(StatePanel::heightFor(font, true),
              StatePanel::heightFor(font) + StatePanel::kSentenceLines * 10);
    StatePanel panel(nullptr);
    panel.resize(484, StatePanel::heightFor(font, true));
    panel.refresh(QStringLiteral("正在录音"));
    panel.setSentence(QStringLiteral("好耐冇見！"), font);
    const QImage plain = panel.grab().toImage();
    int asked = 0;
    panel.setAnnotator([&](const QString& text) {
        ++asked;
        lurvo::pronunciation::Annotation a;
        const char* syllables[] = {"hou2", "noi6", "mou5", "gin3"};
        for (int i = 0; i < 4; ++i)
            a.append({text.mid(i, 1), QString::fromLatin1(syllables[i]),
                      lurvo::pronunciation::toneOf(QString::fromLatin1(syllables[i]))});
        a.append({text.mid(4), {}, 0});
        return a;
    });
    EXPECT_TRUE(panel.readingsShown());
    const QImage ruby = panel.grab().toImage();
    EXPECT_GT(asked, 0);
    if (const QString folder = qEnvironmentVariable("LURVO_SCREENSHOTS"); !folder.isEmpty())
        ruby.save(folder + QStringLiteral("/ruby-readalong.png"));
    // The syllables stand in the band where the plain sentence had its characters' tops, below
    // the state.
    const QRect sentence(0, 50, 484, ruby.height() - 50);
    for (const int tone : {2, 6, 5})
        EXPECT_TRUE(toneInk(ruby, sentence, tone)) << tone;
    EXPECT_FALSE(toneInk(plain, sentence, 2));
    EXPECT_EQ(ruby.copy(0, 0, 484, 45), plain.copy(0, 0, 484, 45)) << "the state as it was";

    panel.setAnnotator({});
    EXPECT_EQ(panel.grab().toImage(), plain);
}

} // namespace
