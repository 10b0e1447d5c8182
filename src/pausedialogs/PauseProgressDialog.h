#pragma once

#include "pauses/PauseAnalysis.h"

#include <QDialog>

#include <atomic>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;

namespace lurvo::pausedialogs {

// The wait while a lesson's loudness is measured: a progress bar and 取消. The work runs in a
// thread of its own once the dialog is shown; the dialog ends when the work has ended.
class PauseProgressDialog : public QDialog {
public:
    // The measuring, replaceable for tests: reports 0..1000 and stops soon once cancel is set.
    using Work = std::function<pauses::EnvelopeResult(const std::function<void(int)>& progress,
                                                      const std::atomic_bool* cancel)>;

    PauseProgressDialog(Work work, QWidget* parent);
    ~PauseProgressDialog() override;

    // The real measuring of the MP3 at path, under the dialog; cancelled when the learner
    // cancelled, even if the work had just finished.
    static pauses::EnvelopeResult measure(const QString& mp3Path, QWidget* parent);
    static pauses::EnvelopeResult run(Work work, QWidget* parent);

    // 取消, Escape and the close box: the work is told to stop; the dialog ends with it.
    void reject() override;

    const pauses::EnvelopeResult& result() const { return result_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void workEnded();

    Work work_;
    std::atomic_bool cancel_{false};
    pauses::EnvelopeResult result_;
    QThread* thread_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace lurvo::pausedialogs
