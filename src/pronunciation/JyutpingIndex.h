#pragma once

#include "Annotation.h"
#include "DictionaryFile.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QStringView>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace lurvo::pronunciation {

// What a cached index was built from: each dictionary file's size and modification time.
struct SourceKey {
    std::array<qint64, 3> sizes{};
    std::array<qint64, 3> modifiedMs{};

    bool operator==(const SourceKey&) const = default;
};

// The lookup index over the characters and words of the dictionary, held as one flat block of
// bytes, the same whether it was just built or mapped from the cache, so a later start reads no
// entry one by one. Immutable: one index may be read from several threads.
class JyutpingIndex {
public:
    // The index of these entries, as IndexBuilder makes it.
    static JyutpingIndex build(const QList<DictionaryEntry>& characters,
                               const QList<DictionaryEntry>& words, const SourceKey& key = {});

    // The index in these bytes, or nullopt when they are not a whole, intact index (wrong
    // header or version, a digest that does not match, an offset out of bounds).
    static std::optional<JyutpingIndex> fromBytes(QByteArray bytes);
    // As fromBytes, over a file mapped into memory rather than read.
    static std::optional<JyutpingIndex> fromMappedFile(const QString& path);

    const QByteArray& bytes() const { return bytes_; }
    SourceKey sourceKey() const;

    // The annotation of text: the longest word first, left to right, each character of a word
    // with its syllable; any other Chinese character by its first-ranked reading, or with no
    // syllable when it has none; everything else in bare runs. lookupText is what is looked up:
    // the same text converted to the dictionary's characters, with as many code points as text
    // (otherwise text itself is looked up).
    Annotation annotate(QStringView text, QStringView lookupText = {}) const;

    // Every reading of a character or word, syllables separated by spaces, the default first;
    // empty when the dictionary has none.
    QStringList readingsOf(QStringView text) const;

private:
    JyutpingIndex(QByteArray bytes, std::shared_ptr<QFile> mapping);
    bool validate();

    quint32 u32(qsizetype offset) const;
    QLatin1StringView syllable(quint32 id) const;
    qsizetype charLowerBound(char32_t codePoint) const;
    // The first word entry of the longest word at text[from..], and its length; length 0 when none.
    std::pair<quint32, qsizetype> longestWord(const std::u32string& text, qsizetype from) const;
    quint32 wordLength(quint32 word) const;
    char32_t wordCodePoint(quint32 word, qsizetype at) const;

    QByteArray bytes_;
    std::shared_ptr<QFile> mapping_; // keeps a mapped file open while bytes_ points into it
    // Where the sections start, read from the header once.
    quint32 syllableCount_ = 0, charCount_ = 0, wordCount_ = 0;
    qsizetype syllableOffsets_ = 0, syllablePool_ = 0, chars_ = 0, words_ = 0, wordText_ = 0,
              wordSyllables_ = 0;
};

// Makes an index from entries added one at a time, so a whole dictionary is never held as
// entries. Characters come from single-character entries, ranked by weight, then by how many
// words read them so, then by the order they were added; words are entries of two or more
// Chinese characters with one syllable each (others cannot be laid over their characters and
// are left out), their readings ranked by weight, then by how many of their characters keep
// their own first reading, then by order. A reading added twice counts once.
class IndexBuilder {
public:
    IndexBuilder();
    ~IndexBuilder();
    IndexBuilder(const IndexBuilder&) = delete;
    IndexBuilder& operator=(const IndexBuilder&) = delete;

    void addCharacter(const DictionaryEntry& entry);
    void addWord(const DictionaryEntry& entry);
    // The index of everything added; the builder is empty again afterwards.
    JyutpingIndex finish(const SourceKey& key = {});

private:
    struct Entries;
    void rank();

    std::unique_ptr<Entries> entries_;
};

} // namespace lurvo::pronunciation
