#pragma once

#include "split/SplitContext.h"
#include "split/SplitJob.h"
#include "split/SplitRunner.h"

#include <QDialog>

class QLabel;

namespace lurvo::split {

class BusyIndicator;

// The wait while the segments are cut: a busy animation, "n / count", and "终止". Runs the job
// once shown, each segment as soon as the one before is done; ends with kCompleted after the
// last segment (having said that it is done, or how many segments were not made), or with
// kStopped on "终止", the close box, or when the splitter cannot be started at all.
class ProgressDialog : public QDialog {
public:
    static constexpr int kCompleted = 0;
    static constexpr int kStopped = 2;

    // The context's document must outlive the dialog.
    ProgressDialog(const SplitContext& context, const SplitJob& job, QWidget* parent);

    // "终止": no further segment; the running splitter finishes its segment on its own.
    void reject() override;

private:
    void runEnded(SplitRunner::End how);
    void endRun();

    SplitRunner runner_;
    std::function<void(const QString&)> showError_;
    std::function<void(const QString&)> showInformation_;
    BusyIndicator* animation_ = nullptr;
    QLabel* progress_ = nullptr;
    bool stopped_ = false;
};

} // namespace lurvo::split
