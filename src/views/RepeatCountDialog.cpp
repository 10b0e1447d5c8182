#include "views/RepeatCountDialog.h"

#include "subtitles/DialogButtons.h"
#include "views/ControlValues.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace lurvo::views {

RepeatCountDialog::RepeatCountDialog(int currentCount, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(QString::number(unsigned(currentCount)), this)) {
    setWindowTitle(QCoreApplication::translate("RepeatCountDialog", "每句读几遍"));
    setModal(true);
    edit_->setObjectName(QStringLiteral("countEdit"));

    auto* entry = new QHBoxLayout;
    entry->addWidget(
        new QLabel(QCoreApplication::translate("RepeatCountDialog", "每句读几遍："), this));
    entry->addWidget(edit_);
    entry->addWidget(new QLabel(QCoreApplication::translate("RepeatCountDialog", "（0~9）"), this));
    QHBoxLayout* buttons = subtitles::confirmButtonRow(this, [this] { accept(); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addWidget(
        new QLabel(QCoreApplication::translate("RepeatCountDialog", "“0”表示无数遍"), this));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    edit_->selectAll();
    edit_->setFocus();
}

std::optional<int> RepeatCountDialog::ask(int currentCount, QWidget* parent) {
    RepeatCountDialog dialog(currentCount, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return repeatCountFromText(dialog.edit_->text());
}

} // namespace lurvo::views
