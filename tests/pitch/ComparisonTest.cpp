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
    const int faster = scoreOf(lesson, voiceOf(sentence, "faster", {"tempo", "1.25"}), "tempo 1.25");
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

    const Comparison silence = compareVoices(lesson, analyseVoice(Pcm{std::vector<float>(32000, 0.0f)}));
    EXPECT_FALSE(silence.score.has_value());
    EXPECT_TRUE(std::isnan(silence.meanDifference));

    // Only the first syllable of eight, the rest unvoiced breath.
    SyllableVoice first = sentence;
    const std::size_t cut = std::size_t(sentence.syllables[0].last + 5) * (kAnalysisRate / 100);
    for (std::size_t i = cut; i < first.samples.size(); ++i)
        first.samples[i] = 0.0f;
    const Comparison one = compareVoices(lesson, analyseVoice(Pcm{first.samples, kAnalysisRate}));
    EXPECT_FALSE(one.score.has_value());

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
