#include "SyntheticVoices.h"
#include "pitch/Contour.h"
#include "pitch/PitchAnalysis.h"

#include "TestFiles.h"

#include <cmath>
#include <iostream>

using namespace lurvo::pitch;
using namespace lurvo::test;

namespace {

const std::vector<Tone> kSentence{{5, 5}, {2, 5}, {3, 3}, {2, 1}, {2, 3}, {2, 2}, {5, 5}, {2, 1}};

int voicedFrames(const VoiceTrack& voice) {
    int n = 0;
    for (float v : voice.hz)
        n += !std::isnan(v);
    return n;
}

class PitchTrackTest : public TempFolderTest {
protected:
    VoiceTrack analyseFile(const QString& path) {
        const DecodedPcm decoded = decodeSpan(path, 0, -1);
        EXPECT_TRUE(decoded.ok()) << decoded.error.toStdString();
        return analyseVoice(decoded.pcm);
    }
};

TEST_F(PitchTrackTest, AGlideFrom90To400HzIsFollowedWithoutOctaveErrors) {
    const QString wav = dir.filePath("glide.wav");
    ASSERT_EQ(runTool("sox", {"-n", "-r", "16000", "-b", "16", wav, "synth", "3", "sawtooth",
                              "90:400", "vol", "0.5"}),
              QString());
    const VoiceTrack voice = analyseFile(wav);
    ASSERT_EQ(voice.frameCount(), 300);
    std::vector<float> truth(300);
    for (int i = 0; i < 300; ++i)
        truth[i] = 90.0f + 310.0f * (i + 0.5f) / 300.0f; // a linear sweep over the 3 s
    const ContourError error = contourError(voice, truth);
    std::cout << "glide: p95 " << error.p95 << " st, worst " << error.worst << " st over "
              << error.compared << " frames\n";
    EXPECT_GE(error.compared, 280);
    EXPECT_LE(error.p95, 0.5f);
    EXPECT_LT(error.worst, 1.0f); // an octave error would be near 12
    // Relative to the voice's own middle: the sweep's middle (about 245 Hz) is at 0.
    EXPECT_NEAR(voice.medianHz, 245.0f, 10.0f);
    EXPECT_NEAR(voice.semitones[150], 0.0f, 0.5f);
    EXPECT_NEAR(voice.semitones[295] - voice.semitones[5], 12.0f * std::log2(395.0f / 95.0f), 0.5f);
}

TEST_F(PitchTrackTest, StepsAreHeldWithinHalfASemitone) {
    const std::vector<float> steps{120, 160, 100, 150, 130};
    QStringList parts;
    std::vector<float> truth;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        parts << dir.filePath(QStringLiteral("step%1.wav").arg(k));
        ASSERT_EQ(runTool("sox", {"-n", "-r", "16000", "-b", "16", parts.back(), "synth", "0.4",
                                  "sawtooth", QString::number(steps[k]), "vol", "0.5"}),
                  QString());
        truth.insert(truth.end(), 40, steps[k]);
    }
    const QString wav = dir.filePath("steps.wav");
    ASSERT_EQ(runTool("sox", parts + QStringList{wav}), QString());
    const VoiceTrack voice = analyseFile(wav);
    const ContourError error = contourError(voice, truth, 4);
    std::cout << "steps: p95 " << error.p95 << " st over " << error.compared << " frames\n";
    EXPECT_GE(error.compared, 140);
    EXPECT_LE(error.p95, 0.5f);
}

TEST_F(PitchTrackTest, SyllablesWithTonesAreFollowedAndTheirPausesAreUnvoiced) {
    const SyllableVoice sentence = syllableVoice(kSentence);
    const QString wav = dir.filePath("syllables.wav");
    ASSERT_EQ(writeWav(sentence.samples, wav), QString());
    const VoiceTrack voice = analyseFile(wav);
    const ContourError error = contourError(voice, sentence.trueHz, 3);
    std::cout << "syllables: p95 " << error.p95 << " st over " << error.compared << " frames\n";
    EXPECT_LE(error.p95, 0.5f);
    int truthFrames = 0;
    for (float hz : sentence.trueHz)
        truthFrames += hz > 0;
    EXPECT_GE(error.compared, truthFrames * 3 / 4);
    // Nothing is voiced in the pauses between syllables.
    for (std::size_t s = 0; s + 1 < sentence.syllables.size(); ++s) {
        const int gapMiddle = (sentence.syllables[s].last + sentence.syllables[s + 1].first) / 2;
        EXPECT_TRUE(std::isnan(voice.hz[gapMiddle])) << "pause after syllable " << s;
    }
    // Speech starts and ends with the first and last syllables.
    EXPECT_NEAR(voice.speechFirst, sentence.syllables.front().first, 3);
    EXPECT_NEAR(voice.speechLast, sentence.syllables.back().last, 3);
}

TEST_F(PitchTrackTest, AQuietRecordingIsJudgedByItsOwnLoudnessAboveAFloor) {
    const SyllableVoice sentence = syllableVoice(kSentence);
    Pcm loud{sentence.samples, kAnalysisRate};
    Pcm quiet = loud;
    for (float& s : quiet.samples)
        s *= 0.03f; // 30 dB down
    const VoiceTrack loudVoice = analyseVoice(loud);
    const VoiceTrack quietVoice = analyseVoice(quiet);
    EXPECT_GE(voicedFrames(quietVoice), voicedFrames(loudVoice) * 9 / 10);
    EXPECT_NEAR(quietVoice.medianHz, loudVoice.medianHz, 2.0f);

    Pcm whisper = loud;
    for (float& s : whisper.samples)
        s *= 0.00003f; // near -90 dBFS: below any voice
    const VoiceTrack nothing = analyseVoice(whisper);
    EXPECT_FALSE(nothing.voiced());
    EXPECT_EQ(voicedFrames(nothing), 0);
    EXPECT_LT(nothing.speechLast, nothing.speechFirst);

    const VoiceTrack empty = analyseVoice(Pcm{});
    EXPECT_EQ(empty.frameCount(), 0);
    EXPECT_FALSE(empty.voiced());
}

TEST_F(PitchTrackTest, EspeakCantoneseShiftedByThreeSemitonesIsFoundThreeSemitonesHigher) {
    const QString spoken = dir.filePath("spoken.wav"), shifted = dir.filePath("shifted.wav");
    ASSERT_EQ(
        runTool("espeak-ng", {"-v", "yue", "-p", "60", "-w", spoken,
                              QStringLiteral("今日天氣好好，我哋一齊去飲茶，食完再返屋企。")}),
        QString());
    ASSERT_EQ(runTool("sox", {spoken, "-r", "16000", shifted, "pitch", "300"}), QString());
    const VoiceTrack original = analyseFile(spoken);
    const VoiceTrack higher = analyseFile(shifted);
    ASSERT_TRUE(original.voiced());
    std::vector<float> truth(std::size_t(higher.frameCount()), 0.0f);
    for (int i = 0; i < std::min(original.frameCount(), higher.frameCount()); ++i)
        if (!std::isnan(original.hz[i]))
            truth[i] = original.hz[i] * std::exp2(3.0f / 12.0f);
    const ContourError error = contourError(higher, truth, 2);
    std::cout << "espeak +3 st: p95 " << error.p95 << " st over " << error.compared << " frames\n";
    EXPECT_GE(error.compared, 50);
    EXPECT_LE(error.p95, 0.5f);
    EXPECT_NEAR(12.0f * std::log2(higher.medianHz / original.medianHz), 3.0f, 0.3f);
}

TEST(ContourTest, OctaveJumpsAreFoldedBackAndTheRunKeepsItsCommonOctave) {
    const float n = std::nanf("");
    // A run at 40 st with three frames an octave up, and one whose first frames are an octave
    // down, then a run all an octave up from the rest.
    std::vector<float> st{40,    40.2f, 52.3f, 52.4f, 52.5f, 40.6f, 40.7f, n,     28.8f, 28.9f,
                          41.0f, 41.1f, 41.2f, 41.3f, n,     n,     53.0f, 53.1f, 53.2f};
    foldOctaves(st);
    const std::vector<float> expected{40, 40.2f, 40.3f, 40.4f, 40.5f, 40.6f, 40.7f,
                                      n,  40.8f, 40.9f, 41.0f, 41.1f, 41.2f, 41.3f,
                                      n,  n,     41.0f, 41.1f, 41.2f};
    ASSERT_EQ(st.size(), expected.size());
    for (std::size_t i = 0; i < st.size(); ++i) {
        if (std::isnan(expected[i]))
            EXPECT_TRUE(std::isnan(st[i])) << i;
        else
            EXPECT_NEAR(st[i], expected[i], 1e-4) << i;
    }
    // A real step of a few semitones stays.
    std::vector<float> step{40, 40, 40, 46, 46, 46};
    foldOctaves(step);
    EXPECT_FLOAT_EQ(step[3], 46.0f);
}

TEST(ContourTest, TheMedianFilterRemovesASpikeAndLeavesUnvoicedFramesAlone) {
    const float n = std::nanf("");
    const std::vector<float> st{40, 40, 45, 40, 40, n, 41, 42};
    const std::vector<float> out = medianFiltered(st, 5);
    EXPECT_FLOAT_EQ(out[2], 40.0f);
    EXPECT_TRUE(std::isnan(out[5]));
    EXPECT_FLOAT_EQ(out[7], 42.0f); // only 41 and 42 around it; the upper median
}

} // namespace
