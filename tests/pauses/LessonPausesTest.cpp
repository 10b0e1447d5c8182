// Lessons decoded for real: made at test time by tools/make-lesson from a text, with pauses of
// 200 ms to 1.5 s between the sentences, clean and with noise 20 dB below the speech. The
// shortest pause setting, 150 ms, lies below the shortest pause; the text has no commas, as a
// pause inside a line would be a sentence pause of its own.
#include "LessonAccuracy.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using lurvo::pauses::measureEnvelope;

const QString kText = QStringLiteral(LURVO_SOURCE_DIR "/tests/pauses/lesson.txt");

class LessonPausesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        for (const char* name : {"clean", "noisy"}) {
            QStringList options{"--pauses", "200-1500", "--seed", "17"};
            if (QByteArray(name) == "noisy")
                options << "--noise-db"
                        << "20";
            const QString error = lurvo::test::makeLesson(
                kText, folder->filePath(QString::fromLatin1(name)), options);
            ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        }
    }
    static void TearDownTestSuite() { delete folder; }
    static inline QTemporaryDir* folder = nullptr;
};

TEST_F(LessonPausesTest, SentenceStartsAreFoundWhereTheyAreCleanAndInNoise) {
    for (const char* name : {"clean", "noisy"}) {
        SCOPED_TRACE(name);
        const QString base = folder->filePath(QString::fromLatin1(name));
        QList<int> progress;
        const lurvo::pauses::EnvelopeResult measured = measureEnvelope(
            base + ".mp3", [&](int value) { progress.append(value); }, nullptr);
        ASSERT_TRUE(measured.error.isEmpty()) << measured.error.toStdString();
        EXPECT_EQ(measured.envelope.hopMs, 10);
        EXPECT_NEAR(double(measured.envelope.durationMs),
                    double(measured.envelope.levelsDb.size()) * 10, 10);
        ASSERT_FALSE(progress.isEmpty());
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        EXPECT_EQ(progress.back(), 1000);
        EXPECT_GT(progress.size(), 3);

        const QList<lurvo::pauses::Span> found =
            lurvo::pauses::findSentences(measured.envelope, {.minPauseMs = 150});
        const QList<int> truth = lurvo::test::subtitleStarts(base + ".lrc");
        ASSERT_GE(truth.size(), 20);
        const lurvo::test::Accuracy voice = lurvo::test::compareStarts(truth, found, 50);
        EXPECT_GE(voice.withinShare(), 0.95) << voice.within << " of " << voice.truth;
        EXPECT_LE(voice.wrongShare(), 0.03)
            << voice.missing << " missing, " << voice.extra << " extra";
        // The starts as written lead the voice and never cut into it.
        for (const lurvo::pauses::Span& span : found)
            EXPECT_LE(span.startMs, span.voiceMs);
        const lurvo::test::Accuracy written = lurvo::test::compareStarts(truth, found, 130, true);
        EXPECT_EQ(written.within, written.truth - written.missing);
        EXPECT_LT(written.meanMs, 0);
    }
}

TEST_F(LessonPausesTest, MeasuringEndsOnCancelAndExplainsUnreadableFiles) {
    // Cancelled once under way: it ends well before the end of the lesson.
    std::atomic_bool cancel{false};
    int lastProgress = -1;
    const lurvo::pauses::EnvelopeResult cancelled = measureEnvelope(
        folder->filePath("clean.mp3"),
        [&](int value) {
            lastProgress = value;
            if (value >= 100)
                cancel = true;
        },
        &cancel);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_TRUE(cancelled.error.isEmpty());
    EXPECT_TRUE(cancelled.envelope.levelsDb.isEmpty());
    EXPECT_GE(lastProgress, 100);
    EXPECT_LT(lastProgress, 200);

    const lurvo::pauses::EnvelopeResult missing =
        measureEnvelope(folder->filePath("none.mp3"), {}, nullptr);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("none.mp3"))) << missing.error.toStdString();

    const QString text = folder->filePath("text.mp3");
    lurvo::test::writeFile(text, QByteArray("这不是音频文件。\n").repeated(200));
    const lurvo::pauses::EnvelopeResult notAudio = measureEnvelope(text, {}, nullptr);
    EXPECT_FALSE(notAudio.error.isEmpty());
    EXPECT_FALSE(notAudio.cancelled);
}

} // namespace
