#include "split/SplitRunner.h"

#include "platform/FileOps.h"

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

// A file of an earlier run, read-only or not, must not pass for this run's.
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
}

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
        if (!notStarted)
            segmentEnded();
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
    current_ = planSegment(job_, segmentIndex_, doc_, mode_, lessonPath_);
    removeOld(current_.audioPath);
    removeOld(current_.subtitlePath);

    splitter_ = std::make_unique<QProcess>();
    splitter_->setProgram(program_);
    splitter_->setArguments(current_.arguments);
    // Its output is never read: discarded, so that full pipes cannot stall it.
    splitter_->setStandardInputFile(QProcess::nullDevice());
    splitter_->setStandardOutputFile(QProcess::nullDevice());
    splitter_->setStandardErrorFile(QProcess::nullDevice());
    splitter_->start();

    progressText_ = QStringLiteral("%1 / %2").arg(segmentIndex_).arg(segmentCount_);
}

void SplitRunner::segmentEnded() {
    if (segmentMade(*splitter_, current_.audioPath)) {
        // Whether the subtitle file could be written does not change the run.
        segmentSubtitles_.writeRange(current_.span.firstLine, current_.span.lastLine,
                                     current_.subtitlePath);
        return;
    }
    if (failedCount_++ == 0)
        firstFailedName_ = current_.name;
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
    // splitter has ended, then writing its segment's subtitles if it made the audio. The
    // document is copied (shared, not deep) as the lesson may be gone by then.
    QProcess* process = splitter_.release();
    QObject::connect(
        process, &QProcess::finished, process, [process, plan = current_, doc = segmentSubtitles_] {
            if (segmentMade(*process, plan.audioPath))
                doc.writeRange(plan.span.firstLine, plan.span.lastLine, plan.subtitlePath);
            process->deleteLater();
        });
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

QString segmentsFailedText(int failed, int count, const QString& firstFailedName) {
    if (failed >= count)
        return QStringLiteral("切割失败：%1 个片段都没有切出。").arg(count);
    return QStringLiteral("切割结束，但 %1 个片段中有 %2 个没有切出（第一个：%3）。")
        .arg(count)
        .arg(failed)
        .arg(firstFailedName);
}

} // namespace lurvo::split
