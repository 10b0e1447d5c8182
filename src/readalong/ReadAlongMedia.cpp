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

namespace {

// A save dialog for one type of file; an empty path when the learner cancels.
QString askSavePath(QWidget* owner, const QString& title, const QString& suggested,
                    const QString& filter, const QString& suffix) {
    QFileDialog dialog(owner, title, suggested);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

ReadAlongMedia ReadAlongMedia::system() {
    ReadAlongMedia media;
    media.openDevice = [](int index) { return media::OpenCaptureDevice(index); };
    media.listDevices = [] { return media::listCaptureDevices(); };
    media.showProperties = &media::ShowDeviceProperties;
    media.makePlayer = [] { return std::make_unique<media::MediaPlayer>(); };
    media.makeRecorder = [] { return std::make_unique<media::Recorder>(); };
    media.askDestination = [](QWidget* owner) {
        return askSavePath(owner, {}, {}, QStringLiteral("MP3 Files (*.mp3)"),
                           QStringLiteral("mp3"));
    };
    media.askImagePath = [](QWidget* owner, const QString& suggested) {
        return askSavePath(owner, QCoreApplication::translate("ReadAlongMedia", "导出图片"),
                           suggested, QStringLiteral("PNG (*.png)"), QStringLiteral("png"));
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
