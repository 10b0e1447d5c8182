#include "SyntheticVoices.h"
#include "pitch/PitchAnalysis.h"

#include "TestFiles.h"

#include <cmath>
#include <thread>

using namespace lurvo::pitch;
using lurvo::test::runTool;

namespace {

class DecodeSpanTest : public lurvo::test::TempFolderTest {
protected:
    // An MP3 of 2 s of a tone and then 2 s of silence, in stereo at 44.1 kHz; with a large ID3
    // tag before the audio when `tagged`.
    QString toneThenSilence(bool tagged = false) {
        const QString wav = dir.filePath("tone.wav");
        const QString mp3 = dir.filePath(tagged ? "tagged.mp3" : "tone.mp3");
        EXPECT_EQ(runTool("sox", {"-n", "-r", "44100", "-c", "2", wav, "synth", "2", "sine", "440",
                                  "pad", "0", "2"}),
                  QString());
        QStringList options{"--quiet", "-b", "128"};
        if (tagged)
            options << "--tt"
                    << "tone"
                    << "--add-id3v2"
                    << "--pad-id3v2-size"
                    << "30000";
        EXPECT_EQ(runTool("lame", options + QStringList{wav, mp3}), QString());
        return mp3;
    }
};

// The RMS of 10 ms from `ms` on.
float rmsAt(const Pcm& pcm, int ms) {
    double sum = 0;
    const int first = ms * pcm.rate / 1000, n = pcm.rate / 100;
    for (int i = first; i < first + n && i < int(pcm.samples.size()); ++i)
        sum += double(pcm.samples[i]) * pcm.samples[i];
    return float(std::sqrt(sum / n));
}

TEST_F(DecodeSpanTest, AnMp3SpanComesOutMonoAtTheRateWithItsLengthAndPlace) {
    for (const bool tagged : {false, true}) {
        SCOPED_TRACE(tagged ? "behind an ID3 tag" : "untagged");
        const DecodedPcm span = decodeSpan(toneThenSilence(tagged), 1500, 2500);
        ASSERT_TRUE(span.ok()) << span.error.toStdString();
        EXPECT_EQ(span.pcm.rate, kAnalysisRate);
        EXPECT_NEAR(double(span.pcm.samples.size()), 1.0 * kAnalysisRate, kAnalysisRate * 0.01);
        // The tone stops 500 ms into the span.
        EXPECT_GT(rmsAt(span.pcm, 100), 0.3f);
        EXPECT_GT(rmsAt(span.pcm, 470), 0.3f);
        EXPECT_LT(rmsAt(span.pcm, 530), 0.01f);
        EXPECT_LT(rmsAt(span.pcm, 900), 0.01f);
    }

    const DecodedPcm other = decodeSpan(toneThenSilence(), 1000, 1400, 8000);
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(other.pcm.rate, 8000);
    EXPECT_NEAR(double(other.pcm.samples.size()), 0.4 * 8000, 80);
}

TEST_F(DecodeSpanTest, WithoutAnEndTheSpanRunsToTheEndOfTheFile) {
    const QString mp3 = toneThenSilence();
    const DecodedPcm tail = decodeSpan(mp3, 3000, -1);
    ASSERT_TRUE(tail.ok()) << tail.error.toStdString();
    EXPECT_NEAR(double(tail.pcm.samples.size()), 1.0 * kAnalysisRate, kAnalysisRate * 0.05);
    const DecodedPcm whole = decodeSpan(mp3, 0, -1);
    ASSERT_TRUE(whole.ok());
    EXPECT_NEAR(double(whole.pcm.samples.size()), 4.0 * kAnalysisRate, kAnalysisRate * 0.05);
}

TEST_F(DecodeSpanTest, TwoWorkerThreadsDecodeAndAnalyseAtOnceAsTheMainThreadDoes) {
    const QString wav = dir.filePath("glide.wav");
    ASSERT_EQ(runTool("sox", {"-n", "-r", "22050", wav, "synth", "2", "sawtooth", "100:300"}),
              QString());
    const VoiceTrack here = analyseVoice(decodeSpan(wav, 500, 1500).pcm);
    ASSERT_TRUE(here.voiced());
    VoiceTrack there[2];
    std::thread workers[2];
    for (int k = 0; k < 2; ++k)
        workers[k] =
            std::thread([&, k] { there[k] = analyseVoice(decodeSpan(wav, 500, 1500).pcm); });
    for (std::thread& worker : workers)
        worker.join();
    for (const VoiceTrack& voice : there) {
        ASSERT_EQ(voice.frameCount(), here.frameCount());
        EXPECT_FLOAT_EQ(voice.medianHz, here.medianHz);
    }
}

TEST_F(DecodeSpanTest, WhatCannotBeDecodedIsReportedAsText) {
    const DecodedPcm missing = decodeSpan(dir.filePath("none.mp3"), 0, 1000);
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.pcm.samples.empty());

    const DecodedPcm text = decodeSpan(write("words.mp3", QByteArray(4000, 'x')), 0, 1000);
    EXPECT_FALSE(text.ok());
    EXPECT_TRUE(text.pcm.samples.empty());

    const QString mp3 = toneThenSilence();
    EXPECT_FALSE(decodeSpan(mp3, 2000, 1000).ok());
}

} // namespace
