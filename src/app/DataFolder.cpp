#include "app/DataFolder.h"

#include <QDir>

namespace lurvo::app {

namespace {

// Joins with exactly one backslash, as the Windows path-combining call does.
QString joinWindowsPath(const QString& head, const QString& tail) {
    if (head.endsWith(u'\\'))
        return head + tail;
    return head + u'\\' + tail;
}

} // namespace

QString windowsAppDataFolder(int osMajorVersion, const QString& userProfile, QChar systemDrive,
                             const QString& userName) {
    const bool vistaOrLater = osMajorVersion > 5;
    QString folder;
    if (!userProfile.isEmpty()) {
        folder = joinWindowsPath(userProfile, vistaOrLater ? QStringLiteral("AppData\\Roaming")
                                                           : QStringLiteral("Application Data"));
    } else if (vistaOrLater) {
        folder = QString(systemDrive) + QStringLiteral(":\\Users\\") + userName +
                 QStringLiteral("\\AppData\\Roaming");
    } else {
        folder = QString(systemDrive) + QStringLiteral(":\\Documents and Settings\\") + userName +
                 QStringLiteral("\\Application Data");
    }
    return folder.left(kMaxWindowsPathChars);
}

QString DataFolder() {
    // The base directory rules only accept absolute paths; a relative one is ignored.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.startsWith(u'/'))
        return QDir::cleanPath(configHome);
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.config"));
}

QString appDataFolder() {
    return DataFolder() + QStringLiteral("/LurvoRepeater");
}

} // namespace lurvo::app
