#include "subtitles/AdjustTimeDialog.h"

#include "subtitles/DialogButtons.h"
#include "subtitles/LineEdits.h"
#include "subtitles/TimeText.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <utility>

namespace lurvo::subtitles {

namespace {

// Longest entry read on "确定", in UTF-16 units.
constexpr qsizetype kMaxTimeEntryUnits = 62;

} // namespace

AdjustTimeDialog::AdjustTimeDialog(SubtitleDocument& doc, int index,
                                   std::function<void()> invalidInputSound, QWidget* parent)
    : QDialog(parent), doc_(doc), index_(index), invalidInputSound_(std::move(invalidInputSound)) {
    setWindowTitle(QCoreApplication::translate("AdjustTimeDialog", "调整字幕时间"));
    setModal(true);

    auto* lineNumber = new QLabel(QString::number(index + 1), this);
    lineNumber->setObjectName(QStringLiteral("lineNumberLabel"));
    edit_ = new QLineEdit(formatLrcTime(doc.line(index).startMs), this);
    edit_->setObjectName(QStringLiteral("timeEdit"));

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QCoreApplication::translate("AdjustTimeDialog", "行号："), this),
                      0, 0);
    fields->addWidget(lineNumber, 0, 1);
    fields->addWidget(
        new QLabel(QCoreApplication::translate("AdjustTimeDialog", "调整字幕时间："), this), 1, 0);
    fields->addWidget(edit_, 1, 1);

    auto* rules = new QVBoxLayout;
    for (const QString& rule :
         {QCoreApplication::translate("AdjustTimeDialog", "1. 上行时间<当前时间<下行时间"),
          QCoreApplication::translate("AdjustTimeDialog", "2. 严格的格式要求 mm:ss.xx"),
          QCoreApplication::translate("AdjustTimeDialog", "mm：分"),
          QCoreApplication::translate("AdjustTimeDialog", "ss：秒(00~59)"),
          QCoreApplication::translate("AdjustTimeDialog", "xx：百分之一秒(00-99)"),
          QCoreApplication::translate("AdjustTimeDialog", "对：02:02.02"),
          QCoreApplication::translate("AdjustTimeDialog", "错：2:2.2")})
        rules->addWidget(new QLabel(rule, this));

    QHBoxLayout* buttons = confirmButtonRow(this, [this] { confirm(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(rules);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    edit_->selectAll();
    edit_->setFocus();
}

void AdjustTimeDialog::confirm() {
    const std::optional<int> t =
        checkedLineTime(doc_, index_, edit_->text().left(kMaxTimeEntryUnits));
    if (!t) {
        edit_->setFocus();
        edit_->selectAll();
        if (invalidInputSound_)
            invalidInputSound_();
        return;
    }
    if (*t == doc_.line(index_).startMs) {
        reject();
        return;
    }
    doc_.setLineStart(index_, *t);
    accept();
}

bool AdjustTimeDialog::adjust(SubtitleDocument& doc, int index,
                              std::function<void()> invalidInputSound, QWidget* parent) {
    AdjustTimeDialog dialog(doc, index, std::move(invalidInputSound), parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace lurvo::subtitles
