#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lurvo::pronunciation {

// One reading of a text as a dictionary file lists it.
struct DictionaryEntry {
    QString text;
    QStringList syllables; // one per character for a usable entry; empty when none is listed
    int weight = kFullWeight;

    // A listed weight is a percentage of use; an entry without one is a reading in full use.
    static constexpr int kFullWeight = 100;

    bool operator==(const DictionaryEntry&) const = default;
};

struct DictionaryContents {
    QList<DictionaryEntry> entries; // in the file's order
    int malformedLines = 0;         // entry lines that were skipped as unreadable
};

// Whether entries without a listed reading are passed on (the packaged phrase file is mostly
// such texts, which an index has no use for).
enum class TextOnlyEntries { Keep, Skip };

// Parses the text of a dictionary file and passes each entry on in the file's order: a YAML head
// up to a line "...", then one entry a line, "TEXT<TAB>SYLLABLES[<TAB>WEIGHT]", the syllables
// separated by spaces and the weight either a percentage ("5%") or a plain number. Blank lines
// and comments (#) are skipped; so is a line with an empty text, a syllable that is not
// letters followed by a digit, or an unreadable weight: such lines are counted and the count
// returned. Without a head line "..." the whole text is taken as head and no entry is read.
int forEachEntry(QByteArrayView utf8, const std::function<void(DictionaryEntry&&)>& take,
                 TextOnlyEntries textOnly = TextOnlyEntries::Keep);

// As forEachEntry over a file; nullopt when it cannot be read.
std::optional<int> readDictionaryEntries(const QString& path,
                                         const std::function<void(DictionaryEntry&&)>& take,
                                         TextOnlyEntries textOnly = TextOnlyEntries::Keep);

// All entries of a file's text, or of a file (nullopt when it cannot be read).
DictionaryContents parseDictionary(QByteArrayView utf8);
std::optional<DictionaryContents> readDictionaryFile(const QString& path);

} // namespace lurvo::pronunciation
