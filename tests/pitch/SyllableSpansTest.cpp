#include "SyntheticVoices.h"
#include "pitch/PitchAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lurvo::pitch;
using namespace lurvo::test;

namespace {

TEST(SyllableSpansTest, SyllablesAreCutAtThePausesBetweenThem) {
    const SyllableVoice sentence = syllableVoice({{5, 5}, {2, 5}, {3, 3}, {2, 1}, {2, 3}, {2, 2}});
    const VoiceTrack voice = analyseVoice(Pcm{sentence.samples, kAnalysisRate});
    const std::vector<FrameSpan> spans = syllableSpans(voice, 6);
    ASSERT_EQ(spans.size(), 6u);
    for (std::size_t s = 0; s < spans.size(); ++s) {
        // Each syllable lies inside its span, give or take its faded edges.
        EXPECT_LE(spans[s].first, sentence.syllables[s].first + 3) << s;
        EXPECT_GE(spans[s].last, sentence.syllables[s].last - 5) << s;
        if (s > 0) {
            EXPECT_EQ(spans[s].first, spans[s - 1].last + 1) << s;
        }
    }
    EXPECT_EQ(spans.front().first, voice.speechFirst);
    EXPECT_EQ(spans.back().last, voice.speechLast);
}

TEST(SyllableSpansTest, WithoutDipsTheSpeechIsDividedEvenly) {
    // One steady tone: no dip to cut at.
    std::vector<float> tone(16000);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = 0.3f * float(std::sin(2 * 3.14159265 * 150 * double(i) / 16000));
    const VoiceTrack voice = analyseVoice(Pcm{tone, kAnalysisRate});
    const std::vector<FrameSpan> spans = syllableSpans(voice, 4);
    ASSERT_EQ(spans.size(), 4u);
    const int length = voice.speechLast - voice.speechFirst + 1;
    for (const FrameSpan& span : spans)
        EXPECT_NEAR(span.last - span.first + 1, length / 4, 1);
    EXPECT_EQ(spans.front().first, voice.speechFirst);
    EXPECT_EQ(spans.back().last, voice.speechLast);

    EXPECT_TRUE(syllableSpans(voice, 0).empty());
    EXPECT_TRUE(syllableSpans(VoiceTrack{}, 3).empty());
}

} // namespace
