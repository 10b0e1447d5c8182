#include "pitch/PitchAnalyser.h"
#include "SyntheticVoices.h"

#include "TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cmath>

using namespace lurvo::pitch;
using namespace lurvo::test;

namespace {

const std::vector<Tone> kTones{{5, 5}, {2, 5}, {3, 3}, {2, 1}, {2, 3}, {2, 2}};

int voicedFrames(const std::vector<float>& series) {
    return int(std::count_if(series.begin(), series.end(), [](float v) { return !std::isnan(v); }));
}

class PitchAnalyserTest : public TempFolderTest {
protected:
    QString lesson, reading;
    std::int64_t sentenceMs = 0;

    void SetUp() override {
        // The lesson: a second of silence, then the sentence; the learner reads it slower.
        const SyllableVoice sentence = syllableVoice(kTones);
        std::vector<float> samples(kAnalysisRate, 0.0f);
        samples.insert(samples.end(), sentence.samples.begin(), sentence.samples.end());
        sentenceMs = std::int64_t(sentence.samples.size()) * 1000 / kAnalysisRate;
        lesson = dir.filePath("lesson.wav");
        reading = dir.filePath("reading.wav");
        ASSERT_EQ(writeWav(samples, lesson), QString());
        ASSERT_EQ(writeWav(sentence.samples, reading, {"tempo", "0.8"}), QString());
    }

    PitchRequest sentenceRequest(bool withReading) const {
        PitchRequest r;
        r.lessonPath = lesson;
        r.startMs = 1000;
        r.endMs = 1000 + sentenceMs;
        r.recordingPath = withReading ? reading : QString();
        r.syllables = int(kTones.size());
        return r;
    }
};

TEST_F(PitchAnalyserTest, LessonAloneThenWithTheReadingWhichAnalysesTheLessonOnce) {
    std::shared_ptr<const std::pair<PitchRequest, VoiceTrack>> kept;
    const PitchOutcome alone = analyse(sentenceRequest(false), kept);
    EXPECT_TRUE(alone.lessonError.isEmpty()) << alone.lessonError.toStdString();
    EXPECT_NEAR(double(alone.lesson.size()), double(sentenceMs / kFrameMs), 2);
    EXPECT_GT(voicedFrames(alone.lesson), int(alone.lesson.size()) / 2);
    EXPECT_TRUE(alone.learner.empty());
    EXPECT_FALSE(alone.score);
    EXPECT_EQ(alone.syllables.size(), kTones.size());
    ASSERT_TRUE(kept);

    // The lesson's sentence is analysed once: gone from the disk, it still answers.
    ASSERT_TRUE(QFile::remove(lesson));
    const PitchOutcome compared = analyse(sentenceRequest(true), kept);
    EXPECT_TRUE(compared.lessonError.isEmpty()) << compared.lessonError.toStdString();
    ASSERT_EQ(compared.lesson.size(), alone.lesson.size());
    EXPECT_TRUE(
        std::equal(compared.lesson.begin(), compared.lesson.end(), alone.lesson.begin(),
                   [](float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); }));
    ASSERT_EQ(compared.learner.size(), compared.lesson.size());
    ASSERT_TRUE(compared.score);
    EXPECT_GE(*compared.score, 90) << "the same tones, slower";

    // Another span of it must be read again, and says why it cannot be.
    PitchRequest other = sentenceRequest(true);
    other.startMs = 500;
    const PitchOutcome missing = analyse(other, kept);
    EXPECT_FALSE(missing.lessonError.isEmpty());
    EXPECT_TRUE(missing.lesson.empty());
}

TEST_F(PitchAnalyserTest, RecordingThatCannotBeReadOrHoldsNoVoiceLeavesTheLessonsCurve) {
    std::shared_ptr<const std::pair<PitchRequest, VoiceTrack>> kept;
    PitchRequest request = sentenceRequest(true);
    request.recordingPath = dir.filePath("none.mp3");
    PitchOutcome outcome = analyse(request, kept);
    EXPECT_FALSE(outcome.learnerError.isEmpty());
    EXPECT_GT(voicedFrames(outcome.lesson), 0);
    EXPECT_FALSE(outcome.score);

    request.recordingPath = dir.filePath("silence.wav");
    ASSERT_EQ(writeWav(std::vector<float>(2 * kAnalysisRate, 0.0f), request.recordingPath),
              QString());
    outcome = analyse(request, kept);
    EXPECT_TRUE(outcome.learnerError.isEmpty()) << outcome.learnerError.toStdString();
    EXPECT_TRUE(outcome.learnerSilent);
    EXPECT_TRUE(outcome.learner.empty());
    EXPECT_FALSE(outcome.score);
}

TEST_F(PitchAnalyserTest, SentenceThatRunsOnIsAnalysedForItsFirstMinute) {
    // The last sentence of a lesson runs to the lesson's end, here 70 s of voice.
    const QString longLesson = dir.filePath("long.wav");
    ASSERT_EQ(runTool("sox", {"-n", "-r", "16000", "-c", "1", "-b", "16", longLesson, "synth", "70",
                              "sawtooth", "150", "vol", "0.3"}),
              QString());
    PitchRequest request;
    request.lessonPath = longLesson;
    request.endMs = -1;
    std::shared_ptr<const std::pair<PitchRequest, VoiceTrack>> kept;
    const PitchOutcome outcome = analyse(request, kept);
    EXPECT_TRUE(outcome.lessonError.isEmpty()) << outcome.lessonError.toStdString();
    EXPECT_NEAR(double(outcome.lesson.size()), double(kLongestSentenceMs / kFrameMs), 2);
}

TEST_F(PitchAnalyserTest, OnlyTheNewestRequestIsAnsweredOnTheOwnersThread) {
    QList<PitchOutcome> answers;
    bool onOwnerThread = true;
    {
        PitchAnalyser analyser;
        analyser.onResult = [&](const PitchOutcome& outcome) {
            onOwnerThread = onOwnerThread && QThread::currentThread() == qApp->thread();
            answers << outcome;
        };
        // The learner moves on twice while the first runs: the last request is what they see.
        analyser.request(sentenceRequest(false));
        PitchRequest skipped = sentenceRequest(false);
        skipped.startMs = 0;
        analyser.request(skipped);
        analyser.request(sentenceRequest(true));
        EXPECT_TRUE(analyser.busy());
        QElapsedTimer clock;
        clock.start();
        while ((answers.isEmpty() || analyser.busy()) && clock.elapsed() < 20000) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        ASSERT_EQ(answers.size(), 1);
        EXPECT_FALSE(analyser.busy());
        EXPECT_EQ(answers[0].request.recordingPath, reading);
        EXPECT_TRUE(answers[0].score.has_value());
        EXPECT_TRUE(onOwnerThread);

        // Gone while it works: it waits for the worker and answers no one.
        analyser.request(sentenceRequest(false));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(answers.size(), 1);
}

} // namespace
