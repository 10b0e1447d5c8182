#include "JyutpingIndex.h"

#include <QCryptographicHash>
#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <span>
#include <string_view>

namespace lurvo::pronunciation {

// The block's layout, all numbers little-endian: a header, then the sections in this order, each
// a whole number of 4-byte values.
//   syllable offsets  u32 × (syllables + 1), into the pool
//   syllable pool     the syllables' letters, one after another, padded to 4 bytes
//   characters        (code point, syllable) × characters, by code point, best reading first
//   words             (start, length) × words, into the two arrays below, by text, best first
//   word text         code point × word units
//   word syllables    syllable × word units, one for each code point of the word text
namespace {

struct Layout {
    static constexpr char kMagic[8] = {'L', 'R', 'V', 'J', 'Y', 'U', 'T', '\0'};
    static constexpr quint32 kVersion = 1;
    static constexpr qsizetype kSizes = 16, kModified = 40, kSyllableCount = 64, kPoolBytes = 68,
                               kCharCount = 72, kWordCount = 76, kWordUnits = 80, kDigest = 84,
                               kHeaderBytes = 100;
};

bool isHan(char32_t codePoint) {
    return QChar::script(codePoint) == QChar::Script_Han;
}

void putU32(QByteArray& bytes, quint32 value) {
    char le[4];
    qToLittleEndian(value, le);
    bytes.append(le, 4);
}

void setU32(QByteArray& bytes, qsizetype at, quint32 value) {
    qToLittleEndian(value, bytes.data() + at);
}

void setI64(QByteArray& bytes, qsizetype at, qint64 value) {
    qToLittleEndian(value, bytes.data() + at);
}

// The first index in [lo, hi) where pred turns false; pred is true before it and false after.
template <typename Pred> quint32 partitionPoint(quint32 lo, quint32 hi, Pred pred) {
    while (lo < hi) {
        const quint32 mid = lo + (hi - lo) / 2;
        if (pred(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

QByteArray digestOf(QByteArrayView payload) {
    return QCryptographicHash::hash(payload, QCryptographicHash::Md5);
}

} // namespace

// Entries are kept compact while they are added: the code points and syllables of all words in
// two flat arrays, so building from the whole dictionary stays within a few megabytes.
struct IndexBuilder::Entries {
    struct CharReading {
        char32_t codePoint;
        quint32 syllable;
        int weight;
        int usage; // how many words read the character so
        quint32 order;
    };
    struct WordReading {
        quint32 start; // into codePoints and syllables
        quint32 length;
        int weight;
        int agreement; // how many of its characters keep their own first-ranked reading
        quint32 order;
    };

    QList<QByteArray> syllableTexts;
    QHash<QString, quint32> syllableIds;
    std::vector<CharReading> chars;
    std::vector<WordReading> words;
    std::vector<char32_t> codePoints;
    std::vector<quint32> syllables;

    quint32 syllableId(const QString& syllable) {
        const auto found = syllableIds.constFind(syllable);
        if (found != syllableIds.constEnd())
            return *found;
        const auto id = static_cast<quint32>(syllableTexts.size());
        syllableTexts.append(syllable.toLatin1());
        syllableIds.insert(syllable, id);
        return id;
    }

    std::u32string_view text(const WordReading& word) const {
        return {codePoints.data() + word.start, word.length};
    }
    std::span<const quint32> readings(const WordReading& word) const {
        return {syllables.data() + word.start, word.length};
    }
};

IndexBuilder::IndexBuilder() : entries_(std::make_unique<Entries>()) {}
IndexBuilder::~IndexBuilder() = default;

void IndexBuilder::addCharacter(const DictionaryEntry& entry) {
    const std::u32string text = entry.text.toStdU32String();
    if (text.size() != 1 || entry.syllables.size() != 1)
        return;
    entries_->chars.push_back({text[0], entries_->syllableId(entry.syllables.front()), entry.weight,
                               0, quint32(entries_->chars.size())});
}

void IndexBuilder::addWord(const DictionaryEntry& entry) {
    const std::u32string text = entry.text.toStdU32String();
    if (text.size() < 2 || std::ssize(text) != entry.syllables.size() ||
        !std::ranges::all_of(text, isHan))
        return;
    Entries& e = *entries_;
    e.words.push_back({quint32(e.codePoints.size()), quint32(text.size()), entry.weight, 0,
                       quint32(e.words.size())});
    e.codePoints.insert(e.codePoints.end(), text.begin(), text.end());
    for (const QString& syllable : entry.syllables)
        e.syllables.push_back(e.syllableId(syllable));
}

void IndexBuilder::rank() {
    Entries& e = *entries_;
    using Word = Entries::WordReading;
    using Char = Entries::CharReading;
    // A reading listed twice is kept once, with its highest weight and first listing.
    std::ranges::sort(e.words, [&](const Word& a, const Word& b) {
        const auto ta = e.text(a), tb = e.text(b);
        if (ta != tb)
            return ta < tb;
        const auto ra = e.readings(a), rb = e.readings(b);
        if (!std::ranges::equal(ra, rb))
            return std::ranges::lexicographical_compare(ra, rb);
        return std::tuple(b.weight, a.order) < std::tuple(a.weight, b.order);
    });
    const auto repeatedWords = std::ranges::unique(e.words, [&](const Word& a, const Word& b) {
        return e.text(a) == e.text(b) && std::ranges::equal(e.readings(a), e.readings(b));
    });
    e.words.erase(repeatedWords.begin(), repeatedWords.end());

    QHash<std::pair<char32_t, quint32>, int> usage;
    for (const Word& word : e.words) {
        for (quint32 k = 0; k < word.length; ++k)
            ++usage[{e.codePoints[word.start + k], e.syllables[word.start + k]}];
    }
    std::ranges::sort(e.chars, [](const Char& a, const Char& b) {
        return std::tuple(a.codePoint, a.syllable, -a.weight, a.order) <
               std::tuple(b.codePoint, b.syllable, -b.weight, b.order);
    });
    const auto repeatedChars = std::ranges::unique(e.chars, [](const Char& a, const Char& b) {
        return a.codePoint == b.codePoint && a.syllable == b.syllable;
    });
    e.chars.erase(repeatedChars.begin(), repeatedChars.end());
    for (Char& reading : e.chars)
        reading.usage = usage.value({reading.codePoint, reading.syllable});
    std::ranges::sort(e.chars, [](const Char& a, const Char& b) {
        return std::tuple(a.codePoint, -a.weight, -a.usage, a.order) <
               std::tuple(b.codePoint, -b.weight, -b.usage, b.order);
    });

    QHash<char32_t, quint32> bestOfChar;
    for (const Char& reading : e.chars) {
        if (!bestOfChar.contains(reading.codePoint))
            bestOfChar.insert(reading.codePoint, reading.syllable);
    }
    for (Word& word : e.words) {
        for (quint32 k = 0; k < word.length; ++k) {
            word.agreement +=
                bestOfChar.value(e.codePoints[word.start + k], ~0u) == e.syllables[word.start + k];
        }
    }
    std::ranges::sort(e.words, [&](const Word& a, const Word& b) {
        const auto ta = e.text(a), tb = e.text(b);
        if (ta != tb)
            return ta < tb;
        return std::tuple(b.weight, b.agreement, a.order) <
               std::tuple(a.weight, a.agreement, b.order);
    });
}

JyutpingIndex IndexBuilder::finish(const SourceKey& key) {
    rank();
    const Entries& e = *entries_;
    QByteArray pool;
    QList<quint32> poolOffsets{0};
    for (const QByteArray& syllable : e.syllableTexts) {
        pool.append(syllable);
        poolOffsets.append(static_cast<quint32>(pool.size()));
    }
    while (pool.size() % 4 != 0)
        pool.append('\0');
    // Repeated readings were dropped from the words but not from the arrays.
    quint32 wordUnits = 0;
    for (const Entries::WordReading& word : e.words)
        wordUnits += word.length;

    QByteArray bytes(Layout::kHeaderBytes, '\0');
    bytes.reserve(Layout::kHeaderBytes + 4 * poolOffsets.size() + pool.size() +
                  8 * qsizetype(e.chars.size()) + 8 * qsizetype(e.words.size()) +
                  8 * qsizetype(wordUnits));
    std::copy_n(Layout::kMagic, 8, bytes.data());
    setU32(bytes, 8, Layout::kVersion);
    for (int i = 0; i < 3; ++i) {
        setI64(bytes, Layout::kSizes + 8 * i, key.sizes[i]);
        setI64(bytes, Layout::kModified + 8 * i, key.modifiedMs[i]);
    }
    setU32(bytes, Layout::kSyllableCount, quint32(e.syllableTexts.size()));
    setU32(bytes, Layout::kPoolBytes, quint32(pool.size()));
    setU32(bytes, Layout::kCharCount, quint32(e.chars.size()));
    setU32(bytes, Layout::kWordCount, quint32(e.words.size()));
    setU32(bytes, Layout::kWordUnits, wordUnits);

    for (const quint32 offset : poolOffsets)
        putU32(bytes, offset);
    bytes.append(pool);
    for (const Entries::CharReading& reading : e.chars) {
        putU32(bytes, reading.codePoint);
        putU32(bytes, reading.syllable);
    }
    // The words in their ranked order, their text and syllables laid out afresh in that order.
    quint32 start = 0;
    for (const Entries::WordReading& word : e.words) {
        putU32(bytes, start);
        putU32(bytes, word.length);
        start += word.length;
    }
    for (const Entries::WordReading& word : e.words) {
        for (const char32_t codePoint : e.text(word))
            putU32(bytes, codePoint);
    }
    for (const Entries::WordReading& word : e.words) {
        for (const quint32 syllable : e.readings(word))
            putU32(bytes, syllable);
    }
    const QByteArray digest = digestOf(QByteArrayView(bytes).sliced(Layout::kHeaderBytes));
    std::ranges::copy(digest, bytes.begin() + Layout::kDigest);
    entries_ = std::make_unique<Entries>();
    std::optional<JyutpingIndex> index = JyutpingIndex::fromBytes(std::move(bytes));
    Q_ASSERT(index);
    return std::move(*index);
}

JyutpingIndex::JyutpingIndex(QByteArray bytes, std::shared_ptr<QFile> mapping)
    : bytes_(std::move(bytes)), mapping_(std::move(mapping)) {}

JyutpingIndex JyutpingIndex::build(const QList<DictionaryEntry>& characters,
                                   const QList<DictionaryEntry>& words, const SourceKey& key) {
    IndexBuilder builder;
    for (const DictionaryEntry& entry : characters)
        builder.addCharacter(entry);
    for (const DictionaryEntry& entry : words)
        builder.addWord(entry);
    return builder.finish(key);
}

std::optional<JyutpingIndex> JyutpingIndex::fromBytes(QByteArray bytes) {
    JyutpingIndex index(std::move(bytes), nullptr);
    if (!index.validate())
        return std::nullopt;
    return index;
}

std::optional<JyutpingIndex> JyutpingIndex::fromMappedFile(const QString& path) {
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly) || file->size() < Layout::kHeaderBytes)
        return std::nullopt;
    const uchar* data = file->map(0, file->size());
    if (data == nullptr)
        return std::nullopt;
    JyutpingIndex index(QByteArray::fromRawData(reinterpret_cast<const char*>(data), file->size()),
                        file);
    if (!index.validate())
        return std::nullopt;
    return index;
}

quint32 JyutpingIndex::u32(qsizetype offset) const {
    return qFromLittleEndian<quint32>(bytes_.constData() + offset);
}

bool JyutpingIndex::validate() {
    const qsizetype size = bytes_.size();
    if (size < Layout::kHeaderBytes ||
        !std::equal(Layout::kMagic, Layout::kMagic + 8, bytes_.constData()) ||
        u32(8) != Layout::kVersion)
        return false;
    syllableCount_ = u32(Layout::kSyllableCount);
    const quint32 poolBytes = u32(Layout::kPoolBytes);
    charCount_ = u32(Layout::kCharCount);
    wordCount_ = u32(Layout::kWordCount);
    const quint32 wordUnits = u32(Layout::kWordUnits);
    if (poolBytes % 4 != 0)
        return false;
    // 64-bit sums of 32-bit counts cannot overflow.
    syllableOffsets_ = Layout::kHeaderBytes;
    syllablePool_ = syllableOffsets_ + 4 * (qint64(syllableCount_) + 1);
    chars_ = syllablePool_ + poolBytes;
    words_ = chars_ + 8 * qint64(charCount_);
    wordText_ = words_ + 8 * qint64(wordCount_);
    wordSyllables_ = wordText_ + 4 * qint64(wordUnits);
    if (wordSyllables_ + 4 * qint64(wordUnits) != size)
        return false;
    const QByteArrayView payload = QByteArrayView(bytes_).sliced(Layout::kHeaderBytes);
    if (digestOf(payload) != QByteArrayView(bytes_).sliced(Layout::kDigest, 16))
        return false;

    // Every offset the lookups follow stays inside its section.
    quint32 previous = 0;
    for (quint32 i = 0; i <= syllableCount_; ++i) {
        const quint32 offset = u32(syllableOffsets_ + 4 * i);
        if (offset < previous || offset > poolBytes)
            return false;
        previous = offset;
    }
    for (quint32 i = 0; i < charCount_; ++i) {
        if (u32(chars_ + 8 * i + 4) >= syllableCount_)
            return false;
    }
    for (quint32 i = 0; i < wordCount_; ++i) {
        const quint64 start = u32(words_ + 8 * i), length = u32(words_ + 8 * i + 4);
        if (length == 0 || start + length > wordUnits)
            return false;
    }
    for (quint32 i = 0; i < wordUnits; ++i) {
        if (u32(wordSyllables_ + 4 * i) >= syllableCount_)
            return false;
    }
    return true;
}

SourceKey JyutpingIndex::sourceKey() const {
    SourceKey key;
    for (int i = 0; i < 3; ++i) {
        key.sizes[i] = qFromLittleEndian<qint64>(bytes_.constData() + Layout::kSizes + 8 * i);
        key.modifiedMs[i] =
            qFromLittleEndian<qint64>(bytes_.constData() + Layout::kModified + 8 * i);
    }
    return key;
}

QLatin1StringView JyutpingIndex::syllable(quint32 id) const {
    const quint32 start = u32(syllableOffsets_ + 4 * id);
    const quint32 end = u32(syllableOffsets_ + 4 * (id + 1));
    return QLatin1StringView(bytes_.constData() + syllablePool_ + start, end - start);
}

qsizetype JyutpingIndex::charLowerBound(char32_t codePoint) const {
    return partitionPoint(0, charCount_,
                          [&](quint32 i) { return u32(chars_ + 8 * i) < codePoint; });
}

quint32 JyutpingIndex::wordLength(quint32 word) const {
    return u32(words_ + 8 * word + 4);
}

char32_t JyutpingIndex::wordCodePoint(quint32 word, qsizetype at) const {
    return u32(wordText_ + 4 * (qsizetype(u32(words_ + 8 * word)) + at));
}

std::pair<quint32, qsizetype> JyutpingIndex::longestWord(const std::u32string& text,
                                                         qsizetype from) const {
    std::pair<quint32, qsizetype> best{0, 0};
    quint32 lo = 0;
    quint32 hi = wordCount_;
    for (qsizetype k = 0; from + k < std::ssize(text) && isHan(text[from + k]); ++k) {
        // [lo, hi) holds the words that start with text[from, from + k), shortest first, so
        // narrowing by the next code point leaves a word of exactly k + 1 at the front.
        const char32_t next = text[from + k];
        lo = partitionPoint(
            lo, hi, [&](quint32 w) { return wordLength(w) <= k || wordCodePoint(w, k) < next; });
        hi = partitionPoint(lo, hi, [&](quint32 w) { return wordCodePoint(w, k) <= next; });
        if (lo == hi)
            break;
        if (wordLength(lo) == k + 1 && k >= 1)
            best = {lo, k + 1};
    }
    return best;
}

Annotation JyutpingIndex::annotate(QStringView text, QStringView lookupText) const {
    const std::u32string shown = text.toString().toStdU32String();
    std::u32string looked = lookupText.toString().toStdU32String();
    if (looked.size() != shown.size())
        looked = shown;
    Annotation annotation;
    const auto piece = [&](qsizetype from, qsizetype length) {
        return QString::fromUcs4(shown.data() + from, length);
    };
    for (qsizetype i = 0; i < std::ssize(shown);) {
        if (!isHan(shown[i]) || !isHan(looked[i])) {
            qsizetype end = i + 1;
            while (end < std::ssize(shown) && !(isHan(shown[end]) && isHan(looked[end])))
                ++end;
            annotation.append({piece(i, end - i), {}, 0});
            i = end;
            continue;
        }
        const auto [word, length] = longestWord(looked, i);
        if (length > 0) {
            const qsizetype start = u32(words_ + 8 * word);
            for (qsizetype k = 0; k < length; ++k) {
                const QString reading = syllable(u32(wordSyllables_ + 4 * (start + k)));
                annotation.append({piece(i + k, 1), reading, toneOf(reading)});
            }
            i += length;
            continue;
        }
        const qsizetype at = charLowerBound(looked[i]);
        QString reading;
        if (at < charCount_ && u32(chars_ + 8 * at) == looked[i])
            reading = syllable(u32(chars_ + 8 * at + 4));
        annotation.append({piece(i, 1), reading, toneOf(reading)});
        ++i;
    }
    return annotation;
}

QStringList JyutpingIndex::readingsOf(QStringView text) const {
    const std::u32string codePoints = text.toString().toStdU32String();
    QStringList readings;
    if (codePoints.size() == 1) {
        for (qsizetype at = charLowerBound(codePoints[0]);
             at < charCount_ && u32(chars_ + 8 * at) == codePoints[0]; ++at)
            readings.append(syllable(u32(chars_ + 8 * at + 4)));
        return readings;
    }
    quint32 lo = 0;
    quint32 hi = wordCount_;
    for (qsizetype k = 0; k < std::ssize(codePoints) && lo < hi; ++k) {
        const char32_t next = codePoints[k];
        lo = partitionPoint(
            lo, hi, [&](quint32 w) { return wordLength(w) <= k || wordCodePoint(w, k) < next; });
        hi = partitionPoint(lo, hi, [&](quint32 w) { return wordCodePoint(w, k) <= next; });
    }
    for (quint32 w = lo; w < hi && wordLength(w) == codePoints.size(); ++w) {
        QStringList syllables;
        const qsizetype start = u32(words_ + 8 * w);
        for (qsizetype k = 0; k < std::ssize(codePoints); ++k)
            syllables.append(syllable(u32(wordSyllables_ + 4 * (start + k))));
        readings.append(syllables.join(QLatin1Char(' ')));
    }
    return readings;
}

} // namespace lurvo::pronunciation
