#include "platform/ResourceFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lurvo::platform {

QString resourceFolder() {
    const QDir exeDir(QCoreApplication::applicationDirPath());
    const QString beside = exeDir.filePath("resources");
    if (QFileInfo(beside).isDir())
        return QDir::cleanPath(beside);
    return QDir::cleanPath(exeDir.filePath("../share/lurvo-repeater"));
}

QString findProgram(const QString& name, const QString& resourceFolder) {
    const QFileInfo local(QDir(resourceFolder).filePath(name));
    if (local.isFile() && local.isExecutable())
        return local.absoluteFilePath();
    return QStandardPaths::findExecutable(name);
}

} // namespace lurvo::platform
