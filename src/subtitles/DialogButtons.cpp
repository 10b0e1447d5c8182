#include "subtitles/DialogButtons.h"

#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace lurvo::subtitles {

QHBoxLayout* confirmButtonRow(QDialog* dialog, std::function<void()> confirm) {
    auto* ok = new QPushButton(QCoreApplication::translate("DialogButtons", "确定"), dialog);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QCoreApplication::translate("DialogButtons", "取消"), dialog);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(ok, &QPushButton::clicked, dialog, std::move(confirm));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace lurvo::subtitles
