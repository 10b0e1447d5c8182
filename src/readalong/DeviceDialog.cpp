#include "readalong/DeviceDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace lurvo::readalong {

namespace {

QRect du(double x, double y, double w, double h) {
    return {qRound(x * 1.5), qRound(y * 1.5), qRound(w * 1.5), qRound(h * 1.5)};
}

} // namespace

DeviceDialog::DeviceDialog(const QStringList& names, int current,
                           std::function<void()> invalidInputSound, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)),
      invalidInputSound_(std::move(invalidInputSound)) {
    setWindowTitle(QCoreApplication::translate("DeviceDialog", "选择录音设备"));
    setModal(true);
    setFixedSize(du(0, 0, 257, 95).size());
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);

    (new QLabel(QCoreApplication::translate("DeviceDialog", "选择录音设备："), this))
        ->setGeometry(du(6, 6, 75, 8));
    list_->setObjectName("deviceList");
    list_->setGeometry(du(6, 18, 245, 48));
    list_->addItems(names);
    if (current >= 0 && current < names.size())
        list_->setCurrentRow(current);
    else
        list_->setCurrentRow(-1);
    // Opening with no choice shows none selected.
    if (list_->currentRow() < 0)
        list_->clearSelection();

    auto* ok = new QPushButton(QCoreApplication::translate("DeviceDialog", "确定"), this);
    ok->setGeometry(du(140, 75, 50, 15));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QCoreApplication::translate("DeviceDialog", "取消"), this);
    cancel->setGeometry(du(195, 75, 50, 15));
    connect(ok, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void DeviceDialog::confirm() {
    if (list_->selectedItems().isEmpty()) {
        if (invalidInputSound_)
            invalidInputSound_();
        return;
    }
    accept();
}

std::optional<int> DeviceDialog::choose(const QStringList& names, int current,
                                        std::function<void()> invalidInputSound, QWidget* parent) {
    DeviceDialog dialog(names, current, std::move(invalidInputSound), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.list()->currentRow();
}

} // namespace lurvo::readalong
