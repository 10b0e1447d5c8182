#include "platform/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <dirent.h>

namespace lurvo::platform {

namespace {

// The names in a folder, without "." and "..". False when the folder cannot be opened: QDir
// would give an empty list then, indistinguishable from an empty folder.
bool listFolder(const QString& folder, QStringList& names) {
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr)
        return false;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name != u"." && name != u"..")
            names.append(name);
    }
    ::closedir(dir);
    return true;
}

} // namespace

bool makeWritable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    return QFile::setPermissions(path, info.permissions() | QFileDevice::WriteOwner);
}

void CreateFolderPath(const QString& path, bool includeLast) {
    const QDir here;
    for (qsizetype i = 1; i < path.size(); ++i) {
        if (path[i] == u'/' || path[i] == u'\\')
            here.mkdir(path.left(i));
    }
    if (includeLast)
        here.mkdir(path);
}

bool DeleteFolderTree(const QString& folder) {
    // A link to a folder elsewhere goes, but what it points to stays.
    if (QFileInfo(folder).isSymLink())
        return QFile::remove(folder);
    QStringList names;
    if (!listFolder(folder, names))
        return false;
    // On Linux a folder's own write permission decides whether its entries can be removed.
    makeWritable(folder);
    for (const QString& name : names) {
        const QString child = folder + u'/' + name;
        const QFileInfo info(child);
        if (info.isSymLink()) {
            QFile::remove(child);
        } else if (info.isDir()) {
            DeleteFolderTree(child);
        } else {
            makeWritable(child);
            QFile::remove(child);
        }
    }
    return QDir().rmdir(folder);
}

} // namespace lurvo::platform
