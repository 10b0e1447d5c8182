#include "AppSinkSamples.h"
#include "media/Elements.h"
#include "media/GstHandles.h"
#include "media/VerbatimEnd.h"

#include <gst/gst.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace lurvo::media;

namespace {

constexpr int kRate = 44100;

// A 440 Hz sine of `channels` channels through the tempo stage, for [startMs, stopMs) played
// at `speed`: the interleaved output.
std::vector<float> stretchedSine(int channels, double speed, int startMs, int stopMs) {
    ensureGstInitialized();
    const QByteArray launch =
        QByteArray("audiotestsrc wave=sine freq=440 samplesperbuffer=1000 ! "
                   "audio/x-raw,format=F32LE,layout=interleaved,rate=44100,channels=") +
        QByteArray::number(channels) + " ! lurvotempo ! appsink name=out sync=false";
    GError* error = nullptr;
    GstElementPtr pipeline = adoptElement(gst_parse_launch(launch.constData(), &error));
    if (error != nullptr) {
        ADD_FAILURE() << error->message;
        g_error_free(error);
        return {};
    }
    GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
    gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
    gst_element_get_state(pipeline.get(), nullptr, nullptr, 5 * GST_SECOND);
    EXPECT_TRUE(gst_element_seek(pipeline.get(), speed, GST_FORMAT_TIME,
                                 GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                 GST_SEEK_TYPE_SET, GstClockTime(startMs) * GST_MSECOND,
                                 GST_SEEK_TYPE_SET, GstClockTime(stopMs) * GST_MSECOND));
    gst_element_get_state(pipeline.get(), nullptr, nullptr, 5 * GST_SECOND);
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    std::vector<float> out = lurvo::test::pullFloatSamples(sink.get(), 5 * GST_SECOND);
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return out;
}

} // namespace

// A segment played slower or faster starts on its own first samples, mono as well as stereo,
// slower also ends on its own last ones, and lasts its length over the speed to within 20 ms.
// At 1.00x the audio passes untouched.
TEST(TempoStretch, GivesEachSegmentOutWholeFromItsFirstSampleToItsLast) {
    const int startMs = 500;
    const int stopMs = 1300;
    const auto inFrames = std::size_t(kRate) * std::size_t(stopMs - startMs) / 1000;
    const auto edge = std::size_t(kRate / 200); // 5 ms
    for (const int channels : {1, 2}) {
        SCOPED_TRACE(channels);
        const auto plain = stretchedSine(channels, 1.0, startMs, stopMs);
        ASSERT_EQ(plain.size(), inFrames * std::size_t(channels));
        for (const double speed : {0.5, 0.75, 1.5, 2.0}) {
            SCOPED_TRACE(speed);
            const auto paced = stretchedSine(channels, speed, startMs, stopMs);
            const auto owed = double(std::llround(double(inFrames) / speed));
            EXPECT_NEAR(double(paced.size()) / channels, owed, kRate / 50);
            ASSERT_GE(paced.size(), 2 * edge * std::size_t(channels));
            // SoundTouch started mono streams 0.75 ms late, after near silence.
            double worstStart = 0;
            double worstEnd = 0;
            const std::size_t samples = edge * std::size_t(channels);
            for (std::size_t i = 0; i < samples; ++i) {
                worstStart = std::max(worstStart, double(std::abs(paced[i] - plain[i])));
                worstEnd = std::max(worstEnd, double(std::abs(paced[paced.size() - samples + i] -
                                                              plain[plain.size() - samples + i])));
            }
            EXPECT_LT(worstStart, 1e-3);
            if (speed < 1) {
                EXPECT_LT(worstEnd, 1e-3);
            }
        }
    }
}

namespace {

// Deterministic noise, interleaved.
std::vector<float> noise(std::size_t frames, int channels, unsigned seed) {
    std::vector<float> out(frames * std::size_t(channels));
    unsigned state = seed;
    for (float& v : out) {
        state = state * 1664525u + 1013904223u;
        v = float(int(state >> 9) - (1 << 22)) / float(1 << 23);
    }
    return out;
}

std::vector<float> frames(const std::vector<float>& from, std::size_t begin, std::size_t end,
                          int channels) {
    return {from.begin() + std::ptrdiff_t(begin * std::size_t(channels)),
            from.begin() + std::ptrdiff_t(end * std::size_t(channels))};
}

void append(std::vector<float>& to, const std::vector<float>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

} // namespace

// A stretched pass is runs of its input and some made-up padding at the end. The join goes
// over into the input inside the run that gives the length nearest the pass's own and not
// shorter, so the output goes on exactly as that run did; copies that differ by float rounding
// still count, anything else does not.
TEST(VerbatimEnd, JoinsInsideTheRunThatKeepsTheLengthNearestAndNotShorter) {
    for (const int channels : {1, 2}) {
        SCOPED_TRACE(channels);
        const auto in = noise(1000, channels, 7);
        std::vector<float> out = frames(in, 0, 400, channels); // out [0, 400)
        append(out, frames(in, 300, 700, channels));           // out [400, 800): in - 100
        auto last = frames(in, 600, 950, channels);            // out [800, 1150): in - 200
        for (float& v : last)
            v *= 0.99999f;
        append(out, last);
        append(out, noise(33, channels, 99)); // out [1150, 1183): padding
        const std::span<const float> outSpan(out);
        const std::span<const float> inSpan(in);

        // Going on from the last run makes 1200 frames, 17 more than the pass's 1183.
        const auto join = findVerbatimEnd(outSpan, inSpan, channels, 20, 40);
        ASSERT_TRUE(join.has_value());
        EXPECT_GE(join->keep, 820u);
        EXPECT_LE(join->keep, 1150u);
        EXPECT_EQ(join->from, join->keep - 200);

        // 17 frames over is more than a slack of 10 allows, and from the middle run the pass
        // would come out shorter.
        EXPECT_FALSE(findVerbatimEnd(outSpan, inSpan, channels, 20, 10).has_value());
        // No run of the output in the input at all.
        const auto other = noise(1000, channels, 8);
        EXPECT_FALSE(findVerbatimEnd(outSpan, std::span<const float>(other), channels, 20, 400));
    }
    // Digital silence is the same anywhere: the join gives the exact length.
    const std::vector<float> quietOut(900, 0.0f);
    const std::vector<float> quietIn(700, 0.0f);
    const auto quiet = findVerbatimEnd(quietOut, quietIn, 1, 20, 40);
    ASSERT_TRUE(quiet.has_value());
    EXPECT_EQ(quiet->keep + (700 - quiet->from), 900u);
}
