// Cutting a 30-minute lesson into one-sentence segments, in both cut-point modes, through the
// runner the progress dialog drives (ticking every 100 ms), against the bare run time of
// mp3splt on the same cuts (each run waited for, back to back). The gap is what polling costs.
// Needs LURVO_BENCH_DATA/split-30min.mp3 and .lrc, which bench/run.sh makes.
#include "platform/ResourceFolder.h"
#include "split/SplitJob.h"
#include "split/SplitRunner.h"
#include "subtitles/SubtitleDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace lurvo;

namespace {

QString benchFile(const char* name) {
    const char* dir = std::getenv("LURVO_BENCH_DATA");
    return QString::fromLocal8Bit(dir ? dir : ".") + "/" + name;
}

// The whole run as the dialog makes it; seconds, or -1 when it did not complete.
double runnerSeconds(const subtitles::SubtitleDocument& doc, const QString& lesson,
                     const QString& program, const split::SplitJob& job) {
    split::SplitRunner runner(doc, subtitles::SentenceMode::OneLine, lesson, program, job);
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(split::kTickMs);
    split::SplitRunner::Tick last = split::SplitRunner::Tick::Idle;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        last = runner.tick();
        if (runner.finished())
            loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    timer.start();
    loop.exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    return last == split::SplitRunner::Tick::Completed ? seconds : -1;
}

// The same cuts by mp3splt alone, each started and waited for; the sum of the run times.
double bareSeconds(const subtitles::SubtitleDocument& doc, const QString& lesson,
                   const QString& program, const split::SplitJob& job) {
    double total = 0;
    for (int k = 1; k <= split::SegmentCount(job); ++k) {
        const split::SegmentPlan plan =
            split::planSegment(job, k, doc, subtitles::SentenceMode::OneLine, lesson);
        QProcess process;
        process.setProgram(program);
        process.setArguments(plan.arguments);
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        process.start();
        if (!process.waitForFinished(-1))
            return -1;
        total += double(clock.nsecsElapsed()) / 1e9;
    }
    return total;
}

int countFiles(const QString& folder, const char* pattern) {
    return int(QDir(folder).entryList({QString::fromLatin1(pattern)}, QDir::Files).size());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const QString lesson = benchFile("split-30min.mp3");
    subtitles::SubtitleDocument doc;
    if (doc.load(benchFile("split-30min.lrc")) != 1) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(benchFile("split-30min.lrc")));
        return 1;
    }
    const QString program = platform::findProgram(QStringLiteral("mp3splt"), QString());
    if (program.isEmpty()) {
        std::fprintf(stderr, "mp3splt not found\n");
        return 1;
    }
    QTemporaryDir out;
    std::printf("30 min lesson, %d one-sentence segments, tick %d ms\n", doc.lineCount(),
                split::kTickMs);
    for (const bool frameExact : {true, false}) {
        split::SplitJob job;
        job.startSentence = 1;
        job.endSentence = doc.sentenceCount(subtitles::SentenceMode::OneLine);
        job.sentencesPerSegment = 1;
        job.frameExact = frameExact;
        const char* mode = frameExact ? "frame exact" : "bitrate estimate";

        job.destFolder = out.filePath(frameExact ? "runner-frame" : "runner-bitrate");
        QDir().mkpath(job.destFolder);
        const double runner = runnerSeconds(doc, lesson, program, job);
        const int made = countFiles(job.destFolder, "*.mp3");

        job.destFolder = out.filePath(frameExact ? "bare-frame" : "bare-bitrate");
        QDir().mkpath(job.destFolder);
        const double bare = bareSeconds(doc, lesson, program, job);

        const int segments = split::SegmentCount(job);
        std::printf("%-17s runner %7.2f s (%d/%d mp3)  bare mp3splt %7.2f s  ratio %5.2f  "
                    "overhead %5.1f ms/segment\n",
                    mode, runner, made, segments, bare, bare > 0 ? runner / bare : 0.0,
                    1000 * (runner - bare) / segments);
    }
    return 0;
}
