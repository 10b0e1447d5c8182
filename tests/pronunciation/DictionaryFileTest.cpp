#include "PronunciationTestSupport.h"

#include "pronunciation/DictionaryFile.h"

using lurvo::pronunciation::DictionaryEntry;
using lurvo::pronunciation::parseDictionary;
using lurvo::pronunciation::readDictionaryFile;

namespace {

DictionaryEntry entry(const QString& text, const QString& syllables, int weight = 100) {
    return {text, syllables.split(QLatin1Char(' '), Qt::SkipEmptyParts), weight};
}

} // namespace

TEST(DictionaryFile, ReadsEntriesAfterTheHeadOnly) {
    const QByteArray file = "# Rime dictionary\n"
                            "---\n"
                            "name: test\n"
                            "\xe5\x94\x94\t\x6e\x67\x34\n" // a head line shaped like an entry
                            "...\n"
                            "\n"
                            "# a comment\n"
                            "\xe5\x94\x94\xe8\xa9\xb2\tm4 goi1\n"
                            "\xe8\xa1\x8c\thang4\t5%\r\n"
                            "\xe8\xa1\x8c\thong6\t0%\n"
                            "\xe4\xb8\x80\xe4\xb8\x80\xe4\xba\x8c\xe4\xba\x8c\n";
    const auto contents = parseDictionary(file);
    EXPECT_EQ(contents.malformedLines, 0);
    const QList<DictionaryEntry> expected{
        entry(u"唔該"_qs, u"m4 goi1"_qs), entry(u"行"_qs, u"hang4"_qs, 5),
        entry(u"行"_qs, u"hong6"_qs, 0), entry(u"一一二二"_qs, {})};
    EXPECT_EQ(contents.entries, expected);
}

TEST(DictionaryFile, SkipsMalformedLinesAndKeepsTheRest) {
    const QByteArray file = lurvo::test::dictionaryFile(
        u"test"_qs, {u"\tgoi1"_qs,             // no text
                     u"該\tGOI1"_qs,           // not a syllable
                     u"該\tgoi"_qs,            // no tone
                     u"該\tgoi7"_qs,           // no such tone
                     u"該\tgoi1\tmuch"_qs,     // unreadable weight
                     u"該\tgoi1\t-3%"_qs,      // negative weight
                     u"好\thou2  hou3\t12"_qs, // doubled space, plain weight
                     u"該\tgoi1"_qs});
    const auto contents = parseDictionary(file);
    EXPECT_EQ(contents.malformedLines, 6);
    const QList<DictionaryEntry> expected{entry(u"好"_qs, u"hou2 hou3"_qs, 12),
                                          entry(u"該"_qs, u"goi1"_qs)};
    EXPECT_EQ(contents.entries, expected);
}

TEST(DictionaryFile, WithoutAnEndOfHeadNothingIsAnEntry) {
    EXPECT_TRUE(parseDictionary("name: test\n\xe8\xa9\xb2\tgoi1\n").entries.isEmpty());
    EXPECT_TRUE(parseDictionary("").entries.isEmpty());
}

class DictionaryFileReading : public lurvo::test::TempFolderTest {};

TEST_F(DictionaryFileReading, ReadsAFileAndReportsAMissingOne) {
    const QString path =
        write(u"chars.dict.yaml"_qs, lurvo::test::dictionaryFile(u"chars"_qs, {u"該\tgoi1"_qs}));
    const auto contents = readDictionaryFile(path);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->entries, QList{entry(u"該"_qs, u"goi1"_qs)});
    EXPECT_FALSE(readDictionaryFile(dir.filePath(u"none.dict.yaml"_qs)));
    EXPECT_TRUE(readDictionaryFile(write(u"empty"_qs, {})));
}

TEST(DictionaryFile, PassesEntriesOnAndCanSkipTextsWithoutReadings) {
    const QByteArray file = lurvo::test::dictionaryFile(
        u"phrase"_qs, {u"唔該晒"_qs, u"唔該\tm4 goi1"_qs, u"一一二二"_qs, u"該\tgoi"_qs});
    QList<DictionaryEntry> taken;
    const auto take = [&](DictionaryEntry&& e) { taken.append(std::move(e)); };
    EXPECT_EQ(
        lurvo::pronunciation::forEachEntry(file, take, lurvo::pronunciation::TextOnlyEntries::Skip),
        1);
    EXPECT_EQ(taken, QList{entry(u"唔該"_qs, u"m4 goi1"_qs)});
    taken.clear();
    lurvo::pronunciation::forEachEntry(file, take);
    EXPECT_EQ(taken.size(), 3);
}
