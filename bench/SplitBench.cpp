// Cutting a 30-minute lesson into one-sentence segments, in both cut-point modes, through the
// runner the progress dialog drives (each segment started when the one before has finished,
// subtitles written), against the bare run time of mp3splt on the same cuts (each run waited
// for, back to back). The gap is what the runner adds.
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
    bool completed = false;
    runner.onEnded = [&](split::SplitRunner::End how) {
        completed = how == split::SplitRunner::End::Completed;
        loop.quit();
    };
    QTimer::singleShot(0, &loop, [&] { runner.start(); });
    QElapsedTimer clock;
    clock.start();
    loop.exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    return completed ? seconds : -1;
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

constexpr int kRounds = 3;

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
    std::printf("30 min lesson, %d one-sentence segments, best of %d rounds\n", doc.lineCount(),
                kRounds);
    for (const bool frameExact : {true, false}) {
        split::SplitJob job;
        job.startSentence = 1;
        job.endSentence = doc.sentenceCount(subtitles::SentenceMode::OneLine);
        job.sentencesPerSegment = 1;
        job.frameExact = frameExact;
        const char* mode = frameExact ? "frame exact" : "bitrate estimate";

        // Alternated, each round in the other order, and the best of each kept: the machine's
        // other load comes and goes.
        double runner = -1, bare = -1;
        int made = 0;
        for (int round = 1; round <= kRounds; ++round) {
            double r = -1, b = -1;
            for (const bool runnerTurn : {round % 2 == 1, round % 2 == 0}) {
                job.destFolder = out.filePath(QStringLiteral("%1-%2-%3")
                                                  .arg(runnerTurn ? "runner" : "bare")
                                                  .arg(frameExact)
                                                  .arg(round));
                QDir().mkpath(job.destFolder);
                if (runnerTurn) {
                    r = runnerSeconds(doc, lesson, program, job);
                    made = countFiles(job.destFolder, "*.mp3");
                } else {
                    b = bareSeconds(doc, lesson, program, job);
                }
            }
            std::printf("  %-17s round %d: runner %7.2f s  bare %7.2f s  ratio %5.2f\n", mode,
                        round, r, b, b > 0 ? r / b : 0.0);
            runner = runner < 0 || (r >= 0 && r < runner) ? r : runner;
            bare = bare < 0 || (b >= 0 && b < bare) ? b : bare;
        }

        const int segments = split::SegmentCount(job);
        std::printf("%-17s runner %7.2f s (%d/%d mp3)  bare mp3splt %7.2f s  ratio %5.2f  "
                    "overhead %5.1f ms/segment\n",
                    mode, runner, made, segments, bare, bare > 0 ? runner / bare : 0.0,
                    1000 * (runner - bare) / segments);
    }
    return 0;
}
