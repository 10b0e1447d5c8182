#include "media/DevicePropertiesDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lurvo::media {

DevicePropertiesDialog::DevicePropertiesDialog(const CaptureDevice& device, QWidget* owner,
                                               const QString& caption, int x, int y)
    : QDialog(owner), table_(new QTableWidget(0, 2, this)),
      closeButton_(
          new QPushButton(QCoreApplication::translate("DevicePropertiesDialog", "关闭"), this)) {
    setWindowTitle(caption);
    setModal(true);

    table_->setHorizontalHeaderLabels(
        {QCoreApplication::translate("DevicePropertiesDialog", "项目"),
         QCoreApplication::translate("DevicePropertiesDialog", "值")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setStretchLastSection(true);

    const CaptureDeviceDescription description = describeCaptureDevice(device);
    addRow(QCoreApplication::translate("DevicePropertiesDialog", "名称"), description.name);
    addRow(QCoreApplication::translate("DevicePropertiesDialog", "类别"), description.deviceClass);
    // The formats share one label; each further line continues the one above.
    for (qsizetype i = 0; i < description.caps.size(); ++i)
        addRow(i == 0 ? QCoreApplication::translate("DevicePropertiesDialog", "格式") : QString(),
               description.caps[i]);
    for (const auto& [key, value] : description.properties)
        addRow(key, value);
    table_->resizeColumnToContents(0);

    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);
    closeButton_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(520, 360);
    move(owner != nullptr ? owner->mapToGlobal(QPoint(x, y)) : QPoint(x, y));
}

void DevicePropertiesDialog::addRow(const QString& key, const QString& value) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem(key));
    auto* item = new QTableWidgetItem(value);
    item->setToolTip(value); // caps lines are longer than the column
    table_->setItem(row, 1, item);
}

int DevicePropertiesDialog::run(const CaptureDevice& device, QWidget* owner, const QString& caption,
                                int x, int y) {
    if (!device)
        return 1;
    DevicePropertiesDialog dialog(device, owner, caption, x, y);
    dialog.exec();
    return 0;
}

int ShowDeviceProperties(const CaptureDevice& device, QWidget* owner, const QString& caption, int x,
                         int y) {
    return DevicePropertiesDialog::run(device, owner, caption, x, y);
}

} // namespace lurvo::media
