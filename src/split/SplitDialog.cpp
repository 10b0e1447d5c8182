#include "split/SplitDialog.h"

#include "app/StringTable.h"
#include "split/ProgressDialog.h"
#include "split/SplitJob.h"
#include "subtitles/SubtitleLine.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdint>
#include <cstring>
#include <utility>

namespace lurvo::split {

namespace {

QString unsignedText(int value) {
    return QString::number(static_cast<std::uint32_t>(value));
}

QLineEdit* numberEdit(const char* name, int value, QWidget* parent) {
    auto* edit = new QLineEdit(unsignedText(value), parent);
    edit->setObjectName(QLatin1StringView(name));
    return edit;
}

} // namespace

SplitDialog::SplitDialog(SplitContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setWindowTitle(QCoreApplication::translate("SplitDialog", "按句切割"));
    setModal(true);

    const int sentences = context_.document->sentenceCount(context_.mode);
    start_ = numberEdit("startEdit", 1, this);
    end_ = numberEdit("endEdit", sentences, this);
    perSegment_ = numberEdit("perSegmentEdit", 1, this);
    firstNumber_ = numberEdit("firstNumberEdit", 0, this);
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("folderEdit"));
    folder_->setReadOnly(true);
    auto* browse = new QPushButton(QCoreApplication::translate("SplitDialog", "…"), this);
    browse->setObjectName(QStringLiteral("folderButton"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, [this] { chooseFolder(); });

    auto* cutting =
        new QGroupBox(QCoreApplication::translate("SplitDialog", "按句切割（包括字幕）"), this);
    auto* fields = new QGridLayout(cutting);
    const auto label = [cutting](const QString& text) { return new QLabel(text, cutting); };
    fields->addWidget(label(QCoreApplication::translate("SplitDialog", "开始句：")), 0, 0);
    fields->addWidget(start_, 0, 1);
    fields->addWidget(label(QCoreApplication::translate("SplitDialog", "结束句：")), 1, 0);
    fields->addWidget(end_, 1, 1);
    fields->addWidget(label(QCoreApplication::translate("SplitDialog", "每几句一切割：")), 2, 0);
    fields->addWidget(perSegment_, 2, 1);
    fields->addWidget(label(QCoreApplication::translate("SplitDialog", "命名方法：")), 3, 0);
    fields->addWidget(label(QCoreApplication::translate("SplitDialog", "原文件名_四位序号")), 3, 1,
                      1, 2);
    fields->addWidget(label(QCoreApplication::translate("SplitDialog", "命名起始序号：")), 4, 0);
    fields->addWidget(firstNumber_, 4, 1);
    fields->addWidget(label(QCoreApplication::translate("SplitDialog", "存放于：")), 5, 0);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);
    fields->addLayout(folderRow, 5, 1, 1, 2);
    fields->addWidget(label(QCoreApplication::translate("SplitDialog", "（应尽量不要含特殊字符）")),
                      6, 1, 1, 2);

    auto* cutPoints =
        new QGroupBox(QCoreApplication::translate("SplitDialog", "切割点定位方式"), this);
    frameExact_ =
        new QRadioButton(QCoreApplication::translate("SplitDialog", "逐帧计算"), cutPoints);
    frameExact_->setObjectName(QStringLiteral("frameExactRadio"));
    frameExact_->setChecked(true);
    auto* estimate =
        new QRadioButton(QCoreApplication::translate("SplitDialog", "位率估计"), cutPoints);
    estimate->setObjectName(QStringLiteral("bitrateRadio"));
    auto* modes = new QVBoxLayout(cutPoints);
    modes->addWidget(frameExact_);
    modes->addWidget(estimate);
    modes->addWidget(
        new QLabel(QCoreApplication::translate("SplitDialog", "逐帧计算欠佳时，\n再尝试位率估计。"),
                   cutPoints));

    auto* cut = new QPushButton(QCoreApplication::translate("SplitDialog", "切割"), this);
    cut->setObjectName(QStringLiteral("cutButton"));
    cut->setDefault(true);
    auto* cancel = new QPushButton(QCoreApplication::translate("SplitDialog", "取消"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    connect(cut, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cancel, &QPushButton::clicked, this, &SplitDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cut);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cutting);
    layout->addWidget(cutPoints);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SplitDialog::chooseFolder() {
    if (!context_.chooseFolder)
        return;
    const QString chosen = context_.chooseFolder(this, app::stringText(1059));
    if (!chosen.isEmpty())
        folder_->setText(chosen);
}

void SplitDialog::refuse(QLineEdit* field, bool select) {
    field->setFocus();
    if (select)
        field->selectAll();
    if (context_.invalidInputSound)
        context_.invalidInputSound();
}

void SplitDialog::confirm() {
    const DialogNumbers numbers = correctedNumbers(
        readDialogNumbers(start_->text(), end_->text(), perSegment_->text(), firstNumber_->text()),
        context_.document->sentenceCount(context_.mode));
    const QString folder = subtitles::leadingUnits(folder_->text(), kMaxFolderUnits).toString();
    if (!acceptableSentencesPerSegment(numbers.perSegment)) {
        refuse(perSegment_, true);
        return;
    }
    if (folder.isEmpty()) {
        refuse(folder_, false);
        return;
    }
    if (const int error = testFolderWritable(folder); error != 0) {
        if (context_.showError)
            context_.showError(app::stringText(1057, QString::fromLocal8Bit(std::strerror(error))));
        return;
    }
    start_->setText(unsignedText(numbers.start));
    end_->setText(unsignedText(numbers.end));
    perSegment_->setText(unsignedText(numbers.perSegment));
    firstNumber_->setText(unsignedText(numbers.firstNumber));

    SplitJob job;
    job.startSentence = numbers.start;
    job.endSentence = numbers.end;
    job.sentencesPerSegment = numbers.perSegment;
    job.firstNumber = numbers.firstNumber;
    job.frameExact = frameExact_->isChecked();
    job.destFolder = folder;
    // Asked once for the whole run; 否 leaves the dialog open for another folder or number.
    if (const QStringList existing = existingSegmentFiles(job, context_.lessonPath);
        !existing.isEmpty() && !(context_.askYesNo && context_.askYesNo(overwriteQuestion(
                                                          int(existing.size()), existing.first()))))
        return;
    ProgressDialog progress(context_, job, this);
    progress.exec();
    done(kDone);
}

int ShowSplitDialog(const SplitContext& context, QWidget* owner) {
    // Only a loaded lesson can be cut.
    if (context.document == nullptr || context.document->lineCount() == 0)
        return SplitDialog::kCancelled;
    SplitDialog dialog(context, owner);
    return dialog.exec();
}

} // namespace lurvo::split
