#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

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

// Whether entries without a listed reading are kept (the packaged phrase file is mostly such
// texts, which an index has no use for).
enum class TextOnlyEntries { Keep, Skip };

// Parses the text of a dictionary file: a YAML head up to a line "...", then one entry a line,
// "TEXT<TAB>SYLLABLES[<TAB>WEIGHT]", the syllables separated by spaces and the weight either a
// percentage ("5%") or a plain number. Blank lines and comments (#) are skipped; so is a line
// with an empty text, a syllable that is not letters followed by a digit, or an unreadable
// weight. Without a head line "..." the whole text is taken as head and no entry is read.
DictionaryContents parseDictionary(QByteArrayView utf8,
                                   TextOnlyEntries textOnly = TextOnlyEntries::Keep);

// The parsed file; nullopt when it cannot be read.
std::optional<DictionaryContents>
readDictionaryFile(const QString& path, TextOnlyEntries textOnly = TextOnlyEntries::Keep);

} // namespace lurvo::pronunciation
