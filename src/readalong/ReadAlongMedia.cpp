#include "readalong/ReadAlongMedia.h"

#include "app/StringTable.h"
#include "media/DevicePropertiesDialog.h"
#include "media/MediaPlayer.h"
#include "media/Recorder.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace lurvo::readalong {

ReadAlongMedia ReadAlongMedia::system() {
    ReadAlongMedia media;
    media.openDevice = [](int index) { return media::OpenCaptureDevice(index); };
    media.listDevices = [] { return media::listCaptureDevices(); };
    media.showProperties = &media::ShowDeviceProperties;
    media.makePlayer = [] { return std::make_unique<media::MediaPlayer>(); };
    media.makeRecorder = [] { return std::make_unique<media::Recorder>(); };
    media.askDestination = [](QWidget* owner) {
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(QStringLiteral("MP3 Files (*.mp3)"));
        dialog.setDefaultSuffix(QStringLiteral("mp3"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    media.askImagePath = [](QWidget* owner, const QString& suggested) {
        QFileDialog dialog(owner, QCoreApplication::translate("ReadAlongMedia", "导出图片"),
                           suggested);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(QStringLiteral("PNG (*.png)"));
        dialog.setDefaultSuffix(QStringLiteral("png"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    media.message = [](QWidget* owner, bool warning, const QString& text) {
        QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Critical,
                        app::stringText(1022), text, QMessageBox::Ok, owner);
        box.button(QMessageBox::Ok)->setText(QCoreApplication::translate("ReadAlongMedia", "确定"));
        box.exec();
    };
    return media;
}

} // namespace lurvo::readalong
