#include "split/SplitRunner.h"

#include "SplitTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace lurvo::split;
using lurvo::subtitles::SentenceMode;
using lurvo::test::beginLine;
using lurvo::test::evenLines;
using lurvo::test::logLines;
using lurvo::test::waitUntil;
using lurvo::test::writeFakeSplitter;
using End = SplitRunner::End;

namespace {

struct Rig {
    QTemporaryDir dir;
    QString out = dir.filePath(QStringLiteral("out"));
    QString log = dir.filePath(QStringLiteral("log"));
    QString program = dir.filePath(QStringLiteral("fake-splitter"));
    QString lesson = dir.filePath(QStringLiteral("a.mp3"));

    Rig() { QDir().mkpath(out); }

    SplitJob job(int start, int end, int per, bool frameExact = true) const {
        SplitJob j;
        j.startSentence = start;
        j.endSentence = end;
        j.sentencesPerSegment = per;
        j.frameExact = frameExact;
        j.destFolder = out + u'/';
        return j;
    }
};

// Starts the runner (or lets a started one go on) and runs the event loop, nothing else, until
// the run ends, stopAfterStart holds after a start, or timeoutMs pass; the progress text after
// each start and how the run ended.
struct Drive {
    QStringList progress;
    std::optional<End> end;
};
Drive drive(SplitRunner& runner, int timeoutMs,
            const std::function<bool()>& stopAfterStart = nullptr) {
    Drive d;
    QEventLoop loop;
    runner.onSegmentStarted = [&] {
        d.progress << runner.progressText();
        if (stopAfterStart && stopAfterStart())
            loop.quit();
    };
    runner.onEnded = [&](End how) {
        d.end = how;
        loop.quit();
    };
    QTimer::singleShot(0, &loop, [&] { runner.start(); });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    runner.onSegmentStarted = nullptr;
    runner.onEnded = nullptr;
    return d;
}

TEST(SplitRunner, CutsEverySegmentInTurnAndWritesItsSubtitles) {
    for (const bool frameExact : {true, false}) {
        SCOPED_TRACE(frameExact);
        Rig rig;
        writeFakeSplitter(rig.program, rig.log, "0.05");
        const auto doc = evenLines(10);
        const SplitJob job = rig.job(1, 10, 3, frameExact);
        SplitRunner runner(doc, SentenceMode::OneLine, rig.lesson, rig.program, job);
        ASSERT_EQ(runner.segmentCount(), 4);
        EXPECT_TRUE(runner.progressText().isEmpty());

        const Drive d = drive(runner, 10000);
        ASSERT_TRUE(runner.finished());
        EXPECT_EQ(d.end, End::Completed);
        EXPECT_EQ(runner.failedCount(), 0);
        EXPECT_EQ(d.progress, (QStringList{"1 / 4", "2 / 4", "3 / 4", "4 / 4"}));
        // A segment ends before the next begins: one splitter at a time.
        QStringList expected;
        for (int k = 1; k <= 4; ++k) {
            const SegmentPlan plan = planSegment(job, k, doc, SentenceMode::OneLine, rig.lesson);
            expected << beginLine(plan.arguments) << QStringLiteral("end");
            EXPECT_TRUE(QFile::exists(rig.out + u'/' + plan.name + QStringLiteral(".lrc"))) << k;
        }
        EXPECT_EQ(logLines(rig.log), expected);
        QStringList first{rig.lesson, "0.0.43", "0.9.43", "-d", rig.out, "-o", "a_0000"};
        if (frameExact)
            first << QStringLiteral("-f");
        EXPECT_EQ(expected.at(0), beginLine(first));
        runner.start(); // an ended run stays ended
        EXPECT_EQ(logLines(rig.log).size(), 8);
    }
}

TEST(SplitRunner, TheNextSegmentStartsAsSoonAsTheOneBeforeHasFinished) {
    Rig rig;
    writeFakeSplitter(rig.program, rig.log, "0");
    const auto doc = evenLines(20);
    SplitRunner runner(doc, SentenceMode::OneLine, rig.lesson, rig.program, rig.job(1, 20, 1));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(drive(runner, 20000).end, End::Completed);
    // Polling every 100 ms took two polls a segment: 4 s here. A start of the shell script
    // takes a few ms (tens under load).
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(logLines(rig.log).size(), 40);
}

TEST(SplitRunner, StopStartsNoFurtherSegmentAndLetsTheRunningOneFinish) {
    Rig rig;
    writeFakeSplitter(rig.program, rig.log, "0.4");
    const auto doc = evenLines(6);
    SplitRunner runner(doc, SentenceMode::OneLine, rig.lesson, rig.program, rig.job(1, 6, 2));
    drive(runner, 5000, [] { return true; });
    ASSERT_EQ(runner.progressText(), QStringLiteral("1 / 3"));
    ASSERT_TRUE(waitUntil([&] { return logLines(rig.log).size() == 1; }, 3000));

    const QPointer<QProcess> detached = runner.stop();
    ASSERT_FALSE(detached.isNull());
    EXPECT_TRUE(runner.finished());
    EXPECT_TRUE(waitUntil([&] { return detached.isNull(); }, 5000));
    const QStringList log = logLines(rig.log);
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log.at(1), QStringLiteral("end")); // finished, not killed
    runner.start();
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(logLines(rig.log).size(), 2);
    EXPECT_EQ(QDir(rig.out).entryList(QDir::Files, QDir::Name),
              (QStringList{"a_0000.lrc", "a_0000.mp3"}));
}

TEST(SplitRunner, ASegmentNotMadeIsCountedAndLeavesNoSubtitles) {
    // A failing exit, and an exit with 0 that made no file.
    for (const int failExit : {1, 0}) {
        SCOPED_TRACE(failExit);
        Rig rig;
        writeFakeSplitter(rig.program, rig.log, "0", "a_0001|a_0003", failExit);
        // Files of an earlier run must not pass for this one's.
        for (const char* stale : {"a_0001.mp3", "a_0001.lrc"}) {
            QFile file(rig.out + u'/' + QLatin1StringView(stale));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("old");
            file.close();
            file.setPermissions(QFileDevice::ReadOwner);
        }
        const auto doc = evenLines(8);
        SplitRunner runner(doc, SentenceMode::OneLine, rig.lesson, rig.program, rig.job(1, 8, 2));
        const Drive d = drive(runner, 10000);
        ASSERT_TRUE(runner.finished());
        EXPECT_EQ(d.end, End::Completed);
        EXPECT_EQ(d.progress.size(), 4);
        EXPECT_EQ(runner.failedCount(), 2);
        EXPECT_EQ(runner.firstFailedName(), QStringLiteral("a_0001"));
        EXPECT_EQ(QDir(rig.out).entryList(QDir::Files, QDir::Name),
                  (QStringList{"a_0000.lrc", "a_0000.mp3", "a_0002.lrc", "a_0002.mp3"}));
    }
    EXPECT_EQ(segmentsFailedText(2, 4, QStringLiteral("a_0001")),
              QStringLiteral("切割结束，但 4 个片段中有 2 个没有切出（第一个：a_0001）。"));
    EXPECT_EQ(segmentsFailedText(4, 4, QStringLiteral("a_0000")),
              QStringLiteral("切割失败：4 个片段都没有切出。"));
}

TEST(SplitRunner, SegmentSubtitlesCountFromTheCutWhateverTheLessonsOffset) {
    for (const int offset : {500, -500}) {
        SCOPED_TRACE(offset);
        Rig rig;
        writeFakeSplitter(rig.program, rig.log, "0");
        auto doc = evenLines(6);
        doc.header += QStringLiteral("[offset:200]\r\n");
        doc.fileOffsetMs = 200;
        doc.applyOffset(offset);
        const SplitJob job = rig.job(2, 6, 3);
        SplitRunner runner(doc, SentenceMode::OneLine, rig.lesson, rig.program, job);
        ASSERT_EQ(drive(runner, 10000).end, End::Completed);
        for (int k = 1; k <= 2; ++k) {
            SCOPED_TRACE(k);
            const SegmentPlan plan = planSegment(job, k, doc, SentenceMode::OneLine, rig.lesson);
            // The audio is cut at the lesson's shifted times; read back on its own (no stored
            // offset for the new recording) each line sits where the cut put its sentence.
            EXPECT_EQ(plan.arguments.at(1), cutTimeText(doc.line(plan.span.firstLine).startMs));
            lurvo::subtitles::SubtitleDocument segment;
            ASSERT_EQ(segment.load(plan.subtitlePath), 1);
            EXPECT_EQ(segment.fileOffsetMs, 200);
            ASSERT_EQ(segment.lineCount(), plan.span.lastLine - plan.span.firstLine + 1);
            for (int i = 0; i < segment.lineCount(); ++i)
                EXPECT_EQ(segment.line(i).startMs, doc.line(plan.span.firstLine + i).startMs -
                                                       doc.line(plan.span.firstLine).startMs)
                    << i;
        }
    }
}

TEST(SplitRunner, DestroyingTheRunnerDoesNotKillTheSplitter) {
    Rig rig;
    writeFakeSplitter(rig.program, rig.log, "0.3");
    const auto doc = evenLines(2);
    {
        SplitRunner runner(doc, SentenceMode::OneLine, rig.lesson, rig.program, rig.job(1, 2, 1));
        drive(runner, 5000, [] { return true; });
        ASSERT_TRUE(waitUntil([&] { return logLines(rig.log).size() == 1; }, 3000));
    }
    EXPECT_TRUE(waitUntil([&] { return logLines(rig.log).size() == 2; }, 5000));
    EXPECT_EQ(logLines(rig.log).value(1), QStringLiteral("end"));
    // Time for the detached QProcess to see its end and delete itself (else a leak report).
    waitUntil([] { return false; }, 200);
}

TEST(SplitRunner, ASplitterThatCannotStartIsTriedAgainThenGivenUp) {
    Rig rig;
    const auto doc = evenLines(4);
    const QString missing = rig.dir.filePath(QStringLiteral("no such splitter"));
    SplitRunner runner(doc, SentenceMode::OneLine, rig.lesson, missing, rig.job(1, 4, 2));
    const Drive d = drive(runner, 20000);
    ASSERT_TRUE(runner.finished());
    EXPECT_EQ(d.end, End::GaveUp);
    // Always the first segment again.
    EXPECT_EQ(d.progress, QStringList(kMaxStartAttempts, QStringLiteral("1 / 2")));
    EXPECT_TRUE(splitterStartFailedText(missing).contains(missing));
}

TEST(SplitRunner, ARetriedSegmentGoesOnOnceTheSplitterStarts) {
    Rig rig;
    const auto doc = evenLines(4);
    const SplitJob job = rig.job(1, 4, 2);
    SplitRunner runner(doc, SentenceMode::OneLine, rig.lesson, rig.program, job);
    int starts = 0;
    drive(runner, 5000, [&] { return ++starts == 3; });
    ASSERT_EQ(starts, 3);
    ASSERT_FALSE(runner.finished());
    writeFakeSplitter(rig.program, rig.log, "0");
    const Drive d = drive(runner, 10000);
    EXPECT_EQ(d.end, End::Completed);
    const QStringList log = logLines(rig.log);
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log.at(0),
              beginLine(planSegment(job, 1, doc, SentenceMode::OneLine, rig.lesson).arguments));
    EXPECT_EQ(log.at(2),
              beginLine(planSegment(job, 2, doc, SentenceMode::OneLine, rig.lesson).arguments));
}

} // namespace
