#include "pausedialogs/PauseOptionsDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace lurvo::pausedialogs {

PauseOptionsDialog::PauseOptionsDialog(const pauses::Envelope& envelope, QWidget* parent)
    : QDialog(parent), envelope_(envelope) {
    setWindowTitle(QCoreApplication::translate("PauseOptionsDialog", "按停顿分句"));
    setModal(true);
    const pauses::PauseOptions defaults;

    minPause_ = new QSpinBox(this);
    minPause_->setObjectName(QStringLiteral("minPause"));
    minPause_->setRange(pauses::kMinPauseLowestMs, pauses::kMinPauseHighestMs);
    minPause_->setSingleStep(50);
    minPause_->setSuffix(QCoreApplication::translate("PauseOptionsDialog", " 毫秒"));
    minPause_->setValue(defaults.minPauseMs);

    // Relative to the lesson's own speech, so that quiet and loud recordings start alike.
    silence_ = new QSpinBox(this);
    silence_->setObjectName(QStringLiteral("silenceBelowSpeech"));
    silence_->setRange(10, 60);
    silence_->setSuffix(QCoreApplication::translate("PauseOptionsDialog", " 分贝"));
    silence_->setValue(int(std::lround(defaults.silenceBelowSpeechDb)));

    countText_ = new QLabel(this);
    countText_->setObjectName(QStringLiteral("sentenceCount"));

    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("PauseOptionsDialog", "最短停顿（分句）："),
                 minPause_);
    form->addRow(QCoreApplication::translate("PauseOptionsDialog", "低于语音多少算静音："),
                 silence_);
    form->addRow(QCoreApplication::translate("PauseOptionsDialog", "找到的句子："), countText_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    okButton_->setText(QCoreApplication::translate("PauseOptionsDialog", "确定"));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("PauseOptionsDialog", "取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QCoreApplication::translate("PauseOptionsDialog", "设置停顿多长就分成新的一句："), this));
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(minPause_, &QSpinBox::valueChanged, this, &PauseOptionsDialog::recount);
    connect(silence_, &QSpinBox::valueChanged, this, &PauseOptionsDialog::recount);
    recount();
}

pauses::PauseOptions PauseOptionsDialog::options() const {
    pauses::PauseOptions chosen;
    chosen.minPauseMs = minPause_->value();
    chosen.silenceBelowSpeechDb = silence_->value();
    return chosen;
}

void PauseOptionsDialog::recount() {
    count_ = int(pauses::findSentences(envelope_, options()).size());
    countText_->setText(QCoreApplication::translate("PauseOptionsDialog", "%1 句").arg(count_));
    // Subtitles without a single sentence would not open.
    okButton_->setEnabled(count_ > 0);
}

std::optional<pauses::PauseOptions> PauseOptionsDialog::ask(const pauses::Envelope& envelope,
                                                            QWidget* parent) {
    PauseOptionsDialog dialog(envelope, parent);
    if (dialog.exec() != Accepted)
        return std::nullopt;
    return dialog.options();
}

} // namespace lurvo::pausedialogs
