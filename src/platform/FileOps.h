#pragma once

#include <QString>

// File and folder operations with the forgiving semantics the settings and offset files rely
// on: failures are ignored or reported as false, never thrown.
namespace lurvo::platform {

// Adds owner write permission, so that a read-only file can be overwritten or deleted (what
// clearing the read-only attribute does on Windows). False if the permissions cannot be set.
bool makeWritable(const QString& path);

// Creates the folder named by every prefix of the path that ends before a "/" or "\", ignoring
// errors such as an existing folder, then the whole path when includeLast is set. With
// includeLast false a file path gets all its parent folders.
void CreateFolderPath(const QString& path, bool includeLast);

// Deletes a folder with everything in it, making files and sub-folders writable first. Symbolic
// links are removed, never followed. A folder that cannot be listed is left alone. True when
// the folder is gone; a link given as the folder is removed itself.
bool DeleteFolderTree(const QString& folder);

} // namespace lurvo::platform
