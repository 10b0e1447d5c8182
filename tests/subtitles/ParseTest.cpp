#include "subtitles/SubtitleDocument.h"

#include <gtest/gtest.h>

using namespace lurvo::subtitles;
using namespace Qt::StringLiterals;

namespace {

struct Parsed {
    bool ok = false;
    SubtitleDocument doc;
};

Parsed parse(const QString& text) {
    Parsed p;
    p.ok = p.doc.parse(text);
    return p;
}

// Start of the only line, or of the first line, of a successful parse; -1 otherwise.
int firstStart(const QString& text) {
    const Parsed p = parse(text);
    return p.ok ? p.doc.line(0).startMs : -1;
}

TEST(Parse, MultipleTagsGiveOneLineEachPlacedByTheSort) {
    const Parsed p = parse(u"[00:01.00][00:05.00]Hello\r\n[00:03.00]World\r\n"_s);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.doc.lineCount(), 3);
    EXPECT_EQ(p.doc.line(0).startMs, 1000);
    EXPECT_EQ(p.doc.line(0).text, "Hello");
    EXPECT_EQ(p.doc.line(1).startMs, 3000);
    EXPECT_EQ(p.doc.line(1).text, "World");
    EXPECT_EQ(p.doc.line(2).startMs, 5000);
    EXPECT_EQ(p.doc.line(2).text, "Hello");
}

TEST(Parse, AnythingBetweenTagsEndsTheTags) {
    const Parsed p = parse(u"[00:01.00] [00:05.00]Hello"_s);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.doc.lineCount(), 1);
    EXPECT_EQ(p.doc.line(0).startMs, 1000);
    EXPECT_EQ(p.doc.line(0).text, " [00:05.00]Hello");
}

TEST(Parse, LineTextEndsAtTheLineEndAndMayBeEmpty) {
    const Parsed p = parse(u"[00:12.34]\r\n[00:13.00]粵語 text \r\n"_s);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.doc.lineCount(), 2);
    EXPECT_EQ(p.doc.line(0).startMs, 12340);
    EXPECT_TRUE(p.doc.line(0).text.isEmpty());
    EXPECT_EQ(p.doc.line(1).text, u"粵語 text "_s);
}

TEST(Parse, WordTimingTagsAreNoPartOfTheText) {
    const Parsed p = parse(u"[00:01.00]<00:01.00>你<00:01.40>食 <00:01.80>咗<00:02.20>\r\n"
                           "[00:03.00]a <b> <1x> <00:99.00> 1<2 x>3\r\n"_s);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.doc.line(0).text, u"你食 咗"_s);
    // Only readable times are word tags.
    EXPECT_EQ(p.doc.line(1).text, u"a <b> <1x> <00:99.00> 1<2 x>3"_s);
    // The length limit counts what is shown.
    const Parsed longLine =
        parse("[00:01.00]" + QString(20, u'x') + "<00:01.50>" + QString(500, u'y'));
    ASSERT_TRUE(longLine.ok);
    EXPECT_EQ(longLine.doc.line(0).text, QString(20, u'x') + QString(491, u'y'));
}

TEST(Parse, SortsLinesByStartTime) {
    const Parsed p = parse(u"[00:09.00]c\r\n[00:01.00]a\r\n[00:05.00]b\r\n"_s);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.doc.line(0).text, "a");
    EXPECT_EQ(p.doc.line(1).text, "b");
    EXPECT_EQ(p.doc.line(2).text, "c");
}

TEST(Parse, KeepsTheFirst511UnitsOfALongText) {
    const QString longText(600, u'字');
    const Parsed p = parse("[00:01.00]" + longText + "\r\n");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.doc.line(0).text, longText.left(511));

    // A character outside the basic plane across the limit is dropped whole, not halved.
    const QString emoji = QString(510, u'字') + QString::fromUtf16(u"\U0001F600x");
    const Parsed cut = parse("[00:01.00]" + emoji + "\r\n");
    ASSERT_TRUE(cut.ok);
    EXPECT_EQ(cut.doc.line(0).text, emoji.left(510));
}

TEST(Parse, OffsetTagShiftsEveryLine) {
    EXPECT_EQ(firstStart(u"[offset:500]\r\n[00:10.00]A"_s), 9500);
    EXPECT_EQ(firstStart(u"[offset:-500]\r\n[00:10.00]A"_s), 10500);
    EXPECT_EQ(firstStart(u"[OFFSET:500]\r\n[00:10.00]A"_s), 9500);
    EXPECT_EQ(firstStart(u"[offset:10000]\r\n[00:10.00]A"_s), 0);
    EXPECT_EQ(firstStart(u"[offset:20000]\r\n[00:10.00]A"_s), 10000);
    EXPECT_EQ(firstStart(u"[offset:99999999999999]\r\n[00:10.00]A"_s), 10000);
    EXPECT_EQ(firstStart(u"[offset:+500]\r\n[00:10.00]A"_s), 10000);
    EXPECT_EQ(firstStart(u"[offset: 500]\r\n[00:10.00]A"_s), 10000);
    EXPECT_EQ(firstStart(u"[offset:5x7]\r\n[00:10.00]A"_s), 9995);
    EXPECT_EQ(firstStart(u"[offset:-]\r\n[00:10.00]A"_s), 10000);
    EXPECT_EQ(firstStart(u"[offset:-10001]\r\n[00:10.00]A"_s), 10000);

    const Parsed p = parse(u"[ti:x][offset:-250]\r\n[00:10.00]A"_s);
    EXPECT_EQ(p.doc.fileOffsetMs, -250);
    EXPECT_EQ(p.doc.appliedOffsetMs, 0);
    EXPECT_EQ(p.doc.header, "[ti:x][offset:-250]\r\n");
}

TEST(Parse, OnlyTheFirstOffsetBeforeTheFirstLineCounts) {
    EXPECT_EQ(firstStart(u"[offset:500]\r\n[offset:100]\r\n[00:10.00]A"_s), 9500);
    const Parsed late = parse(u"[00:10.00]A\r\n[offset:500]\r\n[00:20.00]B"_s);
    ASSERT_TRUE(late.ok);
    EXPECT_EQ(late.doc.fileOffsetMs, 0);
    EXPECT_EQ(late.doc.line(1).startMs, 20000);
}

TEST(Parse, IdentificationTagsBeforeTheFirstLineFormTheHeader) {
    const Parsed p = parse(
        u"[ti:Title]\r\n[ar:Artist]\r\n[00:01.00]A\r\n[by:Someone]\r\n\r\nuntimed\r\n[00:02.00]B"_s);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.doc.header, "[ti:Title]\r\n[ar:Artist]\r\n");
    ASSERT_EQ(p.doc.lineCount(), 2);
    EXPECT_EQ(p.doc.line(0).text, "A");
    EXPECT_EQ(p.doc.line(1).text, "B");
}

TEST(Parse, TimeTagForms) {
    EXPECT_EQ(firstStart(u"[1:00:00.00]x"_s), 3600000);
    EXPECT_EQ(firstStart(u"[00:05]x"_s), 5000);
    EXPECT_EQ(firstStart(u"[00:05.5]x"_s), 5500);
    EXPECT_EQ(firstStart(u"[00:12:50]x"_s), 770000);
}

TEST(Parse, BracketsWithoutADigitAreOrdinaryText) {
    const Parsed p = parse(u"[00:01.00]a\r\n[:12.00]x\r\n[ 00:12.00]y\r\n"_s);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.doc.lineCount(), 1);
}

TEST(Parse, TagOf63UnitsIsReadAndOf64IsSkipped) {
    const QString time63 = "00:01." + QString(57, u'0');
    ASSERT_EQ(time63.size(), 63);
    EXPECT_EQ(firstStart("[" + time63 + "]x"), 1000);
    const Parsed p = parse("[" + time63 + "0]x\r\n[00:02.00]y");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.doc.skippedLines, 1);
    EXPECT_EQ(firstStart("[" + time63 + "0]x\r\n[00:02.00]y"), 2000);
}

TEST(Parse, UnreadableTimeTagsSkipTheirLineWithAllItsTags) {
    const QString unreadable[] = {
        u"[00.02.00]x"_s,         u"[00:-03.00]x"_s,
        u"[02:83.375]x"_s,        u"[00:60.00]x"_s,
        u"[60:00.00]x"_s,         u"[5]x"_s,
        u"[1:2:3:4]x"_s,          u"[00:12.34"_s,
        u"[00:12.34 and text"_s,  u"[00:01.00][00:99.00]a"_s,
        u"[00:01.00][00:02.00"_s, u"[596:31:23.648]x"_s,
    };
    for (const QString& bad : unreadable) {
        SCOPED_TRACE(bad.toStdString());
        const Parsed p = parse("[ti:t]\r\n[00:01.50]first\r\n" + bad + "\r\n[00:03.00]last\r\n");
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.doc.skippedLines, 1);
        ASSERT_EQ(p.doc.lineCount(), 2);
        EXPECT_EQ(p.doc.line(0).text, "first");
        EXPECT_EQ(p.doc.line(1).text, "last");
        EXPECT_EQ(p.doc.header, "[ti:t]\r\n");
        // Alone, nothing readable is left.
        EXPECT_FALSE(parse(bad).ok);
    }
    // A tag is closed on its own line or not at all.
    const Parsed open = parse(u"[00:01.00]a\r\n[00:12.34\r\n]more\r\n[00:05.00]b"_s);
    ASSERT_TRUE(open.ok);
    EXPECT_EQ(open.doc.skippedLines, 1);
    EXPECT_EQ(open.doc.lineCount(), 2);
    // The first line with a tag ends the header even when it is skipped.
    const Parsed firstSkipped = parse(u"[ti:t]\r\n[00:99.00]x\r\n[offset:500]\r\n[00:05.00]b"_s);
    ASSERT_TRUE(firstSkipped.ok);
    EXPECT_EQ(firstSkipped.doc.header, "[ti:t]\r\n");
    EXPECT_EQ(firstSkipped.doc.fileOffsetMs, 0);
    EXPECT_EQ(firstSkipped.doc.line(0).startMs, 5000);
}

TEST(Parse, InvalidContent) {
    const QString invalid[] = {
        u"[offset:500\r\n"_s,
        u"[ti:Title]\r\n[ar:Artist]\r\n"_s,
        u""_s,
        // Past the range of 32-bit milliseconds once the file's offset is taken off.
        u"[offset:-1]\r\n[596:31:23.647]x"_s,
    };
    for (const QString& text : invalid)
        EXPECT_FALSE(parse(text).ok) << text.toStdString();
    // An offset tag not closed on its line is ordinary text.
    const Parsed p = parse(u"[offset:500\r\n]\r\n[00:10.00]A"_s);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.doc.fileOffsetMs, 0);
    EXPECT_EQ(p.doc.line(0).startMs, 10000);
}

TEST(Parse, AllTextIsHeaderWhenNoLineIsTimed) {
    const Parsed p = parse(u"[ti:Title]\r\nplain words\r\n"_s);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.doc.header, "[ti:Title]\r\nplain words\r\n");
}

} // namespace
