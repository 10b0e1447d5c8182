#pragma once

#include "JyutpingIndex.h"

#include <QString>

#include <optional>

namespace lurvo::pronunciation {

// The three dictionary files the index is built from.
struct DictionaryPaths {
    QString characters;
    QString words;
    QString phrases;

    // The files of the installed dictionary package in folder.
    static DictionaryPaths inFolder(const QString& folder);
};

// The sizes and modification times of the files; nullopt when one of them is missing.
std::optional<SourceKey> sourceKeyOf(const DictionaryPaths& paths);

// Reads the files and builds their index; nullopt when one cannot be read. Readings of the
// phrase file's entries count as words (the packaged phrase file lists texts alone).
std::optional<JyutpingIndex> buildIndex(const DictionaryPaths& paths, const SourceKey& key);

// The built index kept in one file between runs, mapped rather than read.
class IndexCache {
public:
    explicit IndexCache(QString path) : path_(std::move(path)) {}

    // The cache file in the user's cache folder.
    static QString defaultPath();

    const QString& path() const { return path_; }
    // The cached index when the file is intact and was built from files of this key.
    std::optional<JyutpingIndex> load(const SourceKey& key) const;
    // Replaces the cache file as a whole, creating its folder; false when it cannot be written.
    bool save(const JyutpingIndex& index) const;

private:
    QString path_;
};

} // namespace lurvo::pronunciation
