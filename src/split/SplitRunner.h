#pragma once

#include "split/SplitJob.h"
#include "subtitles/SentenceMode.h"
#include "subtitles/SubtitleDocument.h"

#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

namespace lurvo::split {

// How long a splitter that could not be started waits before it is tried again.
inline constexpr int kRetryMs = 100;
// Consecutive failed starts of the splitter after which a run gives up.
inline constexpr int kMaxStartAttempts = 50;

// Produces the segments of a job one after another, each by one run of the splitter program.
// The next segment starts as soon as the splitter before it has finished (its finished
// signal, from the event loop), so a run costs what the splitter's runs cost. A segment's
// subtitle file is written while its splitter runs. The segment is made when the splitter
// exits with 0 and its audio file is there; otherwise its subtitle file is removed again, so a
// failed segment leaves neither. Older files of a segment's names are removed before its
// splitter starts.
class SplitRunner {
public:
    enum class End {
        Completed, // the last segment's splitter ended (see failedCount())
        GaveUp,    // the splitter could not be started kMaxStartAttempts times in a row
    };

    // The document must outlive the runner.
    SplitRunner(const subtitles::SubtitleDocument& doc, subtitles::SentenceMode mode,
                QString lessonPath, QString program, SplitJob job);
    // Leaves a running splitter to finish its segment.
    ~SplitRunner();
    SplitRunner(const SplitRunner&) = delete;
    SplitRunner& operator=(const SplitRunner&) = delete;

    // Called when a segment's splitter is started (or tried again), with progressText() set.
    std::function<void()> onSegmentStarted;
    // Called once when the run ends by itself; never after stop().
    std::function<void(End)> onEnded;

    // Starts the first segment; the event loop does the rest.
    void start();

    // Ends the run: no further segment starts. A running splitter is not killed but left to
    // finish on its own (its subtitles are removed if it makes no audio); the result watches
    // it and becomes null once it has ended and its QProcess is gone.
    QPointer<QProcess> stop();

    bool finished() const { return finished_; }
    int segmentIndex() const { return segmentIndex_; }
    int segmentCount() const { return segmentCount_; }
    // Segments whose splitter failed or made no file, and the name of the first of them.
    int failedCount() const { return failedCount_; }
    const QString& firstFailedName() const { return firstFailedName_; }
    // "%d / %d" of the segment last started and the count; empty before the first start.
    const QString& progressText() const { return progressText_; }
    const QString& program() const { return program_; }

private:
    void startSegment();
    void splitterFinished();
    void startFailed();
    void end(End how);
    QPointer<QProcess> releaseSplitter();

    const subtitles::SubtitleDocument& doc_;
    // What the segments' subtitle files are written from: the lesson's lines without its
    // per-lesson offset, which the cut times hold already. A segment is a recording of its
    // own, with no stored offset, so its times must be right without one; the file's own
    // [offset:] tag goes along in the header and stays applied.
    subtitles::SubtitleDocument segmentSubtitles_;
    subtitles::SentenceMode mode_;
    QString lessonPath_;
    QString program_;
    SplitJob job_;
    int segmentCount_ = 0;
    int segmentIndex_ = 1;
    int failedStarts_ = 0;
    int failedCount_ = 0;
    bool finished_ = false;
    QString progressText_;
    QString firstFailedName_;
    SegmentPlan current_; // of the segment being cut
    std::unique_ptr<QProcess> splitter_;
    QTimer retry_;
};

// The error shown when the splitter could not be started at all.
QString splitterStartFailedText(const QString& program);
// The error that ends a run in which `failed` of `count` segments were not made.
QString segmentsFailedText(int failed, int count, const QString& firstFailedName);

} // namespace lurvo::split
