#include "IndexCache.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace lurvo::pronunciation {

DictionaryPaths DictionaryPaths::inFolder(const QString& folder) {
    const QDir dir(folder);
    return {dir.filePath(QStringLiteral("jyut6ping3.chars.dict.yaml")),
            dir.filePath(QStringLiteral("jyut6ping3.words.dict.yaml")),
            dir.filePath(QStringLiteral("jyut6ping3.phrase.dict.yaml"))};
}

std::optional<SourceKey> sourceKeyOf(const DictionaryPaths& paths) {
    SourceKey key;
    const QString files[] = {paths.characters, paths.words, paths.phrases};
    for (int i = 0; i < 3; ++i) {
        const QFileInfo info(files[i]);
        if (!info.isFile())
            return std::nullopt;
        key.sizes[i] = info.size();
        key.modifiedMs[i] = info.lastModified().toMSecsSinceEpoch();
    }
    return key;
}

std::optional<JyutpingIndex> buildIndex(const DictionaryPaths& paths, const SourceKey& key) {
    IndexBuilder builder;
    const auto character = [&](DictionaryEntry&& entry) { builder.addCharacter(entry); };
    const auto word = [&](DictionaryEntry&& entry) { builder.addWord(entry); };
    const auto skip = TextOnlyEntries::Skip;
    if (!readDictionaryEntries(paths.characters, character, skip) ||
        !readDictionaryEntries(paths.words, word, skip) ||
        !readDictionaryEntries(paths.phrases, word, skip))
        return std::nullopt;
    return builder.finish(key);
}

QString IndexCache::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/lurvo-repeater/jyutping-index.bin");
}

std::optional<JyutpingIndex> IndexCache::load(const SourceKey& key) const {
    std::optional<JyutpingIndex> index = JyutpingIndex::fromMappedFile(path_);
    if (!index || index->sourceKey() != key)
        return std::nullopt;
    return index;
}

bool IndexCache::save(const JyutpingIndex& index) const {
    if (!QDir().mkpath(QFileInfo(path_).absolutePath()))
        return false;
    // Written aside and renamed, so a running program that maps the old file keeps it whole.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(index.bytes());
    return file.commit();
}

} // namespace lurvo::pronunciation
