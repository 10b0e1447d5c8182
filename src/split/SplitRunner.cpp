#include "split/SplitRunner.h"

#include "platform/FileOps.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace lurvo::split {

namespace {

// Whether the splitter made the segment: a normal exit with 0, and its audio file there.
bool segmentMade(const QProcess& splitter, const QString& audioPath) {
    const QFileInfo audio(audioPath);
    return splitter.exitStatus() == QProcess::NormalExit && splitter.exitCode() == 0 &&
           audio.isFile() && audio.size() > 0;
}

// Removes a file, read-only or not: one of an earlier run that must not pass for this run's, or
// the subtitles of a segment whose audio was not made.
void removeOld(const QString& path) {
    if (QFileInfo::exists(path)) {
        platform::makeWritable(path);
        QFile::remove(path);
    }
}

} // namespace

SplitRunner::SplitRunner(const subtitles::SubtitleDocument& doc, subtitles::SentenceMode mode,
                         QString lessonPath, QString program, SplitJob job)
    : doc_(doc), segmentSubtitles_(doc), mode_(mode), lessonPath_(std::move(lessonPath)),
      program_(std::move(program)), job_(std::move(job)), segmentCount_(SegmentCount(job_)) {
    segmentSubtitles_.appliedOffsetMs = 0;
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    QObject::connect(&retry_, &QTimer::timeout, [this] { startSegment(); });
}

SplitRunner::~SplitRunner() {
    releaseSplitter();
}

void SplitRunner::start() {
    if (finished_ || splitter_ || retry_.isActive())
        return;
    if (segmentCount_ == 0)
        end(End::Completed);
    else
        startSegment();
}

void SplitRunner::startSegment() {
    current_ = planSegment(job_, segmentIndex_, doc_, mode_, lessonPath_);
    removeOld(current_.audioPath);
    removeOld(current_.subtitlePath);
    progressText_ = QStringLiteral("%1 / %2").arg(segmentIndex_).arg(segmentCount_);
    if (onSegmentStarted)
        onSegmentStarted();

    splitter_ = std::make_unique<QProcess>();
    QProcess* process = splitter_.get();
    process->setProgram(program_);
    process->setArguments(current_.arguments);
    // Its output is never read: discarded, so that full pipes cannot stall it.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, [this] { splitterFinished(); });
    QObject::connect(process, &QProcess::errorOccurred, process, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            startFailed();
    });
    process->start();
    // Written while the splitter cuts the audio (they are different files), and removed again
    // should the audio not be made.
    if (splitter_)
        segmentSubtitles_.writeRange(current_.span.firstLine, current_.span.lastLine,
                                     current_.subtitlePath);
}

void SplitRunner::splitterFinished() {
    // Not deleted here: this runs inside the process's own signal.
    QProcess* process = splitter_.release();
    process->disconnect();
    process->deleteLater();
    failedStarts_ = 0;
    if (!segmentMade(*process, current_.audioPath)) {
        removeOld(current_.subtitlePath);
        if (failedCount_++ == 0)
            firstFailedName_ = current_.name;
    }
    if (segmentIndex_ >= segmentCount_) {
        end(End::Completed);
        return;
    }
    ++segmentIndex_;
    startSegment();
}

void SplitRunner::startFailed() {
    QProcess* process = splitter_.release();
    process->disconnect();
    process->deleteLater();
    removeOld(current_.subtitlePath);
    if (++failedStarts_ >= kMaxStartAttempts)
        end(End::GaveUp);
    else
        retry_.start();
}

void SplitRunner::end(End how) {
    finished_ = true;
    if (onEnded)
        onEnded(how);
}

QPointer<QProcess> SplitRunner::stop() {
    finished_ = true;
    retry_.stop();
    return releaseSplitter();
}

QPointer<QProcess> SplitRunner::releaseSplitter() {
    if (!splitter_ || splitter_->state() == QProcess::NotRunning) {
        splitter_.reset();
        return nullptr;
    }
    // Destroying a QProcess kills its process: this one outlives the runner and goes once the
    // splitter has ended, taking its segment's subtitles along if it made no audio.
    QProcess* process = splitter_.release();
    process->disconnect(); // from this runner
    QObject::connect(process, &QProcess::finished, process, [process, plan = current_] {
        if (!segmentMade(*process, plan.audioPath))
            removeOld(plan.subtitlePath);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, subtitles = current_.subtitlePath](QProcess::ProcessError e) {
                         if (e == QProcess::FailedToStart) {
                             removeOld(subtitles);
                             process->deleteLater();
                         }
                     });
    return process;
}

QString splitterStartFailedText(const QString& program) {
    return QCoreApplication::translate("SplitRunner", "无法启动切割程序：\r\n%1").arg(program);
}

QString segmentsFailedText(int failed, int count, const QString& firstFailedName) {
    if (failed >= count)
        return QCoreApplication::translate("SplitRunner", "切割失败：%1 个片段都没有切出。")
            .arg(count);
    return QCoreApplication::translate("SplitRunner",
                                       "切割结束，但 %1 个片段中有 %2 个没有切出（第一个：%3）。")
        .arg(count)
        .arg(failed)
        .arg(firstFailedName);
}

} // namespace lurvo::split
