// What the learner hears, measured at the sound server's output: the lesson played by the
// real sentence player onto a private null sink, its monitor recorded and placed in the
// decoded lesson. Prints a table of
//   - overrun past the sentence end, lost onset and gap at each repeat, at 1.00x and 0.75x on
//     a CBR and a VBR lesson whose sentences run into each other;
//   - a chosen wait (the sentence's length, and 2 s) against the one heard;
//   - dropouts in continuous play;
//   - navigation: key to the new sentence's first sound, 50 minutes into a 60-minute VBR lesson.
// Arguments: [repeats per case, 80] [minutes of continuous play, 10] [navigation keys, 40]
// [only the repeat cases whose name holds this, e.g. "0.75x"].
// The lessons are made at first use into the build folder's measure-cache.
#include "MeasureLessons.h"
#include "PlaybackMeasure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gst/gst.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace lurvo::test;
using lurvo::player::GapMode;

namespace {

constexpr int kRate = 44100;

std::optional<MeasureLesson> cachedLesson(const QString& name, Mp3Kind kind,
                                          const MeasureLessonShape& shape) {
    const QString folder = QStringLiteral(LURVO_MEASURE_CACHE);
    MeasureLesson lesson{
        QDir(folder).filePath(name + ".mp3"), QDir(folder).filePath(name + ".lrc"), {}};
    if (QFileInfo::exists(lesson.mp3) && QFileInfo::exists(lesson.lrc))
        return lesson;
    std::printf("making %s ...\n", qPrintable(lesson.mp3));
    std::fflush(stdout);
    QString error;
    auto made = makeMeasureLesson(folder, name, kind, shape, &error);
    if (!made)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return made;
}

std::int64_t lineMs(const std::vector<std::int64_t>& starts, std::int64_t end, int line) {
    const std::int64_t to =
        std::size_t(line) + 1 < starts.size() ? starts[std::size_t(line) + 1] : end;
    return (to - starts[std::size_t(line)]) * 1000 / kRate;
}

void printSpread(const char* what, const Spread& s) {
    std::printf("  %-26s n %4d  p50 %8.2f  p95 %8.2f  max %8.2f ms\n", what, s.count, s.p50, s.p95,
                s.max);
}

// Plays lines from the first on with `passes` passes each until about `repeats` repeats have
// been heard, and measures them.
bool measureRepeats(const char* name, const MeasureLesson& lesson, int speedPercent,
                    GapMode gapMode, int gapValue, int passes, int repeats) {
    MeasureSession session;
    QString error;
    if (!session.open(lesson.mp3, lesson.lrc, kRate, &error)) {
        std::printf("%s: %s\n", name, qPrintable(error));
        return false;
    }
    session.settings.totalCount = passes;
    session.settings.speedPercent = speedPercent;
    session.settings.gapMode = gapMode;
    session.settings.gapValue = gapValue;
    session.sentences().ApplySpeed();
    const std::vector<float> reference = decodeLesson(lesson.mp3);
    const auto starts = session.lineStarts();
    const auto end = std::int64_t(reference.size());
    const int lines =
        std::min<int>(int(starts.size()) - 1, (repeats + passes - 2) / std::max(1, passes - 1));
    double playMs = 0;
    for (int line = 0; line < lines; ++line) {
        const auto ms = lineMs(starts, end, line);
        playMs += passes * ms * 100.0 / speedPercent +
                  passes * lurvo::player::gapAfterPassMs(session.settings, ms);
    }
    session.playFrom(0);
    session.run(int(playMs) + 300);
    session.finish();
    const Heard heard = listen(reference, 0, session.recording().samples(), starts, end, kRate,
                               speedPercent / 100.0, [&](int line) {
                                   return double(lurvo::player::gapAfterPassMs(
                                       session.settings, lineMs(starts, end, line)));
                               });
    int repeatsHeard = 0;
    for (std::size_t i = 1; i < heard.passes.size(); ++i)
        repeatsHeard += heard.passes[i].line == heard.passes[i - 1].line ? 1 : 0;
    std::printf("%s: %d passes, %d repeats heard, %d strays (%.1f ms), foreign sound %.1f ms, "
                "capture breaks %d\n",
                name, int(heard.passes.size()), repeatsHeard, int(heard.strays.size()),
                heard.strayMs, heard.alignment.foreignSamples * 1000.0 / kRate,
                session.recording().captureBreaks());
    printSpread("overrun past the end", heard.overrun);
    printSpread("lost onset", heard.lostOnset);
    printSpread(gapMode == GapMode::Off ? "gap" : "wait heard - wanted", heard.gap);
    if (gapMode != GapMode::Off) {
        std::vector<double> off;
        for (std::size_t i = 1; i < heard.passes.size(); ++i)
            if (!heard.passes[i].flowedIn)
                off.push_back(
                    std::abs(heard.passes[i].gapBeforeMs -
                             lurvo::player::gapAfterPassMs(
                                 session.settings, lineMs(starts, end, heard.passes[i - 1].line))));
        printSpread("|wait heard - wanted|", spreadOf(off));
    }
    std::fflush(stdout);
    return true;
}

// Each line once, straight on, for `minutes` from the start of the hour lesson.
void measureContinuous(const MeasureLesson& lesson, int minutes) {
    MeasureSession session;
    QString error;
    if (!session.open(lesson.mp3, lesson.lrc, kRate, &error)) {
        std::printf("continuous: %s\n", qPrintable(error));
        return;
    }
    session.settings.totalCount = 1;
    session.playFrom(0);
    session.run(minutes * 60000);
    const int rebuilds = session.media().stallRecoveries();
    session.finish();
    const std::vector<float> reference = decodeLesson(lesson.mp3, 0, minutes * 60000 + 30000);
    AlignOptions options;
    options.anchorWindow = kRate * 120 / 1000;
    options.blockSamples = kRate / 200;
    for (const std::int64_t s : session.lineStarts())
        if (s < std::int64_t(reference.size()))
            options.anchors.push_back(s);
    const Alignment heard = alignRecording(reference, 0, session.recording().samples(), options);
    const auto dropouts = findDropouts(heard, kRate);
    std::printf("continuous play, %d min: %d dropouts, foreign sound %.1f ms, capture breaks %d, "
                "%d graphs rebuilt after a stall\n",
                minutes, int(dropouts.size()), heard.foreignSamples * 1000.0 / kRate,
                session.recording().captureBreaks(), rebuilds);
    for (const Dropout& d : dropouts)
        std::printf("  at %9.1f s: silence %6.2f ms, lesson %s %6.2f ms\n", d.atMs / 1000,
                    d.silenceMs, d.jumpMs >= 0 ? "skipped" : "replayed", std::abs(d.jumpMs));
    std::fflush(stdout);
}

// Keys pressed 50 minutes into the hour lesson: from each key to the first sound of the
// sentence it goes to.
void measureNavigation(const MeasureLesson& lesson, int keys) {
    MeasureSession session;
    QString error;
    if (!session.open(lesson.mp3, lesson.lrc, kRate, &error)) {
        std::printf("navigation: %s\n", qPrintable(error));
        return;
    }
    session.settings.totalCount = 3;
    const int first = session.document().lineIndexAt(50 * 60000);
    session.playFrom(first);
    session.run(1500);
    struct Key {
        std::int64_t clockNs;
        int line;
    };
    std::vector<Key> pressed;
    std::mt19937 random(50);
    std::uniform_int_distribution<int> pauseOf(600, 1200);
    std::uniform_int_distribution<int> commandOf(0, 2);
    std::uniform_int_distribution<int> lineOf(first - 12, first + 12);
    for (int i = 0; i < keys; ++i) {
        const int command = commandOf(random);
        const std::int64_t now = monotonicNs();
        const int before = session.state().currentLine;
        if (command == 0) {
            session.sentences().NextSentence();
        } else if (command == 1) {
            session.sentences().PreviousSentence();
        } else {
            int line = lineOf(random);
            if (line == before)
                ++line;
            session.sentences().GoToLine(line);
        }
        pressed.push_back({now, session.state().currentLine});
        session.run(pauseOf(random));
    }
    const int rebuilds = session.media().stallRecoveries();
    session.finish();
    const int fromMs = session.document().line(first - 20).startMs;
    const int toMs = session.document().line(first + 20).startMs;
    const std::vector<float> reference = decodeLesson(lesson.mp3, fromMs, toMs - fromMs);
    const auto starts = session.lineStarts();
    const std::int64_t origin = std::int64_t(fromMs) * kRate / 1000;
    const Heard heard = listen(reference, origin, session.recording().samples(), starts,
                               origin + std::int64_t(reference.size()), kRate, 1.0);
    std::vector<double> latencies;
    int missing = 0;
    for (std::size_t k = 0; k < pressed.size(); ++k) {
        const std::int64_t from = session.recording().sampleAt(pressed[k].clockNs);
        const std::int64_t until = k + 1 < pressed.size()
                                       ? session.recording().sampleAt(pressed[k + 1].clockNs)
                                       : std::int64_t(session.recording().samples().size());
        bool found = false;
        for (const HeardPass& p : heard.passes) {
            if (p.recordingStart < from || p.recordingStart >= until || p.flowedIn ||
                p.line != pressed[k].line)
                continue;
            latencies.push_back(
                double(session.recording().clockAt(p.recordingStart) - pressed[k].clockNs) / 1e6);
            found = true;
            break;
        }
        missing += found ? 0 : 1;
    }
    std::printf("navigation 50 min into the hour VBR lesson: %d keys, %d without the new "
                "sentence heard before the next key, %d graphs rebuilt after a stall\n",
                int(pressed.size()), missing, rebuilds);
    printSpread("key to new audio", spreadOf(latencies));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    gst_init(&argc, &argv);
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 80;
    const int minutes = argc > 2 ? std::atoi(argv[2]) : 10;
    const int keys = argc > 3 ? std::atoi(argv[3]) : 40;
    const QString only = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();

    MeasureLessonShape shape;
    shape.sentences = 40;
    const auto cbr = cachedLesson(QStringLiteral("measure-cbr"), Mp3Kind::Cbr, shape);
    shape.seed = 2;
    const auto vbr = cachedLesson(QStringLiteral("measure-vbr"), Mp3Kind::Vbr, shape);
    MeasureLessonShape hourShape;
    hourShape.sentences = 1800;
    hourShape.minSentenceMs = 1000;
    hourShape.maxSentenceMs = 3000;
    hourShape.seed = 60;
    hourShape.vbrQuality = 6;
    const auto hour = cachedLesson(QStringLiteral("measure-hour-vbr"), Mp3Kind::Vbr, hourShape);
    if (!cbr || !vbr || !hour)
        return 1;

    const auto measure = [&](const char* name, auto&&... args) {
        if (only.isEmpty() || QString::fromLatin1(name).contains(only))
            measureRepeats(name, args...);
    };
    if (repeats > 0) {
        measure("cbr 1.00x", *cbr, 100, GapMode::Off, 0, 4, repeats);
        measure("vbr 1.00x", *vbr, 100, GapMode::Off, 0, 4, repeats);
        measure("cbr 0.75x", *cbr, 75, GapMode::Off, 0, 4, repeats);
        measure("vbr 0.75x", *vbr, 75, GapMode::Off, 0, 4, repeats);
        measure("vbr 1.00x, wait 1x", *vbr, 100, GapMode::SentenceLength, 100, 3, 12);
        measure("vbr 0.75x, wait 1x", *vbr, 75, GapMode::SentenceLength, 100, 3, 12);
        measure("vbr 1.00x, wait 2 s", *vbr, 100, GapMode::Seconds, 2, 3, 12);
    }
    if (keys > 0)
        measureNavigation(*hour, keys);
    if (minutes > 0)
        measureContinuous(*hour, minutes);
    return 0;
}
