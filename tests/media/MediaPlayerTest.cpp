#include "media/MediaPlayer.h"
#include "media/NotificationSound.h"

#include "../subtitles/TestData.h"
#include "AudioCapture.h"
#include "GraphOwner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>

using namespace lurvo::media;
using lurvo::test::dataPath;
using lurvo::test::expectOneReadErrorQueued;
using lurvo::test::NotifyCounter;
using lurvo::test::postReadError;
using lurvo::test::waitFor;

namespace {

constexpr const char* kFakeRenderer = "fakesink sync=true";

const char* const kSweeps[] = {"media/sweep-cbr.mp3", "media/sweep-vbr-id3.mp3",
                               "media/sweep-tagless.mp3"};

struct OrderCase {
    ParserOrder order;
    const char* parserElement; // the element only that parse chain has
};
const OrderCase kOrders[] = {{ParserOrder::SecondaryFirst, "id3"},
                             {ParserOrder::Mpeg1First, "parsebin"}};

TEST(MediaPlayer, OpensWithEitherParserFirst) {
    for (const OrderCase& c : kOrders) {
        MediaPlayer player(kFakeRenderer);
        const MediaResult result = player.Open(dataPath("lessons/one-line.mp3"), nullptr, c.order);
        ASSERT_TRUE(result.ok()) << result.message.toStdString();
        EXPECT_TRUE(player.isLoaded());
        for (const char* name : {"source", "mp3Parser", "decoder", "renderer", c.parserElement})
            EXPECT_TRUE(player.element(name)) << name;
        EXPECT_FALSE(player.element(c.order == ParserOrder::Mpeg1First ? "id3" : "parsebin"));
        EXPECT_EQ(player.PositionMs(), 0);
        EXPECT_FALSE(player.IsAtEnd());
    }
}

TEST(MediaPlayer, KnowsTheLengthOfEveryKindOfMp3) {
    // A 3 s sweep: CBR with an Info header, VBR behind a large ID3v2 tag, CBR with no header.
    for (const char* file : kSweeps) {
        for (const OrderCase& c : kOrders) {
            MediaPlayer player(kFakeRenderer);
            ASSERT_TRUE(player.Open(dataPath(file), nullptr, c.order).ok()) << file;
            EXPECT_GE(player.LengthMs(), 2990) << file;
            EXPECT_LE(player.LengthMs(), 3060) << file;
        }
    }
    int rate = 0;
    const auto reference = lurvo::test::decodeReference(dataPath("lessons/one-line.mp3"), &rate);
    ASSERT_GT(rate, 0);
    MediaPlayer lesson(kFakeRenderer);
    ASSERT_TRUE(
        lesson.Open(dataPath("lessons/one-line.mp3"), nullptr, ParserOrder::SecondaryFirst).ok());
    EXPECT_NEAR(double(lesson.LengthMs()), reference.size() * 1000.0 / rate, 60.0);
}

TEST(MediaPlayer, FilesThatAreNotMp3FailWithBothParsers) {
    for (const char* file :
         {"media/text.mp3", "media/empty.mp3", "media/wave.mp3", "media/absent.mp3"}) {
        for (const OrderCase& c : kOrders) {
            MediaPlayer player(kFakeRenderer);
            const MediaResult result = player.Open(dataPath(file), nullptr, c.order);
            EXPECT_FALSE(result.ok()) << file;
            EXPECT_FALSE(result.message.isEmpty()) << file;
            EXPECT_FALSE(player.isLoaded()) << file;
            EXPECT_FALSE(player.element("source")) << file;
            player.Close();
            player.Close();
        }
    }
    MediaPlayer missing(kFakeRenderer);
    const MediaResult absent =
        missing.Open(dataPath("media/absent.mp3"), nullptr, ParserOrder::SecondaryFirst);
    EXPECT_EQ(absent.error, MediaError::Resource);
}

TEST(MediaPlayer, SeekClampsToTheFile) {
    MediaPlayer player(kFakeRenderer);
    ASSERT_TRUE(
        player.Open(dataPath("media/sweep-cbr.mp3"), nullptr, ParserOrder::SecondaryFirst).ok());
    player.SeekMs(1000);
    EXPECT_EQ(player.PositionMs(), 1000);
    EXPECT_FALSE(player.IsAtEnd());
    player.SeekMs(-5);
    EXPECT_EQ(player.PositionMs(), 0);
    player.SeekMs(999999); // the last millisecond: [0, length)
    EXPECT_EQ(player.PositionMs(), player.LengthMs() - 1);
    player.SeekMs(2500);
    EXPECT_EQ(player.PositionMs(), 2500);
    EXPECT_FALSE(player.IsAtEnd());
}

// After a seek the audio really comes from the target, to the sample, in every kind of file
// and through both parse chains.
TEST(MediaPlayer, SeekLandsOnTheSample) {
    for (const char* file : kSweeps) {
        int rate = 0;
        const auto reference = lurvo::test::decodeReference(dataPath(file), &rate);
        ASSERT_GT(rate, 0) << file;
        for (const OrderCase& c : kOrders) {
            MediaPlayer player(lurvo::test::kCaptureRenderer);
            ASSERT_TRUE(player.Open(dataPath(file), nullptr, c.order).ok()) << file;
            GstElementPtr sink = player.element("renderer");
            for (const int targetMs : {1234, 2001, 357}) {
                player.SeekMs(targetMs);
                EXPECT_EQ(player.PositionMs(), targetMs) << file;
                const auto got = lurvo::test::pullFrames(sink.get(), 1, true);
                ASSERT_FALSE(got.left.empty()) << file;
                EXPECT_EQ(got.firstPtsNs, targetMs * GST_MSECOND) << file;
                const std::size_t offset = std::size_t(targetMs) * std::size_t(rate) / 1000;
                std::size_t mismatches = 0;
                for (std::size_t i = 0; i < got.left.size() && offset + i < reference.size(); ++i)
                    mismatches += std::abs(got.left[i] - reference[offset + i]) > 2;
                EXPECT_EQ(mismatches, 0u) << file << " at " << targetMs << " ms";
            }
        }
    }
}

// A pass is the sentence's samples and nothing after them; the queued pass follows on at once,
// sample for sample, and a pass with nothing queued ends in silence.
TEST(MediaPlayer, PassesEndOnTheSampleAndJoinOnWithoutAHole) {
    for (const char* file : kSweeps) {
        SCOPED_TRACE(file);
        int rate = 0;
        const auto reference = lurvo::test::decodeReference(dataPath(file), &rate);
        ASSERT_GT(rate, 0);
        MediaPlayer player(lurvo::test::kCaptureRenderer);
        ASSERT_TRUE(player.Open(dataPath(file), nullptr, ParserOrder::SecondaryFirst).ok());
        GstElementPtr sink = player.element("renderer");
        player.PlaySegment(1000, 1500);
        player.QueueSegment(2200, 2300, 7);
        ASSERT_TRUE(player.Play().ok());
        const std::size_t first = std::size_t(rate) / 2;
        const std::size_t second = std::size_t(rate) / 10;
        const auto got = lurvo::test::pullFrames(sink.get(), first + second + rate, false);
        // Nothing after the second pass, which had nothing queued; a pass may end a sample late.
        ASSERT_GE(got.left.size(), first + second);
        ASSERT_LE(got.left.size(), first + second + 2);
        // The second pass starts right after the first's last sample (its stop included).
        const auto mismatchesJoiningAt = [&](std::size_t join) {
            std::size_t mismatches = 0;
            for (std::size_t i = 0; i < first; ++i)
                mismatches += std::abs(got.left[i] - reference[std::size_t(rate) + i]) > 2;
            for (std::size_t i = 0; i < second && join + i < got.left.size(); ++i)
                mismatches +=
                    std::abs(got.left[join + i] - reference[std::size_t(rate) * 22 / 10 + i]) > 2;
            return mismatches;
        };
        EXPECT_EQ(std::min(mismatchesJoiningAt(first), mismatchesJoiningAt(first + 1)), 0u);
        EXPECT_EQ(player.SegmentJoins(), 1);
        EXPECT_EQ(player.LastJoinTag(), 7);
        EXPECT_TRUE(waitFor([&] { return player.SegmentDone(); }, 2000));
        EXPECT_FALSE(player.RecoverStall()) << "a pass heard out is no stall";

        // Slower or faster, the pitch kept: each pass starts on its sentence's own first
        // samples and, slower, ends on its own last ones, as at 1.00x. A pass may come out
        // up to 20 ms longer than its length over the rate, never shorter; the next makes up
        // for it, so the two together stay as close.
        for (const double speed : {0.5, 0.75, 1.5, 2.0}) {
            SCOPED_TRACE(speed);
            MediaPlayer paced(lurvo::test::kCaptureRenderer);
            ASSERT_TRUE(paced.Open(dataPath(file), nullptr, ParserOrder::SecondaryFirst).ok());
            GstElementPtr out = paced.element("renderer");
            paced.SetRate(speed);
            paced.PlaySegment(1000, 1500);
            paced.QueueSegment(2200, 2300, 7);
            ASSERT_TRUE(paced.Play().ok());
            const auto heard = lurvo::test::pullFrames(out.get(), 8 * first, false);
            const auto firstOut = std::size_t(std::llround(double(first) / speed));
            const auto secondOut = std::size_t(std::llround(double(second) / speed));
            const std::size_t slack = std::size_t(rate) / 50;
            EXPECT_GE(heard.left.size() + 2, firstOut + secondOut);
            EXPECT_LE(heard.left.size(), firstOut + secondOut + slack);
            const std::size_t window = std::size_t(rate) / 200;
            const auto matches = [&](std::size_t at, std::size_t lessonFrame) {
                for (std::size_t i = 0; i < window; ++i)
                    if (at + i >= heard.left.size() ||
                        std::abs(heard.left[at + i] - reference[lessonFrame + i]) >
                            4 + std::abs(reference[lessonFrame + i]) / 1000)
                        return false;
                return true;
            };
            // The stretcher's copies of the lesson may be louder or softer by a few 1e-4.
            // Where the second pass starts, and the 5 ms before it: the first pass's last
            // ones, its stop sample possibly among them.
            std::size_t join = 0;
            for (std::size_t at = firstOut - slack; at <= firstOut + slack && join == 0; ++at)
                if (matches(at, std::size_t(rate) * 22 / 10))
                    join = at;
            ASSERT_NE(join, 0u) << "the second pass does not start on its own first samples";
            const std::size_t lastOfFirst = std::size_t(rate) * 3 / 2 - window;
            // Faster, the lesson's own audio goes slower than the pass, so its end is met only
            // from very near it; otherwise the pass ends as the stretcher makes it, exact.
            if (speed < 1) {
                EXPECT_TRUE(matches(join - window, lastOfFirst) ||
                            matches(join - window, lastOfFirst + 1))
                    << "the first pass does not end on its own last samples";
            }
            EXPECT_TRUE(waitFor([&] { return paced.SegmentDone(); }, 2000));
        }
    }
}

TEST(MediaPlayer, VolumeAndChannelShapeTheOutput) {
    MediaPlayer player(lurvo::test::kCaptureRenderer);
    ASSERT_TRUE(
        player.Open(dataPath("media/sweep-cbr.mp3"), nullptr, ParserOrder::SecondaryFirst).ok());
    GstElementPtr sink = player.element("renderer");
    const auto capture = [&](int volume, int channel) {
        EXPECT_TRUE(player.SetVolume(volume).ok());
        player.SetChannel(channel);
        player.SeekMs(500);
        player.Play();
        auto samples = lurvo::test::pullFrames(sink.get(), 8192, true);
        player.Pause();
        return samples;
    };
    const auto full = capture(0, 0);
    const double level = lurvo::test::rms(full.left);
    ASSERT_GT(level, 1000.0);
    EXPECT_NEAR(lurvo::test::rms(full.right), level, level * 0.01);

    const auto left = capture(0, 1);
    EXPECT_EQ(lurvo::test::rms(left.right), 0.0);
    EXPECT_NEAR(lurvo::test::rms(left.left), level, level * 0.01);
    const auto right = capture(0, 2);
    EXPECT_EQ(lurvo::test::rms(right.left), 0.0);
    EXPECT_NEAR(lurvo::test::rms(right.right), level, level * 0.01);
    const auto both = capture(0, 3);
    EXPECT_NEAR(lurvo::test::rms(both.left), level, level * 0.01);
    EXPECT_NEAR(lurvo::test::rms(both.right), level, level * 0.01);

    // -2000 hundredths of a decibel is -20 dB: a tenth of the amplitude.
    const auto quieter = capture(-2000, 0);
    EXPECT_NEAR(lurvo::test::rms(quieter.left), level / 10, level * 0.005);
    const auto muted = capture(-10000, 0);
    EXPECT_EQ(lurvo::test::rms(muted.left) + lurvo::test::rms(muted.right), 0.0);
    const auto belowRange = capture(-20000, 0);
    EXPECT_EQ(lurvo::test::rms(belowRange.left), 0.0);
}

TEST(MediaPlayer, PlaysThroughTheAudioOutputInRealTime) {
    MediaPlayer player;
    const MediaResult opened =
        player.Open(dataPath("media/short.mp3"), nullptr, ParserOrder::SecondaryFirst);
    ASSERT_TRUE(opened.ok()) << opened.message.toStdString();
    GstElementPtr renderer = player.element("renderer");
    ASSERT_TRUE(renderer);
    EXPECT_STREQ(GST_OBJECT_NAME(gst_element_get_factory(renderer.get())), "pulsesink");

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(player.Play().ok());
    std::int64_t last = 0;
    bool steady = true;
    ASSERT_TRUE(waitFor(
        [&] {
            const std::int64_t now = player.PositionMs();
            steady = steady && now >= last;
            last = now;
            return player.IsAtEnd();
        },
        5000));
    EXPECT_TRUE(steady) << "the position went backwards";
    EXPECT_NEAR(double(clock.elapsed()), double(player.LengthMs()), 400.0);

    // After the end, a seek starts playing again from there.
    player.SeekMs(1000);
    EXPECT_FALSE(player.IsAtEnd());
    ASSERT_TRUE(waitFor([&] { return player.IsAtEnd(); }, 3000));
}

TEST(MediaPlayer, StopKeepsThePosition) {
    MediaPlayer player(kFakeRenderer);
    ASSERT_TRUE(
        player.Open(dataPath("media/sweep-cbr.mp3"), nullptr, ParserOrder::SecondaryFirst).ok());
    ASSERT_TRUE(player.Play().ok());
    ASSERT_TRUE(waitFor([&] { return player.PositionMs() >= 300; }, 3000));
    ASSERT_TRUE(player.Stop().ok());
    const std::int64_t stopped = player.PositionMs();
    QThread::msleep(200);
    EXPECT_EQ(player.PositionMs(), stopped);
    EXPECT_LT(stopped, 1500);
    ASSERT_TRUE(player.Play().ok());
    ASSERT_TRUE(waitFor([&] { return player.PositionMs() > stopped + 100; }, 3000));
}

// The sink stops taking audio for good while playing, as the real one now and then does after a
// seek: no seek or pause sets it going. The player notices the standing position and builds the
// graph anew where it stood, with its volume and balance.
TEST(MediaPlayer, StalledPlaybackIsBuiltAnewWhereItStood) {
    MediaPlayer player(kFakeRenderer);
    ASSERT_TRUE(
        player.Open(dataPath("media/sweep-cbr.mp3"), nullptr, ParserOrder::SecondaryFirst).ok());
    ASSERT_TRUE(player.SetVolume(-1000).ok());
    player.SetChannel(2);
    ASSERT_TRUE(player.Play().ok());
    ASSERT_TRUE(waitFor([&] { return player.PositionMs() >= 300; }, 3000));
    GstElementPtr sink = player.element("renderer");
    GstPadPtr pad(gst_element_get_static_pad(sink.get(), "sink"));
    // Like the real stall, a seek still lands (the first buffer after a flush gets through, so
    // the sink prerolls), but then the audio stands.
    static std::atomic<bool> letOneThrough{false};
    gst_pad_add_probe(
        pad.get(), GST_PAD_PROBE_TYPE_EVENT_FLUSH,
        [](GstPad*, GstPadProbeInfo*, gpointer) {
            letOneThrough = true;
            return GST_PAD_PROBE_OK;
        },
        nullptr, nullptr);
    gst_pad_add_probe(
        pad.get(), GstPadProbeType(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER),
        [](GstPad*, GstPadProbeInfo*, gpointer) {
            return letOneThrough.exchange(false) ? GST_PAD_PROBE_PASS : GST_PAD_PROBE_OK;
        },
        nullptr, nullptr);
    // The owner's tick asks all the while, and the learner keeps pressing keys: seeks land on
    // the stalled graph but no audio moves on, which is no progress.
    QThread::msleep(100);
    const std::int64_t stood = player.PositionMs();
    EXPECT_FALSE(player.RecoverStall());
    QElapsedTimer clock;
    clock.start();
    bool rebuilt = false;
    while (!rebuilt && clock.elapsed() < 1000) {
        if (clock.elapsed() % 100 < 10)
            player.SeekMs(int(stood));
        rebuilt = player.RecoverStall();
        QThread::msleep(10);
    }
    ASSERT_TRUE(rebuilt);
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_EQ(player.stallRecoveries(), 1);
    EXPECT_NE(player.element("renderer"), sink);
    const std::int64_t resumed = player.PositionMs();
    EXPECT_GE(resumed, stood - 50);
    EXPECT_LE(resumed, stood + 300);
    EXPECT_TRUE(waitFor([&] { return player.PositionMs() > resumed + 200; }, 3000));
    double gain = 0;
    float balance = 0;
    g_object_get(player.element("volume").get(), "volume", &gain, nullptr);
    g_object_get(player.element("balance").get(), "panorama", &balance, nullptr);
    EXPECT_NEAR(gain, std::pow(10.0, -0.5), 1e-6);
    EXPECT_EQ(balance, 1.0f);

    // Paused, a standing position is no stall.
    ASSERT_TRUE(player.Pause().ok());
    QThread::msleep(700);
    EXPECT_FALSE(player.RecoverStall());
    QThread::msleep(100);
    EXPECT_FALSE(player.RecoverStall());
    EXPECT_EQ(player.stallRecoveries(), 1);
}

// Seek targets stay within [0, length): before the start is the start, past the end the last
// millisecond, and playback goes on from there.
TEST(MediaPlayer, SeekTargetsAreClampedIntoTheRecording) {
    MediaPlayer player(kFakeRenderer);
    ASSERT_TRUE(
        player.Open(dataPath("media/sweep-cbr.mp3"), nullptr, ParserOrder::SecondaryFirst).ok());
    ASSERT_TRUE(player.Play().ok());
    player.SeekMs(-1500);
    EXPECT_LT(player.PositionMs(), 100);
    EXPECT_TRUE(waitFor([&] { return player.PositionMs() >= 200; }, 3000));
    player.SeekMs(int(player.LengthMs()) + 2000);
    EXPECT_TRUE(waitFor([&] { return player.IsAtEnd(); }, 3000));
    player.SeekMs(500);
    EXPECT_FALSE(player.IsAtEnd());
    EXPECT_TRUE(waitFor([&] { return player.PositionMs() >= 700; }, 3000));
    EXPECT_EQ(player.stallRecoveries(), 0);
}

TEST(MediaPlayer, CloseIsSafeInEveryState) {
    MediaPlayer fresh(kFakeRenderer);
    fresh.Close();
    EXPECT_FALSE(fresh.isLoaded());
    EXPECT_EQ(fresh.PositionMs(), 0);
    EXPECT_EQ(fresh.LengthMs(), 0);
    EXPECT_TRUE(fresh.IsAtEnd());
    EXPECT_FALSE(fresh.Play().ok());
    EXPECT_FALSE(fresh.SetVolume(0).ok());
    fresh.SeekMs(100);
    fresh.SetChannel(1);

    MediaPlayer player(kFakeRenderer);
    ASSERT_TRUE(player.Open(dataPath("media/short.mp3"), nullptr, ParserOrder::Mpeg1First).ok());
    ASSERT_TRUE(player.Play().ok());
    player.Close();
    player.Close();
    EXPECT_FALSE(player.isLoaded());
    EXPECT_FALSE(player.element("source"));
    // Reopening the same player works after a close.
    EXPECT_TRUE(player.Open(dataPath("media/short.mp3"), nullptr, ParserOrder::Mpeg1First).ok());
}

// Neither cutting nor overwriting the file under a playing source makes GStreamer fail (the
// parser resynchronises, a short file just ends), so the source reports a read error itself,
// the way it does when the disk fails.
TEST(MediaPlayer, ErrorWhilePlayingArrivesAsAbortEvent) {
    NotifyCounter owner;
    MediaPlayer player(kFakeRenderer);
    ASSERT_TRUE(
        player.Open(dataPath("media/sweep-cbr.mp3"), &owner, ParserOrder::SecondaryFirst).ok());
    ASSERT_TRUE(player.Play().ok());
    GstElementPtr source = player.element("source");
    postReadError(source.get());
    expectOneReadErrorQueued(player, owner);
}

TEST(NotificationSound, PlaysOnlyAReasonableChord) {
    QTemporaryDir dir;
    const QString chord = dir.filePath("chord.wav");
    EXPECT_FALSE(PlayInvalidInputSound(dir.path())) << "missing";
    QFile file(chord);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(PlayInvalidInputSound(dir.path())) << "empty";
    ASSERT_TRUE(QFile::resize(chord, 1024 * 1024));
    EXPECT_FALSE(PlayInvalidInputSound(dir.path())) << "1 MiB";
    const QString shipped = QStringLiteral(LURVO_TEST_DATA "/../../resources");
    EXPECT_TRUE(PlayInvalidInputSound(shipped));
    QThread::msleep(600); // let it finish before the process checks for leaks
}

TEST(FindDefaultAudioRenderer, FindsTheSoundServer) {
    GstElementPtr renderer = FindDefaultAudioRenderer();
    ASSERT_TRUE(renderer);
    EXPECT_STREQ(GST_OBJECT_NAME(gst_element_get_factory(renderer.get())), "pulsesink");
}

TEST(FindDefaultAudioRenderer, FindsNoneWithoutServerOrCard) {
    QFile cards("/proc/asound/cards");
    if (cards.open(QIODevice::ReadOnly) && !cards.readAll().contains("no soundcards"))
        GTEST_SKIP() << "this machine has a sound card";
    const QByteArray saved = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/pulse/native");
    GstElementPtr renderer = FindDefaultAudioRenderer();
    MediaPlayer player;
    const MediaResult result =
        player.Open(dataPath("media/short.mp3"), nullptr, ParserOrder::SecondaryFirst);
    if (saved.isNull())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", saved);
    EXPECT_FALSE(renderer);
    EXPECT_EQ(result.error, MediaError::NoAudioHardware);
}

} // namespace
