#include "SyntheticVoices.h"
#include "pitch/PitchAnalysis.h"

#include "TestFiles.h"

#include <cmath>
#include <iostream>

using namespace lurvo::pitch;
using namespace lurvo::test;

namespace {

const std::vector<Tone> kTones{{5, 5}, {2, 5}, {3, 3}, {2, 1}, {2, 3}, {2, 2}, {5, 5}, {2, 1}};
// The same syllables with each tone changed.
const std::vector<Tone> kOtherTones{{2, 1}, {3, 3}, {2, 5}, {5, 5}, {2, 1}, {2, 5}, {2, 2}, {3, 3}};

class ComparisonTest : public TempFolderTest {
protected:
    // The voice through a WAV file, with sox effects on the way.
    VoiceTrack voiceOf(const SyllableVoice& voice, const QString& name,
                       const QStringList& effects = {}) {
        const QString wav = dir.filePath(name + ".wav");
        EXPECT_EQ(writeWav(voice.samples, wav, effects), QString());
        const DecodedPcm decoded = decodeSpan(wav, 0, -1);
        EXPECT_TRUE(decoded.ok()) << decoded.error.toStdString();
        return analyseVoice(decoded.pcm);
    }

    int scoreOf(const VoiceTrack& lesson, const VoiceTrack& learner, const char* label) {
        const Comparison c = compareVoices(lesson, learner);
        std::cout << label << ": mean difference " << c.meanDifference << " st, score "
                  << (c.score ? *c.score : -1) << "\n";
        EXPECT_TRUE(c.score.has_value()) << label;
        return c.score.value_or(-1);
    }
};

TEST_F(ComparisonTest, TheSameTonesAtAnotherSpeedOrPitchScoreHighAndOtherTonesClearlyLower) {
    const SyllableVoice sentence = syllableVoice(kTones);
    const VoiceTrack lesson = voiceOf(sentence, "lesson");
    const int slower = scoreOf(lesson, voiceOf(sentence, "slower", {"tempo", "0.8"}), "tempo 0.8");
    const int faster =
        scoreOf(lesson, voiceOf(sentence, "faster", {"tempo", "1.25"}), "tempo 1.25");
    const int higher = scoreOf(lesson, voiceOf(sentence, "higher", {"pitch", "500"}), "pitch +5");
    EXPECT_GE(slower, 90);
    EXPECT_GE(faster, 90);
    EXPECT_GE(higher, 90);
    const int best = std::min({slower, faster, higher});

    const SyllableVoice other = syllableVoice(kOtherTones);
    const int otherTones = scoreOf(lesson, voiceOf(other, "other"), "other tones");
    const int otherSlower =
        scoreOf(lesson, voiceOf(other, "otherSlower", {"tempo", "0.8"}), "other tones, tempo 0.8");
    EXPECT_LE(otherTones, best - 30);
    EXPECT_LE(otherSlower, best - 30);
}

TEST_F(ComparisonTest, SpokenCantoneseKeepsItsScoreAtAnotherSpeedOrPitchButNotWithOtherTones) {
    const auto speak = [&](const QString& name, const QString& jyutping, const QString& pitch,
                           const QStringList& effects = {}) {
        const QString spoken = dir.filePath(name + ".spoken.wav"),
                      wav = dir.filePath(name + ".wav");
        EXPECT_EQ(
            runTool("espeak-ng", {"-v", "yue-Latn-jyutping", "-p", pitch, "-w", spoken, jyutping}),
            QString());
        EXPECT_EQ(runTool("sox", QStringList{spoken, wav} + effects), QString());
        const DecodedPcm decoded = decodeSpan(wav, 0, -1);
        EXPECT_TRUE(decoded.ok()) << decoded.error.toStdString();
        return analyseVoice(decoded.pcm);
    };
    const QString sentence =
        QStringLiteral("ngo5 dei6 jat1 cai4 heoi3 jam2 caa4, sik6 jyun4 zoi3 faan1 uk1 kei2");
    const QString otherTones =
        QStringLiteral("ngo1 dei3 jat6 cai2 heoi5 jam4 caa1, sik3 jyun2 zoi6 faan4 uk6 kei5");
    const VoiceTrack lesson = speak("lesson", sentence, "50");
    const int slower =
        scoreOf(lesson, speak("slower", sentence, "50", {"tempo", "0.8"}), "spoken, tempo 0.8");
    const int faster =
        scoreOf(lesson, speak("faster", sentence, "50", {"tempo", "1.25"}), "spoken, tempo 1.25");
    const int higher =
        scoreOf(lesson, speak("higher", sentence, "50", {"pitch", "500"}), "spoken, pitch +5");
    const int otherVoice =
        scoreOf(lesson, speak("otherVoice", sentence, "80"), "spoken, espeak pitch 80");
    EXPECT_GE(slower, 90);
    EXPECT_GE(faster, 90);
    EXPECT_GE(higher, 90);
    EXPECT_GE(otherVoice, 90);
    const int best = std::min({slower, faster, higher, otherVoice});
    EXPECT_LE(scoreOf(lesson, speak("other", otherTones, "50"), "spoken, other tones"), best - 30);
    EXPECT_LE(scoreOf(lesson, speak("otherSlower", otherTones, "50", {"tempo", "0.8"}),
                      "spoken, other tones, tempo 0.8"),
              best - 30);
}

TEST_F(ComparisonTest, AReadingThatSlowsAndThenHurriesIsFollowedSyllableBySyllable) {
    const QString spoken = dir.filePath("spoken.wav"), slow = dir.filePath("slow.wav"),
                  quick = dir.filePath("quick.wav"), reading = dir.filePath("reading.wav");
    ASSERT_EQ(runTool("espeak-ng", {"-v", "yue-Latn-jyutping", "-w", spoken,
                                    "ngo5 dei6 jat1 cai4 heoi3 jam2 caa4, sik6 jyun4 zoi3 faan1 "
                                    "uk1 kei2"}),
              QString());
    // The first half at 0.7 of the speed, the rest at 1.4.
    ASSERT_EQ(runTool("sox", {spoken, slow, "trim", "0", "1.6", "tempo", "0.7"}), QString());
    ASSERT_EQ(runTool("sox", {spoken, quick, "trim", "1.6", "tempo", "1.4"}), QString());
    ASSERT_EQ(runTool("sox", {slow, quick, reading}), QString());
    const VoiceTrack lesson = analyseVoice(decodeSpan(spoken, 0, -1).pcm);
    const VoiceTrack learner = analyseVoice(decodeSpan(reading, 0, -1).pcm);
    EXPECT_GE(scoreOf(lesson, learner, "spoken, slow then quick"), 90);

    const SyllableVoice sentence = syllableVoice(kTones);
    const std::size_t half = std::size_t(sentence.syllables[4].first) * (kAnalysisRate / 100);
    SyllableVoice firstHalf = sentence, secondHalf = sentence;
    firstHalf.samples.resize(half);
    secondHalf.samples.erase(secondHalf.samples.begin(),
                             secondHalf.samples.begin() + std::ptrdiff_t(half));
    const VoiceTrack synthetic = voiceOf(sentence, "synthetic");
    const VoiceTrack slowThenQuick = [&] {
        voiceOf(firstHalf, "first", {"tempo", "0.7"});
        voiceOf(secondHalf, "second", {"tempo", "1.4"});
        EXPECT_EQ(runTool("sox", {dir.filePath("first.wav"), dir.filePath("second.wav"),
                                  dir.filePath("both.wav")}),
                  QString());
        return analyseVoice(decodeSpan(dir.filePath("both.wav"), 0, -1).pcm);
    }();
    EXPECT_GE(scoreOf(synthetic, slowThenQuick, "syllables, slow then quick"), 90);
}

TEST_F(ComparisonTest, ADeepAndAHighVoiceWithTheSameTonesMatch) {
    const VoiceTrack deep = voiceOf(syllableVoice(kTones, 90.0f), "deep");
    const VoiceTrack high = voiceOf(syllableVoice(kTones, 220.0f), "high");
    EXPECT_GE(scoreOf(deep, high, "90 Hz against 220 Hz"), 90);
}

TEST_F(ComparisonTest, TheLearnerIsPlacedOnTheLessonsVoicedFramesOnly) {
    const SyllableVoice sentence = syllableVoice(kTones);
    const VoiceTrack lesson = voiceOf(sentence, "lesson");
    const Comparison c = compareVoices(lesson, voiceOf(sentence, "slower", {"tempo", "0.8"}));
    ASSERT_EQ(int(c.learnerOnLesson.size()), lesson.frameCount());
    int placed = 0, voiced = 0;
    for (int i = 0; i < lesson.frameCount(); ++i) {
        if (std::isnan(lesson.semitones[i])) {
            EXPECT_TRUE(std::isnan(c.learnerOnLesson[i])) << i;
            continue;
        }
        ++voiced;
        if (!std::isnan(c.learnerOnLesson[i])) {
            ++placed;
            // Aligned, the same sentence lies where the lesson does.
            EXPECT_NEAR(c.learnerOnLesson[i], lesson.semitones[i], 2.0f) << i;
        }
    }
    EXPECT_GE(placed, voiced * 8 / 10);
}

TEST_F(ComparisonTest, TooLittleVoicedSpeechGetsNoScore) {
    const SyllableVoice sentence = syllableVoice(kTones);
    const VoiceTrack lesson = voiceOf(sentence, "lesson");

    const Comparison silence =
        compareVoices(lesson, analyseVoice(Pcm{std::vector<float>(32000, 0.0f)}));
    EXPECT_FALSE(silence.score.has_value());
    EXPECT_TRUE(std::isnan(silence.meanDifference));

    // A reading of only the first syllable, recorded alone: no reading of the sentence is
    // that fast.
    const int frame = kAnalysisRate / 100;
    const std::vector<float> firstOnly(sentence.samples.begin(),
                                       sentence.samples.begin() +
                                           (sentence.syllables[0].last + 3) * frame);
    EXPECT_FALSE(
        compareVoices(lesson, analyseVoice(Pcm{firstOnly, kAnalysisRate})).score.has_value());

    // The first syllable of twelve, then only breath: the rest of the sentence meets nothing
    // voiced.
    std::vector<Tone> twelve = kTones;
    twelve.insert(twelve.end(), kTones.begin(), kTones.begin() + 4);
    const SyllableVoice longer = syllableVoice(twelve);
    const VoiceTrack longLesson = analyseVoice(Pcm{longer.samples, kAnalysisRate});
    std::vector<float> breath = longer.samples;
    std::uint32_t noise = 12345;
    for (std::size_t i = std::size_t(longer.syllables[0].last + 3) * frame;
         i + 2000 < breath.size(); ++i) {
        noise = noise * 1664525u + 1013904223u;
        breath[i] = 0.02f * (float(noise >> 8) / float(1u << 24) - 0.5f);
    }
    const Comparison breathed = compareVoices(longLesson, analyseVoice(Pcm{breath, kAnalysisRate}));
    EXPECT_FALSE(std::isnan(breathed.meanDifference)); // the first syllable met its own
    EXPECT_FALSE(breathed.score.has_value());

    EXPECT_FALSE(compareVoices(VoiceTrack{}, lesson).score.has_value());
}

TEST(ScoreTest, TheScoreFallsWithTheDifferenceFromFullToNothing) {
    EXPECT_EQ(scoreForDifference(0.0f), 100);
    EXPECT_EQ(scoreForDifference(0.5f), 100);
    EXPECT_EQ(scoreForDifference(1.0f), 90);
    EXPECT_EQ(scoreForDifference(2.0f), 70);
    EXPECT_EQ(scoreForDifference(5.5f), 0);
    EXPECT_EQ(scoreForDifference(12.0f), 0);
    int previous = 100;
    for (float d = 0; d < 8.0f; d += 0.05f) {
        const int score = scoreForDifference(d);
        EXPECT_LE(score, previous) << d;
        EXPECT_GE(score, 0);
        previous = score;
    }
}

} // namespace
