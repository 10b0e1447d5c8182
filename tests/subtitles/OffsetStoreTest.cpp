#include "subtitles/OffsetStore.h"
#include "TestData.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

using namespace lurvo::subtitles;

namespace {

class OffsetStore : public lurvo::test::TempFolderTest {
protected:
    // Bytes that differ from chunk to chunk, so a chunk hashed twice or skipped shows.
    static QByteArray pattern(qsizetype size) {
        QByteArray bytes(size, Qt::Uninitialized);
        quint32 x = 12345;
        for (char& c : bytes) {
            x = x * 1103515245u + 12345u;
            c = char(x >> 24);
        }
        return bytes;
    }
};

TEST_F(OffsetStore, KnownFilesGiveTheirDigestTextAndKey) {
    // 16 bytes always give 24 characters ending in "==", all of which are hashed.
    const QByteArray empty = computeLessonDigest(write("empty.mp3", ""));
    EXPECT_EQ(empty.toBase64(), "1B2M2Y8AsgTpgAmY7PhCfg==");
    EXPECT_EQ(offsetKey(empty), "266472205");

    const QByteArray abc = computeLessonDigest(write("abc.mp3", "abc"));
    EXPECT_EQ(abc.toBase64(), "kAFQmDzST7DWlj99KOF/cg==");
    EXPECT_EQ(offsetKey(abc), "45454733");
}

TEST_F(OffsetStore, UnopenableFilesShareTheAllZeroDigest) {
    const QByteArray zero(16, '\0');
    EXPECT_EQ(zero.toBase64(), "AAAAAAAAAAAAAAAAAAAAAA==");
    EXPECT_EQ(offsetKey(zero), "16777821");
    EXPECT_EQ(computeLessonDigest(dir.filePath("absent.mp3")), zero);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    EXPECT_EQ(computeLessonDigest(dir.filePath("folder.mp3")), zero);
}

TEST_F(OffsetStore, DigestCoversTheWholeFileAcrossManyReads) {
    // Sizes around the read sizes a hasher may use, and a lesson-sized one.
    for (const qsizetype size : {1025, 262145, 3 * 1000 * 1000 + 7}) {
        const QByteArray content = pattern(size);
        EXPECT_EQ(computeLessonDigest(write("lesson.mp3", content)),
                  QCryptographicHash::hash(content, QCryptographicHash::Md5))
            << size;
    }
}

TEST_F(OffsetStore, KeyFollowsTheContentNotTheName) {
    const QByteArray content = pattern(100000);
    const QByteArray original = computeLessonDigest(write("lesson.mp3", content));
    ASSERT_TRUE(QDir(dir.path()).mkdir("elsewhere"));
    const QByteArray copy = computeLessonDigest(write("elsewhere/renamed.mp3", content));
    EXPECT_EQ(copy, original);
    EXPECT_EQ(offsetKey(copy), offsetKey(original));

    QByteArray changed = content;
    changed[50000] = char(changed[50000] ^ 1);
    const QByteArray edited = computeLessonDigest(write("edited.mp3", changed));
    EXPECT_NE(edited, original);
    EXPECT_NE(offsetKey(edited), offsetKey(original));
}

TEST_F(OffsetStore, WrittenOffsetsReadBackFromFourLittleEndianBytes) {
    const QByteArray digest = computeLessonDigest(write("abc.mp3", "abc"));
    for (const int ms : {0, 1, -1, 300, -300, 2000, -2000}) {
        ASSERT_TRUE(writeStoredOffset(dir.path(), digest, ms)) << ms;
        EXPECT_EQ(readStoredOffset(dir.path(), digest), ms);
    }
    ASSERT_TRUE(writeStoredOffset(dir.path(), digest, -300));
    EXPECT_EQ(offsetFilePath(dir.path(), digest), dir.filePath("45454733"));
    EXPECT_EQ(read(dir.filePath("45454733")), QByteArray("\xD4\xFE\xFF\xFF", 4));
    ASSERT_TRUE(writeStoredOffset(dir.path(), digest, 258));
    EXPECT_EQ(read(dir.filePath("45454733")), QByteArray("\x02\x01\x00\x00", 4));
}

TEST_F(OffsetStore, ReadingClampsAndTreatsMissingOrShortFilesAsZero) {
    const QByteArray digest(16, '\0');
    const QString path = dir.filePath("16777821");
    EXPECT_EQ(readStoredOffset(dir.path(), digest), 0);
    EXPECT_EQ(readStoredOffset(dir.filePath("no-such-folder"), digest), 0);

    const struct {
        QByteArray bytes;
        int ms;
    } cases[] = {
        {QByteArray("\xD1\x07\x00\x00", 4), 2000},  // 2001
        {QByteArray("\x2F\xF8\xFF\xFF", 4), -2000}, // -2001
        {QByteArray("\xFF\xFF\xFF\x7F", 4), 2000},  // INT_MAX
        {QByteArray("\x00\x00\x00\x80", 4), -2000}, // INT_MIN
        {QByteArray("\x2C\x01\x00\x00junk", 8), 300}, {QByteArray(), 0},
        {QByteArray("\x2C\x01\x00", 3), 0},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        write("16777821", c.bytes);
        EXPECT_EQ(readStoredOffset(dir.path(), digest), c.ms) << c.bytes.toHex().toStdString();
    }
}

TEST_F(OffsetStore, WritingReplacesAReadOnlyFile) {
    const QByteArray digest(16, '\0');
    const QString path = write("16777821", QByteArray("\x2C\x01\x00\x00", 4));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_TRUE(writeStoredOffset(dir.path(), digest, -1500));
    EXPECT_EQ(readStoredOffset(dir.path(), digest), -1500);
    EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::WriteOwner);
}

TEST_F(OffsetStore, WritingCreatesAMissingDataFolderButNeverReplacesAFile) {
    // A first session: nothing has created the configuration folders yet.
    const QString dataFolder = dir.filePath("config/LurvoRepeater");
    const QByteArray digest = computeLessonDigest(write("empty.mp3", ""));
    EXPECT_TRUE(writeStoredOffset(dataFolder, digest, 0));
    EXPECT_EQ(read(dataFolder + "/266472205"), QByteArray(4, '\0'));

    const QString blocked = write("LurvoRepeater", "not a folder");
    EXPECT_FALSE(writeStoredOffset(blocked, digest, 100));
    EXPECT_EQ(read(blocked), "not a folder");
}

struct InputCase {
    const char16_t* text;
    int ms;
};

void PrintTo(const InputCase& c, std::ostream* os) {
    *os << '"' << QString::fromUtf16(c.text).toStdString() << "\" -> " << c.ms;
}

class ParseOffsetInput : public testing::TestWithParam<InputCase> {};

TEST_P(ParseOffsetInput, ReadsTheLeadingNumberClamped) {
    EXPECT_EQ(parseOffsetInput(QStringView(GetParam().text)), GetParam().ms);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ParseOffsetInput,
                         testing::Values(InputCase{u"300", 300}, InputCase{u"-300", -300},
                                         InputCase{u"+45", 45}, InputCase{u"0", 0},
                                         InputCase{u"-0", 0}, InputCase{u"007", 7},
                                         InputCase{u" \t 12", 12}, InputCase{u"2000", 2000},
                                         InputCase{u"-2000", -2000}));

INSTANTIATE_TEST_SUITE_P(OutOfRangeIsClamped, ParseOffsetInput,
                         testing::Values(InputCase{u"2500", 2000}, InputCase{u"-3000", -2000},
                                         InputCase{u"2001", 2000}, InputCase{u"-2001", -2000},
                                         InputCase{u"99999999999999999999999", 2000},
                                         InputCase{u"-99999999999999999999999", -2000}));

INSTANTIATE_TEST_SUITE_P(OnlyTheLeadingNumberCounts, ParseOffsetInput,
                         testing::Values(InputCase{u"abc", 0}, InputCase{u"", 0},
                                         InputCase{u"-", 0}, InputCase{u"+-3", 0},
                                         InputCase{u"- 3", 0}, InputCase{u"12abc", 12},
                                         InputCase{u"1 2", 1}, InputCase{u"-7ms", -7},
                                         InputCase{u"0x10", 0}, InputCase{u"1.9", 1},
                                         InputCase{u"１２", 0}, InputCase{u"abc123", 0}));

TEST(OffsetText, NamesTheDirectionWithTheMagnitude) {
    const QString earlier = QStringLiteral("提前%d毫秒");
    const QString later = QStringLiteral("延后%d毫秒");
    EXPECT_EQ(offsetText(300, earlier, later), QStringLiteral("提前300毫秒"));
    EXPECT_EQ(offsetText(-300, earlier, later), QStringLiteral("延后300毫秒"));
    EXPECT_EQ(offsetText(0, earlier, later), QStringLiteral("0"));
    EXPECT_EQ(offsetText(std::numeric_limits<int>::min(), earlier, later),
              QStringLiteral("延后2147483648毫秒"));
}

} // namespace
