// Sentences found from pauses, on lessons made by tools/make-lesson from the test text in a
// shuffled order per seed, with pauses of 200 ms to 1.5 s (setting 150 ms) and of 400 ms to
// 1.5 s (the default setting, 350 ms), clean and with noise 20 dB below the speech: the share
// of voice onsets within 50 ms of the true start, sentences missing and extra. Then the time to
// measure and to find the sentences of a 60-minute lesson, made by joining the clean lessons.
// Lessons are made once into LURVO_BENCH_DATA (a few minutes the first time, on two cores).
#include "LessonAccuracy.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>

using namespace lurvo;

namespace {

constexpr int kSeeds = 8;

struct Condition {
    const char* name;
    const char* pauses;
    int minPauseMs;
    bool noisy;
};

// The test text's sentences in an order of the seed's, without a title: no tag, so that the
// MP3s can be joined frame to frame.
QString shuffledText(const QString& folder, int seed) {
    QFile source(QStringLiteral(LURVO_SOURCE_DIR "/tests/pauses/lesson.txt"));
    if (!source.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(source.readAll()).split(u'\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith(u'#'))
            lines.append(line.trimmed());
    QRandomGenerator random{quint32(seed)};
    std::shuffle(lines.begin(), lines.end(), random);
    const QString path = QDir(folder).filePath(QStringLiteral("text-%1.txt").arg(seed));
    QFile text(path);
    if (!text.open(QIODevice::WriteOnly))
        return {};
    text.write(lines.join(u'\n').toUtf8() + '\n');
    return path;
}

// The lesson of a condition and seed, made when not there yet; empty on failure.
QString lesson(const QString& folder, const Condition& condition, int seed) {
    const QString base =
        QDir(folder).filePath(QStringLiteral("pauses-%1-%2").arg(condition.name).arg(seed));
    if (QFile::exists(base + ".mp3") && QFile::exists(base + ".lrc"))
        return base;
    QStringList options{"--pauses", condition.pauses, "--seed", QString::number(seed)};
    if (condition.noisy)
        options << "--noise-db"
                << "20";
    const QString error = test::makeLesson(shuffledText(folder, seed), base, options);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return {};
    }
    return base;
}

QString percent(double share) {
    return QString::number(share * 100, 'f', 1) + u'%';
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString folder = qEnvironmentVariable("LURVO_BENCH_DATA", QDir::tempPath());
    QDir().mkpath(folder);
    const Condition conditions[] = {{"clean", "200-1500", 150, false},
                                    {"noisy", "200-1500", 150, true},
                                    {"clean-wide", "400-1500", 350, false},
                                    {"noisy-wide", "400-1500", 350, true}};

    std::printf("pauses: %d lessons of about 100 s each per condition\n", kSeeds);
    for (const Condition& condition : conditions) {
        test::Accuracy voice, written;
        for (int seed = 1; seed <= kSeeds; ++seed) {
            const QString base = lesson(folder, condition, seed);
            if (base.isEmpty())
                return 1;
            const pauses::EnvelopeResult measured =
                pauses::measureEnvelope(base + ".mp3", {}, nullptr);
            if (!measured.error.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(measured.error));
                return 1;
            }
            const QList<pauses::Span> found =
                pauses::findSentences(measured.envelope, {.minPauseMs = condition.minPauseMs});
            const QList<int> truth = test::subtitleStarts(base + ".lrc");
            voice.add(test::compareStarts(truth, found, 50));
            written.add(test::compareStarts(truth, found, 50, true));
        }
        std::printf("  %-10s pauses %s ms, setting %d ms: %d sentences; voice onsets within "
                    "50 ms %s (mean %+.0f ms, worst %.0f ms), missing %d, extra %d; starts as "
                    "written within 50 ms %s (mean %+.0f ms)\n",
                    condition.name, condition.pauses, condition.minPauseMs, voice.truth,
                    qPrintable(percent(voice.withinShare())), voice.meanMs, voice.worstMs,
                    voice.missing, voice.extra, qPrintable(percent(written.withinShare())),
                    written.meanMs);
    }

    // An hour: the clean lessons joined, again and again.
    const QString hour = QDir(folder).filePath("pauses-hour.mp3");
    int hourSentences = 0;
    {
        QByteArray piece;
        for (int seed = 1; seed <= kSeeds; ++seed) {
            const QString base = lesson(folder, conditions[0], seed);
            QFile mp3(base + ".mp3");
            if (base.isEmpty() || !mp3.open(QIODevice::ReadOnly))
                return 1;
            piece += mp3.readAll();
            hourSentences += int(test::subtitleStarts(base + ".lrc").size());
        }
        // 8 lessons of about 100 s each: 5 rounds are a little more than an hour.
        QFile joined(hour);
        if (!joined.open(QIODevice::WriteOnly))
            return 1;
        for (int round = 0; round < 5; ++round)
            joined.write(piece);
        hourSentences *= 5;
    }
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        int lastProgress = 0;
        const pauses::EnvelopeResult measured = pauses::measureEnvelope(
            hour, [&](int value) { lastProgress = value; }, nullptr);
        const qint64 measureMs = timer.restart();
        if (!measured.error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(measured.error));
            return 1;
        }
        QList<pauses::Span> found;
        for (int i = 0; i < 10; ++i)
            found = pauses::findSentences(measured.envelope, {.minPauseMs = 150});
        const double findMs = double(timer.elapsed()) / 10;
        std::printf("  hour lesson (%.1f min): measured in %lld ms (progress reached %d), "
                    "sentences found in %.1f ms: %lld of %d\n",
                    double(measured.envelope.durationMs) / 60000, measureMs, lastProgress, findMs,
                    qsizetype(found.size()), hourSentences);
    }
    return 0;
}
