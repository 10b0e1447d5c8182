#include "split/SplitContext.h"

#include "app/StringTable.h"
#include "media/NotificationSound.h"
#include "platform/ResourceFolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace lurvo::split {

namespace {

void showBox(QMessageBox::Icon icon, const QString& text) {
    // The dialog that asked is the modal one on top.
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox box(icon, app::productTitle(), text, QMessageBox::Ok,
                    owner != nullptr ? owner : QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QCoreApplication::translate("SplitContext", "确定"));
    box.exec();
}

bool askBox(const QString& text) {
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox box(QMessageBox::Question, app::productTitle(), text,
                    QMessageBox::Yes | QMessageBox::No,
                    owner != nullptr ? owner : QApplication::activeWindow());
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("SplitContext", "是"));
    box.button(QMessageBox::No)->setText(QCoreApplication::translate("SplitContext", "否"));
    // Overwriting is what cannot be undone: Enter alone must not do it.
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

SplitContext systemSplitContext(subtitles::SubtitleDocument* document, subtitles::SentenceMode mode,
                                const QString& lessonPath) {
    SplitContext context;
    context.document = document;
    context.mode = mode;
    context.lessonPath = lessonPath;
    const QString resources = platform::resourceFolder();
    context.splitterProgram = platform::findProgram(QStringLiteral("mp3splt"), resources);
    // Not found: the bare name, which then fails to start and is named in the error.
    if (context.splitterProgram.isEmpty())
        context.splitterProgram = QStringLiteral("mp3splt");
    context.invalidInputSound = [resources] { media::PlayInvalidInputSound(resources); };
    context.showError = [](const QString& text) { showBox(QMessageBox::Critical, text); };
    context.showInformation = [](const QString& text) { showBox(QMessageBox::Information, text); };
    context.askYesNo = askBox;
    context.chooseFolder = [](QWidget* owner, const QString& title) {
        return QFileDialog::getExistingDirectory(
            owner, title, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
            QFileDialog::ShowDirsOnly);
    };
    return context;
}

} // namespace lurvo::split
