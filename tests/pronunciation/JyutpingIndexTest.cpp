#include "PronunciationTestSupport.h"

#include "pronunciation/JyutpingIndex.h"

#include <QCryptographicHash>

using lurvo::pronunciation::DictionaryEntry;
using lurvo::pronunciation::JyutpingIndex;
using lurvo::pronunciation::Piece;
using lurvo::pronunciation::SourceKey;
using lurvo::test::readingText;

namespace {

QList<DictionaryEntry> entries(const QStringList& lines) {
    return lurvo::pronunciation::parseDictionary(lurvo::test::dictionaryFile(u"test"_qs, lines))
        .entries;
}

// A small dictionary with the cases the lookup must tell apart.
JyutpingIndex smallIndex() {
    return JyutpingIndex::build(
        entries({u"行\thang4\t5%"_qs, u"行\thong4\t5%"_qs, u"行\thong6\t0%"_qs, u"銀\tngan4"_qs,
                 u"唔\tm4"_qs, u"唔\tng4\t0%"_qs, u"該\tgoi1"_qs, u"好\thou3\t5%"_qs,
                 u"好\thou2"_qs, u"人\tjan4"_qs, u"大\tdaai6"_qs, u"學\thok6"_qs, u"生\tsaang1"_qs,
                 u"𠮶\tgo2"_qs, u"你\tnei5"_qs}),
        entries({u"唔該\tm4 goi1"_qs, u"銀行\tngan4 hong4"_qs, u"大學\tdaai6 hok6"_qs,
                 u"大學生\tdaai6 hok6 saang1"_qs, u"人行\tjan4 hang4"_qs,
                 u"卅人\tsaa1 aa6 jan4"_qs, // more syllables than characters
                 u"你好\tnei5 hou2"_qs, u"你，好\tnei5 hou2"_qs}));
}

} // namespace

TEST(JyutpingIndex, TakesTheLongestWordThenSingleCharacters) {
    const JyutpingIndex index = smallIndex();
    EXPECT_EQ(readingText(index.annotate(u"大學生"_qs)), u"daai6 hok6 saang1"_qs);
    EXPECT_EQ(readingText(index.annotate(u"大學"_qs)), u"daai6 hok6"_qs);
    // "大學" is a word but "大學人" is not: the longest word, then the rest alone.
    EXPECT_EQ(readingText(index.annotate(u"大學人"_qs)), u"daai6 hok6 jan4"_qs);
    // Left to right: "銀行" is taken before "人行" could be.
    EXPECT_EQ(readingText(index.annotate(u"銀行人"_qs)), u"ngan4 hong4 jan4"_qs);
    EXPECT_EQ(readingText(index.annotate(u"人行"_qs)), u"jan4 hang4"_qs);
    EXPECT_EQ(readingText(index.annotate(u"唔該你"_qs)), u"m4 goi1 nei5"_qs);
}

TEST(JyutpingIndex, ACharacterAloneTakesItsBestReading) {
    const JyutpingIndex index = smallIndex();
    // An entry without a weight is in full use and beats a percentage.
    EXPECT_EQ(readingText(index.annotate(u"好"_qs)), u"hou2"_qs);
    EXPECT_EQ(readingText(index.annotate(u"唔"_qs)), u"m4"_qs);
    // Equal weights and as many words each way: the earlier listing ...
    EXPECT_EQ(readingText(index.annotate(u"行"_qs)), u"hang4"_qs);
    // ... unless more words use the other.
    const JyutpingIndex tipped = JyutpingIndex::build(
        entries({u"行\thang4\t5%"_qs, u"行\thong4\t5%"_qs}),
        entries({u"銀行\tngan4 hong4"_qs, u"行業\thong4 jip6"_qs, u"行路\thang4 lou6"_qs}));
    EXPECT_EQ(readingText(tipped.annotate(u"行"_qs)), u"hong4"_qs);
}

TEST(JyutpingIndex, WordsThatCannotBeLaidOverTheirCharactersAreLeftOut) {
    const JyutpingIndex index = smallIndex();
    EXPECT_EQ(readingText(index.annotate(u"卅人"_qs)), u"- jan4"_qs);
    EXPECT_EQ(readingText(index.annotate(u"你，好"_qs)), u"nei5 [，] hou2"_qs);
    EXPECT_TRUE(index.readingsOf(u"卅人"_qs).isEmpty());
}

TEST(JyutpingIndex, OtherTextStaysBareInRuns) {
    const JyutpingIndex index = smallIndex();
    const auto annotation = index.annotate(u"OK，唔該 3 次!"_qs);
    const lurvo::pronunciation::Annotation expected{
        {u"OK，"_qs, {}, 0}, {u"唔"_qs, u"m4"_qs, 4}, {u"該"_qs, u"goi1"_qs, 1},
        {u" 3 "_qs, {}, 0},  {u"次"_qs, {}, 0},       {u"!"_qs, {}, 0}};
    EXPECT_EQ(annotation, expected);
    EXPECT_TRUE(index.annotate(QString()).isEmpty());
}

TEST(JyutpingIndex, ACharacterBeyondTheBasicPlaneIsOnePiece) {
    const JyutpingIndex index = smallIndex();
    const auto annotation = index.annotate(u"𠮶個𠀀"_qs);
    ASSERT_EQ(annotation.size(), 3);
    EXPECT_EQ(annotation[0], (Piece{u"𠮶"_qs, u"go2"_qs, 2}));
    EXPECT_EQ(annotation[1], (Piece{u"個"_qs, {}, 0}));
    EXPECT_EQ(annotation[2], (Piece{u"𠀀"_qs, {}, 0}));
}

TEST(JyutpingIndex, LooksUpTheConvertedTextButShowsTheOriginal) {
    const JyutpingIndex index = smallIndex();
    const auto annotation = index.annotate(u"银行"_qs, u"銀行"_qs);
    const lurvo::pronunciation::Annotation expected{{u"银"_qs, u"ngan4"_qs, 4},
                                                    {u"行"_qs, u"hong4"_qs, 4}};
    EXPECT_EQ(annotation, expected);
    // A conversion of another length cannot be laid over the text: the text itself is used.
    EXPECT_EQ(readingText(index.annotate(u"銀行"_qs, u"銀"_qs)), u"ngan4 hong4"_qs);
}

TEST(JyutpingIndex, ListsEveryReadingBestFirst) {
    const JyutpingIndex index = smallIndex();
    EXPECT_EQ(index.readingsOf(u"行"_qs), (QStringList{u"hang4"_qs, u"hong4"_qs, u"hong6"_qs}));
    EXPECT_EQ(index.readingsOf(u"大學生"_qs), QStringList{u"daai6 hok6 saang1"_qs});
    EXPECT_TRUE(index.readingsOf(u"大學人"_qs).isEmpty());
    EXPECT_TRUE(index.readingsOf(u"大"_qs.repeated(0)).isEmpty());
    // Two readings of one word: the one agreeing with its characters' own comes first.
    const JyutpingIndex two = JyutpingIndex::build(
        entries({u"你\tnei5"_qs, u"地\tdei6"_qs}),
        entries({u"你地\tlei5 dei6"_qs, u"你地\tnei5 dei6"_qs, u"你地\tlei5 dei6"_qs}));
    EXPECT_EQ(two.readingsOf(u"你地"_qs), (QStringList{u"nei5 dei6"_qs, u"lei5 dei6"_qs}));
    EXPECT_EQ(readingText(two.annotate(u"你地"_qs)), u"nei5 dei6"_qs);
}

TEST(JyutpingIndex, ReadsBackItsOwnBytesAndRefusesDamagedOnes) {
    const SourceKey key{{1, 2, 3}, {4, 5, 6}};
    const JyutpingIndex built = JyutpingIndex::build(entries({u"該\tgoi1"_qs, u"唔\tm4"_qs}),
                                                     entries({u"唔該\tm4 goi1"_qs}), key);
    const auto read = JyutpingIndex::fromBytes(built.bytes());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sourceKey(), key);
    EXPECT_EQ(readingText(read->annotate(u"唔該"_qs)), u"m4 goi1"_qs);

    QByteArray flipped = built.bytes();
    flipped[flipped.size() - 3] = char(flipped[flipped.size() - 3] ^ 0x40);
    EXPECT_FALSE(JyutpingIndex::fromBytes(flipped));
    EXPECT_FALSE(JyutpingIndex::fromBytes(built.bytes().chopped(4)));
    EXPECT_FALSE(JyutpingIndex::fromBytes(built.bytes() + QByteArray(4, '\0')));
    EXPECT_FALSE(JyutpingIndex::fromBytes(built.bytes().first(20)));
    QByteArray otherVersion = built.bytes();
    otherVersion[8] = 2;
    EXPECT_FALSE(JyutpingIndex::fromBytes(otherVersion));
    EXPECT_FALSE(JyutpingIndex::fromBytes({}));

    // A digest that matches does not make an offset out of bounds acceptable.
    QByteArray outOfBounds = built.bytes();
    outOfBounds.replace(outOfBounds.size() - 4, 4, QByteArray(4, '\xff'));
    const qsizetype header = 100, digestAt = 84;
    outOfBounds.replace(digestAt, 16,
                        QCryptographicHash::hash(QByteArrayView(outOfBounds).sliced(header),
                                                 QCryptographicHash::Md5));
    EXPECT_FALSE(JyutpingIndex::fromBytes(outOfBounds));
}
