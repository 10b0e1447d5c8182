#include "PassAlignment.h"

#include <gtest/gtest.h>

#include <random>

using namespace lurvo::test;

namespace {

constexpr int kRate = 8000;
// A sample either way: where a sample at an edge happens to match, it may count.
constexpr double kSampleMs = 1000.0 / kRate;
constexpr std::int64_t ms(double v) {
    return std::int64_t(v * kRate / 1000);
}

// A lesson of noise with lines at 100, 600 and 1000 ms, ending at 1500 ms.
struct Lesson {
    std::vector<float> samples;
    std::vector<std::int64_t> starts{ms(100), ms(600), ms(1000)};
    std::int64_t end = ms(1500);

    Lesson() {
        std::mt19937 random(5);
        std::normal_distribution<float> noise(0.0f, 0.2f);
        samples.resize(std::size_t(end));
        for (std::int64_t i = ms(100); i < end; ++i)
            samples[std::size_t(i)] = noise(random);
    }
};

// A recording built piece by piece: lesson stretches at a gain, and silences.
struct Tape {
    std::vector<float> samples;
    void silence(std::int64_t n) { samples.insert(samples.end(), std::size_t(n), 0.0f); }
    void play(const Lesson& lesson, std::int64_t from, std::int64_t to, float gain = 0.7f) {
        for (std::int64_t i = from; i < to; ++i)
            samples.push_back(gain * lesson.samples[std::size_t(i)]);
    }
};

AlignOptions optionsFor(const Lesson& lesson) {
    AlignOptions options;
    options.anchors = lesson.starts;
    options.anchorWindow = int(ms(120));
    options.blockSamples = int(ms(5));
    return options;
}

// Repeats that run past the end, start late, leave holes, and a pass that flows on: each
// measured to the sample, wherever the edges fall in the blocks.
TEST(PassAlignment, MeasuresOverrunOnsetAndGapOfEachPass) {
    const Lesson lesson;
    Tape tape;
    tape.silence(ms(37.3));
    tape.play(lesson, ms(100), ms(612.5));        // first pass, 12.5 ms over
    tape.play(lesson, ms(100) + 7, ms(600));      // straight on, 7 samples lost
    tape.silence(ms(21.125));                     // a hole
    tape.play(lesson, ms(100), ms(1000) + 3);     // last pass flows into line 2
    tape.silence(ms(250));                        // a chosen wait
    tape.play(lesson, ms(600) - ms(4), ms(1000)); // begun 4 ms early
    tape.silence(ms(50));
    tape.play(lesson, ms(600), ms(700));  // cut short
    tape.play(lesson, ms(600), ms(1080)); // far over, but no moving on
    tape.silence(ms(100));

    const Alignment heard = alignRecording(lesson.samples, 0, tape.samples, optionsFor(lesson));
    EXPECT_EQ(heard.foreignSamples, 0);
    ASSERT_EQ(heard.runs.size(), 6u);
    const auto passes = heardPasses(heard, lesson.starts, lesson.end, kRate);
    ASSERT_EQ(passes.size(), 7u);

    EXPECT_EQ(passes[0].line, 0);
    EXPECT_NEAR(passes[0].overrunMs, 12.5, kSampleMs);
    EXPECT_NEAR(passes[0].lostOnsetMs, 0, kSampleMs);
    EXPECT_NEAR(passes[1].gapBeforeMs, 0, kSampleMs);
    EXPECT_NEAR(passes[1].lostOnsetMs, 7 * 1000.0 / kRate, kSampleMs);
    EXPECT_NEAR(passes[1].overrunMs, 0, kSampleMs);
    EXPECT_NEAR(passes[2].gapBeforeMs, 21.125, kSampleMs);
    EXPECT_TRUE(passes[2].flowsOn);
    EXPECT_EQ(passes[3].line, 1);
    EXPECT_TRUE(passes[3].flowedIn);
    EXPECT_NEAR(passes[3].overrunMs, 3 * 1000.0 / kRate, kSampleMs);
    EXPECT_NEAR(passes[3].heardMs, 400 + 3 * 1000.0 / kRate, kSampleMs);
    EXPECT_NEAR(passes[4].gapBeforeMs, 250, kSampleMs);
    EXPECT_NEAR(passes[4].lostOnsetMs, -4, kSampleMs);
    EXPECT_EQ(passes[4].line, 1);
    EXPECT_EQ(passes[5].line, 1);
    EXPECT_NEAR(passes[5].overrunMs, -300, kSampleMs);
    EXPECT_EQ(passes[6].line, 1);
    EXPECT_FALSE(passes[6].flowsOn);
    EXPECT_NEAR(passes[6].overrunMs, 80, kSampleMs);
    EXPECT_NEAR(passes[6].gapBeforeMs, 0, kSampleMs);
}

// Quiet samples inside a pass neither end it nor start it: a repeat whose line holds two
// near-zero samples a few milliseconds in starts on its first sample, also when time-stretched
// audio lets the aligner look further back for a start, wherever the join falls in the blocks.
TEST(PassAlignment, QuietSamplesNearAnEdgeDoNotMoveIt) {
    Lesson lesson;
    lesson.samples[std::size_t(ms(107))] = 0.0f;
    lesson.samples[std::size_t(ms(107)) + 1] = 0.0005f;
    lesson.samples[std::size_t(ms(597))] = -0.0005f;
    lesson.samples[std::size_t(ms(597)) + 1] = 0.0f;
    for (const double speed : {1.0, 0.75}) {
        for (const int lead : {0, 9, 17, 31}) {
            SCOPED_TRACE(testing::Message() << speed << " " << lead);
            Tape tape;
            tape.silence(ms(20) + lead);
            tape.play(lesson, ms(100), ms(600));
            tape.play(lesson, ms(100), ms(600));
            tape.silence(ms(50));
            AlignOptions options = optionsFor(lesson);
            options.speed = speed;
            const Alignment heard = alignRecording(lesson.samples, 0, tape.samples, options);
            const auto passes = heardPasses(heard, lesson.starts, lesson.end, kRate);
            ASSERT_EQ(passes.size(), 2u);
            for (const HeardPass& pass : passes) {
                EXPECT_NEAR(pass.lostOnsetMs, 0, kSampleMs);
                EXPECT_NEAR(pass.overrunMs, 0, kSampleMs);
            }
            EXPECT_NEAR(passes[1].gapBeforeMs, 0, kSampleMs);
        }
    }
}

// Sound that is not the lesson is counted, not placed.
TEST(PassAlignment, CountsSoundThatIsNotTheLesson) {
    const Lesson lesson;
    Tape tape;
    tape.play(lesson, ms(100), ms(600));
    std::mt19937 random(99);
    std::normal_distribution<float> noise(0.0f, 0.2f);
    for (std::int64_t i = 0; i < ms(40); ++i)
        tape.samples.push_back(noise(random));
    tape.play(lesson, ms(600), ms(1000));

    const Alignment heard = alignRecording(lesson.samples, 0, tape.samples, optionsFor(lesson));
    ASSERT_EQ(heard.runs.size(), 2u);
    EXPECT_NEAR(double(heard.foreignSamples), double(ms(40)), double(ms(5)));
}

// Continuous play with a short silence that replays what it missed, and one that skips it.
TEST(PassAlignment, FindsDropoutsInContinuousPlay) {
    const Lesson lesson;
    Tape tape;
    tape.play(lesson, ms(100), ms(400));
    tape.silence(ms(10));
    tape.play(lesson, ms(390), ms(800));
    tape.silence(ms(15));
    tape.play(lesson, ms(815), ms(1500));

    const Alignment heard = alignRecording(lesson.samples, 0, tape.samples, optionsFor(lesson));
    const auto dropouts = findDropouts(heard, kRate);
    ASSERT_EQ(dropouts.size(), 2u);
    EXPECT_NEAR(dropouts[0].atMs, 300, kSampleMs);
    EXPECT_NEAR(dropouts[0].silenceMs, 10, kSampleMs);
    EXPECT_NEAR(dropouts[0].jumpMs, -10, kSampleMs);
    EXPECT_NEAR(dropouts[1].silenceMs, 15, kSampleMs);
    EXPECT_NEAR(dropouts[1].jumpMs, 15, kSampleMs);

    Tape clean;
    clean.play(lesson, ms(100), ms(1500));
    EXPECT_TRUE(
        findDropouts(alignRecording(lesson.samples, 0, clean.samples, optionsFor(lesson)), kRate)
            .empty());
}

} // namespace
