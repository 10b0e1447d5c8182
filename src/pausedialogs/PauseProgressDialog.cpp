#include "pausedialogs/PauseProgressDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace lurvo::pausedialogs {

PauseProgressDialog::PauseProgressDialog(Work work, QWidget* parent)
    : QDialog(parent), work_(std::move(work)) {
    setWindowTitle(QCoreApplication::translate("PauseProgressDialog", "按停顿分句"));
    setModal(true);
    auto* text = new QLabel(
        QCoreApplication::translate("PauseProgressDialog", "正在分析mp3文件中的停顿…"), this);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progress"));
    bar_->setRange(0, 1000);
    bar_->setTextVisible(false);
    cancelButton_ =
        new QPushButton(QCoreApplication::translate("PauseProgressDialog", "取消"), this);
    connect(cancelButton_, &QPushButton::clicked, this, &PauseProgressDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

PauseProgressDialog::~PauseProgressDialog() {
    if (thread_) {
        cancel_ = true;
        thread_->wait();
    }
}

void PauseProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (thread_)
        return;
    thread_ = QThread::create([this] {
        // The bar moves in the dialog's thread: the work only queues the value.
        result_ = work_(
            [this](int permille) {
                QMetaObject::invokeMethod(
                    bar_, [bar = bar_, permille] { bar->setValue(permille); },
                    Qt::QueuedConnection);
            },
            &cancel_);
    });
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, &PauseProgressDialog::workEnded,
            Qt::QueuedConnection);
    thread_->start();
}

void PauseProgressDialog::workEnded() {
    thread_->wait();
    if (cancel_) {
        result_ = {};
        result_.cancelled = true;
        done(Rejected);
        return;
    }
    done(result_.error.isEmpty() && !result_.cancelled ? Accepted : Rejected);
}

void PauseProgressDialog::reject() {
    // Without the work running there is nothing to wait for.
    if (!thread_ || thread_->isFinished()) {
        cancel_ = true;
        result_ = {};
        result_.cancelled = true;
        QDialog::reject();
        return;
    }
    cancel_ = true;
    cancelButton_->setEnabled(false);
}

pauses::EnvelopeResult PauseProgressDialog::run(Work work, QWidget* parent) {
    PauseProgressDialog dialog(std::move(work), parent);
    dialog.exec();
    return dialog.result();
}

pauses::EnvelopeResult PauseProgressDialog::measure(const QString& mp3Path, QWidget* parent) {
    return run(
        [mp3Path](const std::function<void(int)>& progress, const std::atomic_bool* cancel) {
            return pauses::measureEnvelope(mp3Path, progress, cancel);
        },
        parent);
}

} // namespace lurvo::pausedialogs
