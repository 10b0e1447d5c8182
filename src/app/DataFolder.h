#pragma once

#include <QChar>
#include <QString>

// Where the program keeps its settings and per-lesson offsets.
namespace lurvo::app {

// Longest path the Windows rule gives, in characters.
inline constexpr qsizetype kMaxWindowsPathChars = 259;

// The roaming application-data folder as Windows places it: under USERPROFILE when that is set
// and not empty, else under the system drive and the user's name; "AppData\Roaming" from
// Windows Vista (major version 6) on, "Application Data" before. Cut at
// kMaxWindowsPathChars. Kept so that files can be found where the Windows program put them.
QString windowsAppDataFolder(int osMajorVersion, const QString& userProfile, QChar systemDrive,
                             const QString& userName);

// The user's configuration folder on this system: $XDG_CONFIG_HOME when it is an absolute
// path, else ~/.config. Reads the environment on every call.
QString DataFolder();

// The program's own folder inside DataFolder(), "LurvoRepeater".
QString appDataFolder();

} // namespace lurvo::app
