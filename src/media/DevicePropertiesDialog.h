#pragma once

#include "media/CaptureDevices.h"

#include <QDialog>
#include <QString>

class QPushButton;
class QTableWidget;

namespace lurvo::media {

// Our own page for a capture device: display name, device class, the formats it offers (one
// line per caps structure) and the provider's properties, one "key | value" row each; a
// "关闭" button. Modal, placed at (x, y) of the owner.
class DevicePropertiesDialog : public QDialog {
public:
    DevicePropertiesDialog(const CaptureDevice& device, QWidget* owner, const QString& caption,
                           int x, int y);
    // 0 when the dialog was shown and closed, 1 when there is nothing to show (null device).
    static int run(const CaptureDevice& device, QWidget* owner, const QString& caption, int x,
                   int y);

    QTableWidget* table() const { return table_; }
    QPushButton* closeButton() const { return closeButton_; }

private:
    void addRow(const QString& key, const QString& value);

    QTableWidget* table_;
    QPushButton* closeButton_;
};

// The property frame of a device; see DevicePropertiesDialog::run.
int ShowDeviceProperties(const CaptureDevice& device, QWidget* owner, const QString& caption, int x,
                         int y);

} // namespace lurvo::media
