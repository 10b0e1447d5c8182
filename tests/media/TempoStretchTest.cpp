#include "AppSinkSamples.h"
#include "media/Elements.h"
#include "media/GstHandles.h"

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

// A segment played slower or faster comes out as long as it lasts at that speed, to the
// sample, and starts on its own first sample, mono as well as stereo. At 1.00x the audio
// passes untouched.
TEST(TempoStretch, GivesEachSegmentOutWholeFromItsFirstSample) {
    const int startMs = 500;
    const int stopMs = 1300;
    const auto inFrames = std::size_t(kRate) * std::size_t(stopMs - startMs) / 1000;
    for (const int channels : {1, 2}) {
        SCOPED_TRACE(channels);
        const auto plain = stretchedSine(channels, 1.0, startMs, stopMs);
        ASSERT_EQ(plain.size(), inFrames * std::size_t(channels));
        for (const double speed : {0.5, 0.75, 1.5, 2.0}) {
            SCOPED_TRACE(speed);
            const auto paced = stretchedSine(channels, speed, startMs, stopMs);
            const auto owed = std::size_t(std::llround(double(inFrames) / speed));
            EXPECT_NEAR(double(paced.size()) / channels, double(owed), 1.0);
            // The first 5 ms are the segment's own first 5 ms (SoundTouch started mono streams
            // 0.75 ms late, after near silence).
            ASSERT_GE(paced.size(), std::size_t(kRate / 200 * channels));
            double worst = 0;
            for (std::size_t i = 0; i < std::size_t(kRate / 200 * channels); ++i)
                worst = std::max(worst, double(std::abs(paced[i] - plain[i])));
            EXPECT_LT(worst, 1e-3);
        }
    }
}
