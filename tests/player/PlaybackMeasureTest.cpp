#include "PlaybackMeasure.h"
#include "AppSinkSamples.h"
#include "MeasureLessons.h"
#include "media/Elements.h"

#include <QFile>
#include <QTemporaryDir>

#include <gst/app/gstappsink.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace lurvo::test;
using lurvo::player::GapMode;

namespace {

constexpr int kRate = 44100;

// The lessons are made once for all the tests: sentences of 0.5-0.9 s running into each other.
class PlaybackMeasureTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        MeasureLessonShape shape;
        shape.sentences = 6;
        QString error;
        cbr = new std::optional<MeasureLesson>(
            makeMeasureLesson(folder->path(), "cbr", Mp3Kind::Cbr, shape, &error));
        shape.seed = 2;
        vbr = new std::optional<MeasureLesson>(
            makeMeasureLesson(folder->path(), "vbr", Mp3Kind::Vbr, shape, &error));
        if (!*cbr || !*vbr)
            std::fprintf(stderr, "lessons: %s\n", qPrintable(error));
    }
    static void TearDownTestSuite() {
        delete cbr;
        delete vbr;
        delete folder;
    }

    // Plays `passes` passes of each of `lines` lines from line 1 on, into the line after them,
    // and places the recording in the lesson.
    static Heard play(const MeasureLesson& lesson, int speedPercent, GapMode gapMode, int gapValue,
                      int passes, int lines, std::vector<double>* linesMs = nullptr) {
        MeasureSession session;
        QString error;
        if (!session.open(lesson.mp3, lesson.lrc, kRate, &error)) {
            ADD_FAILURE() << error.toStdString();
            return {};
        }
        const std::vector<float> reference = decodeLesson(lesson.mp3);
        const auto starts = session.lineStarts();
        const auto end = std::int64_t(reference.size());
        const auto lineMs = [&](int line) {
            const auto next = std::size_t(line) + 1;
            return ((next < starts.size() ? starts[next] : end) - starts[std::size_t(line)]) *
                   1000 / kRate;
        };
        session.settings.totalCount = passes;
        session.settings.speedPercent = speedPercent;
        session.settings.gapMode = gapMode;
        session.settings.gapValue = gapValue;
        session.sentences().ApplySpeed();
        double heardMs = 0;
        int lastWait = 0;
        for (int line = 1; line <= lines; ++line) {
            if (linesMs)
                linesMs->push_back(double(lineMs(line)));
            lastWait = lurvo::player::gapAfterPassMs(session.settings, lineMs(line));
            heardMs += passes * (lineMs(line) * 100.0 / speedPercent) + (passes - 1) * lastWait;
        }
        session.playFrom(1);
        // Each wait may end a tick late and the first pass is heard a little after the start:
        // on a busy machine that adds up past a fixed margin and cut the last pass short. The
        // wait after it is silence, so half of it is room to spare.
        session.run(int(heardMs) + 150 + lastWait / 2);
        session.finish();
        EXPECT_EQ(session.recording().captureBreaks(), 0);
        return listen(reference, 0, session.recording().samples(), starts, end, kRate,
                      speedPercent / 100.0, [&](int line) {
                          return double(
                              lurvo::player::gapAfterPassMs(session.settings, lineMs(line)));
                      });
    }

    static void report(const char* what, const Heard& heard) {
        std::printf("%-12s overrun p50 %.2f p95 %.2f max %.2f | lost onset p50 %.2f p95 %.2f max "
                    "%.2f | gap p50 %.2f p95 %.2f max %.2f | foreign %.1f ms | %d strays %.1f ms\n",
                    what, heard.overrun.p50, heard.overrun.p95, heard.overrun.max,
                    heard.lostOnset.p50, heard.lostOnset.p95, heard.lostOnset.max, heard.gap.p50,
                    heard.gap.p95, heard.gap.max, heard.alignment.foreignSamples * 1000.0 / kRate,
                    int(heard.strays.size()), heard.strayMs);
        for (const HeardPass& p : heard.passes)
            std::printf("  line %d%s%s onset %.2f overrun %.2f heard %.1f gap %.2f\n", p.line,
                        p.flowedIn ? " (in)" : "", p.flowsOn ? " (on)" : "", p.lostOnsetMs,
                        p.overrunMs, p.heardMs, p.gapBeforeMs);
    }

    void expectExactRepeats(std::initializer_list<struct RepeatCase> cases);

    static inline QTemporaryDir* folder = nullptr;
    static inline std::optional<MeasureLesson>* cbr = nullptr;
    static inline std::optional<MeasureLesson>* vbr = nullptr;
};

struct RepeatCase {
    const char* name;
    const MeasureLesson& lesson;
    int speed;
};

// Repeats with no wait, as heard: each pass stops at its line's end and the next starts at
// once, from the line's first sample, on both kinds of MP3.
TEST_F(PlaybackMeasureTest, RepeatsAreExactAndSeamless) {
    ASSERT_TRUE(*cbr && *vbr);
    expectExactRepeats({{"cbr 1.00", **cbr, 100}, {"vbr 1.00", **vbr, 100}});
}

// The same, slower: the stretched passes end on their lines' last samples too.
TEST_F(PlaybackMeasureTest, RepeatsAreExactAndSeamlessSlower) {
    ASSERT_TRUE(*cbr && *vbr);
    expectExactRepeats({{"cbr 0.75", **cbr, 75}, {"vbr 0.75", **vbr, 75}});
}

void PlaybackMeasureTest::expectExactRepeats(std::initializer_list<RepeatCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Heard heard = play(c.lesson, c.speed, GapMode::Off, 0, 3, 1);
        report(c.name, heard);
        ASSERT_GE(heard.overrun.count, 2);
        ASSERT_GE(heard.lostOnset.count, 2);
        EXPECT_LE(heard.overrun.p95, 1.0);
        EXPECT_LE(heard.lostOnset.p95, 1.0);
        EXPECT_LE(heard.gap.p95, 5.0);
        // A slower pass that cannot end on its line's own audio ends on a few milliseconds the
        // stretcher made, which the analysis finds no place for (up to 7 ms in a run measured);
        // more is a fault.
        EXPECT_LT(heard.alignment.foreignSamples, kRate / 100);
        EXPECT_EQ(heard.strays.size(), 0u) << "bits of the lesson heard between the passes";
    }
}

// Three passes at 0.75x with a wait of the sentence's length: three passes of the length the
// sentence takes at that speed, two silences of the wanted length between them, and nothing
// of the next sentence inside a repeat.
TEST_F(PlaybackMeasureTest, SlowPassesWithTimeToSpeak) {
    ASSERT_TRUE(*vbr);
    std::vector<double> linesMs;
    const Heard heard = play(**vbr, 75, GapMode::SentenceLength, 100, 3, 1, &linesMs);
    report("vbr 0.75 1x", heard);
    std::vector<HeardPass> ofLine;
    for (const HeardPass& p : heard.passes)
        if (p.line == 1)
            ofLine.push_back(p);
    ASSERT_EQ(ofLine.size(), 3u);
    EXPECT_EQ(heard.strays.size(), 0u) << "the silences are not silent";
    const double passMs = linesMs[0] / 0.75;
    for (std::size_t i = 0; i < ofLine.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(ofLine[i].heardMs, passMs, 30);
        if (i > 0) {
            EXPECT_NEAR(ofLine[i].gapBeforeMs, passMs, 30);
        }
        if (i + 1 < ofLine.size()) {
            EXPECT_LE(ofLine[i].overrunMs, 1.0) << "the next sentence heard inside a repeat";
        }
    }
}

} // namespace

namespace {

// Time-stretched audio straight from the tempo stage, no sound server: one segment is placed as
// one unbroken pass of its line.
std::vector<float> stretched(const QString& mp3, double rate, int startMs, int stopMs) {
    std::vector<float> out(4410, 0.0f);
    lurvo::media::ensureGstInitialized();
    GError* error = nullptr;
    lurvo::media::GstElementPtr pipeline = lurvo::media::adoptElement(gst_parse_launch(
        "filesrc name=in ! id3demux ! mpegaudioparse ! mpg123audiodec ! audioconvert ! "
        "lurvotempo ! audioconvert ! audio/x-raw,format=F32LE,channels=1 ! "
        "appsink name=out sync=false",
        &error));
    if (error) {
        g_error_free(error);
        return {};
    }
    lurvo::media::GstElementPtr source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "in"));
    g_object_set(source.get(), "location", QFile::encodeName(mp3).constData(), nullptr);
    lurvo::media::GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
    gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
    gst_element_get_state(pipeline.get(), nullptr, nullptr, 5 * GST_SECOND);
    gst_element_seek(pipeline.get(), rate, GST_FORMAT_TIME,
                     GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), GST_SEEK_TYPE_SET,
                     GstClockTime(startMs) * GST_MSECOND, GST_SEEK_TYPE_SET,
                     GstClockTime(stopMs) * GST_MSECOND);
    gst_element_get_state(pipeline.get(), nullptr, nullptr, 5 * GST_SECOND);
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    const std::vector<float> heard = lurvo::test::pullFloatSamples(sink.get());
    out.insert(out.end(), heard.begin(), heard.end());
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    out.insert(out.end(), 4410, 0.0f);
    return out;
}

// The stretcher itself fades its first millisecond in and plays a few of the last ones twice
// at a segment's stop; what the analysis must do is find one pass of the line, of the length
// the lesson it holds takes at that speed.
TEST_F(PlaybackMeasureTest, FollowsTimeStretchedAudio) {
    ASSERT_TRUE(*vbr);
    const MeasureLesson& lesson = **vbr;
    const std::vector<float> reference = decodeLesson(lesson.mp3);
    std::vector<std::int64_t> starts;
    for (const int ms : lesson.startsMs)
        starts.push_back(std::int64_t(ms) * kRate / 1000);
    for (const double rate : {0.75, 1.5}) {
        SCOPED_TRACE(rate);
        const auto audio = stretched(lesson.mp3, rate, lesson.startsMs[1], lesson.startsMs[2]);
        const Heard heard =
            listen(reference, 0, audio, starts, std::int64_t(reference.size()), kRate, rate);
        ASSERT_EQ(heard.passes.size(), 1u);
        const HeardPass& pass = heard.passes[0];
        EXPECT_EQ(pass.line, 1);
        EXPECT_LT(std::abs(pass.lostOnsetMs), 10);
        EXPECT_GT(pass.overrunMs, -50);
        EXPECT_LE(pass.overrunMs, 1);
        const double lineMs = lesson.startsMs[2] - lesson.startsMs[1];
        EXPECT_NEAR(pass.heardMs, (lineMs + pass.overrunMs - pass.lostOnsetMs) / rate, 30);
        EXPECT_LT(heard.alignment.foreignSamples, kRate / 100);
    }
}

} // namespace
