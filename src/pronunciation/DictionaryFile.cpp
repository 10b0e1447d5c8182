#include "DictionaryFile.h"

#include <QFile>

namespace lurvo::pronunciation {

namespace {

bool isSyllable(QByteArrayView word) {
    if (word.size() < 2 || word.back() < '1' || word.back() > '6')
        return false;
    for (const char c : word.chopped(1)) {
        if (c < 'a' || c > 'z')
            return false;
    }
    return true;
}

std::optional<int> parseWeight(QByteArrayView field) {
    field = field.trimmed();
    if (field.endsWith('%'))
        field.chop(1);
    bool ok = false;
    const double value = field.toDouble(&ok);
    if (!ok || value < 0 || value > 1e9)
        return std::nullopt;
    return static_cast<int>(value);
}

// An entry line's fields, or nullopt when the line is malformed.
std::optional<DictionaryEntry> parseEntry(QByteArrayView line) {
    const qsizetype firstTab = line.indexOf('\t');
    DictionaryEntry entry;
    entry.text = QString::fromUtf8(line.first(firstTab < 0 ? line.size() : firstTab)).trimmed();
    if (entry.text.isEmpty())
        return std::nullopt;
    if (firstTab < 0)
        return entry; // a text without a listed reading
    QByteArrayView rest = line.sliced(firstTab + 1);
    const qsizetype secondTab = rest.indexOf('\t');
    if (secondTab >= 0) {
        const std::optional<int> weight = parseWeight(rest.sliced(secondTab + 1));
        if (!weight)
            return std::nullopt;
        entry.weight = *weight;
        rest = rest.first(secondTab);
    }
    for (const QByteArrayView word : QByteArray::fromRawData(rest.data(), rest.size()).split(' ')) {
        if (word.isEmpty())
            continue;
        if (!isSyllable(word))
            return std::nullopt;
        entry.syllables.append(QString::fromLatin1(word));
    }
    return entry;
}

} // namespace

int forEachEntry(QByteArrayView utf8, const std::function<void(DictionaryEntry&&)>& take,
                 TextOnlyEntries textOnly) {
    int malformed = 0;
    bool inHead = true;
    qsizetype start = 0;
    while (start < utf8.size()) {
        qsizetype end = utf8.indexOf('\n', start);
        if (end < 0)
            end = utf8.size();
        QByteArrayView line = utf8.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (inHead) {
            inHead = line.trimmed() != "...";
            continue;
        }
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        if (textOnly == TextOnlyEntries::Skip && !line.contains('\t'))
            continue;
        if (std::optional<DictionaryEntry> entry = parseEntry(line))
            take(std::move(*entry));
        else
            ++malformed;
    }
    return malformed;
}

std::optional<int> readDictionaryEntries(const QString& path,
                                         const std::function<void(DictionaryEntry&&)>& take,
                                         TextOnlyEntries textOnly) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const uchar* mapped = file.map(0, file.size());
    if (mapped != nullptr)
        return forEachEntry(QByteArrayView(mapped, file.size()), take, textOnly);
    return forEachEntry(file.readAll(), take, textOnly);
}

DictionaryContents parseDictionary(QByteArrayView utf8) {
    DictionaryContents contents;
    contents.malformedLines = forEachEntry(
        utf8, [&](DictionaryEntry&& entry) { contents.entries.append(std::move(entry)); });
    return contents;
}

std::optional<DictionaryContents> readDictionaryFile(const QString& path) {
    DictionaryContents contents;
    const std::optional<int> malformed = readDictionaryEntries(
        path, [&](DictionaryEntry&& entry) { contents.entries.append(std::move(entry)); });
    if (!malformed)
        return std::nullopt;
    contents.malformedLines = *malformed;
    return contents;
}

} // namespace lurvo::pronunciation
