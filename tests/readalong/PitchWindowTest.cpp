// The pitch plot of the read-along window on real audio: the lesson plays to the sound server's
// null sink and its monitor is the capture device, so a recording is the lesson's own voice.
#include "readalong/ReadAlongWindow.h"

#include "ReadAlongFixture.h"
#include "TestFiles.h"
#include "TestSink.h"
#include "app/CommandIds.h"
#include "app/Settings.h"
#include "media/MediaPlayer.h"
#include "readalong/ReadAlongPanels.h"
#include "subtitles/SubtitleDocument.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace lurvo::readalong;
using lurvo::app::CmdReadAlongExportPitch;
using lurvo::app::CmdReadAlongPitch;
using lurvo::media::MediaPlayer;
using lurvo::subtitles::SentenceMode;

namespace {

const QString kLesson = lurvo::test::kReadAlongLesson;

class PitchWindowTest : public lurvo::test::ReadAlongFixture {
protected:
    QStringList imagePaths; // answers of the picture's save dialog, in turn
    QStringList suggested;

    PitchWindowTest() {
        volume = 0;
        settings.follow_destFile = dir.filePath(QStringLiteral("reading.mp3"));
        media.askImagePath = [this](QWidget*, const QString& proposed) {
            suggested << proposed;
            return imagePaths.isEmpty() ? QString() : imagePaths.takeFirst();
        };
    }

    // The frames the current sentence spans in the lesson.
    int sentenceFrames() const {
        const int end = document.lineEndMs(currentLine, int(lengthMs));
        return (end - document.line(currentLine).startMs) / 10;
    }
    static int voicedFrames(const std::vector<float>& series) {
        return int(
            std::count_if(series.begin(), series.end(), [](float v) { return !std::isnan(v); }));
    }
    // Waits until the plot shows a lesson curve of the current sentence's length.
    bool waitForLessonCurve(ReadAlongWindow& window) {
        const int frames = sentenceFrames();
        return QTest::qWaitFor(
            [&] {
                const PitchPlotData& data = window.pitchPlot()->data();
                return std::abs(int(data.lesson.size()) - frames) <= 3 &&
                       voicedFrames(data.lesson) > 0;
            },
            10000);
    }
};

TEST_F(PitchWindowTest, FoldsOutUnderTheStatePanelWithTheLessonsCurveAndBack) {
    auto window = open();
    ASSERT_TRUE(window);
    // Readings on: each syllable of the sentence gets its place under the curve.
    window->setAnnotator([](const QString& text) {
        lurvo::pronunciation::Annotation a;
        for (const QChar c : text)
            a.append(c.isPunct() ? lurvo::pronunciation::Piece{c, {}, 0}
                                 : lurvo::pronunciation::Piece{c, QStringLiteral("si3"), 3});
        return a;
    });
    const QSize folded = window->size();
    EXPECT_FALSE(window->pitchShown());
    EXPECT_FALSE(window->toolbarAction(CmdReadAlongPitch)->isChecked());
    window->dispatch(CmdReadAlongPitch);
    EXPECT_TRUE(window->pitchShown());
    EXPECT_TRUE(settings.follow_bPitch) << "kept for the next time";
    EXPECT_TRUE(window->toolbarAction(CmdReadAlongPitch)->isChecked());
    EXPECT_EQ(window->size(), folded + QSize(0, PitchPlot::kHeight));
    const QRect plot = window->pitchPlot()->geometry();
    EXPECT_EQ(plot.height(), PitchPlot::kHeight);
    EXPECT_GE(plot.top(), window->statePanel()->geometry().bottom());
    EXPECT_LE(plot.bottom(), window->toolbar()->geometry().top());

    ASSERT_TRUE(waitForLessonCurve(*window));
    const PitchPlotData& data = window->pitchPlot()->data();
    EXPECT_GT(voicedFrames(data.lesson), sentenceFrames() / 4) << "the lesson's voice is voiced";
    EXPECT_TRUE(data.learner.empty()) << "nothing recorded yet";
    EXPECT_FALSE(data.score);
    EXPECT_TRUE(window->pitchPlot()->message().isEmpty());
    // "唔該，兩位。": four syllables, in order, inside the sentence.
    ASSERT_EQ(data.syllables.size(), 4);
    for (qsizetype i = 0; i < data.syllables.size(); ++i) {
        EXPECT_EQ(data.syllables[i].text, QStringLiteral("si3"));
        EXPECT_LE(data.syllables[i].firstFrame, data.syllables[i].lastFrame);
        EXPECT_LT(data.syllables[i].lastFrame, int(data.lesson.size()));
        if (i > 0) {
            EXPECT_GT(data.syllables[i].firstFrame, data.syllables[i - 1].lastFrame);
        }
    }

    // The next sentence brings its own curve.
    const std::vector<float> first = data.lesson;
    window->GoNextSentence();
    ASSERT_TRUE(waitForLessonCurve(*window));
    EXPECT_NE(window->pitchPlot()->data().lesson.size(), first.size());

    window->dispatch(CmdReadAlongPitch);
    EXPECT_FALSE(window->pitchShown());
    EXPECT_FALSE(settings.follow_bPitch);
    EXPECT_EQ(window->size(), folded) << "folding in gives the window back its size";

    // Opened again, it comes up as it was left.
    window.reset();
    settings.follow_bPitch = true;
    window = open();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->pitchShown());
    const QSize opened = window->size();
    window->dispatch(CmdReadAlongPitch);
    EXPECT_EQ(window->size(), opened - QSize(0, PitchPlot::kHeight));
    EXPECT_TRUE(messages.isEmpty()) << firstMessage();
}

TEST_F(PitchWindowTest, RecordingOfTheSentenceIsComparedWithItAndOnlyWithIt) {
    settings.follow_bPitch = true;
    auto window = open();
    ASSERT_TRUE(window);
    ASSERT_TRUE(waitForLessonCurve(*window));

    // The learner reads the first sentence: the lesson itself, from the sink's monitor.
    MediaPlayer lesson;
    ASSERT_TRUE(lesson.Open(kLesson, nullptr, lurvo::media::ParserOrder::Mpeg1First).ok());
    window->ToggleRecording();
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << firstMessage();
    ASSERT_TRUE(lesson.Play().ok());
    // Until the pause after it, before the next sentence starts.
    QTest::qWait(document.lineEndMs(0, int(lengthMs)) - 200);
    window->ToggleRecording();
    lesson.Close();
    ASSERT_TRUE(QFileInfo::exists(settings.follow_destFile));

    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->pitchPlot()->data().score.has_value(); }, 10000));
    const PitchPlotData& data = window->pitchPlot()->data();
    EXPECT_EQ(data.learner.size(), data.lesson.size()) << "on the lesson's time axis";
    EXPECT_GT(voicedFrames(data.learner), voicedFrames(data.lesson) / 2);
    EXPECT_GE(*data.score, 80) << "the lesson's own voice matches it";
    std::printf("score of the lesson's voice recorded from the sink: %d\n", *data.score);

    // Another sentence: the recording is not a reading of it.
    window->GoNextSentence();
    ASSERT_TRUE(waitForLessonCurve(*window));
    EXPECT_TRUE(window->pitchPlot()->data().learner.empty());
    EXPECT_FALSE(window->pitchPlot()->data().score);
    // Back at the sentence it is a reading of, it is compared again.
    window->GoPreviousSentence();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->pitchPlot()->data().score.has_value(); }, 10000));
    EXPECT_TRUE(messages.isEmpty()) << firstMessage();
}

TEST_F(PitchWindowTest, SilentRecordingIsSaidToHoldNoSpeech) {
    settings.follow_bPitch = true;
    auto window = open();
    ASSERT_TRUE(window);
    ASSERT_TRUE(waitForLessonCurve(*window));
    window->ToggleRecording(); // nothing plays: the sink's monitor is silent
    ASSERT_EQ(window->state(), ReadAlongState::Recording) << firstMessage();
    QTest::qWait(1500);
    window->ToggleRecording();
    ASSERT_TRUE(QFileInfo::exists(settings.follow_destFile));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !window->pitchPlot()->data().note.isEmpty(); }, 10000));
    const PitchPlotData& data = window->pitchPlot()->data();
    EXPECT_EQ(data.note, QStringLiteral("录音里没有听到说话"));
    EXPECT_FALSE(data.score);
    EXPECT_TRUE(data.learner.empty());
    EXPECT_GT(voicedFrames(data.lesson), 0) << "the lesson's curve stays";
}

TEST_F(PitchWindowTest, PictureIsSavedAsPngOrSaysWhyNot) {
    auto window = open();
    ASSERT_TRUE(window);
    window->dispatch(CmdReadAlongExportPitch);
    EXPECT_EQ(sounds, 1) << "nothing to save while the plot is folded in";
    EXPECT_TRUE(suggested.isEmpty());

    window->dispatch(CmdReadAlongPitch);
    ASSERT_TRUE(waitForLessonCurve(*window));
    imagePaths << dir.filePath(QStringLiteral("tones")) << QString()
               << dir.filePath(QStringLiteral("no-such-folder/tones.png"));
    window->dispatch(CmdReadAlongExportPitch);
    ASSERT_EQ(suggested.size(), 1);
    EXPECT_EQ(QFileInfo(suggested[0]).fileName(), QStringLiteral("one-line-1.png"));
    const QImage saved(dir.filePath(QStringLiteral("tones.png")));
    ASSERT_FALSE(saved.isNull()) << "saved with the extension added";
    EXPECT_EQ(saved.width(), int(window->pitchPlot()->width() * window->devicePixelRatioF()));

    window->dispatch(CmdReadAlongExportPitch); // cancelled
    EXPECT_TRUE(messages.isEmpty());
    window->dispatch(CmdReadAlongExportPitch);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("导出图片失败：\r\n")))
        << firstMessage();
}

} // namespace
