#include "media/DevicePropertiesDialog.h"

#include "TestSink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace lurvo::media;

namespace {

// Needs the sound server with the tests' null sink.
CaptureDevice nullSinkMonitor() {
    const QList<CaptureDevice> devices = listCaptureDevices();
    const int monitor = lurvo::test::testMonitorIndex(devices);
    return monitor < 0 ? CaptureDevice() : devices[monitor];
}

QString cell(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
}

TEST(DevicePropertiesDialog, ListsNameClassFormatsAndProperties) {
    const CaptureDevice device = nullSinkMonitor();
    ASSERT_TRUE(device);
    const CaptureDeviceDescription description = describeCaptureDevice(device);
    QWidget owner;
    owner.setGeometry(100, 80, 400, 300);
    owner.show();
    DevicePropertiesDialog dialog(device, &owner, device.name, 30, 30);
    EXPECT_EQ(dialog.windowTitle(), device.name);
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.pos(), owner.mapToGlobal(QPoint(30, 30)));

    const QTableWidget* table = dialog.table();
    ASSERT_EQ(table->rowCount(), 2 + description.caps.size() + description.properties.size());
    EXPECT_EQ(cell(table, 0, 0), "名称");
    EXPECT_EQ(cell(table, 0, 1), device.name);
    EXPECT_EQ(cell(table, 1, 0), "类别");
    EXPECT_EQ(cell(table, 1, 1), "Audio/Source");
    int row = 2;
    for (const QString& caps : description.caps) {
        EXPECT_EQ(cell(table, row, 0), row == 2 ? "格式" : "");
        EXPECT_EQ(cell(table, row, 1), caps);
        ++row;
    }
    EXPECT_TRUE(cell(table, 2, 1).startsWith("audio/x-raw"));
    bool sawClass = false;
    for (const auto& [key, value] : description.properties) {
        EXPECT_EQ(cell(table, row, 0), key);
        EXPECT_EQ(cell(table, row, 1), value);
        sawClass = sawClass || (key == "device.class" && value == "monitor");
        ++row;
    }
    EXPECT_TRUE(sawClass);

    EXPECT_EQ(dialog.closeButton()->text(), "关闭");
    dialog.show();
    dialog.closeButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(DevicePropertiesDialog, ShowsModallyUntilClosed) {
    const CaptureDevice device = nullSinkMonitor();
    ASSERT_TRUE(device);
    QWidget owner;
    owner.show();
    QString shownTitle;
    QTimer closer;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            shownTitle = dialog->windowTitle();
            if (auto* close = dialog->findChild<QPushButton*>())
                close->click();
        } else if (clock.elapsed() > 5000) {
            QApplication::exit(1); // no dialog ever came up; do not hang
        }
    });
    closer.start(20);
    EXPECT_EQ(ShowDeviceProperties(device, &owner, "录音设备", 30, 30), 0);
    EXPECT_EQ(shownTitle, "录音设备");

    // Nothing to show: no dialog at all.
    shownTitle.clear();
    EXPECT_EQ(ShowDeviceProperties(CaptureDevice(), &owner, "none", 30, 30), 1);
    EXPECT_TRUE(shownTitle.isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
