#include "subtitles/OffsetDialog.h"

#include "app/StringTable.h"
#include "subtitles/DialogButtons.h"
#include "subtitles/OffsetStore.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace lurvo::subtitles {

OffsetDialog::OffsetDialog(int currentOffsetMs, QWidget* parent)
    : QDialog(parent), offsetMs_(currentOffsetMs) {
    setWindowTitle(QCoreApplication::translate("OffsetDialog", "微调字幕偏移"));
    setModal(true);

    // No validator: anything may be typed, and what is not a number reads as 0 on "确定".
    edit_ = new QLineEdit(QString::number(currentOffsetMs), this);
    edit_->setObjectName(QStringLiteral("offsetEdit"));

    auto* fields = new QGridLayout;
    fields->addWidget(
        new QLabel(QCoreApplication::translate("OffsetDialog", "调整字幕偏移："), this), 0, 0);
    fields->addWidget(edit_, 0, 1);
    fields->addWidget(new QLabel(QCoreApplication::translate("OffsetDialog", "（毫秒）"), this), 0,
                      2);
    fields->addWidget(new QLabel(QCoreApplication::translate("OffsetDialog", "正：字幕提前"), this),
                      1, 1, 1, 2);
    fields->addWidget(new QLabel(QCoreApplication::translate("OffsetDialog", "负：字幕延后"), this),
                      2, 1, 1, 2);

    QHBoxLayout* buttons = confirmButtonRow(this, [this] { confirm(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Opening with the value selected lets the learner type the new one straight away.
    edit_->selectAll();
    edit_->setFocus();
}

void OffsetDialog::confirm() {
    offsetMs_ = parseOffsetInput(edit_->text());
    accept();
}

std::optional<int> OffsetDialog::ask(int currentOffsetMs, QWidget* parent) {
    OffsetDialog dialog(currentOffsetMs, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.offsetMs();
}

QString lessonOffsetText(int offsetMs) {
    return offsetText(offsetMs, app::stringText(1053), app::stringText(1054));
}

} // namespace lurvo::subtitles
