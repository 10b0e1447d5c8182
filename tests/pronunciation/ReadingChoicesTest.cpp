#include "PronunciationTestSupport.h"

#include "pronunciation/ReadingChoices.h"
#include "subtitles/OffsetStore.h"

#include <QDir>
#include <QFile>

using lurvo::pronunciation::Annotation;
using lurvo::pronunciation::ReadingChoice;
using lurvo::pronunciation::ReadingChoices;

namespace {

const QByteArray kDigest = QByteArray::fromHex("00112233445566778899aabbccddeeff");

// 銀行 read by the dictionary as the word, 行 alone with its commoner reading.
Annotation bankAnnotation() {
    return {{u"去"_qs, u"heoi3"_qs, 3}, {u"銀"_qs, u"ngan4"_qs, 4}, {u"行"_qs, u"hong4"_qs, 4},
            {u"，"_qs, {}, 0},          {u"行"_qs, u"hang4"_qs, 4}, {u"\r\n"_qs, {}, 0},
            {u"銀"_qs, u"ngan4"_qs, 4}, {u"行"_qs, u"hong4"_qs, 4}};
}

QStringList syllablesOf(const Annotation& annotation) {
    QStringList list;
    for (const auto& piece : annotation)
        list.append(piece.syllable);
    return list;
}

class ReadingChoicesTest : public lurvo::test::TempFolderTest {};

TEST_F(ReadingChoicesTest, ChoicesApplyByLineTextAndPositionOnly) {
    ReadingChoices choices;
    EXPECT_EQ(choices.apply(bankAnnotation()), bankAnnotation());
    // The first 行 of "去銀行，行" is the word's; the second line "銀行" stays as it was.
    choices.set({u"去銀行，行"_qs, 4, {u"haang4"_qs}});
    choices.set({u"銀行"_qs, 0, {u"ngan2"_qs, u"hang6"_qs}});
    const Annotation shown = choices.apply(bankAnnotation());
    EXPECT_EQ(syllablesOf(shown), (QStringList{u"heoi3"_qs,
                                               u"ngan4"_qs,
                                               u"hong4"_qs,
                                               {},
                                               u"haang4"_qs,
                                               {},
                                               u"ngan2"_qs,
                                               u"hang6"_qs}));
    EXPECT_EQ(shown[7].tone, 6);
    // The same line shown alone (as the list does) takes the same choice.
    const Annotation alone{{u"銀"_qs, u"ngan4"_qs, 4}, {u"行"_qs, u"hong4"_qs, 4}};
    EXPECT_EQ(syllablesOf(choices.apply(alone)), (QStringList{u"ngan2"_qs, u"hang6"_qs}));
    // Another line holding the same characters is left alone.
    const Annotation other{{u"行"_qs, u"hong4"_qs, 4}};
    EXPECT_EQ(choices.apply(other), other);
}

TEST_F(ReadingChoicesTest, ANewChoiceReplacesOverlappingOnesAndClearFindsAnyCharacter) {
    ReadingChoices choices;
    choices.set({u"銀行"_qs, 0, {u"ngan4"_qs, u"hang4"_qs}});
    choices.set({u"銀行"_qs, 1, {u"hong2"_qs}});
    ASSERT_EQ(choices.all().size(), 1);
    EXPECT_EQ(choices.all()[0].at, 1);
    ASSERT_NE(choices.covering(u"銀行"_qs, 1), nullptr);
    EXPECT_EQ(choices.covering(u"銀行"_qs, 0), nullptr);
    choices.set({u"銀行"_qs, 0, {u"ngan4"_qs, u"hang4"_qs}});
    EXPECT_TRUE(choices.clear(u"銀行"_qs, 1)); // the second character of the word's choice
    EXPECT_TRUE(choices.isEmpty());
    EXPECT_FALSE(choices.clear(u"銀行"_qs, 1));
    // Nonsense is refused: past the line, no syllables, not Jyutping.
    choices.set({u"銀行"_qs, 1, {u"hong4"_qs, u"jan4"_qs}});
    choices.set({u"銀行"_qs, 0, {}});
    choices.set({u"銀行"_qs, 0, {u"Hong4"_qs}});
    choices.set({u"銀行"_qs, 0, {u"hong"_qs}});
    EXPECT_TRUE(choices.isEmpty());
}

TEST_F(ReadingChoicesTest, ChoicesSurviveSavingAndLoadingUnderTheLessonsKey) {
    const QString data = dir.filePath(u"data"_qs); // not there yet
    ReadingChoices choices;
    choices.set({u"音樂"_qs, 1, {u"ngok6"_qs}});
    choices.set({u"𠮶行"_qs, 2, {u"hong4"_qs}}); // after a surrogate pair
    ASSERT_TRUE(choices.save(data, kDigest));
    const QString path = ReadingChoices::filePath(data, kDigest);
    EXPECT_TRUE(path.startsWith(lurvo::subtitles::offsetFilePath(data, kDigest)));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(ReadingChoices::load(data, kDigest).all(), choices.all());
    EXPECT_TRUE(ReadingChoices::load(data, QByteArray(16, '\1')).isEmpty());
    // Without choices the file goes.
    ASSERT_TRUE(ReadingChoices().save(data, kDigest));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(ReadingChoices::load(data, kDigest).isEmpty());
}

TEST_F(ReadingChoicesTest, ADamagedFileLosesOnlyItsBadEntries) {
    const QString path = ReadingChoices::filePath(dir.path(), kDigest);
    for (const QByteArray& junk : {QByteArray("\xff\xfe garbage"), QByteArray("[1,2]"),
                                   QByteArray("{\"choices\": 7}"), QByteArray()}) {
        lurvo::test::writeFile(path, junk);
        EXPECT_TRUE(ReadingChoices::load(dir.path(), kDigest).isEmpty()) << junk.constData();
    }
    lurvo::test::writeFile(path, R"({"choices": [
        {"line": "音樂", "at": 1, "syllables": "ngok6"},
        {"line": "音樂", "at": 9, "syllables": "ngok6"},
        {"line": "音樂", "at": -1, "syllables": "ngok6"},
        {"line": "音樂", "at": 0.5, "syllables": "jam1"},
        {"line": "音樂", "at": "0", "syllables": "jam1"},
        {"line": 3, "at": 0, "syllables": "jam1"},
        {"line": "音樂", "at": 0, "syllables": "jam1 ngok6 lok6"},
        {"line": "音樂", "at": 0, "syllables": "<b>1"},
        "not an object"
    ]})");
    const ReadingChoices loaded = ReadingChoices::load(dir.path(), kDigest);
    ASSERT_EQ(loaded.all().size(), 1);
    EXPECT_EQ(loaded.all()[0], (ReadingChoice{u"音樂"_qs, 1, {u"ngok6"_qs}}));
}

TEST_F(ReadingChoicesTest, SavingWhereNoFolderCanBeMadeFails) {
    ReadingChoices choices;
    choices.set({u"音樂"_qs, 1, {u"ngok6"_qs}});
    ASSERT_TRUE(choices.save(dir.path(), kDigest));
    // A file where the data folder should be: nothing can be written, nothing is lost.
    const QString notAFolder = write(u"file"_qs, "x");
    EXPECT_FALSE(choices.save(notAFolder, kDigest));
    EXPECT_EQ(read(notAFolder), QByteArray("x"));
}

} // namespace
