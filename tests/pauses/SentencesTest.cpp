// Sentences from made-up loudness envelopes: speech at -20 dBFS, silence at -90 dBFS.
#include "pauses/PauseAnalysis.h"

#include <gtest/gtest.h>

namespace {

using lurvo::pauses::Envelope;
using lurvo::pauses::findSentences;
using lurvo::pauses::PauseOptions;
using lurvo::pauses::Span;

constexpr float kSpeech = -20.0f;
constexpr float kSilence = -90.0f;

// An envelope of 10 ms hops from pieces such as "s500 v2000 n200@-30": silence, speech or
// another level, for so many milliseconds.
Envelope envelopeOf(const QString& pieces) {
    Envelope envelope;
    for (const QString& piece : pieces.split(u' ')) {
        const QStringList parts = piece.mid(1).split(u'@');
        const float level = piece[0] == u's'   ? kSilence
                            : piece[0] == u'v' ? kSpeech
                                               : parts.value(1).toFloat();
        for (int i = 0; i < parts[0].toInt() / 10; ++i)
            envelope.levelsDb.append(level);
    }
    envelope.durationMs = envelope.levelsDb.size() * 10;
    return envelope;
}

QList<int> starts(const QList<Span>& spans) {
    QList<int> result;
    for (const Span& span : spans)
        result.append(span.startMs);
    return result;
}

TEST(FindSentencesTest, SentencesStartBeforeTheirVoiceButNotBeforeThePreviousEnd) {
    // Pauses of 1 s and of 400 ms: the second start would reach back into the sentence before.
    const QList<Span> spans = findSentences(envelopeOf("s500 v2000 s1000 v2000 s400 v2000 s600"),
                                            PauseOptions{.minPauseMs = 350});
    ASSERT_EQ(spans.size(), 3);
    EXPECT_EQ(spans[0].startMs, 420);
    EXPECT_EQ(spans[0].voiceMs, 500);
    EXPECT_EQ(spans[0].endMs, 2500);
    EXPECT_EQ(spans[1].startMs, 3420);
    EXPECT_EQ(spans[1].endMs, 5500);
    EXPECT_EQ(spans[2].startMs, 5820);
    EXPECT_EQ(spans[2].voiceMs, 5900);

    // Split at a gap too short for the lead, a sentence starts where the one before ends.
    const QList<Span> split = findSentences(envelopeOf("v10000 s50 v10000"), {});
    ASSERT_EQ(split.size(), 2);
    EXPECT_EQ(split[1].voiceMs, 10050);
    EXPECT_EQ(split[1].startMs, 10000);
    EXPECT_EQ(split[0].endMs, 10000);
}

TEST(FindSentencesTest, ALessonThatStartsWithSpeechOrIsOneSentenceOrIsSilent) {
    const QList<Span> one = findSentences(envelopeOf("v3000 s300"), {});
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0].startMs, 0); // no lead before the lesson's start
    EXPECT_EQ(one[0].endMs, 3000);

    // Pauses shorter than the setting stay inside the sentence.
    EXPECT_EQ(
        findSentences(envelopeOf("s200 v2000 s300 v2000 s200"), PauseOptions{.minPauseMs = 350})
            .size(),
        1);

    // A minute of silence around two seconds of speech.
    const QList<Span> sparse = findSentences(envelopeOf("s30000 v2000 s30000"), {});
    ASSERT_EQ(sparse.size(), 1);
    EXPECT_EQ(sparse[0].voiceMs, 30000);

    EXPECT_TRUE(findSentences(envelopeOf("s5000"), {}).isEmpty());
    // Quiet hiss with no voice over it is no speech either.
    EXPECT_TRUE(findSentences(envelopeOf("n5000@-75"), {}).isEmpty());
    EXPECT_TRUE(findSentences(Envelope{}, {}).isEmpty());
}

TEST(FindSentencesTest, ShortSentencesJoinTheirNeighbourAcrossTheShorterPause) {
    // A 0.5 s sentence with a 1.2 s pause before and a 0.6 s pause after joins the next one.
    const QList<Span> spans =
        findSentences(envelopeOf("s500 v2000 s1200 v500 s600 v2000 s500"), {});
    EXPECT_EQ(starts(spans), (QList<int>{420, 3620}));
    ASSERT_EQ(spans.size(), 2);
    EXPECT_EQ(spans[1].endMs, 6800);

    // The same, the shorter pause before: it joins the sentence before.
    const QList<Span> before =
        findSentences(envelopeOf("s500 v2000 s600 v500 s1200 v2000 s500"), {});
    ASSERT_EQ(before.size(), 2);
    EXPECT_EQ(before[0].endMs, 3600);

    // Short sentences in a row join until long enough; a lone short one stays.
    const QList<Span> run =
        findSentences(envelopeOf("s500 v300 s500 v300 s500 v300 s2000 v2000"), {});
    ASSERT_EQ(run.size(), 2);
    EXPECT_EQ(run[0].endMs, 2400);
    EXPECT_EQ(findSentences(envelopeOf("s500 v400 s500"), {}).size(), 1);
}

TEST(FindSentencesTest, LongSentencesSplitAtTheirDeepestInnerPausesUntilNoneIsTooLong) {
    // 36 s of speech with inner gaps shorter than the setting: 100 ms ones every 2 s, one of
    // 250 ms at 13 s and one of 200 ms at 25.75 s.
    Envelope envelope = envelopeOf("s500");
    int at = 500;
    for (int i = 0; i < 17; ++i) {
        const int gap = i == 5 ? 250 : i == 11 ? 200 : 100;
        envelope.levelsDb.append(envelopeOf(QStringLiteral("v2000 s%1").arg(gap)).levelsDb);
        at += 2000 + gap;
    }
    envelope.durationMs = at;
    const QList<Span> spans = findSentences(envelope, {});
    ASSERT_EQ(spans.size(), 3);
    EXPECT_EQ(spans[0].endMs, 13000);
    EXPECT_EQ(spans[1].voiceMs, 13250);
    EXPECT_EQ(spans[1].endMs, 25750);
    EXPECT_EQ(spans[2].voiceMs, 25950);
    for (const Span& span : spans)
        EXPECT_LE(span.endMs - span.voiceMs, 15000);

    // Speech with no gap at all cannot be split.
    EXPECT_EQ(findSentences(envelopeOf("v20000"), {}).size(), 1);
}

TEST(FindSentencesTest, ClicksInPausesAreNoSentencesButShortBurstsInSpeechStay) {
    const QList<Span> spans =
        findSentences(envelopeOf("s500 v2000 s600 n20@-10 s600 v2000 s500"), {});
    EXPECT_EQ(starts(spans), (QList<int>{420, 3640}));

    // A burst between gaps shorter than a pause is a syllable: taken away, the two gaps
    // would make one pause.
    EXPECT_EQ(findSentences(envelopeOf("s500 v1000 s100 v20 s100 v1000 s500"), {.minPauseMs = 150})
                  .size(),
              1);
}

TEST(FindSentencesTest, SilenceFollowsTheLessonsLoudnessItsNoiseAndTheSetting) {
    // A quiet recording: speech at -45 dBFS, pauses at -85.
    const QList<Span> quiet =
        findSentences(envelopeOf("n500@-85 n2000@-45 n800@-85 n2000@-45"), {});
    EXPECT_EQ(quiet.size(), 2);
    // A noisy one: pauses at -40 under speech at -20 are still pauses, and a syllable at -30
    // is still voice.
    const QList<Span> noisy =
        findSentences(envelopeOf("n500@-40 v1000 n200@-30 v1000 n800@-40 v2000"), {});
    EXPECT_EQ(starts(noisy), (QList<int>{420, 3420}));

    // The learner's setting decides whether a stretch at -35 is a pause; but however small
    // the setting, speech 8 dB below the loudest is never silence.
    const auto sentencesWithDip = [](float dip, double belowSpeechDb) {
        return findSentences(envelopeOf(QStringLiteral("s500 v1000 n400@%1 v1000 s800").arg(dip)),
                             {.minPauseMs = 350, .silenceBelowSpeechDb = belowSpeechDb})
            .size();
    };
    EXPECT_EQ(sentencesWithDip(-35.0f, 35), 1);
    EXPECT_EQ(sentencesWithDip(-35.0f, 12), 2);
    EXPECT_EQ(sentencesWithDip(-28.0f, 3), 1);
}

} // namespace
