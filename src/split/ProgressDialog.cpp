#include "split/ProgressDialog.h"

#include "app/StringTable.h"
#include "split/BusyIndicator.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace lurvo::split {

ProgressDialog::ProgressDialog(const SplitContext& context, const SplitJob& job, QWidget* parent)
    : QDialog(parent),
      runner_(*context.document, context.mode, context.lessonPath, context.splitterProgram, job),
      showError_(context.showError), showInformation_(context.showInformation) {
    const QString caption = QCoreApplication::translate("ProgressDialog", "按句切割中…");
    setWindowTitle(caption);
    setModal(true);

    animation_ = new BusyIndicator(this);
    animation_->setObjectName(QStringLiteral("animation"));
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("progressText"));
    progress_->setAlignment(Qt::AlignCenter);
    auto* working = new QLabel(caption, this);
    working->setAlignment(Qt::AlignCenter);
    auto* stop = new QPushButton(QCoreApplication::translate("ProgressDialog", "终止"), this);
    stop->setObjectName(QStringLiteral("stopButton"));
    stop->setDefault(true);
    connect(stop, &QPushButton::clicked, this, &ProgressDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(stop);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(animation_, 0, Qt::AlignHCenter);
    layout->addWidget(progress_);
    layout->addWidget(working);
    layout->addLayout(buttons);
    setMinimumWidth(240);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    animation_->start();
    runner_.onSegmentStarted = [this] { progress_->setText(runner_.progressText()); };
    // The message box waits in an event loop of its own: not inside the splitter's signal.
    runner_.onEnded = [this](SplitRunner::End how) {
        QMetaObject::invokeMethod(
            this, [this, how] { runEnded(how); }, Qt::QueuedConnection);
    };
    // From the dialog's own event loop, so that a run that ends at once still ends the dialog.
    QTimer::singleShot(0, this, [this] { runner_.start(); });
}

void ProgressDialog::runEnded(SplitRunner::End how) {
    // "终止" may have come between the end and this queued call.
    if (stopped_)
        return;
    endRun();
    if (how == SplitRunner::End::GaveUp) {
        if (showError_)
            showError_(splitterStartFailedText(runner_.program()));
        done(kStopped);
        return;
    }
    if (runner_.failedCount() == 0) {
        if (showInformation_)
            showInformation_(app::stringText(1058));
    } else if (showError_) {
        showError_(segmentsFailedText(runner_.failedCount(), runner_.segmentCount(),
                                      runner_.firstFailedName()));
    }
    done(kCompleted);
}

void ProgressDialog::endRun() {
    animation_->stop();
    animation_->hide();
}

void ProgressDialog::reject() {
    stopped_ = true;
    if (!runner_.finished()) {
        runner_.stop();
        endRun();
    }
    done(kStopped);
}

} // namespace lurvo::split
