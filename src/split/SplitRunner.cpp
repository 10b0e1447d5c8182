#include "split/SplitRunner.h"

#include "platform/FileOps.h"

#include <utility>

namespace lurvo::split {

SplitRunner::SplitRunner(const subtitles::SubtitleDocument& doc, subtitles::SentenceMode mode,
                         QString lessonPath, QString program, SplitJob job)
    : doc_(doc), mode_(mode), lessonPath_(std::move(lessonPath)), program_(std::move(program)),
      job_(std::move(job)), segmentCount_(SegmentCount(job_)) {}

SplitRunner::~SplitRunner() {
    releaseSplitter();
}

SplitRunner::Tick SplitRunner::tick() {
    if (finished_)
        return Tick::Idle;
    if (splitter_) {
        if (splitter_->state() != QProcess::NotRunning)
            return Tick::Waiting;
        const bool notStarted = splitter_->error() == QProcess::FailedToStart;
        splitter_.reset();
        if (!notStarted) {
            failedStarts_ = 0;
            if (segmentIndex_ >= segmentCount_) {
                finished_ = true;
                return Tick::Completed;
            }
            ++segmentIndex_;
            return Tick::SegmentDone;
        }
        // The failed try was a tick ago, so this tick is the retry.
        if (++failedStarts_ >= kMaxStartAttempts) {
            finished_ = true;
            return Tick::GaveUp;
        }
    }
    if (segmentCount_ == 0) {
        finished_ = true;
        return Tick::Completed;
    }
    startSegment();
    return Tick::Started;
}

void SplitRunner::startSegment() {
    const SegmentPlan plan = planSegment(job_, segmentIndex_, doc_, mode_, lessonPath_);
    // A read-only subtitle file left by an earlier run is replaced all the same.
    platform::makeWritable(plan.subtitlePath);

    splitter_ = std::make_unique<QProcess>();
    splitter_->setProgram(program_);
    splitter_->setArguments(plan.arguments);
    // Its output is never read: discarded, so that full pipes cannot stall it.
    splitter_->setStandardInputFile(QProcess::nullDevice());
    splitter_->setStandardOutputFile(QProcess::nullDevice());
    splitter_->setStandardErrorFile(QProcess::nullDevice());
    splitter_->start();

    progressText_ = QStringLiteral("%1 / %2").arg(segmentIndex_).arg(segmentCount_);
    // Whether the subtitle file could be written does not change the run.
    doc_.writeRange(plan.span.firstLine, plan.span.lastLine, plan.subtitlePath);
}

QPointer<QProcess> SplitRunner::stop() {
    finished_ = true;
    return releaseSplitter();
}

QPointer<QProcess> SplitRunner::releaseSplitter() {
    if (!splitter_ || splitter_->state() == QProcess::NotRunning) {
        splitter_.reset();
        return nullptr;
    }
    // Destroying a QProcess kills its process: this one outlives the runner and goes once the
    // splitter has ended.
    QProcess* process = splitter_.release();
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process](QProcess::ProcessError e) {
                         if (e == QProcess::FailedToStart)
                             process->deleteLater();
                     });
    return process;
}

QString splitterStartFailedText(const QString& program) {
    return QStringLiteral("无法启动切割程序：\r\n%1").arg(program);
}

} // namespace lurvo::split
