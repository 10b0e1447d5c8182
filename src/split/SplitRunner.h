#pragma once

#include "split/SplitJob.h"
#include "subtitles/SentenceMode.h"
#include "subtitles/SubtitleDocument.h"

#include <QPointer>
#include <QProcess>
#include <QString>

#include <memory>

namespace lurvo::split {

// How often the owner calls tick().
inline constexpr int kTickMs = 100;
// Consecutive failed starts of the splitter after which a run gives up.
inline constexpr int kMaxStartAttempts = 50;

// Produces the segments of a job one after another, each by one run of the splitter program,
// driven by the owner's timer: every tick either starts the current segment, waits for the
// running splitter, or notes that it has ended. A segment is made when its splitter exits with
// 0 and its audio file is there; only then is its subtitle file written, so a failed segment
// leaves neither. Older files of a segment's names are removed before its splitter starts.
class SplitRunner {
public:
    enum class Tick {
        Idle,        // the run has ended; nothing happens any more
        Waiting,     // the splitter is still at work
        Started,     // a segment's splitter was just started (or tried again)
        SegmentDone, // a segment's splitter ended; the next one starts at the next tick
        Completed,   // the last segment's splitter ended (see failedCount())
        GaveUp,      // the splitter could not be started kMaxStartAttempts times in a row
    };

    // The document must outlive the runner.
    SplitRunner(const subtitles::SubtitleDocument& doc, subtitles::SentenceMode mode,
                QString lessonPath, QString program, SplitJob job);
    // Leaves a running splitter to finish its segment.
    ~SplitRunner();
    SplitRunner(const SplitRunner&) = delete;
    SplitRunner& operator=(const SplitRunner&) = delete;

    Tick tick();

    // Ends the run: no further segment starts. A running splitter is not killed but left to
    // finish on its own; the result watches it and becomes null once it has ended and its
    // QProcess is gone (which needs the event loop).
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
    void segmentEnded();
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
};

// The error shown when the splitter could not be started at all.
QString splitterStartFailedText(const QString& program);
// The error that ends a run in which `failed` of `count` segments were not made.
QString segmentsFailedText(int failed, int count, const QString& firstFailedName);

} // namespace lurvo::split
