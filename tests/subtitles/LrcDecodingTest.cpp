#include "subtitles/LrcDecoding.h"

#include "TestData.h"

#include <gtest/gtest.h>

using namespace lurvo::subtitles;
using lurvo::test::readData;

namespace {

// A locale that names no legacy encoding, as on most systems now.
constexpr QByteArrayView kUtf8Locale = "UTF-8";

QByteArray bytes(std::initializer_list<unsigned char> list) {
    QByteArray b;
    for (const unsigned char c : list)
        b.append(char(c));
    return b;
}

QString decode(const QByteArray& raw, QByteArrayView locale = kUtf8Locale) {
    return decodeSubtitleBytes(raw, locale);
}

TEST(Utf8Plausibility, AcceptsSequencesOfOneToFourBytes) {
    EXPECT_TRUE(isPlausibleUtf8("[00:01.00]plain ascii"));
    EXPECT_TRUE(isPlausibleUtf8(""));
    EXPECT_TRUE(isPlausibleUtf8(QByteArray("caf\xC3\xA9 \xE4\xBD\xA0\xE5\xA5\xBD")));
    EXPECT_TRUE(isPlausibleUtf8(QByteArray("smile \xF0\x9F\x98\x80")));
    EXPECT_TRUE(isPlausibleUtf8(QByteArray("\xF4\x8F\xBF\xBF")));
    EXPECT_FALSE(isPlausibleUtf8(QByteArray("\xF5\x80\x80\x80")));
    EXPECT_FALSE(isPlausibleUtf8(QByteArray("\xF0\x9F\x98\x41")));
    EXPECT_TRUE(isPlausibleUtf8(QByteArray("a\xF0\x9F\x98")));
    EXPECT_FALSE(isPlausibleUtf8(bytes({0x41, 0x80, 0x41})));
    EXPECT_FALSE(isPlausibleUtf8(bytes({0xC3, 0x41})));
    EXPECT_FALSE(isPlausibleUtf8(bytes({0xE4, 0xBD, 0x41})));
    EXPECT_FALSE(isPlausibleUtf8(bytes({0xFF})));
    // Overlong forms are not examined; a sequence cut short by the end passes.
    EXPECT_TRUE(isPlausibleUtf8(bytes({0xC0, 0x80})));
    EXPECT_TRUE(isPlausibleUtf8(bytes({0x41, 0xE4, 0xBD})));
    EXPECT_TRUE(isPlausibleUtf8(bytes({0x41, 0xC3})));
}

TEST(DecodeSubtitleBytes, EveryEncodingOfTheSameLessonGivesTheSameText) {
    const QString expected = QString::fromUtf8(readData("encodings/cantonese.utf8.lrc"));
    ASSERT_TRUE(expected.contains(u"咗"));
    for (const char* file :
         {"cantonese.utf8bom.lrc", "cantonese.utf16le.lrc", "cantonese.utf16be.lrc",
          "cantonese.gbk.lrc", "cantonese.big5hkscs.lrc"})
        EXPECT_EQ(decode(readData(QString("encodings/") + file)), expected) << file;

    const QString plain = QString::fromUtf8(readData("encodings/plain.utf8.lrc"));
    EXPECT_EQ(decode(readData("encodings/plain.gbk.lrc")), plain);
    EXPECT_EQ(decode(readData("encodings/plain.big5.lrc")), plain);
}

TEST(LegacyEncoding, AnInvalidSequenceLosesAndTheLookDecidesOnlyBetweenCleanReadings) {
    const QByteArray gbk = readData("encodings/cantonese.gbk.lrc");
    const QByteArray big5 = readData("encodings/cantonese.big5hkscs.lrc");
    const QByteArray plainBig5 = readData("encodings/plain.big5.lrc");
    const QByteArray japaneseGbk = readData("encodings/japanese.gbk.lrc");
    for (const QByteArray* raw : {&gbk, &big5, &plainBig5, &japaneseGbk})
        ASSERT_FALSE(isPlausibleUtf8(*raw));
    // A Chinese locale, or none, leaves it to the bytes.
    for (const char* locale : {"UTF-8", "ANSI_X3.4-1968", "", "GBK", "BIG5-HKSCS"}) {
        SCOPED_TRACE(locale);
        EXPECT_EQ(legacyEncodingFor(gbk, locale), "GB18030");
        EXPECT_EQ(legacyEncodingFor(big5, locale), "Big5-HKSCS");
        // Valid in both: the detector's call.
        EXPECT_EQ(legacyEncodingFor(plainBig5, locale), "Big5-HKSCS");
        // Kana in GBK look like the commonest Big5 characters, but some bytes are not Big5.
        EXPECT_EQ(legacyEncodingFor(japaneseGbk, locale), "GB18030");
    }
    EXPECT_EQ(decode(japaneseGbk), QString::fromUtf8(readData("encodings/japanese.utf8.lrc")));
    EXPECT_EQ(decode(big5, "GBK"), QString::fromUtf8(readData("encodings/cantonese.utf8.lrc")));

    // A legacy locale of another script is trusted while it reads the bytes cleanly.
    EXPECT_EQ(legacyEncodingFor("caf\xE9", "ISO-8859-1"), "ISO-8859-1");
    EXPECT_EQ(legacyEncodingFor(japaneseGbk, "EUC-JP"), "GB18030");
    // Invalid in both: the locale's legacy encoding, else GB18030.
    const QByteArray broken("\x80\xFF\xFF");
    EXPECT_EQ(legacyEncodingFor(broken, "UTF-8"), "GB18030");
    EXPECT_EQ(legacyEncodingFor(broken, "BIG5"), "BIG5");
    EXPECT_EQ(legacyEncodingFor("abc", "UTF-8"), "GB18030");
}

TEST(DecodeSubtitleBytes, Utf8SignatureSkipsThreeBytesWithoutATest) {
    EXPECT_EQ(decode(QByteArray("\xEF\xBB\xBF[00:01.00]a")), "[00:01.00]a");
    // The third byte is not examined.
    EXPECT_EQ(decode(QByteArray("\xEF\xBBX[00:01.00]a")), "[00:01.00]a");
    // With a signature, four-byte sequences are UTF-8 too.
    EXPECT_EQ(decode(QByteArray("\xEF\xBB\xBF\xF0\x9F\x98\x80")),
              QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(decode(QByteArray("\xEF\xBB")), "");
}

TEST(DecodeSubtitleBytes, FourByteSequencesWithoutSignatureAreUtf8) {
    const QByteArray raw = readData("encodings/extension-b.utf8.lrc");
    const QString text = decode(raw);
    EXPECT_EQ(text, QString::fromUtf8(raw));
    for (const char* c : {"𠵱", "𡃁", "𨋢", "😀"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(c))) << c;
    // The same under a Chinese legacy locale: the bytes decide, not the locale.
    EXPECT_EQ(decode(raw, "GBK"), text);
}

TEST(DecodeSubtitleBytes, GbkThatLooksLikeUtf8IsTakenForUtf8) {
    // "涓" in UTF-8 is E6 B6 93, also two valid GBK characters.
    const QByteArray both("\xE6\xB6\x93");
    EXPECT_EQ(decode(both), QString::fromUtf8(both));
}

TEST(DecodeSubtitleBytes, StopsAtTheFirstZero) {
    EXPECT_EQ(decode(QByteArray("ab\0cd", 5)), "ab");
    EXPECT_EQ(decode(QByteArray("\xB2\xE2\0\xB2\xE2", 5)).size(), 1);
    // UTF-16 without a byte-order mark ends after its first character.
    const QByteArray utf16("[\0"
                           "0\0"
                           "0\0",
                           6);
    EXPECT_EQ(decode(utf16), "[");
    EXPECT_EQ(decode(bytes({0xFF, 0xFE, 'a', 0, 0, 0, 'b', 0})), "a");
    EXPECT_EQ(decode(bytes({0xFE, 0xFF, 0, 'a', 0, 0, 0, 'b'})), "a");
    EXPECT_EQ(decode(QByteArray()), "");
}

TEST(DecodeSubtitleBytes, Utf16DropsAHalfUnitAtTheEnd) {
    EXPECT_EQ(decode(bytes({0xFF, 0xFE, 'a', 0, 'b'})), "a");
    EXPECT_EQ(decode(bytes({0xFE, 0xFF, 0, 'a', 0})), "a");
    EXPECT_EQ(decode(bytes({0xFF, 0xFE})), "");
}

TEST(NormaliseLineEnds, EveryKindOfLineEndBecomesCrLf) {
    EXPECT_EQ(normaliseLineEnds(u"a\r\nb\r\n"), u"a\r\nb\r\n");
    EXPECT_EQ(normaliseLineEnds(u"a\rb\r"), u"a\r\nb\r\n");
    EXPECT_EQ(normaliseLineEnds(u"a\nb\n"), u"a\r\nb\r\n");
    EXPECT_EQ(normaliseLineEnds(u"\na\r\rb\n\rc\r\r\n"), u"\r\na\r\n\r\nb\r\n\r\nc\r\n\r\n");
    EXPECT_EQ(normaliseLineEnds(u""), u"");
}

} // namespace
