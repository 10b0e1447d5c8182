#include "player/RepairDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace lurvo::player {

RepairDialog::RepairDialog(const QString& program, const QStringList& arguments, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    const QString text = QCoreApplication::translate("RepairDialog", "正在修复mp3文件…");
    setWindowTitle(text);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text, this));
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0); // an endless animation
    busy->setTextVisible(false);
    layout->addWidget(busy);
    setFixedSize(300, 90);

    // An argument list, never a shell: quotes, spaces or '$' in a file name reach the program
    // as they are.
    process_.setProgram(program);
    process_.setArguments(arguments);
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start();
    poll_.setInterval(200);
    connect(&poll_, &QTimer::timeout, this, [this] {
        // A program that did not start counts as ended at the first look.
        if (process_.state() == QProcess::NotRunning) {
            poll_.stop();
            accept();
        }
    });
    poll_.start();
}

void RepairDialog::run(const QString& program, const QStringList& arguments, QWidget* parent) {
    RepairDialog dialog(program, arguments, parent);
    dialog.exec();
}

void RepairDialog::closeEvent(QCloseEvent* event) {
    if (poll_.isActive())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

} // namespace lurvo::player
