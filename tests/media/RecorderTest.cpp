#include "media/Recorder.h"
#include "media/MediaPlayer.h"

#include "../subtitles/TestData.h"
#include "AudioCapture.h"
#include "GraphOwner.h"
#include "Mp3Frames.h"
#include "TestSink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace lurvo::media;
using lurvo::test::expectOneReadErrorQueued;
using lurvo::test::kReadErrorText;
using lurvo::test::NotifyCounter;
using lurvo::test::postReadError;
using lurvo::test::waitFor;

namespace {

// The decoded audio is longer than the time recorded by the encoder's delay and the padding
// of the last frame (50 to 76 ms at 22050 Hz), which the Xing header has no field for.
constexpr double kDurationToleranceMs = 150.0;

GstElement* liveTone(const char* name = "tone") {
    GstElement* tone = gst_element_factory_make("audiotestsrc", name);
    g_object_set(tone, "is-live", TRUE, "freq", 440.0, "volume", 0.5, nullptr);
    return tone;
}

struct Take {
    qint64 recordedMs = 0; // from calling Start to calling Stop
    qint64 stopMs = 0;     // how long Stop took
};

// Records about `ms` milliseconds into `path`, the event loop running meanwhile.
Take record(Recorder& recorder, const QString& path, int ms) {
    Take take;
    const MediaResult set = recorder.SetOutputFile(path);
    EXPECT_TRUE(set.ok()) << set.message.toStdString();
    QElapsedTimer clock;
    clock.start();
    const MediaResult started = recorder.Start();
    EXPECT_TRUE(started.ok()) << started.message.toStdString();
    waitFor([&] { return clock.elapsed() >= ms; }, ms + 1000);
    take.recordedMs = clock.elapsed();
    clock.restart();
    const MediaResult stopped = recorder.Stop();
    take.stopMs = clock.elapsed();
    EXPECT_TRUE(stopped.ok()) << stopped.message.toStdString();
    return take;
}

// Checks that `path` is a finished 22050 Hz mono 32 kbit/s CBR MP3 of about `expectedMs`,
// whose Xing header counts every frame; the decoded audio's RMS.
double expectCompleteMp3(const QString& path, double expectedMs) {
    SCOPED_TRACE(path.toStdString());
    const lurvo::test::Mp3Frames frames = lurvo::test::scanMp3Frames(path);
    EXPECT_TRUE(frames.readable);
    EXPECT_EQ(frames.sampleRate, 22050);
    EXPECT_EQ(frames.channels, 1);
    EXPECT_EQ(frames.bitratesKbps, std::set<int>{32});
    EXPECT_TRUE(frames.tag == "Xing" || frames.tag == "Info") << frames.tag.constData();
    // xingmux counts the frame that carries the header too. A graph stopped without ending the
    // stream leaves the header without a count.
    EXPECT_EQ(frames.taggedFrames, frames.audioFrames + 1);

    int rate = 0;
    const std::vector<std::int16_t> samples = lurvo::test::decodeReference(path, &rate);
    EXPECT_EQ(rate, 22050);
    const double decodedMs = rate ? 1000.0 * double(samples.size()) / rate : 0.0;
    EXPECT_NEAR(decodedMs, expectedMs, kDurationToleranceMs);
    EXPECT_NEAR(frames.durationMs(), decodedMs, 1.0);

    // The program plays recordings back through MediaPlayer, which takes the length from the
    // header before playing: one frame longer for the header's own.
    MediaPlayer player("fakesink");
    const MediaResult opened = player.Open(path, nullptr, ParserOrder::SecondaryFirst);
    EXPECT_TRUE(opened.ok()) << opened.message.toStdString();
    const double frameMs = 576 * 1000.0 / 22050;
    EXPECT_NEAR(double(player.LengthMs()), decodedMs + frameMs, 2.0);
    std::printf("[ recording ] %s: %.0f ms decoded, %.0f ms expected\n",
                qPrintable(QFileInfo(path).fileName()), decodedMs, expectedMs);
    return lurvo::test::rms(samples);
}

TEST(Recorder, EveryRecordingOfTheReusedGraphIsAFinishedMp3) {
    QTemporaryDir dir;
    NotifyCounter owner;
    Recorder recorder;
    ASSERT_TRUE(recorder.BuildWithSource(liveTone(), &owner).ok());
    ASSERT_TRUE(recorder.isLoaded());
    EXPECT_EQ(recorder.captureName(), "tone");
    for (const char* name : {"tone", "lame", "wavDest", "fileWriter"})
        EXPECT_TRUE(recorder.element(name)) << name;

    const QString first = dir.filePath("first.mp3");
    const QString second = dir.filePath("second.mp3");
    const QString elsewhere = dir.filePath("elsewhere.mp3");
    const Take a = record(recorder, first, 1200);
    const Take b = record(recorder, second, 2000);
    for (const Take& t : {a, b}) {
        EXPECT_LT(t.stopMs, 500) << "the end of the stream was not awaited";
        std::printf("[ recording ] stop took %lld ms\n", static_cast<long long>(t.stopMs));
    }
    EXPECT_GT(expectCompleteMp3(first, double(a.recordedMs)), 5000.0);
    EXPECT_GT(expectCompleteMp3(second, double(b.recordedMs)), 5000.0);

    // The file stays put while recording; closing in the middle still finishes it.
    const QString third = dir.filePath("third.mp3");
    ASSERT_TRUE(recorder.SetOutputFile(third).ok());
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(recorder.Start().ok());
    EXPECT_TRUE(recorder.isRecording());
    EXPECT_TRUE(recorder.Start().ok());
    EXPECT_FALSE(recorder.SetOutputFile(elsewhere).ok());
    waitFor([&] { return clock.elapsed() >= 700; }, 2000);
    const qint64 thirdMs = clock.elapsed();
    recorder.Close();
    EXPECT_FALSE(recorder.isLoaded());
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_FALSE(recorder.element("lame"));
    expectCompleteMp3(third, double(thirdMs));
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
    EXPECT_EQ(owner.count, 0);
}

// Needs the sound server with the tests' null sink: what plays into the sink comes back out of
// its monitor.
TEST(Recorder, RecordsWhatThePlayerPlaysThroughTheSoundServer) {
    const int monitor = lurvo::test::testMonitorIndex();
    ASSERT_GE(monitor, 0) << "no " << lurvo::test::testMonitorName().toStdString();
    const CaptureDevice device = OpenCaptureDevice(monitor);
    ASSERT_TRUE(device);

    QTemporaryDir dir;
    NotifyCounter owner;
    Recorder recorder;
    const MediaResult built = recorder.Build(device, device.name, &owner);
    ASSERT_TRUE(built.ok()) << built.message.toStdString();
    EXPECT_EQ(recorder.captureName(), device.name);
    GstElementPtr capture = recorder.element(device.name.toUtf8().constData());
    ASSERT_TRUE(capture);
    EXPECT_STREQ(GST_OBJECT_NAME(gst_element_get_factory(capture.get())), "pulsesrc");

    // Nothing playing: the monitor hears silence, which sets the floor below.
    const QString quiet = dir.filePath("quiet.mp3");
    const Take silence = record(recorder, quiet, 1000);
    const double quietLevel = expectCompleteMp3(quiet, double(silence.recordedMs));
    EXPECT_LT(quietLevel, 50.0);

    MediaPlayer player;
    ASSERT_TRUE(player
                    .Open(lurvo::test::dataPath("../../resources/eg.mp3"), nullptr,
                          ParserOrder::SecondaryFirst)
                    .ok());
    ASSERT_TRUE(player.Play().ok());
    const QString lesson = dir.filePath("lesson.mp3");
    const Take take = record(recorder, lesson, 2000);
    player.Close();
    const double lessonLevel = expectCompleteMp3(lesson, double(take.recordedMs));
    EXPECT_GT(lessonLevel, 500.0);
    std::printf("[ recording ] RMS %.1f silent, %.1f with the lesson; stop %lld/%lld ms\n",
                quietLevel, lessonLevel, static_cast<long long>(silence.stopMs),
                static_cast<long long>(take.stopMs));
    EXPECT_LT(take.stopMs, 500);
    EXPECT_EQ(owner.count, 0);
}

TEST(Recorder, FileThatCannotBeCreatedFailsAtStart) {
    QTemporaryDir dir;
    NotifyCounter owner;
    Recorder recorder;
    ASSERT_TRUE(recorder.BuildWithSource(liveTone(), &owner).ok());
    ASSERT_TRUE(recorder.SetOutputFile(dir.filePath("missing/take.mp3")).ok());
    const MediaResult started = recorder.Start();
    EXPECT_FALSE(started.ok());
    EXPECT_EQ(started.error, MediaError::Resource);
    EXPECT_FALSE(started.message.isEmpty());
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_TRUE(recorder.Stop().ok());
    // Start reported it; the owner does not find it again in the queue.
    GraphEvent event;
    waitFor([&] { return owner.count > 0; }, 200);
    EXPECT_FALSE(recorder.GetEvent(event, 50));

    // The graph is still good for a file that can be written.
    const QString good = dir.filePath("take.mp3");
    const Take take = record(recorder, good, 800);
    expectCompleteMp3(good, double(take.recordedMs));

    Recorder unnamed;
    ASSERT_TRUE(unnamed.BuildWithSource(liveTone(), nullptr).ok());
    ASSERT_TRUE(unnamed.SetOutputFile(QString()).ok());
    EXPECT_FALSE(unnamed.Start().ok());
}

TEST(Recorder, OverwritesAReadOnlyFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.mp3");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older recording");
    }
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    Recorder recorder;
    ASSERT_TRUE(recorder.BuildWithSource(liveTone(), nullptr).ok());
    ASSERT_TRUE(recorder.SetOutputFile(path).ok());
    EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::WriteOwner);
    const Take take = record(recorder, path, 800);
    expectCompleteMp3(path, double(take.recordedMs));
}

// An error in the middle of a recording reaches the owner as an event; Stop then reports it
// without waiting for an end of stream that will not come.
TEST(Recorder, ErrorWhileRecordingArrivesAsAbortEvent) {
    QTemporaryDir dir;
    NotifyCounter owner;
    Recorder recorder;
    ASSERT_TRUE(recorder.BuildWithSource(liveTone(), &owner).ok());
    ASSERT_TRUE(recorder.SetOutputFile(dir.filePath("broken.mp3")).ok());
    ASSERT_TRUE(recorder.Start().ok());
    GstElementPtr source = recorder.element("tone");
    postReadError(source.get());
    expectOneReadErrorQueued(recorder, owner);

    QElapsedTimer clock;
    clock.start();
    const MediaResult stopped = recorder.Stop();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(stopped.ok());
    EXPECT_EQ(stopped.message, lurvo::test::readErrorMessage());

    // The next recording starts clean.
    const QString next = dir.filePath("next.mp3");
    const Take take = record(recorder, next, 800);
    expectCompleteMp3(next, double(take.recordedMs));
}

TEST(Recorder, FailedBuildLeavesNothingBehind) {
    Recorder recorder;
    ASSERT_TRUE(recorder.BuildWithSource(liveTone(), nullptr).ok());

    // Video cannot reach the audio converter.
    GstElement* video = gst_element_factory_make("videotestsrc", "video");
    gst_object_ref(video); // the test's own reference, to see what the recorder leaves
    const MediaResult built = recorder.BuildWithSource(video, nullptr);
    EXPECT_FALSE(built.ok());
    EXPECT_TRUE(built.message.contains("video")) << built.message.toStdString();
    EXPECT_FALSE(recorder.isLoaded());
    for (const char* name : {"video", "tone", "lame", "wavDest", "fileWriter"})
        EXPECT_FALSE(recorder.element(name)) << name;
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(video), 1);
    EXPECT_EQ(GST_OBJECT_PARENT(video), nullptr);
    gst_object_unref(video);

    EXPECT_FALSE(recorder.SetOutputFile("/tmp/never.mp3").ok());
    EXPECT_FALSE(recorder.Start().ok());
    EXPECT_FALSE(recorder.Stop().ok());
    GraphEvent event;
    EXPECT_FALSE(recorder.GetEvent(event, 10));
    recorder.Close();

    EXPECT_FALSE(recorder.Build(CaptureDevice(), "none", nullptr).ok());
    EXPECT_FALSE(recorder.BuildWithSource(nullptr, nullptr).ok());
    EXPECT_FALSE(recorder.isLoaded());
}

// A device may be called anything, even what an element of the chain is called.
TEST(Recorder, CaptureElementNeverTakesTheNameOfTheChain) {
    for (const char* taken : {"fileWriter", "lame", ""}) {
        Recorder recorder;
        const MediaResult built = recorder.BuildWithSource(liveTone(taken), nullptr);
        ASSERT_TRUE(built.ok()) << taken << ": " << built.message.toStdString();
        EXPECT_EQ(recorder.captureName(), "capture");
        GstElementPtr capture = recorder.element("capture");
        ASSERT_TRUE(capture);
        EXPECT_STREQ(GST_OBJECT_NAME(gst_element_get_factory(capture.get())), "audiotestsrc");
        GstElementPtr writer = recorder.element("fileWriter");
        EXPECT_STREQ(GST_OBJECT_NAME(gst_element_get_factory(writer.get())), "filesink");
    }
}

} // namespace
